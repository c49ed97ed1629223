// The SQL worksheet and the PL/SQL editor against the demo instance, driven as a DBA would: the
// statement under the cursor, a selection, a script; results a page at a time; errors in place;
// row counts, commit and rollback; cancel while other screens tick; the history and its file;
// what the embedded engine does not do (explain plan, PL/SQL), said plainly.
#include "CancelWindow.h"
#include "ConnectedDemo.h"
#include "WorksheetTesting.h"
#include "app/KOLM000U.h"
#include "common/KOLMCOMM.h"
#include "data/SharedSlots.h"
#include "db/Query.h"
#include "db/Session.h"
#include "screens/backup/KOLM500U.h"
#include "screens/sessions/KOLM300U.h"
#include "screens/users/KOLM320U.h"
#include "screens/worksheet/KOLM410U.h"
#include "screens/worksheet/KOLM420U.h"
#include "screens/worksheet/SqlEditor.h"
#include "screens/worksheet/StatementHistory.h"
#include "widgets/ActionGuard.h"
#include "widgets/StringGrid.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <sys/stat.h>

using namespace kolmara;
using kolmara::screens::TKOLM410F;
using kolmara::screens::TKOLM420F;
using kolmara::test::cancelWindow;
using kolmara::test::gridRows;

namespace {

const QString kDepartments = QStringLiteral("SELECT DNAME, LOC FROM SCOTT.DEPT ORDER BY DEPTNO");
// 14 x 14 x 14 rows: more than two pages.
const QString kThreePages = QStringLiteral(
    "SELECT A.EMPNO, B.ENAME, C.SAL FROM SCOTT.EMP A, SCOTT.EMP B, SCOTT.EMP C\n"
    " ORDER BY A.EMPNO, B.EMPNO, C.EMPNO");
const QString kEndless = QStringLiteral(
    "SELECT COUNT(*) FROM ALL_OBJECTS A, ALL_OBJECTS B, ALL_OBJECTS C, ALL_OBJECTS D");

// Every row of a statement, fetched whole on the session, as "a|b|c" lines.
QStringList allRows(db::Session& session, const QString& sql)
{
    db::Query q(&session);
    q.addSql(sql);
    q.open();
    QStringList out;
    for (; !q.eof(); q.next()) {
        QStringList fields;
        for (int i = 0; i < q.fieldCount(); ++i)
            fields.append(q.field(i).asText());
        out.append(fields.join(QLatin1Char('|')));
    }
    return out;
}

}  // namespace

class TestWorksheet : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void runsTheStatementUnderTheCursorOrTheSelection();
    void keysRunTheStatementAndTheScript();
    void readsAPageAtATimeInBatches();
    void errorsShowInPlace_data();
    void errorsShowInPlace();
    void scriptGoesOnAfterAnError();
    void changesCountCommitAndRollBack();
    void closingWithChangesAsks();
    void otherScreensLeaveTheWorksheetTransactionAlone();
    void exitingTheProgramAsksBeforeLoggingOff();
    void cancelStopsTheQueryWhileOtherScreensGoOn();
    void historyIsKeptAndSaved();
    void historyThatCannotBeSavedStaysForTheRun();
    void passwordsAreMasked_data();
    void passwordsAreMasked();
    void historyKeepsNoPassword();
    void explainPlanIsNotOnTheEngine();
    void procedureEditorOnTheEngine();

private:
    TKOLM410F* openWorksheet();
    // Puts text in the editor with the cursor at `cursor` (-1: the end).
    void type(const QString& text, int cursor = -1);
    // Selects the first occurrence of `part`.
    void select(const QString& part);
    ui::StringGrid* grid(const char* name = "AdvStringGrid1") const
    {
        return m_screen->findChild<ui::StringGrid*>(name);
    }
    QString errorText() const
    {
        auto* label = m_screen->findChild<QLabel*>("pn_error");
        return label->isVisibleTo(m_screen) ? label->text() : QString();
    }
    QString output() const { return m_screen->findChild<QPlainTextEdit*>("Memo2")->toPlainText(); }
    QPoint cursorPlace() const { return test::cursorPlace(m_editor); }
    db::Session& session() { return m_env->main.session(); }

    std::unique_ptr<test::ConnectedDemo> m_env;
    TKOLM410F* m_screen = nullptr;
    screens::SqlEditor* m_editor = nullptr;
};

void TestWorksheet::init()
{
    m_env = std::make_unique<test::ConnectedDemo>();
    QVERIFY(m_env->connected);
    m_screen = openWorksheet();
    QVERIFY(m_screen);
    m_editor = m_screen->findChild<screens::SqlEditor*>("Memo1");
}

