// The main window: frame, menus, command bar, status bar, clock, child-window rules and exits.
#include "app/KOLM000U.h"

#include "app/AppIcon.h"
#include "app/KOLM900U.h"
#include "app/MenuCommands.h"
#include "app/PanelStatusBar.h"
#include "common/Errors.h"
#include "common/KOLMCOMM.h"
#include "data/SharedSlots.h"
#include "db/DriverRegistry.h"
#include "dialogs/KOLM100U.h"
#include "dialogs/KOLM110U.h"
#include "widgets/ActionGuard.h"
#include "widgets/Colors.h"
#include "widgets/Fonts.h"
#include "widgets/ToolButtons.h"
#include "widgets/UiServices.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace kolmara::app {

namespace {

TKOLM000F* g_mainWindow = nullptr;
bool g_autoConnect = true;

const QString kRefusal =
    QStringLiteral("이후의 모든 환경에 영향을 줄 수 있으므로 현재 열린화면은 닫은 후 여십시오.");
const QString kBanner = QStringLiteral("오라클 관리 툴");

}  // namespace

TKOLM000F* MainWindow()
{
    return g_mainWindow;
}

void TKOLM000F::setAutoConnectEnabled(bool enabled)
{
    g_autoConnect = enabled;
}

TKOLM000F::TKOLM000F(QWidget* parent) : QMainWindow(parent)
{
    g_mainWindow = this;
    data::setMainSession(&OraSession1);
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Kolmara [Ver 1.0]"));
    // No close entry: the program is left through its exit commands.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint);
    setFont(ui::gulimChe(12));
    setWindowIcon(programIcon());

    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setObjectName(QStringLiteral("MdiArea"));
    m_mdiArea->setBackground(ui::colorFromBgr(0x00D5D5D5));
    m_mdiArea->viewport()->installEventFilter(this);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setCentralWidget(central);

    buildMenus();
    buildAccountStrip();
    buildCommandBar();
    layout->addWidget(m_mdiArea, 1);

    StatusBar1 = new PanelStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setPanelText(3, kBanner);
    layout->addWidget(StatusBar1);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    ui::connectGuarded(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    Timer1->start();

    ui::runGuarded(this, [this] { FormCreate(); });
}

TKOLM000F::~TKOLM000F()
{
    data::setMainSession(nullptr);
    if (g_mainWindow == this)
        g_mainWindow = nullptr;
}

void TKOLM000F::FormCreate()
{
    LoadSettings();
    setWindowTitle(QStringLiteral("Kolmara [Ver ") + CfgVersion + QStringLiteral(" ") +
                   CfgVerDate + QStringLiteral("]"));
}

QAction* TKOLM000F::addItem(QMenu* menu, const QString& name, const QString& caption)
{
    auto* action = menu->addAction(caption);
    action->setObjectName(name);
    m_actions.insert(name, action);
    return action;
}

QAction* TKOLM000F::menuAction(const QString& name) const
{
    if (auto* menu = m_menus.value(name))
        return menu->menuAction();
    return m_actions.value(name);
}

void TKOLM000F::buildMenus()
{
    QMenuBar* bar = menuBar();
    bar->setFont(ui::gulim(12));
    QMenu* menu = nullptr;
    for (const MenuEntry& entry : menuEntries()) {
        const QString name = QString::fromLatin1(entry.name);
        if (entry.kind == MenuEntry::Menu) {
            menu = bar->addMenu(QString::fromUtf8(entry.caption));
            menu->setObjectName(name);
            menu->menuAction()->setObjectName(name);
            menu->setFont(ui::gulim(12));
            menu->menuAction()->setEnabled(entry.enabled == MenuEntry::Always);
            m_menus.insert(name, menu);
            continue;
        }
        if (entry.kind != MenuEntry::Item)
            continue;
        Q_ASSERT(menu);
        if (entry.separatorBefore)
            menu->addSeparator();
        QAction* action = addItem(menu, name, QString::fromUtf8(entry.caption));
        action->setEnabled(entry.enabled == MenuEntry::Always);
        // Items without a command are inert.
        if (entry.run)
            ui::connectGuarded(action, &QAction::triggered, this,
                               [this, run = entry.run](bool) { run(*this); });
    }

    // The window list: the open child windows at the end of the window menu.
    QMenu* n6 = m_menus.value(QStringLiteral("N6"));
    connect(n6, &QMenu::aboutToShow, this, [this, n6] {
        for (QAction* a : n6->actions())
            if (a->property("windowList").toBool())
                n6->removeAction(a), a->deleteLater();
        const auto windows = m_mdiArea->subWindowList();
        if (windows.isEmpty())
            return;
        QAction* sep = n6->addSeparator();
        sep->setProperty("windowList", true);
        int number = 1;
        for (QMdiSubWindow* sub : windows) {
            QAction* a =
                n6->addAction(QStringLiteral("&%1 %2").arg(number++).arg(sub->windowTitle()));
            a->setProperty("windowList", true);
            a->setCheckable(true);
            a->setChecked(sub == m_mdiArea->activeSubWindow());
            connect(a, &QAction::triggered, this, [this, sub] {
                sub->showNormal();
                m_mdiArea->setActiveSubWindow(sub);
            });
        }
    });
}

void TKOLM000F::buildAccountStrip()
{
    auto* strip = new QToolBar(QStringLiteral("cbe_grant"), this);
    strip->setObjectName(QStringLiteral("CoolBar1"));
    strip->setMovable(false);
    cbe_grant = new QComboBox(strip);
    cbe_grant->setObjectName(QStringLiteral("cbe_grant"));
    cbe_grant->setEditable(false);
    cbe_grant->setFixedWidth(184);
    cbe_grant->setMaxVisibleItems(20);
    ui::connectGuarded(cbe_grant, &QComboBox::activated, this, [this] { cbe_grantChange(); });
    strip->addWidget(cbe_grant);
    addToolBar(Qt::TopToolBarArea, strip);
    addToolBarBreak(Qt::TopToolBarArea);
}

QToolButton* TKOLM000F::addButton(const QString& name, const QString& hint, const QString& glyph,
                                  quint32 bgr, const std::function<void()>& command)
{
    auto* button = new QToolButton(CoolBar3);
    button->setObjectName(name);
    button->setAutoRaise(true);
    button->setFixedSize(25, 25);
    button->setIconSize(QSize(20, 20));
    button->setIcon(ui::glyphIcon(glyph, ui::colorFromBgr(bgr), 20));
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    if (command)
        ui::connectGuarded(button, &QToolButton::clicked, this, [command](bool) { command(); });
    CoolBar3->addWidget(button);
    return button;
}

void TKOLM000F::addGap()
{
    auto* gap = new QWidget(CoolBar3);
    gap->setFixedWidth(12);
    CoolBar3->addWidget(gap);
}

void TKOLM000F::buildCommandBar()
{
    CoolBar3 = new QToolBar(QStringLiteral("CoolBar3"), this);
    CoolBar3->setObjectName(QStringLiteral("CoolBar3"));
    CoolBar3->setMovable(false);
    addToolBar(Qt::TopToolBarArea, CoolBar3);
    // The buttons of one menu stand together, a gap before each further menu's group. A button
    // does what its menu item does; a button whose item is inert is inert too.
    const char* menu = nullptr;
    const char* lastButtonMenu = nullptr;
    for (const MenuEntry& entry : menuEntries()) {
        if (entry.kind == MenuEntry::Menu)
            menu = entry.name;
        if (!entry.button.hint)
            continue;
        if (lastButtonMenu && lastButtonMenu != menu)
            addGap();
        lastButtonMenu = menu;
        const QString item = QString::fromLatin1(entry.name);
        std::function<void()> command;
        if (entry.buttonRun)
            command = [this, run = entry.buttonRun] { run(*this); };
        else if (entry.run)
            command = [this, item] { m_actions.value(item)->trigger(); };
        addButton(QStringLiteral("tbt_") + item, QString::fromUtf8(entry.button.hint),
                  QString::fromUtf8(entry.button.glyph), entry.button.bgr, command);
    }
    CoolBar3->setEnabled(false);
}

bool TKOLM000F::isConnected() const
{
    return !StatusBar1->panelText(1).isEmpty();
}

void TKOLM000F::enableCommands()
{
    for (const MenuEntry& entry : menuEntries()) {
        if (entry.enabled != MenuEntry::Connected)
            continue;
        const QString name = QString::fromLatin1(entry.name);
        if (entry.kind == MenuEntry::Menu)
            m_menus.value(name)->menuAction()->setEnabled(true);
        else if (entry.kind == MenuEntry::Item)
            m_actions.value(name)->setEnabled(true);
    }
    CoolBar3->setEnabled(true);
}

bool TKOLM000F::refuseWithOpenScreens()
{
    if (!hasOpenChildren())
        return false;
    ui::showMessage(this, kRefusal, QMessageBox::Warning, QMessageBox::Ok);
    return true;
}

void TKOLM000F::N11Click()
{
    if (refuseWithOpenScreens())
        return;
    dialogs::TKOLM110F dialog(this);
    ui::services().execDialog(&dialog);
}

void TKOLM000F::N12Click()
{
    ui::services().printerSetup(this);
}

void TKOLM000F::N13Click()
{
    if (refuseWithOpenScreens())
        return;
    m_inConnectCommand = true;
    const int result = [this] {
        dialogs::TKOLM100F dialog(this, this);
        return ui::services().execDialog(&dialog);
    }();
    m_inConnectCommand = false;
    // Without any connection the program has nothing to offer: a cancel asks whether to leave.
    if (result != QDialog::Accepted && !isConnected())
        N14Click();
}

namespace {

// The server's weekday number, 1 being Sunday, as its letter.
QString weekdayLetter(const QString& number)
{
    static const QStringList letters = {QStringLiteral("일"), QStringLiteral("월"),
                                        QStringLiteral("화"), QStringLiteral("수"),
                                        QStringLiteral("목"), QStringLiteral("금"),
                                        QStringLiteral("토")};
    if (number.size() == 1 && number[0] >= QLatin1Char('1') && number[0] <= QLatin1Char('7'))
        return letters[number[0].unicode() - '1'];
    return number;
}

// Characters from..from+count-1 (1-based) as a decimal integer, as the clock record takes them.
int clockField(const QString& text, int from, int count)
{
    const QString piece = text.mid(from - 1, count);
    bool ok = false;
    const int value = piece.trimmed().toInt(&ok);
    if (!ok)
        throw ConversionError(QStringLiteral("'%1' is not a valid integer value").arg(piece));
    return value;
}

}  // namespace

bool TKOLM000F::ConnectDatabase(const QString& server, const QString& user,
                                const QString& password)
{
    ui::setBusyCursor(true);
    // The new session logs on before the old one is dropped: a refused login leaves the
    // connection, the panels, the account list and the enabled commands as they were.
    OraSession1.setLoginPrompt(false);
    try {
        OraSession1.connectReplacing(server, user, password);
    } catch (const db::DatabaseError& e) {
        ui::setBusyCursor(false);
        ui::showMessage(this, e.message());
        return false;
    }
    {
        const QSignalBlocker blocker(cbe_grant);
        cbe_grant->clear();
    }
    ConnServer = server;
    ConnUser = user;
    ConnPassword = password;
    // Korean text that the client or the database cannot carry: said once, at connect.
    if (const QString warning = OraSession1.connectionInfo().warning; !warning.isEmpty())
        ui::showMessage(this, warning, QMessageBox::Warning);

    Oraclem1 = std::make_unique<data::HORACLEM1>();
    RowCount = Oraclem1->GetServerDate();
    if (RowCount > 0) {
        const QString date = Oraclem1->slotText(0);
        const QString time = Oraclem1->slotText(1);
        m_weekdayText = weekdayLetter(Oraclem1->slotText(2));
        StatusBar1->setPanelText(
            2, date + QStringLiteral("(") + m_weekdayText + QStringLiteral(") ") + time);
        const QDateTime serverTime(
            QDate(clockField(date, 1, 4), clockField(date, 6, 2), clockField(date, 9, 2)),
            QTime(clockField(time, 1, 2), clockField(time, 4, 2), clockField(time, 7, 2), 0));
        // The embedded engine runs on this PC: its clock already is the server's clock.
        if (db::embeddedDatabaseFile(server).isEmpty())
            ui::services().setSystemClock(serverTime);
    }
    Oraclem1.reset();

    StatusBar1->setPanelText(0, ConnServer);
    StatusBar1->setPanelText(1, ConnUser);
    StatusBar1->repaint();

    Oraclem1 = std::make_unique<data::HORACLEM1>();
    RowCount = Oraclem1->GetUsers();
    if (RowCount > 0) {
        const QSignalBlocker blocker(cbe_grant);
        for (int i = 0; i < RowCount; ++i)
            cbe_grant->addItem(Oraclem1->slotText(0, i));
        Oraclem1.reset();
        selectConnUser();
    } else {
        Oraclem1.reset();
        StatusBar1->setSimpleText(QStringLiteral("▶ ALL_USERS DATA NOT FOUND ...(") +
                                  QString::number(RowCount) + QStringLiteral(")"));
    }
    ui::setBusyCursor(false);
    return true;
}

void TKOLM000F::selectConnUser()
{
    const QSignalBlocker blocker(cbe_grant);
    int selected = -1;
    for (int i = 0; i < cbe_grant->count() && selected < 0; ++i)
        if (cbe_grant->itemText(i).compare(ConnUser, Qt::CaseInsensitive) == 0)
            selected = i;
    cbe_grant->setCurrentIndex(selected);
}

void TKOLM000F::cbe_grantChange()
{
    if (!hasOpenChildren()) {
        ConnUser = cbe_grant->currentText();
        return;
    }
    selectConnUser();
    ui::showMessage(this, kRefusal, QMessageBox::Warning, QMessageBox::Ok);
}

bool TKOLM000F::confirmExit()
{
    return ui::services().messageBox(this, QStringLiteral("System Close"),
                                     QStringLiteral("Kolmara 시스템을 종료 하시겠습니까?"),
                                     QMessageBox::Question, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

void TKOLM000F::N14Click()
{
    if (confirmExit()) {
        m_closing = true;
        close();
    }
}

void TKOLM000F::ExitButtonClick()
{
    ui::BusyCursor busy;
    if (QMdiSubWindow* active = m_mdiArea->activeSubWindow()) {
        active->close();
        return;
    }
    if (hasOpenChildren()) {
        m_mdiArea->subWindowList(QMdiArea::StackingOrder).constLast()->close();
        return;
    }
    N14Click();
}

void TKOLM000F::N92Click()
{
    TKOLM900F about(this);
    ui::services().execDialog(&about);
}

void TKOLM000F::Timer1Timer()
{
    if (!isConnected())
        return;
    const QDateTime now = ui::services().now();
    m_dateText = now.date().toString(QStringLiteral("yyyy-MM-dd"));
    // The same letters as the server's weekday at connection, whatever the desktop's language:
    // the panel must not switch from "(목)" to "(Thu)" a second after connecting.
    m_weekdayText = QStringLiteral("(") +
                    weekdayLetter(QString::number(now.date().dayOfWeek() % 7 + 1)) +
                    QStringLiteral(") ");
    StatusBar1->setPanelText(
        2, m_dateText + m_weekdayText + now.time().toString(QStringLiteral("HH:mm:ss")));
    StatusBar1->repaint();
}

void TKOLM000F::FormActivate()
{
    if (!isMaximized() && isVisible())
        showMaximized();
    StatusBar1->setPanelText(3, kBanner);
}

void TKOLM000F::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
    QMainWindow::changeEvent(event);
}

bool TKOLM000F::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_mdiArea->viewport() && event->type() == QEvent::Paint)
        maybeAutoConnect();
    return QMainWindow::eventFilter(watched, event);
}

void TKOLM000F::maybeAutoConnect()
{
    if (!g_autoConnect || m_closing || m_inConnectCommand || m_autoConnectQueued || isConnected())
        return;
    m_autoConnectQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_autoConnectQueued = false;
        if (isConnected() || m_closing || m_inConnectCommand)
            return;
        ui::runGuarded(this, [this] { N13Click(); });
    });
}

void TKOLM000F::closeEvent(QCloseEvent* event)
{
    // The window offers no close box of its own, but the desktop may still ask it to close (a
    // window manager's close button, Alt+F4): that is the exit command, with its question.
    if (!m_closing && !confirmExit()) {
        event->ignore();
        return;
    }
    m_closing = true;
    // The screens close before the session logs off, so one holding uncommitted work (the SQL
    // worksheet) can still ask about it; logging off would commit it unasked. A screen that
    // refuses to close keeps the program running.
    m_mdiArea->closeAllSubWindows();
    if (hasOpenChildren()) {
        m_closing = false;
        event->ignore();
        return;
    }
    ui::runGuarded(this, [this] { OraSession1.setConnected(false); });
    event->accept();
}

}  // namespace kolmara::app
