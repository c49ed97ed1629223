// Setting the PC's clock. Only the desktop UI services call this; tests replace those services
// and never reach the real clock.
#pragma once

#include <QDateTime>

namespace kolmara {

// Sets the system clock to the given local time (milliseconds as given). Returns whether the
// platform accepted it; callers ignore the answer, as a lack of privilege is not an error here.
bool setSystemClock(const QDateTime& localTime);

}  // namespace kolmara
