// The SQL worksheet.
#include "screens/worksheet/KOLM410U.h"

#include "common/KOLMCOMM.h"
#include "data/SharedSlots.h"
#include "db/Session.h"
#include "screens/ListGrid.h"
#include "screens/worksheet/SqlEditor.h"
#include "screens/worksheet/SqlEditorPane.h"
#include "screens/worksheet/StatementHistory.h"
#include "screens/worksheet/WorksheetRun.h"
#include "widgets/ActionGuard.h"
#include "widgets/CancellableCall.h"
#include "widgets/StringGrid.h"
#include "widgets/ToolButtons.h"
#include "widgets/UiServices.h"

#include <QAction>
#include <QCloseEvent>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kolmara::screens {

namespace {

QString oraCode(int code)
{
    return code > 0 ? QStringLiteral("ORA-%1").arg(code, 5, 10, QLatin1Char('0'))
                    : QStringLiteral("오류");
}

// "▶ 3 건이 수정 되었습니다..." from "3 건이 수정 되었습니다."
QString statusOf(const QString& text)
{
    return QStringLiteral("▶ ") +
           (text.endsWith(QLatin1Char('.')) ? text.chopped(1) + QStringLiteral("...") : text);
}

// The statement's first line as the output echoes it.
QString echoOf(const QString& statement)
{
    const QStringList lines = statement.split(QLatin1Char('\n'));
    QString first = lines.value(0).trimmed();
    const bool cut = lines.size() > 1 || first.size() > 80;
    if (first.size() > 80)
        first = first.left(80);
    return QStringLiteral("SQL> ") + first + (cut ? QStringLiteral(" ...") : QString());
}

QString changeVerb(const QString& firstWord)
{
    if (firstWord == QLatin1String("INSERT"))
        return QStringLiteral("입력");
    if (firstWord == QLatin1String("UPDATE"))
        return QStringLiteral("수정");
    if (firstWord == QLatin1String("DELETE"))
        return QStringLiteral("삭제");
    return QStringLiteral("병합");
}

// Statements after which Oracle has committed: DDL ends the transaction it finds.
bool endsTransaction(const ScriptStatement& s)
{
    if (s.kind == StatementKind::Commit || s.kind == StatementKind::Rollback ||
        s.kind == StatementKind::PlsqlUnit)
        return true;
    if (s.kind != StatementKind::Other)
        return false;
    const QStringList words = leadingWords(s.text, 2);
    static const QStringList ddl = {
        QStringLiteral("CREATE"), QStringLiteral("DROP"),    QStringLiteral("TRUNCATE"),
        QStringLiteral("GRANT"),  QStringLiteral("REVOKE"),  QStringLiteral("COMMENT"),
        QStringLiteral("RENAME"), QStringLiteral("ANALYZE"), QStringLiteral("AUDIT")};
    return ddl.contains(words.value(0)) ||
           (words.value(0) == QLatin1String("ALTER") && words.value(1) != QLatin1String("SESSION"));
}

}  // namespace

TKOLM410F::TKOLM410F(QWidget* parent)
    : MdiScreen(QStringLiteral("쿼리 실행"), QSize(880, 660), parent)
{
    setObjectName(QStringLiteral("TKOLM410F"));
    setupUi();
    loadHistory();
    updateButtons();
}

TKOLM410F::~TKOLM410F() = default;

