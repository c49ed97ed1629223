// Times the string grid the way the screens load it: 100 000 rows x 15 columns written inside
// beginUpdate/endUpdate, the first paint after it, a numeric and a text sort, a find that fails
// (the whole grid is searched) and the CSV export. Prints milliseconds; asserts nothing.
#include "widgets/StringGrid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

using kolmara::ui::StringGrid;

namespace {

constexpr int kRows = 100000;
constexpr int kCols = 15;

void report(const char* what, qint64 ms)
{
    std::printf("%-40s %8lld ms\n", what, static_cast<long long>(ms));
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    StringGrid grid;
    grid.resize(800, 600);
    grid.show();
    QApplication::processEvents();

    const QString status[] = {QStringLiteral("ACTIVE"), QStringLiteral("INACTIVE"),
                              QStringLiteral("KILLED")};
    const QString user = QStringLiteral("SCOTT");
    const QString program = QStringLiteral("sqlplus@dbhost (TNS V1-V3)");
    const QString korean = QStringLiteral("사원 정보 테이블");

    QElapsedTimer timer;
    timer.start();
    grid.setColCount(kCols);
    grid.setRowCount(kRows + 1);
    grid.beginUpdate();
    for (int c = 0; c < kCols; ++c)
        grid.setCell(c, 0, QStringLiteral("COLUMN_%1").arg(c));
    for (int r = 1; r <= kRows; ++r) {
        grid.setCell(0, r, QString::number((r * 7919) % kRows));
        grid.setCell(1, r, QString::number(r * 3));
        grid.setCell(2, r, user);
        grid.setCell(3, r, QString::number(r % 100));
        grid.setCell(4, r, QString());
        grid.setCell(5, r, status[r % 3]);
        grid.setCell(6, r, QStringLiteral("DEDICATED"));
        grid.setCell(7, r, QStringLiteral("oracle"));
        grid.setCell(8, r, QString::number(10000 + r));
        grid.setCell(9, r, QStringLiteral("WORKGROUP\\PC%1").arg(r % 500));
        grid.setCell(10, r, QStringLiteral("PC%1").arg(r % 500));
        grid.setCell(11, r, program);
        grid.setCell(12, r,
                     QStringLiteral("2026-12-10 09:%1:00").arg(r % 60, 2, 10, QLatin1Char('0')));
        grid.setCell(13, r, QStringLiteral("USER"));
        grid.setCell(14, r, korean);
    }
    grid.endUpdate();
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
    return 0;
}
