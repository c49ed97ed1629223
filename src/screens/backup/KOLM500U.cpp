// The backup screen.
#include "screens/backup/KOLM500U.h"

#include "common/KOLMCOMM.h"
#include "common/ShortDate.h"
#include "data/SharedSlots.h"
#include "data/TableDump.h"
#include "screens/BackupCodes.h"
#include "screens/ListGrid.h"
#include "screens/Panels.h"
#include "screens/ScheduleEditor.h"
#include "widgets/ActionGuard.h"
#include "widgets/PieGauge.h"
#include "widgets/StringGrid.h"
#include "widgets/ToolButtons.h"
#include "widgets/UiServices.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace kolmara::screens {

namespace {

constexpr int kTableColumns = 6;
constexpr int kLogColumns = 9;
constexpr int kCheckColumn = 3;
constexpr int kFlagColumn = 5;
constexpr int kBackupPage = 0;
constexpr int kLogPage = 1;
constexpr int kTableBackupPage = 1;  // of PageControl2
// The progress controls are repainted at most this often during a dump, and after its last row.
constexpr qint64 kProgressIntervalMs = 100;

QString server()
{
    return ConnServer.toUpper();
}

}  // namespace

TKOLM500F::TKOLM500F(QWidget* parent)
    : MdiScreen(QStringLiteral("백업작업(EXPORT)"), QSize(870, 611), parent)
{
    setObjectName(QStringLiteral("TKOLM500F"));
    setupUi();
}

void TKOLM500F::setupUi()
{
    QToolBar* tools = addToolStrip();
    bbt_select = addListButton(tools, QStringLiteral("bbt_select"));
    bbt_update =
        ui::addToolButton(tools, QStringLiteral("bbt_update"), QStringLiteral("백업작업(Export)"),
                          QStringLiteral("E"), QColor(32, 96, 144));
    bbt_cleses = addCloseButton(tools, QStringLiteral("bbt_cleses"));
    bbt_update->setEnabled(false);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->addTab(setupBackupPage(), QStringLiteral("백업작업"));
    PageControl1->addTab(setupLogPage(), QStringLiteral("백업확인"));
    addBody(PageControl1);

    ui::connectGuarded(bbt_select, &QToolButton::clicked, this, [this] { bbt_SelectClick(); });
    ui::connectGuarded(bbt_update, &QToolButton::clicked, this, [this] { bbt_updateClick(); });
    ui::connectGuarded(bbt_cleses, &QToolButton::clicked, this, [this] { bbt_clesesClick(); });
    ui::connectGuarded(PageControl1, &QTabWidget::currentChanged, this,
                       [this] { bbt_SelectClick(); });
    ui::connectGuarded(AdvStringGrid1, &ui::StringGrid::cellClicked, this,
                       [this](int, int row) { AdvStringGrid1ClickCell(row); });
    ui::connectGuarded(AdvStringGrid1, &ui::StringGrid::checkBoxClicked, this,
                       [this](int col, int row, bool state) {
                           if (col == kCheckColumn && row > 0)
                               AdvStringGrid1->setCell(
                                   kFlagColumn, row,
                                   state ? QStringLiteral("Y") : QStringLiteral("N"));
                       });
    ui::connectGuarded(cb_check, &QCheckBox::toggled, this,
                       [this](bool checked) { setSelectAll(checked); });
}

