// Oracle DATE values for the embedded engine: the stored date text, day arithmetic, and ROUND
// and TRUNC of a date to a format element's unit. Format models and day and month names are in
// OraDateFormat.cpp.
#include "db/embedded/OraValues.h"

namespace kolmara::db::embedded {

std::optional<QDateTime> parseDateText(const QString& text)
{
    if (text.size() != 19 || text[4] != QLatin1Char('-') || text[7] != QLatin1Char('-') ||
        text[10] != QLatin1Char(' ') || text[13] != QLatin1Char(':') ||
        text[16] != QLatin1Char(':'))
        return std::nullopt;
    // Every text value a query returns passes here: the digits are read in place.
    const char16_t* c = reinterpret_cast<const char16_t*>(text.constData());
    int digits[19] = {};
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9, 11, 12, 14, 15, 17, 18}) {
        if (c[i] < u'0' || c[i] > u'9')
            return std::nullopt;
        digits[i] = c[i] - u'0';
    }
    auto two = [&digits](int at) { return digits[at] * 10 + digits[at + 1]; };
    const QDate date(two(0) * 100 + two(2), two(5), two(8));
    const QTime time(two(11), two(14), two(17));
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

// The first day of the ISO year of that number: the Monday of the week that holds 4 January.
QDate isoYearStart(int year)
{
    const QDate fourth(year, 1, 4);
    return fourth.addDays(1 - fourth.dayOfWeek());
}

QDateTime atMidnight(const QDate& d)
{
    return QDateTime(d, QTime(0, 0), Qt::UTC);
}

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
    if (f.isEmpty() || f == QLatin1String("DD") || f == QLatin1String("DDD") ||
        f == QLatin1String("J")) {
        start = day;
        next = day.addDays(1);
        up = t.hour() >= 12;
    } else if (f == QLatin1String("CC") || f == QLatin1String("SCC")) {
        const int first = (d.year() - 1) / 100 * 100 + 1;
        start = atMidnight(QDate(first, 1, 1));
        next = atMidnight(QDate(first + 100, 1, 1));
        up = d.year() - first >= 50;
    } else if (f == QLatin1String("SYYYY") || f == QLatin1String("YYYY") ||
               f == QLatin1String("YEAR") || f == QLatin1String("SYEAR") ||
               f == QLatin1String("YYY") || f == QLatin1String("YY") || f == QLatin1String("Y")) {
        start = atMidnight(QDate(d.year(), 1, 1));
        next = atMidnight(QDate(d.year() + 1, 1, 1));
        up = d.month() >= 7;
    } else if (f == QLatin1String("IYYY") || f == QLatin1String("IYY") ||
               f == QLatin1String("IY") || f == QLatin1String("I")) {
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
    } else if (f == QLatin1String("MONTH") || f == QLatin1String("MON") ||
               f == QLatin1String("MM") || f == QLatin1String("RM")) {
        start = atMidnight(QDate(d.year(), d.month(), 1));
        next = start.addMonths(1);
        up = d.day() >= 16;
    } else if (f == QLatin1String("WW") || f == QLatin1String("IW") || f == QLatin1String("W") ||
               f == QLatin1String("DAY") || f == QLatin1String("DY") || f == QLatin1String("D")) {
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
    } else if (f == QLatin1String("HH") || f == QLatin1String("HH12") ||
               f == QLatin1String("HH24")) {
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

}  // namespace kolmara::db::embedded
