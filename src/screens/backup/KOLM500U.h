// TKOLM500F, "백업작업(EXPORT)": the tables of the current account with their backup cycle, one
// table's storage details and schedule, the dump of that table into the day's dump file with its
// log row and last-backup stamp, and the account's backup log over a date range.
#pragma once

#include "screens/MdiScreen.h"
#include "screens/TableStoragePanels.h"

namespace kolmara::screens {

class ScheduleEditor;

class TKOLM500F : public MdiScreen, protected TableStoragePanels {
    Q_OBJECT

public:
    explicit TKOLM500F(QWidget* parent = nullptr);

    // Handlers, callable from tests as the event would.
    void FormShow();
    void bbt_SelectClick();   // refresh, and a change of page
    void bbt_updateClick();   // dump the current table
    void bbt_clesesClick();
    void AdvStringGrid1ClickCell(int row);

    void LoadTableBackupDetail();
    void LoadBackupLogList();

protected:
    void firstShown() override { FormShow(); }

private:
    void setupUi();
    QWidget* setupBackupPage();
    QWidget* setupLogPage();
    void ClearTableGrid();
    void ClearLogGrid();
    void LoadTableList();
    void clearTableInfo();
    void setSelectAll(bool checked);
    QString tableLabel() const;  // "T(C) " of the table read last
    void refreshProgress(int written, int total);

    bool dumping_ = false;  // bbt_updateClick is running

    QToolButton* bbt_select = nullptr;
    QToolButton* bbt_update = nullptr;
    QToolButton* bbt_cleses = nullptr;
    QTabWidget* PageControl1 = nullptr;

    // Page "백업작업"
    QLabel* pn_grant = nullptr;
    QLineEdit* ed_select = nullptr;
    QLabel* pn_tablename = nullptr;
    QLabel* lb_DataCnt = nullptr;
    QCheckBox* cb_check = nullptr;
    ui::StringGrid* AdvStringGrid1 = nullptr;
    QTabWidget* PageControl2 = nullptr;
    QLabel* pn_tableid = nullptr;
    QLabel* pn_tabname = nullptr;
    QLabel* pn_recordcount = nullptr;
    QPlainTextEdit* mm_select = nullptr;
    QLabel* pn_message = nullptr;
    QLineEdit* ed_backup_Path = nullptr;
    QGroupBox* gb_backupinfo = nullptr;
    ui::PieGauge* Gauge1 = nullptr;
    QLabel* pn_backup_date = nullptr;
    ScheduleEditor* m_schedule = nullptr;
    QLabel* pn_mode = nullptr;
    QLineEdit* ed_start_backup = nullptr;
    QLineEdit* ed_end_backup = nullptr;
    QLineEdit* ed_ipname = nullptr;

    // Page "백업확인"
    QDateEdit* dtp_frdate = nullptr;
    QDateEdit* dtp_todate = nullptr;
    ui::StringGrid* AdvStringGrid2 = nullptr;
};

}  // namespace kolmara::screens
