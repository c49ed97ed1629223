// DDL of the objects beside tables: indexes, views, synonyms, sequences, triggers, stored
// program units, database links, server packages and rollback segments.
#include "db/embedded/DdlPrivate.h"

#include "db/DatabaseError.h"
#include "db/embedded/Engine.h"
#include "db/embedded/OraValues.h"
#include "db/embedded/SqlTranslator.h"

#include <sqlite3.h>

namespace kolmara::db::embedded {

namespace ddl {

void Ddl::createIndexStatement(bool unique)
{
    const auto [owner, indexName] = qualified();
    expectKw("ON");
    const auto [tableOwner, table] = qualified();
    requireSchema(owner);
    if (m_s.scalar(
               QStringLiteral("SELECT count(*) FROM kol_tables WHERE owner = ? AND table_name = ?"),
               {tableOwner, table})
            .toLongLong() == 0)
        throw DatabaseError(942, QStringLiteral("table or view does not exist"));
    const QStringList columns = columnList();
    Storage st;
    while (!atEnd()) {
        if (!storageAttribute(st))
            throw DatabaseError(922, QStringLiteral("missing or invalid option"));
    }
    createIndex(owner, indexName, tableOwner, table, columns, unique, st, false);
}

void Ddl::createIndex(const QString& owner, const QString& indexName, const QString& tableOwner,
                      const QString& table, const QStringList& columns, bool unique,
                      const Storage& st, bool generated)
{
    if (m_s.scalar(QStringLiteral(
                       "SELECT count(*) FROM kol_indexes WHERE owner = ? AND index_name = ?"),
                   {owner, indexName})
            .toLongLong())
        throw DatabaseError(955, QStringLiteral("name is already used by an existing object"));
    QStringList quoted;
    for (const QString& c : columns)
        quoted.append(q(c));
    m_s.run(QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
                .arg(unique ? QStringLiteral("UNIQUE ") : QString(),
                     q(QStringLiteral("idx:") + owner + QLatin1Char('.') + indexName),
                     q(tableOwner + QLatin1Char('.') + table), quoted.join(QStringLiteral(", "))));
    m_s.run(QStringLiteral("INSERT INTO kol_indexes VALUES (?, ?, 'NORMAL', ?, ?, ?, ?, ?, ?, ?, "
                           "?, ?, ?, ?, ?, ?, ?, 'VALID')"),
            {owner, indexName, tableOwner, table,
             unique ? QStringLiteral("UNIQUE") : QStringLiteral("NONUNIQUE"),
             st.tablespace.isEmpty() ? defaultTablespace(tableOwner) : st.tablespace,
             opt(st.iniTrans, 2), opt(st.maxTrans, 255), opt(st.initial, 65536), opt(st.next),
             opt(st.minExtents, 1), opt(st.maxExtents, 2147483645), opt(st.pctIncrease),
             opt(st.pctFree, 10), opt(st.freelists, 1),
             generated ? QStringLiteral("Y") : QStringLiteral("N")});
    for (int i = 0; i < columns.size(); ++i) {
        const QList<QVariantList> r = m_s.rows(
            QStringLiteral("SELECT data_type, data_length FROM kol_columns WHERE owner = ? AND"
                           " table_name = ? AND column_name = ?"),
            {tableOwner, table, columns[i]});
        if (r.isEmpty())
            throw DatabaseError(904, QStringLiteral("\"%1\": invalid identifier").arg(columns[i]));
        const QString type = r[0][0].toString();
        const bool character = type == QLatin1String("VARCHAR2") || type == QLatin1String("CHAR");
        m_s.run(
            QStringLiteral("INSERT INTO kol_ind_columns VALUES (?, ?, ?, ?, ?, ?, ?, ?, 'ASC')"),
            {owner, indexName, tableOwner, table, columns[i], i + 1, r[0][1].toInt(),
             character ? r[0][1].toInt() : 0});
    }
    addObject(owner, indexName, QStringLiteral("INDEX"), tableOwner, table, QStringLiteral("VALID"),
              generated);
}

void Ddl::dropIndexRows(const QString& owner, const QString& n)
{
    m_s.run(QStringLiteral("DELETE FROM kol_indexes WHERE owner = ? AND index_name = ?"),
            {owner, n});
    m_s.run(QStringLiteral("DELETE FROM kol_ind_columns WHERE index_owner = ? AND index_name = ?"),
            {owner, n});
    dropObjectRows(owner, n, QStringLiteral("INDEX"));
}

void Ddl::createView(bool orReplace, bool force)
{
    const auto [owner, view] = qualified();
    requireSchema(owner);
    QStringList aliases;
    if (isOp("("))
        aliases = columnList();
    expectKw("AS");
    const int start = m_p;
    int end = int(m_t.size()) - 1;
    for (int i = start; i < m_t.size(); ++i) {
        if (tokenAt(i).kind == Token::Kind::Ident && tokenAt(i).text == QLatin1String("WITH") &&
            i + 1 < m_t.size() && tokenAt(i + 1).kind == Token::Kind::Ident &&
            (tokenAt(i + 1).text == QLatin1String("READ") ||
             tokenAt(i + 1).text == QLatin1String("CHECK"))) {
            end = i;
            break;
        }
        if (tokenAt(i).kind == Token::Kind::Op && tokenAt(i).text == QLatin1String(";")) {
            end = i;
            break;
        }
    }
    const QString text = sourceFrom(start, end);
    if (m_s.objectExists(owner, view)) {
        if (!orReplace ||
            m_s.scalar(QStringLiteral(
                           "SELECT count(*) FROM kol_views WHERE owner = ? AND view_name = ?"),
                       {owner, view})
                    .toLongLong() == 0)
            throw DatabaseError(955, QStringLiteral("name is already used by an existing object"));
        dropView(owner, view, true);
    }
    QList<Token> body = m_t.mid(start, end - start);
    Token endToken;
    endToken.kind = Token::Kind::End;
    body.append(endToken);
    QString translated;
    QList<ResultColumn> columns;
    const QString previousUser = m_s.user();
    const QString previousSchema = m_s.schema();
    m_s.setUser(owner);
    try {
        const Translation t = translateStatement(body, m_src, m_s);
        if (!t.params.isEmpty())
            throw DatabaseError(
                1027, QStringLiteral("bind variables not allowed for data definition operations"));
        translated = t.sql;
        if (t.columnsKnown)
            columns = t.columns;
        m_s.setUser(previousUser, previousSchema);
    } catch (const DatabaseError&) {
        m_s.setUser(previousUser, previousSchema);
        if (!force)
            throw;
        m_s.run(QStringLiteral("INSERT INTO kol_views VALUES (?, ?, ?)"), {owner, view, text});
        addObject(owner, view, QStringLiteral("VIEW"), {}, {}, QStringLiteral("INVALID"));
        return;
    }
    QStringList quotedAliases;
    for (const QString& a : std::as_const(aliases))
        quotedAliases.append(q(a));
    const QString storage = owner + QLatin1Char('.') + view;
    m_s.run(QStringLiteral("CREATE VIEW ") + q(storage) +
            (aliases.isEmpty() ? QString()
                               : QStringLiteral("(") + quotedAliases.join(QStringLiteral(", ")) +
                                     QLatin1Char(')')) +
            QStringLiteral(" AS ") + translated);
    m_s.run(QStringLiteral("INSERT INTO kol_views VALUES (?, ?, ?)"), {owner, view, text});
    addObject(owner, view, QStringLiteral("VIEW"));
    viewColumns(owner, view, storage, columns);
}

// The view's columns take the type of the table column they come from, where there is one,
// else the type of the expression as the query knows it.
void Ddl::viewColumns(const QString& owner, const QString& view, const QString& storage,
                      const QList<ResultColumn>& known)
{
    sqlite3_stmt* st = nullptr;
    const QByteArray sql = (QStringLiteral("SELECT * FROM ") + q(storage)).toUtf8();
    if (sqlite3_prepare_v2(m_s.db(), sql.constData(), int(sql.size()), &st, nullptr) != SQLITE_OK)
        return;
    const int n = sqlite3_column_count(st);
    for (int i = 0; i < n; ++i) {
        const QString column = QString::fromUtf8(sqlite3_column_name(st, i));
        const char* table = sqlite3_column_table_name(st, i);
        const char* origin = sqlite3_column_origin_name(st, i);
        QList<QVariantList> info;
        if (table && origin) {
            const QString t = QString::fromUtf8(table);
            const int dot = int(t.indexOf(QLatin1Char('.')));
            info =
                m_s.rows(QStringLiteral("SELECT data_type, data_length, data_precision, "
                                        "data_scale, nullable FROM kol_columns"
                                        " WHERE owner = ? AND table_name = ? AND column_name = ?"),
                         {t.left(dot), t.mid(dot + 1), QString::fromUtf8(origin)});
        }
        const ColumnInfo expression = known.size() == n ? known[i].column : ColumnInfo();
        if (info.isEmpty() && !expression.dataType.isEmpty()) {
            const bool text = expression.dataType == QLatin1String("VARCHAR2") ||
                              expression.dataType == QLatin1String("CHAR");
            info.append({expression.dataType,
                         text && expression.length <= 0 ? 4000 : expression.length,
                         expression.precision >= 0 ? QVariant(expression.precision) : QVariant(),
                         expression.scale >= 0 ? QVariant(expression.scale) : QVariant(),
                         QStringLiteral("Y")});
        }
        QVariantList row = info.isEmpty()
                               ? QVariantList{QStringLiteral("VARCHAR2"), 4000, QVariant(),
                                              QVariant(), QStringLiteral("Y")}
                               : info[0];
        m_s.run(QStringLiteral("INSERT INTO kol_columns VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, NULL)"),
                {owner, view, column, i + 1, row[0], row[1], row[2], row[3], row[4]});
    }
    sqlite3_finalize(st);
}

void Ddl::dropView(const QString& owner, const QString& view, bool keepPrivileges)
{
    m_s.run(QStringLiteral("DROP VIEW IF EXISTS ") + q(owner + QLatin1Char('.') + view));
    m_s.run(QStringLiteral("DELETE FROM kol_views WHERE owner = ? AND view_name = ?"),
            {owner, view});
    m_s.run(QStringLiteral("DELETE FROM kol_columns WHERE owner = ? AND table_name = ?"),
            {owner, view});
    if (!keepPrivileges) {
        m_s.run(QStringLiteral("DELETE FROM kol_comments WHERE owner = ? AND table_name = ?"),
                {owner, view});
        m_s.run(QStringLiteral("DELETE FROM kol_tab_privs WHERE owner = ? AND name = ?"),
                {owner, view});
    }
    dropObjectRows(owner, view, QStringLiteral("VIEW"));
}

void Ddl::createSynonym(bool isPublic, bool orReplace)
{
    auto [owner, synonym] = qualified();
    if (isPublic) {
        owner = QStringLiteral("PUBLIC");
        if (!m_s.isDba())
            throw insufficient();
    } else {
        requireSchema(owner);
    }
    expectKw("FOR");
    QString targetOwner = m_s.schema();
    QString target = name();
    if (acceptOp(".")) {
        targetOwner = target;
        target = name();
    }
    QVariant link;
    if (acceptOp("@"))
        link = name();
    if (m_s.objectExists(owner, synonym)) {
        if (!orReplace ||
            m_s.scalar(
                   QStringLiteral(
                       "SELECT count(*) FROM kol_synonyms WHERE owner = ? AND synonym_name = ?"),
                   {owner, synonym})
                    .toLongLong() == 0)
            throw DatabaseError(955, QStringLiteral("name is already used by an existing object"));
        dropObjectRows(owner, synonym, QStringLiteral("SYNONYM"));
    }
    m_s.run(QStringLiteral("INSERT INTO kol_synonyms VALUES (?, ?, ?, ?, ?)"),
            {owner, synonym, targetOwner, target, link});
    addObject(owner, synonym, QStringLiteral("SYNONYM"));
}

void Ddl::createSequence()
{
    const auto [owner, seq] = qualified();
    requireSchema(owner);
    requireFree(owner, seq);
    qint64 increment = 1, start = LLONG_MIN, cache = 20;
    QVariant minValue, maxValue;
    QString cycle = QStringLiteral("N"), order = QStringLiteral("N");
    while (!atEnd()) {
        if (acceptKw("INCREMENT")) {
            expectKw("BY");
            increment = number();
        } else if (acceptKw("START")) {
            expectKw("WITH");
            start = number();
        } else if (acceptKw("MAXVALUE")) {
            maxValue = number();
        } else if (acceptKw("MINVALUE")) {
            minValue = number();
        } else if (acceptKw("NOMAXVALUE") || acceptKw("NOMINVALUE")) {
        } else if (acceptKw("CYCLE")) {
            cycle = QStringLiteral("Y");
        } else if (acceptKw("NOCYCLE")) {
        } else if (acceptKw("CACHE")) {
            cache = number();
        } else if (acceptKw("NOCACHE")) {
            cache = 0;
        } else if (acceptKw("ORDER")) {
            order = QStringLiteral("Y");
        } else if (acceptKw("NOORDER")) {
        } else {
            throw DatabaseError(933, QStringLiteral("SQL command not properly ended"));
        }
    }
    const QString nines = QString(kBigNumberMark) + QString(27, QLatin1Char('9'));
    if (!minValue.isValid())
        minValue = increment > 0 ? QVariant(qint64(1))
                                 : QVariant(QString(kBigNumberMark) + QStringLiteral("-") +
                                            QString(26, QLatin1Char('9')));
    if (!maxValue.isValid())
        maxValue = increment > 0 ? QVariant(nines) : QVariant(qint64(-1));
    if (start == LLONG_MIN)
        start = increment > 0 ? minValue.toLongLong() : maxValue.toLongLong();
    m_s.run(QStringLiteral("INSERT INTO kol_sequences VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            {owner, seq, minValue, maxValue, increment, cycle, order, cache, start, start});
    addObject(owner, seq, QStringLiteral("SEQUENCE"));
}

void Ddl::createTrigger(bool orReplace)
{
    const int nameStart = m_p;
    const auto [owner, trigger] = qualified();
    requireSchema(owner);
    QString timing;
    if (acceptKw("BEFORE"))
        timing = QStringLiteral("BEFORE");
    else if (acceptKw("AFTER"))
        timing = QStringLiteral("AFTER");
    else {
        expectKw("INSTEAD");
        expectKw("OF");
        timing = QStringLiteral("INSTEAD OF");
    }
    QStringList events;
    QStringList columns;
    do {
        events.append(name());
        if (acceptKw("OF")) {
            do {
                columns.append(name());
            } while (acceptOp(","));
        }
    } while (acceptKw("OR"));
    expectKw("ON");
    QString baseType = QStringLiteral("TABLE");
    QString tableOwner, table;
    if (acceptKw("DATABASE")) {
        baseType = QStringLiteral("DATABASE");
    } else if (acceptKw("SCHEMA")) {
        baseType = QStringLiteral("SCHEMA");
    } else {
        const auto t = qualified();
        tableOwner = t.first;
        table = t.second;
        const QString type =
            m_s.scalar(QStringLiteral(
                           "SELECT object_type FROM kol_objects WHERE owner = ? AND object_name = ?"
                           " AND object_type IN ('TABLE', 'VIEW')"),
                       {tableOwner, table})
                .toString();
        if (type.isEmpty())
            throw DatabaseError(942, QStringLiteral("table or view does not exist"));
        baseType = type;
    }
    QString referencing = QStringLiteral("REFERENCING NEW AS NEW OLD AS OLD");
    if (acceptKw("REFERENCING")) {
        QString newName = QStringLiteral("NEW"), oldName = QStringLiteral("OLD");
        while (isKw("NEW") || isKw("OLD") || isKw("PARENT")) {
            const QString which = name();
            acceptKw("AS");
            const QString alias = name();
            if (which == QLatin1String("NEW"))
                newName = alias;
            else if (which == QLatin1String("OLD"))
                oldName = alias;
        }
        referencing = QStringLiteral("REFERENCING NEW AS %1 OLD AS %2").arg(newName, oldName);
    }
    bool eachRow = false;
    if (acceptKw("FOR")) {
        expectKw("EACH");
        expectKw("ROW");
        eachRow = true;
    }
    QVariant when;
    if (acceptKw("WHEN")) {
        const int start = skipGroup();
        when = sourceFrom(start + 1, m_p - 1);
    }
    if (!isKw("BEGIN") && !isKw("DECLARE") && !isKw("CALL"))
        throw DatabaseError(4079, QStringLiteral("invalid trigger specification"));
    const QString description =
        m_src.mid(tokenAt(nameStart).start, tokenAt(m_p).start - tokenAt(nameStart).start)
            .trimmed() +
        QLatin1Char('\n');
    QString body = m_src.mid(tokenAt(m_p).start);
    if (!body.endsWith(QLatin1Char('\n')))
        body += QLatin1Char('\n');
    const bool callType = isKw("CALL");
    if (m_s.scalar(QStringLiteral(
                       "SELECT count(*) FROM kol_triggers WHERE owner = ? AND trigger_name = ?"),
                   {owner, trigger})
            .toLongLong()) {
        if (!orReplace)
            throw DatabaseError(4081, QStringLiteral("trigger '%1' already exists").arg(trigger));
        m_s.run(QStringLiteral("DELETE FROM kol_triggers WHERE owner = ? AND trigger_name = ?"),
                {owner, trigger});
        dropObjectRows(owner, trigger, QStringLiteral("TRIGGER"));
    }
    const QString type =
        timing == QLatin1String("INSTEAD OF")
            ? timing
            : timing + (eachRow ? QStringLiteral(" EACH ROW") : QStringLiteral(" STATEMENT"));
    m_s.run(
        QStringLiteral(
            "INSERT INTO kol_triggers VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 'ENABLED', ?, ?, ?)"),
        {owner, trigger, type, events.join(QStringLiteral(" OR ")),
         tableOwner.isEmpty() ? QVariant() : QVariant(tableOwner), baseType,
         table.isEmpty() ? QVariant() : QVariant(table),
         columns.isEmpty() ? QVariant() : QVariant(columns.join(QStringLiteral(", "))), referencing,
         when, description, callType ? QStringLiteral("CALL") : QStringLiteral("PL/SQL"), body});
    addObject(owner, trigger, QStringLiteral("TRIGGER"), tableOwner, table);
    m_p = int(m_t.size()) - 1;
}

// Stored PL/SQL units are listed in the dictionary only: the engine does not compile or run
// them and keeps no source. A package body created before its package specification is
// INVALID, as the server leaves it; everything else is VALID. A replaced unit keeps its
// creation time.
void Ddl::createProgramUnit(const QString& type, bool orReplace)
{
    const auto [owner, unit] = qualified();
    requireSchema(owner);
    const bool exists =
        m_s.scalar(
               QStringLiteral("SELECT count(*) FROM kol_objects WHERE owner = ? AND object_name = ?"
                              " AND object_type = ?"),
               {owner, unit, type})
            .toLongLong() > 0;
    const bool body = type == QLatin1String("PACKAGE BODY");
    if (exists && !orReplace)
        throw DatabaseError(955, QStringLiteral("name is already used by an existing object"));
    if (!exists && !body)
        requireFree(owner, unit);
    const bool specified =
        m_s.scalar(
               QStringLiteral("SELECT count(*) FROM kol_objects WHERE owner = ? AND object_name = ?"
                              " AND object_type = 'PACKAGE'"),
               {owner, unit})
            .toLongLong() > 0;
    const QString status = body && !specified ? QStringLiteral("INVALID") : QStringLiteral("VALID");
    if (exists)
        m_s.run(QStringLiteral("UPDATE kol_objects SET last_ddl_time = ?, status = ? WHERE owner = "
                               "? AND object_name = ?"
                               " AND object_type = ?"),
                {m_now, status, owner, unit, type});
    else
        addObject(owner, unit, type, {}, {}, status);
    m_p = int(m_t.size()) - 1;
}

// A database link is listed in the dictionary under its owner (PUBLIC for a public one); the
// engine never connects through it. Its name may hold dots (a global name), so it is one name
// however many parts it has.
void Ddl::createDatabaseLink(bool isPublic)
{
    if (isPublic && !m_s.isDba())
        throw insufficient();
    QString link = name();
    while (acceptOp("."))
        link += QLatin1Char('.') + name();
    const QString owner = isPublic ? QStringLiteral("PUBLIC") : m_s.user();
    if (m_s.scalar(
               QStringLiteral("SELECT count(*) FROM kol_objects WHERE owner = ? AND object_name = ?"
                              " AND object_type = 'DATABASE LINK'"),
               {owner, link})
            .toLongLong())
        throw DatabaseError(2011, QStringLiteral("duplicate database link name"));
    addObject(owner, link, QStringLiteral("DATABASE LINK"));
    m_p = int(m_t.size()) - 1;
}

// DROP of an index, a view, a synonym, a sequence or a trigger.
void Ddl::dropObject(const QString& kind, const QString& owner, const QString& n)
{
    if (kind == QLatin1String("VIEW")) {
        if (objectTypeOf(owner, n) != QLatin1String("VIEW"))
            throw DatabaseError(942, QStringLiteral("table or view does not exist"));
        dropView(owner, n, false);
        m_s.run(QStringLiteral("DROP TABLE IF EXISTS ") + q(owner + QLatin1Char('.') + n));
    } else if (kind == QLatin1String("SYNONYM")) {
        if (objectTypeOf(owner, n) != QLatin1String("SYNONYM"))
            throw DatabaseError(1434,
                                QStringLiteral("private synonym to be dropped does not exist"));
        dropObjectRows(owner, n, QStringLiteral("SYNONYM"));
    } else if (kind == QLatin1String("SEQUENCE")) {
        if (objectTypeOf(owner, n) != QLatin1String("SEQUENCE"))
            throw DatabaseError(2289, QStringLiteral("sequence does not exist"));
        m_s.run(QStringLiteral(
                    "DELETE FROM kol_sequences WHERE sequence_owner = ? AND sequence_name = ?"),
                {owner, n});
        dropObjectRows(owner, n, QStringLiteral("SEQUENCE"));
    } else if (kind == QLatin1String("INDEX")) {
        if (m_s.scalar(QStringLiteral(
                           "SELECT count(*) FROM kol_indexes WHERE owner = ? AND index_name = ?"),
                       {owner, n})
                .toLongLong() == 0)
            throw DatabaseError(1418, QStringLiteral("specified index does not exist"));
        if (m_s.scalar(QStringLiteral("SELECT count(*) FROM kol_constraints WHERE index_owner = ? "
                                      "AND index_name = ?"),
                       {owner, n})
                .toLongLong())
            throw DatabaseError(
                2429,
                QStringLiteral("cannot drop index used for enforcement of unique/primary key"));
        m_s.run(QStringLiteral("DROP INDEX ") +
                q(QStringLiteral("idx:") + owner + QLatin1Char('.') + n));
        dropIndexRows(owner, n);
    } else if (kind == QLatin1String("TRIGGER")) {
        if (m_s.scalar(
                   QStringLiteral(
                       "SELECT count(*) FROM kol_triggers WHERE owner = ? AND trigger_name = ?"),
                   {owner, n})
                .toLongLong() == 0)
            throw DatabaseError(4080, QStringLiteral("trigger '%1' does not exist").arg(n));
        m_s.run(QStringLiteral("DELETE FROM kol_triggers WHERE owner = ? AND trigger_name = ?"),
                {owner, n});
        dropObjectRows(owner, n, QStringLiteral("TRIGGER"));
    } else {
        throw DatabaseError(950, QStringLiteral("invalid DROP option"));
    }
}

void Ddl::dropPublicSynonym()
{
    expectKw("SYNONYM");
    if (!m_s.isDba())
        throw insufficient();
    const QString n = name();
    if (m_s.scalar(QStringLiteral("SELECT count(*) FROM kol_synonyms WHERE owner = 'PUBLIC' "
                                  "AND synonym_name = ?"),
                   {n})
            .toLongLong() == 0)
        throw DatabaseError(1432, QStringLiteral("public synonym to be dropped does not exist"));
    dropObjectRows(QStringLiteral("PUBLIC"), n, QStringLiteral("SYNONYM"));
}

void Ddl::alterTrigger()
{
    const auto [owner, n] = qualified();
    requireSchema(owner);
    if (acceptKw("ENABLE") || acceptKw("DISABLE")) {
        const QString status = tokenAt(m_p - 1).text == QLatin1String("ENABLE")
                                   ? QStringLiteral("ENABLED")
                                   : QStringLiteral("DISABLED");
        m_s.run(QStringLiteral(
                    "UPDATE kol_triggers SET status = ? WHERE owner = ? AND trigger_name = ?"),
                {status, owner, n});
    }
    m_p = int(m_t.size()) - 1;
}

// A package of the server's own (DBMS_STATS...): listed as a valid PACKAGE and PACKAGE BODY
// so that grants and synonyms on it work; the engine runs no PL/SQL.
void Ddl::createFixedPackage()
{
    if (!m_s.isDba())
        throw insufficient();
    const auto [owner, package] = qualified();
    requireFree(owner, package);
    addObject(owner, package, QStringLiteral("PACKAGE"));
    addObject(owner, package, QStringLiteral("PACKAGE BODY"));
}

void Ddl::alterRollbackSegment()
{
    if (!m_s.isDba())
        throw insufficient();
    const QString segment = name();
    const bool known =
        m_s.objectExists(QStringLiteral("SYS"), QStringLiteral("DBA_ROLLBACK_SEGS")) &&
        m_s.scalar(QStringLiteral("SELECT count(*) FROM main.\"SYS.DBA_ROLLBACK_SEGS\" WHERE "
                                  "\"SEGMENT_NAME\" = ?"),
                   {segment})
                .toLongLong() > 0;
    if (!known)
        throw DatabaseError(1534,
                            QStringLiteral("rollback segment '%1' doesn't exist").arg(segment));
    bool shrink = false;
    if (acceptKw("SHRINK")) {
        shrink = true;
        if (acceptKw("TO"))
            size();
    } else if (acceptKw("ONLINE") || acceptKw("OFFLINE")) {
        m_s.run(QStringLiteral("UPDATE main.\"SYS.DBA_ROLLBACK_SEGS\" SET \"STATUS\" = ? WHERE "
                               "\"SEGMENT_NAME\" = ?"),
                {tokenAt(m_p - 1).text, segment});
    } else {
        Storage st;
        while (!atEnd() && storageAttribute(st)) {
        }
    }
    if (!atEnd())
        throw DatabaseError(933, QStringLiteral("SQL command not properly ended"));
    // Only a segment in use can give back its extents; one taken offline is refused, not
    // reported as shrunk.
    if (shrink &&
        m_s.scalar(QStringLiteral("SELECT upper(\"STATUS\") FROM main.\"SYS.DBA_ROLLBACK_SEGS\" "
                                  "WHERE \"SEGMENT_NAME\" = ?"),
                   {segment})
                .toString() == QLatin1String("OFFLINE"))
        throw DatabaseError(1598,
                            QStringLiteral("rollback segment '%1' is not online").arg(segment));
}

}  // namespace ddl

}  // namespace kolmara::db::embedded
