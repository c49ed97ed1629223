// A start after a crash: a connected program is killed (SIGKILL) in the middle of its work, or
// while its first logon creates the demo database, and the next program must start, log on, find
// the dead one's sessions gone and nothing of it left in the program folder. The test runs itself
// as those programs ("--work" and "--check" below), many times over; KOLMARA_RESTART_ROUNDS sets
// how many for a longer run by hand.
#include "app/KOLM000U.h"
#include "common/KOLMCOMM.h"
#include "common/ProfileFile.h"
#include "data/HORACLEM2.h"
#include "dialogs/KOLM100U.h"
#include "screens/sessions/KOLM300U.h"
#include "widgets/StringGrid.h"
#include "widgets/UiServices.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMdiSubWindow>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QSysInfo>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>

using namespace kolmara;

namespace {

// The user at the desktop, played by the program itself: the saved demo login double-clicked,
// every question answered Yes, every message printed on standard error.
class UnattendedUi : public ui::UiServices {
public:
    QMessageBox::StandardButton messageBox(QWidget*, const QString& caption, const QString& text,
                                           QMessageBox::Icon,
                                           QMessageBox::StandardButtons buttons) override
    {
        std::fprintf(stderr, "message: %s: %s\n", qPrintable(caption), qPrintable(text));
        ++messages;
        return buttons.testFlag(QMessageBox::Yes) ? QMessageBox::Yes : QMessageBox::Ok;
    }
    int execDialog(QDialog* dialog) override
    {
        auto* connect = qobject_cast<dialogs::TKOLM100F*>(dialog);
        if (!connect)
            return QDialog::Rejected;
        connect->show();
        connect->AdvStringGrid1DblClick(0, 1);
        return connect->result();
    }
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override
    {
        return {};
    }
    void printerSetup(QWidget*) override {}
    QPrinter& printer() override { return m_printer; }
    void setSystemClock(const QDateTime&) override {}
    QDateTime now() const override { return QDateTime::currentDateTime(); }

    int messages = 0;

private:
    QPrinter m_printer;
};

// The program as a user starts it in a folder: the main window, then "접속하기" and the saved
// demo login.
struct Program {
    explicit Program(const QString& folder)
    {
        setProgramFolderForTesting(folder);
        app::TKOLM000F::setAutoConnectEnabled(false);
        main = std::make_unique<app::TKOLM000F>();
        main->show();
        main->N13Click();
    }
    bool connected() const { return main->isConnected(); }

    UnattendedUi ui;
    ui::ScopedUiServices install{ui};
    std::unique_ptr<app::TKOLM000F> main;
};

// The program at work until it is killed, in its own event loop: the sessions screen refreshing
// by its timer and by hand, sessions looked at and killed, its pages switched, a saved login
// written back, the clock running.
int workMain(const QString& folder)
{
    Program program(folder);
    if (!program.connected())
        return 1;
    app::TKOLM000F& main = *program.main;
    std::printf("connected\n");
    std::fflush(stdout);
    int step = 0;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, &main, [&] {
        ++step;
        main.menuAction(QStringLiteral("N31"))->trigger();
        auto* screen =
            qobject_cast<screens::TKOLM300F*>(main.mdiArea()->activeSubWindow()->widget());
        if (step == 1)
            screen->findChild<QRadioButton*>(QStringLiteral("rb_times1"))->click();
        auto* grid = screen->findChild<ui::StringGrid*>(QStringLiteral("AdvStringGrid1"));
        const int row = 1 + step % qMax(1, grid->rowCount() - 1);
        if (grid->cell(11, row) != QLatin1String("kolmara")) {
            screen->ShowSessionSql(false, row);
            if (step % 5 == 0)
                screen->sbt_CancelClick();
        }
        if (step % 7 == 0)
            screen->findChild<QTabWidget*>(QStringLiteral("PageControl1"))
                ->setCurrentIndex((step / 7) % 2);
        if (step % 3 == 0)
            ProfileFile(settingsFilePath())
                .writeString(QStringLiteral("System Logging"), QStringLiteral("2"),
                             QStringLiteral("DEMO/SCOTT//N/%1/").arg(step));
    });
    user.start(5);
    return QApplication::exec();
}

// The next start: it connects without a message, and only its own session of this machine's
// programs is left.
int checkMain(const QString& folder)
{
    Program program(folder);
    if (!program.connected())
        return 1;
    data::HORACLEM2 sessions;
    const int n = sessions.GetSessions(QStringLiteral("%"));
    int ours = 0;
    for (int i = 0; i < n; ++i)
        ours += sessions.slotText(11, i) == QLatin1String("kolmara") &&
                sessions.slotText(9, i) == QSysInfo::machineHostName();
    if (ours != 1) {
        std::fprintf(stderr, "%d sessions of this machine's programs\n", ours);
        return 1;
    }
    return program.ui.messages == 0 ? 0 : 1;
}