void TKOLM410F::setupUi()
{
    QToolBar* tools = addToolStrip();
    sbt_run =
        ui::addToolButton(tools, QStringLiteral("sbt_run"), QStringLiteral("실행 (Ctrl+Enter)"),
                          QStringLiteral("▶"), QColor(40, 120, 200));
    sbt_script =
        ui::addToolButton(tools, QStringLiteral("sbt_script"), QStringLiteral("스크립트 실행 (F5)"),
                          QStringLiteral("F5"), QColor(40, 90, 160));
    sbt_plan = ui::addToolButton(tools, QStringLiteral("sbt_plan"), QStringLiteral("실행 계획"),
                                 QStringLiteral("EP"), QColor(90, 90, 150));
    sbt_more = ui::addToolButton(tools, QStringLiteral("sbt_more"), QStringLiteral("다음 자료"),
                                 QStringLiteral("▼"), QColor(60, 140, 110));
    tools->addSeparator();
    sbt_commit = ui::addToolButton(tools, QStringLiteral("sbt_commit"), QStringLiteral("커밋"),
                                   QStringLiteral("C"), QColor(40, 140, 60));
    sbt_rollback = ui::addToolButton(tools, QStringLiteral("sbt_rollback"), QStringLiteral("롤백"),
                                     QStringLiteral("R"), QColor(200, 110, 30));
    tools->addSeparator();
    sbt_cleses = addCloseButton(tools);
    // The login the worksheet's own session runs as, and the account names resolve in.
    pn_login = new QLabel(this);
    pn_login->setObjectName(QStringLiteral("pn_login"));
    statusBar()->addPermanentWidget(pn_login);

    Splitter1 = new QSplitter(Qt::Vertical, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    addBody(Splitter1);
    m_pane = new SqlEditorPane(tools, Splitter1);
    Memo1 = m_pane->editor();
    m_run = std::make_unique<WorksheetRun>(this, m_pane, pn_login);

    PageControl1 = new QTabWidget(Splitter1);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));

    // The result's columns come with each query; until then one empty column and no rows.
    AdvStringGrid1 = buildGrid(PageControl1, {.name = QStringLiteral("AdvStringGrid1"),
                                              .columns = {{QString()}},
                                              .rowHeight = 19,
                                              .rows = 1,
                                              .defaultColWidth = 100});
    AdvStringGrid1->setAlignmentFunction([this](int col, int row) -> Qt::Alignment {
        if (row == 0)
            return Qt::AlignCenter;
        if (col < m_numeric.size() && m_numeric[col])
            return Qt::AlignRight | Qt::AlignVCenter;
        return Qt::AlignLeft | Qt::AlignVCenter;
    });
    PageControl1->addTab(AdvStringGrid1, QStringLiteral("결과"));

    tv_plan = new QTreeWidget(PageControl1);
    tv_plan->setObjectName(QStringLiteral("tv_plan"));
    tv_plan->setHeaderLabels({QStringLiteral("실행 계획"), QStringLiteral("객체"),
                              QStringLiteral("비용"), QStringLiteral("행 수"),
                              QStringLiteral("바이트")});
    tv_plan->setColumnWidth(0, 320);
    tv_plan->setColumnWidth(1, 200);
    PageControl1->addTab(tv_plan, QStringLiteral("실행 계획"));

    Memo2 = new QPlainTextEdit(PageControl1);
    Memo2->setObjectName(QStringLiteral("Memo2"));
    Memo2->setReadOnly(true);
    Memo2->setLineWrapMode(QPlainTextEdit::NoWrap);
    PageControl1->addTab(Memo2, QStringLiteral("출력"));

    using enum Align;
    AdvStringGrid2 = buildGrid(PageControl1, {.name = QStringLiteral("AdvStringGrid2"),
                                              .columns = {{QStringLiteral("No."), 44, Right},
                                                          {QStringLiteral("실행 시각"), 140, Centre},
                                                          {QStringLiteral("접속"), 130},
                                                          {QStringLiteral("SQL"), 520}},
                                              .rowHeight = 19,
                                              .rowSelect = true});
    PageControl1->addTab(AdvStringGrid2, QStringLiteral("실행 기록"));

    Splitter1->addWidget(m_pane);
    Splitter1->addWidget(PageControl1);
    Splitter1->setSizes({260, 320});
    Splitter1->setStretchFactor(1, 1);

    // Ctrl+Enter and F5 wherever the focus is within the screen.
    auto* runAction = new QAction(this);
    runAction->setObjectName(QStringLiteral("act_run"));
    runAction->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});
    runAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(runAction);
    auto* scriptAction = new QAction(this);
    scriptAction->setObjectName(QStringLiteral("act_script"));
    scriptAction->setShortcut(QKeySequence(Qt::Key_F5));
    scriptAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(scriptAction);

    ui::connectGuarded(runAction, &QAction::triggered, this, [this] { sbt_runClick(); });
    ui::connectGuarded(scriptAction, &QAction::triggered, this, [this] { sbt_scriptClick(); });
    ui::connectGuarded(sbt_run, &QToolButton::clicked, this, [this] { sbt_runClick(); });
    ui::connectGuarded(sbt_script, &QToolButton::clicked, this, [this] { sbt_scriptClick(); });
    ui::connectGuarded(sbt_plan, &QToolButton::clicked, this, [this] { sbt_planClick(); });
    ui::connectGuarded(sbt_more, &QToolButton::clicked, this, [this] { sbt_moreClick(); });
    ui::connectGuarded(sbt_commit, &QToolButton::clicked, this, [this] { sbt_commitClick(); });
    ui::connectGuarded(sbt_rollback, &QToolButton::clicked, this, [this] { sbt_rollbackClick(); });
    ui::connectGuarded(sbt_cleses, &QToolButton::clicked, this, [this] { sbt_clesesClick(); });
    ui::connectGuarded(AdvStringGrid2, &ui::StringGrid::cellDoubleClicked, this,
                       [this](int, int row) { HistoryDoubleClick(row); });
}

