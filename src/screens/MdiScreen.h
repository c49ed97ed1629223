// The base of every screen: a child window of the main window's MDI area with the screen font,
// a fixed caption, and a status line of its own. A screen is freed when its window closes.
#pragma once

#include "screens/ScreenControls.h"

#include <QWidget>

class QMdiArea;
class QMdiSubWindow;

namespace kolmara::screens {

class MdiScreen : public QWidget {
    Q_OBJECT

public:
    // caption: the window caption; size: the window's outer size in pixels.
    MdiScreen(const QString& caption, QSize size, QWidget* parent = nullptr);

    // Puts the screen into the MDI area as a child window centred in it, shown, and freed when
    // closed. Returns the child window.
    QMdiSubWindow* openIn(QMdiArea* area);

    // The screen's one simple status text ("▶ …").
    QString statusText() const;
    void setStatusText(const QString& text);
    // Sets the status text and repaints the status bar at once, before a long action goes on.
    void showStatusNow(const QString& text);
    // The error line of a read that found nothing (0) or failed (-1): "▶ " + view + " ERROR
    // ...(n)".
    void showReadError(const QString& view, int result);

    // Closes the screen's child window, which frees the screen.
    void closeScreen();

protected:
    // The status bar at the foot of the screen; subclasses add it to their layout.
    QStatusBar* statusBar() const { return m_statusBar; }

    // The screen laid out as a column: the tool strip "ToolBar1" on top (returned, for the
    // screen's buttons and fields), then the body the screen passes to addBody, stretched, and the
    // status bar at the foot.
    QToolBar* addToolStrip();
    void addBody(QWidget* body);
    // The tool-strip buttons most screens have: list "sbt_select", CSV export "sbt_Excels"
    // (disabled until there is something to export) and close "sbt_cleses"; the backup screens
    // name theirs "bbt_select" and "bbt_cleses".
    static QToolButton* addListButton(QToolBar* strip,
                                      const QString& name = QStringLiteral("sbt_select"));
    static QToolButton* addExportButton(QToolBar* strip);
    static QToolButton* addCloseButton(QToolBar* strip,
                                       const QString& name = QStringLiteral("sbt_cleses"));

    // A screen whose window offers no minimise button (system menu only) says so in its
    // constructor, before openIn.
    void setMinimizable(bool minimizable) { m_minimizable = minimizable; }

    // Runs once, the first time the screen is shown, inside the action guard: where a screen
    // loads its first page.
    virtual void firstShown() {}
    void showEvent(QShowEvent* event) override;

private:
    QSize m_size;
    QStatusBar* m_statusBar;
    bool m_shownOnce = false;
    bool m_minimizable = true;
};

}  // namespace kolmara::screens
