// HBACKUPT1: BACKUP_TABLE, the backup schedule of the tables.
// Readers return the row count (GetBackupTable counts every row but copies the first), 0 when no
// row was found (no slot written), or -1 after a database error. Writers return 0 after their
// commit.
#pragma once

#include "data/QueryObject.h"

#include <QString>

namespace kolmara::data {

class HBACKUPT1 : public QueryObject {
public:
    HBACKUPT1() : QueryObject(9) {}

    // A database error gives -1 without a message.
    int GetBackupTable(const QString& server, const QString& account, const QString& tableId);
    int GetBackupTables(const QString& server, const QString& account);
    int GetDueBackups(const QString& server);

    // Writer: 0 after the commit; a database error shows its message in a box, rolls back and
    // gives -1.
    int UpdateBackupTable(const QString& server, const QString& account, const QString& tableId,
                          const QString& tableName, const QString& cycle, const QString& type,
                          const QString& time, const QString& condition, const QString& dateTime);

    // Writers: 0 after the commit; a database error rolls back and gives -1 without a message.
    int InsertBackupTable(const QString& server, const QString& account, const QString& tableId,
                          const QString& tableName, const QString& cycle, const QString& type,
                          const QString& time, const QString& condition, const QString& dateTime);
    int UpdateBackupDateTime(const QString& server, const QString& account, const QString& tableId);
};

}  // namespace kolmara::data
