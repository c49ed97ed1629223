// The translator's conditions: OR, AND and NOT, and the predicates (comparisons, IN, BETWEEN,
// LIKE, IS NULL, EXISTS and the comparisons with ANY, ALL or a subquery), with the conversions
// Oracle makes between the datatypes compared.
#include "db/embedded/TranslatorInternal.h"

namespace kolmara::db::embedded::translation {

Expr Translator::expr()
{
    const Nesting level(m_nesting);
    Expr left = andExpr();
    if (!isKw("OR"))
        return left;
    QStringList terms{left.sql};
    while (acceptKw("OR"))
        terms.append(andExpr().sql);
    return condition(balanced(terms, QStringLiteral(" OR ")));
}

// terms joined by an associative operator, grouped as a balanced tree: a chain of a thousand
// terms nests ten levels deep in the SQL given to SQLite, not a thousand, and is written in
// time linear in its length.
QString Translator::balanced(const QStringList& terms, const QString& op)
{
    QString out;
    balancedInto(out, terms, 0, terms.size(), op);
    return out;
}

void Translator::balancedInto(QString& out, const QStringList& terms, qsizetype from, qsizetype to,
                              const QString& op)
{
    if (to - from == 1) {
        out += terms[from];
        return;
    }
    const qsizetype mid = from + (to - from + 1) / 2;
    out += QLatin1Char('(');
    balancedInto(out, terms, from, mid, op);
    out += op;
    balancedInto(out, terms, mid, to, op);
    out += QLatin1Char(')');
}

Expr Translator::condition(const QString& sql)
{
    Expr e;
    e.sql = sql;
    return e;
}

Expr Translator::andExpr()
{
    Expr left = notExpr();
    if (!isKw("AND"))
        return left;
    Expr both = condition(QString());
    merge(both, left);
    QStringList terms{left.sql};
    while (acceptKw("AND")) {
        const Expr right = notExpr();
        merge(both, right);
        terms.append(right.sql);
    }
    both.sql = balanced(terms, QStringLiteral(" AND "));
    return both;
}

Expr Translator::notExpr()
{
    if (acceptKw("NOT")) {
        const Expr e = notExpr();
        return condition(QStringLiteral("(NOT ") + e.sql + QLatin1Char(')'));
    }
    return predicate();
}

void Translator::merge(Expr& into, const Expr& other)
{
    if (other.outer && !into.outer) {
        into.outer = true;
        into.outerQualifier = other.outerQualifier;
    }
}

Expr Translator::predicate()
{
    if (acceptKw("EXISTS")) {
        expectOp("(");
        const QueryResult q = query();
        expectOp(")");
        return condition(QStringLiteral("EXISTS (") + q.sql + QLatin1Char(')'));
    }
    Expr left = additive();
    const bool negated = isKw("NOT") && (isKw("IN", 1) || isKw("LIKE", 1) || isKw("BETWEEN", 1));
    if (negated)
        ++m_p;
    const QString notText = negated ? QStringLiteral(" NOT") : QString();
    Expr out = condition(QString());
    merge(out, left);
    if (acceptKw("IN")) {
        if (left.outer)
            throw DatabaseError(
                1719, QStringLiteral("outer join operator (+) not allowed in operand of OR or IN"));
        expectOp("(");
        QString list;
        QString leftSql = left.sql;
        if (subqueryFollows()) {
            const QueryResult q = query();
            checkArity(left.arity, q);
            list = q.sql;
            if (left.arity == 1 && q.columnsKnown && !q.columns.isEmpty()) {
                QList<Expr> column{Expr()};
                column[0].type = typeOfColumn(q.columns[0].column.dataType);
                leftSql = compared(left, column);
            }
        } else {
            QList<Expr> values;
            do {
                values.append(expr());
                if (values.last().arity != left.arity)
                    throw values.last().arity > left.arity ? tooManyValues() : notEnoughValues();
            } while (acceptOp(","));
            QStringList parts;
            if (left.arity == 1) {
                leftSql = compared(left, values);
                for (const Expr& v : std::as_const(values))
                    parts.append(v.sql);
                list = parts.join(QStringLiteral(", "));
            } else {
                for (const Expr& v : std::as_const(values))
                    parts.append(v.sql);
                list = QStringLiteral("VALUES ") + parts.join(QStringLiteral(", "));
            }
        }
        expectOp(")");
        out.sql = QLatin1Char('(') + leftSql + notText + QStringLiteral(" IN (") + list
                  + QStringLiteral("))");
        return out;
    }
    if (acceptKw("BETWEEN")) {
        QList<Expr> bounds{additive()};
        expectKw("AND");
        bounds.append(additive());
        merge(out, bounds[0]);
        merge(out, bounds[1]);
        const QString leftSql = compared(left, bounds);
        const ExprType leftType = comparedType(left, bounds);
        if (numberRange(leftType, bounds[0]) || numberRange(leftType, bounds[1]))
            out.sql = QStringLiteral("(") + (negated ? QStringLiteral("NOT ") : QString())
                      + QStringLiteral("(ora_cmp(") + leftSql + QStringLiteral(", ") + bounds[0].sql
                      + QStringLiteral(") >= 0 AND ora_cmp(") + leftSql + QStringLiteral(", ")
                      + bounds[1].sql + QStringLiteral(") <= 0))");
        else
            out.sql = QLatin1Char('(') + leftSql + notText + QStringLiteral(" BETWEEN ")
                      + bounds[0].sql + QStringLiteral(" AND ") + bounds[1].sql + QLatin1Char(')');
        return out;
    }
    if (acceptKw("LIKE")) {
        const Expr pattern = additive();
        merge(out, pattern);
        QString escape;
        if (acceptKw("ESCAPE"))
            escape = QStringLiteral(" ESCAPE ") + additive().sql;
        out.sql = QLatin1Char('(') + left.sql + notText + QStringLiteral(" LIKE ") + pattern.sql
                  + escape + QLatin1Char(')');
        return out;
    }
    if (negated)
        throw syntaxError();
    if (acceptKw("IS")) {
        const bool isNot = acceptKw("NOT");
        expectKw("NULL");
        out.sql = QLatin1Char('(') + left.sql
                  + (isNot ? QStringLiteral(" IS NOT NULL)") : QStringLiteral(" IS NULL)"));
        return out;
    }
    QString op = comparisonAt();
    if (op.isEmpty())
        return left;
    ++m_p;
    if (op == QLatin1String("!=") || op == QLatin1String("^="))
        op = QStringLiteral("<>");
    if (acceptKw("ANY") || acceptKw("SOME"))
        return quantified(left, op, false);
    if (acceptKw("ALL"))
        return quantified(left, op, true);
    if (left.arity > 1) {
        // (a, b) = (SELECT x, y ...): one row at most, as for any single-row subquery.
        expectOp("(");
        if (subqueryFollows()) {
            const QueryResult q = query();
            expectOp(")");
            checkArity(left.arity, q);
            out.sql = QStringLiteral("(CASE WHEN (SELECT count(*) FROM (SELECT 1 FROM (%1)"
                                     " LIMIT 2)) > 1 THEN %2 END IS NULL AND %3 %4 (%1))")
                          .arg(q.sql, tooManyRowsError(), left.sql, op);
            return out;
        }
        --m_p;
        const Expr right = primary();
        if (right.arity != left.arity)
            throw right.arity > left.arity ? tooManyValues() : notEnoughValues();
        out.sql = QLatin1Char('(') + left.sql + QLatin1Char(' ') + op + QLatin1Char(' ') + right.sql
                  + QLatin1Char(')');
        return out;
    }
    QList<Expr> right{additive()};
    merge(out, right[0]);
    const QString leftSql = compared(left, right);
    out.sql = comparison(leftSql, comparedType(left, right), op, right[0]);
    return out;
}

// Whether an ordering comparison (<, >, BETWEEN, ANY/ALL) is one of numbers, which then goes
// through ora_cmp: SQLite's own would put a value of more than 15 digits (kept as text) after
// every other number. = and <> need no help, as every value has one stored form. left is the
// type of the left side as compared() left it (a character side converted to a number is a
// number).
bool Translator::numberRange(ExprType left, const Expr& right)
{
    const bool numeric = (left == ExprType::Number || left == ExprType::Unknown)
                         && (right.type == ExprType::Number || right.type == ExprType::Unknown);
    return numeric && (left == ExprType::Number || right.type == ExprType::Number);
}

// The type compared() gives left against others already converted by it.
ExprType Translator::comparedType(const Expr& left, const QList<Expr>& others)
{
    if (!convertible(left) || others.isEmpty())
        return left.type;
    for (const Expr& o : others)
        if (o.type != ExprType::Number)
            return left.type;
    return ExprType::Number;
}

// leftSql op right, where left has the type leftType after compared().
QString Translator::comparison(const QString& leftSql, ExprType leftType, const QString& op,
                               const Expr& right)
{
    if (op != QLatin1String("=") && op != QLatin1String("<>") && numberRange(leftType, right))
        return QStringLiteral("(ora_cmp(") + leftSql + QStringLiteral(", ") + right.sql
               + QStringLiteral(") ") + op + QStringLiteral(" 0)");
    return QLatin1Char('(') + leftSql + QLatin1Char(' ') + op + QLatin1Char(' ') + right.sql
           + QLatin1Char(')');
}

QString Translator::tooManyRowsError()
{
    return QStringLiteral("ora_raise(1427, 'single-row subquery returns more than one row')");
}

void Translator::checkArity(int arity, const QueryResult& q)
{
    if (!q.columnsKnown || q.columns.size() == arity)
        return;
    throw q.columns.size() > arity ? tooManyValues() : notEnoughValues();
}

// x op ANY (...) and x op ALL (...), over a list or a subquery.
Expr Translator::quantified(const Expr& left, const QString& op, bool all)
{
    expectOp("(");
    Expr out = condition(QString());
    if (subqueryFollows()) {
        const QueryResult q = query();
        expectOp(")");
        checkArity(1, q);
        Expr value;
        value.sql = QStringLiteral("\"kol$v\"");
        if (q.columnsKnown && !q.columns.isEmpty()) {
            value.type = typeOfColumn(q.columns[0].column.dataType);
            value.isBind = q.columns[0].bind && value.type == ExprType::Unknown;
        }
        QList<Expr> others{value};
        const QString leftSql = compared(left, others);
        const QString test = comparison(leftSql, comparedType(left, others), op, others[0]);
        const QString rows = QStringLiteral("WITH \"kol$q\"(\"kol$v\") AS (") + q.sql
                             + QStringLiteral(") SELECT 1 FROM \"kol$q\" WHERE ");
        // ALL holds when no value fails it: a comparison that is unknown fails too.
        out.sql = all ? QStringLiteral("(NOT EXISTS (") + rows + QStringLiteral("NOT coalesce(")
                            + test + QStringLiteral(", 0)))")
                      : QStringLiteral("(EXISTS (") + rows + test + QStringLiteral("))");
        return out;
    }
    QList<Expr> values;
    do {
        values.append(expr());
    } while (acceptOp(","));
    expectOp(")");
    const QString leftSql = compared(left, values);
    const ExprType leftType = comparedType(left, values);
    QStringList tests;
    for (const Expr& v : std::as_const(values))
        tests.append(comparison(leftSql, leftType, op, v));
    out.sql = QLatin1Char('(') + tests.join(all ? QStringLiteral(" AND ") : QStringLiteral(" OR "))
              + QLatin1Char(')');
    return out;
}

// The SQL of left as compared with others (=, IN, BETWEEN), with Oracle's conversions: the
// character side converts to a number or a date when the other side is one (others are
// converted in place), a date never meets a number (ORA-00932), and two blank-padded values
// compare without their trailing blanks.
QString Translator::compared(const Expr& left, QList<Expr>& others)
{
    bool allNumber = true, allDate = true, allChar = true;
    for (Expr& o : others) {
        if (left.type == ExprType::Number && convertible(o)) {
            o.sql = asNumber(o);
            o.type = ExprType::Number;
        } else if (left.type == ExprType::Date && convertible(o)) {
            o.sql = asDate(o);
            o.type = ExprType::Date;
        } else if ((left.type == ExprType::Date && o.type == ExprType::Number)
                   || (left.type == ExprType::Number && o.type == ExprType::Date)) {
            throw inconsistentTypes(left.type, o.type);
        }
        allNumber = allNumber && o.type == ExprType::Number;
        allDate = allDate && o.type == ExprType::Date;
        allChar = allChar && o.type == ExprType::Char;
    }
    if (convertible(left) && !others.isEmpty()) {
        if (allNumber)
            return asNumber(left);
        if (allDate)
            return asDate(left);
        if (left.type == ExprType::Char && allChar)
            return QLatin1Char('(') + left.sql + QStringLiteral(") COLLATE ")
                   + QLatin1String(kBlankPaddedCollation);
    }
    return left.sql;
}

}  // namespace kolmara::db::embedded::translation
