// The methods of HBACKUPT2, each a hand-off of its arguments to its catalogue entry.
#include "data/HBACKUPT2.h"

#include "data/Catalogue.h"

namespace kolmara::data {

int HBACKUPT2::GetBackupLog(const QString& server, const QString& account, const QString& fromDate,
                            const QString& toDate)
{
    return run(catalogue::GetBackupLog, {server, account, fromDate, toDate});
}

int HBACKUPT2::InsertBackupLog(const QString& server, const QString& account,
                               const QString& tableId, const QString& startStamp,
                               const QString& endStamp, const QString& tableName,
                               const QString& cycle, const QString& type, const QString& time,
                               const QString& ipName, const QString& condition, const QString& path,
                               const QString& count)
{
    return run(catalogue::InsertBackupLog,
               {server, account, tableId, startStamp, endStamp, tableName, cycle, type, time,
                ipName, condition, path, count});
}

}  // namespace kolmara::data
