// kolmara-backup run as a process on a temporary demo instance on Thursday 2003-05-15 09:00 (the
// program is copied beside the instance's KOLMARA.INI): a whole run with its files, log rows and
// stamps, the tables of one hour, a dry run, a table that ends the job, what is refused before the
// job starts, a login without its password on the command line, the progress line on a terminal;
// and, in this process, a run that goes on past midnight.
#include "common/KOLMCOMM.h"
#include "common/ProfileFile.h"
#include "data/ServerBackupJob.h"
#include "data/SharedSlots.h"
#include "db/Session.h"
#include "../db_engine/EngineFixture.h"
#include "DemoDatabase.h"
#include "ScriptedUiServices.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QScopeGuard>
#include <QTest>

#include <fcntl.h>
#include <pty.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kolmara;

namespace {

const QDateTime kThursday(QDate(2003, 5, 15), QTime(9, 0, 0));
const QString kClocked = QStringLiteral(KOLMARA_BACKUP_TESTCLOCK_BINARY);
const QString kDelivered = QStringLiteral(KOLMARA_BACKUP_BINARY);

int linesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? int(f.readAll().count("\r\n")) : -1;
}

QString minutes(double value)
{
    return QLocale::system().toString(value, 'f', 1) + QStringLiteral(" 분");
}

}  // namespace

class TestKolmaraBackup : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void wholeRunDumpsLogsAndStamps();
    void hourTakesOnlyItsTables_data();
    void hourTakesOnlyItsTables();
    void dryRunWritesNothing();
    void failingDumpEndsTheJob();
    void namesThatAreNoFileNamesStayInTheirFolder();
    void refusedLogRowCarriesTheServersMessage();
    void oneRunPerServiceAtATime();
    void refusedBeforeTheJob_data();
    void refusedBeforeTheJob();
    void passwordOffTheCommandLine_data();
    void passwordOffTheCommandLine();
    void deliveredProgramKeepsTheRealClock();
    void progressShowsOnlyOnATerminal();
    void runPastMidnightKeepsItsDay();

private:
    struct Run {
        int exitCode = -1;
        QString out;
        QString err;
    };
    QString program(const QString& binary);
    QProcessEnvironment environment() const;
    Run run(const QStringList& args, const QString& binary = kClocked,
            const QProcessEnvironment& env = QProcessEnvironment());
    std::unique_ptr<db::Session> dba();
    void exec(const QString& sql);
    QStringList rows(const QString& sql);
    QString fileOf(const QString& account, const QString& table) const;
    QStringList dumpFiles() const;
    // The table lines of an output, each without its "i/n " (checked to count from 1 to n), sorted;
    // the summary is the last line.
    QStringList tableLines(const QString& out, QString* summary);

    std::unique_ptr<test::DemoDatabase> m_demo;
};

void TestKolmaraBackup::init()
{
    m_demo = std::make_unique<test::DemoDatabase>(kThursday);
}

void TestKolmaraBackup::cleanup()
{
    m_demo.reset();
}

QString TestKolmaraBackup::program(const QString& binary)
{
    const QString copy = QDir(m_demo->folder()).filePath(QFileInfo(binary).fileName());
    if (!QFile::exists(copy))
        QFile::copy(binary, copy);
    return copy;
}

QProcessEnvironment TestKolmaraBackup::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KOLMARA_TEST_NOW"), kThursday.toString(Qt::ISODate));
    env.remove(QStringLiteral("KOLMARA_PASSWORD"));
    return env;
}

