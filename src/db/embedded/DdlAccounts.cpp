// DDL of accounts: CREATE, ALTER and DROP USER, CREATE and DROP ROLE, GRANT and REVOKE.
#include "db/embedded/DdlPrivate.h"

#include "db/DatabaseError.h"
#include "db/embedded/Catalogue.h"
#include "db/embedded/Engine.h"

namespace kolmara::db::embedded {

namespace ddl {

void Ddl::createUser()
{
    if (!m_s.isDba())
        throw insufficient();
    const QString user = name();
    if (m_s.scalar(QStringLiteral("SELECT count(*) FROM kol_users WHERE username = ?"), {user})
            .toLongLong())
        throw DatabaseError(
            1920,
            QStringLiteral("user name '%1' conflicts with another user or role name").arg(user));
    if (m_s.scalar(QStringLiteral("SELECT count(*) FROM kol_roles WHERE role = ?"), {user})
            .toLongLong())
        throw DatabaseError(
            1920,
            QStringLiteral("user name '%1' conflicts with another user or role name").arg(user));
    expectKw("IDENTIFIED");
    expectKw("BY");
    const QString password = name();
    QString defaultTs = QStringLiteral("SYSTEM"), tempTs = QStringLiteral("SYSTEM"),
            profile = QStringLiteral("DEFAULT");
    QString status = QStringLiteral("OPEN");
    bool locked = false, expired = false;
    userOptions(defaultTs, tempTs, profile, locked, expired);
    if (locked || expired)
        status = expired && locked ? QStringLiteral("EXPIRED & LOCKED")
                 : locked          ? QStringLiteral("LOCKED")
                                   : QStringLiteral("EXPIRED");
    const qint64 id = std::max<qint64>(counter("next_user_id"), 0) + 4;
    m_s.run(QStringLiteral("INSERT INTO kol_users VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                           "'DEFAULT_CONSUMER_GROUP')"),
            {user, id, passwordHash(user, password), status, locked ? QVariant(m_now) : QVariant(),
             expired ? QVariant(m_now) : QVariant(), defaultTs, tempTs, m_now, profile});
}

void Ddl::createRole()
{
    if (!m_s.isDba())
        throw insufficient();
    const QString role = name();
    if (m_s.scalar(QStringLiteral("SELECT (SELECT count(*) FROM kol_roles WHERE role = ?) + "
                                  "(SELECT count(*) FROM kol_users"
                                  " WHERE username = ?)"),
                   {role, role})
            .toLongLong())
        throw DatabaseError(
            1921,
            QStringLiteral("role name '%1' conflicts with another user or role name").arg(role));
    m_s.run(QStringLiteral("INSERT INTO kol_roles VALUES (?, 'NO')"), {role});
    if (m_s.user() != QLatin1String("SYS"))
        m_s.run(QStringLiteral("INSERT OR IGNORE INTO kol_role_privs VALUES (?, ?)"),
                {m_s.user(), role});
}

void Ddl::userOptions(QString& defaultTs, QString& tempTs, QString& profile, bool& locked,
                      bool& expired)
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

void Ddl::alterUser()
{
    const QString user = name();
    if (user != m_s.user() && !m_s.isDba())
        throw insufficient();
    const QList<QVariantList> r = m_s.rows(
        QStringLiteral("SELECT default_tablespace, temporary_tablespace, profile, account_status"
                       " FROM kol_users WHERE username = ?"),
        {user});
    if (r.isEmpty())
        throw DatabaseError(1918, QStringLiteral("user '%1' does not exist").arg(user));
    QString defaultTs = r[0][0].toString(), tempTs = r[0][1].toString(),
            profile = r[0][2].toString();
    const QString oldStatus = r[0][3].toString();
    bool locked = oldStatus.contains(QLatin1String("LOCKED")),
         expired = oldStatus.contains(QLatin1String("EXPIRED"));
    if (acceptKw("IDENTIFIED")) {
        expectKw("BY");
        const QString password = name();
        m_s.run(QStringLiteral("UPDATE kol_users SET password = ? WHERE username = ?"),
                {passwordHash(user, password), user});
        expired = false;
    }
    userOptions(defaultTs, tempTs, profile, locked, expired);
    const QString status = expired && locked ? QStringLiteral("EXPIRED & LOCKED")
                           : locked          ? QStringLiteral("LOCKED")
                           : expired         ? QStringLiteral("EXPIRED")
                                             : QStringLiteral("OPEN");
    m_s.run(QStringLiteral(
                "UPDATE kol_users SET default_tablespace = ?, temporary_tablespace = ?, profile = "
                "?, account_status = ?,"
                " lock_date = CASE WHEN ? THEN coalesce(lock_date, ?) END WHERE username = ?"),
            {defaultTs, tempTs, profile, status, locked ? 1 : 0, m_now, user});
}

void Ddl::dropUser(bool role)
{
    if (!m_s.isDba())
        throw insufficient();
    const QString n = name();
    if (role) {
        if (m_s.scalar(QStringLiteral("SELECT count(*) FROM kol_roles WHERE role = ?"), {n})
                .toLongLong() == 0)
            throw DatabaseError(1919, QStringLiteral("role '%1' does not exist").arg(n));
        m_s.run(QStringLiteral("DELETE FROM kol_roles WHERE role = ?"), {n});
    } else {
        if (m_s.scalar(QStringLiteral("SELECT count(*) FROM kol_users WHERE username = ?"), {n})
                .toLongLong() == 0)
            throw DatabaseError(1918, QStringLiteral("user '%1' does not exist").arg(n));
        if (m_s.scalar(QStringLiteral("SELECT count(*) FROM kol_objects WHERE owner = ?"), {n})
                .toLongLong() &&
            !acceptKw("CASCADE"))
            throw DatabaseError(1922,
                                QStringLiteral("CASCADE must be specified to drop '%1'").arg(n));
        for (const QVariantList& t : m_s.rows(
                 QStringLiteral("SELECT object_name, object_type FROM kol_objects WHERE owner = ?"),
                 {n})) {
            const QString type = t[1].toString();
            if (type == QLatin1String("TABLE"))
                for (const QVariantList& r : referencingKeys(n, t[0].toString()))
                    dropConstraintRows(r[0].toString(), r[1].toString());
            if (type == QLatin1String("TABLE") || type == QLatin1String("VIEW"))
                m_s.run((type == QLatin1String("TABLE") ? QStringLiteral("DROP TABLE IF EXISTS ")
                                                        : QStringLiteral("DROP VIEW IF EXISTS ")) +
                        q(n + QLatin1Char('.') + t[0].toString()));
            dropTableRows(n, t[0].toString());
        }
        for (const char* sql :
             {"DELETE FROM kol_objects WHERE owner = ?", "DELETE FROM kol_synonyms WHERE owner = ?",
              "DELETE FROM kol_sequences WHERE sequence_owner = ?",
              "DELETE FROM kol_users WHERE username = ?"})
            m_s.run(QString::fromLatin1(sql), {n});
    }
    m_s.run(QStringLiteral("DELETE FROM kol_role_privs WHERE grantee = ? OR granted_role = ?"),
            {n, n});
    m_s.run(QStringLiteral("DELETE FROM kol_sys_privs WHERE grantee = ?"), {n});
    m_s.run(QStringLiteral("DELETE FROM kol_tab_privs WHERE grantee = ?"), {n});
}

void Ddl::grant(bool give)
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
        if (g != QLatin1String("PUBLIC") &&
            m_s.scalar(QStringLiteral("SELECT (SELECT count(*) FROM kol_users WHERE username = ?) "
                                      "+ (SELECT count(*) FROM kol_roles"
                                      " WHERE role = ?)"),
                       {g, g})
                    .toLongLong() == 0)
            throw DatabaseError(1917, QStringLiteral("user or role '%1' does not exist").arg(g));
        for (QString item : std::as_const(items)) {
            if (onObject) {
                QStringList privileges = {item};
                if (item == QLatin1String("ALL") || item == QLatin1String("ALL PRIVILEGES"))
                    privileges = {QStringLiteral("SELECT"),    QStringLiteral("INSERT"),
                                  QStringLiteral("UPDATE"),    QStringLiteral("DELETE"),
                                  QStringLiteral("ALTER"),     QStringLiteral("INDEX"),
                                  QStringLiteral("REFERENCES")};
                for (const QString& p : std::as_const(privileges)) {
                    if (give)
                        m_s.run(QStringLiteral(
                                    "INSERT OR IGNORE INTO kol_tab_privs VALUES (?, ?, ?, ?, ?)"),
                                {g, objOwner, objName, p, m_s.user()});
                    else
                        m_s.run(QStringLiteral("DELETE FROM kol_tab_privs WHERE grantee = ? AND "
                                               "owner = ? AND name = ? AND privilege = ?"),
                                {g, objOwner, objName, p});
                }
            } else if (m_s.scalar(QStringLiteral("SELECT count(*) FROM kol_roles WHERE role = ?"),
                                  {item})
                           .toLongLong()) {
                if (give)
                    m_s.run(QStringLiteral("INSERT OR IGNORE INTO kol_role_privs VALUES (?, ?)"),
                            {g, item});
                else
                    m_s.run(
                        QStringLiteral(
                            "DELETE FROM kol_role_privs WHERE grantee = ? AND granted_role = ?"),
                        {g, item});
            } else {
                if (give)
                    m_s.run(QStringLiteral("INSERT OR IGNORE INTO kol_sys_privs VALUES (?, ?)"),
                            {g, item});
                else
                    m_s.run(QStringLiteral(
                                "DELETE FROM kol_sys_privs WHERE grantee = ? AND privilege = ?"),
                            {g, item});
            }
        }
    }
}

