// The embedded Oracle-compatible engine: one session on a database file. A session logs in as an
// Oracle user, runs Oracle SQL (queries and DML through the translator, DDL and the few ALTER
// SYSTEM/ROLLBACK SEGMENT commands in the engine itself) with Oracle's transaction rules, and
// keeps its row in V$SESSION (and its server process in V$PROCESS) while connected. A missing
// database file is created, bootstrapped and seeded from the demo scripts first.
//
// Storage: every Oracle object OWNER.NAME is the SQLite table or view "OWNER.NAME"; the catalogue
// lives in kol_* tables, and the dictionary views (ALL_TABLES...) are SQLite views over them.
#pragma once

#include "db/Driver.h"
#include "db/embedded/RowStream.h"
#include "db/embedded/SqlTranslator.h"

#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace kolmara::db::embedded {

// The engine's clock (SYSDATE, creation stamps). Tests fix it; an empty function restores the
// system clock. The value is a local wall-clock time.
void setEngineClockForTesting(std::function<QDateTime()> clock);
QDateTime engineNow();

// Where the seed scripts of a new database come from: by default the ":/demo" resource folder.
// Tests point it at a folder of their own; scripts run in file-name order.
void setSeedScriptFolderForTesting(const QString& folder);

class EngineSession : public NameResolver {
public:
    // Logs in; throws DatabaseError (ORA-01017, ORA-28000, ...).
    static std::unique_ptr<EngineSession> open(const QString& file, const QString& user,
                                               const QString& password);
    ~EngineSession() override;

    // Runs a statement. A query's rows are read from the returned stream; DML and DDL are done
    // when this returns, and their stream has no columns.
    std::unique_ptr<RowStream> execute(const QString& sql, const QHash<QString, BindValue>& binds);
    void commit();
    void rollback();
    void close();

    const QString& user() const { return m_user; }
    // The schema unqualified names resolve in: the user's own until ALTER SESSION SET
    // CURRENT_SCHEMA names another. Privileges stay the user's.
    const QString& schema() const { return m_schema; }
    qint64 sid() const { return m_sid; }
    // V$SESSION.AUDSID of this session, what USERENV('SESSIONID') gives.
    qint64 auditSessionId() const { return m_audsid; }
    // The session's NLS parameter (NLS_DATE_FORMAT, NLS_DATE_LANGUAGE...; empty for an unknown
    // one): what V$NLS_PARAMETERS and NLS_SESSION_PARAMETERS show, USERENV and SYS_CONTEXT
    // answer, and TO_CHAR and TO_DATE take by default. A session starts with the instance's
    // settings for sessions (its seeded V$NLS_PARAMETERS, Oracle's own AMERICAN_AMERICA without
    // one, the dates in the program's YYYY-MM-DD HH24:MI:SS either way); ALTER SESSION SET
    // changes them.
    QString nlsParameter(const QString& name) const;
    // The client as V$SESSION records it: MACHINE, TERMINAL, OSUSER.
    QString clientMachine() const;
    QString clientTerminal() const;
    QString clientOsUser() const;

    // NameResolver
    TableRef resolveTable(const QString& owner, const QString& name,
                          const QString& privilege) override;
    QString resolveSequence(const QString& owner, const QString& name) override;
    QList<ColumnInfo> columnsOf(const TableRef& table) override;
    bool leadsAnIndex(const QString& storage, const QString& column) override;

    // ---- for the engine's own parts (functions, DDL, bootstrap) -------------------------------
    sqlite3* db() const { return m_db; }
    QDateTime statementNow() const { return m_statementNow; }
    bool canRead(const QString& owner, const QString& name);
    // Whether the session has the role, granted directly or through another role.
    bool hasRole(const QString& role);
    bool isDba();
    // Runs internal SQLite SQL with positional arguments; throws DatabaseError.
    void run(const QString& sql, const QVariantList& args = {});
    QList<QVariantList> rows(const QString& sql, const QVariantList& args = {});
    QVariant scalar(const QString& sql, const QVariantList& args = {});
    bool objectExists(const QString& owner, const QString& name);
    void bumpGeneration();
    void beginWrite();
    bool inTransaction() const { return m_inTransaction; }
    void setBulkMode(bool on) { m_bulk = on; }
    bool bulkMode() const { return m_bulk; }
    void runScript(const QString& text);
    void killSession(qint64 sid, qint64 serial);
    // Acts as `user`, in `schema` (empty: the user's own): DDL switches to an owner while it
    // translates a view body or a check condition, and back again.
    void setUser(const QString& user, const QString& schema = {})
    {
        m_user = user;
        m_schema = schema.isEmpty() ? user : schema;
        m_privGeneration = -2;
        m_cache.clear();
        m_columns.clear();
    }