void TestWorksheet::cleanup()
{
    m_screen = nullptr;
    m_env.reset();
}

TKOLM410F* TestWorksheet::openWorksheet()
{
    return m_env->open<TKOLM410F>("N41");
}

void TestWorksheet::type(const QString& text, int cursor)
{
    m_editor->setPlainText(text);
    m_editor->placeCursor(cursor < 0 ? int(text.size()) : cursor);
}

void TestWorksheet::select(const QString& part)
{
    const int from = int(m_editor->toPlainText().indexOf(part));
    QVERIFY(from >= 0);
    m_editor->selectRange(from, from + int(part.size()));
}

void TestWorksheet::runsTheStatementUnderTheCursorOrTheSelection()
{
    QCOMPARE(m_screen->windowTitle(), QStringLiteral("쿼리 실행"));
    const QString text =
        QStringLiteral("SELECT ENAME FROM SCOTT.EMP WHERE DEPTNO = 10 ORDER BY ENAME;\n\n") +
        kDepartments + QStringLiteral(";\nSELECT COUNT(*) N, SUM(SAL) TOTAL FROM SCOTT.EMP;");
    type(text, int(text.indexOf("LOC")));
    m_screen->sbt_runClick();
    QCOMPARE(gridRows(grid()), (QStringList{"ACCOUNTING|NEW YORK", "RESEARCH|DALLAS",
                                            "SALES|CHICAGO", "OPERATIONS|BOSTON"}));
    QCOMPARE(grid()->cell(0, 0), QStringLiteral("DNAME"));
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ 조회 되었습니다... (4 건)"));

    m_editor->placeCursor(5);
    m_screen->sbt_runClick();
    QCOMPARE(gridRows(grid()), (QStringList{"CLARK", "KING", "MILLER"}));

    // A selection runs as it is; numbers stand to the right.
    select(QStringLiteral("SELECT COUNT(*) N, SUM(SAL) TOTAL FROM SCOTT.EMP"));
    m_screen->sbt_runClick();
    QCOMPARE(gridRows(grid()), QStringList{"14|29025"});
    QCOMPARE(grid()->gridModel()->index(0, 1).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight,
             int(Qt::AlignRight));
    QCOMPARE(m_screen->findChild<QTabWidget*>("PageControl1")->currentIndex(),
             int(TKOLM410F::ResultPage));

    // Opening it again brings the same window to the front.
    QCOMPARE(openWorksheet(), m_screen);
    QCOMPARE(m_env->main.mdiArea()->subWindowList().size(), 1);
}

void TestWorksheet::keysRunTheStatementAndTheScript()
{
    m_env->main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&m_env->main));
    type(kDepartments + QStringLiteral(";\nSELECT 1 X FROM DUAL;"), 3);
    QTest::keyClick(m_editor, Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(grid()->rowCount() - 1, 4);
    QTest::keyClick(m_editor, Qt::Key_F5);
    QCOMPARE(m_screen->statusText(),
             QStringLiteral("▶ 스크립트가 실행 되었습니다... (2 문장, 오류 0 건)"));
    QCOMPARE(gridRows(grid()), QStringList{"1"});
    // Ctrl+Enter ran the statement and left the text as it was.
    QCOMPARE(m_editor->toPlainText(), kDepartments + QStringLiteral(";\nSELECT 1 X FROM DUAL;"));
}

void TestWorksheet::readsAPageAtATimeInBatches()
{
    int insertions = 0;
    connect(grid()->gridModel(), &QAbstractItemModel::rowsInserted, this, [&] { ++insertions; });
    type(kThreePages);
    m_screen->sbt_runClick();
    auto* more = m_screen->findChild<QToolButton*>("sbt_more");
    QCOMPARE(grid()->rowCount() - 1, TKOLM410F::kPageRows);
    QCOMPARE(m_screen->statusText(),
             QStringLiteral("▶ 조회 되었습니다... (1000 건, 다음 자료 있음)"));
    QCOMPARE(insertions, TKOLM410F::kPageRows / TKOLM410F::kBatchRows);
    QVERIFY(more->isEnabled());

    m_screen->sbt_moreClick();
    QCOMPARE(m_screen->statusText(),
             QStringLiteral("▶ 조회 되었습니다... (2000 건, 다음 자료 있음)"));
    m_screen->sbt_moreClick();
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ 조회 되었습니다... (2744 건)"));
    QVERIFY(!more->isEnabled());
    // Every row once, in order, across the page ends.
    QCOMPARE(gridRows(grid()), allRows(session(), kThreePages));

    // Another statement ends the open read.
    type(kThreePages + QStringLiteral(";\nCOMMIT;"), 5);
    m_screen->sbt_runClick();
    QVERIFY(more->isEnabled());
    m_editor->placeCursor(int(m_editor->toPlainText().size()));
    m_screen->sbt_runClick();
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ 커밋 되었습니다..."));
    QVERIFY(!more->isEnabled());
}

