// The table manager's backup tab: the storage panels and the schedule editor of the highlighted
// table, and saving the schedule of every ticked table.
#include "screens/tables/KOLM210U.h"

#include "common/KOLMCOMM.h"
#include "data/SharedSlots.h"
#include "screens/BackupCodes.h"
#include "screens/Panels.h"
#include "screens/ScheduleEditor.h"
#include "screens/tables/KOLM210Parts.h"
#include "widgets/ActionGuard.h"
#include "widgets/Colors.h"
#include "widgets/StringGrid.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace kolmara::screens {

using namespace table_manager;

// ---- The backup tab --------------------------------------------------------------------------

QWidget* TKOLM210F::buildBackupPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet6"));
    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(4, 4, 4, 4);

    auto* upper = new QGridLayout;
    upper->setHorizontalSpacing(4);
    upper->setVerticalSpacing(3);
    pn_tableid = valuePanel(QStringLiteral("pn_tableid"), page);
    pn_tabname = valuePanel(QStringLiteral("pn_tabname"), page);
    pn_tablespace_id = valuePanel(QStringLiteral("pn_tablespace_id"), page, true);
    pn_tablespace = valuePanel(QStringLiteral("pn_tablespace"), page);
    mm_data_file = memo("mm_data_file", 0x00FFFFFF, page);
    mm_data_file->setReadOnly(true);
    mm_data_file->setFixedHeight(52);
    pn_Cluster_name = valuePanel(QStringLiteral("pn_Cluster_name"), page);
    pn_table_lock = valuePanel(QStringLiteral("pn_table_lock"), page);
    pn_create_date = valuePanel(QStringLiteral("pn_create_date"), page);
    pn_modify_date = valuePanel(QStringLiteral("pn_modify_date"), page);
    pn_status = valuePanel(QStringLiteral("pn_status"), page);
    pn_last_analyzed = valuePanel(QStringLiteral("pn_last_analyzed"), page);
    pn_init_trans = valuePanel(QStringLiteral("pn_init_trans"), page, true);
    pn_next_trans = valuePanel(QStringLiteral("pn_next_trans"), page, true);
    pn_pct_used = valuePanel(QStringLiteral("pn_pct_used"), page, true);
    pn_pct_free = valuePanel(QStringLiteral("pn_pct_free"), page, true);
    pn_min_extents = valuePanel(QStringLiteral("pn_min_extents"), page, true);
    pn_max_extents = valuePanel(QStringLiteral("pn_max_extents"), page, true);
    pn_init_extent = valuePanel(QStringLiteral("pn_init_extent"), page, true);
    pn_next_extent = valuePanel(QStringLiteral("pn_next_extent"), page, true);
    pn_chain_cnt = valuePanel(QStringLiteral("pn_chain_cnt"), page, true);
    pn_pct_increase = valuePanel(QStringLiteral("pn_pct_increase"), page, true);
    pn_freelists = valuePanel(QStringLiteral("pn_freelists"), page, true);

    auto pair = [&](int row, int col, const QString& text, QLabel* a, QLabel* b = nullptr) {
        upper->addWidget(caption(text, page), row, col);
        if (b) {
            auto* h = new QHBoxLayout;
            h->setSpacing(2);
            h->addWidget(a, 1);
            h->addWidget(b, 2);
            upper->addLayout(h, row, col + 1);
        } else {
            upper->addWidget(a, row, col + 1);
        }
    };
    upper->addWidget(caption(QStringLiteral("테이블명"), page), 0, 0);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(pn_tableid, 1);
    nameRow->addWidget(pn_tabname, 2);
    upper->addLayout(nameRow, 0, 1, 1, 3);
    upper->addWidget(caption(QStringLiteral("테이블스페이스"), page), 1, 0);
    auto* tsRow = new QHBoxLayout;
    tsRow->addWidget(pn_tablespace_id, 1);
    tsRow->addWidget(pn_tablespace, 5);
    upper->addLayout(tsRow, 1, 1, 1, 3);
    upper->addWidget(caption(QStringLiteral("데이타파일"), page), 2, 0, Qt::AlignTop | Qt::AlignRight);
    upper->addWidget(mm_data_file, 2, 1, 1, 3);
    pair(3, 0, QStringLiteral("클러스터명"), pn_Cluster_name);
    pair(3, 2, QStringLiteral("테이블 LOCK"), pn_table_lock);
    pair(4, 0, QStringLiteral("생성일시"), pn_create_date);
    pair(4, 2, QStringLiteral("수정일시"), pn_modify_date);
    pair(5, 0, QStringLiteral("테이블상태"), pn_status);
    pair(5, 2, QStringLiteral("ANALYZED"), pn_last_analyzed);
    pair(6, 0, QStringLiteral("INIT_TRANS"), pn_init_trans);
    pair(6, 2, QStringLiteral("NEXT_TRANS"), pn_next_trans);
    pair(7, 0, QStringLiteral("PCT_USED(%)"), pn_pct_used);
    pair(7, 2, QStringLiteral("PCT_FREE(%)"), pn_pct_free);
    pair(8, 0, QStringLiteral("MIN_EXTENTS"), pn_min_extents);
    pair(8, 2, QStringLiteral("MAX_EXTENTS"), pn_max_extents);
    pair(9, 0, QStringLiteral("INIT_EXTENT(B)"), pn_init_extent);
    pair(9, 2, QStringLiteral("NEXT_EXTENT(B)"), pn_next_extent);
    pair(10, 0, QStringLiteral("CHAIN COUNT"), pn_chain_cnt);
    pair(10, 2, QStringLiteral("INCREASE/FREELISTS"), pn_pct_increase, pn_freelists);
    upper->setColumnStretch(1, 1);
    upper->setColumnStretch(3, 1);
    v->addLayout(upper);

    auto* line = new QFrame(page);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    v->addWidget(line);

    auto* lower = new QGridLayout;
    lower->setHorizontalSpacing(4);
    lower->setVerticalSpacing(3);
    pn_backup_date = valuePanel(QStringLiteral("pn_backup_date"), page);
    pn_mode = valuePanel(QStringLiteral("pn_mode"), page);
    pn_mode->setAlignment(Qt::AlignCenter);
    pn_mode->setFixedWidth(24);
    m_schedule = new ScheduleEditor(page);
    QComboBox* cb_cycle = m_schedule->cb_cycle;
    QLabel* pn_title = m_schedule->pn_title;
    pn_title->setAlignment(Qt::AlignCenter);
    pn_title->setFixedWidth(60);
    auto* conditionFrame = new QFrame(page);
    conditionFrame->setObjectName(QStringLiteral("pn_condision"));
    conditionFrame->setStyleSheet(
        QStringLiteral("QFrame#pn_condision { background: #ff8c00; }"));
    auto* cf = new QVBoxLayout(conditionFrame);
    cf->setContentsMargins(3, 3, 3, 3);
    QPlainTextEdit* mm_condision = m_schedule->mm_condision;
    mm_condision->setParent(conditionFrame);
    mm_condision->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mm_condision->setStyleSheet(QStringLiteral("QPlainTextEdit { background: %1; }")
                                    .arg(ui::colorFromBgr(0x00FFFFFF).name()));
    cf->addWidget(mm_condision);

    lower->addWidget(caption(QStringLiteral("최종백업일시"), page), 0, 0);
    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(pn_backup_date, 1);
    dateRow->addStretch(1);
    dateRow->addWidget(pn_mode);
    lower->addLayout(dateRow, 0, 1);
    lower->addWidget(caption(QStringLiteral("백업주기"), page), 1, 0);
    auto* cycleRow = new QHBoxLayout;
    cycleRow->addWidget(cb_cycle);
    cycleRow->addStretch(1);
    lower->addLayout(cycleRow, 1, 1);
    lower->addWidget(caption(QStringLiteral("백업구분"), page), 2, 0);
    auto* typeRow = new QHBoxLayout;
    typeRow->addWidget(pn_title);
    typeRow->addWidget(m_schedule->cb_type);
    typeRow->addStretch(1);
    lower->addLayout(typeRow, 2, 1);
    lower->addWidget(caption(QStringLiteral("백업시간"), page), 3, 0);
    auto* timeRow = new QHBoxLayout;
    timeRow->addWidget(m_schedule->cb_backup_time);
    timeRow->addStretch(1);
    lower->addLayout(timeRow, 3, 1);
    lower->addWidget(caption(QStringLiteral("백업조건"), page), 4, 0, Qt::AlignTop | Qt::AlignRight);
    lower->addWidget(conditionFrame, 4, 1);
    lower->setColumnStretch(1, 1);
    lower->setRowStretch(4, 1);
    v->addLayout(lower, 1);
    return page;
}

