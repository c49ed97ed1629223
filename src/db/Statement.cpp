// Statement: one statement without rows and without parameters.
#include "db/Statement.h"

#include "db/Session.h"

namespace kolmara::db {

void Statement::execute()
{
    if (!m_session)
        throw DatabaseError(0, QStringLiteral("Session is not assigned"));
    Session::CallScope call(*m_session);
    m_session->prepareStatement(m_sql.join(QLatin1Char('\n')))->execute({});
}

}  // namespace kolmara::db
