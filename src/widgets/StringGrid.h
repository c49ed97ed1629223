// The string grid every screen lists its rows in. Screens address cells column first, in the
// grid's own numbering: row 0 is the header row, data rows start at 1, and there is no fixed
// column. Underneath it is a QTableView over StringGridModel (a flat vector of strings), which
// is what keeps filling 100 000 rows well under a second; the header row is drawn by the
// horizontal header.
//
// Typical fill:
//   grid->clearData();
//   grid->setRowCount(n + 1);
//   grid->beginUpdate();
//   for (...) grid->setCell(c, i + 1, text);
//   grid->endUpdate();
#pragma once

#include "widgets/StringGridModel.h"

#include <QTableView>

#include <vector>

namespace kolmara::ui {

// The text encodings a CSV file is written in: UTF-8 with a byte-order mark (what Excel needs to
// read Korean text from a double-clicked file), the Korean Windows code page 949, or plain UTF-8.
enum class CsvEncoding { Utf8WithBom, Cp949, Utf8 };

// The characters of a grid that code page 949 cannot hold: how many, and the first of them in
// reading order (row by row, header row included) with its cell.
struct CharactersOutsideCp949 {
    qsizetype count = 0;
    int col = -1;
    int row = -1;
    QString first;
};

class StringGrid : public QTableView {
    Q_OBJECT

public:
    enum class GridLines { Both, VerticalOnly, None };

    explicit StringGrid(QWidget* parent = nullptr);

    StringGridModel* gridModel() const { return m_model; }

    // Row counts include the header row (2 = header + one data row); never below 1.
    int rowCount() const { return m_model->gridRowCount(); }
    void setRowCount(int rows) { m_model->setGridRowCount(rows); }
    int colCount() const { return m_model->gridColCount(); }
    // The first count given becomes the design column count unless one was set explicitly.
    void setColCount(int cols);
    void setDesignColCount(int cols) { m_designColCount = cols; }
    int designColCount() const { return m_designColCount; }

    QString cell(int col, int row) const { return m_model->cell(col, row); }
    void setCell(int col, int row, const QString& text) { m_model->setCell(col, row, text); }

    // Adds data rows at the end without disturbing the view (see StringGridModel::appendRows).
    void appendRows(const QList<QStringList>& rows) { m_model->appendRows(rows); }

    // Empties every data cell and drops the check boxes, then leaves 2 rows and the design
    // column count; the header texts stay. The sort indicator goes, since the order is gone.
    void clearData();

    // Repaint suspension while rows are written; nestable, the outermost end refreshes once.
    // Selection and current cell do not survive a suspended update.
    void beginUpdate() { m_model->beginUpdate(); }
    void endUpdate() { m_model->endUpdate(); }

    void setColWidth(int col, int px);
    int colWidth(int col) const;
    void setDefaultColWidth(int px);
    // Default height of every row, the header row included. QTableView's per-row forms stay
    // available.
    void setRowHeight(int px);
    int rowHeight() const { return m_rowHeight; }
    using QTableView::rowHeight;
    using QTableView::setRowHeight;
    void setColumnsResizable(bool resizable);

    void setHeaderColor(const QColor& color);
    QColor headerColor() const { return m_headerColor; }
    void setGridLines(GridLines lines);
    GridLines gridLines() const { return m_gridLines; }
    void setGridLineColor(const QColor& color);
    QColor gridLineColor() const { return m_gridLineColor; }
    void setSelectionColors(const QColor& background, const QColor& text);

    // Callbacks in grid numbering; see StringGridModel for what an invalid colour means.
    void setAlignmentFunction(StringGridModel::AlignmentFunction f);
    void setRowColorFunction(StringGridModel::RowColorFunction f);
    void setFontColorFunction(StringGridModel::CellColorFunction f);

    // A data row whose cell in this column holds exactly "--" ends a group: each of its cells
    // gets a one-pixel line in the caption colour along its bottom edge. -1 (the default) is off.
    void setGroupMarkerColumn(int col);
    int groupMarkerColumn() const { return m_groupMarkerColumn; }
    bool endsGroup(int row) const;

    // Check-box cells (data rows only). A click anywhere in the cell, or the space bar on the
    // current cell, toggles the box and emits checkBoxClicked; setting it from code does not.
    void addCheckBox(int col, int row, bool checked) { m_model->addCheckBox(col, row, checked); }
    bool hasCheckBox(int col, int row) const { return m_model->hasCheckBox(col, row); }
    bool checkBoxState(int col, int row) const { return m_model->checkBoxState(col, row); }
    void setCheckBoxState(int col, int row, bool checked)
    {
        m_model->setCheckBoxState(col, row, checked);
    }

    // Whole-row selection (true) or single cells.
    void setRowSelect(bool rowSelect);

    // The current cell in grid numbering; 0 when there is none.
    int currentRow() const;
    int currentCol() const;
    void setCurrentCell(int col, int row);

    // The first cell that contains `text` (case-sensitive), looking down each column in turn from
    // the leftmost, header row excluded. An empty text finds nothing.
    bool findFirst(const QString& text, int* col, int* row) const;

    // With header sorting on, a header click sorts the data rows by that column, a second click
    // on the same column reverses the order. sortByColumn (inherited) sorts from code.
    void setSortOnHeaderClick(bool on);

    // Writes the whole grid, header row included, as comma-separated text with CRLF line ends in
    // the given encoding; in code page 949 a character it cannot hold becomes '?'. Throws
    // KolmaraError, naming the file, when it cannot be written; an existing file is then left as
    // it was.
    void saveToCsv(const QString& path, CsvEncoding encoding = CsvEncoding::Utf8WithBom) const;
    // What a code page 949 export would turn into '?'.
    CharactersOutsideCp949 charactersOutsideCp949() const;

    // Where cell (col, row) of a data row is drawn, in viewport coordinates.
    QRect cellRect(int col, int row) const;

signals:
    // Grid numbering; a click on the header row comes as row 0.
    void cellClicked(int col, int row);
    void cellDoubleClicked(int col, int row);
    void checkBoxClicked(int col, int row, bool state);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void toggleCheckBox(int col, int row);
    void headerClicked(int col);
    void applyColWidths(int from, int to);

    StringGridModel* m_model;
    int m_designColCount = -1;
    int m_rowHeight = 21;
    int m_groupMarkerColumn = -1;
    bool m_sortOnHeaderClick = false;
    GridLines m_gridLines = GridLines::Both;
    QColor m_headerColor;
    QColor m_gridLineColor;
    std::vector<int> m_colWidths;  // widths asked for; 0 = the default
};

}  // namespace kolmara::ui
