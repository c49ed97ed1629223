// Oracle operators and functions as SQLite functions: arithmetic, conversions, dates, the session's
// USERENV facts and the column store check; the character and number functions have files of their
// own (StringFunctions, NumberFunctions), registered from here. Values arrive in the engine's
// storage forms (see OraValues.h): numbers as INTEGER/REAL/marked text, dates as ISO text;
// FunctionSupport.h reads them and reports errors.
#include "db/embedded/EngineFunctions.h"

#include "db/embedded/Engine.h"
#include "db/embedded/FunctionSupport.h"
#include "db/embedded/OraValues.h"

#include <sqlite3.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <limits>
#include <optional>
#include <utility>

namespace kolmara::db::embedded {

namespace {

using namespace functions;

// ---- arithmetic ------------------------------------------------------------------------------

// A date moved by a number of days, to the nearest second.
QDateTime plusDays(const QDateTime& d, const OraNumber& days)
{
    const OraNumber seconds =
        oraRoundNumber(oraMultiply(days, OraNumber::fromInteger(86400)), 0, false);
    if (seconds.kind != OraNumber::Kind::Integer)
        throw OraFailure{
            1841, QStringLiteral("(full) year must be between -4713 and +9999, and not be 0")};
    return d.addSecs(seconds.integer);
}

void fnAdd(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (anyNull(argc, a))
        return sqlite3_result_null(ctx);
    const auto d0 = dateOf(a[0]);
    const auto d1 = dateOf(a[1]);
    if (d0 && d1)
        throw OraFailure{975, QStringLiteral("date + date not allowed")};
    if (d0)
        return resultDate(ctx, plusDays(*d0, numberOf(a[1])));
    if (d1)
        return resultDate(ctx, plusDays(*d1, numberOf(a[0])));
    resultNumber(ctx, oraAdd(numberOf(a[0]), numberOf(a[1])));
}

void fnSub(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (anyNull(argc, a))
        return sqlite3_result_null(ctx);
    const auto d0 = dateOf(a[0]);
    const auto d1 = dateOf(a[1]);
    if (d0 && d1)
        return resultNumber(
            ctx, oraDivide(OraNumber::fromInteger(d1->secsTo(*d0)), OraNumber::fromInteger(86400)));
    if (d0)
        return resultDate(ctx, plusDays(*d0, oraNegate(numberOf(a[1]))));
    if (d1)
        throw OraFailure{932, QStringLiteral("inconsistent datatypes: expected NUMBER got DATE")};
    resultNumber(ctx, oraSubtract(numberOf(a[0]), numberOf(a[1])));
}

void fnMul(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (anyNull(argc, a))
        return sqlite3_result_null(ctx);
    resultNumber(ctx, oraMultiply(numberOf(a[0]), numberOf(a[1])));
}

void fnDiv(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (anyNull(argc, a))
        return sqlite3_result_null(ctx);
    resultNumber(ctx, oraDivide(numberOf(a[0]), numberOf(a[1])));
}

// ora_arith(ops, v0, v1, ...): v0 ops[0] v1 ops[1] v2 ..., left to right, each step as
// ora_add, ora_sub, ora_mul or ora_div would take it. A date met on the way stays a date.
struct ArithValue {
    sqlite3_value* stored = nullptr;  // an operand as given
    bool null = false;                // or the result of a step so far
    std::optional<QDateTime> date;
    OraNumber number;

