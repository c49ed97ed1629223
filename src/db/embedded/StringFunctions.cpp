// Oracle's character functions as SQLite functions (LPAD, SUBSTR, INSTR, TRANSLATE...), counting
// characters and terminal columns as Oracle does.
#include "db/embedded/EngineFunctions.h"

#include "db/embedded/Engine.h"
#include "db/embedded/FunctionSupport.h"
#include "db/embedded/OraValues.h"

#include <sqlite3.h>

#include <cmath>

namespace kolmara::db::embedded::functions {

namespace {

// Columns a character takes on a terminal: East Asian wide characters (Hangul, CJK, full-width
// forms) take two, as LPAD and RPAD count them.
int displayWidth(char32_t c)
{
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF && c != 0x303F)
                   || (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF)
                   || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60)
                   || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD)
               ? 2
               : 1;
}

// The leading characters of text that fit in `columns`; a wide character that would straddle the
// edge gives way to a blank. columns receives what is left over.
QString fitColumns(const QString& text, int& columns)
{
    QString out;
    for (const char32_t c : text.toUcs4()) {
        const int w = displayWidth(c);
        if (w > columns)
            break;
        out += QString::fromUcs4(&c, 1);
        columns -= w;
    }
    return out;
}

void pad(sqlite3_context* ctx, int argc, sqlite3_value** a, bool left)
{
    if (anyNull(argc, a))
        return sqlite3_result_null(ctx);
    const QString s = oraText(a[0]);
    const int n = int(std::trunc(numberOf(a[1]).toDouble()));
    const QString p = argc > 2 ? oraText(a[2]) : QStringLiteral(" ");
    if (n <= 0 || p.isEmpty())
        return sqlite3_result_null(ctx);
    // n is the display width of the result, not its number of characters.
    int columns = n;
    QString kept = fitColumns(s, columns);
    if (kept.size() < s.size()) {
        if (columns > 0)
            kept += QString(columns, QLatin1Char(' '));
        return resultText(ctx, kept);
    }
    QString fill;
    while (columns > 0) {
        const int before = columns;
        fill += fitColumns(p, columns);
        if (columns == before) {  // one column left and a wide pad character
            fill += QString(columns, QLatin1Char(' '));
            break;
        }
    }
    resultText(ctx, left ? fill + kept : kept + fill);
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
    resultText(ctx,
               trimSet(oraText(a[0]), argc > 1 ? oraText(a[1]) : QStringLiteral(" "), true, false));
}

void fnRtrim(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (anyNull(argc, a))
        return sqlite3_result_null(ctx);
    resultText(ctx,
               trimSet(oraText(a[0]), argc > 1 ? oraText(a[1]) : QStringLiteral(" "), false, true));
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

}  // namespace

void registerStringFunctions(sqlite3* db, EngineSession* s)
{
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
    add(db, s, "ora_chr", 1, guarded<fnChr>);
    add(db, s, "ora_ascii", 1, guarded<fnAscii>);
    add(db, s, "ora_to_multi_byte", 1, guarded<fnIdentity>);
    add(db, s, "ora_to_single_byte", 1, guarded<fnIdentity>);
}

}  // namespace kolmara::db::embedded::functions
