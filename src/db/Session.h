// The database session the program works through (the main window's OraSession1, the server
// backup job's OraSession9): connection values, connect and disconnect, and transactions. The
// driver behind it is chosen by the server (net service) name when connecting.
//
// Threads: a session serves one thread at a time. Another thread may hand it a call while no call
// runs (a worker that reads a long result while the window stays responsive); a call that comes
// while one runs on another thread fails at once with ORA-03127 instead of waiting or meeting the
// first one inside the driver. cancel() is the one operation meant for another thread.
//
// Test seam: failNthStatementForTesting makes the N-th statement executed through this session
// (by a Query or Statement) fail with a chosen ORA- error, before it reaches the driver.
#pragma once

#include "db/Driver.h"

#include <memory>
#include <mutex>

namespace kolmara::db {

class Session {
public:
    Session();
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    void setServer(const QString& server) { m_server = server; }
    QString server() const { return m_server; }
    void setUsername(const QString& user) { m_user = user; }
    QString username() const { return m_user; }
    void setPassword(const QString& password) { m_password = password; }
    QString password() const { return m_password; }
    // "user/password@server"; setting it sets the three values.
    void setConnectString(const QString& text);
    QString connectString() const;
    // The prompt is never shown by this component; the flag is kept for the program's own record.
    void setLoginPrompt(bool on) { m_loginPrompt = on; }
    bool loginPrompt() const { return m_loginPrompt; }

    // true connects (throws DatabaseError with the server's message); false disconnects.
    void setConnected(bool connected);
    bool isConnected() const { return m_connection != nullptr; }
    void connect() { setConnected(true); }
    void disconnect() { setConnected(false); }
    // Connects as user/password@server while the current connection stays; only when the new one
    // is made are the old one closed and the three values replaced. A refused login throws
    // DatabaseError and leaves the session exactly as it was, connected or not.
    void connectReplacing(const QString& server, const QString& user, const QString& password);

    void startTransaction();
    void commit();
    void rollback();
    bool inTransaction() const { return m_inTransaction; }

    // Thread-safe: the call running on this session fails with ORA-01013 ("user requested cancel
    // of current operation"); nothing happens when no call runs.
    void cancel() noexcept;
    // True while another thread's call holds this session: a timer tick skips its refresh then.
    bool isBusy() const;
    // Limits each later round trip to the server (0: no limit) where the client supports it;
    // false where it does not (the embedded engine, Oracle clients before 18c). Connected only.
    bool setCallTimeout(int ms);
    // The client and the database character sets, and the warning when Korean text cannot come
    // through them intact. Empty while not connected.
    ConnectionInfo connectionInfo() const;

    // Held by every operation that reaches the driver (queries, statements, transactions,
    // connecting): throws DatabaseError ORA-03127 when another thread's call holds the session.
    class CallScope {
    public:
        explicit CallScope(Session& session);
        ~CallScope();
        CallScope(const CallScope&) = delete;
        CallScope& operator=(const CallScope&) = delete;

    private:
        Session& m_session;
    };

    // n = 1 makes the next statement fail, 2 the one after, and so on. The error is thrown as
    // DatabaseError(code, text) in place of running the statement; the fault then clears.
    void failNthStatementForTesting(int n, int code, const QString& text);

    // For Query and Statement: counts the statement, applies an armed fault, prepares it.
    std::unique_ptr<Cursor> prepareStatement(const QString& sql);

private:
    Connection& connection();

    QString m_server;
    QString m_user;
    QString m_password;
    bool m_loginPrompt = true;
    bool m_inTransaction = false;
    std::unique_ptr<Connection> m_connection;
    // m_calls: held for each call, recursively by its own thread. m_connectionLock: held by
    // cancel() and by whatever replaces m_connection, so a cancel never meets a closing connection.
    mutable std::recursive_mutex m_calls;
    mutable std::mutex m_connectionLock;
    int m_faultCountdown = 0;
    int m_faultCode = 0;
    QString m_faultText;
};

}  // namespace kolmara::db
