// What the printed reports share: their measure, their fonts, the boxed table of column headings
// and detail rows, and the page footer's rule with the program's name and the page number.
//
// The reports are laid out in design pixels of a quarter millimetre: the 183 mm between the
// margins are 732 of them, so the widest item, the layout report's 731-pixel index box, fits.
#pragma once

#include "widgets/BandedReport.h"

#include <QList>
#include <QString>

namespace kolmara::reports {

// Millimetres of `pixels` design pixels.
constexpr double px(double pixels)
{
    return pixels * 0.25;
}

// Outer frames and inner lines.
constexpr double kOuterPen = px(3);
constexpr double kInnerPen = px(1);

ui::ReportFont batangChe(int pixels, bool bold = false);
ui::ReportFont gulimChe(int pixels, bool bold = false);
ui::ReportFont arial(int pixels, bool bold = false);

// One column of a report's table: its heading, its width in design pixels, how its values align.
struct ReportColumn {
    QString heading;
    int width;
    Qt::Alignment alignment;
};

// The column headings at (left, top) in design pixels: an outer frame, a line between columns,
// each heading centred.
void addColumnHeadings(ui::ReportBand& band, int left, int top, int height,
                       const QList<ReportColumn>& columns, const ui::ReportFont& font);

// One detail row over the whole band height: the outer frame's sides, a line between columns and
// one under the row, and a label per column (returned in column order) for the row's values.
QList<ui::ReportLabel*> addDetailRow(ui::ReportBand& band, int left,
                                     const QList<ReportColumn>& columns,
                                     const ui::ReportFont& font);

// The foot of every page from `top` on: a purple rule, "KOLMARA" on the left and the page number
// centred, over `width` design pixels from `left`.
void addPageRule(ui::ReportBand& band, int left, int top, int width);

}  // namespace kolmara::reports
