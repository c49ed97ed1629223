// The common unit: the password scrambler, hex digits, amounts, separators, folder creation and
// the settings globals.
#include "common/Errors.h"
#include "common/KOLMCOMM.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace kolmara;

class TestKolmComm : public QObject {
    Q_OBJECT

private slots:
    void scramblerRoundTripsEveryLength();
    void scramblerKnownValueAndKeys();
    void hexDigits();
    void hexDecodeRejectsNonHex();
    void passwordsUseTheKoreanCodePage();
    void formatAmount_data();
    void formatAmount();
    void formatAmountRejectsBadInput();
    void stripSeparators_data();
    void stripSeparators();
    void forceDirsCreatesAndReruns();
    void forceDirsLeavesBareDrivesAlone();
    void forceDirsReportsEachFailedFolder();
    void loadSettingsReadsEnvironmentKeys();
    void loadSettingsWithoutFileGivesEmptyValues();
    void localIpIsDottedIPv4();
};

void TestKolmComm::scramblerRoundTripsEveryLength()
{
    const quint16 keys[] = {0, 1, 255, 256, SavedLoginKey, 65535};
    for (quint16 key : keys) {
        for (int n = 0; n <= 300; ++n) {
            QByteArray plain(n, '\0');
            for (int i = 0; i < n; ++i)
                plain[i] = static_cast<char>((i * 37 + n * 11 + key) & 0xFF);
            const QByteArray scrambled = EncodeBytes(plain, key);
            QCOMPARE(scrambled.size(), plain.size());
            QCOMPARE(DecodeBytes(scrambled, key), plain);
        }
    }
    QCOMPARE(EncodePassword(QString(), SavedLoginKey), QString());
    QCOMPARE(DecodePassword(QString(), SavedLoginKey), QString());
}

void TestKolmComm::scramblerKnownValueAndKeys()
{
    // Worked by hand: 'A' ^ (48571 >> 8) = 0xFC; the key then becomes
    // ((48571 + 0xFC) * 6281 + 36581) mod 65536 = 0xC6D4, and 'B' ^ 0xC6 = 0x84.
    QCOMPARE(EncodePassword(QStringLiteral("AB"), SavedLoginKey), QStringLiteral("FC84"));
    QCOMPARE(DecodePassword(QStringLiteral("FC84"), SavedLoginKey), QStringLiteral("AB"));
    QCOMPARE(DecodePassword(QStringLiteral("fc84"), SavedLoginKey), QStringLiteral("AB"));

    const QString a = EncodePassword(QStringLiteral("TIGER"), 48571);
    const QString b = EncodePassword(QStringLiteral("TIGER"), 12345);
    QCOMPARE(a.size(), 10);
    QCOMPARE(b.size(), 10);
    QVERIFY(a != b);
    QVERIFY(QRegularExpression(QStringLiteral("^[0-9A-F]+$")).match(a).hasMatch());
}

void TestKolmComm::hexDigits()
{
    QCOMPARE(HexEncode("abc"), QStringLiteral("616263"));
    QCOMPARE(HexEncode(QByteArray("\x00\xff\x0a", 3)), QStringLiteral("00FF0A"));
    QCOMPARE(HexDecode(QStringLiteral("616")), QByteArray("a"));
    QCOMPARE(HexDecode(QStringLiteral("6162aB")), QByteArray("ab\xab"));
    QCOMPARE(HexDecode(QStringLiteral("6")), QByteArray());
}

void TestKolmComm::hexDecodeRejectsNonHex()
{
    for (const QString& bad :
         {QStringLiteral("6G"), QStringLiteral("61 2"), QStringLiteral("zz")}) {
        try {
            HexDecode(bad);
            QFAIL("no conversion error");
        } catch (const ConversionError& e) {
            QVERIFY2(e.message().contains(QStringLiteral("is not a valid")),
                     qPrintable(e.message()));
        }
        QVERIFY_THROWS_EXCEPTION(ConversionError, DecodePassword(bad, SavedLoginKey));
    }
}

void TestKolmComm::passwordsUseTheKoreanCodePage()
{
    // Two bytes per Hangul syllable, as the Windows program stored them.
    const QString password = QStringLiteral("비번1");
    const QString hex = EncodePassword(password, SavedLoginKey);
    QCOMPARE(hex.size(), 10);
    QCOMPARE(DecodePassword(hex, SavedLoginKey), password);

    // Scrambled bytes whose last one is half a Korean character (a file edited by hand, another
    // key) give a password that shows the bad byte, never one that silently lost it.
    const QString cut = HexEncode(EncodeBytes("a\xB0", SavedLoginKey));
    QCOMPARE(DecodePassword(cut, SavedLoginKey), QStringLiteral("a\uFFFD"));
}

