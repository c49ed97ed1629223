// The server backup job screen.
#include "screens/serverbackup/KOLM521U.h"

#include "common/KOLMCOMM.h"
#include "data/SharedSlots.h"
#include "data/TableDump.h"
#include "screens/Panels.h"
#include "widgets/ActionGuard.h"
#include "widgets/BarGauge.h"
#include "widgets/Colors.h"
#include "widgets/StringGrid.h"
#include "widgets/ToolButtons.h"
#include "widgets/UiServices.h"

#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
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
constexpr qint64 kProgressIntervalMs = 100;
// What the grid shows for a stored password: the job logs in with the stored text, nobody needs
// to read it off the screen.
const QString kMaskedPassword = QStringLiteral("********");

QString server()
{
    return ConnServer.toUpper();
}

// The server's minutes (its own number text, '.' before the fraction) with one decimal in this
// PC's number format; FormatAmount reads the PC's format, which need not use '.'.
QString minutesText(const QString& serverNumber)
{
    bool ok = false;
    const double minutes = QLocale::c().toDouble(serverNumber.trimmed(), &ok);
    if (!ok)
        return FormatAmount(serverNumber, QStringLiteral("1"));
    QLocale pc = QLocale::system();
    pc.setNumberOptions(QLocale::OmitGroupSeparator);
    return FormatAmount(pc.toString(minutes, 'f', 6), QStringLiteral("1"));
}

}  // namespace

