// Oracle operators and functions as SQLite functions. Values arrive in the engine's storage forms
// (see OraValues.h): numbers as INTEGER/REAL/marked text, dates as ISO text. Errors are reported as
// the finished "ORA-nnnnn: text" message, which the engine turns back into a DatabaseError.
#include "db/embedded/EngineFunctions.h"

#include "db/embedded/Engine.h"
#include "db/embedded/OraValues.h"

#include <sqlite3.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>

namespace kolmara::db::embedded {

namespace {

QString textOf(sqlite3_value* v)
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return p ? QString::fromUtf8(p, sqlite3_value_bytes(v)) : QString();
}

bool isNull(sqlite3_value* v) { return sqlite3_value_type(v) == SQLITE_NULL; }

std::optional<QDateTime> dateOf(sqlite3_value* v)
{
    if (sqlite3_value_type(v) != SQLITE_TEXT)
        return std::nullopt;
    return parseDateText(textOf(v));
}

OraNumber numberOf(sqlite3_value* v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
        return OraNumber::fromInteger(sqlite3_value_int64(v));
    case SQLITE_FLOAT: {
        OraNumber n;
        n.kind = OraNumber::Kind::Real;
        n.real = sqlite3_value_double(v);
        return n;
    }
    default:
        break;
    }
    const auto n = parseOraNumber(textOf(v));
    if (!n)
        throw OraFailure{1722, QStringLiteral("invalid number")};
    return *n;
}

// The Oracle text form of any stored value.
QString oraText(sqlite3_value* v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
        return QString::number(sqlite3_value_int64(v));
    case SQLITE_FLOAT:
        return oraNumberText(sqlite3_value_double(v));
    case SQLITE_NULL:
        return {};
    default:
        break;
    }
    QString t = textOf(v);
    if (t.startsWith(kBigNumberMark))
        t.remove(0, 1);
    return t;
}

