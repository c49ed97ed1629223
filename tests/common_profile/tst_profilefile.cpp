// The settings file reader and writer against the Windows profile rules: each case is the exact
// bytes of a file, one call, and the value it returns or the exact bytes it leaves. Also the
// encodings (UTF-16LE, UTF-8 with its mark, CP949 from Korean Windows), the code-page helpers,
// and writes that are refused.
#include "common/Errors.h"
#include "common/ProfileFile.h"
#include "common/TextCodec.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <memory>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using kolmara::ProfileFile;

namespace {

QByteArray utf16File(const QString& text)
{
    QStringEncoder encoder(QStringConverter::Utf16LE);
    return QByteArray("\xFF\xFE", 2) + QByteArray(encoder.encode(text));
}

QByteArray utf8MarkFile(const QByteArray& text)
{
    return QByteArray("\xEF\xBB\xBF") + text;
}

QByteArray hex(const char* digits)
{
    return QByteArray::fromHex(digits);
}

// The CP949 bytes of the Korean words the fixtures use (Windows code page 949).
const QByteArray kSettingsFile = hex("bcb3c1a420c6c4c0cf");  // 설정 파일
const QByteArray kSystem = hex("bdc3bdbac5db");              // 시스템
const QByteArray kName = hex("c0ccb8a7");                    // 이름
const QByteArray kHong = hex("c8abb1e6b5bf");                // 홍길동
const QByteArray kPath = hex("b0e6b7ce");                    // 경로
const QByteArray kBackup = hex("b9e9bef7");                  // 백업
const QByteArray kData = hex("c0dab7e1");                    // 자료

QByteArray cp949SettingsFile()
{
    return "; " + kSettingsFile + "\r\n[" + kSystem + "]\r\n" + kName + "=" + kHong + "\r\n" +
           kPath + "=C:\\" + kBackup + "\\\n" + "Count=0";
}

}  // namespace

class TestProfileFile : public QObject {
    Q_OBJECT

private slots:
    void init();

    void readString_data();
    void readString();
    void readInt_data();
    void readInt();
    void names_data();
    void names();
    void change_data();
    void change();

    void readsTheFileAfresh();
    void cp949FileKeepsItsBytes();
    void writeLeavesNoTemporaryFile();
    void writeKeepsTheModeOrMakesTheFilePrivate_data();
    void writeKeepsTheModeOrMakesTheFilePrivate();
    void utf16StrayByteReadsBackAndStopsGrowing();
    void writeClearsItsStaleTemporaryFiles();
    void writeThroughALinkChangesItsTarget();
    void refusedChange_data();
    void refusedChange();
    void changeWaitsItsTurn();

