// Exact NUMBER arithmetic, as Oracle computes it: values of up to 18 digits take a fast road in
// 128-bit integers, anything longer goes through GMP's integers with a decimal exponent; every
// result is rounded as Oracle stores it (20 base-100 digits: 40 significant digits, 39 when the
// first base-100 digit has one). Also the running total of SUM and AVG.
#include "db/embedded/OraDecimal.h"
#include "db/embedded/OraValues.h"

#include <gmpxx.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace kolmara::db::embedded {

using namespace detail;

namespace {

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
        auto r =
            std::to_chars(buffer, buffer + sizeof buffer, n.real, std::chars_format::scientific);
        if (r.ec != std::errc())
            return std::nullopt;
        int mantissaDigits = 0;
        for (const char* p = buffer; p < r.ptr && *p != 'e'; ++p)
            mantissaDigits += *p >= '0' && *p <= '9';
        if (mantissaDigits > 15) {
            r = std::to_chars(buffer, buffer + sizeof buffer, n.real, std::chars_format::scientific,
                              14);
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
        if (whole >= std::numeric_limits<qint64>::min() &&
            whole <= std::numeric_limits<qint64>::max())
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
    if (a.kind == OraNumber::Kind::Integer && b.kind == OraNumber::Kind::Integer &&
        b.integer != -1 && a.integer % b.integer == 0)
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
        const long n =
            e.digits.isEmpty()
                ? 0
                : (e.digits + QString(e.point - e.digits.size(), QLatin1Char('0'))).toLong();
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
            const Int128 bound =
                Int128(kFastLimit) * kFastLimit * 10;  // 10^37: no sum of two overflows
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

}  // namespace kolmara::db::embedded
