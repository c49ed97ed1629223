// Drawing of the program icon.
#include "app/AppIcon.h"

#include <QPainter>
#include <QPainterPath>

namespace kolmara::app {

QImage programIconImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    const QRectF body(s * 0.12, s * 0.18, s * 0.76, s * 0.70);
    const qreal cap = s * 0.18;
    QPainterPath drum;
    drum.moveTo(body.left(), body.top() + cap / 2);
    drum.lineTo(body.left(), body.bottom() - cap / 2);
    drum.arcTo(QRectF(body.left(), body.bottom() - cap, body.width(), cap), 180, 180);
    drum.lineTo(body.right(), body.top() + cap / 2);
    drum.arcTo(QRectF(body.left(), body.top(), body.width(), cap), 0, -180);
    p.setPen(QPen(QColor(20, 60, 140), qMax(1.0, s / 32)));
    p.setBrush(QColor(40, 100, 200));
    p.drawPath(drum);
    p.setBrush(QColor(120, 170, 240));
    p.drawEllipse(QRectF(body.left(), body.top(), body.width(), cap));
    QFont f;
    f.setPixelSize(qRound(s * 0.45));
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(body.left(), body.top() + cap * 0.6, body.width(), body.height() - cap * 0.6),
               Qt::AlignCenter, QStringLiteral("K"));
    return image;
}

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addPixmap(QPixmap::fromImage(programIconImage(size)));
    return icon;
}

}  // namespace kolmara::app
