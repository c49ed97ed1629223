// Dumps on a real small disk: a tmpfs of a few kilobytes mounted in a mount namespace of the
// test's own (so nothing stays mounted when it ends), filled up or made read-only. The backup
// screen then reports the file error once, closes the file, leaves the earlier dump of the day as
// it was, and writes no log row and no stamp; a dump that fills the disk half-way leaves no part
// of itself behind. Without the right to mount (not root, or no namespaces) the tests skip.
#include "app/KOLM000U.h"
#include "common/KOLMCOMM.h"
#include "data/TableDump.h"
#include "db/Query.h"
#include "screens/backup/KOLM500U.h"
#include "widgets/ActionGuard.h"
#include "widgets/StringGrid.h"
#include "../db_engine/EngineFixture.h"
#include "ConnectedDemo.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

using namespace kolmara;
using kolmara::screens::TKOLM500F;

namespace {

bool g_privateMounts = false;

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// The files this program has open under the folder.
QStringList openFilesUnder(const QString& folder)
{
    QStringList open;
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString& fd :
         fds.entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System)) {
        const QString target = QFile::symLinkTarget(fds.filePath(fd));
        if (target.startsWith(folder + u'/'))
            open << target;
    }
    return open;
}

// Writes until the disk refuses, so the next write of any size fails.
void fill(const QString& folder)
{
    QFile filler(QDir(folder).filePath(QStringLiteral("filler")));
    QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray block(512, 'x');
    while (filler.write(block) == block.size()) {
    }
    const QByteArray byte(1, 'x');
    while (filler.write(byte) == 1) {
    }
}

}  // namespace

class TestDumpDisk : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void backupScreenOnAFullOrReadOnlyDisk_data();
    void backupScreenOnAFullOrReadOnlyDisk();
    void dumpThatFillsTheDiskLeavesNothingOfItself();

private:
    QString m_disk;
    std::unique_ptr<test::ConnectedDemo> m_demo;
};

void TestDumpDisk::init()
{
    if (!g_privateMounts)
        QSKIP("mounting a small file system needs root and a mount namespace");
    m_demo = std::make_unique<test::ConnectedDemo>();
    QVERIFY(m_demo->connected);
    m_disk = QDir(m_demo->demo.folder()).filePath(QStringLiteral("disk"));
    QVERIFY(QDir().mkpath(m_disk));
    if (::mount("tmpfs", QFile::encodeName(m_disk).constData(), "tmpfs", 0,
                "size=64k,nr_inodes=64") != 0)
        QSKIP("this system does not let the test mount a tmpfs");
    CfgBackupDrive = m_disk + u'/';
}

void TestDumpDisk::cleanup()
{
    // A file left open would make the disk busy: no lazy unmount here.
    const int unmounted = m_disk.isEmpty() ? 0 : ::umount(QFile::encodeName(m_disk).constData());
    m_disk.clear();
    m_demo.reset();
    QCOMPARE(unmounted, 0);
}

void TestDumpDisk::backupScreenOnAFullOrReadOnlyDisk_data()
{
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QString>("message");
    QTest::newRow("full") << false << "Cannot write file \"%1\". No space left on device";
    QTest::newRow("read-only") << true << "Cannot create file \"%1\".";
}

