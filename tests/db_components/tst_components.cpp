// The database access components: the general float form, the driver registry, sessions, queries
// with binds and fields, statements, and the fault seams that make the N-th statement or the N-th
// row fetch fail; database files that cannot be used (foreign, damaged, read-only, on a full
// disk) and programs opening one file at once.
#include "../db_engine/EngineFixture.h"

#include "common/SqlScanner.h"
#include "db/DriverRegistry.h"
#include "db/FloatFormat.h"
#include "db/Statement.h"

#include <QScopeGuard>

#include <sqlite3.h>

#include <atomic>
#include <functional>
#include <thread>

#include <fcntl.h>
#include <sched.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <unistd.h>

using namespace kolmara;
using namespace kolmara::test;

namespace {

// A client driver that answers every statement with no rows and keeps the binds of the last one.
struct RecordingDriver : db::Driver {
    QHash<QString, db::BindValue> lastBinds;

    struct RecordingCursor : db::Cursor {
        RecordingDriver* driver;
        explicit RecordingCursor(RecordingDriver* d) : driver(d) {}
        void execute(const QHash<QString, db::BindValue>& binds) override
        {
            driver->lastBinds = binds;
        }
        QStringList columnNames() const override { return {QStringLiteral("X")}; }
        bool fetch(QVector<db::Value>&) override { return false; }
    };
    struct RecordingConnection : db::Connection {
        RecordingDriver* driver;
        explicit RecordingConnection(RecordingDriver* d) : driver(d) {}
        std::unique_ptr<db::Cursor> prepare(const QString&) override
        {
            return std::make_unique<RecordingCursor>(driver);
        }
        void startTransaction() override {}
        void commit() override {}
        void rollback() override {}
        void disconnect() override {}
    };
    std::unique_ptr<db::Connection> connect(const QString&, const QString&, const QString&) override
    {
        return std::make_unique<RecordingConnection>(this);
    }
};

}  // namespace

class TestComponents : public QObject {
    Q_OBJECT

private slots:
    void generalFloat_data();
    void generalFloat();
    void bindNames();
    void quotedTextHoldsNoBindsForTheDriver();
    void unknownServiceGoesToTheOracleClient();
    void registryMapsServiceNamesToFiles();
    void controlCharactersInARegisteredFileNameAreRefused_data();
    void controlCharactersInARegisteredFileNameAreRefused();
    void connectStringAndErrors();
    void queryWalksAllRows();
    void forwardOnlyQueryReadsRowByRow();
    void fieldsAndParameters();
    void repeatedValuesKeepTheirOwnKindAndText_data();
    void repeatedValuesKeepTheirOwnKindAndText();
    void faultSeamFailsTheNthStatement();
    void faultSeamFailsTheNthFetch();
    void databaseFileSurvivesReconnect();
    void commitsReachTheFileWhenTheLastSessionCloses_data();
    void commitsReachTheFileWhenTheLastSessionCloses();
    void readingSessionsLeaveTheirLogToTheNextLogon();
    void aNewDatabaseIgnoresTheLogOfADeletedOne();
    void unusableFilesAreRefusedAndKept_data();
    void unusableFilesAreRefusedAndKept();
    void filesMadeBeforeTheMarkStillOpen();
    void aFullOrReadOnlyDiskIsNamed();
    void programsOpeningOneFileAtOnceWaitForEachOther();
    void changedRowsAreCounted();
    void cancelStopsAReadButNotAChange();
};

void TestComponents::generalFloat_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("integer") << 12345.0 << "12345";
    QTest::newRow("half") << 0.5 << "0.5";
    QTest::newRow("negative") << -2.25 << "-2.25";
    QTest::newRow("15 digits") << 123456789012345.0 << "123456789012345";
    QTest::newRow("16 digits") << 1234567890123456.0 << "1.23456789012346E+15";
    QTest::newRow("third") << 1.0 / 3 << "0.333333333333333";
    QTest::newRow("small but fixed") << 0.00001 << "0.00001";
    QTest::newRow("below 0.00001") << 0.000001234 << "1.234E-06";
    QTest::newRow("binary neighbour") << 0.1 + 0.2 << "0.3";
}

void TestComponents::generalFloat()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(db::formatGeneralFloat(value), text);
}

void TestComponents::bindNames()
{
    QCOMPARE(db::bindNamesOf(QStringLiteral("SELECT ':NO' /* :NO2 */ FROM T -- :NO3\n"
                                            "WHERE A = :OWNER AND B = :file# AND C = :OWNER")),
             (QStringList{"OWNER", "FILE#"}));
}

