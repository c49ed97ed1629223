// The PL/SQL editor.
#include "screens/worksheet/KOLM420U.h"

#include "common/KOLMCOMM.h"
#include "data/SharedSlots.h"
#include "db/Session.h"
#include "screens/ListGrid.h"
#include "screens/worksheet/SqlEditor.h"
#include "screens/worksheet/SqlEditorPane.h"
#include "screens/worksheet/SqlScript.h"
#include "screens/worksheet/WorksheetRun.h"
#include "widgets/ActionGuard.h"
#include "widgets/CancellableCall.h"
#include "widgets/StringGrid.h"
#include "widgets/ToolButtons.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <optional>

namespace kolmara::screens {

namespace {

// What became of one unit of the text.
struct UnitResult {
    PlsqlUnit unit;
    QList<data::CompileError> errors;
    std::optional<db::DatabaseError> failure;  // the CREATE itself was refused
};

QString unitName(const PlsqlUnit& unit)
{
    return unit.type + QLatin1Char(' ') +
           (unit.owner.isEmpty() ? QString() : unit.owner + QLatin1Char('.')) + unit.name;
}

}  // namespace

TKOLM420F::TKOLM420F(QWidget* parent)
    : MdiScreen(QStringLiteral("프로시져 작성"), QSize(880, 660), parent)
{
    setObjectName(QStringLiteral("TKOLM420F"));
    setupUi();
}

TKOLM420F::~TKOLM420F() = default;

void TKOLM420F::setupUi()
{
    QToolBar* tools = addToolStrip();
    sbt_compile =
        ui::addToolButton(tools, QStringLiteral("sbt_compile"), QStringLiteral("컴파일 (F9)"),
                          QStringLiteral("F9"), QColor(40, 120, 200));
    tools->addSeparator();
    sbt_cleses = addCloseButton(tools);
    pn_login = new QLabel(this);
    pn_login->setObjectName(QStringLiteral("pn_login"));
    statusBar()->addPermanentWidget(pn_login);

    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->setObjectName(QStringLiteral("Splitter1"));
    addBody(splitter);
    m_pane = new SqlEditorPane(tools, splitter);
    Memo1 = m_pane->editor();
    m_run = std::make_unique<WorksheetRun>(this, m_pane, pn_login);
    Memo1->setPlaceholderText(QStringLiteral(
        "CREATE OR REPLACE PROCEDURE 이름 (인자 IN NUMBER) AS\nBEGIN\n    NULL;\nEND;\n/"));

    using enum Align;
    AdvStringGrid1 = buildGrid(splitter, {.name = QStringLiteral("AdvStringGrid1"),
                                          .columns = {{QStringLiteral("객체"), 200},
                                                      {QStringLiteral("줄"), 50, Right},
                                                      {QStringLiteral("열"), 50, Right},
                                                      {QStringLiteral("오류 내용"), 540}},
                                          .rowHeight = 19,
                                          .rowSelect = true});
    splitter->addWidget(m_pane);
    splitter->addWidget(AdvStringGrid1);
    splitter->setSizes({420, 160});
    splitter->setStretchFactor(0, 1);

    auto* compileAction = new QAction(this);
    compileAction->setObjectName(QStringLiteral("act_compile"));
    compileAction->setShortcuts({QKeySequence(Qt::Key_F9), QKeySequence(Qt::CTRL | Qt::Key_Return),
                                 QKeySequence(Qt::CTRL | Qt::Key_Enter)});
    compileAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(compileAction);

    ui::connectGuarded(compileAction, &QAction::triggered, this, [this] { sbt_compileClick(); });
    ui::connectGuarded(sbt_compile, &QToolButton::clicked, this, [this] { sbt_compileClick(); });
    ui::connectGuarded(sbt_cleses, &QToolButton::clicked, this, [this] { sbt_clesesClick(); });
    ui::connectGuarded(AdvStringGrid1, &ui::StringGrid::cellClicked, this,
                       [this](int, int row) { ErrorClick(row); });
}

void TKOLM420F::firstShown()
{
    m_run->open();
}

bool TKOLM420F::isRunning() const
{
    return m_run->isRunning();
}

void TKOLM420F::sbt_compileClick()
{
    if (m_run->isRunning())
        return;
    const QString text = Memo1->toPlainText();
    const QList<ScriptStatement> statements = splitScript(text);
    AdvStringGrid1->clearData();
    m_errorOffsets.clear();
    m_pane->showError(QString());
    if (statements.isEmpty()) {
        setStatusText(QStringLiteral("▶ 컴파일할 문장이 없습니다..."));
        return;
    }
    for (const ScriptStatement& s : statements) {
        if (s.kind == StatementKind::PlsqlUnit && parsePlsqlUnit(s.text).valid)
            continue;
        m_pane->showError(
            QStringLiteral("프로시져 작성 창은 CREATE [OR REPLACE] PROCEDURE, FUNCTION, PACKAGE "
                           "[BODY], TRIGGER, TYPE [BODY] 문만 컴파일합니다. (%1 줄)")
                .arg(s.line + 1));
        Memo1->placeCursor(s.start);
        setStatusText(QStringLiteral("▶ PL/SQL 객체의 생성문이 아닙니다..."));
        return;
    }
    if (!m_run->connected())
        return;
    if (m_run->runner()->isEmbedded()) {
        m_pane->showError(
            QStringLiteral("내장 데모 데이터베이스는 PL/SQL을 컴파일하지 않습니다. 프로시저, 함수, "
                           "패키지와 트리거는 오라클 서버에 접속하여 작성하십시오."));
        setStatusText(QStringLiteral("▶ PL/SQL을 지원하지 않는 데이터베이스입니다..."));
        return;
    }
    if (!m_run->idle())
        return;

    QList<UnitResult> results;
    data::SqlRunner& runner = *m_run->runner();
    m_run->run(
        QStringLiteral("컴파일하는 중입니다..."),
        [&](const ui::StopFlag& stop) {
            for (const ScriptStatement& s : statements) {
                if (stop.isSet())
                    break;
                UnitResult r;
                r.unit = parsePlsqlUnit(s.text);
                try {
                    runner.execute(s.text);
                    r.errors = runner.compileErrors(r.unit.owner, r.unit.name, r.unit.type);
                } catch (const db::DatabaseError& e) {
                    r.failure = e;
                }
                results.append(r);
            }
        },
        [this] { sbt_compile->setEnabled(false); }, [this] { sbt_compile->setEnabled(true); });

    // One grid row per error: the unit, where it is in the editor, and the server's text.
    QList<QStringList> rows;
    for (int i = 0; i < results.size(); ++i) {
        const UnitResult& r = results[i];
        const ScriptStatement& s = statements[i];
        const QString name = unitName(r.unit);
        auto list = [&](int offset, const QString& message) {
            int line = 0, column = 0;
            lineAndColumn(text, offset, &line, &column);
            rows.append({name, QString::number(line), QString::number(column), message});
            m_errorOffsets.append(offset);
        };
        if (r.failure) {
            const int position = r.failure->position();
            list(position < 0 ? s.start : s.editorOffset(position), r.failure->message());
        }
        for (const data::CompileError& e : r.errors)
            list(offsetOfLine(text, s.start + r.unit.linesFrom, e.line, e.position), e.text);
    }
    AdvStringGrid1->clearData();
    AdvStringGrid1->setRowCount(1);
    AdvStringGrid1->appendRows(rows.isEmpty() ? QList<QStringList>{QStringList()} : rows);

    const bool cancelled = results.size() < statements.size();
    if (!m_errorOffsets.isEmpty()) {
        Memo1->placeCursor(m_errorOffsets.first());
        AdvStringGrid1->setCurrentCell(3, 1);
        m_pane->showError(
            QStringLiteral("%1 (%2 줄, %3 열)").arg(rows[0][3], rows[0][1], rows[0][2]));
        setStatusText(QStringLiteral("▶ 컴파일 오류 ...(%1 건)").arg(rows.size()));
    } else if (cancelled) {
        setStatusText(QStringLiteral("▶ 컴파일이 취소 되었습니다... (%1 개 중 %2 개 객체)")
                          .arg(statements.size())
                          .arg(results.size()));
    } else {
        setStatusText(
            results.size() == 1
                ? QStringLiteral("▶ 컴파일 되었습니다... (") + unitName(results[0].unit) +
                      QLatin1Char(')')
                : QStringLiteral("▶ 컴파일 되었습니다... (%1 개 객체)").arg(results.size()));
    }
}

void TKOLM420F::ErrorClick(int row)
{
    if (row < 1 || row > m_errorOffsets.size())
        return;
    Memo1->placeCursor(m_errorOffsets[row - 1]);
}

void TKOLM420F::sbt_clesesClick()
{
    closeScreen();
}

void TKOLM420F::closeEvent(QCloseEvent* event)
{
    if (m_run->isRunning())
        event->ignore();
    else
        event->accept();
}

}  // namespace kolmara::screens
