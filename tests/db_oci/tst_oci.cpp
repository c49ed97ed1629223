// The Oracle client driver, run for real against the stand-in client library: finding and loading
// the client (and failing to, with the reason), logon, binds by name, values and NULLs,
// truncation, batches, errors, transactions, cancel and the character set check. Each test copies
// the stand-in into its own temporary program folder, so every test has a fresh client.
#include "ScriptedUiServices.h"
#include "app/KOLM000U.h"
#include "common/KOLMCOMM.h"
#include "db/DatabaseError.h"
#include "db/Query.h"
#include "db/Session.h"
#include "db/oci/OciLibrary.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <dlfcn.h>

#include <thread>

using namespace kolmara;

namespace {

const QJsonObject kOrcl{{"users", QJsonObject{{"SCOTT", "TIGER"}}}};

// A program folder with KOLMARA.INI and, under client/, a copy of a stand-in client.
class ClientFolder {
public:
    // settingsKey: what KOLMARA.INI's "Oracle Client" says (empty: no key).
    explicit ClientFolder(const QString& settingsKey = QStringLiteral("client"))
    {
        QDir(m_dir.path()).mkpath(QStringLiteral("client"));
        writeSettings(settingsKey);
        setProgramFolderForTesting(m_dir.path());
        db::oci::forgetClientLibraryForTesting();
    }
    ~ClientFolder()
    {
        setProgramFolderForTesting(QString());
        db::oci::forgetClientLibraryForTesting();
    }

    QString path(const QString& relative = QString()) const
    {
        return QDir(m_dir.path()).filePath(relative);
    }

    void writeSettings(const QString& settingsKey)
    {
        QFile ini(path(QStringLiteral("KOLMARA.INI")));
        QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write("[System Version]\r\nCount=0\r\n");
        if (!settingsKey.isEmpty())
            ini.write("Oracle Client=" + settingsKey.toUtf8() + "\r\n");
    }

    // Copies a library into the folder (client/libclntsh.so by default) and scripts that copy.
    void install(const QJsonObject& script,
                 const QString& as = QStringLiteral("client/libclntsh.so"),
                 const QString& from = QStringLiteral(KOLMARA_STANDIN))
    {
        QDir().mkpath(QFileInfo(path(as)).absolutePath());
        QVERIFY(QFile::copy(from, path(as)));
        m_library = path(as);
        setScript(script);
    }

    void setScript(const QJsonObject& script)
    {
        void* h = dlopen(QFile::encodeName(m_library).constData(), RTLD_NOW);
        QVERIFY2(h, dlerror());
        m_reset = reinterpret_cast<void (*)(const char*)>(dlsym(h, "kolmaraStandInReset"));
        m_log = reinterpret_cast<const char* (*)()>(dlsym(h, "kolmaraStandInLog"));
        m_live = reinterpret_cast<int (*)()>(dlsym(h, "kolmaraStandInLiveHandles"));
        m_reset(QJsonDocument(script).toJson().constData());
    }

    QJsonArray log() const { return QJsonDocument::fromJson(m_log()).array(); }
    // The recorded calls of one kind.
    QList<QJsonObject> calls(const QString& name) const
    {
        QList<QJsonObject> out;
        for (const QJsonValue v : log())
            if (v[QStringLiteral("call")].toString() == name)
                out.append(v.toObject());
        return out;
    }
    QStringList callNames() const
    {
        QStringList out;
        for (const QJsonValue v : log())
            out.append(v[QStringLiteral("call")].toString());
        return out;
    }
    int liveHandles() const { return m_live(); }

private:
    QTemporaryDir m_dir;
    QString m_library;
    void (*m_reset)(const char*) = nullptr;
    const char* (*m_log)() = nullptr;
    int (*m_live)() = nullptr;
};

QJsonObject script(const QJsonObject& services, const QJsonArray& statements = {},
                   const QJsonArray& version = {19, 20, 0, 0, 0})
{
    return {{"clientVersion", version}, {"services", services}, {"statements", statements}};
}

std::unique_ptr<db::Session> logOn(const QString& server = QStringLiteral("ORCL"),
                                   const QString& user = QStringLiteral("scott"),
                                   const QString& password = QStringLiteral("TIGER"))
{
    auto s = std::make_unique<db::Session>();
    s->setServer(server);
    s->setUsername(user);
    s->setPassword(password);
    s->setLoginPrompt(false);
    s->connect();
    return s;
}

QString connectError(const QString& server = QStringLiteral("ORCL"),
                     const QString& password = QStringLiteral("TIGER"))
{
    try {
        logOn(server, QStringLiteral("SCOTT"), password);
    } catch (const db::DatabaseError& e) {
        return e.message();
    }
    return {};
}

QJsonObject column(const QString& name, int type, int size = 0, int charSize = 0)
{
    QJsonObject c{{"name", name}, {"type", type}};
    if (size)
        c.insert(QStringLiteral("size"), size);
    if (charSize)
        c.insert(QStringLiteral("charSize"), charSize);
    return c;
}

// A run of Kolmara's command-line companion from its own folder.
struct Run {
    int exitCode;
    QString out;
    QString err;
};

Run runSql(const QString& folder, const QStringList& args, const QProcessEnvironment& env)
{
    const QString program = QDir(folder).filePath(QStringLiteral("kolmara-sql"));
    if (!QFile::exists(program))
        QFile::copy(QStringLiteral(KOLMARA_SQL_BINARY), program);
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

}  // namespace

class TestOci : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void findsTheClient_data();
    void findsTheClient();
    void missingClientExplainsItself_data();
    void missingClientExplainsItself();
    void missingClientReachesTheConnectDialogAndKolmaraSql();
    void logOnSetsUpTheSession();
    void logOnErrors_data();
    void logOnErrors();
    void valuesReadAsTheProgramExpects();
    void bindsByName();
    void truncatedValueIsAnError();
    void fetchesInBatches();
    void errorsCarryTheServerText();
    void transactionsAndLogOff();
    void cancelBreaksTheRunningCall();
    void callTimeoutWhereTheClientHasOne();
    void characterSetCheck_data();
    void characterSetCheck();
    void kolmaraSqlReadsThroughTheClient();
    void mainWindowConnectsAndWarns();

private:
    QByteArray m_oracleHome;
};

