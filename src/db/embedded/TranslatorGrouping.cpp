// The translator's GROUP BY check: a column that a grouped query shows, orders by or tests in
// HAVING must be grouped or inside an aggregate (ORA-00979), and a DISTINCT query orders only by
// what it shows (ORA-01791).
#include "db/embedded/TranslatorInternal.h"

#include <QHash>

namespace kolmara::db::embedded::translation {

QList<Unit> Translator::unitsOf(const Block& b, int from, int to) const
{
    QHash<int, const ColumnUse*> at;
    for (const ColumnUse& u : b.uses)
        if (u.start >= from && u.start < to)
            at.insert(u.start, &u);
    QList<Unit> out;
    for (int i = from; i < to;) {
        if (const ColumnUse* u = at.value(i)) {
            out.append({QStringLiteral("c:") + u->canonical, i});
            i = u->end;
            continue;
        }
        const Token& t = tokenAt(i);
        out.append({QString::number(int(t.kind)) + QLatin1Char(':') + t.text, i});
        ++i;
    }
    return out;
}

bool Translator::sameUnits(const QList<Unit>& a, qsizetype offset, const QList<Unit>& b)
{
    if (offset + b.size() > a.size())
        return false;
    for (qsizetype i = 0; i < b.size(); ++i)
        if (a[offset + i].text != b[i].text)
            return false;
    return true;
}

// In a grouped query every column outside an aggregate must be part of a GROUP BY
// expression (ORA-00979), and without GROUP BY there must be none (ORA-00937).
void Translator::checkGrouping(const Block& b, const QList<SelectItem>& items,
                               const QList<QPair<int, int>>& groupRanges,
                               const QPair<int, int>& having,
                               const QList<QPair<int, int>>& orderRanges) const
{
    if (groupRanges.isEmpty() && !b.hasAggregate)
        return;
    const DatabaseError error =
        groupRanges.isEmpty()
            ? DatabaseError(937, QStringLiteral("not a single-group group function"))
            : DatabaseError(979, QStringLiteral("not a GROUP BY expression"));
    QList<QList<Unit>> groups;
    for (const auto& r : groupRanges)
        groups.append(unitsOf(b, r.first, r.second));
    auto check = [&](int from, int to) {
        QList<Unit> units;
        bool unitsRead = false;
        for (const ColumnUse& u : b.uses) {
            if (u.start < from || u.start >= to || u.aggregateDepth > 0)
                continue;
            if (!unitsRead) {
                units = unitsOf(b, from, to);
                unitsRead = true;
            }
            qsizetype k = 0;
            while (k < units.size() && units[k].start != u.start)
                ++k;
            bool covered = false;
            for (const QList<Unit>& g : std::as_const(groups)) {
                for (qsizetype o = qMax<qsizetype>(0, k - g.size() + 1); o <= k && !covered; ++o)
                    covered = sameUnits(units, o, g);
                if (covered)
                    break;
            }
            if (!covered)
                throw error;
        }
    };
    for (const SelectItem& item : items) {
        if (item.star)
            throw error;
        check(item.start, item.exprEnd);
    }
    check(having.first, having.second);
    for (const auto& r : orderRanges)
        check(r.first, r.second);
}

// SELECT DISTINCT can only be sorted by what it selects (ORA-01791).
void Translator::checkDistinctOrder(const Block& b, const QList<SelectItem>& items,
                                    const QList<QPair<int, int>>& orderRanges) const
{
    for (const auto& r : orderRanges) {
        const QList<Unit> order = unitsOf(b, r.first, r.second);
        bool ok = order.size() == 1
                  && (tokenAt(r.first).kind == Token::Kind::Number
                      || b.outputNames.contains(tokenAt(r.first).text));
        for (const SelectItem& item : items) {
            if (ok)
                break;
            if (item.star)
                ok = true;
            else {
                const QList<Unit> selected = unitsOf(b, item.start, item.exprEnd);
                ok = selected.size() == order.size() && sameUnits(selected, 0, order);
            }
        }
        if (!ok)
            throw DatabaseError(1791, QStringLiteral("not a SELECTed expression"));
    }
}

}  // namespace kolmara::db::embedded::translation
