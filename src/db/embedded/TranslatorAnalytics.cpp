// The translator's aggregate and analytic functions: an aggregate of a grouped query, or the same
// function with OVER (partition, order and window frame) as a window function of SQLite, and the
// analytic-only functions (ROW_NUMBER, RANK, LAG, ...). Where each may appear is checked here.
#include "db/embedded/TranslatorInternal.h"

namespace kolmara::db::embedded::translation {

Expr Translator::aggregateCall(const QString& fn)
{
    Expr e;
    Block* b = currentBlock();
    if (fn == QLatin1String("COUNT") && acceptOp("*")) {
        expectOp(")");
        e.sql = QStringLiteral("count(*)");
        e.type = ExprType::Number;
        e.shortNumber = true;
        return aggregateOrWindow(e, QString(), b ? b->uses.size() : 0);
    }
    QString distinct;
    if (acceptKw("DISTINCT") || acceptKw("UNIQUE"))
        distinct = QStringLiteral("DISTINCT ");
    else
        acceptKw("ALL");
    const qsizetype usesBefore = b ? b->uses.size() : 0;
    if (b)
        ++b->aggregateDepth;
    const Expr arg = expr();
    if (b)
        --m_scopes.last().aggregateDepth;
    expectOp(")");
    // SUM and AVG add up exactly (the engine's ora_sum and ora_avg); MIN and MAX of numbers
    // that may be kept as text compare exactly (ora_min, ora_max; see orderKey for the _i
    // forms); COUNT is SQLite's.
    const bool extreme = fn == QLatin1String("MIN") || fn == QLatin1String("MAX");
    QString sqlName = fn.toLower();
    if (fn == QLatin1String("SUM") || fn == QLatin1String("AVG"))
        sqlName = QStringLiteral("ora_") + fn.toLower();
    else if (extreme && mayBeLongNumber(arg))
        sqlName = QStringLiteral("ora_") + fn.toLower()
                  + (!isKw("OVER") && probed(arg) ? QStringLiteral("_i") : QString());
    e.sql = sqlName + QLatin1Char('(') + distinct + arg.sql + QLatin1Char(')');
    e.type = extreme ? arg.type : ExprType::Number;
    e.shortNumber = fn == QLatin1String("COUNT");
    if (extreme) {
        e.length = arg.length;
        e.shortNumber = !mayBeLongNumber(arg);
        if (e.type == ExprType::Char)
            e.type = ExprType::Text;
    }
    return aggregateOrWindow(e, distinct, usesBefore);
}

// An aggregate, or with OVER (...) the same function over a window: its argument's columns
// then belong to each row, not to a group.
Expr Translator::aggregateOrWindow(Expr e, const QString& distinct, qsizetype usesBefore)
{
    Block* b = currentBlock();
    if (!isKw("OVER")) {
        if (b && b->aggregateForbidden)
            throw DatabaseError(934, QStringLiteral("group function is not allowed here"));
        if (b)
            b->hasAggregate = true;
        return e;
    }
    if (!distinct.isEmpty())
        throw DatabaseError(30482, QStringLiteral("DISTINCT option not allowed for this function"));
    for (qsizetype i = usesBefore; b && i < b->uses.size(); ++i)
        if (b->uses[i].aggregateDepth == b->aggregateDepth + 1)
            b->uses[i].aggregateDepth = b->aggregateDepth;
    // The exact MIN and MAX of a window, whose rows also leave it.
    for (const char* name : {"ora_min(", "ora_max("})
        if (e.sql.startsWith(QLatin1String(name)))
            e.sql.replace(0, 4, QStringLiteral("ora_w"));
    e.sql += overClause(false);
    return e;
}

// OVER ([PARTITION BY ...] [ORDER BY ... [ROWS | RANGE ...]]).
// partition, when given, receives the clause without its ORDER BY and frame: " OVER (PARTITION
// BY ...)".
QString Translator::overClause(bool orderRequired, QString* partition)
{
    Block* b = currentBlock();
    if (!b || !b->windowAllowed)
        throw DatabaseError(30483, QStringLiteral("window  functions are not allowed here"));
    expectKw("OVER");
    expectOp("(");
    b->windowAllowed = false;
    b->hasWindow = true;
    const bool inOrderBy = b->inOrderBy;
    b->inOrderBy = false;
    QString sql = QStringLiteral(" OVER (");
    if (acceptKw("PARTITION")) {
        expectKw("BY");
        QStringList parts;
        do {
            parts.append(expr().sql);
        } while (acceptOp(","));
        sql += QStringLiteral("PARTITION BY ") + parts.join(QStringLiteral(", "));
    }
    if (partition)
        *partition = sql + QLatin1Char(')');
    bool ordered = false;
    if (acceptKw("ORDER")) {
        expectKw("BY");
        QString plain;
        QString items = orderItems(nullptr, &plain);
        QString frame;
        if (isKw("ROWS") || isKw("RANGE"))
            frame = QLatin1Char(' ') + windowFrame();
        // A RANGE of so many values before or after sorts by the values themselves.
        const QString bounds = QString(frame)
                                   .remove(QLatin1String("UNBOUNDED PRECEDING"))
                                   .remove(QLatin1String("UNBOUNDED FOLLOWING"));
        if (frame.startsWith(QLatin1String(" RANGE"))
            && (bounds.contains(QLatin1String("PRECEDING"))
                || bounds.contains(QLatin1String("FOLLOWING"))))
            items = plain;
        sql += (sql.endsWith(QLatin1Char('(')) ? QString() : QStringLiteral(" "))
               + QStringLiteral("ORDER BY ") + items + frame;
        ordered = true;
    }
    expectOp(")");
    Block& current = m_scopes.last();
    current.windowAllowed = true;
    current.inOrderBy = inOrderBy;
    if (orderRequired && !ordered)
        throw DatabaseError(
            30485, QStringLiteral("missing ORDER BY expression in the window specification"));
    return sql + QLatin1Char(')');
}

QString Translator::windowFrame()
{
    QString sql = name();
    auto bound = [&]() {
        if (acceptKw("UNBOUNDED")) {
            const QString side = name();
            return QStringLiteral("UNBOUNDED ") + side;
        }
        if (acceptKw("CURRENT")) {
            expectKw("ROW");
            return QStringLiteral("CURRENT ROW");
        }
        const QString offset = additive().sql;
        if (!isKw("PRECEDING") && !isKw("FOLLOWING"))
            throw DatabaseError(905, QStringLiteral("missing keyword"));
        return offset + QLatin1Char(' ') + name();
    };
    if (acceptKw("BETWEEN")) {
        sql += QStringLiteral(" BETWEEN ") + bound();
        expectKw("AND");
        sql += QStringLiteral(" AND ") + bound();
    } else {
        sql += QLatin1Char(' ') + bound();
    }
    return sql;
}

Expr Translator::analyticCall(const QString& fn, const QList<Expr>& args)
{
    if (!isKw("OVER"))
        throw DatabaseError(30484,
                            QStringLiteral("missing window specification for this function"));
    const int n = int(args.size());
    auto need = [&](int lo, int hi) {
        if (n < lo || n > hi)
            throw DatabaseError(909, QStringLiteral("invalid number of arguments"));
    };
    QStringList sqlArgs;
    for (const Expr& a : args)
        sqlArgs.append(a.sql);
    Expr e;
    e.type = ExprType::Number;
    if (fn == QLatin1String("RATIO_TO_REPORT")) {
        need(1, 1);
        const QString over = overClause(false);
        if (over.contains(QStringLiteral(" ORDER BY ")))
            throw DatabaseError(30487, QStringLiteral("ORDER BY not allowed here"));
        e.sql = QStringLiteral("ora_div(%1, ora_sum(%1)%2)").arg(sqlArgs[0], over);
        return e;
    }
    if (fn == QLatin1String("LAG") || fn == QLatin1String("LEAD")) {
        need(1, 3);
        e.type = args[0].type;
    } else if (fn == QLatin1String("FIRST_VALUE") || fn == QLatin1String("LAST_VALUE")) {
        need(1, 1);
        e.type = args[0].type;
    } else if (fn == QLatin1String("NTILE")) {
        need(1, 1);
    } else {
        need(0, 0);
    }
    const bool orderRequired = fn != QLatin1String("FIRST_VALUE")
                               && fn != QLatin1String("LAST_VALUE");
    if (fn == QLatin1String("PERCENT_RANK") || fn == QLatin1String("CUME_DIST")) {
        // Fractions of the partition's rows, divided exactly: the rows ranked before this one
        // of the others, or the rows up to this one and its peers of all.
        QString partition;
        const QString over = overClause(orderRequired, &partition);
        const QString rows = QStringLiteral("count(*)") + partition;
        e.sql = fn == QLatin1String("CUME_DIST")
                    ? QStringLiteral("ora_div(count(*)%1, %2)").arg(over, rows)
                    : QStringLiteral(
                          "CASE WHEN %2 = 1 THEN 0 ELSE ora_div(rank()%1 - 1, %2 - 1) END")
                          .arg(over, rows);
        return e;
    }
    e.shortNumber = fn == QLatin1String("ROW_NUMBER") || fn == QLatin1String("RANK")
                    || fn == QLatin1String("DENSE_RANK") || fn == QLatin1String("NTILE");
    e.sql = fn.toLower() + QLatin1Char('(') + sqlArgs.join(QStringLiteral(", ")) + QLatin1Char(')')
            + overClause(orderRequired);
    return e;
}

}  // namespace kolmara::db::embedded::translation