void TestOci::init()
{
    m_oracleHome = qgetenv("ORACLE_HOME");
    qunsetenv("ORACLE_HOME");
}

void TestOci::cleanup()
{
    if (m_oracleHome.isEmpty())
        qunsetenv("ORACLE_HOME");
    else
        qputenv("ORACLE_HOME", m_oracleHome);
}

void TestOci::findsTheClient_data()
{
    QTest::addColumn<QString>(
        "settingsKey");  // "<abs>" stands for the client folder's absolute path
    QTest::addColumn<QString>("library");
    QTest::addColumn<bool>("oracleHome");
    QTest::newRow("settings, relative folder") << "client"
                                               << "client/libclntsh.so" << false;
    QTest::newRow("settings, absolute folder") << "<abs>"
                                               << "client/libclntsh.so" << false;
    QTest::newRow("versioned name only") << "client"
                                         << "client/libclntsh.so.19.1" << false;
    QTest::newRow("ORACLE_HOME/lib") << ""
                                     << "home/lib/libclntsh.so" << true;
    QTest::newRow("Instant Client as ORACLE_HOME") << ""
                                                   << "home/libclntsh.so" << true;
}

void TestOci::findsTheClient()
{
    QFETCH(QString, settingsKey);
    QFETCH(QString, library);
    QFETCH(bool, oracleHome);
    ClientFolder folder;
    folder.writeSettings(settingsKey == QLatin1String("<abs>")
                             ? folder.path(QStringLiteral("client"))
                             : settingsKey);
    folder.install(script({{"ORCL", kOrcl}}), library);
    if (oracleHome)
        qputenv("ORACLE_HOME", QFile::encodeName(folder.path(QStringLiteral("home"))));
    auto s = logOn();
    QCOMPARE(s->connectionInfo().clientVersion, QStringLiteral("19.20.0.0.0"));
    // One environment for the process: threaded (a cancel comes from another thread), and
    // AL32UTF8 for both kinds of text whatever NLS_LANG says.
    const QList<QJsonObject> env = folder.calls(QStringLiteral("OCIEnvNlsCreate"));
    QCOMPARE(env.size(), 1);
    QCOMPARE(env[0][QStringLiteral("mode")].toInt(), 1);
    QCOMPARE(env[0][QStringLiteral("charset")].toInt(), 873);
    QCOMPARE(env[0][QStringLiteral("ncharset")].toInt(), 873);
}

void TestOci::missingClientExplainsItself_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QStringList>("expected");
    const QString notSet = QStringLiteral("설정되어 있지 않습니다");
    QTest::newRow("nowhere") << "none"
                             << QStringList{
                                    "Oracle 클라이언트 라이브러리(libclntsh.so)를 찾지 못했습니다.",
                                    "1. KOLMARA.INI [System Version] \"Oracle Client\": " + notSet,
                                    "2. ORACLE_HOME: " + notSet,
                                    "3. 시스템 라이브러리 경로(LD_LIBRARY_PATH, ldconfig): "
                                    "libclntsh.so: cannot open shared object file",
                                    "해결: 64비트 Oracle Instant Client Basic을 설치하고"};
    QTest::newRow("empty folder") << "empty"
                                  << QStringList{"client에 libclntsh.so이(가) 없습니다",
                                                 "2. ORACLE_HOME"};
    QTest::newRow("no such folder") << "missing" << QStringList{"nowhere이(가) 없습니다"};
    QTest::newRow("ORACLE_HOME without a client")
        << "home" << QStringList{"2. ORACLE_HOME = ", "lib", "에 libclntsh.so이(가) 없습니다"};
    QTest::newRow("a library it needs is missing")
        << "needy" << QStringList{"libnnz99.so: cannot open shared object file", "LD_LIBRARY_PATH"};
    QTest::newRow("32-bit client")
        << "32bit"
        << QStringList{"ELFCLASS32",
                       "32비트 클라이언트입니다: Kolmara는 64비트 프로그램이라 64비트 Oracle "
                       "클라이언트가 필요합니다."};
    QTest::newRow("client without its message files")
        << "envfails"
        << QStringList{"OCI 환경을 만들지 못했습니다",
                       "ORA-01804: failure to initialize timezone information", "libociei.so"};
}

