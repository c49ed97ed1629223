// Driver selection by service name.
#include "db/DriverRegistry.h"

#include "common/KOLMCOMM.h"
#include "common/ProfileFile.h"
#include "common/SqlScanner.h"
#include "db/embedded/EmbeddedDriver.h"
#include "db/oci/OciDriver.h"

#include <QDir>
#include <QFileInfo>

namespace kolmara::db {

namespace {

std::shared_ptr<Driver>& clientDriver()
{
    static std::shared_ptr<Driver> driver;
    return driver;
}

}  // namespace

QString embeddedDatabaseFile(const QString& server)
{
    const QString name = server.trimmed();
    if (name.isEmpty())
        return {};
    const ProfileFile settings(settingsFilePath());
    QString file;
    const QStringList keys = settings.keyNames(QStringLiteral("Embedded Databases"));
    for (const QString& key : keys) {
        if (key.trimmed().compare(name, Qt::CaseInsensitive) == 0) {
            file = settings.readString(QStringLiteral("Embedded Databases"), key.trimmed());
            break;
        }
    }
    file = file.trimmed();
    if (file.isEmpty())
        return {};
    if (QDir::isRelativePath(file))
        file = QDir(dataFolder()).filePath(file);
    // A name with a control character is refused at connect; the file system never sees it.
    for (const QChar c : std::as_const(file))
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return file;
    return QFileInfo(file).absoluteFilePath();
}

namespace {

// A control character (a NUL above all) in a registered file name would cut or bend the name the
// system is given: a stray database of another name would be made.
void refuseControlCharacters(const QString& server, const QString& file)
{
    for (const QChar c : file) {
        if (c.unicode() >= 0x20 && c.unicode() != 0x7f)
            continue;
        QString shown = file;
        for (QChar& s : shown)
            if (s.unicode() < 0x20 || s.unicode() == 0x7f)
                s = QChar(0xfffd);
        throw DatabaseError::withMessage(
            27041,
            QStringLiteral(
                "ORA-27041: unable to open file\n"
                "설정 파일 %1 의 [Embedded Databases]에서 서비스 %2 의 데이터베이스 파일 이름 "
                "\"%3\" 에 "
                "제어 문자(U+%4)가 있습니다. 설정 파일에서 파일 이름을 고친 뒤 다시 접속하십시오.")
                .arg(QDir::toNativeSeparators(settingsFilePath()), server.trimmed().toUpper(),
                     shown)
                .arg(c.unicode(), 4, 16, QLatin1Char('0')));
    }
}

}  // namespace

std::unique_ptr<Connection> openConnection(const QString& server, const QString& user,
                                           const QString& password)
{
    const QString file = embeddedDatabaseFile(server);
    if (!file.isEmpty()) {
        refuseControlCharacters(server, file);
        return embedded::EmbeddedDriver(file).connect(server, user, password);
    }
    if (clientDriver())
        return clientDriver()->connect(server, user, password);
    return oci::OciDriver().connect(server, user, password);
}

void setClientDriver(std::shared_ptr<Driver> driver) { clientDriver() = std::move(driver); }

QStringList bindNamesOf(const QString& text) { return sql::bindNames(text); }

}  // namespace kolmara::db
