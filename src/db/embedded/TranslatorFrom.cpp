// The translator's FROM clause and names: the tables, views, inline views and ANSI joins a query
// block reads, table names resolved through the catalogue with the access check, and column
// references resolved to the table they belong to.
#include "db/embedded/TranslatorInternal.h"

namespace kolmara::db::embedded::translation {

QList<FromItem> Translator::fromClause()
{
    QList<FromItem> from;
    do {
        from.append(joinedItem());
    } while (acceptOp(","));
    return from;
}

// A table reference followed by its ANSI joins.
FromItem Translator::joinedItem()
{
    const qsizetype firstItem = m_scopes.last().items.size();
    FromItem left = fromPrimary();
    for (;;) {
        const bool natural = acceptKw("NATURAL");
        QString kind;
        if (acceptKw("JOIN")) {
            kind = QStringLiteral("JOIN");
        } else if (acceptKw("INNER")) {
            expectKw("JOIN");
            kind = QStringLiteral("JOIN");
        } else if (isKw("LEFT") || isKw("RIGHT") || isKw("FULL")) {
            kind = peek().text + QStringLiteral(" JOIN");
            ++m_p;
            acceptKw("OUTER");
            expectKw("JOIN");
        } else if (!natural && acceptKw("CROSS")) {
            expectKw("JOIN");
            kind = QStringLiteral("CROSS JOIN");
        } else {
            if (natural)
                throw DatabaseError(905, QStringLiteral("missing keyword"));
            break;
        }
        const FromItem right = fromPrimary();
        QString condition;
        if (!natural && kind != QLatin1String("CROSS JOIN")) {
            if (acceptKw("ON")) {
                const Expr c = expr();
                if (c.outer)
                    throw DatabaseError(
                        25156,
                        QStringLiteral("old style outer join (+) cannot be used with ANSI joins"));
                condition = QStringLiteral(" ON ") + c.sql;
            } else if (acceptKw("USING")) {
                expectOp("(");
                QStringList columns;
                do {
                    const QString column = name();
                    columns.append(quoteIdent(column));
                    Block& b = m_scopes.last();
                    b.usingColumns.append({column, firstItem, b.items.size()});
                } while (acceptOp(","));
                expectOp(")");
                condition = QStringLiteral(" USING (") + columns.join(QStringLiteral(", "))
                            + QLatin1Char(')');
                left.coalesces = true;
            } else {
                throw DatabaseError(905, QStringLiteral("missing keyword"));
            }
        }
        left.sql += (natural ? QStringLiteral(" NATURAL ") : QStringLiteral(" ")) + kind
                    + QLatin1Char(' ') + right.sql + condition;
        left.ansi = true;
        left.coalesces = left.coalesces || natural;
        left.alias.clear();
    }
    return left;
}

FromItem Translator::fromPrimary()
{
    FromItem item;
    if (acceptOp("(")) {
        if (!isKw("SELECT") && !isKw("WITH") && !isOp("(")) {
            // A parenthesized join.
            FromItem joined = joinedItem();
            expectOp(")");
            joined.sql = QLatin1Char('(') + joined.sql + QLatin1Char(')');
            return joined;
        }
        const QueryResult inner = query();
        expectOp(")");
        item.sql = QLatin1Char('(') + inner.sql + QLatin1Char(')');
        if (aliasFollows()) {
            item.alias = name();
            item.sql += QStringLiteral(" AS ") + quoteIdent(item.alias);
        }
        ScopeItem scope{item.alias, {}, inner.columnsKnown, {}};
        for (const ResultColumn& c : inner.columns)
            scope.columns.append(c.column);
        m_scopes.last().items.append(scope);
        return item;
    }
    const auto [owner, object] = writtenName();
    // The table's name as written qualifies its columns, as V$SGASTAT.POOL does.
    item.alias = object;
    if (aliasFollows())
        item.alias = name();
    if (owner.isEmpty()) {
        for (qsizetype i = m_commonTables.size() - 1; i >= 0; --i) {
            const CommonTable& t = m_commonTables[i];
            if (t.name != object)
                continue;
            item.sql = quoteIdent(t.name) + QStringLiteral(" AS ") + quoteIdent(item.alias);
            m_scopes.last().items.append(ScopeItem{item.alias, t.columns, t.known, {}});
            return item;
        }
    }
    const TableRef ref = m_r.resolveTable(owner, object, QStringLiteral("SELECT"));
    item.sql = quoteIdent(ref.storage) + QStringLiteral(" AS ") + quoteIdent(item.alias);
    m_scopes.last().items.append(ScopeItem{item.alias, m_r.columnsOf(ref), true, ref.storage});
    return item;
}

// [owner.]name of a table as written; the owner is empty when not given.
QPair<QString, QString> Translator::writtenName()
{
    const QString first = name();
    QPair<QString, QString> out{QString(), first};
    if (acceptOp(".")) {
        out.first = first;
        out.second = name();
    }
    if (isOp("@"))
        throw DatabaseError(2019,
                            QStringLiteral("connection description for remote database not found"));
    return out;
}

TableRef Translator::tableName(const QString& privilege, QString* written)
{
    const auto [owner, object] = writtenName();
    if (written)
        *written = object;
    return m_r.resolveTable(owner, object, privilege);
}

const ColumnInfo* Translator::findColumn(const QList<ColumnInfo>& columns, const QString& name)
{
    for (const ColumnInfo& c : columns)
        if (c.name == name)
            return &c;
    return nullptr;
}

// The table a column reference reads: the innermost block that has it decides. Nothing is
// resolved where the answer is uncertain (a table whose columns are not known, a name two
// tables share); SQLite then resolves the name as written.
Translator::Resolved Translator::resolve(const QString& qualifier, const QString& column) const
{
    for (qsizetype level = m_scopes.size() - 1; level >= 0; --level) {
        const Block& b = m_scopes[level];
        Resolved found;
        int matches = 0;
        bool uncertain = false;
        for (qsizetype i = 0; i < b.items.size(); ++i) {
            const ScopeItem& item = b.items[i];
            if (!qualifier.isEmpty() && item.alias != qualifier)
                continue;
            if (!item.known) {
                uncertain = true;
            } else if (const ColumnInfo* c = findColumn(item.columns, column)) {
                found = Resolved{level, i, c};
                ++matches;
            }
            if (!qualifier.isEmpty())
                return matches == 1 ? found : Resolved();
        }
        if (uncertain || matches > 1)
            return {};
        if (matches == 1)
            return found;
        if (b.barrier)
            return {};
    }
    return {};
}

Expr Translator::columnReference(const QStringList& parts, int start)
{
    Expr e;
    const QString last = parts.last();
    const QString qualifier = parts.size() >= 2 ? parts[parts.size() - 2] : QString();
    e.isColumn = true;
    e.columnName = last;
    Block* current = currentBlock();
    // ORDER BY may name a column of the select list.
    if (current && current->inOrderBy && qualifier.isEmpty()
        && current->outputNames.contains(last)) {
        e.sql = quoteIdent(last);
        if (const qsizetype i = current->outputNames.indexOf(last);
            i < current->outputExprs.size()) {
            const Expr& column = current->outputExprs[i];
            e.type = column.type;
            e.column = column.column;
            e.shortNumber = column.shortNumber;
            e.storage = column.storage;
            e.outputSql = column.sql;
        }
        return e;
    }
    e.sql = qualifier.isEmpty() ? quoteIdent(last)
                                : quoteIdent(qualifier) + QLatin1Char('.') + quoteIdent(last);
    const Resolved r = resolve(qualifier, last);
    if (r.level < 0)
        return e;
    Block& b = m_scopes[r.level];
    if (!qualifier.isEmpty()) {
        for (const Block::SharedColumn& shared : std::as_const(b.usingColumns))
            if (shared.name == last && r.item >= shared.from && r.item < shared.to)
                throw DatabaseError(25154, QStringLiteral("column part of USING clause cannot "
                                                          "have qualifier"));
    }
    const ScopeItem& item = b.items[r.item];
    b.uses.append(ColumnUse{start, m_p, item.alias + QLatin1Char('.') + last, b.aggregateDepth});
    e.column = *r.column;
    e.type = typeOfColumn(r.column->dataType);
    if (isCharacter(e.type))
        e.length = r.column->length;
    if (!b.hierarchical && r.level == m_scopes.size() - 1)
        e.storage = item.storage;
    if (b.hierarchyJoin) {
        // Over a join the rows name their columns alias.COLUMN; where a reference ends up,
        // before the tree (a join condition) or after it, is known once WHERE is read.
        e.sql = b.priorDepth > 0 ? QStringLiteral("\"kol$prior\".")
                                       + quoteIdent(item.alias + QLatin1Char('.') + last)
                                 : QChar(2) + b.hierarchyAlias + QChar(3) + item.alias + QChar(3)
                                       + last + QChar(2);
    } else if (b.hierarchical) {
        // The rows of a hierarchical query are its common table's under the table's alias;
        // PRIOR reads the parent row.
        const QString table = b.priorDepth > 0 ? QStringLiteral("kol$prior") : item.alias;
        e.sql = quoteIdent(table) + QLatin1Char('.') + quoteIdent(last);
    }
    return e;
}

}  // namespace kolmara::db::embedded::translation