void TestOci::missingClientExplainsItself()
{
    QFETCH(QString, layout);
    QFETCH(QStringList, expected);
    ClientFolder folder(layout == QLatin1String("none") || layout == QLatin1String("home")
                            ? QString()
                        : layout == QLatin1String("missing") ? QStringLiteral("nowhere")
                                                             : QStringLiteral("client"));
    if (layout == QLatin1String("home")) {
        QDir().mkpath(folder.path(QStringLiteral("home/lib")));
        qputenv("ORACLE_HOME", QFile::encodeName(folder.path(QStringLiteral("home"))));
    } else if (layout == QLatin1String("needy")) {
        QVERIFY(QFile::copy(QStringLiteral(KOLMARA_STANDIN_NEEDY),
                            folder.path(QStringLiteral("client/libclntsh.so"))));
    } else if (layout == QLatin1String("32bit")) {
        QFile f(folder.path(QStringLiteral("client/libclntsh.so")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        QByteArray header(
            "\x7f"
            "ELF\x01\x01\x01",
            7);
        header.append(QByteArray(1024, '\0'));
        f.write(header);
    } else if (layout == QLatin1String("envfails")) {
        QJsonObject s = script({{"ORCL", kOrcl}});
        s.insert(QStringLiteral("envError"),
                 QJsonArray{1804, "failure to initialize timezone information"});
        folder.install(s);
    }
    const QString message = connectError();
    for (const QString& part : expected)
        QVERIFY2(message.contains(part), qPrintable(part + QStringLiteral("\n---\n") + message));
    QVERIFY(!message.contains(QStringLiteral("ORA-12154")));

    // With the client in place the next connect finds it, without a restart.
    if (layout == QLatin1String("needy")) {
        QVERIFY(QFile::copy(QStringLiteral(KOLMARA_STANDIN_DEPENDENCY),
                            folder.path(QStringLiteral("client/libnnz99.so"))));
        QCOMPARE(
            connectError(),
            QStringLiteral("ORA-12154: TNS:could not resolve the connect identifier specified"));
    }
}

void TestOci::missingClientReachesTheConnectDialogAndKolmaraSql()
{
    ClientFolder folder{QString()};
    QString message = connectError();
    QVERIFY(message.startsWith(QStringLiteral("Oracle 클라이언트 라이브러리")));
    {
        test::ScriptedUiServices ui;
        app::TKOLM000F::setAutoConnectEnabled(false);
        app::TKOLM000F w;
        QVERIFY(!w.ConnectDatabase(QStringLiteral("ORCL"), QStringLiteral("SCOTT"),
                                   QStringLiteral("TIGER")));
        QCOMPARE(ui.messageTexts(), QStringList{message});
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("ORACLE_HOME"));
    const Run r = runSql(folder.path(),
                         {QStringLiteral("ORCL"), QStringLiteral("SCOTT/TIGER"),
                          QStringLiteral("SELECT 1 FROM DUAL")},
                         env);
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err.trimmed(), message);
}

void TestOci::logOnSetsUpTheSession()
{
    ClientFolder folder;
    folder.install(script({{"ORCL", kOrcl}}));
    {
        auto s = logOn(QStringLiteral(" orcl "));
        const QList<QJsonObject> attach = folder.calls(QStringLiteral("OCIServerAttach"));
        QCOMPARE(attach.size(), 1);
        QCOMPARE(attach[0][QStringLiteral("service")].toString(), QStringLiteral("orcl"));
        const QList<QJsonObject> begin = folder.calls(QStringLiteral("OCISessionBegin"));
        QCOMPARE(begin[0][QStringLiteral("user")].toString(), QStringLiteral("scott"));
        QCOMPARE(begin[0][QStringLiteral("credentials")].toInt(), 1);
        // The session's formats are set before anything else runs.
        const QString first = folder.calls(QStringLiteral("OCIStmtExecute"))
                                  .first()[QStringLiteral("sql")]
                                  .toString();
        QVERIFY(first.startsWith(
            QStringLiteral("ALTER SESSION SET NLS_DATE_FORMAT = 'YYYY-MM-DD HH24:MI:SS'")));
        QVERIFY(first.contains(QStringLiteral("NLS_NUMERIC_CHARACTERS = '.,'")));
        const db::ConnectionInfo info = s->connectionInfo();
        QCOMPARE(info.databaseCharset, QStringLiteral("AL32UTF8"));
        QCOMPARE(info.nationalCharset, QStringLiteral("AL16UTF16"));
        QCOMPARE(info.clientKind, QStringLiteral("Oracle Client"));
        QCOMPARE(info.warning, QString());
    }
    QCOMPARE(folder.liveHandles(), 0);
}

void TestOci::logOnErrors_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("message");
    QTest::newRow("unknown service")
        << "NOWHERE"
        << "TIGER"
        << "ORA-12154: TNS:could not resolve the connect identifier specified";
    QTest::newRow("wrong password") << "ORCL"
                                    << "tiger"
                                    << "ORA-01017: invalid username/password; logon denied";
    QTest::newRow("expired password") << "OLD"
                                      << "TIGER"
                                      << "ORA-28001: the password has expired";
    QTest::newRow("Basic Light, Korean database")
        << "KSC"
        << "TIGER"
        << "ORA-12737: Instant Client Light: unsupported server character set KO16KSC5601\nInstant "
           "Client Basic Light는 이 "
           "데이터베이스 문자셋을 다루지 못합니다: Instant Client Basic이나 Oracle 클라이언트를 "
           "설치하십시오.";
}

