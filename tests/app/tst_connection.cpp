// The connection: ConnectDatabase with its status panels, clock and account list, the account
// list's change rules, and the connect dialog with its saved logins. A scripted client driver
// plays the server where a test needs answers the demo instance cannot give (another weekday, a
// server on another machine); the rest runs against the embedded demo instance.
#include "app/KOLM000U.h"
#include "app/PanelStatusBar.h"
#include "common/KOLMCOMM.h"
#include "common/ProfileFile.h"
#include "data/HORACLEM1.h"
#include "db/DriverRegistry.h"
#include "db/Query.h"
#include "dialogs/KOLM100U.h"
#include "screens/MdiScreen.h"
#include "widgets/StringGrid.h"
#include "DemoDatabase.h"
#include "ScriptedUiServices.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolBar>

using namespace kolmara;
using kolmara::app::TKOLM000F;
using kolmara::dialogs::TKOLM100F;

namespace {

// A server on another machine: accepts SCOTT/TIGER, answers the server-date and account queries.
class ScriptedCursor : public db::Cursor {
public:
    ScriptedCursor(QStringList columns, QList<QStringList> rows)
        : m_columns(std::move(columns)), m_rows(std::move(rows)) {}
    void execute(const QHash<QString, db::BindValue>&) override {}
    QStringList columnNames() const override { return m_columns; }
    bool fetch(QVector<db::Value>& row) override
    {
        if (m_next >= m_rows.size())
            return false;
        row.clear();
        for (const QString& text : m_rows[m_next]) {
            db::Value v;
            v.kind = text.isEmpty() ? db::Value::Kind::Null : db::Value::Kind::Text;
            v.text = text;
            row << v;
        }
        ++m_next;
        return true;
    }

private:
    QStringList m_columns;
    QList<QStringList> m_rows;
    int m_next = 0;
};

struct ScriptedServer {
    QString date = QStringLiteral("2003-05-18");
    QString time = QStringLiteral("07:08:09");
    QString weekday = QStringLiteral("1");
    QStringList users = {QStringLiteral("SCOTT"), QStringLiteral("SYS"), QStringLiteral("SYSTEM")};
};

class ScriptedConnection : public db::Connection {
public:
    explicit ScriptedConnection(const ScriptedServer& server) : m_server(server) {}
    std::unique_ptr<db::Cursor> prepare(const QString& sql) override
    {
        if (sql.contains(QStringLiteral("FROM DUAL")))
            return std::make_unique<ScriptedCursor>(
                QStringList{"DATE1", "DATE2", "DATE3"},
                QList<QStringList>{{m_server.date, m_server.time, m_server.weekday}});
        QList<QStringList> rows;
        for (const QString& u : m_server.users)
            rows << QStringList{u, QString()};
        return std::make_unique<ScriptedCursor>(QStringList{"USERNAME", "CREATED"}, rows);
    }
    void startTransaction() override {}
    void commit() override {}
    void rollback() override {}
    void disconnect() override {}

private:
    ScriptedServer m_server;
};

class ScriptedDriver : public db::Driver {
public:
    ScriptedServer server;
    std::unique_ptr<db::Connection> connect(const QString&, const QString& user,
                                            const QString& password) override
    {
        if (user.toUpper() != QStringLiteral("SCOTT") || password != QStringLiteral("TIGER"))
            throw db::DatabaseError(1017,
                                    QStringLiteral("invalid username/password; logon denied"));
        return std::make_unique<ScriptedConnection>(server);
    }
};

class AnyScreen : public screens::MdiScreen {
    Q_OBJECT
public:
    AnyScreen() : MdiScreen(QStringLiteral("any"), QSize(200, 100)) {}
};

QString iniValue(const QString& section, const QString& key)
{
    return ProfileFile(settingsFilePath()).readString(section, key);
}

}  // namespace