    void cp949Codec_data();
    void cp949Codec();
    void cp949UnmappableBecomesQuestionMarks();
    void iconvAgreesWithUnicodeLibrary();
    void validUtf8_data();
    void validUtf8();

private:
    QString iniPath() const { return m_dir->filePath(QStringLiteral("KOLMARA.INI")); }
    void writeBytes(const QByteArray& bytes) const;
    QByteArray fileBytes() const;

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestProfileFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestProfileFile::writeBytes(const QByteArray& bytes) const
{
    if (bytes.isNull())
        return;  // the case wants no file
    QFile file(iniPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray TestProfileFile::fileBytes() const
{
    QFile file(iniPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestProfileFile::readString_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("defaultValue");
    QTest::addColumn<QString>("expected");

    const QByteArray basic = "[Sec]\r\nKey=value\r\n";
    QTest::newRow("plain") << basic << "Sec" << "Key" << "" << "value";
    QTest::newRow("names ignore case") << basic << "sEC" << "kEY" << "" << "value";
    QTest::newRow("argument spaces trimmed") << basic << "  Sec " << " Key  " << "" << "value";
    QTest::newRow("argument TAB kept") << basic << "Sec\t" << "Key" << "d" << "d";
    QTest::newRow("missing file") << QByteArray() << "Sec" << "Key" << "d" << "d";
    QTest::newRow("missing section") << basic << "Other" << "Key" << "d" << "d";
    QTest::newRow("missing key") << basic << "Sec" << "Other" << "d" << "d";
    QTest::newRow("default loses trailing spaces only")
        << basic << "Sec" << "Other" << "  one two  " << "  one two";
    QTest::newRow("default keeps trailing TAB") << basic << "Sec" << "Other" << "d\t " << "d\t";
    QTest::newRow("blanks in the file trimmed")
        << QByteArray(" \t[ \vSec\t ] \r\n \v Key \t=\t a  b \v\r\n") << "Sec" << "Key" << ""
        << "a  b";
    QTest::newRow("blank inside a key name")
        << QByteArray("[S]\r\nkey ;x=v\r\n") << "S" << "key ;x" << "" << "v";

    QTest::newRow("one pair of double quotes")
        << QByteArray("[S]\r\nk= \"  v  \" \r\n") << "S" << "k" << "" << "  v  ";
    QTest::newRow("one pair of single quotes")
        << QByteArray("[S]\r\nk='v'\r\n") << "S" << "k" << "" << "v";
    QTest::newRow("doubled quotes lose one pair")
        << QByteArray("[S]\r\nk=\"\"x\"\"\r\n") << "S" << "k" << "" << "\"x\"";
    QTest::newRow("mismatched quotes stay")
        << QByteArray("[S]\r\nk=\"v'\r\n") << "S" << "k" << "" << "\"v'";
    QTest::newRow("lone quote stays") << QByteArray("[S]\r\nk=\"\r\n") << "S" << "k" << "" << "\"";
    QTest::newRow("empty value is not the default")
        << QByteArray("[S]\r\nk=\r\n") << "S" << "k" << "d" << "";
    QTest::newRow("further = belong to the value")
        << QByteArray("[S]\r\nk=a=b\r\n") << "S" << "k" << "" << "a=b";
    QTest::newRow("no trailing comment")
        << QByteArray("[S]\r\nk=a ;b #c\r\n") << "S" << "k" << "" << "a ;b #c";

    QTest::newRow("comment line is no key")
        << QByteArray("[S]\r\n  ;k=v\r\n") << "S" << ";k" << "d" << "d";
    QTest::newRow("comment line hides its key")
        << QByteArray("[S]\r\n;k=v\r\n") << "S" << "k" << "d" << "d";
    QTest::newRow("hash is no comment")
        << QByteArray("[S]\r\n#k=v\r\n") << "S" << "#k" << "" << "v";
    QTest::newRow("line without = is no key")
        << QByteArray("[S]\r\nk\r\n") << "S" << "k" << "d" << "d";
    QTest::newRow("empty key name") << QByteArray("[S]\r\n=v\r\n") << "S" << "" << "" << "v";

    QTest::newRow("first duplicate section only")
        << QByteArray("[S]\r\na=1\r\n[s]\r\nb=2\r\n") << "S" << "b" << "d" << "d";
    QTest::newRow("first duplicate key wins")
        << QByteArray("[S]\r\nk=1\r\nK=2\r\n") << "S" << "k" << "" << "1";
    QTest::newRow("same key in two sections")
        << QByteArray("[A]\r\nk=1\r\n[B]\r\nk=2\r\n") << "B" << "k" << "" << "2";
    QTest::newRow("text after the header is ignored")
        << QByteArray("[S]k=v\r\n") << "S" << "k" << "d" << "d";
    QTest::newRow("name ends at the first ]")
        << QByteArray("[a]b]\r\nk=v\r\n") << "a" << "k" << "" << "v";
    QTest::newRow("header without ]") << QByteArray("[S\r\nk=v\r\n") << "S" << "k" << "" << "v";
    QTest::newRow("[ inside the name") << QByteArray("[[S]\r\nk=v\r\n") << "[S" << "k" << "" << "v";
    QTest::newRow("; inside brackets") << QByteArray("[;S]\r\nk=v\r\n") << ";S" << "k" << "" << "v";
    QTest::newRow("no header without [")
        << QByteArray("[A]\r\nk=1\r\nS]\r\nk=2\r\n") << "S" << "k" << "d" << "d";
    QTest::newRow("empty section name") << QByteArray("[]\r\nk=v\r\n") << "" << "k" << "" << "v";
    QTest::newRow("lines before the first header belong to none")
        << QByteArray("k=v\r\n[S]\r\n") << "" << "k" << "d" << "d";

    QTest::newRow("bare CR ends a line")
        << QByteArray("[S]\rk=v\ra=b") << "S" << "a" << "" << "b";
    QTest::newRow("bare LF ends a line")
        << QByteArray("[S]\nk=v\na=b\n") << "S" << "a" << "" << "b";
    QTest::newRow("LF CR is two line ends")
        << QByteArray("[S]\n\rk=v\n\r") << "S" << "k" << "" << "v";

    QTest::newRow("UTF-8 mark skipped")
        << utf8MarkFile("[Sec]\r\nKey=값\r\n") << "sec" << "key" << "" << "값";
    QTest::newRow("UTF-8 Korean names")
        << QByteArray("[시스템]\r\n이름=홍길동\r\n") << "시스템" << "이름" << "" << "홍길동";
    QTest::newRow("UTF-16LE") << utf16File(u"[Sec]\r\n키=값\r\n"_qs) << "SEC" << "키" << "" << "값";
    QTest::newRow("UTF-16LE odd last byte")
        << utf16File(u"[S]\r\nk=v\r\n"_qs) + 'x' << "S" << "k" << "" << "v";
    QTest::newRow("CP949") << cp949SettingsFile() << "시스템" << "이름" << "" << "홍길동";
    QTest::newRow("CP949 LF line")
        << cp949SettingsFile() << "시스템" << "경로" << "" << "C:\\백업\\";
    // 똠 is 8C 63 and 똂 is 8C 43: their second bytes differ only as ASCII 'c' and 'C' do.
    QTest::newRow("CP949 names compared as text")
        << QByteArray("[S]\r\n" + hex("8c63") + "=v\r\n" + hex("b0a1")) << "S" << "똂" << "d"
        << "d";
}

void TestProfileFile::readString()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, defaultValue);
    QFETCH(QString, expected);
    writeBytes(file);
    QCOMPARE(ProfileFile(iniPath()).readString(section, key, defaultValue), expected);
}

void TestProfileFile::readInt_data()
{
    QTest::addColumn<QByteArray>("value");  // the line after "[S]"; empty = no key
    QTest::addColumn<qint32>("defaultValue");
    QTest::addColumn<quint32>("expected");

    QTest::newRow("plain") << QByteArray("k=42") << 7 << 42u;
    QTest::newRow("plus sign") << QByteArray("k=+42") << 7 << 42u;
    QTest::newRow("blanks and quotes") << QByteArray("k= \"12\" ") << 7 << 12u;
    QTest::newRow("digits up to a letter") << QByteArray("k=42A7") << 7 << 42u;
    QTest::newRow("no digit is zero") << QByteArray("k=B12") << 7 << 0u;
    QTest::newRow("sign alone is zero") << QByteArray("k=-") << 7 << 0u;
    QTest::newRow("no hexadecimal") << QByteArray("k=0x10") << 7 << 0u;
    QTest::newRow("negative") << QByteArray("k=-1") << 7 << 4294967295u;
    QTest::newRow("wraps at 2^32") << QByteArray("k=4294967296") << 7 << 0u;
    QTest::newRow("wraps past 2^32") << QByteArray("k=4294967297") << 7 << 1u;
    QTest::newRow("negative wraps") << QByteArray("k=-4294967297") << 7 << 4294967295u;
    QTest::newRow("empty value") << QByteArray("k=") << 7 << 7u;
    QTest::newRow("missing key") << QByteArray() << 7 << 7u;
    QTest::newRow("negative default") << QByteArray() << -1 << 4294967295u;
}

void TestProfileFile::readInt()
{
    QFETCH(QByteArray, value);
    QFETCH(qint32, defaultValue);
    QFETCH(quint32, expected);
    writeBytes("[S]\r\n" + value + "\r\n");
    QCOMPARE(ProfileFile(iniPath()).readInt(u"S"_qs, u"K"_qs, defaultValue), expected);
}

void TestProfileFile::names_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QStringList>("sections");
    QTest::addColumn<QStringList>("keys");

    QTest::newRow("missing file") << QByteArray() << "S" << QStringList() << QStringList();
    QTest::newRow("sections in file order, duplicates kept")
        << QByteArray("x=1\r\n[ B ]\r\n[a]\r\n[]\r\n[B]k=1\r\n") << "b"
        << QStringList{"B", "a", "", "B"} << QStringList();
    QTest::newRow("keys of the first section only")
        << QByteArray("[S]\r\n k1 =1\r\n;c=2\r\nnoeq\r\n\r\nK1=3\r\n=e\r\n#h=4\r\n[s]\r\nk9=9\r\n")
        << "s" << QStringList{"S", "s"} << QStringList{"k1", "K1", "", "#h"};
    QTest::newRow("missing section") << QByteArray("[S]\r\nk=1\r\n") << "T" << QStringList{"S"}
                                     << QStringList();
    QTest::newRow("CP949") << cp949SettingsFile() << "시스템" << QStringList{"시스템"}
                           << QStringList{"이름", "경로", "Count"};
}

void TestProfileFile::names()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QStringList, sections);
    QFETCH(QStringList, keys);
    writeBytes(file);
    const ProfileFile ini(iniPath());
    QCOMPARE(ini.sectionNames(), sections);
    QCOMPARE(ini.keyNames(section), keys);
}