void TestOci::logOnErrors()
{
    QFETCH(QString, server);
    QFETCH(QString, password);
    QFETCH(QString, message);
    ClientFolder folder;
    QJsonObject old = kOrcl;
    old.insert(QStringLiteral("logonError"), QJsonArray{28001, "the password has expired"});
    QJsonObject ksc = kOrcl;
    ksc.insert(
        QStringLiteral("logonError"),
        QJsonArray{12737, "Instant Client Light: unsupported server character set KO16KSC5601"});
    folder.install(script({{"ORCL", kOrcl}, {"OLD", old}, {"KSC", ksc}}));
    QCOMPARE(connectError(server, password), message);
    // A refused logon leaves no handle behind.
    QCOMPARE(folder.liveHandles(), 0);
}

void TestOci::valuesReadAsTheProgramExpects()
{
    ClientFolder folder;
    QJsonObject german = kOrcl;
    german.insert(QStringLiteral("territory"),
                  QStringLiteral("GERMANY"));  // "0,5" unless the session says otherwise
    folder.install(script(
        {{"ORCL", german}},
        {QJsonObject{
            {"match", "FROM T"},
            {"columns", QJsonArray{column("NAME", 1, 30, 10), column("BIG", 2), column("HALF", 2),
                                   column("BORN", 12), column("RATIO", 101),
                                   column("TAG", 96, 3, 3), column("BITS", 23, 2)}},
            {"rows", QJsonArray{QJsonArray{"홍길동", "12345678901234567890", ".5",
                                           "2003-05-15 14:00:00", "1.25", "A  ", "0AFF"},
                                QJsonArray{QJsonValue(), QJsonValue(), QJsonValue(), QJsonValue(),
                                           QJsonValue(), QJsonValue(), QJsonValue()}}}}}));
    auto s = logOn();
    db::Query q(s.get());
    q.addSql(QStringLiteral("SELECT * FROM T"));
    q.open();
    QCOMPARE(q.recordCount(), 2);
    QCOMPARE(q.fieldNames(), (QStringList{"NAME", "BIG", "HALF", "BORN", "RATIO", "TAG", "BITS"}));
    QCOMPARE(q.fieldByName(QStringLiteral("NAME")).asText(), QStringLiteral("홍길동"));
    QCOMPARE(q.fieldByName(QStringLiteral("BIG")).asText(), QStringLiteral("12345678901234567890"));
    QCOMPARE(q.fieldByName(QStringLiteral("HALF")).value().text, QStringLiteral(".5"));
    QCOMPARE(q.fieldByName(QStringLiteral("HALF")).asText(), QStringLiteral("0.5"));
    QCOMPARE(q.fieldByName(QStringLiteral("HALF")).asDouble(), 0.5);
    QCOMPARE(q.fieldByName(QStringLiteral("BORN")).asText(), QStringLiteral("2003-05-15 14:00:00"));
    QCOMPARE(q.fieldByName(QStringLiteral("BORN")).asDouble(), 37756.0 + 14.0 / 24);
    QCOMPARE(q.fieldByName(QStringLiteral("RATIO")).asText(), QStringLiteral("1.25"));
    QCOMPARE(q.fieldByName(QStringLiteral("TAG")).asText(), QStringLiteral("A  "));
    QCOMPARE(q.fieldByName(QStringLiteral("BITS")).asText(), QStringLiteral("0AFF"));
    q.next();
    for (int i = 0; i < q.fieldCount(); ++i) {
        QVERIFY(q.field(i).isNull());
        QCOMPARE(q.field(i).asText(), QString());
        QCOMPARE(q.field(i).asDouble(), 0.0);
    }
    // BINARY_DOUBLE is fetched as a double, the rest as text in buffers sized for UTF-8.
    QList<int> types;
    QList<int> sizes;
    for (const QJsonObject& d : folder.calls(QStringLiteral("OCIDefineByPos"))
                                    .mid(2)) {  // after the character set query's
        types.append(d[QStringLiteral("type")].toInt());
        sizes.append(d[QStringLiteral("size")].toInt());
    }
    QCOMPARE(types, (QList<int>{5, 5, 5, 5, 22, 5, 5}));
    QCOMPARE(sizes, (QList<int>{41, 173, 173, 64, 8, 13, 5}));
}

