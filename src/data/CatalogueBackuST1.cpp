// The catalogue of HBACKUST1 over BACKUSER_TABLE, the accounts registered for the server backup
// job.
#include "data/Catalogue.h"

// clang-format off
namespace kolmara::data::catalogue {

// One registration for the server backup job.
const Entry GetBackupUser{
    .method = "GetBackupUser",
    .argumentCount = 2,
    .shape = Shape::SingleRow,
    .failure = Failure::NoHandler,
    .querySlot = QuerySlot::SharedQuery2,
    .lines = {
        "SELECT /*+ RULE */",
        "      BACKUSER_SERVER  ,",
        "      BACKUSER_ACCOUNT ,",
        "      BACKUSER_PASSWD  ,",
        "      BACKUSER_USERNAME,",
        "      BACKUSER_TIME    ,",
        "      BACKUSER_TYPE    ,",
        "      BACKUSER_MDFDAT",
        "FROM  BACKUSER_TABLE",
        "WHERE BACKUSER_SERVER   = :BACKUSER_SERVER",
        "AND   BACKUSER_ACCOUNT  = :BACKUSER_ACCOUNT",
    },
    .binds = {arg("BACKUSER_SERVER", 0), arg("BACKUSER_ACCOUNT", 1)},
    .reads = {
        text(0, "BACKUSER_SERVER"),
        text(1, "BACKUSER_ACCOUNT"),
        text(2, "BACKUSER_PASSWD"),
        text(3, "BACKUSER_USERNAME"),
        text(4, "BACKUSER_TIME"),
        text(5, "BACKUSER_TYPE"),
        text(6, "BACKUSER_MDFDAT"),
    },
};

// Registers an account; BACKUSER_MDFDAT is the local "now".
const Entry InsertBackupUser{
    .method = "InsertBackupUser",
    .argumentCount = 6,
    .shape = Shape::Write,
    .failure = Failure::SilentHandler,
    .querySlot = QuerySlot::SharedQuery2,
    .lines = {
        "INSERT INTO BACKUSER_TABLE",
        "      (BACKUSER_SERVER   ,",
        "       BACKUSER_ACCOUNT  ,",
        "       BACKUSER_PASSWD   ,",
        "       BACKUSER_USERNAME ,",
        "       BACKUSER_TIME     ,",
        "       BACKUSER_TYPE     ,",
        "       BACKUSER_MDFDAT   )",
        "VALUES (:BACKUSER_SERVER   ,",
        "        :BACKUSER_ACCOUNT  ,",
        "        :BACKUSER_PASSWD   ,",
        "        :BACKUSER_USERNAME ,",
        "        :BACKUSER_TIME     ,",
        "        :BACKUSER_TYPE     ,",
        "        :BACKUSER_MDFDAT   )",
    },
    .binds = {
        arg("BACKUSER_SERVER", 0),
        arg("BACKUSER_ACCOUNT", 1),
        arg("BACKUSER_PASSWD", 2),
        arg("BACKUSER_USERNAME", 3),
        arg("BACKUSER_TIME", 4),
        arg("BACKUSER_TYPE", 5),
        stamp("BACKUSER_MDFDAT"),
    },
    .reads = {},
};

// Changes a registration; BACKUSER_MDFDAT is the local "now".
const Entry UpdateBackupUser{
    .method = "UpdateBackupUser",
    .argumentCount = 6,
    .shape = Shape::Write,
    .failure = Failure::SilentHandler,
    .querySlot = QuerySlot::SharedQuery2,
    .lines = {
        "UPDATE BACKUSER_TABLE",
        "   SET BACKUSER_PASSWD   = :BACKUSER_PASSWD  ,",
        "       BACKUSER_USERNAME = :BACKUSER_USERNAME,",
        "       BACKUSER_TIME     = :BACKUSER_TIME    ,",
        "       BACKUSER_TYPE     = :BACKUSER_TYPE    ,",
        "       BACKUSER_MDFDAT   = :BACKUSER_MDFDAT",
        "WHERE BACKUSER_SERVER   = :BACKUSER_SERVER",
        "AND   BACKUSER_ACCOUNT  = :BACKUSER_ACCOUNT",
    },
    .binds = {
        arg("BACKUSER_SERVER", 0),
        arg("BACKUSER_ACCOUNT", 1),
        arg("BACKUSER_PASSWD", 2),
        arg("BACKUSER_USERNAME", 3),
        arg("BACKUSER_TIME", 4),
        arg("BACKUSER_TYPE", 5),
        stamp("BACKUSER_MDFDAT"),
    },
    .reads = {},
};

}  // namespace kolmara::data::catalogue
// clang-format on
