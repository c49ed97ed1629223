// TKOLM211F, "테이블레이아웃발행": the printed layout of one table. One detail row per column of
// the table manager's layout grid (number, name, title, type, length, null flag, key position,
// default, remark), under a header naming the owner, the table, its title and its tablespace,
// and over the index box at the foot of every page: one line per index of the table, in index
// name order, "name kind (column,column...)" with the kind UNIQUE padded to the width of
// NONUNIQUE.
//
// The report is a definition, never shown: the table manager fills the header labels, LastRow,
// ReportOwner and ReportTable and prints report(). The rows are read from the layout grid while
// printing, so the grid must stay as it is until the print ends. The index box runs its own query
// (GetIndexColumns) for every page; its database errors pass to the caller and end the print.
#pragma once

#include "widgets/BandedReport.h"

#include <QString>

namespace kolmara::ui {
class StringGrid;
}

namespace kolmara::reports {

class TKOLM211F {
public:
    explicit TKOLM211F(const ui::StringGrid& layout);

    ui::BandedReport& report() { return m_report; }

    ui::ReportLabel* qrl_username = nullptr;    // the owner
    ui::ReportLabel* qrl_tableid = nullptr;     // the table name
    ui::ReportLabel* qrl_tablename = nullptr;   // the table's title
    ui::ReportLabel* rql_tablespace = nullptr;  // tablespace name + " (" + number + ")"
    int LastRow = 0;                            // the last layout row to print
    QString ReportOwner;                        // the owner and table of the index query
    QString ReportTable;
    int CurrentRow = 1;  // the layout row the next detail band prints

    // The report's steps, run by the engine: reset to row 1, fill the next detail band, and fill
    // the index box before each page footer.
    void BeforePrint();
    bool NextRow();
    void IndexBoxBeforePrint();

private:
    const ui::StringGrid& m_grid;
    ui::BandedReport m_report;
    // The detail fields, the layout grid's columns 0 to 8 in order.
    ui::ReportLabel* qrl_no = nullptr;
    ui::ReportLabel* qrl_colid = nullptr;
    ui::ReportLabel* qrl_colname = nullptr;
    ui::ReportLabel* qrl_coltype = nullptr;
    ui::ReportLabel* qrl_length = nullptr;
    ui::ReportLabel* qrl_null = nullptr;
    ui::ReportLabel* qrl_pkey = nullptr;
    ui::ReportLabel* qrl_default = nullptr;
    ui::ReportLabel* qrl_bigo = nullptr;
    ui::ReportMemo* qrm_indexkey = nullptr;
};

}  // namespace kolmara::reports
