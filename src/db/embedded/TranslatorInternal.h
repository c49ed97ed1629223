// The translator's own declarations, shared by the files that make it up: the recursive-descent
// reader Translator and the datatypes it keeps while it reads (expressions, query blocks and their
// tables, result columns). Include it only from the translator's files.
//
// Each parse routine returns the SQLite text of what it read. A query block reads its FROM clause
// before its select list, so that every column reference knows the table it belongs to: that
// decides its datatype (and with it the conversions of a comparison), how a hierarchical query
// names it, and whether a grouped query may show it. WHERE conjuncts are collected first so that
// (+) predicates can move into LEFT JOIN ... ON clauses and ROWNUM conditions become the block's
// row limit.
//
// Common table expressions, the user's (WITH) and the engine's own (a hierarchical query's rows),
// are gathered for the whole statement and written once in front of it.
#pragma once

#include "db/DatabaseError.h"
#include "db/embedded/QueryFunctions.h"
#include "db/embedded/SqlTranslator.h"

#include <QList>
#include <QPair>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

namespace kolmara::db::embedded::translation {

// A name or a text as SQLite writes it, quoted.
QString quoteIdent(const QString& name);
QString quoteString(const QString& text);

// Oracle's errors that several parts of the reading raise.
DatabaseError invalidIdentifier(const QString& name);
DatabaseError pseudoColumnNotAllowed();
DatabaseError tooManyValues();
DatabaseError notEnoughValues();

// The keywords that end a clause or an expression: none of them is read as an alias or a name.
const QSet<QString>& reservedWords();

// The Oracle datatype of an expression, as far as the translator can tell. Char is the blank-padded
// character type (CHAR columns and text literals), Text the others (VARCHAR2).
enum class ExprType { Unknown, Number, Text, Char, Date };

bool isCharacter(ExprType t);

// Two known types that Oracle does not convert into each other.
bool differentFamilies(ExprType a, ExprType b);

// The name ORA-00932 gives a type, and that error for a value of type got where expected was due.
QString typeName(ExprType t);
DatabaseError inconsistentTypes(ExprType expected, ExprType got);

// The type of a column of the dictionary's datatype.
ExprType typeOfColumn(const QString& dataType);

struct Expr {
    QString sql;
    bool outer = false;      // carries a (+) marked column
    QString outerQualifier;  // the table alias that column belongs to
    bool isColumn = false;
    QString columnName;      // of a plain column reference
    std::optional<ColumnInfo> column;  // the table column a plain reference reads, where known
    ExprType type = ExprType::Unknown;
    int length = -1;                 // bytes of a character value, where known
    std::optional<double> literal;   // the value of a number literal
    bool isNull = false;             // the NULL literal ('' included)
    bool isBind = false;             // a bind, whose datatype is that of the value bound
    bool fixed = false;              // a text literal or a bind: one value for every row
    int arity = 1;                   // a row value (a, b) has more
    // A number SQLite always keeps as INTEGER or REAL (a count, a rank...).
    bool shortNumber = false;
    // The SQLite table a plain column reference reads, where it is one.
    QString storage;
    // ORDER BY naming a select-list column: that column's expression.
    QString outputSql;
};

// Whether a number column's declared precision keeps its values within what SQLite stores as
// INTEGER or REAL, which SQLite then orders right by itself.
bool fitsSqliteNumber(const ColumnInfo& c);

// Whether SQLite's own order of e's values can be wrong: a number that may be kept as text.
bool mayBeLongNumber(const Expr& e);

// Oracle compares a number with character data by converting the character side with TO_NUMBER,
// and a date with character data by converting it with TO_DATE in the session's date format; the
// engine's functions raise ORA-01722 and the date errors for the row whose text does not convert.
// A bind counts as character data: the driver hands text over as text, and a value bound as a
// number passes TO_NUMBER unchanged. A literal's or a bind's date is read once per run
// (ora_fixed_date), not once per row.
bool convertible(const Expr& e);
QString asNumber(const Expr& e);
QString asDate(const Expr& e);
QString asText(const Expr& e);

// e converted to the type of a function's result where Oracle converts (NVL, DECODE).
QString convertedTo(ExprType target, const Expr& e);

// The result column a select-list expression makes: the table column it reads, else a column of
// its datatype (NUMBER of 22 bytes, DATE of 7, text of its known length).
ResultColumn resultColumnOf(const Expr& e, const QString& name, bool unnamed);

// A table of a FROM clause as column references see it; known is false for an inline view whose
// columns the translator cannot list.
struct ScopeItem {
    QString alias;
    QList<ColumnInfo> columns;
    bool known = false;
    QString storage;  // the SQLite table of a stored table or view
};

// A column reference, kept by the query block it belongs to for the GROUP BY check: tokens
// [start, end) and the column as alias.NAME; aggregateDepth > 0 inside an aggregate of that block.
struct ColumnUse {
    int start;
    int end;
    QString canonical;
    int aggregateDepth;
};

// The translation state of one query block (or of the table an UPDATE, DELETE or MERGE changes).
struct Block {
    QList<ScopeItem> items;
    bool complete = false;
    bool barrier = false;  // names are not looked up beyond this block
    int aggregateDepth = 0;
    bool hasAggregate = false;
    bool aggregateForbidden = false;  // FROM, WHERE, GROUP BY, START WITH, CONNECT BY
    bool hasWindow = false;    // analytic functions of the user's (ROWNUM's own row number aside)
    bool windowAllowed = false;
    bool rownumNumbers = false;  // ROWNUM in an UPDATE's SET: the number of the row being updated
    bool rownumRead = false;
    QList<ColumnUse> uses;
    // The columns of JOIN ... USING and the items (from, to) of the join that shares them: a
    // reference to one of them through a qualifier is ORA-25154.
    struct SharedColumn {
        QString name;
        qsizetype from = 0;
        qsizetype to = 0;
    };
    QList<SharedColumn> usingColumns;
    // ROWNUM conditions: the row limit they make, a number and expressions.
    qint64 literalLimit = kNoRowLimit;
    QStringList limitExpressions;
    // ORDER BY may name the select list's columns.
    bool inOrderBy = false;
    QStringList outputNames;
    QList<Expr> outputExprs;  // the select list's columns, when no "*" makes positions uncertain
    bool orderKeyed = false;  // an ORDER BY of result columns read one through ora_numkey
    // A hierarchical query: the alias of its one table, the clause being read (1 START WITH,
    // 2 CONNECT BY), PRIOR's operand being read, the SYS_CONNECT_BY_PATH columns and the parent
    // row's values that PRIOR reads outside CONNECT BY.
    bool hierarchical = false;
    bool hierarchyJoin = false;  // over several tables: their joined rows make the tree
    QString hierarchyAlias;
    int hierarchyClause = 0;
    int priorDepth = 0;
    bool sawPrior = false;
    QList<QPair<QString, QString>> paths;
    QStringList priorValues;
};

struct FromItem {
    QString sql;
    QString alias;
    bool ansi = false;      // an ANSI join chain
    bool coalesces = false;  // with USING or NATURAL: "*" shows the shared columns once
};

struct SelectItem {
    Expr expr;  // a column's expression
    bool star = false;
    QString starAlias;  // "A.*"
    QString sql;
    QString name;
    ResultColumn result;
    int start = 0;
    int exprEnd = 0;
};

struct QueryResult {
    QString sql;
    QList<ResultColumn> columns;
    bool columnsKnown = true;
    bool singleRow = false;     // at most one row whatever the data
    bool limited = false;       // ends with a LIMIT (a ROWNUM condition)
    bool orderedBlock = false;  // a block that read its own ORDER BY
};

// A query block as queryBlock() reads and writes it, phase by phase: what the block's clauses
// read (the FROM clause, the select list, WHERE's conjuncts, the hierarchy's conditions, GROUP BY,
// HAVING, ORDER BY), where the reading returns to, and the SQL written so far.
struct BlockParts {
    qsizetype level = 0;  // the block's scope in m_scopes
    QString distinct;     // "DISTINCT " or empty
    int selectStart = 0;  // the select list's first token
    int fromAt = 0;       // the FROM keyword
    int afterFrom = 0;    // the first token after the FROM clause
    qsizetype ctesBefore = 0;  // the statement's common tables before the block's own
    QList<FromItem> from;
    QList<SelectItem> items;
    QList<Expr> conjuncts;
    QList<QPair<int, int>> conjunctRanges;
    QString startWith;
    QString connectBy;
    bool noCycle = false;
    QStringList groups;
    QList<QPair<int, int>> groupRanges;
    QString having;
    QPair<int, int> havingRange{0, 0};
    QString siblings;
    QString orderBy;
    QList<QPair<int, int>> orderRanges;
    // Written: WHERE's conditions that stay there, a joined tree's join conditions, whether a (+)
    // made a LEFT JOIN, the select list and the FROM clause as SQLite reads them.
    QStringList where;
    QStringList joinWhere;
    bool anyOuter = false;
    QStringList selectSql;
    QString fromSql;
};

struct CommonTable {
    QString name;
    QList<ColumnInfo> columns;
    bool known = false;
};

// A token sequence as the GROUP BY check compares it: column references as alias.NAME.
struct Unit {
    QString text;
    int start;
};

class Translator : private TokenCursor {
public:
    Translator(const QList<Token>& tokens, const QString& source, NameResolver& resolver)
        : TokenCursor(tokens), m_src(source), m_r(resolver)
    {
    }

