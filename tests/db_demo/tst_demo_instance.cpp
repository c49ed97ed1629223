// The demo instance's content, seen from a DEMO login the way the program sees it: accounts and
// what they may read, free space per tablespace, storage that adds up across the views, sessions,
// statements and locks that join, the dictionary's own description, and the schedules due on a
// given day. The statements of the screens themselves are tested with the engine.
#include "DemoDatabase.h"

#include "db/DatabaseError.h"
#include "db/Query.h"
#include "db/Session.h"
#include "db/Statement.h"
#include "db/embedded/Engine.h"

#include <QCoreApplication>
#include <QMap>
#include <QProcess>
#include <QSysInfo>
#include <QScopeGuard>
#include <QSet>
#include <QTest>

#include <algorithm>
#include <cmath>

using namespace kolmara;

namespace {

std::unique_ptr<db::Session> login(const QString& user, const QString& password)
{
    auto s = std::make_unique<db::Session>();
    s->setServer(QStringLiteral("DEMO"));
    s->setUsername(user);
    s->setPassword(password);
    s->setLoginPrompt(false);
    s->connect();
    return s;
}

using Row = QStringList;

QList<Row> select(db::Session& s, const QString& sql, const QHash<QString, QString>& binds = {})
{
    db::Query q(&s);
    q.sql() = sql.split(QLatin1Char('\n'));
    for (auto it = binds.begin(); it != binds.end(); ++it)
        q.paramByName(it.key()).setAsString(it.value());
    q.open();
    QList<Row> out;
    for (q.first(); !q.eof(); q.next()) {
        Row r;
        for (int i = 0; i < q.fieldCount(); ++i)
            r.append(q.field(i).asText());
        out.append(r);
    }
    return out;
}

QString errorOf(db::Session& s, const QString& sql)
{
    try {
        select(s, sql);
    } catch (const db::DatabaseError& e) {
        return e.message();
    }
    return {};
}

const QString kDueBackups =
    QStringLiteral(
        "SELECT\n AA.BACKUP_SERVER SERVER ,\n AA.BACKUP_ACCOUNT ACCOUNT ,\n AA.BACKUP_TABLEID "
        "TABLEID ,\n"
        " AA.BACKUP_TABLENAME TABLENAME,\n AA.BACKUP_CYCLE CYCLE ,\n AA.BACKUP_TYPE BTYPE ,\n "
        "AA.BACKUP_TIME TIME ,\n"
        " AA.BACKUP_CONDISION CONDISION,\n AA.BACKUP_DATETIME DATETIME\nFROM\n"
        "(SELECT /*+ RULE */\n%1\nFROM BACKUP_TABLE\nWHERE BACKUP_SERVER = :BACKUP_SERVER\nAND "
        "BACKUP_CYCLE = :BACKUP_CYCLE1\n"
        "UNION ALL\nSELECT /*+ RULE */\n%1\nFROM BACKUP_TABLE\nWHERE BACKUP_SERVER = "
        ":BACKUP_SERVER\n"
        "AND BACKUP_CYCLE = :BACKUP_CYCLE2\nAND BACKUP_TYPE =\n(SELECT "
        "LPAD(TO_CHAR(SYSDATE,'D'),2,'0') FROM DUAL)\n"
        "UNION ALL\nSELECT /*+ RULE */\n%1\nFROM BACKUP_TABLE\nWHERE BACKUP_SERVER = "
        ":BACKUP_SERVER\n"
        "AND BACKUP_CYCLE = :BACKUP_CYCLE3\nAND BACKUP_TYPE =\n(SELECT "
        "SUBSTR(TO_CHAR(SYSDATE,'YYYYMMDD'),7,2) FROM DUAL)) AA\n"
        "ORDER BY AA.BACKUP_SERVER, AA.BACKUP_ACCOUNT")
        .arg(QStringLiteral(
            " BACKUP_SERVER ,\n BACKUP_ACCOUNT ,\n BACKUP_TABLEID ,\n BACKUP_TABLENAME,\n"
            " BACKUP_CYCLE ,\n BACKUP_TYPE ,\n BACKUP_TIME ,\n BACKUP_CONDISION,\n"
            " BACKUP_DATETIME"));

const QString kTablespaceUsage = QStringLiteral(
    "SELECT\nSUM(AA.F_BYTES) F_BYTES,\nSUM(AA.U_BYTES) U_BYTES\nFROM\n(SELECT /*+ RULE "
    "*/\nSUM(BYTES) F_BYTES,\n0 U_BYTES\n"
    "FROM USER_FREE_SPACE\nWHERE TABLESPACE_NAME = :NAME\nUNION ALL\nSELECT /*+ RULE */\n0 "
    "F_BYTES,\nSUM(BYTES) U_BYTES\n"
    "FROM V$DATAFILE\nWHERE TS# = :TS) AA");

// The day the tests stand on: Thursday 15 May 2003.
QDateTime today()
{
    return QDateTime(QDate(2003, 5, 15), QTime(14, 0, 0));
}

struct Range {
    qint64 first;
    qint64 last;
    QString what;
};

}  // namespace

class TestDemoInstance : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void logins_data();
    void logins();
    void catalogueThroughSynonyms_data();
    void catalogueThroughSynonyms();
    void freeShareOfEveryTablespace();
    void storageAddsUp();
    void sessionsStatementsAndLocksJoin();
    void ownSessionsRunOnTheirServerProcess();
    void sessionsOfEndedProgramsGoAtTheNextLogon();
    void dictionaryDescribesTheViewsItLists();
    void everydayViewsAgreeWithTheInstance();
    void grantsAsOnARealInstance();
    void dueBackups_data();
    void dueBackups();
    void sampleDataLargeEnoughToDump();

