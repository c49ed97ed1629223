// TKOLM521F, "서버백업작업[그리드]": the tables of every account whose backup schedule is due today,
// with each account's registration for the job, and the job that dumps them one after the other,
// logging in as each table's account on a second session of its own. The job itself is
// data::ServerBackupJob; the screen shows its rows and follows its progress.
#pragma once

#include "data/ServerBackupJob.h"
#include "db/Session.h"
#include "screens/MdiScreen.h"

namespace kolmara::screens {

class TKOLM521F : public MdiScreen {
    Q_OBJECT

public:
    explicit TKOLM521F(QWidget* parent = nullptr);
    ~TKOLM521F() override;

    // Handlers, callable from tests as the event would.
    void bbt_selectClick();  // list the due tables
    void bbt_updateClick();  // run the job
    void bbt_clesesClick();

    // The job's own session (OraSession9), connected only while the job runs; tests arm its
    // faults.
    db::Session& jobSession() { return OraSession9; }

protected:
    void firstShown() override { bbt_selectClick(); }

private:
    void setupUi();
    void ClearJobGrid();
    // Shows the job's progress: each callback paints the row of the table it names.
    void followJob();

    QToolButton* bbt_cleses = nullptr;
    QToolButton* bbt_update = nullptr;
    QToolButton* bbt_select = nullptr;
    QLabel* pn_name1 = nullptr;
    QLabel* pn_name2 = nullptr;
    QLabel* pn_name3 = nullptr;
    ui::StringGrid* AdvStringGrid1 = nullptr;
    ui::BarGauge* Gauge1 = nullptr;
    QPlainTextEdit* ws_memo = nullptr;
    QPlainTextEdit* mm_select = nullptr;

    db::Session OraSession9;
    // Its tables are the grid's data rows in order (grid row = index + 1) and keep the stored
    // passwords, which the grid shows masked.
    data::ServerBackupJob m_job{OraSession9};
};

}  // namespace kolmara::screens