    // Where in the source the reading stopped on `error`: the token it could not take, or for a
    // missing object or column the name it had just read.
    int errorPosition(const DatabaseError& error) const;

    // A whole statement, or an expression alone (a column DEFAULT).
    Translation statement();
    QString standaloneExpression();

private:
    // ---- statements and tokens (SqlTranslator.cpp) ----------------------------------------------
    bool atEnd() const { return peek().kind == Token::Kind::End; }
    void expectKw(const char* kw);
    void expectOp(const char* op);
    DatabaseError syntaxError() const;
    bool aliasFollows() const;
    QString comparisonAt(int ahead = 0) const;
    bool clauseEnds(int i) const;
    QString bindParam(const QString& key);
    Block* currentBlock() { return m_scopes.isEmpty() ? nullptr : &m_scopes.last(); }
    QString withClause() const;

    // ---- queries and query blocks (TranslatorQuery.cpp) -----------------------------------------
    QueryResult query();
    static void checkSetOperands(const QueryResult& a, const QueryResult& b);
    void withDefinitions();
    QueryResult queryTerm(bool ownsOrderBy);
    int findFrom() const;
    QueryResult queryBlock(bool ownsOrderBy);
    BlockParts openBlock();
    void readSelectList(BlockParts& p);
    void readWhereAndTree(BlockParts& p);
    void readGroupBy(BlockParts& p);
    void readOrderBy(BlockParts& p, bool ownsOrderBy);
    void writeJoins(BlockParts& p);
    QueryResult writeSelectList(BlockParts& p);
    void writeBlock(BlockParts& p, bool ownsOrderBy, QueryResult& result);
    static QString orderByPositions(const QString& orderBy, const QList<SelectItem>& items);

