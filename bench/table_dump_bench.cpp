// Dumps a table of 1 000 000 rows x 8 columns (numbers, Hangul text with commas and quotes, dates,
// NULLs) from an embedded database the way the backup screens do (the dump SELECT, a count, then
// one row at a time to the file), and exports the same rows with `sqlite3 -csv` for comparison.
// A third run dumps the same shape of rows from a driver that makes each row as it is fetched:
// the dump's own cost and memory, whatever the engine underneath does. Each run is a child process
// of its own so that its peak memory can be read. Prints rows per second, their ratio and the
// peak resident memory; asserts nothing.
//
//   table_dump_bench [rows] [folder]     (default 1000000 rows; with a folder, the files stay)
#include "common/KOLMCOMM.h"
#include "data/TableDump.h"
#include "db/DriverRegistry.h"
#include "db/Query.h"
#include "db/Session.h"
#include "db/embedded/Engine.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

using namespace kolmara;

namespace {

const QString kService = QStringLiteral("BENCH");

void writeSettings(const QDir& dir)
{
    QFile ini(dir.filePath(QStringLiteral("KOLMARA.INI")));
    if (ini.open(QIODevice::WriteOnly))
        ini.write("[Embedded Databases]\r\nBENCH=bench.db\r\n");
}

std::unique_ptr<db::Session> login()
{
    auto s = std::make_unique<db::Session>();
    s->setServer(kService);
    s->setUsername(QStringLiteral("SYS"));
    s->setPassword(QStringLiteral("CHANGE_ON_INSTALL"));
    s->setLoginPrompt(false);
    s->connect();
    return s;
}

// The table through the engine, its rows straight into its SQLite table (the engine's own INSERT
// path would take longer than the dump being measured).
int generate(const QDir& dir, int rows)
{
    {
        auto s = login();
        db::Query ddl(s.get());
        ddl.addSql(QStringLiteral(
            "CREATE TABLE SYS.BIG (ID NUMBER(10), NAME VARCHAR2(40), MEMO VARCHAR2(100),"
            " AMOUNT NUMBER(12,2), RATE NUMBER(5,3), REG_DATE DATE, CODE CHAR(4),"
            " NOTE VARCHAR2(60))"));
        ddl.execSql();
        s->commit();
    }
    sqlite3* db = nullptr;
    if (sqlite3_open(dir.filePath(QStringLiteral("bench.db")).toUtf8().constData(), &db) !=
        SQLITE_OK)
        return 1;
    const QByteArray sql = QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
        "INSERT INTO \"SYS.BIG\" SELECT i, '고객' || i || ', 서울 \"본점\"', "
        "CASE WHEN i % 7 = 0 THEN NULL ELSE '주문 메모 ' || (i % 1000) || ', 배송 \"빠름\" 요청' END, "
        "(i % 100000) * 1.25, CASE WHEN i % 5 = 0 THEN NULL ELSE (i % 1000) / 1000.0 END, "
        "strftime('%Y-%m-%d %H:%M:%S', '2003-01-01', '+' || (i % 100000) || ' minutes'), "
        "substr('ABCD', 1 + i % 4) || 'X', CASE WHEN i % 3 = 0 THEN NULL ELSE '비고' || i END FROM n")
                                .arg(rows)
                                .toUtf8();
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql.constData(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK)
        std::fprintf(stderr, "generate: %s\n", error ? error : "?");
    sqlite3_free(error);
    sqlite3_close(db);
    return rc == SQLITE_OK ? 0 : 1;
}

int dump(const QDir& dir)
{
    auto s = login();
    const QList<data::DumpColumn> columns = {
        {"ID", "NUMBER"}, {"NAME", "VARCHAR2"}, {"MEMO", "VARCHAR2"}, {"AMOUNT", "NUMBER"},
        {"RATE", "NUMBER"}, {"REG_DATE", "DATE"}, {"CODE", "CHAR"}, {"NOTE", "VARCHAR2"}};
    data::TableDump dump(dir.filePath(QStringLiteral("BIG.TXT")),
                         data::dumpSelectText(data::kDumpSelectHead, columns, QStringLiteral("BIG"),
                                              QStringLiteral("YYYYMMDD HH24MISS")));
    db::Query query(s.get());
    const data::TableDump::Outcome done = dump.run(query);
    std::printf("%d\n", done.written);
    return done.written > 0 ? 0 : 1;
}

