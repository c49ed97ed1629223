// The database information screen.
#include "screens/dbinfo/KOLM120U.h"

#include "common/Errors.h"
#include "common/KOLMCOMM.h"
#include "data/SharedSlots.h"
#include "screens/GridCsvExport.h"
#include "screens/ListGrid.h"
#include "widgets/ActionGuard.h"
#include "widgets/StringGrid.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace kolmara::screens {

namespace {

// Header colours of the grids, $00BBGGRR.
constexpr quint32 kHeaderNls = 0x00FFFFE8;      // RGB(232, 255, 255)
constexpr quint32 kHeaderSgaStat = 0x00FFECFF;  // RGB(255, 236, 255)

constexpr double kBytesPerMegabyte = 1048576.0;

enum Page { kInstancePage, kParameterPage, kResourcePage, kDictionaryPage };

QString amount(const QString& number)
{
    return FormatAmount(number, QStringLiteral("0"));
}

// Bytes as whole megabytes of 2^20 bytes, rounded half away from zero, with thousands separators.
QString megabytes(const QString& bytes)
{
    const QString text = bytes.trimmed();
    double value = 0.0;
    if (!text.isEmpty()) {
        bool ok = false;
        value = text.toDouble(&ok);
        if (!ok)
            throw ConversionError(
                QStringLiteral("'%1' is not a valid floating point value").arg(bytes));
    }
    return amount(QString::number(std::llround(value / kBytesPerMegabyte)));
}

// The information lists: the list look, scrolling vertically only.
GridDesign list(const char* name, QList<GridColumn> columns, quint32 headerBgr = ui::kCaptionColor)
{
    return {.name = QString::fromLatin1(name),
            .columns = std::move(columns),
            .headerBgr = headerBgr,
            .whiteSelection = true,
            .horizontalBar = Qt::ScrollBarAlwaysOff};
}

QGroupBox* group(const QString& title, QWidget* content, QWidget* parent)
{
    auto* box = new QGroupBox(title, parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(2, 2, 2, 2);
    content->setParent(box);
    layout->addWidget(content);
    return box;
}

}  // namespace

TKOLM120F::TKOLM120F(QWidget* parent)
    // A client area of 877 x 602 inside the child window's frame.
    : MdiScreen(QStringLiteral("데이타베이스 정보"), QSize(885, 630), parent)
{
    setObjectName(QStringLiteral("TKOLM120F"));
    setupUi();
}

void TKOLM120F::setupUi()
{
    QToolBar* tools = addToolStrip();
    sbt_select = addListButton(tools);
    sbt_Excels = addExportButton(tools);
    sbt_cleses = addCloseButton(tools);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    addBody(PageControl1);

    PageControl1->addTab(buildInstancePage(), QStringLiteral("인스턴스"));

    auto* parameterPage = new QWidget(PageControl1);
    parameterPage->setObjectName(QStringLiteral("TabSheet2"));
    auto* pl = new QVBoxLayout(parameterPage);
    pl->setContentsMargins(2, 2, 2, 2);
    using enum Align;
    AdvStringGrid4 = buildGrid(parameterPage, list("AdvStringGrid4",
                                                   {{QStringLiteral("No."), 48, Centre},
                                                    {QStringLiteral("NAME"), 112},
                                                    {QStringLiteral("TYPE"), 100, Right},
                                                    {QStringLiteral("VALUE"), 92},
                                                    {QStringLiteral("ISDEFAULT"), 94},
                                                    {QStringLiteral("ISSES_MODIFIABLE"), 100},
                                                    {QStringLiteral("ISSYS_MODIFIABLE"), 100},
                                                    {QStringLiteral("ISMODIFIED"), 100},
                                                    {QStringLiteral("ISADJUSTED"), 100}}));
    pl->addWidget(AdvStringGrid4);
    PageControl1->addTab(parameterPage, QStringLiteral("파라미터"));

    auto* resourcePage = new QWidget(PageControl1);
    resourcePage->setObjectName(QStringLiteral("TabSheet3"));
    auto* rl = new QVBoxLayout(resourcePage);
    rl->setContentsMargins(2, 2, 2, 2);
    AdvStringGrid5 = buildGrid(
        resourcePage, list("AdvStringGrid5", {{QStringLiteral("No."), 48, Centre},
                                              {QStringLiteral("RESOURCE_NAME"), 275},
                                              {QStringLiteral("CURRENT_UTILIZATION"), 130, Right},
                                              {QStringLiteral("MAX_UTILIZATION"), 130, Right},
                                              {QStringLiteral("INITIAL_ALLOCATION"), 130, Right},
                                              {QStringLiteral("LIMIT_VALUE"), 131, Right}}));
    rl->addWidget(AdvStringGrid5);
    PageControl1->addTab(resourcePage, QStringLiteral("자원제약"));

    PageControl1->addTab(buildDictionaryPage(), QStringLiteral("딕셔너리"));

    ui::connectGuarded(sbt_select, &QToolButton::clicked, this, [this] { sbt_selectClick(); });
    ui::connectGuarded(sbt_Excels, &QToolButton::clicked, this, [this] { sbt_ExcelsClick(); });
    ui::connectGuarded(sbt_cleses, &QToolButton::clicked, this, [this] { bbt_ClosesClick(); });
    ui::connectGuarded(PageControl1, &QTabWidget::currentChanged, this,
                       [this] { PageControl1Change(); });
    ui::connectGuarded(AdvStringGrid6, &ui::StringGrid::cellClicked, this,
                       [this](int col, int row) { AdvStringGrid6ClickCell(col, row); });
}

QWidget* TKOLM120F::buildInstancePage()
{
    auto* page = new QWidget(PageControl1);
    page->setObjectName(QStringLiteral("TabSheet1"));
    auto* columns = new QHBoxLayout(page);
    columns->setContentsMargins(2, 2, 2, 2);

    auto* left = new QVBoxLayout;
    mm_version = new QPlainTextEdit;
    mm_version->setObjectName(QStringLiteral("mm_version"));
    mm_version->setReadOnly(true);
    mm_version->setLineWrapMode(QPlainTextEdit::NoWrap);
    mm_version->setStyleSheet(QStringLiteral("QPlainTextEdit { background: rgb(255, 255, 223); }"));
    auto* versionBox = group(QStringLiteral("[버젼]"), mm_version, page);
    versionBox->setFixedHeight(184);
    left->addWidget(versionBox);
    using enum Align;
    AdvStringGrid1 = buildGrid(nullptr, list("AdvStringGrid1",
                                             {{QStringLiteral("No."), 30, Centre},
                                              {QStringLiteral("Name"), 120},
                                              {QStringLiteral("Value(Byte)"), 110, Right},
                                              {QStringLiteral("Value(M)"), 77, Right}}));
    left->addWidget(group(QStringLiteral("[영역(SGA)]"), AdvStringGrid1, page), 1);
    auto* leftColumn = new QWidget(page);
    leftColumn->setFixedWidth(350);
    left->setContentsMargins(0, 0, 0, 0);
    leftColumn->setLayout(left);
    columns->addWidget(leftColumn);

    auto* right = new QVBoxLayout;
    // The language settings follow the rule of the dictionary lists: names and values are text.
    AdvStringGrid2 = buildGrid(nullptr, list("AdvStringGrid2",
                                             {{QStringLiteral("No."), 30, Centre},
                                              {QStringLiteral("Name"), 239},
                                              {QStringLiteral("Value"), 220}},
                                             kHeaderNls));
    auto* nlsBox = group(QStringLiteral("[언어]"), AdvStringGrid2, page);
    nlsBox->setFixedHeight(184);
    right->addWidget(nlsBox);
    AdvStringGrid3 = buildGrid(nullptr, list("AdvStringGrid3",
                                             {{QStringLiteral("No."), 30, Centre},
                                              {QStringLiteral("Name"), 239},
                                              {QStringLiteral("Value(Byte)"), 220, Right}},
                                             kHeaderSgaStat));
    right->addWidget(group(QStringLiteral("[영역상태]"), AdvStringGrid3, page), 1);
    columns->addLayout(right, 1);
    return page;
}

QWidget* TKOLM120F::buildDictionaryPage()
{
    auto* page = new QWidget(PageControl1);
    page->setObjectName(QStringLiteral("TabSheet4"));
    auto* columns = new QHBoxLayout(page);
    columns->setContentsMargins(2, 2, 2, 2);
    using enum Align;
    GridDesign tables = list("AdvStringGrid6", {{QStringLiteral("No."), 30, Centre},
                                                {QStringLiteral("TABLE_NAME"), 116},
                                                {QStringLiteral("COMMENTS"), 160}});
    tables.rowSelect = true;
    AdvStringGrid6 = buildGrid(page, tables);
    AdvStringGrid6->setFixedWidth(329);
    columns->addWidget(AdvStringGrid6);
    AdvStringGrid7 = buildGrid(nullptr, list("AdvStringGrid7",
                                             {{QStringLiteral("No."), 30, Centre},
                                              {QStringLiteral("COLUMN_NAME"), 116},
                                              {QStringLiteral("COMMENTS"), 368}}));
    GroupBox5 = group(QStringLiteral("[]"), AdvStringGrid7, page);
    GroupBox5->setObjectName(QStringLiteral("GroupBox5"));
    columns->addWidget(GroupBox5, 1);
    return page;
}

void TKOLM120F::FormShow()
{
    {
        const QSignalBlocker blocker(PageControl1);
        PageControl1->setCurrentIndex(kInstancePage);
    }
    sbt_selectClick();
}

void TKOLM120F::sbt_selectClick()
{
    switch (PageControl1->currentIndex()) {
    case kInstancePage:
        LoadInstanceTab();
        break;
    case kParameterPage:
        LoadParameterTab();
        break;
    case kResourcePage:
        LoadResourceLimitTab();
        break;
    default:
        LoadDictionaryTab();
        break;
    }
}

void TKOLM120F::PageControl1Change()
{
    sbt_Excels->setEnabled(false);
    if (PageControl1->currentIndex() != kInstancePage)
        sbt_Excels->setEnabled(true);
    sbt_selectClick();
}

void TKOLM120F::bbt_ClosesClick()
{
    closeScreen();
}

void TKOLM120F::beginLoad()
{
    ui::setBusyCursor(true);
    showStatusNow(QString());
}

void TKOLM120F::ClearSgaGrid()
{
    AdvStringGrid1->clearData();
    mm_version->clear();
}

void TKOLM120F::ClearNlsGrid() { AdvStringGrid2->clearData(); }
void TKOLM120F::ClearSgaStatGrid() { AdvStringGrid3->clearData(); }
void TKOLM120F::ClearParameterGrid() { AdvStringGrid4->clearData(); }
void TKOLM120F::ClearResourceGrid() { AdvStringGrid5->clearData(); }
void TKOLM120F::ClearDictionaryGrid() { AdvStringGrid6->clearData(); }
void TKOLM120F::ClearDictColumnGrid() { AdvStringGrid7->clearData(); }

void TKOLM120F::LoadInstanceTab()
{
    beginLoad();
    ClearSgaGrid();
    ClearNlsGrid();
    ClearSgaStatGrid();

    Oraclem1 = std::make_unique<data::HORACLEM1>();
    RowCount = Oraclem1->GetVersion();
    if (RowCount <= 0) {
        Oraclem1.reset();
        showReadError(QStringLiteral("V$VERSION"), RowCount);
        ui::setBusyCursor(false);
        return;
    }
    QStringList lines = {QStringLiteral("[DATABASE VERSION]"), QString()};
    for (int i = 0; i < RowCount; ++i)
        lines.append(Oraclem1->slotText(0, i));
    mm_version->setPlainText(lines.join(QLatin1Char('\n')));
    Oraclem1.reset();

    // Each read in turn; the first that fails ends the page, the grids after it stay cleared.
    const bool read =
        readListRows(
            this, Oraclem1, AdvStringGrid1, &data::HORACLEM1::GetSga, QStringLiteral("V$SGA"),
            [this](const data::HORACLEM1& o, int r, int i) {
                const QString bytes = o.slotText(1, i);
                setRow(AdvStringGrid1, r,
                       {QString::number(r), o.slotText(0, i), amount(bytes), megabytes(bytes)});
            }) &&
        readListRows(
            this, Oraclem1, AdvStringGrid2, &data::HORACLEM1::GetNlsParameters,
            QStringLiteral("V$NLS_PARAMETERS"),
            [this](const data::HORACLEM1& o, int r, int i) {
                setRow(AdvStringGrid2, r, {QString::number(r), o.slotText(0, i), o.slotText(1, i)});
            }) &&
        // The memory statistics report under the SGA's own name.
        readListRows(this, Oraclem1, AdvStringGrid3, &data::HORACLEM1::GetSgaStat,
                     QStringLiteral("V$SGA"), [this](const data::HORACLEM1& o, int r, int i) {
                         setRow(AdvStringGrid3, r,
                                {QString::number(r), o.slotText(1, i), amount(o.slotText(2, i))});
                     });
    if (read)
        setStatusText(QStringLiteral("▶ 데이타베이스 정보가 조회 되었습니다..."));
    ui::setBusyCursor(false);
}

void TKOLM120F::LoadParameterTab()
{
    beginLoad();
    ClearParameterGrid();
    const bool read =
        readListRows(this, Oraclem1, AdvStringGrid4, &data::HORACLEM1::GetParameters,
                     QStringLiteral("V$PARAMETER"), [this](const data::HORACLEM1& o, int r, int i) {
                         // "No." is NUM, the parameter's own number.
                         setRow(AdvStringGrid4, r,
                                {o.slotText(8, i), o.slotText(0, i), amount(o.slotText(1, i)),
                                 o.slotText(2, i), o.slotText(3, i), o.slotText(4, i),
                                 o.slotText(5, i), o.slotText(6, i), o.slotText(7, i)});
                     });
    if (read) {
        sbt_Excels->setEnabled(true);
        setStatusText(QStringLiteral("▶ 데이타베이스 파라미터 정보가 조회 되었습니다..."));
    }
    ui::setBusyCursor(false);
}

void TKOLM120F::LoadResourceLimitTab()
{
    beginLoad();
    ClearResourceGrid();
    const bool read = readListRows(
        this, Oraclem1, AdvStringGrid5, &data::HORACLEM1::GetResourceLimits,
        QStringLiteral("V$RESOURCE_LIMIT"), [this](const data::HORACLEM1& o, int r, int i) {
            // Allocations and limits as read: they may be texts such as UNLIMITED.
            setRow(AdvStringGrid5, r,
                   {QString::number(r), o.slotText(0, i), amount(o.slotText(1, i)),
                    amount(o.slotText(2, i)), o.slotText(3, i), o.slotText(4, i)});
        });
    if (read) {
        sbt_Excels->setEnabled(true);
        setStatusText(QStringLiteral("▶ 데이타베이스 자원제약 정보가 조회 되었습니다..."));
    }
    ui::setBusyCursor(false);
}

void TKOLM120F::LoadDictionaryTab()
{
    beginLoad();
    ClearDictionaryGrid();
    ClearDictColumnGrid();
    const bool read = readListRows(
        this, Oraclem1, AdvStringGrid6, &data::HORACLEM1::GetDictionary,
        QStringLiteral("DICTIONARY"), [this](const data::HORACLEM1& o, int r, int i) {
            setRow(AdvStringGrid6, r, {QString::number(r), o.slotText(0, i), o.slotText(1, i)});
        });
    if (read) {
        AdvStringGrid6ClickCell(1, 1);
        AdvStringGrid6->setFocus();
        sbt_Excels->setEnabled(true);
        setStatusText(QStringLiteral("▶ 데이타베이스 딕셔너리 정보가 조회 되었습니다..."));
    }
    ui::setBusyCursor(false);
}

void TKOLM120F::AdvStringGrid6ClickCell(int /*col*/, int row)
{
    if (row <= 0 || row >= AdvStringGrid6->rowCount())
        return;
    const QString view = AdvStringGrid6->cell(1, row);
    if (view.isEmpty())
        return;
    GroupBox5->setTitle(QStringLiteral("[") + view + QStringLiteral("]"));

    // The column list is not cleared first: a view without columns leaves the previous one's.
    const ui::BusyCursor busy;
    readListRows(
        this, Oraclem1, AdvStringGrid7,
        [&view](data::HORACLEM1& o) { return o.GetDictColumns(view); },
        QStringLiteral("DICT_COLUMNS"),
        [this](const data::HORACLEM1& o, int r, int i) {
            setRow(AdvStringGrid7, r, {QString::number(r), o.slotText(1, i), o.slotText(2, i)});
        });
}

void TKOLM120F::sbt_ExcelsClick()
{
    switch (PageControl1->currentIndex()) {
    case kParameterPage:
        exportGridToCsv(this, AdvStringGrid4, ConnServer + QStringLiteral("_Oracle_Parameter.Csv"));
        break;
    case kResourcePage:
        exportGridToCsv(this, AdvStringGrid5,
                        ConnServer + QStringLiteral("_Oracle_ResourceLimit.Csv"));
        break;
    case kDictionaryPage:
        exportGridToCsv(this, AdvStringGrid6,
                        ConnServer + QStringLiteral("_Oracle_Dictionary.Csv"));
        break;
    default:
        break;
    }
}

}  // namespace kolmara::screens
