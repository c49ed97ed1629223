// TKOLM000F, the main window: the multiple-document frame that owns the program's one database
// session, the menu bar and the command bar from which every screen and dialog is opened, the
// account list that chooses the schema owner for all screens, and the status bar with the
// connection and a running clock.
#pragma once

#include "db/Session.h"
#include "dialogs/ConnectTarget.h"

#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <functional>

class QAction;
class QComboBox;
class QMenu;
class QTimer;
class QToolBar;
class QToolButton;

namespace kolmara::app {

class PanelStatusBar;

class TKOLM000F : public QMainWindow, public dialogs::ConnectTarget {
    Q_OBJECT

public:
    explicit TKOLM000F(QWidget* parent = nullptr);
    ~TKOLM000F() override;

    // While not connected, every repaint opens the connect dialog. Tests switch that off.
    static void setAutoConnectEnabled(bool enabled);

    QMdiArea* mdiArea() const { return m_mdiArea; }
    PanelStatusBar* statusPanels() const { return StatusBar1; }
    QComboBox* accountList() const { return cbe_grant; }
    QToolBar* commandBar() const { return CoolBar3; }
    // The menu action with the given name (N1 … N92), or nullptr.
    QAction* menuAction(const QString& name) const;

    // Connects the session to server as user, as the connect dialog asks: records the
    // connection in the globals, sets the PC clock from the server, shows the connection in the
    // status bar and fills the account list. False when the database refused the connection (its
    // message has been shown; a connection made before stays, with everything that shows it); a
    // database error after connecting passes to the caller.
    bool ConnectDatabase(const QString& server, const QString& user,
                         const QString& password) override;
    db::Session& session() { return OraSession1; }

    // The user picked an account in the account list.
    void cbe_grantChange();

    // True while the user panel holds the login user.
    bool isConnected() const;

    // Enables the commands usable once a connection exists. Nothing disables them again.
    void enableCommands() override;

    // Opens a screen as a child window: an open one of that class is shown and brought to the
    // front, otherwise a new one is made by `create`.
    template <typename Screen>
    Screen* openChild(const std::function<Screen*()>& create)
    {
        for (QMdiSubWindow* sub : m_mdiArea->subWindowList()) {
            if (auto* screen = qobject_cast<Screen*>(sub->widget())) {
                if (sub->isMinimized())
                    sub->showNormal();
                else
                    sub->show();
                m_mdiArea->setActiveSubWindow(sub);
                sub->raise();
                return screen;
            }
        }
        return create();
    }

    bool hasOpenChildren() const { return !m_mdiArea->subWindowList().isEmpty(); }

    // The warning shown when a command would change the environment under open screens. Returns
    // true (after showing it) when screens are open.
    bool refuseWithOpenScreens();

    // Commands, callable from tests as a click would.
    void N11Click();        // 사용자 환경설정
    void N12Click();        // 프린트 설정
    void N13Click();        // 접속하기
    void N14Click();        // 시스템 끝내기 (menu)
    void ExitButtonClick(); // 시스템 끝내기 (command bar)
    void N92Click();        // 프로그램에 대하여
    void Timer1Timer();     // the clock tick

    // The clock's two texts (also used by the connection for the server's weekday).
    QString dateText() const { return m_dateText; }
    QString weekdayText() const { return m_weekdayText; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void buildMenus();
    void buildAccountStrip();
    void buildCommandBar();
    QAction* addItem(QMenu* menu, const QString& name, const QString& caption);
    QToolButton* addButton(const QString& name, const QString& hint, const QString& glyph,
                           quint32 bgr, const std::function<void()>& command);
    void addGap();
    void maybeAutoConnect();
    // The exit question "Kolmara 시스템을 종료 하시겠습니까?"; true when the user answered Yes.
    bool confirmExit();
    // Selects the account-list entry equal to ConnUser in any letter case (none if there is none),
    // without firing the change handler.
    void selectConnUser();
    void FormActivate();

    db::Session OraSession1;
    QMdiArea* m_mdiArea = nullptr;
    PanelStatusBar* StatusBar1 = nullptr;
    QComboBox* cbe_grant = nullptr;
    QToolBar* CoolBar3 = nullptr;
    QTimer* Timer1 = nullptr;
    QString m_dateText;
    QString m_weekdayText;
    bool m_closing = false;
    bool m_inConnectCommand = false;
    bool m_autoConnectQueued = false;
    QHash<QString, QAction*> m_actions;
    QHash<QString, QMenu*> m_menus;
};

// The one main window of the run, or nullptr before it exists.
TKOLM000F* MainWindow();

}  // namespace kolmara::app