private:
    std::unique_ptr<test::DemoDatabase> m_demo;
    std::unique_ptr<db::Session> m_system;
};

void TestDemoInstance::initTestCase()
{
    m_demo = std::make_unique<test::DemoDatabase>(today());
    m_system = login(QStringLiteral("SYSTEM"), QStringLiteral("MANAGER"));
}

void TestDemoInstance::cleanupTestCase()
{
    m_system.reset();
    m_demo.reset();
}

void TestDemoInstance::logins_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("error");
    const QString locked = QStringLiteral("ORA-28000: the account is locked");
    QTest::newRow("SCOTT") << "SCOTT"
                           << "TIGER"
                           << "";
    QTest::newRow("HR") << "HR"
                        << "HR"
                        << "";
    QTest::newRow("catalogue owner") << "TGHADM"
                                     << "TGHADM"
                                     << "";
    QTest::newRow("application") << "TGHAPP"
                                 << "TGHAPP"
                                 << "";
    QTest::newRow("retired, locked") << "TGHOLD"
                                     << "TGHOLD" << locked;
    QTest::newRow("OUTLN, locked") << "OUTLN"
                                   << "OUTLN" << locked;
    QTest::newRow("wrong password") << "SCOTT"
                                    << "LION"
                                    << "ORA-01017: invalid username/password; logon denied";
}

void TestDemoInstance::logins()
{
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(QString, error);
    QString actual;
    try {
        login(user, password);
    } catch (const db::DatabaseError& e) {
        actual = e.message();
    }
    QCOMPARE(actual, error);
}

void TestDemoInstance::catalogueThroughSynonyms_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("reaches");
    QTest::newRow("SYSTEM") << "SYSTEM"
                            << "MANAGER" << true;
    QTest::newRow("TGHAPP") << "TGHAPP"
                            << "TGHAPP" << true;
    QTest::newRow("TGHEDI") << "TGHEDI"
                            << "TGHEDI" << true;
    QTest::newRow("SCOTT has no grant") << "SCOTT"
                                        << "TIGER" << false;
}

void TestDemoInstance::catalogueThroughSynonyms()
{
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(bool, reaches);
    auto s = login(user, password);
    for (const char* table : {"BACKUP_TABLE", "BACKLOG_TABLE", "BACKUSER_TABLE", "PLAN_TABLE"}) {
        const QString error =
            errorOf(*s, QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table)));
        QCOMPARE(error,
                 reaches ? QString() : QStringLiteral("ORA-00942: table or view does not exist"));
    }
}

void TestDemoInstance::freeShareOfEveryTablespace()
{
    // Free share in per cent, one decimal, as the tablespace screen rounds it; -1 for a tablespace
    // without datafiles (TEMP lives in a tempfile).
    const QMap<QString, double> expected = {{"SYSTEM", 8.4}, {"RBS", 62.5},  {"TEMP", -1},
                                            {"USERS", 13.0}, {"INDX", 25.8}, {"TOOLS", 88.0},
                                            {"TGHD", 10.4},  {"TGHI", 20.9}};
    QMap<QString, double> actual;
    QSet<int> bands;
    for (const Row& ts :
         select(*m_system, QStringLiteral("SELECT TS#, NAME FROM V$TABLESPACE ORDER BY TS#"))) {
        db::Query q(m_system.get());
        q.sql() = kTablespaceUsage.split(QLatin1Char('\n'));
        q.paramByName(QStringLiteral("NAME")).setAsString(ts[1]);
        q.paramByName(QStringLiteral("TS")).setAsFloat(ts[0].toDouble());
        q.open();
        QCOMPARE(q.recordCount(), 1);
        const double freeBytes = q.fieldByName(QStringLiteral("F_BYTES")).asDouble();
        const double total = q.fieldByName(QStringLiteral("U_BYTES")).asDouble();
        const double share = total > 0 ? std::round(freeBytes / total * 1000) / 10 : -1;
        actual.insert(ts[1], share);
        if (share > 0)
            bands.insert(share <= 10.9 ? 1 : share <= 20.9 ? 2 : share <= 30.9 ? 3 : 4);
    }
    QCOMPARE(actual, expected);
    QCOMPARE(bands, (QSet<int>{1, 2, 3, 4}));

    // TGHD spreads over three files, the first of them full.
    QCOMPARE(select(*m_system,
                    QStringLiteral("SELECT FILE# FROM V$DATAFILE WHERE TS# = 6 ORDER BY FILE#")),
             (QList<Row>{{"6"}, {"7"}, {"8"}}));
    QCOMPARE(
        select(*m_system, QStringLiteral("SELECT COUNT(*) FROM DBA_FREE_SPACE WHERE FILE_ID = 6")),
        QList<Row>{{"0"}});
}

