// Print runs of banded reports on the current printer.
#include "widgets/ReportPrinter.h"

#include "widgets/ActionGuard.h"
#include "widgets/BandedReport.h"
#include "widgets/ReportCanvas.h"
#include "widgets/UiServices.h"

#include <QCoreApplication>
#include <QFile>
#include <QPrinter>
#include <QProgressDialog>

namespace kolmara::ui {

namespace {

PrintRecorder& recorder()
{
    static PrintRecorder instance;
    return instance;
}

}  // namespace

bool hasPrintTarget(const QPrinter& printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return !printer.outputFileName().isEmpty();
    return printer.isValid() && !printer.printerName().isEmpty();
}

void setPrintRecorderForTesting(PrintRecorder recorder_)
{
    recorder() = std::move(recorder_);
}

// The printer's pages: a new page of the job for every page after the first, the progress window
// kept up to date, and the cancel button heard between pages.
class PrintRun::Canvas : public PainterCanvas {
public:
    Canvas(PrintRun& run, const QString& title)
        : PainterCanvas(run.m_painter, run.m_printer->resolution()), m_run(run), m_title(title)
    {
    }

    bool beginPage(int page) override
    {
        m_run.m_progress->setLabelText(m_title +
                                       QStringLiteral("\n%1 페이지 인쇄 중...").arg(page));
        QCoreApplication::processEvents();
        if (m_run.m_progress->wasCanceled())
            return false;
        if (m_run.m_pages > 0 && !m_run.m_printer->newPage()) {
            m_run.m_pageFailed = true;
            return false;
        }
        ++m_run.m_pages;
        return true;
    }

private:
    PrintRun& m_run;
    QString m_title;
};

PrintRun::PrintRun(QWidget* parent, const QString& pdfStartPath)
    : m_parent(parent), m_pdfStartPath(pdfStartPath)
{
}

PrintRun::~PrintRun()
{
    if (m_outcome == Outcome::Printing && m_started)
        stop(Outcome::Failed);
}

bool PrintRun::start(const QString& title)
{
    m_started = true;
    m_printer = &services().printer();
    if (!hasPrintTarget(*m_printer)) {
        const auto answer = showMessage(
            m_parent, QStringLiteral("설치된 프린터가 없습니다.\rPDF 파일로 저장하시겠습니까?"),
            QMessageBox::Question, QMessageBox::Yes | QMessageBox::No);
        const QString path =
            answer == QMessageBox::Yes
                ? services().saveFileName(m_parent, QStringLiteral("PDF 파일로 저장"),
                                          m_pdfStartPath, QStringLiteral("PDF (*.pdf)"))
                : QString();
        if (path.isEmpty()) {
            m_outcome = Outcome::Declined;
            return false;
        }
        m_pdfPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_pdfPrinter->setOutputFormat(QPrinter::PdfFormat);
        m_pdfPrinter->setOutputFileName(path);
        m_printer = m_pdfPrinter.get();
        m_pdfFile = path;
    }
    // The reports place everything on the paper themselves, margins included; the setup's own
    // choices come back when the run ends.
    m_savedLayout = m_printer->pageLayout();
    m_savedFullPage = m_printer->fullPage();
    m_printer->setFullPage(true);
    m_printer->setPageSize(QPageSize(QPageSize::A4));
    m_printer->setPageOrientation(QPageLayout::Portrait);
    m_printer->setDocName(title);

    m_progress = std::make_unique<QProgressDialog>(m_parent);
    m_progress->setWindowTitle(QStringLiteral("인쇄"));
    m_progress->setLabelText(title);
    m_progress->setCancelButtonText(QStringLiteral("취소"));
    m_progress->setRange(0, 0);
    m_progress->setWindowModality(Qt::ApplicationModal);
    m_progress->setMinimumDuration(0);
    m_progress->show();

    if (!m_painter.begin(m_printer)) {
        const QString where = m_printer->outputFormat() == QPrinter::PdfFormat
                                  ? m_printer->outputFileName()
                                  : m_printer->printerName();
        stop(Outcome::Failed);
        showMessage(m_parent, QStringLiteral("인쇄를 시작할 수 없습니다.\r") + where,
                    QMessageBox::Warning);
        return false;
    }
    return true;
}

bool PrintRun::print(BandedReport& report)
{
    if (!m_started && !start(report.title()))
        return false;
    if (m_outcome != Outcome::Printing)
        return false;

    BusyCursor busy;
    Canvas canvas(*this, report.title());
    const PrintRecorder& record = recorder();
    bool done = false;
    if (record) {
        RecordingCanvas recording(&canvas);
        done = report.render(recording, services().now());
        record(report.title(), recording.lines());
    } else {
        done = report.render(canvas, services().now());
    }
    if (done)
        return true;
    if (m_pageFailed) {
        stop(Outcome::Failed);
        showMessage(m_parent, QStringLiteral("인쇄 중 오류가 발생했습니다."), QMessageBox::Warning);
    } else {
        stop(Outcome::Cancelled);
    }
    return false;
}

bool PrintRun::finish()
{
    if (!m_started || m_outcome != Outcome::Printing)
        return m_outcome == Outcome::Printed;
    stop(Outcome::Printed);
    return m_outcome == Outcome::Printed;
}

void PrintRun::stop(Outcome outcome)
{
    const bool wrote = m_painter.isActive();
    if (wrote) {
        if (outcome != Outcome::Printed)
            m_printer->abort();
        if (!m_painter.end() && outcome == Outcome::Printed) {
            outcome = Outcome::Failed;
            showMessage(m_parent, QStringLiteral("인쇄 중 오류가 발생했습니다."),
                        QMessageBox::Warning);
        }
    }
    // Half a run in a PDF file would pass for a whole one.
    if (wrote && outcome != Outcome::Printed && m_printer->outputFormat() == QPrinter::PdfFormat &&
        !m_printer->outputFileName().isEmpty())
        QFile::remove(m_printer->outputFileName());
    if (m_printer) {
        m_printer->setFullPage(m_savedFullPage);
        m_printer->setPageLayout(m_savedLayout);
    }
    m_progress.reset();
    m_outcome = outcome;
}

}  // namespace kolmara::ui
