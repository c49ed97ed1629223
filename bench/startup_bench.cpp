// Times the main window from program start to connected: the application and its fonts, the main
// window shown, the demo login connected (the database created and seeded first when its file is
// missing) with the account list filled. Each run is a process of its own, as a user starts the
// program; the parent hands each child the moment it started it, and the child reports the time
// from then to connected.
//
//   QT_QPA_PLATFORM=offscreen startup_bench [runs]       first runs (each on a new folder), then
//                                                        warm runs (the database exists)
//   startup_bench --child FOLDER START_NS                one run; prints "FIGURE seconds"
#include "app/KOLM000U.h"
#include "common/KOLMCOMM.h"
#include "widgets/Fonts.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace {

qint64 monotonicNs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

int child(int argc, char** argv)
{
    const qint64 started = QByteArray(argv[3]).toLongLong();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    kolmara::setProgramFolderForTesting(QString::fromLocal8Bit(argv[2]));
    // As the program starts (app/Application.cpp), less the event loop.
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kolmara"));
    kolmara::ui::installFontSubstitutions();
    QApplication::setFont(kolmara::ui::gulimChe(12));
    kolmara::app::TKOLM000F::setAutoConnectEnabled(false);
    kolmara::app::TKOLM000F main;
    main.showMaximized();
    QApplication::processEvents();
    if (!main.ConnectDatabase(QStringLiteral("DEMO"), QStringLiteral("SYSTEM"),
                              QStringLiteral("MANAGER")))
        return 1;
    main.enableCommands();
    QApplication::processEvents();
    std::printf("FIGURE %.6f\n", double(monotonicNs() - started) / 1e9);
    return 0;
}

double runChild(const QByteArray& self, const QByteArray& folder)
{
    const QByteArray start = QByteArray::number(monotonicNs());
    const char* args[] = {self.constData(), "--child", folder.constData(), start.constData(),
                          nullptr};
    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    pid_t pid = 0;
    const int rc =
        posix_spawn(&pid, self.constData(), &actions, nullptr, const_cast<char**>(args), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (rc != 0) {
        close(fds[0]);
        return -1;
    }
    QByteArray out;
    char buffer[256];
    for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;)
        out.append(buffer, n);
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    const int at = out.indexOf("FIGURE ");
    return at < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0
               ? -1
               : out.mid(at + 7).trimmed().toDouble();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && QByteArray(argv[1]) == "--child")
        return child(argc, argv);
    const int runs = argc > 1 ? qMax(1, QByteArray(argv[1]).toInt()) : 5;
    QTemporaryDir temporary;
    const QByteArray self = QFile::encodeName(QString::fromLocal8Bit(argv[0]));
    QList<double> first, warm;
    for (int i = 0; i < runs; ++i) {
        const QString folder = temporary.filePath(QStringLiteral("run%1").arg(i));
        QDir().mkpath(folder);
        QFile ini(folder + QStringLiteral("/KOLMARA.INI"));
        if (!ini.open(QIODevice::WriteOnly))
            return 1;
        ini.write("[Embedded Databases]\r\nDEMO=KOLMDEMO.DB\r\n");
        ini.close();
        first.append(runChild(self, QFile::encodeName(folder)));
        warm.append(runChild(self, QFile::encodeName(folder)));
    }
    for (auto* list : {&first, &warm})
        std::sort(list->begin(), list->end());
    std::printf("start to connected, first run (database created)  median %7.1f ms\n",
                first[runs / 2] * 1000);
    std::printf("start to connected, warm                           median %7.1f ms\n",
                warm[runs / 2] * 1000);
    return first.first() < 0 || warm.first() < 0 ? 1 : 0;
}
