// The sessions and locks screen against the demo instance, driven as a DBA would: lists and
// filters, the lock groups, the SQL text of a click, the kill with its question and outcome
// lines, and the automatic refresh with its gauge.
#include "app/KOLM000U.h"
#include "common/KOLMCOMM.h"
#include "data/SharedSlots.h"
#include "db/embedded/Engine.h"
#include "screens/sessions/KOLM300U.h"
#include "widgets/PieGauge.h"
#include "widgets/StringGrid.h"
#include "ConnectedDemo.h"

#include <QAction>
#include <QGroupBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace kolmara;
using kolmara::screens::TKOLM300F;

class TestSessions : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void sessionListLoadsWithItsCountLine();
    void statusFilters();
    void lockGridGroupsRowsBySid();
    void clickShowsSqlAndPreparesKill();
    void clicksThatOnlyClear();
    void killAsksThenKills();
    void killAnsweredNoDoesNothing();
    void rejectedKillShowsTheErrorLine();
    void sessionsWithoutSqlTextCanBeKilled_data();
    void sessionsWithoutSqlTextCanBeKilled();
    void timesRefreshesOnTheTickAndTheGaugeAdvances();
    void changingPagesSwitchesRefreshOff();
    void secondsBoxClickActsAsTimes();
    void noneReloadsAtOnce();
    void lockPageKill();
    void failedReadsShowTheirLines();

private:
    TKOLM300F* openScreen();
    // The first session row with SQL text that is not this program's own session.
    int killableSessionRow(TKOLM300F* screen);

    std::unique_ptr<test::ConnectedDemo> m_env;
};

void TestSessions::init()
{
    m_env = std::make_unique<test::ConnectedDemo>();
    QVERIFY(m_env->connected);
}

void TestSessions::cleanup()
{
    m_env.reset();
}

TKOLM300F* TestSessions::openScreen()
{
    return m_env->open<TKOLM300F>("N31");
}

int TestSessions::killableSessionRow(TKOLM300F* screen)
{
    auto* grid = screen->findChild<ui::StringGrid*>("AdvStringGrid1");
    auto* killBox = screen->findChild<QPlainTextEdit*>("Memo2");
    auto* sqlBox = screen->findChild<QPlainTextEdit*>("Memo1");
    for (int r = 1; r < grid->rowCount(); ++r) {
        if (grid->cell(11, r).contains(QStringLiteral("kolmara"), Qt::CaseInsensitive))
            continue;
        screen->ShowSessionSql(false, r);
        if (!sqlBox->toPlainText().isEmpty() && !killBox->toPlainText().isEmpty())
            return r;
    }
    return -1;
}

void TestSessions::sessionListLoadsWithItsCountLine()
{
    TKOLM300F* screen = openScreen();
    QVERIFY(screen);
    QCOMPARE(screen->windowTitle(), QStringLiteral("세션/락트랜젝션 정보"));
    auto* grid = screen->findChild<ui::StringGrid*>("AdvStringGrid1");
    const int n = grid->rowCount() - 1;
    QVERIFY2(n >= 12, qPrintable(QString::number(n)));
    QCOMPARE(screen->statusText(),
             QStringLiteral("▶ 세션 정보가 조회 되었습니다... (%1 건)").arg(n));
    QCOMPARE(grid->cell(0, 0), QStringLiteral("SID"));
    QCOMPARE(grid->cell(14, 0), QStringLiteral("MODULE"));
    QVERIFY(screen->findChild<QToolButton*>("sbt_Cancel")->isEnabled());
    // Background sessions have no user name; user sessions do.
    bool background = false, user = false;
    for (int r = 1; r <= n; ++r)
        (grid->cell(2, r).isEmpty() ? background : user) = true;
    QVERIFY(background && user);
    // Opening it again brings the same window to the front.
    QCOMPARE(openScreen(), screen);
    QCOMPARE(m_env->main.mdiArea()->subWindowList().size(), 1);
}

void TestSessions::statusFilters()
{
    TKOLM300F* screen = openScreen();
    auto* grid = screen->findChild<ui::StringGrid*>("AdvStringGrid1");
    const int all = grid->rowCount() - 1;
    int counts[2] = {};
    const char* buttons[2] = {"rb_active", "rb_inactive"};
    const QString statuses[2] = {QStringLiteral("ACTIVE"), QStringLiteral("INACTIVE")};
    for (int k = 0; k < 2; ++k) {
        screen->findChild<QRadioButton*>(buttons[k])->click();
        counts[k] = grid->rowCount() - 1;
        QVERIFY(counts[k] > 0);
        for (int r = 1; r <= counts[k]; ++r)
            QCOMPARE(grid->cell(5, r), statuses[k]);
    }
    QCOMPARE(counts[0] + counts[1], all);
    screen->findChild<QRadioButton*>("rb_all")->click();
    QCOMPARE(grid->rowCount() - 1, all);
}

