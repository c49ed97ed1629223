// The window that ui::runCancellable shows while a long call runs, as a test finds it.
#pragma once

#include <QApplication>
#include <QDialog>

namespace kolmara::test {

// The cancel window while it is shown; nullptr when none is.
inline QDialog* cancelWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("CancellableCall") && w->isVisible())
            return qobject_cast<QDialog*>(w);
    return nullptr;
}

}  // namespace kolmara::test
