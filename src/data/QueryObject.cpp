// Slot access of the query objects and the hand-off of every method to the runner.
#include "data/QueryObject.h"

#include "common/Errors.h"
#include "data/QueryRunner.h"

namespace kolmara::data {

const SlotValue& QueryObject::slot(int i) const
{
    if (i < 0 || i >= slotCount())
        throw KolmaraError(
            QStringLiteral("Result slot %1 is out of range 0..%2").arg(i).arg(slotCount() - 1));
    return ResultColumns[size_t(i)];
}

SlotValue& QueryObject::writableSlot(int i)
{
    return const_cast<SlotValue&>(slot(i));
}

int QueryObject::run(const Entry& entry, const QStringList& arguments)
{
    return QueryRunner::run(entry, arguments, *this);
}

}  // namespace kolmara::data
