// Every query method of every class, by its name, for tables of cases that call methods by name.
// The objects are the module-level variables (Oraclem1 ... Backust1); createObjects() makes fresh
// ones.
#pragma once

#include "data/QueryObject.h"
#include "data/SharedSlots.h"

#include <QHash>
#include <QStringList>

#include <functional>

namespace kolmara::test {

struct MethodCall {
    data::QueryObject* object;
    std::function<int(const QStringList&)> call;
};

inline void createObjects()
{
    Oraclem1 = std::make_unique<data::HORACLEM1>();
    Oraclem2 = std::make_unique<data::HORACLEM2>();
    Oraclem3 = std::make_unique<data::HORACLEM3>();
    Backupt1 = std::make_unique<data::HBACKUPT1>();
    Backupt2 = std::make_unique<data::HBACKUPT2>();
    Backust1 = std::make_unique<data::HBACKUST1>();
}

// The methods over the objects that exist now.
// clang-format off
#define QUERY_METHOD(object, name, ...) \
    {QStringLiteral(#name), MethodCall{object.get(), [](const QStringList& a) { \
        Q_UNUSED(a); \
        return object->name(__VA_ARGS__); \
    }}}
inline QHash<QString, MethodCall> methods()
{
    return {
        QUERY_METHOD(Oraclem1, GetUniqueIndexColumn, a[0], a[1], a[2]),
        QUERY_METHOD(Oraclem1, GetUniqueIndexColumns, a[0], a[1]),
        QUERY_METHOD(Oraclem1, GetTablespaceUsage, a[0], a[1]),
        QUERY_METHOD(Oraclem1, GetFileFreeSpace, a[0]),
        QUERY_METHOD(Oraclem1, GetSegmentFileId, a[0], a[1]),
        QUERY_METHOD(Oraclem1, GetSga),
        QUERY_METHOD(Oraclem1, GetSgaStat),
        QUERY_METHOD(Oraclem1, GetTableList, a[0], a[1]),
        QUERY_METHOD(Oraclem1, GetServerDate),
        QUERY_METHOD(Oraclem1, GetUsers),
        QUERY_METHOD(Oraclem1, GetConstraintType, a[0], a[1], a[2]),
        QUERY_METHOD(Oraclem1, GetColumnInfo, a[0], a[1], a[2]),
        QUERY_METHOD(Oraclem1, GetTriggerBody, a[0], a[1]),
        QUERY_METHOD(Oraclem1, GetObjectStatus, a[0], a[1], a[2]),
        QUERY_METHOD(Oraclem1, GetSynonym, a[0], a[1]),
        QUERY_METHOD(Oraclem1, GetSequence, a[0], a[1]),
        QUERY_METHOD(Oraclem1, GetVersion),
        QUERY_METHOD(Oraclem1, GetDictionary),
        QUERY_METHOD(Oraclem1, GetDictColumns, a[0]),
        QUERY_METHOD(Oraclem1, GetTableTablespaces, a[0]),
        QUERY_METHOD(Oraclem1, GetIndexTablespaces, a[0]),
        QUERY_METHOD(Oraclem1, GetParameters),
        QUERY_METHOD(Oraclem1, GetNlsParameters),
        QUERY_METHOD(Oraclem1, GetResourceLimits),
        QUERY_METHOD(Oraclem1, GetDatafileName, a[0]),
        QUERY_METHOD(Oraclem1, GetIndexColumns, a[0], a[1]),
        QUERY_METHOD(Oraclem1, GetTablesInTablespace, a[0], a[1]),
        QUERY_METHOD(Oraclem1, GetRollbackSegments),
        QUERY_METHOD(Oraclem1, GetDbaUsers),
        QUERY_METHOD(Oraclem2, GetLocks),
        QUERY_METHOD(Oraclem2, GetTablespaces),
        QUERY_METHOD(Oraclem2, GetDatafiles, a[0]),
        QUERY_METHOD(Oraclem2, GetTableStorage, a[0], a[1]),
        QUERY_METHOD(Oraclem2, GetTableColumns, a[0], a[1]),
        QUERY_METHOD(Oraclem2, GetTableIndexes, a[0], a[1]),
        QUERY_METHOD(Oraclem2, GetIndexColumnList, a[0], a[1], a[2]),
        QUERY_METHOD(Oraclem2, GetTableConstraints, a[0], a[1]),
        QUERY_METHOD(Oraclem2, GetTriggers, a[0]),
        QUERY_METHOD(Oraclem2, GetObjects, a[0], a[1], a[2]),
        QUERY_METHOD(Oraclem2, GetSessions, a[0]),
        QUERY_METHOD(Oraclem2, GetSessionSql, a[0], a[1], a[2]),
        QUERY_METHOD(Oraclem3, GetElapsedMinutes, a[0], a[1]),
        QUERY_METHOD(Backupt1, GetBackupTable, a[0], a[1], a[2]),
        QUERY_METHOD(Backupt1, GetBackupTables, a[0], a[1]),
        QUERY_METHOD(Backupt1, GetDueBackups, a[0]),
        QUERY_METHOD(Backupt1, UpdateBackupTable, a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7],
                     a[8]),
        QUERY_METHOD(Backupt1, InsertBackupTable, a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7],
                     a[8]),
        QUERY_METHOD(Backupt1, UpdateBackupDateTime, a[0], a[1], a[2]),
        QUERY_METHOD(Backupt2, GetBackupLog, a[0], a[1], a[2], a[3]),
        QUERY_METHOD(Backupt2, InsertBackupLog, a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7],
                     a[8], a[9], a[10], a[11], a[12]),
        QUERY_METHOD(Backust1, GetBackupUser, a[0], a[1]),
        QUERY_METHOD(Backust1, InsertBackupUser, a[0], a[1], a[2], a[3], a[4], a[5]),
        QUERY_METHOD(Backust1, UpdateBackupUser, a[0], a[1], a[2], a[3], a[4], a[5]),
    };
}
// clang-format on
#undef QUERY_METHOD

// Calls the method of that name with the arguments in order.
inline int call(const QString& method, const QStringList& arguments = {})
{
    return methods().value(method).call(arguments);
}

inline data::QueryObject& objectOf(const QString& method)
{
    return *methods().value(method).object;
}

}  // namespace kolmara::test
