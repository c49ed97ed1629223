// Writers that die or meet: a program writing the settings file or the backup catalogue (schedules,
// registrations, log rows and stamps through the query objects) is killed (SIGKILL) in the middle,
// many times over, and nothing it reported written is lost, nothing is half-written and the next
// start is clean; two programs writing both at once lose nothing and see no error, and a write
// that finds the database's write lock held by another program waits its turn. The test runs
// itself as those programs ("--settings", "--catalogue", "--both" and "--hold" below).
// KOLMARA_WRITER_ROUNDS sets how many kills for a longer run by hand.
#include "common/KOLMCOMM.h"
#include "common/ProfileFile.h"
#include "data/HBACKUPT1.h"
#include "data/HBACKUPT2.h"
#include "data/HBACKUST1.h"
#include "data/SharedSlots.h"
#include "db/Query.h"
#include "db/Session.h"
#include "../db_engine/EngineFixture.h"
#include "DemoDatabase.h"
#include "ScriptedUiServices.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <QTest>

#include <sqlite3.h>

#include <cstdio>

using namespace kolmara;

namespace {

const QString kServer = QStringLiteral("RELY");
const QString kSection = QStringLiteral("Reliability");

// What the i-th write of a writer tagged `tag` puts in each place, so a check can tell a whole row
// from a half one.
QString settingValue(const QString& tag, int i)
{
    return QStringLiteral("%1/%2/가나다/%3/").arg(tag).arg(i).arg(QString(i % 40, QLatin1Char('x')));
}
QString tableId(int i) { return QStringLiteral("T%1").arg(i); }
QString tableName(int i) { return QStringLiteral("백업 대상 %1").arg(i); }
QString condition(int i) { return QStringLiteral("WHERE NO = %1").arg(i); }
QString userAccount(const QString& tag, int i) { return QStringLiteral("%1_%2").arg(tag).arg(i); }
QString startStamp(int i) { return QStringLiteral("20030514 %1").arg(i, 6, 10, QLatin1Char('0')); }
QString logPath(const QString& tag, int i)
{
    return QStringLiteral("/backup/%1/T%2.TXT").arg(tag).arg(i);
}

void connectDemo(db::Session& session)
{
    session.setServer(QStringLiteral("DEMO"));
    session.setUsername(QStringLiteral("SYSTEM"));
    session.setPassword(QStringLiteral("MANAGER"));
    session.connect();
}

void report(int i)
{
    std::printf("%d\n", i);
    std::fflush(stdout);
}

int fail(const char* what, int i, const test::ScriptedUiServices& ui)
{
    std::fprintf(stderr, "%s %d failed: %s\n", what, i, qPrintable(ui.messageTexts().join(u'|')));
    return 3;
}

// One settings write: a key of its own, then the key every write changes.
void writeSetting(const QString& tag, int i)
{
    ProfileFile ini(settingsFilePath());
    ini.writeString(kSection, tag + QStringLiteral("K%1").arg(i), settingValue(tag, i));
    ini.writeString(kSection, tag + QStringLiteral("Last"), QString::number(i));
}

// One round of catalogue writes, each through its query object in a transaction of its own.
const char* writeCatalogue(const QString& tag, int i)
{
    data::HBACKUPT1 schedules;
    if (schedules.InsertBackupTable(kServer, tag, tableId(i), tableName(i), QStringLiteral("W"),
                                    QStringLiteral("04"), QStringLiteral("13"), condition(i),
                                    QString()) != 0)
        return "schedule";
    data::HBACKUST1 users;
    if (users.InsertBackupUser(kServer, userAccount(tag, i), QStringLiteral("PW%1").arg(i),
                               tableName(i), QStringLiteral("0130"), QStringLiteral("Y")) != 0)
        return "registration";
    data::HBACKUPT2 log;
    if (log.InsertBackupLog(kServer, tag, tableId(i), startStamp(i), startStamp(i), tableName(i),
                            QStringLiteral("W"), QStringLiteral("04"), QStringLiteral("13"),
                            QStringLiteral("127.0.0.1"), condition(i), logPath(tag, i),
                            QString::number(i)) != 0)
        return "log row";
    if (schedules.UpdateBackupDateTime(kServer, tag, tableId(i)) != 0)
        return "stamp";
    return nullptr;
}

// The writer programs. "count" 0 writes until killed. Writing both, the settings go first, at
// full speed: two such programs started together then change the file at the same moments.
int writerMain(const QString& mode, const QString& folder, const QString& tag, int count)
{
    setProgramFolderForTesting(folder);
    test::ScriptedUiServices ui;
    ui.setNow(QDateTime::currentDateTime());
    const bool settings = mode != QLatin1String("--catalogue");
    const bool catalogue = mode != QLatin1String("--settings");
    if (settings && catalogue) {
        for (int i = 1; i <= count; ++i)
            writeSetting(tag, i);
    }
    db::Session session;
    if (catalogue) {
        connectDemo(session);
        data::setMainSession(&session);
    }
    for (int i = 1; count == 0 || i <= count; ++i) {
        if (!catalogue)
            writeSetting(tag, i);
        if (catalogue) {
            if (const char* failed = writeCatalogue(tag, i))
                return fail(failed, i, ui);
        }
        if (!ui.messages().isEmpty())
            return fail("message", i, ui);
        report(i);
    }
    data::setMainSession(nullptr);
    return 0;
}

// A program that holds the database's write lock for a while: a catalogue row inserted and its
// commit delayed, as a long write of another program would.
int holderMain(const QString& folder, const QString& tag, int ms)
{
    setProgramFolderForTesting(folder);
    test::ScriptedUiServices ui;
    db::Session session;
    connectDemo(session);
    session.startTransaction();
    db::Query insert(&session);
    insert.addSql(
        QStringLiteral("INSERT INTO BACKUP_TABLE (BACKUP_SERVER, BACKUP_ACCOUNT, BACKUP_TABLEID)"
                       " VALUES ('RELY', '%1', 'HELD')")
            .arg(tag));
    insert.execSql();
    std::printf("holding\n");
    std::fflush(stdout);
    QThread::msleep(ms);
    session.commit();
    return 0;
}

int rounds(int usual)
{
    const int asked = qEnvironmentVariableIntValue("KOLMARA_WRITER_ROUNDS");
    return asked > 0 ? asked : usual;
}

int lastReported(const QByteArray& output)
{
    const QList<QByteArray> lines = output.trimmed().split('\n');
    return lines.isEmpty() ? 0 : lines.last().toInt();
}

}  // namespace

