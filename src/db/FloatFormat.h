// The general floating-point text form in which the query objects store a value read "as number":
// at most 15 significant digits, no thousands separators, '.' as decimal separator, scientific
// notation only for more than 15 digits before the point or a magnitude below 0.00001.
#pragma once

#include <QString>

namespace kolmara::db {

QString formatGeneralFloat(double value);

}  // namespace kolmara::db
