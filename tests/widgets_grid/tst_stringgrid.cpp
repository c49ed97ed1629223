// The string grid as the screens use it: grid numbering (row 0 is the header), find order, sort,
// check boxes, the group-end line, clearing, suspended updates and the CSV export read back by a
// real CSV parser.
#include "common/Errors.h"
#include "widgets/Colors.h"
#include "widgets/StringGrid.h"

#include <QAbstractItemModelTester>
#include <QScrollBar>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace kolmara;
using ui::StringGrid;

namespace {

// Fills a grid from rows of cells; the first row is the header row.
void fill(StringGrid& grid, const QList<QStringList>& rows)
{
    grid.setColCount(rows.first().size());
    grid.setRowCount(rows.size());
    grid.beginUpdate();
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows[r].size(); ++c)
            grid.setCell(c, r, rows[r][c]);
    }
    grid.endUpdate();
}

QStringList column(const StringGrid& grid, int col)
{
    QStringList out;
    for (int r = 0; r < grid.rowCount(); ++r)
        out << grid.cell(col, r);
    return out;
}

// The rows of a CSV file as Python's csv module reads them in the given codec.
QList<QStringList> parsedByPython(const QString& path, const QString& codec)
{
    const QString python = QStandardPaths::findExecutable("python3");
    if (python.isEmpty()) {
        QTest::qFail("python3 reads the file back; install it", __FILE__, __LINE__);
        return {};
    }
    QProcess parser;
    parser.start(python, {"-c",
                          "import csv,sys,json\n"
                          "with open(sys.argv[1], encoding=sys.argv[2], newline='') as f:\n"
                          "    sys.stdout.write(json.dumps(list(csv.reader(f))))\n",
                          path, codec});
    if (!parser.waitForFinished(60000) || parser.exitCode() != 0) {
        QTest::qFail(parser.readAllStandardError().constData(), __FILE__, __LINE__);
        return {};
    }
    QList<QStringList> rows;
    for (const QJsonValue& row : QJsonDocument::fromJson(parser.readAllStandardOutput()).array()) {
        QStringList cells;
        for (const QJsonValue& v : row.toArray())
            cells << v.toString();
        rows << cells;
    }
    return rows;
}

void showGrid(StringGrid& grid)
{
    grid.resize(420, 260);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
}

}  // namespace

class TestStringGrid : public QObject {
    Q_OBJECT

private slots:
    void modelPassesTheTester();
    void gridNumberingAndCallbacks();
    void findFirst_data();
    void findFirst();
    void sort_data();
    void sort();
    void headerClickSortsAndReverses();
    void headerClickWithoutSortingIsARowZeroClick();
    void checkBoxClickTogglesAndSignals();
    void groupEndLine_data();
    void groupEndLine();
    void clearDataResetsToTheDesign();
    void suspendedUpdateRefreshesOnce();
    void appendedRowsKeepTheView();
    void csvReadsBackThroughARealParser();
    void csvEncodings_data();
    void csvEncodings();
    void charactersOutsideCp949_data();
    void charactersOutsideCp949();
    void csvFailureNamesTheFile();
};

