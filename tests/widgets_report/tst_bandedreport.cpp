// The banded report engine: paging (header and footer on every page, rows pulled one at a time),
// the stretching memo, and print runs on the current printer (one job per run, the cancel button,
// the printer's own settings kept).
#include "ScriptedUiServices.h"
#include "widgets/BandedReport.h"
#include "widgets/ReportCanvas.h"
#include "widgets/ReportPrinter.h"

#include <QFile>
#include <QPrinter>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace kolmara;
using ui::BandedReport;

namespace {

const QDateTime kPrinted(QDate(2003, 5, 14), QTime(13, 5, 22));

// A small report: a 20 mm header, 10 mm rows "row 1", "row 2"..., a 17 mm footer with the page
// number. Between the margins (277 mm) 24 rows fit on a page.
class SmallReport {
public:
    explicit SmallReport(int rows) : report(QStringLiteral("small")), m_rows(rows)
    {
        const ui::ReportFont font{QStringLiteral("Arial"), 3.25, false};
        report.pageHeader().setHeight(20);
        report.pageHeader().addLabel(QRectF(0, 0, 100, 10), QStringLiteral("header"), font);
        report.detail().setHeight(10);
        m_row = report.detail().addLabel(QRectF(0, 0, 100, 10), QString(), font);
        report.pageFooter().setHeight(17);
        report.pageFooter().addPageNumber(QRectF(0, 10, 100, 7), font);
        report.beforePrint = [this] { m_next = 1; };
        report.nextRow = [this] {
            ++asked;
            if (m_next > m_rows)
                return false;
            m_row->text = QStringLiteral("row %1").arg(m_next++);
            return true;
        };
    }

    BandedReport report;
    int asked = 0;

private:
    int m_rows;
    int m_next = 1;
    ui::ReportLabel* m_row = nullptr;
};

// The text items of each page: "page n" and the texts, in order.
QStringList texts(const QStringList& items)
{
    static const QRegularExpression text(QStringLiteral("^text .* \"([^\"]*)\"$"));
    QStringList out;
    for (const QString& item : items) {
        if (item.startsWith(QLatin1String("page")))
            out << item;
        else if (const auto m = text.match(item); m.hasMatch())
            out << m.captured(1);
    }
    return out;
}

// Refuses the canvas's page `stop`.
class StoppingCanvas : public ui::RecordingCanvas {
public:
    explicit StoppingCanvas(int stop) : m_stop(stop) {}
    bool beginPage(int page) override
    {
        RecordingCanvas::beginPage(page);
        return page < m_stop;
    }

private:
    int m_stop;
};

// The desktop services with their real current printer, but no dialog may open.
class DesktopPrinterOnly : public ui::DesktopUiServices {
public:
    QMessageBox::StandardButton messageBox(QWidget*, const QString&, const QString& text,
                                           QMessageBox::Icon, QMessageBox::StandardButtons) override
    {
        QTest::qFail(qPrintable(QStringLiteral("unexpected message box: ") + text), __FILE__,
                     __LINE__);
        return QMessageBox::No;
    }
};

}  // namespace

class TestBandedReport : public QObject {
    Q_OBJECT

private slots:
    void pages_data();
    void pages();
    void stretchingMemoTakesTheRoomOfRows();
    void refusedPageEndsTheReport();
    void cancelInTheProgressWindowEndsTheRun();
    void theCurrentPrinterKeepsItsSetup();
};

void TestBandedReport::pages_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<QList<int>>("rowsPerPage");
    QTest::newRow("no rows: header and footer alone") << 0 << QList<int>{0};
    QTest::newRow("one row") << 1 << QList<int>{1};
    QTest::newRow("a page exactly full") << 24 << QList<int>{24};
    QTest::newRow("one row more") << 25 << QList<int>{24, 1};
    QTest::newRow("three pages") << 60 << QList<int>{24, 24, 12};
}

void TestBandedReport::pages()
{
    QFETCH(int, rows);
    QFETCH(QList<int>, rowsPerPage);
    SmallReport small(rows);
    ui::RecordingCanvas canvas;
    QVERIFY(small.report.render(canvas, kPrinted));
    // Each row is asked for once, and once more for the answer that there are no more.
    QCOMPARE(small.asked, rows + 1);

    QStringList expected;
    int row = 1;
    for (int p = 0; p < rowsPerPage.size(); ++p) {
        expected << QStringLiteral("page %1").arg(p + 1) << QStringLiteral("header");
        for (int i = 0; i < rowsPerPage[p]; ++i)
            expected << QStringLiteral("row %1").arg(row++);
        expected << QStringLiteral("- %1 -").arg(p + 1);
    }
    QCOMPARE(texts(canvas.lines()), expected);

    // Rows follow the header and stop above the footer, which sits at the foot of the page.
    if (rows > 0) {
        QVERIFY(canvas.lines().contains(
            QStringLiteral("text 20.00,30.00 100.00x10.00 \"Arial\" 3.25 left \"row 1\"")));
    }
    QVERIFY(canvas.lines().last().startsWith(QStringLiteral("text 20.00,280.00 100.00x7.00 ")));
}

