// The creation scripts of the table manager's script page: a table's CREATE TABLE with its primary
// key and storage and its COMMENT lines, a view's header lines, a synonym and a sequence. The
// builders return the script's lines; the table manager shows them and never runs them.
//
// The table script is built from what the table manager's pages have loaded (layout, indexes, the
// primary key's columns, the storage of the backup tab), so the builder takes those values as
// they are and the table manager collects them. The synonym and sequence builders read their one
// dictionary row themselves; a database error there passes to the caller.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace kolmara::screens {

// One row of the layout grid: length is the data length, or precision + "," + scale for NUMBER;
// nullable is "Y" or "N".
struct ScriptColumn {
    QString name;
    QString comment;
    QString dataType;
    QString length;
    QString nullable;
};

// One row of the index grid, numbers as the grid shows them (with thousands separators).
struct ScriptIndex {
    QString name;
    QString keyType;  // "Index Key" or "Primary Key"
    QString tablespace;
    QString initialExtent;
    QString nextExtent;
    QString pctFree;
    QString pctIncrease;
};

// The primary key: its index's name and storage (plain numbers) and its columns in key order.
struct ScriptKey {
    QString name;
    QString tablespace;
    QString pctFree;
    QString pctIncrease;
    QString initialExtent;
    QString nextExtent;
    QStringList columns;
};

// The table's own storage, plain numbers as the backup tab shows them.
struct ScriptStorage {
    QString tablespace;
    QString initialExtent;
    QString nextExtent;
    QString freelists;
    QString pctIncrease;
    QString pctFree;
    QString pctUsed;
};

struct TableScriptSource {
    QString table;
    QString comment;
    QList<ScriptColumn> columns;  // rows without a column name are left out
    std::optional<ScriptKey> key;
    ScriptStorage storage;
};

// The primary key among the index rows: the last row whose key type is exactly "Primary Key".
// loadColumns(i) loads the columns of index row i (0-based) and returns their names in grid order.
// No such row: no key, and loadColumns is not called.
std::optional<ScriptKey> primaryKeyOf(const QList<ScriptIndex>& indexes,
                                      const std::function<QStringList(int)>& loadColumns);

// The column's type as CREATE TABLE writes it: "VARCHAR2(8)", "NUMBER(10,2)"; "NUMBER" and
// "NUMBER(*,0)" for a NUMBER without precision; "DATE", "CLOB"... for types that take no length.
QString columnTypeText(const QString& dataType, const QString& length);

// A number shown with separators turned back into the plain digits DDL wants.
QString plainNumber(const QString& shown);

// Text between single quotes in SQL: each quote doubled.
QString sqlStringLiteral(const QString& text);

// No column rows: no script (an empty list), since CREATE TABLE needs at least one column.
QStringList BuildTableScript(const TableScriptSource& source);
QStringList BuildViewScript(const QString& viewName);
// Empty when the owner has no such synonym or sequence.
QStringList BuildSynonymScript(const QString& owner, const QString& synonymName);
QStringList BuildSequenceScript(const QString& owner, const QString& sequenceName);

}  // namespace kolmara::screens
