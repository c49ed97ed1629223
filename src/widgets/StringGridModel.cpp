// The cell store behind StringGrid. Model row i is grid row i + 1; the grid's row 0 is served
// as the horizontal header.
#include "widgets/StringGridModel.h"

#include <QBrush>
#include <QtDebug>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace kolmara::ui {

StringGridModel::StringGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void StringGridModel::resizeStore(int rows, int cols)
{
    const std::size_t newSize = static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols);
    if (cols == m_cols) {
        m_cells.resize(newSize);
        if (!m_checks.empty())
            m_checks.resize(newSize, kNoBox);
    } else {
        // A column change moves every cell of a row-major store, so rebuild it.
        std::vector<QString> cells(newSize);
        std::vector<unsigned char> checks(m_checks.empty() ? 0 : newSize, kNoBox);
        const int keepRows = std::min(rows, m_rows);
        const int keepCols = std::min(cols, m_cols);
        for (int r = 0; r < keepRows; ++r) {
            for (int c = 0; c < keepCols; ++c) {
                const std::size_t to = static_cast<std::size_t>(r) * cols + c;
                cells[to] = std::move(m_cells[slot(c, r)]);
                if (!checks.empty())
                    checks[to] = m_checks[slot(c, r)];
            }
        }
        m_cells = std::move(cells);
        m_checks = std::move(checks);
    }
    m_rows = rows;
    m_cols = cols;
}

void StringGridModel::setGridRowCount(int rows)
{
    rows = std::max(rows, 1);
    if (rows == m_rows)
        return;
    if (isUpdating()) {
        resizeStore(rows, m_cols);
    } else if (rows > m_rows) {
        beginInsertRows(QModelIndex(), m_rows - 1, rows - 2);
        resizeStore(rows, m_cols);
        endInsertRows();
    } else {
        beginRemoveRows(QModelIndex(), rows - 1, m_rows - 2);
        resizeStore(rows, m_cols);
        endRemoveRows();
    }
}

void StringGridModel::setGridColCount(int cols)
{
    cols = std::max(cols, 0);
    if (cols == m_cols)
        return;
    if (isUpdating()) {
        resizeStore(m_rows, cols);
    } else if (cols > m_cols) {
        beginInsertColumns(QModelIndex(), m_cols, cols - 1);
        resizeStore(m_rows, cols);
        endInsertColumns();
    } else {
        beginRemoveColumns(QModelIndex(), cols, m_cols - 1);
        resizeStore(m_rows, cols);
        endRemoveColumns();
    }
}

void StringGridModel::appendRows(const QList<QStringList>& rows)
{
    if (rows.isEmpty())
        return;
    const int first = m_rows;
    const int total = m_rows + int(rows.size());
    const bool announce = !isUpdating();
    if (announce)
        beginInsertRows(QModelIndex(), first - 1, total - 2);
    resizeStore(total, m_cols);
    for (int r = 0; r < rows.size(); ++r) {
        const QStringList& texts = rows[r];
        const int n = std::min(m_cols, int(texts.size()));
        for (int c = 0; c < n; ++c)
            m_cells[slot(c, first + r)] = texts[c];
    }
    if (announce)
        endInsertRows();
}

QString StringGridModel::cell(int col, int row) const
{
    return inRange(col, row) ? m_cells[slot(col, row)] : QString();
}

void StringGridModel::setCell(int col, int row, const QString& text)
{
    if (!inRange(col, row)) {
        qWarning("StringGrid: cell (%d, %d) is outside %d x %d", col, row, m_cols, m_rows);
        return;
    }
    m_cells[slot(col, row)] = text;
    if (isUpdating())
        return;
    if (row == 0) {
        emit headerDataChanged(Qt::Horizontal, col, col);
    } else {
        const QModelIndex i = index(row - 1, col);
        emit dataChanged(i, i, {Qt::DisplayRole});
    }
}

void StringGridModel::addCheckBox(int col, int row, bool checked)
{
    if (row < 1 || !inRange(col, row)) {
        qWarning("StringGrid: no check box possible at (%d, %d)", col, row);
        return;
    }
    if (m_checks.empty())
        m_checks.assign(m_cells.size(), kNoBox);
    m_checks[slot(col, row)] = checked ? kChecked : kUnchecked;
    if (!isUpdating()) {
        const QModelIndex i = index(row - 1, col);
        emit dataChanged(i, i, {Qt::CheckStateRole});
    }
}

bool StringGridModel::hasCheckBox(int col, int row) const
{
    return !m_checks.empty() && inRange(col, row) && m_checks[slot(col, row)] != kNoBox;
}

bool StringGridModel::checkBoxState(int col, int row) const
{
    return hasCheckBox(col, row) && m_checks[slot(col, row)] == kChecked;
}

void StringGridModel::setCheckBoxState(int col, int row, bool checked)
{
    if (hasCheckBox(col, row))
        addCheckBox(col, row, checked);
}

void StringGridModel::clearData(int cols)
{
    cols = std::max(cols, 0);
    if (!isUpdating())
        beginResetModel();
    std::vector<QString> header(m_cells.begin(), m_cells.begin() + std::min(cols, m_cols));
    m_checks.clear();
    m_cells.clear();
    m_sortColumn = -1;
    m_rows = 2;
    m_cols = cols;
    m_cells.resize(static_cast<std::size_t>(2) * cols);
    std::move(header.begin(), header.end(), m_cells.begin());
    if (!isUpdating())
        endResetModel();
}

