// A statement object: SQL text as lines and execute, for statements that return no rows
// (ExecSql: session kill, rollback segment shrink). Throws DatabaseError.
#pragma once

#include <QStringList>

namespace kolmara::db {

class Session;

class Statement {
public:
    explicit Statement(Session* session = nullptr) : m_session(session) {}
    void setSession(Session* session) { m_session = session; }
    QStringList& sql() { return m_sql; }
    void clearSql() { m_sql.clear(); }
    void addSql(const QString& line) { m_sql.append(line); }
    void execute();

private:
    Session* m_session;
    QStringList m_sql;
};

}  // namespace kolmara::db
