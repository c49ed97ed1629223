// The worksheet's highlighter over the worksheet's own scanner, so the colours and the statement
// split never disagree about what is a string or a comment.
#include "screens/worksheet/SqlHighlighter.h"

#include "screens/worksheet/SqlScript.h"
#include "widgets/Colors.h"

namespace kolmara::screens {

SqlHighlighter::SqlHighlighter(QTextDocument* document) : QSyntaxHighlighter(document)
{
    m_keyword.setForeground(ui::colorFromBgr(0x00800000));  // navy
    m_keyword.setFontWeight(QFont::Bold);
    m_string.setForeground(ui::colorFromBgr(0x00000080));   // maroon
    m_comment.setForeground(ui::colorFromBgr(0x00008000));  // green
    m_comment.setFontItalic(true);
    m_bind.setForeground(ui::colorFromBgr(0x00800080));    // purple
    m_number.setForeground(ui::colorFromBgr(0x00808000));  // teal
}

void SqlHighlighter::highlightBlock(const QString& text)
{
    int state = std::max(previousBlockState(), 0);
    const QList<SqlToken> tokens = scanLine(text, state);
    for (const SqlToken& t : tokens) {
        switch (t.kind) {
        case SqlToken::Kind::Word:
            if (isSqlKeyword(text.mid(t.start, t.length).toUpper()))
                setFormat(t.start, t.length, m_keyword);
            break;
        case SqlToken::Kind::String:
            setFormat(t.start, t.length, m_string);
            break;
        case SqlToken::Kind::Comment:
            setFormat(t.start, t.length, m_comment);
            break;
        case SqlToken::Kind::Bind:
            setFormat(t.start, t.length, m_bind);
            break;
        case SqlToken::Kind::Number:
            setFormat(t.start, t.length, m_number);
            break;
        case SqlToken::Kind::QuotedName:
        case SqlToken::Kind::Symbol:
            break;
        }
    }
    setCurrentBlockState(state);
}

}  // namespace kolmara::screens
