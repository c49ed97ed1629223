// The benchmark table: runs each benchmark several times, each run a process of its own, beside
// its anchor (the same work done by the plain tool a DBA would compare with), and prints the
// medians with their ratio and the peak resident memory of each side. bench/run builds the
// benchmarks and calls it; asserts nothing.
//
//   bench_table BENCH_DIR BIN_DIR WORK_DIR [runs] [dump rows]      (default 5 runs, 1 000 000 rows)
//
// BENCH_DIR holds the benchmark programs, BIN_DIR kolmara-sql; WORK_DIR receives the databases
// and dump files. The sqlite3 command-line shell must be on the PATH.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMap>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

struct Run {
    double seconds = 0;
    double cpuSeconds = 0;  // user + system: what the machine's other work disturbs least
    double peakMb = 0;
    int status = -1;
    QByteArray output;  // standard output, unless it went to a file
};

qint64 monotonicNs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// Runs a program to its end; its standard output goes to `outputFile`, or is kept when that is
// empty. Standard error is dropped unless KOLMARA_BENCH_VERBOSE is set.
Run run(const QList<QByteArray>& args, const QString& outputFile = {})
{
    std::vector<char*> argv;
    for (const QByteArray& a : args)
        argv.push_back(const_cast<char*>(a.constData()));
    argv.push_back(nullptr);
    int fds[2] = {-1, -1};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const QByteArray file = QFile::encodeName(outputFile);
    if (outputFile.isEmpty()) {
        if (pipe(fds) != 0)
            return {};
        posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
    } else {
        posix_spawn_file_actions_addopen(&actions, 1, file.constData(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    if (qEnvironmentVariableIsEmpty("KOLMARA_BENCH_VERBOSE"))
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    Run r;
    const qint64 start = monotonicNs();
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (fds[1] >= 0)
        close(fds[1]);
    if (rc != 0) {
        if (fds[0] >= 0)
            close(fds[0]);
        std::fprintf(stderr, "cannot start %s\n", argv[0]);
        return r;
    }
    if (fds[0] >= 0) {
        char buffer[4096];
        for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;)
            r.output.append(buffer, n);
        close(fds[0]);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    r.seconds = double(monotonicNs() - start) / 1e9;
    r.peakMb = usage.ru_maxrss / 1024.0;
    r.cpuSeconds = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                   double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

double median(QList<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The values after "FIGURE " on the lines of a run's output, tab or blank separated.
QList<QByteArrayList> figures(const QByteArray& output)
{
    QList<QByteArrayList> lines;
    for (const QByteArray& line : output.split('\n'))
        if (line.startsWith("FIGURE "))
            lines.append(line.mid(7).split(line.contains('\t') ? '\t' : ' '));
    return lines;
}

struct Row {
    QString what;
    QString ours;
    QString anchor;
    QString ratio;
    QString memory;
    QString target;
};
QList<Row> g_rows;
bool g_failed = false;

QString seconds(double s)
{
    if (s < 0.001)
        return QStringLiteral("%1 µs").arg(s * 1e6, 0, 'f', 0);
    if (s < 1)
        return QStringLiteral("%1 ms").arg(s * 1e3, 0, 'f', s < 0.01 ? 1 : 0);
    return QStringLiteral("%1 s").arg(s, 0, 'f', 2);
}
QString megabytes(double ours, double anchor = -1)
{
    const QString a = QStringLiteral("%1 MB").arg(ours, 0, 'f', 0);
    return anchor < 0 ? a
                      : a + QStringLiteral(" / ") + QStringLiteral("%1 MB").arg(anchor, 0, 'f', 0);
}
// 1000000 as "1 000 000".
QString grouped(qint64 n)
{
    QString digits = QString::number(n);
    for (int i = int(digits.size()) - 3; i > 0; i -= 3)
        digits.insert(i, QLatin1Char(' '));
    return digits;
}
QString times(double x) { return QStringLiteral("%1×").arg(x, 0, 'f', 2); }

void progress(const char* what)
{
    std::fprintf(stderr, "  %s...\n", what);
}

void failed(const QString& what)
{
    std::fprintf(stderr, "bench_table: %s failed\n", qPrintable(what));
    g_failed = true;
}

void writeSettings(const QString& folder, const QByteArray& entries)
{
    QDir().mkpath(folder);
    QFile ini(folder + QStringLiteral("/KOLMARA.INI"));
    if (ini.open(QIODevice::WriteOnly))
        ini.write("[Embedded Databases]\r\n" + entries);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: bench_table BENCH_DIR BIN_DIR WORK_DIR [runs] [dump rows]\n");
        return 2;
    }
    const QDir bench(args[1]);
    const QDir bin(args[2]);
    const QDir work(args[3]);
    const int runs = args.size() > 4 ? qMax(1, args[4].toInt()) : 5;
    const int dumpRows = args.size() > 5 ? qMax(1, args[5].toInt()) : 1000000;
    work.mkpath(QStringLiteral("."));
    auto program = [&](const QDir& dir, const char* name) {
        return QFile::encodeName(dir.filePath(QLatin1String(name)));
    };

    // The grid: the same cells into the string grid and into a QTableWidget.
    progress("grid fill");
    {
        QList<double> ours, theirs, oursMb, theirsMb;
        for (int i = 0; i < runs; ++i) {
            for (const char* kind : {"string-grid", "table-widget"}) {
                const Run r = run({program(bench, "grid_fill_bench"), "--fill", kind});
                const auto f = figures(r.output);
                if (r.status != 0 || f.isEmpty()) {
                    failed(QStringLiteral("grid_fill_bench --fill ") + QLatin1String(kind));
                    continue;
                }
                (kind[0] == 's' ? ours : theirs).append(f[0][0].toDouble());
                (kind[0] == 's' ? oursMb : theirsMb).append(r.peakMb);
            }
        }
        const double o = median(ours), t = median(theirs);
        g_rows.append(
            {QStringLiteral("Fill 100 000 × 15 cells"), QStringLiteral("string grid ") + seconds(o),
             QStringLiteral("QTableWidget ") + seconds(t), times(t / o) + QStringLiteral(" faster"),
             megabytes(median(oursMb), median(theirsMb)), QStringLiteral("≥ 10× faster, < 0.1 s")});
    }

    // The dictionary statements: through db::Query, and their translation on SQLite directly.
    progress("dictionary statements");
    {
        QMap<QString, QList<double>> ours, theirs;
        QStringList order;
        QList<double> mb;
        for (int i = 0; i < runs; ++i) {
            const Run r = run({program(bench, "dictionary_bench"), "--table", "200"});
            if (r.status != 0) {
                failed(QStringLiteral("dictionary_bench --table"));
                continue;
            }
            mb.append(r.peakMb);
            for (const QByteArrayList& f : figures(r.output)) {
                const QString name = QString::fromUtf8(f.value(0));
                if (!order.contains(name))
                    order.append(name);
                ours[name].append(f.value(1).toDouble());
                theirs[name].append(f.value(2).toDouble());
            }
        }
        for (const QString& name : order) {
            const double o = median(ours[name]), t = median(theirs[name]);
            g_rows.append({QStringLiteral("Dictionary statement %1 through db::Query").arg(name),
                           seconds(o), QStringLiteral("translated SQL on SQLite ") + seconds(t),
                           times(o / t), megabytes(median(mb)), QStringLiteral("≤ 1.2×")});
        }
    }

    // One statement as a whole kolmara-sql process, against the sqlite3 shell on the same file.
    progress("kolmara-sql");
    {
        // A copy of the program beside settings of its own keeps its database in that folder.
        const QString folder = work.filePath(QStringLiteral("cli"));
        QDir(folder).removeRecursively();
        writeSettings(folder, "DEMO=KOLMDEMO.DB\r\n");
        QFile::copy(bin.filePath(QStringLiteral("kolmara-sql")),
                    folder + QStringLiteral("/kolmara-sql"));
        const QByteArray sql = "SELECT ENAME, SAL FROM EMP WHERE DEPTNO = 10";
        const QByteArray sqliteSql = "SELECT ENAME, SAL FROM \"SCOTT.EMP\" WHERE DEPTNO = 10";
        const QList<QByteArray> ours = {QFile::encodeName(folder + QStringLiteral("/kolmara-sql")),
                                        "DEMO", "SCOTT/TIGER", sql};
        const Run created = run(ours);  // the first run creates the database
        // The shell reads a copy of its own: a reading kolmara-sql leaves its write-ahead log to
        // the next logon, which the shell, closing last, would otherwise copy into the file on its
        // time.
        const QString anchorFile = work.filePath(QStringLiteral("cli-anchor.db"));
        QFile::remove(anchorFile);
        QFile::copy(folder + QStringLiteral("/KOLMDEMO.DB"), anchorFile);
        QList<double> o, t, oCpu, tCpu, oMb, tMb;
        for (int i = 0; i < runs && created.status == 0; ++i) {
            const Run a = run(ours);
            const Run b = run({"sqlite3", QFile::encodeName(anchorFile), sqliteSql});
            if (a.status != 0 || b.status != 0) {
                failed(QStringLiteral("kolmara-sql or sqlite3"));
                break;
            }
            o.append(a.seconds);
            t.append(b.seconds);
            oCpu.append(a.cpuSeconds);
            tCpu.append(b.cpuSeconds);
            oMb.append(a.peakMb);
            tMb.append(b.peakMb);
        }
        if (created.status != 0)
            failed(QStringLiteral("kolmara-sql (first run)"));
        g_rows.append({QStringLiteral("One statement as a whole kolmara-sql process"),
                       seconds(median(o)) + QStringLiteral(" (cpu ") + seconds(median(oCpu)) +
                           QLatin1Char(')'),
                       QStringLiteral("sqlite3 shell ") + seconds(median(t)) +
                           QStringLiteral(" (cpu ") + seconds(median(tCpu)) + QLatin1Char(')'),
                       times(median(o) / median(t)) + QStringLiteral(" (cpu ") +
                           times(median(oCpu) / median(tCpu)) + QLatin1Char(')'),
                       megabytes(median(oMb), median(tMb)), QStringLiteral("≤ 2×")});
    }

    // The dump of a big table, against sqlite3 -csv on the same rows.
    progress("table dump");
    {
        const QString folder = work.filePath(QStringLiteral("dump"));
        QDir(folder).removeRecursively();
        writeSettings(folder, "BENCH=bench.db\r\n");
        const QByteArray count = QByteArray::number(dumpRows);
        const QByteArray dir = QFile::encodeName(folder);
        const Run made = run({program(bench, "table_dump_bench"), "--generate", count, dir});
        QList<double> o, t, oMb, tMb;
        for (int i = 0; i < runs && made.status == 0; ++i) {
            const Run a = run({program(bench, "table_dump_bench"), "--dump", count, dir},
                              QStringLiteral("/dev/null"));
            const Run b =
                run({"sqlite3", "-csv", QFile::encodeName(folder + QStringLiteral("/bench.db")),
                     "SELECT * FROM \"SYS.BIG\""},
                    folder + QStringLiteral("/sqlite3.csv"));
            if (a.status != 0 || b.status != 0) {
                failed(QStringLiteral("table_dump_bench --dump or sqlite3 -csv"));
                break;
            }
            o.append(a.seconds);
            t.append(b.seconds);
            oMb.append(a.peakMb);
            tMb.append(b.peakMb);
        }
        if (made.status != 0)
            failed(QStringLiteral("table_dump_bench --generate"));
        const double oRate = dumpRows / median(o), tRate = dumpRows / median(t);
        g_rows.append(
            {QStringLiteral("Dump %1 rows × 8 columns").arg(grouped(dumpRows)),
             QStringLiteral("%1 rows/s (%2)").arg(grouped(qint64(oRate))).arg(seconds(median(o))),
             QStringLiteral("sqlite3 -csv %1 rows/s (%2)")
                 .arg(grouped(qint64(tRate)))
                 .arg(seconds(median(t))),
             times(oRate / tRate), megabytes(median(oMb), median(tMb)),
             QStringLiteral("≥ 0.7×, < 256 MB")});
        QFile::remove(folder + QStringLiteral("/sqlite3.csv"));
    }

    // The main window from start to connected: on a new folder (the demo database is created),
    // then again on the same folder.
    progress("start to connected");
    {
        QList<double> first, warm, firstMb, warmMb;
        for (int i = 0; i < runs; ++i) {
            const QString folder = work.filePath(QStringLiteral("start%1").arg(i));
            QDir(folder).removeRecursively();
            writeSettings(folder, "DEMO=KOLMDEMO.DB\r\n");
            for (bool isFirst : {true, false}) {
                const Run r = run({program(bench, "startup_bench"), "--child",
                                   QFile::encodeName(folder), QByteArray::number(monotonicNs())});
                const auto f = figures(r.output);
                if (r.status != 0 || f.isEmpty()) {
                    failed(QStringLiteral("startup_bench --child"));
                    continue;
                }
                (isFirst ? first : warm).append(f[0][0].toDouble());
                (isFirst ? firstMb : warmMb).append(r.peakMb);
            }
            QDir(folder).removeRecursively();
        }
        g_rows.append({QStringLiteral("Start to connected, first run (demo database created)"),
                       seconds(median(first)), QStringLiteral("—"), QStringLiteral("—"),
                       megabytes(median(firstMb)), QStringLiteral("—")});
        g_rows.append({QStringLiteral("Start to connected, warm"), seconds(median(warm)),
                       QStringLiteral("—"), QStringLiteral("—"), megabytes(median(warmMb)),
                       QStringLiteral("—")});
    }

    std::printf("\n"
                "Medians of %d runs; peak memory is the resident high-water mark of each process"
                " (Kolmara / anchor).\n\n", runs);
    std::printf("| What | Kolmara | Anchor | Ratio | Peak memory | Target |\n"
                "|---|---|---|---|---|---|\n");
    for (const Row& r : g_rows)
        std::printf("| %s | %s | %s | %s | %s | %s |\n", qPrintable(r.what), qPrintable(r.ours),
                    qPrintable(r.anchor), qPrintable(r.ratio), qPrintable(r.memory),
                    qPrintable(r.target));
    return g_failed ? 1 : 0;
}
