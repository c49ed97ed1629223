// The string grid: the view side (header, delegate, clicks, check boxes, sorting, find) and its
// CSV export. Grid lines are drawn by the delegate rather than by QTableView, because the screens
// need "vertical lines only", which QTableView cannot do.
#include "widgets/StringGrid.h"

#include "common/Errors.h"
#include "common/TextCodec.h"
#include "widgets/Colors.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QPolygon>
#include <QSaveFile>
#include <QStyledItemDelegate>

namespace kolmara::ui {

namespace {

// The header row: a flat band in the grid's header colour with the grid's line colour between
// sections, and a small arrow for the sort indicator.
class GridHeader : public QHeaderView {
public:
    explicit GridHeader(StringGrid* grid) : QHeaderView(Qt::Horizontal, grid), m_grid(grid) {}

    QSize sizeHint() const override
    {
        return QSize(QHeaderView::sizeHint().width(), m_grid->rowHeight());
    }

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override
    {
        if (!rect.isValid())
            return;
        painter->save();
        painter->fillRect(rect, m_grid->headerColor());
        QRect textRect = rect.adjusted(3, 0, -3, 0);
        if (isSortIndicatorShown() && sortIndicatorSection() == logicalIndex) {
            constexpr int kArrow = 7;
            const int x = rect.right() - kArrow - 3;
            const int y = rect.center().y();
            QPolygon arrow;
            if (sortIndicatorOrder() == Qt::AscendingOrder)
                arrow << QPoint(x, y + 2) << QPoint(x + kArrow, y + 2)
                      << QPoint(x + kArrow / 2, y - 2);
            else
                arrow << QPoint(x, y - 2) << QPoint(x + kArrow, y - 2)
                      << QPoint(x + kArrow / 2, y + 2);
            painter->setPen(Qt::NoPen);
            painter->setBrush(QColor(0x60, 0x60, 0x60));
            painter->drawPolygon(arrow);
            textRect.setRight(x - 2);
        }
        const QAbstractItemModel* m = model();
        painter->setPen(palette().color(QPalette::WindowText));
        painter->drawText(
            textRect, m->headerData(logicalIndex, Qt::Horizontal, Qt::TextAlignmentRole).toInt(),
            m->headerData(logicalIndex, Qt::Horizontal, Qt::DisplayRole).toString());
        painter->setPen(m_grid->gridLineColor());
        painter->drawLine(rect.topRight(), rect.bottomRight());
        painter->drawLine(rect.bottomLeft(), rect.bottomRight());
        painter->restore();
    }

private:
    const StringGrid* m_grid;
};

// Paints one data cell: the item as the style draws it (without its check indicator and focus
// frame), then a centred check box, the grid lines and the group-end line.
class GridDelegate : public QStyledItemDelegate {
public:
    explicit GridDelegate(StringGrid* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        opt.state &= ~QStyle::State_HasFocus;
        const bool hasBox = opt.features.testFlag(QStyleOptionViewItem::HasCheckIndicator);
        opt.features &= ~QStyleOptionViewItem::HasCheckIndicator;
        const QWidget* widget = opt.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

        const QRect r = option.rect;
        painter->save();
        if (hasBox) {
            QStyleOptionViewItem box = opt;
            const int w = style->pixelMetric(QStyle::PM_IndicatorWidth, &opt, widget);
            const int h = style->pixelMetric(QStyle::PM_IndicatorHeight, &opt, widget);
            box.rect = QRect(r.x() + (r.width() - w) / 2, r.y() + (r.height() - h) / 2, w, h);
            box.state = (opt.state & ~(QStyle::State_On | QStyle::State_Off)) |
                        (opt.checkState == Qt::Checked ? QStyle::State_On : QStyle::State_Off);
            style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, painter, widget);
        }
        const StringGrid::GridLines lines = m_grid->gridLines();
        painter->setPen(m_grid->gridLineColor());
        if (lines != StringGrid::GridLines::None)
            painter->drawLine(r.topRight(), r.bottomRight());
        if (lines == StringGrid::GridLines::Both)
            painter->drawLine(r.bottomLeft(), r.bottomRight());
        if (m_grid->endsGroup(index.row() + 1)) {
            // Inside the cell, so a horizontal grid line below it stays visible.
            const int y = lines == StringGrid::GridLines::Both ? r.bottom() - 1 : r.bottom();
            painter->setPen(colorFromBgr(kCaptionColor));
            painter->drawLine(r.left(), y, r.right(), y);
        }
        painter->restore();
    }

private:
    const StringGrid* m_grid;
};

QString csvField(const QString& text)
{
    static const QString kSpecial = QStringLiteral(",\"\r\n");
    bool needsQuotes = false;
    for (QChar ch : text) {
        if (kSpecial.contains(ch)) {
            needsQuotes = true;
            break;
        }
    }
    if (!needsQuotes)
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

}  // namespace

StringGrid::StringGrid(QWidget* parent)
    : QTableView(parent),
      m_model(new StringGridModel(this)),
      m_headerColor(colorFromBgr(kCaptionColor)),
      m_gridLineColor(QColor(0xC0, 0xC0, 0xC0))
{
    setHorizontalHeader(new GridHeader(this));
    setModel(m_model);
    setItemDelegate(new GridDelegate(this));
    setShowGrid(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setCornerButtonEnabled(false);

    QHeaderView* rows = verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(m_rowHeight);

    QHeaderView* header = horizontalHeader();
    header->setSectionsClickable(true);
    header->setHighlightSections(false);
    header->setMinimumSectionSize(5);
    header->setDefaultSectionSize(64);
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    // A header click is a click on row 0 (or a sort), never a column selection.
    QObject::disconnect(header, &QHeaderView::sectionPressed, this, nullptr);
    QObject::disconnect(header, &QHeaderView::sectionEntered, this, nullptr);
    connect(header, &QHeaderView::sectionClicked, this, &StringGrid::headerClicked);
    connect(header, &QHeaderView::sectionCountChanged, this,
            [this](int oldCount, int newCount) { applyColWidths(oldCount, newCount); });

    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        const int col = index.column();
        const int row = index.row() + 1;
        if (hasCheckBox(col, row))
            toggleCheckBox(col, row);
        emit cellClicked(col, row);
    });
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        emit cellDoubleClicked(index.column(), index.row() + 1);
    });
}

