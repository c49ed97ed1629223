// The sessions and locks screen.
#include "screens/sessions/KOLM300U.h"

#include "common/KOLMCOMM.h"
#include "data/SharedSlots.h"
#include "screens/ListGrid.h"
#include "widgets/ActionGuard.h"
#include "widgets/Colors.h"
#include "widgets/Fonts.h"
#include "widgets/PieGauge.h"
#include "widgets/StringGrid.h"
#include "widgets/ToolButtons.h"
#include "widgets/UiServices.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace kolmara::screens {

namespace {

constexpr int kSessionColumns = 15;
constexpr int kLockColumns = 13;
constexpr int kMarkerColumn = 12;
constexpr int kTimer3Interval = 1000;

}  // namespace

TKOLM300F::TKOLM300F(QWidget* parent)
    : MdiScreen(QStringLiteral("세션/락트랜젝션 정보"), QSize(809, 646), parent)
{
    setObjectName(QStringLiteral("TKOLM300F"));
    setupUi();
}

void TKOLM300F::setupUi()
{
    QToolBar* tools = addToolStrip();
    sbt_select = addListButton(tools);
    sbt_Cancel = ui::addToolButton(tools, QStringLiteral("sbt_Cancel"), QStringLiteral("KILL"),
                                   QStringLiteral("KILL"), QColor(200, 60, 40));
    sbt_cleses = addCloseButton(tools);
    sbt_Cancel->setEnabled(false);

    Splitter1 = new QSplitter(Qt::Vertical, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    addBody(Splitter1);

    PageControl1 = new QTabWidget(Splitter1);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setMinimumHeight(120);

    auto radio = [](const QString& name, const QString& text, QWidget* parent) {
        auto* r = new QRadioButton(text, parent);
        r->setObjectName(name);
        return r;
    };
    auto secondsBox = [](const QString& name, QWidget* parent) {
        auto* box = new QSpinBox(parent);
        box->setObjectName(name);
        box->setRange(1, 2147483);  // whole seconds whose milliseconds still fit a timer
        box->setSingleStep(1);
        box->setValue(10);
        if (auto* edit = box->findChild<QLineEdit*>())
            edit->setReadOnly(true);  // the arrows change it, typing does not
        return box;
    };
    auto gauge = [](const QString& name, QWidget* parent) {
        auto* g = new ui::PieGauge(parent);
        g->setObjectName(name);
        g->setFixedSize(35, 35);
        g->setForeColor(ui::colorFromBgr(0x00FF0000));
        g->hide();
        return g;
    };

    // Sessions page.
    auto* sessionsPage = new QWidget(PageControl1);
    sessionsPage->setObjectName(QStringLiteral("TabSheet1"));
    auto* sessionsLayout = new QVBoxLayout(sessionsPage);
    sessionsLayout->setContentsMargins(2, 2, 2, 2);
    auto* strip1 = new QHBoxLayout;
    auto* timeGroup1 = new QGroupBox(QStringLiteral("[타임]"), sessionsPage);
    auto* tg1 = new QHBoxLayout(timeGroup1);
    rb_none1 = radio(QStringLiteral("rb_none1"), QStringLiteral("None"), timeGroup1);
    rb_times1 = radio(QStringLiteral("rb_times1"), QStringLiteral("Times"), timeGroup1);
    se_time = secondsBox(QStringLiteral("se_time"), timeGroup1);
    rb_none1->setChecked(true);
    tg1->addWidget(rb_none1);
    tg1->addWidget(rb_times1);
    tg1->addWidget(se_time);
    tg1->addWidget(new QLabel(QStringLiteral("초"), timeGroup1));
    strip1->addWidget(timeGroup1);
    Gauge1 = gauge(QStringLiteral("Gauge1"), sessionsPage);
    strip1->addWidget(Gauge1);
    auto* statusGroup = new QGroupBox(QStringLiteral("[상태]"), sessionsPage);
    auto* sg = new QHBoxLayout(statusGroup);
    rb_all = radio(QStringLiteral("rb_all"), QStringLiteral("ALL"), statusGroup);
    rb_active = radio(QStringLiteral("rb_active"), QStringLiteral("Active"), statusGroup);
    rb_inactive = radio(QStringLiteral("rb_inactive"), QStringLiteral("InActive"), statusGroup);
    rb_all->setChecked(true);
    sg->addWidget(rb_all);
    sg->addWidget(rb_active);
    sg->addWidget(rb_inactive);
    strip1->addWidget(statusGroup);
    strip1->addStretch();
    sessionsLayout->addLayout(strip1);

    using enum Align;
    AdvStringGrid1 = buildGrid(sessionsPage, {.name = QStringLiteral("AdvStringGrid1"),
                                              .columns = {{QStringLiteral("SID"), 0, Right},
                                                          {QStringLiteral("SERIAL#"), 0, Right},
                                                          {QStringLiteral("USERNAME")},
                                                          {QStringLiteral("COMMAND"), 0, Right},
                                                          {QStringLiteral("LOCKWAIT")},
                                                          {QStringLiteral("STATUS")},
                                                          {QStringLiteral("SERVER")},
                                                          {QStringLiteral("OSUSER")},
                                                          {QStringLiteral("PROCESS")},
                                                          {QStringLiteral("MACHINE")},
                                                          {QStringLiteral("TERMINAL")},
                                                          {QStringLiteral("PROGRAM")},
                                                          {QStringLiteral("LOGON_TIME")},
                                                          {QStringLiteral("TYPE")},
                                                          {QStringLiteral("MODULE")}},
                                              .rowHeight = 19,
                                              .rowSelect = true,
                                              .defaultColWidth = 100});
    sessionsLayout->addWidget(AdvStringGrid1, 1);
    PageControl1->addTab(sessionsPage, QStringLiteral("세션정보"));

    // Locks page.
    auto* locksPage = new QWidget(PageControl1);
    locksPage->setObjectName(QStringLiteral("TabSheet2"));
    auto* locksLayout = new QVBoxLayout(locksPage);
    locksLayout->setContentsMargins(2, 2, 2, 2);
    auto* strip2 = new QHBoxLayout;
    auto* timeGroup2 = new QGroupBox(QStringLiteral("[타임]"), locksPage);
    auto* tg2 = new QHBoxLayout(timeGroup2);
    rb_none2 = radio(QStringLiteral("rb_none2"), QStringLiteral("None"), timeGroup2);
    rb_times2 = radio(QStringLiteral("rb_times2"), QStringLiteral("Times"), timeGroup2);
    se_time1 = secondsBox(QStringLiteral("se_time1"), timeGroup2);
    rb_none2->setChecked(true);
    tg2->addWidget(rb_none2);
    tg2->addWidget(rb_times2);
    tg2->addWidget(se_time1);
    tg2->addWidget(new QLabel(QStringLiteral("초"), timeGroup2));
    strip2->addWidget(timeGroup2);
    Gauge2 = gauge(QStringLiteral("Gauge2"), locksPage);
    strip2->addWidget(Gauge2);
    strip2->addStretch();
    locksLayout->addLayout(strip2);

    AdvStringGrid2 = buildGrid(locksPage, {.name = QStringLiteral("AdvStringGrid2"),
                                           .columns = {{QStringLiteral("SID"), 60, Right},
                                                       {QStringLiteral("SERIAL"), 60, Right},
                                                       {QStringLiteral("TYPE"), 34, Centre},
                                                       {QStringLiteral("ORAUSER"), 80},
                                                       {QStringLiteral("OSUSER"), 70},
                                                       {QStringLiteral("OSPROC"), 60},
                                                       {QStringLiteral("SERVER"), 60},
                                                       {QStringLiteral("TERMINAL"), 58},
                                                       {QStringLiteral("PROGRAM"), 80},
                                                       {QStringLiteral("MODULE"), 46},
                                                       {QStringLiteral("OB_NAME"), 80},
                                                       {QStringLiteral("LOCK_TIME"), 81},
                                                       {QString(), 80, Centre}},
                                           .headerBgr = 0x00D0E8FF,
                                           .rowHeight = 19,
                                           .lines = ui::StringGrid::GridLines::VerticalOnly,
                                           .rowSelect = true,
                                           .horizontalBar = Qt::ScrollBarAlwaysOff,
                                           .groupMarkerColumn = kMarkerColumn});
    locksLayout->addWidget(AdvStringGrid2, 1);
    PageControl1->addTab(locksPage, QStringLiteral("락트랜젝션 정보"));

    // Lower part: the SQL text and the kill statement.
    GroupBox1 = new QGroupBox(QStringLiteral("[SID:SERIAL]"), Splitter1);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* lower = new QVBoxLayout(GroupBox1);
    lower->setContentsMargins(2, 2, 2, 2);
    PageControl2 = new QTabWidget(GroupBox1);
    PageControl2->setObjectName(QStringLiteral("PageControl2"));
    Memo1 = new QPlainTextEdit(PageControl2);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    PageControl2->addTab(Memo1, QStringLiteral("SQLTEXT"));
    Memo2 = new QPlainTextEdit(PageControl2);
    Memo2->setObjectName(QStringLiteral("Memo2"));
    Memo2->setEnabled(false);
    Memo2->setFont(ui::gulimChe(13));
    Memo2->setStyleSheet(QStringLiteral("QPlainTextEdit { background: %1; }")
                             .arg(ui::colorFromBgr(0x00DFFFFF).name()));
    PageControl2->addTab(Memo2, QStringLiteral("세션 KILL"));
    lower->addWidget(PageControl2);

    Splitter1->addWidget(PageControl1);
    Splitter1->addWidget(GroupBox1);
    Splitter1->setSizes({397, 180});
    Splitter1->setStretchFactor(0, 1);


    Timer1 = new QTimer(this);
    Timer2 = new QTimer(this);
    Timer3 = new QTimer(this);
    for (QTimer* t : {Timer1, Timer2, Timer3})
        t->setInterval(1000);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer3->setObjectName(QStringLiteral("Timer3"));

    ui::connectGuarded(sbt_select, &QToolButton::clicked, this, [this] { sbt_selectClick(); });
    ui::connectGuarded(sbt_Cancel, &QToolButton::clicked, this, [this] { sbt_CancelClick(); });
    ui::connectGuarded(sbt_cleses, &QToolButton::clicked, this, [this] { sbt_clesesClick(); });
    auto onChosen = [this](QRadioButton* button, void (TKOLM300F::*handler)()) {
        ui::connectGuarded(button, &QRadioButton::toggled, this, [this, handler](bool checked) {
            if (checked)
                (this->*handler)();
        });
    };
    onChosen(rb_none1, &TKOLM300F::rb_sessionNoneClick);
    onChosen(rb_times1, &TKOLM300F::rb_sessionTimesClick);
    onChosen(rb_all, &TKOLM300F::rb_statusClick);
    onChosen(rb_active, &TKOLM300F::rb_statusClick);
    onChosen(rb_inactive, &TKOLM300F::rb_statusClick);
    onChosen(rb_none2, &TKOLM300F::rb_lockNoneClick);
    onChosen(rb_times2, &TKOLM300F::rb_lockTimesClick);
    // A click on a seconds box does what "Times" of its page does, without choosing "Times";
    // its arrows only change the number.
    for (QSpinBox* box : {se_time, se_time1})
        if (auto* edit = box->findChild<QLineEdit*>())
            edit->installEventFilter(this);
    ui::connectGuarded(PageControl1, &QTabWidget::currentChanged, this,
                       [this] { PageControl1Change(); });
    ui::connectGuarded(AdvStringGrid1, &ui::StringGrid::cellClicked, this,
                       [this](int, int row) { ShowSessionSql(false, row); });
    ui::connectGuarded(AdvStringGrid2, &ui::StringGrid::cellClicked, this,
                       [this](int, int row) { ShowSessionSql(true, row); });
    ui::connectGuarded(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    ui::connectGuarded(Timer2, &QTimer::timeout, this, [this] { Timer2Timer(); });
    ui::connectGuarded(Timer3, &QTimer::timeout, this, [this] { Timer3Timer(); });
    Timer1->start();
    Timer2->start();
    Timer3->start();
}

bool TKOLM300F::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == se_time->findChild<QLineEdit*>())
            ui::runGuarded(this, [this] { se_timeClick(); });
        else if (watched == se_time1->findChild<QLineEdit*>())
            ui::runGuarded(this, [this] { se_time1Click(); });
    }
    return MdiScreen::eventFilter(watched, event);
}