void TestOci::bindsByName()
{
    ClientFolder folder;
    folder.install(
        script({{"ORCL", kOrcl}},
               {QJsonObject{{"match", "FROM EMP"}, {"columns", QJsonArray{column("X", 1, 1)}}}}));
    auto s = logOn();
    db::Query q(s.get());
    q.addSql(QStringLiteral(
        "SELECT 'X' X FROM EMP WHERE OWNER = :OWNER AND SAL > :sal AND NOTE = :NOTE"));
    q.addSql(QStringLiteral("AND NAME = :NAME AND OWNER2 = :owner"));
    q.paramByName(QStringLiteral("OWNER")).setAsString(QStringLiteral("SCOTT"));
    q.paramByName(QStringLiteral("SAL")).setAsFloat(2.5);
    q.paramByName(QStringLiteral("NOTE")).setAsString(QString());
    q.paramByName(QStringLiteral("NAME")).setAsString(QStringLiteral("홍길동"));
    q.open();
    QCOMPARE(q.recordCount(), 0);
    const QJsonObject binds =
        folder.calls(QStringLiteral("OCIStmtExecute")).last()[QStringLiteral("binds")].toObject();
    QCOMPARE(
        binds,
        (QJsonObject{
            {":OWNER", "SCOTT"}, {":SAL", 2.5}, {":NOTE", QJsonValue()}, {":NAME", "홍길동"}}));
}

void TestOci::truncatedValueIsAnError()
{
    ClientFolder folder;
    // The server claims one character of four bytes at most; the value is longer.
    folder.install(
        script({{"ORCL", kOrcl}},
               {QJsonObject{{"match", "FROM T"},
                            {"columns", QJsonArray{column("CODE", 1, 1, 1)}},
                            {"rows", QJsonArray{QJsonArray{"abcd"}, QJsonArray{"abcde"}}}}}));
    auto s = logOn();
    db::Query q(s.get());
    q.setForwardOnly(true);
    q.addSql(QStringLiteral("SELECT CODE FROM T"));
    q.open();
    QCOMPARE(q.field(0).asText(), QStringLiteral("abcd"));
    try {
        q.next();
        QFAIL("a truncated value was read");
    } catch (const db::DatabaseError& e) {
        QCOMPARE(e.message(),
                 QStringLiteral("ORA-01406: fetched column value was truncated (CODE)"));
    }
}

void TestOci::fetchesInBatches()
{
    ClientFolder folder;
    folder.install(
        script({{"ORCL", kOrcl}},
               {QJsonObject{{"match", "FROM BIG"},
                            {"columns", QJsonArray{column("ID", 2), column("NAME", 1, 20, 20)}},
                            {"generate", 2500}},
                QJsonObject{{"match", "FROM VIEWS"},
                            {"columns", QJsonArray{column("TEXT", 8)}},
                            {"generate", 40}}}));
    auto s = logOn();
    auto fetches = [&] {
        QList<int> sizes;
        int delivered = 0;
        for (const QJsonObject& f : folder.calls(QStringLiteral("OCIStmtFetch2"))) {
            sizes.append(f[QStringLiteral("rows")].toInt());
            delivered += f[QStringLiteral("delivered")].toInt();
        }
        return std::pair{sizes, delivered};
    };

    db::Query q(s.get());
    q.addSql(QStringLiteral("SELECT ID, NAME FROM BIG"));
    folder.setScript(
        script({{"ORCL", kOrcl}},
               {QJsonObject{{"match", "FROM BIG"},
                            {"columns", QJsonArray{column("ID", 2), column("NAME", 1, 20, 20)}},
                            {"generate", 2500}}}));
    q.open();
    QCOMPARE(q.recordCount(), 2500);
    q.next();
    QCOMPARE(q.fieldByName(QStringLiteral("NAME")).asText(), QStringLiteral("NAME-2"));
    const auto [sizes, delivered] = fetches();
    QCOMPARE(delivered, 2500);
    QCOMPARE(sizes.size(), 6);  // 500 rows a batch; the sixth call meets the end
    QVERIFY(std::all_of(sizes.begin(), sizes.end(), [](int n) { return n == 500; }));
    QCOMPARE(
        folder.calls(QStringLiteral("OCIStmtExecute")).last()[QStringLiteral("prefetch")].toInt(),
        100);
    QCOMPARE(
        folder.calls(QStringLiteral("OCIStmtExecute")).last()[QStringLiteral("iterations")].toInt(),
        0);

    // Forward-only: opening reads one batch, not the table; the walk reads the rest batch by batch.
    folder.setScript(
        script({{"ORCL", kOrcl}},
               {QJsonObject{{"match", "FROM BIG"},
                            {"columns", QJsonArray{column("ID", 2), column("NAME", 1, 20, 20)}},
                            {"generate", 2500}}}));
    db::Query f(s.get());
    f.setForwardOnly(true);
    f.addSql(QStringLiteral("SELECT ID, NAME FROM BIG"));
    f.open();
    QCOMPARE(fetches().first.size(), 1);
    int rows = 0;
    for (; !f.eof(); f.next())
        ++rows;
    QCOMPARE(rows, 2500);
    QCOMPARE(f.recordCount(), 2500);
    QCOMPARE(fetches().second, 2500);

    // LONG values take 64 KB each: fewer rows a batch, the same megabyte of buffers.
    folder.setScript(
        script({{"ORCL", kOrcl}}, {QJsonObject{{"match", "FROM VIEWS"},
                                               {"columns", QJsonArray{column("TEXT", 8)}},
                                               {"generate", 40}}}));
    db::Query l(s.get());
    l.addSql(QStringLiteral("SELECT TEXT FROM VIEWS"));
    l.open();
    QCOMPARE(l.recordCount(), 40);
    QCOMPARE(fetches().first.first(), 15);
}