class TestWriters : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void killedWriterLosesNothing_data();
    void killedWriterLosesNothing();
    void twoProgramsWriteAtOnce();
    void aBusyMomentIsWaitedOut();

private:
    void startWriter(QProcess& writer, const QString& mode, const QString& tag, int count = 0);
    void checkSettings(const QString& tag, int reported, int upTo);
    void checkCatalogue(const QString& tag, int reported, int upTo);
    void checkNextStart();
    QString field(const QString& sql);

    std::unique_ptr<test::DemoDatabase> m_demo;
    std::unique_ptr<test::ScriptedUiServices> m_ui;
    QByteArray m_iniBefore;
};

void TestWriters::init()
{
    m_demo = std::make_unique<test::DemoDatabase>();
    m_ui = std::make_unique<test::ScriptedUiServices>();
    // The database exists before the writers start: its creation has a kill test of its own.
    db::Session first;
    connectDemo(first);
    first.disconnect();
    QFile ini(m_demo->iniPath());
    QVERIFY(ini.open(QIODevice::ReadOnly));
    m_iniBefore = ini.readAll();
}

void TestWriters::cleanup()
{
    m_ui.reset();
    m_demo.reset();
}

void TestWriters::startWriter(QProcess& writer, const QString& mode, const QString& tag, int count)
{
    writer.setProcessChannelMode(QProcess::SeparateChannels);
    writer.start(QCoreApplication::applicationFilePath(),
                 {mode, m_demo->folder(), tag, QString::number(count)});
    QVERIFY(writer.waitForStarted());
}

