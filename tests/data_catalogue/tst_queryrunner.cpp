// The runner of the query objects, over a scripted driver that records every statement, bind and
// transaction call and hands back rows the test chose: each method runs its own entry, copies its
// rows in its shape, and meets a database error as its failure group says; binds of every kind;
// the slots that survive a call; writers' transactions; ExecSql.
#include "MethodTable.h"
#include "ScriptedUiServices.h"
#include "common/Errors.h"
#include "common/KOLMCOMM.h"
#include "data/Catalogue.h"
#include "data/QueryRunner.h"
#include "data/SharedSlots.h"
#include "db/DriverRegistry.h"
#include "db/Session.h"

#include <QQueue>
#include <QTemporaryDir>
#include <QTest>

using namespace kolmara;
using data::catalogue::all;

namespace {

// What the scripted server saw and what it answers.
struct FakeServer {
    struct Result {
        QStringList columns;
        QVector<QVector<db::Value>> rows;
    };
    QStringList log;  // "start", "execute", "commit", "rollback"
    QStringList statements;
    QList<QHash<QString, db::BindValue>> binds;
    QQueue<Result> results;  // one per statement executed; none left gives no columns and no rows
};

class FakeCursor : public db::Cursor {
public:
    FakeCursor(FakeServer& server, QString sql) : m_server(server), m_sql(std::move(sql)) {}
    void execute(const QHash<QString, db::BindValue>& binds) override
    {
        m_server.log << QStringLiteral("execute");
        m_server.statements << m_sql;
        m_server.binds << binds;
        if (!m_server.results.isEmpty())
            m_result = m_server.results.dequeue();
    }
    QStringList columnNames() const override { return m_result.columns; }
    bool fetch(QVector<db::Value>& row) override
    {
        if (m_next >= m_result.rows.size())
            return false;
        row = m_result.rows[m_next++];
        return true;
    }

private:
    FakeServer& m_server;
    QString m_sql;
    FakeServer::Result m_result;
    int m_next = 0;
};

class FakeConnection : public db::Connection {
public:
    explicit FakeConnection(FakeServer& server) : m_server(server) {}
    std::unique_ptr<db::Cursor> prepare(const QString& sql) override
    {
        return std::make_unique<FakeCursor>(m_server, sql);
    }
    void startTransaction() override { m_server.log << QStringLiteral("start"); }
    void commit() override { m_server.log << QStringLiteral("commit"); }
    void rollback() override { m_server.log << QStringLiteral("rollback"); }
    void disconnect() override {}

private:
    FakeServer& m_server;
};

class FakeDriver : public db::Driver {
public:
    explicit FakeDriver(FakeServer& server) : m_server(server) {}
    std::unique_ptr<db::Connection> connect(const QString&, const QString&, const QString&) override
    {
        return std::make_unique<FakeConnection>(m_server);
    }

private:
    FakeServer& m_server;
};

db::Value textValue(const QString& text)
{
    db::Value v;
    v.kind = db::Value::Kind::Text;
    v.text = text;
    return v;
}

db::Value numberValue(double number)
{
    db::Value v;
    v.kind = db::Value::Kind::Number;
    v.number = number;
    v.text = QString::number(number, 'g', 17);
    return v;
}

const data::Entry& entryOf(const QString& method)
{
    for (const data::Entry* entry : all())
        if (entry->method == method)
            return *entry;
    qFatal("no catalogue entry %s", qPrintable(method));
}

// Arguments that every bind accepts: digits where a number is parsed.
QStringList argumentsFor(const data::Entry& entry)
{
    QStringList arguments;
    for (int i = 0; i < entry.argumentCount; ++i)
        arguments << QStringLiteral("A%1").arg(i);
    for (const data::Bind& bind : entry.binds)
        if (bind.source == data::Bind::Source::NumberArgument)
            arguments[bind.argument] = QStringLiteral("7");
    return arguments;
}

// A result with the entry's columns and `rows` rows: row r holds "r<r>s<slot>" in a text column
// and r * 100 + slot in a number column.
FakeServer::Result resultFor(const data::Entry& entry, int rows)
{
    FakeServer::Result result;
    for (const data::SlotRead& read : entry.reads)
        result.columns << read.column;
    for (int r = 0; r < rows; ++r) {
        QVector<db::Value> row;
        for (const data::SlotRead& read : entry.reads)
            row << (read.as == data::SlotRead::As::Number
                        ? numberValue(r * 100 + read.slot)
                        : textValue(QStringLiteral("r%1s%2").arg(r).arg(read.slot)));
        result.rows << row;
    }
    return result;
}

QString expectedValue(const data::SlotRead& read, int row)
{
    return read.as == data::SlotRead::As::Number ? QString::number(row * 100 + read.slot)
                                                 : QStringLiteral("r%1s%2").arg(row).arg(read.slot);
}

}  // namespace

