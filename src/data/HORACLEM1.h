// HORACLEM1: the instance, storage, single-object, table-list and user queries, the server date
// and account list the connection reads, and ExecSql, the free statement runner of the session
// and tablespace screens.
// Every method returns the row count (a single-row method counts every row but copies the first),
// 0 when no row was found (no slot written), or -1 after a database error its handler caught.
// A number argument (GetTablespaceUsage, GetDatafileName) that does not parse raises
// ConversionError before the statement runs.
#pragma once

#include "data/QueryObject.h"

#include <QString>

namespace kolmara::data {

class HORACLEM1 : public QueryObject {
public:
    HORACLEM1() : QueryObject(20) {}

    // Runs Line1 and Line2 as the two lines of one statement that returns no rows, without a
    // commit. 0 on success; a database error shows its message in a box and gives -1.
    int ExecSql(const QString& Line1, const QString& Line2);

    // A database error shows its message in a box and gives -1.
    int GetUniqueIndexColumn(const QString& owner, const QString& tableName,
                             const QString& columnName);
    // The rows of GetUniqueIndexColumn for every column of the table at once.
    int GetUniqueIndexColumns(const QString& owner, const QString& tableName);
    int GetTablespaceUsage(const QString& tablespaceName, const QString& tablespaceNumber);
    int GetFileFreeSpace(const QString& fileNumber);

    // A database error gives -1 without a message.
    int GetSegmentFileId(const QString& owner, const QString& segmentName);
    int GetSga();
    int GetSgaStat();
    int GetTableList(const QString& owner, const QString& tableTypePattern);

    // A database error passes to the caller.
    int GetServerDate();
    int GetUsers();
    int GetConstraintType(const QString& owner, const QString& tableName,
                          const QString& constraintName);
    int GetColumnInfo(const QString& owner, const QString& tableName, const QString& columnName);
    int GetTriggerBody(const QString& owner, const QString& triggerName);
    int GetObjectStatus(const QString& owner, const QString& objectName, const QString& objectType);
    int GetSynonym(const QString& owner, const QString& synonymName);
    int GetSequence(const QString& sequenceOwner, const QString& sequenceName);
    int GetVersion();
    int GetDictionary();
    int GetDictColumns(const QString& viewName);
    int GetTableTablespaces(const QString& owner);
    int GetIndexTablespaces(const QString& owner);
    int GetParameters();
    int GetNlsParameters();
    int GetResourceLimits();
    int GetDatafileName(const QString& fileNumber);
    int GetIndexColumns(const QString& owner, const QString& tableName);
    int GetTablesInTablespace(const QString& owner, const QString& tablespaceName);
    int GetRollbackSegments();
    int GetDbaUsers();
};

}  // namespace kolmara::data
