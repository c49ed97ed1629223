// The DDL reader behind executeDdl, shared by Ddl.cpp and the DdlTables, DdlConstraints,
// DdlObjects and DdlAccounts files: one object per statement, reading its tokens and writing the
// SQLite storage and the kol_* catalogue rows together. Private to the engine's DDL files.
#pragma once

#include "db/DatabaseError.h"
#include "db/embedded/SqlLexer.h"
#include "db/embedded/SqlTranslator.h"

#include <QPair>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace kolmara::db::embedded {

class EngineSession;

namespace ddl {

inline QString q(const QString& name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

inline DatabaseError insufficient()
{
    return DatabaseError(1031, QStringLiteral("insufficient privileges"));
}

struct Storage {
    QString tablespace;
    qint64 pctFree = -1, pctUsed = -1, iniTrans = -1, maxTrans = -1, initial = -1, next = -1,
           minExtents = -1, maxExtents = -1, pctIncrease = -1, freelists = -1;
};

inline QVariant opt(qint64 v, qint64 fallback = -1)
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

// A constraint as its enforcement builds its triggers: where it lives, and for a foreign key both
// column lists, the parent table and the delete rule.
struct EnforcedConstraint {
    QString owner, name, table;
    QString storage;  // the table's SQLite name, quoted
    QString label;    // OWNER.NAME, as the errors name it
    QStringList childColumns, parentColumns;
    QString parent;  // the parent table's SQLite name, quoted
    QString deleteRule;
};

class Ddl : private TokenCursor {
public:
    Ddl(EngineSession& s, const QList<Token>& t, const QString& sql);

    void run();

private:
    // Ddl.cpp: tokens, catalogue helpers, storage clauses, the statement kinds
    bool atEnd() const;
    void expectKw(const char* kw);
    void expectOp(const char* op);
    QPair<QString, QString> qualified();
    qint64 number();
    qint64 size();
    QString sourceFrom(int tokenIndex, int endToken) const;
    int skipGroup();
    void requireSchema(const QString& owner);
    void requireFree(const QString& owner, const QString& n);
    qint64 counter(const char* key);
    qint64 addObject(const QString& owner, const QString& n, const QString& type,
                     const QString& baseOwner = {}, const QString& baseName = {},
                     const QString& status = QStringLiteral("VALID"), bool generated = false);
    void touch(const QString& owner, const QString& n);
    QString systemName();
    QString defaultTablespace(const QString& owner);
    QString objectTypeOf(const QString& owner, const QString& n);
    void dropObjectRows(const QString& owner, const QString& n, const QString& type);
    bool storageAttribute(Storage& st);
    void create();
    void drop();
    void alter();

    // DdlTables.cpp: tables and columns
    Column columnType(const QString& colName);
    QStringList columnList();
    QList<Column> columnDefinitions(QList<Constraint>& constraints, bool allowConstraints);
    static void refuseDuplicate(const QList<Column>& columns, const QString& name);
    void addColumns(const QString& owner, const QString& table, QList<Column>& columns, int firstId,
                    bool fixed);
    int columnLength(const QString& owner, const QString& table, const QString& column);
    void createTable(bool fixed);
    QList<Column> queryColumns(const QStringList& names);
    void insertQueryRows(const QString& owner, const QString& table, int queryAt);
    void dropTableRows(const QString& owner, const QString& table);
    void dropTable(const QString& owner, const QString& n);
    void truncate();
    void analyze();
    void alterTable();
    void alterTableAdd(const QString& owner, const QString& table);
    void comment();

    // DdlConstraints.cpp: constraints and their enforcement
    bool constraint(QList<Constraint>& out, Column* column);
    void references(Constraint& k);
    QString checkCondition();
    void usingIndex(Constraint& k);
    void addConstraint(const QString& owner, const QString& table, Constraint& k);
    std::optional<QPair<QString, QString>> uniqueIndexOn(const QString& owner, const QString& table,
                                                         const QStringList& columns,
                                                         const QString& preferred);
    QString primaryKeyOf(const QString& owner, const QString& table);
    QList<QVariantList> referencingKeys(const QString& owner, const QString& table);
    void dropConstraintRows(const QString& owner, const QString& constraint);
    static QString validatedText(bool validated);
    void alterConstraintStatus(const QString& owner, const QString& table, bool enable);
    void dropConstraint(const QString& owner, const QString& table);
    static QString triggerName(const QString& owner, const QString& constraint, const char* what);
    void dropConstraintTriggers(const QString& owner, const QString& constraint);
    QStringList constraintColumns(const QString& owner, const QString& constraint);
    static QString pairs(const QStringList& left, const QString& rightPrefix,
                         const QStringList& right, const QString& joiner);
    // Enforcement, in the order it runs: the CHECK steps, then the FOREIGN KEY ones.
    void enforce(const QString& owner, const QString& name, bool validate);
    void enforceCheck(const EnforcedConstraint& k, const QString& condition, bool validate);
    QString checkConditionSql(const QString& owner, const QString& condition);
    void validateCheck(const EnforcedConstraint& k, const QString& sql);
    void createCheckTriggers(const EnforcedConstraint& k, const QString& sql);
    void validateParentKeys(const EnforcedConstraint& k);
    void createChildTriggers(const EnforcedConstraint& k);
    void createParentTriggers(const EnforcedConstraint& k);
    static QString childrenOf(const EnforcedConstraint& k);
    QString parentDeleteAction(const EnforcedConstraint& k, const QString& childFound);

    // DdlObjects.cpp: indexes, views, synonyms, sequences, triggers, other objects
    void createIndexStatement(bool unique);
    void createIndex(const QString& owner, const QString& indexName, const QString& tableOwner,
                     const QString& table, const QStringList& columns, bool unique,
                     const Storage& st, bool generated);
    void dropIndexRows(const QString& owner, const QString& n);
    void createView(bool orReplace, bool force);
    void viewColumns(const QString& owner, const QString& view, const QString& storage,
                     const QList<ResultColumn>& known);
    void dropView(const QString& owner, const QString& view, bool keepPrivileges);
    void createSynonym(bool isPublic, bool orReplace);
    void createSequence();
    void createTrigger(bool orReplace);
    void createProgramUnit(const QString& type, bool orReplace);
    void createDatabaseLink(bool isPublic);
    void createFixedPackage();
    void alterRollbackSegment();
    void dropObject(const QString& kind, const QString& owner, const QString& n);
    void dropPublicSynonym();
    void alterTrigger();

    // DdlAccounts.cpp: users, roles, grants
    void createUser();
    void createRole();
    void userOptions(QString& defaultTs, QString& tempTs, QString& profile, bool& locked,
                     bool& expired);
    void alterUser();
    void dropUser(bool role);
    void grant(bool give);
    QPair<QString, QString> resolveObject(QString owner, QString n, bool qualifiedName);

    EngineSession& m_s;
    const QString& m_src;
    QString m_now;
};

}  // namespace ddl

}  // namespace kolmara::db::embedded
