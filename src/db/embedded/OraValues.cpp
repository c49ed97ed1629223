// Oracle NUMBER and DATE semantics for the embedded engine. Numbers go through a small decimal
// form (digits and point position) so rounding and text forms are decimal, not binary.
// Arithmetic is exact: values of up to 18 digits take a fast road in 128-bit integers, anything
// longer goes through GMP's integers with a decimal exponent; every result is rounded as Oracle
// stores it (20 base-100 digits: 40 significant digits, 39 when the first base-100 digit has one).
#include "db/embedded/OraValues.h"

#include <QHash>
#include <QStringList>

#include <gmpxx.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace kolmara::db::embedded {

namespace {

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
            // Scientific form, as Oracle falls back to when the fixed form needs more than 64 chars.
            out = digits.left(1);
            if (digits.size() > 1)
                out += QLatin1Char('.') + digits.mid(1);
            const int e = point - 1;
            out += QStringLiteral("E%1%2").arg(e < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                       .arg(std::abs(e), 2, 10, QLatin1Char('0'));
        }
        return neg ? QLatin1Char('-') + out : out;
    }

    bool isInteger() const { return digits.size() <= point; }
};

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
int keptDigits(int point) { return point % 2 == 0 ? 40 : 39; }

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
        const qint64 v = (QString(d.neg ? QStringLiteral("-") : QString()) + d.digits
                          + QString(d.point - d.digits.size(), QLatin1Char('0')))
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

// ---- exact arithmetic ---------------------------------------------------------------------

using Int128 = __int128;

constexpr qint64 kPowers10[] = {1LL,
                                10LL,
                                100LL,
                                1000LL,
                                10000LL,
                                100000LL,
                                1000000LL,
                                10000000LL,
                                100000000LL,
                                1000000000LL,
                                10000000000LL,
                                100000000000LL,
                                1000000000000LL,
                                10000000000000LL,
                                100000000000000LL,
                                1000000000000000LL,
                                10000000000000000LL,
                                100000000000000000LL,
                                1000000000000000000LL};
constexpr qint64 kFastLimit = kPowers10[18];

// value = m * 10^e, the fast road's form: |m| < 10^18 on the way in.
struct Scaled {
    Int128 m = 0;
    int e = 0;
};

std::optional<Scaled> scaledOf(const OraNumber& n)
{
    switch (n.kind) {
    case OraNumber::Kind::Integer:
        if (n.integer > -kFastLimit && n.integer < kFastLimit)
            return Scaled{n.integer, 0};
        return std::nullopt;
    case OraNumber::Kind::Real: {
        if (!std::isfinite(n.real))
            return std::nullopt;
        // A Real holds a decimal of at most 15 significant digits, which is also the shortest
        // text that reads back as the same double; a double from elsewhere is cut to 15.
        char buffer[40];
        auto r = std::to_chars(buffer, buffer + sizeof buffer, n.real, std::chars_format::scientific);
        if (r.ec != std::errc())
            return std::nullopt;
        int mantissaDigits = 0;
        for (const char* p = buffer; p < r.ptr && *p != 'e'; ++p)
            mantissaDigits += *p >= '0' && *p <= '9';
        if (mantissaDigits > 15) {
            r = std::to_chars(buffer, buffer + sizeof buffer, n.real, std::chars_format::scientific, 14);
            if (r.ec != std::errc())
                return std::nullopt;
        }
        const char* p = buffer;
        const bool negative = *p == '-';
        if (negative)
            ++p;
        qint64 m = 0;
        int fraction = -1;  // digits after the point
        for (; p < r.ptr && *p != 'e'; ++p) {
            if (*p == '.')
                fraction = 0;
            else {
                m = m * 10 + (*p - '0');
                if (fraction >= 0)
                    ++fraction;
            }
        }
        int exponent = 0;
        if (p < r.ptr)
            std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), r.ptr, exponent);
        return Scaled{negative ? -m : m, exponent - qMax(fraction, 0)};
    }
    case OraNumber::Kind::Big:
        break;
    }
    return std::nullopt;
}

int digitCount(Int128 m)
{
    if (m < 0)
        m = -m;
    int n = 1;
    while (m >= 10) {
        m /= 10;
        ++n;
    }
    return n;
}

// Oracle's range of NUMBER: beyond 10^126 an arithmetic result overflows, below 10^-130 it is 0.
void checkRange(Decimal& d)
{
    if (d.digits.isEmpty())
        return;
    if (d.point > 126)
        throw OraFailure{1426, QStringLiteral("numeric overflow")};
    if (d.point < -129) {
        d.digits.clear();
        d.normalize();
    }
}

OraNumber fromDecimalChecked(Decimal d)
{
    roundAsStored(d);
    checkRange(d);
    return numberFromDecimal(d);
}

OraNumber fromScaled(Int128 m, int e)
{
    if (m == 0)
        return OraNumber::fromInteger(0);
    while (m % 10 == 0) {
        m /= 10;
        ++e;
    }
    if (e >= 0 && digitCount(m) + e <= 19) {
        const Int128 whole = m * kPowers10[e];
        if (whole >= std::numeric_limits<qint64>::min() && whole <= std::numeric_limits<qint64>::max())
            return OraNumber::fromInteger(qint64(whole));
    }
    if (digitCount(m) <= 15 && e >= -18 && e <= 18) {
        // Both factors are exact doubles: one operation gives the correctly rounded value.
        OraNumber n;
        n.kind = OraNumber::Kind::Real;
        const double mantissa = double(qint64(m));
        n.real = e >= 0 ? mantissa * double(kPowers10[e]) : mantissa / double(kPowers10[-e]);
        return n;
    }
    Decimal d;
    d.neg = m < 0;
    for (Int128 v = m < 0 ? -m : m; v > 0; v /= 10)
        d.digits.prepend(QChar(u'0' + int(v % 10)));
    d.point = int(d.digits.size()) + e;
    return fromDecimalChecked(d);
}

// The slow road's form: value = m * 10^e with any number of digits.
struct Exact {
    mpz_class m;
    int e = 0;
};

mpz_class powerOf10(unsigned long k)
{
    mpz_class r;
    mpz_ui_pow_ui(r.get_mpz_t(), 10, k);
    return r;
}

mpz_class toMpz(Int128 v)
{
    std::string text;
    const bool negative = v < 0;
    for (Int128 m = negative ? -v : v; m > 0; m /= 10)
        text.insert(text.begin(), char('0' + int(m % 10)));
    if (text.empty())
        return mpz_class(0);
    mpz_class r(text, 10);
    return negative ? mpz_class(-r) : r;
}