void TestDumpDisk::backupScreenOnAFullOrReadOnlyDisk()
{
    QFETCH(bool, readOnly);
    QFETCH(QString, message);
    QComboBox* accounts = m_demo->main.accountList();
    accounts->setCurrentIndex(accounts->findText(QStringLiteral("TGHDW")));
    m_demo->main.cbe_grantChange();
    auto* screen = m_demo->open<TKOLM500F>("N51");
    QVERIFY(screen);
    auto* grid = screen->findChild<ui::StringGrid*>("AdvStringGrid1");
    int row = 1;
    while (row < grid->rowCount() && grid->cell(1, row) != QLatin1String("DEPT_NOTE"))
        ++row;
    screen->AdvStringGrid1ClickCell(row);
    const QString path = screen->findChild<QLineEdit*>("ed_backup_Path")->text();
    QVERIFY2(path.startsWith(m_disk + u'/'), qPrintable(path));

    // The morning's dump of the day is there; then the disk fills up or turns read-only.
    QFile earlier(path);
    QVERIFY(earlier.open(QIODevice::WriteOnly));
    earlier.write("\"the morning's dump\"\r\n");
    earlier.close();
    if (readOnly)
        QCOMPARE(::mount(nullptr, QFile::encodeName(m_disk).constData(), nullptr,
                         MS_REMOUNT | MS_RDONLY, nullptr),
                 0);
    else
        fill(m_disk);

    screen->findChild<QToolButton*>("bbt_update")->click();
    QCOMPARE(m_demo->ui.messages().size(), 1);
    const QString shown = m_demo->ui.messages().first().text;
    QVERIFY2(shown.startsWith(message.arg(path)), qPrintable(shown));
    QCOMPARE(m_demo->ui.messages().first().caption, ui::kApplicationTitle);
    QVERIFY(!ui::isBusyCursor());
    QCOMPARE(openFilesUnder(m_disk), QStringList());
    QCOMPARE(fileBytes(path), QByteArray("\"the morning's dump\"\r\n"));
    QCOMPARE(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files | QDir::Hidden),
             QStringList{"DEPT_NOTE.TXT"});
    QCOMPARE(test::rows(m_demo->main.session(),
                        QStringLiteral(
                            "SELECT COUNT(*) FROM BACKLOG_TABLE WHERE BACKLOG_ACCOUNT = 'TGHDW'")),
             QStringList{"0"});
    QCOMPARE(
        test::rows(
            m_demo->main.session(),
            QStringLiteral("SELECT BACKUP_DATETIME FROM BACKUP_TABLE WHERE BACKUP_ACCOUNT = 'TGHDW'"
                           " AND BACKUP_TABLEID = 'DEPT_NOTE'")),
        QStringList{"20030507 130455"});

    // Room again: the same dump goes through.
    if (readOnly)
        QCOMPARE(
            ::mount(nullptr, QFile::encodeName(m_disk).constData(), nullptr, MS_REMOUNT, nullptr),
            0);
    else
        QVERIFY(QFile::remove(QDir(m_disk).filePath(QStringLiteral("filler"))));
    screen->findChild<QToolButton*>("bbt_update")->click();
    QCOMPARE(screen->statusText(), QStringLiteral("▶ DEPT_NOTE(부서 메모) 4건 백업이 완료 되었습니다..."));
    QVERIFY(fileBytes(path).startsWith("\"1\","));
}

void TestDumpDisk::dumpThatFillsTheDiskLeavesNothingOfItself()
{
    // More lines than 64 KB of disk holds: the disk fills in the middle of a piece.
    const QString path = QDir(m_disk).filePath(QStringLiteral("OBJECTS.TXT"));
    QFile earlier(path);
    QVERIFY(earlier.open(QIODevice::WriteOnly));
    earlier.write("\"yesterday\"\r\n");
    earlier.close();
    data::TableDump dump(
        path, QStringLiteral("SELECT OBJECT_NAME, RPAD('x', 400, 'x') FILLER FROM ALL_OBJECTS"));
    db::Query query(&m_demo->main.session());
    try {
        dump.run(query);
        QFAIL("the dump went through on a full disk");
    } catch (const KolmaraError& error) {
        QCOMPARE(error.message(),
                 QStringLiteral("Cannot write file \"%1\". No space left on device").arg(path));
    }
    QVERIFY(!query.isActive());
    QCOMPARE(openFilesUnder(m_disk), QStringList());
    QCOMPARE(fileBytes(path), QByteArray("\"yesterday\"\r\n"));
    QCOMPARE(QDir(m_disk).entryList(QDir::Files | QDir::Hidden), QStringList{"OBJECTS.TXT"});
}

int main(int argc, char* argv[])
{
    // A mount namespace of its own, entered while the program has a single thread: what the tests
    // mount disappears with the program, however it ends.
    g_privateMounts = ::unshare(CLONE_NEWNS) == 0 &&
                      ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    QApplication app(argc, argv);
    TestDumpDisk test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_dumpdisk.moc"
