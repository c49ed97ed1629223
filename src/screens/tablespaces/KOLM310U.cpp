// The tablespaces and rollback segments screen.
#include "screens/tablespaces/KOLM310U.h"

#include "common/KOLMCOMM.h"
#include "data/SharedSlots.h"
#include "db/FloatFormat.h"
#include "screens/GridCsvExport.h"
#include "screens/ListGrid.h"
#include "screens/Panels.h"
#include "widgets/ActionGuard.h"
#include "widgets/Colors.h"
#include "widgets/StringGrid.h"
#include "widgets/ToolButtons.h"
#include "widgets/UiServices.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace kolmara::screens {

namespace {

constexpr int kTablespaceColumns = 11;
constexpr int kDatafileColumns = 9;
constexpr int kTableColumns = 8;
constexpr int kRollbackColumns = 13;
constexpr int kColorCodeColumn = 10;  // tablespace grid: the code that colours the row
constexpr int kDatafileMarker = 8;    // datafile grid: "--" under a group's last row
constexpr int kRollbackMarker = 12;   // rollback grid: "--" under the last segment
constexpr double kMegabyte = 1048576.0;

// The colours of the free-share bands up to 10.9, 20.9 and 30.9 per cent, as the legend shows
// them. The grid's code column, and so its CSV export, carries them as text in the system's
// $00BBGGRR form.
constexpr quint32 kBandColors[] = {0x00F5ECFF, 0x00FFDFEF, 0x00DFFFFF};

QString colorCode(quint32 bgr)
{
    return QStringLiteral("$%1").arg(bgr, 8, 16, QLatin1Char('0')).toUpper();
}

// Asked for every painted cell, so the texts are made once.
QColor bandColor(const QString& code)
{
    static const QString codes[] = {colorCode(kBandColors[0]), colorCode(kBandColors[1]),
                                    colorCode(kBandColors[2])};
    for (int i = 0; i < 3; ++i)
        if (code == codes[i])
            return ui::colorFromBgr(kBandColors[i]);
    return {};
}

// The code of a free share already rounded to one decimal. A share of 0.0 (nothing free, or too
// little to show) and 31.0 upwards get none. Counting in tenths keeps the edges exact.
QString bandCode(double share)
{
    const qint64 tenths = qRound64(share * 10);
    if (tenths < 1 || tenths > 309)
        return {};
    return colorCode(kBandColors[tenths <= 109 ? 0 : tenths <= 209 ? 1 : 2]);
}

// FormatAmount of a value the screen computed, handed over in the text form the query objects
// use for numbers.
QString amount(double value, const QString& digits)
{
    return FormatAmount(db::formatGeneralFloat(value), digits);
}

// The number FormatAmount(value, "1") shows. Its digits are the same on every desktop, so they
// come from the same rounding here rather than from reading back a text whose separators vary.
double roundedToTenths(double value)
{
    return QString::number(db::formatGeneralFloat(value).toDouble(), 'f', 1).toDouble();
}

// The shortest text of a number (13 rather than 13.0), in the desktop's decimal separator like
// the amounts beside it.
QString shortestText(double value)
{
    QLocale locale = QLocale::system();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'g', 15);
}

}  // namespace

TKOLM310F::TKOLM310F(QWidget* parent)
    : MdiScreen(QStringLiteral("테이블스페이 정보"), QSize(809, 646), parent)
{
    setObjectName(QStringLiteral("TKOLM310F"));
    setupUi();
}

