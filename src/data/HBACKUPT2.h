// HBACKUPT2: BACKLOG_TABLE, the log of completed table dumps.
// GetBackupLog returns the row count, 0 when no row was found (no slot written); InsertBackupLog
// returns 0 after its commit. A count that does not parse raises ConversionError before anything
// is sent.
#pragma once

#include "data/QueryObject.h"

#include <QString>

namespace kolmara::data {

class HBACKUPT2 : public QueryObject {
public:
    HBACKUPT2() : QueryObject(14) {}

    // A database error passes to the caller.
    int GetBackupLog(const QString& server, const QString& account, const QString& fromDate,
                     const QString& toDate);

    // Writers: 0 after the commit; a database error rolls back and gives -1 without a message.
    int InsertBackupLog(const QString& server, const QString& account, const QString& tableId,
                        const QString& startStamp, const QString& endStamp,
                        const QString& tableName, const QString& cycle, const QString& type,
                        const QString& time, const QString& ipName, const QString& condition,
                        const QString& path, const QString& count);
};

}  // namespace kolmara::data
