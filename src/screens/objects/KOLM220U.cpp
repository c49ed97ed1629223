// The object information screen.
#include "screens/objects/KOLM220U.h"

#include "common/KOLMCOMM.h"
#include "data/SharedSlots.h"
#include "screens/GridCsvExport.h"
#include "screens/ListGrid.h"
#include "widgets/ActionGuard.h"
#include "widgets/StringGrid.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace kolmara::screens {

namespace {

constexpr int kObjectColumns = 7;

// Grid column c shows result column kResultColumn[c] of GetObjects.
constexpr int kResultColumn[kObjectColumns] = {2, 0, 4, 5, 6, 7, 8};

}  // namespace

TKOLM220F::TKOLM220F(QWidget* parent)
    : MdiScreen(QStringLiteral("각종 오브젝트 정보"), QSize(843, 632), parent)
{
    setObjectName(QStringLiteral("TKOLM220F"));
    setupUi();
}

void TKOLM220F::setupUi()
{
    QToolBar* tools = addToolStrip();
    sbt_select = addListButton(tools);
    sbt_Excels = addExportButton(tools);
    sbt_cleses = addCloseButton(tools);

    auto* strip = new QWidget(tools);
    auto* sl = new QHBoxLayout(strip);
    sl->setContentsMargins(12, 0, 0, 0);
    sl->addWidget(new QLabel(QStringLiteral("Object Type"), strip));
    cb_objecttype = new QComboBox(strip);
    cb_objecttype->setObjectName(QStringLiteral("cb_objecttype"));
    cb_objecttype->setEditable(false);
    cb_objecttype->setFixedWidth(150);
    cb_objecttype->setMaxVisibleItems(20);
    cb_objecttype->addItems(
        {QStringLiteral("All"), QStringLiteral("Cluster"), QStringLiteral("Dblink"),
         QStringLiteral("Function"), QStringLiteral("Index"), QStringLiteral("Package"),
         QStringLiteral("Procedure"), QStringLiteral("Sequence"), QStringLiteral("Synonym"),
         QStringLiteral("Table"), QStringLiteral("Trigger"), QStringLiteral("View")});
    sl->addWidget(cb_objecttype);
    auto* statusGroup = new QGroupBox(QStringLiteral("[상태]"), strip);
    auto* gl = new QHBoxLayout(statusGroup);
    gl->setContentsMargins(6, 0, 6, 0);
    auto radio = [statusGroup, gl](const char* name, const QString& text) {
        auto* r = new QRadioButton(text, statusGroup);
        r->setObjectName(QLatin1String(name));
        gl->addWidget(r);
        return r;
    };
    rb_all = radio("rb_all", QStringLiteral("ALL"));
    rb_valid = radio("rb_valid", QStringLiteral("VALID"));
    rb_invalid = radio("rb_invalid", QStringLiteral("INVALID"));
    rb_all->setChecked(true);
    sl->addWidget(statusGroup);
    tools->addWidget(strip);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    auto* page = new QWidget(PageControl1);
    page->setObjectName(QStringLiteral("TabSheet1"));
    auto* pl = new QVBoxLayout(page);
    pl->setContentsMargins(2, 2, 2, 2);
    using enum Align;
    // Vertical scrolling only.
    AdvStringGrid1 = buildGrid(page, {.name = QStringLiteral("AdvStringGrid1"),
                                      .columns = {{QStringLiteral("Object_ID"), 75, Centre},
                                                  {QStringLiteral("Object_Name"), 167},
                                                  {QStringLiteral("Object_Type"), 120},
                                                  {QStringLiteral("Created"), 120, Centre},
                                                  {QStringLiteral("Modifyd"), 120, Centre},
                                                  {QStringLiteral("TimeStamp"), 120, Centre},
                                                  {QStringLiteral("Status"), 79}},
                                      .rowSelect = true,
                                      .whiteSelection = true,
                                      .horizontalBar = Qt::ScrollBarAlwaysOff});
    pl->addWidget(AdvStringGrid1);
    PageControl1->addTab(page, QStringLiteral("오브젝트 정보"));
    addBody(PageControl1);

    ui::connectGuarded(sbt_select, &QToolButton::clicked, this, [this] { sbt_selectClick(); });
    ui::connectGuarded(sbt_Excels, &QToolButton::clicked, this, [this] { sbt_ExcelsClick(); });
    ui::connectGuarded(sbt_cleses, &QToolButton::clicked, this, [this] { sbt_clesesClick(); });
    // Picking an entry lists, also when it is the entry already shown.
    ui::connectGuarded(cb_objecttype, &QComboBox::activated, this, [this] { sbt_selectClick(); });
    for (QRadioButton* r : {rb_all, rb_valid, rb_invalid})
        ui::connectGuarded(r, &QRadioButton::clicked, this, [this] { sbt_selectClick(); });
}

void TKOLM220F::FormShow()
{
    PageControl1->setCurrentIndex(0);
    cb_objecttype->setCurrentIndex(0);
    rb_all->setChecked(true);
    sbt_selectClick();
}

QString TKOLM220F::typePattern(const QString& entry)
{
    if (entry == QLatin1String("All"))
        return QStringLiteral("%");
    // Database links are listed under the dictionary's own type name.
    if (entry == QLatin1String("Dblink"))
        return QStringLiteral("DATABASE LINK%");
    return entry.toUpper() + QLatin1Char('%');
}

QString TKOLM220F::statusPattern() const
{
    if (rb_all->isChecked())
        return QStringLiteral("%");
    if (rb_valid->isChecked())
        return QStringLiteral("VALID%");
    return QStringLiteral("INVALID%");
}

void TKOLM220F::ClearObjectGrid()
{
    AdvStringGrid1->clearData();
}

void TKOLM220F::sbt_selectClick()
{
    ui::setBusyCursor(true);
    showStatusNow(QString());
    sbt_Excels->setEnabled(false);
    ClearObjectGrid();

    const bool read = readListRows(
        this, Oraclem2, AdvStringGrid1,
        [this](data::HORACLEM2& o) {
            return o.GetObjects(ConnUser.toUpper(),
                                typePattern(cb_objecttype->currentText()).toUpper(),
                                statusPattern().toUpper());
        },
        QStringLiteral("ALL_OBJECTS"),
        [this](const data::HORACLEM2& o, int r, int i) {
            for (int c = 0; c < kObjectColumns; ++c)
                AdvStringGrid1->setCell(c, r, o.slotText(kResultColumn[c], i));
        });
    if (read) {
        AdvStringGrid1->setFocus();
        sbt_Excels->setEnabled(true);
        setStatusText(QStringLiteral("▶ 오브젝트목록이 조회 되었습니다... (") + QString::number(RowCount) +
                      QStringLiteral(" 건)"));
    }
    ui::setBusyCursor(false);
}

void TKOLM220F::sbt_ExcelsClick()
{
    exportGridToCsv(this, AdvStringGrid1, ConnServer + QStringLiteral("_Oracle_Objects.Csv"));
}

void TKOLM220F::sbt_clesesClick()
{
    closeScreen();
}

}  // namespace kolmara::screens
