// Query-level SQL functions; FunctionSupport.h reads their arguments and reports their errors, as
// for the value functions.
#include "db/embedded/QueryFunctions.h"

#include "db/embedded/Engine.h"
#include "db/embedded/EngineFunctions.h"
#include "db/embedded/FunctionSupport.h"
#include "db/embedded/OraValues.h"

#include <sqlite3.h>

#include <cmath>
#include <cstring>

namespace kolmara::db::embedded {

namespace {

using namespace functions;

bool isDate(sqlite3_value* v) { return dateOf(v).has_value(); }

// A value as a NUMBER; a date is none (ORA-00932), as CAST and GREATEST find.
OraNumber numberForm(sqlite3_value* v)
{
    if (isDate(v))
        throw OraFailure{932, QStringLiteral("inconsistent datatypes: expected NUMBER got DATE")};
    return numberOf(v);
}

// A value as a DATE: text converts in the engine's default date format.
QDateTime dateForm(sqlite3_context* ctx, sqlite3_value* v)
{
    if (sqlite3_value_type(v) != SQLITE_TEXT)
        throw OraFailure{932, QStringLiteral("inconsistent datatypes: expected DATE got NUMBER")};
    if (const auto d = dateOf(v))
        return *d;
    return oraToDate(textOf(v), QStringLiteral("YYYY-MM-DD HH24:MI:SS"),
                     sessionOf(ctx)->statementNow());
}

// ora_raise(code, text): the error itself, for checks written as SQL.
void fnRaise(sqlite3_context*, int, sqlite3_value** a)
{
    throw OraFailure{sqlite3_value_int(a[0]), textOf(a[1])};
}

// ora_rownum_limit(op, value): see rownumLimit.
void fnRownumLimit(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[1]))
        return sqlite3_result_int64(ctx, 0);
    sqlite3_result_int64(ctx, rownumLimit(textOf(a[0]), numberForm(a[1]).toDouble()));
}

// ora_greatest(kind, value...) / ora_least: kind N, T or D is the first argument's datatype as the
// query knows it, '?' when only its value can tell. Every other argument converts to that type;
// any NULL makes the result NULL.
void extreme(sqlite3_context* ctx, int argc, sqlite3_value** a, bool greatest)
{
    for (int i = 1; i < argc; ++i)
        if (isNull(a[i]))
            return sqlite3_result_null(ctx);
    const QString hint = textOf(a[0]);
    QChar kind = hint.isEmpty() ? QLatin1Char('?') : hint[0];
    if (kind == QLatin1Char('?')) {
        const int t = sqlite3_value_type(a[1]);
        kind = t == SQLITE_INTEGER || t == SQLITE_FLOAT || textOf(a[1]).startsWith(kBigNumberMark)
                   ? QLatin1Char('N')
               : isDate(a[1]) ? QLatin1Char('D')
                              : QLatin1Char('T');
    }
    if (kind == QLatin1Char('N')) {
        OraNumber bestValue = numberForm(a[1]);
        for (int i = 2; i < argc; ++i) {
            const OraNumber n = numberForm(a[i]);
            const int c = oraCompare(n, bestValue);
            if (greatest ? c > 0 : c < 0)
                bestValue = n;
        }
        return resultNumber(ctx, bestValue);
    }
    if (kind == QLatin1Char('D')) {
        QDateTime bestValue = dateForm(ctx, a[1]);
        for (int i = 2; i < argc; ++i) {
            const QDateTime d = dateForm(ctx, a[i]);
            if (greatest ? d > bestValue : d < bestValue)
                bestValue = d;
        }
        return resultText(ctx, dateText(bestValue));
    }
    QByteArray bestValue = oraText(a[1]).toUtf8();
    for (int i = 2; i < argc; ++i) {
        const QByteArray t = oraText(a[i]).toUtf8();
        const int c = std::strcmp(t.constData(), bestValue.constData());
        if (greatest ? c > 0 : c < 0) {
            bestValue = t;
        }
    }
    resultText(ctx, QString::fromUtf8(bestValue));
}

void fnGreatest(sqlite3_context* ctx, int argc, sqlite3_value** a) { extreme(ctx, argc, a, true); }
void fnLeast(sqlite3_context* ctx, int argc, sqlite3_value** a) { extreme(ctx, argc, a, false); }

