// The worksheets on an Oracle server, played by the stand-in client library: compile errors from
// ALL_ERRORS put where they are in the editor (a trigger's lines counting from its block), a
// refused CREATE, the server's error position in bytes, row counts, and the explain plan read
// back as a tree and removed again without touching the transaction.
#include "../db_oci/StandInClient.h"
#include "ScriptedUiServices.h"
#include "WorksheetTesting.h"
#include "data/SharedSlots.h"
#include "db/Session.h"
#include "screens/worksheet/KOLM410U.h"
#include "screens/worksheet/KOLM420U.h"
#include "screens/worksheet/SqlEditor.h"
#include "widgets/StringGrid.h"

#include <QLabel>
#include <QTreeWidget>

using namespace kolmara;
using kolmara::screens::TKOLM410F;
using kolmara::screens::TKOLM420F;
using kolmara::test::cursorPlace;
using kolmara::test::gridRows;

namespace {

constexpr int kText = 1;    // SQLT_CHR
constexpr int kNumber = 2;  // SQLT_NUM

const QJsonArray kErrorColumns{test::column("LINE", kNumber), test::column("POSITION", kNumber),
                               test::column("TEXT", kText)};

QJsonObject reply(const QString& match, const QJsonObject& more = {})
{
    QJsonObject r = more;
    r.insert(QStringLiteral("match"), match);
    return r;
}

}  // namespace

class TestWorksheetOracle : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void compileListsErrorsWhereTheyAre();
    void compileWithoutErrors();
    void worksheetOnTheServer();

private:
    void connect(const QJsonArray& statements);
    QList<QJsonObject> executes(const QString& part) const;

    std::unique_ptr<test::ClientFolder> m_folder;
    std::unique_ptr<test::ScriptedUiServices> m_ui;
    std::unique_ptr<db::Session> m_session;
};

void TestWorksheetOracle::init()
{
    m_folder = std::make_unique<test::ClientFolder>();
    m_ui = std::make_unique<test::ScriptedUiServices>();
}

void TestWorksheetOracle::cleanup()
{
    data::setMainSession(nullptr);
    m_session.reset();
    m_ui.reset();
    m_folder.reset();
}

void TestWorksheetOracle::connect(const QJsonArray& statements)
{
    m_folder->install(test::script(
        {{"ORCL", QJsonObject{{"users", QJsonObject{{"SCOTT", "TIGER"}}}}}}, statements));
    m_session = std::make_unique<db::Session>();
    m_session->setServer(QStringLiteral("ORCL"));
    m_session->setUsername(QStringLiteral("SCOTT"));
    m_session->setPassword(QStringLiteral("TIGER"));
    m_session->connect();
    data::setMainSession(m_session.get());
}

// The executes of statements containing `part`, as the stand-in recorded them.
QList<QJsonObject> TestWorksheetOracle::executes(const QString& part) const
{
    QList<QJsonObject> out;
    for (const QJsonObject& call : m_folder->calls(QStringLiteral("OCIStmtExecute")))
        if (call[QStringLiteral("sql")].toString().contains(part))
            out.append(call);
    return out;
}