// Resolves a grantable object (own, synonym, public synonym) to its owner and name.
QPair<QString, QString> Ddl::resolveObject(QString owner, QString n, bool qualifiedName)
{
    for (int hops = 0; hops < 10; ++hops) {
        const QString type =
            m_s.scalar(QStringLiteral(
                           "SELECT object_type FROM kol_objects WHERE owner = ? AND object_name = ?"
                           " AND object_type NOT IN ('INDEX', 'TRIGGER')"),
                       {owner, n})
                .toString();
        QList<QVariantList> target;
        if (type == QLatin1String("SYNONYM"))
            target = m_s.rows(QStringLiteral("SELECT table_owner, table_name FROM kol_synonyms "
                                             "WHERE owner = ? AND synonym_name = ?"),
                              {owner, n});
        else if (!type.isEmpty())
            return {owner, n};
        else if (!qualifiedName && hops == 0)
            target = m_s.rows(
                QStringLiteral(
                    "SELECT table_owner, table_name FROM kol_synonyms WHERE owner = 'PUBLIC' AND"
                    " synonym_name = ?"),
                {n});
        if (target.isEmpty())
            break;
        owner = target[0][0].toString();
        n = target[0][1].toString();
    }
    throw DatabaseError(942, QStringLiteral("table or view does not exist"));
}

}  // namespace ddl

}  // namespace kolmara::db::embedded
