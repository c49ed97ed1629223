// TKOLM310F, "테이블스페이 정보": the tablespaces of the connected database with their free share,
// coloured when they run short of space, the datafiles and the current owner's tables of a chosen
// tablespace, the rollback segments, and the shrink of a rollback segment.
#pragma once

#include "screens/MdiScreen.h"

namespace kolmara::screens {

class TKOLM310F : public MdiScreen {
    Q_OBJECT

public:
    explicit TKOLM310F(QWidget* parent = nullptr);

    // Handlers, callable from tests as the event would.
    void FormShow();
    void sbt_selectClick();
    void sbt_ExcelsClick();
    void sbt_clesesClick();
    void PageControl1Change();
    void FlatSpeedButton1Click();  // the shrink button

    void LoadTablespaceList();
    void LoadRollbackSegmentList();
    // A click on row `row` of the tablespace grid: its datafiles and tables.
    void ShowTablespaceDetail(int row);
    // A click on row `row` of the rollback segment grid: the shrink statement of that segment.
    void PrepareShrink(int row);

protected:
    void firstShown() override { FormShow(); }

private:
    void setupUi();
    void ClearTablespaceGrid();
    void ClearDatafileGrid();
    void ClearTableGrid();
    void ClearRollbackGrid();
    void LoadDatafiles();
    void LoadTables();
    bool tablespacePageShown() const;

    QToolButton* sbt_select = nullptr;
    QToolButton* sbt_Excels = nullptr;
    QToolButton* sbt_cleses = nullptr;
    QLabel* Panel1 = nullptr;  // legend "10%"
    QLabel* Panel2 = nullptr;  // legend "20%"
    QLabel* Panel3 = nullptr;  // legend "30%"
    QTabWidget* PageControl1 = nullptr;
    ui::StringGrid* AdvStringGrid1 = nullptr;  // tablespaces
    QSplitter* Splitter1 = nullptr;
    QTabWidget* PageControl2 = nullptr;
    ui::StringGrid* AdvStringGrid2 = nullptr;  // datafiles
    ui::StringGrid* AdvStringGrid3 = nullptr;  // tables
    ui::StringGrid* AdvStringGrid4 = nullptr;  // rollback segments
    QSplitter* Splitter2 = nullptr;
    QLineEdit* ed_shrink = nullptr;  // the shrink statement
    QToolButton* FlatSpeedButton1 = nullptr;

    QString m_tablespaceNumber;
    QString m_tablespaceName;
    QString m_segmentName;
};

}  // namespace kolmara::screens