void TestProfileFile::change_data()
{
    QTest::addColumn<QByteArray>("before");  // null: no file
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");

    const QString write = u"write"_qs;
    const QString deleteKey = u"deleteKey"_qs;
    const QString deleteSection = u"deleteSection"_qs;

    QTest::newRow("missing file created")
        << QByteArray() << write << "S" << "k" << "v" << QByteArray("[S]\r\nk=v\r\n");
    QTest::newRow("names lose spaces, value verbatim")
        << QByteArray() << write << " S " << " k " << " \"v\"\t"
        << QByteArray("[S]\r\nk= \"v\"\t\r\n");
    QTest::newRow("empty section name") << QByteArray() << write << "" << "k" << "v"
                                        << QByteArray("[]\r\nk=v\r\n");
    QTest::newRow("replaced in place, spelling and other lines kept")
        << QByteArray("; top\r\n\r\n[Sec]\r\n  Key = old \r\nz=1\r\n") << write << "sec" << "KEY"
        << "new" << QByteArray("; top\r\n\r\n[Sec]\r\nKey=new\r\nz=1\r\n");
    QTest::newRow("replaced last line gains CRLF")
        << QByteArray("[S]\r\nk=old") << write << "S" << "k" << "new"
        << QByteArray("[S]\r\nk=new\r\n");
    QTest::newRow("empty value keeps the key")
        << QByteArray("[S]\r\nk=1\r\n") << write << "S" << "k" << "" << QByteArray("[S]\r\nk=\r\n");
    QTest::newRow("untouched LF and CR line ends kept")
        << QByteArray("[S]\na=1\nb=2\rc=3\n") << write << "S" << "b" << "9"
        << QByteArray("[S]\na=1\nb=9\r\nc=3\n");
    QTest::newRow("new key after the last key, before comments and blank lines")
        << QByteArray("[A]\r\na=1\r\nnoeq\r\n; c\r\n\r\n[B]\r\nb=1\r\n") << write << "A" << "x"
        << "2" << QByteArray("[A]\r\na=1\r\nx=2\r\nnoeq\r\n; c\r\n\r\n[B]\r\nb=1\r\n");
    QTest::newRow("new key in a section without keys goes under the header")
        << QByteArray("[A]\r\n; c\r\n\r\n[B]\r\n") << write << "A" << "x" << "1"
        << QByteArray("[A]\r\nx=1\r\n; c\r\n\r\n[B]\r\n");
    QTest::newRow("new key after a last line without break")
        << QByteArray("[A]\na=1") << write << "A" << "x" << "2"
        << QByteArray("[A]\na=1\r\nx=2\r\n");
    QTest::newRow("new key in the first of duplicate sections")
        << QByteArray("[A]\r\na=1\r\n[A]\r\nb=1\r\n") << write << "a" << "b" << "2"
        << QByteArray("[A]\r\na=1\r\nb=2\r\n[A]\r\nb=1\r\n");
    QTest::newRow("comment name adds a line")
        << QByteArray("[A]\r\na=1\r\n;x=1\r\n") << write << "A" << ";x" << "2"
        << QByteArray("[A]\r\na=1\r\n;x=2\r\n;x=1\r\n");
    QTest::newRow("new section at the end, no blank line")
        << QByteArray("[A]\r\na=1\r\n") << write << "B" << "b" << "2"
        << QByteArray("[A]\r\na=1\r\n[B]\r\nb=2\r\n");
    QTest::newRow("new section after a last line without break")
        << QByteArray("[A]\r\na=1") << write << "B" << "b" << "2"
        << QByteArray("[A]\r\na=1\r\n[B]\r\nb=2\r\n");
    QTest::newRow("new section after a bare LF")
        << QByteArray("[A]\na=1\n") << write << "B" << "b" << "2"
        << QByteArray("[A]\na=1\n[B]\r\nb=2\r\n");
    QTest::newRow("empty file") << QByteArray("") << write << "S" << "k" << "v"
                                << QByteArray("[S]\r\nk=v\r\n");
    const QByteArray leading("\0\0junk\r\nk=0\r\n[A]\r\na=1\r\n", 24);
    QTest::newRow("bytes before the first section kept")
        << leading << write << "A" << "a" << "2"
        << QByteArray("\0\0junk\r\nk=0\r\n[A]\r\na=2\r\n", 24);

    QTest::newRow("delete key") << QByteArray("[A]\r\na=1\r\nb=2\r\n") << deleteKey << "a" << "A"
                                << "" << QByteArray("[A]\r\nb=2\r\n");
    QTest::newRow("delete last key keeps the header")
        << QByteArray("[A]\r\na=1\r\n[B]\r\n") << deleteKey << "A" << "a" << ""
        << QByteArray("[A]\r\n[B]\r\n");
    QTest::newRow("delete missing key leaves the file")
        << QByteArray("[A]\na=1") << deleteKey << "A" << "b" << "" << QByteArray("[A]\na=1");
    QTest::newRow("delete comment name leaves the file")
        << QByteArray("[A]\r\n;x=1\r\n") << deleteKey << "A" << ";x" << ""
        << QByteArray("[A]\r\n;x=1\r\n");
    QTest::newRow("delete key of missing file creates it empty")
        << QByteArray() << deleteKey << "A" << "a" << "" << QByteArray("");

    QTest::newRow("delete section keeps its comments and blank lines")
        << QByteArray("; top\r\n[A]\r\na=1\r\n; keep\r\n\r\nnoeq\r\nb=2\r\n[B]\r\nb=1\r\n")
        << deleteSection << "a" << "" << "" << QByteArray("; top\r\n; keep\r\n\r\n[B]\r\nb=1\r\n");
    QTest::newRow("delete section takes the first of duplicates")
        << QByteArray("[A]\r\na=1\r\n[B]\r\n[A]\r\na=2\r\n") << deleteSection << "A" << "" << ""
        << QByteArray("[B]\r\n[A]\r\na=2\r\n");
    QTest::newRow("delete missing section leaves the file")
        << QByteArray("[A]\na=1") << deleteSection << "B" << "" << "" << QByteArray("[A]\na=1");
    QTest::newRow("delete section of missing file creates it empty")
        << QByteArray() << deleteSection << "A" << "" << "" << QByteArray("");

    QTest::newRow("UTF-16LE replace")
        << utf16File(u"[한글]\r\n키=값\r\n"_qs) << write << "한글" << "키" << "새 값"
        << utf16File(u"[한글]\r\n키=새 값\r\n"_qs);
    QTest::newRow("UTF-16LE new section keeps LF and encoding")
        << utf16File(u"[A]\na=1\n"_qs) << write << "섹션" << "키" << "값"
        << utf16File(u"[A]\na=1\n[섹션]\r\n키=값\r\n"_qs);
    QTest::newRow("UTF-16LE mark only gets a line break first")
        << utf16File(QString()) << write << "S" << "k" << "v"
        << utf16File(u"\r\n[S]\r\nk=v\r\n"_qs);
    // A stray last byte is half a character: it goes, and what is written stays on the 2-byte grid.
    QTest::newRow("UTF-16LE stray last byte, new section")
        << utf16File(u"[S]\r\nk=v\r\n"_qs) + 'x' << write << "T" << "a" << "1"
        << utf16File(u"[S]\r\nk=v\r\n[T]\r\na=1\r\n"_qs);
    QTest::newRow("UTF-16LE stray last byte after a last line without break")
        << utf16File(u"[S]\r\nk=v"_qs) + 'x' << write << "S" << "n" << "2"
        << utf16File(u"[S]\r\nk=v\r\nn=2\r\n"_qs);
    QTest::newRow("UTF-8 mark kept") << utf8MarkFile("[S]\r\nk=1\r\n") << write << "S" << "k"
                                     << "값" << utf8MarkFile("[S]\r\nk=값\r\n");
    QTest::newRow("UTF-8 mark only gets a line break first")
        << utf8MarkFile("") << write << "S" << "k" << "v" << utf8MarkFile("\r\n[S]\r\nk=v\r\n");
    QTest::newRow("ASCII file takes UTF-8")
        << QByteArray("[S]\r\nk=1\r\n") << write << "S" << "k" << "한"
        << QByteArray("[S]\r\nk=한\r\n");
    QTest::newRow("CP949 new key")
        << cp949SettingsFile() << write << "시스템" << "자료" << "홍길동"
        << QByteArray(cp949SettingsFile() + "\r\n" + kData + "=" + kHong + "\r\n");
    QTest::newRow("CP949 unmappable characters become ?")
        << QByteArray("[S]\r\nk=" + kName + "\r\n") << write << "S" << "k" << u"é가😀"_qs
        << QByteArray("[S]\r\nk=?" + hex("b0a1") + "??\r\n");
}

