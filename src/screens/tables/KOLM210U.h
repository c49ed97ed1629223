// TKOLM210F, "테이블관리": the tables and views of the chosen account with their layout, indexes,
// constraints and triggers, the generated creation script, the table's storage and its backup
// schedule (the one page of this screen that writes, into the backup catalogue), and the CSV
// exports of the table list and a layout.
//
// The search box is also the chosen table: every detail load takes the table name from its text.
// The printed reports read the table list (every row for the list; for the layouts, the marked
// ones in grid order, each shown in turn) and the layout grid.
#pragma once

#include "screens/MdiScreen.h"
#include "screens/ScheduleEditor.h"
#include "screens/TableStoragePanels.h"

#include <QList>
#include <QString>

#include <memory>

namespace kolmara::ui {
class PrintRun;
}  // namespace kolmara::ui

namespace kolmara::reports {
class TKOLM211F;
class TKOLM212F;
}

namespace kolmara::screens {

class TKOLM210F : public MdiScreen, protected TableStoragePanels {
    Q_OBJECT

public:
    explicit TKOLM210F(QWidget* parent = nullptr);

    // The detail pages, in tab order.
    enum Page { LayoutPage, IndexPage, ConstraintPage, TriggerPage, ScriptPage, BackupPage };

    // Handlers, callable from tests as the event would.
    void FormShow();
    void bbt_selectClick();
    void bbt_ExcelsClick();  // output mode 1, then the output menu
    void bbt_PrintsClick();  // output mode 2, then the output menu
    void bbt_updateClick();  // saves the schedule of every checked table
    void bbt_clesesClick();
    void cb_tabletypeChange();
    void ed_selectEnter();  // Enter in the search box
    void cb_checkClick();
    void N1Click();  // output menu "테이블 목록표"
    void N2Click();  // output menu "테이블 레이아웃"
    // The "선택" box of table list row `row` was set to `checked`.
    void checkBoxToggled(int row, bool checked);

    void LoadTableList();
    void SelectTable(int row);
    void LoadDetailPage();
    void LoadLayout();
    void LoadIndexes();
    void LoadIndexColumns(int row);
    void LoadConstraints();
    void LoadConstraintColumns(int row);
    void LoadTriggers();
    void ShowTriggerBody(int row);
    void LoadBackupInfo();
    void BuildObjectScript();

    // Table list rows whose print flag is "Y", in grid order: the tables whose layouts a print
    // run covers.
    QList<int> markedRows() const;

    // The printed reports as the print commands fill them: the whole table list, and the layout
    // of the table shown now (its layout and backup tab loaded).
    std::unique_ptr<reports::TKOLM212F> tableListReport() const;
    std::unique_ptr<reports::TKOLM211F> layoutReport() const;

protected:
    void firstShown() override { FormShow(); }
    void resizeEvent(QResizeEvent* event) override;

private:
    // What the catalogue holds for one table.
    struct StoredSchedule {
        bool found = false;
        QString condition;
        QString stamp;
    };

    void setupUi();
    QWidget* buildSearchPane();
    QWidget* buildLayoutPage();
    QWidget* buildIndexPage();
    QWidget* buildConstraintPage();
    QWidget* buildTriggerPage();
    QWidget* buildScriptPage();
    QWidget* buildBackupPage();
    void connectHandlers();

    QString owner() const;
    QString tableName() const;
    QString tableComment() const;
    // The start of every load: status emptied, export, print and backup save disabled.
    void beginLoad();
    void setOutputEnabled(bool enabled);
    void showOutputMenu();
    void PrintTableList();
    void PrintLayouts();
    // The status line after a print run; `done` says what was printed.
    void showPrintOutcome(const ui::PrintRun& run, const QString& done);

    void clearTableList();
    void clearGrid(ui::StringGrid* grid, int cols);
    void clearTriggerGrid();
    // Shared by the index and constraint column grids: the columns of the index named `index`.
    void loadIndexColumnGrid(ui::StringGrid* grid, const QString& index, const QString& doneText);

    void clearBackupPanels();
    StoredSchedule readStoredSchedule(const QString& table);
    bool InsertBackupInfo(const ScheduleEditor::Codes& schedule);
    bool UpdateBackupInfo(const ScheduleEditor::Codes& schedule, const QString& stamp);

    // The table the detail pages show: the one highlighted in the list, not whatever has been
    // typed into the search field since.
    QString m_table;

    QToolButton* bbt_select = nullptr;
    QToolButton* bbt_Excels = nullptr;
    QToolButton* bbt_Prints = nullptr;
    QToolButton* bbt_update = nullptr;
    QToolButton* bbt_cleses = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QSplitter* Splitter1 = nullptr;

    QLineEdit* ed_select = nullptr;
    QLabel* pn_tablename = nullptr;
    QComboBox* cb_tabletype = nullptr;
    QLabel* lb_DataCnt = nullptr;
    QCheckBox* cb_check = nullptr;
    QLabel* lb_tabtype = nullptr;
    ui::StringGrid* AdvStringGrid1 = nullptr;

    QTabWidget* PageControl1 = nullptr;
    ui::StringGrid* AdvStringGrid2 = nullptr;
    ui::StringGrid* AdvStringGrid3 = nullptr;
    ui::StringGrid* AdvStringGrid4 = nullptr;
    ui::StringGrid* AdvStringGrid5 = nullptr;
    ui::StringGrid* AdvStringGrid6 = nullptr;
    ui::StringGrid* AdvStringGrid7 = nullptr;
    QPlainTextEdit* mm_DESCRIPTION = nullptr;
    QPlainTextEdit* mm_TRIGGER_BODY = nullptr;
    QPlainTextEdit* MM_Script = nullptr;

    // The backup tab.
    QLabel* pn_tableid = nullptr;
    QLabel* pn_tabname = nullptr;
    QPlainTextEdit* mm_data_file = nullptr;
    QLabel* pn_backup_date = nullptr;
    ScheduleEditor* m_schedule = nullptr;
    QLabel* pn_mode = nullptr;

    QString m_typePattern;
    QString m_indexName;
    QString m_constraintName;
    QString m_triggerName;
};

}  // namespace kolmara::screens
