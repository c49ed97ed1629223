// The bar gauge's drawing: the filled part in the fore colour, the rest in the back colour, and
// the percentage centred on top, inverted where it crosses the bar so it stays readable.
#include "widgets/BarGauge.h"

#include <QPainter>

namespace kolmara::ui {

BarGauge::BarGauge(QWidget* parent) : GaugeBase(parent) {}

void BarGauge::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    const QRect inside = frame.adjusted(1, 1, 0, 0);
    const qint64 span = static_cast<qint64>(maxValue()) - minValue();
    const int filled = span <= 0 ? 0
                                 : static_cast<int>((static_cast<qint64>(progress()) - minValue()) *
                                                    inside.width() / span);
    const QRect bar(inside.left(), inside.top(), filled, inside.height());
    const QRect rest(inside.left() + filled, inside.top(), inside.width() - filled,
                     inside.height());

    painter.fillRect(rest, backColor());
    painter.fillRect(bar, foreColor());
    painter.setPen(Qt::black);
    painter.drawRect(frame);

    const QString text = QString::number(percentDone()) + QLatin1Char('%');
    painter.save();
    painter.setClipRect(rest);
    painter.setPen(foreColor());
    painter.drawText(inside, Qt::AlignCenter, text);
    painter.restore();
    painter.setClipRect(bar);
    painter.setPen(backColor());
    painter.drawText(inside, Qt::AlignCenter, text);
}

}  // namespace kolmara::ui