TestKolmaraBackup::Run TestKolmaraBackup::run(const QStringList& args, const QString& binary,
                                              const QProcessEnvironment& env)
{
    QProcess p;
    p.setProcessEnvironment(env.isEmpty() ? environment() : env);
    p.start(program(binary), args);
    if (!p.waitForFinished(120000))
        return {-1, {}, p.errorString()};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

// A session of the DBA on the demo instance, as this process sees it.
std::unique_ptr<db::Session> TestKolmaraBackup::dba()
{
    auto s = std::make_unique<db::Session>();
    s->setServer(QStringLiteral("DEMO"));
    s->setUsername(QStringLiteral("SYSTEM"));
    s->setPassword(QStringLiteral("MANAGER"));
    s->connect();
    return s;
}

void TestKolmaraBackup::exec(const QString& sql)
{
    const auto s = dba();
    test::exec(*s, sql);
    s->commit();
}

QStringList TestKolmaraBackup::rows(const QString& sql)
{
    return test::rows(*dba(), sql);
}

QString TestKolmaraBackup::fileOf(const QString& account, const QString& table) const
{
    return m_demo->folder() + QStringLiteral("/BACKUP/") + account + QStringLiteral("/20030515/") +
           table + QStringLiteral(".TXT");
}

QStringList TestKolmaraBackup::dumpFiles() const
{
    QStringList files;
    const QDir base(m_demo->folder());
    QDirIterator it(base.filePath(QStringLiteral("BACKUP")), QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files << base.relativeFilePath(it.next());
    files.sort();
    return files;
}

QStringList TestKolmaraBackup::tableLines(const QString& out, QString* summary)
{
    QStringList lines = out.split(QLatin1Char('\n'));
    if (lines.last().isEmpty())
        lines.removeLast();
    *summary = lines.isEmpty() ? QString() : lines.takeLast();
    QStringList tables;
    for (int i = 0; i < lines.size(); ++i) {
        const QString number = QString::number(i + 1) + QLatin1Char('/') +
                               QString::number(lines.size()) + QLatin1Char(' ');
        if (!lines[i].startsWith(number))
            return {QStringLiteral("unnumbered: ") + lines[i]};
        tables << lines[i].mid(number.size());
    }
    tables.sort();
    return tables;
}

void TestKolmaraBackup::wholeRunDumpsLogsAndStamps()
{
    // A schedule whose table is gone fails alone; the locked TGHOLD's login is refused; the job
    // goes on past both.
    exec(QStringLiteral("INSERT INTO TGHADM.BACKUP_TABLE VALUES ('DEMO', 'SCOTT', 'GONE',"
                        " '없어진 테이블', 'D', '01', '02', NULL, NULL)"));
    const Run r = run({QStringLiteral("DEMO"), QStringLiteral("SYSTEM/MANAGER")});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
    QVERIFY(!r.out.contains(QLatin1Char('\r')) && !r.out.contains(QLatin1Char('\033')));

    const int items = linesOf(fileOf("TGHAPP", "ORDER_ITEM"));
    QVERIFY(items > 0);
    auto done = [&](const QString& label, const QString& account, const QString& table, int count) {
        return label + QStringLiteral(" 완료: ") + QString::number(count) +
               QStringLiteral(" 건, ") + minutes(0) + QStringLiteral(", ") + fileOf(account, table);
    };
    QStringList expected = {
        "HR.EMPLOYEES 제외: 백업권한이 없습니다...(N)",
        done("SCOTT.EMP(사원)", "SCOTT", "EMP", 14),
        "SCOTT.GONE(없어진 테이블) 실패: ALL_TAB_COLUMNS ERROR ...(0)",
        "TGHADM.BACKLOG_TABLE(백업정보) 제외: 백업계정으로 등록되어 있지 않습니다...",
        done("TGHAPP.CUSTOMER(거래처)", "TGHAPP", "CUSTOMER", 30),
        done("TGHAPP.ORDER_ITEM(주문상세)", "TGHAPP", "ORDER_ITEM", items),
        done("TGHDW.CUSTOMER(거래처 사본)", "TGHDW", "CUSTOMER", 5),
        "TGHOLD.OLD_ORDERS(구 주문 (2001년 이전)) 실패: ORA-28000: the account is locked",
    };
    expected.sort();
    QString summary;
    QCOMPARE(tableLines(r.out, &summary), expected);
    QCOMPARE(summary, QStringLiteral("▶ DEMO 2003-05-15 백업작업 종료: 완료 4, 자료없음 0, 실패 2, 미실행 0,"
                                     " 제외 2 (전체 8 건)"));

    QCOMPARE(linesOf(fileOf("SCOTT", "EMP")), 14);
    QCOMPARE(linesOf(fileOf("TGHAPP", "CUSTOMER")), 30);
    QCOMPARE(linesOf(fileOf("TGHDW", "CUSTOMER")), 5);
    QCOMPARE(dumpFiles(),
             (QStringList{"BACKUP/SCOTT/20030515/EMP.TXT", "BACKUP/TGHAPP/20030515/CUSTOMER.TXT",
                          "BACKUP/TGHAPP/20030515/ORDER_ITEM.TXT",
                          "BACKUP/TGHDW/20030515/CUSTOMER.TXT"}));
    // The log rows and stamps the screen writes: no type or hour in the log.
    QCOMPARE(rows(QStringLiteral("SELECT BACKLOG_ACCOUNT, BACKLOG_TABLEID, BACKLOG_SDATETIME,"
                                 " BACKLOG_EDATETIME, BACKLOG_CYCLE, NVL(BACKLOG_TYPE, '-'),"
                                 " NVL(BACKLOG_TIME, '-'), BACKLOG_PATH, "
                                 "BACKLOG_COUNT FROM TGHADM.BACKLOG_TABLE"
                                 " WHERE BACKLOG_SDATETIME LIKE '20030515%' "
                                 "ORDER BY 1, 2")),
             (QStringList{"SCOTT|EMP|20030515 090000|20030515 090000|D|-|-|" +
                              fileOf("SCOTT", "EMP") + "|14",
                          "TGHAPP|CUSTOMER|20030515 090000|20030515 090000|D|-|-|" +
                              fileOf("TGHAPP", "CUSTOMER") + "|30",
                          "TGHAPP|ORDER_ITEM|20030515 090000|20030515 090000|M|-|-|" +
                              fileOf("TGHAPP", "ORDER_ITEM") + "|" + QString::number(items),
                          "TGHDW|CUSTOMER|20030515 090000|20030515 090000|D|-|-|" +
                              fileOf("TGHDW", "CUSTOMER") + "|5"}));
    QCOMPARE(
        rows(QStringLiteral("SELECT BACKUP_ACCOUNT || '.' || BACKUP_TABLEID || '='"
                            " || NVL(BACKUP_DATETIME, '-') FROM TGHADM.BACKUP_TABLE"
                            " WHERE BACKUP_SERVER = 'DEMO' AND BACKUP_ACCOUNT IN "
                            "('SCOTT', 'TGHAPP', 'TGHDW', 'TGHOLD') AND BACKUP_CYCLE = 'D'"
                            " ORDER BY 1")),
        (QStringList{"SCOTT.EMP=20030515 090000", "SCOTT.GONE=-", "TGHAPP.CUSTOMER=20030515 090000",
                     "TGHDW.CUSTOMER=20030515 090000", "TGHOLD.OLD_ORDERS=20030301 040011"}));
}

void TestKolmaraBackup::hourTakesOnlyItsTables_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QStringList>("dumped");
    QTest::addColumn<QString>("summary");
    const QString two = QStringLiteral("▶ DEMO 2003-05-15 02시 백업작업 종료: 완료 2, 자료없음 0, 실패 0, 미실행 0,"
                                       " 제외 0 (전체 2 건)");
    const QStringList twos{"BACKUP/SCOTT/20030515/EMP.TXT",
                           "BACKUP/TGHAPP/20030515/ORDER_ITEM.TXT"};
    QTest::newRow("--hour 02") << QStringList{"--hour", "02"} << QString() << twos << two;
    QTest::newRow("--hour=2") << QStringList{"--hour=2"} << QString() << twos << two;
    QTest::newRow("cron's 00 is the code 24")
        << QStringList{"--hour", "00"}
        << "UPDATE TGHADM.BACKUP_TABLE SET BACKUP_TIME = '24' WHERE BACKUP_ACCOUNT = 'TGHDW'"
           " AND BACKUP_TABLEID = 'CUSTOMER'"
        << QStringList{"BACKUP/TGHDW/20030515/CUSTOMER.TXT"}
        << "▶ DEMO 2003-05-15 24시 백업작업 종료: 완료 1, 자료없음 0, 실패 0, 미실행 0, 제외 0 (전체 1 건)";
    QTest::newRow("an hour without tables")
        << QStringList{"--hour", "7"} << QString() << QStringList()
        << "▶ DEMO 2003-05-15 07시 백업대상 테이블이 없습니다...";
}

void TestKolmaraBackup::hourTakesOnlyItsTables()
{
    QFETCH(QStringList, args);
    QFETCH(QString, setup);
    QFETCH(QStringList, dumped);
    QFETCH(QString, summary);
    if (!setup.isEmpty())
        exec(setup);
    const Run r = run(QStringList{"DEMO", "SYSTEM/MANAGER"} + args);
    QCOMPARE(r.exitCode, 0);
    QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
    QString last;
    QCOMPARE(tableLines(r.out, &last).size(), dumped.size());
    QCOMPARE(last, summary);
    QCOMPARE(dumpFiles(), dumped);
    QCOMPARE(rows(QStringLiteral("SELECT COUNT(*) FROM TGHADM.BACKLOG_TABLE"
                                 " WHERE BACKLOG_SDATETIME LIKE '20030515%'")),
             QStringList{QString::number(dumped.size())});
}

void TestKolmaraBackup::dryRunWritesNothing()
{
    const Run r = run({"DEMO", "SYSTEM/MANAGER", "--dry-run"});
    QCOMPARE(r.exitCode, 0);
    QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
    QStringList expected = {
        "HR.EMPLOYEES 제외: 백업권한이 없습니다...(N)",
        "SCOTT.EMP(사원) 예정: " + fileOf("SCOTT", "EMP"),
        "TGHADM.BACKLOG_TABLE(백업정보) 제외: 백업계정으로 등록되어 있지 않습니다...",
        "TGHAPP.CUSTOMER(거래처) 예정: " + fileOf("TGHAPP", "CUSTOMER"),
        "TGHAPP.ORDER_ITEM(주문상세) 예정: " + fileOf("TGHAPP", "ORDER_ITEM"),
        "TGHDW.CUSTOMER(거래처 사본) 예정: " + fileOf("TGHDW", "CUSTOMER"),
        "TGHOLD.OLD_ORDERS(구 주문 (2001년 이전)) 예정: " + fileOf("TGHOLD", "OLD_ORDERS"),
    };
    expected.sort();
    QString summary;
    QCOMPARE(tableLines(r.out, &summary), expected);
    QCOMPARE(summary, QStringLiteral("▶ DEMO 2003-05-15 백업예정 5, 실패 0,"
                                     " 제외 2 (전체 7 건) - 기록한 것이 없습니다..."));
    QVERIFY(!QFileInfo::exists(m_demo->folder() + QStringLiteral("/BACKUP")));
    QCOMPARE(rows(QStringLiteral("SELECT COUNT(*) FROM TGHADM.BACKLOG_TABLE"
                                 " WHERE BACKLOG_SDATETIME LIKE '20030515%'")),
             QStringList{"0"});
    QCOMPARE(rows(QStringLiteral("SELECT COUNT(*) FROM TGHADM.BACKUP_TABLE"
                                 " WHERE BACKUP_DATETIME LIKE '20030515%'")),
             QStringList{"0"});
}

void TestKolmaraBackup::failingDumpEndsTheJob()
{
    // As on the screen, a dump that fails ends the job: nothing after it is dumped.
    exec(QStringLiteral("UPDATE TGHADM.BACKUP_TABLE"
                        " SET BACKUP_CONDISION = 'WHERE NO_SUCH_COLUMN = 1' WHERE "
                        "BACKUP_ACCOUNT = 'SCOTT' AND BACKUP_TABLEID = 'EMP'"));
    const Run r = run({"DEMO", "SYSTEM/MANAGER"});
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
    const QString notRun = QStringLiteral(" 미실행: 작업이 중단되어 백업하지 않았습니다...");
    QStringList lines = r.out.split(QLatin1Char('\n'));
    lines.removeAll(QString());
    QStringList expected = {
        "1/7 HR.EMPLOYEES 제외: 백업권한이 없습니다...(N)",
        "2/7 SCOTT.EMP(사원) 실패: ORA-00904: \"NO_SUCH_COLUMN\": invalid identifier",
        "3/7 TGHADM.BACKLOG_TABLE(백업정보) 제외: 백업계정으로 등록되어 있지 않습니다...",
        "", "",
        "6/7 TGHDW.CUSTOMER(거래처 사본)" + notRun,
        "7/7 TGHOLD.OLD_ORDERS(구 주문 (2001년 이전))" + notRun,
        "▶ DEMO 2003-05-15 백업작업 종료: 완료 0, 자료없음 0, 실패 1, 미실행 4, 제외 2 (전체 7 건)",
    };
    QCOMPARE(lines.size(), expected.size());
    // TGHAPP's two tables in the order the database gives them.
    QVERIFY(lines[3].startsWith("4/7 TGHAPP.") && lines[3].endsWith(notRun));
    QVERIFY(lines[4].startsWith("5/7 TGHAPP.") && lines[4].endsWith(notRun));
    lines[3].clear();
    lines[4].clear();
    QCOMPARE(lines, expected);
    QCOMPARE(dumpFiles(), QStringList());
    QCOMPARE(rows(QStringLiteral("SELECT COUNT(*) FROM TGHADM.BACKLOG_TABLE"
                                 " WHERE BACKLOG_SDATETIME LIKE '20030515%'")),
             QStringList{"0"});
}

// A table whose name climbs out of its folder is dumped inside it, under the mapped name, for its
// owner alone; nothing lands folders up.
void TestKolmaraBackup::namesThatAreNoFileNamesStayInTheirFolder()
{
    exec(QStringLiteral("CREATE TABLE SCOTT.\"../../../X\" (A NUMBER)"));
    exec(QStringLiteral("INSERT INTO SCOTT.\"../../../X\" VALUES (7)"));
    exec(QStringLiteral("INSERT INTO TGHADM.BACKUP_TABLE VALUES ('DEMO', 'SCOTT', '../../../X',"
                        " NULL, 'D', '01', '02', NULL, NULL)"));
    // Three folders above the day's folder: the instance's own folder.
    const QString escaped = QDir(m_demo->folder()).filePath(QStringLiteral("X.TXT"));
    QFile planted(escaped);
    QVERIFY(planted.open(QIODevice::WriteOnly));
    planted.write("not a dump\n");
    planted.close();

    const Run r = run({"DEMO", "SYSTEM/MANAGER", "--hour", "02"});
    QCOMPARE(r.exitCode, 0);
    QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
    const QString mapped = fileOf("SCOTT", ".._.._.._X");
    QVERIFY2(r.out.contains(QStringLiteral("SCOTT.../../../X 완료: 1 건, ")), qPrintable(r.out));
    QVERIFY2(r.out.contains(mapped), qPrintable(r.out));
    QCOMPARE(linesOf(mapped), 1);
    QCOMPARE(linesOf(escaped), 0);  // the file up there is as it was
    QCOMPARE(rows(QStringLiteral("SELECT BACKLOG_PATH FROM TGHADM.BACKLOG_TABLE"
                                 " WHERE BACKLOG_TABLEID = '../../../X'")),
             QStringList{mapped});
    // The tree and the files are this user's alone.
    for (const QString& path : {m_demo->folder() + QStringLiteral("/BACKUP"),
                                m_demo->folder() + QStringLiteral("/BACKUP/SCOTT"),
                                m_demo->folder() + QStringLiteral("/BACKUP/SCOTT/20030515"), mapped,
                                fileOf("SCOTT", "EMP")}) {
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
        QCOMPARE(int(st.st_mode & 0777), S_ISDIR(st.st_mode) ? 0700 : 0600);
    }
}

void TestKolmaraBackup::refusedLogRowCarriesTheServersMessage()
{
    // A log row of the same table and start second is there already: the job's own is refused.
    exec(QStringLiteral("INSERT INTO TGHADM.BACKLOG_TABLE (BACKLOG_SERVER, BACKLOG_ACCOUNT,"
                        " BACKLOG_TABLEID, BACKLOG_SDATETIME) VALUES ('DEMO', 'SCOTT', 'EMP',"
                        " '20030515 090000')"));
    const Run r = run({"DEMO", "SYSTEM/MANAGER", "--hour", "02"});
    QCOMPARE(r.exitCode, 1);
    QString summary;
    const QStringList lines = tableLines(r.out, &summary);
    QCOMPARE(lines.size(), 2);
    QVERIFY2(lines[0].startsWith(QStringLiteral(
                 "SCOTT.EMP(사원) 실패: 백업로그 자료 생성이 에러 입니다... ORA-00001: ")),
             qPrintable(lines[0]));
    QVERIFY2(
        lines[0].endsWith(QStringLiteral(" (14 건, ") + fileOf("SCOTT", "EMP") + QLatin1Char(')')),
        qPrintable(lines[0]));
    QCOMPARE(linesOf(fileOf("SCOTT", "EMP")), 14);
}

// While a run for the service holds its lock (here this test), another exits at once with code 5,
// before it logs in or writes; a dry run is not held back, and the lock goes with its holder.
void TestKolmaraBackup::oneRunPerServiceAtATime()
{
    const QByteArray lockPath = QFile::encodeName(
        QDir(m_demo->folder()).filePath(QStringLiteral("kolmara-backup-DEMO.lock")));
    const int held = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    QVERIFY(held >= 0);
    QCOMPARE(::flock(held, LOCK_EX | LOCK_NB), 0);

    Run r = run({"demo", "SYSTEM/MANAGER", "--hour", "02"});
    QCOMPARE(r.exitCode, 5);
    QCOMPARE(r.out, QString());
    QVERIFY2(r.err.startsWith(QStringLiteral("DEMO 의 백업작업이 이미 실행중입니다...")), qPrintable(r.err));
    QVERIFY(!QFileInfo::exists(m_demo->folder() + QStringLiteral("/BACKUP")));
    QCOMPARE(rows(QStringLiteral("SELECT COUNT(*) FROM TGHADM.BACKLOG_TABLE"
                                 " WHERE BACKLOG_SDATETIME LIKE '20030515%'")),
             QStringList{"0"});
    r = run({"DEMO", "SYSTEM/MANAGER", "--hour", "02", "--dry-run"});
    QCOMPARE(r.exitCode, 0);

    ::close(held);
    r = run({"DEMO", "SYSTEM/MANAGER", "--hour", "02"});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(dumpFiles().size(), 2);
}

void TestKolmaraBackup::refusedBeforeTheJob_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("error");
    const QString usage =
        QStringLiteral("사용법: kolmara-backup SERVICE USER/PASSWORD [--hour HH] [--dry-run]");
    QTest::newRow("wrong password") << QStringList{"DEMO", "SYSTEM/WRONG"} << 3
                                    << "ORA-01017: invalid username/password; logon denied";
    QTest::newRow("catalogue not readable")
        << QStringList{"DEMO", "SCOTT/TIGER"} << 4
        << "BACKUP_TABLE ERROR ...(-1) ORA-00942: table or view does not exist";
    QTest::newRow("no login") << QStringList{"DEMO"} << 2 << usage;
    QTest::newRow("hour out of range")
        << QStringList{"DEMO", "SYSTEM/MANAGER", "--hour", "25"} << 2 << usage;
    QTest::newRow("hour missing") << QStringList{"DEMO", "SYSTEM/MANAGER", "--hour"} << 2 << usage;
    QTest::newRow("unknown option")
        << QStringList{"DEMO", "SYSTEM/MANAGER", "--force"} << 2 << usage;
}

