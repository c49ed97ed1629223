// Dates in the PC's short date format, read the lenient way the settings dialog always read them:
// three numbers in the order the format gives (year, month, day or another order), separated by
// anything that is not a digit; a two-digit year is taken in the current century window.
#pragma once

#include <QDate>
#include <QString>

namespace kolmara {

// The PC's short date format (Qt notation, e.g. "yyyy-MM-dd").
QString shortDateFormat();

// The date the text gives in the short date format's field order. Throws ConversionError
// ("'x' is not a valid date") for anything else, an empty text included.
QDate StrToDate(const QString& text);

}  // namespace kolmara