void TestWorksheetOracle::compileListsErrorsWhereTheyAre()
{
    connect(
        {reply("FUNCTION SYS.F",
               {{"error", QJsonArray{1031, "insufficient privileges"}}, {"errorOffset", 27}}),
         reply("CREATE OR REPLACE PROCEDURE RAISE_SAL"),
         reply("CREATE OR REPLACE TRIGGER SCOTT.EMP_AUDIT"),
         reply("ALL_ERRORS",
               {{"binds", QJsonObject{{":NAME", "RAISE_SAL"}, {":TYPE", "PROCEDURE"}}},
                {"columns", kErrorColumns},
                {"rows", QJsonArray{QJsonArray{
                             "4", "5", "PLS-00103: Encountered the symbol \"COMMIT\"\n"}}}}),
         reply("ALL_ERRORS",
               {{"binds",
                 QJsonObject{{":OWNER", "SCOTT"}, {":NAME", "EMP_AUDIT"}, {":TYPE", "TRIGGER"}}},
                {"columns", kErrorColumns},
                {"rows",
                 QJsonArray{QJsonArray{"3", "5", "PLS-00201: identifier 'LOG_IT' must be declared"},
                            QJsonArray{"3", "5", "PL/SQL: Statement ignored"}}}})});
    TKOLM420F screen;
    screen.show();
    auto* editor = screen.findChild<screens::SqlEditor*>("Memo1");
    editor->setPlainText(
        QStringLiteral("-- raise and audit\n"
                       "CREATE OR REPLACE PROCEDURE RAISE_SAL (P_EMPNO NUMBER) AS\n"
                       "BEGIN\n"
                       "    UPDATE EMP SET SAL = SAL * 1.1 WHERE EMPNO = P_EMPNO\n"
                       "    COMMIT;\n"
                       "END;\n"
                       "/\n"
                       "CREATE OR REPLACE TRIGGER SCOTT.EMP_AUDIT\n"
                       "BEFORE UPDATE ON EMP FOR EACH ROW\n"
                       "BEGIN\n"
                       "    :NEW.SAL := NVL(:NEW.SAL, 0);\n"
                       "    LOG_IT;\n"
                       "END;\n"
                       "/\n"
                       "CREATE OR REPLACE FUNCTION SYS.F RETURN NUMBER AS\n"
                       "BEGIN RETURN 1; END;\n"
                       "/\n"));
    screen.sbt_compileClick();

    auto* grid = screen.findChild<ui::StringGrid*>("AdvStringGrid1");
    QCOMPARE(
        gridRows(grid),
        (QStringList{"PROCEDURE RAISE_SAL|5|5|PLS-00103: Encountered the symbol \"COMMIT\"",
                     "TRIGGER SCOTT.EMP_AUDIT|12|5|PLS-00201: identifier 'LOG_IT' must be declared",
                     "TRIGGER SCOTT.EMP_AUDIT|12|5|PL/SQL: Statement ignored",
                     "FUNCTION SYS.F|15|28|ORA-01031: insufficient privileges"}));
    QCOMPARE(screen.statusText(), QStringLiteral("▶ 컴파일 오류 ...(4 건)"));
    QCOMPARE(cursorPlace(editor), QPoint(5, 5));
    QCOMPARE(screen.findChild<QLabel*>("pn_error")->text(),
             QStringLiteral("PLS-00103: Encountered the symbol \"COMMIT\" (5 줄, 5 열)"));
    screen.ErrorClick(2);
    QCOMPARE(cursorPlace(editor), QPoint(12, 5));
    screen.ErrorClick(4);
    QCOMPARE(cursorPlace(editor), QPoint(15, 28));

    // The trigger went as written, its :NEW never taken for a bind; each unit's errors were asked
    // for by owner, name and type.
    const QList<QJsonObject> trigger = executes(QStringLiteral("TRIGGER SCOTT.EMP_AUDIT"));
    QCOMPARE(trigger.size(), 1);
    QVERIFY(trigger[0]["sql"].toString().contains(QStringLiteral(":NEW.SAL := NVL(:NEW.SAL, 0);")));
    QCOMPARE(trigger[0]["binds"].toObject(), QJsonObject());
    const QList<QJsonObject> errors = executes(QStringLiteral("ALL_ERRORS"));
    QCOMPARE(errors.size(), 2);
    QCOMPARE(errors[0]["binds"].toObject(),
             (QJsonObject{
                 {":OWNER", QJsonValue::Null}, {":NAME", "RAISE_SAL"}, {":TYPE", "PROCEDURE"}}));
    QCOMPARE(errors[1]["binds"].toObject(),
             (QJsonObject{{":OWNER", "SCOTT"}, {":NAME", "EMP_AUDIT"}, {":TYPE", "TRIGGER"}}));
}