class TestQueryRunner : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void everyMethodRunsItsOwnEntry_data();
    void everyMethodRunsItsOwnEntry();
    void everyMethodMeetsAnErrorAsItsGroupSays_data();
    void everyMethodMeetsAnErrorAsItsGroupSays();
    void bindValues_data();
    void bindValues();
    void numberArgumentThatDoesNotParse_data();
    void numberArgumentThatDoesNotParse();
    void slotsKeepWhatNoCallOverwrites();
    void nullsReadAsZeroOrEmptyText();
    void componentErrorsPassEveryHandler();
    void writerRollsBackAndStaysSilent();
    void execSql();
    void withoutSessionNothingRuns();
    void slotReadsInTheWrongShapeRaise();

private:
    // The methods as the catalogue's index names them; the expectations of each test come from
    // lists of their own, not from the entries.
    static void addEveryMethod();

    QTemporaryDir m_folder;
    FakeServer m_server;
    std::unique_ptr<db::Session> m_session;
    std::unique_ptr<test::ScriptedUiServices> m_ui;
};

void TestQueryRunner::initTestCase()
{
    QVERIFY(m_folder.isValid());
    // No settings file: every service name goes to the client driver, which is the fake here.
    setProgramFolderForTesting(m_folder.path() + QLatin1Char('/'));
    db::setClientDriver(std::make_shared<FakeDriver>(m_server));
}

void TestQueryRunner::init()
{
    m_server = FakeServer();
    m_ui = std::make_unique<test::ScriptedUiServices>();
    m_ui->setNow(QDateTime(QDate(2003, 5, 15), QTime(14, 30, 5)));
    m_session = std::make_unique<db::Session>();
    m_session->setServer(QStringLiteral("FAKE"));
    m_session->setUsername(QStringLiteral("SYSTEM"));
    m_session->setPassword(QStringLiteral("MANAGER"));
    m_session->setConnected(true);
    data::setMainSession(m_session.get());
    test::createObjects();
    m_server.log.clear();
}

void TestQueryRunner::cleanup()
{
    data::releaseSharedObjects();
    data::setMainSession(nullptr);
    m_session.reset();
    m_ui.reset();
}

void TestQueryRunner::cleanupTestCase()
{
    db::setClientDriver(nullptr);
    setProgramFolderForTesting(QString());
}

void TestQueryRunner::addEveryMethod()
{
    QTest::addColumn<QString>("method");
    for (const data::Entry* entry : all())
        QTest::newRow(qPrintable(entry->method)) << entry->method;
}

void TestQueryRunner::everyMethodRunsItsOwnEntry_data()
{
    addEveryMethod();
}

