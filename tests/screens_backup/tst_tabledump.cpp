// The table dump on its own: the dump SELECT of each column type, the line format and that a dump
// file reads back into the very values (quote-enclosed CSV), the folder and file names, the text
// encodings, and what a dump that fails half-way leaves behind.
#include "../db_engine/EngineFixture.h"

#include "common/Errors.h"
#include "common/TextCodec.h"
#include "data/TableDump.h"
#include "QuotedCsv.h"
#include "ScriptedUiServices.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>

using namespace kolmara;
using namespace kolmara::test;
using data::DumpColumn;
using data::TableDump;

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

const QList<DumpColumn> kSampleColumns = {{"NO", "NUMBER"},   {"NAME", "VARCHAR2"},
                                          {"RATE", "NUMBER"}, {"DAY", "DATE"},
                                          {"CODE", "CHAR"},   {"MEMO", "CLOB"}};

}  // namespace

class TestTableDump : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void selectOfTheDocumentedExample();
    void expressionOfEachColumnType_data();
    void expressionOfEachColumnType();
    void linesQuoteEveryValue_data();
    void linesQuoteEveryValue();
    void folderAndFileOfTheDay();
    void namesThatAreNoFileNames_data();
    void namesThatAreNoFileNames();
    void pathsOutsideTheBackupFolder_data();
    void pathsOutsideTheBackupFolder();
    void commentCutToTheLogColumn_data();
    void commentCutToTheLogColumn();
    void encodingSetting_data();
    void encodingSetting();
    void dumpWritesEveryRowAndReadsBack();
    void dumpWithoutRowsLeavesAnEmptyFile();
    void codePageDumps();
    void failedDumpKeepsTheEarlierFile_data();
    void failedDumpKeepsTheEarlierFile();
    void unusablePathsAreRefused();
    void dumpFileIsTheOwnersAlone();

private:
    QString sampleSelect(const QString& condition = {}) const;
    std::unique_ptr<EngineFixture> m_engine;
    std::unique_ptr<db::Session> m_session;
    std::unique_ptr<ScriptedUiServices> m_ui;
    std::unique_ptr<QTemporaryDir> m_out;
};

void TestTableDump::init()
{
    m_engine = std::make_unique<EngineFixture>(QString());
    m_session = m_engine->connect(QStringLiteral("SYS"), QStringLiteral("CHANGE_ON_INSTALL"));
    m_ui = std::make_unique<ScriptedUiServices>();
    m_out = std::make_unique<QTemporaryDir>();
    exec(*m_session,
         QStringLiteral("CREATE TABLE SAMPLE (NO NUMBER(4), NAME VARCHAR2(60), RATE NUMBER(7,3), "
                        "DAY DATE, CODE CHAR(3), MEMO CLOB)"));
    const QStringList inserts = {
        "INSERT INTO SAMPLE VALUES (1, '본사 \"영업\" 1팀, 서울', 0.5, TO_DATE('2003-05-02 "
        "09:30:00','YYYY-MM-DD HH24:MI:SS'), 'A01', '첫 줄' || CHR(13) || CHR(10) || '둘째 줄')",
        "INSERT INTO SAMPLE VALUES (2, NULL, NULL, NULL, NULL, NULL)",
        "INSERT INTO SAMPLE VALUES (3, '\"', -0.125, TO_DATE('2003-05-07','YYYY-MM-DD'), 'B', 'a' "
        "|| CHR(10) || 'b')",
        "INSERT INTO SAMPLE VALUES (4, '\"\"', 1234.5, TO_DATE('2003-05-13 23:59:59','YYYY-MM-DD "
        "HH24:MI:SS'), 'C', ',')",
    };
    for (const QString& sql : inserts)
        exec(*m_session, sql);
    m_session->commit();
}

void TestTableDump::cleanup()
{
    TableDump::failNthLineWriteForTesting(0);
    m_session.reset();
    m_ui.reset();
    m_engine.reset();
    m_out.reset();
}