data::SqlRunner& TKOLM410F::runner()
{
    return *m_run->runner();
}

void TKOLM410F::firstShown()
{
    m_run->open();
}

bool TKOLM410F::isRunning() const
{
    return m_run->isRunning();
}

bool TKOLM410F::mayStart()
{
    return !m_run->isRunning() && m_run->connected() && m_run->idle();
}

QString TKOLM410F::selectionOrText(int* base) const
{
    const QTextCursor c = Memo1->textCursor();
    const QString text = Memo1->toPlainText();
    if (!c.hasSelection()) {
        *base = -1;
        return text;
    }
    *base = c.selectionStart();
    return text.mid(c.selectionStart(), c.selectionEnd() - c.selectionStart());
}

QList<ScriptStatement> TKOLM410F::chosenStatements(int* base, QString* text) const
{
    *text = selectionOrText(base);
    const QList<ScriptStatement> statements = splitScript(*text);
    if (*base >= 0)
        return statements;
    *base = 0;
    const int at = statementAt(statements, Memo1->cursorOffset());
    return at < 0 ? QList<ScriptStatement>() : QList<ScriptStatement>{statements[at]};
}

void TKOLM410F::sbt_runClick()
{
    if (m_run->isRunning())
        return;
    int base = 0;
    QString text;
    const QList<ScriptStatement> statements = chosenStatements(&base, &text);
    if (statements.size() == 1 && statements[0].kind == StatementKind::SqlPlus) {
        setStatusText(QStringLiteral("▶ SQL*Plus 명령은 실행하지 않습니다... (") +
                      leadingWords(statements[0].text, 1).value(0) + QLatin1Char(')'));
        return;
    }
    run(statements.size() == 1 ? statements[0].text : text, statements, base,
        statements.size() > 1);
}

void TKOLM410F::sbt_scriptClick()
{
    if (m_run->isRunning())
        return;
    int base = 0;
    const QString text = selectionOrText(&base);
    run(text, splitScript(text), std::max(base, 0), true);
}

void TKOLM410F::run(const QString& text, const QList<ScriptStatement>& statements, int base,
                    bool script)
{
    if (statements.isEmpty()) {
        setStatusText(QStringLiteral("▶ 실행할 문장이 없습니다..."));
        return;
    }
    if (!mayStart())
        return;
    Memo2->clear();
    recordHistory(text.trimmed());
    m_pane->showError(QString());
    m_statements = statements;
    m_base = base;
    m_outcomes = QList<Outcome>(statements.size());
    m_showedResult = false;
    int lastQuery = -1;
    for (int i = 0; i < statements.size(); ++i)
        if (statements[i].kind == StatementKind::Query)
            lastQuery = i;
    setStatusText(QStringLiteral("▶ 실행 중입니다..."));
    std::optional<db::DatabaseError> error;
    call(
        script ? QStringLiteral("스크립트를 실행하는 중입니다...")
               : QStringLiteral("실행하는 중입니다..."),
        [&](const ui::StopFlag& stop) {
            for (int i = 0; i < statements.size() && !stop.isSet(); ++i) {
                RunEvent done;
                done.outcome = runOne(statements[i], i == lastQuery, stop);
                done.outcome.index = i;
                post(std::move(done));
            }
        },
        &error);
    finishRun(script);
}

