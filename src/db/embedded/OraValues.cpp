// Oracle NUMBER and DATE semantics for the embedded engine. Numbers go through a small decimal
// form (digits and point position) so rounding and text forms are decimal, not binary.
#include "db/embedded/OraValues.h"

#include <QHash>
#include <QStringList>

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

OraNumber numberFromDecimal(const Decimal& d)
{
    if (d.digits.isEmpty())
        return OraNumber::fromInteger(0);
    if (d.isInteger() && d.point <= 18) {
        QString t = d.digits + QString(d.point - d.digits.size(), QLatin1Char('0'));
        const qint64 v = t.toLongLong();
        return OraNumber::fromInteger(d.neg ? -v : v);
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
    OraNumber n;
    n.kind = Kind::Real;
    n.real = value;
    return n;
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

QString oraNumberToChar(const OraNumber& value, const QString& formatIn)
{
    QString format = formatIn.toUpper();
    bool fm = false;
    if (format.startsWith(QLatin1String("FM"))) {
        fm = true;
        format.remove(0, 2);
    }
    bool dollar = false;
    if (format.contains(QLatin1Char('$'))) {
        dollar = true;
        format.remove(QLatin1Char('$'));
    }
    for (QChar c : format)
        if (!QStringLiteral("90.,").contains(c))
            throw OraFailure{1481, QStringLiteral("invalid number format model")};
    const int pointAt = format.indexOf(QLatin1Char('.'));
    const QString intPart = pointAt < 0 ? format : format.left(pointAt);
    const QString fracPart = pointAt < 0 ? QString() : format.mid(pointAt + 1);
    const int fracDigits = int(fracPart.count(QLatin1Char('9')) + fracPart.count(QLatin1Char('0')));

    Decimal d = decimalOf(oraRoundNumber(value, fracDigits, false));
    QString intDigits = d.point > 0 ? (d.digits.left(d.point) + QString(qMax(0, d.point - int(d.digits.size())), QLatin1Char('0'))) : QString();
    QString fracText = d.point >= 0 ? d.digits.mid(d.point) : QString(-d.point, QLatin1Char('0')) + d.digits;
    fracText = fracText.left(fracDigits).leftJustified(fracDigits, QLatin1Char('0'));

    // Integer part, right to left over the mask.
    const int slotCount = int(intPart.count(QLatin1Char('9')) + intPart.count(QLatin1Char('0')));
    if (intDigits.size() > slotCount)
        return QString(format.size() + 1 + (dollar ? 1 : 0), QLatin1Char('#'));
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
    const QString sign = d.neg ? QStringLiteral("-") : (fm ? QString() : QStringLiteral(" "));
    QString result = QString(lead, QLatin1Char(' ')) + sign + (dollar ? QStringLiteral("$") : QString()) + body.mid(lead);
    if (fm)
        result = result.trimmed();
    return result;
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

}  // namespace

QString oraDateToChar(const QDateTime& value, const QString& format)
{
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
            out += applyCase(QString::fromLatin1(kMonths[d.month() - 1]).left(3), item.written);
        } else if (e == QLatin1String("MONTH")) {
            QString n = applyCase(QString::fromLatin1(kMonths[d.month() - 1]), item.written);
            out += fm ? n : n.leftJustified(9);
        } else if (e == QLatin1String("DD")) {
            out += num(d.day(), 2);
        } else if (e == QLatin1String("DDD")) {
            out += num(d.dayOfYear(), 3);
        } else if (e == QLatin1String("D")) {
            out += QString::number(sundayBasedDay(d));
        } else if (e == QLatin1String("DY")) {
            out += applyCase(QString::fromLatin1(kDays[d.dayOfWeek() % 7]).left(3), item.written);
        } else if (e == QLatin1String("DAY")) {
            QString n = applyCase(QString::fromLatin1(kDays[d.dayOfWeek() % 7]), item.written);
            out += fm ? n : n.leftJustified(9);
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
