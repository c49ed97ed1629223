// Oracle NUMBER values for the embedded engine: the decimal form every number routine goes
// through, the one storage form of a value, number text in and out, ROUND and TRUNC. Exact
// arithmetic is in OraArithmetic.cpp, TO_CHAR of numbers in OraNumberFormat.cpp.
#include "db/embedded/OraDecimal.h"
#include "db/embedded/OraValues.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace kolmara::db::embedded {

namespace detail {

std::optional<Decimal> parseDecimal(QString s)
{
    s = s.trimmed();
    if (s.startsWith(kBigNumberMark))
        s.remove(0, 1);
    Decimal d;
    int i = 0;
    if (i < s.size() && (s[i] == QLatin1Char('-') || s[i] == QLatin1Char('+'))) {
        d.neg = s[i] == QLatin1Char('-');
        ++i;
    }
    bool any = false;
    bool seenPoint = false;
    int intDigits = 0;
    for (; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c.isDigit() && c.unicode() < 128) {
            d.digits += c;
            any = true;
            if (!seenPoint)
                ++intDigits;
        } else if (c == QLatin1Char('.') && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
    }
    if (!any)
        return std::nullopt;
    int exponent = 0;
    if (i < s.size() && (s[i] == QLatin1Char('e') || s[i] == QLatin1Char('E'))) {
        ++i;
        bool eneg = false;
        if (i < s.size() && (s[i] == QLatin1Char('-') || s[i] == QLatin1Char('+'))) {
            eneg = s[i] == QLatin1Char('-');
            ++i;
        }
        bool edig = false;
        for (; i < s.size() && s[i].isDigit(); ++i) {
            exponent = exponent * 10 + s[i].digitValue();
            edig = true;
            if (exponent > 1000)
                return std::nullopt;
        }
        if (!edig)
            return std::nullopt;
        if (eneg)
            exponent = -exponent;
    }
    if (i != s.size())
        return std::nullopt;
    d.point = intDigits + exponent;
    d.normalize();
    return d;
}

Decimal decimalFromDouble(double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", v);
    return *parseDecimal(QString::fromLatin1(buf));
}

// How many significant digits Oracle keeps of a value whose first digit stands `point` places
// before the decimal point: its mantissa is 20 base-100 digits, paired from the decimal point, so
// a first pair that holds a single digit leaves 39.
int keptDigits(int point)
{
    return point % 2 == 0 ? 40 : 39;
}

// Rounds the digits half away from zero to what Oracle keeps.
void roundAsStored(Decimal& d)
{
    const int keep = keptDigits(d.point);
    if (d.digits.size() <= keep)
        return;
    const bool up = d.digits[keep] >= QLatin1Char('5');
    d.digits.truncate(keep);
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits[i] == QLatin1Char('9'))
            d.digits[i--] = QLatin1Char('0');
        if (i < 0) {
            d.digits.prepend(QLatin1Char('1'));
            d.point += 1;
        } else {
            d.digits[i] = QChar(d.digits[i].unicode() + 1);
        }
    }
    d.normalize();
}

// The one storage form of a value: a whole number of 64 bits is an Integer, up to 15 significant
// digits a Real, anything else Big. Equal values always get the same form.
OraNumber numberFromDecimal(Decimal d)
{
    roundAsStored(d);
    if (d.digits.isEmpty())
        return OraNumber::fromInteger(0);
    if (d.isInteger() && d.point <= 19) {
        bool ok = false;
        const qint64 v = (QString(d.neg ? QStringLiteral("-") : QString()) + d.digits +
                          QString(d.point - d.digits.size(), QLatin1Char('0')))
                             .toLongLong(&ok);
        if (ok)
            return OraNumber::fromInteger(v);
    }
    if (d.digits.size() <= 15 && d.point <= 300 && d.point >= -300) {
        OraNumber n;
        n.kind = OraNumber::Kind::Real;
        n.real = d.text().toDouble();
        return n;
    }
    OraNumber n;
    n.kind = OraNumber::Kind::Big;
    n.big = d.text();
    return n;
}

Decimal decimalOf(const OraNumber& n)
{
    switch (n.kind) {
    case OraNumber::Kind::Integer:
        return *parseDecimal(QString::number(n.integer));
    case OraNumber::Kind::Real:
        return decimalFromDouble(n.real);
    case OraNumber::Kind::Big:
        break;
    }
    return *parseDecimal(n.big);
}

}  // namespace detail

using namespace detail;

