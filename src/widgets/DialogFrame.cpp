// The shared dialog frame.
#include "widgets/DialogFrame.h"

#include "widgets/Fonts.h"

#include <QDialog>

namespace kolmara::ui {

void setupDialogFrame(QDialog* dialog, const QString& name, const QString& caption, QSize size)
{
    dialog->setObjectName(name);
    dialog->setWindowTitle(caption);
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    dialog->setFont(gulimChe(12));
    dialog->setFixedSize(size);
}

}  // namespace kolmara::ui