Exact exactOf(const OraNumber& n)
{
    if (n.kind == OraNumber::Kind::Big) {
        // The canonical text: [-]digits[.digits] or [-]d[.digits]E[+-]nn.
        const QByteArray text = n.big.toLatin1();
        std::string digits;
        digits.reserve(size_t(text.size()));
        Exact x;
        int fraction = -1;
        int i = 0;
        const bool negative = text.startsWith('-');
        if (negative)
            ++i;
        for (; i < text.size() && text[i] != 'E'; ++i) {
            if (text[i] == '.') {
                fraction = 0;
                continue;
            }
            digits += text[i];
            if (fraction >= 0)
                ++fraction;
        }
        if (i < text.size())
            x.e = text.mid(i + 1).toInt();
        x.e -= qMax(fraction, 0);
        x.m.set_str(digits, 10);
        if (negative)
            x.m = -x.m;
        return x;
    }
    const Decimal d = decimalOf(n);
    Exact x;
    if (d.digits.isEmpty())
        return x;
    x.m = mpz_class(d.digits.toStdString(), 10);
    if (d.neg)
        x.m = -x.m;
    x.e = d.point - int(d.digits.size());
    return x;
}

OraNumber fromExact(const Exact& x)
{
    if (x.m == 0)
        return OraNumber::fromInteger(0);
    const mpz_class magnitude = abs(x.m);
    Decimal d;
    d.neg = x.m < 0;
    d.digits = QString::fromStdString(magnitude.get_str(10));
    d.point = int(d.digits.size()) + x.e;
    d.normalize();
    return fromDecimalChecked(d);
}

// Brings both to the smaller exponent.
void align(Exact& a, Exact& b)
{
    if (a.e > b.e) {
        a.m *= powerOf10(unsigned(a.e - b.e));
        a.e = b.e;
    } else if (b.e > a.e) {
        b.m *= powerOf10(unsigned(b.e - a.e));
        b.e = a.e;
    }
}

// |a| / |b| truncated to at least 42 significant digits, as m * 10^e: the digits Oracle keeps
// and the one that decides their rounding.
Exact truncatedQuotient(const mpz_class& a, int ae, const mpz_class& b, int be)
{
    const long digitsA = long(mpz_sizeinbase(a.get_mpz_t(), 10));
    const long digitsB = long(mpz_sizeinbase(b.get_mpz_t(), 10));
    const long k = qMax(0L, 43 + digitsB - digitsA);
    Exact q;
    q.m = a * powerOf10(unsigned(k));
    mpz_tdiv_q(q.m.get_mpz_t(), q.m.get_mpz_t(), b.get_mpz_t());
    q.e = ae - be - int(k);
    return q;
}

bool isZero(const OraNumber& n)
{
    switch (n.kind) {
    case OraNumber::Kind::Integer:
        return n.integer == 0;
    case OraNumber::Kind::Real:
        return n.real == 0;
    case OraNumber::Kind::Big:
        break;
    }
    return false;
}

}  // namespace

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

OraNumber oraAdd(const OraNumber& a, const OraNumber& b)
{
    if (a.kind == OraNumber::Kind::Integer && b.kind == OraNumber::Kind::Integer) {
        qint64 r;
        if (!__builtin_add_overflow(a.integer, b.integer, &r))
            return OraNumber::fromInteger(r);
    }
    const auto x = scaledOf(a), y = scaledOf(b);
    if (x && y && std::abs(x->e - y->e) <= 18) {
        const int e = qMin(x->e, y->e);
        return fromScaled(x->m * kPowers10[x->e - e] + y->m * kPowers10[y->e - e], e);
    }
    Exact p = exactOf(a), q = exactOf(b);
    align(p, q);
    p.m += q.m;
    return fromExact(p);
}

OraNumber oraNegate(const OraNumber& a)
{
    switch (a.kind) {
    case OraNumber::Kind::Integer:
        if (a.integer != std::numeric_limits<qint64>::min())
            return OraNumber::fromInteger(-a.integer);
        break;
    case OraNumber::Kind::Real: {
        OraNumber n = a;
        n.real = -a.real;
        return n;
    }
    case OraNumber::Kind::Big: {
        OraNumber n = a;
        n.big = a.big.startsWith(QLatin1Char('-')) ? a.big.mid(1) : QLatin1Char('-') + a.big;
        return n;
    }
    }
    Exact p = exactOf(a);
    p.m = -p.m;
    return fromExact(p);
}

OraNumber oraSubtract(const OraNumber& a, const OraNumber& b)
{
    if (a.kind == OraNumber::Kind::Integer && b.kind == OraNumber::Kind::Integer) {
        qint64 r;
        if (!__builtin_sub_overflow(a.integer, b.integer, &r))
            return OraNumber::fromInteger(r);
    }
    return oraAdd(a, oraNegate(b));
}

OraNumber oraMultiply(const OraNumber& a, const OraNumber& b)
{
    if (a.kind == OraNumber::Kind::Integer && b.kind == OraNumber::Kind::Integer) {
        qint64 r;
        if (!__builtin_mul_overflow(a.integer, b.integer, &r))
            return OraNumber::fromInteger(r);
    }
    const auto x = scaledOf(a), y = scaledOf(b);
    if (x && y)
        return fromScaled(x->m * y->m, x->e + y->e);
    Exact p = exactOf(a);
    const Exact q = exactOf(b);
    p.m *= q.m;
    p.e += q.e;
    return fromExact(p);
}

OraNumber oraDivide(const OraNumber& a, const OraNumber& b)
{
    if (isZero(b))
        throw OraFailure{1476, QStringLiteral("divisor is equal to zero")};
    if (a.kind == OraNumber::Kind::Integer && b.kind == OraNumber::Kind::Integer && b.integer != -1
        && a.integer % b.integer == 0)
        return OraNumber::fromInteger(a.integer / b.integer);
    const Exact p = exactOf(a), q = exactOf(b);
    if (p.m == 0)
        return OraNumber::fromInteger(0);
    Exact r = truncatedQuotient(abs(p.m), p.e, abs(q.m), q.e);
    if ((p.m < 0) != (q.m < 0))
        r.m = -r.m;
    return fromExact(r);
}

OraNumber oraModulo(const OraNumber& a, const OraNumber& b)
{
    if (isZero(b))
        return a;
    if (a.kind == OraNumber::Kind::Integer && b.kind == OraNumber::Kind::Integer && b.integer != -1)
        return OraNumber::fromInteger(a.integer % b.integer);
    // The remainder takes the sign of the dividend: a - b * TRUNC(a / b).
    Exact p = exactOf(a), q = exactOf(b);
    align(p, q);
    mpz_tdiv_r(p.m.get_mpz_t(), p.m.get_mpz_t(), q.m.get_mpz_t());
    return fromExact(p);
}

