// The catalogue of HORACLEM3: the server's date arithmetic for the backup job.
#include "data/Catalogue.h"

// clang-format off
namespace kolmara::data::catalogue {

// The minutes between two date-time stamps, computed by the server.
const Entry GetElapsedMinutes{
    .method = "GetElapsedMinutes",
    .argumentCount = 2,
    .shape = Shape::SingleRow,
    .failure = Failure::NoHandler,
    .querySlot = QuerySlot::SharedQuery3,
    .lines = {
        "SELECT /*+ RULE */",
        "TO_CHAR(TO_NUMBER(TO_DATE(:TODATETIME,'YYYYMMDD HH24MISS') -",
        "TO_DATE(:FRDATETIME,'YYYYMMDD HH24MISS')) * 86400 / 60) TIMCNT",
        "FROM DUAL",
    },
    .binds = {arg("FRDATETIME", 0), arg("TODATETIME", 1)},
    .reads = {
        text(0, "TIMCNT"),
    },
};

}  // namespace kolmara::data::catalogue
// clang-format on
