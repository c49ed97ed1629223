// The worksheets' SQL editor: a plain-text editor in the screen font with line numbers in a
// margin, SQL highlighting and no line wrap, so that an error's line and column are the ones the
// margin shows.
#pragma once

#include <QPlainTextEdit>

namespace kolmara::screens {

class SqlHighlighter;

class SqlEditor : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit SqlEditor(QWidget* parent = nullptr);

    SqlHighlighter* highlighter() const { return m_highlighter; }

    // Puts the cursor at a character offset of the text (clamped), scrolls it into view and
    // gives the editor the focus.
    void placeCursor(int offset);
    // Selects [from, to) of the text.
    void selectRange(int from, int to);
    int cursorOffset() const { return textCursor().position(); }

    // The margin's width for the current line count; the margin paints itself.
    int lineNumberWidth() const;
    void paintLineNumbers(QPaintEvent* event);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateMargin(const QRect& rect, int dy);

    QWidget* m_margin;
    SqlHighlighter* m_highlighter;
};

}  // namespace kolmara::screens
