// TKOLM212F, "테이블목록표발행": the printed table list. One row per table of the table manager's
// list, every row whatever its mark, with the number, name, title and list type the list shows
// and the tablespace the report looks up itself (GetTableStorage per row; a table without a
// storage row, a view for one, prints an empty tablespace).
//
// The report is a definition, never shown: the table manager fills qrl_username, LastRow and
// ReportOwner and prints report(). The rows are read from the list grid while printing, so the
// grid must stay as it is until the print ends. Database errors of the lookup pass to the caller
// and end the print.
#pragma once

#include "widgets/BandedReport.h"

#include <QString>

namespace kolmara::ui {
class StringGrid;
}

namespace kolmara::reports {

class TKOLM212F {
public:
    explicit TKOLM212F(const ui::StringGrid& tableList);

    ui::BandedReport& report() { return m_report; }

    ui::ReportLabel* qrl_username = nullptr;  // the owner
    int LastRow = 0;                          // the last list row to print
    QString ReportOwner;                      // the owner of the tables looked up
    int CurrentRow = 1;                       // the list row the next detail band prints

    // The report's steps, run by the engine: reset to row 1, and fill the next detail band.
    void BeforePrint();
    bool NextRow();

private:
    const ui::StringGrid& m_grid;
    ui::BandedReport m_report;
    ui::ReportLabel* qrl_no = nullptr;
    ui::ReportLabel* qrl_tableid = nullptr;
    ui::ReportLabel* qrl_tablename = nullptr;
    ui::ReportLabel* qrl_tablespace = nullptr;
    ui::ReportLabel* qrl_bigo = nullptr;
};

}  // namespace kolmara::reports
