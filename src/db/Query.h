// A query object: SQL text as lines, named parameters, open with fetch-all (so the row count is
// exact right after open), a forward walk over the rows and fields read as text or as number.
// Also runs statements that return no rows (execSql). Errors from the server arrive as
// DatabaseError; reading a text field as number that is not one throws ConversionError.
//
// Forward-only mode (setForwardOnly) is for reading tables of any size: open() fetches only the
// first row and next() the following one from the driver's cursor, so memory does not grow with
// the result. A fetch error then arrives from next(), and recordCount() is the rows read so far.
#pragma once

#include "db/Driver.h"

#include <QHash>
#include <QStringList>
#include <QVector>

#include <vector>

namespace kolmara::db {

class Session;

// A field of the current row.
class Field {
public:
    Field(QString name, Value value) : m_name(std::move(name)), m_value(std::move(value)) {}
    const QString& name() const { return m_name; }
    bool isNull() const { return m_value.kind == Value::Kind::Null; }
    // Text as stored; numbers in the general form (whole numbers with all their digits); dates
    // as "YYYY-MM-DD HH24:MI:SS"; NULL as empty text.
    QString asText() const;
    // NULL reads as 0; a date as its day number since 1899-12-30.
    double asDouble() const;
    const Value& value() const { return m_value; }

private:
    QString m_name;
    Value m_value;
};

class Param {
public:
    void setAsString(const QString& text);
    void setAsFloat(double value);
    void clear() { m_value = BindValue(); m_bound = true; }
    const BindValue& value() const { return m_value; }
    bool isBound() const { return m_bound; }

private:
    BindValue m_value;
    bool m_bound = false;
};

class Query {
public:
    explicit Query(Session* session = nullptr) : m_session(session) {}

    void setSession(Session* session) { m_session = session; }
    Session* session() const { return m_session; }

    // The SQL text as lines; the statement is the lines joined by line breaks.
    QStringList& sql() { return m_sql; }
    void clearSql() { m_sql.clear(); }
    void addSql(const QString& line) { m_sql.append(line); }
    QString sqlText() const { return m_sql.join(QLatin1Char('\n')); }

    // The parameter of that name (without ':', any case). Throws DatabaseError when the SQL text
    // has no such parameter.
    Param& paramByName(const QString& name);

    // Fetch-all (false, the default) or one row at a time (true); set before open().
    void setForwardOnly(bool on) { m_forwardOnly = on; }
    bool isForwardOnly() const { return m_forwardOnly; }

    // Runs the SELECT and fetches every row (forward-only: the first row); positions on the
    // first row.
    void open();
    void close();
    bool isActive() const { return m_active; }
    // Runs a statement that returns no rows (INSERT, UPDATE...).
    void execSql();
    // The rows the last INSERT, UPDATE, DELETE or MERGE run by open() or execSql() changed (0
    // for other statements).
    qint64 rowsAffected() const { return m_rowsAffected; }

    // Back to the first row; forward-only, only while still on it (else DatabaseError).
    void first();
    void next();
    bool eof() const;
    // Fetch-all: the rows of the result. Forward-only: the rows fetched so far.
    int recordCount() const { return m_forwardOnly ? m_fetched : m_rowCount; }

    int fieldCount() const { return int(m_columns.size()); }
    QStringList fieldNames() const { return m_columns; }
    Field field(int index) const;
    // Throws DatabaseError "Field 'X' not found" for an unknown name.
    Field fieldByName(const QString& name) const;

private:
    std::unique_ptr<Cursor> run();

    Session* m_session;
    QStringList m_sql;
    QHash<QString, Param> m_params;
    QStringList m_columns;
    // Fetch-all: every value of the result, row after row, in blocks of whole rows that never
    // move once filled (no vector per row, no copying as the result grows).
    std::vector<std::vector<Value>> m_blocks;
    int m_blockRows = 1;
    int m_rowCount = 0;
    int m_pos = 0;
    bool m_active = false;
    bool m_forwardOnly = false;
    // Forward-only: the open cursor, the current row, and whether it holds one.
    std::unique_ptr<Cursor> m_cursor;
    QVector<Value> m_current;
    bool m_hasCurrent = false;
    int m_fetched = 0;
    qint64 m_rowsAffected = 0;
};

}  // namespace kolmara::db