QString TestTableDump::sampleSelect(const QString& condition) const
{
    return data::dumpSelectText(data::kDumpSelectHead, kSampleColumns, QStringLiteral("SAMPLE"),
                                QStringLiteral("YYYYMMDD HH24MISS")) +
           QLatin1Char('\n') + condition;
}

void TestTableDump::selectOfTheDocumentedExample()
{
    const QList<DumpColumn> emp = {
        {"EMPNO", "NUMBER"}, {"ENAME", "VARCHAR2"}, {"HIREDATE", "DATE"}};
    QCOMPARE(data::dumpSelectText(data::kDumpSelectHead, emp, QStringLiteral("EMP"),
                                  QStringLiteral("YYYYMMDD HH24MISS")),
             QStringLiteral("SELECT \n"
                            "       TO_CHAR(EMPNO) EMPNO\n"
                            "      ,ENAME ENAME\n"
                            "      ,TO_CHAR(HIREDATE, 'YYYYMMDD HH24MISS') HIREDATE\n"
                            "FROM   EMP"));
    QCOMPARE(data::dumpSelectText(data::kJobDumpSelectHead, emp.mid(1, 1), QStringLiteral("EMP"),
                                  QString(), QStringLiteral("SCOTT")),
             QStringLiteral("SELECT  /*+ RULE */ \n       ENAME ENAME\nFROM   SCOTT.EMP"));
    // A table created under a quoted name is read under that name.
    QCOMPARE(data::dumpSelectText(data::kDumpSelectHead, emp.mid(1, 1), QStringLiteral("Note Pad"),
                                  QString(), QStringLiteral("SCOTT")),
             QStringLiteral("SELECT \n       ENAME ENAME\nFROM   SCOTT.\"Note Pad\""));
}

void TestTableDump::expressionOfEachColumnType_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("expression");
    const QString f = QStringLiteral("YYYYMMDD HH24MISS");
    QTest::newRow("date") << "D" << "DATE" << f << "TO_CHAR(D, 'YYYYMMDD HH24MISS')";
    QTest::newRow("date, no format set") << "D"
                                         << "DATE"
                                         << ""
                                         << "TO_CHAR(D, 'YYYYMMDD HH24MISS')";
    QTest::newRow("date, quote in the format") << "D"
                                               << "DATE"
                                               << "YYYY'MM"
                                               << "TO_CHAR(D, 'YYYY''MM')";
    QTest::newRow("number") << "N" << "NUMBER" << f << "TO_CHAR(N)";
    QTest::newRow("float") << "N" << "FLOAT" << f << "TO_CHAR(N)";
    QTest::newRow("varchar2") << "V" << "VARCHAR2" << f << "V";
    QTest::newRow("char") << "C" << "CHAR" << f << "C";
    QTest::newRow("raw") << "R" << "RAW" << f << "R";
    QTest::newRow("long raw") << "R" << "LONG RAW" << f << "R";
    QTest::newRow("clob") << "L" << "CLOB" << f << "L";
    QTest::newRow("blob") << "L" << "BLOB" << f << "L";
    QTest::newRow("timestamp") << "T"
                               << "TIMESTAMP(6)" << f << "TO_CHAR(T, 'YYYYMMDD HH24MISS.FF')";
    QTest::newRow("timestamp with zone")
        << "T"
        << "TIMESTAMP(6) WITH TIME ZONE" << f << "TO_CHAR(T, 'YYYYMMDD HH24MISS.FF TZH:TZM')";
    QTest::newRow("timestamp, local zone")
        << "T" << "TIMESTAMP(3) WITH LOCAL TIME ZONE" << f << "TO_CHAR(T, 'YYYYMMDD HH24MISS.FF')";
    QTest::newRow("timestamp, fractions in the format")
        << "T"
        << "TIMESTAMP(6)"
        << "YYYY-MM-DD HH24:MI:SS.FF3"
        << "TO_CHAR(T, 'YYYY-MM-DD HH24:MI:SS.FF3')";
    QTest::newRow("interval") << "I" << "INTERVAL DAY(2) TO SECOND(6)" << f << "I";
    QTest::newRow("name that needs quotes") << "order no"
                                            << "NUMBER" << f << "TO_CHAR(\"order no\")";
}