QWidget* TKOLM500F::setupBackupPage()
{
    auto* page = new QWidget(PageControl1);
    page->setObjectName(QStringLiteral("TabSheet1"));
    auto* columns = new QHBoxLayout(page);
    columns->setContentsMargins(2, 2, 2, 2);

    // Left: the account and its tables.
    auto* left = new QVBoxLayout;
    auto* owner = new QGridLayout;
    pn_grant = valuePanel(QStringLiteral("pn_grant"), page);
    ed_select = new QLineEdit(page);
    ed_select->setObjectName(QStringLiteral("ed_select"));
    keepUpperCase(ed_select);
    pn_tablename = valuePanel(QStringLiteral("pn_tablename"), page);
    ed_select->setFixedWidth(140);
    pn_tablename->setMinimumWidth(150);
    owner->addWidget(captionCell(QStringLiteral("소유자"), page, 60), 0, 0);
    owner->addWidget(pn_grant, 0, 1, 1, 2);
    owner->addWidget(captionCell(QStringLiteral("찾  기"), page, 60), 1, 0);
    owner->addWidget(ed_select, 1, 1);
    owner->addWidget(pn_tablename, 1, 2);
    left->addLayout(owner);
    auto* countRow = new QHBoxLayout;
    lb_DataCnt = new QLabel(QStringLiteral("검색건수"), page);
    lb_DataCnt->setObjectName(QStringLiteral("lb_DataCnt"));
    cb_check = new QCheckBox(QStringLiteral("전체백업선택"), page);
    cb_check->setObjectName(QStringLiteral("cb_check"));
    cb_check->hide();
    countRow->addWidget(lb_DataCnt);
    countRow->addStretch();
    countRow->addWidget(cb_check);
    left->addLayout(countRow);

    using enum Align;
    AdvStringGrid1 = buildGrid(page, {.name = QStringLiteral("AdvStringGrid1"),
                                      .columns = {{QStringLiteral("No."), 39, Centre},
                                                  {QStringLiteral("테이블"), 74},
                                                  {QStringLiteral("테이블명칭"), 143},
                                                  {QStringLiteral("선택"), 30, Centre},
                                                  {QStringLiteral("구분"), 30, Centre},
                                                  {QString(), 20, Centre}},
                                      .rowHeight = 19,
                                      .rowSelect = true});
    AdvStringGrid1->setMinimumWidth(360);
    left->addWidget(AdvStringGrid1, 1);
    columns->addLayout(left);

    // Right, upper: the table's details and the dump query.
    auto* right = new QVBoxLayout;
    PageControl2 = new QTabWidget(page);
    PageControl2->setObjectName(QStringLiteral("PageControl2"));

    auto* info = new QWidget(PageControl2);
    info->setObjectName(QStringLiteral("TabSheet3"));
    auto* ig = new QGridLayout(info);
    ig->setContentsMargins(4, 4, 4, 4);
    ig->setVerticalSpacing(2);
    auto panel = [&](QLabel*& field, const char* name, bool right = false) {
        field = valuePanel(QString::fromLatin1(name), info, right);
        return field;
    };
    auto row = [&](int r, const QString& caption, QWidget* a, QWidget* b = nullptr) {
        ig->addWidget(captionCell(caption, info, 120), r, 0);
        if (b) {
            ig->addWidget(a, r, 1);
            ig->addWidget(b, r, 2);
        } else {
            ig->addWidget(a, r, 1, 1, 2);
        }
    };
    row(0, QStringLiteral("테이블명"), panel(pn_tableid, "pn_tableid"),
        panel(pn_tabname, "pn_tabname"));
    row(1, QStringLiteral("테이블스페이스"), panel(pn_tablespace_id, "pn_tablespace_id", true),
        panel(pn_tablespace, "pn_tablespace"));
    row(2, QStringLiteral("클러스터명"), panel(pn_Cluster_name, "pn_Cluster_name"));
    row(3, QStringLiteral("테이블 LOCK"), panel(pn_table_lock, "pn_table_lock"));
    row(4, QStringLiteral("생성일시"), panel(pn_create_date, "pn_create_date"));
    row(5, QStringLiteral("수정일시"), panel(pn_modify_date, "pn_modify_date"));
    row(6, QStringLiteral("테이블상태"), panel(pn_status, "pn_status"));
    row(7, QStringLiteral("ANALYZED"), panel(pn_last_analyzed, "pn_last_analyzed"));
    row(8, QStringLiteral("INIT_TRANS"), panel(pn_init_trans, "pn_init_trans", true));
    row(9, QStringLiteral("NEXT_TRANS"), panel(pn_next_trans, "pn_next_trans", true));
    row(10, QStringLiteral("PCT_USED(%)"), panel(pn_pct_used, "pn_pct_used", true));
    row(11, QStringLiteral("PCT_FREE(%)"), panel(pn_pct_free, "pn_pct_free", true));
    row(12, QStringLiteral("MIN_EXTENTS"), panel(pn_min_extents, "pn_min_extents", true));
    row(13, QStringLiteral("MAX_EXTENTS"), panel(pn_max_extents, "pn_max_extents", true));
    row(14, QStringLiteral("INIT_EXTENT(B)"), panel(pn_init_extent, "pn_init_extent", true));
    row(15, QStringLiteral("NEXT_EXTENT(B)"), panel(pn_next_extent, "pn_next_extent", true));
    row(16, QStringLiteral("CHAIN COUNT"), panel(pn_chain_cnt, "pn_chain_cnt", true));
    row(17, QStringLiteral("INCREASE/FREELISTS"), panel(pn_pct_increase, "pn_pct_increase", true),
        panel(pn_freelists, "pn_freelists", true));
    row(18, QStringLiteral("레코드건수"), panel(pn_recordcount, "pn_recordcount", true));
    ig->setRowStretch(19, 1);
    PageControl2->addTab(info, QStringLiteral("테이블정보"));

    auto* backup = new QWidget(PageControl2);
    backup->setObjectName(QStringLiteral("TabSheet4"));
    auto* bl = new QVBoxLayout(backup);
    bl->setContentsMargins(2, 2, 2, 2);
    mm_select = new QPlainTextEdit(backup);
    mm_select->setObjectName(QStringLiteral("mm_select"));
    mm_select->setLineWrapMode(QPlainTextEdit::NoWrap);
    bl->addWidget(mm_select, 1);
    auto* messageGroup = new QGroupBox(QStringLiteral("[백업메세지]"), backup);
    auto* ml = new QHBoxLayout(messageGroup);
    ml->setContentsMargins(4, 2, 4, 2);
    pn_message = valuePanel(QStringLiteral("pn_message"), messageGroup);
    ml->addWidget(pn_message);
    bl->addWidget(messageGroup);
    PageControl2->addTab(backup, QStringLiteral("테이블백업"));
    PageControl2->setCurrentIndex(kTableBackupPage);
    right->addWidget(PageControl2, 1);

    // Right, lower: where the dump goes and the schedule it is made under.
    auto* client = new QGroupBox(QStringLiteral("[클라이언트]"), page);
    auto* cl = new QHBoxLayout(client);
    cl->setContentsMargins(4, 2, 4, 2);
    ed_backup_Path = new QLineEdit(client);
    ed_backup_Path->setObjectName(QStringLiteral("ed_backup_Path"));
#ifdef _WIN32
    // Upper case only where file names ignore case; elsewhere it would name another file.
    keepUpperCase(ed_backup_Path);
#endif
    cl->addWidget(captionCell(QStringLiteral("백업장소"), client, 70));
    cl->addWidget(ed_backup_Path, 1);
    right->addWidget(client);

    gb_backupinfo = new QGroupBox(QStringLiteral("[백업정보]"), page);
    gb_backupinfo->setObjectName(QStringLiteral("gb_backupinfo"));
    gb_backupinfo->setEnabled(false);
    auto* sg = new QGridLayout(gb_backupinfo);
    sg->setContentsMargins(4, 2, 4, 2);
    sg->setVerticalSpacing(2);
    Gauge1 = new ui::PieGauge(gb_backupinfo);
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setFixedSize(35, 35);
    Gauge1->hide();
    pn_backup_date = valuePanel(QStringLiteral("pn_backup_date"), gb_backupinfo);
    m_schedule = new ScheduleEditor(gb_backupinfo);
    m_schedule->pn_title->setFixedWidth(40);
    m_schedule->mm_condision->setFixedHeight(40);
    pn_mode = valuePanel(QStringLiteral("pn_mode"), gb_backupinfo);
    pn_mode->setFixedWidth(24);
    pn_mode->setAlignment(Qt::AlignCenter);
    auto disabledEdit = [&](QLineEdit*& edit, const char* name) {
        edit = new QLineEdit(gb_backupinfo);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setReadOnly(true);
        return edit;
    };
    sg->addWidget(captionCell(QStringLiteral("최종백업일시"), gb_backupinfo), 0, 0);
    sg->addWidget(pn_backup_date, 0, 1, 1, 2);
    sg->addWidget(Gauge1, 0, 3, 2, 1);
    sg->addWidget(captionCell(QStringLiteral("백업주기"), gb_backupinfo), 1, 0);
    sg->addWidget(m_schedule->cb_cycle, 1, 1, 1, 2);
    sg->addWidget(captionCell(QStringLiteral("백업구분"), gb_backupinfo), 2, 0);
    sg->addWidget(m_schedule->pn_title, 2, 1);
    sg->addWidget(m_schedule->cb_type, 2, 2);
    sg->addWidget(pn_mode, 2, 3);
    sg->addWidget(captionCell(QStringLiteral("백업시간"), gb_backupinfo), 3, 0);
    sg->addWidget(m_schedule->cb_backup_time, 3, 1, 1, 2);
    sg->addWidget(captionCell(QStringLiteral("백업조건"), gb_backupinfo), 4, 0);
    sg->addWidget(m_schedule->mm_condision, 4, 1, 1, 3);
    auto* times = new QHBoxLayout;
    times->addWidget(disabledEdit(ed_start_backup, "ed_start_backup"));
    times->addWidget(disabledEdit(ed_end_backup, "ed_end_backup"));
    times->addWidget(disabledEdit(ed_ipname, "ed_ipname"));
    sg->addLayout(times, 5, 0, 1, 4);
    right->addWidget(gb_backupinfo);
    columns->addLayout(right, 1);
    return page;
}