void TestQueryRunner::everyMethodRunsItsOwnEntry()
{
    QFETCH(QString, method);
    static const QStringList singleRow = {
        "GetServerDate",      "GetUniqueIndexColumn", "GetConstraintType", "GetColumnInfo",
        "GetSegmentFileId",   "GetObjectStatus",      "GetSynonym",        "GetSequence",
        "GetTablespaceUsage", "GetFileFreeSpace",     "GetTableStorage",   "GetElapsedMinutes",
        "GetBackupTable",     "GetBackupUser"};
    const data::Entry& entry = entryOf(method);
    QVERIFY(test::methods().contains(method));
    const bool writer = method.startsWith("Insert") || method.startsWith("Update");
    m_server.results << resultFor(entry, 3);

    const int result = test::call(method, argumentsFor(entry));

    // The statement sent is the entry's lines joined by line breaks, with every parameter bound.
    QCOMPARE(m_server.statements, QStringList{entry.lines.join(QLatin1Char('\n'))});
    QCOMPARE(m_ui->messages().size(), 0);
    QVERIFY(!SharedQuery2 && !SharedQuery3);
    if (writer) {
        QCOMPARE(result, 0);
        QCOMPARE(m_server.log, (QStringList{"start", "execute", "commit"}));
        return;
    }
    QCOMPARE(m_server.log, QStringList{"execute"});
    QCOMPARE(result, 3);  // a single-row method counts every row too
    const data::QueryObject& object = test::objectOf(method);
    QList<int> written;
    for (const data::SlotRead& read : entry.reads) {
        written << read.slot;
        const data::SlotValue& slot = object.slot(read.slot);
        if (singleRow.contains(method)) {
            QVERIFY2(slot.isText(), qPrintable(read.column));
            QCOMPARE(slot.text(), expectedValue(read, 0));
        } else if (method == "GetTriggerBody") {
            QCOMPARE(slot.length(), 3);
            QCOMPARE(slot.text(0), expectedValue(read, 0));
            QCOMPARE(slot.text(1), QString());
            QCOMPARE(slot.text(2), QString());
        } else {
            QCOMPARE(slot.length(), 3);
            for (int row = 0; row < 3; ++row)
                QCOMPARE(slot.text(row), expectedValue(read, row));
        }
    }
    for (int i = 0; i < object.slotCount(); ++i)
        if (!written.contains(i))
            QVERIFY2(object.slot(i).isEmpty(), qPrintable(QString::number(i)));
}

void TestQueryRunner::everyMethodMeetsAnErrorAsItsGroupSays_data()
{
    addEveryMethod();
}

void TestQueryRunner::everyMethodMeetsAnErrorAsItsGroupSays()
{
    QFETCH(QString, method);
    static const QStringList withMessage = {
        "GetUniqueIndexColumn", "GetTablespaceUsage", "GetFileFreeSpace", "GetLocks",
        "GetTablespaces",       "GetDatafiles",       "UpdateBackupTable", "GetUniqueIndexColumns"};
    static const QStringList silent = {
        "GetSegmentFileId",     "GetSga",          "GetSgaStat",       "GetTableList",
        "GetBackupTable",       "GetBackupTables", "GetDueBackups",    "InsertBackupTable",
        "UpdateBackupDateTime", "InsertBackupLog", "InsertBackupUser", "UpdateBackupUser"};
    static const QStringList onQuery3 = {"GetServerDate", "GetElapsedMinutes"};
    const data::Entry& entry = entryOf(method);
    const bool writer = method.startsWith("Insert") || method.startsWith("Update");
    const QString message = QStringLiteral("ORA-00942: table or view does not exist");
    m_session->failNthStatementForTesting(1, 942, QStringLiteral("table or view does not exist"));

    if (withMessage.contains(method) || silent.contains(method)) {
        QCOMPARE(test::call(method, argumentsFor(entry)), -1);
        QCOMPARE(m_ui->messageTexts(),
                 withMessage.contains(method) ? QStringList{message} : QStringList{});
        if (!m_ui->messages().isEmpty())
            QCOMPARE(m_ui->messages().first().caption, ui::kApplicationTitle);
        QVERIFY(!SharedQuery2 && !SharedQuery3);  // closed and freed
    } else {
        try {
            test::call(method, argumentsFor(entry));
            QFAIL("the error did not reach the caller");
        } catch (const db::DatabaseError& error) {
            QCOMPARE(error.message(), message);
        }
        QCOMPARE(m_ui->messages().size(), 0);
        // The query stays in its slot, owned, until the next call replaces it.
        QVERIFY(onQuery3.contains(method) ? SharedQuery3 && !SharedQuery2
                                          : SharedQuery2 && !SharedQuery3);
    }
    QCOMPARE(m_server.log, writer ? (QStringList{"start", "rollback"}) : QStringList{});
    const data::QueryObject& object = test::objectOf(method);
    for (int i = 0; i < object.slotCount(); ++i)
        QVERIFY(object.slot(i).isEmpty());
}

