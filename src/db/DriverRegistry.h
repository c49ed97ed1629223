// Picks the driver for a net service name. The section "Embedded Databases" of the settings file
// maps a service name (any letter case) to a database file, relative paths being relative to the
// program folder; such names go to the embedded engine. Every other name goes to the Oracle client
// driver (db/oci), unless a test installed a driver of its own in its place.
#pragma once

#include "db/Driver.h"

#include <functional>

namespace kolmara::db {

// The database file registered for the service name, as an absolute path; empty when none.
QString embeddedDatabaseFile(const QString& server);

// Connects through the driver that serves `server`. Throws DatabaseError.
std::unique_ptr<Connection> openConnection(const QString& server, const QString& user,
                                           const QString& password);

// Puts a driver in the Oracle client driver's place; null restores the Oracle client driver.
void setClientDriver(std::shared_ptr<Driver> driver);

}  // namespace kolmara::db