void TestStringGrid::modelPassesTheTester()
{
    StringGrid grid;
    QAbstractItemModelTester tester(grid.gridModel(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    grid.setColCount(3);
    grid.setRowCount(5);
    grid.setCell(0, 0, "H");
    grid.setCell(1, 2, "x");
    grid.addCheckBox(2, 3, true);
    grid.setCheckBoxState(2, 3, false);
    grid.setColCount(5);
    grid.setColCount(2);
    grid.beginUpdate();
    grid.beginUpdate();
    grid.setRowCount(50);
    for (int r = 1; r < 50; ++r)
        grid.setCell(0, r, QString::number(r % 7));
    grid.endUpdate();
    grid.endUpdate();
    grid.setCurrentCell(1, 10);
    grid.sortByColumn(0, Qt::DescendingOrder);
    grid.setRowCount(3);
    grid.clearData();
    grid.setRowCount(1);
    QCOMPARE(grid.gridModel()->rowCount(), 0);
}

void TestStringGrid::gridNumberingAndCallbacks()
{
    StringGrid grid;
    fill(grid, {{"No.", "NAME"}, {"1", "a"}, {"2", "b"}});
    QCOMPARE(grid.rowCount(), 3);
    QCOMPARE(grid.colCount(), 2);
    QCOMPARE(grid.cell(1, 0), QString("NAME"));
    QCOMPARE(grid.cell(1, 2), QString("b"));
    QCOMPARE(grid.cell(5, 1), QString());

    QList<QPair<int, int>> asked;
    grid.setAlignmentFunction([&](int col, int row) {
        asked.append({col, row});
        return row == 0 || col == 0 ? Qt::AlignHCenter : Qt::AlignRight;
    });
    grid.setRowColorFunction(
        [](int row) { return row == 2 ? ui::colorFromBgr(0x00F5ECFF) : QColor(); });
    const ui::StringGridModel* m = grid.gridModel();
    QCOMPARE(m->headerData(1, Qt::Horizontal).toString(), QString("NAME"));
    QCOMPARE(m->headerData(1, Qt::Horizontal, Qt::TextAlignmentRole).toInt(),
             int(Qt::AlignHCenter | Qt::AlignVCenter));
    QCOMPARE(m->data(m->index(1, 1), Qt::TextAlignmentRole).toInt(),
             int(Qt::AlignRight | Qt::AlignVCenter));
    QVERIFY(asked.contains(qMakePair(1, 0)));
    QVERIFY(asked.contains(qMakePair(1, 2)));
    QVERIFY(!m->data(m->index(0, 0), Qt::BackgroundRole).isValid());
    QCOMPARE(m->data(m->index(1, 0), Qt::BackgroundRole).value<QBrush>().color(),
             QColor(0xFF, 0xEC, 0xF5));

    StringGrid early;
    early.setColWidth(2, 55);  // before the column exists, as a setup may do
    early.setColCount(3);
    QCOMPARE(early.colWidth(2), 55);

    QCOMPARE(grid.currentRow(), 0);
    grid.setCurrentCell(1, 2);
    QCOMPARE(grid.currentRow(), 2);
    QCOMPARE(grid.currentCol(), 1);
}

void TestStringGrid::findFirst_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("found");
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("row");
    // "KEY" sits at (2, 1) and (0, 3): column order finds (0, 3), row order would find (2, 1).
    QTest::newRow("column before row") << "KEY" << true << 0 << 3;
    QTest::newRow("part of a cell") << "EMP_H" << true << 1 << 2;
    QTest::newRow("top of the column first") << "EMP" << true << 1 << 1;
    QTest::newRow("case-sensitive") << "key" << false << -1 << -1;
    QTest::newRow("header row excluded") << "TABLE" << false << -1 << -1;
    QTest::newRow("Korean") << "사원" << true << 2 << 2;
    QTest::newRow("empty text finds nothing") << "" << false << -1 << -1;
}

void TestStringGrid::findFirst()
{
    QFETCH(QString, text);
    QFETCH(bool, found);
    StringGrid grid;
    fill(grid, {{"No.", "TABLE", "COMMENT"},
                {"1", "EMP", "KEY"},
                {"2", "EMP_HIST", "사원 이력"},
                {"KEY", "DEPT", ""}});
    int col = -1;
    int row = -1;
    QCOMPARE(grid.findFirst(text, &col, &row), found);
    if (found) {
        QTEST(col, "col");
        QTEST(row, "row");
    }
}

void TestStringGrid::sort_data()
{
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<int>("order");
    QTest::addColumn<QStringList>("expected");  // the keys after sorting

    QTest::newRow("numbers, thousands separators")
        << QStringList{"1,000", "20", "3", "-5"} << int(Qt::AscendingOrder)
        << QStringList{"-5", "3", "20", "1,000"};
    QTest::newRow("numbers, reversed")
        << QStringList{"3", "1,000", "3.5", "20"} << int(Qt::DescendingOrder)
        << QStringList{"1,000", "20", "3.5", "3"};
    QTest::newRow("text, case-sensitive")
        << QStringList{"b", "a", "B", "테이블", "A"} << int(Qt::AscendingOrder)
        << QStringList{"A", "B", "a", "b", "테이블"};
    QTest::newRow("numbers before text, blanks with the text")
        << QStringList{"abc", "10", "", "9"} << int(Qt::AscendingOrder)
        << QStringList{"9", "10", "", "abc"};
    QTest::newRow("text reversed")
        << QStringList{"b", "c", "a"} << int(Qt::DescendingOrder) << QStringList{"c", "b", "a"};
}

void TestStringGrid::sort()
{
    QFETCH(QStringList, keys);
    QFETCH(int, order);
    QFETCH(QStringList, expected);
    StringGrid grid;
    QList<QStringList> rows{{"KEY", "ID"}};
    for (int i = 0; i < keys.size(); ++i)
        rows.append({keys[i], QString::number(i)});
    fill(grid, rows);
    grid.addCheckBox(1, 1, true);  // travels with the first row

    grid.sortByColumn(0, Qt::SortOrder(order));

    QCOMPARE(column(grid, 0), QStringList{"KEY"} + expected);
    QCOMPARE(grid.cell(1, 0), QString("ID"));
    for (int r = 1; r < grid.rowCount(); ++r) {
        const int before = grid.cell(1, r).toInt();
        QCOMPARE(grid.cell(0, r), keys[before]);
        QCOMPARE(grid.hasCheckBox(1, r), before == 0);
    }
}

void TestStringGrid::headerClickSortsAndReverses()
{
    StringGrid grid;
    fill(grid, {{"N", "K"}, {"2", "a"}, {"10", "b"}, {"2", "c"}, {"1", "d"}});
    grid.setSortOnHeaderClick(true);
    showGrid(grid);
    QHeaderView* header = grid.horizontalHeader();
    QSignalSpy clicks(&grid, &StringGrid::cellClicked);
    auto clickHeader = [&](int col) {
        const QPoint at(header->sectionViewportPosition(col) + header->sectionSize(col) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    };

    clickHeader(0);
    QCOMPARE(column(grid, 1), (QStringList{"K", "d", "a", "c", "b"}));  // stable for the 2s
    QVERIFY(header->isSortIndicatorShown());
    QCOMPARE(header->sortIndicatorSection(), 0);
    QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);

    clickHeader(0);
    QCOMPARE(column(grid, 1), (QStringList{"K", "b", "a", "c", "d"}));
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);

    clickHeader(1);
    QCOMPARE(column(grid, 1), (QStringList{"K", "a", "b", "c", "d"}));
    QCOMPARE(header->sortIndicatorSection(), 1);
    QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);

    QCOMPARE(clicks.size(), 3);
    QCOMPARE(clicks.last(), (QList<QVariant>{1, 0}));
    QCOMPARE(grid.cell(0, 0), QString("N"));
}

