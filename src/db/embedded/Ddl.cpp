// DDL execution: a small recursive-descent reader per statement kind, writing the SQLite storage
// and the kol_* catalogue rows that the dictionary views show.
#include "db/embedded/Ddl.h"

#include "db/DatabaseError.h"
#include "db/embedded/Catalogue.h"
#include "db/embedded/Engine.h"
#include "db/embedded/OraValues.h"
#include "db/embedded/SqlTranslator.h"

#include <QRegularExpression>

#include <sqlite3.h>

#include <optional>

namespace kolmara::db::embedded {

namespace {

QString q(const QString& name) { return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"'); }

DatabaseError insufficient() { return DatabaseError(1031, QStringLiteral("insufficient privileges")); }

struct Storage {
    QString tablespace;
    qint64 pctFree = -1, pctUsed = -1, iniTrans = -1, maxTrans = -1, initial = -1, next = -1, minExtents = -1,
           maxExtents = -1, pctIncrease = -1, freelists = -1;
};

QVariant opt(qint64 v, qint64 fallback = -1)
{
    if (v >= 0)
        return v;
    return fallback >= 0 ? QVariant(fallback) : QVariant();
}

struct Column {
    QString name, type;
    int length = 0, precision = -1, scale = -1;
    bool notNull = false;
    QString notNullName;
    QString defaultText;
    QString sqliteType;
};

struct Constraint {
    QString name;
    QString type;  // P U R C
    QStringList columns;
    QString refOwner, refTable;
    QStringList refColumns;
    QString deleteRule;
    QString condition;
    Storage index;
    bool enabled = true;
    bool validate = true;
};

class Ddl : private TokenCursor {
public:
    Ddl(EngineSession& s, const QList<Token>& t, const QString& sql)
        : TokenCursor(t), m_s(s), m_src(sql), m_now(dateText(s.statementNow()))
    {
    }

    void run()
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

private:
    // ---- tokens ---------------------------------------------------------------------------
    bool atEnd() const { return peek().kind == Token::Kind::End || (isOp(";") && peek(1).kind == Token::Kind::End); }
    void expectKw(const char* kw)
    {
        if (!acceptKw(kw))
            throw DatabaseError(900, QStringLiteral("invalid SQL statement"));
    }
    void expectOp(const char* op)
    {
        if (!takeRequiredOp(op))
            throw DatabaseError(900, QStringLiteral("invalid SQL statement"));
    }
    // [owner.]name -> (owner, name); the owner defaults to the session's current schema.
    QPair<QString, QString> qualified()
    {
        QString a = name();
        if (acceptOp("."))
            return {a, name()};
        return {m_s.schema(), a};
    }
    qint64 number()
    {
        bool neg = acceptOp("-");
        if (peek().kind != Token::Kind::Number)
            throw DatabaseError(2017, QStringLiteral("integer value required"));
        const auto n = parseOraNumber(tokenAt(m_p++).text);
        qint64 v = n ? qint64(n->toDouble()) : 0;
        return neg ? -v : v;
    }
    qint64 size()
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
    QString sourceFrom(int tokenIndex, int endToken) const
    {
        if (tokenIndex >= endToken)
            return {};
        return m_src.mid(tokenAt(tokenIndex).start, tokenAt(endToken - 1).end - tokenAt(tokenIndex).start);
    }
    // Skips a balanced parenthesised group, the opening '(' being the current token.
    int skipGroup()
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

    // ---- catalogue helpers ----------------------------------------------------------------
    void requireSchema(const QString& owner)
    {
        if (owner != m_s.user() && !m_s.isDba())
            throw insufficient();
        if (owner != QLatin1String("PUBLIC")
            && m_s.scalar(QStringLiteral("SELECT count(*) FROM kol_users WHERE username = ?"), {owner}).toLongLong() == 0)
            throw DatabaseError(1918, QStringLiteral("user '%1' does not exist").arg(owner));
    }
    void requireFree(const QString& owner, const QString& n)
    {
        if (m_s.objectExists(owner, n))
            throw DatabaseError(955, QStringLiteral("name is already used by an existing object"));
    }
    qint64 counter(const char* key)
    {
        const qint64 v = m_s.scalar(QStringLiteral("SELECT value FROM kol_meta WHERE key = ?"), {QString::fromLatin1(key)}).toLongLong();
        m_s.run(QStringLiteral("UPDATE kol_meta SET value = value + 1 WHERE key = ?"), {QString::fromLatin1(key)});
        return v;
    }
    qint64 addObject(const QString& owner, const QString& n, const QString& type, const QString& baseOwner = {},
                     const QString& baseName = {}, const QString& status = QStringLiteral("VALID"), bool generated = false)
    {
        const qint64 id = counter("next_object_id");
        const bool segment = type == QLatin1String("TABLE") || type == QLatin1String("INDEX");
        m_s.run(QStringLiteral("INSERT INTO kol_objects VALUES (?, ?, ?, NULL, ?, ?, ?, ?, ?, 'N', ?, 'N', ?, ?)"),
                {id, owner, n, type, segment ? QVariant(id) : QVariant(), m_now, m_now, status,
                 generated ? QStringLiteral("Y") : QStringLiteral("N"), baseOwner.isEmpty() ? QVariant() : QVariant(baseOwner),
                 baseName.isEmpty() ? QVariant() : QVariant(baseName)});
        return id;
    }
    void touch(const QString& owner, const QString& n)
    {
        m_s.run(QStringLiteral("UPDATE kol_objects SET last_ddl_time = ? WHERE owner = ? AND object_name = ? AND"
                               " object_type IN ('TABLE', 'VIEW')"),
                {m_now, owner, n});
    }
    QString systemName() { return QStringLiteral("SYS_C%1").arg(counter("next_constraint"), 6, 10, QLatin1Char('0')); }
    QString defaultTablespace(const QString& owner)
    {
        const QString t = m_s.scalar(QStringLiteral("SELECT default_tablespace FROM kol_users WHERE username = ?"), {owner}).toString();
        return t.isEmpty() ? QStringLiteral("SYSTEM") : t;
    }
    // Resolves a grantable object (own, synonym, public synonym) to its owner and name.
    QPair<QString, QString> resolveObject(QString owner, QString n, bool qualifiedName)
    {
        for (int hops = 0; hops < 10; ++hops) {
            const QString type = m_s.scalar(QStringLiteral("SELECT object_type FROM kol_objects WHERE owner = ? AND object_name = ?"
                                                           " AND object_type NOT IN ('INDEX', 'TRIGGER')"),
                                            {owner, n})
                                     .toString();
            QList<QVariantList> target;
            if (type == QLatin1String("SYNONYM"))
                target = m_s.rows(QStringLiteral("SELECT table_owner, table_name FROM kol_synonyms WHERE owner = ? AND synonym_name = ?"),
                                  {owner, n});
            else if (!type.isEmpty())
                return {owner, n};
            else if (!qualifiedName && hops == 0)
                target = m_s.rows(QStringLiteral("SELECT table_owner, table_name FROM kol_synonyms WHERE owner = 'PUBLIC' AND"
                                                 " synonym_name = ?"),
                                  {n});
            if (target.isEmpty())
                break;
            owner = target[0][0].toString();
            n = target[0][1].toString();
        }
        throw DatabaseError(942, QStringLiteral("table or view does not exist"));
    }

    // ---- storage clauses ------------------------------------------------------------------
    bool storageAttribute(Storage& st)
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
        } else if (acceptKw("LOGGING") || acceptKw("NOLOGGING") || acceptKw("CACHE") || acceptKw("NOCACHE")
                   || acceptKw("NOCOMPRESS") || acceptKw("COMPRESS") || acceptKw("NOPARALLEL") || acceptKw("MONITORING")
                   || acceptKw("NOMONITORING") || acceptKw("NOSORT") || acceptKw("REVERSE") || acceptKw("ONLINE")
                   || acceptKw("NOROWDEPENDENCIES") || acceptKw("ROWDEPENDENCIES") || acceptKw("ENABLE")
                   || acceptKw("DISABLE") || acceptKw("VALIDATE") || acceptKw("NOVALIDATE")) {
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

    // ---- columns and constraints ----------------------------------------------------------
    Column columnType(const QString& colName)
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
        if (t == QLatin1String("NUMBER") || t == QLatin1String("NUMERIC") || t == QLatin1String("DECIMAL")) {
            c.type = QStringLiteral("NUMBER");
            c.length = 22;
            if (paren(c.precision, &c.scale) && c.scale < 0)
                c.scale = 0;
        } else if (t == QLatin1String("INTEGER") || t == QLatin1String("INT") || t == QLatin1String("SMALLINT")) {
            c.type = QStringLiteral("NUMBER");
            c.length = 22;
            c.scale = 0;
        } else if (t == QLatin1String("FLOAT")) {
            c.type = QStringLiteral("FLOAT");
            c.length = 22;
            c.precision = 126;
            paren(c.precision, nullptr);
        } else if (t == QLatin1String("VARCHAR2") || t == QLatin1String("VARCHAR") || t == QLatin1String("NVARCHAR2")) {
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
        } else if (t == QLatin1String("CLOB") || t == QLatin1String("BLOB") || t == QLatin1String("NCLOB")) {
            c.type = t;
            c.length = 4000;
        } else {
            throw DatabaseError(902, QStringLiteral("invalid datatype"));
        }
        c.sqliteType = c.type == QLatin1String("NUMBER") || c.type == QLatin1String("FLOAT") ? QStringLiteral("NUMBER")
                       : c.type == QLatin1String("DATE")                                      ? QStringLiteral("DATE")
                                                                                              : QStringLiteral("TEXT");
        return c;
    }

    QStringList columnList()
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

    void references(Constraint& k)
    {
        expectKw("REFERENCES");
        const auto target = qualified();
        k.refOwner = target.first;
        k.refTable = target.second;
        if (isOp("("))
            k.refColumns = columnList();
        k.deleteRule = QStringLiteral("NO ACTION");
        if (acceptKw("ON")) {
            expectKw("DELETE");
            if (acceptKw("CASCADE"))
                k.deleteRule = QStringLiteral("CASCADE");
            else {
                expectKw("SET");
                expectKw("NULL");
                k.deleteRule = QStringLiteral("SET NULL");
            }
        }
    }

    QString checkCondition()
    {
        const int start = skipGroup();
        return sourceFrom(start + 1, m_p - 1);
    }

    void usingIndex(Constraint& k)
    {
        if (acceptKw("USING")) {
            expectKw("INDEX");
            while (!isKw("ENABLE") && !isKw("DISABLE") && !isKw("VALIDATE") && !isKw("NOVALIDATE") && storageAttribute(k.index)) {
            }
        }
    }

    // A table constraint or an inline column constraint (column given).
    bool constraint(QList<Constraint>& out, Column* column)
    {
        Constraint k;
        const int save = m_p;
        if (acceptKw("CONSTRAINT"))
            k.name = name();
        if (column && acceptKw("NOT")) {
            expectKw("NULL");
            column->notNull = true;
            column->notNullName = k.name;
            return true;
        }
        if (column && acceptKw("NULL"))
            return true;
        if (acceptKw("PRIMARY")) {
            expectKw("KEY");
            k.type = QStringLiteral("P");
            k.columns = column ? QStringList{column->name} : columnList();
            usingIndex(k);
        } else if (acceptKw("UNIQUE")) {
            k.type = QStringLiteral("U");
            k.columns = column ? QStringList{column->name} : columnList();
            usingIndex(k);
        } else if (!column && acceptKw("FOREIGN")) {
            expectKw("KEY");
            k.type = QStringLiteral("R");
            k.columns = columnList();
            references(k);
        } else if (column && isKw("REFERENCES")) {
            k.type = QStringLiteral("R");
            k.columns = {column->name};
            references(k);
        } else if (acceptKw("CHECK")) {
            k.type = QStringLiteral("C");
            k.condition = checkCondition();
        } else {
            m_p = save;
            return false;
        }
        for (;;) {
            if (acceptKw("ENABLE")) {
                k.enabled = true;
            } else if (acceptKw("DISABLE")) {
                k.enabled = false;
                k.validate = false;
            } else if (acceptKw("NOVALIDATE")) {
                k.validate = false;
            } else if (!acceptKw("VALIDATE") && !acceptKw("DEFERRABLE")) {
                break;
            }
        }
        out.append(k);
        return true;
    }

    void addColumns(const QString& owner, const QString& table, QList<Column>& columns, int firstId, bool fixed)
    {
        QSet<QString> seen;
        for (int i = 0; i < columns.size(); ++i) {
            Column& c = columns[i];
            if (seen.contains(c.name))
                throw DatabaseError(957, QStringLiteral("duplicate column name"));
            seen.insert(c.name);
            m_s.run(QStringLiteral("INSERT INTO kol_columns VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                    {owner, table, c.name, firstId + i, c.type, c.length, c.precision >= 0 ? QVariant(c.precision) : QVariant(),
                     c.scale >= 0 ? QVariant(c.scale) : QVariant(), c.notNull ? QStringLiteral("N") : QStringLiteral("Y"),
                     c.defaultText.isEmpty() ? QVariant() : QVariant(c.defaultText)});
            if (c.notNull && !fixed) {
                const bool generated = c.notNullName.isEmpty();
                const QString kname = generated ? systemName() : c.notNullName;
                m_s.run(QStringLiteral("INSERT INTO kol_constraints VALUES (?, ?, 'C', ?, ?, NULL, NULL, NULL, 'ENABLED', ?, ?,"
                                       " NULL, NULL, 'VALIDATED')"),
                        {owner, kname, table, QStringLiteral("\"%1\" IS NOT NULL").arg(c.name),
                         generated ? QStringLiteral("GENERATED NAME") : QStringLiteral("USER NAME"), m_now});
                m_s.run(QStringLiteral("INSERT INTO kol_cons_columns VALUES (?, ?, ?, ?, NULL)"), {owner, kname, table, c.name});
            }
        }
    }

    int columnLength(const QString& owner, const QString& table, const QString& column)
    {
        const QList<QVariantList> r = m_s.rows(QStringLiteral("SELECT data_type, data_length FROM kol_columns WHERE owner = ? AND"
                                                              " table_name = ? AND column_name = ?"),
                                               {owner, table, column});
        if (r.isEmpty())
            throw DatabaseError(904, QStringLiteral("\"%1\": invalid identifier").arg(column));
        return r[0][1].toInt();
    }

    void createIndex(const QString& owner, const QString& indexName, const QString& tableOwner, const QString& table,
                     const QStringList& columns, bool unique, const Storage& st, bool generated)
    {
        if (m_s.scalar(QStringLiteral("SELECT count(*) FROM kol_indexes WHERE owner = ? AND index_name = ?"), {owner, indexName}).toLongLong())
            throw DatabaseError(955, QStringLiteral("name is already used by an existing object"));
        QStringList quoted;
        for (const QString& c : columns)
            quoted.append(q(c));
        m_s.run(QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
                    .arg(unique ? QStringLiteral("UNIQUE ") : QString(), q(QStringLiteral("idx:") + owner + QLatin1Char('.') + indexName),
                         q(tableOwner + QLatin1Char('.') + table), quoted.join(QStringLiteral(", "))));
        m_s.run(QStringLiteral("INSERT INTO kol_indexes VALUES (?, ?, 'NORMAL', ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 'VALID')"),
                {owner, indexName, tableOwner, table, unique ? QStringLiteral("UNIQUE") : QStringLiteral("NONUNIQUE"),
                 st.tablespace.isEmpty() ? defaultTablespace(tableOwner) : st.tablespace, opt(st.iniTrans, 2), opt(st.maxTrans, 255),
                 opt(st.initial, 65536), opt(st.next), opt(st.minExtents, 1), opt(st.maxExtents, 2147483645), opt(st.pctIncrease),
                 opt(st.pctFree, 10), opt(st.freelists, 1), generated ? QStringLiteral("Y") : QStringLiteral("N")});
        for (int i = 0; i < columns.size(); ++i) {
            const QList<QVariantList> r = m_s.rows(QStringLiteral("SELECT data_type, data_length FROM kol_columns WHERE owner = ? AND"
                                                                  " table_name = ? AND column_name = ?"),
                                                   {tableOwner, table, columns[i]});
            if (r.isEmpty())
                throw DatabaseError(904, QStringLiteral("\"%1\": invalid identifier").arg(columns[i]));
            const QString type = r[0][0].toString();
            const bool character = type == QLatin1String("VARCHAR2") || type == QLatin1String("CHAR");
            m_s.run(QStringLiteral("INSERT INTO kol_ind_columns VALUES (?, ?, ?, ?, ?, ?, ?, ?, 'ASC')"),
                    {owner, indexName, tableOwner, table, columns[i], i + 1, r[0][1].toInt(), character ? r[0][1].toInt() : 0});
        }
        addObject(owner, indexName, QStringLiteral("INDEX"), tableOwner, table, QStringLiteral("VALID"), generated);
    }

    void addConstraint(const QString& owner, const QString& table, Constraint& k)
    {
        const bool generated = k.name.isEmpty();
        if (generated)
            k.name = systemName();
        if (m_s.scalar(QStringLiteral("SELECT count(*) FROM kol_constraints WHERE owner = ? AND constraint_name = ?"), {owner, k.name})
                .toLongLong())
            throw DatabaseError(2264, QStringLiteral("name already used by an existing constraint"));
        for (const QString& c : std::as_const(k.columns))
            columnLength(owner, table, c);
        QVariant rOwner, rName, indexOwner, indexName, deleteRule;
        if (k.type == QLatin1String("P") || k.type == QLatin1String("U")) {
            if (k.type == QLatin1String("P")
                && m_s.scalar(QStringLiteral("SELECT count(*) FROM kol_constraints WHERE owner = ? AND table_name = ? AND"
                                             " constraint_type = 'P'"),
                              {owner, table})
                       .toLongLong())
                throw DatabaseError(2260, QStringLiteral("table can have only one primary key"));
            // A unique index of the key's columns that exists already enforces the key (install
            // scripts create it first under the constraint's name); otherwise the key gets its own.
            const auto existing = uniqueIndexOn(owner, table, k.columns, k.name);
            if (existing) {
                indexOwner = existing->first;
                indexName = existing->second;
            } else {
                createIndex(owner, k.name, owner, table, k.columns, true, k.index, generated);
                indexOwner = owner;
                indexName = k.name;
            }
            if (k.type == QLatin1String("P"))
                for (const QString& c : std::as_const(k.columns))
                    m_s.run(QStringLiteral("UPDATE kol_columns SET nullable = 'N' WHERE owner = ? AND table_name = ? AND column_name = ?"),
                            {owner, table, c});
        } else if (k.type == QLatin1String("R")) {
            const QList<QVariantList> target = m_s.rows(
                QStringLiteral("SELECT constraint_name FROM kol_constraints WHERE owner = ? AND table_name = ? AND"
                               " constraint_type IN ('P', 'U') ORDER BY constraint_type"),
                {k.refOwner, k.refTable});
            QString found;
            for (const QVariantList& r : target) {
                QStringList cols;
                for (const QVariantList& c : m_s.rows(QStringLiteral("SELECT column_name FROM kol_cons_columns WHERE owner = ? AND"
                                                                     " constraint_name = ? ORDER BY position"),
                                                      {k.refOwner, r[0]}))
                    cols.append(c[0].toString());
                if (k.refColumns.isEmpty() || cols == k.refColumns) {
                    found = r[0].toString();
                    break;
                }
            }
            if (found.isEmpty())
                throw DatabaseError(2270, QStringLiteral("no matching unique or primary key for this column-list"));
            rOwner = k.refOwner;
            rName = found;
            deleteRule = k.deleteRule;
        }
        m_s.run(QStringLiteral("INSERT INTO kol_constraints VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                {owner, k.name, k.type, table, k.condition.isEmpty() ? QVariant() : QVariant(k.condition), rOwner, rName, deleteRule,
                 k.enabled ? QStringLiteral("ENABLED") : QStringLiteral("DISABLED"),
                 generated ? QStringLiteral("GENERATED NAME") : QStringLiteral("USER NAME"), m_now, indexOwner, indexName,
                 validatedText(k.validate)});
        for (int i = 0; i < k.columns.size(); ++i)
            m_s.run(QStringLiteral("INSERT INTO kol_cons_columns VALUES (?, ?, ?, ?, ?)"),
                    {owner, k.name, table, k.columns[i], k.type == QLatin1String("C") ? QVariant() : QVariant(i + 1)});
        enforce(owner, k.name, k.validate);
    }

    std::optional<QPair<QString, QString>> uniqueIndexOn(const QString& owner, const QString& table, const QStringList& columns,
                                                         const QString& preferred)
    {
        std::optional<QPair<QString, QString>> found;
        for (const QVariantList& idx : m_s.rows(QStringLiteral("SELECT owner, index_name FROM kol_indexes WHERE table_owner = ? AND"
                                                              " table_name = ? AND uniqueness = 'UNIQUE'"),
                                                 {owner, table})) {
            QStringList cols;
            for (const QVariantList& c : m_s.rows(QStringLiteral("SELECT column_name FROM kol_ind_columns WHERE index_owner = ? AND"
                                                                " index_name = ? ORDER BY column_position"),
                                                   {idx[0], idx[1]}))
                cols.append(c[0].toString());
            if (cols != columns)
                continue;
            found = qMakePair(idx[0].toString(), idx[1].toString());
            if (found->second == preferred)
                break;
        }
        return found;
    }

    // ---- constraint enforcement ---------------------------------------------------------------
    // An enabled CHECK or FOREIGN KEY constraint is a few SQLite triggers named after it: the
    // check of each row stored, the parent key's existence for a child row, and on the parent
    // table what a deleted (or re-keyed) parent row does to its children. A disabled constraint
    // has none. NOT NULL, PRIMARY KEY and UNIQUE are the columns' and the indexes' business.
    static QString triggerName(const QString& owner, const QString& constraint, const char* what)
    {
        return q(QStringLiteral("kc:") + owner + QLatin1Char('.') + constraint + QLatin1Char(':') + QLatin1String(what));
    }

    void dropConstraintTriggers(const QString& owner, const QString& constraint)
    {
        for (const char* what : {"ins", "upd", "pdel", "pupd"})
            m_s.run(QStringLiteral("DROP TRIGGER IF EXISTS ") + triggerName(owner, constraint, what));
    }

    QStringList constraintColumns(const QString& owner, const QString& constraint)
    {
        QStringList columns;
        for (const QVariantList& r : m_s.rows(QStringLiteral("SELECT column_name FROM kol_cons_columns WHERE owner = ? AND"
                                                            " constraint_name = ? ORDER BY position"),
                                               {owner, constraint}))
            columns.append(r[0].toString());
        return columns;
    }

    // "A = NEW.B AND ..." over two column lists, for the triggers.
    static QString pairs(const QStringList& left, const QString& rightPrefix, const QStringList& right, const QString& joiner)
    {
        QStringList parts;
        for (int i = 0; i < left.size(); ++i)
            parts.append(q(left[i]) + QStringLiteral(" = ") + rightPrefix + q(right.value(i)));
        return parts.join(joiner);
    }

    void enforce(const QString& owner, const QString& name, bool validate)
    {
        dropConstraintTriggers(owner, name);
        const QList<QVariantList> found = m_s.rows(QStringLiteral("SELECT constraint_type, table_name, search_condition, r_owner,"
                                                                 " r_constraint_name, delete_rule, status FROM kol_constraints"
                                                                 " WHERE owner = ? AND constraint_name = ?"),
                                                    {owner, name});
        if (found.isEmpty() || found[0][6].toString() != QLatin1String("ENABLED"))
            return;
        const QString type = found[0][0].toString();
        const QString table = found[0][1].toString();
        const QString storage = q(owner + QLatin1Char('.') + table);
        const QString label = owner + QLatin1Char('.') + name;
        if (type == QLatin1String("C")) {
            static const QRegularExpression notNull(QStringLiteral("^\"[^\"]+\" IS NOT NULL$"));
            const QString condition = found[0][2].toString();
            if (notNull.match(condition).hasMatch())
                return;
            // The condition names the row's columns: the trigger shows it NEW's values under them.
            const QString previousUser = m_s.user();
            const QString previousSchema = m_s.schema();
            QString sql;
            m_s.setUser(owner);
            try {
                sql = translateExpression(condition, m_s);
            } catch (...) {
                m_s.setUser(previousUser, previousSchema);
                throw;
            }
            m_s.setUser(previousUser, previousSchema);
            if (validate
                && m_s.scalar(QStringLiteral("SELECT count(*) FROM %1 WHERE NOT (%2)").arg(storage, sql)).toLongLong() > 0)
                throw DatabaseError(2293, QStringLiteral("cannot validate (%1) - check constraint violated").arg(label));
            QStringList projection;
            for (const QVariantList& c : m_s.rows(QStringLiteral("SELECT column_name FROM kol_columns WHERE owner = ? AND table_name = ?"),
                                                   {owner, table}))
                projection.append(QStringLiteral("NEW.") + q(c[0].toString()) + QStringLiteral(" AS ") + q(c[0].toString()));
            const QString body = QStringLiteral(" ON %1 BEGIN SELECT RAISE(ABORT, 'ORA-02290: check constraint (%2) violated') FROM"
                                                " (SELECT %3) WHERE NOT (%4); END")
                                     .arg(storage, label, projection.join(QStringLiteral(", ")), sql);
            m_s.run(QStringLiteral("CREATE TRIGGER ") + triggerName(owner, name, "ins") + QStringLiteral(" BEFORE INSERT") + body);
            m_s.run(QStringLiteral("CREATE TRIGGER ") + triggerName(owner, name, "upd") + QStringLiteral(" BEFORE UPDATE") + body);
            return;
        }
        if (type != QLatin1String("R"))
            return;
        const QStringList childColumns = constraintColumns(owner, name);
        const QString parentOwner = found[0][3].toString();
        const QString parentKey = found[0][4].toString();
        const QString parentTable =
            m_s.scalar(QStringLiteral("SELECT table_name FROM kol_constraints WHERE owner = ? AND constraint_name = ?"), {parentOwner, parentKey})
                .toString();
        const QStringList parentColumns = constraintColumns(parentOwner, parentKey);
        const QString parent = q(parentOwner + QLatin1Char('.') + parentTable);
        QStringList childSet, childQuoted, changed;
        for (const QString& c : childColumns) {
            childSet.append(QStringLiteral("NEW.") + q(c) + QStringLiteral(" IS NOT NULL"));
            childQuoted.append(q(c));
        }
        for (const QString& c : parentColumns)
            changed.append(QStringLiteral("OLD.") + q(c) + QStringLiteral(" IS NOT NEW.") + q(c));
        // A child row with a NULL in its key refers to nothing and needs no parent.
        if (validate) {
            QStringList present;
            for (const QString& c : childColumns)
                present.append(QStringLiteral("c.") + q(c) + QStringLiteral(" IS NOT NULL"));
            QStringList match;
            for (int i = 0; i < childColumns.size(); ++i)
                match.append(QStringLiteral("p.") + q(parentColumns.value(i)) + QStringLiteral(" = c.") + q(childColumns[i]));
            if (m_s.scalar(QStringLiteral("SELECT count(*) FROM %1 AS c WHERE %2 AND NOT EXISTS (SELECT 1 FROM %3 AS p WHERE %4)")
                               .arg(storage, present.join(QStringLiteral(" AND ")), parent, match.join(QStringLiteral(" AND "))))
                    .toLongLong()
                > 0)
                throw DatabaseError(2298, QStringLiteral("cannot validate (%1) - parent keys not found").arg(label));
        }
        const QString missingParent = QStringLiteral("SELECT RAISE(ABORT, 'ORA-02291: integrity constraint (%1) violated - parent key not"
                                                     " found') WHERE NOT EXISTS (SELECT 1 FROM %2 WHERE %3); END")
                                          .arg(label, parent, pairs(parentColumns, QStringLiteral("NEW."), childColumns, QStringLiteral(" AND ")));
        m_s.run(QStringLiteral("CREATE TRIGGER %1 BEFORE INSERT ON %2 WHEN %3 BEGIN ")
                    .arg(triggerName(owner, name, "ins"), storage, childSet.join(QStringLiteral(" AND ")))
                + missingParent);
        m_s.run(QStringLiteral("CREATE TRIGGER %1 BEFORE UPDATE OF %2 ON %3 WHEN %4 BEGIN ")
                    .arg(triggerName(owner, name, "upd"), childQuoted.join(QStringLiteral(", ")), storage,
                         childSet.join(QStringLiteral(" AND ")))
                + missingParent);
        const QString children = QStringLiteral("%1 WHERE %2").arg(storage, pairs(childColumns, QStringLiteral("OLD."), parentColumns,
                                                                                  QStringLiteral(" AND ")));
        const QString childFound = QStringLiteral("SELECT RAISE(ABORT, 'ORA-02292: integrity constraint (%1) violated - child record found')"
                                                  " WHERE EXISTS (SELECT 1 FROM %2);")
                                       .arg(label, children);
        const QString rule = found[0][5].toString();
        QString onDelete = childFound;
        if (rule == QLatin1String("CASCADE")) {
            onDelete = QStringLiteral("DELETE FROM ") + children + QLatin1Char(';');
        } else if (rule == QLatin1String("SET NULL")) {
            onDelete.clear();
            QStringList nulls;
            for (const QString& c : childColumns) {
                nulls.append(q(c) + QStringLiteral(" = NULL"));
                if (m_s.scalar(QStringLiteral("SELECT nullable FROM kol_columns WHERE owner = ? AND table_name = ? AND column_name = ?"),
                               {owner, table, c})
                        .toString()
                    == QLatin1String("N"))
                    onDelete += QStringLiteral("SELECT RAISE(ABORT, 'ORA-01407: cannot update (\"%1\".\"%2\".\"%3\") to NULL') WHERE EXISTS"
                                               " (SELECT 1 FROM %4);")
                                    .arg(owner, table, c, children);
            }
            onDelete += QStringLiteral("UPDATE %1 SET %2 WHERE %3;")
                            .arg(storage, nulls.join(QStringLiteral(", ")),
                                 pairs(childColumns, QStringLiteral("OLD."), parentColumns, QStringLiteral(" AND ")));
        }
        m_s.run(QStringLiteral("CREATE TRIGGER %1 BEFORE DELETE ON %2 BEGIN %3 END").arg(triggerName(owner, name, "pdel"), parent, onDelete));
        QStringList parentQuoted;
        for (const QString& c : parentColumns)
            parentQuoted.append(q(c));
        m_s.run(QStringLiteral("CREATE TRIGGER %1 BEFORE UPDATE OF %2 ON %3 WHEN %4 BEGIN %5 END")
                    .arg(triggerName(owner, name, "pupd"), parentQuoted.join(QStringLiteral(", ")), parent,
                         changed.join(QStringLiteral(" OR ")), childFound));
    }

    QString primaryKeyOf(const QString& owner, const QString& table)
    {
        return m_s.scalar(QStringLiteral("SELECT constraint_name FROM kol_constraints WHERE owner = ? AND table_name = ? AND"
                                         " constraint_type = 'P'"),
                          {owner, table})
            .toString();
    }

    // The foreign keys of other tables that refer to a key of this one.
    QList<QVariantList> referencingKeys(const QString& owner, const QString& table)
    {
        return m_s.rows(QStringLiteral("SELECT r.owner, r.constraint_name, r.table_name, r.status FROM kol_constraints r JOIN"
                                       " kol_constraints k ON k.owner = r.r_owner AND k.constraint_name = r.r_constraint_name"
                                       " WHERE r.constraint_type = 'R' AND k.owner = ? AND k.table_name = ?"
                                       " AND NOT (r.owner = k.owner AND r.table_name = k.table_name)"),
                        {owner, table});
    }

    void dropConstraintRows(const QString& owner, const QString& constraint)
    {
        dropConstraintTriggers(owner, constraint);
        m_s.run(QStringLiteral("DELETE FROM kol_constraints WHERE owner = ? AND constraint_name = ?"), {owner, constraint});
        m_s.run(QStringLiteral("DELETE FROM kol_cons_columns WHERE owner = ? AND constraint_name = ?"), {owner, constraint});
    }

    QList<Column> columnDefinitions(QList<Constraint>& constraints, bool allowConstraints)
    {
        QList<Column> columns;
        expectOp("(");
        do {
            if (allowConstraints && (isKw("CONSTRAINT") || isKw("PRIMARY") || isKw("UNIQUE") || isKw("FOREIGN") || isKw("CHECK"))) {
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
                        if (depth == 0 && (isOp(",") || isOp(")") || isKw("NOT") || isKw("NULL") || isKw("CONSTRAINT")
                                           || isKw("PRIMARY") || isKw("UNIQUE") || isKw("CHECK") || isKw("REFERENCES")))
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
            columns.append(c);
        } while (acceptOp(","));
        expectOp(")");
        return columns;
    }

    // ---- CREATE -----------------------------------------------------------------------------
    void create()
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
            return createProgramUnit(acceptKw("BODY") ? QStringLiteral("PACKAGE BODY") : QStringLiteral("PACKAGE"), orReplace);
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

    // A package of the server's own (DBMS_STATS...): listed as a valid PACKAGE and PACKAGE BODY
    // so that grants and synonyms on it work; the engine runs no PL/SQL.
    void createFixedPackage()
    {
        if (!m_s.isDba())
            throw insufficient();
        const auto [owner, package] = qualified();
        requireFree(owner, package);
        addObject(owner, package, QStringLiteral("PACKAGE"));
        addObject(owner, package, QStringLiteral("PACKAGE BODY"));
    }

    void createUser()
    {
        if (!m_s.isDba())
            throw insufficient();
        const QString user = name();
        if (m_s.scalar(QStringLiteral("SELECT count(*) FROM kol_users WHERE username = ?"), {user}).toLongLong())
            throw DatabaseError(1920, QStringLiteral("user name '%1' conflicts with another user or role name").arg(user));
        if (m_s.scalar(QStringLiteral("SELECT count(*) FROM kol_roles WHERE role = ?"), {user}).toLongLong())
            throw DatabaseError(1920, QStringLiteral("user name '%1' conflicts with another user or role name").arg(user));
        expectKw("IDENTIFIED");
        expectKw("BY");
        const QString password = name();
        QString defaultTs = QStringLiteral("SYSTEM"), tempTs = QStringLiteral("SYSTEM"), profile = QStringLiteral("DEFAULT");
        QString status = QStringLiteral("OPEN");
        bool locked = false, expired = false;
        userOptions(defaultTs, tempTs, profile, locked, expired);
        if (locked || expired)
            status = expired && locked ? QStringLiteral("EXPIRED & LOCKED") : locked ? QStringLiteral("LOCKED") : QStringLiteral("EXPIRED");
        const qint64 id = std::max<qint64>(counter("next_user_id"), 0) + 4;
        m_s.run(QStringLiteral("INSERT INTO kol_users VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 'DEFAULT_CONSUMER_GROUP')"),
                {user, id, passwordHash(user, password), status, locked ? QVariant(m_now) : QVariant(),
                 expired ? QVariant(m_now) : QVariant(), defaultTs, tempTs, m_now, profile});
    }

    void userOptions(QString& defaultTs, QString& tempTs, QString& profile, bool& locked, bool& expired)
    {
        while (!atEnd()) {
            if (acceptKw("DEFAULT")) {
                if (acceptKw("ROLE")) {
                    while (!atEnd())
                        ++m_p;
                    break;
                }
                expectKw("TABLESPACE");
                defaultTs = name();
            } else if (acceptKw("TEMPORARY")) {
                expectKw("TABLESPACE");
                tempTs = name();
            } else if (acceptKw("QUOTA")) {
                if (!acceptKw("UNLIMITED"))
                    size();
                expectKw("ON");
                name();
            } else if (acceptKw("PROFILE")) {
                profile = name();
            } else if (acceptKw("ACCOUNT")) {
                if (acceptKw("LOCK"))
                    locked = true;
                else {
                    expectKw("UNLOCK");
                    locked = false;
                }
            } else if (acceptKw("PASSWORD")) {
                expectKw("EXPIRE");
                expired = true;
            } else {
                throw DatabaseError(922, QStringLiteral("missing or invalid option"));
            }
        }
    }

    void createRole()
    {
        if (!m_s.isDba())
            throw insufficient();
        const QString role = name();
        if (m_s.scalar(QStringLiteral("SELECT (SELECT count(*) FROM kol_roles WHERE role = ?) + (SELECT count(*) FROM kol_users"
                                      " WHERE username = ?)"),
                       {role, role})
                .toLongLong())
            throw DatabaseError(1921, QStringLiteral("role name '%1' conflicts with another user or role name").arg(role));
        m_s.run(QStringLiteral("INSERT INTO kol_roles VALUES (?, 'NO')"), {role});
        if (m_s.user() != QLatin1String("SYS"))
            m_s.run(QStringLiteral("INSERT OR IGNORE INTO kol_role_privs VALUES (?, ?)"), {m_s.user(), role});
    }

    void createTable(bool fixed)
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
            depth += tokenAt(i).kind != Token::Kind::Op ? 0 : tokenAt(i).text == QLatin1String("(") ? 1 : tokenAt(i).text == QLatin1String(")") ? -1 : 0;
            asQuery = depth == 0 && tokenAt(i).kind == Token::Kind::Ident && tokenAt(i).text == QLatin1String("AS");
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
        m_s.run(QStringLiteral("CREATE TABLE ") + q(owner + QLatin1Char('.') + table) + QStringLiteral(" (")
                + defs.join(QStringLiteral(", ")) + QLatin1Char(')'));
        addObject(owner, table, fixed ? QStringLiteral("VIEW") : QStringLiteral("TABLE"));
        addColumns(owner, table, columns, 1, fixed);
        if (fixed)
            return;
        m_s.run(QStringLiteral("INSERT INTO kol_tables (owner, table_name, tablespace_name, pct_free, pct_used, ini_trans, max_trans,"
                               " initial_extent, next_extent, min_extents, max_extents, pct_increase, freelists, freelist_groups,"
                               " logging, iot_type) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 1, 'YES', ?)"),
                {owner, table, indexOrganized ? QVariant() : QVariant(st.tablespace.isEmpty() ? defaultTablespace(owner) : st.tablespace),
                 indexOrganized ? QVariant() : opt(st.pctFree, 10), indexOrganized ? QVariant() : opt(st.pctUsed, 40),
                 opt(st.iniTrans, 1), opt(st.maxTrans, 255), opt(st.initial, 65536), opt(st.next), opt(st.minExtents, 1),
                 opt(st.maxExtents, 2147483645), opt(st.pctIncrease), opt(st.freelists, 1),
                 indexOrganized ? QVariant(QStringLiteral("IOT")) : QVariant()});
        for (Constraint& k : constraints) {
            if (indexOrganized && k.type == QLatin1String("P") && k.index.tablespace.isEmpty())
                k.index.tablespace = st.tablespace;
            addConstraint(owner, table, k);
            if (indexOrganized && k.type == QLatin1String("P"))
                m_s.run(QStringLiteral("UPDATE kol_indexes SET index_type = 'IOT - TOP' WHERE owner = ? AND index_name = ?"),
                        {owner, k.name});
        }
        if (asQuery)
            insertQueryRows(owner, table, queryAt);
    }

    // The columns a CREATE TABLE ... AS query gives its table: the names the query shows (or the
    // ones listed), the types of the columns it reads, and their NOT NULL.
    QList<Column> queryColumns(const QStringList& names)
    {
        const Translation t = translateStatement(m_t.mid(m_p), m_src, m_s);
        if (t.kind != Translation::Kind::Query)
            throw DatabaseError(928, QStringLiteral("missing SELECT keyword"));
        if (!t.params.isEmpty())
            throw DatabaseError(1027, QStringLiteral("bind variables not allowed for data definition operations"));
        if (!t.columnsKnown)
            throw DatabaseError(900, QStringLiteral("invalid SQL statement"));
        if (!names.isEmpty() && names.size() != t.columns.size())
            throw DatabaseError(1730, QStringLiteral("invalid number of column names specified"));
        QList<Column> columns;
        for (qsizetype i = 0; i < t.columns.size(); ++i) {
            const ResultColumn& r = t.columns[i];
            if (names.isEmpty() && r.unnamedExpression)
                throw DatabaseError(998, QStringLiteral("must name this expression with a column alias"));
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
            } else if ((c.type == QLatin1String("VARCHAR2") || c.type == QLatin1String("CHAR")) && c.length <= 0) {
                c.length = c.type == QLatin1String("CHAR") ? 1 : 4000;
            }
            c.sqliteType = c.type == QLatin1String("NUMBER") || c.type == QLatin1String("FLOAT") ? QStringLiteral("NUMBER")
                           : c.type == QLatin1String("DATE")                                      ? QStringLiteral("DATE")
                                                                                                  : QStringLiteral("TEXT");
            columns.append(c);
        }
        return columns;
    }

