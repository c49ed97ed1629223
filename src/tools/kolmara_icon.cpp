// kolmara-icon FOLDER SIZE...: writes the program icon as kolmara-SIZE.png in FOLDER for each
// size, for the desktop entry of the installed program. Run by the build; it needs no display.
#include "app/AppIcon.h"

#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    QList<int> sizes;
    for (const QString& arg : args.mid(2)) {
        bool ok = false;
        const int size = arg.toInt(&ok);
        if (!ok || size < 1 || size > 1024) {
            err << "not an icon size: " << arg << Qt::endl;
            return 2;
        }
        sizes << size;
    }
    if (sizes.isEmpty()) {
        err << "usage: kolmara-icon FOLDER SIZE..." << Qt::endl;
        return 2;
    }
    const QDir folder(args[1]);
    if (!folder.mkpath(QStringLiteral("."))) {
        err << "cannot create " << QDir::toNativeSeparators(folder.path()) << Qt::endl;
        return 1;
    }
    for (int size : sizes) {
        const QString file = folder.filePath(QStringLiteral("kolmara-%1.png").arg(size));
        if (!kolmara::app::programIconImage(size).save(file, "PNG")) {
            err << "cannot write " << QDir::toNativeSeparators(file) << Qt::endl;
            return 1;
        }
    }
    return 0;
}
