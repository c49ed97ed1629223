// TKOLM410F, "쿼리 실행": the SQL worksheet. The DBA types SQL and runs the statement under the
// cursor or the selection (Ctrl+Enter) or the whole text as a script (F5). A query's rows stream
// into the grid a page at a time from a forward-only read, behind the cancel window when the call
// takes long; a change reports its row count; an error shows under the editor with the cursor put
// where the server found it. The statements run are kept in the history; the explain plan shows
// as a tree where the server has one.
//
// The worksheet works on a session of its own, opened with the window on the main window's login
// (in the account chosen in the account list, which stays fixed while screens are open) and
// closed with it: no other screen's commit or rollback reaches its transaction, and its commit and
// rollback reach no other screen's. The login shows at the foot ("SYSTEM@DEMO (SCOTT)"). Closing
// with uncommitted changes asks whether to commit them or roll them back.
//
// While a call runs on the worker, the window keeps painting and the screen refuses to close.
#pragma once

#include "data/SqlRunner.h"
#include "screens/MdiScreen.h"
#include "screens/worksheet/SqlScript.h"
#include "screens/worksheet/StatementHistory.h"

#include <QMutex>

#include <functional>
#include <memory>
#include <optional>

class QLabel;

namespace kolmara::db {
class DatabaseError;
}

namespace kolmara::ui {
class StopFlag;
}  // namespace kolmara::ui

namespace kolmara::screens {

class SqlEditor;
class SqlEditorPane;
class WorksheetRun;

class TKOLM410F : public MdiScreen {
    Q_OBJECT

public:
    // Rows a run or a "다음 자료" click reads at most; the grid shows them as they come, in
    // batches of kBatchRows.
    static constexpr int kPageRows = 1000;
    static constexpr int kBatchRows = 200;

    enum Page { ResultPage = 0, PlanPage = 1, OutputPage = 2, HistoryPage = 3 };

    explicit TKOLM410F(QWidget* parent = nullptr);
    ~TKOLM410F() override;

    // Handlers, callable from tests as the click or key would.
    void sbt_runClick();     // Ctrl+Enter: the selection, else the statement under the cursor
    void sbt_scriptClick();  // F5: the selection, else the whole text, as a script
    void sbt_planClick();    // the explain plan of the statement under the cursor
    void sbt_moreClick();    // the next page of the open result
    void sbt_commitClick();
    void sbt_rollbackClick();
    void sbt_clesesClick();
    void HistoryDoubleClick(int row);  // a row of the history grid

    bool isRunning() const;
    // Changes run here since the last commit, rollback or DDL.
    bool hasPendingChanges() const { return m_pendingChanges; }

protected:
    void firstShown() override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct Outcome {
        int index = -1;
        bool done = false;     // the statement ran to its end
        bool skipped = false;  // a SQL*Plus command
        bool cancelled = false;
        qint64 count = 0;   // rows read or changed
        bool more = false;  // a query with rows left to read
        int errorCode = 0;
        QString error;
        int errorPosition = -1;  // in the statement's text
        PlsqlUnit unit;
        QList<data::CompileError> compileErrors;
    };
    struct RunEvent {
        enum class Kind { Columns, Rows, Done };
        Kind kind = Kind::Done;
        QStringList columns;
        QList<QStringList> rows;
        QVector<bool> numeric;
        Outcome outcome;
    };

    void setupUi();
    // The runner on the worksheet's own session; only once the session is open.
    data::SqlRunner& runner();
    // Whether a call may start now; says why not on the status line.
    bool mayStart();
    // The editor's selection (with its offset in the text), or the whole text and -1.
    QString selectionOrText(int* base) const;
    // The statements of the selection, else the one under the cursor; `text` is the selection or
    // the whole text, from editor offset `base`.
    QList<ScriptStatement> chosenStatements(int* base, QString* text) const;
    // Runs statements of `text` (the editor's text from offset `base`); a script logs every
    // statement and sums them up, a single statement reports itself.
    void run(const QString& text, const QList<ScriptStatement>& statements, int base, bool script);
    void finishRun(bool script);
    // On the worker: one statement, its rows posted as they are read.
    Outcome runOne(const ScriptStatement& statement, bool keepOpen, const ui::StopFlag& stop);
    // Runs `work` on the worker behind the cancel window (editor read-only, buttons off); false
    // after a database error, which is copied to `error`.
    bool call(const QString& text, const std::function<void(const ui::StopFlag&)>& work,
              std::optional<db::DatabaseError>* error);
    // On the worker: hands read rows to the window as a Rows event.
    data::SqlRunner::RowSink rowSink();
    void post(RunEvent event);
    void drainInbox();
    void apply(const RunEvent& event);
    void startResult(const QStringList& columns);
    void addRows(const QList<QStringList>& rows, const QVector<bool>& numeric);
    QString outcomeText(const ScriptStatement& statement, const Outcome& outcome) const;
    void logOutcome(const ScriptStatement& statement, const Outcome& outcome);
    // Where an outcome's error sits in the editor, or -1.
    int errorOffset(const ScriptStatement& statement, const Outcome& outcome) const;
    void showResultStatus();
    void endTransaction(bool commit);
    void recordHistory(const QString& sql);
    void loadHistory();
    void updateButtons();

    QToolButton* sbt_run = nullptr;
    QToolButton* sbt_script = nullptr;
    QToolButton* sbt_plan = nullptr;
    QToolButton* sbt_more = nullptr;
    QToolButton* sbt_commit = nullptr;
    QToolButton* sbt_rollback = nullptr;
    QToolButton* sbt_cleses = nullptr;
    QLabel* pn_login = nullptr;
    QSplitter* Splitter1 = nullptr;
    SqlEditorPane* m_pane = nullptr;  // the SQL text and the error of the last run under it
    SqlEditor* Memo1 = nullptr;
    QTabWidget* PageControl1 = nullptr;
    ui::StringGrid* AdvStringGrid1 = nullptr;  // the result
    QTreeWidget* tv_plan = nullptr;
    QPlainTextEdit* Memo2 = nullptr;           // the run's output, statement by statement
    ui::StringGrid* AdvStringGrid2 = nullptr;  // the history

    std::unique_ptr<WorksheetRun> m_run;
    // The run in progress or last finished: its statements, where they start in the editor, and
    // what became of each.
    QList<ScriptStatement> m_statements;
    int m_base = 0;
    QList<Outcome> m_outcomes;
    bool m_showedResult = false;
    QString m_historyFailure;
    QList<HistoryEntry> m_history;  // as the history grid shows it, oldest first
    bool m_pendingChanges = false;
    // The result in the grid: its rows so far and which columns hold numbers.
    int m_resultRows = 0;
    bool m_resultSized = false;
    QVector<bool> m_numeric;
    // Events from the worker, drained on the window's thread.
    QMutex m_inboxLock;
    QList<RunEvent> m_inbox;
    bool m_drainQueued = false;
};

}  // namespace kolmara::screens