void TestDemoInstance::storageAddsUp()
{
    db::Session& s = *m_system;
    // file# -> (tablespace, blocks), agreeing between the control file and the dictionary
    QMap<int, QPair<QString, qint64>> files;
    for (const Row& r : select(s, QStringLiteral("SELECT F.FILE#, T.NAME, F.BLOCKS FROM V$DATAFILE "
                                                 "F, V$TABLESPACE T WHERE T.TS# = F.TS#")))
        files.insert(r[0].toInt(), {r[1], r[2].toLongLong()});
    QVERIFY(!files.isEmpty());
    const QList<Row> dataFiles =
        select(s, QStringLiteral("SELECT FILE_ID, TABLESPACE_NAME, BLOCKS FROM DBA_DATA_FILES"));
    QCOMPARE(dataFiles.size(), files.size());
    for (const Row& r : dataFiles)
        QCOMPARE(files.value(r[0].toInt()), qMakePair(r[1], r[2].toLongLong()));

    // Extents and free extents lie inside their file, in its tablespace, and never overlap.
    QMap<int, QList<Range>> used;
    QStringList misplaced;
    auto place = [&](const Row& r, const QString& what) {
        const int file = r[1].toInt();
        const qint64 first = r[2].toLongLong();
        const qint64 last = first + r[3].toLongLong() - 1;
        if (!files.contains(file) || files[file].first != r[0] || first < 2 ||
            last > files[file].second)
            misplaced.append(what);
        else
            used[file].append({first, last, what});
    };
    for (const Row& r :
         select(s, QStringLiteral(
                       "SELECT TABLESPACE_NAME, FILE_ID, BLOCK_ID, BLOCKS FROM DBA_FREE_SPACE")))
        place(r, QStringLiteral("free extent ") + r.join(QLatin1Char(' ')));
    for (const Row& r : select(s, QStringLiteral("SELECT TABLESPACE_NAME, FILE_ID, BLOCK_ID, "
                                                 "BLOCKS, OWNER, SEGMENT_NAME FROM DBA_EXTENTS")))
        place(r, r[4] + QLatin1Char('.') + r[5]);
    QVERIFY2(misplaced.isEmpty(), qPrintable(misplaced.join(QStringLiteral(", "))));
    for (auto it = used.begin(); it != used.end(); ++it) {
        auto ranges = it.value();
        std::sort(ranges.begin(), ranges.end(),
                  [](const Range& a, const Range& b) { return a.first < b.first; });
        for (int i = 1; i < ranges.size(); ++i)
            QVERIFY2(
                ranges[i].first > ranges[i - 1].last,
                qPrintable(ranges[i - 1].what + QStringLiteral(" overlaps ") + ranges[i].what));
    }

    // A segment is the sum of its extents and starts at its first one.
    const QList<Row> mismatched = select(
        s, QStringLiteral(
               "SELECT G.OWNER, G.SEGMENT_NAME FROM DBA_SEGMENTS G WHERE G.BLOCKS <> (SELECT "
               "SUM(E.BLOCKS) FROM DBA_EXTENTS E "
               "WHERE E.OWNER = G.OWNER AND E.SEGMENT_NAME = G.SEGMENT_NAME) OR G.EXTENTS <> "
               "(SELECT COUNT(*) FROM "
               "DBA_EXTENTS E WHERE E.OWNER = G.OWNER AND E.SEGMENT_NAME = G.SEGMENT_NAME)"));
    QVERIFY2(mismatched.isEmpty(), qPrintable(mismatched.value(0).join(QLatin1Char('.'))));
    QCOMPARE(
        select(s,
               QStringLiteral(
                   "SELECT R.SEGMENT_NAME FROM DBA_ROLLBACK_SEGS R, DBA_EXTENTS E WHERE "
                   "E.SEGMENT_NAME = R.SEGMENT_NAME "
                   "AND E.EXTENT_ID = 0 AND (E.FILE_ID <> R.FILE_ID OR E.BLOCK_ID <> R.BLOCK_ID)")),
        QList<Row>{});

    // Every table and index outside SYS has its segment, in the tablespace the dictionary names.
    const QList<Row> objects = select(
        s, QStringLiteral(
               "SELECT OWNER, TABLE_NAME, TABLESPACE_NAME FROM ALL_TABLES WHERE OWNER <> 'SYS' "
               "UNION ALL "
               "SELECT OWNER, INDEX_NAME, TABLESPACE_NAME FROM ALL_INDEXES WHERE OWNER <> 'SYS'"));
    QVERIFY(objects.size() > 50);
    QHash<QString, QString> segments;
    for (const Row& r :
         select(s, QStringLiteral("SELECT OWNER, SEGMENT_NAME, TABLESPACE_NAME FROM DBA_SEGMENTS")))
        segments.insert(r[0] + QLatin1Char('.') + r[1], r[2]);
    for (const Row& r : objects) {
        const QString name = r[0] + QLatin1Char('.') + r[1];
        QVERIFY2(segments.contains(name), qPrintable(name + QStringLiteral(" has no segment")));
        QCOMPARE(segments.value(name), r[2]);
    }
}