// A driver whose cursor hands out rows as they are fetched, as a streaming server does: the text
// the dump query's TO_CHARs would give, a NULL now and then. The rows come from a small pool made
// beforehand, so the driver itself costs next to nothing.
class MadeRows : public db::Cursor {
public:
    MadeRows(bool count, int rows) : m_count(count), m_rows(rows)
    {
        auto text = [](const QString& t) {
            db::Value v;
            v.kind = db::Value::Kind::Text;
            v.text = t;
            return v;
        };
        for (int i = 1; i <= 1000 && !count; ++i) {
            QVector<db::Value> row(8);
            row[0] = text(QString::number(i));
            row[1] = text(QStringLiteral("고객%1, 서울 \"본점\"").arg(i));
            row[2] = i % 7 == 0 ? db::Value()
                                : text(QStringLiteral("주문 메모 %1, 배송 \"빠름\" 요청").arg(i));
            row[3] = text(QString::number(i * 1.25, 'g', 15));
            row[4] = i % 5 == 0 ? db::Value() : text(QString::number(i / 1000.0, 'g', 15).mid(1));
            row[5] = text(QStringLiteral("2003%1%2 %3%4%5")
                              .arg(1 + i % 12, 2, 10, QLatin1Char('0'))
                              .arg(1 + i % 28, 2, 10, QLatin1Char('0'))
                              .arg(i % 24, 2, 10, QLatin1Char('0'))
                              .arg(i % 60, 2, 10, QLatin1Char('0'))
                              .arg((i * 7) % 60, 2, 10, QLatin1Char('0')));
            row[6] = text(QStringLiteral("ABCD").mid(i % 4) + QLatin1Char('X'));
            row[7] = i % 3 == 0 ? db::Value() : text(QStringLiteral("비고%1").arg(i));
            m_pool.append(row);
        }
    }
    void execute(const QHash<QString, db::BindValue>&) override {}
    QStringList columnNames() const override
    {
        return m_count ? QStringList{"COUNT(*)"} : QStringList{"ID",   "NAME",     "MEMO", "AMOUNT",
                                                               "RATE", "REG_DATE", "CODE", "NOTE"};
    }
    bool fetch(QVector<db::Value>& row) override
    {
        if (m_count) {
            if (m_next++ > 0)
                return false;
            db::Value n;
            n.kind = db::Value::Kind::Text;
            n.text = QString::number(m_rows);
            row = {n};
            return true;
        }
        if (m_next >= m_rows)
            return false;
        row = m_pool[m_next++ % m_pool.size()];
        return true;
    }

private:
    bool m_count;
    int m_rows;
    int m_next = 0;
    QList<QVector<db::Value>> m_pool;
};

class MadeRowsDriver : public db::Driver, public db::Connection {
public:
    explicit MadeRowsDriver(int rows) : m_rows(rows) {}
    std::unique_ptr<db::Connection> connect(const QString&, const QString&, const QString&) override
    {
        return std::make_unique<MadeRowsDriver>(m_rows);
    }
    std::unique_ptr<db::Cursor> prepare(const QString& sql) override
    {
        return std::make_unique<MadeRows>(sql.startsWith(QLatin1String("SELECT COUNT(*)")), m_rows);
    }
    void startTransaction() override {}
    void commit() override {}
    void rollback() override {}
    void disconnect() override {}

private:
    int m_rows;
};

int dumpMadeRows(const QDir& dir, int rows)
{
    db::setClientDriver(std::make_shared<MadeRowsDriver>(rows));
    db::Session s;
    s.setServer(QStringLiteral("MADE"));
    s.connect();
    data::TableDump dump(dir.filePath(QStringLiteral("MADE.TXT")),
                         QStringLiteral("SELECT * FROM MADE"));
    db::Query query(&s);
    const data::TableDump::Outcome done = dump.run(query);
    return done.written == rows ? 0 : 1;
}

struct Run {
    double seconds = 0;
    double cpuSeconds = 0;  // user + system: less disturbed by other work on the machine
    long peakKb = 0;
    int status = -1;
};