void TestWorksheet::errorsShowInPlace_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QPoint>("place");  // line, column

    QTest::newRow("missing table")
        << QStringLiteral("\n\nSELECT ENAME FROM SCOTT.EMPX")
        << QStringLiteral("ORA-00942: table or view does not exist") << QPoint(3, 19);
    QTest::newRow("missing column")
        << QStringLiteral("SELECT EMPNO,\n       ENAMX\n  FROM SCOTT.EMP")
        << QStringLiteral("ORA-00904: \"ENAMX\": invalid identifier") << QPoint(2, 8);
    QTest::newRow("missing expression")
        << QStringLiteral("SELECT ENAME, FROM SCOTT.EMP")
        << QStringLiteral("ORA-00936: missing expression") << QPoint(1, 15);
    QTest::newRow("an error while running: the statement's start")
        << QStringLiteral("  INSERT INTO SCOTT.DEPT VALUES (10, 'X', 'Y')")
        << QStringLiteral("ORA-00001: unique constraint (SCOTT.PK_DEPT) violated") << QPoint(1, 3);
}

void TestWorksheet::errorsShowInPlace()
{
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(QPoint, place);
    type(text, 0);
    m_screen->sbt_runClick();
    QCOMPARE(errorText(),
             message + QStringLiteral(" (%1 줄, %2 열)").arg(place.x()).arg(place.y()));
    QCOMPARE(cursorPlace(), place);
    QCOMPARE(m_screen->statusText(),
             QStringLiteral("▶ 실행 오류 ...(") + message.left(9) + QLatin1Char(')'));
    // The next run that succeeds takes the error away.
    type(QStringLiteral("SELECT 1 FROM DUAL"));
    m_screen->sbt_runClick();
    QCOMPARE(errorText(), QString());
}

void TestWorksheet::scriptGoesOnAfterAnError()
{
    type(QStringLiteral("SET SERVEROUTPUT ON\n"
                        "CREATE TABLE SCOTT.T1 (A NUMBER);\n"
                        "INSERT INTO SCOTT.T1 VALUES (1);\n"
                        "INSERT INTO SCOTT.NOPE VALUES (1);\n"
                        "BEGIN\n  NULL;\nEND;\n/\n"
                        "INSERT INTO SCOTT.T1 SELECT A + 1 FROM SCOTT.T1;\n"
                        "SELECT A FROM SCOTT.T1 ORDER BY A;\n"),
         0);
    m_screen->sbt_scriptClick();
    QCOMPARE(m_screen->statusText(),
             QStringLiteral("▶ 스크립트가 실행 되었습니다... (7 문장, 오류 2 건)"));
    const QString out = output();
    const QStringList expected = {
        QStringLiteral("SQL> SET SERVEROUTPUT ON\nSQL*Plus 명령은 실행하지 않습니다."),
        QStringLiteral("SQL> CREATE TABLE SCOTT.T1 (A NUMBER)\nCREATE TABLE 실행 되었습니다."),
        QStringLiteral("SQL> INSERT INTO SCOTT.T1 VALUES (1)\n1 건이 입력 되었습니다."),
        QStringLiteral("SQL> INSERT INTO SCOTT.NOPE VALUES (1)\n"
                       "ORA-00942: table or view does not exist (4 줄, 13 열)"),
        QStringLiteral("SQL> BEGIN ...\nORA-00900: invalid SQL statement\n"
                       "내장 데이터베이스는 PL/SQL을 지원하지 않습니다. (5 줄, 1 열)"),
        QStringLiteral(
            "SQL> INSERT INTO SCOTT.T1 SELECT A + 1 FROM SCOTT.T1\n1 건이 입력 되었습니다."),
        QStringLiteral("SQL> SELECT A FROM SCOTT.T1 ORDER BY A\n2 건이 조회 되었습니다.")};
    for (const QString& part : expected)
        QVERIFY2(out.contains(part), qPrintable(out));
    QCOMPARE(cursorPlace(), QPoint(4, 13));  // the first error
    QVERIFY(errorText().startsWith(QStringLiteral("ORA-00942")));
    QCOMPARE(gridRows(grid()), (QStringList{"1", "2"}));
    QCOMPARE(m_screen->findChild<QTabWidget*>("PageControl1")->currentIndex(),
             int(TKOLM410F::OutputPage));
    // CREATE TABLE committed before the inserts, which wait for a commit.
    QVERIFY(m_screen->hasPendingChanges());
}