void TestProfileFile::change()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, operation);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);
    writeBytes(before);
    QCOMPARE(QFile::exists(iniPath()), !before.isNull());

    ProfileFile ini(iniPath());
    if (operation == u"write")
        ini.writeString(section, key, value);
    else if (operation == u"deleteKey")
        ini.deleteKey(section, key);
    else
        ini.deleteSection(section);
    QVERIFY(QFile::exists(iniPath()));
    QCOMPARE(fileBytes(), after);
}

void TestProfileFile::readsTheFileAfresh()
{
    writeBytes("[S]\r\nk=1\r\n");
    const ProfileFile ini(iniPath());
    QCOMPARE(ini.readString(u"S"_qs, u"k"_qs), u"1"_qs);
    writeBytes("[S]\r\nk=2\r\n");
    QCOMPARE(ini.readString(u"S"_qs, u"k"_qs), u"2"_qs);
}

void TestProfileFile::cp949FileKeepsItsBytes()
{
    // The settings dialog's pattern: read a Korean value, write the same key back changed.
    writeBytes(cp949SettingsFile());
    ProfileFile ini(iniPath());
    QCOMPARE(ini.readString(u"시스템"_qs, u"경로"_qs), u"C:\\백업\\"_qs);
    ini.writeString(u"시스템"_qs, u"경로"_qs, u"D:\\자료\\"_qs);
    const QByteArray expected = "; " + kSettingsFile + "\r\n[" + kSystem + "]\r\n" + kName + "=" +
                                kHong + "\r\n" + kPath + "=D:\\" + kData + "\\\r\n" + "Count=0";
    QCOMPARE(fileBytes(), expected);
    QCOMPARE(ini.readString(u"시스템"_qs, u"이름"_qs), u"홍길동"_qs);
}