void TestDemoInstance::sessionsStatementsAndLocksJoin()
{
    db::Session& s = *m_system;
    // Every session runs on a process, this test's own login (SID 34) included.
    QCOMPARE(select(s, QStringLiteral("SELECT SID FROM V$SESSION S WHERE NOT EXISTS (SELECT 1 FROM "
                                      "V$PROCESS P WHERE P.ADDR = S.PADDR)")),
             QList<Row>{});
    const QList<Row> kinds =
        select(s, QStringLiteral("SELECT TYPE, STATUS, COUNT(*) FROM V$SESSION WHERE SID <= 35 AND "
                                 "SID <> 34 GROUP BY TYPE, STATUS ORDER BY 1, 2"));
    QCOMPARE(kinds, (QList<Row>{{"BACKGROUND", "ACTIVE", "8"},
                                {"USER", "ACTIVE", "8"},
                                {"USER", "INACTIVE", "18"}}));
    QCOMPARE(select(s, QStringLiteral("SELECT COUNT(*) FROM V$SESSION WHERE TYPE = 'BACKGROUND' "
                                      "AND USERNAME IS NOT NULL")),
             QList<Row>{{"0"}});

    // A session's current statement comes back whole from its pieces: 0..n, 64 characters each
    // but the last, under the session's hash value.
    int withText = 0;
    for (const Row& session :
         select(s, QStringLiteral("SELECT SID, SQL_ADDRESS, SQL_HASH_VALUE FROM V$SESSION WHERE "
                                  "SQL_ADDRESS <> '00'"))) {
        const QList<Row> pieces =
            select(s,
                   QStringLiteral("SELECT PIECE, HASH_VALUE, SQL_TEXT FROM V$SQLTEXT WHERE ADDRESS "
                                  "= :A ORDER BY PIECE"),
                   {{QStringLiteral("A"), session[1]}});
        QVERIFY2(!pieces.isEmpty(), qPrintable(QStringLiteral("no text for SID ") + session[0]));
        for (int i = 0; i < pieces.size(); ++i) {
            QCOMPARE(pieces[i][0], QString::number(i));
            QCOMPARE(pieces[i][1], session[2]);
            if (i + 1 < pieces.size())
                QCOMPARE(pieces[i][2].size(), 64);
        }
        ++withText;
    }
    QVERIFY(withText >= 20);
    QVERIFY(
        select(s, QStringLiteral("SELECT COUNT(*) FROM V$SQLTEXT WHERE PIECE = 4"))[0][0].toInt() >=
        1);

    // Locks belong to sessions; TM locks name tables; the waiter's LOCKWAIT is its request.
    QCOMPARE(select(s, QStringLiteral("SELECT SID FROM V$LOCK L WHERE NOT EXISTS (SELECT 1 FROM "
                                      "V$SESSION S WHERE S.SID = L.SID)")),
             QList<Row>{});
    QCOMPARE(
        select(s, QStringLiteral("SELECT L.ID1 FROM V$LOCK L WHERE L.TYPE = 'TM' AND NOT EXISTS "
                                 "(SELECT 1 FROM ALL_OBJECTS O WHERE O.OBJECT_ID = L.ID1 AND "
                                 "O.OBJECT_TYPE = 'TABLE')")),
        QList<Row>{});
    QCOMPARE(select(s, QStringLiteral("SELECT S.SID, L.TYPE, L.REQUEST FROM V$SESSION S, V$LOCK L "
                                      "WHERE L.KADDR = S.LOCKWAIT")),
             (QList<Row>{{"17", "TX", "6"}}));
    QCOMPARE(select(s, QStringLiteral("SELECT COUNT(*) FROM V$LOCK A, V$LOCK B WHERE A.TYPE = 'TX' "
                                      "AND B.TYPE = 'TX' AND A.ID1 = B.ID1 "
                                      "AND A.ID2 = B.ID2 AND A.BLOCK = 1 AND B.REQUEST = 6")),
             QList<Row>{{"1"}});
    QCOMPARE(
        select(
            s,
            QStringLiteral(
                "SELECT A.SID, A.TYPE FROM V$LOCK A, V$SESSION B, ALL_OBJECTS C WHERE A.SID = "
                "B.SID "
                "AND B.USERNAME IS NOT NULL AND C.OBJECT_ID(+) = A.ID1 AND C.OBJECT_NAME IS NULL "
                "AND A.TYPE <> 'TX'")),
        (QList<Row>{{"20", "UL"}}));
}

void TestDemoInstance::ownSessionsRunOnTheirServerProcess()
{
    db::Session& s = *m_system;
    const QString ownProcesses = QStringLiteral(
        "SELECT S.SID, P.PID, P.SPID, P.PROGRAM FROM V$SESSION S, V$PROCESS P WHERE P.ADDR = "
        "S.PADDR AND S.PROGRAM = 'kolmara' ORDER BY S.SID");
    const QString pid = QString::number(QCoreApplication::applicationPid());
    // The seeded processes hold PIDs 1..35; this program's process id is the server's SPID.
    QCOMPARE(select(s, ownProcesses), (QList<Row>{{"34", "36", pid, "kolmara"}}));

    auto second = login(QStringLiteral("SCOTT"), QStringLiteral("TIGER"));
    auto third = login(QStringLiteral("TGHAPP"), QStringLiteral("TGHAPP"));
    QCOMPARE(select(s, ownProcesses), (QList<Row>{{"34", "36", pid, "kolmara"},
                                                  {"36", "37", pid, "kolmara"},
                                                  {"37", "38", pid, "kolmara"}}));
    // The sessions list keeps every login when it goes through the processes, as the lock
    // list does.
    QCOMPARE(select(s, QStringLiteral("SELECT COUNT(*) FROM V$SESSION S, V$PROCESS P WHERE "
                                      "P.ADDR = S.PADDR")),
             select(s, QStringLiteral("SELECT COUNT(*) FROM V$SESSION")));

    // A logoff ends its process; a kill ends the killed session's process, seeded or not.
    second->disconnect();
    db::Statement kill(&s);
    kill.addSql(
        QStringLiteral("ALTER SYSTEM KILL SESSION '37,%1'")
            .arg(select(s, QStringLiteral("SELECT SERIAL# FROM V$SESSION WHERE SID = 37"))[0][0]));
    kill.execute();
    QCOMPARE(select(s, ownProcesses), (QList<Row>{{"34", "36", pid, "kolmara"}}));
    const QString seededPaddr =
        select(s, QStringLiteral("SELECT PADDR FROM V$SESSION WHERE SID = 35"))[0][0];
    db::Statement killSeeded(&s);
    killSeeded.addSql(
        QStringLiteral("ALTER SYSTEM KILL SESSION '35,%1'")
            .arg(select(s, QStringLiteral("SELECT SERIAL# FROM V$SESSION WHERE SID = 35"))[0][0]));
    killSeeded.execute();
    QCOMPARE(select(s, QStringLiteral("SELECT COUNT(*) FROM V$PROCESS WHERE ADDR = :A"),
                    {{QStringLiteral("A"), seededPaddr}}),
             QList<Row>{{"0"}});
    QCOMPARE(select(s, QStringLiteral("SELECT COUNT(*) FROM V$PROCESS")), QList<Row>{{"35"}});

    // The killed session's SID and PID are the first free ones again.
    auto fourth = login(QStringLiteral("SCOTT"), QStringLiteral("TIGER"));
    QCOMPARE(select(s, ownProcesses), (QList<Row>{{"34", "36", pid, "kolmara"},
                                                  {"35", "35", pid, "kolmara"}}));
}

