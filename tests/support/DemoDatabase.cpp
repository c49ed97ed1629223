// The temporary demo instance of the tests.
#include "DemoDatabase.h"

#include "common/KOLMCOMM.h"
#include "db/embedded/Engine.h"

#include <QFile>

namespace kolmara::test {

DemoDatabase::DemoDatabase(const QDateTime& engineNow)
{
    QFile ini(iniPath());
    if (ini.open(QIODevice::WriteOnly)) {
        const QByteArray text =
            "[System Version]\r\nSystemId=KOLMARA\r\nVersion=1.0\r\nVerDate=2003-05-14\r\n"
            "BackupDrive=" + m_dir.path().toUtf8() + "/\r\nBackupPath=BACKUP/\r\n"
            "OraclePath=/usr/lib/oracle/\r\nDateTime=YYYYMMDD HH24MISS\r\nExpType=\"\",\r\n"
            "Commit=10\r\nCount=1\r\n"
            "\r\n[System Logging]\r\n1=DEMO/SYSTEM/" + EncodePassword(QStringLiteral("MANAGER"), SavedLoginKey).toLatin1() +
            "/Y/\r\n\r\n[Embedded Databases]\r\nDEMO=demo.db\r\n";
        ini.write(text);
        ini.close();
    }
    setProgramFolderForTesting(m_dir.path());
    db::embedded::setEngineClockForTesting([engineNow] { return engineNow; });
}

DemoDatabase::~DemoDatabase()
{
    db::embedded::setEngineClockForTesting({});
    setProgramFolderForTesting(QString());
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