void TestProfileFile::writeLeavesNoTemporaryFile()
{
    ProfileFile ini(iniPath());
    ini.writeString(u"S"_qs, u"a"_qs, u"1"_qs);
    ini.writeString(u"S"_qs, u"b"_qs, u"2"_qs);
    ini.deleteKey(u"S"_qs, u"a"_qs);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                           QDir::NoDotAndDotDot),
             QStringList{u"KOLMARA.INI"_qs});
    QCOMPARE(fileBytes(), QByteArray("[S]\r\nb=2\r\n"));
}

// The file keeps saved passwords: a new one is its owner's alone whatever the umask, and the
// rename that replaces an existing one keeps the mode its owner chose.
void TestProfileFile::writeKeepsTheModeOrMakesTheFilePrivate_data()
{
    QTest::addColumn<int>("before");  // -1: no file yet
    QTest::addColumn<int>("after");
    QTest::newRow("new file") << -1 << 0600;
    QTest::newRow("shared with the group") << 0640 << 0640;
    QTest::newRow("readable by all, as the user left it") << 0644 << 0644;
    QTest::newRow("private") << 0600 << 0600;
}

void TestProfileFile::writeKeepsTheModeOrMakesTheFilePrivate()
{
    QFETCH(int, before);
    QFETCH(int, after);
    const QByteArray path = QFile::encodeName(iniPath());
    if (before >= 0) {
        writeBytes("[S]\r\na=1\r\n");
        QCOMPARE(::chmod(path.constData(), mode_t(before)), 0);
    }
    const mode_t oldMask = ::umask(0);
    ProfileFile(iniPath()).writeString(u"S"_qs, u"b"_qs, u"2"_qs);
    ::umask(oldMask);
    struct stat st {};
    QCOMPARE(::stat(path.constData(), &st), 0);
    QCOMPARE(int(st.st_mode & 07777), after);
}

