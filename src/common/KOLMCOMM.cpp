// The common unit's routines.
#include "common/KOLMCOMM.h"

#include "common/Errors.h"
#include "common/ProfileFile.h"
#include "common/TextCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>
#include <cerrno>
#include <cmath>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kolmara {

namespace {

constexpr quint16 kScrambleMultiplier = 6281;
constexpr quint16 kScrambleAddend = 36581;
constexpr char kHexDigits[] = "0123456789ABCDEF";

bool isPathSeparator(QChar c)
{
    return c == QLatin1Char('\\') || c == QLatin1Char(':') || c == QLatin1Char('/');
}

// "C:" alone names a drive, not a folder that could be created.
bool isBareDrive(const QString& path)
{
    return path.size() == 2 && path[1] == QLatin1Char(':') && path[0].isLetter();
}

bool isExistingFolder(const QString& path)
{
    return !path.isEmpty() && QFileInfo(fileSystemPath(path)).isDir();
}

int hexValue(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}

quint16 nextKey(quint16 key, quint8 feedback)
{
    return static_cast<quint16>((static_cast<quint16>(key + feedback)) * kScrambleMultiplier +
                                kScrambleAddend);
}

// The PC's separators, with grouping on even where the system locale is "C".
QLocale numberLocale()
{
    QLocale locale = QLocale::system();
    locale.setNumberOptions(QLocale::DefaultNumberOptions);
    return locale;
}

}  // namespace

void LoadSettings()
{
    const ProfileFile ini(settingsFilePath());
    const QString section = QStringLiteral("System Version");
    CfgSystemId = ini.readString(section, QStringLiteral("SystemId"));
    CfgVersion = ini.readString(section, QStringLiteral("Version"));
    CfgVerDate = ini.readString(section, QStringLiteral("VerDate"));
    CfgBackupDrive = ini.readString(section, QStringLiteral("BackupDrive"));
    CfgBackupPath = ini.readString(section, QStringLiteral("BackupPath"));
    CfgDateTime = ini.readString(section, QStringLiteral("DateTime"));
    CfgOraclePath = ini.readString(section, QStringLiteral("OraclePath"));
    CfgExpType = ini.readString(section, QStringLiteral("ExpType"));
    CfgCommit = ini.readString(section, QStringLiteral("Commit"));
    CfgDumpEncoding = ini.readString(section, QStringLiteral("DumpEncoding"));
    LocalIp = GetLocalIp();
}

QString GetLocalIp()
{
    const QString fallback = QStringLiteral("127.0.0.1");
#ifdef _WIN32
    WSADATA wsa;
    if (WSAStartup(MAKEWORD(2, 0), &wsa) != 0)
        return fallback;
#endif
    char name[256] = {};
    if (gethostname(name, sizeof(name) - 1) != 0)
        return fallback;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* result = nullptr;
    if (getaddrinfo(name, nullptr, &hints, &result) != 0 || !result)
        return fallback;
    QString address = fallback;
    for (const addrinfo* ai = result; ai; ai = ai->ai_next) {
        if (ai->ai_family != AF_INET || !ai->ai_addr)
            continue;
        const auto* in = reinterpret_cast<const sockaddr_in*>(ai->ai_addr);
        const auto* b = reinterpret_cast<const unsigned char*>(&in->sin_addr);
        address = QStringLiteral("%1.%2.%3.%4").arg(b[0]).arg(b[1]).arg(b[2]).arg(b[3]);
        break;
    }
    freeaddrinfo(result);
    return address;
}

QString fileSystemPath(const QString& path)
{
#ifdef _WIN32
    return path;
#else
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return p;
#endif
}

