// TKOLM120F, "데이타베이스 정보": the connected instance as its performance views and dictionary
// describe it. Four pages, each read afresh whenever it is shown or refreshed: the version banners
// with the memory areas, language settings and memory statistics; the initialisation parameters;
// the resource limits; the dictionary views with the columns of the chosen one. The last three
// export to CSV.
#pragma once

#include "screens/MdiScreen.h"

namespace kolmara::screens {

class TKOLM120F : public MdiScreen {
    Q_OBJECT

public:
    explicit TKOLM120F(QWidget* parent = nullptr);

    // Handlers, callable from tests as the event would.
    void FormShow();
    void sbt_selectClick();
    void PageControl1Change();
    void sbt_ExcelsClick();
    // A click on cell (col, row) of the view list; row 0 is the header row.
    void AdvStringGrid6ClickCell(int col, int row);
    void bbt_ClosesClick();

    void LoadInstanceTab();
    void LoadParameterTab();
    void LoadResourceLimitTab();
    void LoadDictionaryTab();

protected:
    void firstShown() override { FormShow(); }

private:
    void setupUi();
    QWidget* buildInstancePage();
    QWidget* buildDictionaryPage();
    void ClearSgaGrid();
    void ClearNlsGrid();
    void ClearSgaStatGrid();
    void ClearParameterGrid();
    void ClearResourceGrid();
    void ClearDictionaryGrid();
    void ClearDictColumnGrid();
    // Hourglass, status line emptied and repainted at once.
    void beginLoad();

    QToolButton* sbt_select = nullptr;
    QToolButton* sbt_Excels = nullptr;
    QToolButton* sbt_cleses = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QPlainTextEdit* mm_version = nullptr;
    ui::StringGrid* AdvStringGrid1 = nullptr;
    ui::StringGrid* AdvStringGrid2 = nullptr;
    ui::StringGrid* AdvStringGrid3 = nullptr;
    ui::StringGrid* AdvStringGrid4 = nullptr;
    ui::StringGrid* AdvStringGrid5 = nullptr;
    ui::StringGrid* AdvStringGrid6 = nullptr;
    ui::StringGrid* AdvStringGrid7 = nullptr;
    QGroupBox* GroupBox5 = nullptr;
};

}  // namespace kolmara::screens