void TestQueryRunner::bindValues_data()
{
    QTest::addColumn<QString>("method");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("bind");
    QTest::addColumn<int>("kind");  // BindValue::Kind
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("number");
    const int text = int(db::BindValue::Kind::Text);
    const int number = int(db::BindValue::Kind::Number);
    const int null = int(db::BindValue::Kind::Null);
    QTest::newRow("text argument")
        << "GetTablespaceUsage" << QStringList{"USERS", "3"} << "NAME" << text << "USERS" << 0.0;
    QTest::newRow("number argument")
        << "GetTablespaceUsage" << QStringList{"USERS", "3"} << "TS" << number << "" << 3.0;
    QTest::newRow("number with blanks")
        << "GetSessionSql" << QStringList{" 12 ", "1e3", "SCOTT"} << "SID" << number << "" << 12.0;
    QTest::newRow("number in exponent form")
        << "GetSessionSql" << QStringList{" 12 ", "1e3", "SCOTT"} << "SERIAL" << number << ""
        << 1000.0;
    QTest::newRow("FILE# as number")
        << "GetDatafileName" << QStringList{"-2.5"} << "FILE#" << number << "" << -2.5;
    QTest::newRow("FILE_ID as text")
        << "GetFileFreeSpace" << QStringList{"3"} << "FILE_ID" << text << "3" << 0.0;
    QTest::newRow("empty text is NULL")
        << "GetTableList" << QStringList{"", "%"} << "OWNER" << null << "" << 0.0;
    QTest::newRow("constant UNIQUE") << "GetUniqueIndexColumn" << QStringList{"S", "T", "C"}
                                     << "UNIQUENESS" << text << "UNIQUE" << 0.0;
    QTest::newRow("constant TABLE") << "GetTablesInTablespace" << QStringList{"S", "USERS"}
                                    << "OBJECT_TYPE" << text << "TABLE" << 0.0;
    QTest::newRow("constraint is the third argument")
        << "GetConstraintType" << QStringList{"S", "T", "PK"} << "CONSTRAINT_NAME" << text << "PK"
        << 0.0;
    QTest::newRow("daily cycle") << "GetDueBackups" << QStringList{"KOLM"} << "BACKUP_CYCLE1"
                                 << text << "D" << 0.0;
    QTest::newRow("weekly cycle") << "GetDueBackups" << QStringList{"KOLM"} << "BACKUP_CYCLE2"
                                  << text << "W" << 0.0;
    QTest::newRow("monthly cycle")
        << "GetDueBackups" << QStringList{"KOLM"} << "BACKUP_CYCLE3" << text << "M" << 0.0;
    QTest::newRow("log from the day's start")
        << "GetBackupLog" << QStringList{"KOLM", "SCOTT", "20030401", "20030430"}
        << "BACKLOG_FRDATE" << text << "20030401 000000" << 0.0;
    QTest::newRow("log to the day's end")
        << "GetBackupLog" << QStringList{"KOLM", "SCOTT", "20030401", "20030430"}
        << "BACKLOG_TODATE" << text << "20030430 235959" << 0.0;
    QTest::newRow("backup stamp is now")
        << "UpdateBackupDateTime" << QStringList{"KOLM", "SCOTT", "EMP"} << "BACKUP_DATETIME"
        << text << "20030515 143005" << 0.0;
    QTest::newRow("registration stamp is now")
        << "UpdateBackupUser" << QStringList{"KOLM", "SCOTT", "TIGER", "스콧", "0130", "Y"}
        << "BACKUSER_MDFDAT" << text << "20030515 143005" << 0.0;
    QTest::newRow("log count as number") << "InsertBackupLog"
                                         << QStringList{"KOLM",
                                                        "SCOTT",
                                                        "EMP",
                                                        "20030515 010000",
                                                        "20030515 010100",
                                                        "사원",
                                                        "D",
                                                        "01",
                                                        "01",
                                                        "10.0.0.1",
                                                        "",
                                                        "/backup/EMP.txt",
                                                        "1200"}
                                         << "BACKLOG_COUNT" << number << "" << 1200.0;
    QTest::newRow("empty condition is NULL")
        << "InsertBackupTable"
        << QStringList{"KOLM", "SCOTT", "EMP", "사원", "D", "01", "01", "", ""}
        << "BACKUP_CONDISION" << null << "" << 0.0;
}

void TestQueryRunner::bindValues()
{
    QFETCH(QString, method);
    QFETCH(QStringList, arguments);
    QFETCH(QString, bind);
    QFETCH(int, kind);
    QFETCH(QString, text);
    QFETCH(double, number);

    test::call(method, arguments);

    QCOMPARE(m_server.binds.size(), 1);
    QVERIFY(m_server.binds[0].contains(bind));
    const db::BindValue value = m_server.binds[0].value(bind);
    QCOMPARE(int(value.kind), kind);
    if (value.kind == db::BindValue::Kind::Number)
        QCOMPARE(value.number, number);
    else
        QCOMPARE(value.text, text);
}