void resultText(sqlite3_context* ctx, const QString& text)
{
    if (text.isEmpty()) {
        sqlite3_result_null(ctx);
        return;
    }
    const QByteArray utf8 = text.toUtf8();
    sqlite3_result_text(ctx, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void resultNumber(sqlite3_context* ctx, const OraNumber& n)
{
    switch (n.kind) {
    case OraNumber::Kind::Integer:
        sqlite3_result_int64(ctx, n.integer);
        return;
    case OraNumber::Kind::Real:
        sqlite3_result_double(ctx, n.real);
        return;
    case OraNumber::Kind::Big:
        break;
    }
    resultText(ctx, QString(kBigNumberMark) + n.big);
}

// Arithmetic results keep 15 significant digits, so decimal steps such as (end - start) * 86400
// land on the decimal value instead of a binary neighbour of it.
void resultDouble(sqlite3_context* ctx, double v)
{
    if (!std::isfinite(v))
        throw OraFailure{1426, QStringLiteral("numeric overflow")};
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14e", v);
    v = std::strtod(buf, nullptr);
    resultNumber(ctx, OraNumber::fromDouble(v));
}

void resultDate(sqlite3_context* ctx, const QDateTime& d) { resultText(ctx, dateText(d)); }

void fail(sqlite3_context* ctx, const OraFailure& f)
{
    const QByteArray msg = QStringLiteral("ORA-%1: %2").arg(f.code, 5, 10, QLatin1Char('0')).arg(f.text).toUtf8();
    sqlite3_result_error(ctx, msg.constData(), int(msg.size()));
}

EngineSession* sessionOf(sqlite3_context* ctx) { return static_cast<EngineSession*>(sqlite3_user_data(ctx)); }

using Fn = void (*)(sqlite3_context*, int, sqlite3_value**);

template <Fn F>
void guarded(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    try {
        F(ctx, argc, argv);
    } catch (const OraFailure& f) {
        fail(ctx, f);
    } catch (const std::exception& e) {
        fail(ctx, OraFailure{600, QStringLiteral("internal error code, arguments: [%1]").arg(QString::fromUtf8(e.what()))});
    }
}

bool anyNull(int argc, sqlite3_value** argv)
{
    for (int i = 0; i < argc; ++i)
        if (isNull(argv[i]))
            return true;
    return false;
}

// ---- arithmetic ------------------------------------------------------------------------------

void fnAdd(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (anyNull(argc, a))
        return sqlite3_result_null(ctx);
    const auto d0 = dateOf(a[0]);
    const auto d1 = dateOf(a[1]);
    if (d0 && d1)
        throw OraFailure{975, QStringLiteral("date + date not allowed")};
    if (d0)
        return resultDate(ctx, addDays(*d0, numberOf(a[1]).toDouble()));
    if (d1)
        return resultDate(ctx, addDays(*d1, numberOf(a[0]).toDouble()));
    const OraNumber x = numberOf(a[0]), y = numberOf(a[1]);
    if (x.kind == OraNumber::Kind::Integer && y.kind == OraNumber::Kind::Integer) {
        qint64 r;
        if (!__builtin_add_overflow(x.integer, y.integer, &r))
            return sqlite3_result_int64(ctx, r);
    }
    resultDouble(ctx, x.toDouble() + y.toDouble());
}

void fnSub(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (anyNull(argc, a))
        return sqlite3_result_null(ctx);
    const auto d0 = dateOf(a[0]);
    const auto d1 = dateOf(a[1]);
    if (d0 && d1)
        return resultDouble(ctx, daysBetween(*d1, *d0));
    if (d0)
        return resultDate(ctx, addDays(*d0, -numberOf(a[1]).toDouble()));
    if (d1)
        throw OraFailure{932, QStringLiteral("inconsistent datatypes: expected NUMBER got DATE")};
    const OraNumber x = numberOf(a[0]), y = numberOf(a[1]);
    if (x.kind == OraNumber::Kind::Integer && y.kind == OraNumber::Kind::Integer) {
        qint64 r;
        if (!__builtin_sub_overflow(x.integer, y.integer, &r))
            return sqlite3_result_int64(ctx, r);
    }
    resultDouble(ctx, x.toDouble() - y.toDouble());
}

void fnMul(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (anyNull(argc, a))
        return sqlite3_result_null(ctx);
    const OraNumber x = numberOf(a[0]), y = numberOf(a[1]);
    if (x.kind == OraNumber::Kind::Integer && y.kind == OraNumber::Kind::Integer) {
        qint64 r;
        if (!__builtin_mul_overflow(x.integer, y.integer, &r))
            return sqlite3_result_int64(ctx, r);
    }
    resultDouble(ctx, x.toDouble() * y.toDouble());
}

void fnDiv(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (anyNull(argc, a))
        return sqlite3_result_null(ctx);
    const OraNumber x = numberOf(a[0]), y = numberOf(a[1]);
    if (y.toDouble() == 0)
        throw OraFailure{1476, QStringLiteral("divisor is equal to zero")};
    if (x.kind == OraNumber::Kind::Integer && y.kind == OraNumber::Kind::Integer && y.integer != 0
        && x.integer % y.integer == 0)
        return sqlite3_result_int64(ctx, x.integer / y.integer);
    resultDouble(ctx, x.toDouble() / y.toDouble());
}

void fnNeg(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]))
        return sqlite3_result_null(ctx);
    OraNumber x = numberOf(a[0]);
    switch (x.kind) {
    case OraNumber::Kind::Integer:
        return sqlite3_result_int64(ctx, -x.integer);
    case OraNumber::Kind::Real:
        return sqlite3_result_double(ctx, -x.real);
    case OraNumber::Kind::Big:
        x.big = x.big.startsWith(QLatin1Char('-')) ? x.big.mid(1) : QLatin1Char('-') + x.big;
        return resultNumber(ctx, x);
    }
}

void fnConcat(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]) && isNull(a[1]))
        return sqlite3_result_null(ctx);
    resultText(ctx, oraText(a[0]) + oraText(a[1]));
}

// ---- conversions ------------------------------------------------------------------------------