TKOLM410F::Outcome TKOLM410F::runOne(const ScriptStatement& statement, bool keepOpen,
                                     const ui::StopFlag& stop)
{
    Outcome o;
    if (statement.kind == StatementKind::SqlPlus) {
        o.skipped = true;
        return o;
    }
    data::SqlRunner& r = *m_run->runner();
    try {
        switch (statement.kind) {
        case StatementKind::Query: {
            r.openQuery(statement.text);
            RunEvent columns;
            columns.kind = RunEvent::Kind::Columns;
            columns.columns = r.columnNames();
            post(std::move(columns));
            o.count = r.fetch(
                kPageRows, kBatchRows, [&stop] { return stop.isSet(); }, rowSink());
            o.more = r.hasOpenQuery();
            if (o.more && stop.isSet()) {
                o.cancelled = true;
                o.more = false;
            }
            if (!keepOpen || !o.more)
                r.closeQuery();
            break;
        }
        case StatementKind::Dml:
            o.count = r.executeChange(statement.text);
            break;
        case StatementKind::Commit:
            r.commit();
            break;
        case StatementKind::Rollback:
            r.rollback();
            break;
        case StatementKind::PlsqlUnit:
            r.execute(statement.text);
            o.unit = parsePlsqlUnit(statement.text);
            if (o.unit.valid && !r.isEmbedded())
                o.compileErrors = r.compileErrors(o.unit.owner, o.unit.name, o.unit.type);
            break;
        case StatementKind::PlsqlBlock:
        case StatementKind::Other:
        case StatementKind::SqlPlus:
            r.execute(statement.text);
            break;
        }
        o.done = !o.cancelled;
    } catch (const db::DatabaseError& e) {
        o.errorCode = e.code();
        o.error = e.message();
        o.errorPosition = e.position();
        o.cancelled = e.code() == 1013;
        const bool plsql = statement.kind == StatementKind::PlsqlBlock ||
                           statement.kind == StatementKind::PlsqlUnit;
        if (plsql && (e.code() == 900 || e.code() == 901) && r.isEmbedded())
            o.error += QStringLiteral("\n내장 데이터베이스는 PL/SQL을 지원하지 않습니다.");
    }
    return o;
}

bool TKOLM410F::call(const QString& text, const std::function<void(const ui::StopFlag&)>& work,
                     std::optional<db::DatabaseError>* error)
{
    m_run->run(
        text,
        [&](const ui::StopFlag& stop) {
            try {
                work(stop);
            } catch (const db::DatabaseError& e) {
                *error = e;
            }
        },
        [this] { updateButtons(); },
        [this] {
            drainInbox();
            updateButtons();
        });
    return !error->has_value();
}

data::SqlRunner::RowSink TKOLM410F::rowSink()
{
    return [this](QList<QStringList>&& rows, const QVector<bool>& numeric) {
        RunEvent batch;
        batch.kind = RunEvent::Kind::Rows;
        batch.rows = std::move(rows);
        batch.numeric = numeric;
        post(std::move(batch));
    };
}

void TKOLM410F::post(RunEvent event)
{
    const QMutexLocker lock(&m_inboxLock);
    m_inbox.append(std::move(event));
    if (m_drainQueued)
        return;
    m_drainQueued = true;
    QMetaObject::invokeMethod(
        this, [this] { ui::runGuarded(this, [this] { drainInbox(); }); }, Qt::QueuedConnection);
}

void TKOLM410F::drainInbox()
{
    QList<RunEvent> events;
    {
        const QMutexLocker lock(&m_inboxLock);
        events.swap(m_inbox);
        m_drainQueued = false;
    }
    for (const RunEvent& e : std::as_const(events))
        apply(e);
}

void TKOLM410F::apply(const RunEvent& event)
{
    switch (event.kind) {
    case RunEvent::Kind::Columns:
        startResult(event.columns);
        break;
    case RunEvent::Kind::Rows:
        addRows(event.rows, event.numeric);
        break;
    case RunEvent::Kind::Done:
        if (event.outcome.index >= 0 && event.outcome.index < m_outcomes.size()) {
            m_outcomes[event.outcome.index] = event.outcome;
            logOutcome(m_statements[event.outcome.index], event.outcome);
        }
        break;
    }
}

void TKOLM410F::startResult(const QStringList& columns)
{
    m_showedResult = true;
    m_resultRows = 0;
    m_resultSized = false;
    m_numeric = QVector<bool>(columns.size(), false);
    AdvStringGrid1->clearData();
    AdvStringGrid1->setColCount(int(columns.size()));
    AdvStringGrid1->setRowCount(1);
    for (int c = 0; c < columns.size(); ++c) {
        AdvStringGrid1->setCell(c, 0, columns[c]);
        AdvStringGrid1->setColWidth(c, 100);
    }
}

