// Times the embedded engine on the work the screens give it: five dictionary statements of the
// query objects' catalogue through db::Query on the demo instance, NUMBER arithmetic, aggregates,
// ordering and analytic functions over 100 000 rows (whole numbers, two-decimal amounts and
// 22-digit values, which take the exact decimal road; ordering of indexed columns with and without
// a precision), and a forward-only read of a 1 000 000-row table with the
// process's peak memory before and after. Prints figures; asserts nothing.
//
// The dictionary statements are also run on SQLite directly, for comparison: the engine's own
// translation of each, prepared, bound, stepped to the last row (every column read as text) and
// finalized on the engine's connection: what the engine adds its own costs to.
//
//   dictionary_bench [runs]           (default 200 runs per dictionary statement)
//   dictionary_bench --table [runs]   the dictionary statements only, each as
//                                     "FIGURE name engine_seconds sqlite_seconds rows" (bench/run)
#include "common/KOLMCOMM.h"
#include "db/Query.h"
#include "db/Session.h"
#include "db/embedded/Engine.h"
#include "db/embedded/SqlLexer.h"
#include "db/embedded/SqlTranslator.h"

#include <sqlite3.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace kolmara;

namespace {

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Peak resident memory of this process so far, in megabytes (Linux; 0 elsewhere).
double peakMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

int readAll(db::Session& s, const QString& sql, const QHash<QString, QString>& binds = {},
            bool forwardOnly = false)
{
    db::Query q(&s);
    q.setForwardOnly(forwardOnly);
    q.sql() = sql.split(QLatin1Char('\n'));
    for (auto it = binds.begin(); it != binds.end(); ++it)
        q.paramByName(it.key()).setAsString(it.value());
    q.open();
    int n = 0;
    for (; !q.eof(); q.next())
        ++n;
    return forwardOnly ? n : q.recordCount();
}

void exec(db::Session& s, const QString& sql)
{
    db::Query q(&s);
    q.addSql(sql);
    q.execSql();
}

struct Statement {
    const char* name;
    const char* sql;
    QHash<QString, QString> binds;
};

const Statement kDictionary[] = {
    {"GetSessions (V$SESSION)",
     "SELECT /*+ RULE */ SID, SERIAL#, USERNAME, COMMAND, LOCKWAIT, STATUS, SERVER, OSUSER,"
     " PROCESS, MACHINE, TERMINAL, PROGRAM, TO_CHAR(LOGON_TIME,'YYYY-MM-DD HH24:MI:SS')"
     " LOGON_TIME, TYPE, MODULE FROM V$SESSION WHERE STATUS LIKE :STATUS",
     {{QStringLiteral("STATUS"), QStringLiteral("%")}}},
    {"GetObjects (ALL_OBJECTS)",
     "SELECT /*+ RULE */ OBJECT_NAME, SUBOBJECT_NAME, OBJECT_ID, DATA_OBJECT_ID, OBJECT_TYPE,"
     " TO_CHAR(CREATED,'YYYY-MM-DD HH24:MI:SS') CREATED,"
     " TO_CHAR(LAST_DDL_TIME,'YYYY-MM-DD HH24:MI:SS') LAST_DDL_TIME, TIMESTAMP, STATUS, TEMPORARY,"
     " GENERATED, SECONDARY FROM ALL_OBJECTS WHERE OWNER = :OWNER AND OBJECT_TYPE LIKE"
     " :OBJECT_TYPE AND STATUS LIKE :STATUS",
     {{QStringLiteral("OWNER"), QStringLiteral("TGHAPP")},
      {QStringLiteral("OBJECT_TYPE"), QStringLiteral("%")},
      {QStringLiteral("STATUS"), QStringLiteral("%")}}},
    {"GetTableConstraints (ALL_CONSTRAINTS)",
     "SELECT /*+ RULE */ CONSTRAINT_NAME, CONSTRAINT_TYPE, STATUS, R_OWNER, R_CONSTRAINT_NAME,"
     " DELETE_RULE, TO_CHAR(LAST_CHANGE,'YYYY-MM-DD HH24:MI:SS') LAST_CHANGE FROM ALL_CONSTRAINTS"
     " WHERE OWNER = :OWNER AND TABLE_NAME = :TABLE_NAME",
     {{QStringLiteral("OWNER"), QStringLiteral("TGHAPP")},
      {QStringLiteral("TABLE_NAME"), QStringLiteral("ORDERS")}}},
    {"GetTablesInTablespace (3 views)",
     "SELECT /*+ RULE */ C.OBJECT_ID OB, A.TABLE_NAME TABLE_NAME, B.COMMENTS COMMENTS,"
     " A.INITIAL_EXTENT INIT_EXTENT, A.NEXT_EXTENT NEXT_EXTENT, A.MIN_EXTENTS MIN_EXTENTS,"
     " A.MAX_EXTENTS MAX_EXTENTS, C.LAST_DDL_TIME MODIFYED FROM ALL_TABLES A, ALL_TAB_COMMENTS B,"
     " ALL_OBJECTS C WHERE A.OWNER = :OWNER AND A.TABLESPACE_NAME = :TABLESPACE_NAME"
     " AND B.OWNER = A.OWNER AND B.TABLE_NAME = A.TABLE_NAME AND C.OWNER = A.OWNER"
     " AND C.OBJECT_NAME = A.TABLE_NAME AND C.OBJECT_TYPE = :OBJECT_TYPE",
     {{QStringLiteral("OWNER"), QStringLiteral("TGHAPP")},
      {QStringLiteral("TABLESPACE_NAME"), QStringLiteral("TGHD")},
      {QStringLiteral("OBJECT_TYPE"), QStringLiteral("TABLE")}}},
    {"GetParameters (V$PARAMETER)",
     "SELECT /*+ RULE */ NAME, TYPE, VALUE, ISDEFAULT, ISSES_MODIFIABLE, ISSYS_MODIFIABLE,"
     " ISMODIFIED, ISADJUSTED, NUM FROM V$PARAMETER",
     {}},
};

// The statement as the engine translates it, run on the engine's SQLite connection as a program
// runs a statement once: prepared, bound, stepped to the last row (every column read as text) and
// finalized. SQLite's own cost of the statement, with nothing around it.
class DirectStatement {
public:
    DirectStatement(db::embedded::EngineSession& engine, const Statement& st) : m_db(engine.db())
    {
        const QString sql = QString::fromLatin1(st.sql);
        const db::embedded::Translation t =
            db::embedded::translateStatement(db::embedded::tokenize(sql), sql, engine);
        m_sql = t.sql.toUtf8();
        for (const QString& p : t.params)
            m_args.append(st.binds.value(p).toUtf8());
    }