void TestTableDump::expressionOfEachColumnType()
{
    QFETCH(QString, name);
    QFETCH(QString, type);
    QFETCH(QString, format);
    QFETCH(QString, expression);
    QCOMPARE(data::dumpExpression({name, type}, format), expression);
}

void TestTableDump::linesQuoteEveryValue_data()
{
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QString>("line");
    QTest::newRow("plain") << QStringList{"7369", "SMITH", "19801217 000000"}
                           << "\"7369\",\"SMITH\",\"19801217 000000\"";
    QTest::newRow("null") << QStringList{"", "x"} << "\"\",\"x\"";
    QTest::newRow("inner quote doubled") << QStringList{"a\"b"} << "\"a\"\"b\"";
    QTest::newRow("only a quote") << QStringList{"\""} << "\"\"\"\"";
    QTest::newRow("comma and line break stay inside") << QStringList{"a,b\r\nc"} << "\"a,b\r\nc\"";
}

void TestTableDump::linesQuoteEveryValue()
{
    QFETCH(QStringList, values);
    QFETCH(QString, line);
    QCOMPARE(data::dumpLine(values), line);
    QCOMPARE(readQuotedCsv(line + QStringLiteral("\r\n")), QList<QStringList>{values});
}

void TestTableDump::folderAndFileOfTheDay()
{
    const QString folder = data::dumpFolder(QStringLiteral("/data/"), QStringLiteral("BACKUP/"),
                                            QStringLiteral("Scott"), QDate(2003, 5, 14));
#ifdef _WIN32
    QCOMPARE(folder, QStringLiteral("/data/BACKUP/Scott\\20030514"));
    QCOMPARE(data::dumpFile(folder, QStringLiteral("EMP")),
             QStringLiteral("/data/BACKUP/Scott\\20030514\\EMP.TXT"));
#else
    QCOMPARE(folder, QStringLiteral("/data/BACKUP/Scott/20030514"));
    QCOMPARE(data::dumpFile(folder, QStringLiteral("EMP")),
             QStringLiteral("/data/BACKUP/Scott/20030514/EMP.TXT"));
#endif
}

// An account or table whose name is no file name still gets its own folder and file, inside the
// backup folder; the mapped names are those every reader of the dumps builds.
void TestTableDump::namesThatAreNoFileNames_data()
{
    QTest::addColumn<QString>("account");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("file");
    QTest::newRow("plain names as before") << "SCOTT"
                                           << "EMP"
                                           << "/data/BACKUP/SCOTT/20030514/EMP.TXT";
    QTest::newRow("table climbing out") << "SCOTT"
                                        << "../../../../X"
                                        << "/data/BACKUP/SCOTT/20030514/.._.._.._.._X.TXT";
    QTest::newRow("account climbing out") << ".." << "EMP" << "/data/BACKUP/__/20030514/EMP.TXT";
    QTest::newRow("slash in both") << "A/B" << "C/D" << "/data/BACKUP/A_B/20030514/C_D.TXT";
}

void TestTableDump::namesThatAreNoFileNames()
{
    QFETCH(QString, account);
    QFETCH(QString, table);
    QFETCH(QString, file);
    const QString path =
        data::dumpFile(data::dumpFolder(QStringLiteral("/data/"), QStringLiteral("BACKUP/"),
                                        account, QDate(2003, 5, 14)),
                       table);
    QCOMPARE(QDir::fromNativeSeparators(path), file);
    QVERIFY(data::liesInBackupFolder(path, QStringLiteral("/data/"), QStringLiteral("BACKUP/")));
}

void TestTableDump::pathsOutsideTheBackupFolder_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("inside");
    QTest::newRow("below") << "/data/BACKUP/SCOTT/20030514/EMP.TXT" << true;
    QTest::newRow("below, Windows separators") << "/data/BACKUP\\SCOTT\\20030514\\EMP.TXT" << true;
    QTest::newRow("climbing out") << "/data/BACKUP/SCOTT/20030514/../../../X.TXT" << false;
    QTest::newRow("a sibling with the same start") << "/data/BACKUPS/X.TXT" << false;
    QTest::newRow("the folder itself") << "/data/BACKUP/" << false;
}

