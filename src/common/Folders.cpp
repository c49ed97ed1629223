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
// The settings file read in place of the user's own and why it cannot be saved, once settled.
QString g_unsavedSettingsFile;
QString g_unsavedReason;

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
    static const FolderChoice choice = [] {
        FolderChoice settled = settleFolders(FolderCandidates::ofThisProgram());
        if (!settled.unsavedReason.isEmpty()) {
            g_unsavedSettingsFile = QFileInfo(settled.settingsFile).absoluteFilePath();
            g_unsavedReason = settled.unsavedReason;
        }
        return settled;
    }();
    return choice;
}

// A settings file the program can read: a file, not a folder in its place, that opens.
bool readableFile(const QString& path)
{
    QFile file(path);
    return QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly);
}

// Databases of a user whose data folder cannot be made: a folder of theirs alone, never one that
// someone else prepared.
bool ownFolder(const QString& folder)
{
    if (!QDir().mkpath(folder))
        return false;
    const QFileInfo info(folder);
#ifndef _WIN32
    if (info.ownerId() != ::getuid())
        return false;
#endif
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return info.isDir() && info.isWritable();
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
#ifdef _WIN32
    const QString user = qEnvironmentVariable("USERNAME");
#else
    const QString user = QString::number(::getuid());
#endif
    c.fallbackDataFolder = QDir(QDir::tempPath()).filePath(kFolderName + QLatin1Char('-') + user);
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
    const bool dataFolderMade = QDir().mkpath(candidates.userDataFolder) &&
                                QFileInfo(candidates.userDataFolder).isWritable();
    if (!dataFolderMade && !candidates.fallbackDataFolder.isEmpty() &&
        ownFolder(candidates.fallbackDataFolder)) {
        choice.dataFolder = withTrailingSeparator(candidates.fallbackDataFolder);
        qWarning("Kolmara: cannot create the data folder %s; the embedded databases are kept in %s",
                 qPrintable(QDir::toNativeSeparators(candidates.userDataFolder)),
                 qPrintable(QDir::toNativeSeparators(candidates.fallbackDataFolder)));
    }
    if (QFileInfo::exists(choice.settingsFile) && readableFile(choice.settingsFile))
        return choice;
    const QString firstSeed = [&] {
        for (const QString& seed : {besideProgram, candidates.deliveredSettings})
            if (!seed.isEmpty() && readableFile(seed))
                return seed;
        return QString();
    }();
    // The user's own settings cannot be had: the program still reads the file it would have
    // copied, so the embedded databases registered there stay embedded, and says why changes
    // cannot be saved.
    auto readInPlace = [&](const QString& why) {
        choice.unsavedReason = QStringLiteral("설정을 저장할 수 없습니다: %1.").arg(why);
        if (!firstSeed.isEmpty()) {
            choice.settingsFile = firstSeed;
            choice.unsavedReason += QStringLiteral(" 설정은 %1 에서 읽기만 하며, 바꾼 설정은 저장되지 않습니다.")
                                        .arg(QDir::toNativeSeparators(firstSeed));
        }
        qWarning("Kolmara: %s", qPrintable(choice.unsavedReason));
        return choice;
    };
    if (QFileInfo::exists(choice.settingsFile))
        return readInPlace(QStringLiteral("설정 파일 %1 을(를) 읽을 수 없습니다")
                               .arg(QDir::toNativeSeparators(choice.settingsFile)));
    if (!QDir().mkpath(candidates.userConfigFolder))
        return readInPlace(QStringLiteral("설정 폴더 %1 을(를) 만들 수 없습니다")
                               .arg(QDir::toNativeSeparators(candidates.userConfigFolder)));
    if (firstSeed.isEmpty())
        return choice;
    if (!copyForThisUser(firstSeed, choice.settingsFile))
        return readInPlace(QStringLiteral("설정 파일 %1 을(를) 만들 수 없습니다")
                               .arg(QDir::toNativeSeparators(choice.settingsFile)));
    choice.seededFrom = firstSeed;
    try {
        pointEmptyBackupFolderAtHome(choice.settingsFile, candidates.homeFolder);
    } catch (const KolmaraError&) {
        // The copy is in place; the backup folder stays as delivered.
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

QString settingsSaveRefusal(const QString& path)
{
    if (g_unsavedSettingsFile.isEmpty() || !g_programFolderOverride.isEmpty())
        return {};
    return QFileInfo(path).absoluteFilePath() == g_unsavedSettingsFile ? g_unsavedReason
                                                                       : QString();
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
