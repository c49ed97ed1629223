// The dialog base.
#include "dialogs/FormDialog.h"

#include "widgets/ActionGuard.h"

#include <QStatusBar>

namespace kolmara::dialogs {

QString FormDialog::statusText() const
{
    return StatusBar1->currentMessage();
}

void FormDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    ui::runGuarded(this, [this] { firstShown(); });
}

}  // namespace kolmara::dialogs