    // LIMIT with OFFSET 0: SQLite does not merge a subquery with an OFFSET into the query around
    // it, which would otherwise apply the limit after that query's ORDER BY.
    static QString limitClause(const QString& limit)
    {
        return QStringLiteral(" LIMIT ") + limit + QStringLiteral(" OFFSET 0");
    }

    QString limitOf(const Block& b) const;
    QList<SelectItem> selectList();
    QString orderByClause(QList<QPair<int, int>>* ranges);
    QString orderItems(QList<QPair<int, int>>* ranges, QString* plain = nullptr);
    QString orderKey(const Expr& e);
    bool probed(const Expr& e);
    QString orderDirection();

    // ---- FROM, tables and column names (TranslatorFrom.cpp) -------------------------------------
    QList<FromItem> fromClause();
    FromItem joinedItem();
    FromItem fromPrimary();
    QPair<QString, QString> writtenName();
    TableRef tableName(const QString& privilege, QString* written = nullptr);

    struct Resolved {
        qsizetype level = -1;
        qsizetype item = -1;
        const ColumnInfo* column = nullptr;
    };

    static const ColumnInfo* findColumn(const QList<ColumnInfo>& columns, const QString& name);
    Resolved resolve(const QString& qualifier, const QString& column) const;
    Expr columnReference(const QStringList& parts, int start);

    // ---- WHERE and ROWNUM (TranslatorWhere.cpp) -------------------------------------------------
    static void refuseValueAsCondition(const Expr& e);
    QList<Expr> whereConjuncts(qsizetype level, QList<QPair<int, int>>* ranges = nullptr);
    bool rownumCondition(qsizetype level);
    void addRownumLimit(qsizetype level, QString op, const Expr& value);
    Expr rownumColumn();

    // ---- the GROUP BY check (TranslatorGrouping.cpp) --------------------------------------------
    QList<Unit> unitsOf(const Block& b, int from, int to) const;
    static bool sameUnits(const QList<Unit>& a, qsizetype offset, const QList<Unit>& b);

    void checkGrouping(const Block& b, const QList<SelectItem>& items,
                       const QList<QPair<int, int>>& groupRanges, const QPair<int, int>& having,
                       const QList<QPair<int, int>>& orderRanges) const;

    void checkDistinctOrder(const Block& b, const QList<SelectItem>& items,
                            const QList<QPair<int, int>>& orderRanges) const;

    // ---- hierarchical queries (TranslatorHierarchy.cpp) -----------------------------------------
    bool hierarchicalClauseFollows() const;
    void markHierarchical(BlockParts& p);
    void writeTreeSource(BlockParts& p);
    static int tablesIn(const Block& b, const QPair<int, int>& range);
    static QString markersResolved(QString sql, const QString& hierarchyAlias, bool original);