void TestProfileFile::utf16StrayByteReadsBackAndStopsGrowing()
{
    writeBytes(utf16File(u"[S]\r\nk=v\r\n"_qs) + 'x');
    ProfileFile ini(iniPath());
    ini.writeString(u"T"_qs, u"a"_qs, u"1"_qs);
    QCOMPARE(ini.readString(u"T"_qs, u"a"_qs), u"1"_qs);
    const QByteArray once = fileBytes();
    ini.writeString(u"T"_qs, u"a"_qs, u"1"_qs);
    QCOMPARE(fileBytes(), once);
    QCOMPARE(ini.sectionNames(), QStringList({u"S"_qs, u"T"_qs}));
}

void TestProfileFile::writeClearsItsStaleTemporaryFiles()
{
    // What writes cut short left behind: one of a program that has ended, one of a running
    // program from an hour ago, one a running program may be writing right now; and files that
    // are not this file's temporaries at all.
    QProcess ended;
    ended.start(u"/bin/true"_qs);
    QVERIFY(ended.waitForStarted());
    const QString deadPid = QString::number(ended.processId());
    QVERIFY(ended.waitForFinished());
    const QString runningPid = QString::number(::getppid());
    const QDir dir(m_dir->path());
    auto makeFile = [&](const QString& name, bool old) {
        QFile f(dir.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[S]\r\n");
        f.flush();
        if (old)
            QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                  QFileDevice::FileModificationTime));
    };
    makeFile(u"KOLMARA.INI.~write-"_qs + deadPid, false);
    makeFile(u"KOLMARA.INI.~write-1"_qs, true);
    makeFile(u"KOLMARA.INI.~write-"_qs + runningPid, false);
    makeFile(u"KOLMARA.INI.backup"_qs, true);
    makeFile(u"KOLMARA.INI.~write-old"_qs, true);
    makeFile(u"OTHER.INI.~write-"_qs + deadPid, true);

    ProfileFile(iniPath()).writeString(u"S"_qs, u"k"_qs, u"v"_qs);
    QStringList expected = {u"KOLMARA.INI"_qs, u"KOLMARA.INI.backup"_qs,
                            u"KOLMARA.INI.~write-"_qs + runningPid, u"KOLMARA.INI.~write-old"_qs,
                            u"OTHER.INI.~write-"_qs + deadPid};
    expected.sort();
    QCOMPARE(dir.entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
    QCOMPARE(fileBytes(), QByteArray("[S]\r\nk=v\r\n"));
}