QString TestWriters::field(const QString& sql)
{
    db::Session session;
    connectDemo(session);
    return test::rows(session, sql).value(0);
}

// Every write reported is there whole; of the writes after it, only the one under way may be.
void TestWriters::checkSettings(const QString& tag, int reported, int upTo)
{
    const ProfileFile ini(m_demo->iniPath());
    for (int i = 1; i <= upTo; ++i)
        QCOMPARE(ini.readString(kSection, tag + QStringLiteral("K%1").arg(i)),
                 settingValue(tag, i));
    const QString unfinished = ini.readString(kSection, tag + QStringLiteral("K%1").arg(upTo + 1));
    QVERIFY2(unfinished.isEmpty() || unfinished == settingValue(tag, upTo + 1),
             qPrintable(unfinished));
    QVERIFY(ini.readString(kSection, tag + QStringLiteral("K%1").arg(upTo + 2)).isEmpty());
    const int last = ini.readString(kSection, tag + QStringLiteral("Last")).toInt();
    QVERIFY2(last >= reported && last <= upTo + 1,
             qPrintable(QStringLiteral("%1 after %2").arg(last).arg(reported)));
    // What was there before the writers is untouched, line for line.
    QFile file(m_demo->iniPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().startsWith(m_iniBefore));
}

void TestWriters::checkCatalogue(const QString& tag, int reported, int upTo)
{
    // Each table in turn: how many rows the writer left, the highest write they came from, and
    // how many of the reported writes are there.
    struct Place {
        const char* table;
        const char* key;  // the column holding "T<i>" or "<tag>_<i>"
        const char* ofWriter;
    };
    const Place places[] = {
        {"BACKUP_TABLE", "BACKUP_TABLEID", "BACKUP_SERVER = 'RELY' AND BACKUP_ACCOUNT = '%1'"},
        {"BACKUSER_TABLE", "BACKUSER_ACCOUNT",
         "BACKUSER_SERVER = 'RELY' AND BACKUSER_ACCOUNT LIKE '%1\\_%' ESCAPE '\\'"},
        {"BACKLOG_TABLE", "BACKLOG_TABLEID", "BACKLOG_SERVER = 'RELY' AND BACKLOG_ACCOUNT = '%1'"},
        {"BACKUP_TABLE", "BACKUP_TABLEID",
         "BACKUP_SERVER = 'RELY' AND BACKUP_ACCOUNT = '%1' AND LENGTH(BACKUP_DATETIME) = 15"},
    };
    QList<int> rows;
    for (const Place& place : places) {
        const QString number =
            QStringLiteral("TO_NUMBER(SUBSTR(%1, INSTR(%1, 'T') + INSTR(%1, '_') + 1))")
                .arg(QLatin1String(place.key));
        const QString sql =
            QStringLiteral(
                "SELECT COUNT(*), NVL(MAX(%1), 0), COUNT(CASE WHEN %1 <= %2 THEN 1 END) FROM %3"
                " WHERE %4")
                .arg(number)
                .arg(reported)
                .arg(QLatin1String(place.table), QLatin1String(place.ofWriter).arg(tag));
        const QStringList found = field(sql).split(u'|');
        QCOMPARE(found.size(), 3);
        QVERIFY2(found[1].toInt() <= upTo + 1, qPrintable(sql + u' ' + found.join(u',')));
        QVERIFY2(found[2].toInt() == reported, qPrintable(sql + u' ' + found.join(u',')));
        rows << found[0].toInt();
    }
    // Writes run schedule, registration, log row, stamp: a kill leaves at most the later ones out.
    QVERIFY2(
        rows[0] >= rows[1] && rows[1] >= rows[2] && rows[2] >= rows[3] && rows[3] >= rows[0] - 1,
        qPrintable(
            QStringLiteral("%1 %2 %3 %4").arg(rows[0]).arg(rows[1]).arg(rows[2]).arg(rows[3])));
    // Every row there is whole, whichever write it came from.
    QCOMPARE(field(QStringLiteral(
                       "SELECT COUNT(*) FROM BACKUP_TABLE B, BACKUSER_TABLE U, BACKLOG_TABLE L"
                       " WHERE B.BACKUP_SERVER = 'RELY' AND B.BACKUP_ACCOUNT = '%1'"
                       " AND U.BACKUSER_SERVER = 'RELY' AND U.BACKUSER_ACCOUNT = '%1_'"
                       " || SUBSTR(B.BACKUP_TABLEID, 2) AND U.BACKUSER_PASSWD = 'PW'"
                       " || SUBSTR(B.BACKUP_TABLEID, 2) AND U.BACKUSER_USERNAME ="
                       " B.BACKUP_TABLENAME AND U.BACKUSER_TIME = '0130' AND U.BACKUSER_TYPE = 'Y'"
                       " AND LENGTH(U.BACKUSER_MDFDAT) = 15 AND B.BACKUP_TABLENAME = '백업 대상 '"
                       " || SUBSTR(B.BACKUP_TABLEID, 2) AND B.BACKUP_CYCLE = 'W'"
                       " AND B.BACKUP_TYPE = '04' AND B.BACKUP_TIME = '13'"
                       " AND B.BACKUP_CONDISION = 'WHERE NO = ' || SUBSTR(B.BACKUP_TABLEID, 2)"
                       " AND L.BACKLOG_SERVER = 'RELY' AND L.BACKLOG_ACCOUNT = '%1'"
                       " AND L.BACKLOG_TABLEID = B.BACKUP_TABLEID AND L.BACKLOG_SDATETIME ="
                       " '20030514 ' || LPAD(SUBSTR(B.BACKUP_TABLEID, 2), 6, '0')"
                       " AND L.BACKLOG_COUNT = TO_NUMBER(SUBSTR(B.BACKUP_TABLEID, 2))"
                       " AND L.BACKLOG_PATH = '/backup/%1/' || B.BACKUP_TABLEID"
                       " || '.TXT' AND L.BACKLOG_CONDISION = B.BACKUP_CONDISION"
                       " AND L.BACKLOG_IPNAME = '127.0.0.1'")
                       .arg(tag)),
             QString::number(rows[2]));
}

