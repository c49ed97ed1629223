// The methods of HBACKUST1, each a hand-off of its arguments to its catalogue entry.
#include "data/HBACKUST1.h"

#include "data/Catalogue.h"

namespace kolmara::data {

int HBACKUST1::GetBackupUser(const QString& server, const QString& account)
{
    return run(catalogue::GetBackupUser, {server, account});
}

int HBACKUST1::InsertBackupUser(const QString& server, const QString& account,
                                const QString& password, const QString& userName,
                                const QString& time, const QString& type)
{
    return run(catalogue::InsertBackupUser, {server, account, password, userName, time, type});
}

int HBACKUST1::UpdateBackupUser(const QString& server, const QString& account,
                                const QString& password, const QString& userName,
                                const QString& time, const QString& type)
{
    return run(catalogue::UpdateBackupUser, {server, account, password, userName, time, type});
}

}  // namespace kolmara::data