void TestProfileFile::writeThroughALinkChangesItsTarget()
{
    const QString real = m_dir->filePath(u"real.ini"_qs);
    {
        QFile f(real);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[S]\r\nk=1\r\n");
    }
    QVERIFY(QFile::link(real, iniPath()));
    ProfileFile(iniPath()).writeString(u"S"_qs, u"k"_qs, u"2"_qs);
    QVERIFY(QFileInfo(iniPath()).isSymLink());
    QFile f(real);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("[S]\r\nk=2\r\n"));
}

void TestProfileFile::refusedChange_data()
{
    QTest::addColumn<QString>("relativePath");
    QTest::addColumn<QString>("operation");

    // Tests run as root, so permissions cannot refuse a write; paths that no one can write can.
    for (const char* operation : {"write", "deleteKey", "deleteSection"}) {
        QTest::addRow("missing folder, %s", operation) << "missing/KOLMARA.INI" << operation;
        QTest::addRow("parent is a file, %s", operation) << "plain/KOLMARA.INI" << operation;
        QTest::addRow("path is a folder, %s", operation) << "folder" << operation;
    }
}

void TestProfileFile::refusedChange()
{
    QFETCH(QString, relativePath);
    QFETCH(QString, operation);
    QVERIFY(QDir(m_dir->path()).mkdir(u"folder"_qs));
    {
        QFile plain(m_dir->filePath(u"plain"_qs));
        QVERIFY(plain.open(QIODevice::WriteOnly));
    }
    const QString path = m_dir->filePath(relativePath);
    ProfileFile ini(path);
    QCOMPARE(ini.readString(u"S"_qs, u"k"_qs, u"d"_qs), u"d"_qs);

    try {
        if (operation == u"write")
            ini.writeString(u"S"_qs, u"k"_qs, u"v"_qs);
        else if (operation == u"deleteKey")
            ini.deleteKey(u"S"_qs, u"k"_qs);
        else
            ini.deleteSection(u"S"_qs);
        QFAIL("the change was not refused");
    } catch (const kolmara::SettingsError& e) {
        const QString prefix = u"Cannot write the settings file %1: "_qs.arg(
            QDir::toNativeSeparators(path));
        QVERIFY2(e.message().startsWith(prefix), qPrintable(e.message()));
        QVERIFY2(e.message().size() > prefix.size(), "no reason given");
    }
    QVERIFY(QFileInfo(m_dir->filePath(u"plain"_qs)).isFile());
    QCOMPARE(QDir(m_dir->filePath(u"folder"_qs)).isEmpty(), true);
}

// Another program in the middle of a change (here: holding the lock changes take) is waited for;
// one that never finishes gets the change refused after a bounded wait, the file unchanged.
void TestProfileFile::changeWaitsItsTurn()
{
    writeBytes("[S]\r\nk=1\r\n");
    const int folder = ::open(QFile::encodeName(m_dir->path()).constData(), O_RDONLY | O_DIRECTORY);
    QVERIFY(folder >= 0);
    QCOMPARE(::flock(folder, LOCK_EX), 0);
    QElapsedTimer waited;
    waited.start();
    QThread* releaser = QThread::create([folder] {
        QThread::msleep(300);
        ::flock(folder, LOCK_UN);
    });
    releaser->start();
    ProfileFile(iniPath()).writeString(u"S"_qs, u"k"_qs, u"2"_qs);
    QVERIFY(waited.elapsed() >= 250);
    releaser->wait();
    delete releaser;
    QCOMPARE(fileBytes(), QByteArray("[S]\r\nk=2\r\n"));

    QCOMPARE(::flock(folder, LOCK_EX), 0);
    try {
        ProfileFile(iniPath()).writeString(u"S"_qs, u"k"_qs, u"3"_qs);
        QFAIL("the change did not wait");
    } catch (const kolmara::SettingsError& e) {
        QCOMPARE(e.message(), u"Cannot write the settings file %1: another program has been"
                               " changing it for too long"_qs
                                  .arg(QDir::toNativeSeparators(iniPath())));
    }
    ::close(folder);
    QCOMPARE(fileBytes(), QByteArray("[S]\r\nk=2\r\n"));
}

