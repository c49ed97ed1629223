// A temporary program folder whose KOLMARA.INI registers the embedded service TEST, seeded from a
// chosen script folder (the demo instance's scripts or a test's own), with the engine clock fixed.
#pragma once

#include "common/KOLMCOMM.h"
#include "db/Query.h"
#include "db/Session.h"
#include "db/embedded/Engine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace kolmara::test {

inline QString demoScriptFolder()
{
    return QDir(qEnvironmentVariable("KOLMARA_SOURCE_DIR"))
        .filePath(QStringLiteral("src/db/embedded/demo"));
}

class EngineFixture {
public:
    // scripts: a folder of NN_name.sql files; empty means the bootstrap only.
    explicit EngineFixture(const QString& scripts,
                           const QDateTime& now = QDateTime(QDate(2003, 5, 15), QTime(14, 0, 0)))
    {
        QFile ini(m_dir.filePath(QStringLiteral("KOLMARA.INI")));
        if (ini.open(QIODevice::WriteOnly))
            ini.write("[Embedded Databases]\r\nTEST=data/test.db\r\n");
        if (scripts.isEmpty())
            m_empty.emplace();
        m_scripts = scripts.isEmpty() ? m_empty->path() : scripts;
        m_now = now;
        activate();
    }
    // Makes this fixture's folder, scripts and clock the current ones again (after another
    // fixture).
    void activate()
    {
        setProgramFolderForTesting(m_dir.path());
        db::embedded::setSeedScriptFolderForTesting(m_scripts);
        setNow(m_now);
    }
    ~EngineFixture()
    {
        db::embedded::setEngineClockForTesting({});
        db::embedded::setSeedScriptFolderForTesting(QString());
        setProgramFolderForTesting(QString());
    }
    void setNow(const QDateTime& now)
    {
        db::embedded::setEngineClockForTesting([now] { return now; });
    }
    QString databaseFile() const { return m_dir.filePath(QStringLiteral("data/test.db")); }

    std::unique_ptr<db::Session> connect(const QString& user, const QString& password) const
    {
        auto s = std::make_unique<db::Session>();
        s->setServer(QStringLiteral("test"));
        s->setUsername(user);
        s->setPassword(password);
        s->setLoginPrompt(false);
        s->connect();
        return s;
    }

private:
    QTemporaryDir m_dir;
    std::optional<QTemporaryDir> m_empty;
    QString m_scripts;
    QDateTime m_now;
};

// Runs a statement that returns no rows.
inline void exec(db::Session& s, const QString& sql)
{
    db::Query q(&s);
    q.addSql(sql);
    q.execSql();
}

// The rows of a query as text lines, fields (as their own text form) joined by '|'.
inline QStringList rows(db::Session& s, const QString& sql,
                        const QHash<QString, QString>& binds = {})
{
    db::Query q(&s);
    q.sql() = sql.split(QLatin1Char('\n'));
    for (auto it = binds.begin(); it != binds.end(); ++it)
        q.paramByName(it.key()).setAsString(it.value());
    q.open();
    QStringList out;
    for (q.first(); !q.eof(); q.next()) {
        QStringList fields;
        for (int i = 0; i < q.fieldCount(); ++i)
            fields.append(q.field(i).value().text);
        out.append(fields.join(QLatin1Char('|')));
    }
    return out;
}

// The error text a statement fails with; empty when it succeeds.
inline QString errorOf(db::Session& s, const QString& sql)
{
    try {
        db::Query q(&s);
        q.addSql(sql);
        if (sql.trimmed().startsWith(QStringLiteral("SELECT"), Qt::CaseInsensitive))
            q.open();
        else
            q.execSql();
    } catch (const db::DatabaseError& e) {
        return e.message();
    }
    return {};
}

}  // namespace kolmara::test
