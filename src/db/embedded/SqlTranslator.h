// Translates Oracle queries and DML into SQLite SQL over the engine's storage: table names are
// resolved through the catalogue (own object, private synonym, public synonym) with the access
// check, '' becomes NULL, Oracle operators and functions become the engine's SQL functions, the
// (+) outer join becomes LEFT JOIN, ROWNUM a row limit or row number, a hierarchical query a
// recursive common table expression, MERGE an UPDATE and an INSERT, and binds become numbered
// parameters (a name used twice is one parameter). What Oracle rejects (a column neither grouped
// nor aggregated, a subquery of several rows where one is expected, mixed datatypes) is rejected
// with Oracle's error, some of it only when the rows are read. Every failure is a DatabaseError
// with Oracle's code and text, but for a statement nested too deeply (parentheses and subqueries),
// which the engine refuses in words of its own (nestedTooDeeply); docs/embedded-sql.md lists what
// is understood. The reader itself is TranslatorInternal.h, with a file per concern
// (Translator*.cpp: queries, FROM, WHERE, hierarchies, expressions, functions, DML...).
#pragma once

#include "db/embedded/SqlLexer.h"

#include <QStringList>

namespace kolmara::db::embedded {

struct ColumnInfo {
    QString name;
    QString dataType;  // NUMBER, VARCHAR2, CHAR, DATE, LONG
    int length = 0;
    int precision = -1;
    int scale = -1;
    bool notNull = false;
    QString defaultText;  // as written; empty when none
};

struct TableRef {
    QString owner;
    QString name;
    QString storage;  // the SQLite table or view
};

// What the translator asks of the catalogue. Implementations throw DatabaseError.
class NameResolver {
public:
    virtual ~NameResolver() = default;
    // privilege: "SELECT", "INSERT", "UPDATE" or "DELETE". owner is empty for an unqualified name.
    virtual TableRef resolveTable(const QString& owner, const QString& name,
                                  const QString& privilege) = 0;
    // "OWNER.NAME" of the sequence.
    virtual QString resolveSequence(const QString& owner, const QString& name) = 0;
    virtual QList<ColumnInfo> columnsOf(const TableRef& table) = 0;
    // Whether an index of the SQLite table `storage` has `column` first.
    virtual bool leadsAnIndex(const QString& storage, const QString& column)
    {
        Q_UNUSED(storage);
        Q_UNUSED(column);
        return false;
    }
};

// A result column of a query as far as the translator can tell: its name, and its datatype as the
// dictionary writes it (NUMBER, VARCHAR2, CHAR, DATE; empty when unknown).
struct ResultColumn {
    ColumnInfo column;
    bool unnamedExpression = false;  // an expression without alias, named by its own text
    bool bind = false;               // a bind alone, whose datatype is that of the value bound
};

struct Translation {
    enum class Kind { Query, Dml };
    Kind kind = Kind::Query;
    QString sql;
    // Parameter i (1-based ?i) is params[i-1]: a bind name, or "#NEXTVAL OWNER.SEQ" /
    // "#CURRVAL OWNER.SEQ" for sequence values the engine supplies.
    QStringList params;
    // Statements that run before sql with the same parameters (a MERGE's checks and its UPDATE);
    // the rows a counted one changes belong to the statement's row count.
    struct Step {
        QString sql;
        bool counted = false;
    };
    QList<Step> before;
    // A query's result columns; columnsKnown is false when a "*" reads something unlisted.
    QList<ResultColumn> columns;
    bool columnsKnown = false;
    // A query that sorts by, or takes MIN or MAX of, an indexed column that may hold numbers kept
    // as text: when none of the probes (queries on those columns) finds a row, plainSql, which
    // leaves the order to SQLite and its index, gives the same rows as sql.
    QString plainSql;
    QStringList probes;
};

// tokens start at the statement's first token (SELECT, WITH, '(', INSERT, UPDATE, DELETE or
// MERGE).
Translation translateStatement(const QList<Token>& tokens, const QString& sql,
                               NameResolver& resolver);

// Translates one expression (a column DEFAULT) without binds.
QString translateExpression(const QString& text, NameResolver& resolver);

// The engine's refusal of a statement nested deeper than it reads, by the translator or by SQLite.
DatabaseError nestedTooDeeply();

// The SQL text Oracle shows for an expression: blanks outside quotes removed, upper case outside
// quotes.
QString headingOf(const QString& source);

}  // namespace kolmara::db::embedded
