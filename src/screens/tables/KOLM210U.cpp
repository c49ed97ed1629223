// The table manager screen.
#include "screens/tables/KOLM210U.h"

#include "common/KOLMCOMM.h"
#include "data/SharedSlots.h"
#include "screens/ListGrid.h"
#include "screens/Panels.h"
#include "screens/tables/KOLM210Parts.h"
#include "screens/tables/ObjectScript.h"
#include "widgets/ActionGuard.h"
#include "widgets/Colors.h"
#include "widgets/StringGrid.h"
#include "widgets/ToolButtons.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHash>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QResizeEvent>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace kolmara::screens {

namespace table_manager {

QLabel* caption(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QPlainTextEdit* memo(const char* name, quint32 bgr, QWidget* parent)
{
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setStyleSheet(QStringLiteral("QPlainTextEdit { background: %1; }")
                           .arg(ui::colorFromBgr(bgr).name()));
    return box;
}

}  // namespace table_manager

using namespace table_manager;

namespace {

// The columns of one index, as the index and constraint pages show them.
GridDesign columnListDesign(const char* name)
{
    using enum Align;
    return {.name = QString::fromLatin1(name),
            .columns = {{QStringLiteral("No."), 40, Centre},
                        {QStringLiteral("컬럼명"), 130},
                        {QStringLiteral("컬럼명칭"), 285},
                        {QStringLiteral("컬럼위치"), 54, Right},
                        {QStringLiteral("타입"), 84},
                        {QStringLiteral("길이"), 38, Right}},
            .headerBgr = 0x00F5ECFF};
}

// A detail page: a tab sheet with a small margin.
QVBoxLayout* newPage(QWidget*& page, const char* name)
{
    page = new QWidget;
    page->setObjectName(QString::fromLatin1(name));
    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(2, 2, 2, 2);
    return v;
}

}  // namespace

TKOLM210F::TKOLM210F(QWidget* parent)
    : MdiScreen(QStringLiteral("테이블관리"), QSize(987, 662), parent)
{
    setObjectName(QStringLiteral("TKOLM210F"));
    TableFormHeight = 662;
    TableFormWidth = 987;
    setupUi();
    connectHandlers();
}

// ---- Building the window ---------------------------------------------------------------------

void TKOLM210F::setupUi()
{
    QToolBar* tools = addToolStrip();
    bbt_select = ui::addToolButton(tools, QStringLiteral("bbt_select"), QStringLiteral("테이블목록 조회"),
                                   QStringLiteral("R"), QColor(40, 120, 200));
    bbt_Excels = ui::addToolButton(tools, QStringLiteral("bbt_Excels"),
                                   QStringLiteral("테이블목록 및 레이아웃 엑셀로 전환"),
                                   QStringLiteral("XLS"), QColor(30, 130, 70));
    bbt_Prints = ui::addToolButton(tools, QStringLiteral("bbt_Prints"),
                                   QStringLiteral("테이블목록 및 레이아웃 발행"), QStringLiteral("P"),
                                   QColor(90, 90, 160));
    bbt_update = ui::addToolButton(tools, QStringLiteral("bbt_update"), QStringLiteral("백업정보저장"),
                                   QStringLiteral("S"), QColor(200, 120, 30));
    bbt_cleses = addCloseButton(tools, QStringLiteral("bbt_cleses"));
    bbt_Excels->setEnabled(false);
    bbt_Prints->setEnabled(false);
    bbt_update->setEnabled(false);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    QAction* n1 = PopupMenu1->addAction(QStringLiteral("테이블 목록표"));
    n1->setObjectName(QStringLiteral("N1"));
    QAction* n2 = PopupMenu1->addAction(QStringLiteral("테이블 레이아웃"));
    n2->setObjectName(QStringLiteral("N2"));
    ui::connectGuarded(n1, &QAction::triggered, this, [this] { N1Click(); });
    ui::connectGuarded(n2, &QAction::triggered, this, [this] { N2Click(); });

    // The panes keep their 309 : 665 proportion as the window is resized.
    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setChildrenCollapsible(false);
    Splitter1->addWidget(buildSearchPane());
    PageControl1 = new QTabWidget(Splitter1);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->addTab(buildLayoutPage(), QStringLiteral("컬럼정보"));
    PageControl1->addTab(buildIndexPage(), QStringLiteral("인 덱 스"));
    PageControl1->addTab(buildConstraintPage(), QStringLiteral("제약조건"));
    PageControl1->addTab(buildTriggerPage(), QStringLiteral("트 리 거"));
    PageControl1->addTab(buildScriptPage(), QStringLiteral("스크립터"));
    PageControl1->addTab(buildBackupPage(), QStringLiteral("백업정보"));
    Splitter1->addWidget(PageControl1);
    Splitter1->setStretchFactor(0, 31);  // stretch factors stop at 255
    Splitter1->setStretchFactor(1, 67);
    Splitter1->setSizes({309, 665});
    addBody(Splitter1);
}

QWidget* TKOLM210F::buildSearchPane()
{
    auto* pane = new QWidget;
    pane->setObjectName(QStringLiteral("pn_left"));
    auto* v = new QVBoxLayout(pane);
    v->setContentsMargins(2, 2, 2, 2);
    v->setSpacing(3);
    auto* search = new QGridLayout;
    search->setHorizontalSpacing(4);

    ed_select = new QLineEdit(pane);
    ed_select->setObjectName(QStringLiteral("ed_select"));
    keepUpperCase(ed_select);
    ed_select->setInputMethodHints(Qt::ImhPreferLatin | Qt::ImhPreferUppercase |
                                   Qt::ImhNoPredictiveText);
    pn_tablename = valuePanel(QStringLiteral("pn_tablename"), pane);
    QPalette pal = pn_tablename->palette();
    pal.setColor(QPalette::Window, ui::colorFromBgr(0x00F5F5F5));
    pn_tablename->setPalette(pal);
    cb_tabletype = new QComboBox(pane);
    cb_tabletype->setObjectName(QStringLiteral("cb_tabletype"));
    cb_tabletype->addItems({QStringLiteral("ALL"), QStringLiteral("TABLE"), QStringLiteral("VIEW"),
                            QStringLiteral("SYNONYM"), QStringLiteral("SEQUENCE")});
    lb_DataCnt = new QLabel(QStringLiteral("검색건수"), pane);
    lb_DataCnt->setObjectName(QStringLiteral("lb_DataCnt"));
    cb_check = new QCheckBox(QStringLiteral("전체출력선택"), pane);
    cb_check->setObjectName(QStringLiteral("cb_check"));
    lb_tabtype = new QLabel(pane);
    lb_tabtype->setObjectName(QStringLiteral("lb_tabtype"));
    lb_tabtype->hide();

    search->addWidget(caption(QStringLiteral("찾  기"), pane), 0, 0);
    search->addWidget(ed_select, 0, 1);
    search->addWidget(pn_tablename, 0, 2);
    search->addWidget(caption(QStringLiteral("구  분"), pane), 1, 0);
    search->addWidget(cb_tabletype, 1, 1);
    search->addWidget(lb_DataCnt, 1, 2);
    search->addWidget(cb_check, 2, 1, 1, 2);
    search->setColumnStretch(1, 11);
    search->setColumnStretch(2, 15);
    v->addLayout(search);

    using enum Align;
    AdvStringGrid1 = buildGrid(pane, {.name = QStringLiteral("AdvStringGrid1"),
                                      .columns = {{QStringLiteral("No."), 39, Centre},
                                                  {QStringLiteral("테이블"), 74},
                                                  {QStringLiteral("테이블명칭"), 143},
                                                  {QStringLiteral("선택"), 30, Centre},
                                                  {QStringLiteral("구분"), 100, Centre},
                                                  {QString(), 20, Centre}},
                                      .headerBgr = 0x00EBEBD8});
    AdvStringGrid1->setSortOnHeaderClick(true);
    v->addWidget(AdvStringGrid1, 1);
    return pane;
}

QWidget* TKOLM210F::buildLayoutPage()
{
    QWidget* page = nullptr;
    QVBoxLayout* v = newPage(page, "TabSheet1");
    using enum Align;
    AdvStringGrid2 = buildGrid(page, {.name = QStringLiteral("AdvStringGrid2"),
                                      .columns = {{QStringLiteral("No."), 35, Right},
                                                  {QStringLiteral("컬럼명"), 115},
                                                  {QStringLiteral("컬럼명칭"), 172},
                                                  {QStringLiteral("컬럼타입"), 78},
                                                  {QStringLiteral("길이"), 34, Right},
                                                  {QStringLiteral("NULL"), 34, Centre},
                                                  {QStringLiteral("PKEY"), 34, Centre},
                                                  {QStringLiteral("초기값"), 46, Centre},
                                                  {QStringLiteral("비    고"), 87}},
                                      .headerBgr = 0x00B3D9D9,
                                      .rowSelect = true});
    v->addWidget(AdvStringGrid2);
    return page;
}

QWidget* TKOLM210F::buildIndexPage()
{
    QWidget* page = nullptr;
    QVBoxLayout* v = newPage(page, "TabSheet2");
    using enum Align;
    AdvStringGrid3 = buildGrid(page, {.name = QStringLiteral("AdvStringGrid3"),
                                      .columns = {{QStringLiteral("No."), 40, Centre},
                                                  {QStringLiteral("INDEX_NAME"), 130},
                                                  {QStringLiteral("KEY TYPE     "), 88},
                                                  {QStringLiteral("UNIQUENESS     "), 100},
                                                  {QStringLiteral("TABLESPACE_NAME"), 100},
                                                  {QStringLiteral("INI_TRANS      "), 100, Right},
                                                  {QStringLiteral("MAX_TRANS      "), 100, Right},
                                                  {QStringLiteral("INITIAL_EXTENT "), 100, Right},
                                                  {QStringLiteral("NEXT_EXTENT    "), 100, Right},
                                                  {QStringLiteral("MIN_EXTENTS    "), 100, Right},
                                                  {QStringLiteral("MAX_EXTENTS"), 82, Right},
                                                  {QStringLiteral("PCT_FREE"), 100},
                                                  {QStringLiteral("PCT_INCREASE"), 100}},
                                      .headerBgr = 0x00B3D9D9,
                                      .rowSelect = true});
    AdvStringGrid3->setFixedHeight(165);
    AdvStringGrid4 = buildGrid(page, columnListDesign("AdvStringGrid4"));
    v->addWidget(AdvStringGrid3);
    v->addWidget(AdvStringGrid4, 1);
    return page;
}

QWidget* TKOLM210F::buildConstraintPage()
{
    QWidget* page = nullptr;
    QVBoxLayout* v = newPage(page, "TabSheet3");
    using enum Align;
    AdvStringGrid5 = buildGrid(page, {.name = QStringLiteral("AdvStringGrid5"),
                                      .columns = {{QStringLiteral("No."), 40, Centre},
                                                  {QStringLiteral("제약조건명"), 130},
                                                  {QStringLiteral("제쟝조건구분"), 88},
                                                  {QStringLiteral("상태"), 100},
                                                  {QStringLiteral("제약조건"), 100, Centre},
                                                  {QStringLiteral("참조제약소유자"), 94},
                                                  {QStringLiteral("참조제약조건명"), 100},
                                                  {QStringLiteral("삭제조건"), 100},
                                                  {QStringLiteral("생성일시"), 134, Centre}},
                                      .headerBgr = 0x00B3D9D9,
                                      .rowSelect = true});
    AdvStringGrid5->setFixedHeight(165);
    AdvStringGrid6 = buildGrid(page, columnListDesign("AdvStringGrid6"));
    v->addWidget(AdvStringGrid5);
    v->addWidget(AdvStringGrid6, 1);
    return page;
}

QWidget* TKOLM210F::buildTriggerPage()
{
    QWidget* page = nullptr;
    QVBoxLayout* v = newPage(page, "TabSheet4");
    using enum Align;
    AdvStringGrid7 = buildGrid(page, {.name = QStringLiteral("AdvStringGrid7"),
                                      .columns = {{QStringLiteral("No."), 40, Centre},
                                                  {QStringLiteral("TRIGGER_NAME     "), 130},
                                                  {QStringLiteral("TRIGGER_TYPE     "), 88},
                                                  {QStringLiteral("TRIGGERING_EVENT "), 112},
                                                  {QStringLiteral("BASE_OBJECT_TYPE "), 112},
                                                  {QStringLiteral("TABLE_NAME       "), 94},
                                                  {QStringLiteral("REFERENCING_NAMES"), 112},
                                                  {QStringLiteral("STATUS           "), 100},
                                                  {QStringLiteral("ACTION_TYPE"), 100}},
                                      .headerBgr = 0x00B3D9D9,
                                      .rowSelect = true});
    AdvStringGrid7->setFixedHeight(165);
    auto* boxes = new QHBoxLayout;
    mm_DESCRIPTION = memo("mm_DESCRIPTION", 0x00DFFFFF, page);
    mm_DESCRIPTION->setFixedWidth(289);
    mm_DESCRIPTION->setReadOnly(true);
    mm_TRIGGER_BODY = memo("mm_TRIGGER_BODY", 0x00FFECFF, page);
    mm_TRIGGER_BODY->setReadOnly(true);
    boxes->addWidget(mm_DESCRIPTION);
    boxes->addWidget(mm_TRIGGER_BODY, 1);
    v->addWidget(AdvStringGrid7);
    v->addLayout(boxes, 1);
    return page;
}

QWidget* TKOLM210F::buildScriptPage()
{
    QWidget* page = nullptr;
    QVBoxLayout* v = newPage(page, "TabSheet5");
    MM_Script = memo("MM_Script", 0x00DFFFFF, page);
    MM_Script->setLineWrapMode(QPlainTextEdit::NoWrap);
    MM_Script->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    MM_Script->setInputMethodHints(Qt::ImhPreferLatin);
    v->addWidget(MM_Script);
    return page;
}

void TKOLM210F::connectHandlers()
{
    ui::connectGuarded(bbt_select, &QToolButton::clicked, this, [this] { bbt_selectClick(); });
    ui::connectGuarded(bbt_Excels, &QToolButton::clicked, this, [this] { bbt_ExcelsClick(); });
    ui::connectGuarded(bbt_Prints, &QToolButton::clicked, this, [this] { bbt_PrintsClick(); });
    ui::connectGuarded(bbt_update, &QToolButton::clicked, this, [this] { bbt_updateClick(); });
    ui::connectGuarded(bbt_cleses, &QToolButton::clicked, this, [this] { bbt_clesesClick(); });
    ui::connectGuarded(cb_tabletype, &QComboBox::currentIndexChanged, this,
                       [this] { cb_tabletypeChange(); });
    ui::connectGuarded(ed_select, &QLineEdit::returnPressed, this, [this] { ed_selectEnter(); });
    ui::connectGuarded(cb_check, &QCheckBox::clicked, this, [this] { cb_checkClick(); });
    ui::connectGuarded(AdvStringGrid1, &ui::StringGrid::cellClicked, this,
                       [this](int, int row) { SelectTable(row); });
    ui::connectGuarded(AdvStringGrid1, &ui::StringGrid::checkBoxClicked, this,
                       [this](int, int row, bool state) { checkBoxToggled(row, state); });
    ui::connectGuarded(PageControl1, &QTabWidget::currentChanged, this,
                       [this] { LoadDetailPage(); });
    ui::connectGuarded(AdvStringGrid3, &ui::StringGrid::cellClicked, this,
                       [this](int, int row) { LoadIndexColumns(row); });
    ui::connectGuarded(AdvStringGrid5, &ui::StringGrid::cellClicked, this,
                       [this](int, int row) { LoadConstraintColumns(row); });
    ui::connectGuarded(AdvStringGrid7, &ui::StringGrid::cellClicked, this,
                       [this](int, int row) { ShowTriggerBody(row); });
}

// ---- Window events ---------------------------------------------------------------------------

void TKOLM210F::resizeEvent(QResizeEvent* event)
{
    MdiScreen::resizeEvent(event);
    TableFormWidth = event->size().width();
    TableFormHeight = event->size().height();
}

void TKOLM210F::FormShow()
{
    {
        const QSignalBlocker pages(PageControl1);
        const QSignalBlocker types(cb_tabletype);
        PageControl1->setCurrentIndex(LayoutPage);
        cb_tabletype->setCurrentIndex(0);
    }
    LoadTableList();
    ed_select->setFocus();
}

void TKOLM210F::bbt_selectClick()
{
    LoadTableList();
}

void TKOLM210F::cb_tabletypeChange()
{
    LoadTableList();
    ed_select->setFocus();
}

void TKOLM210F::bbt_clesesClick()
{
    closeScreen();
}

// ---- Common pieces ---------------------------------------------------------------------------

QString TKOLM210F::owner() const
{
    return ConnUser.toUpper();
}

QString TKOLM210F::tableName() const
{
    return m_table;
}

QString TKOLM210F::tableComment() const
{
    return pn_tablename->text();
}

void TKOLM210F::beginLoad()
{
    showStatusNow(QString());
    setOutputEnabled(false);
    bbt_update->setEnabled(false);
}

void TKOLM210F::setOutputEnabled(bool enabled)
{
    bbt_Excels->setEnabled(enabled);
    bbt_Prints->setEnabled(enabled);
}

void TKOLM210F::clearGrid(ui::StringGrid* grid, int cols)
{
    grid->clearData();
    grid->setRowCount(2);
    grid->setColCount(cols);
}

void TKOLM210F::clearTableList()
{
    clearGrid(AdvStringGrid1, kListColumns);
    {
        const QSignalBlocker blocker(cb_check);
        cb_check->setChecked(false);
    }
    cb_check->setText(QStringLiteral("전체출력선택"));
    MM_Script->clear();
    mm_data_file->clear();
    m_schedule->mm_condision->clear();
}

void TKOLM210F::clearTriggerGrid()
{
    clearGrid(AdvStringGrid7, kTriggerColumns);
    mm_DESCRIPTION->clear();
    mm_TRIGGER_BODY->clear();
}

// ---- The table list --------------------------------------------------------------------------

void TKOLM210F::LoadTableList()
{
    ui::BusyCursor busy;
    beginLoad();
    clearTableList();
    clearGrid(AdvStringGrid2, kLayoutColumns);
    clearGrid(AdvStringGrid3, kIndexColumns);
    clearGrid(AdvStringGrid4, kColumnListColumns);
    clearGrid(AdvStringGrid5, kConstraintColumns);
    clearGrid(AdvStringGrid6, kColumnListColumns);
    clearTriggerGrid();

    const QString chosen = cb_tabletype->currentText();
    m_typePattern = chosen == QLatin1String("ALL") ? QStringLiteral("%") : chosen;
    const bool read = readListRows(
        this, Oraclem1, AdvStringGrid1,
        [this](data::HORACLEM1& o) { return o.GetTableList(owner(), m_typePattern); },
        QStringLiteral("ALL_TAB_COMMENTS"),
        [this](const data::HORACLEM1& o, int r, int i) {
            AdvStringGrid1->setCell(0, r, QString::number(r));
            AdvStringGrid1->setCell(1, r, o.slotText(0, i));
            AdvStringGrid1->setCell(2, r, o.slotText(1, i));
            AdvStringGrid1->addCheckBox(kCheckColumn, r, false);
            AdvStringGrid1->setCell(4, r, o.slotText(2, i));
            AdvStringGrid1->setCell(kFlagColumn, r, kNo);
        });
    if (!read)
        return;
    const QString n = QString::number(RowCount);
    setOutputEnabled(true);
    setStatusText(QStringLiteral("▶ 테이블이 ") + n + QStringLiteral("건 조회 되었습니다..."));
    lb_DataCnt->setText(QStringLiteral("검색건수 : ") + n + QStringLiteral(" 건"));
    SelectTable(1);
}

void TKOLM210F::SelectTable(int row)
{
    if (row <= 0)
        return;
    ed_select->setText(AdvStringGrid1->cell(1, row));
    m_table = ed_select->text();
    if (ed_select->text().isEmpty())
        return;
    pn_tablename->setText(AdvStringGrid1->cell(2, row));
    lb_tabtype->setText(AdvStringGrid1->cell(4, row));
    LoadDetailPage();
}

void TKOLM210F::ed_selectEnter()
{
    const QString text = ed_select->text();
    int col = 0;
    int row = 0;
    if (!AdvStringGrid1->findFirst(text, &col, &row)) {
        // The list stays where it was; the typed text stays for correcting.
        setStatusText(QStringLiteral("▶ ") + text + QStringLiteral(" 테이블을 찾을 수 없습니다..."));
        ed_select->selectAll();
        return;
    }
    AdvStringGrid1->setCurrentCell(col, row);
    AdvStringGrid1->setFocus();
    SelectTable(row);
}

void TKOLM210F::checkBoxToggled(int row, bool checked)
{
    if (row <= 0 || !AdvStringGrid1->hasCheckBox(kCheckColumn, row))
        return;
    AdvStringGrid1->setCell(kFlagColumn, row, checked ? kYes : kNo);
}

void TKOLM210F::cb_checkClick()
{
    const bool all = cb_check->isChecked();
    cb_check->setText(all ? QStringLiteral("전체출력취소") : QStringLiteral("전체출력선택"));
    for (int r = 1; r < AdvStringGrid1->rowCount(); ++r) {
        if (!AdvStringGrid1->hasCheckBox(kCheckColumn, r))
            continue;
        AdvStringGrid1->setCell(kFlagColumn, r, all ? kYes : kNo);
        AdvStringGrid1->setCheckBoxState(kCheckColumn, r, all);
    }
}

QList<int> TKOLM210F::markedRows() const
{
    QList<int> rows;
    for (int r = 1; r < AdvStringGrid1->rowCount(); ++r)
        if (AdvStringGrid1->cell(kFlagColumn, r) == kYes)
            rows.append(r);
    return rows;
}

// ---- Detail pages ----------------------------------------------------------------------------

void TKOLM210F::LoadDetailPage()
{
    switch (PageControl1->currentIndex()) {
    case LayoutPage:
        LoadLayout();
        break;
    case IndexPage:
        LoadIndexes();
        break;
    case ConstraintPage:
        LoadConstraints();
        break;
    case TriggerPage:
        LoadTriggers();
        break;
    case ScriptPage:
        LoadLayout();
        LoadIndexes();
        LoadBackupInfo();
        BuildObjectScript();
        break;
    case BackupPage:
        LoadBackupInfo();
        break;
    default:
        break;
    }
}

void TKOLM210F::LoadLayout()
{
    ui::BusyCursor busy;
    beginLoad();
    clearGrid(AdvStringGrid2, kLayoutColumns);
    const QString table = tableName();
    // The unique index columns of the table, read once: "P" + place and the index of a column come
    // from the first row that names it.
    QHash<QString, std::pair<QString, QString>> uniqueColumns;
    bool uniqueColumnsRead = false;
    const bool read = readListRows(
        this, Oraclem2, AdvStringGrid2,
        [&](data::HORACLEM2& o) { return o.GetTableColumns(owner(), table); },
        QStringLiteral("ALL_TAB_COLUMNS & ALL_COL_COMMENTS"),
        [&](const data::HORACLEM2& o, int r, int i) {
            const QString column = o.slotText(1, i);
            const QString type = o.slotText(3, i);
            const bool number = type == QLatin1String("NUMBER");
            AdvStringGrid2->setCell(0, r, o.slotText(0, i));
            AdvStringGrid2->setCell(1, r, column);
            AdvStringGrid2->setCell(2, r, o.slotText(2, i));
            AdvStringGrid2->setCell(3, r, type);
            AdvStringGrid2->setCell(
                4, r,
                number ? o.slotText(7, i) + QLatin1Char(',') + o.slotText(8, i) : o.slotText(4, i));
            AdvStringGrid2->setCell(5, r, o.slotText(5, i));
            AdvStringGrid2->setCell(6, r, QString());
            AdvStringGrid2->setCell(7, r, number ? QStringLiteral("0") : QString());
            AdvStringGrid2->setCell(8, r, QString());
            if (!uniqueColumnsRead) {
                uniqueColumnsRead = true;
                Oraclem1 = std::make_unique<data::HORACLEM1>();
                const int n = Oraclem1->GetUniqueIndexColumns(owner(), table);
                for (int u = 0; u < n; ++u)
                    if (!uniqueColumns.contains(Oraclem1->slotText(0, u)))
                        uniqueColumns.insert(Oraclem1->slotText(0, u),
                                             {Oraclem1->slotText(1, u), Oraclem1->slotText(2, u)});
                Oraclem1.reset();
            }
            if (const auto it = uniqueColumns.constFind(column); it != uniqueColumns.constEnd()) {
                AdvStringGrid2->setCell(6, r, QStringLiteral("P") + it->first);
                AdvStringGrid2->setCell(8, r, it->second);
            }
        });
    if (!read)
        return;
    setOutputEnabled(true);
    setStatusText(QStringLiteral("▶ ") + table + QLatin1Char('(') + tableComment() +
                  QStringLiteral(") 테이블 레이아웃이 조회 되었습니다..."));
}

void TKOLM210F::LoadIndexes()
{
    ui::BusyCursor busy;
    beginLoad();
    clearGrid(AdvStringGrid3, kIndexColumns);
    clearGrid(AdvStringGrid4, kColumnListColumns);
    const QString table = tableName();
    const bool read = readListRows(
        this, Oraclem2, AdvStringGrid3,
        [&](data::HORACLEM2& o) { return o.GetTableIndexes(owner(), table); },
        QStringLiteral("ALL_INDEXES SELECT"),
        [&](const data::HORACLEM2& o, int r, int i) {
            const QString index = o.slotText(0, i);
            AdvStringGrid3->setCell(0, r, QString::number(r));
            AdvStringGrid3->setCell(1, r, index);
            AdvStringGrid3->setCell(2, r, QStringLiteral("Index Key"));
            AdvStringGrid3->setCell(3, r, o.slotText(1, i));
            AdvStringGrid3->setCell(4, r, o.slotText(2, i));
            for (int c = 5; c <= 12; ++c)
                AdvStringGrid3->setCell(c, r,
                                        FormatAmount(o.slotText(c - 2, i), QStringLiteral("0")));
            // A unique constraint also lends its name to its index; only the primary key's
            // index is the "Primary Key" the script writes.
            Oraclem1 = std::make_unique<data::HORACLEM1>();
            if (Oraclem1->GetConstraintType(owner(), table, index) > 0 &&
                Oraclem1->slotText(0) == QLatin1String("P"))
                AdvStringGrid3->setCell(2, r, QStringLiteral("Primary Key"));
            Oraclem1.reset();
        });
    if (!read)
        return;
    setStatusText(QStringLiteral("▶ ") + table + QLatin1Char('(') + tableComment() +
                  QStringLiteral(") 테이블 인덱스 현황이 조회 되었습니다..."));
    LoadIndexColumns(1);
}

void TKOLM210F::loadIndexColumnGrid(ui::StringGrid* grid, const QString& index,
                                    const QString& doneText)
{
    ui::BusyCursor busy;
    beginLoad();
    clearGrid(grid, kColumnListColumns);
    const QString table = tableName();
    const bool read = readListRows(
        this, Oraclem2, grid,
        [&](data::HORACLEM2& o) { return o.GetIndexColumnList(owner(), table, index); },
        QStringLiteral("ALL_IND_COLUMNS SELECT"),
        [&](const data::HORACLEM2& o, int r, int i) {
            const QString column = o.slotText(0, i);
            grid->setCell(0, r, QString::number(r));
            grid->setCell(1, r, column);
            grid->setCell(3, r, o.slotText(1, i));
            grid->setCell(5, r, FormatAmount(o.slotText(2, i), QStringLiteral("0")));
            Oraclem1 = std::make_unique<data::HORACLEM1>();
            if (Oraclem1->GetColumnInfo(owner(), table, column) > 0) {
                grid->setCell(2, r, Oraclem1->slotText(2));
                grid->setCell(4, r, Oraclem1->slotText(3));
            }
            Oraclem1.reset();
        });
    if (read)
        setStatusText(QStringLiteral("▶ ") + table + QLatin1Char('(') + index +
                      QStringLiteral(") ") + doneText);
}

void TKOLM210F::LoadIndexColumns(int row)
{
    if (row <= 0 || AdvStringGrid3->cell(1, row).isEmpty())
        return;
    m_indexName = AdvStringGrid3->cell(1, row);
    loadIndexColumnGrid(AdvStringGrid4, m_indexName,
                        QStringLiteral("테이블 인덱스 컬럼이 조회 되었습니다..."));
}

void TKOLM210F::LoadConstraints()
{
    ui::BusyCursor busy;
    beginLoad();
    clearGrid(AdvStringGrid5, kConstraintColumns);
    clearGrid(AdvStringGrid6, kColumnListColumns);
    const QString table = tableName();
    const bool read = readListRows(
        this, Oraclem2, AdvStringGrid5,
        [&](data::HORACLEM2& o) { return o.GetTableConstraints(owner(), table); },
        QStringLiteral("ALL_CONSTRAINTS SELECT"),
        [this](const data::HORACLEM2& o, int r, int i) {
            AdvStringGrid5->setCell(0, r, QString::number(r));
            for (int c = 1; c <= 3; ++c)
                AdvStringGrid5->setCell(c, r, o.slotText(c - 1, i));
            AdvStringGrid5->setCell(4, r, QStringLiteral("(Memo)"));
            for (int c = 5; c <= 8; ++c)
                AdvStringGrid5->setCell(c, r, o.slotText(c - 2, i));
        });
    if (!read)
        return;
    setStatusText(QStringLiteral("▶ ") + table + QLatin1Char('(') + tableComment() +
                  QStringLiteral(") 테이블 제약조건 현황이 조회 되었습니다..."));
    LoadConstraintColumns(1);
}

void TKOLM210F::LoadConstraintColumns(int row)
{
    if (row <= 0)
        return;
    m_constraintName = AdvStringGrid5->cell(1, row);
    // The columns shown are those of the index that bears the constraint's name.
    loadIndexColumnGrid(AdvStringGrid6, m_constraintName,
                        QStringLiteral("테이블 제약조건 컬럼이 조회 되었습니다..."));
}

void TKOLM210F::LoadTriggers()
{
    ui::BusyCursor busy;
    beginLoad();
    clearTriggerGrid();
    const bool read = readListRows(
        this, Oraclem2, AdvStringGrid7,
        [this](data::HORACLEM2& o) { return o.GetTriggers(owner()); },
        QStringLiteral("ALL_TRIGGERS SELECT"),
        [this](const data::HORACLEM2& o, int r, int i) {
            AdvStringGrid7->setCell(0, r, QString::number(r));
            for (int c = 1; c <= 8; ++c)
                AdvStringGrid7->setCell(c, r, o.slotText(c - 1, i));
        });
    if (!read)
        return;
    setStatusText(QStringLiteral("▶ ") + tableName() + QLatin1Char('(') + tableComment() +
                  QStringLiteral(") 테이블 트리거 현황이 조회 되었습니다..."));
    ShowTriggerBody(1);
}

void TKOLM210F::ShowTriggerBody(int row)
{
    if (row <= 0 || AdvStringGrid7->cell(1, row).isEmpty())
        return;
    ui::BusyCursor busy;
    m_triggerName = AdvStringGrid7->cell(1, row);
    Oraclem1 = std::make_unique<data::HORACLEM1>();
    const int t = Oraclem1->GetTriggerBody(owner(), m_triggerName);
    if (t > 0) {
        mm_DESCRIPTION->setPlainText(Oraclem1->slotText(0, 0));
        mm_TRIGGER_BODY->setPlainText(Oraclem1->slotText(1, 0));
    } else {
        showReadError(QStringLiteral("ALL_TRIGGERS SELECT"), t);
    }
    Oraclem1.reset();
}

// ---- The script page -------------------------------------------------------------------------

void TKOLM210F::BuildObjectScript()
{
    ui::BusyCursor busy;
    beginLoad();
    MM_Script->clear();
    const QString type = lb_tabtype->text();
    const QString name = tableName();
    QStringList lines;
    if (type == QLatin1String("TABLE")) {
        TableScriptSource source;
        source.table = name;
        source.comment = tableComment();
        for (int r = 1; r < AdvStringGrid2->rowCount(); ++r)
            source.columns.append({AdvStringGrid2->cell(1, r), AdvStringGrid2->cell(2, r),
                                   AdvStringGrid2->cell(3, r), AdvStringGrid2->cell(4, r),
                                   AdvStringGrid2->cell(5, r)});
        QList<ScriptIndex> indexes;
        for (int r = 1; r < AdvStringGrid3->rowCount(); ++r)
            indexes.append({AdvStringGrid3->cell(1, r), AdvStringGrid3->cell(2, r),
                            AdvStringGrid3->cell(4, r), AdvStringGrid3->cell(7, r),
                            AdvStringGrid3->cell(8, r), AdvStringGrid3->cell(11, r),
                            AdvStringGrid3->cell(12, r)});
        source.key = primaryKeyOf(indexes, [this](int i) {
            LoadIndexColumns(i + 1);
            QStringList columns;
            for (int r = 1; r < AdvStringGrid4->rowCount(); ++r)
                if (!AdvStringGrid4->cell(1, r).isEmpty())
                    columns.append(AdvStringGrid4->cell(1, r));
            return columns;
        });
        source.storage = {pn_tablespace->text(), pn_init_extent->text(), pn_next_extent->text(),
                          pn_freelists->text(),  pn_pct_increase->text(), pn_pct_free->text(),
                          pn_pct_used->text()};
        lines = BuildTableScript(source);
    } else if (type == QLatin1String("VIEW")) {
        lines = BuildViewScript(name);
    } else if (type == QLatin1String("SYNONYM")) {
        lines = BuildSynonymScript(owner(), name);
    } else if (type == QLatin1String("SEQUENCE")) {
        lines = BuildSequenceScript(owner(), name);
    }
    MM_Script->setPlainText(lines.join(QLatin1Char('\n')));
}

}  // namespace kolmara::screens
