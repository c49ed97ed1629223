// The storage panels of one table that the backup screen and the table manager's backup tab both
// show: tablespace and file id, cluster, lock, object dates and status, last analysis and the
// storage parameters. Each screen creates and lays out the panels its own way; reading and
// clearing them is done here once.
#pragma once

class QLabel;
class QString;

namespace kolmara::screens {

class TableStoragePanels {
protected:
    // Empties every storage panel.
    void clearStoragePanels();
    // Reads `owner`.`table` into the panels: its ALL_TABLES storage row (row count in SubRowCount),
    // its object dates and status, and the file id of its segment (row count in RowCount). False,
    // with nothing more read, when the storage read found no row or failed.
    bool loadStoragePanels(const QString& owner, const QString& table);

    QLabel* pn_tablespace_id = nullptr;
    QLabel* pn_tablespace = nullptr;
    QLabel* pn_Cluster_name = nullptr;
    QLabel* pn_table_lock = nullptr;
    QLabel* pn_create_date = nullptr;
    QLabel* pn_modify_date = nullptr;
    QLabel* pn_status = nullptr;
    QLabel* pn_last_analyzed = nullptr;
    QLabel* pn_init_trans = nullptr;
    QLabel* pn_next_trans = nullptr;
    QLabel* pn_pct_used = nullptr;
    QLabel* pn_pct_free = nullptr;
    QLabel* pn_min_extents = nullptr;
    QLabel* pn_max_extents = nullptr;
    QLabel* pn_init_extent = nullptr;
    QLabel* pn_next_extent = nullptr;
    QLabel* pn_chain_cnt = nullptr;
    QLabel* pn_pct_increase = nullptr;
    QLabel* pn_freelists = nullptr;
};

}  // namespace kolmara::screens