void TestComponents::quotedTextHoldsNoBindsForTheDriver()
{
    EngineFixture fixture{QString()};
    auto driver = std::make_shared<RecordingDriver>();
    db::setClientDriver(driver);
    auto restore = qScopeGuard([] { db::setClientDriver(nullptr); });
    db::Session s;
    s.setServer(QStringLiteral("ORCL"));
    s.setUsername(QStringLiteral("SCOTT"));
    s.setPassword(QStringLiteral("TIGER"));
    s.setLoginPrompt(false);
    s.connect();

    // A ":x" inside a q-quote is text: nothing to bind, so no ORA-01008.
    db::Query q(&s);
    q.addSql(QStringLiteral("SELECT q'[it's :x]' X FROM DUAL"));
    q.open();
    QVERIFY(driver->lastBinds.isEmpty());
    q.close();

    q.sql().clear();
    q.addSql(QStringLiteral("SELECT q'{it's :x}', Nq'<:z>', :y FROM DUAL"));
    try {
        q.paramByName(QStringLiteral("X"));
        QFAIL("a bind was found inside a q-quote");
    } catch (const db::DatabaseError& e) {
        QCOMPARE(e.message(), QStringLiteral("Parameter 'X' not found"));
    }
    q.paramByName(QStringLiteral("Y")).setAsString(QStringLiteral("1"));
    q.open();
    QCOMPARE(driver->lastBinds.keys(), QStringList{QStringLiteral("Y")});
}

void TestComponents::unknownServiceGoesToTheOracleClient()
{
    // No Oracle client is installed here: the connect says so, and where it looked.
    EngineFixture fixture{QString()};
    const QByteArray home = qgetenv("ORACLE_HOME");
    qunsetenv("ORACLE_HOME");
    db::Session s;
    s.setServer(QStringLiteral("ORCL"));
    s.setUsername(QStringLiteral("SCOTT"));
    s.setPassword(QStringLiteral("TIGER"));
    try {
        s.connect();
        QFAIL("connected to an unknown service");
    } catch (const db::DatabaseError& e) {
        QCOMPARE(e.code(), 0);
        QVERIFY2(e.message().startsWith(QStringLiteral(
                     "Oracle 클라이언트 라이브러리(libclntsh.so)를 찾지 못했습니다.\n찾아본 곳:")),
                 qPrintable(e.message()));
    }
    if (!home.isEmpty())
        qputenv("ORACLE_HOME", home);
    QVERIFY(!s.isConnected());
}

void TestComponents::registryMapsServiceNamesToFiles()
{
    EngineFixture fixture{QString()};
    QCOMPARE(db::embeddedDatabaseFile(QStringLiteral("Test")), fixture.databaseFile());
    QCOMPARE(db::embeddedDatabaseFile(QStringLiteral("OTHER")), QString());
    // Connecting creates the file (and its folder) on first use.
    QVERIFY(!QFile::exists(fixture.databaseFile()));
    auto s = fixture.connect(QStringLiteral("SYS"), QStringLiteral("CHANGE_ON_INSTALL"));
    QVERIFY(QFile::exists(fixture.databaseFile()));
}

void TestComponents::controlCharactersInARegisteredFileNameAreRefused_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("shown");
    QTest::newRow("NUL") << QByteArray("cut\0rest.db", 11) << "cut\uFFFDrest.db (U+0000)";
    QTest::newRow("escape") << QByteArray("a\x1b[0m.db") << "a\uFFFD[0m.db (U+001b)";
}

void TestComponents::controlCharactersInARegisteredFileNameAreRefused()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, shown);
    EngineFixture fixture{QString()};
    const QString ini = QDir(programFolder()).filePath(QStringLiteral("KOLMARA.INI"));
    QFile f(ini);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("[Embedded Databases]\r\nBAD=" + name + "\r\n");
    f.close();
    try {
        db::Session s;
        s.setServer(QStringLiteral("bad"));
        s.setUsername(QStringLiteral("SYS"));
        s.setPassword(QStringLiteral("CHANGE_ON_INSTALL"));
        s.setLoginPrompt(false);
        s.connect();
        QFAIL("a database was opened");
    } catch (const db::DatabaseError& e) {
        QCOMPARE(e.code(), 27041);
        const QString message = e.message();
        QVERIFY2(message.contains(QDir::toNativeSeparators(ini)) &&
                     message.contains(QStringLiteral("서비스 BAD ")) &&
                     message.contains(shown.left(shown.indexOf(u' ')) +
                                      QStringLiteral("\" 에 제어 문자(") +
                                      shown.mid(shown.indexOf(u'(') + 1)),
                 qPrintable(message));
    }
    // Nothing was made of the name, cut or whole.
    QCOMPARE(QDir(programFolder()).entryList(QDir::Files), QStringList{"KOLMARA.INI"});
}

void TestComponents::connectStringAndErrors()
{
    db::Session s;
    s.setConnectString(QStringLiteral("scott/tiger@DEMO"));
    QCOMPARE(s.username(), QStringLiteral("scott"));
    QCOMPARE(s.password(), QStringLiteral("tiger"));
    QCOMPARE(s.server(), QStringLiteral("DEMO"));
    QCOMPARE(s.connectString(), QStringLiteral("scott/tiger@DEMO"));
    db::Query q(&s);
    q.addSql(QStringLiteral("SELECT 1 FROM DUAL"));
    try {
        q.open();
        QFAIL("a query ran without a connection");
    } catch (const db::DatabaseError& e) {
        QCOMPARE(e.message(), QStringLiteral("ORA-03114: not connected to ORACLE"));
    }
}

