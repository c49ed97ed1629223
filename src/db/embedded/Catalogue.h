// The engine's catalogue: the kol_* tables that record every object, and the dictionary views
// (ALL_TABLES, DBA_USERS, ...) computed from them, so the dictionary always agrees with the real
// tables. bootstrapCatalogue runs once on a new database file, as SYS.
#pragma once

#include <QString>

namespace kolmara::db::embedded {

class EngineSession;

void bootstrapCatalogue(EngineSession& sys);
// The views made after the seed scripts (the grant views; DICTIONARY filtered by what an account
// may read), so that the objects the scripts create keep their numbers.
void completeCatalogue(EngineSession& sys);

// The 16 hex digits DBA_USERS.PASSWORD shows, also what a login is checked against.
QString passwordHash(const QString& user, const QString& password);

}  // namespace kolmara::db::embedded