void TestOci::errorsCarryTheServerText()
{
    ClientFolder folder;
    const QString snapshot = QStringLiteral(
        "snapshot too old: rollback segment number 2 with name \"_SYSSMU2$\" too small");
    folder.install(script(
        {{"ORCL", kOrcl}},
        {QJsonObject{{"match", "FROM NOWHERE"},
                     {"error", QJsonArray{942, "table or view does not exist"}}},
         QJsonObject{{"match", "FROM OLD"},
                     {"columns", QJsonArray{column("ID", 2)}},
                     {"generate", 1200},
                     {"error", QJsonArray{1555, snapshot}},
                     {"failAt", "fetch"},
                     {"failAfterRows", 700}},
         QJsonObject{
             {"match", "BEGIN"},
             {"error",
              QJsonArray{6550,
                         "line 1, column 7:\nPLS-00201: identifier 'NOPE' must be declared"}}}}));
    auto s = logOn();
    auto errorOf = [&](const QString& sql, bool open) {
        try {
            db::Query q(s.get());
            q.addSql(sql);
            open ? q.open() : q.execSql();
        } catch (const db::DatabaseError& e) {
            return QStringLiteral("%1|%2").arg(e.code()).arg(e.message());
        }
        return QString();
    };
    QCOMPARE(errorOf(QStringLiteral("SELECT * FROM NOWHERE"), true),
             QStringLiteral("942|ORA-00942: table or view does not exist"));
    QCOMPARE(
        errorOf(QStringLiteral("BEGIN NOPE; END;"), false),
        QStringLiteral(
            "6550|ORA-06550: line 1, column 7:\nPLS-00201: identifier 'NOPE' must be declared"));
    QCOMPARE(errorOf(QStringLiteral("SELECT ID FROM OLD"), true),
             QStringLiteral("1555|ORA-01555: ") + snapshot);

    // Forward-only: every row before the error is read, then next() raises it.
    db::Query q(s.get());
    q.setForwardOnly(true);
    q.addSql(QStringLiteral("SELECT ID FROM OLD"));
    q.open();
    int rows = 0;
    try {
        for (; !q.eof(); q.next())
            ++rows;
        QFAIL("the fetch error was lost");
    } catch (const db::DatabaseError& e) {
        QCOMPARE(e.code(), 1555);
    }
    QCOMPARE(rows, 700);
    q.close();
    // Statements are released after errors too: only the connection's own five handles are left.
    QCOMPARE(folder.liveHandles(), 5);
}

void TestOci::transactionsAndLogOff()
{
    ClientFolder folder;
    folder.install(
        script({{"ORCL", kOrcl}}, {QJsonObject{{"match", "UPDATE EMP"}, {"rowCount", 3}},
                                   QJsonObject{{"match", "DELETE FROM EMP"}, {"rowCount", 0}},
                                   QJsonObject{{"match", "BEGIN"}, {"rowCount", 1}}}));
    auto s = logOn();
    db::Query q(s.get());
    q.addSql(QStringLiteral("UPDATE EMP SET SAL = SAL WHERE DEPTNO = :D"));
    q.paramByName(QStringLiteral("D")).setAsFloat(10);
    q.execSql();
    QCOMPARE(q.rowsAffected(), qint64(3));
    QCOMPARE(
        folder.calls(QStringLiteral("OCIStmtExecute")).last()[QStringLiteral("iterations")].toInt(),
        1);
    QCOMPARE(folder.calls(QStringLiteral("OCIStmtExecute")).last()[QStringLiteral("mode")].toInt(),
             0);  // no commit of its own
    s->startTransaction();
    s->rollback();
    q.clearSql();
    q.addSql(QStringLiteral("DELETE FROM EMP WHERE 1 = 0"));
    q.execSql();
    QCOMPARE(q.rowsAffected(), qint64(0));
    q.clearSql();
    q.addSql(QStringLiteral("BEGIN DBMS_STATS.GATHER_SCHEMA_STATS('SCOTT'); END;"));
    q.execSql();
    QCOMPARE(q.rowsAffected(), qint64(0));  // only changes of rows are counted
    s->commit();
    QCOMPARE(folder.callNames().filter(QRegularExpression(QStringLiteral("^OCITrans"))),
             (QStringList{"OCITransRollback", "OCITransCommit"}));
    s->disconnect();
    // Logging off commits, as on the embedded engine, then ends the session and detaches.
    QCOMPARE(folder.callNames().mid(folder.callNames().size() - 3),
             (QStringList{"OCITransCommit", "OCISessionEnd", "OCIServerDetach"}));
    QCOMPARE(folder.liveHandles(), 0);
}