void TKOLM410F::addRows(const QList<QStringList>& rows, const QVector<bool>& numeric)
{
    m_numeric = numeric;
    AdvStringGrid1->appendRows(rows);
    m_resultRows += int(rows.size());
    if (m_resultSized || rows.isEmpty())
        return;
    // The first rows decide the column widths: wide enough for the header and what they hold.
    m_resultSized = true;
    const QFontMetrics fm(AdvStringGrid1->font());
    for (int c = 0; c < AdvStringGrid1->colCount(); ++c) {
        int width = fm.horizontalAdvance(AdvStringGrid1->cell(c, 0));
        for (int r = 0; r < std::min<qsizetype>(rows.size(), 50); ++r)
            width = std::max(width, fm.horizontalAdvance(rows[r].value(c)));
        AdvStringGrid1->setColWidth(c, std::clamp(width + 16, 48, 400));
    }
}

QString TKOLM410F::outcomeText(const ScriptStatement& statement, const Outcome& o) const
{
    if (o.skipped)
        return QStringLiteral("SQL*Plus 명령은 실행하지 않습니다.");
    if (!o.error.isEmpty() && !o.cancelled) {
        int line = 0, column = 0;
        const int at = errorOffset(statement, o);
        lineAndColumn(Memo1->toPlainText(), at, &line, &column);
        return o.error + QStringLiteral(" (%1 줄, %2 열)").arg(line).arg(column);
    }
    if (o.cancelled)
        return statement.kind == StatementKind::Query
                   ? QStringLiteral("취소 되었습니다. (%1 건을 읽었습니다)").arg(o.count)
                   : QStringLiteral("취소 되었습니다.");
    switch (statement.kind) {
    case StatementKind::Query:
        return QStringLiteral("%1 건이 조회 되었습니다.").arg(o.count) +
               (o.more ? QStringLiteral(" 다음 자료가 있습니다.") : QString());
    case StatementKind::Dml:
        return QStringLiteral("%1 건이 %2 되었습니다.")
            .arg(o.count)
            .arg(changeVerb(leadingWords(statement.text, 1).value(0)));
    case StatementKind::Commit:
        return QStringLiteral("커밋 되었습니다.");
    case StatementKind::Rollback:
        return QStringLiteral("롤백 되었습니다.");
    case StatementKind::PlsqlBlock:
        return QStringLiteral("PL/SQL 블록이 실행 되었습니다.");
    case StatementKind::PlsqlUnit: {
        const QString unit =
            o.unit.type + QLatin1Char(' ') +
            (o.unit.owner.isEmpty() ? QString() : o.unit.owner + QLatin1Char('.')) + o.unit.name;
        if (!o.compileErrors.isEmpty())
            return QStringLiteral("%1: 컴파일 오류가 있습니다. (%2 건)")
                .arg(unit)
                .arg(o.compileErrors.size());
        return unit + (m_run->runner() && m_run->runner()->isEmbedded()
                           ? QStringLiteral(": 생성 되었습니다.")
                           : QStringLiteral(": 컴파일 되었습니다."));
    }
    case StatementKind::Other:
    case StatementKind::SqlPlus:
        break;
    }
    return leadingWords(statement.text, 2).join(QLatin1Char(' ')) +
           QStringLiteral(" 실행 되었습니다.");
}

int TKOLM410F::errorOffset(const ScriptStatement& statement, const Outcome& o) const
{
    if (!o.compileErrors.isEmpty()) {
        const data::CompileError& e = o.compileErrors.first();
        return offsetOfLine(Memo1->toPlainText(), m_base + statement.start + o.unit.linesFrom,
                            e.line, e.position);
    }
    int position = o.errorPosition;
    if (position < 0)
        position = invalidIdentifierPosition(statement.text, o.error);
    return m_base + (position < 0 ? statement.start : statement.editorOffset(position));
}

void TKOLM410F::logOutcome(const ScriptStatement& statement, const Outcome& o)
{
    QStringList lines{echoOf(statement.text), outcomeText(statement, o)};
    for (const data::CompileError& e : o.compileErrors)
        lines.append(QStringLiteral("  %1/%2  %3").arg(e.line).arg(e.position).arg(e.text));
    lines.append(QString());
    Memo2->appendPlainText(lines.join(QLatin1Char('\n')));
}

