// What the engine session's own source files share: the wait for the file's write lock, the
// quoting of a storage name, the binding of an argument, and the database file's opening and
// creation (EngineFile.cpp). Include it only from those files.
#pragma once

#include "db/DatabaseError.h"

#include <QString>
#include <QVariant>

#include <optional>

struct sqlite3;
struct sqlite3_stmt;

namespace kolmara::db::embedded {

// How long a write waits for another session's open transaction before ORA-00054. The file has
// one write lock, so two programs saving catalogue rows, or a DBA's window and the backup job,
// take turns on it: every real write of the other side (a catalogue row, a logon, a script of
// the worksheet on a slow disk) ends well within this; only a transaction left open, uncommitted
// in a worksheet, holds it longer.
inline constexpr int kBusyTimeoutMs = 30000;

inline QString quoteIdent(const QString& name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\""))
           + QLatin1Char('"');
}

// Binds a value as SQLite keeps it: integers and reals as numbers, anything else as text.
void bindVariant(sqlite3_stmt* st, int index, const QVariant& v);

// Opens a database file of this engine's format, refusing anything else with a message naming
// the file (see EngineFile.cpp); `create` makes a new, empty file.
sqlite3* openFile(const QString& file, bool create);
// Builds a missing database file: the catalogue and the seed scripts, published in one step.
void createDatabase(const QString& file);
// The error of a database file SQLite could not read or write, naming the file; nothing for an
// error of the statement itself. `detail` is what SQLite or the system said.
std::optional<DatabaseError> fileProblem(int rc, const QString& file, const QString& detail);

}  // namespace kolmara::db::embedded