void TestComponents::queryWalksAllRows()
{
    EngineFixture fixture{QString()};
    auto s = fixture.connect(QStringLiteral("SYS"), QStringLiteral("CHANGE_ON_INSTALL"));
    db::Query q(s.get());
    q.addSql(QStringLiteral("SELECT USERNAME, USER_ID"));
    q.addSql(QStringLiteral("FROM ALL_USERS UNION ALL SELECT 'X', 7 FROM DUAL"));
    q.open();
    QCOMPARE(q.recordCount(), 2);
    QCOMPARE(q.fieldCount(), 2);
    QCOMPARE(q.fieldNames(), (QStringList{"USERNAME", "USER_ID"}));
    QStringList seen;
    for (q.first(); !q.eof(); q.next())
        seen.append(q.field(0).asText() + QLatin1Char('=') +
                    q.fieldByName(QStringLiteral("user_id")).asText());
    QCOMPARE(seen, (QStringList{"SYS=0", "X=7"}));
    QVERIFY(q.eof());
    q.close();
    QCOMPARE(q.recordCount(), 0);
    QVERIFY(q.eof());
    // No row: count 0 and end of data right away.
    q.clearSql();
    q.addSql(QStringLiteral("SELECT 1 FROM DUAL WHERE 1 = 0"));
    q.open();
    QCOMPARE(q.recordCount(), 0);
    QVERIFY(q.eof());
}

void TestComponents::forwardOnlyQueryReadsRowByRow()
{
    EngineFixture fixture{QString()};
    auto s = fixture.connect(QStringLiteral("SYS"), QStringLiteral("CHANGE_ON_INSTALL"));
    db::Query q(s.get());
    q.setForwardOnly(true);
    q.addSql(QStringLiteral("SELECT 'A' X FROM DUAL UNION ALL SELECT 'B' FROM DUAL UNION ALL"
                            " SELECT NULL FROM DUAL"));
    q.open();
    QCOMPARE(q.recordCount(), 1);
    QCOMPARE(q.fieldNames(), QStringList{"X"});
    q.first();  // still on the first row: allowed
    QStringList seen;
    for (; !q.eof(); q.next())
        seen.append(q.field(0).isNull() ? QStringLiteral("<null>") : q.field(0).asText());
    QCOMPARE(seen, (QStringList{"A", "B", "<null>"}));
    QCOMPARE(q.recordCount(), 3);
    QVERIFY_THROWS_EXCEPTION(db::DatabaseError, q.first());
    q.next();  // past the end: stays at the end
    QVERIFY(q.eof());

    // No row: at the end at once, count 0; a fresh open starts over.
    q.clearSql();
    q.addSql(QStringLiteral("SELECT 1 FROM DUAL WHERE 1 = 0"));
    q.open();
    QVERIFY(q.eof());
    QCOMPARE(q.recordCount(), 0);
    q.close();
    QVERIFY(q.eof());
}

void TestComponents::repeatedValuesKeepTheirOwnKindAndText_data()
{
    QTest::addColumn<bool>("forwardOnly");
    QTest::newRow("fetch-all") << false;
    QTest::newRow("forward-only") << true;
}

void TestComponents::repeatedValuesKeepTheirOwnKindAndText()
{
    // Values that repeat down a column are shared between rows: each must still read as its own.
    // The rows mix whole numbers, a decimal, 23-digit numbers, texts that look like numbers, texts
    // longer than what is compared in place (alike in their first 24 bytes), NULL, two days, and a
    // run of new numbers; more rows than one block of a fetch-all result holds.
    QFETCH(bool, forwardOnly);
    EngineFixture fixture{QString()};
    auto s = fixture.connect(QStringLiteral("SYS"), QStringLiteral("CHANGE_ON_INSTALL"));
    exec(*s, QStringLiteral("CREATE TABLE V (I NUMBER, N NUMBER, X VARCHAR2(40), D DATE)"));
    const QString prefix = QStringLiteral("THE_SAME_FIRST_24_BYTES_");
    QStringList expected;
    db::Query insert(s.get());
    insert.addSql(
        QStringLiteral("INSERT INTO V VALUES (:I, :N, :X, TO_DATE(:D, 'YYYY-MM-DD HH24:MI:SS'))"));
    for (int i = 1; i <= 150; ++i) {
        const QString n = i >= 40 && i < 80 ? QString::number(i * 1000)
                          : i % 5 == 0      ? QStringLiteral("1.5")
                          : i % 7 == 0      ? QStringLiteral("1234567890123456789012%1").arg(i % 2)
                                            : QString::number(i % 3);
        const QString x = i % 4 == 0   ? QString()
                          : i % 4 == 1 ? QStringLiteral("TRUE")
                          : i % 4 == 2 ? prefix + QString::number(i % 3)
                                       : QStringLiteral("1");
        const QString d =
            i % 2 ? QStringLiteral("2003-05-15 14:00:00") : QStringLiteral("2003-05-16 00:00:00");
        insert.paramByName(QStringLiteral("I")).setAsFloat(i);
        insert.paramByName(QStringLiteral("N")).setAsString(n);
        insert.paramByName(QStringLiteral("X")).setAsString(x);
        insert.paramByName(QStringLiteral("D")).setAsString(d);
        insert.execSql();
        expected.append(QStringLiteral("%1|%2|%3|%4")
                            .arg(n, x.isEmpty() ? QStringLiteral("<null>") : x, d,
                                 QString::number(i % 2 ? 37756 + 14.0 / 24 : 37757, 'f', 4)));
    }
    db::Query q(s.get());
    q.setForwardOnly(forwardOnly);
    q.addSql(QStringLiteral("SELECT N, X, D FROM V ORDER BY I"));
    q.open();
    QStringList seen;
    for (; !q.eof(); q.next())
        seen.append(QStringLiteral("%1|%2|%3|%4")
                        .arg(q.field(0).asText(),
                             q.field(1).isNull() ? QStringLiteral("<null>") : q.field(1).asText(),
                             q.field(2).asText(), QString::number(q.field(2).asDouble(), 'f', 4)));
    QCOMPARE(seen, expected);
}

