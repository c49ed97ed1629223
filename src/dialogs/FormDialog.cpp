// The dialog base.
#include "dialogs/FormDialog.h"

#include "widgets/ActionGuard.h"

#include <QBoxLayout>
#include <QStatusBar>

namespace kolmara::dialogs {

QString FormDialog::statusText() const
{
    return StatusBar1->currentMessage();
}

void FormDialog::addStatusBar(QBoxLayout* column)
{
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    column->addWidget(StatusBar1);
}

void FormDialog::setStatus(const QString& text)
{
    StatusBar1->showMessage(text);
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
