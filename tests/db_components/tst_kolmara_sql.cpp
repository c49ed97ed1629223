// kolmara-sql end to end: a copy of the program in a temporary folder with its own KOLMARA.INI,
// so the demo instance it creates on first use lands there.
#include "common/KOLMCOMM.h"

#include <QDate>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

class TestKolmaraSql : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void printsRowsAsCsvWithHeader();
    void anyQueryTextIsAQuery_data();
    void anyQueryTextIsAQuery();
    void dmlReportsItsRowCountOnStandardError();
    void errorGoesToStandardErrorWithExitCode();
    void outputThatCannotBeWrittenFails_data();
    void outputThatCannotBeWrittenFails();
    void passwordOffTheCommandLine_data();
    void passwordOffTheCommandLine();
    void passwordAskedOnATerminalWithoutEcho();

private:
    struct Run {
        int exitCode;
        QString out;
        QString err;
    };
    Run run(const QStringList& args, const QString& password = QString(),
            const QString& outputFile = QString());
    QString iniPath() const { return m_dir.filePath(QStringLiteral("KOLMARA.INI")); }
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

TestKolmaraSql::Run TestKolmaraSql::run(const QStringList& args, const QString& password,
                                        const QString& outputFile)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("KOLMARA_PASSWORD"));
    if (!password.isEmpty())
        env.insert(QStringLiteral("KOLMARA_PASSWORD"), password);
    p.setProcessEnvironment(env);
    if (!outputFile.isEmpty())
        p.setStandardOutputFile(outputFile);
    p.start(m_program, args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

void TestKolmaraSql::printsRowsAsCsvWithHeader()
{
    const QDate before = QDate::currentDate();
    const Run r = run({QStringLiteral("DEMO"), QStringLiteral("SCOTT/TIGER"),
                       QStringLiteral("SELECT TO_CHAR(SYSDATE,'YYYY-MM-DD') TODAY, 'a,b' X"
                                      " FROM DUAL")});
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
    QTest::newRow("hint and block comment")
        << "/* who */ SELECT /*+ RULE */ DNAME FROM DEPT WHERE DEPTNO = 10";
    QTest::newRow("select list on the next line")
        << "SELECT\n  DNAME\nFROM DEPT\nWHERE DEPTNO = 10";
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
        {"MERGE INTO DEPT_COPY C USING DEPT D ON (C.DEPTNO = D.DEPTNO) WHEN MATCHED THEN UPDATE"
         " SET C.LOC = D.LOC", "4 rows merged."},
        {"DELETE FROM DEPT_COPY", "5 rows deleted."},
        {"DROP TABLE DEPT_COPY", ""},
    };
    for (const Case& c : cases) {
        const Run r = run(
            {QStringLiteral("DEMO"), QStringLiteral("SCOTT/TIGER"), QString::fromLatin1(c.sql)});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, QString());
        QCOMPARE(r.err.trimmed(), QString::fromLatin1(c.count));
    }
}

void TestKolmaraSql::errorGoesToStandardErrorWithExitCode()
{
    Run r = run({QStringLiteral("DEMO"), QStringLiteral("SCOTT/TIGER"),
                 QStringLiteral("SELECT * FROM DBA_USERS")});
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.out, QString());
    QCOMPARE(r.err.trimmed(), QStringLiteral("ORA-00942: table or view does not exist"));
    r = run({QStringLiteral("ORCL"), QStringLiteral("SCOTT/TIGER"),
             QStringLiteral("SELECT 1 FROM DUAL")});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.startsWith(
                 QStringLiteral("Oracle 클라이언트 라이브러리(libclntsh.so)를 찾지 못했습니다.")),
             qPrintable(r.err));
}

// A full disk must not pass for a finished export: the run stops at the first write that fails,
// says why and exits 1, whether the rows fit one write or many.
void TestKolmaraSql::outputThatCannotBeWrittenFails_data()
{
    QTest::addColumn<QString>("sql");
    QTest::newRow("a few rows") << "SELECT * FROM DEPT";
    QTest::newRow("many writes' worth")
        << "SELECT A.ENAME, B.JOB, C.HIREDATE, A.SAL FROM EMP A, EMP B, EMP C";
}

void TestKolmaraSql::outputThatCannotBeWrittenFails()
{
    QFETCH(QString, sql);
    const Run r = run({QStringLiteral("DEMO"), QStringLiteral("SCOTT/TIGER"), sql}, QString(),
                      QStringLiteral("/dev/full"));
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err.count(QLatin1Char('\n')), 1);
    QVERIFY2(r.err.startsWith(
                 QStringLiteral("kolmara-sql: cannot write the output (No space left on device)")),
             qPrintable(r.err));
}

