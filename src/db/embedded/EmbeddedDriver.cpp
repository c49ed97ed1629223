// Connection and cursor over an engine session. A cursor runs its statement on execute; each
// fetch steps the query one row further, so nothing holds more than the current row.
//
// Cancel: SQLite's progress handler, called every few thousand steps of the running statement,
// stops it once a cancel is asked for, and the engine reports ORA-01013. It stops only statements
// that read: SQLite undoes the whole open transaction when a writing statement is interrupted,
// where Oracle undoes only the statement, so an INSERT, UPDATE or DELETE runs to its end instead.
#include "db/embedded/EmbeddedDriver.h"

#include "db/embedded/Engine.h"

#include <sqlite3.h>

#include <atomic>

namespace kolmara::db::embedded {

namespace {

constexpr int kProgressSteps = 4000;

class EmbeddedConnection;

class EmbeddedCursor : public Cursor {
public:
    EmbeddedCursor(EmbeddedConnection& connection, EngineSession& session, QString sql)
        : m_connection(connection), m_session(session), m_sql(std::move(sql))
    {
    }

    void execute(const QHash<QString, BindValue>& binds) override;
    QStringList columnNames() const override { return m_rows ? m_rows->columns() : QStringList(); }
    bool fetch(QVector<Value>& row) override { return m_rows && m_rows->next(row); }
    // The engine counts the rows of a DML statement, a MERGE's and one after a comment too.
    qint64 rowsAffected() const override { return m_rowsAffected; }

private:
    EmbeddedConnection& m_connection;
    EngineSession& m_session;
    QString m_sql;
    std::unique_ptr<RowStream> m_rows;
    qint64 m_rowsAffected = 0;
};

class EmbeddedConnection : public Connection {
public:
    explicit EmbeddedConnection(std::unique_ptr<EngineSession> session)
        : m_session(std::move(session))
    {
        sqlite3_progress_handler(m_session->db(), kProgressSteps, &EmbeddedConnection::progress,
                                 this);
        m_info.clientKind = QStringLiteral("embedded");
        try {
            const std::unique_ptr<RowStream> r = m_session->execute(
                QStringLiteral(
                    "SELECT PARAMETER, VALUE FROM V$NLS_PARAMETERS"
                    " WHERE PARAMETER IN ('NLS_CHARACTERSET', 'NLS_NCHAR_CHARACTERSET')"),
                {});
            QVector<Value> row;
            while (r->next(row))
                (row[0].text == QLatin1String("NLS_CHARACTERSET") ? m_info.databaseCharset
                                                                  : m_info.nationalCharset) =
                    row[1].text;
        } catch (const DatabaseError&) {
            // An account without access to the V$ views: the character sets stay unknown.
        }
    }
    ~EmbeddedConnection() override
    {
        if (m_session->db())
            sqlite3_progress_handler(m_session->db(), 0, nullptr, nullptr);
    }

    std::unique_ptr<Cursor> prepare(const QString& sql) override
    {
        return std::make_unique<EmbeddedCursor>(*this, *m_session, sql);
    }
    void startTransaction() override {}
    void commit() override { m_session->commit(); }
    void rollback() override { m_session->rollback(); }
    void disconnect() override
    {
        sqlite3_progress_handler(m_session->db(), 0, nullptr, nullptr);
        m_session->close();
    }
    void cancel() noexcept override { m_cancel.store(true); }
    ConnectionInfo info() const override { return m_info; }

    // A cancel asked for before a statement starts belongs to an earlier one.
    void beginCall() { m_cancel.store(false); }

private:
    static int progress(void* self)
    {
        auto* c = static_cast<EmbeddedConnection*>(self);
        if (!c->m_cancel.load(std::memory_order_relaxed))
            return 0;
        sqlite3* db = c->m_session->db();
        for (sqlite3_stmt* st = sqlite3_next_stmt(db, nullptr); st; st = sqlite3_next_stmt(db, st))
            if (sqlite3_stmt_busy(st) && !sqlite3_stmt_readonly(st))
                return 0;
        return c->m_cancel.exchange(false) ? 1 : 0;
    }

    std::unique_ptr<EngineSession> m_session;
    std::atomic<bool> m_cancel{false};
    ConnectionInfo m_info;
};

void EmbeddedCursor::execute(const QHash<QString, BindValue>& binds)
{
    m_connection.beginCall();
    m_rows.reset();
    m_rowsAffected = 0;
    m_rows = m_session.execute(m_sql, binds);
    m_rowsAffected = qMax<qint64>(0, m_rows->rowsAffected());
}

}  // namespace

std::unique_ptr<Connection> EmbeddedDriver::connect(const QString&, const QString& user,
                                                    const QString& password)
{
    return std::make_unique<EmbeddedConnection>(EngineSession::open(m_file, user, password));
}

}  // namespace kolmara::db::embedded
