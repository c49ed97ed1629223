// The choice of folders: settings beside the program when this user may change them there,
// otherwise the user's configuration and data folders, seeded for a fresh user from the file
// beside the program or the delivered one. Every folder is a temporary one.
#include "common/Folders.h"
#include "common/ProfileFile.h"
#include "common/Errors.h"
#include "db/DriverRegistry.h"
#include "db/Query.h"
#include "db/Session.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>
#include <sys/stat.h>

using namespace kolmara;

namespace {

const QByteArray kDelivered =
    "[System Version]\r\nSystemId=KOLMARA\r\nBackupDrive=\r\nBackupPath=BACKUP/\r\nCount=1\r\n"
    "\r\n[System Logging]\r\n1=DEMO/SYSTEM/F0E1F80C1128A1/Y/\r\n"
    "\r\n[Embedded Databases]\r\nDEMO=KOLMDEMO.DB\r\n";
const QByteArray kBeside =
    "[System Version]\r\nBackupDrive=/srv/dumps/\r\nCount=2\r\n"
    "\r\n[System Logging]\r\n1=PROD/SCOTT/AB/N/\r\n2=DEMO/HR/CD/N/\r\n";
const QByteArray kUsers = "[System Version]\r\nCount=0\r\n";

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// The permission bits as the file system holds them (root reads and writes whatever they say).
int modeOf(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// A program folder, the user's folders and an installed prefix, all below one temporary folder.
struct Layout {
    QTemporaryDir root;
    FolderCandidates candidates;

    Layout()
    {
        candidates.programFolder = root.filePath(QStringLiteral("usr/bin")) + QLatin1Char('/');
        candidates.deliveredSettings =
            root.filePath(QStringLiteral("usr/share/kolmara/KOLMARA.INI"));
        candidates.userConfigFolder = root.filePath(QStringLiteral("home/.config/kolmara"));
        candidates.userDataFolder = root.filePath(QStringLiteral("home/.local/share/kolmara"));
        candidates.homeFolder = root.filePath(QStringLiteral("home"));
        QDir().mkpath(candidates.programFolder);
    }
    QString beside() const { return candidates.programFolder + QStringLiteral("KOLMARA.INI"); }
    QString users() const { return candidates.userConfigFolder + QStringLiteral("/KOLMARA.INI"); }
};

}  // namespace

class TestFolders : public QObject {
    Q_OBJECT

private slots:
    void choice_data();
    void choice();
    void deliveredCopyGetsTheUsersBackupFolder();
    void readOnlyDeliveredFileGivesAWritableCopy();
    void seededCopyIsTheUsersAlone_data();
    void seededCopyIsTheUsersAlone();
    void userFoldersFollowXdg();
    void testFolderHoldsEverything();
    void settingsThatCannotBeMadeAreReadInPlace();
    void aReadOnlyHomeKeepsTheEmbeddedDatabases();
    void fileNameFor_data();
    void fileNameFor();
};

void TestFolders::choice_data()
{
    QTest::addColumn<QString>("besideIni");  // "", "writable" or "read-only"
    QTest::addColumn<bool>("userHasIni");
    QTest::addColumn<bool>("delivered");
    QTest::addColumn<QString>("settingsIn");   // "program" or "user"
    QTest::addColumn<QByteArray>("settings");  // the settings file's bytes afterwards
    QTest::addColumn<QString>("seededFrom");   // "", "beside" or "delivered"

    QTest::newRow("ini beside a writable program folder")
        << "writable" << true << true << "program" << kBeside << "";
    QTest::newRow("read-only program folder, fresh user")
        << "read-only" << false << true << "user" << kBeside << "beside";
    QTest::newRow("read-only program folder, user has settings")
        << "read-only" << true << true << "user" << kUsers << "";
    QTest::newRow("installed, fresh user")
        << "" << false << true << "user" << QByteArray() << "delivered";
    QTest::newRow("installed, user has settings") << "" << true << true << "user" << kUsers << "";
    QTest::newRow("nothing delivered")
        << "" << false << false << "user" << QByteArray("<missing>") << "";
}

void TestFolders::choice()
{
    QFETCH(QString, besideIni);
    QFETCH(bool, userHasIni);
    QFETCH(bool, delivered);
    QFETCH(QString, settingsIn);
    QFETCH(QByteArray, settings);
    QFETCH(QString, seededFrom);

    Layout l;
    QVERIFY(l.root.isValid());
    if (!besideIni.isEmpty())
        QVERIFY(writeFile(l.beside(), kBeside));
    // Tests run as root, who may write anywhere: the probe's answer is given, not found.
    l.candidates.programSettingsWritable = besideIni == QLatin1String("writable");
    if (userHasIni)
        QVERIFY(writeFile(l.users(), kUsers));
    if (delivered)
        QVERIFY(writeFile(l.candidates.deliveredSettings, kDelivered));

    const FolderChoice choice = settleFolders(l.candidates);

    if (settingsIn == QLatin1String("program")) {
        QCOMPARE(choice.settingsFile, l.beside());
        QCOMPARE(choice.dataFolder, l.candidates.programFolder);
        QVERIFY(!QFileInfo::exists(l.candidates.userDataFolder));
        if (userHasIni)
            QCOMPARE(readFile(l.users()), kUsers);
    } else {
        QCOMPARE(choice.settingsFile, l.users());
        QCOMPARE(choice.dataFolder, l.candidates.userDataFolder + QLatin1Char('/'));
        QVERIFY(QFileInfo(l.candidates.userDataFolder).isDir());
    }
    const QString expectedSeed = seededFrom == QLatin1String("beside") ? l.beside()
                                 : seededFrom == QLatin1String("delivered")
                                     ? l.candidates.deliveredSettings
                                     : QString();
    QCOMPARE(choice.seededFrom, expectedSeed);
    if (seededFrom == QLatin1String("delivered")) {
        QVERIFY(
            readFile(choice.settingsFile).startsWith("[System Version]\r\nSystemId=KOLMARA\r\n"));
    } else {
        QCOMPARE(readFile(choice.settingsFile), settings);
    }
    if (!besideIni.isEmpty())
        QCOMPARE(readFile(l.beside()), kBeside);
}

void TestFolders::deliveredCopyGetsTheUsersBackupFolder()
{
    Layout l;
    QVERIFY(writeFile(l.candidates.deliveredSettings, kDelivered));
    const FolderChoice choice = settleFolders(l.candidates);
    const QString backup =
        QDir::toNativeSeparators(l.candidates.homeFolder + QStringLiteral("/Kolmara/"));
    QByteArray expected = kDelivered;
    expected.replace("BackupDrive=\r\n", "BackupDrive=" + backup.toUtf8() + "\r\n");
    QCOMPARE(readFile(choice.settingsFile), expected);
    // The delivered file itself is never changed.
    QCOMPARE(readFile(l.candidates.deliveredSettings), kDelivered);
}

void TestFolders::readOnlyDeliveredFileGivesAWritableCopy()
{
    Layout l;
    QVERIFY(writeFile(l.candidates.deliveredSettings, kDelivered));
    QVERIFY(QFile::setPermissions(l.candidates.deliveredSettings,
                                  QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    const FolderChoice choice = settleFolders(l.candidates);
    QVERIFY(QFile::permissions(choice.settingsFile) & QFile::WriteOwner);
    ProfileFile(choice.settingsFile)
        .writeString(QStringLiteral("System Version"), QStringLiteral("Count"),
                     QStringLiteral("2"));
    QCOMPARE(ProfileFile(choice.settingsFile)
                 .readString(QStringLiteral("System Version"), QStringLiteral("Count")),
             QStringLiteral("2"));
}

// The copy will hold saved passwords: for the user alone, whatever the file it was copied from,
// and still so after the settings are changed.
void TestFolders::seededCopyIsTheUsersAlone_data()
{
    QTest::addColumn<bool>("besideProgram");
    QTest::addColumn<int>("seedMode");
    QTest::newRow("delivered, read-only for all") << false << 0444;
    QTest::newRow("beside the program, readable by all") << true << 0644;
}

void TestFolders::seededCopyIsTheUsersAlone()
{
    QFETCH(bool, besideProgram);
    QFETCH(int, seedMode);
    Layout l;
    const QString seed = besideProgram ? l.beside() : l.candidates.deliveredSettings;
    QVERIFY(writeFile(seed, besideProgram ? kBeside : kDelivered));
    QCOMPARE(::chmod(QFile::encodeName(seed).constData(), mode_t(seedMode)), 0);
    const ::mode_t oldMask = ::umask(022);
    const FolderChoice choice = settleFolders(l.candidates);
    ::umask(oldMask);
    QCOMPARE(choice.seededFrom, seed);
    QCOMPARE(modeOf(choice.settingsFile), 0600);
    QCOMPARE(readFile(choice.settingsFile).left(16),
             (besideProgram ? kBeside : kDelivered).left(16));
    ProfileFile(choice.settingsFile)
        .writeString(QStringLiteral("System Version"), QStringLiteral("Count"),
                     QStringLiteral("3"));
    QCOMPARE(modeOf(choice.settingsFile), 0600);
    QCOMPARE(modeOf(seed), seedMode);
}

void TestFolders::userFoldersFollowXdg()
{
    QTemporaryDir config;
    QTemporaryDir data;
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    const QByteArray oldData = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    const FolderCandidates c = FolderCandidates::ofThisProgram();
    qputenv("XDG_CONFIG_HOME", oldConfig);
    qputenv("XDG_DATA_HOME", oldData);
#ifdef Q_OS_LINUX
    QCOMPARE(c.userConfigFolder, config.path() + QStringLiteral("/kolmara"));
    QCOMPARE(c.userDataFolder, data.path() + QStringLiteral("/kolmara"));
#endif
    QCOMPARE(c.programFolder, QCoreApplication::applicationDirPath() + QLatin1Char('/'));
    QCOMPARE(c.deliveredSettings, QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                                  QStringLiteral("/../share/kolmara/KOLMARA.INI")));
    QCOMPARE(c.homeFolder, QDir::homePath());
}

void TestFolders::testFolderHoldsEverything()
{
    // A test's program folder holds the settings and the databases even before it has a
    // KOLMARA.INI, so no test ever reaches the real user's folders.
    QTemporaryDir dir;
    setProgramFolderForTesting(dir.path());
    const QString settings = settingsFilePath();
    const QString data = dataFolder();
    QVERIFY(writeFile(settings, "[Embedded Databases]\r\nDEMO=demo.db\r\nABS=/var/lib/x.db\r\n"));
    const QString demo = db::embeddedDatabaseFile(QStringLiteral("demo"));
    const QString absolute = db::embeddedDatabaseFile(QStringLiteral("ABS"));
    setProgramFolderForTesting(QString());
    QCOMPARE(settings, dir.filePath(QStringLiteral("KOLMARA.INI")));
    QCOMPARE(data, dir.path() + QLatin1Char('/'));
    QCOMPARE(demo, dir.filePath(QStringLiteral("demo.db")));
    QCOMPARE(absolute, QStringLiteral("/var/lib/x.db"));
}

void TestFolders::settingsThatCannotBeMadeAreReadInPlace()
{
    // Root may write anywhere: a read-only home is a home whose folders are files.
    Layout l;
    QVERIFY(writeFile(l.candidates.deliveredSettings, kDelivered));
    QVERIFY(writeFile(l.root.filePath(QStringLiteral("home/.config")), "a file"));
    QVERIFY(writeFile(l.root.filePath(QStringLiteral("home/.local/share")), "a file"));
    l.candidates.fallbackDataFolder = l.root.filePath(QStringLiteral("tmp/kolmara-me"));
    const FolderChoice choice = settleFolders(l.candidates);
    QCOMPARE(choice.settingsFile, l.candidates.deliveredSettings);
    QCOMPARE(choice.dataFolder, l.candidates.fallbackDataFolder + QLatin1Char('/'));
    QVERIFY(QFileInfo(l.candidates.fallbackDataFolder).isDir());
    // the user's alone
    QCOMPARE(int(QFile::permissions(l.candidates.fallbackDataFolder) & 0x00ff), 0);
    QCOMPARE(
        choice.unsavedReason,
        QStringLiteral(
            "설정을 저장할 수 없습니다: 설정 폴더 %1 을(를) 만들 수 없습니다. 설정은 %2 에서 읽기만 하며, "
            "바꾼 설정은 저장되지 않습니다.")
            .arg(QDir::toNativeSeparators(l.candidates.userConfigFolder),
                 QDir::toNativeSeparators(l.candidates.deliveredSettings)));
    QCOMPARE(readFile(l.candidates.deliveredSettings), kDelivered);

    // A settings file that cannot be read (here a folder in its place) is never replaced.
    Layout m;
    QVERIFY(writeFile(m.beside(), kBeside));
    QVERIFY(QDir().mkpath(m.users()));
    const FolderChoice unreadable = settleFolders(m.candidates);
    QCOMPARE(unreadable.settingsFile, m.beside());
    QVERIFY2(
        unreadable.unsavedReason.contains(QStringLiteral("설정 파일 %1 을(를) 읽을 수 없습니다")
                                              .arg(QDir::toNativeSeparators(m.users()))),
        qPrintable(unreadable.unsavedReason));
    QVERIFY(QFileInfo(m.users()).isDir());
}

void TestFolders::aReadOnlyHomeKeepsTheEmbeddedDatabases()
{
    if (qEnvironmentVariableIsSet("KOLMARA_BROKEN_HOME")) {
        // The copy of this program below, in an installed layout, with a home it cannot write in.
        const QString delivered = QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                                  QStringLiteral("/../share/kolmara/KOLMARA.INI"));
        QCOMPARE(settingsFilePath(), delivered);
        QCOMPARE(dataFolder(),
                 QDir(QDir::tempPath()).filePath(QStringLiteral("kolmara-%1/").arg(::getuid())));
        db::Session s;
        s.setServer(QStringLiteral("DEMO"));
        s.setUsername(QStringLiteral("SCOTT"));
        s.setPassword(QStringLiteral("TIGER"));
        s.setLoginPrompt(false);
        s.connect();
        db::Query q(&s);
        q.addSql(QStringLiteral("SELECT 1 FROM DUAL"));
        q.open();
        QCOMPARE(q.field(0).asText(), QStringLiteral("1"));
        q.close();
        s.disconnect();
        try {
            ProfileFile(settingsFilePath())
                .writeString(QStringLiteral("System Version"), QStringLiteral("Count"),
                             QStringLiteral("3"));
            QFAIL("the delivered settings were changed");
        } catch (const SettingsError& e) {
            QVERIFY2(
                e.message().startsWith(QStringLiteral("설정을 저장할 수 없습니다: 설정 폴더 ")),
                qPrintable(e.message()));
        }
        return;
    }
    QTemporaryDir root;
    const QString bin = root.filePath(QStringLiteral("usr/bin"));
    const QString program = QDir(bin).filePath(QStringLiteral("tst_folders"));
    const QString delivered = root.filePath(QStringLiteral("usr/share/kolmara/KOLMARA.INI"));
    QVERIFY(QDir().mkpath(bin) && QDir().mkpath(root.filePath(QStringLiteral("tmp"))));
    QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), program));
    QVERIFY(writeFile(delivered, kDelivered));
    QVERIFY(writeFile(root.filePath(QStringLiteral("home/config")), "a file"));
    QVERIFY(writeFile(root.filePath(QStringLiteral("home/data")), "a file"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), root.filePath(QStringLiteral("home")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), root.filePath(QStringLiteral("home/config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), root.filePath(QStringLiteral("home/data")));
    env.insert(QStringLiteral("TMPDIR"), root.filePath(QStringLiteral("tmp")));
    env.insert(QStringLiteral("KOLMARA_BROKEN_HOME"), QStringLiteral("1"));
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(program, {QStringLiteral("aReadOnlyHomeKeepsTheEmbeddedDatabases")});
    QVERIFY(child.waitForFinished(120000));
    const QByteArray output = child.readAll();
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
             output.constData());
    QVERIFY(QFileInfo::exists(
        root.filePath(QStringLiteral("tmp/kolmara-%1/KOLMDEMO.DB").arg(::getuid()))));
    QCOMPARE(readFile(delivered), kDelivered);
}

void TestFolders::fileNameFor_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("file");
    // Names that are file names already keep them, so files made before stay where they are.
    QTest::newRow("plain") << "EMP" << "EMP";
    QTest::newRow("identifier characters") << "SYS$TAB_1#" << "SYS$TAB_1#";
    QTest::newRow("quoted, with blanks, dots, Korean") << "My table.v2 사원" << "My table.v2 사원";
    QTest::newRow("climbing out") << "../../../../X" << ".._.._.._.._X";
    QTest::newRow("every forbidden character") << "a\\b/c:d*e?f\"g<h>i|j" << "a_b_c_d_e_f_g_h_i_j";
    QTest::newRow("control characters") << "A\tB\nC" << "A_B_C";
    QTest::newRow("the parent folder") << ".." << "__";
    QTest::newRow("the folder itself") << "." << "_";
    QTest::newRow("dots with more") << "...X" << "...X";
}

void TestFolders::fileNameFor()
{
    QFETCH(QString, name);
    QFETCH(QString, file);
    QCOMPARE(kolmara::fileNameFor(name), file);
}

QTEST_MAIN(TestFolders)
#include "tst_folders.moc"
