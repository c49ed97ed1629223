// Painting of the main window's status panels.
#include "app/PanelStatusBar.h"

#include "widgets/Colors.h"

#include <QPainter>
#include <QStyleOption>

namespace kolmara::app {

namespace {
constexpr int kHeight = 21;
constexpr int kTextOffset = 2;
constexpr quint32 kPanelColors[] = {0x00FF0000, 0x000000FF, 0x00000080, 0x00000000};
}  // namespace

PanelStatusBar::PanelStatusBar(QWidget* parent)
    : QWidget(parent),
      m_texts(4),
      m_widths({100, 100, 150, 100}),
      m_alignments(4, Qt::AlignLeft | Qt::AlignVCenter)
{
    setFixedHeight(kHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PanelStatusBar::setPanelText(int panel, const QString& text)
{
    if (panel < 0 || panel >= panelCount())
        return;
    m_texts[panel] = text;
    update();
}

int PanelStatusBar::panelWidth(int panel) const
{
    return m_widths.value(panel);
}

void PanelStatusBar::setPanelAlignment(int panel, Qt::Alignment alignment)
{
    if (panel >= 0 && panel < panelCount())
        m_alignments[panel] = alignment;
    update();
}

Qt::Alignment PanelStatusBar::panelAlignment(int panel) const
{
    return m_alignments.value(panel);
}

QRect PanelStatusBar::panelRect(int panel) const
{
    int left = 0;
    for (int i = 0; i < panel; ++i)
        left += m_widths[i];
    return QRect(left, 0, m_widths.value(panel), height());
}

QColor PanelStatusBar::panelTextColor(int panel)
{
    return ui::colorFromBgr(kPanelColors[panel & 3]);
}

QFont PanelStatusBar::panelFont() const
{
    QFont f = font();
    f.setBold(false);
    return f;
}

void PanelStatusBar::setSimpleText(const QString& text)
{
    m_simpleText = text;
    update();
}

QSize PanelStatusBar::sizeHint() const
{
    int width = 0;
    for (int w : m_widths)
        width += w;
    return QSize(width, kHeight);
}

void PanelStatusBar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QBrush brush = palette().window();
    p.fillRect(rect(), brush);
    p.setFont(panelFont());
    const int ascent = QFontMetrics(panelFont()).ascent();
    for (int i = 0; i < panelCount(); ++i) {
        const QRect r = panelRect(i);
        p.fillRect(r, brush);
        p.setPen(palette().color(QPalette::Mid));
        p.drawLine(r.topRight(), r.bottomRight());
        p.setPen(panelTextColor(i));
        p.setClipRect(r);
        p.drawText(r.left() + kTextOffset, r.top() + kTextOffset + ascent, m_texts[i]);
        p.setClipping(false);
    }
    if (!m_simpleText.isEmpty()) {
        const QRect last = panelRect(panelCount() - 1);
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(last.right() + 1 + kTextOffset * 3, kTextOffset + ascent, m_simpleText);
    }
}

}  // namespace kolmara::app
