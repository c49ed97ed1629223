// What the connect dialog asks of the window that owns the program's session: to connect with the
// login typed or picked, and once connected to enable the commands that need a connection. The
// main window answers it, so the dialog needs nothing else of the window.
#pragma once

#include <QString>

namespace kolmara::dialogs {

class ConnectTarget {
public:
    // False when the database refused the connection (its message has been shown).
    virtual bool ConnectDatabase(const QString& server, const QString& user,
                                 const QString& password) = 0;
    virtual void enableCommands() = 0;

protected:
    ~ConnectTarget() = default;
};

}  // namespace kolmara::dialogs
