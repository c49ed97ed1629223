// The frame every modal dialog of the program shares: a single, fixed border with a system menu
// only, the screen font, and the dialog's name and caption.
#pragma once

#include <QSize>
#include <QString>

class QDialog;

namespace kolmara::ui {

void setupDialogFrame(QDialog* dialog, const QString& name, const QString& caption, QSize size);

}  // namespace kolmara::ui
