// The translator's hierarchical queries (START WITH, CONNECT BY, ORDER SIBLINGS BY): the rows of
// the tree as a recursive common table expression, over one table or over joined rows, LEVEL and
// SYS_CONNECT_BY_PATH.
#include "db/embedded/TranslatorInternal.h"

namespace kolmara::db::embedded::translation {

// Whether the rest of the block has START WITH or CONNECT BY.
bool Translator::hierarchicalClauseFollows() const
{
    int depth = 0;
    for (int i = m_p; i < m_t.size(); ++i) {
        const Token& t = tokenAt(i);
        if (t.kind == Token::Kind::End)
            return false;
        if (t.kind == Token::Kind::Op) {
            if (t.text == QLatin1String("("))
                ++depth;
            else if (t.text == QLatin1String(")") && --depth < 0)
                return false;
            continue;
        }
        if (depth > 0 || t.kind != Token::Kind::Ident)
            continue;
        if ((t.text == QLatin1String("CONNECT") && isKw("BY", i + 1 - m_p))
            || (t.text == QLatin1String("START") && isKw("WITH", i + 1 - m_p)))
            return true;
        if (t.text == QLatin1String("UNION") || t.text == QLatin1String("MINUS")
            || t.text == QLatin1String("INTERSECT"))
            return false;
    }
    return false;
}

// Whether the block is a hierarchical query, decided once its FROM clause is read: a tree over
// its one table (which gets an alias of the engine's own when it has none), or over the joined
// rows of several.
void Translator::markHierarchical(BlockParts& p)
{
    auto block = [this, &p]() -> Block& { return m_scopes[p.level]; };
    if (hierarchicalClauseFollows() && (p.from.size() > 1 || p.from[0].ansi)) {
        // The tree is built over the joined rows, each table's columns named alias.COLUMN.
        for (const ScopeItem& item : std::as_const(block().items))
            if (!item.known || item.alias.isEmpty())
                throw DatabaseError(900, QStringLiteral("invalid SQL statement"));
        block().hierarchical = true;
        block().hierarchyJoin = true;
        block().hierarchyAlias = QStringLiteral("kol$j%1").arg(++m_generated);
    } else if (hierarchicalClauseFollows()) {
        if (p.from[0].alias.isEmpty()) {
            p.from[0].alias = QStringLiteral("kol$v%1").arg(++m_generated);
            p.from[0].sql += QStringLiteral(" AS ") + quoteIdent(p.from[0].alias);
            block().items.last().alias = p.from[0].alias;
        }
        block().hierarchical = true;
        block().hierarchyAlias = p.from[0].alias;
    }
}

// The FROM clause of a hierarchical block: the tree's rows, made of the joined rows (with the
// join's own conditions) or of the one table.
void Translator::writeTreeSource(BlockParts& p)
{
    const Block& b = m_scopes[p.level];
    if (b.hierarchyJoin) {
        QStringList exported;
        for (const ScopeItem& s : std::as_const(b.items))
            for (const ColumnInfo& c : s.columns)
                exported.append(quoteIdent(s.alias) + QLatin1Char('.') + quoteIdent(c.name)
                                + QStringLiteral(" AS ")
                                + quoteIdent(s.alias + QLatin1Char('.') + c.name));
        const QString joined = p.fromSql
                               + (p.joinWhere.isEmpty()
                                      ? QString()
                                      : QStringLiteral(" WHERE ")
                                            + balanced(p.joinWhere, QStringLiteral(" AND ")));
        p.fromSql = hierarchy(b, exported.join(QStringLiteral(", ")), joined, p.startWith,
                              p.connectBy, p.noCycle,
                              markersResolved(p.siblings, b.hierarchyAlias, true));
    } else if (b.hierarchical) {
        p.fromSql = hierarchy(b, quoteIdent(p.from[0].alias) + QStringLiteral(".*"), p.from[0].sql,
                              p.startWith, p.connectBy, p.noCycle, p.siblings);
    }
}

// How many of the block's tables the column references in tokens [range) read.
int Translator::tablesIn(const Block& b, const QPair<int, int>& range)
{
    QSet<QString> tables;
    for (const ColumnUse& u : b.uses)
        if (u.start >= range.first && u.start < range.second)
            tables.insert(u.canonical.left(u.canonical.lastIndexOf(QLatin1Char('.'))));
    return int(tables.size());
}

// The column references of a hierarchy over a join, as the joined tables name them (original)
// or as the tree's rows do.
QString Translator::markersResolved(QString sql, const QString& hierarchyAlias, bool original)
{
    const QString start = QChar(2) + hierarchyAlias + QChar(3);
    for (qsizetype at = sql.indexOf(start); at >= 0; at = sql.indexOf(start, at)) {
        const qsizetype split = sql.indexOf(QChar(3), at + start.size());
        const qsizetype end = sql.indexOf(QChar(2), split);
        const QString table = sql.mid(at + start.size(), split - at - start.size());
        const QString column = sql.mid(split + 1, end - split - 1);
        const QString reference = original
                                      ? quoteIdent(table) + QLatin1Char('.') + quoteIdent(column)
                                      : quoteIdent(hierarchyAlias) + QLatin1Char('.')
                                            + quoteIdent(table + QLatin1Char('.') + column);
        sql.replace(at, end - at + 1, reference);
        at += reference.size();
    }
    return sql;
}

// A hierarchical query's rows, in the order Oracle returns them (depth first, siblings in
// their ORDER SIBLINGS BY order or else as read), as a recursive common table expression over
// the rows of the FROM clause (its one table, or the joined rows). The rows carry their level,
// the SYS_CONNECT_BY_PATH values and, under NOCYCLE, the ancestors' row numbers (how a CONNECT
// BY loop is found is told below). source: the columns and the FROM clause (with the join's WHERE)
// of the rows the tree is made of.
QString Translator::hierarchy(const Block& b, const QString& columns, const QString& source,
                              const QString& startWith, const QString& connectBy, bool noCycle,
                              const QString& siblings)
{
    const int n = ++m_generated;
    const QString rowsRead = quoteIdent(QStringLiteral("kol$src%1").arg(n));
    const QString rows = quoteIdent(QStringLiteral("kol$h%1").arg(n));
    const QString a = quoteIdent(b.hierarchyAlias);
    const QString prior = quoteIdent(QStringLiteral("kol$prior"));
    m_ctes.append(rowsRead + QStringLiteral(" AS MATERIALIZED (SELECT ") + columns
                  + QStringLiteral(", row_number() OVER (")
                  + (siblings.isEmpty() ? QString() : QStringLiteral("ORDER BY ") + siblings)
                  + QStringLiteral(") AS \"kol$rn\" FROM ") + source + QLatin1Char(')'));
    QString anchor = QStringLiteral("SELECT %1.*, 1 AS \"kol$lvl\"").arg(a);
    QString step = QStringLiteral("SELECT %1.*, %2.\"kol$lvl\" + 1").arg(a, prior);
    QString on = connectBy;
    // A row that is its own ancestor: Oracle stops with ORA-01436 (NOCYCLE leaves it out).
    // Only a condition with PRIOR relates rows; without it the rows repeat by design. NOCYCLE
    // needs each row's ancestors to leave out exactly the row that closes a loop, so it carries
    // them as a list. Otherwise a path without a loop holds each source row at most once, so a
    // row deeper than the source has rows proves a loop: that bound costs nothing per row,
    // where a list of ancestors grows with every level and makes a deep tree take time in the
    // square of its depth.
    if (b.sawPrior && noCycle) {
        const QString key = QStringLiteral("%1.\"kol$rn\" || '/'").arg(a);
        const QString ancestors = QStringLiteral("%1.\"kol$path\"").arg(prior);
        const QString self = QStringLiteral("'/' || %1").arg(key);
        anchor += QStringLiteral(", '/' || %1 AS \"kol$path\"").arg(key);
        step += QStringLiteral(", %1 || %2").arg(ancestors, key);
        on = QStringLiteral("(%1) AND instr(%2, %3) = 0").arg(connectBy, ancestors, self);
    }
    anchor += QStringLiteral(", 1 AS \"kol$ok\"");
    if (b.sawPrior && !noCycle)
        step += QStringLiteral(", CASE WHEN %1.\"kol$lvl\" < (SELECT count(*) FROM %2) THEN 1 "
                               "ELSE ora_raise(1436, 'CONNECT BY loop in user data') END")
                    .arg(prior, rowsRead);
    else
        step += QStringLiteral(", 1");
    for (qsizetype i = 0; i < b.paths.size(); ++i) {
        const QString element =
            QStringLiteral("ora_concat(%1, %2)").arg(b.paths[i].second, b.paths[i].first);
        anchor += QStringLiteral(", %1 AS \"kol$p%2\"").arg(element).arg(i + 1);
        step +=
            QStringLiteral(", ora_concat(%1.\"kol$p%2\", %3)").arg(prior).arg(i + 1).arg(element);
    }
    for (qsizetype i = 0; i < b.priorValues.size(); ++i) {
        anchor += QStringLiteral(", NULL AS \"kol$q%1\"").arg(i + 1);
        step += QStringLiteral(", ") + b.priorValues[i];
    }
    anchor += QStringLiteral(" FROM ") + rowsRead + QStringLiteral(" AS ") + a;
    if (!startWith.isEmpty())
        anchor += QStringLiteral(" WHERE ") + startWith;
    step += QStringLiteral(" FROM ") + rowsRead + QStringLiteral(" AS ") + a
            + QStringLiteral(" JOIN ") + rows + QStringLiteral(" AS ") + prior
            + QStringLiteral(" ON ") + on;
    // Taking the deepest row first walks the tree depth first; row numbers order siblings.
    m_ctes.append(rows + QStringLiteral(" AS (") + anchor + QStringLiteral(" UNION ALL ") + step
                  + QStringLiteral(" ORDER BY \"kol$lvl\" DESC, \"kol$rn\")"));
    return rows + QStringLiteral(" AS ") + a;
}

Expr Translator::levelColumn()
{
    ++m_p;
    Block* b = currentBlock();
    if (!b || !b->hierarchical)
        throw DatabaseError(1788, QStringLiteral("CONNECT BY clause required in this query block"));
    Expr e;
    e.type = ExprType::Number;
    e.shortNumber = true;
    if (b->hierarchyClause == 1)
        e.sql = QStringLiteral("1");
    else if (b->hierarchyClause == 2)
        e.sql = QStringLiteral("(\"kol$prior\".\"kol$lvl\" + 1)");
    else
        e.sql = quoteIdent(b->hierarchyAlias) + QStringLiteral(".\"kol$lvl\"");
    return e;
}

Expr Translator::connectByPath()
{
    Block* b = currentBlock();
    if (!b || !b->hierarchical || b->hierarchyClause != 0)
        throw DatabaseError(30002,
                            QStringLiteral("SYS_CONNECT_BY_PATH function is not allowed here"));
    const Expr value = expr();
    expectOp(",");
    const Expr separator = expr();
    expectOp(")");
    Block& current = m_scopes.last();
    current.paths.append({value.sql, separator.sql});
    Expr e;
    e.type = ExprType::Text;
    e.sql = quoteIdent(current.hierarchyAlias)
            + QStringLiteral(".\"kol$p%1\"").arg(current.paths.size());
    return e;
}

}  // namespace kolmara::db::embedded::translation
