// The methods of HORACLEM1, each a hand-off of its arguments to its catalogue entry.
#include "data/HORACLEM1.h"

#include "data/Catalogue.h"

#include "data/QueryRunner.h"

namespace kolmara::data {

int HORACLEM1::ExecSql(const QString& Line1, const QString& Line2)
{
    return QueryRunner::execSql(Line1, Line2);
}

int HORACLEM1::GetServerDate()
{
    return run(catalogue::GetServerDate, {});
}

int HORACLEM1::GetUsers()
{
    return run(catalogue::GetUsers, {});
}

int HORACLEM1::GetUniqueIndexColumn(const QString& owner, const QString& tableName,
                                    const QString& columnName)
{
    return run(catalogue::GetUniqueIndexColumn, {owner, tableName, columnName});
}

int HORACLEM1::GetUniqueIndexColumns(const QString& owner, const QString& tableName)
{
    return run(catalogue::GetUniqueIndexColumns, {owner, tableName});
}

int HORACLEM1::GetConstraintType(const QString& owner, const QString& tableName,
                                 const QString& constraintName)
{
    return run(catalogue::GetConstraintType, {owner, tableName, constraintName});
}

int HORACLEM1::GetColumnInfo(const QString& owner, const QString& tableName,
                             const QString& columnName)
{
    return run(catalogue::GetColumnInfo, {owner, tableName, columnName});
}

int HORACLEM1::GetTriggerBody(const QString& owner, const QString& triggerName)
{
    return run(catalogue::GetTriggerBody, {owner, triggerName});
}

int HORACLEM1::GetSegmentFileId(const QString& owner, const QString& segmentName)
{
    return run(catalogue::GetSegmentFileId, {owner, segmentName});
}

int HORACLEM1::GetObjectStatus(const QString& owner, const QString& objectName,
                               const QString& objectType)
{
    return run(catalogue::GetObjectStatus, {owner, objectName, objectType});
}

int HORACLEM1::GetSynonym(const QString& owner, const QString& synonymName)
{
    return run(catalogue::GetSynonym, {owner, synonymName});
}

int HORACLEM1::GetSequence(const QString& sequenceOwner, const QString& sequenceName)
{
    return run(catalogue::GetSequence, {sequenceOwner, sequenceName});
}

int HORACLEM1::GetTablespaceUsage(const QString& tablespaceName, const QString& tablespaceNumber)
{
    return run(catalogue::GetTablespaceUsage, {tablespaceName, tablespaceNumber});
}

int HORACLEM1::GetFileFreeSpace(const QString& fileNumber)
{
    return run(catalogue::GetFileFreeSpace, {fileNumber});
}

int HORACLEM1::GetVersion()
{
    return run(catalogue::GetVersion, {});
}

int HORACLEM1::GetDictionary()
{
    return run(catalogue::GetDictionary, {});
}

int HORACLEM1::GetDictColumns(const QString& viewName)
{
    return run(catalogue::GetDictColumns, {viewName});
}

int HORACLEM1::GetTableTablespaces(const QString& owner)
{
    return run(catalogue::GetTableTablespaces, {owner});
}

int HORACLEM1::GetIndexTablespaces(const QString& owner)
{
    return run(catalogue::GetIndexTablespaces, {owner});
}

int HORACLEM1::GetSga()
{
    return run(catalogue::GetSga, {});
}

int HORACLEM1::GetSgaStat()
{
    return run(catalogue::GetSgaStat, {});
}

int HORACLEM1::GetParameters()
{
    return run(catalogue::GetParameters, {});
}

int HORACLEM1::GetNlsParameters()
{
    return run(catalogue::GetNlsParameters, {});
}

int HORACLEM1::GetResourceLimits()
{
    return run(catalogue::GetResourceLimits, {});
}

int HORACLEM1::GetTableList(const QString& owner, const QString& tableTypePattern)
{
    return run(catalogue::GetTableList, {owner, tableTypePattern});
}

int HORACLEM1::GetDatafileName(const QString& fileNumber)
{
    return run(catalogue::GetDatafileName, {fileNumber});
}

int HORACLEM1::GetIndexColumns(const QString& owner, const QString& tableName)
{
    return run(catalogue::GetIndexColumns, {owner, tableName});
}

int HORACLEM1::GetTablesInTablespace(const QString& owner, const QString& tablespaceName)
{
    return run(catalogue::GetTablesInTablespace, {owner, tablespaceName});
}

int HORACLEM1::GetRollbackSegments()
{
    return run(catalogue::GetRollbackSegments, {});
}

int HORACLEM1::GetDbaUsers()
{
    return run(catalogue::GetDbaUsers, {});
}

}  // namespace kolmara::data