    void insertQueryRows(const QString& owner, const QString& table, int queryAt)
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

    void createIndexStatement(bool unique)
    {
        const auto [owner, indexName] = qualified();
        expectKw("ON");
        const auto [tableOwner, table] = qualified();
        requireSchema(owner);
        if (m_s.scalar(QStringLiteral("SELECT count(*) FROM kol_tables WHERE owner = ? AND table_name = ?"), {tableOwner, table}).toLongLong() == 0)
            throw DatabaseError(942, QStringLiteral("table or view does not exist"));
        const QStringList columns = columnList();
        Storage st;
        while (!atEnd()) {
            if (!storageAttribute(st))
                throw DatabaseError(922, QStringLiteral("missing or invalid option"));
        }
        createIndex(owner, indexName, tableOwner, table, columns, unique, st, false);
    }

    void createSynonym(bool isPublic, bool orReplace)
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
            if (!orReplace || m_s.scalar(QStringLiteral("SELECT count(*) FROM kol_synonyms WHERE owner = ? AND synonym_name = ?"),
                                         {owner, synonym})
                                      .toLongLong()
                                  == 0)
                throw DatabaseError(955, QStringLiteral("name is already used by an existing object"));
            dropObjectRows(owner, synonym, QStringLiteral("SYNONYM"));
        }
        m_s.run(QStringLiteral("INSERT INTO kol_synonyms VALUES (?, ?, ?, ?, ?)"), {owner, synonym, targetOwner, target, link});
        addObject(owner, synonym, QStringLiteral("SYNONYM"));
    }

    void createSequence()
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
            minValue = increment > 0 ? QVariant(qint64(1)) : QVariant(QString(kBigNumberMark) + QStringLiteral("-") + QString(26, QLatin1Char('9')));
        if (!maxValue.isValid())
            maxValue = increment > 0 ? QVariant(nines) : QVariant(qint64(-1));
        if (start == LLONG_MIN)
            start = increment > 0 ? minValue.toLongLong() : maxValue.toLongLong();
        m_s.run(QStringLiteral("INSERT INTO kol_sequences VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                {owner, seq, minValue, maxValue, increment, cycle, order, cache, start, start});
        addObject(owner, seq, QStringLiteral("SEQUENCE"));
    }

    void createView(bool orReplace, bool force)
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
            if (tokenAt(i).kind == Token::Kind::Ident && tokenAt(i).text == QLatin1String("WITH") && i + 1 < m_t.size()
                && tokenAt(i + 1).kind == Token::Kind::Ident
                && (tokenAt(i + 1).text == QLatin1String("READ") || tokenAt(i + 1).text == QLatin1String("CHECK"))) {
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
            if (!orReplace || m_s.scalar(QStringLiteral("SELECT count(*) FROM kol_views WHERE owner = ? AND view_name = ?"), {owner, view})
                                      .toLongLong()
                                  == 0)
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
                throw DatabaseError(1027, QStringLiteral("bind variables not allowed for data definition operations"));
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
        m_s.run(QStringLiteral("CREATE VIEW ") + q(storage)
                + (aliases.isEmpty() ? QString() : QStringLiteral("(") + quotedAliases.join(QStringLiteral(", ")) + QLatin1Char(')'))
                + QStringLiteral(" AS ") + translated);
        m_s.run(QStringLiteral("INSERT INTO kol_views VALUES (?, ?, ?)"), {owner, view, text});
        addObject(owner, view, QStringLiteral("VIEW"));
        viewColumns(owner, view, storage, columns);
    }

    // The view's columns take the type of the table column they come from, where there is one,
    // else the type of the expression as the query knows it.
    void viewColumns(const QString& owner, const QString& view, const QString& storage, const QList<ResultColumn>& known)
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
                info = m_s.rows(QStringLiteral("SELECT data_type, data_length, data_precision, data_scale, nullable FROM kol_columns"
                                               " WHERE owner = ? AND table_name = ? AND column_name = ?"),
                                {t.left(dot), t.mid(dot + 1), QString::fromUtf8(origin)});
            }
            const ColumnInfo expression = known.size() == n ? known[i].column : ColumnInfo();
            if (info.isEmpty() && !expression.dataType.isEmpty()) {
                const bool text = expression.dataType == QLatin1String("VARCHAR2") || expression.dataType == QLatin1String("CHAR");
                info.append({expression.dataType, text && expression.length <= 0 ? 4000 : expression.length,
                             expression.precision >= 0 ? QVariant(expression.precision) : QVariant(),
                             expression.scale >= 0 ? QVariant(expression.scale) : QVariant(), QStringLiteral("Y")});
            }
            QVariantList row = info.isEmpty() ? QVariantList{QStringLiteral("VARCHAR2"), 4000, QVariant(), QVariant(), QStringLiteral("Y")}
                                              : info[0];
            m_s.run(QStringLiteral("INSERT INTO kol_columns VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, NULL)"),
                    {owner, view, column, i + 1, row[0], row[1], row[2], row[3], row[4]});
        }
        sqlite3_finalize(st);
    }

    void createTrigger(bool orReplace)
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
            const QString type = m_s.scalar(QStringLiteral("SELECT object_type FROM kol_objects WHERE owner = ? AND object_name = ?"
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
        const QString description = m_src.mid(tokenAt(nameStart).start, tokenAt(m_p).start - tokenAt(nameStart).start).trimmed()
                                    + QLatin1Char('\n');
        QString body = m_src.mid(tokenAt(m_p).start);
        if (!body.endsWith(QLatin1Char('\n')))
            body += QLatin1Char('\n');
        const bool callType = isKw("CALL");
        if (m_s.scalar(QStringLiteral("SELECT count(*) FROM kol_triggers WHERE owner = ? AND trigger_name = ?"), {owner, trigger}).toLongLong()) {
            if (!orReplace)
                throw DatabaseError(4081, QStringLiteral("trigger '%1' already exists").arg(trigger));
            m_s.run(QStringLiteral("DELETE FROM kol_triggers WHERE owner = ? AND trigger_name = ?"), {owner, trigger});
            dropObjectRows(owner, trigger, QStringLiteral("TRIGGER"));
        }
        const QString type = timing == QLatin1String("INSTEAD OF") ? timing
                                                                   : timing + (eachRow ? QStringLiteral(" EACH ROW") : QStringLiteral(" STATEMENT"));
        m_s.run(QStringLiteral("INSERT INTO kol_triggers VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 'ENABLED', ?, ?, ?)"),
                {owner, trigger, type, events.join(QStringLiteral(" OR ")), tableOwner.isEmpty() ? QVariant() : QVariant(tableOwner),
                 baseType, table.isEmpty() ? QVariant() : QVariant(table),
                 columns.isEmpty() ? QVariant() : QVariant(columns.join(QStringLiteral(", "))), referencing, when, description,
                 callType ? QStringLiteral("CALL") : QStringLiteral("PL/SQL"), body});
        addObject(owner, trigger, QStringLiteral("TRIGGER"), tableOwner, table);
        m_p = int(m_t.size()) - 1;
    }

    // Stored PL/SQL units are listed in the dictionary only: the engine does not compile or run
    // them and keeps no source. A package body created before its package specification is
    // INVALID, as the server leaves it; everything else is VALID. A replaced unit keeps its
    // creation time.
    void createProgramUnit(const QString& type, bool orReplace)
    {
        const auto [owner, unit] = qualified();
        requireSchema(owner);
        const bool exists = m_s.scalar(QStringLiteral("SELECT count(*) FROM kol_objects WHERE owner = ? AND object_name = ?"
                                                      " AND object_type = ?"),
                                       {owner, unit, type})
                                .toLongLong()
                            > 0;
        const bool body = type == QLatin1String("PACKAGE BODY");
        if (exists && !orReplace)
            throw DatabaseError(955, QStringLiteral("name is already used by an existing object"));
        if (!exists && !body)
            requireFree(owner, unit);
        const bool specified = m_s.scalar(QStringLiteral("SELECT count(*) FROM kol_objects WHERE owner = ? AND object_name = ?"
                                                         " AND object_type = 'PACKAGE'"),
                                          {owner, unit})
                                   .toLongLong()
                               > 0;
        const QString status = body && !specified ? QStringLiteral("INVALID") : QStringLiteral("VALID");
        if (exists)
            m_s.run(QStringLiteral("UPDATE kol_objects SET last_ddl_time = ?, status = ? WHERE owner = ? AND object_name = ?"
                                   " AND object_type = ?"),
                    {m_now, status, owner, unit, type});
        else
            addObject(owner, unit, type, {}, {}, status);
        m_p = int(m_t.size()) - 1;
    }

    // A database link is listed in the dictionary under its owner (PUBLIC for a public one); the
    // engine never connects through it. Its name may hold dots (a global name), so it is one name
    // however many parts it has.
    void createDatabaseLink(bool isPublic)
    {
        if (isPublic && !m_s.isDba())
            throw insufficient();
        QString link = name();
        while (acceptOp("."))
            link += QLatin1Char('.') + name();
        const QString owner = isPublic ? QStringLiteral("PUBLIC") : m_s.user();
        if (m_s.scalar(QStringLiteral("SELECT count(*) FROM kol_objects WHERE owner = ? AND object_name = ?"
                                      " AND object_type = 'DATABASE LINK'"),
                       {owner, link})
                .toLongLong())
            throw DatabaseError(2011, QStringLiteral("duplicate database link name"));
        addObject(owner, link, QStringLiteral("DATABASE LINK"));
        m_p = int(m_t.size()) - 1;
    }

    // ---- DROP, TRUNCATE, ANALYZE ------------------------------------------------------------
    void dropObjectRows(const QString& owner, const QString& n, const QString& type)
    {
        m_s.run(QStringLiteral("DELETE FROM kol_objects WHERE owner = ? AND object_name = ? AND object_type = ?"), {owner, n, type});
        if (type == QLatin1String("SYNONYM"))
            m_s.run(QStringLiteral("DELETE FROM kol_synonyms WHERE owner = ? AND synonym_name = ?"), {owner, n});
    }

    void dropIndexRows(const QString& owner, const QString& n)
    {
        m_s.run(QStringLiteral("DELETE FROM kol_indexes WHERE owner = ? AND index_name = ?"), {owner, n});
        m_s.run(QStringLiteral("DELETE FROM kol_ind_columns WHERE index_owner = ? AND index_name = ?"), {owner, n});
        dropObjectRows(owner, n, QStringLiteral("INDEX"));
    }

    void dropTableRows(const QString& owner, const QString& table)
    {
        for (const QVariantList& k : m_s.rows(QStringLiteral("SELECT constraint_name FROM kol_constraints WHERE owner = ? AND table_name = ?"),
                                              {owner, table}))
            dropConstraintTriggers(owner, k[0].toString());
        for (const QVariantList& idx : m_s.rows(QStringLiteral("SELECT owner, index_name FROM kol_indexes WHERE table_owner = ? AND table_name = ?"),
                                                {owner, table}))
            dropIndexRows(idx[0].toString(), idx[1].toString());
        for (const QVariantList& t : m_s.rows(QStringLiteral("SELECT owner, trigger_name FROM kol_triggers WHERE table_owner = ? AND table_name = ?"),
                                              {owner, table})) {
            m_s.run(QStringLiteral("DELETE FROM kol_triggers WHERE owner = ? AND trigger_name = ?"), {t[0], t[1]});
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

    void dropView(const QString& owner, const QString& view, bool keepPrivileges)
    {
        m_s.run(QStringLiteral("DROP VIEW IF EXISTS ") + q(owner + QLatin1Char('.') + view));
        m_s.run(QStringLiteral("DELETE FROM kol_views WHERE owner = ? AND view_name = ?"), {owner, view});
        m_s.run(QStringLiteral("DELETE FROM kol_columns WHERE owner = ? AND table_name = ?"), {owner, view});
        if (!keepPrivileges) {
            m_s.run(QStringLiteral("DELETE FROM kol_comments WHERE owner = ? AND table_name = ?"), {owner, view});
            m_s.run(QStringLiteral("DELETE FROM kol_tab_privs WHERE owner = ? AND name = ?"), {owner, view});
        }
        dropObjectRows(owner, view, QStringLiteral("VIEW"));
    }

    QString objectTypeOf(const QString& owner, const QString& n)
    {
        return m_s.scalar(QStringLiteral("SELECT object_type FROM kol_objects WHERE owner = ? AND object_name = ? AND object_type"
                                         " NOT IN ('INDEX', 'TRIGGER')"),
                          {owner, n})
            .toString();
    }

    void drop()
    {
        if (acceptKw("PUBLIC")) {
            expectKw("SYNONYM");
            if (!m_s.isDba())
                throw insufficient();
            const QString n = name();
            if (m_s.scalar(QStringLiteral("SELECT count(*) FROM kol_synonyms WHERE owner = 'PUBLIC' AND synonym_name = ?"), {n}).toLongLong() == 0)
                throw DatabaseError(1432, QStringLiteral("public synonym to be dropped does not exist"));
            dropObjectRows(QStringLiteral("PUBLIC"), n, QStringLiteral("SYNONYM"));
            return;
        }
        const QString kind = name();
        if (kind == QLatin1String("USER") || kind == QLatin1String("ROLE"))
            return dropUser(kind == QLatin1String("ROLE"));
        const auto [owner, n] = qualified();
        requireSchema(owner);
        if (kind == QLatin1String("TABLE")) {
            if (objectTypeOf(owner, n) != QLatin1String("TABLE"))
                throw DatabaseError(942, QStringLiteral("table or view does not exist"));
            const bool cascade = acceptKw("CASCADE") && (expectKw("CONSTRAINTS"), true);
            const QList<QVariantList> referencing = referencingKeys(owner, n);
            if (!referencing.isEmpty() && !cascade)
                throw DatabaseError(2449, QStringLiteral("unique/primary keys in table referenced by foreign keys"));
            for (const QVariantList& r : referencing)
                dropConstraintRows(r[0].toString(), r[1].toString());
            m_s.run(QStringLiteral("DROP TABLE ") + q(owner + QLatin1Char('.') + n));
            dropTableRows(owner, n);
            dropObjectRows(owner, n, QStringLiteral("TABLE"));
        } else if (kind == QLatin1String("VIEW")) {
            if (objectTypeOf(owner, n) != QLatin1String("VIEW"))
                throw DatabaseError(942, QStringLiteral("table or view does not exist"));
            dropView(owner, n, false);
            m_s.run(QStringLiteral("DROP TABLE IF EXISTS ") + q(owner + QLatin1Char('.') + n));
        } else if (kind == QLatin1String("SYNONYM")) {
            if (objectTypeOf(owner, n) != QLatin1String("SYNONYM"))
                throw DatabaseError(1434, QStringLiteral("private synonym to be dropped does not exist"));
            dropObjectRows(owner, n, QStringLiteral("SYNONYM"));
        } else if (kind == QLatin1String("SEQUENCE")) {
            if (objectTypeOf(owner, n) != QLatin1String("SEQUENCE"))
                throw DatabaseError(2289, QStringLiteral("sequence does not exist"));
            m_s.run(QStringLiteral("DELETE FROM kol_sequences WHERE sequence_owner = ? AND sequence_name = ?"), {owner, n});
            dropObjectRows(owner, n, QStringLiteral("SEQUENCE"));
        } else if (kind == QLatin1String("INDEX")) {
            if (m_s.scalar(QStringLiteral("SELECT count(*) FROM kol_indexes WHERE owner = ? AND index_name = ?"), {owner, n}).toLongLong() == 0)
                throw DatabaseError(1418, QStringLiteral("specified index does not exist"));
            if (m_s.scalar(QStringLiteral("SELECT count(*) FROM kol_constraints WHERE index_owner = ? AND index_name = ?"), {owner, n}).toLongLong())
                throw DatabaseError(2429, QStringLiteral("cannot drop index used for enforcement of unique/primary key"));
            m_s.run(QStringLiteral("DROP INDEX ") + q(QStringLiteral("idx:") + owner + QLatin1Char('.') + n));
            dropIndexRows(owner, n);
        } else if (kind == QLatin1String("TRIGGER")) {
            if (m_s.scalar(QStringLiteral("SELECT count(*) FROM kol_triggers WHERE owner = ? AND trigger_name = ?"), {owner, n}).toLongLong() == 0)
                throw DatabaseError(4080, QStringLiteral("trigger '%1' does not exist").arg(n));
            m_s.run(QStringLiteral("DELETE FROM kol_triggers WHERE owner = ? AND trigger_name = ?"), {owner, n});
            dropObjectRows(owner, n, QStringLiteral("TRIGGER"));
        } else {
            throw DatabaseError(950, QStringLiteral("invalid DROP option"));
        }
    }

    void dropUser(bool role)
    {
        if (!m_s.isDba())
            throw insufficient();
        const QString n = name();
        if (role) {
            if (m_s.scalar(QStringLiteral("SELECT count(*) FROM kol_roles WHERE role = ?"), {n}).toLongLong() == 0)
                throw DatabaseError(1919, QStringLiteral("role '%1' does not exist").arg(n));
            m_s.run(QStringLiteral("DELETE FROM kol_roles WHERE role = ?"), {n});
        } else {
            if (m_s.scalar(QStringLiteral("SELECT count(*) FROM kol_users WHERE username = ?"), {n}).toLongLong() == 0)
                throw DatabaseError(1918, QStringLiteral("user '%1' does not exist").arg(n));
            if (m_s.scalar(QStringLiteral("SELECT count(*) FROM kol_objects WHERE owner = ?"), {n}).toLongLong() && !acceptKw("CASCADE"))
                throw DatabaseError(1922, QStringLiteral("CASCADE must be specified to drop '%1'").arg(n));
            for (const QVariantList& t : m_s.rows(QStringLiteral("SELECT object_name, object_type FROM kol_objects WHERE owner = ?"), {n})) {
                const QString type = t[1].toString();
                if (type == QLatin1String("TABLE"))
                    for (const QVariantList& r : referencingKeys(n, t[0].toString()))
                        dropConstraintRows(r[0].toString(), r[1].toString());
                if (type == QLatin1String("TABLE") || type == QLatin1String("VIEW"))
                    m_s.run((type == QLatin1String("TABLE") ? QStringLiteral("DROP TABLE IF EXISTS ") : QStringLiteral("DROP VIEW IF EXISTS "))
                            + q(n + QLatin1Char('.') + t[0].toString()));
                dropTableRows(n, t[0].toString());
            }
            for (const char* sql : {"DELETE FROM kol_objects WHERE owner = ?", "DELETE FROM kol_synonyms WHERE owner = ?",
                                    "DELETE FROM kol_sequences WHERE sequence_owner = ?", "DELETE FROM kol_users WHERE username = ?"})
                m_s.run(QString::fromLatin1(sql), {n});
        }
        m_s.run(QStringLiteral("DELETE FROM kol_role_privs WHERE grantee = ? OR granted_role = ?"), {n, n});
        m_s.run(QStringLiteral("DELETE FROM kol_sys_privs WHERE grantee = ?"), {n});
        m_s.run(QStringLiteral("DELETE FROM kol_tab_privs WHERE grantee = ?"), {n});
    }

    void truncate()
    {
        expectKw("TABLE");
        const auto [owner, n] = qualified();
        requireSchema(owner);
        if (objectTypeOf(owner, n) != QLatin1String("TABLE"))
            throw DatabaseError(942, QStringLiteral("table or view does not exist"));
        for (const QVariantList& r : referencingKeys(owner, n))
            if (r[3].toString() == QLatin1String("ENABLED"))
                throw DatabaseError(2266, QStringLiteral("unique/primary keys in table referenced by enabled foreign keys"));
        // Rows that refer to rows of the same table go with them: the table's own foreign keys
        // stand aside while it empties.
        const QList<QVariantList> own = m_s.rows(QStringLiteral("SELECT r.constraint_name FROM kol_constraints r JOIN kol_constraints k ON"
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

    void analyze()
    {
        expectKw("TABLE");
        const auto [owner, n] = qualified();
        if (objectTypeOf(owner, n) != QLatin1String("TABLE"))
            throw DatabaseError(942, QStringLiteral("table or view does not exist"));
        const qint64 rows = m_s.scalar(QStringLiteral("SELECT count(*) FROM ") + q(owner + QLatin1Char('.') + n)).toLongLong();
        m_s.run(QStringLiteral("UPDATE kol_tables SET num_rows = ?, blocks = ?, empty_blocks = 0, avg_space = 0, chain_cnt = 0,"
                               " avg_row_len = 40, last_analyzed = ? WHERE owner = ? AND table_name = ?"),
                {rows, rows / 100 + 1, m_now, owner, n});
        m_p = int(m_t.size()) - 1;
    }

    // ---- ALTER -------------------------------------------------------------------------------
    void alter()
    {
        if (acceptKw("TABLE"))
            return alterTable();
        if (acceptKw("USER"))
            return alterUser();
        if (acceptKw("ROLLBACK")) {
            expectKw("SEGMENT");
            return alterRollbackSegment();
        }
        if (acceptKw("TRIGGER")) {
            const auto [owner, n] = qualified();
            requireSchema(owner);
            if (acceptKw("ENABLE") || acceptKw("DISABLE")) {
                const QString status = tokenAt(m_p - 1).text == QLatin1String("ENABLE") ? QStringLiteral("ENABLED") : QStringLiteral("DISABLED");
                m_s.run(QStringLiteral("UPDATE kol_triggers SET status = ? WHERE owner = ? AND trigger_name = ?"), {status, owner, n});
            }
            m_p = int(m_t.size()) - 1;
            return;
        }
        if (acceptKw("SYSTEM") || acceptKw("INDEX") || acceptKw("SEQUENCE") || acceptKw("VIEW") || acceptKw("TABLESPACE")
            || acceptKw("DATABASE")) {
            if (!m_s.isDba())
                throw insufficient();
            m_p = int(m_t.size()) - 1;
            return;
        }
        throw DatabaseError(940, QStringLiteral("invalid ALTER command"));
    }

    // DBA_CONSTRAINTS.VALIDATED: whether the rows there were checked when the constraint came on.
    static QString validatedText(bool validated)
    {
        return validated ? QStringLiteral("VALIDATED") : QStringLiteral("NOT VALIDATED");
    }

    void alterTable()
    {
        const auto [owner, table] = qualified();
        requireSchema(owner);
        if (objectTypeOf(owner, table) != QLatin1String("TABLE"))
            throw DatabaseError(942, QStringLiteral("table or view does not exist"));
        if (acceptKw("ADD")) {
            QList<Constraint> constraints;
            if (isKw("CONSTRAINT") || isKw("PRIMARY") || isKw("UNIQUE") || isKw("FOREIGN") || isKw("CHECK")) {
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
                const int next = int(m_s.scalar(QStringLiteral("SELECT coalesce(max(column_id), 0) + 1 FROM kol_columns WHERE owner = ? AND"
                                                               " table_name = ?"),
                                                {owner, table})
                                         .toLongLong());
                for (const Column& c : std::as_const(columns))
                    m_s.run(QStringLiteral("ALTER TABLE ") + q(owner + QLatin1Char('.') + table) + QStringLiteral(" ADD COLUMN ") + q(c.name)
                            + QLatin1Char(' ') + c.sqliteType);
                addColumns(owner, table, columns, next, false);
            }
            for (Constraint& k : constraints)
                addConstraint(owner, table, k);
            touch(owner, table);
            while (!atEnd())
                ++m_p;
            return;
        }
        if (acceptKw("ENABLE") || acceptKw("DISABLE")) {
            const bool enable = tokenAt(m_p - 1).text == QLatin1String("ENABLE");
            bool validate = enable;
            if (acceptKw("NOVALIDATE"))
                validate = false;
            else
                acceptKw("VALIDATE");
            QString k;
            if (acceptKw("PRIMARY")) {
                expectKw("KEY");
                k = primaryKeyOf(owner, table);
                if (k.isEmpty())
                    throw DatabaseError(2432, QStringLiteral("cannot enable primary key - primary key not defined for table"));
            } else {
                expectKw("CONSTRAINT");
                k = name();
            }
            const bool cascade = acceptKw("CASCADE");
            const QString type = m_s.scalar(QStringLiteral("SELECT constraint_type FROM kol_constraints WHERE owner = ? AND"
                                                           " constraint_name = ? AND table_name = ?"),
                                            {owner, k, table})
                                     .toString();
            if (type.isEmpty())
                throw enable ? DatabaseError(2430, QStringLiteral("cannot enable constraint (%1) - no such constraint").arg(k))
                             : DatabaseError(2431, QStringLiteral("cannot disable constraint (%1) - no such constraint").arg(k));
            if (!enable && (type == QLatin1String("P") || type == QLatin1String("U"))) {
                // Foreign keys that rely on the key go first, and only when asked to.
                const QList<QVariantList> dependents = m_s.rows(QStringLiteral("SELECT owner, constraint_name FROM kol_constraints WHERE"
                                                                               " r_owner = ? AND r_constraint_name = ? AND status = 'ENABLED'"),
                                                                {owner, k});
                if (!dependents.isEmpty() && !cascade)
                    throw DatabaseError(2297, QStringLiteral("cannot disable constraint (%1.%2) - dependencies exist").arg(owner, k));
                for (const QVariantList& d : dependents) {
                    m_s.run(QStringLiteral("UPDATE kol_constraints SET status = 'DISABLED', validated = 'NOT VALIDATED', last_change = ?"
                                           " WHERE owner = ? AND constraint_name = ?"),
                            {m_now, d[0], d[1]});
                    enforce(d[0].toString(), d[1].toString(), false);
                }
            }
            m_s.run(QStringLiteral("UPDATE kol_constraints SET status = ?, validated = ?, last_change = ? WHERE owner = ? AND"
                                   " constraint_name = ?"),
                    {enable ? QStringLiteral("ENABLED") : QStringLiteral("DISABLED"), validatedText(validate), m_now, owner, k});
            enforce(owner, k, validate);
            touch(owner, table);
            return;
        }
        if (acceptKw("DROP")) {
            QString k;
            if (acceptKw("PRIMARY")) {
                expectKw("KEY");
                k = primaryKeyOf(owner, table);
            } else {
                expectKw("CONSTRAINT");
                k = name();
            }
            const bool cascade = acceptKw("CASCADE");
            const QList<QVariantList> r = m_s.rows(QStringLiteral("SELECT index_owner, index_name FROM kol_constraints WHERE owner = ? AND"
                                                                  " constraint_name = ? AND table_name = ?"),
                                                   {owner, k, table});
            if (r.isEmpty())
                throw DatabaseError(2443, QStringLiteral("Cannot drop constraint  - nonexistent constraint"));
            const QList<QVariantList> dependents = m_s.rows(QStringLiteral("SELECT owner, constraint_name FROM kol_constraints WHERE"
                                                                           " r_owner = ? AND r_constraint_name = ?"),
                                                            {owner, k});
            if (!dependents.isEmpty() && !cascade)
                throw DatabaseError(2273, QStringLiteral("this unique/primary key is referenced by some foreign keys"));
            for (const QVariantList& d : dependents)
                dropConstraintRows(d[0].toString(), d[1].toString());
            dropConstraintRows(owner, k);
            if (!r[0][1].isNull()) {
                m_s.run(QStringLiteral("DROP INDEX IF EXISTS ") + q(QStringLiteral("idx:") + r[0][0].toString() + QLatin1Char('.') + r[0][1].toString()));
                dropIndexRows(r[0][0].toString(), r[0][1].toString());
            }
            touch(owner, table);
            return;
        }
        Storage st;
        bool any = false;
        while (!atEnd() && storageAttribute(st))
            any = true;
        if (!any || !atEnd())
            throw DatabaseError(1735, QStringLiteral("invalid ALTER TABLE option"));
    }

    void alterUser()
    {
        const QString user = name();
        if (user != m_s.user() && !m_s.isDba())
            throw insufficient();
        const QList<QVariantList> r = m_s.rows(QStringLiteral("SELECT default_tablespace, temporary_tablespace, profile, account_status"
                                                              " FROM kol_users WHERE username = ?"),
                                               {user});
        if (r.isEmpty())
            throw DatabaseError(1918, QStringLiteral("user '%1' does not exist").arg(user));
        QString defaultTs = r[0][0].toString(), tempTs = r[0][1].toString(), profile = r[0][2].toString();
        const QString oldStatus = r[0][3].toString();
        bool locked = oldStatus.contains(QLatin1String("LOCKED")), expired = oldStatus.contains(QLatin1String("EXPIRED"));
        if (acceptKw("IDENTIFIED")) {
            expectKw("BY");
            const QString password = name();
            m_s.run(QStringLiteral("UPDATE kol_users SET password = ? WHERE username = ?"), {passwordHash(user, password), user});
            expired = false;
        }
        userOptions(defaultTs, tempTs, profile, locked, expired);
        const QString status = expired && locked ? QStringLiteral("EXPIRED & LOCKED")
                               : locked          ? QStringLiteral("LOCKED")
                               : expired         ? QStringLiteral("EXPIRED")
                                                 : QStringLiteral("OPEN");
        m_s.run(QStringLiteral("UPDATE kol_users SET default_tablespace = ?, temporary_tablespace = ?, profile = ?, account_status = ?,"
                               " lock_date = CASE WHEN ? THEN coalesce(lock_date, ?) END WHERE username = ?"),
                {defaultTs, tempTs, profile, status, locked ? 1 : 0, m_now, user});
    }

    void alterRollbackSegment()
    {
        if (!m_s.isDba())
            throw insufficient();
        const QString segment = name();
        const bool known = m_s.objectExists(QStringLiteral("SYS"), QStringLiteral("DBA_ROLLBACK_SEGS"))
                           && m_s.scalar(QStringLiteral("SELECT count(*) FROM main.\"SYS.DBA_ROLLBACK_SEGS\" WHERE \"SEGMENT_NAME\" = ?"), {segment})
                                      .toLongLong()
                                  > 0;
        if (!known)
            throw DatabaseError(1534, QStringLiteral("rollback segment '%1' doesn't exist").arg(segment));
        bool shrink = false;
        if (acceptKw("SHRINK")) {
            shrink = true;
            if (acceptKw("TO"))
                size();
        } else if (acceptKw("ONLINE") || acceptKw("OFFLINE")) {
            m_s.run(QStringLiteral("UPDATE main.\"SYS.DBA_ROLLBACK_SEGS\" SET \"STATUS\" = ? WHERE \"SEGMENT_NAME\" = ?"),
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
        if (shrink
            && m_s.scalar(QStringLiteral("SELECT upper(\"STATUS\") FROM main.\"SYS.DBA_ROLLBACK_SEGS\" WHERE \"SEGMENT_NAME\" = ?"), {segment})
                       .toString()
                   == QLatin1String("OFFLINE"))
            throw DatabaseError(1598, QStringLiteral("rollback segment '%1' is not online").arg(segment));
    }

    // ---- GRANT / REVOKE / COMMENT -------------------------------------------------------------
    void grant(bool give)
    {
        QStringList items;
        QString current;
        while (!atEnd() && !isKw("ON") && !isKw(give ? "TO" : "FROM")) {
            if (acceptOp(",")) {
                items.append(current.trimmed());
                current.clear();
                continue;
            }
            if (isOp("(")) {
                skipGroup();
                continue;
            }
            current += QLatin1Char(' ') + name();
        }
        if (!current.trimmed().isEmpty())
            items.append(current.trimmed());
        QString objOwner, objName;
        const bool onObject = acceptKw("ON");
        if (onObject) {
            QString a = name();
            bool qualifiedName = false;
            QString owner = m_s.schema();
            if (acceptOp(".")) {
                owner = a;
                a = name();
                qualifiedName = true;
            }
            const auto target = resolveObject(owner, a, qualifiedName);
            objOwner = target.first;
            objName = target.second;
            if (objOwner != m_s.user() && !m_s.isDba())
                throw insufficient();
        } else if (!m_s.isDba()) {
            throw insufficient();
        }
        if (!acceptKw(give ? "TO" : "FROM"))
            throw DatabaseError(990, QStringLiteral("missing or invalid privilege"));
        QStringList grantees;
        do {
            grantees.append(name());
        } while (acceptOp(","));
        if (acceptKw("WITH")) {
            name();
            expectKw("OPTION");
        }
        for (const QString& g : std::as_const(grantees)) {
            if (g != QLatin1String("PUBLIC")
                && m_s.scalar(QStringLiteral("SELECT (SELECT count(*) FROM kol_users WHERE username = ?) + (SELECT count(*) FROM kol_roles"
                                             " WHERE role = ?)"),
                              {g, g})
                           .toLongLong()
                       == 0)
                throw DatabaseError(1917, QStringLiteral("user or role '%1' does not exist").arg(g));
            for (QString item : std::as_const(items)) {
                if (onObject) {
                    QStringList privileges = {item};
                    if (item == QLatin1String("ALL") || item == QLatin1String("ALL PRIVILEGES"))
                        privileges = {QStringLiteral("SELECT"), QStringLiteral("INSERT"), QStringLiteral("UPDATE"), QStringLiteral("DELETE"),
                                      QStringLiteral("ALTER"), QStringLiteral("INDEX"), QStringLiteral("REFERENCES")};
                    for (const QString& p : std::as_const(privileges)) {
                        if (give)
                            m_s.run(QStringLiteral("INSERT OR IGNORE INTO kol_tab_privs VALUES (?, ?, ?, ?, ?)"), {g, objOwner, objName, p, m_s.user()});
                        else
                            m_s.run(QStringLiteral("DELETE FROM kol_tab_privs WHERE grantee = ? AND owner = ? AND name = ? AND privilege = ?"),
                                    {g, objOwner, objName, p});
                    }
                } else if (m_s.scalar(QStringLiteral("SELECT count(*) FROM kol_roles WHERE role = ?"), {item}).toLongLong()) {
                    if (give)
                        m_s.run(QStringLiteral("INSERT OR IGNORE INTO kol_role_privs VALUES (?, ?)"), {g, item});
                    else
                        m_s.run(QStringLiteral("DELETE FROM kol_role_privs WHERE grantee = ? AND granted_role = ?"), {g, item});
                } else {
                    if (give)
                        m_s.run(QStringLiteral("INSERT OR IGNORE INTO kol_sys_privs VALUES (?, ?)"), {g, item});
                    else
                        m_s.run(QStringLiteral("DELETE FROM kol_sys_privs WHERE grantee = ? AND privilege = ?"), {g, item});
                }
            }
        }
    }

    void comment()
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
                throw DatabaseError(904, QStringLiteral("\"%1\": invalid identifier").arg(parts.value(0)));
            col = parts.takeLast();
        }
        if (parts.size() == 2)
            owner = parts[0];
        table = parts.last();
        expectKw("IS");
        if (peek().kind != Token::Kind::String)
            throw DatabaseError(1780, QStringLiteral("string literal required"));
        const QString text = tokenAt(m_p++).text;
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

    EngineSession& m_s;
    const QString& m_src;
    QString m_now;
};

}  // namespace

void executeDdl(EngineSession& session, const QList<Token>& tokens, const QString& sql)
{
    Ddl ddl(session, tokens, sql);
    ddl.run();
}

}  // namespace kolmara::db::embedded