class TestConnection : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void connectsToTheDemoInstance();
    void refusedLoginKeepsTheConnection();
    void newLoginReplacesTheOldSession();
    void lowerCaseUserSelectsUpperCaseEntry();
    void remoteServerSetsTheClock_data();
    void remoteServerSetsTheClock();
    void accountChangeWithoutScreens();
    void accountChangeRefusedWithScreens();

    void emptyListOkActsAsNew();
    void loginSavedWithNKeepsPasswordEmpty();
    void doubleClickConnectsAndRewritesTheSameNumber();
    void newAfterPickingAddsANumber();
    void refusedConnectionWritesNothing();
    void editsTakeTenCharacters();
    void unreadableCountKeepsEveryLogin();
    void pickedLoginIsWrittenBackUnderItsNumber();
    void errorAfterConnectingEnablesAndWritesNothing();
    void serverWithoutAccountsStillConnects();
    void damagedStoredPasswordTakesNoNumber();
    void nextFieldRepeatsTheLastField();
    void cancelWithoutConnectionAsksToLeave();

private:
    std::shared_ptr<ScriptedDriver> m_driver;
    std::unique_ptr<test::DemoDatabase> m_demo;
};

void TestConnection::initTestCase()
{
    TKOLM000F::setAutoConnectEnabled(false);
}

void TestConnection::cleanupTestCase()
{
    db::setClientDriver(nullptr);
}

void TestConnection::init()
{
    m_demo = std::make_unique<test::DemoDatabase>();
    m_driver = std::make_shared<ScriptedDriver>();
    db::setClientDriver(m_driver);
    ConnServer.clear();
    ConnUser.clear();
    ConnPassword.clear();
}

void TestConnection::cleanup()
{
    db::setClientDriver(nullptr);
    m_demo.reset();
}

void TestConnection::connectsToTheDemoInstance()
{
    test::ScriptedUiServices ui;
    TKOLM000F w;
    QVERIFY2(w.ConnectDatabase(QStringLiteral("DEMO"), QStringLiteral("SYSTEM"),
                               QStringLiteral("MANAGER")),
             qPrintable(ui.messageTexts().join(QLatin1Char('|'))));
    QCOMPARE(w.statusPanels()->panelText(0), QStringLiteral("DEMO"));
    QCOMPARE(w.statusPanels()->panelText(1), QStringLiteral("SYSTEM"));
    QCOMPARE(w.statusPanels()->panelText(2), QStringLiteral("2003-05-14(수) 13:05:22"));
    QVERIFY(w.isConnected());
    QCOMPARE(ConnServer, QStringLiteral("DEMO"));
    QCOMPARE(ConnPassword, QStringLiteral("MANAGER"));
    QVERIFY(w.accountList()->count() >= 4);
    QCOMPARE(w.accountList()->currentText(), QStringLiteral("SYSTEM"));
    QVERIFY(ui.clockSettings().isEmpty());  // the embedded engine's clock is this PC's
    QVERIFY(ui.messages().isEmpty());
}

