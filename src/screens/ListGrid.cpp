// The screens' list grids.
#include "screens/ListGrid.h"

namespace kolmara::screens {

ui::StringGrid* buildGrid(QWidget* parent, const GridDesign& design)
{
    auto* grid = new ui::StringGrid(parent);
    grid->setObjectName(design.name);
    const int cols = int(design.columns.size());
    grid->setColCount(cols);
    grid->setRowCount(design.rows);
    if (design.defaultColWidth > 0)
        grid->setDefaultColWidth(design.defaultColWidth);
    grid->setRowHeight(design.rowHeight);
    grid->setHeaderColor(ui::colorFromBgr(design.headerBgr));
    grid->setGridLines(design.lines);
    if (design.whiteSelection) {
        grid->setGridLineColor(QColor(0xC0, 0xC0, 0xC0));
        grid->setSelectionColors(Qt::white, Qt::black);
    }
    grid->setColumnsResizable(design.resizable);
    grid->setRowSelect(design.rowSelect);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setHorizontalScrollBarPolicy(design.horizontalBar);
    grid->setGroupMarkerColumn(design.groupMarkerColumn);
    QList<Qt::Alignment> aligns;
    for (int c = 0; c < cols; ++c) {
        const GridColumn& column = design.columns[c];
        if (design.rows > 0)
            grid->setCell(c, 0, column.caption);
        if (column.width > 0)
            grid->setColWidth(c, column.width);
        aligns << (column.align == Align::Centre  ? Qt::AlignHCenter
                   : column.align == Align::Right ? Qt::AlignRight
                                                  : Qt::AlignLeft);
    }
    grid->setAlignmentFunction([aligns](int col, int row) -> Qt::Alignment {
        if (row == 0)
            return Qt::AlignCenter;
        return (col < aligns.size() ? aligns[col] : Qt::AlignLeft) | Qt::AlignVCenter;
    });
    return grid;
}

void setRow(ui::StringGrid* grid, int row, const QStringList& cells)
{
    for (int c = 0; c < cells.size(); ++c)
        grid->setCell(c, row, cells[c]);
}

}  // namespace kolmara::screens
