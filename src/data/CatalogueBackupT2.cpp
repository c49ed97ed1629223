// The catalogue of HBACKUPT2 over BACKLOG_TABLE, the backup log: rows are read by date range and
// only ever inserted.
#include "data/Catalogue.h"

// clang-format off
namespace kolmara::data::catalogue {

// The log rows of one account whose start stamp lies within whole days, newest first; USETIME
// is the run time in whole minutes.
const Entry GetBackupLog{
    .method = "GetBackupLog",
    .argumentCount = 4,
    .shape = Shape::RowArrays,
    .failure = Failure::NoHandler,
    .querySlot = QuerySlot::SharedQuery2,
    .lines = {
        "SELECT /*+ RULE */",
        "      BACKLOG_SERVER   ,",
        "      BACKLOG_ACCOUNT  ,",
        "      BACKLOG_TABLEID  ,",
        "      BACKLOG_SDATETIME,",
        "      BACKLOG_EDATETIME,",
        "      BACKLOG_TABLENAME,",
        "      BACKLOG_CYCLE    ,",
        "      BACKLOG_TYPE     ,",
        "      BACKLOG_TIME     ,",
        "      BACKLOG_IPNAME   ,",
        "      BACKLOG_CONDISION,",
        "      BACKLOG_PATH     ,",
        "      BACKLOG_COUNT    ,",
        "TO_CHAR(ROUND(TO_NUMBER(TO_DATE(BACKLOG_EDATETIME,'YYYYMMDD HH24MISS') -",
        "              TO_DATE(BACKLOG_SDATETIME,'YYYYMMDD HH24MISS')) * 86400 / 60)) USETIME",
        "FROM  BACKLOG_TABLE",
        "WHERE BACKLOG_SERVER     = :BACKLOG_SERVER",
        "AND   BACKLOG_ACCOUNT    = :BACKLOG_ACCOUNT",
        "AND   BACKLOG_SDATETIME >= :BACKLOG_FRDATE",
        "AND   BACKLOG_SDATETIME <= :BACKLOG_TODATE",
        "ORDER BY BACKLOG_SDATETIME DESC",
    },
    .binds = {
        arg("BACKLOG_SERVER", 0),
        arg("BACKLOG_ACCOUNT", 1),
        argPlus("BACKLOG_FRDATE", 2, " 000000"),
        argPlus("BACKLOG_TODATE", 3, " 235959"),
    },
    .reads = {
        text(0, "BACKLOG_SERVER"),
        text(1, "BACKLOG_ACCOUNT"),
        text(2, "BACKLOG_TABLEID"),
        text(3, "BACKLOG_SDATETIME"),
        text(4, "BACKLOG_EDATETIME"),
        text(5, "BACKLOG_TABLENAME"),
        text(6, "BACKLOG_CYCLE"),
        text(7, "BACKLOG_TYPE"),
        text(8, "BACKLOG_TIME"),
        text(9, "BACKLOG_IPNAME"),
        text(10, "BACKLOG_CONDISION"),
        text(11, "BACKLOG_PATH"),
        number(12, "BACKLOG_COUNT"),
        number(13, "USETIME"),
    },
};

// Logs one completed dump.
const Entry InsertBackupLog{
    .method = "InsertBackupLog",
    .argumentCount = 13,
    .shape = Shape::Write,
    .failure = Failure::SilentHandler,
    .querySlot = QuerySlot::SharedQuery2,
    .lines = {
        "INSERT INTO BACKLOG_TABLE",
        "      (BACKLOG_SERVER   ,",
        "       BACKLOG_ACCOUNT  ,",
        "       BACKLOG_TABLEID  ,",
        "       BACKLOG_SDATETIME,",
        "       BACKLOG_EDATETIME,",
        "       BACKLOG_TABLENAME,",
        "       BACKLOG_CYCLE    ,",
        "       BACKLOG_TYPE     ,",
        "       BACKLOG_TIME     ,",
        "       BACKLOG_IPNAME   ,",
        "       BACKLOG_CONDISION,",
        "       BACKLOG_PATH     ,",
        "       BACKLOG_COUNT    )",
        "VALUES (:BACKLOG_SERVER   ,",
        "        :BACKLOG_ACCOUNT  ,",
        "        :BACKLOG_TABLEID  ,",
        "        :BACKLOG_SDATETIME,",
        "        :BACKLOG_EDATETIME,",
        "        :BACKLOG_TABLENAME,",
        "        :BACKLOG_CYCLE    ,",
        "        :BACKLOG_TYPE     ,",
        "        :BACKLOG_TIME     ,",
        "        :BACKLOG_IPNAME   ,",
        "        :BACKLOG_CONDISION,",
        "        :BACKLOG_PATH     ,",
        "        :BACKLOG_COUNT    )",
    },
    .binds = {
        arg("BACKLOG_SERVER", 0),
        arg("BACKLOG_ACCOUNT", 1),
        arg("BACKLOG_TABLEID", 2),
        arg("BACKLOG_SDATETIME", 3),
        arg("BACKLOG_EDATETIME", 4),
        arg("BACKLOG_TABLENAME", 5),
        arg("BACKLOG_CYCLE", 6),
        arg("BACKLOG_TYPE", 7),
        arg("BACKLOG_TIME", 8),
        arg("BACKLOG_IPNAME", 9),
        arg("BACKLOG_CONDISION", 10),
        arg("BACKLOG_PATH", 11),
        numArg("BACKLOG_COUNT", 12),
    },
    .reads = {},
};

}  // namespace kolmara::data::catalogue
// clang-format on
