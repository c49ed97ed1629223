// The base of the program's own dialogs (connect, user settings, catalogue object creation): the
// first-show handler run once inside the action guard, and the status line of the status bar
// "StatusBar1" that each dialog creates and lays out itself.
#pragma once

#include <QDialog>

class QBoxLayout;
class QStatusBar;

namespace kolmara::dialogs {

class FormDialog : public QDialog {
    Q_OBJECT

public:
    using QDialog::QDialog;

    QString statusText() const;

protected:
    // Creates the status bar "StatusBar1" at the foot of the dialog's column `column`.
    void addStatusBar(QBoxLayout* column);
    void setStatus(const QString& text);

    // Runs once, the first time the dialog is shown, inside the action guard.
    virtual void firstShown() {}
    void showEvent(QShowEvent* event) override;

    QStatusBar* StatusBar1 = nullptr;

private:
    bool m_shownOnce = false;
};

}  // namespace kolmara::dialogs