// The compiled date format of a TO_CHAR call, kept by SQLite with the statement while the format
// argument stays the same: a table dump converts every row's dates through it.
struct ToCharFormat {
    std::optional<PlainDateFormat> plain;
};

void fnToChar(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (isNull(a[0]))
        return sqlite3_result_null(ctx);
    if (argc == 1 || isNull(a[1])) {
        if (argc > 1)
            return sqlite3_result_null(ctx);
        // Numbers without a format go straight from SQLite's value to SQLite's result.
        char text[80];
        if (sqlite3_value_type(a[0]) == SQLITE_INTEGER) {
            const auto done = std::to_chars(text, text + sizeof text, sqlite3_value_int64(a[0]));
            return sqlite3_result_text(ctx, text, int(done.ptr - text), SQLITE_TRANSIENT);
        }
        if (sqlite3_value_type(a[0]) == SQLITE_FLOAT)
            return sqlite3_result_text(ctx, text, oraNumberChars(sqlite3_value_double(a[0]), text), SQLITE_TRANSIENT);
        return resultText(ctx, oraText(a[0]));
    }
    if (sqlite3_value_type(a[0]) == SQLITE_TEXT) {
        auto* format = static_cast<ToCharFormat*>(sqlite3_get_auxdata(ctx, 1));
        ToCharFormat compiled;
        if (!format) {
            compiled.plain = PlainDateFormat::compile(textOf(a[1]));
            sqlite3_set_auxdata(ctx, 1, new ToCharFormat(compiled),
                                [](void* p) { delete static_cast<ToCharFormat*>(p); });
            format = &compiled;
        }
        thread_local QByteArray out;
        const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(a[0]));
        if (format->plain && text && format->plain->apply(text, sqlite3_value_bytes(a[0]), out)) {
            if (out.isEmpty())
                return sqlite3_result_null(ctx);
            return sqlite3_result_text(ctx, out.constData(), int(out.size()), SQLITE_TRANSIENT);
        }
    }
    const QString fmt = textOf(a[1]);
    if (const auto d = dateOf(a[0]))
        return resultText(ctx, oraDateToChar(*d, fmt));
    resultText(ctx, oraNumberToChar(numberOf(a[0]), fmt));
}

void fnToDate(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (isNull(a[0]))
        return sqlite3_result_null(ctx);
    const QString text = oraText(a[0]);
    const QString fmt = argc > 1 && !isNull(a[1]) ? textOf(a[1]) : QStringLiteral("YYYY-MM-DD HH24:MI:SS");
    resultDate(ctx, oraToDate(text, fmt, sessionOf(ctx)->statementNow()));
}

void fnToNumber(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]))
        return sqlite3_result_null(ctx);
    if (dateOf(a[0]))
        throw OraFailure{1722, QStringLiteral("invalid number")};
    QString t = oraText(a[0]);
    t.remove(QLatin1Char(','));
    const auto n = parseOraNumber(t);
    if (!n)
        throw OraFailure{1722, QStringLiteral("invalid number")};
    resultNumber(ctx, *n);
}

// ---- strings ----------------------------------------------------------------------------------

void pad(sqlite3_context* ctx, int argc, sqlite3_value** a, bool left)
{
    if (anyNull(argc, a))
        return sqlite3_result_null(ctx);
    const QString s = oraText(a[0]);
    const int n = int(numberOf(a[1]).toDouble());
    const QString p = argc > 2 ? oraText(a[2]) : QStringLiteral(" ");
    if (n <= 0 || p.isEmpty())
        return sqlite3_result_null(ctx);
    if (s.size() >= n)
        return resultText(ctx, s.left(n));
    QString fill;
    while (fill.size() < n - s.size())
        fill += p;
    fill.truncate(n - s.size());
    resultText(ctx, left ? fill + s : s + fill);
}

void fnLpad(sqlite3_context* ctx, int argc, sqlite3_value** a) { pad(ctx, argc, a, true); }
void fnRpad(sqlite3_context* ctx, int argc, sqlite3_value** a) { pad(ctx, argc, a, false); }

