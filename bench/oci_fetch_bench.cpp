// Reads generated rows through the Oracle client driver and the stand-in client library of the
// tests, forward-only (one batch of buffers whatever the count) and then fetch-all, and prints
// rows per second and the process's peak memory after each read. Asserts nothing.
//
//   oci_fetch_bench [rows] [stand-in libclntsh.so]     (default 1000000 rows; 8 columns a row)
#include "common/KOLMCOMM.h"
#include "db/Query.h"
#include "db/Session.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>

namespace {

long peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

void read(kolmara::db::Session& session, const QString& table, bool forwardOnly)
{
    kolmara::db::Query q(&session);
    q.setForwardOnly(forwardOnly);
    q.addSql(QStringLiteral("SELECT * FROM ") + table);
    QElapsedTimer timer;
    timer.start();
    q.open();
    qint64 rows = 0;
    qint64 bytes = 0;
    for (q.first(); !q.eof(); q.next()) {
        ++rows;
        for (int i = 0; i < q.fieldCount(); ++i)
            bytes += q.field(i).asText().size();
    }
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    std::printf("%-12s %-13s %9lld rows  %8.0f rows/s  peak %5ld MB\n", qPrintable(table),
                forwardOnly ? "forward-only" : "fetch-all", rows, double(rows) / seconds,
                peakMegabytes());
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000000;
#ifdef KOLMARA_STANDIN
    QString standIn = QStringLiteral(KOLMARA_STANDIN);
#else
    QString standIn;
#endif
    if (argc > 2)
        standIn = QString::fromLocal8Bit(argv[2]);
    if (standIn.isEmpty() || !QFile::exists(standIn)) {
        std::fprintf(stderr, "usage: oci_fetch_bench [rows] [stand-in libclntsh.so]\n");
        return 2;
    }
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("client"));
    QFile::copy(standIn, dir.filePath(QStringLiteral("client/libclntsh.so")));
    QFile ini(dir.filePath(QStringLiteral("KOLMARA.INI")));
    ini.open(QIODevice::WriteOnly);
    ini.write("[System Version]\r\nOracle Client=client\r\n");
    ini.close();
    const QString columns = QStringLiteral(
        "[{\"name\":\"ID\",\"type\":2},{\"name\":\"NAME\",\"type\":1,\"size\":40},{\"name\":"
        "\"CITY\",\"type\":1,\"size\":30},"
        "{\"name\":\"AMOUNT\",\"type\":2},{\"name\":\"CODE\",\"type\":96,\"size\":4},{\"name\":"
        "\"NOTE\",\"type\":1,\"size\":200},"
        "{\"name\":\"QTY\",\"type\":2},{\"name\":\"TAG\",\"type\":1,\"size\":20}]");
    QFile script(dir.filePath(QStringLiteral("script.json")));
    script.open(QIODevice::WriteOnly);
    script.write(
        QStringLiteral("{\"services\":{\"ORCL\":{\"users\":{\"SCOTT\":\"TIGER\"}}},\"statements\":["
                       "{\"match\":\"FROM SMALL\",\"columns\":%1,\"generate\":%2},"
                       "{\"match\":\"FROM BIG\",\"columns\":%1,\"generate\":%3}]}")
            .arg(columns)
            .arg(rows / 10)
            .arg(rows)
            .toUtf8());
    script.close();
    qputenv("KOLMARA_STANDIN_SCRIPT", QFile::encodeName(script.fileName()));
    kolmara::setProgramFolderForTesting(dir.path());

    kolmara::db::Session session;
    session.setServer(QStringLiteral("ORCL"));
    session.setUsername(QStringLiteral("SCOTT"));
    session.setPassword(QStringLiteral("TIGER"));
    session.connect();
    std::printf("after logon                                                   peak %5ld MB\n",
                peakMegabytes());
    read(session, QStringLiteral("SMALL"), true);
    read(session, QStringLiteral("BIG"), true);
    read(session, QStringLiteral("SMALL"), false);
    return 0;
}