void TestTableDump::pathsOutsideTheBackupFolder()
{
    QFETCH(QString, path);
    QFETCH(bool, inside);
    QCOMPARE(data::liesInBackupFolder(path, QStringLiteral("/data/"), QStringLiteral("BACKUP/")),
             inside);
    // A path setting without its trailing separator has always put the account folders beside it.
    const QString besides =
        data::dumpFile(data::dumpFolder(QStringLiteral("/data/"), QStringLiteral("BACKUP"),
                                        QStringLiteral("SCOTT"), QDate(2003, 5, 14)),
                       QStringLiteral("EMP"));
    QVERIFY(data::liesInBackupFolder(besides, QStringLiteral("/data/"), QStringLiteral("BACKUP")));
    QVERIFY(!data::liesInBackupFolder(QStringLiteral("/X.TXT"), QStringLiteral("/data/"),
                                      QStringLiteral("BACKUP")));
}

void TestTableDump::commentCutToTheLogColumn_data()
{
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QString>("logged");
    QTest::newRow("fits") << "사원" << "사원";
    QTest::newRow("80 ASCII") << QString(80, QLatin1Char('a')) << QString(80, QLatin1Char('a'));
    QTest::newRow("81 ASCII") << QString(81, QLatin1Char('a')) << QString(80, QLatin1Char('a'));
    // Hangul takes three bytes: 26 of them fill 78, the 27th would not fit.
    QTest::newRow("Hangul") << QString(30, QChar(0xD55C)) << QString(26, QChar(0xD55C));
    QTest::newRow("never half a pair") << QString(79, QLatin1Char('a')) + QString::fromUtf8("😀")
                                       << QString(79, QLatin1Char('a'));
}

void TestTableDump::commentCutToTheLogColumn()
{
    QFETCH(QString, comment);
    QFETCH(QString, logged);
    QCOMPARE(data::fitBytes(comment, data::kLogTableNameBytes), logged);
}

void TestTableDump::encodingSetting_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<int>("encoding");
#ifdef _WIN32
    QTest::newRow("empty") << "" << int(data::DumpEncoding::Ansi);
#else
    QTest::newRow("empty") << "" << int(data::DumpEncoding::Utf8);
#endif
    QTest::newRow("utf-8") << "utf-8" << int(data::DumpEncoding::Utf8);
    QTest::newRow("cp949") << " CP949 " << int(data::DumpEncoding::Cp949);
    QTest::newRow("ansi") << "ANSI" << int(data::DumpEncoding::Ansi);
}

void TestTableDump::encodingSetting()
{
    QFETCH(QString, setting);
    QFETCH(int, encoding);
    QCOMPARE(int(data::dumpEncodingFromSetting(setting)), encoding);
    QVERIFY_THROWS_EXCEPTION(KolmaraError, data::dumpEncodingFromSetting(QStringLiteral("EUC-JP")));
}