void TKOLM310F::setupUi()
{
    QToolBar* tools = addToolStrip();
    sbt_select = addListButton(tools);
    sbt_Excels =
        ui::addToolButton(tools, QStringLiteral("sbt_Excels"), QStringLiteral("엑셀로 전환"),
                          QStringLiteral("XLS"), QColor(30, 130, 70));
    sbt_cleses = addCloseButton(tools);
    sbt_Excels->setEnabled(false);
    auto* spacer = new QWidget(tools);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    tools->addWidget(spacer);
    auto legend = [tools](const QString& name, const QString& text, quint32 color) {
        auto* panel = new QLabel(text, tools);
        panel->setObjectName(name);
        panel->setFixedSize(50, 21);
        panel->setAlignment(Qt::AlignCenter);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        colourOwnBackground(panel);
        QPalette palette = panel->palette();
        palette.setColor(QPalette::Window, ui::colorFromBgr(color));
        palette.setColor(QPalette::WindowText, Qt::black);
        panel->setPalette(palette);
        tools->addWidget(panel);
        return panel;
    };
    Panel1 = legend(QStringLiteral("Panel1"), QStringLiteral("10%"), kBandColors[0]);
    Panel2 = legend(QStringLiteral("Panel2"), QStringLiteral("20%"), kBandColors[1]);
    Panel3 = legend(QStringLiteral("Panel3"), QStringLiteral("30%"), kBandColors[2]);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    addBody(PageControl1);

    // The tablespaces page: the tablespace list over the chosen tablespace's datafiles and tables.
    auto* tablespacePage = new QWidget(PageControl1);
    tablespacePage->setObjectName(QStringLiteral("TabSheet1"));
    auto* tablespaceLayout = new QVBoxLayout(tablespacePage);
    tablespaceLayout->setContentsMargins(2, 2, 2, 2);
    Splitter1 = new QSplitter(Qt::Vertical, tablespacePage);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    tablespaceLayout->addWidget(Splitter1);

    using enum Align;
    AdvStringGrid1 = buildGrid(Splitter1, {.name = QStringLiteral("AdvStringGrid1"),
                                           .columns = {{QStringLiteral("TS#"), 51, Centre},
                                                       {QStringLiteral("TABLESPACE_NAME"), 120},
                                                       {QStringLiteral("INIT_EXTENT"), 100, Right},
                                                       {QStringLiteral("NEXT_EXTENT"), 100, Right},
                                                       {QStringLiteral("MIN_EXTENTS"), 100, Right},
                                                       {QStringLiteral("MAX_EXTENTS"), 100, Right},
                                                       {QStringLiteral("PCT_INCREASE"), 100, Right},
                                                       {QStringLiteral("%FREE"), 100, Right},
                                                       {QStringLiteral("STATUS"), 100, Centre},
                                                       {QStringLiteral("CONTENTS"), 100, Centre},
                                                       {QString(), 100}},
                                           .rowHeight = 19,
                                           .rowSelect = true,
                                           .horizontalBar = Qt::ScrollBarAlwaysOff});
    AdvStringGrid1->setRowColorFunction(
        [grid = AdvStringGrid1](int row) { return bandColor(grid->cell(kColorCodeColumn, row)); });

    PageControl2 = new QTabWidget(Splitter1);
    PageControl2->setObjectName(QStringLiteral("PageControl2"));
    AdvStringGrid2 = buildGrid(PageControl2,
                               {.name = QStringLiteral("AdvStringGrid2"),
                                .columns = {{QStringLiteral("FILE#"), 51, Centre},
                                            {QStringLiteral("FILE_NAME"), 230},
                                            {QStringLiteral("TOTAL(M)"), 80, Right},
                                            {QStringLiteral("BLOCKS"), 80, Right},
                                            {QStringLiteral("USED(M)"), 80, Right},
                                            {QStringLiteral("FREE(M)"), 80, Right},
                                            {QStringLiteral("%FREE"), 80, Right},
                                            {QStringLiteral("STATUS"), 80, Centre},
                                            {QString(), 100, Centre}},
                                .headerBgr = 0x00D0E8FF,
                                .rowHeight = 19,
                                .lines = ui::StringGrid::GridLines::VerticalOnly,
                                .rowSelect = true,
                                .horizontalBar = Qt::ScrollBarAlwaysOff,
                                .groupMarkerColumn = kDatafileMarker});
    PageControl2->addTab(AdvStringGrid2, QStringLiteral("테이블스페이스 사용현황"));
    AdvStringGrid3 = buildGrid(PageControl2,
                               {.name = QStringLiteral("AdvStringGrid3"),
                                .columns = {{QStringLiteral("OB#"), 45, Centre},
                                            {QStringLiteral("TABLE_ID"), 88},
                                            {QStringLiteral("TABLE_NAME"), 156},
                                            {QStringLiteral("INIT_EXTENT(B)"), 100, Right},
                                            {QStringLiteral("NEXT_EXTENT(B)"), 100, Right},
                                            {QStringLiteral("MIN_EXTENTS"), 76, Right},
                                            {QStringLiteral("MAX_EXTENTS"), 76, Right},
                                            {QStringLiteral("MODIFYED"), 121, Centre}},
                                .headerBgr = 0x00EBEBD8,
                                .rowHeight = 19,
                                .rowSelect = true,
                                .horizontalBar = Qt::ScrollBarAlwaysOff});
    PageControl2->addTab(AdvStringGrid3, QStringLiteral("관련 테이블 현황"));

    Splitter1->addWidget(AdvStringGrid1);
    Splitter1->addWidget(PageControl2);
    Splitter1->setSizes({325, 200});
    Splitter1->setStretchFactor(1, 1);
    PageControl1->addTab(tablespacePage, QStringLiteral("TableSpace 정보"));

    // The rollback segments page: the segment list over the shrink statement and its button.
    auto* rollbackPage = new QWidget(PageControl1);
    rollbackPage->setObjectName(QStringLiteral("TabSheet2"));
    auto* rollbackLayout = new QVBoxLayout(rollbackPage);
    rollbackLayout->setContentsMargins(2, 2, 2, 2);
    Splitter2 = new QSplitter(Qt::Vertical, rollbackPage);
    Splitter2->setObjectName(QStringLiteral("Splitter2"));
    rollbackLayout->addWidget(Splitter2);

    AdvStringGrid4 = buildGrid(Splitter2,
                               {.name = QStringLiteral("AdvStringGrid4"),
                                .columns = {{QStringLiteral("TABLESPACE_NAME"), 100},
                                            {QStringLiteral("SEG#"), 60, Right},
                                            {QStringLiteral("SEGMENT_NAME"), 110},
                                            {QStringLiteral("OWNER"), 100},
                                            {QStringLiteral("STATUS"), 50},
                                            {QStringLiteral("FILE#"), 50, Right},
                                            {QStringLiteral("BLOCK#"), 100, Right},
                                            {QStringLiteral("INIT_EXTENT"), 100, Right},
                                            {QStringLiteral("NEXT_EXTENT"), 100, Right},
                                            {QStringLiteral("MIN_EXTENTS"), 76, Right},
                                            {QStringLiteral("MAX_EXTENTS"), 76, Right},
                                            {QStringLiteral("PCT_INCREASE"), 82, Right},
                                            {QString(), 100, Centre}},
                                .headerBgr = 0x00FFDFEF,
                                .rowHeight = 19,
                                .lines = ui::StringGrid::GridLines::VerticalOnly,
                                .rowSelect = true,
                                .groupMarkerColumn = kRollbackMarker});

    auto* shrinkStrip = new QWidget(Splitter2);
    shrinkStrip->setObjectName(QStringLiteral("Panel4"));
    auto* shrinkLayout = new QHBoxLayout(shrinkStrip);
    shrinkLayout->setContentsMargins(4, 4, 4, 4);
    ed_shrink = new QLineEdit(shrinkStrip);
    ed_shrink->setObjectName(QStringLiteral("ed_shrink"));
    ed_shrink->setEnabled(false);
    ed_shrink->setFixedWidth(738);
    ed_shrink->setStyleSheet(
        QStringLiteral("QLineEdit { border: 1px solid %1; background: white; color: black; }")
            .arg(ui::colorFromBgr(0x00FF0080).name()));
    shrinkLayout->addWidget(ed_shrink);
    FlatSpeedButton1 = new QToolButton(shrinkStrip);
    FlatSpeedButton1->setObjectName(QStringLiteral("FlatSpeedButton1"));
    FlatSpeedButton1->setFixedSize(45, 45);
    FlatSpeedButton1->setIconSize(QSize(38, 38));
    FlatSpeedButton1->setAutoRaise(true);
    FlatSpeedButton1->setIcon(ui::glyphIcon(QStringLiteral("SHR"), QColor(200, 60, 40), 38));
    FlatSpeedButton1->setToolTip(QStringLiteral("작업...(Shrink)"));
    shrinkLayout->addWidget(FlatSpeedButton1);
    shrinkLayout->addStretch();

    Splitter2->addWidget(AdvStringGrid4);
    Splitter2->addWidget(shrinkStrip);
    Splitter2->setSizes({460, 60});
    Splitter2->setStretchFactor(0, 1);
    PageControl1->addTab(rollbackPage, QStringLiteral("RollbackSegment 정보"));

    ui::connectGuarded(sbt_select, &QToolButton::clicked, this, [this] { sbt_selectClick(); });
    ui::connectGuarded(sbt_Excels, &QToolButton::clicked, this, [this] { sbt_ExcelsClick(); });
    ui::connectGuarded(sbt_cleses, &QToolButton::clicked, this, [this] { sbt_clesesClick(); });
    ui::connectGuarded(FlatSpeedButton1, &QToolButton::clicked, this,
                       [this] { FlatSpeedButton1Click(); });
    ui::connectGuarded(PageControl1, &QTabWidget::currentChanged, this,
                       [this] { PageControl1Change(); });
    ui::connectGuarded(AdvStringGrid1, &ui::StringGrid::cellClicked, this,
                       [this](int, int row) { ShowTablespaceDetail(row); });
    ui::connectGuarded(AdvStringGrid4, &ui::StringGrid::cellClicked, this,
                       [this](int, int row) { PrepareShrink(row); });
}