// What another program sees: only committed changes.
QString committed(const QString& sql)
{
    db::Session other;
    other.setServer(QStringLiteral("DEMO"));
    other.setUsername(QStringLiteral("SCOTT"));
    other.setPassword(QStringLiteral("TIGER"));
    other.connect();
    return allRows(other, sql).value(0);
}

void TestWorksheet::changesCountCommitAndRollBack()
{
    const QString total = QStringLiteral("SELECT SUM(SAL) FROM SCOTT.EMP");
    auto saved = [&] { return committed(total); };
    // The worksheet's own view, through the worksheet.
    auto seen = [&] {
        type(total);
        m_screen->sbt_runClick();
        return gridRows(grid()).value(0);
    };
    type(QStringLiteral("UPDATE SCOTT.EMP SET SAL = SAL + 100 WHERE DEPTNO = 10"));
    m_screen->sbt_runClick();
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ 3 건이 수정 되었습니다..."));
    QVERIFY(m_screen->hasPendingChanges());
    QCOMPARE(seen(), QStringLiteral("29325"));
    // The main window's session is another one: it does not see the change.
    QCOMPARE(allRows(session(), total), QStringList{"29025"});
    m_screen->sbt_rollbackClick();
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ 롤백 되었습니다..."));
    QCOMPARE(seen(), QStringLiteral("29025"));
    QVERIFY(!m_screen->hasPendingChanges());

    type(QStringLiteral("DELETE FROM SCOTT.EMP WHERE ENAME = 'KING';\nSELECT * FROM SCOTT.EMP;"),
         0);
    m_screen->sbt_runClick();
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ 1 건이 삭제 되었습니다..."));
    m_screen->sbt_commitClick();
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ 커밋 되었습니다..."));
    QCOMPARE(saved(), QStringLiteral("24025"));
}

void TestWorksheet::closingWithChangesAsks()
{
    type(QStringLiteral("DELETE FROM SCOTT.BONUS"));
    m_screen->sbt_runClick();
    type(QStringLiteral("INSERT INTO SCOTT.BONUS (ENAME) VALUES ('KIM')"));
    m_screen->sbt_runClick();
    QVERIFY(m_screen->hasPendingChanges());
    auto* sub = qobject_cast<QMdiSubWindow*>(m_screen->parentWidget());
    m_env->ui.answerMessage(QMessageBox::Cancel);
    sub->close();
    QCOMPARE(m_env->main.mdiArea()->subWindowList().size(), 1);
    const test::RecordedMessage asked = m_env->ui.messages().last();
    QCOMPARE(asked.caption, QStringLiteral("쿼리 실행"));
    QCOMPARE(
        asked.text,
        QStringLiteral("커밋하지 않은 변경 사항이 있습니다.\r커밋하시겠습니까? (아니오: 롤백)"));
    QCOMPARE(asked.icon, QMessageBox::Question);

    m_env->ui.answerMessage(QMessageBox::No);
    sub->close();
    QApplication::processEvents();
    QCOMPARE(m_env->main.mdiArea()->subWindowList().size(), 0);
    m_screen = nullptr;
    QCOMPARE(
        allRows(session(), QStringLiteral("SELECT COUNT(*) FROM SCOTT.BONUS WHERE ENAME = 'KIM'")),
        QStringList{"0"});

    // Yes commits the worksheet's own session.
    m_screen = openWorksheet();
    m_editor = m_screen->findChild<screens::SqlEditor*>("Memo1");
    type(QStringLiteral("INSERT INTO SCOTT.BONUS (ENAME) VALUES ('KIM')"));
    m_screen->sbt_runClick();
    QCOMPARE(committed(QStringLiteral("SELECT COUNT(*) FROM SCOTT.BONUS WHERE ENAME = 'KIM'")),
             QStringLiteral("0"));
    m_env->ui.answerMessage(QMessageBox::Yes);
    qobject_cast<QMdiSubWindow*>(m_screen->parentWidget())->close();
    QApplication::processEvents();
    QCOMPARE(m_env->main.mdiArea()->subWindowList().size(), 0);
    m_screen = nullptr;
    QCOMPARE(committed(QStringLiteral("SELECT COUNT(*) FROM SCOTT.BONUS WHERE ENAME = 'KIM'")),
             QStringLiteral("1"));
}

