// The SQL functions and the collation that query translation relies on beyond Oracle's value
// functions: the checks that turn a wrong row into Oracle's error (a subquery of several rows, a
// CONNECT BY loop), ROWNUM limits, CAST, TRIM with a trim character, GREATEST/LEAST with the first
// argument's datatype, and the blank-padded comparison of CHAR values.
#pragma once

#include <QString>

struct sqlite3;

namespace kolmara::db::embedded {

class EngineSession;

void registerQueryFunctions(sqlite3* db, EngineSession* session);

// How many rows a condition "ROWNUM op value" lets through, ROWNUM counting only the rows that
// passed: "<" 5 gives 4, "=" 2 gives none (the first row would be 1 and fails, and so does every
// row after it). kNoRowLimit when the condition limits nothing.
inline constexpr qint64 kNoRowLimit = 9223372036854775807LL;
qint64 rownumLimit(const QString& op, double value);

// The name of the blank-padded collation: trailing blanks do not count ('a ' = 'a').
inline constexpr const char* kBlankPaddedCollation = "ora_pad";

}  // namespace kolmara::db::embedded