void TestConnection::refusedLoginKeepsTheConnection()
{
    test::ScriptedUiServices ui;
    TKOLM000F w;
    // Refused before any connection: nothing to show.
    QVERIFY(!w.ConnectDatabase(QStringLiteral("DEMO"), QStringLiteral("SCOTT"),
                               QStringLiteral("LION")));
    QVERIFY(!w.isConnected());
    QVERIFY(!w.session().isConnected());
    QCOMPARE(w.accountList()->count(), 0);
    QCOMPARE(ConnUser, QString());

    // Refused while connected: the connection in use stays, and everything that shows it.
    QVERIFY2(
        w.ConnectDatabase(QStringLiteral("DEMO"), QStringLiteral("SCOTT"), QStringLiteral("TIGER")),
        qPrintable(ui.messageTexts().join(QLatin1Char('|'))));
    w.enableCommands();
    const int accounts = w.accountList()->count();
    QVERIFY(accounts > 0);
    ui.clearRecords();
    QVERIFY(!w.ConnectDatabase(QStringLiteral("DEMO"), QStringLiteral("SYSTEM"),
                               QStringLiteral("WRONG")));
    QCOMPARE(ui.messageTexts(),
             QStringList{QStringLiteral("ORA-01017: invalid username/password; logon denied")});
    QCOMPARE(w.statusPanels()->panelText(0), QStringLiteral("DEMO"));
    QCOMPARE(w.statusPanels()->panelText(1), QStringLiteral("SCOTT"));
    QCOMPARE(w.accountList()->count(), accounts);
    QCOMPARE(w.accountList()->currentText(), QStringLiteral("SCOTT"));
    QCOMPARE(ConnUser, QStringLiteral("SCOTT"));
    QCOMPARE(ConnPassword, QStringLiteral("TIGER"));
    QVERIFY(w.commandBar()->isEnabled());
    QVERIFY(w.session().isConnected());
    QCOMPARE(w.session().username(), QStringLiteral("SCOTT"));
    data::HORACLEM1 query;
    QCOMPARE(query.GetUsers(), accounts);
}

void TestConnection::newLoginReplacesTheOldSession()
{
    test::ScriptedUiServices ui;
    TKOLM000F w;
    QVERIFY(w.ConnectDatabase(QStringLiteral("DEMO"), QStringLiteral("SCOTT"),
                              QStringLiteral("TIGER")));
    QVERIFY(w.ConnectDatabase(QStringLiteral("DEMO"), QStringLiteral("SYSTEM"),
                              QStringLiteral("MANAGER")));
    QCOMPARE(w.session().username(), QStringLiteral("SYSTEM"));
    QCOMPARE(w.statusPanels()->panelText(1), QStringLiteral("SYSTEM"));
    // The old session logged off: only the new one runs in this program.
    db::Query sessions(&w.session());
    sessions.addSql(QStringLiteral("SELECT USERNAME FROM V$SESSION WHERE PROCESS = :PID"));
    sessions.paramByName(QStringLiteral("PID"))
        .setAsString(QString::number(QCoreApplication::applicationPid()));
    sessions.open();
    QCOMPARE(sessions.recordCount(), 1);
    QCOMPARE(sessions.field(0).value().text, QStringLiteral("SYSTEM"));
}

void TestConnection::lowerCaseUserSelectsUpperCaseEntry()
{
    test::ScriptedUiServices ui;
    TKOLM000F w;
    QVERIFY2(
        w.ConnectDatabase(QStringLiteral("DEMO"), QStringLiteral("scott"), QStringLiteral("TIGER")),
        qPrintable(ui.messageTexts().join(QLatin1Char('|'))));
    QCOMPARE(ConnUser, QStringLiteral("scott"));
    QCOMPARE(w.statusPanels()->panelText(1), QStringLiteral("scott"));
    QCOMPARE(w.accountList()->currentText(), QStringLiteral("SCOTT"));
}

void TestConnection::remoteServerSetsTheClock_data()
{
    QTest::addColumn<QString>("weekday");
    QTest::addColumn<QString>("shown");
    QTest::newRow("Sunday") << "1" << "2003-05-18(일) 07:08:09";
    QTest::newRow("Saturday") << "7" << "2003-05-18(토) 07:08:09";
    QTest::newRow("unknown") << "9" << "2003-05-18(9) 07:08:09";
}

void TestConnection::remoteServerSetsTheClock()
{
    QFETCH(QString, weekday);
    QFETCH(QString, shown);
    m_driver->server.weekday = weekday;
    test::ScriptedUiServices ui;
    TKOLM000F w;
    QVERIFY2(
        w.ConnectDatabase(QStringLiteral("PROD"), QStringLiteral("SCOTT"), QStringLiteral("TIGER")),
        qPrintable(ui.messageTexts().join(QLatin1Char('|'))));
    QCOMPARE(w.statusPanels()->panelText(2), shown);
    QCOMPARE(ui.clockSettings(),
             QList<QDateTime>{QDateTime(QDate(2003, 5, 18), QTime(7, 8, 9, 0))});
    QCOMPARE(w.accountList()->currentText(), QStringLiteral("SCOTT"));
}

