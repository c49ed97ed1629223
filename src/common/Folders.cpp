// The choice of the folders the program keeps its files in.
#include "common/Folders.h"

#include "common/Errors.h"
#include "common/ProfileFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

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
        if (!QFile::copy(seed, choice.settingsFile)) {
            qWarning("Kolmara: cannot copy %s to %s", qPrintable(QDir::toNativeSeparators(seed)),
                     qPrintable(QDir::toNativeSeparators(choice.settingsFile)));
            return choice;
        }
        // A copy keeps the permissions of a read-only delivered file; this one is the user's.
        QFile::setPermissions(choice.settingsFile, QFile::permissions(choice.settingsFile) |
                                                       QFile::ReadOwner | QFile::WriteOwner);
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

void setProgramFolderForTesting(const QString& folder)
{
    g_programFolderOverride = folder;
}

}  // namespace kolmara
