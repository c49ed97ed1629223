// Colours SQL and PL/SQL in an editor: keywords, strings, comments, binds and numbers, with
// comments and strings that run over several lines carried from line to line.
#pragma once

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

namespace kolmara::screens {

class SqlHighlighter : public QSyntaxHighlighter {
    Q_OBJECT

public:
    explicit SqlHighlighter(QTextDocument* document);

    // The formats, for tests and for a legend.
    const QTextCharFormat& keywordFormat() const { return m_keyword; }
    const QTextCharFormat& stringFormat() const { return m_string; }
    const QTextCharFormat& commentFormat() const { return m_comment; }
    const QTextCharFormat& bindFormat() const { return m_bind; }
    const QTextCharFormat& numberFormat() const { return m_number; }

protected:
    void highlightBlock(const QString& text) override;

private:
    QTextCharFormat m_keyword;
    QTextCharFormat m_string;
    QTextCharFormat m_comment;
    QTextCharFormat m_bind;
    QTextCharFormat m_number;
};

}  // namespace kolmara::screens