OraNumber oraSquareRoot(const OraNumber& a)
{
    const Exact p = exactOf(a);
    if (p.m < 0)
        throw OraFailure{1428, QStringLiteral("argument '%1' is out of range").arg(a.text())};
    if (p.m == 0)
        return OraNumber::fromInteger(0);
    // Scale to an even exponent and at least 84 digits, so the integer root has 42.
    long k = qMax(0L, 85 - long(mpz_sizeinbase(p.m.get_mpz_t(), 10)));
    if ((p.e - k) % 2 != 0)
        ++k;
    Exact r;
    r.m = p.m * powerOf10(unsigned(k));
    mpz_sqrt(r.m.get_mpz_t(), r.m.get_mpz_t());
    r.e = int((p.e - k) / 2);
    return fromExact(r);
}

OraNumber oraPower(const OraNumber& base, const OraNumber& exponent)
{
    const Decimal e = decimalOf(exponent);
    if (e.isInteger() && e.point <= 6) {
        // Whole exponents are exact, as repeated multiplication.
        const long n = e.digits.isEmpty() ? 0 : (e.digits + QString(e.point - e.digits.size(), QLatin1Char('0'))).toLong();
        Exact p = exactOf(base);
        if (n == 0)
            return OraNumber::fromInteger(1);
        if (p.m == 0) {
            if (e.neg)
                throw OraFailure{1476, QStringLiteral("divisor is equal to zero")};
            return OraNumber::fromInteger(0);
        }
        const long magnitude = (long(mpz_sizeinbase(p.m.get_mpz_t(), 10)) + p.e) * n;
        if (!e.neg && magnitude > 140)
            throw OraFailure{1426, QStringLiteral("numeric overflow")};
        if (e.neg && magnitude > 140)
            return OraNumber::fromInteger(0);
        mpz_pow_ui(p.m.get_mpz_t(), p.m.get_mpz_t(), static_cast<unsigned long>(n));
        p.e *= int(n);
        if (!e.neg)
            return fromExact(p);
        Exact r = truncatedQuotient(mpz_class(1), 0, abs(p.m), p.e);
        if (p.m < 0)
            r.m = -r.m;
        return fromExact(r);
    }
    const double x = base.toDouble();
    if (x < 0)
        throw OraFailure{1428, QStringLiteral("argument '%1' is out of range").arg(base.text())};
    const double v = std::pow(x, exponent.toDouble());
    if (!std::isfinite(v))
        throw OraFailure{1426, QStringLiteral("numeric overflow")};
    return OraNumber::fromDouble(v);
}

