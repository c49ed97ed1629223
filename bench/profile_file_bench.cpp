// Times the settings-file changes that touch many lines: deleting a section of N keys that
// stands before N further sections (a change that moved every later line once per deleted key
// would be quadratic), and writing one key into such a file. Prints milliseconds; asserts nothing.
//
//   profile_file_bench [N ...]      (default 20000 50000)
#include "common/ProfileFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

using kolmara::ProfileFile;

namespace {

void writeFile(const QString& path, int n)
{
    QByteArray bytes = "[Big]\r\n";
    for (int i = 0; i < n; ++i)
        bytes += "key" + QByteArray::number(i) + "=value " + QByteArray::number(i) + "\r\n";
    for (int i = 0; i < n; ++i)
        bytes += "[Section " + QByteArray::number(i) + "]\r\n";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QList<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.append(QByteArray(argv[i]).toInt());
    if (sizes.isEmpty())
        sizes = {20000, 50000};

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("KOLMARA.INI"));
    for (int n : sizes) {
        writeFile(path, n);
        QElapsedTimer timer;
        timer.start();
        ProfileFile(path).writeString(QStringLiteral("Big"), QStringLiteral("key0"),
                                      QStringLiteral("changed"));
        const double write = timer.nsecsElapsed() / 1e6;
        timer.restart();
        ProfileFile(path).deleteSection(QStringLiteral("Big"));
        const double remove = timer.nsecsElapsed() / 1e6;
        std::printf("%6d keys + %6d sections:  writeString %8.1f ms   deleteSection %8.1f ms\n", n,
                    n, write, remove);
    }
    return 0;
}