void TKOLM300F::se_timeClick()
{
    startTimes(Timer1, Gauge1, se_time);
    LoadSessionList();
}

void TKOLM300F::se_time1Click()
{
    startTimes(Timer2, Gauge2, se_time1);
    LoadLockList();
}

void TKOLM300F::FormShow()
{
    {
        const QSignalBlocker blocker(PageControl1);
        PageControl1->setCurrentIndex(0);
    }
    m_shownPage = 0;
    m_tabChanging = QStringLiteral("0");
    {
        const QSignalBlocker b1(rb_none1);
        const QSignalBlocker b2(rb_all);
        rb_none1->setChecked(true);
        rb_all->setChecked(true);
    }
    sbt_selectClick();
}

bool TKOLM300F::sessionsPageShown() const
{
    return PageControl1->currentIndex() == 0;
}

int TKOLM300F::periodMs(const QSpinBox* box)
{
    return qMax(1, box->value()) * 1000;
}

void TKOLM300F::startTimes(QTimer* timer, ui::PieGauge* gauge, const QSpinBox* box)
{
    const int ms = periodMs(box);
    timer->setInterval(ms);
    gauge->setMinValue(0);
    gauge->setMaxValue(ms);
    gauge->show();
}

void TKOLM300F::sbt_selectClick()
{
    if (sessionsPageShown())
        LoadSessionList();
    else
        LoadLockList();
}