QWidget* TKOLM500F::setupLogPage()
{
    auto* page = new QWidget(PageControl1);
    page->setObjectName(QStringLiteral("TabSheet2"));
    auto* pl = new QVBoxLayout(page);
    pl->setContentsMargins(2, 2, 2, 2);
    auto* range = new QHBoxLayout;
    auto datePicker = [&](const char* name) {
        auto* d = new QDateEdit(page);
        d->setObjectName(QString::fromLatin1(name));
        d->setCalendarPopup(true);
        d->setDisplayFormat(shortDateFormat());
        return d;
    };
    dtp_frdate = datePicker("dtp_frdate");
    dtp_todate = datePicker("dtp_todate");
    range->addWidget(captionCell(QStringLiteral("백업기간"), page));
    range->addWidget(dtp_frdate);
    range->addWidget(new QLabel(QStringLiteral("～"), page));
    range->addWidget(dtp_todate);
    range->addStretch();
    pl->addLayout(range);

    using enum Align;
    AdvStringGrid2 = buildGrid(page, {.name = QStringLiteral("AdvStringGrid2"),
                                      .columns = {{QStringLiteral("No."), 39, Centre},
                                                  {QStringLiteral("백업시작일시"), 120, Centre},
                                                  {QStringLiteral("테이블명"), 110},
                                                  {QStringLiteral("테이블명칭"), 150},
                                                  {QStringLiteral("주기"), 31, Centre},
                                                  {QStringLiteral("백업종료일시"), 120, Centre},
                                                  {QStringLiteral("백업시간(분)"), 82, Right},
                                                  {QStringLiteral("백업건수"), 58, Right},
                                                  {QStringLiteral("백업장소"), 115}},
                                      .rowHeight = 19,
                                      .rowSelect = true});
    pl->addWidget(AdvStringGrid2, 1);
    return page;
}