void TKOLM310F::FormShow()
{
    {
        const QSignalBlocker blocker(PageControl1);
        PageControl1->setCurrentIndex(0);
    }
    sbt_selectClick();
}

bool TKOLM310F::tablespacePageShown() const
{
    return PageControl1->currentIndex() == 0;
}

void TKOLM310F::sbt_selectClick()
{
    if (tablespacePageShown())
        LoadTablespaceList();
    else
        LoadRollbackSegmentList();
}

void TKOLM310F::PageControl1Change()
{
    sbt_selectClick();
}

void TKOLM310F::ClearTablespaceGrid()
{
    AdvStringGrid1->clearData();
    AdvStringGrid1->setRowCount(2);
    AdvStringGrid1->setColCount(kTablespaceColumns);
}

void TKOLM310F::ClearDatafileGrid()
{
    AdvStringGrid2->clearData();
    AdvStringGrid2->setRowCount(2);
    AdvStringGrid2->setColCount(kDatafileColumns);
}

void TKOLM310F::ClearTableGrid()
{
    AdvStringGrid3->clearData();
    AdvStringGrid3->setRowCount(2);
    AdvStringGrid3->setColCount(kTableColumns);
}

void TKOLM310F::ClearRollbackGrid()
{
    AdvStringGrid4->clearData();
    AdvStringGrid4->setRowCount(2);
    AdvStringGrid4->setColCount(kRollbackColumns);
    ed_shrink->clear();
}