void TKOLM300F::rb_statusClick()
{
    LoadSessionList();
}

void TKOLM300F::rb_sessionTimesClick()
{
    se_timeClick();
}

void TKOLM300F::rb_sessionNoneClick()
{
    Gauge1->hide();
    Gauge1->setProgress(0);
    if (m_tabChanging == QStringLiteral("0"))
        LoadSessionList();
}

void TKOLM300F::rb_lockTimesClick()
{
    se_time1Click();
}

void TKOLM300F::rb_lockNoneClick()
{
    Gauge2->hide();
    Gauge2->setProgress(0);
    if (m_tabChanging == QStringLiteral("0"))
        LoadLockList();
}

void TKOLM300F::PageControl1Change()
{
    const int left = m_shownPage;
    m_shownPage = PageControl1->currentIndex();
    m_tabChanging = QStringLiteral("1");
    rb_none1->setChecked(true);
    rb_none2->setChecked(true);
    // The page that was left: hide and zero its gauge, without a reload.
    ui::PieGauge* leftGauge = left == 0 ? Gauge1 : Gauge2;
    leftGauge->hide();
    leftGauge->setProgress(0);
    sbt_selectClick();
}

void TKOLM300F::Timer1Timer()
{
    if (!sessionsPageShown() || rb_none1->isChecked() || data::mainSessionBusy())
        return;
    Gauge1->setProgress(0);
    LoadSessionList();
}

