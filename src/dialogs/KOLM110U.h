// TKOLM110F, the user settings dialog "사용자 환경정의": views and edits the environment values of
// the settings file's "System Version" section and reloads the program's settings after a save.
#pragma once

#include <QDialog>

class QDateEdit;
class QLabel;
class QLineEdit;
class QSpinBox;
class QStatusBar;
class QTabWidget;
class QToolButton;

namespace kolmara::dialogs {

class TKOLM110F : public QDialog {
    Q_OBJECT

public:
    explicit TKOLM110F(QWidget* parent = nullptr);

    // Handlers, callable from tests as a click would.
    void bbt_selectClick();  // reload
    void bbt_updateClick();  // save
    void bbt_clesesClick();  // close

    QString statusText() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void setupUi();
    void FormShow();
    void setStatus(const QString& text);

    QToolButton* bbt_select = nullptr;
    QToolButton* bbt_update = nullptr;
    QToolButton* bbt_cleses = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QLineEdit* ed_version = nullptr;
    QDateEdit* dtp_verdate = nullptr;
    QLineEdit* ed_BackupDrive = nullptr;
    QLineEdit* ed_BackupPath = nullptr;
    QLineEdit* ed_OraclePath = nullptr;
    QLabel* pn_datetime = nullptr;
    QLabel* pn_ExpType = nullptr;
    QSpinBox* FSE_Commit = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    bool m_shown = false;
};

}  // namespace kolmara::dialogs