void TestKolmComm::formatAmount_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("expected");
    const QString n = QStringLiteral("1234567.891");
    QTest::newRow("code 0") << n << "0" << "1,234,568";
    QTest::newRow("code 1") << n << "1" << "1,234,567.9";
    QTest::newRow("code 2") << n << "2" << "1,234,567.89";
    QTest::newRow("code 3") << n << "3" << "1,234,567.891";
    QTest::newRow("code 4") << n << "4" << "1,234,567.8910";
    QTest::newRow("code 5") << n << "5" << "1,234,567.89100";
    QTest::newRow("code 6") << n << "6" << "1,234,567.891000";
    QTest::newRow("code 7") << n << "7" << "1,234,567.8910000";
    QTest::newRow("empty is zero") << "" << "0" << "0";
    QTest::newRow("empty one decimal") << "" << "1" << "0.0";
    QTest::newRow("one decimal") << "1234.5" << "1" << "1,234.5";
    QTest::newRow("small") << "999" << "0" << "999";
    QTest::newRow("negative") << "-1234.5" << "1" << "-1,234.5";
    QTest::newRow("exponent") << "1E6" << "0" << "1,000,000";
    QTest::newRow("blanks around") << " 42 " << "0" << "42";
    QTest::newRow("rounds to zero") << "-0.001" << "2" << "0.00";
    QTest::newRow("rounds to zero, no decimals") << "-0.4" << "0" << "0";
    QTest::newRow("negative zero") << "-0" << "1" << "0.0";
    QTest::newRow("rounds to a cent") << "-0.005" << "2" << "-0.01";
}

void TestKolmComm::formatAmount()
{
    // The input is the database's form on every desktop; the expected texts are written with ","
    // grouping and "." decimals and shown with this desktop's separators.
    QFETCH(QString, number);
    QFETCH(QString, code);
    QFETCH(QString, expected);
    const QLocale pc = QLocale::system();
    QString shown;
    for (QChar c : expected)
        shown += c == u','   ? pc.groupSeparator()
                 : c == u'.' ? pc.decimalPoint()
                 : c == u'-' ? pc.negativeSign()
                             : QString(c);
    QCOMPARE(FormatAmount(number, code), shown);
}

void TestKolmComm::formatAmountRejectsBadInput()
{
    QVERIFY_THROWS_EXCEPTION(ConversionError, FormatAmount(QStringLiteral("abc"), "0"));
    for (const char* notAnAmount : {"1,234", "1.234,5", "nan", "inf", "-inf", "1e999"})
        QVERIFY_THROWS_EXCEPTION(ConversionError,
                                 FormatAmount(QString::fromLatin1(notAnAmount), "0"));
    QVERIFY_THROWS_EXCEPTION(ConversionError, FormatAmount(QStringLiteral("12"), "8"));
    QVERIFY_THROWS_EXCEPTION(ConversionError, FormatAmount(QStringLiteral("12"), ""));
    try {
        FormatAmount(QStringLiteral("abc"), "0");
    } catch (const ConversionError& e) {
        QCOMPARE(e.message(), QStringLiteral("'abc' is not a valid floating point value"));
    }
}

void TestKolmComm::stripSeparators_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("stamp") << "2003-05-14 13:05:22" << "20030514 130522";
    QTest::newRow("amount") << "1,234.50" << "123450";
    QTest::newRow("slashes") << "2003/05/14" << "20030514";
    QTest::newRow("nothing to strip") << "가 나" << "가 나";
    QTest::newRow("empty") << "" << "";
}

void TestKolmComm::stripSeparators()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(StripSeparators(text), expected);
}

