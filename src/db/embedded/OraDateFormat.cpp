// Date format models and the names of days and months: TO_CHAR and TO_DATE of a date, the
// precompiled plain formats a dump reads dates through, NEXT_DAY and the date language.
#include "db/embedded/OraValues.h"

#include <QHash>

namespace kolmara::db::embedded {

namespace {

const char* const kMonths[] = {"JANUARY",   "FEBRUARY", "MARCH",    "APRIL",
                               "MAY",       "JUNE",     "JULY",     "AUGUST",
                               "SEPTEMBER", "OCTOBER",  "NOVEMBER", "DECEMBER"};
const char* const kDays[] = {"SUNDAY",   "MONDAY", "TUESDAY", "WEDNESDAY",
                             "THURSDAY", "FRIDAY", "SATURDAY"};

// Format elements, longest first so that prefixes do not steal a longer element.
const char* const kElements[] = {"SSSSS", "A.M.", "P.M.", "MONTH", "RRRR", "YYYY", "HH24", "HH12",
                                 "YYY",   "MON",  "DDD",  "DAY",   "SS",   "YY",   "RR",   "MM",
                                 "DD",    "DY",   "HH",   "MI",    "AM",   "PM",   "FM",   "FX",
                                 "WW",    "IW",   "J",    "Q",     "W",    "D",    "Y"};

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

int sundayBasedDay(const QDate& d)
{
    return d.dayOfWeek() % 7 + 1;  // Sunday = 1 (KOREA)
}

// Names in the Korean date language: months are numbered, days have their own names.
const char16_t* const kKoreanDays[] = {u"일", u"월", u"화", u"수", u"목", u"금", u"토"};

QString koreanMonth(int month)
{
    return QString::number(month) + QStringLiteral("월");
}

}  // namespace

std::optional<DateLanguage> parseDateLanguage(const QString& nlsParameter)
{
    // 'NLS_DATE_LANGUAGE = KOREAN', the value possibly quoted.
    const int eq = int(nlsParameter.indexOf(QLatin1Char('=')));
    if (eq < 0 || nlsParameter.left(eq).trimmed().compare(QLatin1String("NLS_DATE_LANGUAGE"),
                                                          Qt::CaseInsensitive) != 0)
        return std::nullopt;
    QString value = nlsParameter.mid(eq + 1).trimmed().toUpper();
    if (value.size() >= 2 &&
        (value.startsWith(QLatin1Char('\'')) || value.startsWith(QLatin1Char('"'))) &&
        value.back() == value.front())
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

QDateTime oraNextDay(const QDateTime& value, const QString& dayName)
{
    const QString name = dayName.trimmed().toUpper();
    for (int i = 0; i < 7 && !name.isEmpty(); ++i) {
        const QString full = QString::fromLatin1(kDays[i]);
        if (name == full || name == full.left(3) ||
            name == QString::fromUtf16(kKoreanDays[i]) + QStringLiteral("요일") ||
            name == QString::fromUtf16(kKoreanDays[i])) {
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
            out += korean ? koreanMonth(d.month())
                          : applyCase(QString::fromLatin1(kMonths[d.month() - 1]).left(3),
                                      item.written);
        } else if (e == QLatin1String("MONTH")) {
            // Padded to the longest name of the language: SEPTEMBER, 12월.
            QString n = korean
                            ? koreanMonth(d.month())
                            : applyCase(QString::fromLatin1(kMonths[d.month() - 1]), item.written);
            out += fm ? n : n.leftJustified(korean ? 3 : 9);
        } else if (e == QLatin1String("DD")) {
            out += num(d.day(), 2);
        } else if (e == QLatin1String("DDD")) {
            out += num(d.dayOfYear(), 3);
        } else if (e == QLatin1String("D")) {
            out += QString::number(sundayBasedDay(d));
        } else if (e == QLatin1String("DY")) {
            out += korean ? QString::fromUtf16(kKoreanDays[d.dayOfWeek() % 7])
                          : applyCase(QString::fromLatin1(kDays[d.dayOfWeek() % 7]).left(3),
                                      item.written);
        } else if (e == QLatin1String("DAY")) {
            QString n =
                korean ? QString::fromUtf16(kKoreanDays[d.dayOfWeek() % 7]) + QStringLiteral("요일")
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
        } else if (korean && (e == QLatin1String("AM") || e == QLatin1String("PM") ||
                              e == QLatin1String("A.M.") || e == QLatin1String("P.M."))) {
            out += t.hour() < 12 ? QStringLiteral("오전") : QStringLiteral("오후");
        } else if (e == QLatin1String("AM") || e == QLatin1String("PM")) {
            out += applyCase(t.hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM"),
                             item.written);
        } else if (e == QLatin1String("A.M.") || e == QLatin1String("P.M.")) {
            out += applyCase(t.hour() < 12 ? QStringLiteral("A.M.") : QStringLiteral("P.M."),
                             item.written);
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
    if (length != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':' ||
        text[16] != ':')
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
    if (year < 0 || month < 0 || day < 0 || hour < 0 || minute < 0 || second < 0 || hour > 23 ||
        minute > 59 || second > 59 || !QDate::isValid(year, month, day))
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
        while (pos < n && pos - start < maxDigits && text[pos].isDigit() &&
               text[pos].unicode() < 128)
            ++pos;
        if (pos == start)
            throw OraFailure{
                1858,
                QStringLiteral("a non-numeric character was found where a numeric was expected")};
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
                        throw OraFailure{1861,
                                         QStringLiteral("literal does not match format string")};
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
        } else if (e == QLatin1String("YY") || e == QLatin1String("RR") ||
                   e == QLatin1String("YYY") || e == QLatin1String("Y")) {
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
                const int mod = e == QLatin1String("YY")    ? 100
                                : e == QLatin1String("YYY") ? 1000
                                                            : 10;
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
                throw OraFailure{
                    1847, QStringLiteral("day of month must be between 1 and last day of month")};
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
        } else if (e == QLatin1String("AM") || e == QLatin1String("PM") ||
                   e == QLatin1String("A.M.") || e == QLatin1String("P.M.")) {
            skipBlanks();
            hasMeridian = true;
            const QString rest = text.mid(pos, e.size()).toUpper();
            if (rest.startsWith(QLatin1Char('P')))
                pm = true;
            else if (!rest.startsWith(QLatin1Char('A')))
                throw OraFailure{1855, QStringLiteral("AM/A.M. or PM/P.M. required")};
            pos += int(e.size());
        } else if (e == QLatin1String("D") || e == QLatin1String("DY") ||
                   e == QLatin1String("DAY")) {
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
        throw OraFailure{
            1830, QStringLiteral("date format picture ends before converting entire input string")};
    if (hour12 || hasMeridian) {
        if (hour == 12)
            hour = 0;
        if (pm)
            hour += 12;
    }
    if (year == 0 || year > 9999 || year < -4713)
        throw OraFailure{
            1841, QStringLiteral("(full) year must be between -4713 and +9999, and not be 0")};
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
