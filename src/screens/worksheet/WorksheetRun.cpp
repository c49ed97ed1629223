// The worksheets' run control.
#include "screens/worksheet/WorksheetRun.h"

#include "db/Session.h"
#include "screens/MdiScreen.h"
#include "screens/worksheet/SqlEditor.h"
#include "screens/worksheet/SqlEditorPane.h"
#include "widgets/CancellableCall.h"

#include <QLabel>

namespace kolmara::screens {

WorksheetRun::WorksheetRun(MdiScreen* screen, SqlEditorPane* pane, QLabel* login)
    : m_screen(screen), m_pane(pane), m_login(login)
{
}

WorksheetRun::~WorksheetRun() = default;

bool WorksheetRun::open()
{
    if (m_runner)
        return true;
    m_runner = m_pane->openOwnSession(
        [this](const QString& status) { m_screen->setStatusText(status); });
    if (!m_runner)
        return false;
    m_login->setText(m_runner->loginLabel());
    return true;
}

bool WorksheetRun::connected()
{
    if (!open())
        return false;
    if (!m_runner->session().isConnected()) {
        m_screen->setStatusText(QStringLiteral("▶ 데이터베이스에 접속되어 있지 않습니다..."));
        return false;
    }
    return true;
}

bool WorksheetRun::idle()
{
    if (m_runner->session().isBusy()) {
        m_screen->setStatusText(
            QStringLiteral("▶ 다른 작업이 세션을 쓰고 있습니다. 잠시 후 다시 실행하십시오..."));
        return false;
    }
    return true;
}

void WorksheetRun::run(const QString& text, const std::function<void(const ui::StopFlag&)>& work,
                       const std::function<void()>& started, const std::function<void()>& finished)
{
    SqlEditor* editor = m_pane->editor();
    m_running = true;
    editor->setReadOnly(true);
    started();
    const auto done = [this, editor, &finished] {
        m_running = false;
        editor->setReadOnly(false);
        finished();
    };
    try {
        ui::runCancellable(m_screen, text, work, [this] { m_runner->session().cancel(); });
    } catch (...) {
        done();
        throw;
    }
    done();
}

}  // namespace kolmara::screens