    QString hierarchy(const Block& b, const QString& columns, const QString& source,
                      const QString& startWith, const QString& connectBy, bool noCycle,
                      const QString& siblings);

    Expr levelColumn();
    Expr connectByPath();

    // ---- conditions (TranslatorConditions.cpp) --------------------------------------------------
    Expr expr();
    static QString balanced(const QStringList& terms, const QString& op);
    static void balancedInto(QString& out, const QStringList& terms, qsizetype from, qsizetype to,
                             const QString& op);
    static Expr condition(const QString& sql);
    Expr andExpr();
    Expr notExpr();
    static void merge(Expr& into, const Expr& other);

    // A subquery after "(" (SELECT or WITH); the caller takes the ")".
    bool subqueryFollows() const { return isKw("SELECT") || isKw("WITH"); }

    Expr predicate();
    static bool numberRange(ExprType left, const Expr& right);
    static ExprType comparedType(const Expr& left, const QList<Expr>& others);
    static QString comparison(const QString& leftSql, ExprType leftType, const QString& op,
                              const Expr& right);
    static QString tooManyRowsError();
    static void checkArity(int arity, const QueryResult& q);
    Expr quantified(const Expr& left, const QString& op, bool all);
    static QString compared(const Expr& left, QList<Expr>& others);

    // ---- value expressions (TranslatorExpressions.cpp) ------------------------------------------
    static QString concatenation(const QStringList& parts);
    Expr additive();
    class ArithmeticRun;
    static ExprType sumType(const QString& fn, ExprType a, ExprType b);
    Expr multiplicative();
    Expr unary();
    QString numberLiteral(const QString& text);
    Expr primary();
    Expr scalarSubquery();
    Expr caseExpr();

    // ---- function calls (TranslatorFunctions.cpp) -----------------------------------------------
    static void commonType(Expr& e, const QList<Expr>& values);
    static ExprType resultType(const QString& fn, const QList<ExprType>& args);
    Expr functionCall();
    static QString likeBound(const Expr& value, const QString& bind);
    Expr decodeCall(QList<Expr> args);
    Expr castCall();
    Expr trimCall();
    Expr extractCall();

    // ---- aggregates and analytic functions (TranslatorAnalytics.cpp) ----------------------------
    Expr aggregateCall(const QString& fn);
    Expr aggregateOrWindow(Expr e, const QString& distinct, qsizetype usesBefore);
    QString overClause(bool orderRequired, QString* partition = nullptr);
    QString windowFrame();
    Expr analyticCall(const QString& fn, const QList<Expr>& args);

    // ---- INSERT, UPDATE, DELETE and MERGE (TranslatorDml.cpp) -----------------------------------
    QString storeExpression(const QString& value, const TableRef& table, const ColumnInfo& c,
                            bool update = false);
    QString defaultOf(const ColumnInfo& c);
    QStringList insertColumns(const QList<ColumnInfo>& columns);
    QStringList insertValues(const QStringList& named);
    QString storedRow(const TableRef& table, const QList<ColumnInfo>& columns,
                      const QStringList& named, const QStringList& values);
    static QString insertTarget(const TableRef& table, const QList<ColumnInfo>& columns);
    QString insertStatement();
    void pushTableBlock(const TableRef& table, const QString& alias);
    QString dmlWhere(const TableRef& table, const QString& alias);
    QStringList setClauses(const TableRef& table, const QList<ColumnInfo>& columns,
                           QStringList* setColumns = nullptr);
    QString updateStatement();
    QString deleteStatement();
    QString mergeStatement(QList<Translation::Step>& before);

    // Every parenthesis and subquery of a statement is read by a call of expr() or query() inside
    // the enclosing one; a statement nested deeper than any real one is refused before the reading
    // runs out of stack (a few thousand "(" would end the program). SQLite's parser stops a little
    // earlier on what it is given.
    static constexpr int kDeepestNesting = 100;
    class Nesting {
    public:
        explicit Nesting(int& depth) : m_depth(depth)
        {
            if (++m_depth > kDeepestNesting) {
                --m_depth;
                throw nestedTooDeeply();
            }
        }
        ~Nesting() { --m_depth; }
        Nesting(const Nesting&) = delete;
        Nesting& operator=(const Nesting&) = delete;

    private:
        int& m_depth;
    };

    const QString& m_src;
    NameResolver& m_r;
    int m_nesting = 0;
    QStringList m_params;
    QStringList m_probes;  // see Translation::probes
    QList<Block> m_scopes;
    QStringList m_ctes;                  // the statement's common table expressions, in order
    QList<CommonTable> m_commonTables;   // the WITH tables the current query can name
    int m_generated = 0;
};

}  // namespace kolmara::db::embedded::translation
