// The session's privileges (its roles, the objects it may read or change) and the resolution of
// the names its statements use: tables, views and sequences, through synonyms.
#include "db/embedded/Engine.h"

namespace kolmara::db::embedded {

void EngineSession::loadPrivileges()
{
    if (m_privGeneration == m_generation && m_generation >= 0)
        return;
    m_privGeneration = m_generation;
    QStringList grantees = {m_user, QStringLiteral("PUBLIC")};
    for (int i = 0; i < grantees.size(); ++i) {
        for (const QVariantList& r :
             rows(QStringLiteral("SELECT granted_role FROM kol_role_privs WHERE grantee = ?"),
                  {grantees[i]})) {
            const QString role = r[0].toString();
            if (!grantees.contains(role))
                grantees.append(role);
        }
    }
    m_dba = m_user == QLatin1String("SYS") || grantees.contains(QStringLiteral("DBA"));
    m_roles = QSet<QString>(grantees.begin() + 2, grantees.end());
    m_readable.clear();
    m_privs.clear();
    for (const QString& g : std::as_const(grantees)) {
        if (!m_dba && scalar(QStringLiteral("SELECT count(*) FROM kol_sys_privs WHERE grantee = ?"
                                            " AND privilege = 'SELECT ANY TABLE'"), {g})
                              .toLongLong()
                          > 0)
            m_dba = true;
        for (const QVariantList& r :
             rows(QStringLiteral(
                      "SELECT owner, name, privilege FROM kol_tab_privs WHERE grantee = ?"),
                  {g})) {
            const QString key = r[0].toString() + QLatin1Char('.') + r[1].toString();
            m_readable.insert(key);
            m_privs[key].insert(r[2].toString());
        }
    }
}

bool EngineSession::isDba()
{
    if ((m_bulk && m_user.isEmpty()) || m_user == QLatin1String("SYS"))
        return true;
    loadPrivileges();
    return m_dba;
}

bool EngineSession::hasRole(const QString& role)
{
    loadPrivileges();
    return m_roles.contains(role);
}

bool EngineSession::canRead(const QString& owner, const QString& name)
{
    if (owner == m_user || owner == QLatin1String("PUBLIC") || isDba())
        return true;
    return m_readable.contains(owner + QLatin1Char('.') + name);
}

// ---- name resolution --------------------------------------------------------------------------

TableRef EngineSession::resolveTable(const QString& ownerIn, const QString& name,
                                     const QString& privilege)
{
    auto objectType = [&](const QString& o, const QString& n) -> QVariantList {
        const QList<QVariantList> r = rows(QStringLiteral("SELECT object_type, status FROM"
                                                          " kol_objects WHERE owner = ? AND"
                                                          " object_name = ? AND object_type IN"
                                                          " ('TABLE', 'VIEW', 'SYNONYM',"
                                                          " 'SEQUENCE')"),
                                           {o, n});
        return r.isEmpty() ? QVariantList() : r[0];
    };
    auto synonymTarget = [&](const QString& o, const QString& n) -> QVariantList {
        const QList<QVariantList> r =
            rows(QStringLiteral("SELECT table_owner, table_name FROM kol_synonyms WHERE owner = ?"
                                " AND synonym_name = ?"), {o, n});
        return r.isEmpty() ? QVariantList() : r[0];
    };
    const DatabaseError missing(942, QStringLiteral("table or view does not exist"));
    QString owner = ownerIn;
    QString object = name;
    if (owner.isEmpty()) {
        if (!objectType(m_schema, name).isEmpty()) {
            owner = m_schema;
        } else {
            QVariantList target = synonymTarget(m_schema, name);
            if (target.isEmpty())
                target = synonymTarget(QStringLiteral("PUBLIC"), name);
            if (target.isEmpty())
                throw missing;
            owner = target[0].toString();
            object = target[1].toString();
        }
    }
    for (int hops = 0; hops < 10; ++hops) {
        const QVariantList type = objectType(owner, object);
        if (type.isEmpty())
            throw missing;
        if (type[0].toString() == QLatin1String("SYNONYM")) {
            const QVariantList target = synonymTarget(owner, object);
            if (target.isEmpty())
                throw missing;
            owner = target[0].toString();
            object = target[1].toString();
            continue;
        }
        if (type[0].toString() == QLatin1String("SEQUENCE"))
            throw DatabaseError(2201, QStringLiteral("sequence not allowed here"));
        if (owner != m_user && !canRead(owner, object))
            throw missing;
        // A fixed view is a table the engine fills itself (seed scripts, logon, kill): to SQL it is
        // read-only, whoever asks.
        if (privilege != QLatin1String("SELECT") && !m_bulk
            && type[0].toString() == QLatin1String("VIEW")
            && scalar(QStringLiteral("SELECT count(*) FROM main.sqlite_master WHERE type = 'table'"
                                     " AND name = ?"),
                      {owner + QLatin1Char('.') + object})
                       .toLongLong()
                   > 0)
            throw DatabaseError(2030, QStringLiteral("can only select from fixed tables/views"));
        if (owner != m_user && privilege != QLatin1String("SELECT") && !isDba()) {
            const QSet<QString> granted = m_privs.value(owner + QLatin1Char('.') + object);
            if (!granted.contains(privilege) && !granted.contains(QStringLiteral("ALL")))
                throw DatabaseError(1031, QStringLiteral("insufficient privileges"));
        }
        if (type[1].toString() == QLatin1String("INVALID"))
            throw DatabaseError(4063,
                                QStringLiteral("view \"%1\".\"%2\" has errors").arg(owner, object));
        return TableRef{owner, object, owner + QLatin1Char('.') + object};
    }
    throw DatabaseError(1775, QStringLiteral("looping chain of synonyms"));
}

QString EngineSession::resolveSequence(const QString& ownerIn, const QString& name)
{
    QString owner = ownerIn.isEmpty() ? m_schema : ownerIn;
    QString object = name;
    for (int hops = 0; hops < 10; ++hops) {
        const QString type = scalar(QStringLiteral("SELECT object_type FROM kol_objects WHERE owner"
                                                   " = ? AND object_name = ? AND object_type IN"
                                                   " ('SEQUENCE', 'SYNONYM', 'TABLE', 'VIEW')"),
                                    {owner, object})
                                 .toString();
        if (type == QLatin1String("SEQUENCE")) {
            if (owner != m_user && !canRead(owner, object))
                throw DatabaseError(2289, QStringLiteral("sequence does not exist"));
            return owner + QLatin1Char('.') + object;
        }
        QList<QVariantList> target;
        if (type == QLatin1String("SYNONYM"))
            target = rows(QStringLiteral("SELECT table_owner, table_name FROM kol_synonyms WHERE"
                                         " owner = ? AND synonym_name = ?"),
                          {owner, object});
        else if (type.isEmpty() && ownerIn.isEmpty() && hops == 0)
            target = rows(QStringLiteral("SELECT table_owner, table_name FROM kol_synonyms WHERE"
                                         " owner = 'PUBLIC' AND synonym_name = ?"),
                          {object});
        if (target.isEmpty())
            break;
        owner = target[0][0].toString();
        object = target[0][1].toString();
    }
    throw DatabaseError(2289, QStringLiteral("sequence does not exist"));
}

bool EngineSession::leadsAnIndex(const QString& storage, const QString& column)
{
    return !rows(QStringLiteral("SELECT 1 FROM pragma_index_list(?1) AS l,"
                                " pragma_index_info(l.name) AS i WHERE i.seqno = 0 AND i.name = ?2"
                                " LIMIT 1"),
                 {storage, column})
                .isEmpty();
}

QList<ColumnInfo> EngineSession::columnsOf(const TableRef& table)
{
    if (!m_inDdl) {
        const auto cached = m_columns.constFind(table.storage);
        if (cached != m_columns.constEnd())
            return *cached;
    }
    QList<ColumnInfo> out;
    // Fixed views hold the instance's own figures: their widths document, they do not restrict.
    const bool fixedView = scalar(QStringLiteral("SELECT count(*) FROM kol_objects WHERE owner = ?"
                                                 " AND object_name = ? AND object_type = 'VIEW'"),
                                  {table.owner, table.name})
                               .toLongLong()
                           > 0;
    for (const QVariantList& r : rows(QStringLiteral("SELECT column_name, data_type, data_length,"
                                                     " data_precision, data_scale, nullable,"
                                                     " data_default FROM kol_columns WHERE owner ="
                                                     " ? AND table_name = ? ORDER BY column_id"),
                                      {table.owner, table.name})) {
        ColumnInfo c;
        c.name = r[0].toString();
        c.dataType = r[1].toString();
        c.length = fixedView ? 0 : r[2].toInt();
        c.precision = r[3].isNull() ? -1 : r[3].toInt();
        c.scale = r[4].isNull() ? -1 : r[4].toInt();
        c.notNull = r[5].toString() == QLatin1String("N");
        c.defaultText = r[6].toString();
        out.append(c);
    }
    if (!m_inDdl)
        m_columns.insert(table.storage, out);
    return out;
}

}  // namespace kolmara::db::embedded
