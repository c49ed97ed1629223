// The screens' list grids.
#include "screens/ListGrid.h"

namespace kolmara::screens {

ui::StringGrid* makeListGrid(QWidget* parent, const QString& name, const QStringList& headers,
                             const QList<int>& widths, quint32 headerBgr)
{
    auto* grid = new ui::StringGrid(parent);
    grid->setObjectName(name);
    grid->setColCount(int(headers.size()));
    grid->setRowCount(2);
    grid->setRowHeight(21);
    grid->setHeaderColor(ui::colorFromBgr(headerBgr));
    grid->setGridLines(ui::StringGrid::GridLines::Both);
    grid->setGridLineColor(QColor(0xC0, 0xC0, 0xC0));
    grid->setSelectionColors(Qt::white, Qt::black);
    grid->setColumnsResizable(true);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // A horizontal bar shows only when the columns overflow the grid; lists that scroll vertically
    // only switch it off.
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    for (int c = 0; c < headers.size(); ++c) {
        grid->setCell(c, 0, headers[c]);
        if (c < widths.size())
            grid->setColWidth(c, widths[c]);
    }
    return grid;
}

void setRow(ui::StringGrid* grid, int row, const QStringList& cells)
{
    for (int c = 0; c < cells.size(); ++c)
        grid->setCell(c, row, cells[c]);
}

ui::StringGridModel::AlignmentFunction listAlignment(QList<int> centred, QList<int> right)
{
    return [centred = std::move(centred), right = std::move(right)](int col, int row) -> Qt::Alignment {
        if (row == 0 || centred.contains(col))
            return Qt::AlignCenter;
        if (right.contains(col))
            return Qt::AlignRight | Qt::AlignVCenter;
        return Qt::AlignLeft | Qt::AlignVCenter;
    };
}

}  // namespace kolmara::screens
