// The methods of HORACLEM2, each a hand-off of its arguments to its catalogue entry.
#include "data/HORACLEM2.h"

#include "data/Catalogue.h"

namespace kolmara::data {

int HORACLEM2::GetTableStorage(const QString& owner, const QString& tableName)
{
    return run(catalogue::GetTableStorage, {owner, tableName});
}

int HORACLEM2::GetTableColumns(const QString& owner, const QString& tableName)
{
    return run(catalogue::GetTableColumns, {owner, tableName});
}

int HORACLEM2::GetTableIndexes(const QString& owner, const QString& tableName)
{
    return run(catalogue::GetTableIndexes, {owner, tableName});
}

int HORACLEM2::GetIndexColumnList(const QString& tableOwner, const QString& tableName,
                                  const QString& indexName)
{
    return run(catalogue::GetIndexColumnList, {tableOwner, tableName, indexName});
}

int HORACLEM2::GetTableConstraints(const QString& owner, const QString& tableName)
{
    return run(catalogue::GetTableConstraints, {owner, tableName});
}

int HORACLEM2::GetTriggers(const QString& owner)
{
    return run(catalogue::GetTriggers, {owner});
}

int HORACLEM2::GetObjects(const QString& owner, const QString& objectTypePattern,
                          const QString& statusPattern)
{
    return run(catalogue::GetObjects, {owner, objectTypePattern, statusPattern});
}

int HORACLEM2::GetSessions(const QString& statusPattern)
{
    return run(catalogue::GetSessions, {statusPattern});
}

int HORACLEM2::GetSessionSql(const QString& sessionNumber, const QString& serialNumber,
                             const QString& userName)
{
    return run(catalogue::GetSessionSql, {sessionNumber, serialNumber, userName});
}

int HORACLEM2::GetLocks()
{
    return run(catalogue::GetLocks, {});
}

int HORACLEM2::GetTablespaces()
{
    return run(catalogue::GetTablespaces, {});
}

int HORACLEM2::GetDatafiles(const QString& tablespaceNumber)
{
    return run(catalogue::GetDatafiles, {tablespaceNumber});
}

}  // namespace kolmara::data