QStringList ForceDirs(const QString& path)
{
    if (isExistingFolder(path))
        return {};
    QString p = path;
    if (!p.isEmpty() && (p.endsWith(QLatin1Char('\\')) || p.endsWith(QLatin1Char('/'))))
        p.chop(1);
#ifdef _WIN32
    if (p.size() < 3)
        return {};
#else
    if (p.isEmpty() || isBareDrive(p))
        return {};
#endif
    if (isExistingFolder(p))
        return {};
    int cut = p.size() - 1;
    while (cut >= 0 && !isPathSeparator(p[cut]))
        --cut;
    QStringList unmade = ForceDirs(p.left(cut + 1));
#ifdef _WIN32
    const bool made = QDir().mkdir(p);
#else
    const bool made = ::mkdir(QFile::encodeName(fileSystemPath(p)).constData(), 0700) == 0 ||
                      (errno == EEXIST && isExistingFolder(p));
#endif
    if (!made)
        unmade.append(p);
    return unmade;
}

QString HexEncode(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes) {
        const auto b = static_cast<quint8>(c);
        out += QLatin1Char(kHexDigits[b >> 4]);
        out += QLatin1Char(kHexDigits[b & 0x0F]);
    }
    return out;
}

QByteArray HexDecode(const QString& text)
{
    QByteArray out;
    const qsizetype n = text.size() / 2;
    out.reserve(n);
    for (qsizetype i = 0; i < n; ++i) {
        const int hi = hexValue(text[2 * i]);
        const int lo = hexValue(text[2 * i + 1]);
        if (hi < 0 || lo < 0)
            throw ConversionError(QStringLiteral("'%1' is not a valid integer value")
                                      .arg(QStringLiteral("$") + text.mid(2 * i, 2)));
        out += static_cast<char>((hi << 4) | lo);
    }
    return out;
}

QByteArray EncodeBytes(const QByteArray& plain, quint16 key)
{
    QByteArray out(plain.size(), '\0');
    quint16 k = key;
    for (qsizetype i = 0; i < plain.size(); ++i) {
        const auto o = static_cast<quint8>(static_cast<quint8>(plain[i]) ^ (k >> 8));
        out[i] = static_cast<char>(o);
        k = nextKey(k, o);
    }
    return out;
}

QByteArray DecodeBytes(const QByteArray& scrambled, quint16 key)
{
    QByteArray out(scrambled.size(), '\0');
    quint16 k = key;
    for (qsizetype i = 0; i < scrambled.size(); ++i) {
        const auto b = static_cast<quint8>(scrambled[i]);
        out[i] = static_cast<char>(b ^ (k >> 8));
        k = nextKey(k, b);
    }
    return out;
}

QString EncodePassword(const QString& text, quint16 key)
{
    return HexEncode(EncodeBytes(encodeCp949(text), key));
}

QString DecodePassword(const QString& hexText, quint16 key)
{
    const QByteArray bytes = HexDecode(hexText);
    if (bytes.isEmpty())
        return QString();
    return decodeCp949(DecodeBytes(bytes, key));
}

QString FormatAmount(const QString& numberText, const QString& digitsCode)
{
    const QString text = numberText.isEmpty() ? QStringLiteral("0") : numberText;
    bool codeOk = false;
    const int decimals = digitsCode.toInt(&codeOk);
    if (!codeOk || digitsCode.size() != 1 || decimals < 0 || decimals > 7)
        throw ConversionError(
            QStringLiteral("'%1' is not a valid number of decimals").arg(digitsCode));
    // The amounts come from the database's text forms, which are the same on every desktop: "."
    // before the decimals, no grouping. Only the result takes the PC's separators.
    QLocale source = QLocale::c();
    source.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    double value = source.toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        throw ConversionError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    // An amount that rounds to zero shows as zero, never as "-0.00".
    const QString rounded = QString::number(value, 'f', decimals);
    if (std::none_of(rounded.begin(), rounded.end(),
                     [](QChar c) { return c >= u'1' && c <= u'9'; }))
        value = 0.0;
    return numberLocale().toString(value, 'f', decimals);
}

QString StripSeparators(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c == QLatin1Char(',') || c == QLatin1Char('.') || c == QLatin1Char('-') ||
            c == QLatin1Char('/') || c == QLatin1Char(':'))
            continue;
        out += c;
    }
    return out;
}

}  // namespace kolmara
