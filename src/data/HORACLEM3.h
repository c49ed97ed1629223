// HORACLEM3: the server's date arithmetic for the server backup job.
// Every method returns the row count (a single-row method counts every row but copies the first),
// 0 when no row was found (no slot written), or -1 after a database error its handler caught.
#pragma once

#include "data/QueryObject.h"

#include <QString>

namespace kolmara::data {

class HORACLEM3 : public QueryObject {
public:
    HORACLEM3() : QueryObject(20) {}

    // A database error passes to the caller.
    int GetElapsedMinutes(const QString& startStamp, const QString& endStamp);
};

}  // namespace kolmara::data