void TKOLM210F::clearBackupPanels()
{
    clearStoragePanels();
    pn_backup_date->clear();
}

void TKOLM210F::LoadBackupInfo()
{
    ui::BusyCursor busy;
    beginLoad();
    mm_data_file->clear();
    pn_tableid->setText(tableName());
    pn_tabname->setText(pn_tablename->text());
    clearBackupPanels();
    m_schedule->showNew(QLatin1Char('N'));
    pn_mode->setText(QStringLiteral("I"));

    const QString table = tableName();
    if (!loadStoragePanels(owner(), table)) {
        setStatusText(QStringLiteral("▶ ALL_TABLES SELECT ERROR ..."));
        return;
    }
    if (!pn_tablespace_id->text().isEmpty()) {
        Oraclem1 = std::make_unique<data::HORACLEM1>();
        RowCount = Oraclem1->GetDatafileName(pn_tablespace_id->text());
        QStringList files;
        for (int i = 0; i < RowCount; ++i)
            files << QString::number(i + 1) + QStringLiteral(" : ") + Oraclem1->slotText(0, i);
        mm_data_file->setPlainText(files.join(QLatin1Char('\n')));
        Oraclem1.reset();
    }

    Backupt1 = std::make_unique<data::HBACKUPT1>();
    RowCount = Backupt1->GetBackupTable(ConnServer.toUpper(), owner(), table);
    if (RowCount >= 1) {
        pn_mode->setText(QStringLiteral("U"));
        const QString stamp = Backupt1->slotText(8);
        if (!stamp.isEmpty())
            pn_backup_date->setText(shownCatalogueStamp(stamp));
        m_schedule->showStored(ScheduleEditor::storedCodes(*Backupt1));
    }
    Backupt1.reset();

    // A table without a schedule is offered a daily one.
    if (pn_mode->text() == QLatin1String("I"))
        m_schedule->showNew(QLatin1Char('D'));
    bbt_update->setEnabled(true);
    setStatusText(QStringLiteral("▶ ") + table + QLatin1Char('(') + tableComment() +
                  QStringLiteral(") 테이블 백업정보가 조회 되었습니다..."));
}