void TestComponents::fieldsAndParameters()
{
    EngineFixture fixture{QString()};
    auto s = fixture.connect(QStringLiteral("SYS"), QStringLiteral("CHANGE_ON_INSTALL"));
    db::Query q(s.get());
    q.addSql(QStringLiteral("SELECT :A || 'x' T, :A A, :B * 2 N, 0.5 H, NULL Z,"
                            " TO_DATE('2003-05-15','YYYY-MM-DD') D, 'abc' S FROM DUAL"));
    try {
        q.paramByName(QStringLiteral("C"));
        QFAIL("an unknown parameter was found");
    } catch (const db::DatabaseError& e) {
        QCOMPARE(e.message(), QStringLiteral("Parameter 'C' not found"));
    }
    q.paramByName(QStringLiteral("a")).setAsString(QStringLiteral("7"));
    try {
        q.open();
        QFAIL("opened with an unbound parameter");
    } catch (const db::DatabaseError& e) {
        QCOMPARE(e.message(), QStringLiteral("ORA-01008: not all variables bound"));
    }
    q.paramByName(QStringLiteral("B")).setAsFloat(1.25);
    q.open();
    QCOMPARE(q.fieldByName(QStringLiteral("T")).asText(), QStringLiteral("7x"));
    QCOMPARE(q.fieldByName(QStringLiteral("N")).asText(), QStringLiteral("2.5"));
    QCOMPARE(q.fieldByName(QStringLiteral("H")).asText(), QStringLiteral("0.5"));
    QCOMPARE(q.fieldByName(QStringLiteral("H")).value().text, QStringLiteral(".5"));
    QCOMPARE(q.fieldByName(QStringLiteral("Z")).asText(), QString());
    QCOMPARE(q.fieldByName(QStringLiteral("Z")).asDouble(), 0.0);
    QCOMPARE(q.fieldByName(QStringLiteral("A")).asDouble(), 7.0);
    QCOMPARE(q.fieldByName(QStringLiteral("D")).asText(), QStringLiteral("2003-05-15 00:00:00"));
    QCOMPARE(q.fieldByName(QStringLiteral("D")).asDouble(), 37756.0);
    QVERIFY_THROWS_EXCEPTION(ConversionError, q.fieldByName(QStringLiteral("S")).asDouble());
    QVERIFY_THROWS_EXCEPTION(db::DatabaseError, q.fieldByName(QStringLiteral("NOPE")));
}

void TestComponents::faultSeamFailsTheNthStatement()
{
    EngineFixture fixture{QString()};
    auto s = fixture.connect(QStringLiteral("SYS"), QStringLiteral("CHANGE_ON_INSTALL"));
    s->failNthStatementForTesting(2, 942, QStringLiteral("table or view does not exist"));
    db::Query q(s.get());
    q.addSql(QStringLiteral("SELECT 1 FROM DUAL"));
    q.open();  // the first statement runs
    db::Statement st(s.get());
    st.addSql(QStringLiteral("CREATE TABLE T (X NUMBER)"));
    try {
        st.execute();
        QFAIL("the second statement ran");
    } catch (const db::DatabaseError& e) {
        QCOMPARE(e.code(), 942);
        QCOMPARE(e.message(), QStringLiteral("ORA-00942: table or view does not exist"));
    }
    q.open();  // the fault fires once
    QCOMPARE(q.recordCount(), 1);
    QCOMPARE(rows(*s, QStringLiteral("SELECT COUNT(*) FROM ALL_TABLES WHERE TABLE_NAME = 'T'")),
             QStringList{"0"});
}

void TestComponents::faultSeamFailsTheNthFetch()
{
    EngineFixture fixture{QString()};
    auto s = fixture.connect(QStringLiteral("SYS"), QStringLiteral("CHANGE_ON_INSTALL"));
    s->failNthFetchForTesting(3, 1555, QStringLiteral("snapshot too old"));
    db::Query q(s.get());
    q.setForwardOnly(true);
    q.addSql(QStringLiteral("SELECT 'A' X FROM DUAL UNION ALL SELECT 'B' FROM DUAL UNION ALL"
                            " SELECT 'C' FROM DUAL"));
    q.open();  // fetch 1
    q.next();  // fetch 2
    QCOMPARE(q.field(0).asText(), QStringLiteral("B"));
    try {
        q.next();
        QFAIL("the third fetch ran");
    } catch (const db::DatabaseError& e) {
        QCOMPARE(e.message(), QStringLiteral("ORA-01555: snapshot too old"));
    }
    // The fault fires once; a fetch-all query reads every row again.
    q.close();
    q.setForwardOnly(false);
    q.open();
    QCOMPARE(q.recordCount(), 3);
}