void TKOLM500F::FormShow()
{
    pn_grant->setText(ConnUser.toUpper());
    {
        const QSignalBlocker blocker(PageControl1);
        PageControl1->setCurrentIndex(kBackupPage);
    }
    const QDate today = ui::services().now().date();
    dtp_frdate->setDate(QDate(today.year(), today.month(), 1));
    dtp_todate->setDate(today);
    bbt_SelectClick();
    ed_select->setFocus();
}

void TKOLM500F::bbt_SelectClick()
{
    if (PageControl1->currentIndex() == kBackupPage) {
        ClearTableGrid();
        LoadTableList();
    } else {
        ClearLogGrid();
        LoadBackupLogList();
    }
}

void TKOLM500F::bbt_clesesClick()
{
    closeScreen();
}

void TKOLM500F::ClearTableGrid()
{
    AdvStringGrid1->clearData();
    AdvStringGrid1->setRowCount(2);
    AdvStringGrid1->setColCount(kTableColumns);
    const QSignalBlocker blocker(cb_check);
    cb_check->setChecked(false);
    cb_check->setText(QStringLiteral("전체백업선택"));
}

void TKOLM500F::ClearLogGrid()
{
    AdvStringGrid2->clearData();
    AdvStringGrid2->setRowCount(2);
    AdvStringGrid2->setColCount(kLogColumns);
}