TKOLM210F::StoredSchedule TKOLM210F::readStoredSchedule(const QString& table)
{
    StoredSchedule stored;
    Backupt1 = std::make_unique<data::HBACKUPT1>();
    RowCount = Backupt1->GetBackupTable(ConnServer.toUpper(), owner(), table);
    if (RowCount > 0) {
        stored.found = true;
        stored.condition = Backupt1->slotText(7);
        stored.stamp = Backupt1->slotText(8);
    }
    Backupt1.reset();
    return stored;
}

bool TKOLM210F::InsertBackupInfo(const ScheduleEditor::Codes& schedule)
{
    Backupt1 = std::make_unique<data::HBACKUPT1>();
    RowCount = Backupt1->InsertBackupTable(ConnServer.toUpper(), owner(), tableName(),
                                           tableComment(), schedule.cycle, schedule.type,
                                           schedule.time, schedule.condition, QString());
    Backupt1.reset();
    if (RowCount < 0) {
        setStatusText(QStringLiteral("▶ 자료 등록 에러입니다..."));
        return false;
    }
    LoadBackupInfo();
    setStatusText(QStringLiteral("▶ 정상적으로 등록이 완료 되었습니다..."));
    return true;
}

bool TKOLM210F::UpdateBackupInfo(const ScheduleEditor::Codes& schedule, const QString& stamp)
{
    Backupt1 = std::make_unique<data::HBACKUPT1>();
    RowCount = Backupt1->UpdateBackupTable(ConnServer.toUpper(), owner(), tableName(),
                                           tableComment(), schedule.cycle, schedule.type,
                                           schedule.time, schedule.condition, stamp);
    Backupt1.reset();
    if (RowCount < 0) {
        setStatusText(QStringLiteral("▶ 자료 수정 에러입니다..."));
        return false;
    }
    LoadBackupInfo();
    setStatusText(QStringLiteral("▶ 정상적으로 수정이 완료 되었습니다..."));
    return true;
}

void TKOLM210F::bbt_updateClick()
{
    // Every checked table gets the cycle, type and hour the tab shows. What belongs to one table
    // stays with it: its own row decides between insert and update, it keeps its own last-backup
    // stamp, and it keeps its own condition (a WHERE clause on its columns) unless it is the
    // table shown on the tab, whose condition is the one being edited.
    const ScheduleEditor::Codes shown = m_schedule->codes();
    const QString shownTable = pn_tableid->text();
    bool failed = false;
    QStringList views;
    for (int r = 1; r < AdvStringGrid1->rowCount() && !failed; ++r) {
        if (AdvStringGrid1->cell(kFlagColumn, r) != kYes)
            continue;
        AdvStringGrid1->setCell(kFlagColumn, r, kNo);
        AdvStringGrid1->setCheckBoxState(kCheckColumn, r, false);
        // Backups are of tables: the backup screen and the job list tables only, so a view's
        // schedule would never run.
        if (AdvStringGrid1->cell(4, r) == QLatin1String("VIEW")) {
            views << AdvStringGrid1->cell(1, r);
            continue;
        }
        ed_select->setText(AdvStringGrid1->cell(1, r));
        m_table = ed_select->text();
        pn_tablename->setText(AdvStringGrid1->cell(2, r));
        lb_tabtype->setText(AdvStringGrid1->cell(4, r));
        AdvStringGrid1->viewport()->repaint();

        const StoredSchedule stored = readStoredSchedule(tableName());
        ScheduleEditor::Codes schedule = shown;
        if (tableName() != shownTable)
            schedule.condition = stored.condition;
        pn_mode->setText(stored.found ? QStringLiteral("U") : QStringLiteral("I"));
        if (pn_mode->text() == QLatin1String("I"))
            failed = !InsertBackupInfo(schedule);
        if (!failed && pn_mode->text() == QLatin1String("U"))
            failed = !UpdateBackupInfo(schedule, stored.stamp);
        if (failed) {
            // The failed table and those after it stay marked, so the save can be repeated.
            AdvStringGrid1->setCell(kFlagColumn, r, kYes);
            AdvStringGrid1->setCheckBoxState(kCheckColumn, r, true);
        }
    }
    if (!failed)
        cb_checkClick();
    if (!failed && !views.isEmpty())
        setStatusText(QStringLiteral("▶ 뷰는 백업할 수 없습니다...(") + views.join(QStringLiteral(", ")) +
                      QLatin1Char(')'));
}

}  // namespace kolmara::screens