void TestConnection::accountChangeWithoutScreens()
{
    test::ScriptedUiServices ui;
    TKOLM000F w;
    QVERIFY2(
        w.ConnectDatabase(QStringLiteral("PROD"), QStringLiteral("SCOTT"), QStringLiteral("TIGER")),
        qPrintable(ui.messageTexts().join(QLatin1Char('|'))));
    w.accountList()->setCurrentIndex(1);
    w.cbe_grantChange();
    QCOMPARE(ConnUser, QStringLiteral("SYS"));
    QCOMPARE(w.statusPanels()->panelText(1), QStringLiteral("SCOTT"));
    QVERIFY(w.session().isConnected());
    QCOMPARE(w.session().username(), QStringLiteral("SCOTT"));
}

void TestConnection::accountChangeRefusedWithScreens()
{
    test::ScriptedUiServices ui;
    TKOLM000F w;
    w.show();
    QVERIFY2(
        w.ConnectDatabase(QStringLiteral("PROD"), QStringLiteral("SCOTT"), QStringLiteral("TIGER")),
        qPrintable(ui.messageTexts().join(QLatin1Char('|'))));
    (new AnyScreen)->openIn(w.mdiArea());
    w.accountList()->setCurrentIndex(2);
    w.cbe_grantChange();
    QCOMPARE(ConnUser, QStringLiteral("SCOTT"));
    QCOMPARE(w.accountList()->currentText(), QStringLiteral("SCOTT"));
    QCOMPARE(ui.messageTexts(),
             QStringList{QStringLiteral("이후의 모든 환경에 영향을 줄 수 있으므로 현재 열린화면은 닫은 후 여십시오.")});
}

void TestConnection::emptyListOkActsAsNew()
{
    ProfileFile(settingsFilePath())
        .writeString(QStringLiteral("System Version"), QStringLiteral("Count"),
                     QStringLiteral("0"));
    test::ScriptedUiServices ui;
    TKOLM000F w;
    TKOLM100F dialog(&w);
    dialog.show();
    auto* grid = dialog.findChild<ui::StringGrid*>("AdvStringGrid1");
    QCOMPARE(grid->rowCount(), 1);
    dialog.findChild<QLineEdit*>("ed_username")->setText(QStringLiteral("SCOTT"));
    dialog.findChild<QLineEdit*>("ed_password")->setText(QStringLiteral("TIGER"));
    dialog.findChild<QLineEdit*>("ed_server")->setText(QStringLiteral("PROD"));
    dialog.sbt_OkClick();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(iniValue(QStringLiteral("System Version"), QStringLiteral("Count")),
             QStringLiteral("1"));
    // A password the user chose not to keep is not written at all.
    QCOMPARE(iniValue(QStringLiteral("System Logging"), QStringLiteral("1")),
             QStringLiteral("PROD/SCOTT//N/"));
    QVERIFY(w.menuAction(QStringLiteral("N15"))->isEnabled());
}

void TestConnection::loginSavedWithNKeepsPasswordEmpty()
{
    ProfileFile ini(settingsFilePath());
    ini.writeString(QStringLiteral("System Version"), QStringLiteral("Count"), QStringLiteral("2"));
    ini.writeString(QStringLiteral("System Logging"), QStringLiteral("2"),
                    QStringLiteral("PROD/SCOTT/") +
                        EncodePassword(QStringLiteral("TIGER"), SavedLoginKey) +
                        QStringLiteral("/N/"));
    test::ScriptedUiServices ui;
    TKOLM000F w;
    TKOLM100F dialog(&w);
    dialog.show();
    dialog.AdvStringGrid1Click(1, 2);
    QCOMPARE(dialog.mode(), QStringLiteral("2"));
    QCOMPARE(dialog.findChild<QLineEdit*>("ed_username")->text(), QStringLiteral("SCOTT"));
    QCOMPARE(dialog.findChild<QLineEdit*>("ed_server")->text(), QStringLiteral("PROD"));
    QCOMPARE(dialog.findChild<QLineEdit*>("ed_password")->text(), QString());
    QVERIFY(!dialog.findChild<QCheckBox*>("cb_password")->isChecked());
    dialog.sbt_OkClick();
    QCOMPARE(dialog.statusText(), QStringLiteral("▶ 서버/유저/암호 입력이 반드시 되어야 합니다..."));
    QVERIFY(!w.isConnected());
}

