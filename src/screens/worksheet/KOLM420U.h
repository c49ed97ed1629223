// TKOLM420F, "프로시져 작성": the PL/SQL editor. The DBA writes one or more CREATE [OR REPLACE]
// PROCEDURE, FUNCTION, PACKAGE [BODY], TRIGGER or TYPE [BODY] statements (a "/" line between
// them) and compiles them; the server's errors for each unit are listed with their place in the
// editor, and a click on one puts the cursor there. The embedded engine compiles no PL/SQL: the
// editor says so and sends nothing. Like the worksheet, the editor works on a session of its own
// on the main window's login and account, shown at the foot, opened and closed with the window.
#pragma once

#include "screens/MdiScreen.h"

#include <memory>

class QLabel;

namespace kolmara::screens {

class SqlEditor;
class SqlEditorPane;
class WorksheetRun;

class TKOLM420F : public MdiScreen {
    Q_OBJECT

public:
    explicit TKOLM420F(QWidget* parent = nullptr);
    ~TKOLM420F() override;

    // Handlers, callable from tests as the click or key would.
    void sbt_compileClick();  // F9 or Ctrl+Enter
    void sbt_clesesClick();
    void ErrorClick(int row);  // a row of the error grid

    bool isRunning() const;

protected:
    void firstShown() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void setupUi();

    QToolButton* sbt_compile = nullptr;
    QToolButton* sbt_cleses = nullptr;
    SqlEditorPane* m_pane = nullptr;
    QLabel* pn_login = nullptr;
    SqlEditor* Memo1 = nullptr;
    ui::StringGrid* AdvStringGrid1 = nullptr;  // the errors

    std::unique_ptr<WorksheetRun> m_run;
    QVector<int> m_errorOffsets;  // where each listed error sits in the editor
};

}  // namespace kolmara::screens