void TestStringGrid::headerClickWithoutSortingIsARowZeroClick()
{
    StringGrid grid;
    fill(grid, {{"N"}, {"2"}, {"1"}});
    showGrid(grid);
    QSignalSpy clicks(&grid, &StringGrid::cellClicked);
    QHeaderView* header = grid.horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionSize(0) / 2, header->height() / 2));
    QCOMPARE(column(grid, 0), (QStringList{"N", "2", "1"}));
    QCOMPARE(clicks.size(), 1);
    QCOMPARE(clicks.first(), (QList<QVariant>{0, 0}));
    QVERIFY(grid.selectionModel()->selectedIndexes().isEmpty());
}

void TestStringGrid::checkBoxClickTogglesAndSignals()
{
    StringGrid grid;
    fill(grid, {{"No.", "선택", "FLAG"}, {"1", "", "N"}, {"2", "", "N"}, {"3", "", "N"}});
    for (int r = 1; r <= 3; ++r)
        grid.addCheckBox(1, r, false);
    grid.setRowSelect(true);
    showGrid(grid);
    QSignalSpy boxes(&grid, &StringGrid::checkBoxClicked);
    QSignalSpy clicks(&grid, &StringGrid::cellClicked);

    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.cellRect(1, 2).center());
    QVERIFY(grid.checkBoxState(1, 2));
    QVERIFY(!grid.checkBoxState(1, 1));
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.last(), (QList<QVariant>{1, 2, true}));
    QCOMPARE(clicks.last(), (QList<QVariant>{1, 2}));
    QCOMPARE(grid.currentRow(), 2);

    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                      grid.cellRect(1, 2).topLeft() + QPoint(2, 2));
    QVERIFY(!grid.checkBoxState(1, 2));
    QCOMPARE(boxes.last(), (QList<QVariant>{1, 2, false}));

    QTest::keyClick(&grid, Qt::Key_Space);  // the current cell is (1, 2)
    QVERIFY(grid.checkBoxState(1, 2));
    QCOMPARE(boxes.size(), 3);

    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.cellRect(2, 3).center());
    QCOMPARE(boxes.size(), 3);
    QCOMPARE(clicks.last(), (QList<QVariant>{2, 3}));

    grid.setCheckBoxState(1, 3, true);  // from code: no signal
    QVERIFY(grid.checkBoxState(1, 3));
    grid.setCheckBoxState(2, 3, true);  // no box there: nothing
    QVERIFY(!grid.hasCheckBox(2, 3));
    QCOMPARE(boxes.size(), 3);
}