    std::optional<QDateTime> asDate() const { return stored ? dateOf(stored) : date; }
    OraNumber asNumber() const
    {
        if (stored)
            return numberOf(stored);
        if (date)
            throw OraFailure{1722, QStringLiteral("invalid number")};
        return number;
    }
    bool isNullValue() const { return stored ? isNull(stored) : null; }
};

ArithValue arithStep(QChar op, const ArithValue& l, const ArithValue& r)
{
    ArithValue out;
    if (l.isNullValue() || r.isNullValue()) {
        out.null = true;
        return out;
    }
    if (op == u'*') {
        out.number = oraMultiply(l.asNumber(), r.asNumber());
        return out;
    }
    if (op == u'/') {
        out.number = oraDivide(l.asNumber(), r.asNumber());
        return out;
    }
    const auto d0 = l.asDate();
    const auto d1 = r.asDate();
    if (op == u'+') {
        if (d0 && d1)
            throw OraFailure{975, QStringLiteral("date + date not allowed")};
        if (d0)
            out.date = plusDays(*d0, r.asNumber());
        else if (d1)
            out.date = plusDays(*d1, l.asNumber());
        else
            out.number = oraAdd(l.asNumber(), r.asNumber());
        return out;
    }
    if (d0 && d1)
        out.number =
            oraDivide(OraNumber::fromInteger(d1->secsTo(*d0)), OraNumber::fromInteger(86400));
    else if (d0)
        out.date = plusDays(*d0, oraNegate(r.asNumber()));
    else if (d1)
        throw OraFailure{932, QStringLiteral("inconsistent datatypes: expected NUMBER got DATE")};
    else
        out.number = oraSubtract(l.asNumber(), r.asNumber());
    return out;
}

void fnArith(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    const QString ops = argc > 0 ? textOf(a[0]) : QString();
    if (ops.size() != argc - 2)
        throw OraFailure{909, QStringLiteral("invalid number of arguments")};
    ArithValue value;
    value.stored = a[1];
    for (int i = 0; i < ops.size(); ++i) {
        ArithValue right;
        right.stored = a[i + 2];
        value = arithStep(ops[i], value, right);
    }
    if (value.isNullValue())
        return sqlite3_result_null(ctx);
    if (const auto d = value.asDate())
        return resultDate(ctx, *d);
    resultNumber(ctx, value.asNumber());
}

void fnNeg(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]))
        return sqlite3_result_null(ctx);
    resultNumber(ctx, oraNegate(numberOf(a[0])));
}

// a || b || ...: NULL only when every part is.
void fnConcat(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    QString text;
    bool anyValue = false;
    for (int i = 0; i < argc; ++i) {
        if (isNull(a[i]))
            continue;
        anyValue = true;
        text += oraText(a[i]);
    }
    if (!anyValue)
        return sqlite3_result_null(ctx);
    resultText(ctx, text);
}

// ---- conversions ------------------------------------------------------------------------------

// The compiled date format of a TO_CHAR call, kept by SQLite with the statement while the format
// argument stays the same: a table dump converts every row's dates through it.
struct ToCharFormat {
    std::optional<PlainDateFormat> plain;
};

// The session's date language and format, as TO_CHAR and TO_DATE take them by default.
DateLanguage sessionDateLanguage(sqlite3_context* ctx)
{
    return dateLanguageNamed(sessionOf(ctx)->nlsParameter(QStringLiteral("NLS_DATE_LANGUAGE")))
        .value_or(DateLanguage::American);
}

QString sessionDateFormat(sqlite3_context* ctx)
{
    return sessionOf(ctx)->nlsParameter(QStringLiteral("NLS_DATE_FORMAT"));
}

