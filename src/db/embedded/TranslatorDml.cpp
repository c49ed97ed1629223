// The translator's DML: INSERT (VALUES or a query), UPDATE and DELETE of one table, and MERGE as
// the checks, the UPDATE and the INSERT it is carried out as. A value stored into a column passes
// the column's datatype, length and NOT NULL checks on its way in.
#include "db/embedded/TranslatorInternal.h"

namespace kolmara::db::embedded::translation {

// notNull: 0 nullable, 1 NOT NULL on insert, 2 NOT NULL on update (the two differ in their error).
QString Translator::storeExpression(const QString& value, const TableRef& table,
                                    const ColumnInfo& c, bool update)
{
    return QStringLiteral("ora_store(%1, %2, %3, %4, %5, %6, %7, %8, %9)")
        .arg(value, quoteString(c.dataType), QString::number(c.length),
             QString::number(c.precision), QString::number(c.scale),
             QString::number(c.notNull ? (update ? 2 : 1) : 0), quoteString(table.owner),
             quoteString(table.name), quoteString(c.name));
}

QString Translator::defaultOf(const ColumnInfo& c)
{
    if (c.defaultText.trimmed().isEmpty())
        return QStringLiteral("NULL");
    return translateExpression(c.defaultText, m_r);
}

// (column, ...) of an INSERT; every column when none are named.
QStringList Translator::insertColumns(const QList<ColumnInfo>& columns)
{
    QStringList named;
    if (isOp("(") && !isKw("SELECT", 1) && !isKw("WITH", 1)) {
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
    return named;
}

// VALUES (...) of an INSERT, as many as named.
QStringList Translator::insertValues(const QStringList& named)
{
    expectOp("(");
    QStringList values;
    do {
        values.append(expr().sql);
    } while (acceptOp(","));
    expectOp(")");
    if (values.size() < named.size())
        throw notEnoughValues();
    if (values.size() > named.size())
        throw tooManyValues();
    return values;
}

// The stored values of a row: the named columns' values, the others' defaults.
QString Translator::storedRow(const TableRef& table, const QList<ColumnInfo>& columns,
                              const QStringList& named, const QStringList& values)
{
    QStringList out;
    for (const ColumnInfo& c : columns) {
        const int i = int(named.indexOf(c.name));
        out.append(storeExpression(i >= 0 ? values[i] : defaultOf(c), table, c));
    }
    return out.join(QStringLiteral(", "));
}

QString Translator::insertTarget(const TableRef& table, const QList<ColumnInfo>& columns)
{
    QStringList targetList;
    for (const ColumnInfo& c : columns)
        targetList.append(quoteIdent(c.name));
    return QStringLiteral("INSERT INTO ") + quoteIdent(table.storage) + QStringLiteral(" (")
           + targetList.join(QStringLiteral(", ")) + QStringLiteral(") ");
}

QString Translator::insertStatement()
{
    expectKw("INSERT");
    if (isKw("ALL") || isKw("FIRST"))
        throw DatabaseError(900, QStringLiteral("invalid SQL statement"));
    expectKw("INTO");
    const TableRef table = tableName(QStringLiteral("INSERT"));
    if (aliasFollows())
        name();
    const QList<ColumnInfo> columns = m_r.columnsOf(table);
    const QStringList named = insertColumns(columns);
    const QString target = insertTarget(table, columns);
    if (acceptKw("VALUES"))
        return target + QStringLiteral("VALUES (")
               + storedRow(table, columns, named, insertValues(named)) + QLatin1Char(')');
    const QueryResult source = query();
    checkArity(int(named.size()), source);
    QStringList keys;
    for (int i = 0; i < named.size(); ++i)
        keys.append(QStringLiteral("k%1").arg(i));
    m_ctes.append(QStringLiteral("\"kol$ins\"(") + keys.join(QStringLiteral(", "))
                  + QStringLiteral(") AS (") + source.sql + QLatin1Char(')'));
    return target + QStringLiteral("SELECT ") + storedRow(table, columns, named, keys)
           + QStringLiteral(" FROM \"kol$ins\"");
}

// The block of the one table an UPDATE or DELETE changes.
void Translator::pushTableBlock(const TableRef& table, const QString& alias)
{
    Block b;
    b.items.append(ScopeItem{alias, m_r.columnsOf(table), true, table.storage});
    b.complete = true;
    m_scopes.append(b);
}

// WHERE of an UPDATE or DELETE; a ROWNUM limit picks the rows by their row ids, and an
// UPDATE that sets ROWNUM reads the numbers of the rows that pass WHERE, in the order read.
QString Translator::dmlWhere(const TableRef& table, const QString& alias)
{
    const qsizetype level = m_scopes.size() - 1;
    QStringList where;
    if (acceptKw("WHERE"))
        for (const Expr& c : whereConjuncts(level))
            where.append(c.sql);
    const QString whereSql = where.isEmpty() ? QString()
                                             : QStringLiteral(" WHERE ")
                                                   + balanced(where, QStringLiteral(" AND "));
    const QString limit = limitOf(m_scopes[level]);
    if (m_scopes[level].rownumRead)
        return QStringLiteral(" FROM (SELECT %1.rowid AS \"kol$id\", row_number() OVER ()"
                              " AS \"kol$rn\" FROM %2 AS %1%3%4) AS"
                              " \"kol$n\" WHERE %1.rowid = \"kol$n\".\"kol$id\"")
            .arg(quoteIdent(alias), quoteIdent(table.storage), whereSql,
                 limit.isEmpty() ? QString() : limitClause(limit));
    if (limit.isEmpty())
        return whereSql;
    return QStringLiteral(" WHERE rowid IN (SELECT %1.rowid FROM %2 AS %1%3 LIMIT %4)")
        .arg(quoteIdent(alias), quoteIdent(table.storage), whereSql, limit);
}

// SET column = value, (column, ...) = (subquery).
QStringList Translator::setClauses(const TableRef& table, const QList<ColumnInfo>& columns,
                                   QStringList* setColumns)
{
    QStringList sets;
    do {
        QStringList targets;
        if (acceptOp("(")) {
            do {
                targets.append(name());
            } while (acceptOp(","));
            expectOp(")");
        } else {
            QString c = name();
            if (acceptOp("."))
                c = name();
            targets.append(c);
        }
        for (const QString& c : std::as_const(targets))
            if (!findColumn(columns, c))
                throw invalidIdentifier(c);
        expectOp("=");
        QStringList values;
        if (targets.size() == 1) {
            values.append(expr().sql);
        } else {
            expectOp("(");
            if (!subqueryFollows())
                throw DatabaseError(928, QStringLiteral("missing SELECT keyword"));
            const QueryResult q = query();
            expectOp(")");
            checkArity(int(targets.size()), q);
            QStringList names;
            for (qsizetype i = 0; i < targets.size(); ++i)
                names.append(QStringLiteral("\"kol$v%1\"").arg(i + 1));
            for (const QString& v : std::as_const(names))
                values.append(QStringLiteral("(WITH \"kol$q\"(%1) AS (%2) SELECT ora_single_row(%3)"
                                             " FROM (SELECT * FROM \"kol$q\" LIMIT 2))")
                                  .arg(names.join(QStringLiteral(", ")), q.sql, v));
        }
        for (qsizetype i = 0; i < targets.size(); ++i) {
            sets.append(
                quoteIdent(targets[i]) + QStringLiteral(" = ")
                + storeExpression(values[i], table, *findColumn(columns, targets[i]), true));
            if (setColumns)
                setColumns->append(targets[i]);
        }
    } while (acceptOp(","));
    return sets;
}

QString Translator::updateStatement()
{
    expectKw("UPDATE");
    const TableRef table = tableName(QStringLiteral("UPDATE"));
    QString alias = table.name;
    if (aliasFollows())
        alias = name();
    const QList<ColumnInfo> columns = m_r.columnsOf(table);
    pushTableBlock(table, alias);
    m_scopes.last().rownumNumbers = true;
    expectKw("SET");
    const QStringList sets = setClauses(table, columns);
    m_scopes.last().rownumNumbers = false;
    const QString sql = QStringLiteral("UPDATE ") + quoteIdent(table.storage)
                        + QStringLiteral(" AS ") + quoteIdent(alias) + QStringLiteral(" SET ")
                        + sets.join(QStringLiteral(", ")) + dmlWhere(table, alias);
    m_scopes.removeLast();
    return sql;
}

QString Translator::deleteStatement()
{
    expectKw("DELETE");
    acceptKw("FROM");
    const TableRef table = tableName(QStringLiteral("DELETE"));
    QString alias = table.name;
    if (aliasFollows())
        alias = name();
    pushTableBlock(table, alias);
    const QString sql = QStringLiteral("DELETE FROM ") + quoteIdent(table.storage)
                        + QStringLiteral(" AS ") + quoteIdent(alias) + dmlWhere(table, alias);
    m_scopes.removeLast();
    return sql;
}

// MERGE INTO target USING source ON (condition) WHEN MATCHED THEN UPDATE SET ... [WHERE ...]
// WHEN NOT MATCHED THEN INSERT [(...)] VALUES (...) [WHERE ...]: an UPDATE of the matched rows,
// then an INSERT of the source rows that matched none (the UPDATE cannot change which rows
// match: the ON clause's columns cannot be updated). A target row that several source rows
// match stops the statement first (ORA-30926).
QString Translator::mergeStatement(QList<Translation::Step>& before)
{
    expectKw("MERGE");
    expectKw("INTO");
    const int targetAt = m_p;
    QString written;
    const TableRef table = tableName(QStringLiteral("UPDATE"), &written);
    QString alias = written;
    if (aliasFollows())
        alias = name();
    const QList<ColumnInfo> columns = m_r.columnsOf(table);
    pushTableBlock(table, alias);
    expectKw("USING");
    const FromItem source = fromPrimary();
    const QString sourceAlias = m_scopes.last().items.last().alias;
    if (sourceAlias.isEmpty())
        throw DatabaseError(905, QStringLiteral("missing keyword"));
    expectKw("ON");
    if (!acceptOp("("))
        throw DatabaseError(969, QStringLiteral("missing ON keyword"));
    const int onStart = m_p;
    const QString on = expr().sql;
    const int onEnd = m_p;
    expectOp(")");
    const QString target = quoteIdent(table.storage) + QStringLiteral(" AS ") + quoteIdent(alias);
    QString update, insert;
    while (acceptKw("WHEN")) {
        if (acceptKw("MATCHED")) {
            if (!update.isEmpty())
                throw syntaxError();
            expectKw("THEN");
            expectKw("UPDATE");
            expectKw("SET");
            QStringList setColumns;
            const QStringList sets = setClauses(table, columns, &setColumns);
            for (const ColumnUse& u : std::as_const(m_scopes.last().uses)) {
                if (u.start < onStart || u.start >= onEnd)
                    continue;
                for (const QString& c : std::as_const(setColumns))
                    if (u.canonical == alias + QLatin1Char('.') + c)
                        throw DatabaseError(38104, QStringLiteral("Columns referenced in the ON"
                                                                  " Clause cannot be updated:"
                                                                  " \"%1\".\"%2\"")
                                                       .arg(alias, c));
            }
            update = QStringLiteral("UPDATE ") + target + QStringLiteral(" SET ")
                     + sets.join(QStringLiteral(", ")) + QStringLiteral(" FROM ") + source.sql
                     + QStringLiteral(" WHERE ") + on;
            if (acceptKw("WHERE"))
                update += QStringLiteral(" AND ") + expr().sql;
            if (isKw("DELETE"))
                throw DatabaseError(900, QStringLiteral("invalid SQL statement"));
        } else {
            expectKw("NOT");
            expectKw("MATCHED");
            if (!insert.isEmpty())
                throw syntaxError();
            expectKw("THEN");
            expectKw("INSERT");
            const int at = m_p;
            m_p = targetAt;
            tableName(QStringLiteral("INSERT"));
            m_p = at;
            const QStringList named = insertColumns(columns);
            expectKw("VALUES");
            // The values read the source row only.
            Block& b = m_scopes.last();
            const ScopeItem targetItem = b.items.takeFirst();
            const QStringList values = insertValues(named);
            QString where;
            if (acceptKw("WHERE"))
                where = QStringLiteral(" AND ") + expr().sql;
            m_scopes.last().items.prepend(targetItem);
            insert = insertTarget(table, columns) + QStringLiteral("SELECT ")
                     + storedRow(table, columns, named, values) + QStringLiteral(" FROM ")
                     + source.sql + QStringLiteral(" WHERE NOT EXISTS (SELECT 1 FROM ") + target
                     + QStringLiteral(" WHERE ") + on + QLatin1Char(')') + where;
        }
    }
    m_scopes.removeLast();
    if (update.isEmpty() && insert.isEmpty())
        throw DatabaseError(905, QStringLiteral("missing keyword"));
    if (update.isEmpty())
        return insert;
    before.append(
        {QStringLiteral("SELECT ora_raise(30926, 'unable to get a stable set of rows in the"
                        " source tables') FROM ")
             + target + QStringLiteral(" JOIN ") + source.sql + QStringLiteral(" ON ") + on
             + QStringLiteral(" GROUP BY ") + quoteIdent(alias)
             + QStringLiteral(".rowid HAVING count(*) > 1 LIMIT 1"),
         false});
    if (insert.isEmpty())
        return update;
    before.append({update, true});
    return insert;
}

}  // namespace kolmara::db::embedded::translation