void TKOLM310F::LoadTablespaceList()
{
    ui::setBusyCursor(true);
    showStatusNow(QString());
    ClearTablespaceGrid();
    ClearDatafileGrid();
    ClearTableGrid();
    sbt_Excels->setEnabled(false);

    const bool read = readListRows(
        this, Oraclem2, AdvStringGrid1, &data::HORACLEM2::GetTablespaces,
        QStringLiteral("USER_TABLESPACES & V$TABLESPACE"),
        [this](const data::HORACLEM2& o, int r, int i) {
            const QString number = o.slotText(0, i);
            const QString name = o.slotText(1, i);
            AdvStringGrid1->setCell(0, r, number);
            AdvStringGrid1->setCell(1, r, name);
            for (int c = 2; c <= 6; ++c)
                AdvStringGrid1->setCell(c, r, FormatAmount(o.slotText(c, i), QStringLiteral("0")));
            AdvStringGrid1->setCell(7, r, QString());
            AdvStringGrid1->setCell(kColorCodeColumn, r, QString());

            Oraclem1 = std::make_unique<data::HORACLEM1>();
            if (Oraclem1->GetTablespaceUsage(name, number) > 0) {
                const double freeBytes = Oraclem1->slotText(0).toDouble();
                const double total = Oraclem1->slotText(1).toDouble();
                // A tablespace without datafile bytes (a temporary one lives in tempfiles)
                // has no share to show: it stays blank and uncoloured.
                if (total > 0) {
                    const double share = roundedToTenths(freeBytes / total * 100);
                    AdvStringGrid1->setCell(7, r, shortestText(share) + QStringLiteral(" %"));
                    AdvStringGrid1->setCell(kColorCodeColumn, r, bandCode(share));
                }
            }
            Oraclem1.reset();

            AdvStringGrid1->setCell(8, r, o.slotText(7, i));
            AdvStringGrid1->setCell(9, r, o.slotText(8, i));
        });
    if (read) {
        const int n = RowCount;
        ShowTablespaceDetail(1);
        sbt_Excels->setEnabled(true);
        setStatusText(QStringLiteral("▶ 테이블스페이스 정보가 조회 되었습니다... (") +
                      QString::number(n) + QStringLiteral(" 건)"));
    }
    ui::setBusyCursor(false);
}

