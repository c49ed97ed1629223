// Oracle → SQLite translation by recursive descent. Each parse routine returns the SQLite text of
// what it read; query blocks collect their FROM items and WHERE conjuncts first so that (+)
// predicates can move into LEFT JOIN ... ON clauses.
#include "db/embedded/SqlTranslator.h"

#include "db/DatabaseError.h"
#include "db/embedded/OraValues.h"

#include <QHash>
#include <QSet>

namespace kolmara::db::embedded {

namespace {

QString quoteIdent(const QString& name)
{
    QString q = name;
    q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

QString quoteString(const QString& text)
{
    QString q = text;
    q.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + q + QLatin1Char('\'');
}

DatabaseError invalidIdentifier(const QString& name)
{
    return DatabaseError(904, QStringLiteral("\"%1\": invalid identifier").arg(name));
}

const QSet<QString>& reservedWords()
{
    static const QSet<QString> words = {
        QStringLiteral("FROM"),    QStringLiteral("WHERE"),   QStringLiteral("GROUP"),   QStringLiteral("ORDER"),
        QStringLiteral("HAVING"),  QStringLiteral("UNION"),   QStringLiteral("MINUS"),   QStringLiteral("INTERSECT"),
        QStringLiteral("CONNECT"), QStringLiteral("START"),   QStringLiteral("AND"),     QStringLiteral("OR"),
        QStringLiteral("ON"),      QStringLiteral("JOIN"),    QStringLiteral("LEFT"),    QStringLiteral("RIGHT"),
        QStringLiteral("INNER"),   QStringLiteral("OUTER"),   QStringLiteral("CROSS"),   QStringLiteral("FULL"),
        QStringLiteral("NATURAL"), QStringLiteral("USING"),   QStringLiteral("INTO"),    QStringLiteral("VALUES"),
        QStringLiteral("SET"),     QStringLiteral("BY"),      QStringLiteral("WITH"),    QStringLiteral("FOR"),
        QStringLiteral("SELECT"),  QStringLiteral("NOT"),     QStringLiteral("IS"),      QStringLiteral("IN"),
        QStringLiteral("LIKE"),    QStringLiteral("BETWEEN"), QStringLiteral("ESCAPE"),  QStringLiteral("AS"),
        QStringLiteral("ASC"),     QStringLiteral("DESC"),    QStringLiteral("NULLS"),   QStringLiteral("WHEN"),
        QStringLiteral("THEN"),    QStringLiteral("ELSE"),    QStringLiteral("END"),     QStringLiteral("DISTINCT"),
        QStringLiteral("ALL"),     QStringLiteral("RETURNING")};
    return words;
}

// The Oracle type family of an expression, as far as the translator can tell: it decides where a
// comparison converts text to a number.
enum class ExprType { Unknown, Number, Text, Date };

struct Expr {
    QString sql;
    bool outer = false;       // carries a (+) marked column
    QString outerQualifier;   // the table alias that column belongs to
    bool isColumn = false;
    ExprType type = ExprType::Unknown;
};

ExprType typeOfColumn(const QString& dataType)
{
    if (dataType == QLatin1String("NUMBER") || dataType == QLatin1String("FLOAT") || dataType == QLatin1String("INTEGER"))
        return ExprType::Number;
    if (dataType == QLatin1String("VARCHAR2") || dataType == QLatin1String("VARCHAR") || dataType == QLatin1String("CHAR")
        || dataType == QLatin1String("NCHAR") || dataType == QLatin1String("NVARCHAR2"))
        return ExprType::Text;
    if (dataType == QLatin1String("DATE"))
        return ExprType::Date;
    return ExprType::Unknown;
}

// Oracle compares a number with character data by converting the character side with TO_NUMBER;
// the engine's TO_NUMBER raises ORA-01722 for the row whose text is no number.
QString asNumber(const Expr& e)
{
    return QStringLiteral("ora_to_number(") + e.sql + QLatin1Char(')');
}

// A table of a FROM clause as column references see it; columns is empty for an inline view or a
// table whose columns the catalogue does not list, whose column types are then unknown.
struct ScopeItem {
    QString alias;
    QList<ColumnInfo> columns;
};

// The FROM items of one query block (or the table of an UPDATE or DELETE). Until its FROM clause
// is read, a block's select list may name columns of tables not yet known.
struct Scope {
    QList<ScopeItem> items;
    bool complete = false;
};

struct FromItem {
    QString sql;
    QString alias;
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

    Translation statement()
    {
        Translation out;
        if (isKw("INSERT")) {
            out.kind = Translation::Kind::Dml;
            out.sql = insertStatement();
        } else if (isKw("UPDATE")) {
            out.kind = Translation::Kind::Dml;
            out.sql = updateStatement();
        } else if (isKw("DELETE")) {
            out.kind = Translation::Kind::Dml;
            out.sql = deleteStatement();
        } else {
            out.sql = query();
            if (acceptKw("FOR")) {
                expectKw("UPDATE");
                while (!atEnd() && !isOp(";"))
                    ++m_p;
            }
        }
        acceptOp(";");
        if (!atEnd())
            throw DatabaseError(933, QStringLiteral("SQL command not properly ended"));
        out.params = m_params;
        return out;
    }

    QString standaloneExpression()
    {
        const QString e = expr().sql;
        if (!atEnd())
            throw DatabaseError(933, QStringLiteral("SQL command not properly ended"));
        return e;
    }

private:
    // ---- token helpers ------------------------------------------------------------------
    bool atEnd() const { return peek().kind == Token::Kind::End; }
    void expectKw(const char* kw)
    {
        if (!acceptKw(kw))
            throw syntaxError();
    }
    void expectOp(const char* op)
    {
        if (!takeRequiredOp(op))
            throw syntaxError();
    }
    DatabaseError syntaxError() const
    {
        if (atEnd())
            return DatabaseError(936, QStringLiteral("missing expression"));
        return DatabaseError(933, QStringLiteral("SQL command not properly ended"));
    }
    bool aliasFollows() const
    {
        const Token& t = peek();
        if (t.kind == Token::Kind::QuotedIdent)
            return true;
        return t.kind == Token::Kind::Ident && !reservedWords().contains(t.text);
    }

    QString bindParam(const QString& key)
    {
        int index = int(m_params.indexOf(key));
        if (index < 0) {
            m_params.append(key);
            index = int(m_params.size()) - 1;
        }
        return QStringLiteral("?%1").arg(index + 1);
    }

    // ---- queries ------------------------------------------------------------------------
    QString query()
    {
        const bool outerLimited = m_limitedBlock;
        m_limitedBlock = false;
        QString sql = queryTerm();
        // ROWNUM limits rows before ORDER BY and before a set operator: keep that order.
        if (m_limitedBlock && (isKw("ORDER") || isKw("UNION") || isKw("MINUS") || isKw("INTERSECT")))
            sql = QStringLiteral("SELECT * FROM (") + sql + QLatin1Char(')');
        m_limitedBlock = outerLimited;
        for (;;) {
            if (acceptKw("UNION")) {
                sql += acceptKw("ALL") ? QStringLiteral(" UNION ALL ") : QStringLiteral(" UNION ");
            } else if (acceptKw("MINUS")) {
                sql += QStringLiteral(" EXCEPT ");
            } else if (acceptKw("INTERSECT")) {
                sql += QStringLiteral(" INTERSECT ");
            } else {
                break;
            }
            const bool before = m_limitedBlock;
            m_limitedBlock = false;
            QString term = queryTerm();
            if (m_limitedBlock)
                term = QStringLiteral("SELECT * FROM (") + term + QLatin1Char(')');
            m_limitedBlock = before;
            sql += term;
        }
        if (acceptKw("ORDER")) {
            expectKw("BY");
            QStringList items;
            do {
                QString item = expr().sql;
                bool desc = false;
                if (acceptKw("DESC"))
                    desc = true;
                else
                    acceptKw("ASC");
                QString nulls = desc ? QStringLiteral(" NULLS FIRST") : QStringLiteral(" NULLS LAST");
                if (acceptKw("NULLS")) {
                    if (acceptKw("FIRST"))
                        nulls = QStringLiteral(" NULLS FIRST");
                    else {
                        expectKw("LAST");
                        nulls = QStringLiteral(" NULLS LAST");
                    }
                }
                items.append(item + (desc ? QStringLiteral(" DESC") : QStringLiteral(" ASC")) + nulls);
            } while (acceptOp(","));
            sql += QStringLiteral(" ORDER BY ") + items.join(QStringLiteral(", "));
        }
        return sql;
    }

    QString queryTerm()
    {
        if (isOp("(") && (isKw("SELECT", 1) || isOp("(", 1))) {
            ++m_p;
            const QString inner = query();
            expectOp(")");
            return QStringLiteral("SELECT * FROM (") + inner + QLatin1Char(')');
        }
        return queryBlock();
    }

    QString queryBlock()
    {
        if (!acceptKw("SELECT"))
            throw DatabaseError(928, QStringLiteral("missing SELECT keyword"));
        m_scopes.append(Scope());
        QString head = QStringLiteral("SELECT ");
        if (acceptKw("DISTINCT") || acceptKw("UNIQUE"))
            head += QStringLiteral("DISTINCT ");
        else
            acceptKw("ALL");
        QStringList items;
        do {
            if (isOp("*")) {
                ++m_p;
                items.append(QStringLiteral("*"));
                continue;
            }
            if (isName() && isOp(".", 1) && isOp("*", 2)) {
                items.append(quoteIdent(peek().text) + QStringLiteral(".*"));
                m_p += 3;
                continue;
            }
            const int startTok = m_p;
            Expr e = expr();
            if (e.outer)
                throw DatabaseError(30563, QStringLiteral("outer join operator (+) is not allowed here"));
            const int endTok = m_p - 1;
            QString alias;
            if (acceptKw("AS"))
                alias = name();
            else if (aliasFollows())
                alias = name();
            if (!alias.isEmpty()) {
                items.append(e.sql + QStringLiteral(" AS ") + quoteIdent(alias));
            } else if (e.isColumn) {
                items.append(e.sql);
            } else {
                const QString heading =
                    headingOf(m_src.mid(m_t[startTok].start, m_t[endTok].end - m_t[startTok].start));
                items.append(e.sql + QStringLiteral(" AS ") + quoteIdent(heading));
            }
        } while (acceptOp(","));
        if (!acceptKw("FROM"))
            throw DatabaseError(923, QStringLiteral("FROM keyword not found where expected"));

        QList<FromItem> from;
        do {
            from.append(fromItem());
            // ANSI joins after an item.
            for (;;) {
                QString joinKind;
                if (acceptKw("JOIN") || (acceptKw("INNER") && (expectKw("JOIN"), true))) {
                    joinKind = QStringLiteral(" JOIN ");
                } else if (isKw("LEFT") || isKw("RIGHT") || isKw("FULL")) {
                    if (!isKw("LEFT"))
                        throw DatabaseError(900, QStringLiteral("invalid SQL statement"));
                    ++m_p;
                    acceptKw("OUTER");
                    expectKw("JOIN");
                    joinKind = QStringLiteral(" LEFT JOIN ");
                } else if (acceptKw("CROSS")) {
                    expectKw("JOIN");
                    joinKind = QStringLiteral(" CROSS JOIN ");
                } else {
                    break;
                }
                const FromItem right = fromItem();
                QString on;
                if (acceptKw("ON"))
                    on = QStringLiteral(" ON ") + expr().sql;
                from.last().sql += joinKind + right.sql + on;
            }
        } while (acceptOp(","));
        m_scopes.last().complete = true;

        QList<Expr> conjuncts;
        const qint64 outerLimit = m_limit;
        m_limit = -1;
        if (acceptKw("WHERE"))
            conjuncts = whereConjuncts();
        const qint64 limit = m_limit;
        if (isKw("CONNECT") || isKw("START"))
            throw DatabaseError(900, QStringLiteral("invalid SQL statement"));

        // (+) predicates go to the ON clause of their table, which becomes a LEFT JOIN.
        QHash<QString, QStringList> onClauses;
        QStringList where;
        for (const Expr& c : std::as_const(conjuncts)) {
            bool placed = false;
            if (c.outer) {
                for (const FromItem& f : std::as_const(from)) {
                    if (f.alias == c.outerQualifier) {
                        onClauses[f.alias].append(c.sql);
                        placed = true;
                        break;
                    }
                }
            }
            if (!placed)
                where.append(c.sql);
        }
        QStringList inner;
        QStringList outerJoins;
        for (const FromItem& f : std::as_const(from)) {
            if (onClauses.contains(f.alias))
                outerJoins.append(QStringLiteral(" LEFT JOIN ") + f.sql + QStringLiteral(" ON ")
                                  + onClauses[f.alias].join(QStringLiteral(" AND ")));
            else
                inner.append(f.sql);
        }
        if (inner.isEmpty())
            throw DatabaseError(1416, QStringLiteral("two tables cannot be outer-joined to each other"));
        QString sql = head + items.join(QStringLiteral(", ")) + QStringLiteral(" FROM ")
                      + inner.join(QStringLiteral(", ")) + outerJoins.join(QString());
        if (!where.isEmpty())
            sql += QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "));
        if (acceptKw("GROUP")) {
            expectKw("BY");
            QStringList groups;
            do {
                groups.append(expr().sql);
            } while (acceptOp(","));
            sql += QStringLiteral(" GROUP BY ") + groups.join(QStringLiteral(", "));
        }
        if (acceptKw("HAVING"))
            sql += QStringLiteral(" HAVING ") + expr().sql;
        if (limit >= 0) {
            sql += QStringLiteral(" LIMIT %1").arg(limit);
            m_limitedBlock = true;
        }
        m_limit = outerLimit;
        m_scopes.removeLast();
        return sql;
    }

    FromItem fromItem()
    {
        FromItem item;
        if (acceptOp("(")) {
            const QString inner = query();
            expectOp(")");
            item.sql = QLatin1Char('(') + inner + QLatin1Char(')');
            if (aliasFollows()) {
                item.alias = name();
                item.sql += QStringLiteral(" AS ") + quoteIdent(item.alias);
            }
            m_scopes.last().items.append(ScopeItem{item.alias, {}});
            return item;
        }
        const TableRef ref = tableName(QStringLiteral("SELECT"));
        item.alias = ref.name;
        if (aliasFollows())
            item.alias = name();
        item.sql = quoteIdent(ref.storage) + QStringLiteral(" AS ") + quoteIdent(item.alias);
        m_scopes.last().items.append(ScopeItem{item.alias, m_r.columnsOf(ref)});
        return item;
    }

    TableRef tableName(const QString& privilege)
    {
        QString first = name();
        QString owner;
        QString object = first;
        if (acceptOp(".")) {
            owner = first;
            object = name();
        }
        if (isOp("@"))
            throw DatabaseError(2019, QStringLiteral("connection description for remote database not found"));
        return m_r.resolveTable(owner, object, privilege);
    }

    // "ROWNUM < n", "ROWNUM <= n" or "ROWNUM = 1" as a top-level condition: a row limit.
    bool rownumLimit()
    {
        if (!isKw("ROWNUM") || peek(2).kind != Token::Kind::Number)
            return false;
        const bool lt = isOp("<", 1), le = isOp("<=", 1), eq = isOp("=", 1);
        if (!lt && !le && !eq)
            return false;
        const auto n = parseOraNumber(peek(2).text);
        if (!n)
            return false;
        const qint64 v = qint64(n->toDouble());
        if (eq && v != 1)
            return false;
        m_p += 3;
        m_limit = lt ? v - 1 : v;
        if (m_limit < 0)
            m_limit = 0;
        return true;
    }

    QList<Expr> whereConjuncts()
    {
        QList<Expr> terms;
        do {
            if (rownumLimit())
                continue;
            terms.append(notExpr());
        } while (acceptKw("AND"));
        if (isKw("OR")) {
            Expr left;
            QStringList parts;
            for (const Expr& t : std::as_const(terms)) {
                if (t.outer)
                    throw DatabaseError(1719, QStringLiteral("outer join operator (+) not allowed in operand of OR or IN"));
                parts.append(t.sql);
            }
            left.sql = QLatin1Char('(') + parts.join(QStringLiteral(" AND ")) + QLatin1Char(')');
            while (acceptKw("OR")) {
                const Expr right = andExpr();
                if (right.outer)
                    throw DatabaseError(1719, QStringLiteral("outer join operator (+) not allowed in operand of OR or IN"));
                left.sql = left.sql + QStringLiteral(" OR ") + right.sql;
            }
            left.sql = QLatin1Char('(') + left.sql + QLatin1Char(')');
            return {left};
        }
        return terms;
    }

    // The type of a column reference: the innermost block that can hold it decides; a block that
    // may hold it without saying (an inline view, a select list read before its FROM) makes it
    // unknown, and so does a name two tables share.
    ExprType columnType(const QString& qualifier, const QString& column) const
    {
        for (qsizetype level = m_scopes.size() - 1; level >= 0; --level) {
            const Scope& scope = m_scopes[level];
            const ColumnInfo* found = nullptr;
            int matches = 0;
            for (const ScopeItem& item : scope.items) {
                if (!qualifier.isEmpty() && item.alias != qualifier)
                    continue;
                if (item.columns.isEmpty())
                    return ExprType::Unknown;
                if (const ColumnInfo* c = findColumn(item.columns, column)) {
                    found = c;
                    ++matches;
                }
                if (!qualifier.isEmpty())
                    break;
            }
            if (matches > 1)
                return ExprType::Unknown;
            if (found)
                return typeOfColumn(found->dataType);
            if (!scope.complete)
                return ExprType::Unknown;
        }
        return ExprType::Unknown;
    }

    // ---- expressions --------------------------------------------------------------------
    Expr expr()
    {
        Expr left = andExpr();
        while (acceptKw("OR")) {
            const Expr right = andExpr();
            left.sql = QLatin1Char('(') + left.sql + QStringLiteral(" OR ") + right.sql + QLatin1Char(')');
            left.isColumn = false;
        }
        return left;
    }

    Expr andExpr()
    {
        Expr left = notExpr();
        while (acceptKw("AND")) {
            const Expr right = notExpr();
            left.sql = QLatin1Char('(') + left.sql + QStringLiteral(" AND ") + right.sql + QLatin1Char(')');
            left.isColumn = false;
            if (right.outer) {
                left.outer = true;
                left.outerQualifier = right.outerQualifier;
            }
        }
        return left;
    }

    Expr notExpr()
    {
        if (acceptKw("NOT")) {
            Expr e = notExpr();
            e.sql = QStringLiteral("(NOT ") + e.sql + QLatin1Char(')');
            e.isColumn = false;
            return e;
        }
        return predicate();
    }

    static void merge(Expr& into, const Expr& other)
    {
        if (other.outer && !into.outer) {
            into.outer = true;
            into.outerQualifier = other.outerQualifier;
        }
    }

    Expr predicate()
    {
        if (acceptKw("EXISTS")) {
            expectOp("(");
            const QString q = query();
            expectOp(")");
            Expr e;
            e.sql = QStringLiteral("EXISTS (") + q + QLatin1Char(')');
            return e;
        }
        Expr left = additive();
        const bool negated = isKw("NOT") && (isKw("IN", 1) || isKw("LIKE", 1) || isKw("BETWEEN", 1));
        if (negated)
            ++m_p;
        const QString notText = negated ? QStringLiteral(" NOT") : QString();
        Expr out = left;
        out.isColumn = false;
        out.type = ExprType::Unknown;
        if (acceptKw("IN")) {
            expectOp("(");
            QString list;
            QString leftSql = left.sql;
            if (isKw("SELECT")) {
                list = query();
            } else {
                QList<Expr> values;
                do {
                    values.append(expr());
                } while (acceptOp(","));
                leftSql = compared(left, values);
                QStringList parts;
                for (const Expr& v : std::as_const(values))
                    parts.append(v.sql);
                list = parts.join(QStringLiteral(", "));
            }
            expectOp(")");
            if (left.outer)
                throw DatabaseError(1719, QStringLiteral("outer join operator (+) not allowed in operand of OR or IN"));
            out.sql = QLatin1Char('(') + leftSql + notText + QStringLiteral(" IN (") + list + QStringLiteral("))");
            return out;
        }
        if (acceptKw("BETWEEN")) {
            QList<Expr> bounds{additive()};
            expectKw("AND");
            bounds.append(additive());
            merge(out, bounds[0]);
            merge(out, bounds[1]);
            const QString leftSql = compared(left, bounds);
            if (numberRange(left, leftSql, bounds[0]) || numberRange(left, leftSql, bounds[1]))
                out.sql = QStringLiteral("(") + (negated ? QStringLiteral("NOT ") : QString()) + QStringLiteral("(ora_cmp(")
                          + leftSql + QStringLiteral(", ") + bounds[0].sql + QStringLiteral(") >= 0 AND ora_cmp(") + leftSql
                          + QStringLiteral(", ") + bounds[1].sql + QStringLiteral(") <= 0))");
            else
                out.sql = QLatin1Char('(') + leftSql + notText + QStringLiteral(" BETWEEN ") + bounds[0].sql
                          + QStringLiteral(" AND ") + bounds[1].sql + QLatin1Char(')');
            return out;
        }
        if (acceptKw("LIKE")) {
            const Expr pattern = additive();
            merge(out, pattern);
            QString escape;
            if (acceptKw("ESCAPE"))
                escape = QStringLiteral(" ESCAPE ") + additive().sql;
            out.sql = QLatin1Char('(') + left.sql + notText + QStringLiteral(" LIKE ") + pattern.sql + escape
                      + QLatin1Char(')');
            return out;
        }
        if (negated)
            throw syntaxError();
        if (acceptKw("IS")) {
            const bool isNot = acceptKw("NOT");
            expectKw("NULL");
            out.sql = QLatin1Char('(') + left.sql + (isNot ? QStringLiteral(" IS NOT NULL)") : QStringLiteral(" IS NULL)"));
            return out;
        }
        static const char* const comparisons[] = {"=", "<>", "!=", "^=", "<", ">", "<=", ">="};
        for (const char* op : comparisons) {
            if (isOp(op)) {
                ++m_p;
                QString sqlOp = QString::fromLatin1(op);
                if (sqlOp == QLatin1String("!=") || sqlOp == QLatin1String("^="))
                    sqlOp = QStringLiteral("<>");
                QString quantifier;
                if (acceptKw("ANY") || acceptKw("SOME"))
                    quantifier = QStringLiteral("ANY");
                else if (acceptKw("ALL"))
                    quantifier = QStringLiteral("ALL");
                if (!quantifier.isEmpty())
                    throw DatabaseError(900, QStringLiteral("invalid SQL statement"));
                QList<Expr> right{additive()};
                merge(out, right[0]);
                const QString leftSql = compared(left, right);
                if (sqlOp != QLatin1String("=") && sqlOp != QLatin1String("<>") && numberRange(left, leftSql, right[0]))
                    out.sql = QStringLiteral("(ora_cmp(") + leftSql + QStringLiteral(", ") + right[0].sql + QStringLiteral(") ")
                              + sqlOp + QStringLiteral(" 0)");
                else
                    out.sql = QLatin1Char('(') + leftSql + QLatin1Char(' ') + sqlOp + QLatin1Char(' ') + right[0].sql
                              + QLatin1Char(')');
                return out;
            }
        }
        return left;
    }

    // Whether an ordering comparison (<, >, BETWEEN) is one of numbers, which then goes through
    // ora_cmp: SQLite's own would put a value of more than 15 digits (kept as text) after every
    // other number. = and <> need no help, as every value has one stored form. leftSql is left
    // as compared() gave it back (converted to a number where it was text).
    static bool numberRange(const Expr& left, const QString& leftSql, const Expr& right)
    {
        const ExprType l = leftSql != left.sql ? ExprType::Number : left.type;
        const bool numeric = (l == ExprType::Number || l == ExprType::Unknown)
                             && (right.type == ExprType::Number || right.type == ExprType::Unknown);
        return numeric && (l == ExprType::Number || right.type == ExprType::Number);
    }

    // The SQL of left as compared with others (=, IN, BETWEEN), converting the character side
    // where the other is a number: others are converted in place. Text against text stays text;
    // when left is text and its counterparts mix numbers and text, left stays as it is.
    static QString compared(const Expr& left, QList<Expr>& others)
    {
        bool anyNumber = false, anyText = false;
        for (Expr& o : others) {
            if (left.type == ExprType::Number && o.type == ExprType::Text) {
                o.sql = asNumber(o);
                o.type = ExprType::Number;
            }
            anyNumber = anyNumber || o.type == ExprType::Number;
            anyText = anyText || o.type == ExprType::Text;
        }
        if (left.type == ExprType::Text && anyNumber && !anyText)
            return asNumber(left);
        return left.sql;
    }

    Expr additive()
    {
        Expr left = multiplicative();
        for (;;) {
            QString fn;
            if (isOp("||"))
                fn = QStringLiteral("ora_concat");
            else if (isOp("+"))
                fn = QStringLiteral("ora_add");
            else if (isOp("-"))
                fn = QStringLiteral("ora_sub");
            else
                break;
            ++m_p;
            const Expr right = multiplicative();
            merge(left, right);
            left.sql = fn + QLatin1Char('(') + left.sql + QStringLiteral(", ") + right.sql + QLatin1Char(')');
            left.isColumn = false;
            left.type = sumType(fn, left.type, right.type);
        }
        return left;
    }

    static ExprType sumType(const QString& fn, ExprType a, ExprType b)
    {
        if (fn == QLatin1String("ora_concat"))
            return ExprType::Text;
        if (a == ExprType::Number && b == ExprType::Number)
            return ExprType::Number;
        const bool add = fn == QLatin1String("ora_add");
        if ((a == ExprType::Date && b == ExprType::Number) || (add && a == ExprType::Number && b == ExprType::Date))
            return ExprType::Date;
        if (fn == QLatin1String("ora_sub") && a == ExprType::Date && b == ExprType::Date)
            return ExprType::Number;
        return ExprType::Unknown;
    }

    Expr multiplicative()
    {
        Expr left = unary();
        for (;;) {
            QString fn;
            if (isOp("*"))
                fn = QStringLiteral("ora_mul");
            else if (isOp("/"))
                fn = QStringLiteral("ora_div");
            else
                break;
            ++m_p;
            const Expr right = unary();
            merge(left, right);
            left.sql = fn + QLatin1Char('(') + left.sql + QStringLiteral(", ") + right.sql + QLatin1Char(')');
            left.isColumn = false;
            left.type = ExprType::Number;
        }
        return left;
    }

    Expr unary()
    {
        if (acceptOp("-")) {
            Expr e = unary();
            e.sql = QStringLiteral("ora_neg(") + e.sql + QLatin1Char(')');
            e.isColumn = false;
            e.type = ExprType::Number;
            return e;
        }
        if (acceptOp("+"))
            return unary();
        return primary();
    }

    QString numberLiteral(const QString& text)
    {
        const auto n = parseOraNumber(text);
        if (!n)
            throw DatabaseError(1722, QStringLiteral("invalid number"));
        switch (n->kind) {
        case OraNumber::Kind::Integer:
            return QString::number(n->integer);
        case OraNumber::Kind::Real:
            return n->text().startsWith(QLatin1Char('.')) ? QLatin1Char('0') + n->text()
                   : n->text().startsWith(QStringLiteral("-.")) ? QStringLiteral("-0") + n->text().mid(1)
                                                                 : n->text();
        case OraNumber::Kind::Big:
            break;
        }
        return quoteString(QString(kBigNumberMark) + n->big);
    }

    Expr primary()
    {
        const Token t = peek();
        Expr e;
        switch (t.kind) {
        case Token::Kind::Number:
            ++m_p;
            e.sql = numberLiteral(t.text);
            e.type = ExprType::Number;
            return e;
        case Token::Kind::String:
            ++m_p;
            e.sql = t.text.isEmpty() ? QStringLiteral("NULL") : quoteString(t.text);
            e.type = ExprType::Text;
            return e;
        case Token::Kind::Bind:
            ++m_p;
            e.sql = bindParam(t.text);
            return e;
        case Token::Kind::Op:
            if (t.text == QLatin1String("(")) {
                ++m_p;
                if (isKw("SELECT")) {
                    e.sql = QLatin1Char('(') + query() + QLatin1Char(')');
                    expectOp(")");
                    return e;
                }
                e = expr();
                expectOp(")");
                e.sql = QLatin1Char('(') + e.sql + QLatin1Char(')');
                e.isColumn = false;
                return e;
            }
            throw DatabaseError(936, QStringLiteral("missing expression"));
        case Token::Kind::End:
            throw DatabaseError(936, QStringLiteral("missing expression"));
        case Token::Kind::Ident:
        case Token::Kind::QuotedIdent:
            break;
        }
        if (t.kind == Token::Kind::Ident) {
            if (reservedWords().contains(t.text) && t.text != QLatin1String("DISTINCT"))
                throw DatabaseError(936, QStringLiteral("missing expression"));
            if (t.text == QLatin1String("NULL")) {
                ++m_p;
                e.sql = QStringLiteral("NULL");
                return e;
            }
            if (t.text == QLatin1String("CASE"))
                return caseExpr();
            if (isOp("(", 1))
                return functionCall();
            if (!isOp(".", 1)) {
                if (t.text == QLatin1String("SYSDATE")) {
                    ++m_p;
                    e.sql = QStringLiteral("ora_sysdate()");
                    e.type = ExprType::Date;
                    return e;
                }
                if (t.text == QLatin1String("USER")) {
                    ++m_p;
                    e.sql = QStringLiteral("ora_user()");
                    e.type = ExprType::Text;
                    return e;
                }
                if (t.text == QLatin1String("ROWNUM") || t.text == QLatin1String("LEVEL")
                    || t.text == QLatin1String("ROWID"))
                    throw DatabaseError(900, QStringLiteral("invalid SQL statement"));
            }
        }
        // Identifier chain: column, qualifier.column, owner.table.column, sequence.NEXTVAL.
        QStringList parts;
        parts.append(name());
        while (isOp(".") && isName(1)) {
            ++m_p;
            parts.append(name());
        }
        const QString last = parts.last();
        if (parts.size() >= 2 && (last == QLatin1String("NEXTVAL") || last == QLatin1String("CURRVAL"))) {
            const QString seqName = parts[parts.size() - 2];
            const QString owner = parts.size() >= 3 ? parts[parts.size() - 3] : QString();
            const QString key = m_r.resolveSequence(owner, seqName);
            e.sql = bindParam(QLatin1Char('#') + last + QLatin1Char(' ') + key);
            return e;
        }
        e.isColumn = true;
        if (parts.size() == 1) {
            e.sql = quoteIdent(last);
            e.type = columnType(QString(), last);
        } else {
            e.sql = quoteIdent(parts[parts.size() - 2]) + QLatin1Char('.') + quoteIdent(last);
            e.type = columnType(parts[parts.size() - 2], last);
        }
        if (isOp("(") && isOp("+", 1) && isOp(")", 2)) {
            m_p += 3;
            e.outer = true;
            e.outerQualifier = parts.size() >= 2 ? parts[parts.size() - 2] : QString();
        }
        return e;
    }

    Expr caseExpr()
    {
        expectKw("CASE");
        Expr e;
        QString sql = QStringLiteral("CASE");
        if (!isKw("WHEN"))
            sql += QLatin1Char(' ') + expr().sql;
        while (acceptKw("WHEN")) {
            sql += QStringLiteral(" WHEN ") + expr().sql;
            expectKw("THEN");
            sql += QStringLiteral(" THEN ") + expr().sql;
        }
        if (acceptKw("ELSE"))
            sql += QStringLiteral(" ELSE ") + expr().sql;
        expectKw("END");
        e.sql = sql + QStringLiteral(" END");
        return e;
    }

    static ExprType resultType(const QString& fn, const QList<ExprType>& args)
    {
        static const QSet<QString> numbers = {
            QStringLiteral("TO_NUMBER"), QStringLiteral("LENGTH"), QStringLiteral("LENGTHB"), QStringLiteral("MOD"),
            QStringLiteral("ABS"),       QStringLiteral("CEIL"),   QStringLiteral("FLOOR"),   QStringLiteral("SIGN"),
            QStringLiteral("POWER"),     QStringLiteral("SQRT"),   QStringLiteral("INSTR"),   QStringLiteral("ASCII"),
            QStringLiteral("MONTHS_BETWEEN")};
        static const QSet<QString> texts = {
            QStringLiteral("TO_CHAR"), QStringLiteral("LPAD"),    QStringLiteral("RPAD"),      QStringLiteral("SUBSTR"),
            QStringLiteral("SUBSTRB"), QStringLiteral("LTRIM"),   QStringLiteral("RTRIM"),     QStringLiteral("TRIM"),
            QStringLiteral("REPLACE"), QStringLiteral("CONCAT"),  QStringLiteral("CHR"),       QStringLiteral("INITCAP"),
            QStringLiteral("TRANSLATE"), QStringLiteral("UPPER"), QStringLiteral("LOWER"),     QStringLiteral("USERENV"),
            QStringLiteral("TO_MULTI_BYTE"), QStringLiteral("TO_SINGLE_BYTE"), QStringLiteral("SYS_CONTEXT")};
        static const QSet<QString> dates = {QStringLiteral("TO_DATE"), QStringLiteral("ADD_MONTHS"), QStringLiteral("LAST_DAY"),
                                            QStringLiteral("NEXT_DAY")};
        // The first argument decides: ROUND and TRUNC of a date are dates, NVL takes its first
        // argument's type.
        static const QSet<QString> likeFirst = {QStringLiteral("ROUND"), QStringLiteral("TRUNC"), QStringLiteral("NVL"),
                                                QStringLiteral("GREATEST"), QStringLiteral("LEAST")};
        if (numbers.contains(fn))
            return ExprType::Number;
        if (texts.contains(fn))
            return ExprType::Text;
        if (dates.contains(fn))
            return ExprType::Date;
        if (likeFirst.contains(fn) && !args.isEmpty()
            && (args[0] != ExprType::Text || fn == QLatin1String("NVL") || fn == QLatin1String("GREATEST")
                || fn == QLatin1String("LEAST")))
            return args[0];
        return ExprType::Unknown;
    }

    Expr functionCall()
    {
        const QString fn = name();
        expectOp("(");
        Expr e;
        static const QSet<QString> aggregates = {QStringLiteral("COUNT"), QStringLiteral("SUM"), QStringLiteral("MIN"),
                                                 QStringLiteral("MAX"), QStringLiteral("AVG")};
        if (aggregates.contains(fn)) {
            if (fn == QLatin1String("COUNT") && acceptOp("*")) {
                expectOp(")");
                e.sql = QStringLiteral("count(*)");
                e.type = ExprType::Number;
                return e;
            }
            QString distinct;
            if (acceptKw("DISTINCT") || acceptKw("UNIQUE"))
                distinct = QStringLiteral("DISTINCT ");
            else
                acceptKw("ALL");
            const Expr arg = expr();
            expectOp(")");
            // SUM and AVG add up exactly (the engine's ora_sum and ora_avg); MIN, MAX, COUNT are SQLite's.
            const QString name = fn == QLatin1String("SUM") || fn == QLatin1String("AVG") ? QStringLiteral("ora_") + fn.toLower()
                                                                                          : fn.toLower();
            e.sql = name + QLatin1Char('(') + distinct + arg.sql + QLatin1Char(')');
            e.type = fn == QLatin1String("MIN") || fn == QLatin1String("MAX") ? arg.type : ExprType::Number;
            return e;
        }
        QStringList args;
        QList<ExprType> argTypes;
        if (!isOp(")")) {
            do {
                const Expr arg = expr();
                args.append(arg.sql);
                argTypes.append(arg.type);
            } while (acceptOp(","));
        }
        expectOp(")");
        e.type = resultType(fn, argTypes);
        const int n = int(args.size());
        auto need = [&](int lo, int hi) {
            if (n < lo || n > hi)
                throw DatabaseError(909, QStringLiteral("invalid number of arguments"));
        };
        auto call = [&](const QString& sqlName) {
            return sqlName + QLatin1Char('(') + args.join(QStringLiteral(", ")) + QLatin1Char(')');
        };
        if (fn == QLatin1String("DECODE")) {
            if (n < 3)
                throw DatabaseError(938, QStringLiteral("not enough arguments for function"));
            QString sql = QStringLiteral("CASE");
            int i = 1;
            for (; i + 1 < n; i += 2)
                sql += QStringLiteral(" WHEN ") + args[0] + QStringLiteral(" IS ") + args[i] + QStringLiteral(" THEN ")
                       + args[i + 1];
            if (i < n)
                sql += QStringLiteral(" ELSE ") + args[i];
            e.sql = sql + QStringLiteral(" END");
            return e;
        }
        if (fn == QLatin1String("NVL")) {
            need(2, 2);
            e.sql = call(QStringLiteral("coalesce"));
        } else if (fn == QLatin1String("NVL2")) {
            need(3, 3);
            e.sql = QStringLiteral("CASE WHEN ") + args[0] + QStringLiteral(" IS NOT NULL THEN ") + args[1]
                    + QStringLiteral(" ELSE ") + args[2] + QStringLiteral(" END");
        } else if (fn == QLatin1String("GREATEST") || fn == QLatin1String("LEAST")) {
            need(1, 100);
            e.sql = call(fn == QLatin1String("GREATEST") ? QStringLiteral("max") : QStringLiteral("min"));
            if (n == 1)
                e.sql = args[0];
        } else if (fn == QLatin1String("UPPER") || fn == QLatin1String("LOWER")) {
            need(1, 1);
            e.sql = QStringLiteral("ora_") + fn.toLower() + QLatin1Char('(') + args[0] + QLatin1Char(')');
        } else {
            struct Known {
                const char* name;
                int lo, hi;
            };
            static const Known known[] = {
                {"TO_CHAR", 1, 3},   {"TO_DATE", 1, 3},  {"TO_NUMBER", 1, 3}, {"LPAD", 2, 3},     {"RPAD", 2, 3},
                {"SUBSTR", 2, 3},    {"ROUND", 1, 2},    {"TRUNC", 1, 2},     {"LTRIM", 1, 2},    {"RTRIM", 1, 2},
                {"TRIM", 1, 1},      {"LENGTH", 1, 1},   {"MOD", 2, 2},       {"ABS", 1, 1},      {"CEIL", 1, 1},
                {"FLOOR", 1, 1},     {"SIGN", 1, 1},     {"POWER", 2, 2},     {"SQRT", 1, 1},     {"INSTR", 2, 4},
                {"REPLACE", 2, 3},   {"CONCAT", 2, 2},   {"CHR", 1, 1},       {"ASCII", 1, 1},    {"ADD_MONTHS", 2, 2},
                {"LAST_DAY", 1, 1},  {"MONTHS_BETWEEN", 2, 2}, {"INITCAP", 1, 1}, {"TRANSLATE", 3, 3},
                {"LENGTHB", 1, 1},   {"SUBSTRB", 2, 3},  {"USERENV", 1, 1},   {"TO_MULTI_BYTE", 1, 1},
                {"TO_SINGLE_BYTE", 1, 1}, {"NEXT_DAY", 2, 2}, {"SYS_CONTEXT", 2, 3}};
            for (const Known& k : known) {
                if (fn == QLatin1String(k.name)) {
                    need(k.lo, k.hi);
                    e.sql = call(QStringLiteral("ora_") + fn.toLower());
                    return e;
                }
            }
            throw invalidIdentifier(fn);
        }
        return e;
    }

    // ---- DML ----------------------------------------------------------------------------
    // notNull: 0 nullable, 1 NOT NULL on insert, 2 NOT NULL on update (the two differ in their error).
    QString storeExpression(const QString& value, const TableRef& table, const ColumnInfo& c, bool update = false)
    {
        return QStringLiteral("ora_store(%1, %2, %3, %4, %5, %6, %7, %8, %9)")
            .arg(value, quoteString(c.dataType), QString::number(c.length), QString::number(c.precision),
                 QString::number(c.scale), QString::number(c.notNull ? (update ? 2 : 1) : 0), quoteString(table.owner),
                 quoteString(table.name), quoteString(c.name));
    }

    QString defaultOf(const ColumnInfo& c)
    {
        if (c.defaultText.trimmed().isEmpty())
            return QStringLiteral("NULL");
        return translateExpression(c.defaultText, m_r);
    }

    static const ColumnInfo* findColumn(const QList<ColumnInfo>& columns, const QString& name)
    {
        for (const ColumnInfo& c : columns)
            if (c.name == name)
                return &c;
        return nullptr;
    }

    QString insertStatement()
    {
        expectKw("INSERT");
        expectKw("INTO");
        const TableRef table = tableName(QStringLiteral("INSERT"));
        if (aliasFollows() && !isKw("VALUES"))
            name();
        const QList<ColumnInfo> columns = m_r.columnsOf(table);
        QStringList named;
        if (isOp("(") && !isKw("SELECT", 1)) {
            ++m_p;
            do {
                QString c = name();
                if (acceptOp("."))
                    c = name();
                if (!findColumn(columns, c))
                    throw invalidIdentifier(c);
                named.append(c);
            } while (acceptOp(","));
            expectOp(")");
        } else {
            for (const ColumnInfo& c : columns)
                named.append(c.name);
        }
        QStringList targetList;
        for (const ColumnInfo& c : columns)
            targetList.append(quoteIdent(c.name));
        const QString target = QStringLiteral("INSERT INTO ") + quoteIdent(table.storage) + QStringLiteral(" (")
                               + targetList.join(QStringLiteral(", ")) + QStringLiteral(") ");
        if (acceptKw("VALUES")) {
            expectOp("(");
            QStringList values;
            do {
                values.append(expr().sql);
            } while (acceptOp(","));
            expectOp(")");
            if (values.size() < named.size())
                throw DatabaseError(947, QStringLiteral("not enough values"));
            if (values.size() > named.size())
                throw DatabaseError(913, QStringLiteral("too many values"));
            QStringList out;
            for (const ColumnInfo& c : columns) {
                const int i = int(named.indexOf(c.name));
                out.append(storeExpression(i >= 0 ? values[i] : defaultOf(c), table, c));
            }
            return target + QStringLiteral("VALUES (") + out.join(QStringLiteral(", ")) + QLatin1Char(')');
        }
        const QString source = query();
        QStringList keys;
        for (int i = 0; i < named.size(); ++i)
            keys.append(QStringLiteral("k%1").arg(i));
        QStringList out;
        for (const ColumnInfo& c : columns) {
            const int i = int(named.indexOf(c.name));
            out.append(storeExpression(i >= 0 ? keys[i] : defaultOf(c), table, c));
        }
        return QStringLiteral("WITH q(") + keys.join(QStringLiteral(", ")) + QStringLiteral(") AS (") + source
               + QStringLiteral(") ") + target + QStringLiteral("SELECT ") + out.join(QStringLiteral(", "))
               + QStringLiteral(" FROM q");
    }

    QString updateStatement()
    {
        expectKw("UPDATE");
        const TableRef table = tableName(QStringLiteral("UPDATE"));
        QString alias = table.name;
        if (aliasFollows())
            alias = name();
        const QList<ColumnInfo> columns = m_r.columnsOf(table);
        m_scopes.append(Scope{{ScopeItem{alias, columns}}, true});
        expectKw("SET");
        QStringList sets;
        do {
            QString c = name();
            if (acceptOp("."))
                c = name();
            const ColumnInfo* info = findColumn(columns, c);
            if (!info)
                throw invalidIdentifier(c);
            expectOp("=");
            const QString value = expr().sql;
            sets.append(quoteIdent(c) + QStringLiteral(" = ") + storeExpression(value, table, *info, true));
        } while (acceptOp(","));
        QString sql = QStringLiteral("UPDATE ") + quoteIdent(table.storage) + QStringLiteral(" AS ") + quoteIdent(alias)
                      + QStringLiteral(" SET ") + sets.join(QStringLiteral(", "));
        if (acceptKw("WHERE"))
            sql += QStringLiteral(" WHERE ") + expr().sql;
        return sql;
    }

    QString deleteStatement()
    {
        expectKw("DELETE");
        acceptKw("FROM");
        const TableRef table = tableName(QStringLiteral("DELETE"));
        QString alias = table.name;
        if (aliasFollows())
            alias = name();
        QString sql = QStringLiteral("DELETE FROM ") + quoteIdent(table.storage) + QStringLiteral(" AS ") + quoteIdent(alias);
        m_scopes.append(Scope{{ScopeItem{alias, m_r.columnsOf(table)}}, true});
        if (acceptKw("WHERE"))
            sql += QStringLiteral(" WHERE ") + expr().sql;
        return sql;
    }

    const QString& m_src;
    NameResolver& m_r;
    QStringList m_params;
    QList<Scope> m_scopes;
    qint64 m_limit = -1;
    bool m_limitedBlock = false;
};

}  // namespace

int Translator::errorPosition(const DatabaseError& error) const
{
    const int here = qMin(m_p, int(m_t.size()) - 1);
    auto nameAt = [&](int i) {
        return i >= 0 && (m_t[i].kind == Token::Kind::Ident || m_t[i].kind == Token::Kind::QuotedIdent);
    };
    if (error.code() == 942 && here > 0) {
        // The start of the name just read, its owner included.
        int at = here - 1;
        if (nameAt(at - 2) && m_t[at - 1].kind == Token::Kind::Op && m_t[at - 1].text == QLatin1String("."))
            at -= 2;
        return m_t[at].start;
    }
    if (error.code() == 904) {
        const QString text = error.message();
        const int open = int(text.indexOf(QLatin1Char('"')));
        const int close = open < 0 ? -1 : int(text.indexOf(QLatin1Char('"'), open + 1));
        const QString name = close < 0 ? QString() : text.mid(open + 1, close - open - 1);
        for (int i = here; i >= 0; --i)
            if (nameAt(i) && m_t[i].text == name)
                return m_t[i].start;
    }
    return m_t[here].start;
}

Translation translateStatement(const QList<Token>& tokens, const QString& sql, NameResolver& resolver)
{
    Translator t(tokens, sql, resolver);
    try {
        return t.statement();
    } catch (DatabaseError& e) {
        if (e.position() < 0)
            e.setPosition(t.errorPosition(e));
        throw;
    }
}

QString translateExpression(const QString& text, NameResolver& resolver)
{
    const QList<Token> tokens = tokenize(text);
    Translator t(tokens, text, resolver);
    return t.standaloneExpression();
}

QString headingOf(const QString& source)
{
    QString out;
    bool quoted = false;
    for (QChar c : source) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c.isSpace())
            continue;
        out += quoted ? c : c.toUpper();
    }
    return out;
}

}  // namespace kolmara::db::embedded
