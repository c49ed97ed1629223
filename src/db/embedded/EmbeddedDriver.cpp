// Connection and cursor over an engine session. A cursor runs its statement on execute and keeps
// the rows; the engine computes every result in full anyway.
#include "db/embedded/EmbeddedDriver.h"

#include "db/embedded/Engine.h"

namespace kolmara::db::embedded {

namespace {

class EmbeddedCursor : public Cursor {
public:
    EmbeddedCursor(EngineSession& session, QString sql) : m_session(session), m_sql(std::move(sql)) {}

    void execute(const QHash<QString, BindValue>& binds) override
    {
        m_result = m_session.execute(m_sql, binds);
        m_next = 0;
    }
    QStringList columnNames() const override { return m_result.columns; }
    qint64 rowsAffected() const override { return m_result.rowsAffected; }
    bool fetch(QVector<Value>& row) override
    {
        if (m_next >= m_result.rows.size())
            return false;
        row = m_result.rows[m_next++];
        return true;
    }

private:
    EngineSession& m_session;
    QString m_sql;
    EngineSession::Result m_result;
    int m_next = 0;
};

class EmbeddedConnection : public Connection {
public:
    explicit EmbeddedConnection(std::unique_ptr<EngineSession> session) : m_session(std::move(session)) {}

    std::unique_ptr<Cursor> prepare(const QString& sql) override
    {
        return std::make_unique<EmbeddedCursor>(*m_session, sql);
    }
    void startTransaction() override {}
    void commit() override { m_session->commit(); }
    void rollback() override { m_session->rollback(); }
    void disconnect() override { m_session->close(); }

private:
    std::unique_ptr<EngineSession> m_session;
};

}  // namespace

std::unique_ptr<Connection> EmbeddedDriver::connect(const QString&, const QString& user, const QString& password)
{
    return std::make_unique<EmbeddedConnection>(EngineSession::open(m_file, user, password));
}

}  // namespace kolmara::db::embedded