void StringGrid::setColCount(int cols)
{
    if (m_designColCount < 0)
        m_designColCount = cols;
    m_model->setGridColCount(cols);
}

void StringGrid::clearData()
{
    m_model->clearData(m_designColCount < 0 ? colCount() : m_designColCount);
    horizontalHeader()->setSortIndicatorShown(false);
}

void StringGrid::setColWidth(int col, int px)
{
    if (col < 0)
        return;
    if (static_cast<std::size_t>(col) >= m_colWidths.size())
        m_colWidths.resize(col + 1, 0);
    m_colWidths[col] = px;
    if (col < horizontalHeader()->count())
        horizontalHeader()->resizeSection(col, px);
}

int StringGrid::colWidth(int col) const
{
    return columnWidth(col);
}

void StringGrid::applyColWidths(int from, int to)
{
    const int end = std::min(to, static_cast<int>(m_colWidths.size()));
    for (int c = std::max(from, 0); c < end; ++c) {
        if (m_colWidths[c] > 0)
            horizontalHeader()->resizeSection(c, m_colWidths[c]);
    }
}

void StringGrid::setDefaultColWidth(int px)
{
    horizontalHeader()->setDefaultSectionSize(px);
}

void StringGrid::setRowHeight(int px)
{
    m_rowHeight = std::max(px, 1);
    verticalHeader()->setDefaultSectionSize(m_rowHeight);
    updateGeometries();
}

void StringGrid::setColumnsResizable(bool resizable)
{
    horizontalHeader()->setSectionResizeMode(resizable ? QHeaderView::Interactive
                                                       : QHeaderView::Fixed);
}

void StringGrid::setHeaderColor(const QColor& color)
{
    m_headerColor = color;
    horizontalHeader()->viewport()->update();
}

void StringGrid::setGridLines(GridLines lines)
{
    m_gridLines = lines;
    viewport()->update();
}

void StringGrid::setGridLineColor(const QColor& color)
{
    m_gridLineColor = color;
    viewport()->update();
    horizontalHeader()->viewport()->update();
}

void StringGrid::setSelectionColors(const QColor& background, const QColor& text)
{
    QPalette p = palette();
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(g, QPalette::Highlight, background);
        p.setColor(g, QPalette::HighlightedText, text);
    }
    setPalette(p);
}

void StringGrid::setAlignmentFunction(StringGridModel::AlignmentFunction f)
{
    m_model->setAlignmentFunction(std::move(f));
    viewport()->update();
    horizontalHeader()->viewport()->update();
}

void StringGrid::setRowColorFunction(StringGridModel::RowColorFunction f)
{
    m_model->setRowColorFunction(std::move(f));
    viewport()->update();
}

void StringGrid::setFontColorFunction(StringGridModel::CellColorFunction f)
{
    m_model->setFontColorFunction(std::move(f));
    viewport()->update();
}

void StringGrid::setGroupMarkerColumn(int col)
{
    m_groupMarkerColumn = col;
    viewport()->update();
}

