// The translator's queries: compound queries (UNION, MINUS, INTERSECT) and WITH, a query block
// read in its phases (FROM before the select list, then WHERE, the hierarchy, GROUP BY, HAVING,
// ORDER BY) and written as SQLite's SELECT, the select list and ORDER BY.
#include "db/embedded/TranslatorInternal.h"

#include <QHash>
#include <QRegularExpression>

namespace kolmara::db::embedded::translation {

QueryResult Translator::query()
{
    const Nesting level(m_nesting);
    const qsizetype visibleTables = m_commonTables.size();
    if (acceptKw("WITH"))
        withDefinitions();
    QueryResult result = queryTerm(true);
    bool compound = false;
    for (;;) {
        QString op;
        if (acceptKw("UNION"))
            op = acceptKw("ALL") ? QStringLiteral(" UNION ALL ") : QStringLiteral(" UNION ");
        else if (acceptKw("MINUS"))
            op = QStringLiteral(" EXCEPT ");
        else if (acceptKw("INTERSECT"))
            op = QStringLiteral(" INTERSECT ");
        else
            break;
        if (result.orderedBlock)
            throw DatabaseError(933, QStringLiteral("SQL command not properly ended"));
        // ROWNUM limits rows before a set operator: keep that order.
        if (!compound && result.limited)
            result.sql = QStringLiteral("SELECT * FROM (") + result.sql + QLatin1Char(')');
        QueryResult term = queryTerm(false);
        if (term.limited)
            term.sql = QStringLiteral("SELECT * FROM (") + term.sql + QLatin1Char(')');
        checkSetOperands(result, term);
        result.sql += op + term.sql;
        result.singleRow = false;
        result.limited = false;
        compound = true;
    }
    if (isKw("ORDER") && !result.orderedBlock) {
        // The ORDER BY of a compound query or a parenthesized one names result columns.
        m_scopes.append(Block());
        Block& names = m_scopes.last();
        names.complete = true;
        names.barrier = true;
        names.inOrderBy = true;
        for (const ResultColumn& c : std::as_const(result.columns)) {
            names.outputNames.append(c.column.name);
            Expr column;
            column.sql = quoteIdent(c.column.name);
            column.type = typeOfColumn(c.column.dataType);
            column.column = c.column;
            if (result.columnsKnown)
                names.outputExprs.append(column);
        }
        const QString order = orderByClause(nullptr);
        // A compound query sorts only by its result columns as they are: keyed, it is read as
        // a subquery.
        const bool keyed = m_scopes.last().orderKeyed;
        m_scopes.removeLast();
        if (result.limited || keyed)
            result.sql = QStringLiteral("SELECT * FROM (") + result.sql + QLatin1Char(')');
        result.sql += order;
        result.limited = false;
    }
    m_commonTables.resize(visibleTables);
    return result;
}

void Translator::checkSetOperands(const QueryResult& a, const QueryResult& b)
{
    if (!a.columnsKnown || !b.columnsKnown)
        return;
    if (a.columns.size() != b.columns.size())
        throw DatabaseError(1789,
                            QStringLiteral("query block has incorrect number of result columns"));
    for (qsizetype i = 0; i < a.columns.size(); ++i)
        if (differentFamilies(typeOfColumn(a.columns[i].column.dataType),
                              typeOfColumn(b.columns[i].column.dataType)))
            throw DatabaseError(
                1790,
                QStringLiteral("expression must have same datatype as corresponding expression"));
}

// WITH name [(columns)] AS (query), ...: each becomes a common table of the statement.
void Translator::withDefinitions()
{
    do {
        const QString tableName = name();
        QStringList names;
        if (acceptOp("(")) {
            do {
                names.append(name());
            } while (acceptOp(","));
            expectOp(")");
        }
        expectKw("AS");
        expectOp("(");
        const QueryResult q = query();
        expectOp(")");
        CommonTable table{tableName, {}, q.columnsKnown};
        for (const ResultColumn& c : q.columns)
            table.columns.append(c.column);
        QString columnList;
        if (!names.isEmpty()) {
            if (q.columnsKnown && q.columns.size() != names.size())
                throw DatabaseError(
                    32038,
                    QStringLiteral("number of WITH clause column names does not match number of"
                                   " elements in select list"));
            QStringList quoted;
            for (qsizetype i = 0; i < names.size(); ++i) {
                quoted.append(quoteIdent(names[i]));
                if (i < table.columns.size())
                    table.columns[i].name = names[i];
            }
            columnList = QLatin1Char('(') + quoted.join(QStringLiteral(", ")) + QLatin1Char(')');
        }
        m_ctes.append(quoteIdent(tableName) + columnList + QStringLiteral(" AS (") + q.sql
                      + QLatin1Char(')'));
        m_commonTables.append(table);
    } while (acceptOp(","));
}

QueryResult Translator::queryTerm(bool ownsOrderBy)
{
    if (isOp("(") && (isKw("SELECT", 1) || isKw("WITH", 1) || isOp("(", 1))) {
        ++m_p;
        QueryResult inner = query();
        expectOp(")");
        inner.sql = QStringLiteral("SELECT * FROM (") + inner.sql + QLatin1Char(')');
        inner.limited = false;
        inner.orderedBlock = false;
        return inner;
    }
    return queryBlock(ownsOrderBy);
}

// The FROM keyword of the block that starts at the current token; -1 when it has none.
int Translator::findFrom() const
{
    int depth = 0;
    for (int i = m_p; i < m_t.size(); ++i) {
        const Token& t = tokenAt(i);
        if (t.kind == Token::Kind::Op) {
            if (t.text == QLatin1String("("))
                ++depth;
            else if (t.text == QLatin1String(")") && --depth < 0)
                return -1;
            else if (depth == 0 && t.text == QLatin1String(";"))
                return -1;
        } else if (t.kind == Token::Kind::End) {
            return -1;
        } else if (depth == 0 && t.kind == Token::Kind::Ident) {
            if (t.text == QLatin1String("FROM"))
                return i;
            if (clauseEnds(i))
                return -1;
        }
    }
    return -1;
}

// A query block, read and written in phases. The FROM clause is read before the select list, so
// that the select list's columns know their tables; the reading then returns to the select list
// and goes on after the FROM clause with WHERE, the hierarchy's clauses, GROUP BY, HAVING and
// ORDER BY.
QueryResult Translator::queryBlock(bool ownsOrderBy)
{
    BlockParts p = openBlock();
    markHierarchical(p);
    readSelectList(p);
    readWhereAndTree(p);
    readGroupBy(p);
    readOrderBy(p, ownsOrderBy);
    checkGrouping(m_scopes[p.level], p.items, p.groupRanges, p.havingRange, p.orderRanges);
    if (!p.distinct.isEmpty())
        checkDistinctOrder(m_scopes[p.level], p.items, p.orderRanges);

    writeJoins(p);
    QueryResult result = writeSelectList(p);
    writeTreeSource(p);
    writeBlock(p, ownsOrderBy, result);
    m_scopes.removeLast();
    return result;
}

// SELECT [DISTINCT | UNIQUE | ALL], then the FROM clause; the block is the innermost scope from
// here to the end of queryBlock().
BlockParts Translator::openBlock()
{
    if (!acceptKw("SELECT"))
        throw DatabaseError(928, QStringLiteral("missing SELECT keyword"));
    m_scopes.append(Block());
    BlockParts p;
    p.level = m_scopes.size() - 1;
    auto block = [this, &p]() -> Block& { return m_scopes[p.level]; };
    if (acceptKw("DISTINCT") || acceptKw("UNIQUE"))
        p.distinct = QStringLiteral("DISTINCT ");
    else
        acceptKw("ALL");

    // FROM first: the select list's columns then know their tables.
    p.selectStart = m_p;
    p.fromAt = findFrom();
    if (p.fromAt < 0) {
        selectList();
        throw DatabaseError(923, QStringLiteral("FROM keyword not found where expected"));
    }
    m_p = p.fromAt + 1;
    block().aggregateForbidden = true;
    p.from = fromClause();
    block().aggregateForbidden = false;
    block().complete = true;
    p.afterFrom = m_p;
    p.ctesBefore = m_ctes.size();
    return p;
}

// The select list, read once the FROM clause is known; the reading goes on after FROM.
void Translator::readSelectList(BlockParts& p)
{
    auto block = [this, &p]() -> Block& { return m_scopes[p.level]; };
    m_p = p.selectStart;
    block().windowAllowed = true;
    p.items = selectList();
    block().windowAllowed = false;
    if (m_p != p.fromAt)
        throw DatabaseError(923, QStringLiteral("FROM keyword not found where expected"));
    m_p = p.afterFrom;
}

// WHERE, START WITH and CONNECT BY [NOCYCLE] (in either order). Aggregates are refused from here
// to the end of GROUP BY.
void Translator::readWhereAndTree(BlockParts& p)
{
    auto block = [this, &p]() -> Block& { return m_scopes[p.level]; };
    block().aggregateForbidden = true;
    if (acceptKw("WHERE"))
        p.conjuncts = whereConjuncts(p.level, &p.conjunctRanges);
    for (int clause = 0; clause < 2; ++clause) {
        if (isKw("START") && isKw("WITH", 1) && p.startWith.isEmpty()) {
            m_p += 2;
            block().hierarchyClause = 1;
            p.startWith = expr().sql;
        } else if (isKw("CONNECT") && isKw("BY", 1) && p.connectBy.isEmpty()) {
            m_p += 2;
            p.noCycle = acceptKw("NOCYCLE");
            block().hierarchyClause = 2;
            const Expr e = expr();
            if (e.outer)
                throw DatabaseError(30563,
                                    QStringLiteral("outer join operator (+) is not allowed here"));
            p.connectBy = e.sql;
        }
        block().hierarchyClause = 0;
    }
    if (block().hierarchical && p.connectBy.isEmpty())
        throw DatabaseError(1788, QStringLiteral("CONNECT BY clause required in this query block"));
}

// GROUP BY and HAVING, each with the tokens it spans for the GROUP BY check.
void Translator::readGroupBy(BlockParts& p)
{
    if (acceptKw("GROUP")) {
        expectKw("BY");
        do {
            const int start = m_p;
            p.groups.append(expr().sql);
            p.groupRanges.append({start, m_p});
        } while (acceptOp(","));
    }
    m_scopes[p.level].aggregateForbidden = false;
    if (acceptKw("HAVING")) {
        p.havingRange.first = m_p;
        const Expr having = expr();
        refuseValueAsCondition(having);
        p.having = having.sql;
        p.havingRange.second = m_p;
    }
}

// ORDER SIBLINGS BY of a hierarchical query, and the block's own ORDER BY, which may name the
// select list's columns and use analytic functions.
void Translator::readOrderBy(BlockParts& p, bool ownsOrderBy)
{
    auto block = [this, &p]() -> Block& { return m_scopes[p.level]; };
    if (isKw("ORDER") && isKw("SIBLINGS", 1)) {
        if (!block().hierarchical)
            throw DatabaseError(30929, QStringLiteral("ORDER SIBLINGS BY clause not allowed here"));
        m_p += 2;
        expectKw("BY");
        p.siblings = orderItems(nullptr);
    }
    if (ownsOrderBy && isKw("ORDER")) {
        block().windowAllowed = true;
        block().inOrderBy = true;
        bool star = false;
        for (const SelectItem& item : std::as_const(p.items)) {
            star = star || item.star;
            if (!item.star)
                block().outputNames.append(item.name);
        }
        for (const SelectItem& item : std::as_const(p.items))
            if (!star)
                block().outputExprs.append(item.expr);
        p.orderBy = orderByClause(&p.orderRanges);
        block().inOrderBy = false;
        block().windowAllowed = false;
    }
}

// The WHERE conditions in their places: (+) predicates go to the ON clause of their table, which
// becomes a LEFT JOIN; a hierarchy over a join keeps the join's conditions for the rows the tree
// is made of. The FROM clause SQLite reads follows from them.
void Translator::writeJoins(BlockParts& p)
{
    const Block& b = m_scopes[p.level];
    QHash<QString, QStringList> onClauses;
    const bool joinedTree = b.hierarchyJoin;
    for (qsizetype i = 0; i < p.conjuncts.size(); ++i) {
        const Expr& c = p.conjuncts[i];
        bool placed = false;
        if (joinedTree && !c.outer && tablesIn(b, p.conjunctRanges[i]) > 1) {
            p.joinWhere.append(markersResolved(c.sql, b.hierarchyAlias, true));
            continue;
        }
        if (c.outer) {
            p.anyOuter = true;
            for (const FromItem& f : std::as_const(p.from))
                if (f.ansi)
                    throw DatabaseError(
                        25156,
                        QStringLiteral("old style outer join (+) cannot be used with ANSI joins"));
            for (const FromItem& f : std::as_const(p.from)) {
                if (f.alias == c.outerQualifier) {
                    onClauses[f.alias].append(
                        joinedTree ? markersResolved(c.sql, b.hierarchyAlias, true) : c.sql);
                    placed = true;
                    break;
                }
            }
        }
        if (!placed)
            p.where.append(c.sql);
    }
    QStringList inner;
    QStringList outerJoins;
    for (const FromItem& f : std::as_const(p.from)) {
        if (onClauses.contains(f.alias))
            outerJoins.append(QStringLiteral(" LEFT JOIN ") + f.sql + QStringLiteral(" ON ")
                              + onClauses[f.alias].join(QStringLiteral(" AND ")));
        else
            inner.append(f.sql);
    }
    if (inner.isEmpty())
        throw DatabaseError(1416,
                            QStringLiteral("two tables cannot be outer-joined to each other"));
    p.fromSql = inner.join(QStringLiteral(", ")) + outerJoins.join(QString());
}

// The select list as SQLite reads it, and the block's result columns. Stars are written out where
// the FROM clause that SQLite sees is not the one the user wrote: a hierarchical query's rows
// carry columns of the engine's own, and outer joins change the order of the tables.
QueryResult Translator::writeSelectList(BlockParts& p)
{
    const Block& b = m_scopes[p.level];
    QueryResult result;
    const bool joinedTree = b.hierarchyJoin;
    const bool spellStars = b.hierarchical || p.anyOuter;
    for (const SelectItem& item : std::as_const(p.items)) {
        if (!item.star) {
            p.selectSql.append(item.sql + QStringLiteral(" AS ") + quoteIdent(item.name));
            result.columns.append(item.result);
            continue;
        }
        if (joinedTree && item.starAlias.isEmpty())
            for (const FromItem& f : std::as_const(p.from))
                if (f.coalesces)
                    throw DatabaseError(900, QStringLiteral("invalid SQL statement"));
        for (const ScopeItem& s : std::as_const(b.items)) {
            if (!item.starAlias.isEmpty() && s.alias != item.starAlias)
                continue;
            if (!s.known) {
                if (b.hierarchical)
                    throw DatabaseError(900, QStringLiteral("invalid SQL statement"));
                result.columnsKnown = false;
            }
            for (const ColumnInfo& c : s.columns) {
                ResultColumn r;
                r.column = c;
                result.columns.append(r);
                if (b.hierarchyJoin)
                    p.selectSql.append(quoteIdent(b.hierarchyAlias) + QLatin1Char('.')
                                       + quoteIdent(s.alias + QLatin1Char('.') + c.name)
                                       + QStringLiteral(" AS ") + quoteIdent(c.name));
                else if (b.hierarchical)
                    p.selectSql.append(quoteIdent(s.alias) + QLatin1Char('.') + quoteIdent(c.name)
                                       + QStringLiteral(" AS ") + quoteIdent(c.name));
            }
            if (!b.hierarchical && spellStars) {
                if (s.alias.isEmpty())
                    throw DatabaseError(918, QStringLiteral("column ambiguously defined"));
                p.selectSql.append(quoteIdent(s.alias) + QStringLiteral(".*"));
            }
        }
        if (!spellStars)
            p.selectSql.append(item.starAlias.isEmpty()
                                   ? QStringLiteral("*")
                                   : quoteIdent(item.starAlias) + QStringLiteral(".*"));
    }
    return result;
}

// The whole block as SQLite's SELECT. ROWNUM counts the rows that pass WHERE, before they are
// grouped, made distinct or sorted: with any of those the limit goes to the rows of the FROM
// clause first.
void Translator::writeBlock(BlockParts& p, bool ownsOrderBy, QueryResult& result)
{
    const Block& b = m_scopes[p.level];
    QString fromSql = p.fromSql;
    QString whereSql = p.where.isEmpty()
                           ? QString()
                           : QStringLiteral(" WHERE ") + balanced(p.where, QStringLiteral(" AND "));
    QString groupSql = p.groups.isEmpty()
                           ? QString()
                           : QStringLiteral(" GROUP BY ") + p.groups.join(QStringLiteral(", "));
    if (!p.having.isEmpty())
        groupSql += QStringLiteral(" HAVING ") + p.having;

    const QString limit = limitOf(b);
    const bool grouped = !p.groups.isEmpty() || b.hasAggregate;
    if (!limit.isEmpty()
        && (grouped || !p.distinct.isEmpty() || !p.orderBy.isEmpty() || b.hasWindow)) {
        if ((p.from.size() == 1 && !p.from[0].ansi) || b.hierarchical) {
            const QString alias = b.hierarchical ? b.hierarchyAlias : p.from[0].alias;
            fromSql = QStringLiteral("(SELECT * FROM ") + fromSql + whereSql + limitClause(limit)
                      + QLatin1Char(')')
                      + (alias.isEmpty() ? QString() : QStringLiteral(" AS ") + quoteIdent(alias));
            whereSql.clear();
        } else if (!grouped && p.distinct.isEmpty() && !b.hasWindow) {
            // Sorted after the limit: the ORDER BY reads the limited rows' columns by position.
            const QString limited = QStringLiteral("SELECT ")
                                    + p.selectSql.join(QStringLiteral(", "))
                                    + QStringLiteral(" FROM ") + fromSql + whereSql
                                    + limitClause(limit);
            result.sql = QStringLiteral("SELECT * FROM (") + limited + QLatin1Char(')')
                         + orderByPositions(p.orderBy, p.items);
            result.orderedBlock = true;
            return;
        } else {
            throw pseudoColumnNotAllowed();
        }
    } else if (!limit.isEmpty()) {
        p.orderBy += limitClause(limit);
        result.limited = true;
    }
    result.sql = QStringLiteral("SELECT ") + p.distinct + p.selectSql.join(QStringLiteral(", "))
                 + QStringLiteral(" FROM ") + fromSql + whereSql + groupSql + p.orderBy;
    result.orderedBlock = ownsOrderBy && !p.orderRanges.isEmpty();
    const bool dualOnly = p.from.size() == 1 && b.items.size() == 1
                          && b.items[0].storage == QLatin1String("SYS.DUAL")
                          && p.conjuncts.isEmpty() && !b.hierarchical;
    result.singleRow = (b.hasAggregate && p.groups.isEmpty()) || dualOnly
                       || (b.limitExpressions.isEmpty() && b.literalLimit <= 1);
    if (b.hierarchyJoin) {
        result.sql = markersResolved(result.sql, b.hierarchyAlias, false);
        for (qsizetype i = p.ctesBefore; i < m_ctes.size(); ++i)
            m_ctes[i] = markersResolved(m_ctes[i], b.hierarchyAlias, false);
    }
}

// An ORDER BY read in the block, rewritten to the select list's positions and names (for a
// query whose rows are limited before they are sorted: the sort reads the limited rows).
QString Translator::orderByPositions(const QString& orderBy, const QList<SelectItem>& items)
{
    if (orderBy.isEmpty())
        return {};
    QString out = orderBy;
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (items[i].star)
            continue;
        out.replace(QStringLiteral(" ") + items[i].sql + QStringLiteral(" ASC"),
                    QStringLiteral(" %1 ASC").arg(i + 1));
        out.replace(QStringLiteral(" ") + items[i].sql + QStringLiteral(" DESC"),
                    QStringLiteral(" %1 DESC").arg(i + 1));
        for (const QString& key : {QStringLiteral("ora_numkey("), QStringLiteral("ora_numkey_i(")})
            out.replace(key + items[i].sql + QLatin1Char(')'),
                        key + quoteIdent(items[i].name) + QLatin1Char(')'));
    }
    static const QRegularExpression qualified(
        QStringLiteral("\"(?:[^\"]|\"\")*\"\\.(\"(?:[^\"]|\"\")*\")"));
    return out.replace(qualified, QStringLiteral("\\1"));
}