void TestBandedReport::stretchingMemoTakesTheRoomOfRows()
{
    SmallReport small(30);
    const ui::ReportFont font{QStringLiteral("Arial"), 5, false};
    // A 10 mm memo (one 6 mm line fits) with a rule under it; the footer fills it on every page.
    ui::ReportBand& footer = small.report.pageFooter();
    ui::ReportMemo* memo = footer.addMemo(QRectF(0, 0, 100, 10), font, true, 0.25);
    footer.addLine(QPointF(0, 10), QPointF(100, 10), 0.75);
    footer.beforePrint = [memo] {
        memo->lines = {QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")};
    };
    ui::RecordingCanvas canvas;
    QVERIFY(small.report.render(canvas, kPrinted));
    // Three lines take 19 mm: the footer grows by 9 mm, so a page holds 23 rows instead of 24;
    // everything below the memo moves down with it.
    const QStringList items = canvas.lines();
    QVERIFY(items.contains(QStringLiteral("frame 20.00,261.00 100.00x19.00 pen 0.25 #000000")));
    QVERIFY(items.contains(
        QStringLiteral("text 20.50,273.50 99.00x6.00 \"Arial\" 5.00 left \"three\"")));
    QVERIFY(items.contains(QStringLiteral("line 20.00,280.00 120.00,280.00 pen 0.75 #000000")));
    const QStringList shown = texts(items);
    QVERIFY(shown.indexOf(QStringLiteral("row 23")) < shown.indexOf(QStringLiteral("page 2")));
    QVERIFY(shown.indexOf(QStringLiteral("row 24")) > shown.indexOf(QStringLiteral("page 2")));

    // Without stretching the memo keeps its box and shows the lines that fit.
    memo->stretch = false;
    canvas.clear();
    QVERIFY(small.report.render(canvas, kPrinted));
    QVERIFY(canvas.lines().contains(
        QStringLiteral("frame 20.00,270.00 100.00x10.00 pen 0.25 #000000")));
    QVERIFY(!texts(canvas.lines()).contains(QStringLiteral("two")));
}

void TestBandedReport::refusedPageEndsTheReport()
{
    SmallReport small(100);
    StoppingCanvas canvas(2);
    QVERIFY(!small.report.render(canvas, kPrinted));
    // The first page was finished, footer included; no row was asked for after the refusal.
    QCOMPARE(small.asked, 25);
    QCOMPARE(texts(canvas.lines()).mid(texts(canvas.lines()).size() - 2),
             QStringList({QStringLiteral("- 1 -"), QStringLiteral("page 2")}));
}

void TestBandedReport::cancelInTheProgressWindowEndsTheRun()
{
    QTemporaryDir folder;
    test::ScriptedUiServices services;
    services.setPrintFolder(folder.path());
    QWidget window;
    SmallReport small(100);
    // The user presses cancel while the 30th row prints: the run stops before the next page.
    const auto next = small.report.nextRow;
    small.report.nextRow = [&] {
        if (small.asked == 29)
            window.findChild<QProgressDialog*>()->cancel();
        return next();
    };
    ui::PrintRun run(&window, QString());
    QVERIFY(!run.print(small.report));
    QCOMPARE(run.outcome(), ui::PrintRun::Outcome::Cancelled);
    QVERIFY(!run.finish());
    QCOMPARE(small.asked, 49);
    // Half a report is no report: the file is gone, the progress window closed.
    QVERIFY(!QFile::exists(services.printedFiles().first()));
    QVERIFY(!window.findChild<QProgressDialog*>());
}

void TestBandedReport::theCurrentPrinterKeepsItsSetup()
{
    QTemporaryDir folder;
    DesktopPrinterOnly desktop;
    ui::ScopedUiServices install(desktop);
    // What the setup dialog would leave: a PDF file, Letter paper across.
    QPrinter& printer = desktop.printer();
    QCOMPARE(&desktop.printer(), &printer);
    const QString file = folder.filePath(QStringLiteral("setup.pdf"));
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setPageSize(QPageSize(QPageSize::Letter));
    printer.setPageOrientation(QPageLayout::Landscape);

    // A run prints two reports on it, on A4 paper upright, as one job in the chosen file...
    SmallReport first(30);
    SmallReport second(1);
    QWidget window;
    ui::PrintRun run(&window, QString());
    QVERIFY(run.print(first.report));
    QVERIFY(run.print(second.report));
    QVERIFY(run.finish());
    QCOMPARE(run.outcome(), ui::PrintRun::Outcome::Printed);
    QVERIFY(run.pdfFile().isEmpty());
    QCOMPARE(test::ScriptedUiServices::pdfPageCount(file), 3);
    QFile pdf(file);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QVERIFY(pdf.readAll().contains("/MediaBox [0 0 595.000000 842.000000]"));

    // ...and the printer keeps what the setup chose.
    QCOMPARE(printer.pageLayout().pageSize().id(), QPageSize::Letter);
    QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Landscape);
    QCOMPARE(printer.outputFileName(), file);
}

QTEST_MAIN(TestBandedReport)
#include "tst_bandedreport.moc"
