// The translator's WHERE clause and ROWNUM: the conjuncts of WHERE, the ROWNUM conditions that
// become the block's row limit, and ROWNUM as a value.
#include "db/embedded/TranslatorInternal.h"

#include "db/embedded/QueryFunctions.h"

#include <QHash>

namespace kolmara::db::embedded::translation {

// A condition must compare or test something: a bare column, literal or bind standing as one is
// refused as Oracle refuses it (ORA-00920), not read as SQLite's truth of a value.
void Translator::refuseValueAsCondition(const Expr& e)
{
    if (e.isColumn || e.literal || e.isNull || e.isBind)
        throw DatabaseError(920, QStringLiteral("invalid relational operator"));
}

// The conjuncts of a WHERE clause; the block at `level` takes its ROWNUM conditions as its
// row limit.
QList<Expr> Translator::whereConjuncts(qsizetype level, QList<QPair<int, int>>* ranges)
{
    QList<Expr> terms;
    bool rownum = false;
    const int whereStart = m_p;
    do {
        if (rownumCondition(level)) {
            rownum = true;
            continue;
        }
        const int start = m_p;
        terms.append(notExpr());
        refuseValueAsCondition(terms.last());
        if (ranges)
            ranges->append({start, m_p});
    } while (acceptKw("AND"));
    if (isKw("OR")) {
        // ROWNUM only limits the rows as a condition of its own.
        if (rownum)
            throw pseudoColumnNotAllowed();
        Expr left;
        QStringList parts;
        for (const Expr& t : std::as_const(terms)) {
            if (t.outer)
                throw DatabaseError(
                    1719,
                    QStringLiteral("outer join operator (+) not allowed in operand of OR or IN"));
            parts.append(t.sql);
        }
        QStringList alternatives{balanced(parts, QStringLiteral(" AND "))};
        while (acceptKw("OR")) {
            const Expr right = andExpr();
            if (right.outer)
                throw DatabaseError(
                    1719,
                    QStringLiteral("outer join operator (+) not allowed in operand of OR or IN"));
            alternatives.append(right.sql);
        }
        left.sql = QLatin1Char('(') + balanced(alternatives, QStringLiteral(" OR "))
                   + QLatin1Char(')');
        if (ranges)
            *ranges = {{whereStart, m_p}};
        return {left};
    }
    return terms;
}

// "ROWNUM op value", "value op ROWNUM" or "ROWNUM BETWEEN a AND b" as a conjunct of its own.
bool Translator::rownumCondition(qsizetype level)
{
    QString op;
    if (isKw("ROWNUM") && isKw("BETWEEN", 1)) {
        m_p += 2;
        const Expr low = additive();
        expectKw("AND");
        const Expr high = additive();
        addRownumLimit(level, QStringLiteral(">="), low);
        addRownumLimit(level, QStringLiteral("<="), high);
        return true;
    }
    if (isKw("ROWNUM") && !(op = comparisonAt(1)).isEmpty()) {
        m_p += 2;
        addRownumLimit(level, op, additive());
        return true;
    }
    // value op ROWNUM, ROWNUM ending the conjunct.
    int depth = 0;
    for (int i = m_p; i < m_t.size() && !clauseEnds(i); ++i) {
        const Token& t = tokenAt(i);
        if (t.kind == Token::Kind::Op && t.text == QLatin1String("("))
            ++depth;
        else if (t.kind == Token::Kind::Op && t.text == QLatin1String(")") && --depth < 0)
            return false;
        else if (depth == 0 && t.kind == Token::Kind::Ident
                 && (t.text == QLatin1String("AND") || t.text == QLatin1String("OR")))
            return false;
        else if (depth == 0 && !(op = comparisonAt(i - m_p)).isEmpty()) {
            const bool last = clauseEnds(i + 2) || isKw("AND", i + 2 - m_p)
                              || isKw("OR", i + 2 - m_p) || isOp(")", i + 2 - m_p);
            if (!isKw("ROWNUM", i + 1 - m_p) || !last)
                return false;
            const Expr value = additive();
            if (m_p != i)
                throw pseudoColumnNotAllowed();
            m_p = i + 2;
            static const QHash<QString, QString> flipped = {
                {QStringLiteral("<"), QStringLiteral(">")},
                {QStringLiteral(">"), QStringLiteral("<")},
                {QStringLiteral("<="), QStringLiteral(">=")},
                {QStringLiteral(">="), QStringLiteral("<=")}};
            addRownumLimit(level, flipped.value(op, op), value);
            return true;
        }
    }
    return false;
}

void Translator::addRownumLimit(qsizetype level, QString op, const Expr& value)
{
    if (op == QLatin1String("!=") || op == QLatin1String("^="))
        op = QStringLiteral("<>");
    Block& b = m_scopes[level];
    if (value.literal)
        b.literalLimit = qMin(b.literalLimit, rownumLimit(op, *value.literal));
    else
        b.limitExpressions.append(
            QStringLiteral("ora_rownum_limit(%1, %2)").arg(quoteString(op), value.sql));
}

// ROWNUM in a select list or ORDER BY: the row's number in the order the rows passed WHERE.
Expr Translator::rownumColumn()
{
    Block* b = currentBlock();
    Expr e;
    e.type = ExprType::Number;
    e.shortNumber = true;
    if (b && b->rownumNumbers) {
        ++m_p;
        e.sql = QStringLiteral("\"kol$n\".\"kol$rn\"");
        b->rownumRead = true;
        return e;
    }
    if (!b || !b->windowAllowed)
        throw pseudoColumnNotAllowed();
    const int start = m_p++;
    b->uses.append(ColumnUse{start, m_p, QStringLiteral("ROWNUM"), b->aggregateDepth});
    e.sql = QStringLiteral("row_number() OVER ()");
    return e;
}

}  // namespace kolmara::db::embedded::translation
