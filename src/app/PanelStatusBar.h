// The main window's owner-drawn status bar: four fixed-width panels, each text drawn from the
// left 2 pixels in and 2 pixels down, never bold, in the panel's own colour (blue, red, maroon,
// black), whatever alignment the panel was given. The bar also keeps a simple text, which is
// drawn in the room to the right of the last panel.
#pragma once

#include <QStringList>
#include <QWidget>

namespace kolmara::app {

class PanelStatusBar : public QWidget {
    Q_OBJECT

public:
    explicit PanelStatusBar(QWidget* parent = nullptr);

    int panelCount() const { return static_cast<int>(m_texts.size()); }
    QString panelText(int panel) const { return m_texts.value(panel); }
    void setPanelText(int panel, const QString& text);
    int panelWidth(int panel) const;
    // Ignored when drawing, as the panels always draw from the left.
    void setPanelAlignment(int panel, Qt::Alignment alignment);
    Qt::Alignment panelAlignment(int panel) const;
    QRect panelRect(int panel) const;
    // The colour a panel's text is drawn in.
    static QColor panelTextColor(int panel);
    // The font the panel texts are drawn with: the bar's font without bold.
    QFont panelFont() const;

    QString simpleText() const { return m_simpleText; }
    void setSimpleText(const QString& text);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QStringList m_texts;
    QList<int> m_widths;
    QList<Qt::Alignment> m_alignments;
    QString m_simpleText;
};

}  // namespace kolmara::app