void TestOci::cancelBreaksTheRunningCall()
{
    ClientFolder folder;
    folder.install(script({{"ORCL", kOrcl}}, {QJsonObject{{"match", "FROM SLOW"},
                                                          {"columns", QJsonArray{column("X", 2)}},
                                                          {"hang", "execute"}},
                                              QJsonObject{{"match", "FROM DUAL"},
                                                          {"columns", QJsonArray{column("X", 2)}},
                                                          {"rows", QJsonArray{QJsonArray{"1"}}}}}));
    auto s = logOn();
    // Asked while nothing runs, a cancel sends no break, and the next statement runs.
    s->cancel();
    db::Query one(s.get());
    one.addSql(QStringLiteral("SELECT 1 X FROM DUAL"));
    one.open();
    QCOMPARE(one.recordCount(), 1);
    QVERIFY(folder.calls(QStringLiteral("OCIBreak")).isEmpty());

    QString error;
    std::thread worker([&] {
        try {
            db::Query q(s.get());
            q.addSql(QStringLiteral("SELECT X FROM SLOW"));
            q.open();
        } catch (const db::DatabaseError& e) {
            error = e.message();
        }
    });
    QTRY_VERIFY_WITH_TIMEOUT(folder.calls(QStringLiteral("OCIStmtExecute"))
                                 .last()[QStringLiteral("sql")]
                                 .toString()
                                 .contains(QStringLiteral("SLOW")),
                             5000);
    // The session serves the worker: this thread's call is refused at once, not queued behind it.
    QVERIFY(s->isBusy());
    try {
        one.open();
        QFAIL("a second thread's call ran beside the first");
    } catch (const db::DatabaseError& e) {
        QCOMPARE(
            e.message(),
            QStringLiteral("ORA-03127: no new operations allowed until the active operation ends"));
    }
    s->cancel();
    worker.join();
    QCOMPARE(error, QStringLiteral("ORA-01013: user requested cancel of current operation"));
    const QList<QJsonObject> breaks = folder.calls(QStringLiteral("OCIBreak"));
    QCOMPARE(breaks.size(), 1);
    QVERIFY(breaks[0][QStringLiteral("inCall")].toBool());
    QVERIFY(breaks[0][QStringLiteral("ownErrorHandle")].toBool());
    QVERIFY(!s->isBusy());
    one.open();
    QCOMPARE(one.recordCount(), 1);
}

void TestOci::callTimeoutWhereTheClientHasOne()
{
    const QJsonArray slow{QJsonObject{
        {"match", "FROM SLOW"}, {"columns", QJsonArray{column("X", 2)}}, {"hang", "execute"}}};
    {
        ClientFolder folder;
        folder.install(script({{"ORCL", kOrcl}}, slow));
        auto s = logOn();
        QVERIFY(s->setCallTimeout(200));
        QCOMPARE(folder.calls(QStringLiteral("callTimeout")).last()[QStringLiteral("ms")].toInt(),
                 200);
        db::Query q(s.get());
        q.addSql(QStringLiteral("SELECT X FROM SLOW"));
        try {
            q.open();
            QFAIL("the call outlived its timeout");
        } catch (const db::DatabaseError& e) {
            QCOMPARE(e.message(), QStringLiteral("ORA-03156: OCI call timed out"));
        }
    }
    ClientFolder folder;
    folder.install(script({{"ORCL", kOrcl}}, slow, {12, 2, 0, 1, 0}));
    auto s = logOn();
    QVERIFY(!s->setCallTimeout(200));
    QVERIFY(folder.calls(QStringLiteral("callTimeout")).isEmpty());
}

void TestOci::characterSetCheck_data()
{
    QTest::addColumn<QString>("dataFile");  // the Instant Client data library beside the client
    QTest::addColumn<int>("major");
    QTest::addColumn<QString>("charset");
    QTest::addColumn<QStringList>("dumps");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("warning");  // a part of it; empty: no warning
    QTest::newRow("Basic, KO16MSWIN949")
        << "libociei.so" << 19 << "KO16MSWIN949" << QStringList() << "Instant Client Basic"
        << "";
    QTest::newRow("Light 19, KO16MSWIN949")
        << "libociicus.so" << 19 << "KO16MSWIN949" << QStringList() << "Instant Client Basic Light"
        << "Basic Light는 데이터베이스 문자셋 KO16MSWIN949의 한글을";
    QTest::newRow("Light 23, KO16MSWIN949")
        << "libociicus.so" << 23 << "KO16MSWIN949" << QStringList() << "Instant Client Basic Light"
        << "";
    QTest::newRow("Light 23, KO16KSC5601")
        << "libociicus.so" << 23 << "KO16KSC5601" << QStringList() << "Instant Client Basic Light"
        << "KO16KSC5601";
    QTest::newRow("Light, AL32UTF8")
        << "libociicus.so" << 19 << "AL32UTF8" << QStringList() << "Instant Client Basic Light"
        << "";
    QTest::newRow("US7ASCII holding CP949")
        << "" << 19 << "US7ASCII"
        << QStringList{"Typ=1 Len=3: 41,42,43", "Typ=1 Len=4: 20,b1,e8,20"} << "Oracle Client"
        << "US7ASCII 데이터베이스에 한글(CP949) 바이트가";
    QTest::newRow("US7ASCII, plain ASCII")
        << "" << 19 << "US7ASCII" << QStringList{"Typ=1 Len=80: 41,42", "Typ=1 Len=2: 7f,7e"}
        << "Oracle Client"
        << "";
}