    EngineSession(sqlite3* db, const QString& file);

private:
    friend class RowStream;

    // Statements (Engine.cpp). literals: the values of "#Ln" parameters of a statement whose
    // literals were taken out (runLiteralInsert); its prepared statement is kept for the next
    // statement of that shape.
    std::unique_ptr<RowStream> runTranslated(const QString& sql, const QList<Token>& tokens,
                                             const QHash<QString, BindValue>& binds,
                                             const QVariantList* literals = nullptr);
    qint64 nextSequenceValue(const QString& key);
    QString translationKey(const QString& sql) const
    {
        return m_user + QChar(0x1f) + m_schema + QChar(0x1f) + sql;
    }
    // Scripts (EngineScripts.cpp).
    bool runLiteralInsert(const QString& statement);
    // NLS parameters (EngineNls.cpp).
    void loadNlsParameters();
    void alterSession(const QList<Token>& tokens);
    void setNlsParameter(const QString& name, const QString& value);
    // Privileges (EnginePrivileges.cpp).
    void loadPrivileges();
    // The session registry (EngineSessions.cpp).
    void registerSession();
    void unregisterSession();
    // Drops the V$SESSION (and V$PROCESS) rows of this program's sessions whose OS process has
    // ended without logging off.
    void removeSessionsOfEndedPrograms(const QStringList& sessionColumns);
    void checkAlive();
    // Prepared statements and the catalogue generation (StatementCache.cpp).
    // SQLite's count of the commits other connections made to the file, read without a table.
    qint64 dataVersion();
    void refreshGeneration();
    // A finished statement, reset with its bindings kept, waits for the next statement of the same
    // text (up to a few dozen); what cannot be kept is finalized.
    void keepIdle(const QString& text, sqlite3_stmt* statement);
    void dropIdleStatements();
    // Errors (EngineErrors.cpp).
    DatabaseError mapSqliteError(int rc, const QString& message);

    // The connection, the login and the running statement.
    sqlite3* m_db = nullptr;
    QString m_file;
    QString m_user;
    QString m_schema;
    qint64 m_userId = 0;
    bool m_inTransaction = false;
    bool m_bulk = false;
    bool m_inDdl = false;
    QDateTime m_statementNow;
    QHash<QString, qint64> m_currval;
    QSet<RowStream*> m_streams;  // queries whose rows are still being read

    // The session's rows in V$SESSION and V$PROCESS.
    qint64 m_sid = 0;
    qint64 m_serial = 0;
    qint64 m_audsid = 0;
    QString m_paddr;  // the address of this session's V$PROCESS row, if it has one
    bool m_killed = false;
    qint64 m_aliveVersion = -1;  // dataVersion() when the session's row was last seen
    // After the logon's own writes: the rows this connection had changed, and dataVersion().
    qint64 m_logonChanges = 0;
    qint64 m_logonDataVersion = -1;

    // Privileges, valid for one catalogue generation.
    qint64 m_privGeneration = -2;
    bool m_dba = false;
    QSet<QString> m_roles;                  // the roles the session has
    QSet<QString> m_readable;               // "OWNER.NAME" with any privilege
    QHash<QString, QSet<QString>> m_privs;  // "OWNER.NAME" -> privileges

    // What is kept prepared or translated, and the catalogue generation it belongs to.
    qint64 m_generation = -1;
    qint64 m_generationVersion = -1;  // dataVersion() when the generation was last read
    sqlite3_stmt* m_dataVersionStatement = nullptr;
    QHash<QString, sqlite3_stmt*> m_idle;  // SQLite text -> a prepared statement not in use
    // What each of those statements (idle or reading) has bound: a value bound again unchanged
    // would make SQLite prepare the statement anew (a LIKE pattern may change its plan).
    QHash<sqlite3_stmt*, QVariantList> m_boundArgs;
    QHash<QString, Translation> m_cache;
    // Column lists of tables for DML, valid for one catalogue generation and never during DDL.
    QHash<QString, QList<ColumnInfo>> m_columns;
    QHash<QString, sqlite3_stmt*> m_prepared;
    QHash<QString, sqlite3_stmt*> m_preparedInserts;

    QList<QPair<QString, QString>> m_nls;  // NLS parameters, in V$NLS_PARAMETERS order
};

// The V$NLS_PARAMETERS rows of an instance without settings of its own: Oracle's AMERICAN_AMERICA,
// with the date formats the program's connections set.
QList<QPair<QString, QString>> defaultNlsParameters();

}  // namespace kolmara::db::embedded
