// General floating-point form, as the Delphi runtime wrote it (FloatToStr with 15 digits).
#include "db/FloatFormat.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kolmara::db {

QString formatGeneralFloat(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (value == 0.0)
        return QStringLiteral("0");

    // 15 significant digits, decomposed into digits and decimal exponent.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", value);
    const bool negative = buf[0] == '-';
    const char* p = buf + (negative ? 1 : 0);
    QString digits;
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9')
            digits += QLatin1Char(*p);
    const int exponent = std::atoi(p + 1);  // value = d.ddd * 10^exponent
    while (digits.size() > 1 && digits.endsWith(QLatin1Char('0')))
        digits.chop(1);

    QString out;
    if (exponent >= 15 || exponent < -5) {
        // Scientific: d.dddE+XX, at least two exponent digits as the runtime writes it.
        out = digits.left(1);
        if (digits.size() > 1)
            out += QLatin1Char('.') + digits.mid(1);
        out += QLatin1Char('E');
        out += QLatin1Char(exponent < 0 ? '-' : '+');
        out += QStringLiteral("%1").arg(std::abs(exponent), 2, 10, QLatin1Char('0'));
    } else if (exponent >= 0) {
        if (digits.size() <= exponent + 1) {
            out = digits + QString(exponent + 1 - digits.size(), QLatin1Char('0'));
        } else {
            out = digits.left(exponent + 1) + QLatin1Char('.') + digits.mid(exponent + 1);
        }
    } else {
        out = QStringLiteral("0.") + QString(-exponent - 1, QLatin1Char('0')) + digits;
    }
    return negative ? QLatin1Char('-') + out : out;
}

}  // namespace kolmara::db
