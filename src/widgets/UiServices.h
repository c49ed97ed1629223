// Everything a test cannot do to a real desktop goes through UiServices: message boxes, the
// save-file dialog, the printer, the system clock setter and "now". The program asks
// services() for the current implementation; tests install a scripted double with
// ScopedUiServices, which restores the previous one when it goes out of scope.
#pragma once

#include <QDateTime>
#include <QMessageBox>
#include <QString>
#include <QStringList>

class QDialog;
class QPrinter;
class QWidget;

namespace kolmara::ui {

// Caption of every message box the program shows and the application's display name.
inline const QString kApplicationTitle = QStringLiteral("Kolmara [V1.0]");

class UiServices {
public:
    virtual ~UiServices() = default;

    // A modal message box; returns the button the user chose.
    virtual QMessageBox::StandardButton messageBox(QWidget* parent, const QString& caption,
                                                   const QString& text, QMessageBox::Icon icon,
                                                   QMessageBox::StandardButtons buttons) = 0;

    // Runs one of the program's own modal dialogs (connect, settings, about...) and returns its
    // result code (QDialog::Accepted or Rejected).
    virtual int execDialog(QDialog* dialog) = 0;

    // The save-file dialog. startPath is the folder plus the proposed file name. Returns the
    // chosen path, or an empty string when the user cancelled.
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& startPath,
                                 const QString& filter) = 0;

    // The save-file dialog with a choice of file types, each "Name (*.ext)". *fileType comes in as
    // the type proposed and goes out as the one chosen. Returns the chosen path, or an empty
    // string when the user cancelled. By default the plain dialog, which keeps the proposed type.
    virtual QString saveFileNameWithType(QWidget* parent, const QString& caption,
                                         const QString& startPath, const QStringList& fileTypes,
                                         QString* fileType);

    // The printer-setup dialog for the current printer: the printer (a PDF file among the
    // choices), paper and the like. Its outcome is not examined by callers.
    virtual void printerSetup(QWidget* parent) = 0;

    // The program's one current printer, which the setup dialog edits and the reports print on
    // (a PDF file in tests). It lives as long as the services do.
    virtual QPrinter& printer() = 0;

    // Sets the PC clock to the given local time. Failure is ignored.
    virtual void setSystemClock(const QDateTime& localTime) = 0;

    // The current local date and time.
    virtual QDateTime now() const = 0;
};

// The implementation in force: the desktop one unless a test installed another.
UiServices& services();

// The real desktop implementation (Qt dialogs, the default printer, the real clock).
class DesktopUiServices : public UiServices {
public:
    DesktopUiServices() = default;
    ~DesktopUiServices() override;
    DesktopUiServices(const DesktopUiServices&) = delete;
    DesktopUiServices& operator=(const DesktopUiServices&) = delete;

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
    void releasePrinter();

    // Made on first use, once the application exists, and let go before the application ends.
    QPrinter* m_printer = nullptr;
    QMetaObject::Connection m_quit;
};

// Installs an implementation for its lifetime and restores the previous one afterwards.
class ScopedUiServices {
public:
    explicit ScopedUiServices(UiServices& services);
    ~ScopedUiServices();
    ScopedUiServices(const ScopedUiServices&) = delete;
    ScopedUiServices& operator=(const ScopedUiServices&) = delete;

private:
    UiServices* m_previous;
};

// Shorthands used all over the program: a box captioned with the application title.
QMessageBox::StandardButton showMessage(QWidget* parent, const QString& text,
                                        QMessageBox::Icon icon = QMessageBox::NoIcon,
                                        QMessageBox::StandardButtons buttons = QMessageBox::Ok);

// One box for each folder ForceDirs could not create, captioned "디렉토리 생성 에러" with the
// folder as text.
void reportUnmadeFolders(const QStringList& folders);

}  // namespace kolmara::ui