void TestDemoInstance::sessionsOfEndedProgramsGoAtTheNextLogon()
{
    // A program that was killed without logging off: its process id no longer runs.
    QProcess ended;
    ended.start(QStringLiteral("/bin/true"));
    QVERIFY(ended.waitForStarted());
    const qint64 deadPid = ended.processId();
    QVERIFY(ended.waitForFinished());

    // Its rows, as that program's logon wrote them (fixed views take no DML from SQL).
    {
        auto engine = db::embedded::EngineSession::open(
            m_demo->databaseFile(), QStringLiteral("SYS"), QStringLiteral("CHANGE_ON_INSTALL"));
        engine->run(QStringLiteral("INSERT INTO main.\"SYS.V_$SESSION\" (SID, \"SERIAL#\","
                                   " USERNAME, STATUS, PADDR, PROGRAM, MACHINE, PROCESS)"
                                   " VALUES (90, 9, 'SCOTT', 'INACTIVE',"
                                   " '6C2A9000', 'kolmara', ?, ?)"),
                    {QSysInfo::machineHostName(), QString::number(deadPid)});
        engine->run(QStringLiteral("INSERT INTO main.\"SYS.V_$PROCESS\" (ADDR, PID, SPID, PROGRAM) "
                                   "VALUES ('6C2A9000', 90, ?, 'kolmara')"),
                    {QString::number(deadPid)});
        engine->close();
    }
    const QString countLeftOver = QStringLiteral(
        "SELECT COUNT(*) FROM V$SESSION S, V$PROCESS P WHERE S.SID = 90 AND P.ADDR = '6C2A9000'");
    QCOMPARE(select(*m_system, countLeftOver), QList<Row>{{"1"}});

    auto next = login(QStringLiteral("SCOTT"), QStringLiteral("TIGER"));
    QCOMPARE(select(*m_system, QStringLiteral("SELECT COUNT(*) FROM V$SESSION WHERE SID = 90")),
             QList<Row>{{"0"}});
    QCOMPARE(
        select(*m_system, QStringLiteral("SELECT COUNT(*) FROM V$PROCESS WHERE ADDR = '6C2A9000'")),
        QList<Row>{{"0"}});
    // The sessions of this running program stay.
    QVERIFY(select(*m_system,
                   QStringLiteral("SELECT COUNT(*) FROM V$SESSION WHERE PROGRAM = 'kolmara'"))[0][0]
                .toInt() >= 2);
}

