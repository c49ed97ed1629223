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
        if (validate &&
            m_s.scalar(QStringLiteral("SELECT count(*) FROM %1 WHERE NOT (%2)").arg(storage, sql))
                    .toLongLong() > 0)
            throw DatabaseError(
                2293,
                QStringLiteral("cannot validate (%1) - check constraint violated").arg(label));
        QStringList projection;
        for (const QVariantList& c :
             m_s.rows(QStringLiteral(
                          "SELECT column_name FROM kol_columns WHERE owner = ? AND table_name = ?"),
                      {owner, table}))
            projection.append(QStringLiteral("NEW.") + q(c[0].toString()) + QStringLiteral(" AS ") +
                              q(c[0].toString()));
        const QString body =
            QStringLiteral(
                " ON %1 BEGIN SELECT RAISE(ABORT, 'ORA-02290: check constraint (%2) violated') FROM"
                " (SELECT %3) WHERE NOT (%4); END")
                .arg(storage, label, projection.join(QStringLiteral(", ")), sql);
        m_s.run(QStringLiteral("CREATE TRIGGER ") + triggerName(owner, name, "ins") +
                QStringLiteral(" BEFORE INSERT") + body);
        m_s.run(QStringLiteral("CREATE TRIGGER ") + triggerName(owner, name, "upd") +
                QStringLiteral(" BEFORE UPDATE") + body);
        return;
    }
    if (type != QLatin1String("R"))
        return;
    const QStringList childColumns = constraintColumns(owner, name);
    const QString parentOwner = found[0][3].toString();
    const QString parentKey = found[0][4].toString();
    const QString parentTable =
        m_s.scalar(QStringLiteral("SELECT table_name FROM kol_constraints WHERE owner = ? AND "
                                  "constraint_name = ?"),
                   {parentOwner, parentKey})
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
            match.append(QStringLiteral("p.") + q(parentColumns.value(i)) +
                         QStringLiteral(" = c.") + q(childColumns[i]));
        if (m_s.scalar(QStringLiteral("SELECT count(*) FROM %1 AS c WHERE %2 AND NOT EXISTS "
                                      "(SELECT 1 FROM %3 AS p WHERE %4)")
                           .arg(storage, present.join(QStringLiteral(" AND ")), parent,
                                match.join(QStringLiteral(" AND "))))
                .toLongLong() > 0)
            throw DatabaseError(
                2298, QStringLiteral("cannot validate (%1) - parent keys not found").arg(label));
    }
    const QString missingParent =
        QStringLiteral(
            "SELECT RAISE(ABORT, 'ORA-02291: integrity constraint (%1) violated - parent key not"
            " found') WHERE NOT EXISTS (SELECT 1 FROM %2 WHERE %3); END")
            .arg(label, parent,
                 pairs(parentColumns, QStringLiteral("NEW."), childColumns,
                       QStringLiteral(" AND ")));
    m_s.run(
        QStringLiteral("CREATE TRIGGER %1 BEFORE INSERT ON %2 WHEN %3 BEGIN ")
            .arg(triggerName(owner, name, "ins"), storage, childSet.join(QStringLiteral(" AND "))) +
        missingParent);
    m_s.run(QStringLiteral("CREATE TRIGGER %1 BEFORE UPDATE OF %2 ON %3 WHEN %4 BEGIN ")
                .arg(triggerName(owner, name, "upd"), childQuoted.join(QStringLiteral(", ")),
                     storage, childSet.join(QStringLiteral(" AND "))) +
            missingParent);
    const QString children = QStringLiteral("%1 WHERE %2")
                                 .arg(storage, pairs(childColumns, QStringLiteral("OLD."),
                                                     parentColumns, QStringLiteral(" AND ")));
    const QString childFound = QStringLiteral(
                                   "SELECT RAISE(ABORT, 'ORA-02292: integrity constraint (%1) "
                                   "violated - child record found')"
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
            if (m_s.scalar(QStringLiteral("SELECT nullable FROM kol_columns WHERE owner = ? AND "
                                          "table_name = ? AND column_name = ?"),
                           {owner, table, c})
                    .toString() == QLatin1String("N"))
                onDelete += QStringLiteral(
                                "SELECT RAISE(ABORT, 'ORA-01407: cannot update "
                                "(\"%1\".\"%2\".\"%3\") to NULL') WHERE EXISTS"
                                " (SELECT 1 FROM %4);")
                                .arg(owner, table, c, children);
        }
        onDelete += QStringLiteral("UPDATE %1 SET %2 WHERE %3;")
                        .arg(storage, nulls.join(QStringLiteral(", ")),
                             pairs(childColumns, QStringLiteral("OLD."), parentColumns,
                                   QStringLiteral(" AND ")));
    }
    m_s.run(QStringLiteral("CREATE TRIGGER %1 BEFORE DELETE ON %2 BEGIN %3 END")
                .arg(triggerName(owner, name, "pdel"), parent, onDelete));
    QStringList parentQuoted;
    for (const QString& c : parentColumns)
        parentQuoted.append(q(c));
    m_s.run(QStringLiteral("CREATE TRIGGER %1 BEFORE UPDATE OF %2 ON %3 WHEN %4 BEGIN %5 END")
                .arg(triggerName(owner, name, "pupd"), parentQuoted.join(QStringLiteral(", ")),
                     parent, changed.join(QStringLiteral(" OR ")), childFound));
}

}  // namespace ddl

}  // namespace kolmara::db::embedded