void fnSubstr(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (anyNull(argc, a))
        return sqlite3_result_null(ctx);
    const QString s = oraText(a[0]);
    int p = int(std::trunc(numberOf(a[1]).toDouble()));
    if (p == 0)
        p = 1;
    if (p < 0)
        p = int(s.size()) + p + 1;
    if (p < 1 || p > s.size())
        return sqlite3_result_null(ctx);
    if (argc > 2) {
        const int l = int(std::trunc(numberOf(a[2]).toDouble()));
        if (l < 1)
            return sqlite3_result_null(ctx);
        return resultText(ctx, s.mid(p - 1, l));
    }
    resultText(ctx, s.mid(p - 1));
}

void fnUpper(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]))
        return sqlite3_result_null(ctx);
    resultText(ctx, oraText(a[0]).toUpper());
}

void fnLower(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]))
        return sqlite3_result_null(ctx);
    resultText(ctx, oraText(a[0]).toLower());
}

void fnInitcap(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]))
        return sqlite3_result_null(ctx);
    QString s = oraText(a[0]).toLower();
    bool start = true;
    for (QChar& c : s) {
        if (c.isLetterOrNumber()) {
            if (start)
                c = c.toUpper();
            start = false;
        } else {
            start = true;
        }
    }
    resultText(ctx, s);
}

QString trimSet(const QString& s, const QString& set, bool fromLeft, bool fromRight)
{
    int b = 0, e = int(s.size());
    if (fromLeft)
        while (b < e && set.contains(s[b]))
            ++b;
    if (fromRight)
        while (e > b && set.contains(s[e - 1]))
            --e;
    return s.mid(b, e - b);
}

void fnLtrim(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (anyNull(argc, a))
        return sqlite3_result_null(ctx);
    resultText(ctx, trimSet(oraText(a[0]), argc > 1 ? oraText(a[1]) : QStringLiteral(" "), true, false));
}

void fnRtrim(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (anyNull(argc, a))
        return sqlite3_result_null(ctx);
    resultText(ctx, trimSet(oraText(a[0]), argc > 1 ? oraText(a[1]) : QStringLiteral(" "), false, true));
}

void fnTrim(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]))
        return sqlite3_result_null(ctx);
    resultText(ctx, trimSet(oraText(a[0]), QStringLiteral(" "), true, true));
}

void fnLength(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]))
        return sqlite3_result_null(ctx);
    sqlite3_result_int64(ctx, oraText(a[0]).size());
}

void fnLengthb(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]))
        return sqlite3_result_null(ctx);
    sqlite3_result_int64(ctx, databaseByteLength(oraText(a[0])));
}

void fnInstr(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (anyNull(argc, a))
        return sqlite3_result_null(ctx);
    const QString s = oraText(a[0]), sub = oraText(a[1]);
    int from = argc > 2 ? int(numberOf(a[2]).toDouble()) : 1;
    int nth = argc > 3 ? int(numberOf(a[3]).toDouble()) : 1;
    if (from == 0 || nth < 1)
        return sqlite3_result_int64(ctx, 0);
    int pos = from > 0 ? from - 2 : int(s.size()) + from + 1;
    for (int k = 0; k < nth; ++k) {
        pos = from > 0 ? int(s.indexOf(sub, pos + 1)) : int(s.lastIndexOf(sub, pos - 1));
        if (pos < 0)
            return sqlite3_result_int64(ctx, 0);
    }
    sqlite3_result_int64(ctx, pos + 1);
}

void fnReplace(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (isNull(a[0]))
        return sqlite3_result_null(ctx);
    QString s = oraText(a[0]);
    const QString from = oraText(a[1]);
    const QString to = argc > 2 ? oraText(a[2]) : QString();
    if (!from.isEmpty())
        s.replace(from, to);
    resultText(ctx, s);
}

