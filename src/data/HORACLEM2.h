// HORACLEM2: a table's storage, columns, indexes, constraints and triggers, an owner's objects, the
// sessions with their current statements, the locks, the tablespaces and their datafiles.
// Every method returns the row count (a single-row method counts every row but copies the first),
// 0 when no row was found (no slot written), or -1 after a database error its handler caught.
// A number argument (GetSessionSql, GetDatafiles) that does not parse raises ConversionError before
// the statement runs.
#pragma once

#include "data/QueryObject.h"

#include <QString>

namespace kolmara::data {

class HORACLEM2 : public QueryObject {
public:
    HORACLEM2() : QueryObject(20) {}

    // A database error shows its message in a box and gives -1.
    int GetLocks();
    int GetTablespaces();
    int GetDatafiles(const QString& tablespaceNumber);

    // A database error passes to the caller.
    int GetTableStorage(const QString& owner, const QString& tableName);
    int GetTableColumns(const QString& owner, const QString& tableName);
    int GetTableIndexes(const QString& owner, const QString& tableName);
    int GetIndexColumnList(const QString& tableOwner, const QString& tableName,
                           const QString& indexName);
    int GetTableConstraints(const QString& owner, const QString& tableName);
    int GetTriggers(const QString& owner);
    int GetObjects(const QString& owner, const QString& objectTypePattern,
                   const QString& statusPattern);
    int GetSessions(const QString& statusPattern);
    int GetSessionSql(const QString& sessionNumber, const QString& serialNumber,
                      const QString& userName);
};

}  // namespace kolmara::data
