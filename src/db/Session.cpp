// Session: connection values and the driver connection.
#include "db/Session.h"

#include "db/DriverRegistry.h"

#include <utility>

namespace kolmara::db {

// The cursor of a session with an armed fetch fault: every fetch is counted first.
class FaultyCursor : public Cursor {
public:
    FaultyCursor(std::unique_ptr<Cursor> inner, Session& session)
        : m_inner(std::move(inner)), m_session(session)
    {
    }
    void execute(const QHash<QString, BindValue>& binds) override { m_inner->execute(binds); }
    QStringList columnNames() const override { return m_inner->columnNames(); }
    bool fetch(QVector<Value>& row) override
    {
        m_session.countFetch();
        return m_inner->fetch(row);
    }
    qint64 rowsAffected() const override { return m_inner->rowsAffected(); }

private:
    std::unique_ptr<Cursor> m_inner;
    Session& m_session;
};

Session::Session() = default;

Session::~Session()
{
    try {
        setConnected(false);
    } catch (const DatabaseError&) {
        // A connection that is already gone has nothing left to close.
    }
}

void Session::setConnectString(const QString& text)
{
    const int at = int(text.lastIndexOf(QLatin1Char('@')));
    const QString login = at < 0 ? text : text.left(at);
    if (at >= 0)
        m_server = text.mid(at + 1);
    const int slash = int(login.indexOf(QLatin1Char('/')));
    m_user = slash < 0 ? login : login.left(slash);
    m_password = slash < 0 ? QString() : login.mid(slash + 1);
}

QString Session::connectString() const
{
    return m_user + QLatin1Char('/') + m_password + QLatin1Char('@') + m_server;
}

void Session::setConnected(bool connected)
{
    if (connected == isConnected())
        return;
    CallScope call(*this);
    if (connected) {
        std::unique_ptr<Connection> c = openConnection(m_server, m_user, m_password);
        const std::lock_guard lock(m_connectionLock);
        m_connection = std::move(c);
        m_inTransaction = false;
    } else {
        std::unique_ptr<Connection> c;
        {
            const std::lock_guard lock(m_connectionLock);
            c = std::move(m_connection);
        }
        m_inTransaction = false;
        c->disconnect();
    }
}

Session::CallScope::CallScope(Session& session) : m_session(session)
{
    if (!m_session.m_calls.try_lock())
        throw DatabaseError(
            3127, QStringLiteral("no new operations allowed until the active operation ends"));
}

Session::CallScope::~CallScope() { m_session.m_calls.unlock(); }

void Session::cancel() noexcept
{
    const std::lock_guard lock(m_connectionLock);
    if (m_connection)
        m_connection->cancel();
}

bool Session::isBusy() const
{
    if (!m_calls.try_lock())
        return true;
    m_calls.unlock();
    return false;
}

bool Session::setCallTimeout(int ms)
{
    CallScope call(*this);
    return connection().setCallTimeout(ms);
}

ConnectionInfo Session::connectionInfo() const
{
    return m_connection ? m_connection->info() : ConnectionInfo();
}

void Session::connectReplacing(const QString& server, const QString& user, const QString& password)
{
    CallScope call(*this);
    std::unique_ptr<Connection> fresh = openConnection(server, user, password);
    std::unique_ptr<Connection> old;
    {
        const std::lock_guard lock(m_connectionLock);
        old = std::exchange(m_connection, std::move(fresh));
    }
    m_server = server;
    m_user = user;
    m_password = password;
    m_inTransaction = false;
    if (!old)
        return;
    try {
        old->disconnect();
    } catch (const DatabaseError&) {
        // The old connection is given up either way; one the server already dropped has nothing
        // left to close.
    }
}

Connection& Session::connection()
{
    if (!m_connection)
        throw DatabaseError(3114, QStringLiteral("not connected to ORACLE"));
    return *m_connection;
}

void Session::startTransaction()
{
    CallScope call(*this);
    connection().startTransaction();
    m_inTransaction = true;
}

void Session::commit()
{
    CallScope call(*this);
    connection().commit();
    m_inTransaction = false;
}

void Session::rollback()
{
    CallScope call(*this);
    connection().rollback();
    m_inTransaction = false;
}

void Session::failNthStatementForTesting(int n, int code, const QString& text)
{
    m_faultCountdown = n;
    m_faultCode = code;
    m_faultText = text;
}

void Session::failNthFetchForTesting(int n, int code, const QString& text)
{
    m_fetchFaultCountdown = n;
    m_fetchFaultCode = code;
    m_fetchFaultText = text;
}

void Session::countFetch()
{
    if (m_fetchFaultCountdown > 0 && --m_fetchFaultCountdown == 0)
        throw DatabaseError(m_fetchFaultCode, m_fetchFaultText);
}

std::unique_ptr<Cursor> Session::prepareStatement(const QString& sql)
{
    CallScope call(*this);
    Connection& c = connection();
    if (m_faultCountdown > 0 && --m_faultCountdown == 0)
        throw DatabaseError(m_faultCode, m_faultText);
    std::unique_ptr<Cursor> cursor = c.prepare(sql);
    if (m_fetchFaultCountdown > 0)
        return std::make_unique<FaultyCursor>(std::move(cursor), *this);
    return cursor;
}

}  // namespace kolmara::db