void TKOLM500F::setSelectAll(bool checked)
{
    cb_check->setText(checked ? QStringLiteral("전체백업취소") : QStringLiteral("전체백업선택"));
    for (int r = 1; r < AdvStringGrid1->rowCount(); ++r) {
        if (!AdvStringGrid1->hasCheckBox(kCheckColumn, r))
            continue;
        AdvStringGrid1->setCheckBoxState(kCheckColumn, r, checked);
        AdvStringGrid1->setCell(kFlagColumn, r,
                                checked ? QStringLiteral("Y") : QStringLiteral("N"));
    }
}

void TKOLM500F::LoadTableList()
{
    ui::setBusyCursor(true);
    showStatusNow(QString());
    bbt_update->setEnabled(false);
    const QString account = pn_grant->text();

    const bool read = readListRows(
        Oraclem1, AdvStringGrid1,
        [&account](data::HORACLEM1& o) { return o.GetTableList(account, QStringLiteral("TABLE")); },
        [this](const data::HORACLEM1& o, int r, int i) {
            AdvStringGrid1->setCell(0, r, QString::number(r));
            AdvStringGrid1->setCell(1, r, o.slotText(0, i));
            AdvStringGrid1->setCell(2, r, o.slotText(1, i));
            AdvStringGrid1->addCheckBox(kCheckColumn, r, false);
            AdvStringGrid1->setCell(kFlagColumn, r, QStringLiteral("N"));
        },
        [this](int n) {
            showReadError(QStringLiteral("ALL_TAB_COMMENTS"), n);
            ui::setBusyCursor(false);
        });
    if (!read)
        return;
    const int n = RowCount;

    // The account's schedules in one read; a table without one shows no cycle.
    QHash<QString, QString> cycles;
    Backupt1 = std::make_unique<data::HBACKUPT1>();
    SubRowCount = Backupt1->GetBackupTables(server(), account);
    for (int i = 0; i < SubRowCount; ++i)
        if (!cycles.contains(Backupt1->slotText(2, i)))
            cycles.insert(Backupt1->slotText(2, i), Backupt1->slotText(4, i));
    Backupt1.reset();
    {
        const GridUpdate update(AdvStringGrid1);
        for (int r = 1; r <= n; ++r)
            AdvStringGrid1->setCell(4, r, cycles.value(AdvStringGrid1->cell(1, r)));
    }
    setStatusText(QStringLiteral("▶ 테이블이 ") + QString::number(n) + QStringLiteral("건 조회 되었습니다..."));
    lb_DataCnt->setText(QStringLiteral("검색건수 : ") + QString::number(n) + QStringLiteral(" 건"));
    ui::setBusyCursor(false);
    AdvStringGrid1ClickCell(1);
}

void TKOLM500F::AdvStringGrid1ClickCell(int row)
{
    if (row <= 0 || row >= AdvStringGrid1->rowCount())
        return;
    ed_select->setText(AdvStringGrid1->cell(1, row));
    if (ed_select->text().isEmpty())
        return;
    pn_tablename->setText(AdvStringGrid1->cell(2, row));
    PageControl2->setCurrentIndex(kTableBackupPage);
    LoadTableBackupDetail();
}

void TKOLM500F::clearTableInfo()
{
    clearStoragePanels();
    for (QLabel* p : {pn_recordcount, pn_backup_date})
        p->clear();
}

QString TKOLM500F::tableLabel() const
{
    return pn_tableid->text() + QLatin1Char('(') + pn_tabname->text() + QStringLiteral(") ");
}