double OraNumber::toDouble() const
{
    switch (kind) {
    case Kind::Integer:
        return double(integer);
    case Kind::Real:
        return real;
    case Kind::Big:
        break;
    }
    return big.toDouble();
}

QString OraNumber::text() const
{
    switch (kind) {
    case Kind::Integer:
        return QString::number(integer);
    case Kind::Real:
        return oraNumberText(real);
    case Kind::Big:
        break;
    }
    return big;
}

OraNumber OraNumber::fromDouble(double value)
{
    if (std::isfinite(value) && value == std::floor(value) && std::fabs(value) < 9.0e15) {
        return fromInteger(qint64(value));
    }
    if (!std::isfinite(value)) {
        OraNumber n;
        n.kind = Kind::Real;
        n.real = value;
        return n;
    }
    // A double stands for the decimal of its first 15 significant digits.
    return numberFromDecimal(decimalFromDouble(value));
}

OraNumber OraNumber::fromInteger(qint64 value)
{
    OraNumber n;
    n.kind = Kind::Integer;
    n.integer = value;
    return n;
}

std::optional<OraNumber> parseOraNumber(const QString& text)
{
    const auto d = parseDecimal(text);
    if (!d)
        return std::nullopt;
    return numberFromDecimal(*d);
}

QString oraNumberText(double value)
{
    char text[80];
    return QString::fromLatin1(text, oraNumberChars(value, text));
}

int oraNumberChars(double value, char* out)
{
    if (!std::isfinite(value))
        return std::snprintf(out, 80, "%s", value > 0 ? "~" : "-~");
    if (value == 0) {
        out[0] = '0';
        return 1;
    }
    // 15 significant digits, as the decimal form takes them: d.dddddddddddddde+XX
    char scientific[64];
    const auto written = std::to_chars(scientific, scientific + sizeof scientific - 1, value,
                                       std::chars_format::scientific, 14);
    *written.ptr = '\0';
    const char* p = scientific;
    const bool neg = *p == '-';
    if (neg)
        ++p;
    char digits[16];
    int count = 0;
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9')
            digits[count++] = *p;
    const int exponent = *p == 'e' ? std::atoi(p + 1) : 0;
    int first = 0;
    while (first < count && digits[first] == '0')
        ++first;
    while (count > first && digits[count - 1] == '0')
        --count;
    if (first == count) {
        out[0] = '0';
        return 1;
    }
    const int point = exponent + 1 - first;  // value = 0.digits x 10^point
    const int n = count - first;
    const char* d = digits + first;
    int length = 0;
    if (neg)
        out[length++] = '-';
    const int fixed = point <= 0 ? 1 - point + n : (point >= n ? point : n + 1);
    if (fixed > 64) {
        // Scientific form, as Oracle falls back to when the fixed form needs more than 64 chars.
        out[length++] = d[0];
        if (n > 1) {
            out[length++] = '.';
            for (int i = 1; i < n; ++i)
                out[length++] = d[i];
        }
        const int e = point - 1;
        length += std::snprintf(out + length, 16, "E%c%02d", e < 0 ? '-' : '+', std::abs(e));
        return length;
    }
    if (point <= 0) {
        out[length++] = '.';
        for (int i = 0; i < -point; ++i)
            out[length++] = '0';
        for (int i = 0; i < n; ++i)
            out[length++] = d[i];
    } else if (point >= n) {
        for (int i = 0; i < n; ++i)
            out[length++] = d[i];
        for (int i = n; i < point; ++i)
            out[length++] = '0';
    } else {
        for (int i = 0; i < point; ++i)
            out[length++] = d[i];
        out[length++] = '.';
        for (int i = point; i < n; ++i)
            out[length++] = d[i];
    }
    return length;
}

OraNumber oraRoundNumber(const OraNumber& value, int places, bool truncate)
{
    Decimal d = decimalOf(value);
    const int keep = d.point + places;
    if (keep >= d.digits.size())
        return value;
    if (keep < 0)
        return OraNumber::fromInteger(0);
    const bool up = !truncate && d.digits[keep] >= QLatin1Char('5');
    QString kept = d.digits.left(keep);
    if (up) {
        int i = kept.size() - 1;
        while (i >= 0 && kept[i] == QLatin1Char('9')) {
            kept[i] = QLatin1Char('0');
            --i;
        }
        if (i < 0) {
            kept.prepend(QLatin1Char('1'));
            d.point += 1;
        } else {
            kept[i] = QChar(kept[i].unicode() + 1);
        }
    }
    d.digits = kept;
    d.normalize();
    return numberFromDecimal(d);
}

}  // namespace kolmara::db::embedded
