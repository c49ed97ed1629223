// The driver that serves a service name registered under "Embedded Databases": each connection
// is one engine session on the registered database file.
#pragma once

#include "db/Driver.h"

namespace kolmara::db::embedded {

class EmbeddedDriver : public Driver {
public:
    explicit EmbeddedDriver(QString file) : m_file(std::move(file)) {}
    std::unique_ptr<Connection> connect(const QString& server, const QString& user,
                                        const QString& password) override;

private:
    QString m_file;
};

}  // namespace kolmara::db::embedded