void TKOLM310F::ShowTablespaceDetail(int row)
{
    PageControl2->setCurrentIndex(0);
    if (row <= 0)
        return;
    m_tablespaceName = AdvStringGrid1->cell(1, row);
    m_tablespaceNumber = AdvStringGrid1->cell(0, row);
    if (m_tablespaceName.isEmpty())
        return;
    LoadDatafiles();
    LoadTables();
}

void TKOLM310F::LoadDatafiles()
{
    ui::setBusyCursor(true);
    PageControl2->setTabText(0, m_tablespaceNumber + QStringLiteral(" [") + m_tablespaceName +
                                    QStringLiteral(" 사용현황]"));
    ClearDatafileGrid();

    double sumBytes = 0;
    double sumBlocks = 0;
    double sumFree = 0;
    int m = 0;
    const bool read = readListRows(
        Oraclem2, AdvStringGrid2,
        [this](data::HORACLEM2& o) { return o.GetDatafiles(m_tablespaceNumber); },
        [&](const data::HORACLEM2& o, int r, int i) {
            const QString fileNumber = o.slotText(0, i);
            const double bytes = o.slotText(2, i).toDouble();
            AdvStringGrid2->setCell(0, r, fileNumber);
            AdvStringGrid2->setCell(1, r, o.slotText(1, i));
            AdvStringGrid2->setCell(2, r, amount(bytes / kMegabyte, QStringLiteral("0")));
            AdvStringGrid2->setCell(3, r, FormatAmount(o.slotText(3, i), QStringLiteral("0")));
            for (int c : {4, 5, 6, kDatafileMarker})
                AdvStringGrid2->setCell(c, r, QString());
            AdvStringGrid2->setCell(7, r, o.slotText(4, i));
            sumBytes += bytes;
            sumBlocks += o.slotText(3, i).toDouble();

            Oraclem1 = std::make_unique<data::HORACLEM1>();
            if (Oraclem1->GetFileFreeSpace(fileNumber) > 0) {
                const double freeBytes = Oraclem1->slotText(0).toDouble();
                sumFree += freeBytes;
                const double total = bytes / kMegabyte;
                const double free = freeBytes / kMegabyte;
                AdvStringGrid2->setCell(5, r, amount(free, QStringLiteral("0")));
                // A file that reports no size (one the server cannot reach) has no used space
                // or share to show.
                if (bytes > 0) {
                    AdvStringGrid2->setCell(4, r, amount(total - free, QStringLiteral("0")));
                    AdvStringGrid2->setCell(
                        6, r,
                        amount(free / total * 100, QStringLiteral("1")) + QStringLiteral(" %"));
                }
            }
            Oraclem1.reset();
        },
        [this](int n) {
            AdvStringGrid2->setCell(kDatafileMarker, 1, QStringLiteral("--"));
            showReadError(QStringLiteral("V$DATAFILE"), n);
        },
        m);
    if (read) {
        AdvStringGrid2->setCell(kDatafileMarker, m, QStringLiteral("--"));

        if (m >= 2) {
            const int t = m + 1;
            AdvStringGrid2->setRowCount(m + 2);
            AdvStringGrid2->setCell(0, t, QString());
            AdvStringGrid2->setCell(1, t, QStringLiteral("★ 합 계 ★"));
            AdvStringGrid2->setCell(2, t, amount(sumBytes / kMegabyte, QStringLiteral("0")));
            AdvStringGrid2->setCell(3, t, amount(sumBlocks, QStringLiteral("0")));
            AdvStringGrid2->setCell(5, t, amount(sumFree / kMegabyte, QStringLiteral("0")));
            if (sumBytes > 0) {
                AdvStringGrid2->setCell(
                    4, t, amount((sumBytes - sumFree) / kMegabyte, QStringLiteral("0")));
                AdvStringGrid2->setCell(
                    6, t,
                    amount(sumFree / sumBytes * 100, QStringLiteral("1")) + QStringLiteral(" %"));
            }
            AdvStringGrid2->setCell(7, t, QString());
            AdvStringGrid2->setCell(kDatafileMarker, t, QStringLiteral("--"));
        }
    }
    ui::setBusyCursor(false);
}

