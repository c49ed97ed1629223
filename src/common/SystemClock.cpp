// The platform clock setter: SetLocalTime on Windows, clock_settime elsewhere.
#include "common/SystemClock.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <time.h>
#endif

namespace kolmara {

bool setSystemClock(const QDateTime& localTime)
{
    if (!localTime.isValid())
        return false;
#ifdef _WIN32
    SYSTEMTIME st{};
    const QDate d = localTime.date();
    const QTime t = localTime.time();
    st.wYear = static_cast<WORD>(d.year());
    st.wMonth = static_cast<WORD>(d.month());
    st.wDay = static_cast<WORD>(d.day());
    st.wHour = static_cast<WORD>(t.hour());
    st.wMinute = static_cast<WORD>(t.minute());
    st.wSecond = static_cast<WORD>(t.second());
    st.wMilliseconds = static_cast<WORD>(t.msec());
    return SetLocalTime(&st) != 0;
#else
    const qint64 ms = localTime.toMSecsSinceEpoch();
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(ms / 1000);
    ts.tv_nsec = static_cast<long>((ms % 1000) * 1000000);
    return clock_settime(CLOCK_REALTIME, &ts) == 0;
#endif
}

}  // namespace kolmara
