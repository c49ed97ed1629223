// The cell store behind StringGrid: every cell a string in one flat, row-major vector, the header
// row included. Screens number rows the grid's way (row 0 is the header, data rows from 1); the
// model shows the data rows only, as model rows 0..n-1, and answers the header row through
// headerData. Check-box states live in a second flat vector that exists only once a grid has a
// check box, so plain list grids pay nothing for them.
#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace kolmara::ui {

class StringGridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    using AlignmentFunction = std::function<Qt::Alignment(int col, int row)>;
    using RowColorFunction = std::function<QColor(int row)>;
    using CellColorFunction = std::function<QColor(int col, int row)>;

    explicit StringGridModel(QObject* parent = nullptr);

    // Grid numbering: the count includes the header row, and is never below 1.
    int gridRowCount() const { return m_rows; }
    void setGridRowCount(int rows);
    int gridColCount() const { return m_cols; }
    void setGridColCount(int cols);

    // Out-of-range reads answer an empty string; out-of-range writes are dropped with a warning.
    QString cell(int col, int row) const;
    void setCell(int col, int row, const QString& text);

    // Adds data rows after the last one, each a list of cell texts from column 0 (missing cells
    // stay empty, extra ones are dropped), announced as one insertion, so a view keeps its scroll
    // position, selection and current cell while a result grows.
    void appendRows(const QList<QStringList>& rows);

    // Check boxes go on data rows only. A cell without a box reads as unchecked.
    void addCheckBox(int col, int row, bool checked);
    bool hasCheckBox(int col, int row) const;
    bool checkBoxState(int col, int row) const;
    // Does nothing on a cell without a box.
    void setCheckBoxState(int col, int row, bool checked);

    // Empties every data cell, drops the check boxes and leaves one empty data row and `cols`
    // columns; the header texts of the columns that remain stay.
    void clearData(int cols);

    // Nestable. While suspended no cell write is announced; the outermost end resets the model
    // once, which is what keeps filling 100 000 rows cheap.
    void beginUpdate();
    void endUpdate();
    bool isUpdating() const { return m_updateDepth > 0; }

    // Alignment of cell (col, row) in grid numbering, header row included; a result without a
    // vertical flag is centred vertically. Without a function: header centred, data left.
    void setAlignmentFunction(AlignmentFunction f) { m_alignment = std::move(f); }
    // Background of a data row; an invalid colour leaves the view's own.
    void setRowColorFunction(RowColorFunction f) { m_rowColor = std::move(f); }
    // Text colour of a data cell; an invalid colour leaves the view's own.
    void setFontColorFunction(CellColorFunction f) { m_fontColor = std::move(f); }

    // Data rows only, stable. Two cells that both read as numbers once thousands separators are
    // removed compare as numbers; otherwise as text (case-sensitive). To keep the order total,
    // numbers sort before texts.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    // The last sort asked for; -1 before any and after clearData.
    int sortColumn() const { return m_sortColumn; }
    Qt::SortOrder sortOrder() const { return m_sortOrder; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    enum CheckState : unsigned char { kNoBox = 0, kUnchecked = 1, kChecked = 2 };

    bool inRange(int col, int row) const
    {
        return col >= 0 && col < m_cols && row >= 0 && row < m_rows;
    }
    std::size_t slot(int col, int row) const
    {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(m_cols) +
               static_cast<std::size_t>(col);
    }
    void resizeStore(int rows, int cols);
    Qt::Alignment alignmentOf(int col, int row) const;

    int m_rows = 2;  // like a cleared grid: the header and one empty data row
    int m_cols = 0;
    int m_updateDepth = 0;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    std::vector<QString> m_cells;
    std::vector<unsigned char> m_checks;  // empty, or one entry per cell
    AlignmentFunction m_alignment;
    RowColorFunction m_rowColor;
    CellColorFunction m_fontColor;
};

}  // namespace kolmara::ui
