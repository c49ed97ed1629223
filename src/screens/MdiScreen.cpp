// The screen base.
#include "screens/MdiScreen.h"

#include "widgets/ActionGuard.h"
#include "widgets/Fonts.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>

namespace kolmara::screens {

MdiScreen::MdiScreen(const QString& caption, QSize size, QWidget* parent)
    : QWidget(parent), m_size(size), m_statusBar(new QStatusBar(this))
{
    setWindowTitle(caption);
    setFont(ui::gulimChe(12));
    m_statusBar->setObjectName(QStringLiteral("StatusBar1"));
    m_statusBar->setSizeGripEnabled(false);
}

QMdiSubWindow* MdiScreen::openIn(QMdiArea* area)
{
    auto* sub = area->addSubWindow(this, Qt::SubWindow | Qt::WindowTitleHint |
                                             Qt::WindowSystemMenuHint |
                                             Qt::WindowMinimizeButtonHint |
                                             Qt::WindowCloseButtonHint);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->resize(m_size);
    const QSize room = area->viewport()->size();
    sub->move(qMax(0, (room.width() - m_size.width()) / 2),
              qMax(0, (room.height() - m_size.height()) / 2));
    sub->show();
    return sub;
}

QString MdiScreen::statusText() const
{
    return m_statusBar->currentMessage();
}

void MdiScreen::setStatusText(const QString& text)
{
    m_statusBar->showMessage(text);
}

void MdiScreen::showStatusNow(const QString& text)
{
    m_statusBar->showMessage(text);
    m_statusBar->repaint();
}

void MdiScreen::closeScreen()
{
    if (QWidget* sub = parentWidget())
        sub->close();
    else
        close();
}

void MdiScreen::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    ui::runGuarded(this, [this] { firstShown(); });
}

}  // namespace kolmara::screens
