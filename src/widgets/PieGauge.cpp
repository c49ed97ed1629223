// The gauges' shared range handling and the pie gauge's drawing.
#include "widgets/PieGauge.h"

#include <QPainter>

#include <algorithm>

namespace kolmara::ui {

GaugeBase::GaugeBase(QWidget* parent) : QWidget(parent) {}

void GaugeBase::setMinValue(int value)
{
    m_min = value;
    m_max = std::max(m_max, value);
    setProgress(m_progress);
    update();
}

void GaugeBase::setMaxValue(int value)
{
    m_max = value;
    m_min = std::min(m_min, value);
    setProgress(m_progress);
    update();
}

void GaugeBase::setProgress(int value)
{
    const int clamped = std::clamp(value, m_min, m_max);
    if (clamped != m_progress) {
        m_progress = clamped;
        update();
    }
}

void GaugeBase::addProgress(int delta)
{
    const qint64 sum = static_cast<qint64>(m_progress) + delta;
    setProgress(static_cast<int>(std::clamp<qint64>(sum, m_min, m_max)));
}

int GaugeBase::percentDone() const
{
    const qint64 span = static_cast<qint64>(m_max) - m_min;
    if (span <= 0)
        return 0;
    return static_cast<int>((static_cast<qint64>(m_progress) - m_min) * 100 / span);
}

void GaugeBase::setForeColor(const QColor& color)
{
    m_foreColor = color;
    update();
}

void GaugeBase::setBackColor(const QColor& color)
{
    m_backColor = color;
    update();
}

PieGauge::PieGauge(QWidget* parent) : GaugeBase(parent) {}

void PieGauge::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int side = std::min(width(), height()) - 1;
    if (side <= 0)
        return;
    const QRectF circle((width() - side) / 2.0, (height() - side) / 2.0, side, side);
    painter.setPen(Qt::black);
    painter.setBrush(backColor());
    painter.drawEllipse(circle);
    const qint64 span = static_cast<qint64>(maxValue()) - minValue();
    if (span <= 0 || progress() == minValue())
        return;
    // Clockwise from twelve o'clock; Qt counts angles counter-clockwise in 1/16 degree.
    const int sweep = static_cast<int>(-(static_cast<double>(progress()) - minValue()) /
                                       static_cast<double>(span) * 360.0 * 16);
    painter.setBrush(foreColor());
    painter.drawPie(circle, 90 * 16, sweep);
}

}  // namespace kolmara::ui