void TestSessions::lockGridGroupsRowsBySid()
{
    TKOLM300F* screen = openScreen();
    screen->findChild<QTabWidget*>("PageControl1")->setCurrentIndex(1);
    auto* grid = screen->findChild<ui::StringGrid*>("AdvStringGrid2");
    const int n = grid->rowCount() - 1;
    QVERIFY(n >= 3);
    QCOMPARE(screen->statusText(), QStringLiteral("▶ 락트랜젝션 정보가 조회 되었습니다... (%1 건)").arg(n));

    data::HORACLEM2 locks;
    QCOMPARE(locks.GetLocks(), n);
    bool severalRowsInAGroup = false;
    bool lockWithoutObject = false;
    for (int i = 0; i < n; ++i) {
        const int r = i + 1;
        const bool first = i == 0 || locks.slotText(0, i) != locks.slotText(0, i - 1);
        const bool last = i == n - 1 || locks.slotText(0, i) != locks.slotText(0, i + 1);
        severalRowsInAGroup |= !first;
        lockWithoutObject |= locks.slotText(10, i).isEmpty();
        QCOMPARE(grid->cell(0, r), first ? locks.slotText(0, i) : QString());
        QCOMPARE(grid->cell(1, r), first ? locks.slotText(1, i) : QString());
        QCOMPARE(grid->cell(12, r), last ? QStringLiteral("--") : QString());
        QCOMPARE(grid->endsGroup(r), last);
        for (int c = 2; c <= 11; ++c)
            QCOMPARE(grid->cell(c, r), locks.slotText(c, i));
    }
    QVERIFY(severalRowsInAGroup);
    QVERIFY(lockWithoutObject);
}

void TestSessions::clickShowsSqlAndPreparesKill()
{
    TKOLM300F* screen = openScreen();
    const int row = killableSessionRow(screen);
    QVERIFY(row > 0);
    auto* grid = screen->findChild<ui::StringGrid*>("AdvStringGrid1");
    const QString sid = grid->cell(0, row);
    const QString serial = grid->cell(1, row);
    QVERIFY(!screen->findChild<QPlainTextEdit*>("Memo1")->toPlainText().isEmpty());
    QCOMPARE(screen->findChild<QPlainTextEdit*>("Memo2")->toPlainText(),
             QStringLiteral("ALTER SYSTEM KILL SESSION '%1,%2'").arg(sid, serial));
    QCOMPARE(screen->findChild<QGroupBox*>("GroupBox1")->title(),
             QStringLiteral("[%1 : %2 : %3]").arg(sid, serial, grid->cell(2, row)));
}

void TestSessions::clicksThatOnlyClear()
{
    TKOLM300F* screen = openScreen();
    QVERIFY(killableSessionRow(screen) > 0);
    auto* sql = screen->findChild<QPlainTextEdit*>("Memo1");
    auto* kill = screen->findChild<QPlainTextEdit*>("Memo2");
    auto* lower = screen->findChild<QTabWidget*>("PageControl2");
    lower->setCurrentIndex(1);
    screen->ShowSessionSql(false, 0);
    QVERIFY(sql->toPlainText().isEmpty());
    QVERIFY(kill->toPlainText().isEmpty());
    QCOMPARE(lower->currentIndex(), 0);

    // The second row of a lock group: nothing to show, nothing to kill.
    screen->findChild<QTabWidget*>("PageControl1")->setCurrentIndex(1);
    auto* locks = screen->findChild<ui::StringGrid*>("AdvStringGrid2");
    int second = -1;
    for (int r = 2; r < locks->rowCount() && second < 0; ++r)
        if (locks->cell(0, r).isEmpty())
            second = r;
    QVERIFY(second > 0);
    screen->ShowSessionSql(true, second);
    QVERIFY(kill->toPlainText().isEmpty());
    const int before = m_env->ui.messages().size();
    screen->sbt_CancelClick();
    QCOMPARE(m_env->ui.messages().size(), before);
}