// The file is a sound database, and the next write of the settings file clears what a killed
// writer left of its own.
void TestWriters::checkNextStart()
{
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open_v2(QFile::encodeName(m_demo->databaseFile()).constData(), &db,
                             SQLITE_OPEN_READONLY, nullptr),
             SQLITE_OK);
    sqlite3_stmt* check = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA quick_check", -1, &check, nullptr);
    QCOMPARE(sqlite3_step(check), SQLITE_ROW);
    const QString verdict =
        QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(check, 0)));
    sqlite3_finalize(check);
    sqlite3_close(db);
    QCOMPARE(verdict, QStringLiteral("ok"));

    ProfileFile(m_demo->iniPath())
        .writeString(QStringLiteral("System Version"), QStringLiteral("Commit"),
                     QStringLiteral("10"));
    const QStringList left =
        QDir(m_demo->folder())
            .entryList({QStringLiteral("KOLMARA.INI.*")}, QDir::Files | QDir::Hidden);
    QVERIFY2(left.isEmpty(), qPrintable(left.join(u' ')));
}

void TestWriters::killedWriterLosesNothing_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("count");
    QTest::newRow("settings file") << "--settings" << rounds(12);
    QTest::newRow("backup catalogue") << "--catalogue" << rounds(6);
}

void TestWriters::killedWriterLosesNothing()
{
    QFETCH(QString, mode);
    QFETCH(int, count);
    QRandomGenerator random(QRandomGenerator::global()->generate());
    for (int round = 0; round < count; ++round) {
        const QString tag = QStringLiteral("R%1").arg(round);
        QProcess writer;
        startWriter(writer, mode, tag);
        // Killed once it has written something, at a moment of chance.
        QByteArray output;
        while (!output.contains('\n') && writer.waitForReadyRead(60000))
            output += writer.readAllStandardOutput();
        QVERIFY2(output.contains('\n'), writer.readAllStandardError().constData());
        QTest::qSleep(int(random.bounded(300)));
        QVERIFY2(writer.state() == QProcess::Running, writer.readAllStandardError().constData());
        writer.kill();
        QVERIFY(writer.waitForFinished());
        output += writer.readAllStandardOutput();
        const int reported = lastReported(output);
        QVERIFY(reported > 0);

        if (mode == QLatin1String("--settings"))
            checkSettings(tag, reported, reported);
        else
            checkCatalogue(tag, reported, reported);
        checkNextStart();
    }
}