// Runs a program with its standard output sent to `output` and reads its time and peak memory.
Run runChild(const QList<QByteArray>& args, const QString& output)
{
    std::vector<char*> argv;
    for (const QByteArray& a : args)
        argv.push_back(const_cast<char*>(a.constData()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const QByteArray out = output.toLocal8Bit();
    posix_spawn_file_actions_addopen(&actions, 1, out.constData(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    Run run;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return run;
    }
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    run.seconds = double(timer.nsecsElapsed()) / 1e9;
    run.peakKb = usage.ru_maxrss;
    run.cpuSeconds = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                     double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    // Child modes: table_dump_bench --generate|--dump ROWS FOLDER
    if (args.size() == 4 && args[1].startsWith(QLatin1String("--"))) {
        const QDir dir(args[3]);
        setProgramFolderForTesting(dir.path());
        QTemporaryDir noScripts;
        db::embedded::setSeedScriptFolderForTesting(noScripts.path());
        try {
            if (args[1] == QLatin1String("--generate"))
                return generate(dir, args[2].toInt());
            if (args[1] == QLatin1String("--made"))
                return dumpMadeRows(dir, args[2].toInt());
            return dump(dir);
        } catch (const KolmaraError& e) {
            std::fprintf(stderr, "%s\n", qPrintable(e.message()));
            return 1;
        }
    }

    const int rows = args.size() > 1 ? qMax(1, args[1].toInt()) : 1000000;
    QTemporaryDir temporary;
    const QDir dir(args.size() > 2 ? args[2] : temporary.path());
    dir.mkpath(QStringLiteral("."));
    writeSettings(dir);
    const QByteArray self = QCoreApplication::applicationFilePath().toLocal8Bit();
    const QByteArray folder = dir.path().toLocal8Bit();
    const QByteArray count = QByteArray::number(rows);

    std::printf("table of %d rows x 8 columns in %s\n", rows, folder.constData());
    const Run made = runChild({self, "--generate", count, folder}, QStringLiteral("/dev/null"));
    if (made.status != 0) {
        std::fprintf(stderr, "could not build the table\n");
        return 1;
    }
    std::printf("built in %.1f s\n", made.seconds);

    const Run ours =
        runChild({self, "--dump", count, folder}, dir.filePath(QStringLiteral("dump.out")));
    const Run theirs =
        runChild({"sqlite3", "-csv", dir.filePath(QStringLiteral("bench.db")).toLocal8Bit(),
                  "SELECT * FROM \"SYS.BIG\""},
                 dir.filePath(QStringLiteral("sqlite3.csv")));
    const Run made2 = runChild({self, "--made", count, folder}, QStringLiteral("/dev/null"));
    if (ours.status != 0 || theirs.status != 0 || made2.status != 0) {
        std::fprintf(stderr, "a run failed (dump %d, sqlite3 %d)\n", ours.status, theirs.status);
        return 1;
    }
    const double oursRate = rows / ours.seconds;
    const double theirsRate = rows / theirs.seconds;
    auto line = [&](const char* name, const Run& r, const QString& file) {
        std::printf("%-13s %7.2f s (cpu %6.2f s)  %10.0f rows/s  peak %7.1f MB  file %7.1f MB\n",
                    name, r.seconds, r.cpuSeconds, rows / r.seconds, r.peakKb / 1024.0,
                    QFileInfo(dir.filePath(file)).size() / 1048576.0);
    };
    line("table dump", ours, QStringLiteral("BIG.TXT"));
    line("sqlite3 -csv", theirs, QStringLiteral("sqlite3.csv"));
    line("made rows", made2, QStringLiteral("MADE.TXT"));
    std::printf(
        "ratio         %.2fx"
        " sqlite3's rows per second (%.2fx by cpu time; target 0.7x); peak %s 256 MB\n",
        oursRate / theirsRate, theirs.cpuSeconds / ours.cpuSeconds,
        ours.peakKb / 1024.0 < 256 ? "under" : "over");
    std::printf("made rows     the dump alone over a streaming driver: %.2fx"
                " sqlite3's rows per second, peak %.1f MB\n",
                (rows / made2.seconds) / theirsRate, made2.peakKb / 1024.0);
    return 0;
}
