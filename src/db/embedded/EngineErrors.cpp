// SQLite's errors in Oracle's words: the ORA- error of a failed statement, naming the index of a
// violated unique key, and the file's own problems through fileProblem.
#include "db/embedded/Engine.h"

#include "db/embedded/EngineSupport.h"

#include <QRegularExpression>

#include <sqlite3.h>

namespace kolmara::db::embedded {

namespace {

DatabaseError oraMessage(const QString& message)
{
    static const QRegularExpression re(QStringLiteral("^ORA-(\\d{5}): (.*)$"),
                                       QRegularExpression::DotMatchesEverythingOption);
    const auto m = re.match(message);
    if (m.hasMatch())
        return DatabaseError(m.captured(1).toInt(), m.captured(2));
    return DatabaseError(900, QStringLiteral("invalid SQL statement"));
}

}  // namespace

DatabaseError EngineSession::mapSqliteError(int rc, const QString& message)
{
    if (message.startsWith(QStringLiteral("ORA-")))
        return oraMessage(message);
    if (rc == SQLITE_CONSTRAINT_UNIQUE || rc == SQLITE_CONSTRAINT_PRIMARYKEY) {
        // "UNIQUE constraint failed: OWNER.TABLE.COL, OWNER.TABLE.COL2"
        const QStringList items = message.mid(message.indexOf(QLatin1Char(':')) + 1)
                                      .trimmed()
                                      .split(QStringLiteral(", "));
        QStringList columns;
        QString storage;
        for (const QString& item : items) {
            const int dot = int(item.lastIndexOf(QLatin1Char('.')));
            storage = item.left(dot);
            columns.append(item.mid(dot + 1));
        }
        const int dot = int(storage.indexOf(QLatin1Char('.')));
        const QString owner = storage.left(dot), table = storage.mid(dot + 1);
        try {
            for (const QVariantList& idx : rows(QStringLiteral("SELECT owner, index_name FROM"
                                                              " kol_indexes WHERE table_owner = ?"
                                                              " AND table_name = ? AND uniqueness ="
                                                              " 'UNIQUE'"),
                                                 {owner, table})) {
                QStringList cols;
                for (const QVariantList& c : rows(QStringLiteral("SELECT column_name FROM"
                                                                " kol_ind_columns WHERE index_owner"
                                                                " = ? AND index_name = ? ORDER BY"
                                                                " column_position"),
                                                   {idx[0], idx[1]}))
                    cols.append(c[0].toString());
                if (QSet<QString>(cols.begin(), cols.end())
                    == QSet<QString>(columns.begin(), columns.end()))
                    return DatabaseError(1, QStringLiteral("unique constraint (%1.%2) violated")
                                                .arg(idx[0].toString(), idx[1].toString()));
            }
        } catch (const DatabaseError&) {
        }
        return DatabaseError(
            1, QStringLiteral("unique constraint (%1.%2) violated").arg(owner, table));
    }
    const int primary = rc & 0xff;
    if (primary == SQLITE_INTERRUPT)
        return DatabaseError(1013, QStringLiteral("user requested cancel of current operation"));
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
        return DatabaseError(54, QStringLiteral("resource busy and acquire with NOWAIT specified"));
    if (std::optional<DatabaseError> problem = fileProblem(rc, m_file, message))
        return *problem;
    if (message.startsWith(QStringLiteral("no such column: "))) {
        const QStringList parts = message.mid(16).split(QLatin1Char('.'));
        QStringList quoted;
        for (const QString& p : parts)
            quoted.append(QLatin1Char('"') + p + QLatin1Char('"'));
        return DatabaseError(
            904, QStringLiteral("%1: invalid identifier").arg(quoted.join(QLatin1Char('.'))));
    }
    if (message.startsWith(QStringLiteral("ambiguous column name")))
        return DatabaseError(918, QStringLiteral("column ambiguously defined"));
    if (message.startsWith(QStringLiteral("no such table"))
        || message.startsWith(QStringLiteral("no such view")))
        return DatabaseError(942, QStringLiteral("table or view does not exist"));
    if (message.contains(QStringLiteral("wrong number of arguments")))
        return DatabaseError(909, QStringLiteral("invalid number of arguments"));
    if (message.contains(QStringLiteral("misuse of aggregate"))
        || message.contains(QStringLiteral("aggregate functions are not allowed")))
        return DatabaseError(934, QStringLiteral("group function is not allowed here"));
    if (message.contains(QStringLiteral("SELECTs to the left and right")))
        return DatabaseError(1789,
                             QStringLiteral("query block has incorrect number of result columns"));
    if (message.contains(QStringLiteral("parser stack overflow"))
        || message.startsWith(QStringLiteral("Expression tree is too large")))
        return nestedTooDeeply();
    if (message.contains(QStringLiteral("syntax error")))
        return DatabaseError(933, QStringLiteral("SQL command not properly ended"));
    if (message.contains(QStringLiteral("ORDER BY term")))
        return DatabaseError(
            1785, QStringLiteral("ORDER BY item must be the number of a SELECT-list expression"));
    return DatabaseError(900, QStringLiteral("invalid SQL statement"));
}

}  // namespace kolmara::db::embedded