void TKOLM500F::LoadTableBackupDetail()
{
    ui::setBusyCursor(true);
    showStatusNow(QString());
    bbt_update->setEnabled(false);
    ed_start_backup->clear();
    ed_end_backup->clear();
    ed_ipname->clear();

    const QString account = pn_grant->text();
    const QString table = ed_select->text();
    pn_tableid->setText(table);
    pn_tabname->setText(pn_tablename->text());
    clearTableInfo();
    m_schedule->showNew(QLatin1Char('N'));
    pn_mode->setText(QStringLiteral("I"));
    mm_select->clear();

    if (!loadStoragePanels(account, table)) {
        setStatusText(QStringLiteral("▶ ALL_TABLES SELECT ERROR ..."));
        ui::setBusyCursor(false);
        return;
    }

    // Another account's table is named with its owner: the dump runs on the login's session, where
    // the bare name would mean the login's own table of that name, or none.
    const QString loginUser = data::mainSession().username();
    const QString owner =
        account.compare(loginUser, Qt::CaseInsensitive) == 0 ? QString() : account;
    Oraclem2 = std::make_unique<data::HORACLEM2>();
    RowCount = Oraclem2->GetTableColumns(account, table);
    if (RowCount > 0)
        mm_select->setPlainText(data::dumpSelectText(data::kDumpSelectHead,
                                                     data::dumpColumns(*Oraclem2, RowCount), table,
                                                     CfgDateTime, owner));
    Oraclem2.reset();

    Backupt1 = std::make_unique<data::HBACKUPT1>();
    RowCount = Backupt1->GetBackupTable(server(), account, table);
    if (RowCount < 0) {
        Backupt1.reset();
        setStatusText(QStringLiteral("▶ 백업대상 테이블을 생성 해야 합니다..."));
        ui::setBusyCursor(false);
        return;
    }
    if (RowCount > 0) {
        pn_mode->setText(QStringLiteral("U"));
        const QString stamp = Backupt1->slotText(8);
        if (!stamp.isEmpty())
            pn_backup_date->setText(shownCatalogueStamp(stamp));
        m_schedule->showStored(ScheduleEditor::storedCodes(*Backupt1));
    }
    Backupt1.reset();

    const QString folder =
        data::dumpFolder(CfgBackupDrive, CfgBackupPath, ConnUser, ui::services().now().date());
    ui::reportUnmadeFolders(ForceDirs(folder));
    ed_backup_Path->setText(data::dumpFile(folder, table));
    ed_ipname->setText(LocalIp);

    bbt_update->setEnabled(true);
    setStatusText(QStringLiteral("▶ ") + tableLabel() + QStringLiteral("테이블 백업정보가 조회 되었습니다..."));
    ui::setBusyCursor(false);
}

void TKOLM500F::refreshProgress(int written, int total)
{
    pn_message->setText(QString::number(written) + QStringLiteral(" Rows Update / TOTAL ") +
                        QString::number(total) + QStringLiteral(" Rows "));
    pn_message->repaint();
    Gauge1->setMaxValue(qMax(total, written));
    Gauge1->setProgress(written);
    Gauge1->repaint();
}