void TestWorksheetOracle::compileWithoutErrors()
{
    connect({reply("CREATE OR REPLACE PACKAGE"),
             reply("ALL_ERRORS", {{"columns", kErrorColumns}, {"rows", QJsonArray()}})});
    TKOLM420F screen;
    screen.show();
    screen.findChild<screens::SqlEditor*>("Memo1")->setPlainText(QStringLiteral(
        "CREATE OR REPLACE PACKAGE PAY AS\n  PROCEDURE RUN;\nEND;\n/\n"
        "CREATE OR REPLACE PACKAGE BODY PAY AS\n  PROCEDURE RUN IS BEGIN NULL; END;\nEND;\n/"));
    screen.sbt_compileClick();
    QCOMPARE(screen.statusText(), QStringLiteral("▶ 컴파일 되었습니다... (2 개 객체)"));
    QCOMPARE(screen.findChild<ui::StringGrid*>("AdvStringGrid1")->rowCount(), 2);
    QVERIFY(!screen.findChild<QLabel*>("pn_error")->isVisibleTo(&screen));
    const QList<QJsonObject> errors = executes(QStringLiteral("ALL_ERRORS"));
    QCOMPARE(errors.size(), 2);
    QCOMPARE(errors[0]["binds"].toObject()[":TYPE"].toString(), QStringLiteral("PACKAGE"));
    QCOMPARE(errors[1]["binds"].toObject()[":TYPE"].toString(), QStringLiteral("PACKAGE BODY"));
}

