// Picks the driver for a net service name. The section "Embedded Databases" of the settings file
// maps a service name (any letter case) to a database file, relative paths being relative to the
// program folder; such names go to the embedded engine. Every other name goes to the Oracle client
// driver, which fails with ORA-12154 until one is installed.
#pragma once

#include "db/Driver.h"

#include <functional>

namespace kolmara::db {

// The database file registered for the service name, as an absolute path; empty when none.
QString embeddedDatabaseFile(const QString& server);

// Connects through the driver that serves `server`. Throws DatabaseError.
std::unique_ptr<Connection> openConnection(const QString& server, const QString& user,
                                           const QString& password);

// The Oracle client driver is installed here when one exists; null restores the default.
void setClientDriver(std::shared_ptr<Driver> driver);

}  // namespace kolmara::db
