// The server backup job screen.
#include "screens/serverbackup/KOLM521U.h"

#include "common/KOLMCOMM.h"
#include "data/SharedSlots.h"
#include "data/TableDump.h"
#include "screens/ListGrid.h"
#include "screens/Panels.h"
#include "widgets/ActionGuard.h"
#include "widgets/BarGauge.h"
#include "widgets/Colors.h"
#include "widgets/StringGrid.h"
#include "widgets/ToolButtons.h"
#include "widgets/UiServices.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace kolmara::screens {

namespace {

constexpr int kJobColumns = 16;
constexpr int kAccount = 1;
constexpr int kUserName = 2;
constexpr int kTable = 3;
constexpr int kTableName = 4;
constexpr int kCycle = 5;
constexpr int kCount = 6;
constexpr int kMinutes = 7;
constexpr int kStart = 8;
constexpr int kEnd = 9;
constexpr int kErrorCode = 10;
constexpr int kPassword = 11;
constexpr int kPath = 12;
constexpr int kCondition = 13;
constexpr int kLine = 14;
constexpr int kTakesPart = 15;
// What the grid shows for a stored password: the job logs in with the stored text, nobody needs
// to read it off the screen.
const QString kMaskedPassword = QStringLiteral("********");

}  // namespace

TKOLM521F::TKOLM521F(QWidget* parent)
    : MdiScreen(QStringLiteral("서버백업작업[그리드]"), QSize(870, 729), parent)
{
    setObjectName(QStringLiteral("TKOLM521F"));
    setMinimizable(false);
    setupUi();
    followJob();
}

TKOLM521F::~TKOLM521F()
{
    // The dump query of a job that ended in an error may still name this session.
    SharedQuery3.reset();
}

void TKOLM521F::setupUi()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* tools = new QToolBar(this);
    tools->setObjectName(QStringLiteral("ToolBar1"));
    bbt_cleses = addCloseButton(tools, QStringLiteral("bbt_cleses"));
    bbt_update =
        ui::addToolButton(tools, QStringLiteral("bbt_update"), QStringLiteral("백업작업(Export)"),
                          QStringLiteral("E"), QColor(32, 96, 144));
    bbt_select = addListButton(tools, QStringLiteral("bbt_select"));
    bbt_update->setEnabled(false);
    auto* current = new QWidget(tools);
    auto* cl = new QHBoxLayout(current);
    cl->setContentsMargins(6, 0, 2, 0);
    pn_name1 = valuePanel(QStringLiteral("pn_name1"), current);
    pn_name2 = valuePanel(QStringLiteral("pn_name2"), current);
    pn_name3 = valuePanel(QStringLiteral("pn_name3"), current, true);
    pn_name1->setFixedWidth(150);
    pn_name2->setFixedWidth(200);
    pn_name3->setFixedWidth(150);
    cl->addWidget(captionCell(QStringLiteral("현재백업테이블"), current, 100));
    cl->addWidget(pn_name1);
    cl->addWidget(pn_name2);
    cl->addWidget(pn_name3);
    tools->addWidget(current);
    layout->addWidget(tools);

    using enum Align;
    AdvStringGrid1 = buildGrid(this, {.name = QStringLiteral("AdvStringGrid1"),
                                      .columns = {{QStringLiteral("No."), 39, Centre},
                                                  {QStringLiteral("백업계정"), 80},
                                                  {QStringLiteral("계정명칭"), 100},
                                                  {QStringLiteral("백업테이블"), 84},
                                                  {QStringLiteral("테이블명칭"), 100},
                                                  {QStringLiteral("구분"), 33, Centre},
                                                  {QStringLiteral("백업건수"), 80, Right},
                                                  {QStringLiteral("소요시간(분)"), 80, Right},
                                                  {QStringLiteral("백업시작일시"), 120, Centre},
                                                  {QStringLiteral("백업종료일시"), 120, Centre},
                                                  {QStringLiteral("에러코드"), 80},
                                                  {QStringLiteral("계정암호"), 100},
                                                  {QStringLiteral("백업장소"), 200},
                                                  {QStringLiteral("백업조건"), 204},
                                                  {QStringLiteral("라인"), 34, Centre},
                                                  {QStringLiteral("백업권한"), 57, Centre}},
                                      .rowHeight = 19,
                                      .lines = ui::StringGrid::GridLines::VerticalOnly,
                                      .rowSelect = true,
                                      .resizable = false,
                                      .rows = 4,
                                      .groupMarkerColumn = kLine});
    layout->addWidget(AdvStringGrid1, 1);

    auto* gaugeStrip = new QWidget(this);
    gaugeStrip->setObjectName(QStringLiteral("Panel2"));
    gaugeStrip->setEnabled(false);
    auto* gl = new QHBoxLayout(gaugeStrip);
    gl->setContentsMargins(4, 2, 4, 2);
    Gauge1 = new ui::BarGauge(gaugeStrip);
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setForeColor(ui::colorFromBgr(0x00FF0000));
    Gauge1->setFixedHeight(21);
    Gauge1->setMinimumWidth(854);
    gl->addWidget(Gauge1);
    layout->addWidget(gaugeStrip);

    auto* memos = new QWidget(this);
    memos->setObjectName(QStringLiteral("Panel3"));
    memos->setEnabled(false);
    auto* ml = new QHBoxLayout(memos);
    ml->setContentsMargins(2, 2, 2, 2);
    ws_memo = new QPlainTextEdit(memos);
    ws_memo->setObjectName(QStringLiteral("ws_memo"));
    ws_memo->setReadOnly(true);
    ws_memo->setFixedWidth(404);
    mm_select = new QPlainTextEdit(memos);
    mm_select->setObjectName(QStringLiteral("mm_select"));
    mm_select->setReadOnly(true);
    mm_select->setLineWrapMode(QPlainTextEdit::NoWrap);
    ml->addWidget(ws_memo);
    ml->addWidget(mm_select, 1);
    memos->setFixedHeight(150);
    layout->addWidget(memos);
    layout->addWidget(statusBar());

    ui::connectGuarded(bbt_select, &QToolButton::clicked, this, [this] { bbt_selectClick(); });
    ui::connectGuarded(bbt_update, &QToolButton::clicked, this, [this] { bbt_updateClick(); });
    ui::connectGuarded(bbt_cleses, &QToolButton::clicked, this, [this] { bbt_clesesClick(); });
}

