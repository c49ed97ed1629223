// The desktop implementation of the UI services and the switch that lets tests replace it.
#include "widgets/UiServices.h"

#include "common/SystemClock.h"

#include <QDialog>
#include <QFileDialog>
#include <QPageSetupDialog>
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
    QPrinter printer;
    QPageSetupDialog dialog(&printer, parent);
    dialog.exec();
}

std::unique_ptr<QPrinter> DesktopUiServices::printer()
{
    return std::make_unique<QPrinter>(QPrinter::HighResolution);
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

}  // namespace kolmara::ui
