// The main window frame: the commands before a connection, one child window per screen class,
// the refusal box, the two exits, the status panels and the clock.
#include "app/KOLM000U.h"
#include "app/PanelStatusBar.h"
#include "common/KOLMCOMM.h"
#include "screens/MdiScreen.h"
#include "ScriptedUiServices.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using namespace kolmara;
using kolmara::app::TKOLM000F;

namespace {

class ScreenA : public screens::MdiScreen {
    Q_OBJECT
public:
    ScreenA() : MdiScreen(QStringLiteral("A"), QSize(300, 200)) {}
};

class ScreenB : public screens::MdiScreen {
    Q_OBJECT
public:
    ScreenB() : MdiScreen(QStringLiteral("B"), QSize(300, 200)) {}
};

const QString kRefusal =
    QStringLiteral("이후의 모든 환경에 영향을 줄 수 있으므로 현재 열린화면은 닫은 후 여십시오.");

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void captionComesFromTheSettings();
    void onlyFewCommandsBeforeConnecting();
    void connectingEnablesTheCommands();
    void oneChildWindowPerScreenClass();
    void environmentCommandsRefusedWithOpenScreens();
    void exitButtonClosesChildrenFirst();
    void exitQuestionAnsweredNoChangesNothing();
    void desktopCloseAsksTheExitQuestion();
    void statusPanelsDrawFromTheLeftNeverBold();
    void clockRunsOnlyWhenConnected();

private:
    QTemporaryDir m_folder;
};

void TestMainWindow::initTestCase()
{
    TKOLM000F::setAutoConnectEnabled(false);
    QFile ini(m_folder.filePath(QStringLiteral("KOLMARA.INI")));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[System Version]\r\nVersion=1.0\r\nVerDate=2003-05-14\r\nCount=0\r\n");
    ini.close();
    setProgramFolderForTesting(m_folder.path());
}

void TestMainWindow::cleanupTestCase()
{
    setProgramFolderForTesting(QString());
}

void TestMainWindow::captionComesFromTheSettings()
{
    TKOLM000F w;
    QCOMPARE(w.windowTitle(), QStringLiteral("Kolmara [Ver 1.0 2003-05-14]"));
    QCOMPARE(w.accountList()->maxVisibleItems(), 20);
    QCOMPARE(w.accountList()->width(), 184);
}

void TestMainWindow::onlyFewCommandsBeforeConnecting()
{
    TKOLM000F w;
    const QStringList enabled = {"N13", "N14", "N61", "N62", "N63", "N91", "N92",
                                 "N1", "N6", "N9"};
    const QStringList disabled = {"N11", "N12", "N15", "N16", "N2", "N3", "N4", "N5"};
    for (const QString& name : enabled)
        QVERIFY2(w.menuAction(name)->isEnabled(), qPrintable(name));
    for (const QString& name : disabled)
        QVERIFY2(!w.menuAction(name)->isEnabled(), qPrintable(name));
    QVERIFY(!w.commandBar()->isEnabled());
    QCOMPARE(w.menuAction(QStringLiteral("N1"))->text(), QStringLiteral("환경설정     "));
    QCOMPARE(w.menuAction(QStringLiteral("N9"))->text(), QStringLiteral("도움말      "));
    // The hints of the command bar, in their order.
    QStringList hints;
    for (auto* b : w.commandBar()->findChildren<QToolButton*>())
        if (!b->toolTip().isEmpty())
            hints << b->toolTip();
    QCOMPARE(hints.size(), 19);
    QCOMPARE(hints.first(), QStringLiteral("사용자 환경설정"));
    QCOMPARE(hints.last(), QStringLiteral("홈페이지 가기"));
}

void TestMainWindow::connectingEnablesTheCommands()
{
    TKOLM000F w;
    w.enableCommands();
    for (const char* name : {"N11", "N12", "N13", "N14", "N15", "N16", "N2", "N3", "N4", "N5"})
        QVERIFY2(w.menuAction(QString::fromLatin1(name))->isEnabled(), name);
    QVERIFY(w.commandBar()->isEnabled());
}

void TestMainWindow::oneChildWindowPerScreenClass()
{
    TKOLM000F w;
    w.show();
    int created = 0;
    auto openA = [&] {
        return w.openChild<ScreenA>([&] {
            ++created;
            auto* s = new ScreenA;
            s->openIn(w.mdiArea());
            return s;
        });
    };
    ScreenA* first = openA();
    auto* b = w.openChild<ScreenB>([&] {
        auto* s = new ScreenB;
        s->openIn(w.mdiArea());
        return s;
    });
    QCOMPARE(w.mdiArea()->activeSubWindow()->widget(), b);
    QCOMPARE(openA(), first);
    QCOMPARE(created, 1);
    QCOMPARE(w.mdiArea()->subWindowList().size(), 2);
    QCOMPARE(w.mdiArea()->activeSubWindow()->widget(), first);
}

void TestMainWindow::environmentCommandsRefusedWithOpenScreens()
{
    test::ScriptedUiServices ui;
    TKOLM000F w;
    w.show();
    QVERIFY(!w.refuseWithOpenScreens());
    (new ScreenA)->openIn(w.mdiArea());
    w.N13Click();
    w.N11Click();
    QCOMPARE(ui.messageTexts(), QStringList({kRefusal, kRefusal}));
    QCOMPARE(ui.messages().first().caption, QStringLiteral("Kolmara [V1.0]"));
    QVERIFY(ui.dialogsRun().isEmpty());
}