TKOLM521F::TKOLM521F(QWidget* parent)
    : MdiScreen(QStringLiteral("서버백업작업[그리드]"), QSize(870, 730), parent)
{
    setObjectName(QStringLiteral("TKOLM521F"));
    setupUi();
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
    bbt_cleses = ui::addToolButton(tools, QStringLiteral("bbt_cleses"), QStringLiteral("닫기"), QStringLiteral("X"), QColor(110, 110, 110));
    bbt_update = ui::addToolButton(tools, QStringLiteral("bbt_update"), QStringLiteral("백업작업(Export)"), QStringLiteral("E"), QColor(32, 96, 144));
    bbt_select = ui::addToolButton(tools, QStringLiteral("bbt_select"), QStringLiteral("조회"), QStringLiteral("R"), QColor(40, 120, 200));
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

    AdvStringGrid1 = new ui::StringGrid(this);
    AdvStringGrid1->setObjectName(QStringLiteral("AdvStringGrid1"));
    AdvStringGrid1->setColCount(kJobColumns);
    AdvStringGrid1->setRowCount(4);
    AdvStringGrid1->setRowHeight(19);
    AdvStringGrid1->setGridLines(ui::StringGrid::GridLines::VerticalOnly);
    AdvStringGrid1->setColumnsResizable(false);
    AdvStringGrid1->setRowSelect(true);
    AdvStringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    const QStringList headers = {
        QStringLiteral("No."),          QStringLiteral("백업계정"),     QStringLiteral("계정명칭"),
        QStringLiteral("백업테이블"),   QStringLiteral("테이블명칭"),   QStringLiteral("구분"),
        QStringLiteral("백업건수"),     QStringLiteral("소요시간(분)"), QStringLiteral("백업시작일시"),
        QStringLiteral("백업종료일시"), QStringLiteral("에러코드"),     QStringLiteral("계정암호"),
        QStringLiteral("백업장소"),     QStringLiteral("백업조건"),     QStringLiteral("라인"),
        QStringLiteral("백업권한")};
    const int widths[] = {39, 80, 100, 84, 100, 33, 80, 80, 120, 120, 80, 100, 200, 204, 34, 57};
    for (int c = 0; c < kJobColumns; ++c) {
        AdvStringGrid1->setCell(c, 0, headers[c]);
        AdvStringGrid1->setColWidth(c, widths[c]);
    }
    AdvStringGrid1->setGroupMarkerColumn(kLine);
    AdvStringGrid1->setAlignmentFunction([](int col, int row) -> Qt::Alignment {
        if (row == 0 || col == 0 || col == kCycle || col == kStart || col == kEnd || col == kLine ||
            col == kTakesPart)
            return Qt::AlignCenter;
        if (col == kCount || col == kMinutes)
            return Qt::AlignRight | Qt::AlignVCenter;
        return Qt::AlignLeft | Qt::AlignVCenter;
    });
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

void TKOLM521F::showEvent(QShowEvent* event)
{
    MdiScreen::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    ui::runGuarded(this, [this] { bbt_selectClick(); });
}

void TKOLM521F::bbt_clesesClick()
{
    if (auto* sub = qobject_cast<QWidget*>(parentWidget()))
        sub->close();
    else
        close();
}

void TKOLM521F::ClearJobGrid()
{
    AdvStringGrid1->clearData();
    AdvStringGrid1->setRowCount(4);
    AdvStringGrid1->setColCount(kJobColumns);
    m_passwords = QStringList(4);
}

QString TKOLM521F::passwordOf(int row) const
{
    return m_passwords.value(row);
}

void TKOLM521F::bbt_selectClick()
{
    ui::setBusyCursor(true);
    setStatusText(QString());
    statusBar()->repaint();
    bbt_update->setEnabled(false);
    ClearJobGrid();

    struct Due {
        QString account, table, tableName, cycle, condition;
    };
    QList<Due> due;
    Backupt1 = std::make_unique<data::HBACKUPT1>();
    RowCount = Backupt1->GetDueBackups(server());
    for (int i = 0; i < RowCount; ++i)
        due.append({Backupt1->slotText(1, i), Backupt1->slotText(2, i), Backupt1->slotText(3, i),
                    Backupt1->slotText(4, i), Backupt1->slotText(7, i)});
    Backupt1.reset();
    if (RowCount <= 0) {
        AdvStringGrid1->setCell(kLine, 1, QStringLiteral("--"));
        ui::setBusyCursor(false);
        ui::showMessage(this, QStringLiteral("백업대상 테이블이 없습니다..."));
        return;
    }

    const int n = int(due.size());
    AdvStringGrid1->setRowCount(n + 1);
    m_passwords = QStringList(n + 1);
    AdvStringGrid1->beginUpdate();
    const auto endUpdate = qScopeGuard([this] { AdvStringGrid1->endUpdate(); });
    for (int i = 0; i < n; ++i) {
        const int r = i + 1;
        AdvStringGrid1->setCell(kUserName, r, QString());
        AdvStringGrid1->setCell(kPassword, r, QString());
        AdvStringGrid1->setCell(kTakesPart, r, QStringLiteral("N"));
        Backust1 = std::make_unique<data::HBACKUST1>();
        SubRowCount = Backust1->GetBackupUser(server(), due[i].account);
        m_passwords[r] = Backust1->slotText(2);
        AdvStringGrid1->setCell(kUserName, r, Backust1->slotText(3));
        AdvStringGrid1->setCell(kPassword, r, m_passwords[r].isEmpty() ? QString() : kMaskedPassword);
        AdvStringGrid1->setCell(kTakesPart, r, Backust1->slotText(5));
        Backust1.reset();
        AdvStringGrid1->setCell(0, r, QString::number(r));
        AdvStringGrid1->setCell(kAccount, r, due[i].account);
        AdvStringGrid1->setCell(kTable, r, due[i].table);
        AdvStringGrid1->setCell(kTableName, r, due[i].tableName);
        AdvStringGrid1->setCell(kCycle, r, due[i].cycle);
        for (int c : {kCount, kMinutes, kStart, kEnd, kErrorCode, kPath})
            AdvStringGrid1->setCell(c, r, QString());
        AdvStringGrid1->setCell(kCondition, r, due[i].condition);
        AdvStringGrid1->setCell(kLine, r, QString());
    }
    AdvStringGrid1->setCell(kLine, n, QStringLiteral("--"));
    bbt_update->setEnabled(true);
    ui::setBusyCursor(false);
}

void TKOLM521F::disconnectJobSession()
{
    try {
        OraSession9.setConnected(false);
    } catch (const db::DatabaseError&) {
        // A connection that is already gone has nothing left to close.
    }
}

void TKOLM521F::bbt_updateClick()
{
    ui::setBusyCursor(true);
    setStatusText(QString());
    statusBar()->repaint();
    // A dump error ends the job: the session it left connected goes with it.
    const auto disconnect = qScopeGuard([this] {
        SharedQuery3.reset();
        disconnectJobSession();
    });
    for (int r = 1; r < AdvStringGrid1->rowCount(); ++r) {
        if (AdvStringGrid1->cell(kTakesPart, r) != QLatin1String("Y"))
            continue;
        mm_select->clear();
        const QString account = AdvStringGrid1->cell(kAccount, r);
        const QString table = AdvStringGrid1->cell(kTable, r);
        Oraclem2 = std::make_unique<data::HORACLEM2>();
        RowCount = Oraclem2->GetTableColumns(account, table);
        if (RowCount <= 0) {
            Oraclem2.reset();
            continue;
        }
        mm_select->setPlainText(data::dumpSelectText(data::kJobDumpSelectHead,
                                                     data::dumpColumns(*Oraclem2, RowCount), table, CfgDateTime));
        Oraclem2.reset();
        mm_select->repaint();
        JobRow = r;
        RunTableBackup();
    }
    ui::setBusyCursor(false);
}

void TKOLM521F::RunTableBackup()
{
    const int r = JobRow;
    const QString account = AdvStringGrid1->cell(kAccount, r);
    const QString table = AdvStringGrid1->cell(kTable, r);
    const QString comment = AdvStringGrid1->cell(kTableName, r);
    const QString label = table + QLatin1Char('(') + comment + QStringLiteral(") ");
    setStatusText(QStringLiteral("▶ ") + label + QStringLiteral(" 백업중입니다..."));
    statusBar()->repaint();
    pn_name1->setText(table);
    pn_name1->repaint();
    pn_name2->setText(comment);
    pn_name2->repaint();

    // Each account dumps into a folder of its own, so same-named tables of two accounts both keep
    // their file of the day.
    const QString folder = data::dumpFolder(CfgBackupDrive, CfgBackupPath, account, ui::services().now().date());
    ForceDirs(folder);
    const QString path = data::dumpFile(folder, table);
    AdvStringGrid1->setCell(kPath, r, path);

    disconnectJobSession();
    const QString password = passwordOf(r);
    OraSession9.setServer(ConnServer);
    OraSession9.setUsername(account);
    OraSession9.setPassword(password);
    OraSession9.setConnectString(account + QLatin1Char('/') + password + QLatin1Char('@') + ConnServer);
    OraSession9.setLoginPrompt(false);
    try {
        OraSession9.connect();
    } catch (const db::DatabaseError& e) {
        ui::setBusyCursor(false);
        ui::showMessage(this, e.message());
        ui::setBusyCursor(true);
        return;
    }

    data::TableDump dump(path, mm_select->toPlainText() + QLatin1Char('\n') + AdvStringGrid1->cell(kCondition, r),
                         data::dumpEncodingFromSetting(CfgDumpEncoding));
    int total = 0;
    QElapsedTimer sinceRepaint;
    auto showProgress = [&](int written) {
        ws_memo->setPlainText(dump.lineText());
        ws_memo->repaint();
        Gauge1->setMaxValue(qMax(total, written));
        Gauge1->setProgress(written);
        Gauge1->repaint();
        pn_name3->setText(QString::number(written) + QStringLiteral(" / ") + QString::number(total) +
                          QLatin1Char(' '));
        pn_name3->repaint();
    };
    dump.onStart = [&](const QDateTime& start) { AdvStringGrid1->setCell(kStart, r, data::shownStamp(start)); };
    dump.onRowsCounted = [&](int counted) {
        total = counted;
        Gauge1->setMinValue(0);
        Gauge1->setMaxValue(counted);
        sinceRepaint.start();
    };
    dump.onLine = [&](int written) {
        if (sinceRepaint.elapsed() >= kProgressIntervalMs || written == total) {
            showProgress(written);
            sinceRepaint.restart();
        }
    };
    SharedQuery3 = std::make_unique<db::Query>(&OraSession9);
    const data::TableDump::Outcome done = dump.run(*SharedQuery3);
    SharedQuery3.reset();

    if (done.written == 0) {
        setStatusText(QStringLiteral("▶ ") + label + QStringLiteral("백업할 자료가 없습니다..(") +
                      QString::number(done.written) + QLatin1Char(')'));
        return;
    }
    AdvStringGrid1->setCell(kCount, r, QString::number(done.written) + QStringLiteral(" 건"));
    AdvStringGrid1->setCell(kEnd, r, data::shownStamp(done.end));
    const QString start = StripSeparators(AdvStringGrid1->cell(kStart, r));
    const QString end = StripSeparators(AdvStringGrid1->cell(kEnd, r));
    Oraclem3 = std::make_unique<data::HORACLEM3>();
    AuxRowCount = Oraclem3->GetElapsedMinutes(start, end);
    if (AuxRowCount > 0)
        AdvStringGrid1->setCell(kMinutes, r, minutesText(Oraclem3->slotText(0)) + QStringLiteral(" 분"));
    Oraclem3.reset();
    AdvStringGrid1->viewport()->repaint();
    Gauge1->setProgress(0);

    data::BackupLogRow log;
    log.server = server();
    log.account = account;
    log.table = table;
    log.startStamp = start;
    log.endStamp = end;
    log.tableName = comment;
    log.cycle = AdvStringGrid1->cell(kCycle, r);
    log.ipName = LocalIp;
    log.condition = AdvStringGrid1->cell(kCondition, r);
    log.path = path;
    log.count = done.written;
    RowCount = data::insertBackupLog(log);
    if (RowCount < 0) {
        setStatusText(QStringLiteral("▶ 백업로그 자료 생성이 에러 입니다..."));
        return;
    }
    RowCount = data::stampLastBackup(server(), account, table);
    if (RowCount < 0)
        setStatusText(QStringLiteral("▶ 백업테이블 백업일자 생성이 에러 입니다..."));
    else
        setStatusText(QStringLiteral("▶ ") + label + QString::number(done.written) +
                      QStringLiteral(" 건 백업이 완료 되었습니다..."));
    statusBar()->repaint();
}

}  // namespace kolmara::screens
