// The translator's value expressions: arithmetic and concatenation with the datatypes they give,
// the unary operators (PRIOR included), literals, binds, sequences, scalar subqueries and CASE.
#include "db/embedded/TranslatorInternal.h"

#include "db/embedded/EngineFunctions.h"
#include "db/embedded/OraValues.h"

namespace kolmara::db::embedded::translation {

// ora_concat of many parts, in calls of a few dozen arguments each (SQLite takes no more
// than 127), the calls grouped the same way when there are more.
QString Translator::concatenation(const QStringList& parts)
{
    constexpr qsizetype kWidest = 64;
    if (parts.size() <= kWidest)
        return QStringLiteral("ora_concat(") + parts.join(QStringLiteral(", ")) + QLatin1Char(')');
    const qsizetype groups = (parts.size() + kWidest - 1) / kWidest;
    const qsizetype perGroup = (parts.size() + groups - 1) / groups;
    QStringList grouped;
    for (qsizetype i = 0; i < parts.size(); i += perGroup)
        grouped.append(concatenation(parts.mid(i, perGroup)));
    return concatenation(grouped);
}

// A chain of + and - (or of * and /) as one call of ora_arith, which works left to right as
// the two-operand functions would, so that a long chain does not nest a call per operator.
// A single operator keeps its own function.
class Translator::ArithmeticRun {
public:
    bool empty() const { return m_ops.isEmpty(); }
    void append(const QString& leftSql, QChar op, const QString& rightSql)
    {
        if (m_operands.isEmpty())
            m_operands.append(leftSql);
        m_operands.append(rightSql);
        m_ops += op;
    }
    QString sql() const
    {
        if (m_ops.size() == 1)
            return functionOf(m_ops[0]) + QLatin1Char('(') + m_operands[0] + QStringLiteral(", ")
                   + m_operands[1] + QLatin1Char(')');
        // SQLite takes at most 127 arguments: longer chains continue in a call taking the
        // result so far as its first operand.
        constexpr qsizetype kMostOperators = 100;
        QString sql = m_operands[0];
        for (qsizetype from = 0; from < m_ops.size(); from += kMostOperators) {
            const qsizetype count = qMin(kMostOperators, m_ops.size() - from);
            QString call = QStringLiteral("ora_arith('") + m_ops.mid(from, count)
                           + QStringLiteral("', ") + sql;
            for (qsizetype i = from + 1; i <= from + count; ++i)
                call += QStringLiteral(", ") + m_operands[i];
            sql = call + QLatin1Char(')');
        }
        return sql;
    }

private:
    static QString functionOf(QChar op)
    {
        return op == u'+'   ? QStringLiteral("ora_add")
               : op == u'-' ? QStringLiteral("ora_sub")
               : op == u'*' ? QStringLiteral("ora_mul")
                            : QStringLiteral("ora_div");
    }

    QStringList m_operands;
    QString m_ops;
};

Expr Translator::additive()
{
    Expr left = multiplicative();
    // A run of || becomes one ora_concat of all its parts (see concatenation()), its SQL
    // written when the run ends.
    QStringList concatParts;
    auto endConcatenation = [&] {
        if (!concatParts.isEmpty())
            left.sql = concatenation(concatParts);
        concatParts.clear();
    };
    ArithmeticRun sums;
    auto endSums = [&] {
        if (!sums.empty())
            left.sql = sums.sql();
        sums = {};
    };
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
        const bool concat = fn == QLatin1String("ora_concat");
        if (concat) {
            endSums();
            // A date joins text in the session's date format.
            if (concatParts.isEmpty()) {
                concatParts.append(left.type == ExprType::Date ? asText(left) : left.sql);
                Expr run;
                merge(run, left);
                run.length = left.length;
                run.type = ExprType::Text;
                left = run;
            }
            concatParts.append(right.type == ExprType::Date ? asText(right) : right.sql);
            merge(left, right);
            left.length = left.length >= 0 && right.length >= 0 ? left.length + right.length : -1;
            continue;
        }
        endConcatenation();
        Expr sum;
        merge(sum, left);
        merge(sum, right);
        sums.append(left.sql, fn == QLatin1String("ora_add") ? u'+' : u'-', right.sql);
        // Arithmetic reads character data and binds as numbers (TO_NUMBER), so its result is a
        // number or a date whatever text it was given.
        auto operandType = [](const Expr& e) { return convertible(e) ? ExprType::Number : e.type; };
        sum.type = concat ? ExprType::Text : sumType(fn, operandType(left), operandType(right));
        if (fn == QLatin1String("ora_concat") && left.length >= 0 && right.length >= 0)
            sum.length = left.length + right.length;
        left = sum;
    }
    endSums();
    endConcatenation();
    return left;
}