QString Translator::limitOf(const Block& b) const
{
    QStringList parts = b.limitExpressions;
    if (b.literalLimit != kNoRowLimit)
        parts.prepend(QString::number(b.literalLimit));
    if (parts.size() > 1)
        return QStringLiteral("min(") + parts.join(QStringLiteral(", ")) + QLatin1Char(')');
    return parts.value(0);
}

QList<SelectItem> Translator::selectList()
{
    QList<SelectItem> items;
    bool bareStar = false;
    do {
        SelectItem item;
        item.start = m_p;
        if (isOp("*")) {
            ++m_p;
            item.star = true;
            bareStar = true;
        } else if (isName() && isOp(".", 1) && isOp("*", 2)) {
            item.star = true;
            item.starAlias = peek().text;
            m_p += 3;
        } else if (isName() && isOp(".", 1) && isName(2) && isOp(".", 3) && isOp("*", 4)) {
            item.star = true;
            item.starAlias = peek(2).text;
            m_p += 5;
        } else {
            const Expr e = expr();
            if (e.outer)
                throw DatabaseError(30563,
                                    QStringLiteral("outer join operator (+) is not allowed here"));
            if (e.arity > 1)
                throw DatabaseError(907, QStringLiteral("missing right parenthesis"));
            item.exprEnd = m_p;
            QString alias;
            if (acceptKw("AS"))
                alias = name();
            else if (aliasFollows())
                alias = name();
            item.sql = e.sql;
            item.expr = e;
            if (!alias.isEmpty())
                item.name = alias;
            else if (e.isColumn)
                item.name = e.columnName;
            else
                item.name = headingOf(
                    m_src.mid(tokenAt(item.start).start,
                              tokenAt(item.exprEnd - 1).end - tokenAt(item.start).start));
            item.result = resultColumnOf(e, item.name, alias.isEmpty() && !e.isColumn);
        }
        items.append(item);
    } while (acceptOp(","));
    if (bareStar && items.size() > 1)
        throw DatabaseError(923, QStringLiteral("FROM keyword not found where expected"));
    return items;
}