void TestWorksheet::otherScreensLeaveTheWorksheetTransactionAlone()
{
    // The account chosen before the worksheet opens is where its unqualified names resolve.
    qobject_cast<QMdiSubWindow*>(m_screen->parentWidget())->close();
    QApplication::processEvents();
    QComboBox* accounts = m_env->main.accountList();
    accounts->setCurrentIndex(accounts->findText(QStringLiteral("SCOTT")));
    m_env->main.cbe_grantChange();
    QCOMPARE(ConnUser, QStringLiteral("SCOTT"));
    m_screen = openWorksheet();
    m_editor = m_screen->findChild<screens::SqlEditor*>("Memo1");
    QCOMPARE(m_screen->findChild<QLabel*>("pn_login")->text(),
             QStringLiteral("SYSTEM@DEMO (SCOTT)"));

    const QString king = QStringLiteral("SELECT SAL FROM SCOTT.EMP WHERE ENAME = 'KING'");
    type(QStringLiteral("UPDATE EMP SET SAL = 5000 WHERE ENAME = 'KING'"));
    m_screen->sbt_runClick();
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ 1 건이 수정 되었습니다..."));
    type(QStringLiteral("UPDATE EMP SET SAL = 5001 WHERE ENAME = 'KING'"));
    m_screen->sbt_runClick();
    const QString before = committed(king);
    QVERIFY(before != QLatin1String("5001"));

    // The users screen saves a registration and the backup screen dumps EMP and logs it, each in
    // a transaction of the main session. The engine keeps one writer to a file: they wait for the
    // worksheet's transaction, give up with their error and commit nothing of it.
    auto* users = m_env->open<screens::TKOLM320F>("N33");
    QVERIFY(users);
    users->findChild<QTabWidget*>("PageControl1")->setCurrentIndex(1);
    auto* registrations = users->findChild<ui::StringGrid*>("AdvStringGrid2");
    int row = 1;
    while (row < registrations->rowCount() && registrations->cell(1, row) != QLatin1String("SCOTT"))
        ++row;
    QVERIFY(row < registrations->rowCount());
    users->AdvStringGrid2ClickCell(row);
    users->bbt_updateClick();
    QCOMPARE(users->statusText(), QStringLiteral("▶ 사용자가 등록에 에러 입니다... (-1)"));
    QCOMPARE(committed(king), before);

    auto* backup = m_env->open<screens::TKOLM500F>("N51");
    QVERIFY(backup);
    auto* tables = backup->findChild<ui::StringGrid*>("AdvStringGrid1");
    row = 1;
    while (row < tables->rowCount() && tables->cell(1, row) != QLatin1String("EMP"))
        ++row;
    QVERIFY(row < tables->rowCount());
    backup->AdvStringGrid1ClickCell(row);
    backup->findChild<QToolButton*>("bbt_update")->click();
    QCOMPARE(backup->statusText(), QStringLiteral("▶ 백업로그 자료 생성이 에러 입니다..."));
    QCOMPARE(committed(king), before);

    // The worksheet's transaction is still its own to end.
    QVERIFY(m_screen->hasPendingChanges());
    type(QStringLiteral("SELECT SAL FROM EMP WHERE ENAME = 'KING'"));
    m_screen->sbt_runClick();
    QCOMPARE(gridRows(grid()), QStringList{"5001"});
    m_screen->sbt_commitClick();
    QCOMPARE(committed(king), QStringLiteral("5001"));
}

void TestWorksheet::exitingTheProgramAsksBeforeLoggingOff()
{
    // Logging off commits: the worksheet must be asked about its changes before that happens.
    type(QStringLiteral("INSERT INTO SCOTT.BONUS (ENAME) VALUES ('LEE')"));
    m_screen->sbt_runClick();
    QVERIFY(m_screen->hasPendingChanges());

    m_env->ui.answerMessage(QMessageBox::Yes);     // "Kolmara 시스템을 종료 하시겠습니까?"
    m_env->ui.answerMessage(QMessageBox::Cancel);  // the worksheet's question
    m_env->main.N14Click();
    QVERIFY(m_env->main.isVisible());
    QVERIFY(m_env->main.session().isConnected());
    QCOMPARE(m_env->main.mdiArea()->subWindowList().size(), 1);
    QVERIFY(m_screen->hasPendingChanges());

    m_env->ui.answerMessage(QMessageBox::Yes);
    m_env->ui.answerMessage(QMessageBox::No);  // roll back, then leave
    m_env->main.N14Click();
    QApplication::processEvents();
    QVERIFY(!m_env->main.isVisible());
    QVERIFY(!m_env->main.session().isConnected());
    m_screen = nullptr;

    db::Session check;
    check.setServer(QStringLiteral("DEMO"));
    check.setUsername(QStringLiteral("SYSTEM"));
    check.setPassword(QStringLiteral("MANAGER"));
    check.connect();
    QCOMPARE(allRows(check, QStringLiteral("SELECT COUNT(*) FROM SCOTT.BONUS WHERE ENAME = 'LEE'")),
             QStringList{"0"});
}