void TestStringGrid::groupEndLine_data()
{
    QTest::addColumn<int>("lines");
    QTest::newRow("grid lines both ways") << int(StringGrid::GridLines::Both);
    QTest::newRow("vertical lines only") << int(StringGrid::GridLines::VerticalOnly);
    QTest::newRow("no grid lines") << int(StringGrid::GridLines::None);
}

void TestStringGrid::groupEndLine()
{
    QFETCH(int, lines);
    StringGrid grid;
    fill(grid, {{"SID", "TYPE", ""},
                {"10", "TM", ""},
                {"", "TX", "--"},
                {"11", "TM", "-"},
                {"12", "TX", "--"}});
    grid.setGroupMarkerColumn(2);
    grid.setGridLines(StringGrid::GridLines(lines));
    showGrid(grid);
    const QImage image = grid.viewport()->grab().toImage();
    const QColor line(0xE7, 0xCD, 0xCD);
    auto underlined = [&](int col, int row) {
        const QRect r = grid.cellRect(col, row);
        const int x = r.center().x();
        return image.pixelColor(x, r.bottom()) == line ||
               image.pixelColor(x, r.bottom() - 1) == line;
    };
    for (int col = 0; col < 3; ++col) {
        QVERIFY2(!underlined(col, 1), qPrintable(QString("col %1 row 1").arg(col)));
        QVERIFY2(underlined(col, 2), qPrintable(QString("col %1 row 2").arg(col)));
        QVERIFY2(!underlined(col, 3), qPrintable(QString("col %1 row 3").arg(col)));
        QVERIFY2(underlined(col, 4), qPrintable(QString("col %1 row 4").arg(col)));
    }
}

void TestStringGrid::clearDataResetsToTheDesign()
{
    StringGrid grid;
    fill(grid, {{"A", "B", "C"}, {"1", "2", "3"}, {"4", "5", "6"}});
    grid.addCheckBox(1, 2, true);
    grid.setColWidth(1, 77);
    grid.sortByColumn(0, Qt::DescendingOrder);
    grid.horizontalHeader()->setSortIndicatorShown(true);
    grid.setColCount(5);
    grid.setCell(4, 0, "E");

    grid.clearData();

    QCOMPARE(grid.rowCount(), 2);
    QCOMPARE(grid.colCount(), 3);  // the first count given
    QCOMPARE(column(grid, 0), (QStringList{"A", ""}));
    QCOMPARE(grid.cell(2, 0), QString("C"));
    QCOMPARE(grid.cell(2, 1), QString());
    QVERIFY(!grid.hasCheckBox(1, 2));
    QVERIFY(!grid.horizontalHeader()->isSortIndicatorShown());
    QCOMPARE(grid.colWidth(1), 77);

    grid.setDesignColCount(4);
    grid.setRowCount(4);
    grid.setCell(0, 3, "x");
    grid.clearData();
    QCOMPARE(grid.colCount(), 4);
    QCOMPARE(grid.rowCount(), 2);
    QCOMPARE(grid.cell(3, 0), QString());  // a header that was dropped stays empty
    QCOMPARE(grid.cell(0, 0), QString("A"));
}