void TestQueryRunner::numberArgumentThatDoesNotParse_data()
{
    QTest::addColumn<QString>("method");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("tablespace usage") << "GetTablespaceUsage" << QStringList{"USERS", "abc"}
                                      << "'abc' is not a valid floating point value";
    QTest::newRow("datafile name, empty")
        << "GetDatafileName" << QStringList{""} << "'' is not a valid floating point value";
    QTest::newRow("session sql, serial") << "GetSessionSql" << QStringList{"12", "1,000", "SCOTT"}
                                         << "'1,000' is not a valid floating point value";
    QTest::newRow("datafiles") << "GetDatafiles" << QStringList{"3x"}
                               << "'3x' is not a valid floating point value";
    QTest::newRow("log count") << "InsertBackupLog"
                               << QStringList{"KOLM",
                                              "SCOTT",
                                              "EMP",
                                              "20030515 010000",
                                              "20030515 010100",
                                              "",
                                              "D",
                                              "01",
                                              "01",
                                              "10.0.0.1",
                                              "",
                                              "/backup/EMP.txt",
                                              "many"}
                               << "'many' is not a valid floating point value";
}

void TestQueryRunner::numberArgumentThatDoesNotParse()
{
    QFETCH(QString, method);
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    try {
        test::call(method, arguments);
        QFAIL("no conversion error");
    } catch (const ConversionError& error) {
        QCOMPARE(error.message(), message);
    }
    // Raised while binding: nothing reached the server, no handler showed anything, and a writer's
    // transaction is not left open.
    QVERIFY(m_server.statements.isEmpty());
    QCOMPARE(m_ui->messages().size(), 0);
    QCOMPARE(m_server.log,
             method == "InsertBackupLog" ? (QStringList{"start", "rollback"}) : QStringList{});
    QVERIFY(!m_session->inTransaction());
}

void TestQueryRunner::slotsKeepWhatNoCallOverwrites()
{
    const data::Entry& indexes = data::catalogue::GetTableIndexes;
    const data::Entry& columns = data::catalogue::GetTableColumns;
    m_server.results << resultFor(indexes, 2);
    QCOMPARE(Oraclem2->GetTableIndexes("SCOTT", "EMP"), 2);

    // GetTableColumns writes 0 to 5, 7 and 8: slot 6 and the slots past 8 keep the indexes' arrays.
    FakeServer::Result three = resultFor(columns, 3);
    for (auto& row : three.rows)
        row[0] = textValue("column");
    m_server.results << three;
    QCOMPARE(Oraclem2->GetTableColumns("SCOTT", "EMP"), 3);
    QCOMPARE(Oraclem2->slotLength(0), 3);
    QCOMPARE(Oraclem2->slotText(0, 2), QStringLiteral("column"));
    QCOMPARE(Oraclem2->slotText(7, 1), QStringLiteral("r1s7"));
    QCOMPARE(Oraclem2->slotLength(6), 2);
    QCOMPARE(Oraclem2->slotText(6, 1), QStringLiteral("106"));  // NEXT_EXTENT of the second index
    QCOMPARE(Oraclem2->slotText(10, 0), QStringLiteral("10"));

    // A call that finds nothing writes nothing: every array of the earlier calls stays readable.
    m_server.results << resultFor(columns, 0);
    QCOMPARE(Oraclem2->GetTableColumns("SCOTT", "NONE"), 0);
    QCOMPARE(Oraclem2->slotText(0, 2), QStringLiteral("column"));
    QCOMPARE(Oraclem2->slotText(6, 1), QStringLiteral("106"));

    // A single-row method on the same object replaces only its own slots.
    m_server.results << resultFor(data::catalogue::GetTableStorage, 1);
    QCOMPARE(Oraclem2->GetTableStorage("SCOTT", "EMP"), 1);
    QCOMPARE(Oraclem2->slotText(0), QStringLiteral("r0s0"));
    QCOMPARE(Oraclem2->slotText(14), QStringLiteral("r0s14"));
    QCOMPARE(Oraclem2->slotLength(15), 0);
}