    // Returns the rows read, -1 when the statement does not prepare.
    int run() const
    {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(m_db, m_sql.constData(), int(m_sql.size()), &statement, nullptr) !=
            SQLITE_OK)
            return -1;
        for (int i = 0; i < m_args.size(); ++i)
            sqlite3_bind_text(statement, i + 1, m_args[i].constData(), int(m_args[i].size()),
                              SQLITE_STATIC);
        int rows = 0;
        const int columns = sqlite3_column_count(statement);
        while (sqlite3_step(statement) == SQLITE_ROW) {
            for (int c = 0; c < columns; ++c)
                sqlite3_column_text(statement, c);
            ++rows;
        }
        sqlite3_finalize(statement);
        return rows;
    }

private:
    sqlite3* m_db;
    QByteArray m_sql;
    QList<QByteArray> m_args;
};

// bench/run's figures: each statement through db::Query and directly, alternately, medians.
void compareWithSqlite(db::Session& s, const QString& file, int runs)
{
    auto engine = db::embedded::EngineSession::open(file, QStringLiteral("SYSTEM"),
                                                    QStringLiteral("MANAGER"));
    for (const Statement& st : kDictionary) {
        // Once through the engine first, so that the session state its functions read (the
        // privileges that decide what the dictionary shows) is loaded as it is for the engine's
        // runs.
        QHash<QString, db::BindValue> binds;
        for (auto it = st.binds.begin(); it != st.binds.end(); ++it) {
            db::BindValue v;
            v.kind = db::BindValue::Kind::Text;
            v.text = it.value();
            binds.insert(it.key(), v);
        }
        engine->execute(QString::fromLatin1(st.sql), binds)->readAll();
        const DirectStatement direct(*engine, st);
        QList<double> ours, theirs;
        int rows = 0;
        int directRows = 0;
        for (int i = 0; i < runs; ++i) {
            QElapsedTimer t;
            t.start();
            rows = readAll(s, QString::fromLatin1(st.sql), st.binds);
            ours.append(double(t.nsecsElapsed()) / 1e9);
            t.restart();
            directRows = direct.run();
            theirs.append(double(t.nsecsElapsed()) / 1e9);
        }
        if (rows != directRows)
            std::fprintf(stderr, "%s: %d rows through the engine, %d directly\n", st.name, rows,
                         directRows);
        std::printf("FIGURE %s\t%.9f\t%.9f\t%d\n", st.name, median(ours), median(theirs), rows);
    }
    engine->close();
}