void TestProfileFile::cp949Codec_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("ASCII") << "Count=0 \\~" << QByteArray("Count=0 \\~");
    QTest::newRow("Hangul of EUC-KR") << "가홍길동" << hex("b0a1c8abb1e6b5bf");
    QTest::newRow("Hangul only in the Windows extension") << "똠똂" << hex("8c638c43");
    QTest::newRow("Hanja") << "一" << hex("ece9");
    QTest::newRow("empty") << "" << QByteArray();
}

void TestProfileFile::cp949Codec()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(kolmara::encodeCp949(text), bytes);
    QCOMPARE(kolmara::decodeCp949(bytes), text);
}

void TestProfileFile::cp949UnmappableBecomesQuestionMarks()
{
    // One '?' per UTF-16 unit: the emoji is a surrogate pair, and a lone surrogate is one unit.
    const QString text = u"aé😀"_qs + QChar(0xD800) + u"가"_qs;
    QCOMPARE(kolmara::encodeCp949(text), QByteArray("a????" + hex("b0a1")));
    // Invisible characters CP949 has no place for (a variation selector, a zero-width space, a
    // byte-order mark, an unassigned place among the format controls, a Khmer vowel that is not
    // written) become '?' as well, never nothing; the soft hyphen and the Hangul filler,
    // which it holds, keep their bytes.
    QCOMPARE(kolmara::encodeCp949(u"가\uFE00\u200B\uFEFF\u2065\u17B4나\u00AD\u3164"_qs),
             hex("b0a13f3f3f3f3fb3aaa1a9a4d4"));
    QCOMPARE(kolmara::countOutsideCp949(u"가\uFE00나"_qs), 1);
    for (char32_t u = 0x80; u <= 0xFFFF; ++u) {
        if (!QChar::isSurrogate(u) && kolmara::encodeCp949(QString(QChar(char16_t(u)))).isEmpty())
            QFAIL(qPrintable(u"U+%1 is left out"_qs.arg(uint(u), 4, 16, QLatin1Char('0'))));
    }
    // Half a character at the end is a bad byte, not one left out.
    QCOMPARE(kolmara::decodeCp949("a" + hex("b0")), u"a\uFFFD"_qs);
}

void TestProfileFile::iconvAgreesWithUnicodeLibrary()
{
    QString syllables;
    for (char16_t c = 0xAC00; c <= 0xD7A3; ++c)
        syllables += QChar(c);
    const QByteArray bytes = kolmara::encodeCp949(syllables);
    QCOMPARE(bytes.size(), 2 * syllables.size());
    QCOMPARE(kolmara::detail::encodeCp949Iconv(syllables), bytes);
    QCOMPARE(kolmara::detail::decodeCp949Iconv(bytes), syllables);
    QCOMPARE(kolmara::detail::encodeCp949Iconv(u"aé😀가"_qs), QByteArray("a???" + hex("b0a1")));
    QCOMPARE(kolmara::detail::decodeCp949Iconv("a" + hex("b0") + " b" + hex("b0a1c8")),
             u"a\uFFFD b가\uFFFD"_qs);
}

void TestProfileFile::validUtf8_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("valid");

    QTest::newRow("empty") << QByteArray() << true;
    QTest::newRow("ASCII with NUL") << QByteArray("a\0b", 3) << true;
    QTest::newRow("Hangul") << QByteArray("홍길동") << true;
    QTest::newRow("four bytes") << hex("f09f9880") << true;
    QTest::newRow("highest code point") << hex("f48fbfbf") << true;
    QTest::newRow("CP949 Hangul") << hex("c8abb1e6b5bf") << false;
    QTest::newRow("lone continuation") << hex("80") << false;
    QTest::newRow("overlong two bytes") << hex("c0af") << false;
    QTest::newRow("overlong three bytes") << hex("e080af") << false;
    QTest::newRow("overlong four bytes") << hex("f08282ac") << false;
    QTest::newRow("surrogate") << hex("eda080") << false;
    QTest::newRow("above U+10FFFF") << hex("f4908080") << false;
    QTest::newRow("cut off at the end") << hex("41ed95") << false;
    QTest::newRow("bad continuation") << hex("e84180") << false;
}

void TestProfileFile::validUtf8()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, valid);
    QCOMPARE(kolmara::isValidUtf8(bytes), valid);
}

QTEST_GUILESS_MAIN(TestProfileFile)
#include "tst_profilefile.moc"
