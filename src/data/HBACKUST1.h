// HBACKUST1: BACKUSER_TABLE, the accounts registered for the server backup job.
// GetBackupUser returns the row count (it copies the first row), 0 when no row was found (no slot
// written); the writers return 0 after their commit.
#pragma once

#include "data/QueryObject.h"

#include <QString>

namespace kolmara::data {

class HBACKUST1 : public QueryObject {
public:
    HBACKUST1() : QueryObject(7) {}

    // A database error passes to the caller.
    int GetBackupUser(const QString& server, const QString& account);

    // Writers: 0 after the commit; a database error rolls back and gives -1 without a message.
    int InsertBackupUser(const QString& server, const QString& account, const QString& password,
                         const QString& userName, const QString& time, const QString& type);
    int UpdateBackupUser(const QString& server, const QString& account, const QString& password,
                         const QString& userName, const QString& time, const QString& type);
};

}  // namespace kolmara::data