void TestConnection::doubleClickConnectsAndRewritesTheSameNumber()
{
    test::ScriptedUiServices ui;
    TKOLM000F w;
    TKOLM100F dialog(&w);
    dialog.show();
    auto* grid = dialog.findChild<ui::StringGrid*>("AdvStringGrid1");
    QCOMPARE(grid->cell(1, 1), QStringLiteral("DEMO"));
    QCOMPARE(grid->cell(2, 1), QStringLiteral("SYSTEM"));
    QCOMPARE(grid->cell(4, 1), QStringLiteral("Y"));
    const QString before = iniValue(QStringLiteral("System Logging"), QStringLiteral("1"));
    dialog.AdvStringGrid1DblClick(2, 1);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(w.isConnected());
    QCOMPARE(iniValue(QStringLiteral("System Version"), QStringLiteral("Count")),
             QStringLiteral("1"));
    QCOMPARE(iniValue(QStringLiteral("System Logging"), QStringLiteral("1")), before);
    QVERIFY(w.commandBar()->isEnabled());
}

void TestConnection::newAfterPickingAddsANumber()
{
    test::ScriptedUiServices ui;
    TKOLM000F w;
    TKOLM100F dialog(&w);
    dialog.show();
    dialog.AdvStringGrid1Click(0, 1);
    dialog.findChild<QLineEdit*>("ed_username")->setText(QStringLiteral("SCOTT"));
    dialog.findChild<QLineEdit*>("ed_password")->setText(QStringLiteral("TIGER"));
    dialog.sbt_NewClick();
    QCOMPARE(iniValue(QStringLiteral("System Version"), QStringLiteral("Count")),
             QStringLiteral("2"));
    QCOMPARE(iniValue(QStringLiteral("System Logging"), QStringLiteral("2")),
             QStringLiteral("DEMO/SCOTT/") +
                 EncodePassword(QStringLiteral("TIGER"), SavedLoginKey) + QStringLiteral("/Y/"));
    QVERIFY(iniValue(QStringLiteral("System Logging"), QStringLiteral("1"))
                .startsWith(QStringLiteral("DEMO/SYSTEM/")));
}

void TestConnection::refusedConnectionWritesNothing()
{
    test::ScriptedUiServices ui;
    TKOLM000F w;
    TKOLM100F dialog(&w);
    dialog.show();
    dialog.findChild<QLineEdit*>("ed_username")->setText(QStringLiteral("SCOTT"));
    dialog.findChild<QLineEdit*>("ed_password")->setText(QStringLiteral("LION"));
    dialog.findChild<QLineEdit*>("ed_server")->setText(QStringLiteral("PROD"));
    dialog.sbt_NewClick();
    QVERIFY(dialog.isVisible());
    QCOMPARE(ui.messages().size(), 1);
    QCOMPARE(iniValue(QStringLiteral("System Version"), QStringLiteral("Count")),
             QStringLiteral("1"));
    QCOMPARE(iniValue(QStringLiteral("System Logging"), QStringLiteral("2")), QString());
    QCOMPARE(dialog.findChild<QLineEdit*>("ed_password")->text(), QStringLiteral("LION"));
    QVERIFY(!w.commandBar()->isEnabled());
}

