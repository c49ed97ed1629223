// A fresh embedded demo instance in a temporary program folder, for tests that drive windows
// against the database. While it lives, the program folder points at the temporary folder, whose
// KOLMARA.INI registers the service DEMO and carries one saved login (SYSTEM, password shown), and
// the engine's clock stands still at the given time.
#pragma once

#include <QDateTime>
#include <QString>
#include <QTemporaryDir>

namespace kolmara::test {

class DemoDatabase {
public:
    explicit DemoDatabase(const QDateTime& engineNow = QDateTime(QDate(2003, 5, 14), QTime(13, 5, 22)));
    ~DemoDatabase();
    DemoDatabase(const DemoDatabase&) = delete;
    DemoDatabase& operator=(const DemoDatabase&) = delete;

    QString folder() const { return m_dir.path(); }
    QString iniPath() const;
    QString databaseFile() const;

private:
    QTemporaryDir m_dir;
};

}  // namespace kolmara::test
