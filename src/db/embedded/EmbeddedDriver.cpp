// Connection and cursor over an engine session. A cursor runs its statement on execute; each
// fetch steps the query one row further, so nothing holds more than the current row.
#include "db/embedded/EmbeddedDriver.h"

#include "db/embedded/Engine.h"

namespace kolmara::db::embedded {

namespace {

class EmbeddedCursor : public Cursor {
public:
    EmbeddedCursor(EngineSession& session, QString sql) : m_session(session), m_sql(std::move(sql)) {}

    void execute(const QHash<QString, BindValue>& binds) override
    {
        m_rows.reset();
        m_rows = m_session.execute(m_sql, binds);
    }
    QStringList columnNames() const override { return m_rows ? m_rows->columns() : QStringList(); }
    bool fetch(QVector<Value>& row) override { return m_rows && m_rows->next(row); }

private:
    EngineSession& m_session;
    QString m_sql;
    std::unique_ptr<RowStream> m_rows;
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