void TKOLM521F::bbt_clesesClick()
{
    closeScreen();
}

void TKOLM521F::ClearJobGrid()
{
    AdvStringGrid1->clearData();
    AdvStringGrid1->setRowCount(4);
    AdvStringGrid1->setColCount(kJobColumns);
}

void TKOLM521F::bbt_selectClick()
{
    ui::setBusyCursor(true);
    showStatusNow(QString());
    bbt_update->setEnabled(false);
    ClearJobGrid();

    RowCount = m_job.readDueTables();
    if (RowCount <= 0) {
        AdvStringGrid1->setCell(kLine, 1, QStringLiteral("--"));
        ui::setBusyCursor(false);
        ui::showMessage(this, QStringLiteral("백업대상 테이블이 없습니다..."));
        return;
    }

    const int n = int(m_job.tables().size());
    AdvStringGrid1->setRowCount(n + 1);
    AdvStringGrid1->beginUpdate();
    const auto endUpdate = qScopeGuard([this] { AdvStringGrid1->endUpdate(); });
    for (int i = 0; i < n; ++i) {
        const int r = i + 1;
        AdvStringGrid1->setCell(kUserName, r, QString());
        AdvStringGrid1->setCell(kPassword, r, QString());
        AdvStringGrid1->setCell(kTakesPart, r, QStringLiteral("N"));
        m_job.readRegistration(i);
        const data::JobTable& t = m_job.tables()[i];
        AdvStringGrid1->setCell(kUserName, r, t.userName);
        AdvStringGrid1->setCell(kPassword, r, t.password.isEmpty() ? QString() : kMaskedPassword);
        AdvStringGrid1->setCell(kTakesPart, r, t.takesPart);
        AdvStringGrid1->setCell(0, r, QString::number(r));
        AdvStringGrid1->setCell(kAccount, r, t.account);
        AdvStringGrid1->setCell(kTable, r, t.table);
        AdvStringGrid1->setCell(kTableName, r, t.tableName);
        AdvStringGrid1->setCell(kCycle, r, t.cycle);
        for (int c : {kCount, kMinutes, kStart, kEnd, kErrorCode, kPath})
            AdvStringGrid1->setCell(c, r, QString());
        AdvStringGrid1->setCell(kCondition, r, t.condition);
        AdvStringGrid1->setCell(kLine, r, QString());
    }
    AdvStringGrid1->setCell(kLine, n, QStringLiteral("--"));
    bbt_update->setEnabled(true);
    ui::setBusyCursor(false);
}

