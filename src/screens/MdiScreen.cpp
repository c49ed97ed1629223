// The screen base.
#include "screens/MdiScreen.h"

#include "widgets/ActionGuard.h"
#include "widgets/Fonts.h"
#include "widgets/ToolButtons.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

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
    Qt::WindowFlags flags = Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                            Qt::WindowCloseButtonHint;
    if (m_minimizable)
        flags |= Qt::WindowMinimizeButtonHint;
    auto* sub = area->addSubWindow(this, flags);
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

QToolBar* MdiScreen::addToolStrip()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* strip = new QToolBar(this);
    strip->setObjectName(QStringLiteral("ToolBar1"));
    layout->addWidget(strip);
    return strip;
}

void MdiScreen::addBody(QWidget* body)
{
    auto* column = qobject_cast<QVBoxLayout*>(layout());
    column->addWidget(body, 1);
    column->addWidget(m_statusBar);
}

QToolButton* MdiScreen::addListButton(QToolBar* strip, const QString& name)
{
    return ui::addToolButton(strip, name, QStringLiteral("조회"), QStringLiteral("R"),
                             QColor(40, 120, 200));
}

QToolButton* MdiScreen::addExportButton(QToolBar* strip)
{
    QToolButton* button =
        ui::addToolButton(strip, QStringLiteral("sbt_Excels"), QStringLiteral("엑셀"),
                          QStringLiteral("XL"), QColor(30, 130, 70));
    button->setEnabled(false);
    return button;
}

QToolButton* MdiScreen::addCloseButton(QToolBar* strip, const QString& name)
{
    return ui::addToolButton(strip, name, QStringLiteral("닫기"), QStringLiteral("X"),
                             QColor(110, 110, 110));
}

void MdiScreen::showReadError(const QString& view, int result)
{
    setStatusText(QStringLiteral("▶ ") + view + QStringLiteral(" ERROR ...(") +
                  QString::number(result) + QLatin1Char(')'));
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