void fnTranslate(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (anyNull(argc, a))
        return sqlite3_result_null(ctx);
    const QString s = oraText(a[0]), from = oraText(a[1]), to = oraText(a[2]);
    QString out;
    for (QChar c : s) {
        const int i = int(from.indexOf(c));
        if (i < 0)
            out += c;
        else if (i < to.size())
            out += to[i];
    }
    resultText(ctx, out);
}

void fnChr(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]))
        return sqlite3_result_null(ctx);
    resultText(ctx, QString(QChar(char16_t(numberOf(a[0]).toDouble()))));
}

void fnAscii(sqlite3_context* ctx, int, sqlite3_value** a)
{
    const QString s = oraText(a[0]);
    if (s.isEmpty())
        return sqlite3_result_null(ctx);
    sqlite3_result_int64(ctx, s[0].unicode());
}

void fnIdentity(sqlite3_context* ctx, int, sqlite3_value** a) { sqlite3_result_value(ctx, a[0]); }

void fnUserenv(sqlite3_context* ctx, int, sqlite3_value** a)
{
    const QString what = oraText(a[0]).toUpper();
    if (what == QLatin1String("LANGUAGE"))
        return resultText(ctx, QStringLiteral("AMERICAN_KOREA.KO16MSWIN949"));
    if (what == QLatin1String("TERMINAL"))
        return resultText(ctx, QStringLiteral("KOLMARA"));
    if (what == QLatin1String("SESSIONID"))
        return sqlite3_result_int64(ctx, sessionOf(ctx)->sid());
    throw OraFailure{2003, QStringLiteral("invalid USERENV parameter")};
}

// ---- numbers ----------------------------------------------------------------------------------

QDateTime truncDate(const QDateTime& d, const QString& fmtIn)
{
    const QString fmt = fmtIn.toUpper();
    const QDate day = d.date();
    if (fmt.isEmpty() || fmt == QLatin1String("DD") || fmt == QLatin1String("DDD") || fmt == QLatin1String("J"))
        return QDateTime(day, QTime(0, 0), Qt::UTC);
    if (fmt == QLatin1String("MM") || fmt == QLatin1String("MON") || fmt == QLatin1String("MONTH"))
        return QDateTime(QDate(day.year(), day.month(), 1), QTime(0, 0), Qt::UTC);
    if (fmt == QLatin1String("YYYY") || fmt == QLatin1String("YY") || fmt == QLatin1String("YEAR")
        || fmt == QLatin1String("Y") || fmt == QLatin1String("RR") || fmt == QLatin1String("RRRR"))
        return QDateTime(QDate(day.year(), 1, 1), QTime(0, 0), Qt::UTC);
    if (fmt == QLatin1String("HH") || fmt == QLatin1String("HH24") || fmt == QLatin1String("HH12"))
        return QDateTime(day, QTime(d.time().hour(), 0), Qt::UTC);
    if (fmt == QLatin1String("MI"))
        return QDateTime(day, QTime(d.time().hour(), d.time().minute()), Qt::UTC);
    if (fmt == QLatin1String("D") || fmt == QLatin1String("DY") || fmt == QLatin1String("DAY"))
        return QDateTime(day.addDays(-(day.dayOfWeek() % 7)), QTime(0, 0), Qt::UTC);
    throw OraFailure{1898, QStringLiteral("too many precision specifiers")};
}

void roundOrTrunc(sqlite3_context* ctx, int argc, sqlite3_value** a, bool truncate)
{
    if (anyNull(argc, a))
        return sqlite3_result_null(ctx);
    if (const auto d = dateOf(a[0])) {
        const QString fmt = argc > 1 ? oraText(a[1]) : QString();
        if (truncate)
            return resultDate(ctx, truncDate(*d, fmt));
        if (fmt.isEmpty() || fmt.toUpper() == QLatin1String("DD"))
            return resultDate(ctx, truncDate(d->time().hour() >= 12 ? d->addDays(1) : *d, QString()));
        return resultDate(ctx, truncDate(*d, fmt));
    }
    const int places = argc > 1 ? int(std::trunc(numberOf(a[1]).toDouble())) : 0;
    resultNumber(ctx, oraRoundNumber(numberOf(a[0]), places, truncate));
}