void TestDemoInstance::dictionaryDescribesTheViewsItLists()
{
    db::Session& s = *m_system;
    QSet<QString> listed;
    for (const Row& r : select(s, QStringLiteral("SELECT TABLE_NAME FROM DICTIONARY")))
        listed.insert(r[0]);
    for (const char* view : {"ALL_USERS",
                             "ALL_TABLES",
                             "ALL_TAB_COLUMNS",
                             "ALL_TAB_COMMENTS",
                             "ALL_COL_COMMENTS",
                             "ALL_INDEXES",
                             "ALL_IND_COLUMNS",
                             "ALL_CONSTRAINTS",
                             "ALL_TRIGGERS",
                             "ALL_OBJECTS",
                             "ALL_SYNONYMS",
                             "ALL_SEQUENCES",
                             "DBA_USERS",
                             "DBA_EXTENTS",
                             "DBA_ROLLBACK_SEGS",
                             "USER_FREE_SPACE",
                             "USER_TABLESPACES",
                             "DICTIONARY",
                             "DICT_COLUMNS",
                             "V$SESSION",
                             "V$SQLTEXT",
                             "V$LOCK",
                             "V$PROCESS",
                             "V$VERSION",
                             "V$SGA",
                             "V$SGASTAT",
                             "V$PARAMETER",
                             "V$NLS_PARAMETERS",
                             "V$RESOURCE_LIMIT",
                             "V$DATAFILE",
                             "V$TABLESPACE",
                             // the views everyday scripts read first, and the NLS views
                             "V$DATABASE", "V$INSTANCE", "V$LOG", "V$LOGFILE", "V$CONTROLFILE",
                             "V$TEMPFILE", "DBA_TEMP_FILES", "V$SQL", "V$SQLAREA", "V$SESSION_WAIT",
                             "V$LOCKED_OBJECT", "V$TRANSACTION", "V$SESSTAT", "V$SYSSTAT",
                             "V$STATNAME", "V$ROLLSTAT", "V$ROLLNAME", "DBA_ROLES",
                             "DBA_ROLE_PRIVS", "DBA_SYS_PRIVS", "DBA_TAB_PRIVS", "ROLE_SYS_PRIVS",
                             "ROLE_TAB_PRIVS", "USER_ROLE_PRIVS", "USER_SYS_PRIVS",
                             "USER_TAB_PRIVS", "DBA_TS_QUOTAS", "DBA_PROFILES", "DBA_SOURCE",
                             "DBA_JOBS", "DATABASE_PROPERTIES", "NLS_SESSION_PARAMETERS",
                             "NLS_DATABASE_PARAMETERS", "NLS_INSTANCE_PARAMETERS"})
        QVERIFY2(listed.contains(QLatin1String(view)), view);

    // The column list of each view held as rows here is the view's own, in order.
    for (const char* view : {"V$SESSION",
                             "V$LOCK",
                             "V$SQLTEXT",
                             "V$PROCESS",
                             "V$SGA",
                             "V$SGASTAT",
                             "V$PARAMETER",
                             "V$NLS_PARAMETERS",
                             "V$RESOURCE_LIMIT",
                             "V$VERSION",
                             "V$DATAFILE",
                             "V$TABLESPACE",
                             "DBA_DATA_FILES",
                             "DBA_FREE_SPACE",
                             "USER_FREE_SPACE",
                             "DBA_EXTENTS",
                             "DBA_SEGMENTS",
                             "DBA_ROLLBACK_SEGS",
                             "DBA_TABLESPACES",
                             "USER_TABLESPACES",
                             "DICTIONARY",
                             "DICT_COLUMNS"}) {
        QStringList described;
        for (const Row& r :
             select(s, QStringLiteral("SELECT COLUMN_NAME FROM DICT_COLUMNS WHERE TABLE_NAME = :T"),
                    {{QStringLiteral("T"), QLatin1String(view)}}))
            described.append(r[0]);
        db::Query q(&s);
        q.addSql(QStringLiteral("SELECT * FROM %1 WHERE 1 = 0").arg(QLatin1String(view)));
        q.open();
        QCOMPARE(described, q.fieldNames());
    }
}

