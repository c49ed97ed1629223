// The worksheets' database work on a session: the statements the user typed (a query read
// forward-only, a page at a time, so a table of millions of rows never sits in memory; a change
// with its row count; DDL and PL/SQL), the explain plan of a statement and the compile errors of
// a PL/SQL unit. The rest of the program reads through the query objects and their catalogue; this
// is the one place that runs text the user wrote, so its own few fixed statements live here too.
//
// Threads: a runner, like its session, serves one thread at a time. The worksheets call it from
// the worker of ui::runCancellable and between calls from the window's thread. Every method throws
// db::DatabaseError with the server's message (and position, where the server gives one).
#pragma once

#include "db/Query.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <memory>

namespace kolmara::db {
class Session;
}

namespace kolmara::data {

// One line of a PL/SQL unit's errors, as the dictionary keeps it: line and position count from 1
// in the unit's stored source.
struct CompileError {
    int line = 0;
    int position = 0;
    QString text;
};

// One step of an explain plan; the first step (id 0) has parentId -1.
struct PlanStep {
    int id = 0;
    int parentId = -1;
    QString operation;  // "TABLE ACCESS FULL": the operation and its options
    QString object;     // "SCOTT.EMP"
    QString cost;
    QString cardinality;
    QString bytes;
};

class SqlRunner {
public:
    explicit SqlRunner(db::Session& session) : m_session(session) {}
    ~SqlRunner();

    // A runner on a session of its own, so that its transaction is nobody else's and nobody
    // else's commit reaches it: the login of `like` (user/password@server) connected anew now,
    // with unqualified names resolving in `schema` where that is another account than the
    // login's (ALTER SESSION SET CURRENT_SCHEMA). The session closes with the runner, rolling
    // back what was left uncommitted. Throws DatabaseError when the login or the schema is refused.
    static std::unique_ptr<SqlRunner> onOwnSession(const db::Session& like, const QString& schema);

    db::Session& session() const { return m_session; }
    // "SCOTT@DEMO", the login this runner works as, with " (HR)" where names resolve in another
    // account.
    QString loginLabel() const;

    // The embedded engine: it compiles no PL/SQL and explains no plans.
    bool isEmbedded() const;

    // Opens a query, forward-only; it stays open until read to its end, closed, or another
    // statement runs through this runner.
    void openQuery(const QString& sql);
    bool hasOpenQuery() const { return m_query != nullptr; }
    QStringList columnNames() const { return m_columns; }
    // Reads up to `max` rows of the open query, handing them to `sink` in batches of at most
    // `batch` rows, each row's fields as text (NULL as empty text) with which columns hold
    // numbers. Stops early when `stop` answers true. Returns the rows read; the query is closed
    // when its last row has been read (and when a fetch fails).
    using RowSink = std::function<void(QList<QStringList>&& rows, const QVector<bool>& numeric)>;
    int fetch(int max, int batch, const std::function<bool()>& stop, const RowSink& sink);
    void closeQuery();

    // INSERT, UPDATE, DELETE, MERGE: the rows changed.
    qint64 executeChange(const QString& sql);
    // Anything else, sent as it is, without binds (a trigger's :NEW is the server's business).
    void execute(const QString& sql);
    void commit();
    void rollback();

    // The errors the server keeps for a unit (owner empty: the session's user), in their order.
    QList<CompileError> compileErrors(const QString& owner, const QString& name,
                                      const QString& type);

    // Explains the statement into PLAN_TABLE, reads the steps back in tree order and removes them
    // again, leaving the session's transaction as it was. An error's position counts in `sql`;
    // an error in the explain's own words (no PLAN_TABLE) has none.
    QList<PlanStep> explainPlan(const QString& sql);

private:
    explicit SqlRunner(std::unique_ptr<db::Session> own);

    std::unique_ptr<db::Session> m_own;  // set when the runner owns its session
    db::Session& m_session;
    QString m_schema;  // another account names resolve in; empty for the login's own
    std::unique_ptr<db::Query> m_query;
    QStringList m_columns;
    QVector<bool> m_numeric;
    int m_planCount = 0;
};

}  // namespace kolmara::data