void TestKolmaraSql::passwordOffTheCommandLine_data()
{
    QTest::addColumn<QString>("variable");
    QTest::addColumn<QString>("savedLogin");  // login 1 of the settings file
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("err");
    const QString saved = QStringLiteral("demo/scott/") +
                          kolmara::EncodePassword(QStringLiteral("TIGER"), kolmara::SavedLoginKey);
    QTest::newRow("KOLMARA_PASSWORD") << "TIGER" << QString() << 0 << QString();
    QTest::newRow("saved login") << QString() << saved + QStringLiteral("/Y/") << 0 << QString();
    QTest::newRow("variable before the saved login")
        << "WRONG" << saved + QStringLiteral("/Y/") << 1
        << "ORA-01017: invalid username/password; logon denied";
    QTest::newRow("saved without its password") << QString() << saved + QStringLiteral("/N/") << 2
                                                << "SCOTT@DEMO 의 암호가 없습니다";
}

void TestKolmaraSql::passwordOffTheCommandLine()
{
    QFETCH(QString, variable);
    QFETCH(QString, savedLogin);
    QFETCH(int, exitCode);
    QFETCH(QString, err);
    QFile ini(iniPath());
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QByteArray before = ini.readAll();
    ini.close();
    const auto restore = qScopeGuard([&] {
        QFile f(iniPath());
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(before);
    });
    if (!savedLogin.isEmpty()) {
        QVERIFY(ini.open(QIODevice::Append));
        ini.write("[System Version]\r\nCount=1\r\n[System Logging]\r\n1=" + savedLogin.toUtf8() +
                  "\r\n");
        ini.close();
    }
    const Run r = run({QStringLiteral("DEMO"), QStringLiteral("SCOTT"),
                       QStringLiteral("SELECT DNAME FROM DEPT WHERE DEPTNO = 10")},
                      variable);
    QCOMPARE(r.exitCode, exitCode);
    QVERIFY2(r.err.startsWith(err), qPrintable(r.err));
    QCOMPARE(r.out, exitCode == 0 ? QStringLiteral("DNAME\nACCOUNTING\n") : QString());
    if (exitCode == 2)
        QVERIFY2(r.err.contains(QStringLiteral("KOLMARA_PASSWORD")), qPrintable(r.err));
}

// With nothing else to go on, a terminal is asked; what is typed is not shown on it.
void TestKolmaraSql::passwordAskedOnATerminalWithoutEcho()
{
    int master = -1;
    int slave = -1;
    QCOMPARE(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    fcntl(master, F_SETFD, FD_CLOEXEC);
    fcntl(slave, F_SETFD, FD_CLOEXEC);
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("KOLMARA_PASSWORD"));
    p.setProcessEnvironment(env);
    p.setChildProcessModifier([slave] { dup2(slave, STDIN_FILENO); });
    p.start(m_program, {QStringLiteral("DEMO"), QStringLiteral("SCOTT"),
                        QStringLiteral("SELECT DNAME FROM DEPT WHERE DEPTNO = 10")});
    QVERIFY(p.waitForStarted());
    // The password goes in once the prompt is out, when echo is already off.
    QString prompt;
    for (int i = 0; i < 200 && !prompt.contains(QStringLiteral("암호: ")); ++i) {
        p.waitForReadyRead(100);
        prompt += QString::fromUtf8(p.readAllStandardError());
    }
    QCOMPARE(prompt, QStringLiteral("SCOTT@DEMO 암호: "));
    QCOMPARE(write(master, "TIGER\n", 6), ssize_t(6));
    const bool finished = p.waitForFinished(60000);
    close(slave);
    QByteArray shown;
    char buffer[256];
    for (pollfd fd{master, POLLIN, 0}; poll(&fd, 1, 0) > 0 && (fd.revents & POLLIN);) {
        const ssize_t got = read(master, buffer, sizeof buffer);
        if (got <= 0)
            break;
        shown.append(buffer, got);
    }
    close(master);
    QVERIFY(finished);
    QCOMPARE(p.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(p.readAllStandardOutput()), QStringLiteral("DNAME\nACCOUNTING\n"));
    QVERIFY2(!shown.contains("TIGER"), shown.constData());
}

QTEST_GUILESS_MAIN(TestKolmaraSql)
#include "tst_kolmara_sql.moc"