void TestWorksheetOracle::worksheetOnTheServer()
{
    connect(
        {reply("FROM EMPX",
               {{"error", QJsonArray{942, "table or view does not exist"}}, {"errorOffset", 20}}),
         reply("UPDATE EMP", {{"rowCount", 3}}),
         reply("SELECT ENAME, SAL FROM EMP",
               {{"columns",
                 QJsonArray{test::column("ENAME", kText, 10), test::column("SAL", kNumber)}},
                {"rows", QJsonArray{QJsonArray{"KING", "5000"}, QJsonArray{"BLAKE", "2850"}}}}),
         reply("EXPLAIN PLAN"), reply("DELETE FROM PLAN_TABLE", {{"rowCount", 3}}),
         reply(
             "CONNECT BY PRIOR ID",
             {{"columns",
               QJsonArray{test::column("ID", kNumber), test::column("PARENT_ID", kNumber),
                          test::column("OPERATION", kText, 30), test::column("OPTIONS", kText, 30),
                          test::column("OBJECT_OWNER", kText, 30),
                          test::column("OBJECT_NAME", kText, 30), test::column("COST", kNumber),
                          test::column("CARDINALITY", kNumber), test::column("BYTES", kNumber)}},
              {"rows",
               QJsonArray{QJsonArray{"0", QJsonValue::Null, "SELECT STATEMENT", QJsonValue::Null,
                                     QJsonValue::Null, QJsonValue::Null, "3", "14", "518"},
                          QJsonArray{"1", "0", "SORT", "ORDER BY", QJsonValue::Null,
                                     QJsonValue::Null, "3", "14", "518"},
                          QJsonArray{"2", "1", "TABLE ACCESS", "FULL", "SCOTT", "EMP", "2", "14",
                                     "518"}}}}),
         reply("PROCEDURE BAD"),
         reply("ALL_ERRORS",
               {{"columns", kErrorColumns},
                {"rows",
                 QJsonArray{QJsonArray{"3", "8", "PLS-00103: Encountered the symbol \";\""}}}})});
    TKOLM410F screen;
    screen.show();
    auto* editor = screen.findChild<screens::SqlEditor*>("Memo1");
    auto* grid = screen.findChild<ui::StringGrid*>("AdvStringGrid1");

    // The server counts bytes from the statement's start.
    editor->setPlainText(QStringLiteral("SELECT ENAME\n  FROM EMPX"));
    screen.sbt_runClick();
    QCOMPARE(cursorPlace(editor), QPoint(2, 8));
    QCOMPARE(screen.findChild<QLabel*>("pn_error")->text(),
             QStringLiteral("ORA-00942: table or view does not exist (2 줄, 8 열)"));

    editor->setPlainText(QStringLiteral("SELECT ENAME, SAL FROM EMP"));
    screen.sbt_runClick();
    QCOMPARE(gridRows(grid), (QStringList{"KING|5000", "BLAKE|2850"}));
    QCOMPARE(screen.statusText(), QStringLiteral("▶ 조회 되었습니다... (2 건)"));

    editor->setPlainText(QStringLiteral("UPDATE EMP SET SAL = SAL * 1.1 WHERE DEPTNO = 10"));
    screen.sbt_runClick();
    QCOMPARE(screen.statusText(), QStringLiteral("▶ 3 건이 수정 되었습니다..."));
    screen.sbt_commitClick();
    QCOMPARE(m_folder->calls(QStringLiteral("OCITransCommit")).size(), 1);

    // The plan as a tree; its rows go again and the transaction is left alone.
    editor->setPlainText(QStringLiteral("SELECT ENAME FROM EMP ORDER BY ENAME"));
    screen.sbt_planClick();
    QCOMPARE(screen.statusText(), QStringLiteral("▶ 실행 계획이 조회 되었습니다... (3 단계)"));
    auto* tree = screen.findChild<QTreeWidget*>("tv_plan");
    QCOMPARE(tree->topLevelItemCount(), 1);
    QTreeWidgetItem* top = tree->topLevelItem(0);
    QCOMPARE(top->text(0), QStringLiteral("SELECT STATEMENT"));
    QCOMPARE(top->text(2), QStringLiteral("3"));
    QCOMPARE(top->child(0)->text(0), QStringLiteral("SORT ORDER BY"));
    QTreeWidgetItem* scan = top->child(0)->child(0);
    QCOMPARE(
        QStringList({scan->text(0), scan->text(1), scan->text(2), scan->text(3), scan->text(4)}),
        (QStringList{"TABLE ACCESS FULL", "SCOTT.EMP", "2", "14", "518"}));
    const QList<QJsonObject> explain = executes(QStringLiteral("EXPLAIN PLAN"));
    QCOMPARE(explain.size(), 1);
    const QString id = explain[0]["sql"].toString().section(QLatin1Char('\''), 1, 1);
    QVERIFY(explain[0]["sql"].toString().endsWith(
        QStringLiteral("FOR\nSELECT ENAME FROM EMP ORDER BY ENAME")));
    QCOMPARE(executes(QStringLiteral("CONNECT BY PRIOR ID"))[0]["binds"]
                 .toObject()[":STATEMENT_ID"]
                 .toString(),
             id);
    QCOMPARE(executes(QStringLiteral("DELETE FROM PLAN_TABLE"))[0]["binds"]
                 .toObject()[":STATEMENT_ID"]
                 .toString(),
             id);
    QCOMPARE(m_folder->calls(QStringLiteral("OCITransCommit")).size(), 1);
    QCOMPARE(m_folder->calls(QStringLiteral("OCITransRollback")).size(), 0);

    // A unit created with errors, as SQL*Plus warns of it.
    editor->setPlainText(
        QStringLiteral("\nCREATE OR REPLACE PROCEDURE BAD AS\nBEGIN\n  X := 1 ;\nEND;\n/\n"));
    editor->placeCursor(3);
    screen.sbt_runClick();
    QCOMPARE(screen.statusText(), QStringLiteral("▶ 컴파일 오류 ...(1 건)"));
    QCOMPARE(cursorPlace(editor), QPoint(4, 8));
}

QTEST_MAIN(TestWorksheetOracle)
#include "tst_worksheet_oracle.moc"
