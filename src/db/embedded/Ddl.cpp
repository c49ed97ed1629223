// DDL execution: a small recursive-descent reader per statement kind, writing the SQLite storage
// and the kol_* catalogue rows that the dictionary views show. This file holds the entry point,
// the statement kinds, the token and catalogue helpers and the storage clauses; DdlTables,
// DdlConstraints, DdlObjects and DdlAccounts hold the statements of each kind of object.
#include "db/embedded/Ddl.h"

#include "db/DatabaseError.h"
#include "db/embedded/DdlPrivate.h"
#include "db/embedded/Engine.h"
#include "db/embedded/OraValues.h"

namespace kolmara::db::embedded {

void executeDdl(EngineSession& session, const QList<Token>& tokens, const QString& sql)
{
    ddl::Ddl ddl(session, tokens, sql);
    ddl.run();
}

namespace ddl {

Ddl::Ddl(EngineSession& s, const QList<Token>& t, const QString& sql)
    : TokenCursor(t), m_s(s), m_src(sql), m_now(dateText(s.statementNow()))
{
}

void Ddl::run()
{
    if (acceptKw("CREATE"))
        return create();
    if (acceptKw("DROP"))
        return drop();
    if (acceptKw("ALTER"))
        return alter();
    if (acceptKw("GRANT"))
        return grant(true);
    if (acceptKw("REVOKE"))
        return grant(false);
    if (acceptKw("COMMENT"))
        return comment();
    if (acceptKw("TRUNCATE"))
        return truncate();
    if (acceptKw("ANALYZE"))
        return analyze();
    throw DatabaseError(900, QStringLiteral("invalid SQL statement"));
}

bool Ddl::atEnd() const
{
    return peek().kind == Token::Kind::End || (isOp(";") && peek(1).kind == Token::Kind::End);
}

void Ddl::expectKw(const char* kw)
{
    if (!acceptKw(kw))
        throw DatabaseError(900, QStringLiteral("invalid SQL statement"));
}

void Ddl::expectOp(const char* op)
{
    if (!takeRequiredOp(op))
        throw DatabaseError(900, QStringLiteral("invalid SQL statement"));
}

// [owner.]name -> (owner, name); the owner defaults to the session's current schema.
QPair<QString, QString> Ddl::qualified()
{
    QString a = name();
    if (acceptOp("."))
        return {a, name()};
    return {m_s.schema(), a};
}

qint64 Ddl::number()
{
    bool neg = acceptOp("-");
    if (peek().kind != Token::Kind::Number)
        throw DatabaseError(2017, QStringLiteral("integer value required"));
    const auto n = parseOraNumber(tokenAt(m_p++).text);
    qint64 v = n ? qint64(n->toDouble()) : 0;
    return neg ? -v : v;
}

qint64 Ddl::size()
{
    qint64 v = number();
    if (peek().kind == Token::Kind::Ident && peek().start == tokenAt(m_p - 1).end) {
        const QString unit = peek().text;
        if (unit == QLatin1String("K"))
            v *= 1024;
        else if (unit == QLatin1String("M"))
            v *= 1024 * 1024;
        else if (unit == QLatin1String("G"))
            v *= 1024LL * 1024 * 1024;
        else
            return v;
        ++m_p;
    }
    return v;
}

QString Ddl::sourceFrom(int tokenIndex, int endToken) const
{
    if (tokenIndex >= endToken)
        return {};
    return m_src.mid(tokenAt(tokenIndex).start,
                     tokenAt(endToken - 1).end - tokenAt(tokenIndex).start);
}

// Skips a balanced parenthesised group, the opening '(' being the current token.
int Ddl::skipGroup()
{
    const int start = m_p;
    int depth = 0;
    do {
        if (isOp("("))
            ++depth;
        else if (isOp(")"))
            --depth;
        if (peek().kind == Token::Kind::End)
            throw DatabaseError(907, QStringLiteral("missing right parenthesis"));
        ++m_p;
    } while (depth > 0);
    return start;
}

void Ddl::requireSchema(const QString& owner)
{
    if (owner != m_s.user() && !m_s.isDba())
        throw insufficient();
    if (owner != QLatin1String("PUBLIC") &&
        m_s.scalar(QStringLiteral("SELECT count(*) FROM kol_users WHERE username = ?"), {owner})
                .toLongLong() == 0)
        throw DatabaseError(1918, QStringLiteral("user '%1' does not exist").arg(owner));
}

void Ddl::requireFree(const QString& owner, const QString& n)
{
    if (m_s.objectExists(owner, n))
        throw DatabaseError(955, QStringLiteral("name is already used by an existing object"));
}

qint64 Ddl::counter(const char* key)
{
    const qint64 v = m_s.scalar(QStringLiteral("SELECT value FROM kol_meta WHERE key = ?"),
                                {QString::fromLatin1(key)})
                         .toLongLong();
    m_s.run(QStringLiteral("UPDATE kol_meta SET value = value + 1 WHERE key = ?"),
            {QString::fromLatin1(key)});
    return v;
}

qint64 Ddl::addObject(const QString& owner, const QString& n, const QString& type,
                      const QString& baseOwner, const QString& baseName, const QString& status,
                      bool generated)
{
    const qint64 id = counter("next_object_id");
    const bool segment = type == QLatin1String("TABLE") || type == QLatin1String("INDEX");
    m_s.run(QStringLiteral(
                "INSERT INTO kol_objects VALUES (?, ?, ?, NULL, ?, ?, ?, ?, ?, 'N', ?, 'N', ?, ?)"),
            {id, owner, n, type, segment ? QVariant(id) : QVariant(), m_now, m_now, status,
             generated ? QStringLiteral("Y") : QStringLiteral("N"),
             baseOwner.isEmpty() ? QVariant() : QVariant(baseOwner),
             baseName.isEmpty() ? QVariant() : QVariant(baseName)});
    return id;
}

void Ddl::touch(const QString& owner, const QString& n)
{
    m_s.run(QStringLiteral(
                "UPDATE kol_objects SET last_ddl_time = ? WHERE owner = ? AND object_name = ? AND"
                " object_type IN ('TABLE', 'VIEW')"),
            {m_now, owner, n});
}

QString Ddl::systemName()
{
    return QStringLiteral("SYS_C%1").arg(counter("next_constraint"), 6, 10, QLatin1Char('0'));
}

QString Ddl::defaultTablespace(const QString& owner)
{
    const QString t =
        m_s.scalar(QStringLiteral("SELECT default_tablespace FROM kol_users WHERE username = ?"),
                   {owner})
            .toString();
    return t.isEmpty() ? QStringLiteral("SYSTEM") : t;
}

QString Ddl::objectTypeOf(const QString& owner, const QString& n)
{
    return m_s
        .scalar(QStringLiteral("SELECT object_type FROM kol_objects WHERE owner = ? AND "
                               "object_name = ? AND object_type"
                               " NOT IN ('INDEX', 'TRIGGER')"),
                {owner, n})
        .toString();
}

void Ddl::dropObjectRows(const QString& owner, const QString& n, const QString& type)
{
    m_s.run(QStringLiteral(
                "DELETE FROM kol_objects WHERE owner = ? AND object_name = ? AND object_type = ?"),
            {owner, n, type});
    if (type == QLatin1String("SYNONYM"))
        m_s.run(QStringLiteral("DELETE FROM kol_synonyms WHERE owner = ? AND synonym_name = ?"),
                {owner, n});
}

bool Ddl::storageAttribute(Storage& st)
{
    if (acceptKw("TABLESPACE")) {
        st.tablespace = name();
    } else if (acceptKw("PCTFREE")) {
        st.pctFree = number();
    } else if (acceptKw("PCTUSED")) {
        st.pctUsed = number();
    } else if (acceptKw("INITRANS")) {
        st.iniTrans = number();
    } else if (acceptKw("MAXTRANS")) {
        st.maxTrans = number();
    } else if (acceptKw("STORAGE")) {
        expectOp("(");
        while (!acceptOp(")")) {
            if (acceptKw("INITIAL"))
                st.initial = size();
            else if (acceptKw("NEXT"))
                st.next = size();
            else if (acceptKw("MINEXTENTS"))
                st.minExtents = number();
            else if (acceptKw("MAXEXTENTS"))
                st.maxExtents = acceptKw("UNLIMITED") ? 2147483645 : number();
            else if (acceptKw("PCTINCREASE"))
                st.pctIncrease = number();
            else if (acceptKw("FREELISTS"))
                st.freelists = number();
            else if (acceptKw("FREELIST")) {
                expectKw("GROUPS");
                number();
            } else if (acceptKw("OPTIMAL")) {
                if (!acceptKw("NULL"))
                    size();
            } else if (acceptKw("BUFFER_POOL")) {
                name();
            } else
                throw DatabaseError(2143, QStringLiteral("invalid STORAGE option"));
        }
    } else if (acceptKw("LOGGING") || acceptKw("NOLOGGING") || acceptKw("CACHE") ||
               acceptKw("NOCACHE") || acceptKw("NOCOMPRESS") || acceptKw("COMPRESS") ||
               acceptKw("NOPARALLEL") || acceptKw("MONITORING") || acceptKw("NOMONITORING") ||
               acceptKw("NOSORT") || acceptKw("REVERSE") || acceptKw("ONLINE") ||
               acceptKw("NOROWDEPENDENCIES") || acceptKw("ROWDEPENDENCIES") || acceptKw("ENABLE") ||
               acceptKw("DISABLE") || acceptKw("VALIDATE") || acceptKw("NOVALIDATE")) {
    } else if (acceptKw("PARALLEL")) {
        if (peek().kind == Token::Kind::Number)
            number();
    } else if (acceptKw("COMPUTE")) {
        expectKw("STATISTICS");
    } else {
        return false;
    }
    return true;
}

void Ddl::create()
{
    bool orReplace = false;
    if (acceptKw("OR")) {
        expectKw("REPLACE");
        orReplace = true;
    }
    bool unique = false;
    if (acceptKw("UNIQUE"))
        unique = true;
    if (acceptKw("USER"))
        return createUser();
    if (acceptKw("ROLE"))
        return createRole();
    if (acceptKw("TABLE") || (acceptKw("GLOBAL") && acceptKw("TEMPORARY") && acceptKw("TABLE")))
        return createTable(false);
    if (acceptKw("FIXED")) {
        if (acceptKw("PACKAGE"))
            return createFixedPackage();
        expectKw("VIEW");
        return createTable(true);
    }
    if (acceptKw("INDEX"))
        return createIndexStatement(unique);
    if (acceptKw("PUBLIC")) {
        if (acceptKw("DATABASE")) {
            expectKw("LINK");
            return createDatabaseLink(true);
        }
        expectKw("SYNONYM");
        return createSynonym(true, orReplace);
    }
    if (acceptKw("SYNONYM"))
        return createSynonym(false, orReplace);
    if (acceptKw("DATABASE")) {
        expectKw("LINK");
        return createDatabaseLink(false);
    }
    if (acceptKw("PACKAGE"))
        return createProgramUnit(
            acceptKw("BODY") ? QStringLiteral("PACKAGE BODY") : QStringLiteral("PACKAGE"),
            orReplace);
    if (acceptKw("FUNCTION"))
        return createProgramUnit(QStringLiteral("FUNCTION"), orReplace);
    if (acceptKw("PROCEDURE"))
        return createProgramUnit(QStringLiteral("PROCEDURE"), orReplace);
    if (acceptKw("SEQUENCE"))
        return createSequence();
    if (acceptKw("TRIGGER"))
        return createTrigger(orReplace);
    bool force = false;
    if (acceptKw("FORCE"))
        force = true;
    else if (acceptKw("NO")) {
        expectKw("FORCE");
    } else
        acceptKw("NOFORCE");
    if (acceptKw("VIEW"))
        return createView(orReplace, force);
    throw DatabaseError(901, QStringLiteral("invalid CREATE command"));
}

void Ddl::drop()
{
    if (acceptKw("PUBLIC"))
        return dropPublicSynonym();
    const QString kind = name();
    if (kind == QLatin1String("USER") || kind == QLatin1String("ROLE"))
        return dropUser(kind == QLatin1String("ROLE"));
    const auto [owner, n] = qualified();
    requireSchema(owner);
    if (kind == QLatin1String("TABLE"))
        return dropTable(owner, n);
    dropObject(kind, owner, n);
}

void Ddl::alter()
{
    if (acceptKw("TABLE"))
        return alterTable();
    if (acceptKw("USER"))
        return alterUser();
    if (acceptKw("ROLLBACK")) {
        expectKw("SEGMENT");
        return alterRollbackSegment();
    }
    if (acceptKw("TRIGGER"))
        return alterTrigger();
    if (acceptKw("SYSTEM") || acceptKw("INDEX") || acceptKw("SEQUENCE") || acceptKw("VIEW") ||
        acceptKw("TABLESPACE") || acceptKw("DATABASE")) {
        if (!m_s.isDba())
            throw insufficient();
        m_p = int(m_t.size()) - 1;
        return;
    }
    throw DatabaseError(940, QStringLiteral("invalid ALTER command"));
}

}  // namespace ddl

}  // namespace kolmara::db::embedded
