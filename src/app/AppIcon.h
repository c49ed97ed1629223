// The program icon, drawn rather than shipped: a drum of data with the letter K.
#pragma once

#include <QIcon>

namespace kolmara::app {

QIcon programIcon();

}  // namespace kolmara::app