const Statement kNumbers[] = {
    {"SUM, AVG of whole numbers", "SELECT SUM(I), AVG(I) FROM NUMS", {}},
    {"SUM, AVG of amounts (2 decimals)", "SELECT SUM(D), AVG(D) FROM NUMS", {}},
    {"SUM, AVG of 22-digit values", "SELECT SUM(B), AVG(B) FROM NUMS", {}},
    {"arithmetic per row (D * 1.1 + I)", "SELECT SUM(D * 1.1 + I) FROM NUMS", {}},
    {"comparison per row (D > 500.5)", "SELECT COUNT(*) FROM NUMS WHERE D > 500.5", {}},
    {"ORDER BY indexed NUMBER(9), all rows", "SELECT K FROM NUMS ORDER BY K", {}},
    {"ORDER BY indexed NUMBER(9), first 100",
     "SELECT * FROM (SELECT K FROM NUMS ORDER BY K) WHERE ROWNUM <= 100",
     {}},
    {"ORDER BY indexed NUMBER, all rows", "SELECT I FROM NUMS ORDER BY I", {}},
    {"ORDER BY indexed NUMBER, first 100",
     "SELECT * FROM (SELECT I FROM NUMS ORDER BY I) WHERE ROWNUM <= 100",
     {}},
    {"ORDER BY amounts (2 decimals)", "SELECT D FROM NUMS ORDER BY D DESC", {}},
    {"ORDER BY 22-digit values", "SELECT B FROM NUMS ORDER BY B DESC", {}},
    {"MIN, MAX of indexed NUMBER(9)", "SELECT MIN(K), MAX(K) FROM NUMS", {}},
    {"MIN, MAX of whole numbers", "SELECT MIN(I), MAX(I) FROM NUMS", {}},
    {"MIN, MAX of 22-digit values", "SELECT MIN(B), MAX(B) FROM NUMS", {}},
    {"SUM OVER (PARTITION BY), RATIO_TO_REPORT",
     "SELECT SUM(D) OVER (PARTITION BY MOD(I, 10)), RATIO_TO_REPORT(D) OVER () FROM NUMS",
     {}},
};

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const bool table = argc > 1 && QByteArray(argv[1]) == "--table";
    const int runArg = table ? 2 : 1;
    const int runs = argc > runArg ? qMax(1, QByteArray(argv[runArg]).toInt()) : 200;
    QTemporaryDir dir;
    QFile ini(dir.filePath(QStringLiteral("KOLMARA.INI")));
    if (!dir.isValid() || !ini.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    ini.write("[Embedded Databases]\r\nDEMO=demo.db\r\n");
    ini.close();
    setProgramFolderForTesting(dir.path());
    db::embedded::setEngineClockForTesting(
        [] { return QDateTime(QDate(2003, 5, 15), QTime(14, 0, 0)); });

    try {
        db::Session s;
        s.setServer(QStringLiteral("DEMO"));
        s.setUsername(QStringLiteral("SYSTEM"));
        s.setPassword(QStringLiteral("MANAGER"));
        s.connect();
        if (table) {
            compareWithSqlite(s, dir.filePath(QStringLiteral("demo.db")), runs);
            return 0;
        }

        std::printf("dictionary statements through db::Query (median of %d runs)\n", runs);
        for (const Statement& st : kDictionary) {
            QList<double> times;
            int rows = 0;
            for (int i = 0; i < runs; ++i) {
                QElapsedTimer t;
                t.start();
                rows = readAll(s, QString::fromLatin1(st.sql), st.binds);
                times.append(double(t.nsecsElapsed()) / 1e3);
            }
            std::printf("  %-40s %8.1f us  (%d rows)\n", st.name, median(times), rows);
        }
        compareWithSqlite(s, dir.filePath(QStringLiteral("demo.db")), runs);

        exec(s,
             QStringLiteral("CREATE TABLE NUMS (I NUMBER, D NUMBER(12,2), B NUMBER, K NUMBER(9))"));
        exec(s, QStringLiteral("CREATE INDEX NUMS_I ON NUMS (I)"));
        exec(s, QStringLiteral("CREATE INDEX NUMS_K ON NUMS (K)"));
        {
            db::Query insert(&s);
            insert.addSql(QStringLiteral("INSERT INTO NUMS VALUES (:I, :D, :B, :I)"));
            s.startTransaction();
            for (int i = 1; i <= 100000; ++i) {
                insert.paramByName(QStringLiteral("I")).setAsString(QString::number(i));
                insert.paramByName(QStringLiteral("D"))
                    .setAsString(QStringLiteral("%1.%2").arg(i % 1000).arg(i % 100, 2, 10,
                                                                           QLatin1Char('0')));
                insert.paramByName(QStringLiteral("B"))
                    .setAsString(
                        QStringLiteral("1234567890123456%1").arg(i, 6, 10, QLatin1Char('0')));
                insert.execSql();
            }
            s.commit();
        }
        std::printf("NUMBER work over 100 000 rows (median of 5 runs)\n");
        for (const Statement& st : kNumbers) {
            QList<double> times;
            for (int i = 0; i < 5; ++i) {
                QElapsedTimer t;
                t.start();
                readAll(s, QString::fromLatin1(st.sql));
                times.append(double(t.nsecsElapsed()) / 1e6);
            }
            std::printf("  %-40s %8.1f ms\n", st.name, median(times));
        }

        exec(s, QStringLiteral("CREATE TABLE MILLION (N NUMBER, T VARCHAR2(40))"));
        exec(s, QStringLiteral("INSERT INTO MILLION SELECT A.I * 10 + B.I, '한글 텍스트 ' || A.I"
                               " FROM NUMS A, NUMS B WHERE B.I <= 10"));
        s.commit();
        const double before = peakMegabytes();
        QElapsedTimer t;
        t.start();
        const int streamed = readAll(s, QStringLiteral("SELECT N, T FROM MILLION"), {}, true);
        std::printf("forward-only read of %d rows: %.0f ms, peak memory %.0f MB before,"
                    " %.0f MB after\n", streamed,
                    double(t.nsecsElapsed()) / 1e6, before, peakMegabytes());
        t.restart();
        const int fetched = readAll(s, QStringLiteral("SELECT N, T FROM MILLION"));
        std::printf("fetch-all read of %d rows:    %.0f ms, peak memory %.0f MB after\n", fetched,
                    double(t.nsecsElapsed()) / 1e6, peakMegabytes());
    } catch (const db::DatabaseError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    db::embedded::setEngineClockForTesting({});
    setProgramFolderForTesting(QString());
    return 0;
}
