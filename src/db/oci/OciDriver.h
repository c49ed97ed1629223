// The Oracle client driver: real databases through the Oracle Call Interface of the client
// installed on the PC, loaded when the first connection needs it (OciLibrary). Every service name
// not registered as an embedded database comes here.
//
// A connection logs on with the net service name, user and password, sets the session's date,
// timestamp and number formats so values read as the program expects them whatever the client's
// NLS_LANG, and reads the database's character sets. Text travels as AL32UTF8 both ways. Queries
// describe their columns and fetch in batches into fixed buffers, so a forward-only walk over any
// number of rows uses the same memory. Logging off commits, as on the embedded engine. Every
// failure is a DatabaseError with the server's own "ORA-nnnnn: ..." text.
#pragma once

#include "db/Driver.h"

namespace kolmara::db::oci {

class OciDriver : public Driver {
public:
    std::unique_ptr<Connection> connect(const QString& server, const QString& user,
                                        const QString& password) override;
};

}  // namespace kolmara::db::oci