void fnToChar(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (isNull(a[0]))
        return sqlite3_result_null(ctx);
    if (argc == 1 || isNull(a[1])) {
        if (argc > 1)
            return sqlite3_result_null(ctx);
        if (const auto d = dateOf(a[0]))
            return resultText(ctx,
                              oraDateToChar(*d, sessionDateFormat(ctx), sessionDateLanguage(ctx)));
        // Numbers without a format go straight from SQLite's value to SQLite's result.
        char text[80];
        if (sqlite3_value_type(a[0]) == SQLITE_INTEGER) {
            const auto done = std::to_chars(text, text + sizeof text, sqlite3_value_int64(a[0]));
            return sqlite3_result_text(ctx, text, int(done.ptr - text), SQLITE_TRANSIENT);
        }
        if (sqlite3_value_type(a[0]) == SQLITE_FLOAT)
            return sqlite3_result_text(ctx, text, oraNumberChars(sqlite3_value_double(a[0]), text),
                                       SQLITE_TRANSIENT);
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
    DateLanguage language = sessionDateLanguage(ctx);
    if (argc > 2) {
        // The date language is the one NLS parameter that changes the text; the number ones
        // (NLS_NUMERIC_CHARACTERS...) are the database's own anyway.
        const QString parameter = oraText(a[2]);
        const auto asked = parseDateLanguage(parameter);
        const QString name = parameter.section(QLatin1Char('='), 0, 0).trimmed().toUpper();
        if (!asked
            && (name == QLatin1String("NLS_DATE_LANGUAGE")
                || !name.startsWith(QLatin1String("NLS_"))
                || !parameter.contains(QLatin1Char('='))))
            throw OraFailure{12702,
                             QStringLiteral("invalid NLS parameter string used in SQL function")};
        language = asked.value_or(language);
    }
    if (const auto d = dateOf(a[0]))
        return resultText(ctx, oraDateToChar(*d, fmt, language));
    resultText(ctx, oraNumberToChar(numberOf(a[0]), fmt));
}

void fnToDate(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (isNull(a[0]))
        return sqlite3_result_null(ctx);
    const QString text = oraText(a[0]);
    const QString fmt = argc > 1 && !isNull(a[1]) ? textOf(a[1]) : sessionDateFormat(ctx);
    resultDate(ctx, oraToDate(text, fmt, sessionOf(ctx)->statementNow()));
}

// ora_fixed_date(value): a text literal or a bind compared with a DATE, read in the session's date
// format. Registered as deterministic, so SQLite converts it once when the statement starts rather
// than for every row: the format and the clock do not change while a statement runs. A value bound
// as a number is no date (Oracle does not convert a NUMBER into a DATE).
void fnFixedDate(sqlite3_context* ctx, int, sqlite3_value** a)
{
    const int type = sqlite3_value_type(a[0]);
    if (type == SQLITE_INTEGER || type == SQLITE_FLOAT)
        throw OraFailure{932, QStringLiteral("inconsistent datatypes: expected DATE got NUMBER")};
    fnToDate(ctx, 1, a);
}

void fnToNumber(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (isNull(a[0]))
        return sqlite3_result_null(ctx);
    if (dateOf(a[0]))
        throw OraFailure{1722, QStringLiteral("invalid number")};
    // Group separators are read only where a format allows them; '1,000' alone is no number.
    QString t = oraText(a[0]);
    if (argc > 1)
        t.remove(QLatin1Char(','));
    const auto n = parseOraNumber(t);
    if (!n)
        throw OraFailure{1722, QStringLiteral("invalid number")};
    resultNumber(ctx, *n);
}

// The USERENV facts of the session, as SYS_CONTEXT('USERENV', name) gives them (all text).
std::optional<QString> userenvParameter(EngineSession& s, const QString& name)
{
    if (name == QLatin1String("SESSIONID"))
        return QString::number(s.auditSessionId());
    if (name == QLatin1String("SID"))
        return QString::number(s.sid());
    if (name == QLatin1String("SESSION_USER") || name == QLatin1String("CURRENT_USER"))
        return s.user();
    if (name == QLatin1String("CURRENT_SCHEMA"))
        return s.schema();
    if (name == QLatin1String("SESSION_USERID") || name == QLatin1String("CURRENT_USERID")
        || name == QLatin1String("CURRENT_SCHEMAID")) {
        const QString user = name == QLatin1String("CURRENT_SCHEMAID") ? s.schema() : s.user();
        return s.scalar(QStringLiteral("SELECT user_id FROM kol_users WHERE username = ?"), {user})
            .toString();
    }
    if (name == QLatin1String("DB_NAME") || name == QLatin1String("INSTANCE_NAME")) {
        const QString parameter = name == QLatin1String("DB_NAME")
                                      ? QStringLiteral("db_name")
                                      : QStringLiteral("instance_name");
        if (s.objectExists(QStringLiteral("SYS"), QStringLiteral("V_$PARAMETER")))
            return s
                .scalar(QStringLiteral(
                            "SELECT \"VALUE\" FROM main.\"SYS.V_$PARAMETER\" WHERE \"NAME\" = ?"),
                        {parameter})
                .toString();
        return QString();
    }
    if (name == QLatin1String("DB_DOMAIN") || name == QLatin1String("IP_ADDRESS")
        || name == QLatin1String("CLIENT_INFO") || name == QLatin1String("CLIENT_IDENTIFIER")
        || name == QLatin1String("PROXY_USER"))
        return QString();
    if (name == QLatin1String("HOST"))
        return s.clientMachine();
    if (name == QLatin1String("TERMINAL"))
        return s.clientTerminal();
    if (name == QLatin1String("OS_USER"))
        return s.clientOsUser();
    if (name == QLatin1String("ISDBA"))
        return s.user() == QLatin1String("SYS") ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    if (name == QLatin1String("LANGUAGE"))
        return s.nlsParameter(QStringLiteral("NLS_LANGUAGE")) + QLatin1Char('_')
               + s.nlsParameter(QStringLiteral("NLS_TERRITORY")) + QLatin1Char('.')
               + s.nlsParameter(QStringLiteral("NLS_CHARACTERSET"));
    if (name == QLatin1String("LANG")) {
        // The language's abbreviation.
        const QString language = s.nlsParameter(QStringLiteral("NLS_LANGUAGE"));
        return language == QLatin1String("KOREAN")    ? QStringLiteral("KO")
               : language == QLatin1String("ENGLISH") ? QStringLiteral("GB")
                                                      : QStringLiteral("US");
    }
    if (name == QLatin1String("NLS_TERRITORY") || name == QLatin1String("NLS_DATE_LANGUAGE")
        || name == QLatin1String("NLS_DATE_FORMAT") || name == QLatin1String("NLS_CALENDAR")
        || name == QLatin1String("NLS_CURRENCY") || name == QLatin1String("NLS_SORT"))
        return s.nlsParameter(name);
    if (name == QLatin1String("INSTANCE"))
        return QStringLiteral("1");
    if (name == QLatin1String("AUTHENTICATION_TYPE"))
        return QStringLiteral("DATABASE");
    if (name == QLatin1String("NETWORK_PROTOCOL"))
        return QStringLiteral("tcp");
    return std::nullopt;
}

void fnUserenv(sqlite3_context* ctx, int, sqlite3_value** a)
{
    const QString what = oraText(a[0]).toUpper();
    EngineSession& s = *sessionOf(ctx);
    // USERENV's numbers are numbers; SESSIONID is the AUDSID of V$SESSION.
    if (what == QLatin1String("SESSIONID"))
        return sqlite3_result_int64(ctx, s.auditSessionId());
    if (what == QLatin1String("INSTANCE") || what == QLatin1String("ENTRYID"))
        return sqlite3_result_int64(ctx, what == QLatin1String("INSTANCE") ? 1 : 0);
    if (what == QLatin1String("LANGUAGE") || what == QLatin1String("LANG")
        || what == QLatin1String("TERMINAL") || what == QLatin1String("ISDBA")
        || what == QLatin1String("CLIENT_INFO"))
        return resultText(ctx, userenvParameter(s, what).value_or(QString()));
    throw OraFailure{2003, QStringLiteral("invalid USERENV parameter")};
}

// ora_nls(parameter, stored): the session's value of an NLS parameter, for the session views;
// stored where the session has none.
void fnNls(sqlite3_context* ctx, int, sqlite3_value** a)
{
    const QString value = sessionOf(ctx)->nlsParameter(oraText(a[0]));
    if (value.isEmpty())
        return sqlite3_result_value(ctx, a[1]);
    resultText(ctx, value);
}

void fnSysContext(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (anyNull(argc, a))
        return sqlite3_result_null(ctx);
    const QString space = oraText(a[0]).trimmed().toUpper();
    const QString name = oraText(a[1]).trimmed().toUpper();
    // Only the USERENV namespace is known; an attribute of any other context is not set.
    if (space != QLatin1String("USERENV"))
        return sqlite3_result_null(ctx);
    const auto value = userenvParameter(*sessionOf(ctx), name);
    if (!value)
        throw OraFailure{2003, QStringLiteral("invalid USERENV parameter")};
    QString text = *value;
    if (argc > 2)
        text = text.left(qMax(0, int(numberOf(a[2]).toDouble())));
    resultText(ctx, text);
}

// ---- dates ------------------------------------------------------------------------------------

void fnSysdate(sqlite3_context* ctx, int, sqlite3_value**)
{
    resultDate(ctx, sessionOf(ctx)->statementNow());
}

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
    moved = QDate(moved.year(), moved.month(),
                  lastDay ? moved.daysInMonth() : qMin(day.day(), moved.daysInMonth()));
    resultDate(ctx, QDateTime(moved, d.time(), Qt::UTC));
}