// ora_cast(value, type, length, precision, scale): CAST(value AS type).
void fnCast(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]))
        return sqlite3_result_null(ctx);
    const QString type = textOf(a[1]);
    const int length = sqlite3_value_int(a[2]);
    const int precision = sqlite3_value_int(a[3]);
    const int scale = sqlite3_value_int(a[4]);
    if (type == QLatin1String("NUMBER")) {
        OraNumber n = numberForm(a[0]);
        if (scale >= 0)
            n = oraRoundNumber(n, scale, false);
        // NUMBER(p, s) holds what stays below 10^(p - s) once rounded to s places.
        const OraNumber limit =
            *parseOraNumber(QStringLiteral("1e%1").arg(precision - qMax(scale, 0)));
        if (precision > 0 && oraCompare(n.toDouble() < 0 ? oraNegate(n) : n, limit) >= 0)
            throw OraFailure{
                1438,
                QStringLiteral("value larger than specified precision allowed for this column")};
        return resultNumber(ctx, n);
    }
    if (type == QLatin1String("DATE"))
        return resultText(ctx, dateText(dateForm(ctx, a[0])));
    QString text = oraText(a[0]);
    if (type == QLatin1String("CHAR") && databaseByteLength(text) < length)
        text += QString(length - databaseByteLength(text), QLatin1Char(' '));
    if (databaseByteLength(text) > length)
        throw OraFailure{25137, QStringLiteral("Data value out of range")};
    resultText(ctx, text);
}

// ora_trim_set(text, character, mode): TRIM(LEADING|TRAILING|BOTH character FROM text), mode L, T
// or B.
void fnTrimSet(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]) || isNull(a[1]))
        return sqlite3_result_null(ctx);
    const QString set = oraText(a[1]);
    if (set.size() != 1)
        throw OraFailure{30001, QStringLiteral("trim set should have only one character")};
    const QString s = oraText(a[0]);
    const QString mode = textOf(a[2]);
    int b = 0, e = int(s.size());
    if (mode != QLatin1String("T"))
        while (b < e && s[b] == set[0])
            ++b;
    if (mode != QLatin1String("L"))
        while (e > b && s[e - 1] == set[0])
            --e;
    resultText(ctx, s.mid(b, e - b));
}

// ora_single_row(value): the value of the one row a scalar subquery returns, NULL for none, and
// ORA-01427 at the second.
struct SingleRow {
    sqlite3_value* value;
    bool seen;
};

void singleRowStep(sqlite3_context* ctx, int, sqlite3_value** a)
{
    auto* state = static_cast<SingleRow*>(sqlite3_aggregate_context(ctx, sizeof(SingleRow)));
    if (!state)
        return sqlite3_result_error_nomem(ctx);
    if (state->seen)
        return fail(
            ctx, OraFailure{1427, QStringLiteral("single-row subquery returns more than one row")});
    state->seen = true;
    state->value = sqlite3_value_dup(a[0]);
}

void singleRowFinal(sqlite3_context* ctx)
{
    auto* state = static_cast<SingleRow*>(sqlite3_aggregate_context(ctx, 0));
    if (!state || !state->value)
        return sqlite3_result_null(ctx);
    sqlite3_result_value(ctx, state->value);
    sqlite3_value_free(state->value);
    state->value = nullptr;
}

// Blank-padded comparison: the shorter value compares as if padded with blanks.
int comparePadded(void*, int n1, const void* p1, int n2, const void* p2)
{
    const auto* a = static_cast<const unsigned char*>(p1);
    const auto* b = static_cast<const unsigned char*>(p2);
    const int common = qMin(n1, n2);
    if (const int c = std::memcmp(a, b, size_t(common)))
        return c;
    for (int i = common; i < qMax(n1, n2); ++i) {
        const int x = i < n1 ? a[i] : ' ';
        const int y = i < n2 ? b[i] : ' ';
        if (x != y)
            return x - y;
    }
    return 0;
}

}  // namespace

qint64 rownumLimit(const QString& op, double value)
{
    auto clamp = [](double rows) {
        if (rows <= 0)
            return qint64(0);
        return rows >= 9.2e18 ? kNoRowLimit : qint64(rows);
    };
    if (op == QLatin1String("<"))
        return clamp(std::ceil(value) - 1);
    if (op == QLatin1String("<="))
        return clamp(std::floor(value));
    if (op == QLatin1String("="))
        return value == 1 ? 1 : 0;
    if (op == QLatin1String(">"))
        return value < 1 ? kNoRowLimit : 0;
    if (op == QLatin1String(">="))
        return value <= 1 ? kNoRowLimit : 0;
    // <>: the rows before the one that would get that number.
    return value >= 1 && value == std::floor(value) ? clamp(value - 1) : kNoRowLimit;
}

void registerQueryFunctions(sqlite3* db, EngineSession* s)
{
    add(db, s, "ora_raise", 2, guarded<fnRaise>, false);
    add(db, s, "ora_rownum_limit", 2, guarded<fnRownumLimit>);
    add(db, s, "ora_greatest", -1, guarded<fnGreatest>);
    add(db, s, "ora_least", -1, guarded<fnLeast>);
    add(db, s, "ora_cast", 5, guarded<fnCast>, false);
    add(db, s, "ora_trim_set", 3, guarded<fnTrimSet>);
    sqlite3_create_function_v2(db, "ora_single_row", 1, SQLITE_UTF8, nullptr, nullptr,
                               singleRowStep, singleRowFinal, nullptr);
    sqlite3_create_collation_v2(db, kBlankPaddedCollation, SQLITE_UTF8, nullptr, comparePadded,
                                nullptr);
}

}  // namespace kolmara::db::embedded
