// The choice of the folders the program keeps its files in.
#include "common/Folders.h"

#include "common/Errors.h"
#include "common/ProfileFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

// The installed layout: the delivered files' folder relative to the programs' folder, set by the
// build from its install directories.
#ifndef KOLMARA_DATA_FROM_BIN
#define KOLMARA_DATA_FROM_BIN "../share"
#endif

namespace kolmara {

namespace {

const QString kSettingsName = QStringLiteral("KOLMARA.INI");
const QString kFolderName = QStringLiteral("kolmara");

QString g_programFolderOverride;

QString withTrailingSeparator(QString folder)
{
    if (!folder.endsWith(QLatin1Char('/')) && !folder.endsWith(QLatin1Char('\\')))
        folder += QLatin1Char('/');
    return folder;
}

QString realProgramFolder()
{
    if (QCoreApplication::instance())
        return withTrailingSeparator(QCoreApplication::applicationDirPath());
    return withTrailingSeparator(QDir::currentPath());
}

// The settings are saved by replacing the file (a temporary file in the folder, then a rename),
// so both the folder and the file must be writable.
bool settingsWritableIn(const QString& folder)
{
    const QFileInfo file(QDir(folder).filePath(kSettingsName));
    return file.isFile() && file.isWritable() && QFileInfo(folder).isWritable();
}

// A user's settings carried over from the delivered file get their own backup folder, which no
// delivered file can know.
void pointEmptyBackupFolderAtHome(const QString& settingsFile, const QString& homeFolder)
{
    ProfileFile ini(settingsFile);
    const QString section = QStringLiteral("System Version");
    const QString key = QStringLiteral("BackupDrive");
    if (!ini.readString(section, key).trimmed().isEmpty() || homeFolder.isEmpty())
        return;
    ini.writeString(section, key,
                    QDir::toNativeSeparators(withTrailingSeparator(
                        QDir(homeFolder).filePath(QStringLiteral("Kolmara")))));
}

// The user's own copy of a settings file: off Windows readable and writable by the user alone
// (0600) from its creation, as it will keep saved passwords, whatever the mode of the copied file
// (a read-only delivered one, a shared one beside the program). An existing file is not replaced.
bool copyForThisUser(const QString& from, const QString& to)
{
#ifdef _WIN32
    if (!QFile::copy(from, to))
        return false;
    QFile::setPermissions(to, QFile::permissions(to) | QFile::ReadOwner | QFile::WriteOwner);
    return true;
#else
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = source.readAll();
    const int fd = ::open(QFile::encodeName(to).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd < 0)
        return false;
    QFile copy;
    if (!copy.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        QFile::remove(to);
        return false;
    }
    const bool written = copy.write(bytes) == bytes.size() && copy.flush();
    copy.close();
    if (!written)
        QFile::remove(to);
    return written;
#endif
}

// Settled once per run, after the application object exists (the program folder comes from it).
FolderChoice realChoice()
{
    if (!QCoreApplication::instance())
        return settleFolders(FolderCandidates::ofThisProgram());
    static const FolderChoice choice = settleFolders(FolderCandidates::ofThisProgram());
    return choice;
}

}  // namespace

FolderCandidates FolderCandidates::ofThisProgram()
{
    FolderCandidates c;
    c.programFolder = realProgramFolder();
    c.programSettingsWritable = settingsWritableIn(c.programFolder);
    c.userConfigFolder =
        QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
            .filePath(kFolderName);
    c.userDataFolder = QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
                           .filePath(kFolderName);
    c.deliveredSettings =
        QDir::cleanPath(QDir(c.programFolder)
                            .filePath(QStringLiteral(KOLMARA_DATA_FROM_BIN "/") + kFolderName +
                                      QLatin1Char('/') + kSettingsName));
    c.homeFolder = QDir::homePath();
    return c;
}

FolderChoice settleFolders(const FolderCandidates& candidates)
{
    FolderChoice choice;
    const QString besideProgram = QDir(candidates.programFolder).filePath(kSettingsName);
    if (candidates.programSettingsWritable) {
        choice.settingsFile = besideProgram;
        choice.dataFolder = withTrailingSeparator(candidates.programFolder);
        return choice;
    }

    choice.settingsFile = QDir(candidates.userConfigFolder).filePath(kSettingsName);
    choice.dataFolder = withTrailingSeparator(candidates.userDataFolder);
    QDir().mkpath(candidates.userDataFolder);
    if (QFileInfo::exists(choice.settingsFile))
        return choice;
    if (!QDir().mkpath(candidates.userConfigFolder)) {
        qWarning("Kolmara: cannot create the settings folder %s",
                 qPrintable(QDir::toNativeSeparators(candidates.userConfigFolder)));
        return choice;
    }
    for (const QString& seed : {besideProgram, candidates.deliveredSettings}) {
        if (seed.isEmpty() || !QFileInfo(seed).isFile())
            continue;
        if (!copyForThisUser(seed, choice.settingsFile)) {
            qWarning("Kolmara: cannot copy %s to %s", qPrintable(QDir::toNativeSeparators(seed)),
                     qPrintable(QDir::toNativeSeparators(choice.settingsFile)));
            return choice;
        }
        choice.seededFrom = seed;
        try {
            pointEmptyBackupFolderAtHome(choice.settingsFile, candidates.homeFolder);
        } catch (const KolmaraError&) {
            // The copy is in place; the backup folder stays as delivered.
        }
        break;
    }
    return choice;
}

QString programFolder()
{
    if (!g_programFolderOverride.isEmpty())
        return withTrailingSeparator(g_programFolderOverride);
    return realProgramFolder();
}

QString settingsFilePath()
{
    if (!g_programFolderOverride.isEmpty())
        return programFolder() + kSettingsName;
    return realChoice().settingsFile;
}

QString dataFolder()
{
    if (!g_programFolderOverride.isEmpty())
        return programFolder();
    return realChoice().dataFolder;
}

QString fileNameFor(const QString& name)
{
    static const QString kForbidden = QStringLiteral("\\/:*?\"<>|");
    QString safe = name;
    bool onlyDots = !safe.isEmpty();
    for (QChar& c : safe) {
        if (c.unicode() < 0x20 || kForbidden.contains(c))
            c = QLatin1Char('_');
        onlyDots = onlyDots && c == QLatin1Char('.');
    }
    if (onlyDots)
        safe.fill(QLatin1Char('_'));
    return safe;
}

void setProgramFolderForTesting(const QString& folder)
{
    g_programFolderOverride = folder;
}

}  // namespace kolmara