void fnNextDay(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (anyNull(argc, a))
        return sqlite3_result_null(ctx);
    resultDate(ctx, oraNextDay(requireDate(a[0]), oraText(a[1])));
}

void fnLastDay(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]))
        return sqlite3_result_null(ctx);
    const QDateTime d = requireDate(a[0]);
    resultDate(ctx, QDateTime(QDate(d.date().year(), d.date().month(), d.date().daysInMonth()),
                              d.time(), Qt::UTC));
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
    // The days and time beyond whole months count in 31-day months.
    const qint64 secsX = (dx.day() - 1) * 86400LL + x.time().msecsSinceStartOfDay() / 1000;
    const qint64 secsY = (dy.day() - 1) * 86400LL + y.time().msecsSinceStartOfDay() / 1000;
    resultNumber(
        ctx, oraAdd(OraNumber::fromInteger(whole), oraDivide(OraNumber::fromInteger(secsX - secsY),
                                                             OraNumber::fromInteger(31 * 86400))));
}

// ---- access and storage -----------------------------------------------------------------------

void fnCanRead(sqlite3_context* ctx, int, sqlite3_value** a)
{
    sqlite3_result_int(ctx, sessionOf(ctx)->canRead(oraText(a[0]), oraText(a[1])) ? 1 : 0);
}