void TestSessions::killAsksThenKills()
{
    TKOLM300F* screen = openScreen();
    const int row = killableSessionRow(screen);
    QVERIFY(row > 0);
    auto* grid = screen->findChild<ui::StringGrid*>("AdvStringGrid1");
    const QString sid = grid->cell(0, row);
    const QString serial = grid->cell(1, row);
    const QString user = grid->cell(2, row);
    const int before = grid->rowCount();

    m_env->ui.answerMessage(QMessageBox::Yes);
    screen->sbt_CancelClick();
    const auto& question = m_env->ui.messages().last();
    QCOMPARE(question.caption, QStringLiteral("Session Kill"));
    QCOMPARE(
        question.text,
        QStringLiteral("SESSION을 KILL 하시겠습니까?\rSID      = %1\rSERIAL   = %2\rUSERNAME = %3")
            .arg(sid, serial, user));
    QCOMPARE(question.icon, QMessageBox::Question);
    QCOMPARE(screen->statusText(),
             QStringLiteral("▶ Session Kill Completed ...(%1:%2)").arg(sid, serial));
    QCOMPARE(grid->rowCount(), before - 1);
    for (int r = 1; r < grid->rowCount(); ++r)
        QVERIFY(!(grid->cell(0, r) == sid && grid->cell(1, r) == serial));
    QVERIFY(screen->findChild<QPlainTextEdit*>("Memo2")->toPlainText().isEmpty());
}

void TestSessions::killAnsweredNoDoesNothing()
{
    TKOLM300F* screen = openScreen();
    QVERIFY(killableSessionRow(screen) > 0);
    auto* grid = screen->findChild<ui::StringGrid*>("AdvStringGrid1");
    const int before = grid->rowCount();
    const QString status = screen->statusText();
    m_env->ui.answerMessage(QMessageBox::No);
    screen->sbt_CancelClick();
    QCOMPARE(grid->rowCount(), before);
    QCOMPARE(screen->statusText(), status);
}

void TestSessions::rejectedKillShowsTheErrorLine()
{
    TKOLM300F* screen = openScreen();
    const int row = killableSessionRow(screen);
    auto* grid = screen->findChild<ui::StringGrid*>("AdvStringGrid1");
    const QString key = grid->cell(0, row) + QStringLiteral(":") + grid->cell(1, row);
    const int before = grid->rowCount();
    m_env->main.session().failNthStatementForTesting(1, 31,
                                                     QStringLiteral("session marked for kill"));
    m_env->ui.answerMessage(QMessageBox::Yes);
    screen->sbt_CancelClick();
    QCOMPARE(m_env->ui.messages().last().text,
             QStringLiteral("ORA-00031: session marked for kill"));
    QCOMPARE(screen->statusText(), QStringLiteral("▶ Session Kill Error ...{%1)").arg(key));
    QCOMPARE(grid->rowCount(), before);
}

void TestSessions::sessionsWithoutSqlTextCanBeKilled_data()
{
    QTest::addColumn<bool>("locks");
    QTest::addColumn<QString>("caption");
    QTest::newRow("sessions page") << false << "Session Kill";
    QTest::newRow("locks page") << true << "Lock Kill";
}

void TestSessions::sessionsWithoutSqlTextCanBeKilled()
{
    // SID 28, the EDI gateway's session, is idle: no SQL text. Here it also holds the row lock
    // that others wait for, the session a DBA most wants to end.
    QFETCH(bool, locks);
    QFETCH(QString, caption);
    {
        auto sys = db::embedded::EngineSession::open(
            m_env->demo.databaseFile(), QStringLiteral("SYS"), QStringLiteral("CHANGE_ON_INSTALL"));
        sys->run(QStringLiteral(
            "INSERT INTO main.\"SYS.V_$LOCK\" VALUES ('6C4B5000', '6C4B5014', 28, 'TX', "
            "262150, 9120, 6, 0, 3001, 1)"));
        sys->close();
    }
    TKOLM300F* screen = openScreen();
    screen->findChild<QTabWidget*>("PageControl1")->setCurrentIndex(locks ? 1 : 0);
    auto* grid = screen->findChild<ui::StringGrid*>(locks ? "AdvStringGrid2" : "AdvStringGrid1");
    int row = -1;
    for (int r = 1; r < grid->rowCount() && row < 0; ++r)
        if (grid->cell(0, r) == QLatin1String("28"))
            row = r;
    QVERIFY(row > 0);
    const QString serial = grid->cell(1, row);

    screen->ShowSessionSql(locks, row);
    QCOMPARE(screen->statusText(), QStringLiteral("▶ V$SQLTEXT_COLUMNS ERROR ...(0)"));
    QVERIFY(screen->findChild<QPlainTextEdit*>("Memo1")->toPlainText().isEmpty());
    QCOMPARE(screen->findChild<QPlainTextEdit*>("Memo2")->toPlainText(),
             QStringLiteral("ALTER SYSTEM KILL SESSION '28,%1'").arg(serial));

    m_env->ui.answerMessage(QMessageBox::Yes);
    screen->sbt_CancelClick();
    QCOMPARE(m_env->ui.messages().last().caption, caption);
    QVERIFY(m_env->ui.messages().last().text.endsWith(QStringLiteral("USERNAME = TGHEDI")));
    QCOMPARE(screen->statusText(),
             QStringLiteral("▶ %1 Completed ...(28:%2)").arg(caption, serial));
    for (int r = 1; r < grid->rowCount(); ++r)
        QVERIFY(grid->cell(0, r) != QLatin1String("28"));
}