void TKOLM410F::finishRun(bool script)
{
    int ran = 0, failed = 0;
    bool cancelled = false;
    int firstError = -1;
    for (int i = 0; i < m_outcomes.size(); ++i) {
        const Outcome& o = m_outcomes[i];
        const ScriptStatement& s = m_statements[i];
        cancelled |= o.cancelled;
        if (o.done || o.skipped || !o.error.isEmpty())
            ++ran;
        const bool wrong = (!o.error.isEmpty() && !o.cancelled) || !o.compileErrors.isEmpty();
        if (wrong) {
            ++failed;
            if (firstError < 0)
                firstError = i;
        }
        if (!o.done)
            continue;
        if (s.kind == StatementKind::Dml || s.kind == StatementKind::PlsqlBlock)
            m_pendingChanges = true;
        else if (endsTransaction(s))
            m_pendingChanges = false;
    }

    QString status;
    if (firstError >= 0) {
        const Outcome& o = m_outcomes[firstError];
        const ScriptStatement& s = m_statements[firstError];
        const QString text = outcomeText(s, o);
        m_pane->showError(o.compileErrors.isEmpty() ? text
                                                    : text + QLatin1Char('\n') +
                                                          QStringLiteral("%1 줄, %2 열: %3")
                                                              .arg(o.compileErrors.first().line)
                                                              .arg(o.compileErrors.first().position)
                                                              .arg(o.compileErrors.first().text));
        Memo1->placeCursor(errorOffset(s, o));
    }
    if (script) {
        status = cancelled
                     ? QStringLiteral("▶ 스크립트가 취소 되었습니다... (%1 문장 중 %2 문장 실행)")
                           .arg(m_statements.size())
                           .arg(ran)
                     : QStringLiteral("▶ 스크립트가 실행 되었습니다... (%1 문장, 오류 %2 건)")
                           .arg(m_statements.size())
                           .arg(failed);
        PageControl1->setCurrentIndex(failed == 0 && m_showedResult &&
                                              m_statements.last().kind == StatementKind::Query
                                          ? ResultPage
                                          : OutputPage);
    } else {
        const Outcome& o = m_outcomes.first();
        const ScriptStatement& s = m_statements.first();
        if (!o.error.isEmpty() && !o.cancelled)
            status = QStringLiteral("▶ 실행 오류 ...(") + oraCode(o.errorCode) + QLatin1Char(')');
        else if (!o.compileErrors.isEmpty())
            status = QStringLiteral("▶ 컴파일 오류 ...(%1 건)").arg(o.compileErrors.size());
        else if (o.cancelled)
            status = s.kind == StatementKind::Query
                         ? QStringLiteral("▶ 취소 되었습니다... (%1 건)").arg(o.count)
                         : QStringLiteral("▶ 취소 되었습니다...");
        else if (s.kind == StatementKind::Query)
            status = QStringLiteral("▶ 조회 되었습니다... (%1 건%2)")
                         .arg(o.count)
                         .arg(o.more ? QStringLiteral(", 다음 자료 있음") : QString());
        else
            status = statusOf(outcomeText(s, o));
        if (m_showedResult)
            PageControl1->setCurrentIndex(ResultPage);
    }
    if (!m_historyFailure.isEmpty())
        status += QStringLiteral(" [실행 기록을 저장하지 못했습니다]");
    setStatusText(status);
    loadHistory();
    updateButtons();
}

void TKOLM410F::showResultStatus()
{
    setStatusText(
        QStringLiteral("▶ 조회 되었습니다... (%1 건%2)")
            .arg(m_resultRows)
            .arg(runner().hasOpenQuery() ? QStringLiteral(", 다음 자료 있음") : QString()));
}