void StringGridModel::beginUpdate()
{
    if (m_updateDepth++ == 0)
        beginResetModel();
}

void StringGridModel::endUpdate()
{
    if (m_updateDepth == 0)
        return;
    if (--m_updateDepth == 0)
        endResetModel();
}

namespace {

// A cell's sort key: its number when it reads as one once the thousands separators are gone.
struct NumberKey {
    double value = 0;
    bool isNumber = false;
};

NumberKey numberKey(const QString& text)
{
    NumberKey key;
    if (text.isEmpty())
        return key;
    QString digits = text;
    digits.remove(QLatin1Char(','));
    key.value = digits.toDouble(&key.isNumber);
    key.isNumber = key.isNumber && std::isfinite(key.value);
    return key;
}

}  // namespace

void StringGridModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= m_cols)
        return;
    m_sortColumn = column;
    m_sortOrder = order;
    if (m_rows <= 2)
        return;
    const int n = m_rows - 1;
    std::vector<NumberKey> keys(n);
    for (int i = 0; i < n; ++i)
        keys[i] = numberKey(m_cells[slot(column, i + 1)]);
    auto less = [&](int a, int b) {
        const NumberKey& ka = keys[a];
        const NumberKey& kb = keys[b];
        if (ka.isNumber && kb.isNumber)
            return ka.value < kb.value;
        if (ka.isNumber != kb.isNumber)
            return ka.isNumber;
        return QString::compare(m_cells[slot(column, a + 1)], m_cells[slot(column, b + 1)]) < 0;
    };
    std::vector<int> perm(n);  // perm[new model row] = old model row
    std::iota(perm.begin(), perm.end(), 0);
    if (order == Qt::AscendingOrder)
        std::stable_sort(perm.begin(), perm.end(), less);
    else
        std::stable_sort(perm.begin(), perm.end(), [&](int a, int b) { return less(b, a); });

    const bool announce = !isUpdating();
    if (announce)
        emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);

    std::vector<QString> cells(m_cells.size());
    std::vector<unsigned char> checks(m_checks.size());
    std::move(m_cells.begin(), m_cells.begin() + m_cols, cells.begin());
    if (!checks.empty())
        std::copy(m_checks.begin(), m_checks.begin() + m_cols, checks.begin());
    for (int to = 0; to < n; ++to) {
        const std::size_t src = slot(0, perm[to] + 1);
        const std::size_t dst = slot(0, to + 1);
        std::move(m_cells.begin() + src, m_cells.begin() + src + m_cols, cells.begin() + dst);
        if (!checks.empty())
            std::copy(m_checks.begin() + src, m_checks.begin() + src + m_cols,
                      checks.begin() + dst);
    }
    m_cells = std::move(cells);
    m_checks = std::move(checks);

    if (announce) {
        std::vector<int> newRowOf(n);
        for (int to = 0; to < n; ++to)
            newRowOf[perm[to]] = to;
        const QModelIndexList before = persistentIndexList();
        QModelIndexList after;
        after.reserve(before.size());
        for (const QModelIndex& i : before)
            after.append(index(newRowOf[i.row()], i.column()));
        changePersistentIndexList(before, after);
        emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    }
}

int StringGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows - 1;
}

int StringGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_cols;
}

Qt::Alignment StringGridModel::alignmentOf(int col, int row) const
{
    Qt::Alignment a =
        m_alignment ? m_alignment(col, row) : (row == 0 ? Qt::AlignHCenter : Qt::AlignLeft);
    if (!(a & Qt::AlignVertical_Mask))
        a |= Qt::AlignVCenter;
    return a;
}

QVariant StringGridModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const int col = index.column();
    const int row = index.row() + 1;
    switch (role) {
    case Qt::DisplayRole:
        return m_cells[slot(col, row)];
    case Qt::TextAlignmentRole:
        return static_cast<int>(alignmentOf(col, row));
    case Qt::BackgroundRole:
        if (m_rowColor) {
            const QColor c = m_rowColor(row);
            if (c.isValid())
                return QBrush(c);
        }
        return {};
    case Qt::ForegroundRole:
        if (m_fontColor) {
            const QColor c = m_fontColor(col, row);
            if (c.isValid())
                return QBrush(c);
        }
        return {};
    case Qt::CheckStateRole:
        if (hasCheckBox(col, row))
            return static_cast<int>(checkBoxState(col, row) ? Qt::Checked : Qt::Unchecked);
        return {};
    default:
        return {};
    }
}

QVariant StringGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_cols)
        return {};
    if (role == Qt::DisplayRole)
        return m_cells[slot(section, 0)];
    if (role == Qt::TextAlignmentRole)
        return static_cast<int>(alignmentOf(section, 0));
    return {};
}

Qt::ItemFlags StringGridModel::flags(const QModelIndex& index) const
{
    // Check boxes are toggled by the grid itself (a click anywhere in the cell), not through
    // setData, so the cells are not marked user-checkable.
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

}  // namespace kolmara::ui