void TKOLM300F::Timer2Timer()
{
    if (sessionsPageShown() || rb_none2->isChecked() || data::mainSessionBusy())
        return;
    Gauge2->setProgress(0);
    LoadLockList();
}

void TKOLM300F::Timer3Timer()
{
    (sessionsPageShown() ? Gauge1 : Gauge2)->addProgress(kTimer3Interval);
}

void TKOLM300F::clearLowerBoxes()
{
    Memo1->clear();
    Memo2->clear();
}

void TKOLM300F::ClearSessionGrid()
{
    AdvStringGrid1->clearData();
    AdvStringGrid1->setRowCount(2);
    AdvStringGrid1->setColCount(kSessionColumns);
    clearLowerBoxes();
}

void TKOLM300F::ClearLockGrid()
{
    AdvStringGrid2->clearData();
    AdvStringGrid2->setRowCount(2);
    AdvStringGrid2->setColCount(kLockColumns);
    clearLowerBoxes();
}

void TKOLM300F::LoadSessionList()
{
    ui::setBusyCursor(true);
    showStatusNow(QString());
    sbt_Cancel->setEnabled(false);
    ClearSessionGrid();
    if (rb_all->isChecked())
        m_statusPattern = QStringLiteral("%");
    else if (rb_active->isChecked())
        m_statusPattern = QStringLiteral("ACTIVE%");
    else
        m_statusPattern = QStringLiteral("INACTIVE%");

    const bool read = readListRows(
        this, Oraclem2, AdvStringGrid1,
        [this](data::HORACLEM2& o) { return o.GetSessions(m_statusPattern); },
        QStringLiteral("V$SESSION"), [this](const data::HORACLEM2& o, int r, int i) {
            for (int c = 0; c < kSessionColumns; ++c)
                AdvStringGrid1->setCell(c, r, o.slotText(c, i));
        });
    if (read) {
        AdvStringGrid1->setFocus();
        sbt_Cancel->setEnabled(true);
        setStatusText(QStringLiteral("▶ 세션 정보가 조회 되었습니다... (") +
                      QString::number(RowCount) + QStringLiteral(" 건)"));
        m_tabChanging = QStringLiteral("0");
    }
    ui::setBusyCursor(false);
}

