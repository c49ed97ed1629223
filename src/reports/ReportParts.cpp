// The printed reports' shared parts.
#include "reports/ReportParts.h"

#include "widgets/Colors.h"

namespace kolmara::reports {

namespace {

// Values and headings keep this far from their column's lines.
constexpr int kCellPadding = 3;
constexpr int kHeadingPadding = 2;

ui::ReportFont font(const QString& family, int pixels, bool bold)
{
    return {family, px(pixels), bold};
}

int totalWidth(const QList<ReportColumn>& columns)
{
    int width = 0;
    for (const ReportColumn& c : columns)
        width += c.width;
    return width;
}

// The lines between columns, from top to bottom (design pixels).
void addSeparators(ui::ReportBand& band, int left, double top, double bottom,
                   const QList<ReportColumn>& columns)
{
    int x = left;
    for (int i = 0; i + 1 < columns.size(); ++i) {
        x += columns[i].width;
        band.addLine(QPointF(px(x), px(top)), QPointF(px(x), px(bottom)), kInnerPen);
    }
}

}  // namespace

ui::ReportFont batangChe(int pixels, bool bold)
{
    return font(QStringLiteral("바탕체"), pixels, bold);
}

ui::ReportFont gulimChe(int pixels, bool bold)
{
    return font(QStringLiteral("굴림체"), pixels, bold);
}

ui::ReportFont arial(int pixels, bool bold)
{
    return font(QStringLiteral("Arial"), pixels, bold);
}

void addColumnHeadings(ui::ReportBand& band, int left, int top, int height,
                       const QList<ReportColumn>& columns, const ui::ReportFont& font)
{
    band.addFrame(QRectF(px(left), px(top), px(totalWidth(columns)), px(height)), kOuterPen);
    addSeparators(band, left, top, top + height, columns);
    int x = left;
    for (const ReportColumn& c : columns) {
        band.addLabel(
            QRectF(px(x + kHeadingPadding), px(top), px(c.width - 2 * kHeadingPadding), px(height)),
            c.heading, font, Qt::AlignCenter);
        x += c.width;
    }
}

QList<ui::ReportLabel*> addDetailRow(ui::ReportBand& band, int left,
                                     const QList<ReportColumn>& columns, const ui::ReportFont& font)
{
    const double height = band.height() / px(1);
    const int right = left + totalWidth(columns);
    // The sides continue the headings' outer frame; the line under the row is an inner one.
    band.addLine(QPointF(px(left + 1.5), 0), QPointF(px(left + 1.5), band.height()), kOuterPen);
    band.addLine(QPointF(px(right - 1.5), 0), QPointF(px(right - 1.5), band.height()), kOuterPen);
    band.addLine(QPointF(px(left), px(height - 0.5)), QPointF(px(right), px(height - 0.5)),
                 kInnerPen);
    addSeparators(band, left, 0, height, columns);
    QList<ui::ReportLabel*> labels;
    int x = left;
    for (const ReportColumn& c : columns) {
        const QRectF cell(px(x + kCellPadding), 0, px(c.width - 2 * kCellPadding), band.height());
        labels.append(band.addLabel(cell, QString(), font, c.alignment | Qt::AlignVCenter));
        x += c.width;
    }
    return labels;
}

void addPageRule(ui::ReportBand& band, int left, int top, int width)
{
    const QColor purple = ui::colorFromBgr(0x00800080);
    band.addLine(QPointF(px(left), px(top + 1.5)), QPointF(px(left + width), px(top + 1.5)),
                 kOuterPen, purple);
    const QRectF text(px(left), px(top + 6), px(width), px(22));
    band.addLabel(QRectF(text.left(), text.top(), px(200), text.height()),
                  QStringLiteral("KOLMARA"), arial(13, true));
    band.addPageNumber(text, arial(13), Qt::AlignCenter);
}

}  // namespace kolmara::reports