void TestTableDump::dumpWritesEveryRowAndReadsBack()
{
    const QString path = m_out->filePath(QStringLiteral("SAMPLE.TXT"));
    TableDump dump(path, sampleSelect());
    int counted = -1;
    QStringList shown;
    QDateTime started;
    dump.onStart = [&](const QDateTime& start) {
        started = start;
        QVERIFY(!QFile::exists(path));  // the file appears only complete
    };
    dump.onRowsCounted = [&](int n) { counted = n; };
    dump.onLine = [&](int written) {
        shown << QString::number(written) + QLatin1Char(':') + dump.lineText();
    };
    db::Query query(m_session.get());
    const TableDump::Outcome done = dump.run(query);

    QCOMPARE(done.written, 4);
    QCOMPARE(done.counted, 4);
    QCOMPARE(counted, 4);
    QCOMPARE(started, m_ui->now());
    QCOMPARE(done.start, m_ui->now());
    QCOMPARE(done.end, m_ui->now());
    QVERIFY(!query.isActive());
    const QByteArray expected =
        "\"1\",\"본사 \"\"영업\"\" 1팀, 서울\",\".5\",\"20030502 093000\",\"A01\",\"첫 줄\r\n둘째 줄\"\r\n"
        "\"2\",\"\",\"\",\"\",\"\",\"\"\r\n"
        "\"3\",\"\"\"\",\"-.125\",\"20030507 000000\",\"B  \",\"a\nb\"\r\n"
        "\"4\",\"\"\"\"\"\",\"1234.5\",\"20030513 235959\",\"C  \",\",\"\r\n";
    QCOMPARE(fileBytes(path), expected);
    QCOMPARE(shown.first(),
             QStringLiteral("1:\"1\",\"본사 \"\"영업\"\" 1팀, 서울\",\".5\",\"20030502 "
                            "093000\",\"A01\",\"첫 줄\r\n둘째 줄\""));
    QCOMPARE(shown.size(), 4);

    // Loaded back as quote-enclosed CSV, every value comes back as the query gave it.
    const QList<QStringList> back = readQuotedCsv(QString::fromUtf8(fileBytes(path)));
    QCOMPARE(back.size(), 4);
    QCOMPARE(back[0][1], QStringLiteral("본사 \"영업\" 1팀, 서울"));
    QCOMPARE(back[0][5], QStringLiteral("첫 줄\r\n둘째 줄"));
    QCOMPARE(back[2][1], QStringLiteral("\""));
    QCOMPARE(back[3][1], QStringLiteral("\"\""));
    QCOMPARE(back[3][5], QStringLiteral(","));

    // A condition line narrows the rows; the count then agrees with the lines.
    TableDump narrowed(path, sampleSelect(QStringLiteral("WHERE RATE > 0\nORDER BY NO DESC")));
    const TableDump::Outcome two = narrowed.run(query);
    QCOMPARE(two.written, 2);
    QCOMPARE(two.counted, 2);
    QVERIFY(fileBytes(path).startsWith("\"4\","));
}