void TestKolmaraBackup::refusedBeforeTheJob()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, error);
    const Run r = run(args, kDelivered);
    QCOMPARE(r.exitCode, exitCode);
    QCOMPARE(r.out, QString());
    QCOMPARE(r.err.split(QLatin1Char('\n')).first(), error);
    QVERIFY(!QFileInfo::exists(m_demo->folder() + QStringLiteral("/BACKUP")));
}

void TestKolmaraBackup::passwordOffTheCommandLine_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("passwordVariable");
    QTest::addColumn<QString>("extraLogin");  // saved as login 2 beside DEMO/SYSTEM (kept)
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("firstLine");  // of standard error, or the summary when it is empty
    const QString dryRun = QStringLiteral("▶ DEMO 2003-05-15 백업예정 5, 실패 0,"
                                          " 제외 2 (전체 7 건) - 기록한 것이 없습니다...");
    const QString scottNotKept = QStringLiteral("DEMO/SCOTT/") +
                                 EncodePassword(QStringLiteral("TIGER"), SavedLoginKey) +
                                 QStringLiteral("/N/");
    QTest::newRow("saved login, names in another case")
        << QStringList{"demo", "system", "--dry-run"} << QString() << QString() << 0 << dryRun;
    QTest::newRow("saved login without its password")
        << QStringList{"DEMO", "SCOTT", "--dry-run"} << QString() << scottNotKept << 2
        << "SCOTT@DEMO 의 저장된 암호가 없습니다...";
    QTest::newRow("variable before the saved login")
        << QStringList{"DEMO", "SYSTEM", "--dry-run"} << "WRONG" << QString() << 3
        << "ORA-01017: invalid username/password; logon denied";
    QTest::newRow("variable for a login not saved")
        << QStringList{"DEMO", "SCOTT"} << "TIGER" << QString() << 4
        << "BACKUP_TABLE ERROR ...(-1) ORA-00942: table or view does not exist";
    QTest::newRow("command line before the variable")
        << QStringList{"DEMO", "SYSTEM/MANAGER", "--dry-run"} << "WRONG" << QString() << 0
        << dryRun;
}