// The views DBA scripts read first: their columns in the server's order, their rows in step with
// the sessions, locks, storage and parameters the rest of the instance describes.
void TestDemoInstance::everydayViewsAgreeWithTheInstance()
{
    db::Session& s = *m_system;
    const QList<QPair<const char*, QString>> columns = {
        {"V$SGASTAT", "POOL,NAME,BYTES"},
        {"V$LOG",
         "GROUP#,THREAD#,SEQUENCE#,BYTES,MEMBERS,ARCHIVED,STATUS,FIRST_CHANGE#,FIRST_TIME"},
        {"V$LOGFILE", "GROUP#,STATUS,TYPE,MEMBER"},
        {"V$CONTROLFILE", "STATUS,NAME"},
        {"V$ROLLNAME", "USN,NAME"},
        {"V$STATNAME", "STATISTIC#,NAME,CLASS"},
        {"V$SESSTAT", "SID,STATISTIC#,VALUE"},
        {"V$SYSSTAT", "STATISTIC#,NAME,CLASS,VALUE"},
        {"V$LOCKED_OBJECT",
         "XIDUSN,XIDSLOT,XIDSQN,OBJECT_ID,SESSION_ID,ORACLE_USERNAME,OS_USER_NAME,PROCESS,"
         "LOCKED_MODE"},
        {"DBA_TS_QUOTAS", "TABLESPACE_NAME,USERNAME,BYTES,MAX_BYTES,BLOCKS,MAX_BLOCKS"},
        {"DBA_PROFILES", "PROFILE,RESOURCE_NAME,RESOURCE_TYPE,LIMIT"},
        {"DBA_ROLE_PRIVS", "GRANTEE,GRANTED_ROLE,ADMIN_OPTION,DEFAULT_ROLE"},
        {"DBA_TAB_PRIVS", "GRANTEE,OWNER,TABLE_NAME,GRANTOR,PRIVILEGE,GRANTABLE,HIERARCHY"},
        {"DATABASE_PROPERTIES", "PROPERTY_NAME,PROPERTY_VALUE,DESCRIPTION"},
        {"NLS_SESSION_PARAMETERS", "PARAMETER,VALUE"},
    };
    for (const auto& [view, expected] : columns) {
        db::Query q(&s);
        q.addSql(QStringLiteral("SELECT * FROM %1 WHERE 1 = 0").arg(QLatin1String(view)));
        q.open();
        QCOMPARE(q.fieldNames().join(QLatin1Char(',')), expected);
    }
    // One row of each kind per thing it describes.
    const QList<QPair<const char*, const char*>> sameCount = {
        {"SELECT COUNT(*) FROM V$SESSION_WAIT", "SELECT COUNT(*) FROM V$SESSION"},
        {"SELECT COUNT(*) FROM V$TRANSACTION",
         "SELECT COUNT(*) FROM V$LOCK WHERE TYPE = 'TX' AND LMODE = 6"},
        {"SELECT COUNT(*) FROM V$LOCKED_OBJECT L, ALL_OBJECTS O WHERE O.OBJECT_ID = L.OBJECT_ID",
         "SELECT COUNT(*) FROM V$LOCK WHERE TYPE = 'TM'"},
        {"SELECT COUNT(*) FROM V$ROLLNAME",
         "SELECT COUNT(*) FROM DBA_ROLLBACK_SEGS WHERE STATUS = 'ONLINE'"},
        {"SELECT COUNT(*) FROM V$ROLLSTAT", "SELECT COUNT(*) FROM V$ROLLNAME"},
        {"SELECT COUNT(*) FROM V$CONTROLFILE",
         "SELECT 3 FROM V$PARAMETER WHERE NAME = 'control_files'"},
        {"SELECT COUNT(*) FROM V$SQLAREA", "SELECT COUNT(*) FROM V$SQLTEXT WHERE PIECE = 0"},
        {"SELECT SUM(XACTS) FROM V$ROLLSTAT", "SELECT COUNT(*) FROM V$TRANSACTION"},
        {"SELECT COUNT(*) FROM NLS_SESSION_PARAMETERS",
         "SELECT COUNT(*) - 2 FROM V$NLS_PARAMETERS"},
        {"SELECT COUNT(*) FROM V$SESSION S, V$TRANSACTION T WHERE T.SES_ADDR = S.SADDR"
         " AND S.TADDR = T.ADDR",
         "SELECT COUNT(*) FROM V$TRANSACTION"},
    };
    for (const auto& [left, right] : sameCount)
        QVERIFY2(select(s, QString::fromUtf8(left)) == select(s, QString::fromUtf8(right)), left);
    const QList<QPair<const char*, Row>> facts = {
        {"SELECT NAME, LOG_MODE, OPEN_MODE FROM V$DATABASE",
         {"KOLM", "NOARCHIVELOG", "READ WRITE"}},
        {"SELECT I.HOST_NAME, I.VERSION, I.STATUS FROM V$INSTANCE I",
         {"KOLMDB01", "9.2.0.1.0", "OPEN"}},
        {"SELECT COUNT(*), SUM(DECODE(STATUS, 'CURRENT', 1, 0)) FROM V$LOG", {"3", "1"}},
        {"SELECT T.TABLESPACE_NAME, D.CONTENTS FROM DBA_TEMP_FILES T, DBA_TABLESPACES D"
         " WHERE D.TABLESPACE_NAME = T.TABLESPACE_NAME",
         {"TEMP", "TEMPORARY"}},
        {"SELECT V.NAME FROM V$TEMPFILE F, V$TABLESPACE V WHERE V.TS# = F.TS#", {"TEMP"}},
        {"SELECT E.EVENT FROM V$SESSION_WAIT E, V$SESSION S WHERE S.SID = E.SID"
         " AND S.LOCKWAIT IS NOT NULL",
         {"enqueue"}},
        {"SELECT PROPERTY_VALUE FROM DATABASE_PROPERTIES"
         " WHERE PROPERTY_NAME = 'DEFAULT_TEMP_TABLESPACE'",
         {"TEMP"}},
        {"SELECT VALUE FROM NLS_DATABASE_PARAMETERS WHERE PARAMETER = 'NLS_CHARACTERSET'",
         {"KO16MSWIN949"}},
        {"SELECT VALUE FROM NLS_INSTANCE_PARAMETERS WHERE PARAMETER = 'NLS_LANGUAGE'", {"KOREAN"}},
        {"SELECT COUNT(*) FROM DBA_PROFILES WHERE PROFILE = 'DEFAULT'", {"16"}},
        {"SELECT SCHEMA_USER, BROKEN FROM DBA_JOBS", {"TGHBAT", "N"}},
        {"SELECT COUNT(*) FROM ALL_OBJECTS WHERE OWNER = 'SYS' AND OBJECT_NAME = 'DBMS_STATS'",
         {"2"}},
    };
    for (const auto& [sql, row] : facts)
        QCOMPARE(select(s, QString::fromUtf8(sql)), QList<Row>{row});
}