int oraCompare(const OraNumber& a, const OraNumber& b)
{
    if (a.kind == OraNumber::Kind::Integer && b.kind == OraNumber::Kind::Integer)
        return a.integer < b.integer ? -1 : a.integer > b.integer ? 1 : 0;
    if (a.kind == OraNumber::Kind::Real && b.kind == OraNumber::Kind::Real)
        return a.real < b.real ? -1 : a.real > b.real ? 1 : 0;
    const auto x = scaledOf(a), y = scaledOf(b);
    if (x && y && std::abs(x->e - y->e) <= 18) {
        const int e = qMin(x->e, y->e);
        const Int128 l = x->m * kPowers10[x->e - e], r = y->m * kPowers10[y->e - e];
        return l < r ? -1 : l > r ? 1 : 0;
    }
    Exact p = exactOf(a), q = exactOf(b);
    align(p, q);
    const int c = cmp(p.m, q.m);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

// ---- SUM and AVG ----------------------------------------------------------------------------

struct OraSum::Slow {
    Exact total;
};

OraSum::OraSum() = default;
OraSum::~OraSum() = default;

void OraSum::add(const OraNumber& value, int sign)
{
    m_count += sign;
    if (!m_slow) {
        if (const auto x = scaledOf(value)) {
            Int128 m = sign < 0 ? -x->m : x->m;
            const Int128 bound = Int128(kFastLimit) * kFastLimit * 10;  // 10^37: no sum of two overflows
            const Int128 magnitude = m_total < 0 ? -m_total : m_total;
            bool fits = magnitude < bound;
            if (fits && x->e < m_exponent) {
                if (m_total == 0)
                    m_exponent = x->e;
                else if (m_exponent - x->e <= 18 && magnitude < kFastLimit) {
                    m_total *= kPowers10[m_exponent - x->e];
                    m_exponent = x->e;
                } else
                    fits = false;
            } else if (fits && x->e > m_exponent) {
                if (x->e - m_exponent <= 18)
                    m *= kPowers10[x->e - m_exponent];
                else
                    fits = false;
            }
            if (fits) {
                m_total += m;
                return;
            }
        }
        // Too many digits for the fast road: the total goes on exactly.
        m_slow = std::make_unique<Slow>();
        m_slow->total.m = toMpz(m_total);
        m_slow->total.e = m_exponent;
    }
    Exact v = exactOf(value);
    if (sign < 0)
        v.m = -v.m;
    align(m_slow->total, v);
    m_slow->total.m += v.m;
}

OraNumber OraSum::total() const
{
    if (!m_slow)
        return fromScaled(m_total, m_exponent);
    return fromExact(m_slow->total);
}

OraNumber OraSum::average() const
{
    return oraDivide(total(), OraNumber::fromInteger(m_count));
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

namespace {

QString hashes(qsizetype width) { return QString(width, QLatin1Char('#')); }

QString romanNumeral(int v)
{
    static const struct {
        int value;
        const char* text;
    } parts[] = {{1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"}, {90, "XC"}, {50, "L"},
                 {40, "XL"},  {10, "X"},   {9, "IX"},  {5, "V"},   {4, "IV"},  {1, "I"}};
    QString out;
    for (const auto& p : parts)
        for (; v >= p.value; v -= p.value)
            out += QLatin1String(p.text);
    return out;
}

// The digits of a number against a mask of 9 0 , . with the sign standing just before the first
// digit (or nowhere: signPosition false). Returns nullopt when the integer part does not fit.
std::optional<QString> maskedDigits(const OraNumber& value, const QString& format, bool fm, bool dollar, bool floatingSign)
{
    const int pointAt = int(format.indexOf(QLatin1Char('.')));
    const QString intPart = pointAt < 0 ? format : format.left(pointAt);
    const QString fracPart = pointAt < 0 ? QString() : format.mid(pointAt + 1);
    const int fracDigits = int(fracPart.count(QLatin1Char('9')) + fracPart.count(QLatin1Char('0')));

    Decimal d = decimalOf(oraRoundNumber(value, fracDigits, false));
    const QString intDigits =
        d.point > 0 ? (d.digits.left(d.point) + QString(qMax(0, d.point - int(d.digits.size())), QLatin1Char('0'))) : QString();
    QString fracText = d.point >= 0 ? d.digits.mid(d.point) : QString(-d.point, QLatin1Char('0')) + d.digits;
    fracText = fracText.left(fracDigits).leftJustified(fracDigits, QLatin1Char('0'));

    // Integer part, right to left over the mask.
    const int slotCount = int(intPart.count(QLatin1Char('9')) + intPart.count(QLatin1Char('0')));
    if (intDigits.size() > slotCount)
        return std::nullopt;
    QString out;
    int di = int(intDigits.size()) - 1;
    const int firstZero = int(intPart.indexOf(QLatin1Char('0')));
    for (int mi = int(intPart.size()) - 1; mi >= 0; --mi) {
        const QChar m = intPart[mi];
        if (m == QLatin1Char(',')) {
            if (di >= 0 || (firstZero >= 0 && mi > firstZero))
                out.prepend(QLatin1Char(','));
            else
                out.prepend(QLatin1Char(' '));
            continue;
        }
        if (di >= 0) {
            out.prepend(intDigits[di--]);
        } else if (m == QLatin1Char('0') || (firstZero >= 0 && mi >= firstZero)) {
            out.prepend(QLatin1Char('0'));
        } else if (pointAt < 0 && mi == int(intPart.size()) - 1) {
            out.prepend(QLatin1Char('0'));  // a zero value still shows one digit
        } else {
            out.prepend(QLatin1Char(' '));
        }
    }
    QString body = out;
    if (pointAt >= 0)
        body += QLatin1Char('.') + fracText;
    // The sign (a blank for positives) and the currency sign stand just before the first digit.
    int lead = 0;
    while (lead < body.size() && body[lead] == QLatin1Char(' '))
        ++lead;
    const QString sign = !floatingSign ? QString() : d.neg ? QStringLiteral("-") : (fm ? QString() : QStringLiteral(" "));
    QString result = QString(lead, QLatin1Char(' ')) + sign + (dollar ? QStringLiteral("$") : QString()) + body.mid(lead);
    if (fm)
        result = result.trimmed();
    return result;
}

}  // namespace

QString oraNumberToChar(const OraNumber& value, const QString& formatIn)
{
    QString format = formatIn.trimmed();
    bool fm = false;
    if (format.startsWith(QLatin1String("FM"), Qt::CaseInsensitive)) {
        fm = true;
        format.remove(0, 2);
    }
    const QString upper = format.toUpper();
    const bool negative = oraCompare(value, OraNumber::fromInteger(0)) < 0;

    if (upper == QLatin1String("RN")) {
        // Roman numerals of 1 to 3999, right-aligned in 15 characters.
        const OraNumber whole = oraRoundNumber(value, 0, false);
        if (whole.kind != OraNumber::Kind::Integer || whole.integer < 1 || whole.integer > 3999)
            return hashes(15);
        QString roman = romanNumeral(int(whole.integer));
        if (format == QLatin1String("rn"))
            roman = roman.toLower();
        return fm ? roman : roman.rightJustified(15);
    }

    if (!upper.isEmpty() && upper.contains(QLatin1Char('X'))) {
        // Hexadecimal of the rounded value: X digits, a leading 0 for zeros in front.
        for (QChar c : upper)
            if (c != QLatin1Char('X') && c != QLatin1Char('0'))
                throw OraFailure{1481, QStringLiteral("invalid number format model")};
        const int width = int(upper.size());
        const OraNumber whole = oraRoundNumber(value, 0, false);
        if (negative || whole.kind != OraNumber::Kind::Integer)
            return hashes(width + 1);
        QString hex = QString::number(whole.integer, 16);
        if (hex.size() > width)
            return hashes(width + 1);
        hex = format.contains(QLatin1Char('X')) ? hex.toUpper() : hex.toLower();
        if (upper.startsWith(QLatin1Char('0')))
            hex = hex.rightJustified(width, QLatin1Char('0'));
        return fm ? hex : hex.rightJustified(width + 1);
    }

    QString mask = upper;
    bool dollar = false;
    if (mask.contains(QLatin1Char('$'))) {
        dollar = true;
        mask.remove(QLatin1Char('$'));
    }
    // Where the sign goes: MI after the number, PR angle brackets, S before or after it.
    enum class Sign { Floating, Minus, Brackets, LeadingS, TrailingS } sign = Sign::Floating;
    if (mask.endsWith(QLatin1String("MI"))) {
        sign = Sign::Minus;
        mask.chop(2);
    } else if (mask.endsWith(QLatin1String("PR"))) {
        sign = Sign::Brackets;
        mask.chop(2);
    } else if (mask.startsWith(QLatin1Char('S'))) {
        sign = Sign::LeadingS;
        mask.remove(0, 1);
    } else if (mask.endsWith(QLatin1Char('S'))) {
        sign = Sign::TrailingS;
        mask.chop(1);
    }
    const bool scientific = mask.endsWith(QLatin1String("EEEE"));
    if (scientific)
        mask.chop(4);
    for (QChar c : mask)
        if (!QStringLiteral("90.,").contains(c))
            throw OraFailure{1481, QStringLiteral("invalid number format model")};
    const int width = int(mask.size()) + (dollar ? 1 : 0) + (scientific ? 4 : 0) + (sign == Sign::Brackets ? 2 : 1);

    QString body;
    if (scientific) {
        // d.ddEsnn: the mantissa rounded to the mask's fraction digits, one digit before the point.
        const int pointAt = int(mask.indexOf(QLatin1Char('.')));
        const int fracDigits = pointAt < 0 ? 0 : int(mask.size()) - pointAt - 1;
        Decimal d = decimalOf(value);
        int exponent = d.digits.isEmpty() ? 0 : d.point - 1;
        Decimal mantissa = d;
        mantissa.neg = false;
        mantissa.point = d.digits.isEmpty() ? 0 : 1;
        Decimal rounded = decimalOf(oraRoundNumber(numberFromDecimal(mantissa), fracDigits, false));
        if (rounded.point > 1) {  // 9.99 rounded up to 10.0
            ++exponent;
            rounded.point -= 1;
        }
        QString digits = rounded.digits.leftJustified(1 + fracDigits, QLatin1Char('0'));
        body = digits.left(1) + (fracDigits > 0 ? QLatin1Char('.') + digits.mid(1, fracDigits) : QString())
               + QStringLiteral("E%1%2").arg(exponent < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                     .arg(std::abs(exponent), std::abs(exponent) >= 100 ? 3 : 2, 10, QLatin1Char('0'));
        if (dollar)
            body.prepend(QLatin1Char('$'));
        if (sign == Sign::Floating)
            body.prepend(negative ? QLatin1Char('-') : QLatin1Char(' '));
        if (fm)
            body = body.trimmed();
    } else {
        const auto digits = maskedDigits(value, mask, fm, dollar, sign == Sign::Floating);
        if (!digits)
            return hashes(width);
        body = *digits;
    }
    switch (sign) {
    case Sign::Floating:
        return body;
    case Sign::Minus:
        return body + (negative ? QStringLiteral("-") : fm ? QString() : QStringLiteral(" "));
    case Sign::Brackets: {
        if (negative) {
            const int lead = int(body.size() - QString(body).trimmed().size());
            return QString(lead, QLatin1Char(' ')) + QLatin1Char('<') + body.trimmed() + QLatin1Char('>');
        }
        return fm ? body : QLatin1Char(' ') + body + QLatin1Char(' ');
    }
    case Sign::LeadingS: {
        const int lead = int(body.size() - QString(body).trimmed().size());
        return QString(lead, QLatin1Char(' ')) + (negative ? QLatin1Char('-') : QLatin1Char('+')) + body.trimmed();
    }
    case Sign::TrailingS:
        return body + (negative ? QLatin1Char('-') : QLatin1Char('+'));
    }
    return body;
}

// ---- Dates ----------------------------------------------------------------------------------

std::optional<QDateTime> parseDateText(const QString& text)
{
    if (text.size() != 19 || text[4] != QLatin1Char('-') || text[7] != QLatin1Char('-')
        || text[10] != QLatin1Char(' ') || text[13] != QLatin1Char(':') || text[16] != QLatin1Char(':'))
        return std::nullopt;
    const QDate date(text.mid(0, 4).toInt(), text.mid(5, 2).toInt(), text.mid(8, 2).toInt());
    const QTime time(text.mid(11, 2).toInt(), text.mid(14, 2).toInt(), text.mid(17, 2).toInt());
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time, Qt::UTC);
}

QString dateText(const QDateTime& value)
{
    const QDate d = value.date();
    const QTime t = value.time();
    // Every stored and computed date passes through here: the common four-digit year is written
    // digit by digit instead of through six QString::arg passes.
    if (d.year() >= 0 && d.year() <= 9999) {
        char16_t buffer[19];
        auto put = [&buffer](int at, int v, int width) {
            for (int i = width - 1; i >= 0; --i, v /= 10)
                buffer[at + i] = char16_t(u'0' + v % 10);
        };
        put(0, d.year(), 4);
        buffer[4] = u'-';
        put(5, d.month(), 2);
        buffer[7] = u'-';
        put(8, d.day(), 2);
        buffer[10] = u' ';
        put(11, t.hour(), 2);
        buffer[13] = u':';
        put(14, t.minute(), 2);
        buffer[16] = u':';
        put(17, t.second(), 2);
        return QString(reinterpret_cast<const QChar*>(buffer), 19);
    }
    return QStringLiteral("%1-%2-%3 %4:%5:%6")
        .arg(d.year(), 4, 10, QLatin1Char('0'))
        .arg(d.month(), 2, 10, QLatin1Char('0'))
        .arg(d.day(), 2, 10, QLatin1Char('0'))
        .arg(t.hour(), 2, 10, QLatin1Char('0'))
        .arg(t.minute(), 2, 10, QLatin1Char('0'))
        .arg(t.second(), 2, 10, QLatin1Char('0'));
}

QDateTime addDays(const QDateTime& value, double days)
{
    const qint64 seconds = qint64(std::llround(days * 86400.0));
    return value.addSecs(seconds);
}

double daysBetween(const QDateTime& from, const QDateTime& to)
{
    return double(from.secsTo(to)) / 86400.0;
}

namespace {

const char* const kMonths[] = {"JANUARY", "FEBRUARY", "MARCH",     "APRIL",   "MAY",      "JUNE",
                               "JULY",    "AUGUST",   "SEPTEMBER", "OCTOBER", "NOVEMBER", "DECEMBER"};
const char* const kDays[] = {"SUNDAY", "MONDAY", "TUESDAY", "WEDNESDAY", "THURSDAY", "FRIDAY", "SATURDAY"};

// Format elements, longest first so that prefixes do not steal a longer element.
const char* const kElements[] = {"SSSSS", "A.M.", "P.M.", "MONTH", "RRRR", "YYYY", "HH24", "HH12", "YYY",
                                 "MON",   "DDD",  "DAY",  "SS",    "YY",   "RR",   "MM",   "DD",   "DY",
                                 "HH",    "MI",   "AM",   "PM",    "FM",   "FX",   "WW",   "IW",   "J",
                                 "Q",     "W",    "D",    "Y"};

struct FormatItem {
    QString element;  // upper-case element; empty for a literal
    QString literal;
    QString written;  // the element as written, for the letter case of names
};

QList<FormatItem> parseFormat(const QString& format)
{
    QList<FormatItem> items;
    int i = 0;
    while (i < format.size()) {
        const QChar c = format[i];
        if (c == QLatin1Char('"')) {
            const int end = format.indexOf(QLatin1Char('"'), i + 1);
            if (end < 0)
                throw OraFailure{1821, QStringLiteral("date format not recognized")};
            items.append({QString(), format.mid(i + 1, end - i - 1), QString()});
            i = end + 1;
            continue;
        }
        if (!c.isLetterOrNumber()) {
            items.append({QString(), QString(c), QString()});
            ++i;
            continue;
        }
        bool found = false;
        for (const char* e : kElements) {
            const QString el = QString::fromLatin1(e);
            if (format.mid(i, el.size()).compare(el, Qt::CaseInsensitive) == 0) {
                items.append({el, QString(), format.mid(i, el.size())});
                i += int(el.size());
                found = true;
                break;
            }
        }
        if (!found)
            throw OraFailure{1821, QStringLiteral("date format not recognized")};
    }
    return items;
}

// A statement converts thousands of values with the same few format models: parse each once.
QList<FormatItem> splitFormat(const QString& format)
{
    thread_local QHash<QString, QList<FormatItem>> parsed;
    const auto it = parsed.constFind(format);
    if (it != parsed.constEnd())
        return *it;
    QList<FormatItem> items = parseFormat(format);
    if (parsed.size() >= 256)
        parsed.clear();
    parsed.insert(format, items);
    return items;
}

QString applyCase(const QString& upperName, const QString& written)
{
    if (written.size() >= 2 && written[0].isUpper() && written[1].isLower())
        return upperName.left(1) + upperName.mid(1).toLower();
    if (!written.isEmpty() && written[0].isLower())
        return upperName.toLower();
    return upperName;
}

int sundayBasedDay(const QDate& d) { return d.dayOfWeek() % 7 + 1; }  // Sunday = 1 (KOREA)

// Names in the Korean date language: months are numbered, days have their own names.
const char16_t* const kKoreanDays[] = {u"일", u"월", u"화", u"수", u"목", u"금", u"토"};

QString koreanMonth(int month) { return QString::number(month) + QStringLiteral("월"); }

}  // namespace

std::optional<DateLanguage> parseDateLanguage(const QString& nlsParameter)
{
    // 'NLS_DATE_LANGUAGE = KOREAN', the value possibly quoted.
    const int eq = int(nlsParameter.indexOf(QLatin1Char('=')));
    if (eq < 0 || nlsParameter.left(eq).trimmed().compare(QLatin1String("NLS_DATE_LANGUAGE"), Qt::CaseInsensitive) != 0)
        return std::nullopt;
    QString value = nlsParameter.mid(eq + 1).trimmed().toUpper();
    if (value.size() >= 2 && (value.startsWith(QLatin1Char('\'')) || value.startsWith(QLatin1Char('"'))) && value.back() == value.front())
        value = value.mid(1, value.size() - 2).trimmed();
    return dateLanguageNamed(value);
}

std::optional<DateLanguage> dateLanguageNamed(const QString& language)
{
    const QString value = language.trimmed().toUpper();
    if (value == QLatin1String("KOREAN"))
        return DateLanguage::Korean;
    if (value == QLatin1String("AMERICAN") || value == QLatin1String("ENGLISH"))
        return DateLanguage::American;
    return std::nullopt;
}

namespace {

// The first day of the ISO year of that number: the Monday of the week that holds 4 January.
QDate isoYearStart(int year)
{
    const QDate fourth(year, 1, 4);
    return fourth.addDays(1 - fourth.dayOfWeek());
}

QDateTime atMidnight(const QDate& d) { return QDateTime(d, QTime(0, 0), Qt::UTC); }

}  // namespace

QDateTime oraRoundDate(const QDateTime& value, const QString& formatIn, bool truncate)
{
    const QString f = formatIn.trimmed().toUpper();
    const QDate d = value.date();
    const QTime t = value.time();
    const QDateTime day = atMidnight(d);
    // start: the unit's first moment at or before the value; next: the following unit's; up:
    // whether ROUND goes to next (each unit has its documented turning point).
    QDateTime start, next;
    bool up = false;
    if (f.isEmpty() || f == QLatin1String("DD") || f == QLatin1String("DDD") || f == QLatin1String("J")) {
        start = day;
        next = day.addDays(1);
        up = t.hour() >= 12;
    } else if (f == QLatin1String("CC") || f == QLatin1String("SCC")) {
        const int first = (d.year() - 1) / 100 * 100 + 1;
        start = atMidnight(QDate(first, 1, 1));
        next = atMidnight(QDate(first + 100, 1, 1));
        up = d.year() - first >= 50;
    } else if (f == QLatin1String("SYYYY") || f == QLatin1String("YYYY") || f == QLatin1String("YEAR") || f == QLatin1String("SYEAR")
               || f == QLatin1String("YYY") || f == QLatin1String("YY") || f == QLatin1String("Y")) {
        start = atMidnight(QDate(d.year(), 1, 1));
        next = atMidnight(QDate(d.year() + 1, 1, 1));
        up = d.month() >= 7;
    } else if (f == QLatin1String("IYYY") || f == QLatin1String("IYY") || f == QLatin1String("IY") || f == QLatin1String("I")) {
        int isoYear = 0;
        d.weekNumber(&isoYear);
        start = atMidnight(isoYearStart(isoYear));
        next = atMidnight(isoYearStart(isoYear + 1));
        up = d >= QDate(isoYear, 7, 1);
    } else if (f == QLatin1String("Q")) {
        const int firstMonth = (d.month() - 1) / 3 * 3 + 1;
        start = atMidnight(QDate(d.year(), firstMonth, 1));
        next = start.addMonths(3);
        up = d.month() > firstMonth + 1 || (d.month() == firstMonth + 1 && d.day() >= 16);
    } else if (f == QLatin1String("MONTH") || f == QLatin1String("MON") || f == QLatin1String("MM") || f == QLatin1String("RM")) {
        start = atMidnight(QDate(d.year(), d.month(), 1));
        next = start.addMonths(1);
        up = d.day() >= 16;
    } else if (f == QLatin1String("WW") || f == QLatin1String("IW") || f == QLatin1String("W") || f == QLatin1String("DAY")
               || f == QLatin1String("DY") || f == QLatin1String("D")) {
        // Weeks begin on the weekday of the year's first day (WW), on Monday (IW), on the weekday
        // of the month's first day (W), or on the territory's first day, Sunday in KOREA (D).
        int firstWeekday = 7;
        if (f == QLatin1String("WW"))
            firstWeekday = QDate(d.year(), 1, 1).dayOfWeek();
        else if (f == QLatin1String("IW"))
            firstWeekday = 1;
        else if (f == QLatin1String("W"))
            firstWeekday = QDate(d.year(), d.month(), 1).dayOfWeek();
        const int back = (d.dayOfWeek() - firstWeekday + 7) % 7;
        start = day.addDays(-back);
        next = start.addDays(7);
        up = start.secsTo(value) >= 7 * 86400 / 2;
    } else if (f == QLatin1String("HH") || f == QLatin1String("HH12") || f == QLatin1String("HH24")) {
        start = QDateTime(d, QTime(t.hour(), 0), Qt::UTC);
        next = start.addSecs(3600);
        up = t.minute() >= 30;
    } else if (f == QLatin1String("MI")) {
        start = QDateTime(d, QTime(t.hour(), t.minute()), Qt::UTC);
        next = start.addSecs(60);
        up = t.second() >= 30;
    } else {
        throw OraFailure{1821, QStringLiteral("date format not recognized")};
    }
    return truncate || !up ? start : next;
}

QDateTime oraNextDay(const QDateTime& value, const QString& dayName)
{
    const QString name = dayName.trimmed().toUpper();
    for (int i = 0; i < 7 && !name.isEmpty(); ++i) {
        const QString full = QString::fromLatin1(kDays[i]);
        if (name == full || name == full.left(3) || name == QString::fromUtf16(kKoreanDays[i]) + QStringLiteral("요일")
            || name == QString::fromUtf16(kKoreanDays[i])) {
            const int target = i == 0 ? 7 : i;  // Qt numbers Monday 1 .. Sunday 7
            int ahead = (target - value.date().dayOfWeek() + 7) % 7;
            if (ahead == 0)
                ahead = 7;
            return value.addDays(ahead);
        }
    }
    throw OraFailure{1846, QStringLiteral("not a valid day of the week")};
}

QString oraDateToChar(const QDateTime& value, const QString& format, DateLanguage language)
{
    const bool korean = language == DateLanguage::Korean;
    const QDate d = value.date();
    const QTime t = value.time();
    bool fm = false;
    QString out;
    auto num = [&](int v, int width) {
        return fm ? QString::number(v) : QStringLiteral("%1").arg(v, width, 10, QLatin1Char('0'));
    };
    for (const FormatItem& item : splitFormat(format)) {
        const QString& e = item.element;
        if (e.isEmpty()) {
            out += item.literal;
        } else if (e == QLatin1String("FM")) {
            fm = !fm;
        } else if (e == QLatin1String("FX")) {
        } else if (e == QLatin1String("YYYY") || e == QLatin1String("RRRR")) {
            out += num(d.year(), 4);
        } else if (e == QLatin1String("YYY")) {
            out += num(d.year() % 1000, 3);
        } else if (e == QLatin1String("YY") || e == QLatin1String("RR")) {
            out += num(d.year() % 100, 2);
        } else if (e == QLatin1String("Y")) {
            out += QString::number(d.year() % 10);
        } else if (e == QLatin1String("MM")) {
            out += num(d.month(), 2);
        } else if (e == QLatin1String("MON")) {
            out += korean ? koreanMonth(d.month()) : applyCase(QString::fromLatin1(kMonths[d.month() - 1]).left(3), item.written);
        } else if (e == QLatin1String("MONTH")) {
            // Padded to the longest name of the language: SEPTEMBER, 12월.
            QString n = korean ? koreanMonth(d.month()) : applyCase(QString::fromLatin1(kMonths[d.month() - 1]), item.written);
            out += fm ? n : n.leftJustified(korean ? 3 : 9);
        } else if (e == QLatin1String("DD")) {
            out += num(d.day(), 2);
        } else if (e == QLatin1String("DDD")) {
            out += num(d.dayOfYear(), 3);
        } else if (e == QLatin1String("D")) {
            out += QString::number(sundayBasedDay(d));
        } else if (e == QLatin1String("DY")) {
            out += korean ? QString::fromUtf16(kKoreanDays[d.dayOfWeek() % 7])
                          : applyCase(QString::fromLatin1(kDays[d.dayOfWeek() % 7]).left(3), item.written);
        } else if (e == QLatin1String("DAY")) {
            QString n = korean ? QString::fromUtf16(kKoreanDays[d.dayOfWeek() % 7]) + QStringLiteral("요일")
                               : applyCase(QString::fromLatin1(kDays[d.dayOfWeek() % 7]), item.written);
            out += fm || korean ? n : n.leftJustified(9);
        } else if (e == QLatin1String("HH24")) {
            out += num(t.hour(), 2);
        } else if (e == QLatin1String("HH") || e == QLatin1String("HH12")) {
            const int h = t.hour() % 12 == 0 ? 12 : t.hour() % 12;
            out += num(h, 2);
        } else if (e == QLatin1String("MI")) {
            out += num(t.minute(), 2);
        } else if (e == QLatin1String("SS")) {
            out += num(t.second(), 2);
        } else if (e == QLatin1String("SSSSS")) {
            out += num(t.msecsSinceStartOfDay() / 1000, 5);
        } else if (korean && (e == QLatin1String("AM") || e == QLatin1String("PM") || e == QLatin1String("A.M.")
                              || e == QLatin1String("P.M."))) {
            out += t.hour() < 12 ? QStringLiteral("오전") : QStringLiteral("오후");
        } else if (e == QLatin1String("AM") || e == QLatin1String("PM")) {
            out += applyCase(t.hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM"), item.written);
        } else if (e == QLatin1String("A.M.") || e == QLatin1String("P.M.")) {
            out += applyCase(t.hour() < 12 ? QStringLiteral("A.M.") : QStringLiteral("P.M."), item.written);
        } else if (e == QLatin1String("J")) {
            out += QString::number(d.toJulianDay());
        } else if (e == QLatin1String("Q")) {
            out += QString::number((d.month() - 1) / 3 + 1);
        } else if (e == QLatin1String("WW")) {
            out += num((d.dayOfYear() - 1) / 7 + 1, 2);
        } else if (e == QLatin1String("IW")) {
            out += num(d.weekNumber(), 2);
        } else if (e == QLatin1String("W")) {
            out += QString::number((d.day() - 1) / 7 + 1);
        }
    }
    return out;
}

std::optional<PlainDateFormat> PlainDateFormat::compile(const QString& format)
{
    QList<FormatItem> items;
    try {
        items = splitFormat(format);
    } catch (const OraFailure&) {
        return std::nullopt;
    }
    PlainDateFormat compiled;
    for (const FormatItem& item : items) {
        const QString& e = item.element;
        Piece piece;
        if (e.isEmpty())
            piece.literal = item.literal.toUtf8();
        else if (e == QLatin1String("YYYY") || e == QLatin1String("RRRR"))
            piece = {{}, 0, 4};
        else if (e == QLatin1String("MM"))
            piece = {{}, 5, 2};
        else if (e == QLatin1String("DD"))
            piece = {{}, 8, 2};
        else if (e == QLatin1String("HH24"))
            piece = {{}, 11, 2};
        else if (e == QLatin1String("MI"))
            piece = {{}, 14, 2};
        else if (e == QLatin1String("SS"))
            piece = {{}, 17, 2};
        else
            return std::nullopt;
        compiled.m_pieces.append(piece);
    }
    return compiled;
}

bool PlainDateFormat::apply(const char* text, int length, QByteArray& out) const
{
    if (length != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':' || text[16] != ':')
        return false;
    auto number = [text](int from, int digits) {
        int v = 0;
        for (int i = from; i < from + digits; ++i) {
            if (text[i] < '0' || text[i] > '9')
                return -1;
            v = v * 10 + (text[i] - '0');
        }
        return v;
    };
    const int year = number(0, 4), month = number(5, 2), day = number(8, 2);
    const int hour = number(11, 2), minute = number(14, 2), second = number(17, 2);
    if (year < 0 || month < 0 || day < 0 || hour < 0 || minute < 0 || second < 0 || hour > 23 || minute > 59 ||
        second > 59 || !QDate::isValid(year, month, day))
        return false;
    out.resize(0);
    for (const Piece& piece : m_pieces) {
        if (piece.length == 0)
            out += piece.literal;
        else
            out.append(text + piece.from, piece.length);
    }
    return true;
}

QDateTime oraToDate(const QString& text, const QString& format, const QDateTime& now)
{
    const QList<FormatItem> items = splitFormat(format);
    int year = -1, month = -1, day = -1, hour = 0, minute = 0, second = 0;
    bool pm = false, hasMeridian = false, hour12 = false;
    int pos = 0;
    const int n = int(text.size());
    auto skipBlanks = [&] {
        while (pos < n && text[pos] == QLatin1Char(' '))
            ++pos;
    };
    auto readDigits = [&](int maxDigits, bool timePart, bool& omitted) -> int {
        skipBlanks();
        omitted = false;
        if (pos >= n) {
            if (timePart) {
                omitted = true;
                return 0;
            }
            throw OraFailure{1840, QStringLiteral("input value not long enough for date format")};
        }
        int start = pos;
        bool neg = false;
        if (text[pos] == QLatin1Char('-') && maxDigits == 4) {
            neg = true;
            ++pos;
            start = pos;
        }
        while (pos < n && pos - start < maxDigits && text[pos].isDigit() && text[pos].unicode() < 128)
            ++pos;
        if (pos == start)
            throw OraFailure{1858, QStringLiteral("a non-numeric character was found where a numeric was expected")};
        const int v = text.mid(start, pos - start).toInt();
        return neg ? -v : v;
    };
    bool stop = false;
    for (const FormatItem& item : items) {
        if (stop)
            break;
        const QString& e = item.element;
        bool omitted = false;
        if (e.isEmpty()) {
            // Punctuation in the mask matches any punctuation, or nothing when the input goes on
            // with digits; a quoted letter literal must match.
            for (QChar lc : item.literal) {
                if (pos >= n)
                    break;
                if (lc.isLetterOrNumber()) {
                    if (text[pos].toUpper() != lc.toUpper())
                        throw OraFailure{1861, QStringLiteral("literal does not match format string")};
                    ++pos;
                } else if (!text[pos].isLetterOrNumber()) {
                    ++pos;
                }
            }
            continue;
        }
        if (e == QLatin1String("FM") || e == QLatin1String("FX"))
            continue;
        if (e == QLatin1String("YYYY") || e == QLatin1String("RRRR")) {
            year = readDigits(4, false, omitted);
        } else if (e == QLatin1String("YY") || e == QLatin1String("RR") || e == QLatin1String("YYY")
                   || e == QLatin1String("Y")) {
            const int start = (skipBlanks(), pos);
            const int width = e == QLatin1String("RR") ? 4 : int(e.size());
            int v = readDigits(width, false, omitted);
            const int digits = pos - start;
            if (e == QLatin1String("RR") && digits <= 2) {
                const int cur = now.date().year();
                const int century = cur / 100 * 100;
                const int curLast = cur % 100;
                if (v < 50)
                    v = curLast < 50 ? century + v : century + 100 + v;
                else
                    v = curLast < 50 ? century - 100 + v : century + v;
            } else if (e != QLatin1String("RR")) {
                const int mod = e == QLatin1String("YY") ? 100 : e == QLatin1String("YYY") ? 1000 : 10;
                v = now.date().year() / mod * mod + v;
            }
            year = v;
        } else if (e == QLatin1String("MM")) {
            skipBlanks();
            if (pos < n && text[pos].isLetter()) {
                goto monthName;
            }
            month = readDigits(2, false, omitted);
            if (month < 1 || month > 12)
                throw OraFailure{1843, QStringLiteral("not a valid month")};
        } else if (e == QLatin1String("MON") || e == QLatin1String("MONTH")) {
        monthName:
            skipBlanks();
            {
                int found = -1;
                for (int m = 0; m < 12 && found < 0; ++m) {
                    const QString full = QString::fromLatin1(kMonths[m]);
                    if (text.mid(pos, full.size()).compare(full, Qt::CaseInsensitive) == 0) {
                        found = m;
                        pos += int(full.size());
                    } else if (text.mid(pos, 3).compare(full.left(3), Qt::CaseInsensitive) == 0) {
                        found = m;
                        pos += 3;
                    }
                }
                if (found < 0)
                    throw OraFailure{1843, QStringLiteral("not a valid month")};
                month = found + 1;
            }
        } else if (e == QLatin1String("DD")) {
            day = readDigits(2, false, omitted);
            if (day < 1 || day > 31)
                throw OraFailure{1847, QStringLiteral("day of month must be between 1 and last day of month")};
        } else if (e == QLatin1String("HH24")) {
            hour = readDigits(2, true, omitted);
            if (hour > 23)
                throw OraFailure{1850, QStringLiteral("hour must be between 0 and 23")};
        } else if (e == QLatin1String("HH") || e == QLatin1String("HH12")) {
            hour12 = true;
            hour = readDigits(2, true, omitted);
            if (!omitted && (hour < 1 || hour > 12))
                throw OraFailure{1849, QStringLiteral("hour must be between 1 and 12")};
        } else if (e == QLatin1String("MI")) {
            minute = readDigits(2, true, omitted);
            if (minute > 59)
                throw OraFailure{1851, QStringLiteral("minutes must be between 0 and 59")};
        } else if (e == QLatin1String("SS")) {
            second = readDigits(2, true, omitted);
            if (second > 59)
                throw OraFailure{1852, QStringLiteral("seconds must be between 0 and 59")};
        } else if (e == QLatin1String("AM") || e == QLatin1String("PM") || e == QLatin1String("A.M.")
                   || e == QLatin1String("P.M.")) {
            skipBlanks();
            hasMeridian = true;
            const QString rest = text.mid(pos, e.size()).toUpper();
            if (rest.startsWith(QLatin1Char('P')))
                pm = true;
            else if (!rest.startsWith(QLatin1Char('A')))
                throw OraFailure{1855, QStringLiteral("AM/A.M. or PM/P.M. required")};
            pos += int(e.size());
        } else if (e == QLatin1String("D") || e == QLatin1String("DY") || e == QLatin1String("DAY")) {
            skipBlanks();
            while (pos < n && text[pos].isLetterOrNumber())
                ++pos;
        } else {
            throw OraFailure{1821, QStringLiteral("date format not recognized")};
        }
        if (omitted)
            stop = true;
    }
    skipBlanks();
    if (pos < n)
        throw OraFailure{1830, QStringLiteral("date format picture ends before converting entire input string")};
    if (hour12 || hasMeridian) {
        if (hour == 12)
            hour = 0;
        if (pm)
            hour += 12;
    }
    if (year == 0 || year > 9999 || year < -4713)
        throw OraFailure{1841, QStringLiteral("(full) year must be between -4713 and +9999, and not be 0")};
    if (year == -1)
        year = now.date().year();
    if (month == -1)
        month = now.date().month();
    if (day == -1)
        day = 1;
    const QDate date(year, month, day);
    if (!date.isValid())
        throw OraFailure{1839, QStringLiteral("date not valid for month specified")};
    return QDateTime(date, QTime(hour, minute, second), Qt::UTC);
}

}  // namespace kolmara::db::embedded
