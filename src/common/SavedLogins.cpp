// The saved logins of the settings file.
#include "common/SavedLogins.h"

#include "common/Errors.h"
#include "common/Folders.h"
#include "common/KOLMCOMM.h"
#include "common/ProfileFile.h"

namespace kolmara {

const QString kSavedLoginCountSection = QStringLiteral("System Version");
const QString kSavedLoginSection = QStringLiteral("System Logging");

namespace {

// The most saved logins there can be; a larger "Count" is taken as a damaged file.
constexpr int kMaxSavedLogins = 9999;

}  // namespace

QString nextLoginField(const QString& value, int start, int& fieldPos)
{
    QString field;
    for (int i = qMax(1, start); i <= value.size(); ++i) {
        const QChar c = value[i - 1];
        if (c == QLatin1Char('/')) {
            fieldPos = i + 1;
            return field;
        }
        field += c;
    }
    return field;
}

int savedLoginCount(const QString& text)
{
    bool ok = false;
    QString t = text;
    while (t.startsWith(QLatin1Char(' ')))
        t.remove(0, 1);
    const int value = t.toInt(&ok, 10);
    if (!ok)
        throw ConversionError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    if (value < 0 || value > kMaxSavedLogins)
        throw ConversionError(
            QStringLiteral("'%1' is not a valid number of saved logins").arg(text));
    return value;
}

SavedLogin readSavedLogin(const ProfileFile& ini, int number)
{
    const QString value = ini.readString(kSavedLoginSection, QString::number(number));
    int pos = 0;
    SavedLogin login;
    login.server = nextLoginField(value, 1, pos);
    login.user = nextLoginField(value, pos, pos);
    login.scrambledPassword = nextLoginField(value, pos, pos);
    login.keep = nextLoginField(value, pos, pos);
    return login;
}

QString savedPassword(const ProfileFile& ini, const QString& server, const QString& user)
{
    int count = 0;
    try {
        count = savedLoginCount(ini.readString(kSavedLoginCountSection, QStringLiteral("Count")));
    } catch (const ConversionError&) {
        return QString();
    }
    for (int n = 1; n <= count; ++n) {
        const SavedLogin login = readSavedLogin(ini, n);
        if (login.keep != QStringLiteral("Y") ||
            login.server.compare(server, Qt::CaseInsensitive) != 0 ||
            login.user.compare(user, Qt::CaseInsensitive) != 0)
            continue;
        try {
            if (const QString password = DecodePassword(login.scrambledPassword, SavedLoginKey);
                !password.isEmpty())
                return password;
        } catch (const ConversionError&) {
            // A damaged entry: a later login of the same name may still hold the password.
        }
    }
    return QString();
}

QString passwordOffTheCommandLine(const QString& server, const QString& user)
{
    const QString fromEnvironment = qEnvironmentVariable("KOLMARA_PASSWORD");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return savedPassword(ProfileFile(settingsFilePath()), server, user);
}

}  // namespace kolmara
