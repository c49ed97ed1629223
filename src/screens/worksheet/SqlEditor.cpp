// The SQL editor and its line-number margin.
#include "screens/worksheet/SqlEditor.h"

#include "screens/worksheet/SqlHighlighter.h"
#include "widgets/Colors.h"
#include "widgets/Fonts.h"

#include <QPainter>
#include <QTextBlock>

namespace kolmara::screens {

namespace {

class LineNumberMargin : public QWidget {
public:
    explicit LineNumberMargin(SqlEditor* editor) : QWidget(editor), m_editor(editor) {}
    QSize sizeHint() const override { return {m_editor->lineNumberWidth(), 0}; }

protected:
    void paintEvent(QPaintEvent* event) override { m_editor->paintLineNumbers(event); }

private:
    SqlEditor* m_editor;
};

}  // namespace

SqlEditor::SqlEditor(QWidget* parent)
    : QPlainTextEdit(parent),
      m_margin(new LineNumberMargin(this)),
      m_highlighter(new SqlHighlighter(document()))
{
    setFont(ui::gulimChe(13));
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabStopDistance(fontMetrics().horizontalAdvance(QLatin1Char(' ')) * 4);
    connect(this, &QPlainTextEdit::blockCountChanged, this,
            [this] { setViewportMargins(lineNumberWidth(), 0, 0, 0); });
    connect(this, &QPlainTextEdit::updateRequest, this, &SqlEditor::updateMargin);
    setViewportMargins(lineNumberWidth(), 0, 0, 0);
}

void SqlEditor::placeCursor(int offset)
{
    QTextCursor c = textCursor();
    c.setPosition(std::clamp(offset, 0, document()->characterCount() - 1));
    setTextCursor(c);
    ensureCursorVisible();
    setFocus();
}

void SqlEditor::selectRange(int from, int to)
{
    const int last = document()->characterCount() - 1;
    QTextCursor c = textCursor();
    c.setPosition(std::clamp(from, 0, last));
    c.setPosition(std::clamp(to, 0, last), QTextCursor::KeepAnchor);
    setTextCursor(c);
    ensureCursorVisible();
}

int SqlEditor::lineNumberWidth() const
{
    int digits = 1;
    for (int n = std::max(1, blockCount()); n >= 10; n /= 10)
        ++digits;
    return 8 + fontMetrics().horizontalAdvance(QLatin1Char('9')) * std::max(digits, 3);
}

void SqlEditor::updateMargin(const QRect& rect, int dy)
{
    if (dy != 0)
        m_margin->scroll(0, dy);
    else
        m_margin->update(0, rect.y(), m_margin->width(), rect.height());
}

void SqlEditor::resizeEvent(QResizeEvent* event)
{
    QPlainTextEdit::resizeEvent(event);
    const QRect r = contentsRect();
    m_margin->setGeometry(QRect(r.left(), r.top(), lineNumberWidth(), r.height()));
}

void SqlEditor::paintLineNumbers(QPaintEvent* event)
{
    QPainter painter(m_margin);
    painter.fillRect(event->rect(), ui::colorFromBgr(0x00F0F0F0));
    painter.setPen(ui::colorFromBgr(0x00808080));
    painter.setFont(font());
    QTextBlock block = firstVisibleBlock();
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    int bottom = top + qRound(blockBoundingRect(block).height());
    while (block.isValid() && top <= event->rect().bottom()) {
        if (block.isVisible() && bottom >= event->rect().top())
            painter.drawText(0, top, m_margin->width() - 4, fontMetrics().height(), Qt::AlignRight,
                             QString::number(block.blockNumber() + 1));
        block = block.next();
        top = bottom;
        bottom = top + qRound(blockBoundingRect(block).height());
    }
}

}  // namespace kolmara::screens