void TestKolmaraBackup::passwordOffTheCommandLine()
{
    QFETCH(QStringList, args);
    QFETCH(QString, passwordVariable);
    QFETCH(QString, extraLogin);
    QFETCH(int, exitCode);
    QFETCH(QString, firstLine);
    if (!extraLogin.isEmpty()) {
        ProfileFile ini(m_demo->iniPath());
        ini.writeString(QStringLiteral("System Version"), QStringLiteral("Count"),
                        QStringLiteral("2"));
        ini.writeString(QStringLiteral("System Logging"), QStringLiteral("2"), extraLogin);
    }
    QProcessEnvironment env = environment();
    if (!passwordVariable.isEmpty())
        env.insert(QStringLiteral("KOLMARA_PASSWORD"), passwordVariable);
    const Run r = run(args, kClocked, env);
    QCOMPARE(r.exitCode, exitCode);
    if (r.err.isEmpty()) {
        QString summary;
        tableLines(r.out, &summary);
        QCOMPARE(summary, firstLine);
    } else {
        QCOMPARE(r.err.split(QLatin1Char('\n')).first(), firstLine);
    }
    if (exitCode == 2) {
        // How to give one, and which settings file was searched.
        QVERIFY2(r.err.contains(QStringLiteral("KOLMARA_PASSWORD")), qPrintable(r.err));
        QVERIFY2(r.err.contains(QDir::toNativeSeparators(m_demo->iniPath())), qPrintable(r.err));
        QCOMPARE(r.out, QString());
    }
}

