// The guard around every user action, and the program's one busy cursor.
#include "widgets/ActionGuard.h"

#include "common/Errors.h"
#include "widgets/UiServices.h"

#include <QApplication>
#include <QCursor>

#include <exception>

namespace kolmara::ui {

namespace {
bool g_busy = false;
}

void setBusyCursor(bool busy)
{
    if (busy == g_busy)
        return;
    g_busy = busy;
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    if (busy)
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QApplication::restoreOverrideCursor();
}

bool isBusyCursor()
{
    return g_busy;
}

void showErrorBox(QWidget* parent, const QString& message)
{
    services().messageBox(parent, kApplicationTitle, message, QMessageBox::Critical,
                          QMessageBox::Ok);
}

void runGuarded(QWidget* parent, const std::function<void()>& action) noexcept
{
    QString message;
    try {
        action();
        return;
    } catch (const KolmaraError& e) {
        message = e.message();
    } catch (const std::bad_alloc&) {
        message = QStringLiteral("Out of memory");
    } catch (const std::exception& e) {
        message = QString::fromUtf8(e.what());
    } catch (...) {
        message = QStringLiteral("Unknown error");
    }
    setBusyCursor(false);
    try {
        showErrorBox(parent, message);
    } catch (...) {
        // The error box itself failed (a test double refusing it, say); nothing more can be shown.
    }
}

}  // namespace kolmara::ui
