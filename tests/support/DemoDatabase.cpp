// The temporary demo instance of the tests.
#include "DemoDatabase.h"

#include "common/KOLMCOMM.h"
#include "db/embedded/Engine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kolmara::test {

DemoDatabase::DemoDatabase(const QDateTime& engineNow)
{
    QFile ini(iniPath());
    if (ini.open(QIODevice::WriteOnly)) {
        const QByteArray text =
            "[System Version]\r\nSystemId=KOLMARA\r\nVersion=1.0\r\nVerDate=2003-05-14\r\n"
            "BackupDrive=" +
            m_dir.path().toUtf8() +
            "/\r\nBackupPath=BACKUP/\r\n"
            "OraclePath=/usr/lib/oracle/\r\nDateTime=YYYYMMDD HH24MISS\r\nExpType=\"\",\r\n"
            "Commit=10\r\nCount=1\r\n"
            "\r\n[System Logging]\r\n1=DEMO/SYSTEM/" +
            EncodePassword(QStringLiteral("MANAGER"), SavedLoginKey).toLatin1() +
            "/Y/\r\n\r\n[Embedded Databases]\r\nDEMO=demo.db\r\n";
        ini.write(text);
        ini.close();
    }
    setProgramFolderForTesting(m_dir.path());
    db::embedded::setEngineClockForTesting([engineNow] { return engineNow; });
}

DemoDatabase::~DemoDatabase()
{
    if (m_seed)
        db::embedded::setSeedScriptFolderForTesting(QString());
    db::embedded::setEngineClockForTesting({});
    setProgramFolderForTesting(QString());
}

bool DemoDatabase::addSeedScripts(const QStringList& scripts)
{
    if (!m_seed) {
        m_seed = std::make_unique<QTemporaryDir>();
        const QDir demo(QStringLiteral(":/demo"));
        for (const QString& script : demo.entryList({QStringLiteral("*.sql")})) {
            if (!QFile::copy(demo.filePath(script), m_seed->filePath(script)))
                return false;
        }
        db::embedded::setSeedScriptFolderForTesting(m_seed->path());
    }
    for (const QString& script : scripts) {
        if (!QFile::copy(script, m_seed->filePath(QFileInfo(script).fileName())))
            return false;
    }
    return true;
}

QString DemoDatabase::iniPath() const
{
    return m_dir.filePath(QStringLiteral("KOLMARA.INI"));
}

QString DemoDatabase::databaseFile() const
{
    return m_dir.filePath(QStringLiteral("demo.db"));
}

}  // namespace kolmara::test