int rounds(int usual)
{
    const int asked = qEnvironmentVariableIntValue("KOLMARA_RESTART_ROUNDS");
    return asked > 0 ? asked : usual;
}

}  // namespace

class TestRestart : public QObject {
    Q_OBJECT

private slots:
    void init();
    void startAfterAKillIsSafe_data();
    void startAfterAKillIsSafe();

private:
    QString file(const QString& name) const { return QDir(m_folder->path()).filePath(name); }
    void startWorker(QProcess& worker);

    std::unique_ptr<QTemporaryDir> m_folder;
    QByteArray m_ini;
};

void TestRestart::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    m_ini =
        "[System Version]\r\nVersion=1.0\r\nVerDate=2003-05-14\r\nCount=1\r\n\r\n[System "
        "Logging]\r\n1=DEMO/SYSTEM/" +
        EncodePassword(QStringLiteral("MANAGER"), SavedLoginKey).toLatin1() +
        "/Y/\r\n\r\n[Embedded Databases]\r\nDEMO=demo.db\r\n";
    QFile ini(file(QStringLiteral("KOLMARA.INI")));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write(m_ini);
}

void TestRestart::startWorker(QProcess& worker)
{
    worker.setProcessChannelMode(QProcess::SeparateChannels);
    worker.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--work"), m_folder->path()});
    QVERIFY(worker.waitForStarted());
}

void TestRestart::startAfterAKillIsSafe_data()
{
    QTest::addColumn<bool>("whileCreating");
    QTest::addColumn<int>("count");
    QTest::newRow("killed at work") << false << rounds(12);
    QTest::newRow("killed while creating the database") << true << rounds(4);
}

void TestRestart::startAfterAKillIsSafe()
{
    QFETCH(bool, whileCreating);
    QFETCH(int, count);
    QRandomGenerator random(QRandomGenerator::global()->generate());
    for (int round = 0; round < count; ++round) {
        QProcess worker;
        if (whileCreating) {
            // The kill falls while the first logon builds the database in its private file.
            QFile::remove(file(QStringLiteral("demo.db")));
            startWorker(worker);
            const QString unfinished =
                file(QStringLiteral("demo.db.new-%1").arg(worker.processId()));
            while (!QFile::exists(unfinished) && worker.state() == QProcess::Running)
                QTest::qSleep(1);
        } else {
            startWorker(worker);
            bool connected = false;
            while (!connected && worker.waitForReadyRead(60000))
                connected = worker.readAllStandardOutput().contains("connected");
            QVERIFY2(connected, worker.readAllStandardError().constData());
            QTest::qSleep(int(random.bounded(250)));
        }
        QVERIFY2(worker.state() == QProcess::Running,
                 qPrintable(QStringLiteral("round %1: the program ended before it was killed: %2")
                                .arg(round)
                                .arg(QString::fromLocal8Bit(worker.readAllStandardError()))));
        worker.kill();
        QVERIFY(worker.waitForFinished());

        QProcess next;
        next.start(QCoreApplication::applicationFilePath(),
                   {QStringLiteral("--check"), m_folder->path()});
        QVERIFY(next.waitForFinished(120000));
        const QString problems = QStringLiteral("round %1: %2")
                                     .arg(round)
                                     .arg(QString::fromLocal8Bit(next.readAllStandardError()));
        QVERIFY2(next.exitStatus() == QProcess::NormalExit, qPrintable(problems));
        QCOMPARE(next.exitCode(), 0);

        // Nothing of the dead program is left, and the settings file is whole. The database's own
        // write-ahead log and its index may stay: a session that only read leaves them to the next.
        QStringList left = QDir(m_folder->path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
        left.removeOne(QStringLiteral("demo.db-shm"));
        left.removeOne(QStringLiteral("demo.db-wal"));
        QCOMPARE(left, QStringList({QStringLiteral("KOLMARA.INI"), QStringLiteral("demo.db")}));
        const ProfileFile ini(file(QStringLiteral("KOLMARA.INI")));
        QCOMPARE(ini.readString(QStringLiteral("System Version"), QStringLiteral("Count")),
                 QStringLiteral("1"));
        QVERIFY(ini.readString(QStringLiteral("System Logging"), QStringLiteral("1"))
                    .startsWith(QStringLiteral("DEMO/SYSTEM/")));
    }
}

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--work")
        return workMain(QString::fromLocal8Bit(argv[2]));
    if (argc == 3 && QByteArray(argv[1]) == "--check")
        return checkMain(QString::fromLocal8Bit(argv[2]));
    TestRestart test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_restart.moc"