void TKOLM300F::LoadLockList()
{
    ui::setBusyCursor(true);
    showStatusNow(QString());
    sbt_Cancel->setEnabled(false);
    ClearLockGrid();

    // A session's rows form a group: its SID and serial show on its first row, and its last row
    // is underlined.
    QString groupKey;
    const bool read = readListRows(
        Oraclem2, AdvStringGrid2, &data::HORACLEM2::GetLocks,
        [this, &groupKey](const data::HORACLEM2& o, int r, int i) {
            AdvStringGrid2->setCell(0, r, QString());
            AdvStringGrid2->setCell(1, r, QString());
            AdvStringGrid2->setCell(kMarkerColumn, r, QString());
            const QString sid = o.slotText(0, i);
            if (i == 0) {
                AdvStringGrid2->setCell(0, r, sid);
                AdvStringGrid2->setCell(1, r, o.slotText(1, i));
                groupKey = sid;
            } else if (sid != groupKey) {
                AdvStringGrid2->setCell(0, r, sid);
                AdvStringGrid2->setCell(1, r, o.slotText(1, i));
                AdvStringGrid2->setCell(kMarkerColumn, r - 1, QStringLiteral("--"));
                groupKey = sid;
            }
            for (int c = 2; c <= 11; ++c)
                AdvStringGrid2->setCell(c, r, o.slotText(c, i));
        },
        [this](int n) {
            AdvStringGrid2->setCell(kMarkerColumn, 1, QStringLiteral("--"));
            showReadError(QStringLiteral("V$LOCK"), n);
        });
    if (read) {
        const int n = RowCount;
        AdvStringGrid2->setCell(kMarkerColumn, n, QStringLiteral("--"));
        AdvStringGrid2->setFocus();
        sbt_Cancel->setEnabled(true);
        setStatusText(QStringLiteral("▶ 락트랜젝션 정보가 조회 되었습니다... (") +
                      QString::number(n) + QStringLiteral(" 건)"));
        m_tabChanging = QStringLiteral("0");
    }
    ui::setBusyCursor(false);
}

void TKOLM300F::ShowSessionSql(bool locks, int row)
{
    clearLowerBoxes();
    PageControl2->setCurrentIndex(0);
    if (row == 0)
        return;
    ui::StringGrid* grid = locks ? AdvStringGrid2 : AdvStringGrid1;
    m_sid = grid->cell(0, row);
    m_serial = grid->cell(1, row);
    m_user = grid->cell(locks ? 3 : 2, row);
    if (m_sid.isEmpty())
        return;
    GroupBox1->setTitle(QStringLiteral("[") + m_sid + QStringLiteral(" : ") + m_serial +
                        QStringLiteral(" : ") + m_user + QStringLiteral("]"));
    // The kill needs only the session: idle and background sessions, which have no SQL text,
    // are the ones most often killed.
    Memo2->setPlainText(QStringLiteral("ALTER SYSTEM KILL SESSION '") + m_sid +
                        QStringLiteral(",") + m_serial + QStringLiteral("'"));
    ui::setBusyCursor(true);
    Oraclem2 = std::make_unique<data::HORACLEM2>();
    RowCount = Oraclem2->GetSessionSql(m_sid, m_serial, m_user);
    if (RowCount > 0) {
        m_sqlText.clear();
        for (int i = 0; i < RowCount; ++i)
            m_sqlText += Oraclem2->slotText(0, i);
        Memo1->setPlainText(m_sqlText);
        Oraclem2.reset();
    } else {
        Oraclem2.reset();
        showReadError(QStringLiteral("V$SQLTEXT_COLUMNS"), RowCount);
    }
    ui::setBusyCursor(false);
}

void TKOLM300F::sbt_CancelClick()
{
    const QString statement = Memo2->toPlainText();
    if (statement.isEmpty())
        return;
    const bool sessions = sessionsPageShown();
    const QString question = (sessions ? QStringLiteral("SESSION을 KILL 하시겠습니까?")
                                       : QStringLiteral("LOCK을 KILL 하시겠습니까?")) +
                             QStringLiteral("\rSID      = ") + m_sid +
                             QStringLiteral("\rSERIAL   = ") + m_serial +
                             QStringLiteral("\rUSERNAME = ") + m_user;
    const auto answer = ui::services().messageBox(
        this, sessions ? QStringLiteral("Session Kill") : QStringLiteral("Lock Kill"), question,
        QMessageBox::Question, QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    Oraclem1 = std::make_unique<data::HORACLEM1>();
    const int result = Oraclem1->ExecSql(statement, QString());
    Oraclem1.reset();
    const QString action = sessions ? QStringLiteral("Session Kill") : QStringLiteral("Lock Kill");
    const QString key = m_sid + QStringLiteral(":") + m_serial;
    if (result < 0) {
        setStatusText(QStringLiteral("▶ ") + action + QStringLiteral(" Error ...{") + key +
                      QStringLiteral(")"));
        return;
    }
    if (sessions)
        LoadSessionList();
    else
        LoadLockList();
    setStatusText(QStringLiteral("▶ ") + action + QStringLiteral(" Completed ...(") + key +
                  QStringLiteral(")"));
}

void TKOLM300F::sbt_clesesClick()
{
    closeScreen();
}

}  // namespace kolmara::screens
