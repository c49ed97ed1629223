// The one exception the database layer throws: the server's (or the client library's) error,
// with its ORA- code and the full message the user sees, "ORA-00942: table or view does not exist".
#pragma once

#include "common/Errors.h"

namespace kolmara::db {

class DatabaseError : public KolmaraError {
public:
    // code 0 is a component error without an ORA- number; its text is the whole message.
    DatabaseError(int code, const QString& text)
        : KolmaraError(code > 0 ? QStringLiteral("ORA-%1: %2").arg(code, 5, 10, QLatin1Char('0')).arg(text)
                                : text),
          m_code(code)
    {
    }
    int code() const noexcept { return m_code; }

private:
    int m_code;
};

}  // namespace kolmara::db
