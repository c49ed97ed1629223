// The driver interface below Session, Query and Statement. A driver opens connections; a
// connection prepares cursors and owns the transaction; a cursor runs one statement with named
// binds and hands out its rows. Every call throws DatabaseError with the server's message.
// Drivers: the embedded engine (db/embedded) and the Oracle client driver (db/oci).
#pragma once

#include "db/DatabaseError.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include <memory>

namespace kolmara::db {

// One column value of a fetched row.
struct Value {
    enum class Kind { Null, Text, Number, Date };
    Kind kind = Kind::Null;
    QString text;  // Text: as stored; Number: Oracle's text form; Date: "YYYY-MM-DD HH24:MI:SS"
    double number = 0;  // Number: the value; Date: days since 1899-12-30 (the desktop date value)
    bool exactInteger = false;  // Number: a whole number held exactly in `text`
};

// A bind value as the program sets it: text (empty text is NULL, as on Oracle) or a number.
struct BindValue {
    enum class Kind { Null, Text, Number };
    Kind kind = Kind::Null;
    QString text;
    double number = 0;
};

class Cursor {
public:
    virtual ~Cursor() = default;
    // Runs the statement. binds holds every name the statement uses (upper case, without ':').
    virtual void execute(const QHash<QString, BindValue>& binds) = 0;
    // Result columns of a query; empty for a statement that returns no rows.
    virtual QStringList columnNames() const = 0;
    // The next row into `row`; false after the last one.
    virtual bool fetch(QVector<Value>& row) = 0;
    // Rows inserted, updated, deleted or merged by a DML statement; 0 for any other statement.
    virtual qint64 rowsAffected() const { return 0; }
};

// What a connection knows about the client and the database once it is made.
struct ConnectionInfo {
    QString clientVersion;    // "19.20.0.0.0"; empty for the embedded engine
    QString clientKind;  // "Instant Client Basic", "Instant Client Basic Light", "Oracle Client",
                         // "embedded"
    QString databaseCharset;  // NLS_CHARACTERSET, "KO16MSWIN949"; empty when it could not be read
    QString nationalCharset;  // NLS_NCHAR_CHARACTERSET
    // One line when Korean text cannot come through this client and database intact; else empty.
    QString warning;
};

class Connection {
public:
    virtual ~Connection() = default;
    virtual std::unique_ptr<Cursor> prepare(const QString& sql) = 0;
    virtual void startTransaction() = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;
    virtual void disconnect() = 0;
    // Stops the call running on this connection, from any thread: it fails with ORA-01013. Does
    // nothing when no call runs.
    virtual void cancel() noexcept {}
    // Limits every later round trip to the server to `ms` milliseconds (0: no limit). False when
    // the client cannot do that.
    virtual bool setCallTimeout(int /*ms*/) { return false; }
    virtual ConnectionInfo info() const { return {}; }
};

class Driver {
public:
    virtual ~Driver() = default;
    virtual std::unique_ptr<Connection> connect(const QString& server, const QString& user,
                                                const QString& password) = 0;
};

// The bind names of a statement text (":NAME", ":FILE#"), upper case, each once, in order of first
// appearance; quoted text (q-quotes too) and comments are skipped. The common scanner reads them.
QStringList bindNamesOf(const QString& sql);

}  // namespace kolmara::db
