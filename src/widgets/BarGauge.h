// A horizontal bar gauge with the percentage done written across it, for the screens' progress
// strips. Range and progress behave as in PieGauge.
#pragma once

#include "widgets/PieGauge.h"

namespace kolmara::ui {

class BarGauge : public GaugeBase {
    Q_OBJECT

public:
    explicit BarGauge(QWidget* parent = nullptr);
    QSize sizeHint() const override { return QSize(200, 21); }

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace kolmara::ui