void TestComponents::databaseFileSurvivesReconnect()
{
    EngineFixture fixture{QString()};
    {
        auto s = fixture.connect(QStringLiteral("SYS"), QStringLiteral("CHANGE_ON_INSTALL"));
        exec(*s, QStringLiteral("CREATE TABLE KEEP (X VARCHAR2(5))"));
        exec(*s, QStringLiteral("INSERT INTO KEEP VALUES ('kept')"));
        s->commit();
        exec(*s, QStringLiteral("INSERT INTO KEEP VALUES ('lost')"));
        s->rollback();
    }
    auto again = fixture.connect(QStringLiteral("SYS"), QStringLiteral("CHANGE_ON_INSTALL"));
    QCOMPARE(rows(*again, QStringLiteral("SELECT X FROM KEEP")), QStringList{"kept"});
}

namespace {

// The rows of SYS.KEEP in the database file read alone, as a copy without its write-ahead log
// would be: what is there has been copied into the file itself.
QStringList keptInTheFileAlone(const QString& file)
{
    QTemporaryDir dir;
    const QString alone = dir.filePath(QStringLiteral("alone.db"));
    if (!QFile::copy(file, alone))
        return {QStringLiteral("no copy")};
    sqlite3* db = nullptr;
    QStringList values;
    if (sqlite3_open(QFile::encodeName(alone).constData(), &db) == SQLITE_OK) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT X FROM \"SYS.KEEP\" ORDER BY X", -1, &st, nullptr) ==
            SQLITE_OK)
            while (sqlite3_step(st) == SQLITE_ROW)
                values.append(
                    QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))));
        else
            values.append(QStringLiteral("no table"));
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return values;
}

}  // namespace

void TestComponents::commitsReachTheFileWhenTheLastSessionCloses_data()
{
    // a session that only reads is connected meanwhile and closes last
    QTest::addColumn<bool>("readerOpen");
    QTest::newRow("the writer closes last") << false;
    QTest::newRow("a reader closes last") << true;
}

void TestComponents::commitsReachTheFileWhenTheLastSessionCloses()
{
    // A session that only reads leaves the write-ahead log for later; a commit of anyone's work
    // must still be copied into the file (and synced) by the last session to close.
    QFETCH(bool, readerOpen);
    EngineFixture fixture{demoScriptFolder()};
    fixture.connect(QStringLiteral("SYS"), QStringLiteral("CHANGE_ON_INSTALL"))->disconnect();
    auto reader =
        readerOpen ? fixture.connect(QStringLiteral("SYSTEM"), QStringLiteral("MANAGER")) : nullptr;
    {
        auto writer = fixture.connect(QStringLiteral("SYS"), QStringLiteral("CHANGE_ON_INSTALL"));
        exec(*writer, QStringLiteral("CREATE TABLE KEEP (X VARCHAR2(5))"));
        exec(*writer, QStringLiteral("INSERT INTO KEEP VALUES ('kept')"));
        writer->commit();
    }
    if (reader) {
        QCOMPARE(rows(*reader, QStringLiteral("SELECT X FROM SYS.KEEP")), QStringList{"kept"});
        reader->disconnect();
    }
    QCOMPARE(keptInTheFileAlone(fixture.databaseFile()), QStringList{"kept"});
}

void TestComponents::readingSessionsLeaveTheirLogToTheNextLogon()
{
    EngineFixture fixture{demoScriptFolder()};
    const QString ours = QStringLiteral("SELECT USERNAME || ' ' || SERIAL# FROM V$SESSION"
                                        " WHERE PROGRAM = 'kolmara' ORDER BY SERIAL#");
    qint64 first = 0;
    {
        auto s = fixture.connect(QStringLiteral("SYSTEM"), QStringLiteral("MANAGER"));
        const QStringList listed = rows(*s, ours);
        QCOMPARE(listed.size(), 1);
        first = listed[0].section(QLatin1Char(' '), 1).toLongLong();
    }
    QVERIFY(QFile::exists(fixture.databaseFile() + QStringLiteral("-wal")));
    // The log left behind is read back: the earlier session is gone, and serial numbers go on.
    auto s = fixture.connect(QStringLiteral("SYSTEM"), QStringLiteral("MANAGER"));
    QCOMPARE(rows(*s, ours), QStringList{QStringLiteral("SYSTEM %1").arg(first + 1)});
}

void TestComponents::aNewDatabaseIgnoresTheLogOfADeletedOne()
{
    // A database deleted by hand may leave its write-ahead log behind, here holding a table: the
    // new database must not take it in.
    EngineFixture fixture{QString()};
    fixture.connect(QStringLiteral("SYS"), QStringLiteral("CHANGE_ON_INSTALL"))->disconnect();
    const QString file = fixture.databaseFile();
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(file).constData(), &db), SQLITE_OK);
    sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    QCOMPARE(
        sqlite3_exec(db, "CREATE TABLE \"SYS.GHOST\" (X); INSERT INTO \"SYS.GHOST\" VALUES (1)",
                     nullptr, nullptr, nullptr),
        SQLITE_OK);
    sqlite3_close(db);
    QVERIFY(QFileInfo(file + QStringLiteral("-wal")).size() > 0);
    QVERIFY(QFile::remove(file));

    auto s = fixture.connect(QStringLiteral("SYS"), QStringLiteral("CHANGE_ON_INSTALL"));
    QCOMPARE(rows(*s, QStringLiteral("SELECT COUNT(*) FROM DUAL")), QStringList{"1"});
    s->disconnect();
    QCOMPARE(sqlite3_open(QFile::encodeName(file).constData(), &db), SQLITE_OK);
    QStringList found;
    sqlite3_stmt* st = nullptr;
    QCOMPARE(sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE name = 'SYS.GHOST'"
                                    " UNION ALL SELECT * FROM pragma_integrity_check",
                                -1, &st, nullptr),
             SQLITE_OK);
    while (sqlite3_step(st) == SQLITE_ROW)
        found.append(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))));
    sqlite3_finalize(st);
    sqlite3_close(db);
    QCOMPARE(found, QStringList{"ok"});
}