void TKOLM500F::bbt_updateClick()
{
    if (dumping_)
        return;
    dumping_ = true;
    // Clicks made while the dump runs wait in the queue until it ends; they reach the button
    // while it is still disabled and are dropped, so a double click dumps once.
    const bool wasEnabled = bbt_update->isEnabled();
    bbt_update->setEnabled(false);
    const auto release = qScopeGuard([this, wasEnabled] {
        QCoreApplication::processEvents();
        bbt_update->setEnabled(wasEnabled);
        dumping_ = false;
    });
    ui::setBusyCursor(true);
    showStatusNow(QString());
    pn_message->clear();
    PageControl2->setCurrentIndex(kTableBackupPage);

    // The table read last, whose dump SELECT and path are shown: the search field may have been
    // typed into since.
    const QString table = pn_tableid->text();
    const QString path = ed_backup_Path->text();
    const ScheduleEditor::Codes schedule = m_schedule->codes();
    const QString condition = schedule.condition;
    data::TableDump dump(path, mm_select->toPlainText() + QLatin1Char('\n') + condition,
                         data::dumpEncodingFromSetting(CfgDumpEncoding));

    int total = 0;
    QElapsedTimer sinceRepaint;
    dump.onStart = [&](const QDateTime& start) {
        ed_start_backup->setText(data::shownStamp(start));
        ed_start_backup->repaint();
    };
    dump.onRowsCounted = [&](int counted) {
        total = counted;
        Gauge1->setMinValue(0);
        Gauge1->setMaxValue(counted);
        Gauge1->setProgress(0);
        Gauge1->show();
        pn_recordcount->setText(QString::number(counted) + QStringLiteral(" 건"));
        sinceRepaint.start();
    };
    dump.onLine = [&](int written) {
        if (sinceRepaint.elapsed() >= kProgressIntervalMs || written == total) {
            refreshProgress(written, total);
            sinceRepaint.restart();
        }
    };

    // A dump that fails leaves the gauge and the query as a finished one does; the error box of
    // the action guard reports it and restores the cursor.
    const auto tidy = qScopeGuard([this] {
        SharedQuery1.reset();
        Gauge1->setProgress(0);
        Gauge1->hide();
    });
    SharedQuery1 = std::make_unique<db::Query>(&data::mainSession());
    const data::TableDump::Outcome done = dump.run(*SharedQuery1);

    if (done.written == 0) {
        setStatusText(QStringLiteral("▶ ") + tableLabel() + QStringLiteral("백업할 자료가 없습니다...(") +
                      QString::number(done.written) + QLatin1Char(')'));
        ui::setBusyCursor(false);
        return;
    }
    refreshProgress(done.written, total);
    ed_end_backup->setText(data::shownStamp(done.end));

    data::BackupLogRow log;
    log.server = server();
    log.account = pn_grant->text();
    log.table = table;
    log.startStamp = StripSeparators(ed_start_backup->text());
    log.endStamp = StripSeparators(ed_end_backup->text());
    log.tableName = pn_tabname->text();
    log.cycle = schedule.cycle;
    log.type = schedule.type;
    log.time = schedule.time;
    log.ipName = LocalIp;
    log.condition = condition;
    log.path = path;
    log.count = done.written;
    RowCount = data::insertBackupLog(log);
    if (RowCount < 0) {
        setStatusText(QStringLiteral("▶ 백업로그 자료 생성이 에러 입니다..."));
        ui::setBusyCursor(false);
        return;
    }
    RowCount = data::stampLastBackup(server(), pn_grant->text(), table);
    if (RowCount < 0)
        setStatusText(QStringLiteral("▶ 백업테이블 백업일자 생성이 에러 입니다..."));
    else
        setStatusText(QStringLiteral("▶ ") + tableLabel() + QString::number(done.written) +
                      QStringLiteral("건 백업이 완료 되었습니다..."));
    statusBar()->repaint();
    ui::setBusyCursor(false);
}

void TKOLM500F::LoadBackupLogList()
{
    ui::setBusyCursor(true);
    showStatusNow(QString());
    bbt_update->setEnabled(false);

    const bool read = readListRows(
        Backupt2, AdvStringGrid2,
        [this](data::HBACKUPT2& o) {
            return o.GetBackupLog(server(), pn_grant->text(),
                                  dtp_frdate->date().toString(QStringLiteral("yyyyMMdd")),
                                  dtp_todate->date().toString(QStringLiteral("yyyyMMdd")));
        },
        [this](const data::HBACKUPT2& o, int r, int i) {
            AdvStringGrid2->setCell(0, r, QString::number(r));
            AdvStringGrid2->setCell(1, r, o.slotText(3, i));
            AdvStringGrid2->setCell(2, r, o.slotText(2, i));
            AdvStringGrid2->setCell(3, r, o.slotText(5, i));
            AdvStringGrid2->setCell(4, r, o.slotText(6, i));
            AdvStringGrid2->setCell(5, r, o.slotText(4, i));
            AdvStringGrid2->setCell(6, r, o.slotText(13, i) + QStringLiteral(" 분"));
            AdvStringGrid2->setCell(7, r, o.slotText(12, i));
            AdvStringGrid2->setCell(8, r, o.slotText(11, i));
        },
        [this](int) { setStatusText(QStringLiteral("▶ BACKUP LOG SELECT ERROR ...")); },
        SubRowCount);
    if (read) {
        AdvStringGrid2->setFocus();
        setStatusText(QStringLiteral("▶ ") + QString::number(SubRowCount) +
                      QStringLiteral("건이 조회 되었습니다..."));
    }
    ui::setBusyCursor(false);
}

}  // namespace kolmara::screens
