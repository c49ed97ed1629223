// The screens' grids as data: a grid description (name, columns with caption, width and
// alignment, header colour, row height, lines, selection and scrolling) and the one function that
// builds a string grid from it; the reader that fills a grid from a list read, and the small
// helpers the fills share. Screens keep only what is their own (row colours, check boxes).
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

// How a column's cells are aligned; the header row is always centred, and every cell vertically
// centred.
enum class Align { Left, Centre, Right };

struct GridColumn {
    QString caption;
    int width = 0;  // pixels; 0 leaves the grid's default width
    Align align = Align::Left;
};

// A grid as the screen shows it when it opens. The defaults are the string grid's own.
struct GridDesign {
    QString name;
    QList<GridColumn> columns;
    quint32 headerBgr = ui::kCaptionColor;  // $00BBGGRR
    int rowHeight = 21;
    ui::StringGrid::GridLines lines = ui::StringGrid::GridLines::Both;
    bool rowSelect = false;
    bool resizable = true;
    // The list look: the selected cells white with black text, silver lines.
    bool whiteSelection = false;
    Qt::ScrollBarPolicy horizontalBar = Qt::ScrollBarAsNeeded;
    int rows = 2;  // the header row included
    int groupMarkerColumn = -1;
    int defaultColWidth = 0;  // 0 leaves the grid's own
};

// A read-only grid built from `design`, its column count the design column count, its header
// row the captions, its alignment the columns' (a column beyond the design is left-aligned).
ui::StringGrid* buildGrid(QWidget* parent, const GridDesign& design);

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
// `count`; a count of 0 or less leaves the grid as it is and calls none(count); otherwise
// write(object, r, i) fills grid row r from result row i with repainting suspended. The object
// is freed after its rows are copied, and before none() runs. Returns whether rows came.
template <typename Object, typename Read, typename Write, typename None>
bool readListRows(std::unique_ptr<Object>& holder, ui::StringGrid* grid, Read read, Write write,
                  None none, int& count = RowCount)
{
    holder = std::make_unique<Object>();
    count = std::invoke(read, *holder);
    const int n = count;
    if (n <= 0) {
        holder.reset();
        none(n);
        return false;
    }
    fillListGrid(grid, n, [&](int r, int i) { write(*holder, r, i); });
    holder.reset();
    return true;
}

// The usual list read: the count in RowCount, and a count of 0 or less shown as the view's
// error line on the screen.
template <typename Object, typename Read, typename Write>
bool readListRows(MdiScreen* screen, std::unique_ptr<Object>& holder, ui::StringGrid* grid,
                  Read read, const QString& view, Write write)
{
    return readListRows(holder, grid, read, write,
                        [&](int n) { screen->showReadError(view, n); });
}

// Writes the cells of one row from column 0 on.
void setRow(ui::StringGrid* grid, int row, const QStringList& cells);

}  // namespace kolmara::screens