void TestTableDump::dumpWithoutRowsLeavesAnEmptyFile()
{
    const QString path = m_out->filePath(QStringLiteral("SAMPLE.TXT"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("yesterday's rows\r\n");
    old.close();
    TableDump dump(path, sampleSelect(QStringLiteral("WHERE 1 = 0")));
    bool counted = false;
    dump.onRowsCounted = [&](int) { counted = true; };
    db::Query query(m_session.get());
    const TableDump::Outcome done = dump.run(query);
    QCOMPARE(done.written, 0);
    QVERIFY(!counted);
    QVERIFY(!done.end.isValid());
    QVERIFY(QFile::exists(path));
    QCOMPARE(fileBytes(path), QByteArray());
}

void TestTableDump::codePageDumps()
{
    const QString path = m_out->filePath(QStringLiteral("SAMPLE.TXT"));
    db::Query query(m_session.get());
    TableDump dump(path, sampleSelect(QStringLiteral("WHERE NO = 1")), data::DumpEncoding::Cp949);
    QCOMPARE(dump.run(query).written, 1);
    QCOMPARE(fileBytes(path),
             encodeCp949(QStringLiteral("\"1\",\"본사 \"\"영업\"\" 1팀, 서울\",\".5\",\"20030502 "
                                        "093000\",\"A01\",\"첫 줄\r\n둘째 줄\"\r\n")));

    // A character the code page cannot hold would turn into '?' (an invisible one into nothing):
    // the dump stops instead and the file it would have replaced stays.
    exec(*m_session, QStringLiteral("INSERT INTO SAMPLE (NO, NAME) VALUES (5, 'Ελληνικά ?')"));
    exec(*m_session, QStringLiteral("INSERT INTO SAMPLE (NO, NAME) VALUES (6, '본사\uFE00')"));
    const struct {
        const char* condition;
        const char* message;
    } stops[] = {{"ORDER BY NO", "Line 5 holds a character"},
                 {"WHERE NO = 6", "Line 1 holds a character"}};
    for (const auto& stop : stops) {
        TableDump outside(path, sampleSelect(QString::fromUtf8(stop.condition)),
                          data::DumpEncoding::Cp949);
        try {
            outside.run(query);
            QFAIL("a character outside CP949 was written");
        } catch (const KolmaraError& e) {
            QVERIFY2(e.message().startsWith(QString::fromUtf8(stop.message)),
                     qPrintable(e.message()));
        }
        QCOMPARE(fileBytes(path).left(5), QByteArray("\"1\",\""));
    }
}

void TestTableDump::failedDumpKeepsTheEarlierFile_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");
    QTest::newRow("fetch error") << "fetch" << "ORA-01555: snapshot too old";
    QTest::newRow("disk full") << "write" << "Cannot write file \"%1\". No space left on device";
    QTest::newRow("condition that is not SQL") << "condition" << "ORA-00936: missing expression";
}

void TestTableDump::failedDumpKeepsTheEarlierFile()
{
    QFETCH(QString, fault);
    QFETCH(QString, message);
    const QString path = m_out->filePath(QStringLiteral("SAMPLE.TXT"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("the morning's dump\r\n");
    old.close();

    QString condition;
    if (fault == QLatin1String("fetch"))
        m_session->failNthFetchForTesting(
            4, 1555, QStringLiteral("snapshot too old"));  // the count's 2, then row 2
    else if (fault == QLatin1String("write"))
        TableDump::failNthLineWriteForTesting(3);
    else
        condition = QStringLiteral("WHERE WHERE");
    TableDump dump(path, sampleSelect(condition));
    int lines = 0;
    dump.onLine = [&](int) { ++lines; };
    db::Query query(m_session.get());
    try {
        dump.run(query);
        QFAIL("the dump succeeded");
    } catch (const KolmaraError& e) {
        const QString expected =
            message.contains(QLatin1String("%1")) ? message.arg(path) : message;
        QVERIFY2(e.message().startsWith(expected), qPrintable(e.message()));
    }
    QVERIFY(!query.isActive());
    QCOMPARE(fileBytes(path), QByteArray("the morning's dump\r\n"));
    QCOMPARE(QDir(m_out->path()).entryList(QDir::Files), QStringList{"SAMPLE.TXT"});
    QVERIFY(lines <= 2);
}

void TestTableDump::unusablePathsAreRefused()
{
    db::Query query(m_session.get());
    const QString missing = m_out->filePath(QStringLiteral("no/such/folder/SAMPLE.TXT"));
    try {
        TableDump(missing, sampleSelect()).run(query);
        QFAIL("a file was made in a missing folder");
    } catch (const KolmaraError& e) {
        QVERIFY2(e.message().startsWith(QStringLiteral("Cannot create file \"%1\".").arg(missing)),
                 qPrintable(e.message()));
    }
    // A folder in the file's place is never replaced.
    QVERIFY(QDir(m_out->path()).mkdir(QStringLiteral("SAMPLE.TXT")));
    const QString folder = m_out->filePath(QStringLiteral("SAMPLE.TXT"));
    QVERIFY_THROWS_EXCEPTION(KolmaraError, TableDump(folder, sampleSelect()).run(query));
    QVERIFY(QFileInfo(folder).isDir());
}

// A dump holds a table's rows: for its owner alone, new or replacing a file readable by all.
void TestTableDump::dumpFileIsTheOwnersAlone()
{
    const QString path = m_out->filePath(QStringLiteral("SAMPLE.TXT"));
    const QByteArray name = QFile::encodeName(path);
    const mode_t oldMask = ::umask(0);
    for (int round = 0; round < 2; ++round) {
        db::Query query(m_session.get());
        TableDump(path, sampleSelect()).run(query);
        struct stat st {};
        QCOMPARE(::stat(name.constData(), &st), 0);
        QCOMPARE(int(st.st_mode & 07777), 0600);
        QCOMPARE(::chmod(name.constData(), 0644), 0);
    }
    ::umask(oldMask);
}

QTEST_GUILESS_MAIN(TestTableDump)
#include "tst_tabledump.moc"
