// The backup schedule codes and the lists through which they are picked: a cycle letter (N, D, W,
// M, Y), a two-digit type code within the cycle and a two-digit hour code. The code of a list item
// is its first character (cycle) or its first two characters (type, hour). The table manager's
// backup tab and the backup screen show the same lists.
#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

namespace kolmara::screens {

// "N : 백업안함", "D : 일별백업", "W : 주간백업", "M : 월간백업", "Y : 년간백업".
const QStringList& cycleItems();

// The title shown beside the type list: "안함", "매일", "매주", "매월", "매년"; empty for any
// other letter.
QString cycleTitle(QChar cycle);

// The type list of a cycle ("01 : 일요일" … for W, "01 :  1일" … "31 : 31일" for M); empty for a
// letter outside N, D, W, M, Y.
QStringList typeItems(QChar cycle);

// "01 :  1시" … "24 : 24시".
const QStringList& hourItems();

// A catalogue time stamp "YYYYMMDD HHMMSS" as the schedule panels show it: "YYYY-MM-DD HH:MM:SS".
QString shownCatalogueStamp(const QString& stamp);

}  // namespace kolmara::screens
