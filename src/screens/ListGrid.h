// The list grids of the screens: a string grid set up the way every screen's list looks (one
// header row in the caption colour, no fixed column, 21-pixel rows, silver lines, a white
// selection with black text, read-only, columns the user may resize), and the usual per-cell
// alignment rule. Screens build each list with one call and keep only what is their own.
#pragma once

#include "widgets/Colors.h"
#include "widgets/StringGrid.h"

#include <QList>
#include <QStringList>

namespace kolmara::screens {

// A list grid named `name` with the given header texts and column widths (one per header); two
// rows, the header count as its design column count. headerBgr is a $00BBGGRR colour.
ui::StringGrid* makeListGrid(QWidget* parent, const QString& name, const QStringList& headers,
                             const QList<int>& widths, quint32 headerBgr = ui::kCaptionColor);

// Gives the grid `count` data rows and writes them with repainting suspended: write(r, i) fills
// grid row r (= i + 1) from result row i.
template <typename Write>
void fillListGrid(ui::StringGrid* grid, int count, Write write)
{
    grid->setRowCount(count + 1);
    grid->beginUpdate();
    for (int i = 0; i < count; ++i)
        write(i + 1, i);
    grid->endUpdate();
}

// Writes the cells of one row from column 0 on.
void setRow(ui::StringGrid* grid, int row, const QStringList& cells);

// The header row and the `centred` columns centred, the `right` columns right-aligned, every
// other column left-aligned; all vertically centred.
ui::StringGridModel::AlignmentFunction listAlignment(QList<int> centred, QList<int> right = {});

}  // namespace kolmara::screens
