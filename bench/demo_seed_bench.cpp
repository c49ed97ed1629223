// Times the creation of the demo database: the first logon to a missing file builds it from the
// demo scripts. Each run logs on to a fresh file in a temporary folder as SYSTEM, with the engine
// clock one second further on, so the process-wide copy of finished databases (kept per seed
// folder and clock) never serves it and every run seeds for real. Then times the first query on
// the new file, the session list as the sessions screen reads it. Prints milliseconds; asserts
// nothing.
//
//   demo_seed_bench [runs] [folder]      (default 7 runs; with a folder, the databases stay there)
#include "db/embedded/Engine.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using kolmara::db::embedded::EngineSession;

namespace {

struct Figures {
    QList<double> values;
    void add(double ms) { values.append(ms); }
    double min() const { return *std::min_element(values.begin(), values.end()); }
    double median() const
    {
        QList<double> sorted = values;
        std::sort(sorted.begin(), sorted.end());
        return sorted[sorted.size() / 2];
    }
};

void report(const char* what, const Figures& f)
{
    std::printf("%-44s min %8.1f ms   median %8.1f ms   (%lld runs)\n", what, f.min(), f.median(),
                static_cast<long long>(f.values.size()));
}

const QString kSessionList = QStringLiteral(
    "SELECT SID, SERIAL#, USERNAME, COMMAND, LOCKWAIT, STATUS, SERVER, OSUSER, PROCESS, MACHINE,"
    " TERMINAL, PROGRAM, TO_CHAR(LOGON_TIME,'YYYY-MM-DD HH24:MI:SS') LOGON_TIME, TYPE, MODULE"
    " FROM V$SESSION WHERE STATUS LIKE :STATUS");

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? qMax(1, QByteArray(argv[1]).toInt()) : 7;

    QTemporaryDir temporary;
    const QDir dir(argc > 2 ? QString::fromLocal8Bit(argv[2]) : temporary.path());
    if (argc <= 2 && !temporary.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    const QDateTime start(QDate(2003, 5, 15), QTime(14, 0, 0));
    Figures create, firstQuery, total;
    for (int i = 0; i < runs; ++i) {
        const QDateTime now = start.addSecs(i);
        kolmara::db::embedded::setEngineClockForTesting([now] { return now; });
        const QString file = dir.filePath(QStringLiteral("run%1/demo.db").arg(i));
        QElapsedTimer timer;
        timer.start();
        try {
            auto session =
                EngineSession::open(file, QStringLiteral("SYSTEM"), QStringLiteral("MANAGER"));
            const double opened = double(timer.nsecsElapsed()) / 1e6;
            QElapsedTimer query;
            query.start();
            kolmara::db::BindValue status;
            status.kind = kolmara::db::BindValue::Kind::Text;
            status.text = QStringLiteral("%");
            const auto rows =
                session->execute(kSessionList, {{QStringLiteral("STATUS"), status}})->readAll();
            const double queried = double(query.nsecsElapsed()) / 1e6;
            if (rows.isEmpty()) {
                std::fprintf(stderr, "the session list is empty\n");
                return 1;
            }
            create.add(opened);
            firstQuery.add(queried);
            total.add(double(timer.nsecsElapsed()) / 1e6);
        } catch (const kolmara::db::DatabaseError& e) {
            std::fprintf(stderr, "%s\n", qPrintable(e.message()));
            return 1;
        }
    }
    kolmara::db::embedded::setEngineClockForTesting({});
    report("create + seed + first logon (SYSTEM)", create);
    report("first session list (V$SESSION)", firstQuery);
    report("both", total);
    return 0;
}