void TestConnection::editsTakeTenCharacters()
{
    TKOLM000F w;
    TKOLM100F dialog(&w);
    for (const char* name : {"ed_username", "ed_password", "ed_server"}) {
        auto* edit = dialog.findChild<QLineEdit*>(name);
        QTest::keyClicks(edit, QStringLiteral("ABCDEFGHIJK"));
        QCOMPARE(edit->text().size(), 10);
    }
}

void TestConnection::unreadableCountKeepsEveryLogin()
{
    ProfileFile ini(settingsFilePath());
    ini.writeString(QStringLiteral("System Version"), QStringLiteral("Count"),
                    QStringLiteral("two"));
    ini.writeString(QStringLiteral("System Logging"), QStringLiteral("2"),
                    QStringLiteral("X/Y/00/N/"));
    test::ScriptedUiServices ui;
    TKOLM000F w;
    TKOLM100F dialog(&w);
    dialog.show();
    QCOMPARE(ui.messageTexts(), QStringList{QStringLiteral("'two' is not a valid integer value")});
    QVERIFY(dialog.savedLoginsUnreadable());
    QCOMPARE(dialog.findChild<ui::StringGrid*>("AdvStringGrid1")->cell(1, 1), QString());
    dialog.findChild<QLineEdit*>("ed_username")->setText(QStringLiteral("SCOTT"));
    dialog.findChild<QLineEdit*>("ed_password")->setText(QStringLiteral("TIGER"));
    dialog.findChild<QLineEdit*>("ed_server")->setText(QStringLiteral("PROD"));
    dialog.sbt_NewClick();
    QCOMPARE(iniValue(QStringLiteral("System Version"), QStringLiteral("Count")),
             QStringLiteral("3"));
    QVERIFY(iniValue(QStringLiteral("System Logging"), QStringLiteral("3"))
                .startsWith(QStringLiteral("PROD/SCOTT/")));
    QCOMPARE(iniValue(QStringLiteral("System Logging"), QStringLiteral("2")),
             QStringLiteral("X/Y/00/N/"));
}

void TestConnection::pickedLoginIsWrittenBackUnderItsNumber()
{
    ProfileFile ini(settingsFilePath());
    ini.writeString(QStringLiteral("System Version"), QStringLiteral("Count"), QStringLiteral("2"));
    ini.writeString(QStringLiteral("System Logging"), QStringLiteral("2"),
                    QStringLiteral("DEMO/SCOTT/") +
                        EncodePassword(QStringLiteral("TIGER"), SavedLoginKey) +
                        QStringLiteral("/Y/"));
    test::ScriptedUiServices ui;
    TKOLM000F w;
    TKOLM100F dialog(&w);
    dialog.show();
    dialog.AdvStringGrid1Click(1, 2);
    QCOMPARE(dialog.pickedNumber(), QStringLiteral("2"));
    QCOMPARE(dialog.findChild<QLineEdit*>("ed_password")->text(), QStringLiteral("TIGER"));
    dialog.findChild<QLineEdit*>("ed_username")->setText(QStringLiteral("hr"));
    dialog.findChild<QLineEdit*>("ed_password")->setText(QStringLiteral("HR"));
    dialog.findChild<QCheckBox*>("cb_password")->setChecked(false);
    dialog.sbt_OkClick();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(iniValue(QStringLiteral("System Version"), QStringLiteral("Count")),
             QStringLiteral("2"));
    QCOMPARE(iniValue(QStringLiteral("System Logging"), QStringLiteral("2")),
             QStringLiteral("DEMO/hr//N/"));
    QCOMPARE(iniValue(QStringLiteral("System Logging"), QStringLiteral("3")), QString());
    QCOMPARE(ConnUser, QStringLiteral("hr"));
}

