// What the engine's SQL functions (EngineFunctions, QueryFunctions) share: reading values in the
// engine's storage forms (OraValues.h), handing results back to SQLite, and reporting an
// OraFailure as the finished "ORA-nnnnn: text" message, which the engine turns back into a
// DatabaseError. Include it only from those function units, after <sqlite3.h>.
#pragma once

#include "db/embedded/Engine.h"
#include "db/embedded/OraValues.h"

#include <sqlite3.h>

#include <QDateTime>
#include <QString>

#include <exception>
#include <optional>

namespace kolmara::db::embedded::functions {

inline QString textOf(sqlite3_value* v)
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return p ? QString::fromUtf8(p, sqlite3_value_bytes(v)) : QString();
}

inline bool isNull(sqlite3_value* v) { return sqlite3_value_type(v) == SQLITE_NULL; }

inline bool anyNull(int argc, sqlite3_value** argv)
{
    for (int i = 0; i < argc; ++i)
        if (isNull(argv[i]))
            return true;
    return false;
}

// A stored DATE, or nullopt for any other value.
inline std::optional<QDateTime> dateOf(sqlite3_value* v)
{
    if (sqlite3_value_type(v) != SQLITE_TEXT)
        return std::nullopt;
    return parseDateText(textOf(v));
}

// A value as a NUMBER: stored numbers as they are, text converted as TO_NUMBER does (ORA-01722).
inline OraNumber numberOf(sqlite3_value* v)
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
    const QString text = textOf(v);
    if (text.startsWith(kBigNumberMark)) {
        // Stored long numbers are in their canonical form already.
        OraNumber n;
        n.kind = OraNumber::Kind::Big;
        n.big = text.mid(1);
        return n;
    }
    const auto n = parseOraNumber(text);
    if (!n)
        throw OraFailure{1722, QStringLiteral("invalid number")};
    return *n;
}

// Whether a value is stored as a NUMBER (not text that may read as one).
inline bool isStoredNumber(sqlite3_value* v)
{
    const int t = sqlite3_value_type(v);
    if (t == SQLITE_INTEGER || t == SQLITE_FLOAT)
        return true;
    if (t != SQLITE_TEXT || sqlite3_value_bytes(v) == 0)
        return false;
    return *sqlite3_value_text(v) == 0x01;  // kBigNumberMark in UTF-8
}

// The Oracle text form of any stored value: numbers in their default form, dates as stored.
inline QString oraText(sqlite3_value* v)
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

// '' is NULL.
inline void resultText(sqlite3_context* ctx, const QString& text)
{
    if (text.isEmpty()) {
        sqlite3_result_null(ctx);
        return;
    }
    const QByteArray utf8 = text.toUtf8();
    sqlite3_result_text(ctx, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

inline void resultNumber(sqlite3_context* ctx, const OraNumber& n)
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

inline void resultDate(sqlite3_context* ctx, const QDateTime& d) { resultText(ctx, dateText(d)); }

inline void fail(sqlite3_context* ctx, const OraFailure& f)
{
    const QByteArray msg =
        QStringLiteral("ORA-%1: %2").arg(f.code, 5, 10, QLatin1Char('0')).arg(f.text).toUtf8();
    sqlite3_result_error(ctx, msg.constData(), int(msg.size()));
}

// The session a function was registered for (its user data).
inline EngineSession* sessionOf(sqlite3_context* ctx)
{
    return static_cast<EngineSession*>(sqlite3_user_data(ctx));
}

using Fn = void (*)(sqlite3_context*, int, sqlite3_value**);

// Registers a function on the connection, with the session as its user data.
inline void add(sqlite3* db, EngineSession* s, const char* name, int args, Fn fn,
                bool deterministic = true)
{
    sqlite3_create_function_v2(db, name, args,
                               SQLITE_UTF8 | (deterministic ? SQLITE_DETERMINISTIC : 0), s, fn,
                               nullptr, nullptr, nullptr);
}

// The function groups of their own files, which registerEngineFunctions registers with the rest.
void registerStringFunctions(sqlite3* db, EngineSession* s);
void registerNumberFunctions(sqlite3* db, EngineSession* s);

// A function body that may throw: OraFailure becomes its ORA- error, anything else ORA-00600.
template <Fn F>
void guarded(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    try {
        F(ctx, argc, argv);
    } catch (const OraFailure& f) {
        fail(ctx, f);
    } catch (const std::exception& e) {
        fail(ctx, OraFailure{600, QStringLiteral("internal error code, arguments: [%1]")
                                      .arg(QString::fromUtf8(e.what()))});
    }
}

}  // namespace kolmara::db::embedded::functions