void TestWriters::twoProgramsWriteAtOnce()
{
    constexpr int kWrites = 100;
    QProcess first, second;
    startWriter(first, QStringLiteral("--both"), QStringLiteral("A"), kWrites);
    startWriter(second, QStringLiteral("--both"), QStringLiteral("B"), kWrites);
    for (QProcess* writer : {&first, &second}) {
        QVERIFY(writer->waitForFinished(240000));
        QVERIFY2(writer->exitStatus() == QProcess::NormalExit && writer->exitCode() == 0,
                 writer->readAllStandardError().constData());
        QCOMPARE(lastReported(writer->readAllStandardOutput()), kWrites);
    }
    for (const QString& tag : {QStringLiteral("A"), QStringLiteral("B")}) {
        checkSettings(tag, kWrites, kWrites);
        checkCatalogue(tag, kWrites, kWrites);
    }
    checkNextStart();
}

void TestWriters::aBusyMomentIsWaitedOut()
{
    // Held for seconds: the waiting writer must wait it out, not give up at once with ORA-00054.
    constexpr int kHeldMs = 4500;
    QProcess holder;
    startWriter(holder, QStringLiteral("--hold"), QStringLiteral("H"), kHeldMs);
    QByteArray output;
    while (!output.contains("holding") && holder.waitForReadyRead(60000))
        output += holder.readAllStandardOutput();
    QVERIFY2(output.contains("holding"), holder.readAllStandardError().constData());

    QElapsedTimer waited;
    waited.start();
    db::Session session;
    connectDemo(session);
    data::setMainSession(&session);
    data::HBACKUPT2 log;
    const int result = log.InsertBackupLog(
        kServer, QStringLiteral("H"), QStringLiteral("EMP"), startStamp(1), startStamp(2),
        QString(), QStringLiteral("D"), QStringLiteral("01"), QStringLiteral("01"),
        QStringLiteral("127.0.0.1"), QString(), QString(), QStringLiteral("14"));
    data::setMainSession(nullptr);
    QCOMPARE(result, 0);
    QVERIFY2(waited.elapsed() > kHeldMs / 2, qPrintable(QString::number(waited.elapsed())));
    QVERIFY(m_ui->messages().isEmpty());
    QVERIFY(holder.waitForFinished(60000));
    QCOMPARE(holder.exitCode(), 0);
    QCOMPARE(field(QStringLiteral(
                 "SELECT (SELECT COUNT(*) FROM BACKUP_TABLE WHERE BACKUP_ACCOUNT = 'H'),"
                 " (SELECT BACKLOG_COUNT FROM BACKLOG_TABLE"
                 " WHERE BACKLOG_ACCOUNT = 'H') FROM DUAL")),
             QStringLiteral("1|14"));
}

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QString mode = argc == 5 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (mode == QLatin1String("--settings") || mode == QLatin1String("--catalogue") ||
        mode == QLatin1String("--both"))
        return writerMain(mode, QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                          atoi(argv[4]));
    if (mode == QLatin1String("--hold"))
        return holderMain(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                          atoi(argv[4]));
    TestWriters test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_writers.moc"