void TestStringGrid::suspendedUpdateRefreshesOnce()
{
    StringGrid grid;
    QCOMPARE(grid.rowCount(), 2);  // a new grid is a cleared one
    grid.setColCount(2);
    const ui::StringGridModel* m = grid.gridModel();
    QSignalSpy changed(m, &QAbstractItemModel::dataChanged);
    QSignalSpy headers(m, &QAbstractItemModel::headerDataChanged);
    QSignalSpy resets(m, &QAbstractItemModel::modelReset);

    grid.setCell(1, 1, "direct");
    grid.setCell(0, 0, "H");
    QCOMPARE(changed.size(), 1);
    QCOMPARE(headers.size(), 1);

    grid.beginUpdate();
    grid.beginUpdate();
    grid.setRowCount(1001);
    for (int r = 1; r <= 1000; ++r)
        grid.setCell(0, r, QString::number(r));
    grid.endUpdate();
    QCOMPARE(resets.size(), 0);
    grid.endUpdate();
    QCOMPARE(resets.size(), 1);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(m->rowCount(), 1000);
    QCOMPARE(grid.cell(0, 1000), QString("1000"));
    grid.endUpdate();  // unbalanced: ignored
    QCOMPARE(resets.size(), 1);
}

void TestStringGrid::appendedRowsKeepTheView()
{
    StringGrid grid;
    QAbstractItemModelTester tester(grid.gridModel(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    grid.setColCount(2);
    grid.setRowCount(1);
    QList<QStringList> batch;
    for (int r = 1; r <= 100; ++r)
        batch.append({QString::number(r), QStringLiteral("b%1").arg(r)});
    grid.appendRows(batch);
    showGrid(grid);
    grid.setCurrentCell(1, 50);
    grid.scrollTo(grid.gridModel()->index(49, 1));
    const int scrolled = grid.verticalScrollBar()->value();
    QVERIFY(scrolled > 0);

    QSignalSpy inserted(grid.gridModel(), &QAbstractItemModel::rowsInserted);
    QSignalSpy resets(grid.gridModel(), &QAbstractItemModel::modelReset);
    // A short row leaves its missing cells empty, a long one loses what does not fit.
    grid.appendRows({{QStringLiteral("101")},
                     {QStringLiteral("102"), QStringLiteral("x"), QStringLiteral("dropped")}});
    QCOMPARE(inserted.size(), 1);
    QCOMPARE(resets.size(), 0);
    QCOMPARE(grid.rowCount(), 103);
    QCOMPARE(column(grid, 1).mid(100), (QStringList{"b100", "", "x"}));
    QCOMPARE(grid.currentRow(), 50);
    QCOMPARE(grid.verticalScrollBar()->value(), scrolled);

    // Inside a suspended update nothing is announced until its end.
    grid.beginUpdate();
    grid.appendRows({{QStringLiteral("103")}});
    QCOMPARE(inserted.size(), 1);
    grid.endUpdate();
    QCOMPARE(grid.cell(0, 103), QStringLiteral("103"));
}

void TestStringGrid::csvReadsBackThroughARealParser()
{
    const QString python = QStandardPaths::findExecutable("python3");
    QVERIFY2(!python.isEmpty(), "python3 reads the file back; install it");
    StringGrid grid;
    const QList<QStringList> rows{
        {"No.", "테이블명칭", "비    고", ""},
        {"1", "사원 정보", "a,b", "--"},
        {"2", "say \"hi\"", "line 1\r\nline 2", ""},
        {"3", "", "only\nLF", " lead and trail "},
    };
    fill(grid, rows);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("SCOTT_TableSpace.Csv");

    grid.saveToCsv(path);

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    QVERIFY(bytes.endsWith("\r\n"));
    QVERIFY(bytes.contains("\r\n1,사원 정보,\"a,b\",--\r\n"));
    QVERIFY(!bytes.contains("\r\r"));
    QCOMPARE(bytes.count("\r\n"), 4 + 1);  // four rows, plus the line break inside one cell

    QCOMPARE(parsedByPython(path, "utf-8-sig"), rows);
}

void TestStringGrid::csvEncodings_data()
{
    QTest::addColumn<ui::CsvEncoding>("encoding");
    QTest::addColumn<QString>("codec");
    QTest::addColumn<QByteArray>("start");
    QTest::newRow("Excel") << ui::CsvEncoding::Utf8WithBom << "utf-8-sig"
                           << QByteArray("\xEF\xBB\xBFNo.,");
    QTest::newRow("CP949") << ui::CsvEncoding::Cp949 << "cp949" << QByteArray("No.,\xC5\xD7");
    QTest::newRow("UTF-8") << ui::CsvEncoding::Utf8 << "utf-8" << QByteArray("No.,\xED\x85");
}

void TestStringGrid::csvEncodings()
{
    QFETCH(ui::CsvEncoding, encoding);
    QFETCH(QString, codec);
    QFETCH(QByteArray, start);
    StringGrid grid;
    const QList<QStringList> rows{
        {"No.", "테이블명칭", "금액"},
        {"1", "사원 \"정보\", 부서", "€ 1,200"},
        {"2", "줄 1\r\n줄 2", "ㆍ·™"},
    };
    fill(grid, rows);
    QTemporaryDir dir;
    const QString path = dir.filePath("out.Csv");
    grid.saveToCsv(path, encoding);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().startsWith(start));
    QCOMPARE(parsedByPython(path, codec), rows);
}

void TestStringGrid::charactersOutsideCp949_data()
{
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("written");  // the grid's second data row as CP949 keeps it

    const QStringList header{"No.", "이름", "비고"};
    QTest::newRow("all held") << QList<QStringList>{header, {"1", "사원", "€ ㆍ"}, {"2", "a?b", ""}}
                              << 0 << -1 << -1 << ""
                              << "2,a?b,";
    QTest::newRow("one, in a data row")
        << QList<QStringList>{header, {"1", "사원", ""}, {"2", "กa", ""}} << 1 << 1 << 2 << "ก"
        << "2,?a,";
    QTest::newRow("several, the header's first")
        << QList<QStringList>{{"No.", "이름", "₩"}, {"1", "", ""}, {"2", "กข", "x"}} << 3 << 2 << 0
        << "₩"
        << "2,??,x";
    QTest::newRow("a character beyond the BMP")
        << QList<QStringList>{header, {"1", "", ""}, {"2", "", "a😀"}} << 1 << 2 << 2 << "😀"
        << "2,,a??";
}

void TestStringGrid::charactersOutsideCp949()
{
    QFETCH(QList<QStringList>, rows);
    QFETCH(int, count);
    QFETCH(int, col);
    QFETCH(int, row);
    QFETCH(QString, first);
    QFETCH(QString, written);
    StringGrid grid;
    fill(grid, rows);
    const ui::CharactersOutsideCp949 found = grid.charactersOutsideCp949();
    QCOMPARE(found.count, qsizetype(count));
    QCOMPARE(found.col, col);
    QCOMPARE(found.row, row);
    QCOMPARE(found.first, first);

    QTemporaryDir dir;
    const QString path = dir.filePath("out.Csv");
    grid.saveToCsv(path, ui::CsvEncoding::Cp949);
    QCOMPARE(parsedByPython(path, "cp949").value(2), written.split(','));
}

void TestStringGrid::csvFailureNamesTheFile()
{
    StringGrid grid;
    fill(grid, {{"A"}, {"1"}});
    QTemporaryDir dir;
    const QString path = dir.filePath("no such folder/out.Csv");
    try {
        grid.saveToCsv(path);
        QFAIL("no error for a file that cannot be created");
    } catch (const KolmaraError& e) {
        QVERIFY2(e.message().contains(QDir::toNativeSeparators(path)), qPrintable(e.message()));
    }
    QVERIFY(!QFile::exists(path));
}

QTEST_MAIN(TestStringGrid)
#include "tst_stringgrid.moc"
