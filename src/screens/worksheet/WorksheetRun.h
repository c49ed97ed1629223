// The run control both worksheets share (the query worksheet and the procedure editor): the
// editor's own session, opened the first time it is needed and named at the foot of the screen;
// the checks before a call (connected, nobody else on the session); and the call itself, run on a
// worker behind the cancel window, the editor read-only meanwhile and the session's call
// cancelled from the window.
#pragma once

#include "data/SqlRunner.h"

#include <functional>
#include <memory>

class QLabel;
class QString;

namespace kolmara::ui {
class StopFlag;
}

namespace kolmara::screens {

class MdiScreen;
class SqlEditorPane;

class WorksheetRun {
public:
    // `login` shows the session's login once it is open. All three outlive the helper.
    WorksheetRun(MdiScreen* screen, SqlEditorPane* pane, QLabel* login);
    ~WorksheetRun();

    // The runner on the editor's own session; null until open() has made it.
    data::SqlRunner* runner() const { return m_runner.get(); }
    bool isRunning() const { return m_running; }

    // Opens the session the first time; says why not on the status line and under the editor.
    bool open();
    // Open and connected; says on the status line when the database is not connected.
    bool connected();
    // Nothing else uses the session now; says on the status line when something does.
    bool idle();

    // Runs `work` on a worker behind the cancel window captioned `text`. `started` is called once
    // the run is marked and the editor read-only, `finished` once both are undone, whether the
    // work ended, was cancelled or threw (an exception passes on after `finished`).
    void run(const QString& text, const std::function<void(const ui::StopFlag&)>& work,
             const std::function<void()>& started, const std::function<void()>& finished);

private:
    MdiScreen* m_screen;
    SqlEditorPane* m_pane;
    QLabel* m_login;
    std::unique_ptr<data::SqlRunner> m_runner;
    bool m_running = false;
};

}  // namespace kolmara::screens