void fnRound(sqlite3_context* ctx, int argc, sqlite3_value** a) { roundOrTrunc(ctx, argc, a, false); }
void fnTrunc(sqlite3_context* ctx, int argc, sqlite3_value** a) { roundOrTrunc(ctx, argc, a, true); }

void fnMod(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (anyNull(argc, a))
        return sqlite3_result_null(ctx);
    const OraNumber x = numberOf(a[0]), y = numberOf(a[1]);
    if (x.kind == OraNumber::Kind::Integer && y.kind == OraNumber::Kind::Integer)
        return sqlite3_result_int64(ctx, y.integer == 0 ? x.integer : x.integer % y.integer);
    const double yd = y.toDouble();
    resultDouble(ctx, yd == 0 ? x.toDouble() : std::fmod(x.toDouble(), yd));
}

double signOf(double v) { return v > 0 ? 1 : v < 0 ? -1 : 0; }
double absOf(double v) { return std::fabs(v); }
double ceilOf(double v) { return std::ceil(v); }
double floorOf(double v) { return std::floor(v); }
double sqrtOf(double v)
{
    if (v < 0)
        throw OraFailure{1428, QStringLiteral("argument '%1' is out of range").arg(oraNumberText(v))};
    return std::sqrt(v);
}

template <double (*Op)(double)>
void math1(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]))
        return sqlite3_result_null(ctx);
    const OraNumber x = numberOf(a[0]);
    if (x.kind == OraNumber::Kind::Integer && Op != sqrtOf) {
        if (Op == absOf)
            return sqlite3_result_int64(ctx, x.integer < 0 ? -x.integer : x.integer);
        if (Op == ceilOf || Op == floorOf)
            return sqlite3_result_int64(ctx, x.integer);
    }
    resultDouble(ctx, Op(x.toDouble()));
}

void fnPower(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (anyNull(argc, a))
        return sqlite3_result_null(ctx);
    resultDouble(ctx, std::pow(numberOf(a[0]).toDouble(), numberOf(a[1]).toDouble()));
}

// ---- dates ------------------------------------------------------------------------------------

void fnSysdate(sqlite3_context* ctx, int, sqlite3_value**) { resultDate(ctx, sessionOf(ctx)->statementNow()); }

void fnUser(sqlite3_context* ctx, int, sqlite3_value**) { resultText(ctx, sessionOf(ctx)->user()); }

QDateTime requireDate(sqlite3_value* v)
{
    const auto d = dateOf(v);
    if (!d)
        throw OraFailure{932, QStringLiteral("inconsistent datatypes: expected DATE got NUMBER")};
    return *d;
}

void fnAddMonths(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (anyNull(argc, a))
        return sqlite3_result_null(ctx);
    const QDateTime d = requireDate(a[0]);
    const int months = int(std::trunc(numberOf(a[1]).toDouble()));
    QDate day = d.date();
    const bool lastDay = day.day() == day.daysInMonth();
    QDate moved = QDate(day.year(), day.month(), 1).addMonths(months);
    moved = QDate(moved.year(), moved.month(), lastDay ? moved.daysInMonth() : qMin(day.day(), moved.daysInMonth()));
    resultDate(ctx, QDateTime(moved, d.time(), Qt::UTC));
}

void fnLastDay(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]))
        return sqlite3_result_null(ctx);
    const QDateTime d = requireDate(a[0]);
    resultDate(ctx, QDateTime(QDate(d.date().year(), d.date().month(), d.date().daysInMonth()), d.time(), Qt::UTC));
}

