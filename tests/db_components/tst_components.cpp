// The database access components: the general float form, the driver registry, sessions, queries
// with binds and fields, statements, and the fault seams that make the N-th statement or the N-th
// row fetch fail.
#include "../db_engine/EngineFixture.h"

#include "db/DriverRegistry.h"
#include "db/FloatFormat.h"
#include "db/Statement.h"

#include <atomic>
#include <thread>

using namespace kolmara;
using namespace kolmara::test;

class TestComponents : public QObject {
    Q_OBJECT

private slots:
    void generalFloat_data();
    void generalFloat();
    void bindNames();
    void unknownServiceGoesToTheOracleClient();
    void registryMapsServiceNamesToFiles();
    void connectStringAndErrors();
    void queryWalksAllRows();
    void forwardOnlyQueryReadsRowByRow();
    void fieldsAndParameters();
    void faultSeamFailsTheNthStatement();
    void faultSeamFailsTheNthFetch();
    void databaseFileSurvivesReconnect();
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
    QCOMPARE(db::bindNamesOf(QStringLiteral("SELECT ':NO' /* :NO2 */ FROM T -- :NO3\nWHERE A = :OWNER AND B = :file# AND C = :OWNER")),
             (QStringList{"OWNER", "FILE#"}));
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
        QVERIFY2(e.message().startsWith(QStringLiteral("Oracle 클라이언트 라이브러리(libclntsh.so)를 찾지 못했습니다.\n찾아본 곳:")),
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
        seen.append(q.field(0).asText() + QLatin1Char('=') + q.fieldByName(QStringLiteral("user_id")).asText());
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
    q.addSql(QStringLiteral("SELECT 'A' X FROM DUAL UNION ALL SELECT 'B' FROM DUAL UNION ALL SELECT NULL FROM DUAL"));
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

void TestComponents::fieldsAndParameters()
{
    EngineFixture fixture{QString()};
    auto s = fixture.connect(QStringLiteral("SYS"), QStringLiteral("CHANGE_ON_INSTALL"));
    db::Query q(s.get());
    q.addSql(QStringLiteral("SELECT :A || 'x' T, :A A, :B * 2 N, 0.5 H, NULL Z, TO_DATE('2003-05-15','YYYY-MM-DD') D, 'abc' S FROM DUAL"));
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
    QCOMPARE(rows(*s, QStringLiteral("SELECT COUNT(*) FROM ALL_TABLES WHERE TABLE_NAME = 'T'")), QStringList{"0"});
}

void TestComponents::faultSeamFailsTheNthFetch()
{
    EngineFixture fixture{QString()};
    auto s = fixture.connect(QStringLiteral("SYS"), QStringLiteral("CHANGE_ON_INSTALL"));
    s->failNthFetchForTesting(3, 1555, QStringLiteral("snapshot too old"));
    db::Query q(s.get());
    q.setForwardOnly(true);
    q.addSql(QStringLiteral("SELECT 'A' X FROM DUAL UNION ALL SELECT 'B' FROM DUAL UNION ALL SELECT 'C' FROM DUAL"));
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
    q.addSql(QStringLiteral("MERGE INTO EMP E USING DEPT D ON (E.DEPTNO = D.DEPTNO) WHEN MATCHED THEN UPDATE SET E.COMM = E.COMM"));
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
    QCOMPARE(cancelled(QStringLiteral("SELECT COUNT(*) FROM ALL_OBJECTS A, ALL_OBJECTS B, ALL_OBJECTS C, ALL_OBJECTS D"), nullptr),
             QStringLiteral("ORA-01013: user requested cancel of current operation"));
    // A change is not broken off halfway: it runs to its end, and the transaction stays whole.
    qint64 inserted = 0;
    QCOMPARE(cancelled(QStringLiteral("INSERT INTO KEEP SELECT 2 FROM ALL_OBJECTS A, ALL_OBJECTS B, ALL_OBJECTS C WHERE ROWNUM <= 500000"), &inserted),
             QString());
    QCOMPARE(inserted, qint64(500000));
    s->rollback();
    QCOMPARE(rows(*s, QStringLiteral("SELECT COUNT(*) FROM KEEP")), QStringList{"0"});
    exec(*s, QStringLiteral("INSERT INTO KEEP VALUES (1)"));
    cancelled(QStringLiteral("SELECT COUNT(*) FROM ALL_OBJECTS A, ALL_OBJECTS B, ALL_OBJECTS C, ALL_OBJECTS D"), nullptr);
    s->commit();
    QCOMPARE(rows(*s, QStringLiteral("SELECT COUNT(*) FROM KEEP")), QStringList{"1"});
}

QTEST_GUILESS_MAIN(TestComponents)
#include "tst_components.moc"
