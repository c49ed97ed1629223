// DDL of constraints: reading them, recording them in the catalogue, enabling, disabling and
// dropping them, and enforcing CHECK and FOREIGN KEY constraints with SQLite triggers.
#include "db/embedded/DdlPrivate.h"

#include "db/DatabaseError.h"
#include "db/embedded/Engine.h"
#include "db/embedded/SqlTranslator.h"

#include <QRegularExpression>

namespace kolmara::db::embedded {

namespace ddl {

// A table constraint or an inline column constraint (column given).
bool Ddl::constraint(QList<Constraint>& out, Column* column)
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

void Ddl::references(Constraint& k)
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

QString Ddl::checkCondition()
{
    const int start = skipGroup();
    return sourceFrom(start + 1, m_p - 1);
}

void Ddl::usingIndex(Constraint& k)
{
    if (acceptKw("USING")) {
        expectKw("INDEX");
        while (!isKw("ENABLE") && !isKw("DISABLE") && !isKw("VALIDATE") && !isKw("NOVALIDATE") &&
               storageAttribute(k.index)) {
        }
    }
}

void Ddl::addConstraint(const QString& owner, const QString& table, Constraint& k)
{
    const bool generated = k.name.isEmpty();
    if (generated)
        k.name = systemName();
    if (m_s.scalar(
               QStringLiteral(
                   "SELECT count(*) FROM kol_constraints WHERE owner = ? AND constraint_name = ?"),
               {owner, k.name})
            .toLongLong())
        throw DatabaseError(2264, QStringLiteral("name already used by an existing constraint"));
    for (const QString& c : std::as_const(k.columns))
        columnLength(owner, table, c);
    QVariant rOwner, rName, indexOwner, indexName, deleteRule;
    if (k.type == QLatin1String("P") || k.type == QLatin1String("U")) {
        if (k.type == QLatin1String("P") &&
            m_s.scalar(
                   QStringLiteral(
                       "SELECT count(*) FROM kol_constraints WHERE owner = ? AND table_name = ? AND"
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
                m_s.run(QStringLiteral("UPDATE kol_columns SET nullable = 'N' WHERE owner = ? AND "
                                       "table_name = ? AND column_name = ?"),
                        {owner, table, c});
    } else if (k.type == QLatin1String("R")) {
        const QList<QVariantList> target = m_s.rows(
            QStringLiteral(
                "SELECT constraint_name FROM kol_constraints WHERE owner = ? AND table_name = ? AND"
                " constraint_type IN ('P', 'U') ORDER BY constraint_type"),
            {k.refOwner, k.refTable});
        QString found;
        for (const QVariantList& r : target) {
            QStringList cols;
            for (const QVariantList& c : m_s.rows(
                     QStringLiteral("SELECT column_name FROM kol_cons_columns WHERE owner = ? AND"
                                    " constraint_name = ? ORDER BY position"),
                     {k.refOwner, r[0]}))
                cols.append(c[0].toString());
            if (k.refColumns.isEmpty() || cols == k.refColumns) {
                found = r[0].toString();
                break;
            }
        }
        if (found.isEmpty())
            throw DatabaseError(
                2270, QStringLiteral("no matching unique or primary key for this column-list"));
        rOwner = k.refOwner;
        rName = found;
        deleteRule = k.deleteRule;
    }
    m_s.run(QStringLiteral(
                "INSERT INTO kol_constraints VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            {owner, k.name, k.type, table,
             k.condition.isEmpty() ? QVariant() : QVariant(k.condition), rOwner, rName, deleteRule,
             k.enabled ? QStringLiteral("ENABLED") : QStringLiteral("DISABLED"),
             generated ? QStringLiteral("GENERATED NAME") : QStringLiteral("USER NAME"), m_now,
             indexOwner, indexName, validatedText(k.validate)});
    for (int i = 0; i < k.columns.size(); ++i)
        m_s.run(QStringLiteral("INSERT INTO kol_cons_columns VALUES (?, ?, ?, ?, ?)"),
                {owner, k.name, table, k.columns[i],
                 k.type == QLatin1String("C") ? QVariant() : QVariant(i + 1)});
    enforce(owner, k.name, k.validate);
}

std::optional<QPair<QString, QString>> Ddl::uniqueIndexOn(const QString& owner,
                                                          const QString& table,
                                                          const QStringList& columns,
                                                          const QString& preferred)
{
    std::optional<QPair<QString, QString>> found;
    for (const QVariantList& idx : m_s.rows(
             QStringLiteral("SELECT owner, index_name FROM kol_indexes WHERE table_owner = ? AND"
                            " table_name = ? AND uniqueness = 'UNIQUE'"),
             {owner, table})) {
        QStringList cols;
        for (const QVariantList& c : m_s.rows(
                 QStringLiteral("SELECT column_name FROM kol_ind_columns WHERE index_owner = ? AND"
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

QString Ddl::primaryKeyOf(const QString& owner, const QString& table)
{
    return m_s
        .scalar(
            QStringLiteral(
                "SELECT constraint_name FROM kol_constraints WHERE owner = ? AND table_name = ? AND"
                " constraint_type = 'P'"),
            {owner, table})
        .toString();
}

// The foreign keys of other tables that refer to a key of this one.
QList<QVariantList> Ddl::referencingKeys(const QString& owner, const QString& table)
{
    return m_s.rows(
        QStringLiteral(
            "SELECT r.owner, r.constraint_name, r.table_name, r.status FROM kol_constraints r JOIN"
            " kol_constraints k ON k.owner = r.r_owner AND k.constraint_name = r.r_constraint_name"
            " WHERE r.constraint_type = 'R' AND k.owner = ? AND k.table_name = ?"
            " AND NOT (r.owner = k.owner AND r.table_name = k.table_name)"),
        {owner, table});
}

void Ddl::dropConstraintRows(const QString& owner, const QString& constraint)
{
    dropConstraintTriggers(owner, constraint);
    m_s.run(QStringLiteral("DELETE FROM kol_constraints WHERE owner = ? AND constraint_name = ?"),
            {owner, constraint});
    m_s.run(QStringLiteral("DELETE FROM kol_cons_columns WHERE owner = ? AND constraint_name = ?"),
            {owner, constraint});
}

// DBA_CONSTRAINTS.VALIDATED: whether the rows there were checked when the constraint came on.
QString Ddl::validatedText(bool validated)
{
    return validated ? QStringLiteral("VALIDATED") : QStringLiteral("NOT VALIDATED");
}

// ENABLE or DISABLE [VALIDATE | NOVALIDATE] CONSTRAINT name | PRIMARY KEY [CASCADE].
void Ddl::alterConstraintStatus(const QString& owner, const QString& table, bool enable)
{
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
            throw DatabaseError(
                2432,
                QStringLiteral("cannot enable primary key - primary key not defined for table"));
    } else {
        expectKw("CONSTRAINT");
        k = name();
    }
    const bool cascade = acceptKw("CASCADE");
    const QString type =
        m_s.scalar(QStringLiteral("SELECT constraint_type FROM kol_constraints WHERE owner = ? AND"
                                  " constraint_name = ? AND table_name = ?"),
                   {owner, k, table})
            .toString();
    if (type.isEmpty())
        throw enable
            ? DatabaseError(
                  2430, QStringLiteral("cannot enable constraint (%1) - no such constraint").arg(k))
            : DatabaseError(
                  2431,
                  QStringLiteral("cannot disable constraint (%1) - no such constraint").arg(k));
    if (!enable && (type == QLatin1String("P") || type == QLatin1String("U"))) {
        // Foreign keys that rely on the key go first, and only when asked to.
        const QList<QVariantList> dependents = m_s.rows(
            QStringLiteral("SELECT owner, constraint_name FROM kol_constraints WHERE"
                           " r_owner = ? AND r_constraint_name = ? AND status = 'ENABLED'"),
            {owner, k});
        if (!dependents.isEmpty() && !cascade)
            throw DatabaseError(
                2297, QStringLiteral("cannot disable constraint (%1.%2) - dependencies exist")
                          .arg(owner, k));
        for (const QVariantList& d : dependents) {
            m_s.run(QStringLiteral("UPDATE kol_constraints SET status = 'DISABLED', validated "
                                   "= 'NOT VALIDATED', last_change = ?"
                                   " WHERE owner = ? AND constraint_name = ?"),
                    {m_now, d[0], d[1]});
            enforce(d[0].toString(), d[1].toString(), false);
        }
    }
    m_s.run(QStringLiteral("UPDATE kol_constraints SET status = ?, validated = ?, last_change "
                           "= ? WHERE owner = ? AND"
                           " constraint_name = ?"),
            {enable ? QStringLiteral("ENABLED") : QStringLiteral("DISABLED"),
             validatedText(validate), m_now, owner, k});
    enforce(owner, k, validate);
    touch(owner, table);
}

// DROP CONSTRAINT name | PRIMARY KEY [CASCADE], with the index that enforced the key.
void Ddl::dropConstraint(const QString& owner, const QString& table)
{
    QString k;
    if (acceptKw("PRIMARY")) {
        expectKw("KEY");
        k = primaryKeyOf(owner, table);
    } else {
        expectKw("CONSTRAINT");
        k = name();
    }
    const bool cascade = acceptKw("CASCADE");
    const QList<QVariantList> r = m_s.rows(
        QStringLiteral("SELECT index_owner, index_name FROM kol_constraints WHERE owner = ? AND"
                       " constraint_name = ? AND table_name = ?"),
        {owner, k, table});
    if (r.isEmpty())
        throw DatabaseError(2443,
                            QStringLiteral("Cannot drop constraint  - nonexistent constraint"));
    const QList<QVariantList> dependents =
        m_s.rows(QStringLiteral("SELECT owner, constraint_name FROM kol_constraints WHERE"
                                " r_owner = ? AND r_constraint_name = ?"),
                 {owner, k});
    if (!dependents.isEmpty() && !cascade)
        throw DatabaseError(
            2273, QStringLiteral("this unique/primary key is referenced by some foreign keys"));
    for (const QVariantList& d : dependents)
        dropConstraintRows(d[0].toString(), d[1].toString());
    dropConstraintRows(owner, k);
    if (!r[0][1].isNull()) {
        m_s.run(
            QStringLiteral("DROP INDEX IF EXISTS ") +
            q(QStringLiteral("idx:") + r[0][0].toString() + QLatin1Char('.') + r[0][1].toString()));
        dropIndexRows(r[0][0].toString(), r[0][1].toString());
    }
    touch(owner, table);
}

// ---- enforcement ------------------------------------------------------------------------------

// An enabled CHECK or FOREIGN KEY constraint is a few SQLite triggers named after it: the
// check of each row stored, the parent key's existence for a child row, and on the parent
// table what a deleted (or re-keyed) parent row does to its children. A disabled constraint
// has none. NOT NULL, PRIMARY KEY and UNIQUE are the columns' and the indexes' business.

QString Ddl::triggerName(const QString& owner, const QString& constraint, const char* what)
{
    return q(QStringLiteral("kc:") + owner + QLatin1Char('.') + constraint + QLatin1Char(':') +
             QLatin1String(what));
}

void Ddl::dropConstraintTriggers(const QString& owner, const QString& constraint)
{
    for (const char* what : {"ins", "upd", "pdel", "pupd"})
        m_s.run(QStringLiteral("DROP TRIGGER IF EXISTS ") + triggerName(owner, constraint, what));
}

QStringList Ddl::constraintColumns(const QString& owner, const QString& constraint)
{
    QStringList columns;
    for (const QVariantList& r :
         m_s.rows(QStringLiteral("SELECT column_name FROM kol_cons_columns WHERE owner = ? AND"
                                 " constraint_name = ? ORDER BY position"),
                  {owner, constraint}))
        columns.append(r[0].toString());
    return columns;
}

// "A = NEW.B AND ..." over two column lists, for the triggers.
QString Ddl::pairs(const QStringList& left, const QString& rightPrefix, const QStringList& right,
                   const QString& joiner)
{
    QStringList parts;
    for (int i = 0; i < left.size(); ++i)
        parts.append(q(left[i]) + QStringLiteral(" = ") + rightPrefix + q(right.value(i)));
    return parts.join(joiner);
}

// Builds a constraint's triggers again from its catalogue row: after it is added, enabled or
// disabled. `validate` checks the rows already stored first, with the error that names it.
void Ddl::enforce(const QString& owner, const QString& name, bool validate)
{
    dropConstraintTriggers(owner, name);
    const QList<QVariantList> found =
        m_s.rows(QStringLiteral("SELECT constraint_type, table_name, search_condition, r_owner,"
                                " r_constraint_name, delete_rule, status FROM kol_constraints"
                                " WHERE owner = ? AND constraint_name = ?"),
                 {owner, name});
    if (found.isEmpty() || found[0][6].toString() != QLatin1String("ENABLED"))
        return;
    EnforcedConstraint k;
    k.owner = owner;
    k.name = name;
    k.table = found[0][1].toString();
    k.storage = q(owner + QLatin1Char('.') + k.table);
    k.label = owner + QLatin1Char('.') + name;
    const QString type = found[0][0].toString();
    if (type == QLatin1String("C"))
        return enforceCheck(k, found[0][2].toString(), validate);
    if (type != QLatin1String("R"))
        return;
    k.childColumns = constraintColumns(owner, name);
    const QString parentOwner = found[0][3].toString();
    const QString parentKey = found[0][4].toString();
    const QString parentTable =
        m_s.scalar(QStringLiteral("SELECT table_name FROM kol_constraints WHERE owner = ? AND "
                                  "constraint_name = ?"),
                   {parentOwner, parentKey})
            .toString();
    k.parentColumns = constraintColumns(parentOwner, parentKey);
    k.parent = q(parentOwner + QLatin1Char('.') + parentTable);
    k.deleteRule = found[0][5].toString();
    if (validate)
        validateParentKeys(k);
    createChildTriggers(k);
    createParentTriggers(k);
}

// ---- CHECK ------------------------------------------------------------------------------------

void Ddl::enforceCheck(const EnforcedConstraint& k, const QString& condition, bool validate)
{
    static const QRegularExpression notNull(QStringLiteral("^\"[^\"]+\" IS NOT NULL$"));
    if (notNull.match(condition).hasMatch())
        return;
    const QString sql = checkConditionSql(k.owner, condition);
    if (validate)
        validateCheck(k, sql);
    createCheckTriggers(k, sql);
}

// The condition in SQLite's terms, its names read as the constraint's owner reads them.
QString Ddl::checkConditionSql(const QString& owner, const QString& condition)
{
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
    return sql;
}

void Ddl::validateCheck(const EnforcedConstraint& k, const QString& sql)
{
    if (m_s.scalar(QStringLiteral("SELECT count(*) FROM %1 WHERE NOT (%2)").arg(k.storage, sql))
            .toLongLong() > 0)
        throw DatabaseError(
            2293, QStringLiteral("cannot validate (%1) - check constraint violated").arg(k.label));
}

// The condition names the row's columns: the trigger shows it NEW's values under them.
void Ddl::createCheckTriggers(const EnforcedConstraint& k, const QString& sql)
{
    QStringList projection;
    for (const QVariantList& c :
         m_s.rows(QStringLiteral(
                      "SELECT column_name FROM kol_columns WHERE owner = ? AND table_name = ?"),
                  {k.owner, k.table}))
        projection.append(QStringLiteral("NEW.") + q(c[0].toString()) + QStringLiteral(" AS ") +
                          q(c[0].toString()));
    const QString body =
        QStringLiteral(
            " ON %1 BEGIN SELECT RAISE(ABORT, 'ORA-02290: check constraint (%2) violated') FROM"
            " (SELECT %3) WHERE NOT (%4); END")
            .arg(k.storage, k.label, projection.join(QStringLiteral(", ")), sql);
    m_s.run(QStringLiteral("CREATE TRIGGER ") + triggerName(k.owner, k.name, "ins") +
            QStringLiteral(" BEFORE INSERT") + body);
    m_s.run(QStringLiteral("CREATE TRIGGER ") + triggerName(k.owner, k.name, "upd") +
            QStringLiteral(" BEFORE UPDATE") + body);
}

// ---- FOREIGN KEY ------------------------------------------------------------------------------

// A child row with a NULL in its key refers to nothing and needs no parent.
void Ddl::validateParentKeys(const EnforcedConstraint& k)
{
    QStringList present;
    for (const QString& c : k.childColumns)
        present.append(QStringLiteral("c.") + q(c) + QStringLiteral(" IS NOT NULL"));
    QStringList match;
    for (int i = 0; i < k.childColumns.size(); ++i)
        match.append(QStringLiteral("p.") + q(k.parentColumns.value(i)) + QStringLiteral(" = c.") +
                     q(k.childColumns[i]));
    if (m_s.scalar(QStringLiteral("SELECT count(*) FROM %1 AS c WHERE %2 AND NOT EXISTS "
                                  "(SELECT 1 FROM %3 AS p WHERE %4)")
                       .arg(k.storage, present.join(QStringLiteral(" AND ")), k.parent,
                            match.join(QStringLiteral(" AND "))))
            .toLongLong() > 0)
        throw DatabaseError(
            2298, QStringLiteral("cannot validate (%1) - parent keys not found").arg(k.label));
}

// On the child table: a row stored or re-keyed needs its parent, unless its key holds a NULL.
void Ddl::createChildTriggers(const EnforcedConstraint& k)
{
    QStringList childSet, childQuoted;
    for (const QString& c : k.childColumns) {
        childSet.append(QStringLiteral("NEW.") + q(c) + QStringLiteral(" IS NOT NULL"));
        childQuoted.append(q(c));
    }
    const QString missingParent =
        QStringLiteral(
            "SELECT RAISE(ABORT, 'ORA-02291: integrity constraint (%1) violated - parent key not"
            " found') WHERE NOT EXISTS (SELECT 1 FROM %2 WHERE %3); END")
            .arg(k.label, k.parent,
                 pairs(k.parentColumns, QStringLiteral("NEW."), k.childColumns,
                       QStringLiteral(" AND ")));
    m_s.run(QStringLiteral("CREATE TRIGGER %1 BEFORE INSERT ON %2 WHEN %3 BEGIN ")
                .arg(triggerName(k.owner, k.name, "ins"), k.storage,
                     childSet.join(QStringLiteral(" AND "))) +
            missingParent);
    m_s.run(QStringLiteral("CREATE TRIGGER %1 BEFORE UPDATE OF %2 ON %3 WHEN %4 BEGIN ")
                .arg(triggerName(k.owner, k.name, "upd"), childQuoted.join(QStringLiteral(", ")),
                     k.storage, childSet.join(QStringLiteral(" AND "))) +
            missingParent);
}

// On the parent table: a deleted parent row does what the delete rule says to its children; a
// re-keyed one is refused while it has children.
void Ddl::createParentTriggers(const EnforcedConstraint& k)
{
    const QString children = childrenOf(k);
    const QString childFound = QStringLiteral(
                                   "SELECT RAISE(ABORT, 'ORA-02292: integrity constraint (%1) "
                                   "violated - child record found')"
                                   " WHERE EXISTS (SELECT 1 FROM %2);")
                                   .arg(k.label, children);
    m_s.run(QStringLiteral("CREATE TRIGGER %1 BEFORE DELETE ON %2 BEGIN %3 END")
                .arg(triggerName(k.owner, k.name, "pdel"), k.parent,
                     parentDeleteAction(k, childFound)));
    QStringList parentQuoted, changed;
    for (const QString& c : k.parentColumns) {
        parentQuoted.append(q(c));
        changed.append(QStringLiteral("OLD.") + q(c) + QStringLiteral(" IS NOT NEW.") + q(c));
    }
    m_s.run(QStringLiteral("CREATE TRIGGER %1 BEFORE UPDATE OF %2 ON %3 WHEN %4 BEGIN %5 END")
                .arg(triggerName(k.owner, k.name, "pupd"), parentQuoted.join(QStringLiteral(", ")),
                     k.parent, changed.join(QStringLiteral(" OR ")), childFound));
}

// "CHILD WHERE key = OLD.parent key": the children of the parent row a trigger is looking at.
QString Ddl::childrenOf(const EnforcedConstraint& k)
{
    return QStringLiteral("%1 WHERE %2")
        .arg(k.storage, pairs(k.childColumns, QStringLiteral("OLD."), k.parentColumns,
                              QStringLiteral(" AND ")));
}

// The body of the parent's delete trigger: refuse while children exist (NO ACTION), delete them
// (CASCADE), or empty their keys (SET NULL, refused for a key column that is NOT NULL).
QString Ddl::parentDeleteAction(const EnforcedConstraint& k, const QString& childFound)
{
    const QString children = childrenOf(k);
    if (k.deleteRule == QLatin1String("CASCADE"))
        return QStringLiteral("DELETE FROM ") + children + QLatin1Char(';');
    if (k.deleteRule != QLatin1String("SET NULL"))
        return childFound;
    QString onDelete;
    QStringList nulls;
    for (const QString& c : k.childColumns) {
        nulls.append(q(c) + QStringLiteral(" = NULL"));
        if (m_s.scalar(QStringLiteral("SELECT nullable FROM kol_columns WHERE owner = ? AND "
                                      "table_name = ? AND column_name = ?"),
                       {k.owner, k.table, c})
                .toString() == QLatin1String("N"))
            onDelete += QStringLiteral(
                            "SELECT RAISE(ABORT, 'ORA-01407: cannot update "
                            "(\"%1\".\"%2\".\"%3\") to NULL') WHERE EXISTS"
                            " (SELECT 1 FROM %4);")
                            .arg(k.owner, k.table, c, children);
    }
    onDelete += QStringLiteral("UPDATE %1 SET %2 WHERE %3;")
                    .arg(k.storage, nulls.join(QStringLiteral(", ")),
                         pairs(k.childColumns, QStringLiteral("OLD."), k.parentColumns,
                               QStringLiteral(" AND ")));
    return onDelete;
}

}  // namespace ddl

}  // namespace kolmara::db::embedded
