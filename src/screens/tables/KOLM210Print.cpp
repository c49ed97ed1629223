// The table manager's output: the list and layouts exported to CSV or printed as reports.
#include "screens/tables/KOLM210U.h"

#include "common/KOLMCOMM.h"
#include "reports/KOLM211U.h"
#include "reports/KOLM212U.h"
#include "screens/GridCsvExport.h"
#include "widgets/ReportPrinter.h"
#include "widgets/StringGrid.h"

#include <QCursor>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QToolButton>

namespace kolmara::screens {

// ---- Export and print ------------------------------------------------------------------------

void TKOLM210F::bbt_ExcelsClick()
{
    OutputMode = 1;
    showOutputMenu();
}

void TKOLM210F::bbt_PrintsClick()
{
    OutputMode = 2;
    showOutputMenu();
}

void TKOLM210F::showOutputMenu()
{
    PopupMenu1->popup(QCursor::pos());
}

void TKOLM210F::N1Click()
{
    if (OutputMode == 2) {
        PrintTableList();
        return;
    }
    if (OutputMode == 1 &&
        exportGridToCsv(this, AdvStringGrid1, owner() + QStringLiteral("_TableLIst.Csv")))
        statusBar()->repaint();
}

void TKOLM210F::N2Click()
{
    if (OutputMode == 2) {
        PrintLayouts();
        return;
    }
    if (OutputMode == 1 && exportGridToCsv(this, AdvStringGrid2,
                                           owner() + QLatin1Char('_') + tableName() +
                                               QStringLiteral("_TableLayout.Csv")))
        statusBar()->repaint();
}

std::unique_ptr<reports::TKOLM212F> TKOLM210F::tableListReport() const
{
    auto report = std::make_unique<reports::TKOLM212F>(*AdvStringGrid1);
    report->qrl_username->text = owner();
    report->LastRow = AdvStringGrid1->rowCount() - 1;
    report->ReportOwner = owner();
    return report;
}

std::unique_ptr<reports::TKOLM211F> TKOLM210F::layoutReport() const
{
    auto report = std::make_unique<reports::TKOLM211F>(*AdvStringGrid2);
    report->qrl_username->text = owner();
    report->qrl_tableid->text = tableName();
    report->qrl_tablename->text = tableComment();
    report->rql_tablespace->text =
        pn_tablespace->text() + QStringLiteral(" (") + pn_tablespace_id->text() + QLatin1Char(')');
    report->LastRow = AdvStringGrid2->rowCount() - 1;
    report->ReportOwner = owner();
    report->ReportTable = tableName();
    return report;
}

void TKOLM210F::PrintTableList()
{
    bbt_update->setEnabled(false);
    setOutputEnabled(true);
    ui::PrintRun run(this, QDir::toNativeSeparators(exportFolder() + QLatin1Char('/') + owner() +
                                                    QStringLiteral("_TableList.pdf")));
    const auto report = tableListReport();
    if (run.print(report->report()))
        run.finish();
    showPrintOutcome(run, QStringLiteral("▶ 테이블목록표가 발행 되었습니다..."));
}

void TKOLM210F::PrintLayouts()
{
    const QList<int> rows = markedRows();
    if (rows.isEmpty()) {
        setStatusText(QStringLiteral("▶ 레이아웃을 발행할 테이블을 선택하십시오..."));
        return;
    }
    const QString name = rows.size() == 1
                             ? owner() + QLatin1Char('_') + AdvStringGrid1->cell(1, rows.first()) +
                                   QStringLiteral("_TableLayout.pdf")
                             : owner() + QStringLiteral("_TableLayout.pdf");
    ui::PrintRun run(this, QDir::toNativeSeparators(exportFolder() + QLatin1Char('/') + name));
    bool printing = true;
    for (int r : rows) {
        SelectTable(r);
        // The layout grid is what the report reads, whichever page is shown.
        const int page = PageControl1->currentIndex();
        if (page != LayoutPage && page != ScriptPage)
            LoadLayout();
        LoadBackupInfo();
        bbt_update->setEnabled(false);
        setOutputEnabled(true);
        const auto report = layoutReport();
        printing = run.print(report->report());
        if (!printing)
            break;
    }
    if (printing)
        run.finish();
    showPrintOutcome(run, QStringLiteral("▶ 테이블 레이아웃이 발행 되었습니다... (%1 건)").arg(rows.size()));
}

void TKOLM210F::showPrintOutcome(const ui::PrintRun& run, const QString& done)
{
    switch (run.outcome()) {
    case ui::PrintRun::Outcome::Printed:
        setStatusText(run.pdfFile().isEmpty()
                          ? done
                          : QStringLiteral("▶ ") + QDir::toNativeSeparators(run.pdfFile()) +
                                QStringLiteral(" 파일로 저장 되었습니다..."));
        break;
    case ui::PrintRun::Outcome::Failed:
        setStatusText(QStringLiteral("▶ 발행 ERROR ..."));
        break;
    default:
        setStatusText(QStringLiteral("▶ 발행이 취소 되었습니다..."));
        break;
    }
    statusBar()->repaint();
}

}  // namespace kolmara::screens