bool StringGrid::endsGroup(int row) const
{
    return m_groupMarkerColumn >= 0 && row >= 1 &&
           m_model->cell(m_groupMarkerColumn, row) == QLatin1String("--");
}

void StringGrid::setRowSelect(bool rowSelect)
{
    setSelectionBehavior(rowSelect ? QAbstractItemView::SelectRows
                                   : QAbstractItemView::SelectItems);
}

int StringGrid::currentRow() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() + 1 : 0;
}

int StringGrid::currentCol() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.column() : 0;
}

void StringGrid::setCurrentCell(int col, int row)
{
    const QModelIndex i = m_model->index(row - 1, col);
    if (!i.isValid())
        return;
    setCurrentIndex(i);
    scrollTo(i);
}

bool StringGrid::findFirst(const QString& text, int* col, int* row) const
{
    if (text.isEmpty())
        return false;
    const int cols = colCount();
    const int rows = rowCount();
    for (int c = 0; c < cols; ++c) {
        for (int r = 1; r < rows; ++r) {
            if (m_model->cell(c, r).contains(text, Qt::CaseSensitive)) {
                if (col)
                    *col = c;
                if (row)
                    *row = r;
                return true;
            }
        }
    }
    return false;
}

void StringGrid::setSortOnHeaderClick(bool on)
{
    m_sortOnHeaderClick = on;
}

void StringGrid::headerClicked(int col)
{
    if (m_sortOnHeaderClick) {
        const bool again =
            m_model->sortColumn() == col && m_model->sortOrder() == Qt::AscendingOrder;
        horizontalHeader()->setSortIndicatorShown(true);
        sortByColumn(col, again ? Qt::DescendingOrder : Qt::AscendingOrder);
    }
    emit cellClicked(col, 0);
}

void StringGrid::toggleCheckBox(int col, int row)
{
    const bool state = !checkBoxState(col, row);
    setCheckBoxState(col, row, state);
    emit checkBoxClicked(col, row, state);
}

void StringGrid::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        const QModelIndex i = currentIndex();
        if (i.isValid() && hasCheckBox(i.column(), i.row() + 1)) {
            toggleCheckBox(i.column(), i.row() + 1);
            event->accept();
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

QRect StringGrid::cellRect(int col, int row) const
{
    return visualRect(m_model->index(row - 1, col));
}

void StringGrid::saveToCsv(const QString& path, CsvEncoding encoding) const
{
    QSaveFile file(path);
    auto fail = [&] {
        return KolmaraError(QStringLiteral("Cannot create file \"%1\". %2")
                                .arg(QDir::toNativeSeparators(path), file.errorString()));
    };
    auto put = [&](const QByteArray& bytes) {
        if (file.write(bytes) != bytes.size()) {
            file.cancelWriting();
            throw fail();
        }
    };
    auto encoded = [encoding](const QString& text) {
        return encoding == CsvEncoding::Cp949 ? encodeCp949(text) : text.toUtf8();
    };
    if (!file.open(QIODevice::WriteOnly))
        throw fail();
    if (encoding == CsvEncoding::Utf8WithBom)
        put(QByteArrayLiteral("\xEF\xBB\xBF"));

    // Written in slices of whole lines so a large grid never sits in memory twice over.
    constexpr qsizetype kSlice = 1 << 19;
    const int rows = rowCount();
    const int cols = colCount();
    QString text;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            if (c > 0)
                text += QLatin1Char(',');
            text += csvField(m_model->cell(c, r));
        }
        text += QLatin1String("\r\n");
        if (text.size() >= kSlice) {
            put(encoded(text));
            text.clear();
        }
    }
    put(encoded(text));
    if (!file.commit())
        throw fail();
}

CharactersOutsideCp949 StringGrid::charactersOutsideCp949() const
{
    CharactersOutsideCp949 found;
    const int rows = rowCount();
    const int cols = colCount();
    QString line;
    for (int r = 0; r < rows; ++r) {
        // A whole row at once first: most rows hold nothing to report.
        line.clear();
        for (int c = 0; c < cols; ++c)
            line += m_model->cell(c, r);
        if (countOutsideCp949(line) == 0)
            continue;
        for (int c = 0; c < cols; ++c) {
            const QString text = m_model->cell(c, r);
            qsizetype first = -1;
            const qsizetype count = countOutsideCp949(text, &first);
            if (count == 0)
                continue;
            if (found.count == 0) {
                found.col = c;
                found.row = r;
                const bool pair = text[first].isHighSurrogate() && first + 1 < text.size();
                found.first = text.mid(first, pair ? 2 : 1);
            }
            found.count += count;
        }
    }
    return found;
}

}  // namespace kolmara::ui
