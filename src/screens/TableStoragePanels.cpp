// The table storage panels.
#include "screens/TableStoragePanels.h"

#include "common/KOLMCOMM.h"
#include "data/HORACLEM1.h"
#include "data/HORACLEM2.h"
#include "data/SharedSlots.h"

#include <QLabel>

namespace kolmara::screens {

void TableStoragePanels::clearStoragePanels()
{
    for (QLabel* p : {pn_tablespace_id, pn_tablespace, pn_Cluster_name, pn_table_lock,
                      pn_create_date, pn_modify_date, pn_status, pn_last_analyzed, pn_init_trans,
                      pn_next_trans, pn_pct_used, pn_pct_free, pn_min_extents, pn_max_extents,
                      pn_init_extent, pn_next_extent, pn_chain_cnt, pn_pct_increase, pn_freelists})
        p->clear();
}

bool TableStoragePanels::loadStoragePanels(const QString& owner, const QString& table)
{
    Oraclem2 = std::make_unique<data::HORACLEM2>();
    SubRowCount = Oraclem2->GetTableStorage(owner, table);
    if (SubRowCount <= 0) {
        Oraclem2.reset();
        return false;
    }
    pn_tablespace->setText(Oraclem2->slotText(0));
    pn_Cluster_name->setText(Oraclem2->slotText(1));
    pn_table_lock->setText(Oraclem2->slotText(2));
    pn_pct_free->setText(Oraclem2->slotText(3));
    pn_pct_used->setText(Oraclem2->slotText(4));
    pn_init_trans->setText(Oraclem2->slotText(5));
    pn_next_trans->setText(Oraclem2->slotText(6));
    pn_init_extent->setText(Oraclem2->slotText(7));
    pn_next_extent->setText(Oraclem2->slotText(8));
    pn_min_extents->setText(Oraclem2->slotText(9));
    pn_max_extents->setText(Oraclem2->slotText(10));
    pn_pct_increase->setText(Oraclem2->slotText(11));
    pn_freelists->setText(Oraclem2->slotText(12));
    pn_chain_cnt->setText(Oraclem2->slotText(13));
    pn_last_analyzed->setText(Oraclem2->slotText(14));
    Oraclem2.reset();

    Oraclem1 = std::make_unique<data::HORACLEM1>();
    RowCount = Oraclem1->GetObjectStatus(owner, table, QStringLiteral("TABLE"));
    if (RowCount > 0) {
        pn_create_date->setText(Oraclem1->slotText(0));
        pn_modify_date->setText(Oraclem1->slotText(1));
        pn_status->setText(Oraclem1->slotText(2));
    }
    Oraclem1 = std::make_unique<data::HORACLEM1>();
    RowCount = Oraclem1->GetSegmentFileId(owner, table);
    if (RowCount > 0)
        pn_tablespace_id->setText(Oraclem1->slotText(0));
    Oraclem1.reset();
    return true;
}

}  // namespace kolmara::screens