void fnMonthsBetween(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (anyNull(argc, a))
        return sqlite3_result_null(ctx);
    const QDateTime x = requireDate(a[0]), y = requireDate(a[1]);
    const QDate dx = x.date(), dy = y.date();
    const int whole = (dx.year() - dy.year()) * 12 + dx.month() - dy.month();
    if (dx.day() == dy.day() || (dx.day() == dx.daysInMonth() && dy.day() == dy.daysInMonth()))
        return sqlite3_result_int64(ctx, whole);
    const double secsX = (dx.day() - 1) * 86400.0 + x.time().msecsSinceStartOfDay() / 1000.0;
    const double secsY = (dy.day() - 1) * 86400.0 + y.time().msecsSinceStartOfDay() / 1000.0;
    resultDouble(ctx, whole + (secsX - secsY) / (31.0 * 86400.0));
}

// ---- access and storage -----------------------------------------------------------------------

void fnCanRead(sqlite3_context* ctx, int, sqlite3_value** a)
{
    sqlite3_result_int(ctx, sessionOf(ctx)->canRead(oraText(a[0]), oraText(a[1])) ? 1 : 0);
}

// ora_store(value, type, length, precision, scale, notnull, owner, table, column): the value as
// the column stores it, with Oracle's checks.
void fnStore(sqlite3_context* ctx, int, sqlite3_value** a)
{
    const QString type = oraText(a[1]);
    const int length = sqlite3_value_int(a[2]);
    const int precision = sqlite3_value_int(a[3]);
    const int scale = sqlite3_value_int(a[4]);
    const int notNull = sqlite3_value_int(a[5]);
    auto columnName = [&] {
        return QStringLiteral("\"%1\".\"%2\".\"%3\"").arg(oraText(a[6]), oraText(a[7]), oraText(a[8]));
    };
    sqlite3_value* v = a[0];
    const bool null = isNull(v) || (sqlite3_value_type(v) == SQLITE_TEXT && sqlite3_value_bytes(v) == 0);
    if (null) {
        if (notNull == 2)
            throw OraFailure{1407, QStringLiteral("cannot update (%1) to NULL").arg(columnName())};
        if (notNull)
            throw OraFailure{1400, QStringLiteral("cannot insert NULL into (%1)").arg(columnName())};
        return sqlite3_result_null(ctx);
    }
    if (type == QLatin1String("NUMBER") || type == QLatin1String("FLOAT")) {
        if (dateOf(v))
            throw OraFailure{932, QStringLiteral("inconsistent datatypes: expected NUMBER got DATE")};
        OraNumber n = numberOf(v);
        if (scale >= 0 && precision >= 0)
            n = oraRoundNumber(n, scale, false);
        else if (scale >= 0)
            n = oraRoundNumber(n, scale, false);
        if (precision > 0) {
            const double limit = std::pow(10.0, precision - qMax(scale, 0));
            if (std::fabs(n.toDouble()) >= limit)
                throw OraFailure{1438, QStringLiteral("value larger than specified precision allowed for this column")};
        }
        return resultNumber(ctx, n);
    }
    if (type == QLatin1String("DATE")) {
        if (const auto d = dateOf(v))
            return resultDate(ctx, *d);
        if (sqlite3_value_type(v) != SQLITE_TEXT)
            throw OraFailure{932, QStringLiteral("inconsistent datatypes: expected DATE got NUMBER")};
        return resultDate(ctx, oraToDate(oraText(v), QStringLiteral("YYYY-MM-DD HH24:MI:SS"),
                                         sessionOf(ctx)->statementNow()));
    }
    QString text = oraText(v);
    if (type == QLatin1String("CHAR") && text.size() < length)
        text = text.leftJustified(length);
    if (length > 0 && type != QLatin1String("LONG")) {
        const int actual = databaseByteLength(text);
        if (actual > length)
            throw OraFailure{12899, QStringLiteral("value too large for column %1 (actual: %2, maximum: %3)")
                                        .arg(columnName())
                                        .arg(actual)
                                        .arg(length)};
    }
    resultText(ctx, text);
}

void add(sqlite3* db, EngineSession* s, const char* name, int args, void (*fn)(sqlite3_context*, int, sqlite3_value**),
         bool deterministic = true)
{
    sqlite3_create_function_v2(db, name, args, SQLITE_UTF8 | (deterministic ? SQLITE_DETERMINISTIC : 0), s, fn,
                               nullptr, nullptr, nullptr);
}

}  // namespace