void TestWorksheet::cancelStopsTheQueryWhileOtherScreensGoOn()
{
    // The sessions screen refreshes by its timer meanwhile.
    m_env->main.menuAction(QStringLiteral("N31"))->trigger();
    auto* sessions =
        qobject_cast<screens::TKOLM300F*>(m_env->main.mdiArea()->activeSubWindow()->widget());
    sessions->findChild<QRadioButton*>("rb_times1")->click();
    m_env->ui.clearRecords();

    QTimer watcher;
    QString shown;
    bool mainFree = false;  // the query runs on the worksheet's own session
    connect(&watcher, &QTimer::timeout, this, [&] {
        QDialog* w = cancelWindow();
        if (!w || !shown.isEmpty())
            return;
        shown = w->findChild<QLabel*>("pn_message")->text();
        mainFree = !data::mainSessionBusy();
        ui::runGuarded(sessions, [&] { sessions->Timer1Timer(); });  // as its timer runs it
        w->findChild<QPushButton*>("sbt_cancel")->click();
    });
    watcher.start(20);
    type(kEndless);
    m_screen->sbt_runClick();
    watcher.stop();
    QCOMPARE(shown, QStringLiteral("실행하는 중입니다..."));
    QVERIFY(mainFree);
    QCOMPARE(m_screen->statusText(), QStringLiteral("▶ 취소 되었습니다... (0 건)"));
    QCOMPARE(errorText(), QString());
    // The tick let the session be: no ORA-03127 box.
    QCOMPARE(m_env->ui.messageTexts(), QStringList());
    QVERIFY(!m_screen->isRunning());

    type(QStringLiteral("SELECT 'ok' FROM DUAL"));
    m_screen->sbt_runClick();
    QCOMPARE(gridRows(grid()), QStringList{"ok"});
}

