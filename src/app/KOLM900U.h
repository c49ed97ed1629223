// TKOLM900F, the about box: the product name, the version from the settings, the program icon
// and an "Ok" button. Modal, made anew each time it is shown.
#pragma once

#include <QDialog>

class QLabel;

namespace kolmara::app {

class TKOLM900F : public QDialog {
    Q_OBJECT

public:
    explicit TKOLM900F(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    QLabel* m_version = nullptr;
};

}  // namespace kolmara::app
