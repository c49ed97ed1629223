// kolmara-sql end to end: a copy of the program in a temporary folder with its own KOLMARA.INI,
// so the demo instance it creates on first use lands there.
#include <QDate>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestKolmaraSql : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void printsRowsAsCsvWithHeader();
    void anyQueryTextIsAQuery_data();
    void anyQueryTextIsAQuery();
    void dmlReportsItsRowCountOnStandardError();
    void errorGoesToStandardErrorWithExitCode();

private:
    struct Run {
        int exitCode;
        QString out;
        QString err;
    };
    Run run(const QStringList& args);
    QTemporaryDir m_dir;
    QString m_program;
};

void TestKolmaraSql::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_program = m_dir.filePath(QStringLiteral("kolmara-sql"));
    QVERIFY(QFile::copy(QStringLiteral(KOLMARA_SQL_BINARY), m_program));
    QFile ini(m_dir.filePath(QStringLiteral("KOLMARA.INI")));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[Embedded Databases]\r\nDEMO=demo.db\r\n");
}

TestKolmaraSql::Run TestKolmaraSql::run(const QStringList& args)
{
    QProcess p;
    p.start(m_program, args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

void TestKolmaraSql::printsRowsAsCsvWithHeader()
{
    const QDate before = QDate::currentDate();
    const Run r = run({QStringLiteral("DEMO"), QStringLiteral("SCOTT/TIGER"),
                       QStringLiteral("SELECT TO_CHAR(SYSDATE,'YYYY-MM-DD') TODAY, 'a,b' X FROM DUAL")});
    const QDate after = QDate::currentDate();
    QCOMPARE(r.exitCode, 0);
    QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
    const QStringList lines = r.out.trimmed().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0], QStringLiteral("TODAY,X"));
    QVERIFY(lines[1] == before.toString(Qt::ISODate) + QStringLiteral(",\"a,b\"")
            || lines[1] == after.toString(Qt::ISODate) + QStringLiteral(",\"a,b\""));
    QVERIFY(QFile::exists(m_dir.filePath(QStringLiteral("demo.db"))));
}

// A pasted query keeps its rows, however it begins.
void TestKolmaraSql::anyQueryTextIsAQuery_data()
{
    QTest::addColumn<QString>("sql");
    QTest::newRow("leading comment") << "-- departments\nSELECT DNAME FROM DEPT WHERE DEPTNO = 10";
    QTest::newRow("hint and block comment") << "/* who */ SELECT /*+ RULE */ DNAME FROM DEPT WHERE DEPTNO = 10";
    QTest::newRow("select list on the next line") << "SELECT\n  DNAME\nFROM DEPT\nWHERE DEPTNO = 10";
    QTest::newRow("lower case, tab") << "select\tdname from dept where deptno = 10";
    QTest::newRow("with") << "WITH D AS (SELECT * FROM DEPT) SELECT DNAME FROM D WHERE DEPTNO = 10";
    QTest::newRow("parenthesized") << "(SELECT DNAME FROM DEPT WHERE DEPTNO = 10)";
}

void TestKolmaraSql::anyQueryTextIsAQuery()
{
    QFETCH(QString, sql);
    const Run r = run({QStringLiteral("DEMO"), QStringLiteral("SCOTT/TIGER"), sql});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.err, QString());
    QCOMPARE(r.out, QStringLiteral("DNAME\nACCOUNTING\n"));
}

// The CSV stays clean: the count goes to standard error, in SQL*Plus's words.
void TestKolmaraSql::dmlReportsItsRowCountOnStandardError()
{
    struct Case {
        const char* sql;
        const char* count;
    };
    const Case cases[] = {
        {"CREATE TABLE DEPT_COPY AS SELECT * FROM DEPT", ""},
        {"UPDATE DEPT_COPY SET LOC = LOWER(LOC) WHERE DEPTNO >= 20", "3 rows updated."},
        {"INSERT INTO DEPT_COPY VALUES (50, 'X', 'Y')", "1 row created."},
        {"/* tidy */ DELETE FROM DEPT_COPY WHERE DEPTNO = 99", "0 rows deleted."},
        {"MERGE INTO DEPT_COPY C USING DEPT D ON (C.DEPTNO = D.DEPTNO) WHEN MATCHED THEN UPDATE SET C.LOC = D.LOC", "4 rows merged."},
        {"DELETE FROM DEPT_COPY", "5 rows deleted."},
        {"DROP TABLE DEPT_COPY", ""},
    };
    for (const Case& c : cases) {
        const Run r = run({QStringLiteral("DEMO"), QStringLiteral("SCOTT/TIGER"), QString::fromLatin1(c.sql)});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, QString());
        QCOMPARE(r.err.trimmed(), QString::fromLatin1(c.count));
    }
}

void TestKolmaraSql::errorGoesToStandardErrorWithExitCode()
{
    Run r = run({QStringLiteral("DEMO"), QStringLiteral("SCOTT/TIGER"), QStringLiteral("SELECT * FROM DBA_USERS")});
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.out, QString());
    QCOMPARE(r.err.trimmed(), QStringLiteral("ORA-00942: table or view does not exist"));
    r = run({QStringLiteral("ORCL"), QStringLiteral("SCOTT/TIGER"), QStringLiteral("SELECT 1 FROM DUAL")});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.startsWith(QStringLiteral("Oracle 클라이언트 라이브러리(libclntsh.so)를 찾지 못했습니다.")), qPrintable(r.err));
}

QTEST_GUILESS_MAIN(TestKolmaraSql)
#include "tst_kolmara_sql.moc"
