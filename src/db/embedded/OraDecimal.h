// The decimal form of a NUMBER that its routines share: digits and the place of the decimal
// point, so that rounding and text forms are decimal, not binary. Private to the engine's number
// files (OraNumber, OraArithmetic, OraNumberFormat).
#pragma once

#include "db/embedded/OraValues.h"

#include <QString>

#include <cstdlib>
#include <optional>

namespace kolmara::db::embedded::detail {

// value = (neg ? -1 : 1) * 0.d1d2d3... * 10^point ; digits carry no leading or trailing zeros.
struct Decimal {
    bool neg = false;
    QString digits;
    int point = 0;

    void normalize()
    {
        int lead = 0;
        while (lead < digits.size() && digits[lead] == QLatin1Char('0'))
            ++lead;
        digits.remove(0, lead);
        point -= lead;
        while (!digits.isEmpty() && digits.endsWith(QLatin1Char('0')))
            digits.chop(1);
        if (digits.isEmpty()) {
            neg = false;
            point = 0;
        }
    }

    QString text() const
    {
        if (digits.isEmpty())
            return QStringLiteral("0");
        QString out;
        if (point <= 0) {
            out = QLatin1Char('.') + QString(-point, QLatin1Char('0')) + digits;
        } else if (point >= digits.size()) {
            out = digits + QString(point - digits.size(), QLatin1Char('0'));
        } else {
            out = digits.left(point) + QLatin1Char('.') + digits.mid(point);
        }
        if (out.size() > 64) {
            // Scientific form, as Oracle falls back to when the fixed form needs more than 64
            // chars.
            out = digits.left(1);
            if (digits.size() > 1)
                out += QLatin1Char('.') + digits.mid(1);
            const int e = point - 1;
            out += QStringLiteral("E%1%2")
                       .arg(e < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                       .arg(std::abs(e), 2, 10, QLatin1Char('0'));
        }
        return neg ? QLatin1Char('-') + out : out;
    }

    bool isInteger() const { return digits.size() <= point; }
};

std::optional<Decimal> parseDecimal(QString s);
Decimal decimalFromDouble(double v);
int keptDigits(int point);
void roundAsStored(Decimal& d);
OraNumber numberFromDecimal(Decimal d);
Decimal decimalOf(const OraNumber& n);

}  // namespace kolmara::db::embedded::detail
