// The index of the whole catalogue, for checks that walk every entry.
#include "data/Catalogue.h"

namespace kolmara::data::catalogue {

std::vector<const Entry*> all()
{
    return {
        &GetServerDate,        &GetUsers,
        &GetUniqueIndexColumn, &GetConstraintType,
        &GetUniqueIndexColumns,
        &GetColumnInfo,        &GetTriggerBody,
        &GetSegmentFileId,     &GetObjectStatus,
        &GetSynonym,           &GetSequence,
        &GetTablespaceUsage,   &GetFileFreeSpace,
        &GetVersion,           &GetDictionary,
        &GetDictColumns,       &GetTableTablespaces,
        &GetIndexTablespaces,  &GetSga,
        &GetSgaStat,           &GetParameters,
        &GetNlsParameters,     &GetResourceLimits,
        &GetTableList,         &GetDatafileName,
        &GetIndexColumns,      &GetTablesInTablespace,
        &GetRollbackSegments,  &GetDbaUsers,
        &GetTableStorage,      &GetTableColumns,
        &GetTableIndexes,      &GetIndexColumnList,
        &GetTableConstraints,  &GetTriggers,
        &GetObjects,           &GetSessions,
        &GetSessionSql,        &GetLocks,
        &GetTablespaces,       &GetDatafiles,
        &GetElapsedMinutes,    &GetBackupTable,
        &GetBackupTables,      &GetDueBackups,
        &InsertBackupTable,    &UpdateBackupTable,
        &UpdateBackupDateTime, &GetBackupLog,
        &InsertBackupLog,      &GetBackupUser,
        &InsertBackupUser,     &UpdateBackupUser,
    };
}

}  // namespace kolmara::data::catalogue