void TestOci::characterSetCheck()
{
    QFETCH(QString, dataFile);
    QFETCH(int, major);
    QFETCH(QString, charset);
    QFETCH(QStringList, dumps);
    QFETCH(QString, kind);
    QFETCH(QString, warning);
    ClientFolder folder;
    if (!dataFile.isEmpty()) {
        QFile f(folder.path(QStringLiteral("client/") + dataFile));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QJsonObject service = kOrcl;
    service.insert(QStringLiteral("charset"), charset);
    service.insert(QStringLiteral("dumps"), QJsonArray::fromStringList(dumps));
    folder.install(script({{"ORCL", service}}, {}, {major, 1, 0, 0, 0}));
    auto s = logOn();
    const db::ConnectionInfo info = s->connectionInfo();
    QCOMPARE(info.clientKind, kind);
    QCOMPARE(info.databaseCharset, charset);
    if (warning.isEmpty())
        QCOMPARE(info.warning, QString());
    else
        QVERIFY2(
            info.warning.startsWith(QStringLiteral("경고: ")) && info.warning.contains(warning),
            qPrintable(info.warning));
    QVERIFY(!info.warning.contains(QLatin1Char('\n')));
}

void TestOci::kolmaraSqlReadsThroughTheClient()
{
    ClientFolder folder;
    QJsonObject service = kOrcl;
    service.insert(QStringLiteral("charset"), QStringLiteral("US7ASCII"));
    service.insert(QStringLiteral("dumps"), QJsonArray{"Typ=1 Len=2: b0,a1"});
    const QJsonObject s = script(
        {{"ORCL", service}},
        {QJsonObject{
            {"match", "FROM EMP"},
            {"columns", QJsonArray{column("ENAME", 1, 10), column("SAL", 2)}},
            {"rows", QJsonArray{QJsonArray{"KING", "5000"}, QJsonArray{"a,b", QJsonValue()}}}}});
    folder.install(s);
    QFile file(folder.path(QStringLiteral("script.json")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QJsonDocument(s).toJson());
    file.close();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("ORACLE_HOME"));
    env.insert(QStringLiteral("KOLMARA_STANDIN_SCRIPT"), file.fileName());
    const Run r = runSql(folder.path(),
                         {QStringLiteral("ORCL"), QStringLiteral("SCOTT/TIGER"),
                          QStringLiteral("SELECT ENAME, SAL FROM EMP")},
                         env);
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, QStringLiteral("ENAME,SAL\nKING,5000\n\"a,b\",\n"));
    // The character set warning goes to standard error, one line.
    QVERIFY2(
        r.err.startsWith(QStringLiteral("경고: US7ASCII")) && r.err.count(QLatin1Char('\n')) == 1,
        qPrintable(r.err));
}

void TestOci::mainWindowConnectsAndWarns()
{
    ClientFolder folder;
    QJsonObject service = kOrcl;
    service.insert(QStringLiteral("charset"), QStringLiteral("US7ASCII"));
    service.insert(QStringLiteral("dumps"), QJsonArray{"Typ=1 Len=2: b0,a1"});
    folder.install(script(
        {{"ORCL", service}},
        {QJsonObject{{"match", "FROM DUAL"},
                     {"columns", QJsonArray{column("DATE1", 1, 10), column("DATE2", 1, 8),
                                            column("DATE3", 1, 1)}},
                     {"rows", QJsonArray{QJsonArray{"2024-03-05", "09:10:11", "3"}}}},
         QJsonObject{{"match", "FROM ALL_USERS"},
                     {"columns", QJsonArray{column("USERNAME", 1, 30), column("CREATED", 12)}},
                     {"rows", QJsonArray{QJsonArray{"SCOTT", "2001-01-01 00:00:00"},
                                         QJsonArray{"SYS", "2001-01-01 00:00:00"}}}}}));
    test::ScriptedUiServices ui;
    app::TKOLM000F::setAutoConnectEnabled(false);
    app::TKOLM000F w;
    QVERIFY(w.ConnectDatabase(QStringLiteral("ORCL"), QStringLiteral("SCOTT"),
                              QStringLiteral("TIGER")));
    QCOMPARE(ui.messages().size(), 1);
    QCOMPARE(ui.messages()[0].icon, QMessageBox::Warning);
    QVERIFY(ui.messages()[0].text.startsWith(QStringLiteral("경고: US7ASCII")));
    QCOMPARE(w.accountList()->count(), 2);
    // A real server's clock sets the PC's.
    QCOMPARE(ui.clockSettings(),
             (QList<QDateTime>{QDateTime(QDate(2024, 3, 5), QTime(9, 10, 11))}));
}

QTEST_MAIN(TestOci)
#include "tst_oci.moc"
