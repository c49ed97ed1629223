// TKOLM130F, "오브젝트 생성": the scripts that create the program's own objects in the monitored
// database (the three backup catalogue tables, the explain-plan table, and the grants and
// synonyms through which the working accounts reach them under their plain names), for the DBA
// to copy into an SQL tool. The dialog runs nothing; its settings panels offer the tablespaces
// that hold the current account's tables and indexes, to be typed for the scripts' variables.
#pragma once

#include "dialogs/FormDialog.h"

class QComboBox;
class QPlainTextEdit;
class QSpinBox;
class QTabWidget;
class QToolButton;

namespace kolmara::dialogs {

class TKOLM130F : public FormDialog {
    Q_OBJECT

public:
    explicit TKOLM130F(QWidget* parent = nullptr);

    // Handlers, callable from tests as the event would.
    void FormShow();
    void sbt_clesesClick();

    // The scripts as the pages show them.
    static QString backupTableScript();
    static QString backlogTableScript();
    static QString backuserTableScript();
    static QString planTableScript();
    static QString grantScript();
    static QString synonymScript();

protected:
    void firstShown() override { FormShow(); }

private:
    void setupUi();
    QWidget* scriptPage(const QString& name, const QString& script, int settingsPanel);

    QToolButton* sbt_update = nullptr;
    QToolButton* sbt_cleses = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QComboBox* cb_data_tablespace[2] = {};
    QComboBox* cb_index_tablespace[2] = {};
};

}  // namespace kolmara::dialogs