namespace {

bool runOn(const QString& file, const char* sql)
{
    sqlite3* db = nullptr;
    const bool done = sqlite3_open(QFile::encodeName(file).constData(), &db) == SQLITE_OK
                      && sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return done;
}

QByteArray bytesOf(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Root may write any file whatever its mode; an immutable one refuses even root. False where the
// file system has no such flag.
bool setImmutable(const QString& file, bool on)
{
    const int fd = ::open(QFile::encodeName(file).constData(), O_RDONLY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return done;
}

}  // namespace

void TestComponents::unusableFilesAreRefusedAndKept_data()
{
    QTest::addColumn<QString>("setup");  // what the database file is made into
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("why");
    QTest::newRow("older engine") << "PRAGMA user_version = 1" << 1034
                                  << "이전 버전의 Kolmara가 만든 파일입니다";
    QTest::newRow("newer engine") << "PRAGMA user_version = 99" << 1034
                                  << "새 버전의 Kolmara가 만든 파일입니다";
    QTest::newRow("not a database")
        << "text" << 1034
        << "Kolmara의 데이터베이스 파일이 아닙니다 (SQLite 데이터베이스 파일이 아닙니다)";
    QTest::newRow("empty file") << "empty" << 1034 << "Kolmara의 데이터베이스 파일이 아닙니다 (빈 파일입니다)";
    // Another program's file that happens to carry our format number in its header.
    QTest::newRow("foreign, same format number") << "foreign" << 1034 << "Kolmara의 데이터베이스 파일이 아닙니다";
    QTest::newRow("another program's mark")
        << "PRAGMA application_id = 1234" << 1034 << "다른 프로그램의 SQLite 데이터베이스입니다";
    QTest::newRow("damaged catalogue") << "damaged" << 1578 << "손상되었습니다";
    QTest::newRow("damaged header") << "bad page size" << 1578 << "손상되었습니다";
    QTest::newRow("read-only") << "immutable" << 372 << "읽기 전용입니다";
    QTest::newRow("a folder in its place") << "folder" << 27041 << "열 수 없습니다";
}

void TestComponents::unusableFilesAreRefusedAndKept()
{
    QFETCH(QString, setup);
    QFETCH(int, code);
    QFETCH(QString, why);
    EngineFixture fixture{QString()};
    fixture.connect(QStringLiteral("SYS"), QStringLiteral("CHANGE_ON_INSTALL"))->disconnect();
    const QString file = fixture.databaseFile();
    QVERIFY(runOn(file, "PRAGMA wal_checkpoint(TRUNCATE)"));
    QFile::remove(file + QStringLiteral("-wal"));
    QFile::remove(file + QStringLiteral("-shm"));
    auto overwrite = [&](const QByteArray& bytes, qint64 at) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.seek(at));
        QCOMPARE(f.write(bytes), bytes.size());
    };
    if (setup.startsWith(QLatin1String("PRAGMA"))) {
        QVERIFY(runOn(file, setup.toUtf8().constData()));
    } else if (setup == QLatin1String("text") || setup == QLatin1String("empty")) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(setup == QLatin1String("empty")
                    ? QByteArray()
                    : QByteArray("this is no database, only a text file\n").repeated(40));
    } else if (setup == QLatin1String("foreign")) {
        QVERIFY(QFile::remove(file));
        QVERIFY(runOn(file, "CREATE TABLE invoices (id INTEGER PRIMARY KEY, amount REAL); INSERT"
                            " INTO invoices VALUES (1, 9.5); PRAGMA user_version = 2"));
    } else if (setup == QLatin1String("damaged")) {
        overwrite(QByteArray(8, '\xff'), 100);  // the catalogue page's own header
    } else if (setup == QLatin1String("bad page size")) {
        overwrite(QByteArray("\x00\x03", 2), 16);
    } else if (setup == QLatin1String("immutable")) {
        if (!setImmutable(file, true))
            QSKIP("this file system cannot make a file read-only for root");
    } else if (setup == QLatin1String("folder")) {
        QVERIFY(QFile::remove(file));
        QVERIFY(QDir().mkpath(file));
    }
    const QByteArray before = bytesOf(file);
    const QStringList besideBefore = QDir(QFileInfo(file).path()).entryList(QDir::Files);
    try {
        fixture.connect(QStringLiteral("SYS"), QStringLiteral("CHANGE_ON_INSTALL"));
        setImmutable(file, false);
        QFAIL("the file was opened");
    } catch (const db::DatabaseError& e) {
        setImmutable(file, false);
        QCOMPARE(e.code(), code);
        QVERIFY2(
            e.message().startsWith(QStringLiteral("ORA-%1: ").arg(code, 5, 10, QLatin1Char('0'))),
            qPrintable(e.message()));
        QVERIFY2(e.message().contains(QStringLiteral(" %1 ").arg(QDir::toNativeSeparators(file))),
                 qPrintable(e.message()));
        QVERIFY2(e.message().contains(why), qPrintable(e.message()));
        // The file may hold a user's data: nothing tells to delete it.
        QVERIFY2(!e.message().contains(QStringLiteral("지운")), qPrintable(e.message()));
    }
    QCOMPARE(bytesOf(file), before);  // nothing rewritten, nothing lost
    // Reading a read-only file still needs its shared-memory index.
    if (setup != QLatin1String("immutable"))
        QCOMPARE(QDir(QFileInfo(file).path()).entryList(QDir::Files), besideBefore);
}

