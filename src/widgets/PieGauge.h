// Progress gauges: PieGauge draws the share done as a pie (the sessions screen's 35 x 35 blue
// refresh gauge, the backup screen's dump gauge); BarGauge, in BarGauge.h, draws it as a
// horizontal bar with the percentage. Both keep their progress within [minimum, maximum].
#pragma once

#include <QColor>
#include <QWidget>

namespace kolmara::ui {

// The range and progress shared by both gauges. Setting a bound past the other one moves the
// other one with it, so the range is never empty the wrong way round.
class GaugeBase : public QWidget {
    Q_OBJECT

public:
    explicit GaugeBase(QWidget* parent = nullptr);

    int minValue() const { return m_min; }
    int maxValue() const { return m_max; }
    int progress() const { return m_progress; }
    void setMinValue(int value);
    void setMaxValue(int value);
    void setProgress(int value);
    void addProgress(int delta);

    // Whole percent done, rounded down; 0 for an empty range.
    int percentDone() const;

    QColor foreColor() const { return m_foreColor; }
    void setForeColor(const QColor& color);
    QColor backColor() const { return m_backColor; }
    void setBackColor(const QColor& color);

private:
    int m_min = 0;
    int m_max = 100;
    int m_progress = 0;
    QColor m_foreColor = Qt::blue;
    QColor m_backColor = Qt::white;
};

class PieGauge : public GaugeBase {
    Q_OBJECT

public:
    explicit PieGauge(QWidget* parent = nullptr);
    QSize sizeHint() const override { return QSize(35, 35); }

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace kolmara::ui
