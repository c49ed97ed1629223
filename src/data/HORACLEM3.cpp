// The methods of HORACLEM3, each a hand-off of its arguments to its catalogue entry.
#include "data/HORACLEM3.h"

#include "data/Catalogue.h"

namespace kolmara::data {

int HORACLEM3::GetElapsedMinutes(const QString& startStamp, const QString& endStamp)
{
    return run(catalogue::GetElapsedMinutes, {startStamp, endStamp});
}

}  // namespace kolmara::data