void TKOLM410F::sbt_moreClick()
{
    if (!m_run->runner() || !runner().hasOpenQuery() || !mayStart())
        return;
    std::optional<db::DatabaseError> error;
    bool stopped = false;
    call(
        QStringLiteral("다음 자료를 읽는 중입니다..."),
        [&](const ui::StopFlag& stop) {
            runner().fetch(
                kPageRows, kBatchRows, [&stop] { return stop.isSet(); }, rowSink());
            stopped = stop.isSet();
        },
        &error);
    if (stopped || (error && error->code() == 1013)) {
        runner().closeQuery();
        updateButtons();
        setStatusText(QStringLiteral("▶ 취소 되었습니다... (%1 건)").arg(m_resultRows));
        return;
    }
    if (error) {
        m_pane->showError(error->message());
        setStatusText(QStringLiteral("▶ 실행 오류 ...(") + oraCode(error->code()) +
                      QLatin1Char(')'));
        return;
    }
    showResultStatus();
}

void TKOLM410F::sbt_planClick()
{
    if (m_run->isRunning())
        return;
    int base = 0;
    QString text;
    const QList<ScriptStatement> statements = chosenStatements(&base, &text);
    if (statements.size() != 1) {
        setStatusText(statements.isEmpty()
                          ? QStringLiteral("▶ 실행 계획을 볼 문장이 없습니다...")
                          : QStringLiteral("▶ 실행 계획은 한 문장씩 볼 수 있습니다..."));
        return;
    }
    const ScriptStatement s = statements.first();
    if (s.kind != StatementKind::Query && s.kind != StatementKind::Dml) {
        setStatusText(QStringLiteral(
            "▶ 실행 계획은 SELECT, INSERT, UPDATE, DELETE, MERGE 문에만 있습니다..."));
        return;
    }
    if (!mayStart())
        return;
    m_pane->showError(QString());
    QList<data::PlanStep> steps;
    std::optional<db::DatabaseError> error;
    call(
        QStringLiteral("실행 계획을 읽는 중입니다..."),
        [&](const ui::StopFlag&) { steps = runner().explainPlan(s.text); }, &error);
    if (error) {
        if (runner().isEmbedded() && error->code() == 900) {
            m_pane->showError(QStringLiteral(
                "이 데이터베이스(내장 엔진)는 실행 계획(EXPLAIN PLAN)을 지원하지 않습니다."));
            setStatusText(QStringLiteral("▶ 실행 계획을 지원하지 않는 데이터베이스입니다..."));
            return;
        }
        QString message = error->message();
        if (error->code() == 942 && error->position() < 0)
            message += QStringLiteral(
                "\nPLAN_TABLE이 없으면 $ORACLE_HOME/rdbms/admin/utlxplan.sql로 만드십시오.");
        m_pane->showError(message);
        Outcome o;
        o.errorPosition = error->position();
        o.error = error->message();
        m_base = base;
        if (error->position() >= 0)
            Memo1->placeCursor(errorOffset(s, o));
        setStatusText(QStringLiteral("▶ 실행 오류 ...(") + oraCode(error->code()) +
                      QLatin1Char(')'));
        return;
    }
    tv_plan->clear();
    QHash<int, QTreeWidgetItem*> items;
    for (const data::PlanStep& step : std::as_const(steps)) {
        const QStringList texts{step.operation, step.object, step.cost, step.cardinality,
                                step.bytes};
        QTreeWidgetItem* parent = items.value(step.parentId);
        auto* item =
            parent ? new QTreeWidgetItem(parent, texts) : new QTreeWidgetItem(tv_plan, texts);
        for (int c = 2; c <= 4; ++c)
            item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        items.insert(step.id, item);
    }
    tv_plan->expandAll();
    PageControl1->setCurrentIndex(PlanPage);
    setStatusText(QStringLiteral("▶ 실행 계획이 조회 되었습니다... (%1 단계)").arg(steps.size()));
}

void TKOLM410F::sbt_commitClick()
{
    endTransaction(true);
}

void TKOLM410F::sbt_rollbackClick()
{
    endTransaction(false);
}

void TKOLM410F::endTransaction(bool commit)
{
    if (!mayStart())
        return;
    const QString action = commit ? QStringLiteral("커밋") : QStringLiteral("롤백");
    std::optional<db::DatabaseError> error;
    const bool ended = call(
        action + QStringLiteral("하는 중입니다..."),
        [this, commit](const ui::StopFlag&) { commit ? runner().commit() : runner().rollback(); },
        &error);
    if (!ended) {
        m_pane->showError(error->message());
        setStatusText(QStringLiteral("▶ ") + action + QStringLiteral(" Error ...(") +
                      oraCode(error->code()) + QLatin1Char(')'));
        return;
    }
    m_pendingChanges = false;
    m_pane->showError(QString());
    setStatusText(QStringLiteral("▶ ") + action + QStringLiteral(" 되었습니다..."));
}

