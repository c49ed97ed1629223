// The report canvases: painting, recording, and a page rendered as an image.
#include "widgets/ReportCanvas.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace kolmara::ui {

namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kPointsPerInch = 72.0;
constexpr int kNarrowest = 60;  // per cent of a font's width

QString mm(double value)
{
    return QString::number(value, 'f', 2);
}

QString box(const QRectF& r)
{
    return mm(r.x()) + QLatin1Char(',') + mm(r.y()) + QLatin1Char(' ') + mm(r.width()) +
           QLatin1Char('x') + mm(r.height());
}

QString point(const QPointF& p)
{
    return mm(p.x()) + QLatin1Char(',') + mm(p.y());
}

QString alignmentText(Qt::Alignment alignment)
{
    QString text = alignment & Qt::AlignRight     ? QStringLiteral("right")
                   : alignment & Qt::AlignHCenter ? QStringLiteral("centre")
                                                  : QStringLiteral("left");
    if (alignment & Qt::AlignTop)
        text += QStringLiteral(" top");
    else if (alignment & Qt::AlignBottom)
        text += QStringLiteral(" bottom");
    return text;
}

QString quoted(const QString& text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

// A single page of an image: pages before it are laid out unpainted, the one after ends the run.
class ImageCanvas : public PainterCanvas {
public:
    ImageCanvas(QPainter& painter, double dotsPerInch, int page)
        : PainterCanvas(painter, dotsPerInch), m_page(page)
    {
    }
    bool beginPage(int page) override
    {
        setPainting(page == m_page);
        return page <= m_page;
    }

private:
    int m_page;
};

}  // namespace

PainterCanvas::PainterCanvas(QPainter& painter, double dotsPerInch)
    : m_painter(painter), m_dotsPerMm(dotsPerInch / kMmPerInch)
{
}

QRectF PainterCanvas::dots(const QRectF& r) const
{
    return QRectF(dots(r.x()), dots(r.y()), dots(r.width()), dots(r.height()));
}

void PainterCanvas::drawText(const QRectF& rect, const QString& text, const ReportFont& font,
                             Qt::Alignment alignment)
{
    if (!m_painting || text.isEmpty())
        return;
    QFont f(font.family);
    // The device's resolution turns points into dots, so the size is given in points.
    f.setPointSizeF(font.size * kPointsPerInch / kMmPerInch);
    f.setBold(font.bold);
    const QRectF area = dots(rect);
    // A text wider than its box is condensed to fit, down to a limit, rather than cut off: a
    // substituted font may run wider than the one the report was laid out for.
    // (A narrower face of the family may stand in for a stretch, so the fit is measured again.)
    const auto advance = [&] {
        return QFontMetricsF(f, m_painter.device()).horizontalAdvance(text);
    };
    const double natural = advance();
    if (natural > area.width()) {
        for (int stretch = std::max(kNarrowest, int(std::floor(100 * area.width() / natural)));
             stretch >= kNarrowest; stretch -= 5) {
            f.setStretch(stretch);
            if (advance() <= area.width())
                break;
        }
    }
    m_painter.save();
    m_painter.setFont(f);
    m_painter.setPen(Qt::black);
    m_painter.setClipRect(area, Qt::IntersectClip);
    m_painter.drawText(area, int(alignment) | Qt::TextSingleLine, text);
    m_painter.restore();
}

void PainterCanvas::drawFrame(const QRectF& rect, double penWidth, const QColor& color)
{
    if (!m_painting)
        return;
    // The pen lies inside the rectangle, so frames of different widths share their outer edge.
    const double inset = penWidth / 2;
    m_painter.save();
    m_painter.setPen(QPen(color, dots(penWidth), Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRect(dots(rect.adjusted(inset, inset, -inset, -inset)));
    m_painter.restore();
}

void PainterCanvas::drawLine(const QPointF& from, const QPointF& to, double penWidth,
                             const QColor& color)
{
    if (!m_painting)
        return;
    m_painter.save();
    m_painter.setPen(QPen(color, dots(penWidth), Qt::SolidLine, Qt::FlatCap));
    m_painter.drawLine(QPointF(dots(from.x()), dots(from.y())),
                       QPointF(dots(to.x()), dots(to.y())));
    m_painter.restore();
}

bool RecordingCanvas::beginPage(int page)
{
    m_lines << QStringLiteral("page %1").arg(page);
    return m_forward ? m_forward->beginPage(page) : true;
}

void RecordingCanvas::drawText(const QRectF& rect, const QString& text, const ReportFont& font,
                               Qt::Alignment alignment)
{
    m_lines << QStringLiteral("text ") + box(rect) + QLatin1Char(' ') + quoted(font.family) +
                   QLatin1Char(' ') + mm(font.size) +
                   (font.bold ? QStringLiteral(" bold ") : QStringLiteral(" ")) +
                   alignmentText(alignment) + QLatin1Char(' ') + quoted(text);
    if (m_forward)
        m_forward->drawText(rect, text, font, alignment);
}

void RecordingCanvas::drawFrame(const QRectF& rect, double penWidth, const QColor& color)
{
    m_lines << QStringLiteral("frame ") + box(rect) + QStringLiteral(" pen ") + mm(penWidth) +
                   QLatin1Char(' ') + color.name();
    if (m_forward)
        m_forward->drawFrame(rect, penWidth, color);
}

void RecordingCanvas::drawLine(const QPointF& from, const QPointF& to, double penWidth,
                               const QColor& color)
{
    m_lines << QStringLiteral("line ") + point(from) + QLatin1Char(' ') + point(to) +
                   QStringLiteral(" pen ") + mm(penWidth) + QLatin1Char(' ') + color.name();
    if (m_forward)
        m_forward->drawLine(from, to, penWidth, color);
}

QImage renderPageImage(BandedReport& report, int page, double dotsPerInch, const QDateTime& printed)
{
    const double dotsPerMm = dotsPerInch / kMmPerInch;
    QImage image(int(std::lround(BandedReport::kPaperWidth * dotsPerMm)),
                 int(std::lround(BandedReport::kPaperHeight * dotsPerMm)), QImage::Format_RGB32);
    const int dotsPerMeter = int(std::lround(dotsPerMm * 1000));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    ImageCanvas canvas(painter, dotsPerInch, page);
    report.render(canvas, printed);
    return image;
}

}  // namespace kolmara::ui
