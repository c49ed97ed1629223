// The list grids of the screens: a string grid set up the way every screen's list looks (one
// header row in the caption colour, no fixed column, 21-pixel rows, silver lines, a white
// selection with black text, read-only, columns the user may resize), and the usual per-cell
// alignment rule. Screens build each list with one call and keep only what is their own.
#pragma once

#include "common/KOLMCOMM.h"
#include "screens/MdiScreen.h"
#include "widgets/Colors.h"
#include "widgets/StringGrid.h"

#include <QList>
#include <QStringList>

#include <functional>
#include <memory>

namespace kolmara::screens {

// A list grid named `name` with the given header texts and column widths (one per header); two
// rows, the header count as its design column count. headerBgr is a $00BBGGRR colour.
ui::StringGrid* makeListGrid(QWidget* parent, const QString& name, const QStringList& headers,
                             const QList<int>& widths, quint32 headerBgr = ui::kCaptionColor);

// Suspends a grid's repaints until it goes out of scope, however the fill ends, so a fill that
// throws never leaves the grid without repaints.
class GridUpdate {
public:
    explicit GridUpdate(ui::StringGrid* grid) : m_grid(grid) { m_grid->beginUpdate(); }
    ~GridUpdate() { m_grid->endUpdate(); }
    GridUpdate(const GridUpdate&) = delete;
    GridUpdate& operator=(const GridUpdate&) = delete;

private:
    ui::StringGrid* m_grid;
};

// Gives the grid `count` data rows and writes them with repainting suspended: write(r, i) fills
// grid row r (= i + 1) from result row i.
template <typename Write>
void fillListGrid(ui::StringGrid* grid, int count, Write write)
{
    grid->setRowCount(count + 1);
    const GridUpdate update(grid);
    for (int i = 0; i < count; ++i)
        write(i + 1, i);
}

// The shape every list read shares: a fresh query object in `holder` (one of the shared slots)
// reads through `read` (a reader method or a callable taking the object), its count goes to
// RowCount; a count of 0 or less leaves the grid as it is and shows the view's error line on the
// screen; otherwise write(object, r, i) fills grid row r from result row i with repainting
// suspended. The object is freed after its rows are copied. Returns whether rows came.
template <typename Object, typename Read, typename Write>
bool readListRows(MdiScreen* screen, std::unique_ptr<Object>& holder, ui::StringGrid* grid, Read read,
                  const QString& view, Write write)
{
    holder = std::make_unique<Object>();
    RowCount = std::invoke(read, *holder);
    const int n = RowCount;
    if (n <= 0) {
        holder.reset();
        screen->showReadError(view, n);
        return false;
    }
    fillListGrid(grid, n, [&](int r, int i) { write(*holder, r, i); });
    holder.reset();
    return true;
}

// Writes the cells of one row from column 0 on.
void setRow(ui::StringGrid* grid, int row, const QStringList& cells);

// The header row and the `centred` columns centred, the `right` columns right-aligned, every
// other column left-aligned; all vertically centred.
ui::StringGridModel::AlignmentFunction listAlignment(QList<int> centred, QList<int> right = {});

}  // namespace kolmara::screens