void TKOLM410F::sbt_clesesClick()
{
    closeScreen();
}

void TKOLM410F::closeEvent(QCloseEvent* event)
{
    if (m_run->isRunning()) {
        event->ignore();
        return;
    }
    if (m_pendingChanges && m_run->runner() && runner().session().isConnected()) {
        const auto answer = ui::services().messageBox(
            this, QStringLiteral("쿼리 실행"),
            QStringLiteral("커밋하지 않은 변경 사항이 있습니다.\r커밋하시겠습니까? (아니오: 롤백)"),
            QMessageBox::Question, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (answer != QMessageBox::Yes && answer != QMessageBox::No) {
            event->ignore();
            return;
        }
        try {
            answer == QMessageBox::Yes ? runner().commit() : runner().rollback();
        } catch (const db::DatabaseError& e) {
            ui::showMessage(this, e.message());
            event->ignore();
            return;
        }
        m_pendingChanges = false;
    }
    if (m_run->runner())
        runner().closeQuery();
    event->accept();
}

void TKOLM410F::recordHistory(const QString& sql)
{
    const db::Session& session = runner().session();
    m_historyFailure = StatementHistory::instance().add(
        {ui::services().now(), session.username().toUpper() + QLatin1Char('@') + session.server(),
         sql});
    if (!m_historyFailure.isEmpty())
        Memo2->appendPlainText(QStringLiteral("실행 기록을 저장하지 못했습니다: %1: %2\n")
                                   .arg(StatementHistory::filePath(), m_historyFailure));
}

void TKOLM410F::loadHistory()
{
    m_history = StatementHistory::instance().entries();
    const QList<HistoryEntry>& entries = m_history;
    AdvStringGrid2->clearData();
    AdvStringGrid2->setRowCount(std::max<qsizetype>(entries.size(), 1) + 1);
    AdvStringGrid2->beginUpdate();
    for (int i = 0; i < entries.size(); ++i) {
        const HistoryEntry& e = entries[entries.size() - 1 - i];
        AdvStringGrid2->setCell(0, i + 1, QString::number(i + 1));
        AdvStringGrid2->setCell(1, i + 1, e.at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
        AdvStringGrid2->setCell(2, i + 1, e.login);
        AdvStringGrid2->setCell(3, i + 1, e.sql.simplified());
    }
    AdvStringGrid2->endUpdate();
}

void TKOLM410F::HistoryDoubleClick(int row)
{
    const QList<HistoryEntry>& entries = m_history;
    if (row < 1 || row > entries.size() || m_run->isRunning())
        return;
    const QString sql = entries[entries.size() - row].sql;
    const QList<ScriptStatement> statements = splitScript(sql);
    QString text = sql;
    if (statements.size() == 1)
        text += statements[0].kind == StatementKind::PlsqlBlock ||
                        statements[0].kind == StatementKind::PlsqlUnit
                    ? QStringLiteral("\n/")
                    : QStringLiteral(";");
    // The statement goes after what the editor holds, selected, so Ctrl+Enter runs it; nothing
    // typed before is lost, and an undo takes it out again.
    const QString current = Memo1->toPlainText();
    QTextCursor c(Memo1->document());
    c.beginEditBlock();
    if (current.trimmed().isEmpty()) {
        c.select(QTextCursor::Document);
        c.removeSelectedText();
    } else {
        c.movePosition(QTextCursor::End);
        c.insertText(current.endsWith(QLatin1Char('\n')) ? QStringLiteral("\n")
                                                         : QStringLiteral("\n\n"));
    }
    const int from = c.position();
    c.insertText(text + QLatin1Char('\n'));
    c.endEditBlock();
    Memo1->selectRange(from, from + int(sql.size()));
    Memo1->setFocus();
}

void TKOLM410F::updateButtons()
{
    const bool idle = !m_run->isRunning();
    for (QToolButton* b : {sbt_run, sbt_script, sbt_plan, sbt_commit, sbt_rollback})
        b->setEnabled(idle);
    sbt_more->setEnabled(idle && m_run->runner() && runner().hasOpenQuery());
}

}  // namespace kolmara::screens
