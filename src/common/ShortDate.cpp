// Short date parsing.
#include "common/ShortDate.h"

#include "common/Errors.h"

#include <QLocale>
#include <QRegularExpression>

namespace kolmara {

QString shortDateFormat()
{
    return QLocale::system().dateFormat(QLocale::ShortFormat);
}

QDate StrToDate(const QString& text)
{
    auto fail = [&]() -> QDate {
        throw ConversionError(QStringLiteral("'%1' is not a valid date").arg(text));
    };
    static const QRegularExpression fieldsPattern(
        QStringLiteral("^\\s*(\\d+)\\D+(\\d+)\\D+(\\d+)\\D*$"));
    const auto match = fieldsPattern.match(text);
    if (!match.hasMatch())
        return fail();

    // The order of the year, month and day fields in the format.
    const QString format = shortDateFormat();
    const qsizetype y = format.indexOf(QLatin1Char('y'));
    const qsizetype m = format.indexOf(QLatin1Char('M'));
    const qsizetype d = format.indexOf(QLatin1Char('d'));
    if (y < 0 || m < 0 || d < 0)
        return fail();
    QList<QPair<qsizetype, QChar>> order = {
        {y, QLatin1Char('y')}, {m, QLatin1Char('M')}, {d, QLatin1Char('d')}};
    std::sort(order.begin(), order.end());

    int year = 0, month = 0, day = 0;
    for (int i = 0; i < 3; ++i) {
        const QString field = match.captured(i + 1);
        const int value = field.toInt();
        switch (order[i].second.unicode()) {
        case 'y':
            year = value;
            if (field.size() <= 2) {
                const int current = QDate::currentDate().year();
                year += current - current % 100;
                if (year > current + 50)
                    year -= 100;
            }
            break;
        case 'M': month = value; break;
        default: day = value; break;
        }
    }
    const QDate date(year, month, day);
    if (!date.isValid())
        return fail();
    return date;
}

}  // namespace kolmara