void TestSessions::timesRefreshesOnTheTickAndTheGaugeAdvances()
{
    TKOLM300F* screen = openScreen();
    auto* gauge = screen->findChild<ui::PieGauge*>("Gauge1");
    auto* timer = screen->findChild<QTimer*>("Timer1");
    screen->findChild<QSpinBox*>("se_time")->setValue(5);
    screen->findChild<QRadioButton*>("rb_times1")->click();
    QCOMPARE(timer->interval(), 5000);
    QVERIFY(gauge->isVisible());
    QCOMPARE(gauge->maxValue(), 5000);
    screen->Timer3Timer();
    screen->Timer3Timer();
    QCOMPARE(gauge->progress(), 2000);
    for (int i = 0; i < 10; ++i)
        screen->Timer3Timer();
    QCOMPARE(gauge->progress(), 5000);
    screen->setStatusText(QString());
    screen->Timer1Timer();
    QCOMPARE(gauge->progress(), 0);
    QVERIFY(screen->statusText().startsWith(QStringLiteral("▶ 세션 정보가 조회 되었습니다...")));
    // The locks timer does nothing while the sessions page is shown.
    screen->setStatusText(QString());
    screen->Timer2Timer();
    QCOMPARE(screen->statusText(), QString());
}

void TestSessions::changingPagesSwitchesRefreshOff()
{
    TKOLM300F* screen = openScreen();
    auto* times = screen->findChild<QRadioButton*>("rb_times1");
    times->click();
    auto* pages = screen->findChild<QTabWidget*>("PageControl1");
    pages->setCurrentIndex(1);
    QVERIFY(screen->statusText().startsWith(QStringLiteral("▶ 락트랜젝션 정보가 조회 되었습니다...")));
    QVERIFY(!screen->findChild<ui::PieGauge*>("Gauge1")->isVisible());
    QCOMPARE(screen->findChild<ui::PieGauge*>("Gauge1")->progress(), 0);
    pages->setCurrentIndex(0);
    QVERIFY(screen->findChild<QRadioButton*>("rb_none1")->isChecked());
    QVERIFY(!times->isChecked());
    QCOMPARE(screen->TabChanging(), QStringLiteral("0"));
    screen->setStatusText(QString());
    screen->Timer1Timer();
    QCOMPARE(screen->statusText(), QString());
}

void TestSessions::secondsBoxClickActsAsTimes()
{
    TKOLM300F* screen = openScreen();
    auto* seconds = screen->findChild<QSpinBox*>("se_time");
    seconds->setValue(1);
    seconds->stepDown();
    QCOMPARE(seconds->value(), 1);  // never 0 or less
    QCOMPARE(screen->findChild<QTimer*>("Timer1")->interval(), 1000);
    seconds->setValue(7);  // the arrows alone change nothing else
    QVERIFY(!screen->findChild<ui::PieGauge*>("Gauge1")->isVisible());
    screen->setStatusText(QString());
    QTest::mouseClick(seconds->findChild<QLineEdit*>(), Qt::LeftButton);
    QCOMPARE(screen->findChild<QTimer*>("Timer1")->interval(), 7000);
    QCOMPARE(screen->findChild<ui::PieGauge*>("Gauge1")->maxValue(), 7000);
    QVERIFY(screen->findChild<ui::PieGauge*>("Gauge1")->isVisible());
    QVERIFY(screen->findChild<QRadioButton*>("rb_none1")->isChecked());
    QVERIFY(screen->statusText().startsWith(QStringLiteral("▶ 세션 정보가 조회 되었습니다...")));
}

