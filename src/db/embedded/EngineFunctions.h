// The SQL functions the translator emits (ora_*), registered on each engine connection.
#pragma once

#include <QString>

struct sqlite3;

namespace kolmara::db::embedded {

class EngineSession;

void registerEngineFunctions(sqlite3* db, EngineSession* session);

// Byte length of text in the database character set (Korean code page: two bytes per
// non-ASCII character); column widths are checked in bytes.
int databaseByteLength(const QString& text);

}  // namespace kolmara::db::embedded