QString Translator::orderByClause(QList<QPair<int, int>>* ranges)
{
    expectKw("ORDER");
    expectKw("BY");
    return QStringLiteral(" ORDER BY ") + orderItems(ranges);
}

// The items of an ORDER BY. Numbers that may be kept as text sort by ora_numkey; plain, when
// given, receives the items as SQLite would sort them by itself.
QString Translator::orderItems(QList<QPair<int, int>>* ranges, QString* plain)
{
    QStringList items, plainItems;
    do {
        const int start = m_p;
        Expr e = expr();
        if (ranges)
            ranges->append({start, m_p});
        // ORDER BY n names the n-th column of the select list.
        Block* b = currentBlock();
        if (b && b->inOrderBy && e.literal && m_p == start + 1
            && *e.literal == std::floor(*e.literal) && *e.literal >= 1
            && *e.literal <= b->outputExprs.size()) {
            const Expr& column = b->outputExprs[qsizetype(*e.literal) - 1];
            if (mayBeLongNumber(column)) {
                const QString sql = e.sql;
                e = column;
                e.outputSql = column.sql;
                e.sql = sql;
            }
        }
        const QString direction = orderDirection();
        items.append(orderKey(e) + direction);
        plainItems.append(e.sql + direction);
    } while (acceptOp(","));
    if (plain)
        *plain = plainItems.join(QStringLiteral(", "));
    return items.join(QStringLiteral(", "));
}

