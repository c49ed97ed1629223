// The common shape of the query objects (HORACLEM1/2/3, HBACKUPT1/2, HBACKUST1): a fixed number of
// result slots, ResultColumns, that the catalogue methods fill and the screens read. A new object
// has every slot empty; a method writes only the slots its catalogue entry lists, a method that
// finds no row writes none, and nothing ever clears a slot, so values of an earlier call stay
// readable until a later call overwrites those very slots.
#pragma once

#include "data/SlotValue.h"

#include <QStringList>

#include <vector>

namespace kolmara::data {

struct Entry;

class QueryObject {
public:
    QueryObject(const QueryObject&) = delete;
    QueryObject& operator=(const QueryObject&) = delete;

    int slotCount() const { return int(ResultColumns.size()); }
    // Slot i as stored. A slot number outside the object raises KolmaraError.
    const SlotValue& slot(int i) const;
    // The single value of slot i ("" while empty).
    QString slotText(int i) const { return slot(i).text(); }
    // Element `row` of the array in slot i.
    QString slotText(int i, int row) const { return slot(i).text(row); }
    // The number of elements of the array in slot i (0 when it holds none).
    int slotLength(int i) const { return slot(i).length(); }

protected:
    explicit QueryObject(int slotCount) : ResultColumns(size_t(slotCount)) {}
    ~QueryObject() = default;

    // Runs the catalogue entry with the method's arguments in order; see QueryRunner.h.
    int run(const Entry& entry, const QStringList& arguments);

private:
    friend class QueryRunner;
    SlotValue& writableSlot(int i);

    std::vector<SlotValue> ResultColumns;
};

}  // namespace kolmara::data