void TestSessions::noneReloadsAtOnce()
{
    TKOLM300F* screen = openScreen();
    screen->findChild<QRadioButton*>("rb_times1")->click();
    screen->setStatusText(QString());
    screen->findChild<QRadioButton*>("rb_none1")->click();
    QVERIFY(!screen->findChild<ui::PieGauge*>("Gauge1")->isVisible());
    QVERIFY(screen->statusText().startsWith(QStringLiteral("▶ 세션 정보가 조회 되었습니다...")));
}

void TestSessions::lockPageKill()
{
    TKOLM300F* screen = openScreen();
    screen->findChild<QTabWidget*>("PageControl1")->setCurrentIndex(1);
    auto* grid = screen->findChild<ui::StringGrid*>("AdvStringGrid2");
    auto* killBox = screen->findChild<QPlainTextEdit*>("Memo2");
    int row = -1;
    for (int r = 1; r < grid->rowCount() && row < 0; ++r) {
        if (grid->cell(0, r).isEmpty())
            continue;
        screen->ShowSessionSql(true, r);
        if (!killBox->toPlainText().isEmpty())
            row = r;
    }
    QVERIFY(row > 0);
    const QString sid = grid->cell(0, row);
    const QString serial = grid->cell(1, row);
    const QString user = grid->cell(3, row);

    m_env->main.session().failNthStatementForTesting(1, 31,
                                                     QStringLiteral("session marked for kill"));
    m_env->ui.answerMessage(QMessageBox::Yes);
    screen->sbt_CancelClick();
    QCOMPARE(m_env->ui.messages().at(m_env->ui.messages().size() - 2).caption,
             QStringLiteral("Lock Kill"));
    QCOMPARE(m_env->ui.messages().at(m_env->ui.messages().size() - 2).text,
             QStringLiteral("LOCK을 KILL 하시겠습니까?\rSID      = %1\rSERIAL   = %2\rUSERNAME = %3")
                 .arg(sid, serial, user));
    QCOMPARE(screen->statusText(), QStringLiteral("▶ Lock Kill Error ...{%1:%2)").arg(sid, serial));

    m_env->ui.answerMessage(QMessageBox::Yes);
    screen->sbt_CancelClick();
    QCOMPARE(screen->statusText(),
             QStringLiteral("▶ Lock Kill Completed ...(%1:%2)").arg(sid, serial));
    for (int r = 1; r < grid->rowCount(); ++r)
        QVERIFY(grid->cell(0, r) != sid);
}

void TestSessions::failedReadsShowTheirLines()
{
    TKOLM300F* screen = openScreen();
    // A background session has no SQL text to show.
    auto* sessions = screen->findChild<ui::StringGrid*>("AdvStringGrid1");
    QVERIFY(sessions->cell(2, 1).isEmpty());
    screen->ShowSessionSql(false, 1);
    QCOMPARE(screen->statusText(), QStringLiteral("▶ V$SQLTEXT_COLUMNS ERROR ...(0)"));
    QVERIFY(screen->findChild<QPlainTextEdit*>("Memo1")->toPlainText().isEmpty());

    // The lock list's handler reports the server's message and the screen its error line.
    screen->findChild<QTabWidget*>("PageControl1")->setCurrentIndex(1);
    m_env->main.session().failNthStatementForTesting(
        1, 942, QStringLiteral("table or view does not exist"));
    screen->sbt_selectClick();
    QCOMPARE(m_env->ui.messages().last().text,
             QStringLiteral("ORA-00942: table or view does not exist"));
    QCOMPARE(screen->statusText(), QStringLiteral("▶ V$LOCK ERROR ...(-1)"));
    auto* locks = screen->findChild<ui::StringGrid*>("AdvStringGrid2");
    QCOMPARE(locks->rowCount(), 2);
    QCOMPARE(locks->cell(12, 1), QStringLiteral("--"));
    QCOMPARE(locks->cell(0, 1), QString());
    QVERIFY(!screen->findChild<QToolButton*>("sbt_Cancel")->isEnabled());

    // The session list has no handler: the error box reports it and the action ends there.
    screen->findChild<QTabWidget*>("PageControl1")->setCurrentIndex(0);
    m_env->main.session().failNthStatementForTesting(
        1, 942, QStringLiteral("table or view does not exist"));
    screen->findChild<QToolButton*>("sbt_select")->click();
    QCOMPARE(m_env->ui.messages().last().text,
             QStringLiteral("ORA-00942: table or view does not exist"));
    QCOMPARE(m_env->ui.messages().last().icon, QMessageBox::Critical);
    QCOMPARE(screen->statusText(), QString());
}

QTEST_MAIN(TestSessions)
#include "tst_sessions.moc"
