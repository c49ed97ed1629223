// Printing banded reports on the program's current printer (UiServices::printer(), the one the
// printer-setup command edits).
//
// A print run is one print job: the reports printed in it follow each other, each starting on a
// new page with its own page numbers, so a PDF file chosen as the printer holds the whole run.
// While it prints, the run shows its progress window (report and page, a cancel button); the
// other windows take no input meanwhile. On a machine without a printer the run says so and
// offers to save the same pages as a PDF file instead.
//
//   PrintRun run(this, folder + "/SCOTT_TableList.pdf");
//   if (run.print(report) && run.finish()) ...
#pragma once

#include <QPageLayout>
#include <QPainter>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QPrinter;
class QProgressDialog;
class QWidget;

namespace kolmara::ui {

class BandedReport;

// Whether the printer leads somewhere: a printer of the system, or a PDF file with a name.
bool hasPrintTarget(const QPrinter& printer);

// Tests see what was printed: while a recorder is installed, each report a run prints hands it
// the report's title and its page items as RecordingCanvas writes them. An empty function
// removes the recorder.
using PrintRecorder = std::function<void(const QString& title, const QStringList& items)>;
void setPrintRecorderForTesting(PrintRecorder recorder);

class PrintRun {
public:
    enum class Outcome {
        Printing,   // started, not finished yet (or not started)
        Printed,    // every report printed and the job ended
        Declined,   // no printer, and the user did not want a PDF file (or cancelled its name)
        Cancelled,  // the user cancelled in the progress window
        Failed,     // the printer or the file could not be opened or written; a message said so
    };

    // parent: the window the progress window and the messages belong to. pdfStartPath: the
    // folder and file name proposed when the pages go to a PDF file for want of a printer.
    PrintRun(QWidget* parent, const QString& pdfStartPath);
    // A run still printing (an exception passed) is abandoned: the job is aborted, a PDF file it
    // was writing is removed, and the printer gets back its settings.
    ~PrintRun();
    PrintRun(const PrintRun&) = delete;
    PrintRun& operator=(const PrintRun&) = delete;

    // Prints the report as the run's next pages; the first call opens the printer (asking about
    // a PDF file when there is none). False when nothing more prints: declined, cancelled or
    // failed (see outcome()). Exceptions of the report's callbacks pass through.
    bool print(BandedReport& report);
    // Ends the job. True when the run printed and its job ended well.
    bool finish();

    Outcome outcome() const { return m_outcome; }
    // The PDF file the run wrote for want of a printer; empty when it printed on the printer.
    QString pdfFile() const { return m_pdfFile; }

private:
    class Canvas;

    bool start(const QString& title);
    void stop(Outcome outcome);

    QWidget* m_parent;
    QString m_pdfStartPath;
    QString m_pdfFile;
    Outcome m_outcome = Outcome::Printing;
    bool m_started = false;
    QPrinter* m_printer = nullptr;
    std::unique_ptr<QPrinter> m_pdfPrinter;
    QPageLayout m_savedLayout;
    bool m_savedFullPage = false;
    QPainter m_painter;
    std::unique_ptr<QProgressDialog> m_progress;
    int m_pages = 0;  // pages of the job so far
    bool m_pageFailed = false;
};

}  // namespace kolmara::ui