void TKOLM521F::bbt_updateClick()
{
    ui::setBusyCursor(true);
    showStatusNow(QString());
    m_job.run();
    // A table that failed before its dump ended (a refused login) leaves the line that announced
    // its dump: the job has ended, so that line no longer holds.
    if (statusText().endsWith(QStringLiteral(" 백업중입니다...")))
        setStatusText(QString());
    ui::setBusyCursor(false);
}

void TKOLM521F::followJob()
{
    using Outcome = data::JobTable::Outcome;
    auto labelOf = [this](int i) {
        const data::JobTable& t = m_job.tables()[i];
        return t.table + QLatin1Char('(') + t.tableName + QStringLiteral(") ");
    };
    m_job.onTableBegins = [this](int) { mm_select->clear(); };
    m_job.onDumpBegins = [this, labelOf](int i) {
        const data::JobTable& t = m_job.tables()[i];
        mm_select->setPlainText(t.selectText);
        mm_select->repaint();
        showStatusNow(QStringLiteral("▶ ") + labelOf(i) + QStringLiteral(" 백업중입니다..."));
        pn_name1->setText(t.table);
        pn_name1->repaint();
        pn_name2->setText(t.tableName);
        pn_name2->repaint();
        // The progress shown belongs to the table before; this one has written nothing yet.
        pn_name3->clear();
        if (!ws_memo->document()->isEmpty())
            ws_memo->clear();
        Gauge1->setProgress(0);
        AdvStringGrid1->setCell(kPath, i + 1, t.path);
    };
    m_job.onStart = [this](int i) {
        AdvStringGrid1->setCell(kStart, i + 1, data::shownStamp(m_job.tables()[i].start));
    };
    m_job.onRowsCounted = [this](int, int counted) {
        Gauge1->setMinValue(0);
        Gauge1->setMaxValue(counted);
    };
    m_job.onProgress = [this](int, int written, int counted, const QString& line) {
        ws_memo->setPlainText(line);
        ws_memo->repaint();
        Gauge1->setMaxValue(qMax(counted, written));
        Gauge1->setProgress(written);
        Gauge1->repaint();
        pn_name3->setText(QString::number(written) + QStringLiteral(" / ") +
                          QString::number(counted) + QLatin1Char(' '));
        pn_name3->repaint();
    };
    m_job.onDumped = [this](int i) {
        const data::JobTable& t = m_job.tables()[i];
        const int r = i + 1;
        AdvStringGrid1->setCell(kCount, r, QString::number(t.count) + QStringLiteral(" 건"));
        AdvStringGrid1->setCell(kEnd, r, data::shownStamp(t.end));
        if (!t.minutes.isEmpty())
            AdvStringGrid1->setCell(kMinutes, r,
                                    data::elapsedMinutesText(t.minutes) + QStringLiteral(" 분"));
        AdvStringGrid1->viewport()->repaint();
        Gauge1->setProgress(0);
    };
    m_job.onTableEnds = [this, labelOf](int i) {
        const data::JobTable& t = m_job.tables()[i];
        switch (t.outcome) {
        case Outcome::LoginRefused:
        case Outcome::PathRefused:
            ui::setBusyCursor(false);
            ui::showMessage(this, t.error);
            ui::setBusyCursor(true);
            return;
        case Outcome::NoRows:
            setStatusText(QStringLiteral("▶ ") + labelOf(i) + QStringLiteral("백업할 자료가 없습니다..(") +
                          QString::number(t.count) + QLatin1Char(')'));
            return;
        case Outcome::LogFailed:
            setStatusText(data::withServerMessage(
                QStringLiteral("▶ 백업로그 자료 생성이 에러 입니다..."), t.error));
            return;
        case Outcome::StampFailed:
            setStatusText(data::withServerMessage(
                QStringLiteral("▶ 백업테이블 백업일자 생성이 에러 입니다..."), t.error));
            break;
        case Outcome::Done:
            setStatusText(QStringLiteral("▶ ") + labelOf(i) + QString::number(t.count) +
                          QStringLiteral(" 건 백업이 완료 되었습니다..."));
            break;
        default:
            return;
        }
        statusBar()->repaint();
    };
}

}  // namespace kolmara::screens
