// The desktop implementation of the UI services and the switch that lets tests replace it.
#include "widgets/UiServices.h"

#include "common/SystemClock.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace kolmara::ui {

namespace {
DesktopUiServices& desktop()
{
    static DesktopUiServices instance;
    return instance;
}
UiServices* g_current = nullptr;
}  // namespace

UiServices& services()
{
    return g_current ? *g_current : desktop();
}

ScopedUiServices::ScopedUiServices(UiServices& services) : m_previous(g_current)
{
    g_current = &services;
}

ScopedUiServices::~ScopedUiServices()
{
    g_current = m_previous;
}

QMessageBox::StandardButton DesktopUiServices::messageBox(QWidget* parent, const QString& caption,
                                                          const QString& text,
                                                          QMessageBox::Icon icon,
                                                          QMessageBox::StandardButtons buttons)
{
    // Texts separate their lines with a lone carriage return, as the program has always written
    // them; the box shows each as a line of its own.
    QString shown = text;
    if (!shown.contains(QLatin1Char('\n')))
        shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(icon, caption, shown, buttons, parent);
    box.setWindowModality(Qt::ApplicationModal);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

int DesktopUiServices::execDialog(QDialog* dialog)
{
    return dialog->exec();
}

QString DesktopUiServices::saveFileName(QWidget* parent, const QString& caption,
                                        const QString& startPath, const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, caption, startPath, filter);
}

QString UiServices::saveFileNameWithType(QWidget* parent, const QString& caption,
                                         const QString& startPath, const QStringList& fileTypes,
                                         QString*)
{
    return saveFileName(parent, caption, startPath, fileTypes.join(QStringLiteral(";;")));
}

QString DesktopUiServices::saveFileNameWithType(QWidget* parent, const QString& caption,
                                                const QString& startPath,
                                                const QStringList& fileTypes, QString* fileType)
{
    return QFileDialog::getSaveFileName(parent, caption, startPath,
                                        fileTypes.join(QStringLiteral(";;")), fileType);
}

void DesktopUiServices::printerSetup(QWidget* parent)
{
    // The print dialog, not the page-setup dialog: it chooses the printer too (a PDF file among
    // the printers), and it works where the page-setup dialog refuses non-native printers.
    QPrintDialog dialog(&printer(), parent);
    dialog.setWindowTitle(QStringLiteral("프린트 설정"));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
        for (QAbstractButton* button : buttons->buttons())
            if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole)
                button->setText(QStringLiteral("확인"));
    }
    dialog.exec();
}

DesktopUiServices::~DesktopUiServices()
{
    // After the application has gone, a printer left over is no longer safe to delete.
    if (QCoreApplication::instance())
        releasePrinter();
}

void DesktopUiServices::releasePrinter()
{
    QObject::disconnect(m_quit);
    delete m_printer;
    m_printer = nullptr;
}

QPrinter& DesktopUiServices::printer()
{
    if (!m_printer) {
        m_printer = new QPrinter(QPrinter::HighResolution);
        // The printer's engine needs the application; it goes before the application does.
        m_quit = QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit,
                                  [this] { releasePrinter(); });
    }
    return *m_printer;
}

void DesktopUiServices::setSystemClock(const QDateTime& localTime)
{
    kolmara::setSystemClock(localTime);
}

QDateTime DesktopUiServices::now() const
{
    return QDateTime::currentDateTime();
}

QMessageBox::StandardButton showMessage(QWidget* parent, const QString& text,
                                        QMessageBox::Icon icon,
                                        QMessageBox::StandardButtons buttons)
{
    return services().messageBox(parent, kApplicationTitle, text, icon, buttons);
}

void reportUnmadeFolders(const QStringList& folders)
{
    for (const QString& folder : folders)
        services().messageBox(nullptr, QStringLiteral("디렉토리 생성 에러"), folder,
                              QMessageBox::Question, QMessageBox::Ok);
}

}  // namespace kolmara::ui