void TKOLM310F::LoadTables()
{
    ui::setBusyCursor(true);
    ClearTableGrid();

    int k = 0;
    readListRows(
        Oraclem1, AdvStringGrid3,
        [this](data::HORACLEM1& o) {
            return o.GetTablesInTablespace(ConnUser.toUpper(), m_tablespaceName);
        },
        [this](const data::HORACLEM1& o, int r, int i) {
            for (int c : {0, 1, 2, 7})
                AdvStringGrid3->setCell(c, r, o.slotText(c, i));
            for (int c = 3; c <= 6; ++c)
                AdvStringGrid3->setCell(c, r, FormatAmount(o.slotText(c, i), QStringLiteral("0")));
        },
        [this](int n) {
            showReadError(QStringLiteral("ALL_TABLES & ALL_TAB_COMMENTS & ALL_OBJECTS"), n);
        },
        k);
    ui::setBusyCursor(false);
}

void TKOLM310F::LoadRollbackSegmentList()
{
    ui::setBusyCursor(true);
    showStatusNow(QString());
    ClearRollbackGrid();
    sbt_Excels->setEnabled(false);

    const bool read = readListRows(
        Oraclem1, AdvStringGrid4, &data::HORACLEM1::GetRollbackSegments,
        [this](const data::HORACLEM1& o, int r, int i) {
            for (int c = 0; c <= 6; ++c)
                AdvStringGrid4->setCell(c, r, o.slotText(c, i));
            for (int c = 7; c <= 11; ++c)
                AdvStringGrid4->setCell(c, r, FormatAmount(o.slotText(c, i), QStringLiteral("0")));
            AdvStringGrid4->setCell(kRollbackMarker, r, QString());
        },
        [this](int n) {
            AdvStringGrid4->setCell(kRollbackMarker, 1, QStringLiteral("--"));
            showReadError(QStringLiteral("DBA_ROLLBACK_SEGS"), n);
        });
    if (read) {
        const int n = RowCount;
        AdvStringGrid4->setCell(kRollbackMarker, n, QStringLiteral("--"));
        setStatusText(QStringLiteral("▶ 롤백세그먼트 정보가 조회 되었습니다... (") +
                      QString::number(n) + QStringLiteral(" 건)"));
    }
    ui::setBusyCursor(false);
}

void TKOLM310F::PrepareShrink(int row)
{
    ed_shrink->clear();
    if (row <= 0)
        return;
    m_segmentName = AdvStringGrid4->cell(2, row);
    if (!m_segmentName.isEmpty())
        ed_shrink->setText(QStringLiteral("ALTER ROLLBACK SEGMENT ") + m_segmentName +
                           QStringLiteral(" SHRINK"));
}

void TKOLM310F::FlatSpeedButton1Click()
{
    const QString statement = ed_shrink->text();
    if (statement.isEmpty())
        return;
    const auto answer = ui::services().messageBox(
        this, QStringLiteral("ROLLBACK SEGMENT SHRINK"),
        QStringLiteral("ROLLBACK SEGMENT을 SHRINK 하시겠습니까?\rSEGMENT NAME = ") + m_segmentName,
        QMessageBox::Question, QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    Oraclem1 = std::make_unique<data::HORACLEM1>();
    const int result = Oraclem1->ExecSql(statement, QString());
    Oraclem1.reset();
    if (result < 0) {
        setStatusText(QStringLiteral("▶ ROLLBACK SEGMENT SHRINK Error ...{") + m_segmentName +
                      QStringLiteral(")"));
        return;
    }
    LoadRollbackSegmentList();
    setStatusText(QStringLiteral("▶ ROLLBACK SEGMENT SHRINK Completed ...(") + m_segmentName +
                  QStringLiteral(")"));
}

void TKOLM310F::sbt_ExcelsClick()
{
    exportGridToCsv(this, AdvStringGrid1, ConnUser.toUpper() + QStringLiteral("_TableSpace.Csv"));
}

void TKOLM310F::sbt_clesesClick()
{
    closeScreen();
}

}  // namespace kolmara::screens