// The sort key of a number that may be kept as text: see ora_numkey. A column that leads an
// index keeps SQLite's own order where it holds no such number (Translation::probes).
QString Translator::orderKey(const Expr& e)
{
    if (!mayBeLongNumber(e))
        return e.sql;
    if (Block* b = currentBlock(); b && !e.outputSql.isEmpty() && b->inOrderBy)
        b->orderKeyed = true;
    const QString& sql = e.outputSql.isEmpty() ? e.sql : e.outputSql;
    if (probed(e))
        return QStringLiteral("ora_numkey_i(") + sql + QLatin1Char(')');
    return QStringLiteral("ora_numkey(") + sql + QLatin1Char(')');
}

// Whether e is a column that leads an index of its table; if so, the statement probes the
// column for a number kept as text before it runs.
bool Translator::probed(const Expr& e)
{
    if (!e.isColumn || e.storage.isEmpty() || !e.column
        || !m_r.leadsAnIndex(e.storage, e.column->name))
        return false;
    const QString probe = QStringLiteral("SELECT 1 FROM ") + quoteIdent(e.storage)
                          + QStringLiteral(" WHERE ") + quoteIdent(e.column->name)
                          + QStringLiteral(" >= '' LIMIT 1");
    if (!m_probes.contains(probe))
        m_probes.append(probe);
    return true;
}

// ASC/DESC and NULLS FIRST/LAST; Oracle sorts NULLs as the largest value by default.
QString Translator::orderDirection()
{
    bool desc = false;
    if (acceptKw("DESC"))
        desc = true;
    else
        acceptKw("ASC");
    QString nulls = desc ? QStringLiteral(" NULLS FIRST") : QStringLiteral(" NULLS LAST");
    if (acceptKw("NULLS")) {
        if (acceptKw("FIRST")) {
            nulls = QStringLiteral(" NULLS FIRST");
        } else {
            expectKw("LAST");
            nulls = QStringLiteral(" NULLS LAST");
        }
    }
    return (desc ? QStringLiteral(" DESC") : QStringLiteral(" ASC")) + nulls;
}

}  // namespace kolmara::db::embedded::translation