void fnHasRole(sqlite3_context* ctx, int, sqlite3_value** a)
{
    sqlite3_result_int(ctx, sessionOf(ctx)->hasRole(oraText(a[0])) ? 1 : 0);
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
        return QStringLiteral("\"%1\".\"%2\".\"%3\"")
            .arg(oraText(a[6]), oraText(a[7]), oraText(a[8]));
    };
    sqlite3_value* v = a[0];
    const bool null =
        isNull(v) || (sqlite3_value_type(v) == SQLITE_TEXT && sqlite3_value_bytes(v) == 0);
    if (null) {
        if (notNull == 2)
            throw OraFailure{1407, QStringLiteral("cannot update (%1) to NULL").arg(columnName())};
        if (notNull)
            throw OraFailure{1400,
                             QStringLiteral("cannot insert NULL into (%1)").arg(columnName())};
        return sqlite3_result_null(ctx);
    }
    if (type == QLatin1String("NUMBER") || type == QLatin1String("FLOAT")) {
        if (dateOf(v))
            throw OraFailure{932,
                             QStringLiteral("inconsistent datatypes: expected NUMBER got DATE")};
        OraNumber n = numberOf(v);
        if (scale >= 0)
            n = oraRoundNumber(n, scale, false);
        if (precision > 0 && type == QLatin1String("NUMBER")) {
            // NUMBER(p, s) holds values below 10^(p - s).
            const OraNumber limit =
                *parseOraNumber(QStringLiteral("1e%1").arg(precision - qMax(scale, 0)));
            if (oraCompare(oraCompare(n, OraNumber::fromInteger(0)) < 0 ? oraNegate(n) : n, limit)
                >= 0)
                throw OraFailure{
                    1438, QStringLiteral(
                              "value larger than specified precision allowed for this column")};
        }
        return resultNumber(ctx, n);
    }
    if (type == QLatin1String("DATE")) {
        if (const auto d = dateOf(v))
            return resultDate(ctx, *d);
        if (sqlite3_value_type(v) != SQLITE_TEXT)
            throw OraFailure{932,
                             QStringLiteral("inconsistent datatypes: expected DATE got NUMBER")};
        return resultDate(ctx, oraToDate(oraText(v), QStringLiteral("YYYY-MM-DD HH24:MI:SS"),
                                         sessionOf(ctx)->statementNow()));
    }
    QString text = oraText(v);
    if (length > 0 && type != QLatin1String("LONG")) {
        int actual = databaseByteLength(text);
        // CHAR pads with blanks up to its length in bytes, as the column measures it: "가나" in a
        // CHAR(6) takes four bytes and two blanks, not four blanks.
        if (type == QLatin1String("CHAR") && actual < length) {
            text += QString(length - actual, QLatin1Char(' '));
            actual = length;
        }
        if (actual > length)
            throw OraFailure{
                12899, QStringLiteral("value too large for column %1 (actual: %2, maximum: %3)")
                           .arg(columnName())
                           .arg(actual)
                           .arg(length)};
    }
    resultText(ctx, text);
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
    add(db, s, "ora_arith", -1, guarded<fnArith>);
    add(db, s, "ora_concat", -1, guarded<fnConcat>);
    add(db, s, "ora_to_char", -1, guarded<fnToChar>);
    add(db, s, "ora_to_date", -1, guarded<fnToDate>, false);
    add(db, s, "ora_fixed_date", 1, guarded<fnFixedDate>);
    add(db, s, "ora_to_number", -1, guarded<fnToNumber>);
    registerStringFunctions(db, s);
    add(db, s, "ora_userenv", 1, guarded<fnUserenv>, false);
    registerNumberFunctions(db, s);
    add(db, s, "ora_add_months", 2, guarded<fnAddMonths>);
    add(db, s, "ora_last_day", 1, guarded<fnLastDay>);
    add(db, s, "ora_next_day", 2, guarded<fnNextDay>);
    add(db, s, "ora_sys_context", -1, guarded<fnSysContext>, false);
    add(db, s, "ora_nls", 2, guarded<fnNls>, false);
    add(db, s, "ora_months_between", 2, guarded<fnMonthsBetween>);
    add(db, s, "ora_sysdate", 0, guarded<fnSysdate>, false);
    add(db, s, "ora_user", 0, guarded<fnUser>, false);
    add(db, s, "ora_can_read", 2, guarded<fnCanRead>, false);
    add(db, s, "ora_has_role", 1, guarded<fnHasRole>, false);
    add(db, s, "ora_store", 9, guarded<fnStore>, false);
}

}  // namespace kolmara::db::embedded
