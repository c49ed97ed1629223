// Times the string grid the way the screens load it: 100 000 rows x 15 columns written inside
// beginUpdate/endUpdate, the first paint after it, a numeric and a text sort, a find that fails
// (the whole grid is searched) and the CSV export; and the same fill into a QTableWidget, one item
// per cell, for comparison. The cell texts are made before the clock starts, so both fills time
// the grid alone. Prints milliseconds; asserts nothing.
//
//   grid_fill_bench                      every figure
//   grid_fill_bench --fill string-grid   the fill alone, as "FIGURE seconds" (bench/run runs each
//   grid_fill_bench --fill table-widget  in a process of its own, for its peak memory)
#include "widgets/StringGrid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <vector>

using kolmara::ui::StringGrid;

namespace {

constexpr int kRows = 100000;
constexpr int kCols = 15;

void report(const char* what, qint64 ms)
{
    std::printf("%-40s %8lld ms\n", what, static_cast<long long>(ms));
}

// The texts of the data rows, row-major: numbers, names, statuses, a date and Korean text, as a
// session list holds them.
std::vector<QString> makeCells()
{
    std::vector<QString> cells;
    cells.reserve(std::size_t(kRows) * kCols);
    const QString status[] = {QStringLiteral("ACTIVE"), QStringLiteral("INACTIVE"),
                              QStringLiteral("KILLED")};
    const QString user = QStringLiteral("SCOTT");
    const QString program = QStringLiteral("sqlplus@dbhost (TNS V1-V3)");
    const QString korean = QStringLiteral("사원 정보 테이블");
    for (int r = 1; r <= kRows; ++r) {
        cells.push_back(QString::number((r * 7919) % kRows));
        cells.push_back(QString::number(r * 3));
        cells.push_back(user);
        cells.push_back(QString::number(r % 100));
        cells.push_back(QString());
        cells.push_back(status[r % 3]);
        cells.push_back(QStringLiteral("DEDICATED"));
        cells.push_back(QStringLiteral("oracle"));
        cells.push_back(QString::number(10000 + r));
        cells.push_back(QStringLiteral("WORKGROUP\\PC%1").arg(r % 500));
        cells.push_back(QStringLiteral("PC%1").arg(r % 500));
        cells.push_back(program);
        cells.push_back(QStringLiteral("2026-12-10 09:%1:00").arg(r % 60, 2, 10, QLatin1Char('0')));
        cells.push_back(QStringLiteral("USER"));
        cells.push_back(korean);
    }
    return cells;
}

void fillStringGrid(StringGrid& grid, const std::vector<QString>& cells)
{
    grid.setColCount(kCols);
    grid.setRowCount(kRows + 1);
    grid.beginUpdate();
    for (int c = 0; c < kCols; ++c)
        grid.setCell(c, 0, QStringLiteral("COLUMN_%1").arg(c));
    std::size_t i = 0;
    for (int r = 1; r <= kRows; ++r)
        for (int c = 0; c < kCols; ++c)
            grid.setCell(c, r, cells[i++]);
    grid.endUpdate();
}

// What a QTableWidget needs for the same rows: an item per cell, the header labels, the view's
// updates suspended while it fills.
void fillTableWidget(QTableWidget& table, const std::vector<QString>& cells)
{
    table.setUpdatesEnabled(false);
    table.setColumnCount(kCols);
    table.setRowCount(kRows);
    QStringList labels;
    for (int c = 0; c < kCols; ++c)
        labels.append(QStringLiteral("COLUMN_%1").arg(c));
    table.setHorizontalHeaderLabels(labels);
    std::size_t i = 0;
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c)
            table.setItem(r, c, new QTableWidgetItem(cells[i++]));
    table.setUpdatesEnabled(true);
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::vector<QString> cells = makeCells();
    const QStringList args = app.arguments();

    if (args.size() == 3 && args[1] == QLatin1String("--fill")) {
        QElapsedTimer timer;
        if (args[2] == QLatin1String("table-widget")) {
            QTableWidget table;
            table.resize(800, 600);
            table.show();
            QApplication::processEvents();
            timer.start();
            fillTableWidget(table, cells);
            std::printf("FIGURE %.6f\n", timer.nsecsElapsed() / 1e9);
        } else {
            StringGrid grid;
            grid.resize(800, 600);
            grid.show();
            QApplication::processEvents();
            timer.start();
            fillStringGrid(grid, cells);
            std::printf("FIGURE %.6f\n", timer.nsecsElapsed() / 1e9);
        }
        return 0;
    }

    StringGrid grid;
    grid.resize(800, 600);
    grid.show();
    QApplication::processEvents();

    QElapsedTimer timer;
    timer.start();
    fillStringGrid(grid, cells);
    report("fill 100000 x 15 (setRowCount..endUpdate)", timer.restart());

    grid.repaint();
    report("first paint after the fill", timer.restart());

    grid.sortByColumn(0, Qt::AscendingOrder);
    report("sort by a numeric column", timer.restart());
    grid.sortByColumn(9, Qt::DescendingOrder);
    report("sort by a text column, descending", timer.restart());

    int col = 0;
    int row = 0;
    const bool found = grid.findFirst(QStringLiteral("no such text"), &col, &row);
    report(found ? "find (unexpectedly found)" : "find that searches every cell", timer.restart());

    QTemporaryDir dir;
    grid.saveToCsv(dir.filePath(QStringLiteral("bench.Csv")));
    report("CSV export", timer.restart());

    grid.clearData();
    report("clearData", timer.restart());

    QTableWidget table;
    table.resize(800, 600);
    table.show();
    QApplication::processEvents();
    timer.restart();
    fillTableWidget(table, cells);
    report("QTableWidget fill, for comparison", timer.restart());
    return 0;
}