void TestWorksheet::historyIsKeptAndSaved()
{
    type(QStringLiteral("SELECT 1 FROM DUAL"));
    m_screen->sbt_runClick();
    type(QStringLiteral("SELECT 'it''s'\n  FROM DUAL"));
    m_screen->sbt_runClick();
    m_screen->sbt_runClick();  // a repeat only takes the newer time
    ui::StringGrid* history = grid("AdvStringGrid2");
    QCOMPARE(history->rowCount() - 1, 2);
    QCOMPARE(history->cell(3, 1), QStringLiteral("SELECT 'it''s' FROM DUAL"));
    QCOMPARE(history->cell(3, 2), QStringLiteral("SELECT 1 FROM DUAL"));
    QCOMPARE(history->cell(2, 1), QStringLiteral("SYSTEM@DEMO"));

    // Saved beside KOLMARA.INI, one line each, the statement as it was.
    QFile file(QDir(m_env->demo.folder()).filePath(QStringLiteral("KOLMHIST.JSONL")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().trimmed().split('\n');
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines[1].contains("SELECT 'it''s'\\n  FROM DUAL"));

    // A double click puts the older statement after the text, selected, ready to run.
    type(QStringLiteral("-- kept"));
    m_screen->HistoryDoubleClick(2);
    QCOMPARE(m_editor->toPlainText(), QStringLiteral("-- kept\n\nSELECT 1 FROM DUAL;\n"));
    QCOMPARE(m_editor->textCursor().selectedText(), QStringLiteral("SELECT 1 FROM DUAL"));
    m_screen->sbt_runClick();
    QCOMPARE(gridRows(grid()), QStringList{"1"});

    // What another Kolmara wrote to the file shows the next time the list is read.
    file.close();
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(
        "{\"at\":\"2003-05-01 09:00:00\",\"login\":\"SCOTT@ORCL\",\"sql\":\"SELECT 2\\nFROM "
        "DUAL\"}\n"
        "not a history line\n");
    file.close();
    auto* sub = qobject_cast<QMdiSubWindow*>(m_screen->parentWidget());
    sub->close();
    QApplication::processEvents();
    m_screen = openWorksheet();
    history = grid("AdvStringGrid2");
    QCOMPARE(history->rowCount() - 1, 1);
    QCOMPARE(history->cell(1, 1), QStringLiteral("2003-05-01 09:00:00"));
    QCOMPARE(history->cell(3, 1), QStringLiteral("SELECT 2 FROM DUAL"));
}

void TestWorksheet::historyThatCannotBeSavedStaysForTheRun()
{
    // The history file's name is taken by a folder: it can be neither read nor written.
    QVERIFY(QDir(m_env->demo.folder()).mkdir(QStringLiteral("KOLMHIST.JSONL")));
    type(QStringLiteral("SELECT 1 FROM DUAL"));
    m_screen->sbt_runClick();
    QCOMPARE(m_screen->statusText(),
             QStringLiteral("▶ 조회 되었습니다... (1 건) [실행 기록을 저장하지 못했습니다]"));
    QVERIFY(output().startsWith(QStringLiteral("실행 기록을 저장하지 못했습니다: ")));
    type(QStringLiteral("SELECT 2 FROM DUAL"));
    m_screen->sbt_runClick();
    QCOMPARE(gridRows(grid()), QStringList{"2"});
    ui::StringGrid* history = grid("AdvStringGrid2");
    QCOMPARE(history->rowCount() - 1, 2);
    QCOMPARE(history->cell(3, 2), QStringLiteral("SELECT 1 FROM DUAL"));
}

void TestWorksheet::passwordsAreMasked_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("kept");
    QTest::newRow("ALTER USER") << "ALTER USER scott IDENTIFIED BY tiger"
                                << "ALTER USER scott IDENTIFIED BY ********";
    QTest::newRow("CREATE USER, quoted, over lines")
        << "create user x\n  identified\n  by \"p w;x\" default tablespace users;"
        << "create user x\n  identified\n  by ******** default tablespace users;";
    QTest::newRow("new and old password")
        << "ALTER USER X IDENTIFIED BY new1 REPLACE \"old 1\" ACCOUNT UNLOCK"
        << "ALTER USER X IDENTIFIED BY ******** REPLACE ******** ACCOUNT UNLOCK";
    QTest::newRow("database link")
        << "CREATE DATABASE LINK L CONNECT TO u IDENTIFIED BY pw USING 'orcl'"
        << "CREATE DATABASE LINK L CONNECT TO u IDENTIFIED BY ******** USING 'orcl'";
    QTest::newRow("hashed value") << "ALTER USER X IDENTIFIED BY VALUES 'S:AB''C;T:D'"
                                  << "ALTER USER X IDENTIFIED BY VALUES ********";
    QTest::newRow("CONNECT lines of a script")
        << "CONNECT scott/tiger@orcl\nSELECT 1 FROM DUAL;\n  conn system/\"man ager\" as sysdba"
        << "CONNECT scott/********@orcl\nSELECT 1 FROM DUAL;\n  conn system/******** as sysdba";
    QTest::newRow("two statements")
        << "ALTER USER A IDENTIFIED BY a1;\nALTER USER B IDENTIFIED BY b2;"
        << "ALTER USER A IDENTIFIED BY ********;\nALTER USER B IDENTIFIED BY ********;";
    QTest::newRow("no password: external") << "ALTER USER X IDENTIFIED EXTERNALLY"
                                           << "ALTER USER X IDENTIFIED EXTERNALLY";
    QTest::newRow("no password: hierarchical query")
        << "SELECT ID FROM T\nCONNECT BY PRIOR ID = PARENT_ID"
        << "SELECT ID FROM T\nCONNECT BY PRIOR ID = PARENT_ID";
    QTest::newRow("masked already") << "ALTER USER X IDENTIFIED BY ********"
                                    << "ALTER USER X IDENTIFIED BY ********";
}

void TestWorksheet::passwordsAreMasked()
{
    QFETCH(QString, sql);
    QFETCH(QString, kept);
    QCOMPARE(screens::StatementHistory::maskPasswords(sql), kept);
}