void TestMainWindow::exitButtonClosesChildrenFirst()
{
    test::ScriptedUiServices ui;
    TKOLM000F w;
    w.show();
    auto* a = new ScreenA;
    a->openIn(w.mdiArea());
    auto* b = new ScreenB;
    b->openIn(w.mdiArea());
    w.ExitButtonClick();
    QCOMPARE(w.mdiArea()->subWindowList().size(), 1);
    QCOMPARE(w.mdiArea()->subWindowList().first()->widget(), a);  // the active one, b, went first
    w.ExitButtonClick();
    QCOMPARE(w.mdiArea()->subWindowList().size(), 0);
    QVERIFY(ui.messages().isEmpty());
    ui.answerMessage(QMessageBox::Yes);
    w.ExitButtonClick();
    QCOMPARE(ui.messages().size(), 1);
    QCOMPARE(ui.messages().first().caption, QStringLiteral("System Close"));
    QCOMPARE(ui.messages().first().text, QStringLiteral("Kolmara 시스템을 종료 하시겠습니까?"));
    QCOMPARE(ui.messages().first().icon, QMessageBox::Question);
    QVERIFY(!w.isVisible());
}

void TestMainWindow::exitQuestionAnsweredNoChangesNothing()
{
    test::ScriptedUiServices ui;
    TKOLM000F w;
    w.show();
    ui.answerMessage(QMessageBox::No);
    w.menuAction(QStringLiteral("N14"))->trigger();
    QVERIFY(w.isVisible());
    QCOMPARE(ui.messages().size(), 1);
}

void TestMainWindow::desktopCloseAsksTheExitQuestion()
{
    // The title-bar close of a window manager or Alt+F4: the exit question, and Yes closes.
    test::ScriptedUiServices ui;
    TKOLM000F w;
    w.show();
    QVERIFY(!(w.windowFlags() & Qt::WindowCloseButtonHint));
    ui.answerMessage(QMessageBox::No);
    QVERIFY(!w.close());
    QVERIFY(w.isVisible());
    ui.answerMessage(QMessageBox::Yes);
    QVERIFY(w.close());
    QVERIFY(!w.isVisible());
    QCOMPARE(ui.messages().size(), 2);
    for (const auto& question : ui.messages()) {
        QCOMPARE(question.caption, QStringLiteral("System Close"));
        QCOMPARE(question.text, QStringLiteral("Kolmara 시스템을 종료 하시겠습니까?"));
        QCOMPARE(question.icon, QMessageBox::Question);
    }
}

void TestMainWindow::statusPanelsDrawFromTheLeftNeverBold()
{
    app::PanelStatusBar bar;
    QFont bold = bar.font();
    bold.setBold(true);
    bar.setFont(bold);
    bar.resize(600, 21);
    bar.setPanelText(0, QStringLiteral("WWWW"));
    bar.setPanelText(1, QStringLiteral("WWWW"));
    bar.setPanelAlignment(0, Qt::AlignRight);
    QVERIFY(!bar.panelFont().bold());
    const QImage image = bar.grab().toImage();
    // The leftmost inked column of each panel is 2 pixels in (glyphs may start a pixel later),
    // and its ink is the panel's colour.
    for (int panel : {0, 1}) {
        const QRect r = bar.panelRect(panel);
        int firstInk = -1;
        QColor ink;
        for (int x = r.left(); x < r.right() && firstInk < 0; ++x)
            for (int y = 0; y < image.height(); ++y) {
                const QColor c = image.pixelColor(x, y);
                if (c.lightness() < 200 && c != bar.palette().color(QPalette::Mid) &&
                    x != r.right()) {
                    firstInk = x - r.left();
                    ink = c;
                    break;
                }
            }
        QVERIFY2(firstInk >= 2 && firstInk <= 4, qPrintable(QString::number(firstInk)));
        const QColor expected = app::PanelStatusBar::panelTextColor(panel);
        QVERIFY2(qAbs(ink.hue() - expected.hue()) < 20 || ink.hue() < 0,
                 qPrintable(ink.name()));
    }
    QCOMPARE(app::PanelStatusBar::panelTextColor(0), QColor(0, 0, 255));
    QCOMPARE(app::PanelStatusBar::panelTextColor(1), QColor(255, 0, 0));
    QCOMPARE(app::PanelStatusBar::panelTextColor(2), QColor(128, 0, 0));
    QCOMPARE(app::PanelStatusBar::panelTextColor(3), QColor(0, 0, 0));
    QCOMPARE(bar.panelWidth(2), 150);
}

void TestMainWindow::clockRunsOnlyWhenConnected()
{
    test::ScriptedUiServices ui;
    ui.setNow(QDateTime(QDate(2003, 5, 14), QTime(13, 5, 22)));
    TKOLM000F w;
    w.statusPanels()->setPanelText(2, QStringLiteral("unchanged"));
    w.Timer1Timer();
    QCOMPARE(w.statusPanels()->panelText(2), QStringLiteral("unchanged"));
    w.statusPanels()->setPanelText(1, QStringLiteral("SYSTEM"));
    w.Timer1Timer();
    QCOMPARE(w.statusPanels()->panelText(2), QStringLiteral("2003-05-14(수) 13:05:22"));
    // The weekday letters are the ones the connection shows for the server's weekday, on any
    // desktop: 18 May 2003 was a Sunday.
    const QString letters = QStringLiteral("일월화수목금토");
    for (int day = 0; day < 7; ++day) {
        ui.setNow(QDateTime(QDate(2003, 5, 18 + day), QTime(0, 0, 1)));
        w.Timer1Timer();
        QCOMPARE(w.weekdayText(), QStringLiteral("(%1) ").arg(letters[day]));
    }
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
