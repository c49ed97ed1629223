// TKOLM100F, the connect dialog "D/B Connect": the user types a login or picks a saved one from the
// grid; on a successful connection the dialog enables the main window's commands, saves the login
// in the settings file with its password scrambled, and closes.
#pragma once

#include "dialogs/ConnectTarget.h"
#include "dialogs/FormDialog.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace kolmara::ui {
class StringGrid;
}

namespace kolmara::dialogs {

class TKOLM100F : public FormDialog {
    Q_OBJECT

public:
    explicit TKOLM100F(ConnectTarget* mainWindow, QWidget* parent = nullptr);

    // Handlers, callable from tests as a click would.
    void FormShow();
    void AdvStringGrid1Click(int col, int row);
    void AdvStringGrid1DblClick(int col, int row);
    void sbt_OkClick();
    void sbt_NewClick();
    void sbt_CancelClick();
    // Removes the picked saved login after a question; the later ones move up a number, so the
    // saved logins stay numbered 1 to "Count".
    void sbt_DeleteClick();

    // Collects the value's characters from position start (1-based) up to the next "/", after
    // which the next field starts; without a "/" the field runs to the end and FieldPos stays.
    QString NextField(const QString& value, int start);

    QString mode() const { return m_iMode; }
    QString pickedNumber() const { return m_no; }
    // True when "Count" could not be read and the saved logins were not listed.
    bool savedLoginsUnreadable() const { return m_countUnreadable; }

protected:
    void firstShown() override { FormShow(); }

private:
    void setupUi();
    void ClearLoginGrid();
    // The shared part of "&New" and "&Ok": checks the edits and connects. False when the login is
    // not to be saved (an edit empty or the connection refused).
    bool connectWithEdits();
    QString loginValue() const;
    void saveAsNewLogin();
    int nextFreeLoginNumber() const;

    ConnectTarget* m_main;
    QLineEdit* ed_username = nullptr;
    QLineEdit* ed_password = nullptr;
    QLineEdit* ed_server = nullptr;
    QCheckBox* cb_password = nullptr;
    QPushButton* sbt_Ok = nullptr;
    QPushButton* sbt_Cancel = nullptr;
    QPushButton* sbt_New = nullptr;
    QPushButton* sbt_Delete = nullptr;
    ui::StringGrid* AdvStringGrid1 = nullptr;

    QString m_iMode = QStringLiteral("1");  // pn_iMode: "1" new login, "2" a saved one picked
    QString m_no;                           // pn_no: the picked login's number
    int m_pickedRow = 0;                    // the grid row clicked last, 0 for none
    int LoginCount = 0;
    int FieldPos = 0;
    QString EncodedPassword;
    bool m_countUnreadable = false;
};

}  // namespace kolmara::dialogs