void TestConnection::errorAfterConnectingEnablesAndWritesNothing()
{
    test::ScriptedUiServices ui;
    TKOLM000F w;
    TKOLM100F dialog(&w);
    dialog.show();
    dialog.findChild<QLineEdit*>("ed_username")->setText(QStringLiteral("SCOTT"));
    dialog.findChild<QLineEdit*>("ed_password")->setText(QStringLiteral("TIGER"));
    dialog.findChild<QLineEdit*>("ed_server")->setText(QStringLiteral("DEMO"));
    // The server date is the first statement after connecting.
    w.session().failNthStatementForTesting(1, 3113,
                                           QStringLiteral("end-of-file on communication channel"));
    dialog.findChild<QPushButton*>("sbt_New")->click();
    QCOMPARE(ui.messageTexts(),
             QStringList{QStringLiteral("ORA-03113: end-of-file on communication channel")});
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!w.commandBar()->isEnabled());
    QCOMPARE(iniValue(QStringLiteral("System Version"), QStringLiteral("Count")),
             QStringLiteral("1"));
    QCOMPARE(ConnUser, QStringLiteral("SCOTT"));  // set before the failing read
    QCOMPARE(w.statusPanels()->panelText(1), QString());
    QCOMPARE(w.accountList()->count(), 0);
}

void TestConnection::serverWithoutAccountsStillConnects()
{
    m_driver->server.users.clear();
    test::ScriptedUiServices ui;
    TKOLM000F w;
    QVERIFY(w.ConnectDatabase(QStringLiteral("PROD"), QStringLiteral("SCOTT"),
                              QStringLiteral("TIGER")));
    QCOMPARE(w.accountList()->count(), 0);
    QCOMPARE(w.statusPanels()->simpleText(), QStringLiteral("▶ ALL_USERS DATA NOT FOUND ...(0)"));
    QCOMPARE(w.statusPanels()->panelText(1), QStringLiteral("SCOTT"));
}

void TestConnection::damagedStoredPasswordTakesNoNumber()
{
    ProfileFile(settingsFilePath())
        .writeString(QStringLiteral("System Logging"), QStringLiteral("1"),
                     QStringLiteral("DEMO/SYSTEM/ZZ12/Y/"));
    test::ScriptedUiServices ui;
    TKOLM000F w;
    TKOLM100F dialog(&w);
    dialog.show();
    auto* grid = dialog.findChild<ui::StringGrid*>("AdvStringGrid1");
    emit grid->cellClicked(1, 1);
    QCOMPARE(ui.messages().size(), 1);
    QVERIFY(ui.messages().first().text.contains(QStringLiteral("is not a valid")));
    QCOMPARE(dialog.findChild<QLineEdit*>("ed_password")->text(), QString());
    QCOMPARE(dialog.pickedNumber(), QString());
}

void TestConnection::nextFieldRepeatsTheLastField()
{
    TKOLM000F w;
    TKOLM100F dialog(&w);
    const QString value = QStringLiteral("PROD/SCOTT/AB");
    QCOMPARE(dialog.NextField(value, 1), QStringLiteral("PROD"));
    QCOMPARE(dialog.NextField(value, 6), QStringLiteral("SCOTT"));
    QCOMPARE(dialog.NextField(value, 12), QStringLiteral("AB"));
    QCOMPARE(dialog.NextField(value, 12), QStringLiteral("AB"));
}

void TestConnection::cancelWithoutConnectionAsksToLeave()
{
    test::ScriptedUiServices ui;
    TKOLM000F w;
    w.show();
    ui.onDialog([](QDialog* d) {
        d->findChild<QPushButton*>("sbt_Cancel")->click();
        return d->result();
    });
    ui.answerMessage(QMessageBox::No);
    w.N13Click();
    QCOMPARE(ui.dialogsRun(), QStringList{QStringLiteral("TKOLM100F")});
    QCOMPARE(ui.messages().size(), 1);
    QCOMPARE(ui.messages().first().text, QStringLiteral("Kolmara 시스템을 종료 하시겠습니까?"));
    QVERIFY(w.isVisible());
}

QTEST_MAIN(TestConnection)
#include "tst_connection.moc"
