// A fresh embedded demo instance in a temporary program folder, for tests that drive windows
// against the database. While it lives, the program folder points at the temporary folder, whose
// KOLMARA.INI registers the service DEMO and carries one saved login (SYSTEM, password shown), and
// the engine's clock stands still at the given time.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace kolmara::test {

class DemoDatabase {
public:
    // The engine's time unless a test sets its own: the demo instance's "today".
    static QDateTime defaultNow() { return QDateTime(QDate(2003, 5, 14), QTime(13, 5, 22)); }

    explicit DemoDatabase(const QDateTime& engineNow = defaultNow());
    ~DemoDatabase();
    DemoDatabase(const DemoDatabase&) = delete;
    DemoDatabase& operator=(const DemoDatabase&) = delete;

    QString folder() const { return m_dir.path(); }
    QString iniPath() const;
    QString databaseFile() const;

    // Seeds the instance, when the first connection creates it, from the demo's own scripts and
    // then `scripts` (files named NN_name.sql that sort after the demo's). False when one of them
    // cannot be copied.
    bool addSeedScripts(const QStringList& scripts);

private:
    QTemporaryDir m_dir;
    std::unique_ptr<QTemporaryDir> m_seed;
};

}  // namespace kolmara::test