ExprType Translator::sumType(const QString& fn, ExprType a, ExprType b)
{
    if (fn == QLatin1String("ora_concat"))
        return ExprType::Text;
    if (a == ExprType::Number && b == ExprType::Number)
        return ExprType::Number;
    const bool add = fn == QLatin1String("ora_add");
    if ((a == ExprType::Date && b == ExprType::Number)
        || (add && a == ExprType::Number && b == ExprType::Date))
        return ExprType::Date;
    if (fn == QLatin1String("ora_sub") && a == ExprType::Date && b == ExprType::Date)
        return ExprType::Number;
    return ExprType::Unknown;
}

Expr Translator::multiplicative()
{
    Expr left = unary();
    ArithmeticRun products;
    for (;;) {
        QChar op;
        if (isOp("*"))
            op = u'*';
        else if (isOp("/"))
            op = u'/';
        else
            break;
        ++m_p;
        const Expr right = unary();
        Expr product;
        merge(product, left);
        merge(product, right);
        products.append(left.sql, op, right.sql);
        product.type = ExprType::Number;
        left = product;
    }
    if (!products.empty())
        left.sql = products.sql();
    return left;
}

Expr Translator::unary()
{
    if (acceptOp("-")) {
        const Expr operand = unary();
        Expr e;
        e.sql = QStringLiteral("ora_neg(") + operand.sql + QLatin1Char(')');
        e.type = ExprType::Number;
        if (operand.literal)
            e.literal = -*operand.literal;
        return e;
    }
    if (acceptOp("+"))
        return unary();
    if (isKw("PRIOR")) {
        Block* b = currentBlock();
        if (!b || !b->hierarchical || b->hierarchyClause == 1 || b->priorDepth > 0)
            throw pseudoColumnNotAllowed();
        ++m_p;
        ++b->priorDepth;
        Expr e = unary();
        Block& current = m_scopes.last();
        --current.priorDepth;
        if (current.hierarchyClause == 2) {
            current.sawPrior = true;
            return e;
        }
        // Outside CONNECT BY the parent's value travels with the row (NULL for a root).
        current.priorValues.append(e.sql);
        e.sql = quoteIdent(current.hierarchyAlias)
                + QStringLiteral(".\"kol$q%1\"").arg(current.priorValues.size());
        e.isColumn = false;
        e.column.reset();
        return e;
    }
    return primary();
}

QString Translator::numberLiteral(const QString& text)
{
    const auto n = parseOraNumber(text);
    if (!n)
        throw DatabaseError(1722, QStringLiteral("invalid number"));
    switch (n->kind) {
    case OraNumber::Kind::Integer:
        return QString::number(n->integer);
    case OraNumber::Kind::Real:
        return n->text().startsWith(QLatin1Char('.')) ? QLatin1Char('0') + n->text()
               : n->text().startsWith(QStringLiteral("-."))
                   ? QStringLiteral("-0") + n->text().mid(1)
                   : n->text();
    case OraNumber::Kind::Big:
        break;
    }
    return quoteString(QString(kBigNumberMark) + n->big);
}

