// The driver interface below Session, Query and Statement. A driver opens connections; a
// connection prepares cursors and owns the transaction; a cursor runs one statement with named
// binds and hands out its rows. Every call throws DatabaseError with the server's message.
// Drivers: the embedded engine (db/embedded) and, later, the Oracle client driver (db/oci).
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
    QString text;       // Text: as stored; Number: Oracle's text form; Date: "YYYY-MM-DD HH24:MI:SS"
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
    // The rows the executed INSERT, UPDATE, DELETE or MERGE changed; -1 for other statements.
    virtual qint64 rowsAffected() const { return -1; }
};

class Connection {
public:
    virtual ~Connection() = default;
    virtual std::unique_ptr<Cursor> prepare(const QString& sql) = 0;
    virtual void startTransaction() = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;
    virtual void disconnect() = 0;
};

class Driver {
public:
    virtual ~Driver() = default;
    virtual std::unique_ptr<Connection> connect(const QString& server, const QString& user,
                                                const QString& password) = 0;
};

// The bind names of a statement text (":NAME", ":FILE#"), upper case, each once, in order of first
// appearance; quoted text and comments are skipped.
QStringList bindNamesOf(const QString& sql);

}  // namespace kolmara::db
