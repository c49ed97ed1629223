// TKOLM110F, the user settings dialog "사용자 환경정의": views and edits the environment values of
// the settings file's "System Version" section and reloads the program's settings after a save.
#pragma once

#include "dialogs/FormDialog.h"

class QDateEdit;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTabWidget;
class QToolButton;

namespace kolmara::dialogs {

class TKOLM110F : public FormDialog {
    Q_OBJECT

public:
    explicit TKOLM110F(QWidget* parent = nullptr);

    // Handlers, callable from tests as a click would.
    void bbt_selectClick();  // reload
    void bbt_updateClick();  // save
    void bbt_clesesClick();  // close

protected:
    void firstShown() override { FormShow(); }

private:
    void setupUi();
    void FormShow();

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
};

}  // namespace kolmara::dialogs