Expr Translator::primary()
{
    const Token t = peek();
    Expr e;
    switch (t.kind) {
    case Token::Kind::Number:
        ++m_p;
        e.sql = numberLiteral(t.text);
        e.type = ExprType::Number;
        if (const auto n = parseOraNumber(t.text))
            e.literal = n->toDouble();
        return e;
    case Token::Kind::String:
        ++m_p;
        if (t.text.isEmpty()) {
            e.sql = QStringLiteral("NULL");
            e.isNull = true;
            return e;
        }
        e.sql = quoteString(t.text);
        e.type = ExprType::Char;
        e.length = databaseByteLength(t.text);
        e.fixed = true;
        return e;
    case Token::Kind::Bind:
        ++m_p;
        e.sql = bindParam(t.text);
        e.isBind = true;
        e.fixed = true;
        return e;
    case Token::Kind::Op:
        if (t.text == QLatin1String("(")) {
            ++m_p;
            if (subqueryFollows())
                return scalarSubquery();
            e = expr();
            if (acceptOp(",")) {
                // A row value: (a, b) IN (...), (a, b) = (...).
                QStringList parts{e.sql};
                do {
                    parts.append(expr().sql);
                } while (acceptOp(","));
                expectOp(")");
                Expr row;
                row.sql = QLatin1Char('(') + parts.join(QStringLiteral(", ")) + QLatin1Char(')');
                row.arity = int(parts.size());
                return row;
            }
            expectOp(")");
            e.sql = QLatin1Char('(') + e.sql + QLatin1Char(')');
            e.isColumn = false;
            e.column.reset();
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
            e.isNull = true;
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
            if (t.text == QLatin1String("ROWNUM"))
                return rownumColumn();
            if (t.text == QLatin1String("LEVEL"))
                return levelColumn();
            if (t.text == QLatin1String("ROWID"))
                throw invalidIdentifier(t.text);
        }
    }
    // Identifier chain: column, qualifier.column, owner.table.column, sequence.NEXTVAL.
    const int start = m_p;
    QStringList parts;
    parts.append(name());
    while (isOp(".") && isName(1)) {
        ++m_p;
        parts.append(name());
    }
    const QString last = parts.last();
    if (parts.size() >= 2
        && (last == QLatin1String("NEXTVAL") || last == QLatin1String("CURRVAL"))) {
        const QString seqName = parts[parts.size() - 2];
        const QString owner = parts.size() >= 3 ? parts[parts.size() - 3] : QString();
        const QString key = m_r.resolveSequence(owner, seqName);
        e.sql = bindParam(QLatin1Char('#') + last + QLatin1Char(' ') + key);
        e.type = ExprType::Number;
        return e;
    }
    e = columnReference(parts, start);
    if (isOp("(") && isOp("+", 1) && isOp(")", 2)) {
        m_p += 3;
        e.outer = true;
        e.outerQualifier = parts.size() >= 2 ? parts[parts.size() - 2] : QString();
    }
    return e;
}

// A subquery as a value: its one column of at most one row (ORA-01427 for more).
Expr Translator::scalarSubquery()
{
    const QueryResult q = query();
    expectOp(")");
    checkArity(1, q);
    Expr e;
    if (q.columnsKnown && !q.columns.isEmpty()) {
        e.type = typeOfColumn(q.columns[0].column.dataType);
        e.length = q.columns[0].column.length;
        e.isBind = e.fixed = q.columns[0].bind && e.type == ExprType::Unknown;
    }
    if (q.singleRow)
        e.sql = QLatin1Char('(') + q.sql + QLatin1Char(')');
    else
        e.sql = QStringLiteral("(WITH \"kol$q\"(\"kol$v\") AS (") + q.sql
                + QStringLiteral(") SELECT ora_single_row(\"kol$v\")"
                                 " FROM (SELECT \"kol$v\" FROM \"kol$q\" LIMIT 2))");
    return e;
}

Expr Translator::caseExpr()
{
    expectKw("CASE");
    Expr e;
    QString sql = QStringLiteral("CASE");
    QList<Expr> results;
    if (!isKw("WHEN")) {
        Expr subject = expr();
        while (acceptKw("WHEN")) {
            QList<Expr> value{expr()};
            sql += QStringLiteral(" WHEN ") + compared(subject, value) + QStringLiteral(" = ")
                   + value[0].sql;
            expectKw("THEN");
            results.append(expr());
            sql += QStringLiteral(" THEN ") + results.last().sql;
        }
    } else {
        while (acceptKw("WHEN")) {
            sql += QStringLiteral(" WHEN ") + expr().sql;
            expectKw("THEN");
            results.append(expr());
            sql += QStringLiteral(" THEN ") + results.last().sql;
        }
    }
    if (results.isEmpty())
        throw syntaxError();
    if (acceptKw("ELSE")) {
        results.append(expr());
        sql += QStringLiteral(" ELSE ") + results.last().sql;
    }
    expectKw("END");
    e.sql = sql + QStringLiteral(" END");
    commonType(e, results);
    return e;
}

}  // namespace kolmara::db::embedded::translation
