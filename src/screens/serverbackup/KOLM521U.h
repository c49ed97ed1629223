// TKOLM521F, "서버백업작업[그리드]": the tables of every account whose backup schedule is due today,
// with each account's registration for the job, and the job that dumps them one after the other,
// logging in as each table's account on a second session of its own.
#pragma once

#include "db/Session.h"
#include "screens/MdiScreen.h"

#include <QStringList>

class QLabel;
class QPlainTextEdit;
class QToolButton;

namespace kolmara::ui {
class BarGauge;
class StringGrid;
}  // namespace kolmara::ui

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
    // Dumps the table of grid row JobRow.
    void RunTableBackup();

    // The job's own session (OraSession9), connected only while the job runs; tests arm its
    // faults.
    db::Session& jobSession() { return OraSession9; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void setupUi();
    void ClearJobGrid();
    // The stored password of a grid row: the grid shows it masked.
    QString passwordOf(int row) const;
    void disconnectJobSession();

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
    int JobRow = 0;
    QStringList m_passwords;  // per grid row, row 0 unused
    bool m_shown = false;
};

}  // namespace kolmara::screens
