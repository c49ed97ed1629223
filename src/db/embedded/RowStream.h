// A query's rows as the embedded engine's session hands them to its cursor (RowStream.cpp).
#pragma once

#include "db/Driver.h"

#include <QDateTime>
#include <QStringList>
#include <QVector>

#include <vector>

struct sqlite3_stmt;

namespace kolmara::db::embedded {

class EngineSession;

// The rows of one query, stepped from its SQLite statement as they are asked for, so a table of
// any size is read in constant memory. The query's SYSDATE stays the one of its execution. A
// stream belongs to its session: once the session is closed, reading on throws ORA-03114.
class RowStream {
public:
    RowStream(const RowStream&) = delete;
    RowStream& operator=(const RowStream&) = delete;
    ~RowStream();

    // The result columns; empty for a statement that returns no rows.
    const QStringList& columns() const { return m_columns; }
    // The next row into `row`; false after the last one. An error met while stepping (an invalid
    // number in a later row...) throws DatabaseError with its ORA- code.
    bool next(QVector<Value>& row);
    // Every row not read yet.
    QVector<QVector<Value>> readAll();
    // The rows an INSERT, UPDATE, DELETE or MERGE inserted, updated, deleted or merged; -1 for
    // any other statement.
    qint64 rowsAffected() const { return m_rowsAffected; }

private:
    friend class EngineSession;
    RowStream(EngineSession* session, sqlite3_stmt* statement, QString text, QStringList columns,
              QDateTime now);
    void finish();
    // The current row's column c into `out`. A value met a moment ago in the same column (a status,
    // a flag, a type, a day) is shared, not built again: most columns repeat a few values.
    void readColumn(int c, Value& out);

    struct RecentValue {
        static constexpr int kBytes = 24;  // longer values are built each time
        int type = 0;                      // SQLite's storage class; 0 for an unused slot
        int length = 0;                    // of a text, in bytes
        qint64 key = 0;                    // an integer, or a real's bits
        char bytes[kBytes] = {};
        Value value;
    };
    static constexpr int kRecentPerColumn = 4;
    static constexpr int kRecentMissesToStop = 32;
    static constexpr int kRecentColumns = 256;  // a wider row is read without sharing

    EngineSession* m_session;
    sqlite3_stmt* m_statement;
    QString
        m_text;  // the statement's SQLite text: where it goes back to among the session's idle ones
    QStringList m_columns;
    QDateTime m_now;
    qint64 m_rowsAffected = -1;
    bool m_orphaned = false;  // the session closed before the last row was read
    std::vector<RecentValue> m_recent;  // kRecentPerColumn a column, filled as rows are read
    std::vector<quint8> m_recentNext;   // per column: the slot the next new value takes
    std::vector<int> m_recentMisses;    // per column: new values in a row
};

}  // namespace kolmara::db::embedded