void TestComponents::filesMadeBeforeTheMarkStillOpen()
{
    EngineFixture fixture{QString()};
    fixture.connect(QStringLiteral("SYS"), QStringLiteral("CHANGE_ON_INSTALL"))->disconnect();
    QVERIFY(runOn(fixture.databaseFile(), "PRAGMA application_id = 0"));
    auto s = fixture.connect(QStringLiteral("SYS"), QStringLiteral("CHANGE_ON_INSTALL"));
    QCOMPARE(rows(*s, QStringLiteral("SELECT COUNT(*) FROM DUAL")), QStringList{"1"});
}

void TestComponents::aFullOrReadOnlyDiskIsNamed()
{
    // A small tmpfs in a mount namespace of this thread's own: nothing stays mounted after the
    // test.
    if (::geteuid() != 0 || ::unshare(CLONE_NEWNS) != 0 ||
        ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        QSKIP("mounting a small file system needs root and a mount namespace");
    EngineFixture fixture{QString()};
    const QString file = fixture.databaseFile();
    const QString disk = QFileInfo(file).path();
    QVERIFY(QDir().mkpath(disk));
    if (::mount("tmpfs", QFile::encodeName(disk).constData(), "tmpfs", 0, "size=64k") != 0)
        QSKIP("this system does not let the test mount a tmpfs");
    auto expectFull = [&](const std::function<void()>& action) {
        try {
            action();
            QFAIL("the disk did not fill up");
        } catch (const db::DatabaseError& e) {
            QCOMPARE(e.code(), 1653);
            QVERIFY2(
                e.message().contains(QStringLiteral(" %1 ").arg(QDir::toNativeSeparators(file))),
                qPrintable(e.message()));
            QVERIFY2(e.message().contains(QStringLiteral("디스크가 가득 차서")), qPrintable(e.message()));
        }
    };
    // A database that does not fit leaves nothing of itself behind.
    expectFull(
        [&] { fixture.connect(QStringLiteral("SYS"), QStringLiteral("CHANGE_ON_INSTALL")); });
    QCOMPARE(QDir(disk).entryList(QDir::Files | QDir::Hidden), QStringList());
    QCOMPARE(::umount(QFile::encodeName(disk).constData()), 0);

    QVERIFY(::mount("tmpfs", QFile::encodeName(disk).constData(), "tmpfs", 0, "size=4m") == 0);
    fixture.connect(QStringLiteral("SYS"), QStringLiteral("CHANGE_ON_INSTALL"))->disconnect();
    auto remount = [&](bool readOnly) {
        return ::mount(nullptr, QFile::encodeName(disk).constData(), nullptr,
                       MS_REMOUNT | (readOnly ? MS_RDONLY : 0), nullptr) == 0;
    };
    // The database on a disk made read-only, with its log and index beside it and without them.
    for (const bool withIndex : {true, false}) {
        if (!withIndex) {
            QVERIFY(runOn(file, "PRAGMA wal_checkpoint(TRUNCATE)"));
            QFile::remove(file + QStringLiteral("-wal"));
            QFile::remove(file + QStringLiteral("-shm"));
        }
        QVERIFY(remount(true));
        try {
            fixture.connect(QStringLiteral("SYS"), QStringLiteral("CHANGE_ON_INSTALL"));
            QFAIL("a read-only database was opened");
        } catch (const db::DatabaseError& e) {
            QCOMPARE(e.code(), 372);
            QVERIFY2(e.message().contains(QStringLiteral(" %1 은(는) 읽기 전용입니다")
                                              .arg(QDir::toNativeSeparators(file))),
                     qPrintable(e.message()));
        }
        QVERIFY(remount(false));
    }

    // A write that fills the disk under an open database.
    {
        auto s = fixture.connect(QStringLiteral("SYS"), QStringLiteral("CHANGE_ON_INSTALL"));
        exec(*s, QStringLiteral("CREATE TABLE FILLER (X VARCHAR2(4000))"));
        expectFull([&] {
            for (int i = 0; i < 10000; ++i)
                exec(*s, QStringLiteral("INSERT INTO FILLER VALUES (RPAD('x', 4000, 'x'))"));
        });
        s->disconnect();
    }
    QCOMPARE(::umount(QFile::encodeName(disk).constData()), 0);
}

void TestComponents::programsOpeningOneFileAtOnceWaitForEachOther()
{
    // Two programs (here two threads, each with connections of its own) log on, read and log off
    // in loops on one file, so that one often opens while the other's last session closes and
    // copies the log into the file. Every logon must succeed.
    EngineFixture fixture{QString()};
    fixture.connect(QStringLiteral("SYS"), QStringLiteral("CHANGE_ON_INSTALL"))->disconnect();
    constexpr int kRounds = 60;
    QStringList failures[2];
    auto loop = [&](int who) {
        for (int i = 0; i < kRounds; ++i) {
            try {
                auto s =
                    db::embedded::EngineSession::open(fixture.databaseFile(), QStringLiteral("SYS"),
                                                      QStringLiteral("CHANGE_ON_INSTALL"));
                s->execute(QStringLiteral("SELECT 1 FROM DUAL"), {})->readAll();
                if (i % 3 == who)
                    s->execute(QStringLiteral("CREATE TABLE T%1_%2 (X NUMBER)").arg(who).arg(i),
                               {});
                s->close();
            } catch (const db::DatabaseError& e) {
                failures[who].append(e.message());
            }
        }
    };
    std::thread other(loop, 1);
    loop(0);
    other.join();
    QCOMPARE(failures[0] + failures[1], QStringList());
}

void TestComponents::changedRowsAreCounted()
{
    EngineFixture fixture{demoScriptFolder()};
    auto s = fixture.connect(QStringLiteral("SCOTT"), QStringLiteral("TIGER"));
    db::Query q(s.get());
    q.addSql(QStringLiteral("UPDATE EMP SET SAL = SAL WHERE DEPTNO = :D"));
    q.paramByName(QStringLiteral("D")).setAsFloat(10);
    q.execSql();
    QCOMPARE(q.rowsAffected(), qint64(3));
    // The engine counts, not the statement's first word: a comment first, a MERGE.
    q.clearSql();
    q.addSql(QStringLiteral("-- raise\nUPDATE EMP SET SAL = SAL WHERE DEPTNO = 20"));
    q.execSql();
    QCOMPARE(q.rowsAffected(), qint64(5));
    q.clearSql();
    q.addSql(QStringLiteral("MERGE INTO EMP E USING DEPT D ON (E.DEPTNO = D.DEPTNO) WHEN MATCHED"
                            " THEN UPDATE SET E.COMM = E.COMM"));
    q.execSql();
    QCOMPARE(q.rowsAffected(), qint64(14));
    q.clearSql();
    q.addSql(QStringLiteral("SELECT ENAME FROM EMP"));
    q.open();
    QCOMPARE(q.rowsAffected(), qint64(0));
    q.close();
    q.clearSql();
    q.addSql(QStringLiteral("CREATE TABLE NOTHING (X NUMBER)"));
    q.execSql();
    QCOMPARE(q.rowsAffected(), qint64(0));
}

void TestComponents::cancelStopsAReadButNotAChange()
{
    EngineFixture fixture{demoScriptFolder()};
    auto s = fixture.connect(QStringLiteral("SYSTEM"), QStringLiteral("MANAGER"));
    exec(*s, QStringLiteral("CREATE TABLE KEEP (X NUMBER)"));
    exec(*s, QStringLiteral("INSERT INTO KEEP VALUES (1)"));  // left uncommitted

    // Runs a statement on a worker, cancels it once it runs, and returns its error text.
    auto cancelled = [&](const QString& sql, qint64* changed) -> QString {
        QString error;
        std::atomic<bool> started{false};
        std::thread worker([&] {
            try {
                db::Query q(s.get());
                q.addSql(sql);
                started = true;
                if (changed) {
                    q.execSql();
                    *changed = q.rowsAffected();
                } else {
                    q.open();
                }
            } catch (const db::DatabaseError& e) {
                error = e.message();
            }
        });
        for (int i = 0; i < 500 && !(started && s->isBusy()); ++i)
            QTest::qWait(10);
        QTest::qWait(100);
        s->cancel();
        worker.join();
        return error;
    };
    QCOMPARE(cancelled(QStringLiteral("SELECT COUNT(*) FROM ALL_OBJECTS A, ALL_OBJECTS B,"
                                      " ALL_OBJECTS C, ALL_OBJECTS D"), nullptr),
             QStringLiteral("ORA-01013: user requested cancel of current operation"));
    // A change is not broken off halfway: it runs to its end, and the transaction stays whole.
    qint64 inserted = 0;
    QCOMPARE(cancelled(QStringLiteral("INSERT INTO KEEP SELECT 2 FROM ALL_OBJECTS A,"
                                      " ALL_OBJECTS B, ALL_OBJECTS C WHERE ROWNUM <= 500000"),
                       &inserted),
             QString());
    QCOMPARE(inserted, qint64(500000));
    s->rollback();
    QCOMPARE(rows(*s, QStringLiteral("SELECT COUNT(*) FROM KEEP")), QStringList{"0"});
    exec(*s, QStringLiteral("INSERT INTO KEEP VALUES (1)"));
    cancelled(QStringLiteral("SELECT COUNT(*) FROM ALL_OBJECTS A, ALL_OBJECTS B, ALL_OBJECTS C,"
                             " ALL_OBJECTS D"), nullptr);
    s->commit();
    QCOMPARE(rows(*s, QStringLiteral("SELECT COUNT(*) FROM KEEP")), QStringList{"1"});
}

QTEST_GUILESS_MAIN(TestComponents)
#include "tst_components.moc"
