// The program icon, drawn rather than shipped: a drum of data with the letter K.
#pragma once

#include <QIcon>
#include <QImage>

namespace kolmara::app {

QIcon programIcon();
// The icon drawn at size × size pixels, for the window and for the installed desktop entry.
QImage programIconImage(int size);

}  // namespace kolmara::app
