// The backup schedule code lists.
#include "screens/BackupCodes.h"

namespace kolmara::screens {

namespace {

// "07 :  7" + unit: the two-digit code, " : ", the number right-aligned in two characters.
QString numberedItem(int n, const QString& unit)
{
    return QStringLiteral("%1 : %2").arg(n, 2, 10, QLatin1Char('0')).arg(n, 2) + unit;
}

}  // namespace

const QStringList& cycleItems()
{
    static const QStringList items = {QStringLiteral("N : 백업안함"), QStringLiteral("D : 일별백업"),
                                      QStringLiteral("W : 주간백업"), QStringLiteral("M : 월간백업"),
                                      QStringLiteral("Y : 년간백업")};
    return items;
}

QString cycleTitle(QChar cycle)
{
    switch (cycle.unicode()) {
    case 'N':
        return QStringLiteral("안함");
    case 'D':
        return QStringLiteral("매일");
    case 'W':
        return QStringLiteral("매주");
    case 'M':
        return QStringLiteral("매월");
    case 'Y':
        return QStringLiteral("매년");
    default:
        return {};
    }
}

QStringList typeItems(QChar cycle)
{
    QStringList items;
    switch (cycle.unicode()) {
    case 'N':
        items << QStringLiteral("01 : 백업안함");
        break;
    case 'D':
        items << QStringLiteral("01 : 매일");
        break;
    case 'W':
        items << QStringLiteral("01 : 일요일") << QStringLiteral("02 : 월요일")
              << QStringLiteral("03 : 화요일") << QStringLiteral("04 : 수요일")
              << QStringLiteral("05 : 목요일") << QStringLiteral("06 : 금요일")
              << QStringLiteral("07 : 토요일");
        break;
    case 'M':
        for (int day = 1; day <= 31; ++day)
            items << numberedItem(day, QStringLiteral("일"));
        break;
    case 'Y':
        for (int month = 1; month <= 12; ++month)
            items << numberedItem(month, QStringLiteral("월 1일"));
        break;
    default:
        break;
    }
    return items;
}

const QStringList& hourItems()
{
    static const QStringList items = [] {
        QStringList list;
        for (int hour = 1; hour <= 24; ++hour)
            list << numberedItem(hour, QStringLiteral("시"));
        return list;
    }();
    return items;
}

QString shownCatalogueStamp(const QString& stamp)
{
    return stamp.mid(0, 4) + QLatin1Char('-') + stamp.mid(4, 2) + QLatin1Char('-') +
           stamp.mid(6, 2) + QLatin1Char(' ') + stamp.mid(9, 2) + QLatin1Char(':') +
           stamp.mid(11, 2) + QLatin1Char(':') + stamp.mid(13, 2);
}

}  // namespace kolmara::screens
