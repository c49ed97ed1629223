// DDL of tables and their columns: CREATE TABLE (also AS query, index-organized, fixed views),
// ALTER TABLE ADD, DROP TABLE, TRUNCATE, ANALYZE and COMMENT.
#include "db/embedded/DdlPrivate.h"

#include "db/DatabaseError.h"
#include "db/embedded/Engine.h"
#include "db/embedded/SqlTranslator.h"

namespace kolmara::db::embedded {

namespace ddl {

Column Ddl::columnType(const QString& colName)
{
    Column c;
    c.name = colName;
    const QString t = name();
    auto paren = [&](int& a, int* b) {
        if (acceptOp("(")) {
            a = int(isOp("*") ? (++m_p, 38) : number());
            if (b && acceptOp(","))
                *b = int(number());
            acceptKw("BYTE") || acceptKw("CHAR");
            expectOp(")");
            return true;
        }
        return false;
    };
    if (t == QLatin1String("NUMBER") || t == QLatin1String("NUMERIC") ||
        t == QLatin1String("DECIMAL")) {
        c.type = QStringLiteral("NUMBER");
        c.length = 22;
        if (paren(c.precision, &c.scale) && c.scale < 0)
            c.scale = 0;
    } else if (t == QLatin1String("INTEGER") || t == QLatin1String("INT") ||
               t == QLatin1String("SMALLINT")) {
        c.type = QStringLiteral("NUMBER");
        c.length = 22;
        c.scale = 0;
    } else if (t == QLatin1String("FLOAT")) {
        c.type = QStringLiteral("FLOAT");
        c.length = 22;
        c.precision = 126;
        paren(c.precision, nullptr);
    } else if (t == QLatin1String("VARCHAR2") || t == QLatin1String("VARCHAR") ||
               t == QLatin1String("NVARCHAR2")) {
        c.type = t == QLatin1String("NVARCHAR2") ? t : QStringLiteral("VARCHAR2");
        if (!paren(c.length, nullptr))
            throw DatabaseError(906, QStringLiteral("missing left parenthesis"));
    } else if (t == QLatin1String("CHAR") || t == QLatin1String("NCHAR")) {
        c.type = t;
        c.length = 1;
        paren(c.length, nullptr);
    } else if (t == QLatin1String("DATE")) {
        c.type = t;
        c.length = 7;
    } else if (t == QLatin1String("LONG")) {
        c.type = acceptKw("RAW") ? QStringLiteral("LONG RAW") : QStringLiteral("LONG");
    } else if (t == QLatin1String("RAW")) {
        c.type = t;
        paren(c.length, nullptr);
    } else if (t == QLatin1String("CLOB") || t == QLatin1String("BLOB") ||
               t == QLatin1String("NCLOB")) {
        c.type = t;
        c.length = 4000;
    } else {
        throw DatabaseError(902, QStringLiteral("invalid datatype"));
    }
    c.sqliteType = c.type == QLatin1String("NUMBER") || c.type == QLatin1String("FLOAT")
                       ? QStringLiteral("NUMBER")
                   : c.type == QLatin1String("DATE") ? QStringLiteral("DATE")
                                                     : QStringLiteral("TEXT");
    return c;
}

QStringList Ddl::columnList()
{
    QStringList cols;
    expectOp("(");
    do {
        cols.append(name());
        acceptKw("ASC") || acceptKw("DESC");
    } while (acceptOp(","));
    expectOp(")");
    return cols;
}

// A column list names each column once (ORA-00957).
void Ddl::refuseDuplicate(const QList<Column>& columns, const QString& name)
{
    for (const Column& c : columns)
        if (c.name == name)
            throw DatabaseError(957, QStringLiteral("duplicate column name"));
}

QList<Column> Ddl::columnDefinitions(QList<Constraint>& constraints, bool allowConstraints)
{
    QList<Column> columns;
    expectOp("(");
    do {
        if (allowConstraints && (isKw("CONSTRAINT") || isKw("PRIMARY") || isKw("UNIQUE") ||
                                 isKw("FOREIGN") || isKw("CHECK"))) {
            if (!constraint(constraints, nullptr))
                throw DatabaseError(904, QStringLiteral("invalid identifier"));
            continue;
        }
        Column c = columnType(name());
        for (;;) {
            if (acceptKw("DEFAULT")) {
                const int start = m_p;
                int depth = 0;
                while (!atEnd()) {
                    if (depth == 0 && (isOp(",") || isOp(")") || isKw("NOT") || isKw("NULL") ||
                                       isKw("CONSTRAINT") || isKw("PRIMARY") || isKw("UNIQUE") ||
                                       isKw("CHECK") || isKw("REFERENCES")))
                        break;
                    if (isOp("("))
                        ++depth;
                    if (isOp(")"))
                        --depth;
                    ++m_p;
                }
                c.defaultText = sourceFrom(start, m_p);
                continue;
            }
            if (!allowConstraints)
                break;
            if (!constraint(constraints, &c))
                break;
        }
        refuseDuplicate(columns, c.name);
        columns.append(c);
    } while (acceptOp(","));
    expectOp(")");
    return columns;
}

void Ddl::addColumns(const QString& owner, const QString& table, QList<Column>& columns,
                     int firstId, bool fixed)
{
    QSet<QString> seen;
    for (int i = 0; i < columns.size(); ++i) {
        Column& c = columns[i];
        if (seen.contains(c.name))
            throw DatabaseError(957, QStringLiteral("duplicate column name"));
        seen.insert(c.name);
        m_s.run(QStringLiteral("INSERT INTO kol_columns VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                {owner, table, c.name, firstId + i, c.type, c.length,
                 c.precision >= 0 ? QVariant(c.precision) : QVariant(),
                 c.scale >= 0 ? QVariant(c.scale) : QVariant(),
                 c.notNull ? QStringLiteral("N") : QStringLiteral("Y"),
                 c.defaultText.isEmpty() ? QVariant() : QVariant(c.defaultText)});
        if (c.notNull && !fixed) {
            const bool generated = c.notNullName.isEmpty();
            const QString kname = generated ? systemName() : c.notNullName;
            m_s.run(QStringLiteral("INSERT INTO kol_constraints VALUES (?, ?, 'C', ?, ?, NULL, "
                                   "NULL, NULL, 'ENABLED', ?, ?,"
                                   " NULL, NULL, 'VALIDATED')"),
                    {owner, kname, table, QStringLiteral("\"%1\" IS NOT NULL").arg(c.name),
                     generated ? QStringLiteral("GENERATED NAME") : QStringLiteral("USER NAME"),
                     m_now});
            m_s.run(QStringLiteral("INSERT INTO kol_cons_columns VALUES (?, ?, ?, ?, NULL)"),
                    {owner, kname, table, c.name});
        }
    }
}

int Ddl::columnLength(const QString& owner, const QString& table, const QString& column)
{
    const QList<QVariantList> r =
        m_s.rows(QStringLiteral("SELECT data_type, data_length FROM kol_columns WHERE owner = ? AND"
                                " table_name = ? AND column_name = ?"),
                 {owner, table, column});
    if (r.isEmpty())
        throw DatabaseError(904, QStringLiteral("\"%1\": invalid identifier").arg(column));
    return r[0][1].toInt();
}

void Ddl::createTable(bool fixed)
{
    const auto [owner, table] = qualified();
    if (fixed && !m_s.isDba())
        throw insufficient();
    requireSchema(owner);
    requireFree(owner, table);
    QList<Constraint> constraints;
    // CREATE TABLE name [(column, ...)] [storage] AS query: AS outside parentheses.
    bool asQuery = false;
    for (int i = m_p, depth = 0; !fixed && !asQuery && tokenAt(i).kind != Token::Kind::End; ++i) {
        depth += tokenAt(i).kind != Token::Kind::Op      ? 0
                 : tokenAt(i).text == QLatin1String("(") ? 1
                 : tokenAt(i).text == QLatin1String(")") ? -1
                                                         : 0;
        asQuery = depth == 0 && tokenAt(i).kind == Token::Kind::Ident &&
                  tokenAt(i).text == QLatin1String("AS");
    }
    const QStringList asNames = asQuery && isOp("(") ? columnList() : QStringList();
    QList<Column> columns = asQuery ? QList<Column>() : columnDefinitions(constraints, !fixed);
    Storage st;
    bool indexOrganized = false;
    while (!atEnd() && !(asQuery && isKw("AS"))) {
        // ORGANIZATION INDEX keeps the rows in the primary key's index: the table has no
        // segment of its own, its key index is the 'IOT - TOP'.
        if (!fixed && acceptKw("ORGANIZATION")) {
            indexOrganized = acceptKw("INDEX");
            if (!indexOrganized)
                expectKw("HEAP");
        } else if (indexOrganized && (acceptKw("PCTTHRESHOLD") || acceptKw("COMPRESS"))) {
            if (peek().kind == Token::Kind::Number)
                number();
        } else if (indexOrganized && acceptKw("INCLUDING")) {
            name();
        } else if (indexOrganized && (acceptKw("OVERFLOW") || acceptKw("NOMAPPING"))) {
        } else if (!storageAttribute(st)) {
            throw DatabaseError(922, QStringLiteral("missing or invalid option"));
        }
    }
    bool hasKey = false;
    for (const Constraint& k : std::as_const(constraints))
        hasKey = hasKey || k.type == QLatin1String("P");
    if (indexOrganized && !hasKey)
        throw DatabaseError(25175, QStringLiteral("no PRIMARY KEY constraint found"));
    const int queryAt = m_p + 1;
    if (asQuery) {
        expectKw("AS");
        columns = queryColumns(asNames);
    }
    QStringList defs;
    for (const Column& c : std::as_const(columns))
        defs.append(q(c.name) + QLatin1Char(' ') + c.sqliteType);
    m_s.run(QStringLiteral("CREATE TABLE ") + q(owner + QLatin1Char('.') + table) +
            QStringLiteral(" (") + defs.join(QStringLiteral(", ")) + QLatin1Char(')'));
    addObject(owner, table, fixed ? QStringLiteral("VIEW") : QStringLiteral("TABLE"));
    addColumns(owner, table, columns, 1, fixed);
    if (fixed)
        return;
    m_s.run(QStringLiteral(
                "INSERT INTO kol_tables (owner, table_name, tablespace_name, pct_free, pct_used, "
                "ini_trans, max_trans,"
                " initial_extent, next_extent, min_extents, max_extents, pct_increase, freelists, "
                "freelist_groups,"
                " logging, iot_type) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 1, 'YES', ?)"),
            {owner, table,
             indexOrganized
                 ? QVariant()
                 : QVariant(st.tablespace.isEmpty() ? defaultTablespace(owner) : st.tablespace),
             indexOrganized ? QVariant() : opt(st.pctFree, 10),
             indexOrganized ? QVariant() : opt(st.pctUsed, 40), opt(st.iniTrans, 1),
             opt(st.maxTrans, 255), opt(st.initial, 65536), opt(st.next), opt(st.minExtents, 1),
             opt(st.maxExtents, 2147483645), opt(st.pctIncrease), opt(st.freelists, 1),
             indexOrganized ? QVariant(QStringLiteral("IOT")) : QVariant()});
    for (Constraint& k : constraints) {
        if (indexOrganized && k.type == QLatin1String("P") && k.index.tablespace.isEmpty())
            k.index.tablespace = st.tablespace;
        addConstraint(owner, table, k);
        if (indexOrganized && k.type == QLatin1String("P"))
            m_s.run(QStringLiteral("UPDATE kol_indexes SET index_type = 'IOT - TOP' WHERE owner = "
                                   "? AND index_name = ?"),
                    {owner, k.name});
    }
    if (asQuery)
        insertQueryRows(owner, table, queryAt);
}

// The columns a CREATE TABLE ... AS query gives its table: the names the query shows (or the
// ones listed), the types of the columns it reads, and their NOT NULL.
QList<Column> Ddl::queryColumns(const QStringList& names)
{
    const Translation t = translateStatement(m_t.mid(m_p), m_src, m_s);
    if (t.kind != Translation::Kind::Query)
        throw DatabaseError(928, QStringLiteral("missing SELECT keyword"));
    if (!t.params.isEmpty())
        throw DatabaseError(
            1027, QStringLiteral("bind variables not allowed for data definition operations"));
    if (!t.columnsKnown)
        throw DatabaseError(900, QStringLiteral("invalid SQL statement"));
    if (!names.isEmpty() && names.size() != t.columns.size())
        throw DatabaseError(1730, QStringLiteral("invalid number of column names specified"));
    QList<Column> columns;
    for (qsizetype i = 0; i < t.columns.size(); ++i) {
        const ResultColumn& r = t.columns[i];
        if (names.isEmpty() && r.unnamedExpression)
            throw DatabaseError(998,
                                QStringLiteral("must name this expression with a column alias"));
        Column c;
        c.name = names.isEmpty() ? r.column.name : names[i];
        c.type = r.column.dataType;
        c.length = r.column.length;
        c.precision = r.column.precision;
        c.scale = r.column.scale;
        c.notNull = r.column.notNull;
        if (c.type.isEmpty()) {
            c.type = QStringLiteral("VARCHAR2");
            c.length = 4000;
        } else if ((c.type == QLatin1String("VARCHAR2") || c.type == QLatin1String("CHAR")) &&
                   c.length <= 0) {
            c.length = c.type == QLatin1String("CHAR") ? 1 : 4000;
        }
        c.sqliteType = c.type == QLatin1String("NUMBER") || c.type == QLatin1String("FLOAT")
                           ? QStringLiteral("NUMBER")
                       : c.type == QLatin1String("DATE") ? QStringLiteral("DATE")
                                                         : QStringLiteral("TEXT");
        refuseDuplicate(columns, c.name);
        columns.append(c);
    }
    return columns;
}

void Ddl::insertQueryRows(const QString& owner, const QString& table, int queryAt)
{
    QList<Token> insert;
    for (const char* word : {"INSERT", "INTO"})
        insert.append(Token{Token::Kind::Ident, QString::fromLatin1(word), 0, 0});
    insert.append(Token{Token::Kind::QuotedIdent, owner, 0, 0});
    insert.append(Token{Token::Kind::Op, QStringLiteral("."), 0, 0});
    insert.append(Token{Token::Kind::QuotedIdent, table, 0, 0});
    insert += m_t.mid(queryAt);
    m_s.run(translateStatement(insert, m_src, m_s).sql);
}

void Ddl::dropTable(const QString& owner, const QString& n)
{
    if (objectTypeOf(owner, n) != QLatin1String("TABLE"))
        throw DatabaseError(942, QStringLiteral("table or view does not exist"));
    const bool cascade = acceptKw("CASCADE") && (expectKw("CONSTRAINTS"), true);
    const QList<QVariantList> referencing = referencingKeys(owner, n);
    if (!referencing.isEmpty() && !cascade)
        throw DatabaseError(
            2449, QStringLiteral("unique/primary keys in table referenced by foreign keys"));
    for (const QVariantList& r : referencing)
        dropConstraintRows(r[0].toString(), r[1].toString());
    m_s.run(QStringLiteral("DROP TABLE ") + q(owner + QLatin1Char('.') + n));
    dropTableRows(owner, n);
    dropObjectRows(owner, n, QStringLiteral("TABLE"));
}

void Ddl::dropTableRows(const QString& owner, const QString& table)
{
    for (const QVariantList& k : m_s.rows(
             QStringLiteral(
                 "SELECT constraint_name FROM kol_constraints WHERE owner = ? AND table_name = ?"),
             {owner, table}))
        dropConstraintTriggers(owner, k[0].toString());
    for (const QVariantList& idx :
         m_s.rows(QStringLiteral("SELECT owner, index_name FROM kol_indexes WHERE table_owner = ? "
                                 "AND table_name = ?"),
                  {owner, table}))
        dropIndexRows(idx[0].toString(), idx[1].toString());
    for (const QVariantList& t :
         m_s.rows(QStringLiteral("SELECT owner, trigger_name FROM kol_triggers WHERE table_owner = "
                                 "? AND table_name = ?"),
                  {owner, table})) {
        m_s.run(QStringLiteral("DELETE FROM kol_triggers WHERE owner = ? AND trigger_name = ?"),
                {t[0], t[1]});
        dropObjectRows(t[0].toString(), t[1].toString(), QStringLiteral("TRIGGER"));
    }
    for (const char* sql : {"DELETE FROM kol_tables WHERE owner = ? AND table_name = ?",
                            "DELETE FROM kol_columns WHERE owner = ? AND table_name = ?",
                            "DELETE FROM kol_comments WHERE owner = ? AND table_name = ?",
                            "DELETE FROM kol_constraints WHERE owner = ? AND table_name = ?",
                            "DELETE FROM kol_cons_columns WHERE owner = ? AND table_name = ?",
                            "DELETE FROM kol_tab_privs WHERE owner = ? AND name = ?",
                            "DELETE FROM kol_views WHERE owner = ? AND view_name = ?"})
        m_s.run(QString::fromLatin1(sql), {owner, table});
}

void Ddl::truncate()
{
    expectKw("TABLE");
    const auto [owner, n] = qualified();
    requireSchema(owner);
    if (objectTypeOf(owner, n) != QLatin1String("TABLE"))
        throw DatabaseError(942, QStringLiteral("table or view does not exist"));
    for (const QVariantList& r : referencingKeys(owner, n))
        if (r[3].toString() == QLatin1String("ENABLED"))
            throw DatabaseError(
                2266,
                QStringLiteral("unique/primary keys in table referenced by enabled foreign keys"));
    // Rows that refer to rows of the same table go with them: the table's own foreign keys
    // stand aside while it empties.
    const QList<QVariantList> own = m_s.rows(
        QStringLiteral("SELECT r.constraint_name FROM kol_constraints r JOIN kol_constraints k ON"
                       " k.owner = r.r_owner AND k.constraint_name = r.r_constraint_name WHERE"
                       " r.owner = ? AND r.table_name = ? AND k.owner = r.owner AND"
                       " k.table_name = r.table_name"),
        {owner, n});
    for (const QVariantList& k : own)
        dropConstraintTriggers(owner, k[0].toString());
    m_s.run(QStringLiteral("DELETE FROM ") + q(owner + QLatin1Char('.') + n));
    for (const QVariantList& k : own)
        enforce(owner, k[0].toString(), false);
}

void Ddl::analyze()
{
    expectKw("TABLE");
    const auto [owner, n] = qualified();
    if (objectTypeOf(owner, n) != QLatin1String("TABLE"))
        throw DatabaseError(942, QStringLiteral("table or view does not exist"));
    const qint64 rows =
        m_s.scalar(QStringLiteral("SELECT count(*) FROM ") + q(owner + QLatin1Char('.') + n))
            .toLongLong();
    m_s.run(
        QStringLiteral("UPDATE kol_tables SET num_rows = ?, blocks = ?, empty_blocks = 0, "
                       "avg_space = 0, chain_cnt = 0,"
                       " avg_row_len = 40, last_analyzed = ? WHERE owner = ? AND table_name = ?"),
        {rows, rows / 100 + 1, m_now, owner, n});
    m_p = int(m_t.size()) - 1;
}

void Ddl::alterTable()
{
    const auto [owner, table] = qualified();
    requireSchema(owner);
    if (objectTypeOf(owner, table) != QLatin1String("TABLE"))
        throw DatabaseError(942, QStringLiteral("table or view does not exist"));
    if (acceptKw("ADD"))
        return alterTableAdd(owner, table);
    if (acceptKw("ENABLE") || acceptKw("DISABLE"))
        return alterConstraintStatus(owner, table,
                                     tokenAt(m_p - 1).text == QLatin1String("ENABLE"));
    if (acceptKw("DROP"))
        return dropConstraint(owner, table);
    Storage st;
    bool any = false;
    while (!atEnd() && storageAttribute(st))
        any = true;
    if (!any || !atEnd())
        throw DatabaseError(1735, QStringLiteral("invalid ALTER TABLE option"));
}

void Ddl::alterTableAdd(const QString& owner, const QString& table)
{
    QList<Constraint> constraints;
    if (isKw("CONSTRAINT") || isKw("PRIMARY") || isKw("UNIQUE") || isKw("FOREIGN") ||
        isKw("CHECK")) {
        constraint(constraints, nullptr);
    } else {
        const bool paren = isOp("(");
        QList<Column> columns;
        if (paren) {
            columns = columnDefinitions(constraints, true);
        } else {
            Column c = columnType(name());
            if (acceptKw("DEFAULT")) {
                const int start = m_p;
                while (!atEnd() && !isKw("NOT") && !isKw("NULL") && !isKw("CONSTRAINT"))
                    ++m_p;
                c.defaultText = sourceFrom(start, m_p);
            }
            while (constraint(constraints, &c)) {
            }
            columns.append(c);
        }
        const int next = int(m_s.scalar(QStringLiteral("SELECT coalesce(max(column_id), 0) + 1 "
                                                       "FROM kol_columns WHERE owner = ? AND"
                                                       " table_name = ?"),
                                        {owner, table})
                                 .toLongLong());
        for (const Column& c : std::as_const(columns)) {
            if (m_s.scalar(QStringLiteral("SELECT count(*) FROM kol_columns WHERE owner = ? AND"
                                          " table_name = ? AND column_name = ?"),
                           {owner, table, c.name})
                    .toLongLong()
                > 0)
                throw DatabaseError(1430, QStringLiteral("column being added already exists in "
                                                         "table"));
        }
        for (const Column& c : std::as_const(columns))
            m_s.run(QStringLiteral("ALTER TABLE ") + q(owner + QLatin1Char('.') + table) +
                    QStringLiteral(" ADD COLUMN ") + q(c.name) + QLatin1Char(' ') + c.sqliteType);
        addColumns(owner, table, columns, next, false);
    }
    for (Constraint& k : constraints)
        addConstraint(owner, table, k);
    touch(owner, table);
    while (!atEnd())
        ++m_p;
}

void Ddl::comment()
{
    expectKw("ON");
    const bool column = acceptKw("COLUMN");
    if (!column)
        expectKw("TABLE");
    QStringList parts;
    parts.append(name());
    while (acceptOp("."))
        parts.append(name());
    QString owner = m_s.schema(), table, col;
    if (column) {
        if (parts.size() < 2)
            throw DatabaseError(904,
                                QStringLiteral("\"%1\": invalid identifier").arg(parts.value(0)));
        col = parts.takeLast();
    }
    if (parts.size() == 2)
        owner = parts[0];
    table = parts.last();
    expectKw("IS");
    if (peek().kind != Token::Kind::String)
        throw DatabaseError(1780, QStringLiteral("string literal required"));
    const QString text = tokenAt(m_p++).text;
    if (!atEnd())
        throw DatabaseError(933, QStringLiteral("SQL command not properly ended"));
    const QString type = objectTypeOf(owner, table);
    if (type != QLatin1String("TABLE") && type != QLatin1String("VIEW"))
        throw DatabaseError(942, QStringLiteral("table or view does not exist"));
    if (owner != m_s.user() && !m_s.isDba())
        throw insufficient();
    if (column)
        columnLength(owner, table, col);
    m_s.run(QStringLiteral("INSERT OR REPLACE INTO kol_comments VALUES (?, ?, ?, ?)"),
            {owner, table, col, text.isEmpty() ? QVariant() : QVariant(text)});
}

}  // namespace ddl

}  // namespace kolmara::db::embedded