// The history shows and saves the statement without its password, in a file for its owner alone;
// a file written before masking loses its passwords at the next save.
void TestWorksheet::historyKeepsNoPassword()
{
    const QString path = QDir(m_env->demo.folder()).filePath(QStringLiteral("KOLMHIST.JSONL"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(
        "{\"at\":\"2003-05-01 09:00:00\",\"login\":\"SYSTEM@DEMO\",\"sql\":\"ALTER USER HR "
        "IDENTIFIED BY "
        "oldsecret\"}\n");
    file.close();
    QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                QFile::ReadOther));

    type(QStringLiteral("ALTER USER SCOTT IDENTIFIED BY \"Tiger 2\""));
    m_screen->sbt_runClick();
    ui::StringGrid* history = grid("AdvStringGrid2");
    QCOMPARE(history->cell(3, 1), QStringLiteral("ALTER USER SCOTT IDENTIFIED BY ********"));
    QCOMPARE(history->cell(3, 2), QStringLiteral("ALTER USER HR IDENTIFIED BY ********"));

    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    QVERIFY2(!saved.contains("Tiger 2") && !saved.contains("oldsecret"), saved.constData());
    QCOMPARE(saved.count("IDENTIFIED BY ********"), 2);
    struct stat st {};
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
    QCOMPARE(int(st.st_mode & 07777), 0600);
}

void TestWorksheet::explainPlanIsNotOnTheEngine()
{
    type(kDepartments);
    m_screen->sbt_planClick();
    QCOMPARE(errorText(),
             QStringLiteral(
                 "이 데이터베이스(내장 엔진)는 실행 계획(EXPLAIN PLAN)을 지원하지 않습니다."));
    QCOMPARE(m_screen->statusText(),
             QStringLiteral("▶ 실행 계획을 지원하지 않는 데이터베이스입니다..."));
    type(QStringLiteral("CREATE TABLE SCOTT.T2 (A NUMBER)"));
    m_screen->sbt_planClick();
    QCOMPARE(
        m_screen->statusText(),
        QStringLiteral("▶ 실행 계획은 SELECT, INSERT, UPDATE, DELETE, MERGE 문에만 있습니다..."));
    QCOMPARE(allRows(session(),
                     QStringLiteral("SELECT COUNT(*) FROM ALL_TABLES WHERE TABLE_NAME = 'T2'")),
             QStringList{"0"});
}

void TestWorksheet::procedureEditorOnTheEngine()
{
    m_env->main.menuAction(QStringLiteral("N42"))->trigger();
    auto* editor = qobject_cast<TKOLM420F*>(m_env->main.mdiArea()->activeSubWindow()->widget());
    QVERIFY(editor);
    QCOMPARE(editor->windowTitle(), QStringLiteral("프로시져 작성"));
    auto* text = editor->findChild<screens::SqlEditor*>("Memo1");
    auto* error = editor->findChild<QLabel*>("pn_error");

    // Only the creation of PL/SQL units is compiled here.
    text->setPlainText(
        QStringLiteral("CREATE OR REPLACE PROCEDURE SCOTT.P AS BEGIN NULL; END;\n/\n"
                       "DELETE FROM SCOTT.EMP;"));
    editor->sbt_compileClick();
    QCOMPARE(editor->statusText(), QStringLiteral("▶ PL/SQL 객체의 생성문이 아닙니다..."));
    QVERIFY(error->text().endsWith(QStringLiteral("(3 줄)")));
    QCOMPARE(text->textCursor().blockNumber(), 2);

    // The engine has no PL/SQL: it is said plainly and nothing is sent.
    text->setPlainText(
        QStringLiteral("CREATE OR REPLACE PROCEDURE SCOTT.P AS BEGIN NULL; END;\n/\n"
                       "CREATE OR REPLACE TRIGGER SCOTT.TR BEFORE INSERT ON SCOTT.EMP\n"
                       "BEGIN NULL; END;\n/"));
    editor->sbt_compileClick();
    QCOMPARE(editor->statusText(),
             QStringLiteral("▶ PL/SQL을 지원하지 않는 데이터베이스입니다..."));
    QCOMPARE(
        error->text(),
        QStringLiteral("내장 데모 데이터베이스는 PL/SQL을 컴파일하지 않습니다. 프로시저, 함수, "
                       "패키지와 트리거는 오라클 서버에 접속하여 작성하십시오."));
    QCOMPARE(
        allRows(session(), QStringLiteral("SELECT COUNT(*) FROM ALL_OBJECTS WHERE OWNER = 'SCOTT'"
                                          " AND OBJECT_NAME IN ('P', 'TR')")),
        QStringList{"0"});
    QCOMPARE(allRows(session(), QStringLiteral("SELECT COUNT(*) FROM SCOTT.EMP")),
             QStringList{"14"});
    QCOMPARE(editor->findChild<ui::StringGrid*>("AdvStringGrid1")->rowCount(), 2);
}

QTEST_MAIN(TestWorksheet)
#include "tst_worksheet.moc"