int databaseByteLength(const QString& text)
{
    int n = 0;
    for (QChar c : text)
        n += c.unicode() < 128 ? 1 : (c.isLowSurrogate() ? 0 : 2);
    return n;
}

void registerEngineFunctions(sqlite3* db, EngineSession* s)
{
    add(db, s, "ora_add", 2, guarded<fnAdd>);
    add(db, s, "ora_sub", 2, guarded<fnSub>);
    add(db, s, "ora_mul", 2, guarded<fnMul>);
    add(db, s, "ora_div", 2, guarded<fnDiv>);
    add(db, s, "ora_neg", 1, guarded<fnNeg>);
    add(db, s, "ora_concat", 2, guarded<fnConcat>);
    add(db, s, "ora_to_char", -1, guarded<fnToChar>);
    add(db, s, "ora_to_date", -1, guarded<fnToDate>, false);
    add(db, s, "ora_to_number", -1, guarded<fnToNumber>);
    add(db, s, "ora_lpad", -1, guarded<fnLpad>);
    add(db, s, "ora_rpad", -1, guarded<fnRpad>);
    add(db, s, "ora_substr", -1, guarded<fnSubstr>);
    add(db, s, "ora_substrb", -1, guarded<fnSubstr>);
    add(db, s, "ora_upper", 1, guarded<fnUpper>);
    add(db, s, "ora_lower", 1, guarded<fnLower>);
    add(db, s, "ora_initcap", 1, guarded<fnInitcap>);
    add(db, s, "ora_ltrim", -1, guarded<fnLtrim>);
    add(db, s, "ora_rtrim", -1, guarded<fnRtrim>);
    add(db, s, "ora_trim", 1, guarded<fnTrim>);
    add(db, s, "ora_length", 1, guarded<fnLength>);
    add(db, s, "ora_lengthb", 1, guarded<fnLengthb>);
    add(db, s, "ora_instr", -1, guarded<fnInstr>);
    add(db, s, "ora_replace", -1, guarded<fnReplace>);
    add(db, s, "ora_translate", 3, guarded<fnTranslate>);
    add(db, s, "ora_concat", 2, guarded<fnConcat>);
    add(db, s, "ora_chr", 1, guarded<fnChr>);
    add(db, s, "ora_ascii", 1, guarded<fnAscii>);
    add(db, s, "ora_to_multi_byte", 1, guarded<fnIdentity>);
    add(db, s, "ora_to_single_byte", 1, guarded<fnIdentity>);
    add(db, s, "ora_userenv", 1, guarded<fnUserenv>, false);
    add(db, s, "ora_round", -1, guarded<fnRound>);
    add(db, s, "ora_trunc", -1, guarded<fnTrunc>);
    add(db, s, "ora_mod", 2, guarded<fnMod>);
    add(db, s, "ora_abs", 1, guarded<math1<absOf>>);
    add(db, s, "ora_ceil", 1, guarded<math1<ceilOf>>);
    add(db, s, "ora_floor", 1, guarded<math1<floorOf>>);
    add(db, s, "ora_sign", 1, guarded<math1<signOf>>);
    add(db, s, "ora_sqrt", 1, guarded<math1<sqrtOf>>);
    add(db, s, "ora_power", 2, guarded<fnPower>);
    add(db, s, "ora_add_months", 2, guarded<fnAddMonths>);
    add(db, s, "ora_last_day", 1, guarded<fnLastDay>);
    add(db, s, "ora_months_between", 2, guarded<fnMonthsBetween>);
    add(db, s, "ora_sysdate", 0, guarded<fnSysdate>, false);
    add(db, s, "ora_user", 0, guarded<fnUser>, false);
    add(db, s, "ora_can_read", 2, guarded<fnCanRead>, false);
    add(db, s, "ora_store", 9, guarded<fnStore>, false);
}

}  // namespace kolmara::db::embedded