// Who may read what, as on a real instance: the NLS views everyone, the DBA_ and V$ views and their
// DICTIONARY rows only accounts with the catalogue role; grants on the server's packages work.
void TestDemoInstance::grantsAsOnARealInstance()
{
    auto scott = login(QStringLiteral("SCOTT"), QStringLiteral("TIGER"));
    for (const char* view :
         {"V$NLS_PARAMETERS", "NLS_SESSION_PARAMETERS", "NLS_DATABASE_PARAMETERS",
          "NLS_INSTANCE_PARAMETERS", "DATABASE_PROPERTIES", "USER_ROLE_PRIVS", "USER_SYS_PRIVS",
          "USER_TAB_PRIVS", "ROLE_SYS_PRIVS"})
        QVERIFY2(errorOf(*scott, QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(view)))
                     .isEmpty(),
                 view);
    for (const char* view :
         {"V$DATABASE", "V$SQL", "DBA_ROLES", "DBA_SYS_PRIVS", "DBA_TS_QUOTAS", "DBA_SOURCE"})
        QCOMPARE(
            errorOf(*scott, QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(view))),
            QStringLiteral("ORA-00942: table or view does not exist"));
    QCOMPARE(
        select(*scott, QStringLiteral("SELECT TABLE_NAME FROM DICTIONARY"
                                      " WHERE TABLE_NAME LIKE 'DBA%' OR TABLE_NAME LIKE 'V$%'")),
        QList<Row>{{"V$NLS_PARAMETERS"}});
    QCOMPARE(select(*scott, QStringLiteral("SELECT COUNT(*) FROM DICTIONARY"
                                           " WHERE TABLE_NAME IN ('ALL_OBJECTS',"
                                           " 'NLS_SESSION_PARAMETERS',"
                                           " 'DATABASE_PROPERTIES', 'ROLE_SYS_PRIVS')")),
             QList<Row>{{"4"}});
    QVERIFY(
        select(*m_system,
               QStringLiteral("SELECT COUNT(*) FROM DICTIONARY WHERE TABLE_NAME LIKE 'DBA%'"))[0][0]
            .toInt() > 10);
    QCOMPARE(select(*scott, QStringLiteral("SELECT GRANTED_ROLE FROM USER_ROLE_PRIVS ORDER BY 1")),
             (QList<Row>{{"CONNECT"}, {"RESOURCE"}}));
    QCOMPARE(select(*scott,
                    QStringLiteral("SELECT PRIVILEGE FROM ROLE_SYS_PRIVS WHERE ROLE = 'CONNECT'")),
             QList<Row>{{"CREATE SESSION"}});

    db::Statement grant(m_system.get());
    grant.addSql(QStringLiteral("GRANT EXECUTE ON SYS.DBMS_LOCK TO SCOTT"));
    grant.execute();
    const QList<Row> granted{{"SYS", "DBMS_LOCK", "EXECUTE"}};
    QCOMPARE(
        select(
            *m_system,
            QStringLiteral(
                "SELECT OWNER, TABLE_NAME, PRIVILEGE FROM DBA_TAB_PRIVS WHERE GRANTEE = 'SCOTT'")),
        granted);
    QCOMPARE(select(*scott, QStringLiteral(
                                "SELECT TABLE_NAME FROM USER_TAB_PRIVS WHERE GRANTEE = 'SCOTT'")),
             QList<Row>{{"DBMS_LOCK"}});
    db::Statement revoke(m_system.get());
    revoke.addSql(QStringLiteral("REVOKE EXECUTE ON SYS.DBMS_LOCK FROM SCOTT"));
    revoke.execute();
}

void TestDemoInstance::dueBackups_data()
{
    QTest::addColumn<QDate>("day");
    QTest::addColumn<QStringList>("due");
    const QStringList daily = {"HR.EMPLOYEES D01",         "SCOTT.EMP D01",
                               "TGHADM.BACKLOG_TABLE D01", "TGHAPP.CUSTOMER D01",
                               "TGHDW.CUSTOMER D01",       "TGHOLD.OLD_ORDERS D01"};
    QTest::newRow("Thursday 2003-05-15")
        << QDate(2003, 5, 15) << daily + QStringList{"TGHAPP.ORDER_ITEM M15"};
    QTest::newRow("Wednesday 2003-10-15")
        << QDate(2003, 10, 15)
        << daily + QStringList{"SCOTT.DEPT W04", "TGHAPP.ORDER_ITEM M15", "TGHAPP.PRODUCT W04",
                               "TGHDW.DEPT_NOTE W04"};
    QTest::newRow("Sunday 2003-06-01")
        << QDate(2003, 6, 1) << daily + QStringList{"TGHAPP.COMM_CODE W01"};
    QTest::newRow("Monday 2003-05-05")
        << QDate(2003, 5, 5) << daily + QStringList{"TGHAPP.ORDERS W02", "TGHAPP.SALES_HIST M05"};
}

void TestDemoInstance::dueBackups()
{
    QFETCH(QDate, day);
    QFETCH(QStringList, due);
    const QDateTime then(day, QTime(3, 0, 0));
    db::embedded::setEngineClockForTesting([then] { return then; });
    const auto restore =
        qScopeGuard([] { db::embedded::setEngineClockForTesting([] { return today(); }); });
    const QList<Row> rows = select(*m_system, kDueBackups,
                                   {{QStringLiteral("BACKUP_SERVER"), QStringLiteral("DEMO")},
                                    {QStringLiteral("BACKUP_CYCLE1"), QStringLiteral("D")},
                                    {QStringLiteral("BACKUP_CYCLE2"), QStringLiteral("W")},
                                    {QStringLiteral("BACKUP_CYCLE3"), QStringLiteral("M")}});
    QStringList actual;
    QStringList accounts;
    for (const Row& r : rows) {
        actual.append(r[1] + QLatin1Char('.') + r[2] + QLatin1Char(' ') + r[4] + r[5]);
        accounts.append(r[1]);
    }
    QVERIFY(std::is_sorted(accounts.begin(), accounts.end()));
    actual.sort();
    due.sort();
    QCOMPARE(actual, due);
}

void TestDemoInstance::sampleDataLargeEnoughToDump()
{
    db::Session& s = *m_system;
    QCOMPARE(select(s, QStringLiteral("SELECT COUNT(*), COUNT(COMM), SUM(SAL) FROM SCOTT.EMP")),
             (QList<Row>{{"14", "4", "29025"}}));
    QCOMPARE(
        select(s, QStringLiteral("SELECT COUNT(*), COUNT(DISC_RATE), COUNT(MEMO), "
                                 "TO_CHAR(MIN(SALE_DATE),'YYYY-MM-DD'), "
                                 "TO_CHAR(MAX(SALE_DATE),'YYYY-MM-DD') FROM TGHAPP.SALES_HIST")),
        (QList<Row>{{"4000", "3440", "485", "2003-01-01", "2003-04-10"}}));
}

QTEST_GUILESS_MAIN(TestDemoInstance)
#include "tst_demo_instance.moc"