void TestKolmaraBackup::deliveredProgramKeepsTheRealClock()
{
    // The test clock is not the user's business: the delivered program reads today from the engine.
    const QString before = QDate::currentDate().toString(Qt::ISODate);
    const Run r = run({"DEMO", "SYSTEM/MANAGER", "--dry-run"}, kDelivered);
    const QString after = QDate::currentDate().toString(Qt::ISODate);
    QCOMPARE(r.exitCode, 0);
    QString summary;
    tableLines(r.out, &summary);
    QVERIFY2(
        summary.startsWith("▶ DEMO " + before + " ") || summary.startsWith("▶ DEMO " + after + " "),
        qPrintable(summary));
}

void TestKolmaraBackup::progressShowsOnlyOnATerminal()
{
    const QStringList args{"DEMO", "SYSTEM/MANAGER", "--hour", "02"};
    int master = -1;
    int slave = -1;
    QCOMPARE(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    fcntl(master, F_SETFD, FD_CLOEXEC);
    fcntl(slave, F_SETFD, FD_CLOEXEC);
    QProcess p;
    p.setProcessEnvironment(environment());
    p.setChildProcessModifier([slave] { dup2(slave, STDOUT_FILENO); });
    p.start(program(kClocked), args);
    const bool finished = p.waitForFinished(120000);
    close(slave);
    QByteArray raw;
    char buffer[4096];
    for (ssize_t got; (got = read(master, buffer, sizeof buffer)) > 0;)
        raw.append(buffer, got);
    close(master);
    QVERIFY(finished);
    QCOMPARE(p.exitCode(), 0);

    // The terminal turns each line end into CR LF; the progress line is rewritten in place and
    // cleared before the table's own line.
    const QString shown =
        QString::fromUtf8(raw).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QVERIFY2(shown.contains(QStringLiteral("\r1/2 SCOTT.EMP(사원) 백업중입니다...\033[K")),
             qPrintable(shown));
    QVERIFY2(shown.contains(QStringLiteral("\r1/2 SCOTT.EMP(사원) 14 / 14\033[K")),
             qPrintable(shown));
    QStringList visible;
    for (const QString& line : shown.split(QLatin1Char('\n')))
        visible << line.section(QStringLiteral("\033[K"), -1);

    // Without a terminal the same lines come out, and nothing else.
    const QString folder = m_demo->folder();
    m_demo.reset();
    m_demo = std::make_unique<test::DemoDatabase>(kThursday);
    const Run quiet = run(args);
    QCOMPARE(visible.join(QLatin1Char('\n')).replace(folder, "<folder>"),
             QString(quiet.out).replace(m_demo->folder(), "<folder>"));
}

void TestKolmaraBackup::runPastMidnightKeepsItsDay()
{
    // The job starts at 23:59:50 on Thursday; its first dump ends after midnight.
    const QDateTime start(QDate(2003, 5, 15), QTime(23, 59, 50));
    const QDateTime friday(QDate(2003, 5, 16), QTime(0, 0, 20));
    m_demo.reset();
    m_demo = std::make_unique<test::DemoDatabase>(start);
    test::ScriptedUiServices ui;
    ui.setNow(start);
    const auto main = dba();
    data::setMainSession(main.get());
    const auto release = qScopeGuard([] {
        data::releaseSharedObjects();
        data::setMainSession(nullptr);
    });
    LoadSettings();
    ConnServer = QStringLiteral("DEMO");

    db::Session jobSession;
    data::ServerBackupJob job(jobSession);
    QCOMPARE(job.listDueTables(), 7);
    QCOMPARE(job.day(), QDate(2003, 5, 15));
    job.onProgress = [&](int, int, int, const QString&) { ui.setNow(friday); };
    job.run();

    // Every table due on Thursday is dumped into Thursday's folders, whenever its dump ran.
    QCOMPARE(dumpFiles(),
             (QStringList{"BACKUP/SCOTT/20030515/EMP.TXT", "BACKUP/TGHAPP/20030515/CUSTOMER.TXT",
                          "BACKUP/TGHAPP/20030515/ORDER_ITEM.TXT",
                          "BACKUP/TGHDW/20030515/CUSTOMER.TXT"}));
    QCOMPARE(test::rows(*main,
                        QStringLiteral(
                            "SELECT BACKLOG_ACCOUNT || '.' || BACKLOG_TABLEID, BACKLOG_SDATETIME, "
                            "BACKLOG_EDATETIME FROM TGHADM.BACKLOG_TABLE"
                            " WHERE BACKLOG_SDATETIME >= '20030515 235950' ORDER BY 1")),
             (QStringList{"SCOTT.EMP|20030515 235950|20030516 000020",
                          "TGHAPP.CUSTOMER|20030516 000020|20030516 000020",
                          "TGHAPP.ORDER_ITEM|20030516 000020|20030516 000020",
                          "TGHDW.CUSTOMER|20030516 000020|20030516 000020"}));
    QCOMPARE(data::elapsedMinutesText(job.tables()[1].minutes) + QStringLiteral(" 분"),
             minutes(0.5));
    QVERIFY(!jobSession.isConnected());
}

QTEST_MAIN(TestKolmaraBackup)
#include "tst_kolmara_backup.moc"