void TestKolmComm::forceDirsCreatesAndReruns()
{
    QTemporaryDir tmp;
    const QString target = tmp.path() + QStringLiteral("/BACKUP/SCOTT/20030514");
    const mode_t oldMask = ::umask(0);
    QCOMPARE(ForceDirs(target), QStringList());
    ::umask(oldMask);
    QVERIFY(QFileInfo(target).isDir());
    // The folders hold table dumps: each one made is for this user alone, whatever the umask.
    for (const QString& made : {QStringLiteral("/BACKUP"), QStringLiteral("/BACKUP/SCOTT"),
                                QStringLiteral("/BACKUP/SCOTT/20030514")}) {
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(tmp.path() + made).constData(), &st), 0);
        QCOMPARE(int(st.st_mode & 07777), 0700);
    }
    QCOMPARE(ForceDirs(target + QStringLiteral("/")), QStringList());
    QCOMPARE(ForceDirs(target), QStringList());

    // Settings carried over from Windows separate folders with "\".
    QCOMPARE(ForceDirs(tmp.path() + QStringLiteral("\\WIN\\SCOTT\\")), QStringList());
    QVERIFY(QFileInfo(tmp.path() + QStringLiteral("/WIN/SCOTT")).isDir());
}

void TestKolmComm::forceDirsLeavesBareDrivesAlone()
{
    QTemporaryDir tmp;
    const QString saved = QDir::currentPath();
    QDir::setCurrent(tmp.path());
    QCOMPARE(ForceDirs(QStringLiteral("C:")), QStringList());
    QCOMPARE(ForceDirs(QStringLiteral("C:\\")), QStringList());
    QCOMPARE(ForceDirs(QString()), QStringList());
    QDir::setCurrent(saved);
    QVERIFY(QDir(tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

void TestKolmComm::forceDirsReportsEachFailedFolder()
{
    QTemporaryDir tmp;
    const QString blocker = tmp.path() + QStringLiteral("/file");
    QFile f(blocker);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();

    const QString longName = QString(120, QLatin1Char('x'));
    const QString target = blocker + QStringLiteral("/") + longName + QStringLiteral("/deeper");
    // The file itself, then each folder below it: every level fails and is named, the deepest
    // whole however long.
    QCOMPARE(ForceDirs(target),
             QStringList({blocker, blocker + QStringLiteral("/") + longName, target}));
}

void TestKolmComm::loadSettingsReadsEnvironmentKeys()
{
    QTemporaryDir tmp;
    QFile ini(tmp.filePath(QStringLiteral("KOLMARA.INI")));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[System Version]\r\nSystemId=KOLM\r\nVersion=2.5\r\nVerDate=2003-05-14\r\n"
              "BackupDrive=C:\\\r\nBackupPath=BACKUP\\\r\nDateTime=YYYYMMDD HH24MISS\r\n"
              "OraclePath=C:\\Oracle\\\r\nExpType=\"\",\r\nCommit=10\r\nCount=0\r\n"
              "DumpEncoding=CP949\r\n");
    ini.close();
    setProgramFolderForTesting(tmp.path());
    LoadSettings();
    setProgramFolderForTesting(QString());
    QCOMPARE(CfgSystemId, QStringLiteral("KOLM"));
    QCOMPARE(CfgVersion, QStringLiteral("2.5"));
    QCOMPARE(CfgVerDate, QStringLiteral("2003-05-14"));
    QCOMPARE(CfgBackupDrive, QStringLiteral("C:\\"));
    QCOMPARE(CfgBackupPath, QStringLiteral("BACKUP\\"));
    QCOMPARE(CfgDateTime, QStringLiteral("YYYYMMDD HH24MISS"));
    QCOMPARE(CfgOraclePath, QStringLiteral("C:\\Oracle\\"));
    QCOMPARE(CfgExpType, QStringLiteral("\"\","));
    QCOMPARE(CfgCommit, QStringLiteral("10"));
    QCOMPARE(CfgDumpEncoding, QStringLiteral("CP949"));
    QVERIFY(!LocalIp.isEmpty());
}

void TestKolmComm::loadSettingsWithoutFileGivesEmptyValues()
{
    QTemporaryDir tmp;
    CfgVersion = QStringLiteral("stale");
    setProgramFolderForTesting(tmp.path());
    LoadSettings();
    setProgramFolderForTesting(QString());
    QCOMPARE(CfgVersion, QString());
    QCOMPARE(CfgVerDate, QString());
    QCOMPARE(CfgBackupDrive, QString());
}

void TestKolmComm::localIpIsDottedIPv4()
{
    const QString ip = GetLocalIp();
    QVERIFY2(QRegularExpression(QStringLiteral("^\\d{1,3}(\\.\\d{1,3}){3}$")).match(ip).hasMatch(),
             qPrintable(ip));
}

QTEST_MAIN(TestKolmComm)
#include "tst_kolmcomm.moc"
