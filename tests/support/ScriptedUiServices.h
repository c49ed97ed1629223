// The test double of the UI services. It records every message box, answers dialogs from a
// script, prints into PDF files and records what each printed report drew, never touches the real
// clock and reports a fixed "now".
// A dialog that nothing scripted, or a scripted answer left unused when the double is destroyed,
// fails the running test instead of blocking it on a real dialog.
//
//   ScriptedUiServices ui;                 // installs itself; restores the previous on exit
//   ui.answerMessage(QMessageBox::Yes);    // the next message box answers Yes
//   ... drive the screen ...
//   QCOMPARE(ui.messages().last().text, "…");
#pragma once

#include "widgets/UiServices.h"

#include <QList>
#include <QQueue>
#include <QStringList>

#include <functional>
#include <memory>

namespace kolmara::test {

struct RecordedMessage {
    QString caption;
    QString text;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
};

class ScriptedUiServices : public ui::UiServices {
public:
    ScriptedUiServices();
    ~ScriptedUiServices() override;

    // Message boxes with only an OK button need no script: they are recorded and answered OK.
    // Boxes with a choice take the next scripted answer.
    void answerMessage(QMessageBox::StandardButton answer) { m_messageAnswers.enqueue(answer); }
    // The next save dialog returns this path; an empty path means the user cancelled. A dialog
    // with file types answers fileType, or keeps the type it proposed when fileType is empty.
    void answerSaveFile(const QString& path, const QString& fileType = QString())
    {
        m_saveAnswers.enqueue(path);
        m_saveTypeAnswers.enqueue(fileType);
    }
    // The next of the program's modal dialogs is handed to this function instead of running
    // modally: it may fill fields and click buttons (the dialog is shown, not modal), and returns
    // the dialog's result. Every dialog the program opens needs one.
    void onDialog(std::function<int(QDialog*)> handler)
    {
        m_dialogHandlers.enqueue(std::move(handler));
    }
    void setNow(const QDateTime& now) { m_now = now; }
    // Reports print into this folder, one PDF per printer() call (print-0.pdf, print-1.pdf…).
    void setPrintFolder(const QString& folder) { m_printFolder = folder; }
    // As on a machine without any printer: printer() leads nowhere (no printer name, no file).
    void setNoPrinter(bool none) { m_noPrinter = none; }

    const QList<RecordedMessage>& messages() const { return m_messages; }
    // Object names (or class names) of the dialogs run, in order.
    const QStringList& dialogsRun() const { return m_dialogsRun; }
    QStringList messageTexts() const;
    const QList<QDateTime>& clockSettings() const { return m_clockSettings; }
    const QStringList& saveDialogStartPaths() const { return m_saveStartPaths; }
    // For each save dialog with file types: the types offered and the one proposed.
    const QList<QStringList>& saveDialogFileTypes() const { return m_saveFileTypes; }
    const QStringList& saveDialogProposedTypes() const { return m_saveProposedTypes; }
    const QStringList& printedFiles() const { return m_printedFiles; }
    // Every report printed, in order: its title, then its page items (see RecordingCanvas).
    const QList<QStringList>& printedReports() const { return m_printedReports; }
    // The number of pages of a PDF file the printer wrote; -1 when there is no such file.
    static int pdfPageCount(const QString& file);
    int printerSetupCount() const { return m_printerSetups; }
    void clearRecords();

    QMessageBox::StandardButton messageBox(QWidget* parent, const QString& caption,
                                           const QString& text, QMessageBox::Icon icon,
                                           QMessageBox::StandardButtons buttons) override;
    int execDialog(QDialog* dialog) override;
    QString saveFileName(QWidget* parent, const QString& caption, const QString& startPath,
                         const QString& filter) override;
    QString saveFileNameWithType(QWidget* parent, const QString& caption, const QString& startPath,
                                 const QStringList& fileTypes, QString* fileType) override;
    void printerSetup(QWidget* parent) override;
    QPrinter& printer() override;
    void setSystemClock(const QDateTime& localTime) override;
    QDateTime now() const override;

private:
    void fail(const QString& why);

    ui::ScopedUiServices m_install;
    QQueue<QMessageBox::StandardButton> m_messageAnswers;
    QQueue<QString> m_saveAnswers;
    QQueue<QString> m_saveTypeAnswers;
    QQueue<std::function<int(QDialog*)>> m_dialogHandlers;
    QStringList m_dialogsRun;
    QList<RecordedMessage> m_messages;
    QList<QDateTime> m_clockSettings;
    QStringList m_saveStartPaths;
    QList<QStringList> m_saveFileTypes;
    QStringList m_saveProposedTypes;
    QStringList m_printedFiles;
    QList<QStringList> m_printedReports;
    QString m_printFolder;
    std::unique_ptr<QPrinter> m_printer;
    bool m_noPrinter = false;
    QDateTime m_now;
    int m_printerSetups = 0;
};

}  // namespace kolmara::test
