// The methods of HBACKUPT1, each a hand-off of its arguments to its catalogue entry.
#include "data/HBACKUPT1.h"

#include "data/Catalogue.h"

namespace kolmara::data {

int HBACKUPT1::GetBackupTable(const QString& server, const QString& account, const QString& tableId)
{
    return run(catalogue::GetBackupTable, {server, account, tableId});
}

int HBACKUPT1::GetBackupTables(const QString& server, const QString& account)
{
    return run(catalogue::GetBackupTables, {server, account});
}

int HBACKUPT1::GetDueBackups(const QString& server)
{
    return run(catalogue::GetDueBackups, {server});
}

int HBACKUPT1::InsertBackupTable(const QString& server, const QString& account,
                                 const QString& tableId, const QString& tableName,
                                 const QString& cycle, const QString& type, const QString& time,
                                 const QString& condition, const QString& dateTime)
{
    return run(catalogue::InsertBackupTable,
               {server, account, tableId, tableName, cycle, type, time, condition, dateTime});
}

int HBACKUPT1::UpdateBackupTable(const QString& server, const QString& account,
                                 const QString& tableId, const QString& tableName,
                                 const QString& cycle, const QString& type, const QString& time,
                                 const QString& condition, const QString& dateTime)
{
    return run(catalogue::UpdateBackupTable,
               {server, account, tableId, tableName, cycle, type, time, condition, dateTime});
}

int HBACKUPT1::UpdateBackupDateTime(const QString& server, const QString& account,
                                    const QString& tableId)
{
    return run(catalogue::UpdateBackupDateTime, {server, account, tableId});
}

}  // namespace kolmara::data