void TestQueryRunner::nullsReadAsZeroOrEmptyText()
{
    FakeServer::Result result = resultFor(data::catalogue::GetTableStorage, 1);
    for (int i : {1, 3, 13})  // CLUSTER_NAME (text), PCT_FREE and CHAIN_CNT (numbers)
        result.rows[0][i] = db::Value();
    result.rows[0][10] = numberValue(2147483645);  // MAX_EXTENTS
    result.rows[0][11] = numberValue(0.5);         // PCT_INCREASE
    m_server.results << result;

    QCOMPARE(Oraclem2->GetTableStorage("SCOTT", "EMP"), 1);
    QCOMPARE(Oraclem2->slotText(1), QString());
    QVERIFY(Oraclem2->slot(1).isText());
    QCOMPARE(Oraclem2->slotText(3), QStringLiteral("0"));
    QCOMPARE(Oraclem2->slotText(13), QStringLiteral("0"));
    QCOMPARE(Oraclem2->slotText(10), QStringLiteral("2147483645"));
    QCOMPARE(Oraclem2->slotText(11), QStringLiteral("0.5"));
}

void TestQueryRunner::componentErrorsPassEveryHandler()
{
    // A result without the column the entry names is a fault of the program, not of the
    // database: even a silent handler lets it pass.
    FakeServer::Result result = resultFor(data::catalogue::GetSga, 1);
    result.columns[1] = QStringLiteral("BYTES");
    m_server.results << result;
    QVERIFY_THROWS_EXCEPTION(db::DatabaseError, Oraclem1->GetSga());
    QCOMPARE(m_ui->messages().size(), 0);
}

void TestQueryRunner::writerRollsBackAndStaysSilent()
{
    m_session->failNthStatementForTesting(
        1, 1, QStringLiteral("unique constraint (BACKUP.BACKUP_TABLE_PK) violated"));
    QCOMPARE(Backupt1->InsertBackupTable("KOLM", "SCOTT", "EMP", "사원", "D", "01", "01", "", ""),
             -1);
    QCOMPARE(m_ui->messages().size(), 0);
    QVERIFY(!m_session->inTransaction());

    // The next write runs in a fresh transaction of its own.
    QCOMPARE(Backupt1->UpdateBackupDateTime("KOLM", "SCOTT", "EMP"), 0);
    QCOMPARE(m_server.log, (QStringList{"start", "rollback", "start", "execute", "commit"}));
}

void TestQueryRunner::execSql()
{
    QCOMPARE(Oraclem1->ExecSql("ALTER SYSTEM KILL SESSION '12,345'", ""), 0);
    QCOMPARE(m_server.statements, QStringList{"ALTER SYSTEM KILL SESSION '12,345'\n"});
    QVERIFY(!SharedStatement);

    m_session->failNthStatementForTesting(1, 30, QStringLiteral("User session ID does not exist."));
    QCOMPARE(Oraclem1->ExecSql("ALTER SYSTEM KILL SESSION '99,1'", ""), -1);
    QCOMPARE(m_ui->messageTexts(), QStringList{"ORA-00030: User session ID does not exist."});
    QCOMPARE(m_ui->messages().first().caption, ui::kApplicationTitle);
    QVERIFY(!SharedStatement);
    QVERIFY(!m_server.log.contains("commit"));
}

void TestQueryRunner::withoutSessionNothingRuns()
{
    data::setMainSession(nullptr);
    try {
        Oraclem1->GetSga();  // even a silent handler: the session is needed before it is entered
        QFAIL("no error");
    } catch (const db::DatabaseError& error) {
        QCOMPARE(error.message(), QStringLiteral("ORA-03114: not connected to ORACLE"));
    }
    QVERIFY(m_server.log.isEmpty());
}

void TestQueryRunner::slotReadsInTheWrongShapeRaise()
{
    m_server.results << resultFor(data::catalogue::GetVersion, 2);
    QCOMPARE(Oraclem1->GetVersion(), 2);
    QCOMPARE(Oraclem1->slotText(1), QString());  // never written: empty
    QVERIFY_THROWS_EXCEPTION(KolmaraError, Oraclem1->slotText(0));
    QVERIFY_THROWS_EXCEPTION(KolmaraError, Oraclem1->slotText(0, 2));
    QVERIFY_THROWS_EXCEPTION(KolmaraError, Oraclem1->slotText(1, 0));
    QVERIFY_THROWS_EXCEPTION(KolmaraError, Oraclem1->slotText(20));
}

QTEST_MAIN(TestQueryRunner)
#include "tst_queryrunner.moc"
