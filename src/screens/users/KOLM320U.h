// TKOLM320F, "사용자 유저 관리": the database's users, their registration as accounts of the server
// backup job (password, display name, time, take-part flag) in BACKUSER_TABLE, the tables of a user
// that have a backup schedule, and a user's backup log. The screen changes nothing in the database
// but BACKUSER_TABLE rows.
#pragma once

#include "screens/MdiScreen.h"

namespace kolmara::screens {

class TKOLM320F : public MdiScreen {
    Q_OBJECT

public:
    explicit TKOLM320F(QWidget* parent = nullptr);

    // Handlers, callable from tests as the event would.
    void FormShow();
    void sbt_selectClick();
    void PageControl1Change();
    // A click on row `row` of the registration user list (0 is the header row).
    void AdvStringGrid2ClickCell(int row);
    // A click on row `row` of the backup status user list.
    void AdvStringGrid4ClickCell(int row);
    void bbt_updateClick();
    void sbt_clesesClick();

    void LoadUserList();
    void LoadTableStatus();
    void LoadUserBackupLog();

protected:
    void firstShown() override { FormShow(); }

private:
    void setupUi();
    QWidget* buildRegistrationPage();
    QWidget* buildBackupStatusPage();
    void ClearUserGrid();
    void ClearTableStatusGrid();
    void ClearLogUserGrid();
    void ClearUserLogGrid();
    void ClearRegistration();
    void clearRegistrationFields();
    QString server() const;
    // The item of the hour list ("01" .. "23") and of the minute list ("00", "05" .. "55") that
    // show a stored "HHMM" time: the minute rounds down to its five; a part that does not read as
    // a time the lists can show gives the first item.
    static int hourItem(const QString& time);
    static int minuteItem(const QString& time);

    QToolButton* sbt_select = nullptr;
    QToolButton* sbt_cleses = nullptr;
    QToolButton* bbt_update = nullptr;
    QTabWidget* PageControl1 = nullptr;
    ui::StringGrid* AdvStringGrid1 = nullptr;
    ui::StringGrid* AdvStringGrid2 = nullptr;
    ui::StringGrid* AdvStringGrid3 = nullptr;
    ui::StringGrid* AdvStringGrid4 = nullptr;
    ui::StringGrid* AdvStringGrid5 = nullptr;
    QSplitter* Splitter1 = nullptr;
    QSplitter* Splitter2 = nullptr;
    QLabel* pn_account = nullptr;
    QLineEdit* ed_passwd = nullptr;
    QCheckBox* cb_showpasswd = nullptr;
    QLineEdit* ed_username = nullptr;
    QComboBox* cb_time1 = nullptr;
    QComboBox* cb_time2 = nullptr;
    QRadioButton* rb_type1 = nullptr;
    QRadioButton* rb_type2 = nullptr;
    QLabel* pn_mdfdat = nullptr;
    QLabel* pn_imode = nullptr;

    QString BackupFlag;  // "Y" or "N", the flag a save stores
    QString LogUser;     // the user chosen on the backup status page
};

}  // namespace kolmara::screens
