// The user management screen.
#include "screens/users/KOLM320U.h"

#include "common/KOLMCOMM.h"
#include "data/SharedSlots.h"
#include "screens/ListGrid.h"
#include "screens/Panels.h"
#include "widgets/ActionGuard.h"
#include "widgets/StringGrid.h"
#include "widgets/ToolButtons.h"
#include "widgets/UiServices.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSplitter>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace kolmara::screens {

namespace {

enum Page { kUserPage, kRegistrationPage, kBackupStatusPage };

constexpr int kUserColumns = 10;
constexpr int kLogMarkerColumn = 8;

// The whole log of a user: with the suffixes GetBackupLog appends, these bounds lie below and
// above every stamp.
const QString kLogFrom = QStringLiteral("00000000 000000");
const QString kLogTo = QStringLiteral("99999999 235959");

ui::StringGrid* userList(QWidget* parent, const QString& name)
{
    using enum Align;
    return buildGrid(parent, {.name = name,
                              .columns = {{QStringLiteral("No."), 40, Centre},
                                          {QStringLiteral("USERNAME"), 100},
                                          {QStringLiteral("USER_ID"), 52}},
                              .rowSelect = true,
                              .whiteSelection = true});
}

// The integer value of `length` characters of text from `from` (0-based); false when they are
// missing or not digits.
bool readPart(const QString& text, int from, int length, int* value)
{
    const QString part = text.mid(from, length);
    if (part.size() != length)
        return false;
    bool ok = false;
    *value = part.toInt(&ok);
    return ok;
}

}  // namespace

TKOLM320F::TKOLM320F(QWidget* parent)
    : MdiScreen(QStringLiteral("사용자 유저 관리"), QSize(843, 625), parent)
{
    setObjectName(QStringLiteral("TKOLM320F"));
    setupUi();
}

void TKOLM320F::setupUi()
{
    QToolBar* tools = addToolStrip();
    sbt_select = addListButton(tools);
    sbt_cleses = addCloseButton(tools);
    bbt_update = ui::addToolButton(tools, QStringLiteral("bbt_update"), QStringLiteral("유저 저장"),
                                   QStringLiteral("S"), QColor(150, 90, 30));
    bbt_update->setEnabled(false);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    addBody(PageControl1);

    auto* userPage = new QWidget(PageControl1);
    userPage->setObjectName(QStringLiteral("TabSheet1"));
    auto* ul = new QVBoxLayout(userPage);
    ul->setContentsMargins(2, 2, 2, 2);
    using enum Align;
    AdvStringGrid1 = buildGrid(userPage,
                               {.name = QStringLiteral("AdvStringGrid1"),
                                .columns = {{QStringLiteral("No."), 40, Centre},
                                            {QStringLiteral("USERNAME"), 100},
                                            {QStringLiteral("USER_ID"), 52, Right},
                                            {QStringLiteral("PASSWORD"), 141},
                                            {QStringLiteral("ACCOUNT_STATUS"), 94},
                                            {QStringLiteral("DEFAULT_TABLESPACE"), 120},
                                            {QStringLiteral("TEMPORARY_TABLESPACE"), 130},
                                            {QStringLiteral("CREATED"), 125, Centre},
                                            {QStringLiteral("PROFILE"), 100},
                                            {QStringLiteral("INITIAL_RSRC_CONSUMER_GROUP"), 172}},
                                .rowSelect = true,
                                .whiteSelection = true});
    ul->addWidget(AdvStringGrid1);
    PageControl1->addTab(userPage, QStringLiteral("사용자 권한"));
    PageControl1->addTab(buildRegistrationPage(), QStringLiteral("사용자 등록"));
    PageControl1->addTab(buildBackupStatusPage(), QStringLiteral("백업 현황"));

    ui::connectGuarded(sbt_select, &QToolButton::clicked, this, [this] { sbt_selectClick(); });
    ui::connectGuarded(sbt_cleses, &QToolButton::clicked, this, [this] { sbt_clesesClick(); });
    ui::connectGuarded(bbt_update, &QToolButton::clicked, this, [this] { bbt_updateClick(); });
    ui::connectGuarded(PageControl1, &QTabWidget::currentChanged, this,
                       [this] { PageControl1Change(); });
    ui::connectGuarded(AdvStringGrid2, &ui::StringGrid::cellClicked, this,
                       [this](int, int row) { AdvStringGrid2ClickCell(row); });
    ui::connectGuarded(AdvStringGrid4, &ui::StringGrid::cellClicked, this,
                       [this](int, int row) { AdvStringGrid4ClickCell(row); });
}

QWidget* TKOLM320F::buildRegistrationPage()
{
    auto* page = new QWidget(PageControl1);
    page->setObjectName(QStringLiteral("TabSheet2"));
    auto* pl = new QVBoxLayout(page);
    pl->setContentsMargins(2, 2, 2, 2);
    Splitter1 = new QSplitter(Qt::Horizontal, page);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    pl->addWidget(Splitter1);

    AdvStringGrid2 = userList(Splitter1, QStringLiteral("AdvStringGrid2"));

    auto* right = new QWidget(Splitter1);
    auto* rl = new QVBoxLayout(right);
    rl->setContentsMargins(0, 0, 0, 0);

    auto* form = new QGroupBox(QStringLiteral("유저 등록/수정"), right);
    form->setObjectName(QStringLiteral("GroupBox1"));
    auto* fl = new QGridLayout(form);
    auto label = [form](const QString& text) { return new QLabel(text, form); };

    pn_account = valuePanel(QStringLiteral("pn_account"), form);
    fl->addWidget(label(QStringLiteral("유 저 명")), 0, 0);
    fl->addWidget(pn_account, 0, 1, 1, 2);

    ed_passwd = new QLineEdit(form);
    ed_passwd->setObjectName(QStringLiteral("ed_passwd"));
    ed_passwd->setMaxLength(30);
    // The password is kept as typed, in capitals, for the server backup job to log in with; on
    // screen it is masked unless the DBA asks to see it.
    ed_passwd->setEchoMode(QLineEdit::Password);
    cb_showpasswd = new QCheckBox(QStringLiteral("보기"), form);
    cb_showpasswd->setObjectName(QStringLiteral("cb_showpasswd"));
    fl->addWidget(label(QStringLiteral("패스워드")), 1, 0);
    fl->addWidget(ed_passwd, 1, 1);
    fl->addWidget(cb_showpasswd, 1, 2);

    ed_username = new QLineEdit(form);
    ed_username->setObjectName(QStringLiteral("ed_username"));
    ed_username->setMaxLength(30);
    fl->addWidget(label(QStringLiteral("유저명칭")), 2, 0);
    fl->addWidget(ed_username, 2, 1, 1, 2);

    auto* timeRow = new QHBoxLayout;
    cb_time1 = new QComboBox(form);
    cb_time1->setObjectName(QStringLiteral("cb_time1"));
    for (int h = 1; h <= 23; ++h)
        cb_time1->addItem(QStringLiteral("%1").arg(h, 2, 10, QLatin1Char('0')));
    cb_time2 = new QComboBox(form);
    cb_time2->setObjectName(QStringLiteral("cb_time2"));
    for (int m = 0; m <= 55; m += 5)
        cb_time2->addItem(QStringLiteral("%1").arg(m, 2, 10, QLatin1Char('0')));
    timeRow->addWidget(cb_time1);
    timeRow->addWidget(label(QStringLiteral("시")));
    timeRow->addWidget(cb_time2);
    timeRow->addWidget(label(QStringLiteral("분")));
    timeRow->addStretch();
    fl->addWidget(label(QStringLiteral("백업시간")), 3, 0);
    fl->addLayout(timeRow, 3, 1, 1, 2);

    auto* typeRow = new QHBoxLayout;
    rb_type1 = new QRadioButton(QStringLiteral("백업함(Y)"), form);
    rb_type1->setObjectName(QStringLiteral("rb_type1"));
    rb_type2 = new QRadioButton(QStringLiteral("백업안함(N)"), form);
    rb_type2->setObjectName(QStringLiteral("rb_type2"));
    rb_type2->setChecked(true);
    typeRow->addWidget(rb_type1);
    typeRow->addWidget(rb_type2);
    typeRow->addStretch();
    fl->addWidget(label(QStringLiteral("백업여부")), 4, 0);
    fl->addLayout(typeRow, 4, 1, 1, 2);

    pn_mdfdat = valuePanel(QStringLiteral("pn_mdfdat"), form);
    fl->addWidget(label(QStringLiteral("변경일자")), 5, 0);
    fl->addWidget(pn_mdfdat, 5, 1, 1, 2);

    pn_imode = valuePanel(QStringLiteral("pn_imode"), form);
    pn_imode->setText(QStringLiteral("1"));
    pn_imode->hide();
    fl->setColumnStretch(1, 1);
    rl->addWidget(form);

    auto* tableBox = new QGroupBox(QStringLiteral("테이블 현황"), right);
    tableBox->setObjectName(QStringLiteral("GroupBox2"));
    auto* tl = new QVBoxLayout(tableBox);
    tl->setContentsMargins(2, 2, 2, 2);
    using enum Align;
    AdvStringGrid3 = buildGrid(tableBox, {.name = QStringLiteral("AdvStringGrid3"),
                                          .columns = {{QStringLiteral("No."), 40, Centre},
                                                      {QStringLiteral("테이블명"), 100},
                                                      {QStringLiteral("테이블명칭"), 150},
                                                      {QStringLiteral("구분"), 34, Centre},
                                                      {QStringLiteral("백업조건"), 249}},
                                          .whiteSelection = true});
    tl->addWidget(AdvStringGrid3);
    rl->addWidget(tableBox, 1);

    Splitter1->addWidget(AdvStringGrid2);
    Splitter1->addWidget(right);
    Splitter1->setSizes({215, 610});
    Splitter1->setStretchFactor(1, 1);

    keepUpperCase(ed_passwd);
    connect(cb_showpasswd, &QCheckBox::toggled, this, [this](bool shown) {
        ed_passwd->setEchoMode(shown ? QLineEdit::Normal : QLineEdit::Password);
    });
    return page;
}

QWidget* TKOLM320F::buildBackupStatusPage()
{
    auto* page = new QWidget(PageControl1);
    page->setObjectName(QStringLiteral("TabSheet3"));
    auto* pl = new QVBoxLayout(page);
    pl->setContentsMargins(2, 2, 2, 2);
    Splitter2 = new QSplitter(Qt::Horizontal, page);
    Splitter2->setObjectName(QStringLiteral("Splitter2"));
    pl->addWidget(Splitter2);

    AdvStringGrid4 = userList(Splitter2, QStringLiteral("AdvStringGrid4"));
    using enum Align;
    AdvStringGrid5 = buildGrid(Splitter2, {.name = QStringLiteral("AdvStringGrid5"),
                                           .columns = {{QStringLiteral("No."), 40, Centre},
                                                       {QStringLiteral("시작일시"), 120, Centre},
                                                       {QStringLiteral("테이블명"), 100},
                                                       {QStringLiteral("테이블명칭"), 228},
                                                       {QStringLiteral("백업건수"), 89, Right},
                                                       {QStringLiteral("종료일시"), 120, Centre},
                                                       {QStringLiteral("시간(분)"), 100, Right},
                                                       {QStringLiteral("백업장소"), 317},
                                                       {QString(), 10, Centre}},
                                           .lines = ui::StringGrid::GridLines::VerticalOnly,
                                           .whiteSelection = true,
                                           .groupMarkerColumn = kLogMarkerColumn});
    Splitter2->addWidget(AdvStringGrid4);
    Splitter2->addWidget(AdvStringGrid5);
    Splitter2->setSizes({215, 610});
    Splitter2->setStretchFactor(1, 1);
    return page;
}

void TKOLM320F::FormShow()
{
    {
        const QSignalBlocker blocker(PageControl1);
        PageControl1->setCurrentIndex(kUserPage);
    }
    ClearTableStatusGrid();
    ClearUserLogGrid();
    sbt_selectClick();
}

QString TKOLM320F::server() const
{
    return ConnServer.toUpper();
}

void TKOLM320F::sbt_selectClick()
{
    bbt_update->setEnabled(false);
    switch (PageControl1->currentIndex()) {
    case kUserPage:
        LoadUserList();
        break;
    case kRegistrationPage:
        LoadTableStatus();
        break;
    default:
        LoadUserBackupLog();
        break;
    }
}

void TKOLM320F::PageControl1Change()
{
    sbt_selectClick();
}

void TKOLM320F::sbt_clesesClick()
{
    closeScreen();
}

void TKOLM320F::ClearUserGrid() { AdvStringGrid1->clearData(); }
void TKOLM320F::ClearTableStatusGrid() { AdvStringGrid3->clearData(); }
void TKOLM320F::ClearLogUserGrid() { AdvStringGrid4->clearData(); }
void TKOLM320F::ClearUserLogGrid() { AdvStringGrid5->clearData(); }

void TKOLM320F::ClearRegistration()
{
    AdvStringGrid2->clearData();
    clearRegistrationFields();
}

void TKOLM320F::clearRegistrationFields()
{
    pn_account->clear();
    pn_imode->setText(QStringLiteral("1"));
    ed_passwd->clear();
    ed_username->clear();
    cb_time1->setCurrentIndex(0);
    cb_time2->setCurrentIndex(0);
    rb_type2->setChecked(true);
    pn_mdfdat->clear();
}

int TKOLM320F::hourItem(const QString& time)
{
    int hour = 0;
    if (!readPart(time, 0, 2, &hour) || hour < 1 || hour > 23)
        return 0;
    return hour - 1;
}

int TKOLM320F::minuteItem(const QString& time)
{
    int minute = 0;
    if (!readPart(time, 2, 2, &minute) || minute < 0 || minute > 59)
        return 0;
    return minute / 5;
}

void TKOLM320F::LoadUserList()
{
    ui::setBusyCursor(true);
    showStatusNow(QString());
    ClearUserGrid();
    ClearRegistration();
    ClearLogUserGrid();

    const bool read = readListRows(
        this, Oraclem1, AdvStringGrid1, &data::HORACLEM1::GetDbaUsers, QStringLiteral("DBA_USERS"),
        [this](const data::HORACLEM1& o, int r, int i) {
            AdvStringGrid1->setCell(0, r, QString::number(r));
            for (int c = 1; c < kUserColumns; ++c)
                AdvStringGrid1->setCell(c, r, o.slotText(c - 1, i));
        });
    if (!read) {
        ui::setBusyCursor(false);
        return;
    }
    const int n = RowCount;
    // The two short lists: number, USERNAME and USER_ID, as the full list shows them.
    for (ui::StringGrid* list : {AdvStringGrid2, AdvStringGrid4})
        fillListGrid(list, n, [this, list](int r, int) {
            setRow(list, r,
                   {QString::number(r), AdvStringGrid1->cell(1, r), AdvStringGrid1->cell(2, r)});
        });
    setStatusText(QStringLiteral("▶ 사용자권한 정보가 조회 되었습니다... (") + QString::number(n) +
                  QStringLiteral(" 건)"));
    ui::setBusyCursor(false);
}

void TKOLM320F::AdvStringGrid2ClickCell(int row)
{
    clearRegistrationFields();
    if (row <= 0 || row >= AdvStringGrid2->rowCount())
        return;
    pn_account->setText(AdvStringGrid2->cell(1, row));
    if (pn_account->text().isEmpty())
        return;
    bbt_update->setEnabled(true);

    Backust1 = std::make_unique<data::HBACKUST1>();
    RowCount = Backust1->GetBackupUser(server(), pn_account->text());
    if (RowCount > 0) {
        pn_imode->setText(QStringLiteral("2"));
        ed_passwd->setText(Backust1->slotText(2));
        ed_username->setText(Backust1->slotText(3));
        const QString time = Backust1->slotText(4);
        cb_time1->setCurrentIndex(hourItem(time));
        cb_time2->setCurrentIndex(minuteItem(time));
        (Backust1->slotText(5) == QLatin1String("Y") ? rb_type1 : rb_type2)->setChecked(true);
        pn_mdfdat->setText(Backust1->slotText(6));
    }
    Backust1.reset();
    LoadTableStatus();
}

void TKOLM320F::AdvStringGrid4ClickCell(int row)
{
    if (row <= 0 || row >= AdvStringGrid4->rowCount())
        return;
    LogUser = AdvStringGrid4->cell(1, row);
    if (!LogUser.isEmpty())
        LoadUserBackupLog();
}

void TKOLM320F::bbt_updateClick()
{
    // The server backup job logs in with this password; without one it could not.
    if (ed_passwd->text().isEmpty()) {
        ui::showMessage(this, QStringLiteral("패스워드를 입력하십시오."), QMessageBox::Warning);
        ed_passwd->setFocus();
        return;
    }
    BackupFlag = rb_type1->isChecked() ? QStringLiteral("Y") : QStringLiteral("N");
    const QString time = cb_time1->currentText() + cb_time2->currentText();
    Backust1 = std::make_unique<data::HBACKUST1>();
    if (pn_imode->text() == QLatin1String("1"))
        AuxRowCount = Backust1->InsertBackupUser(server(), pn_account->text(), ed_passwd->text(),
                                                 ed_username->text(), time, BackupFlag);
    else
        AuxRowCount = Backust1->UpdateBackupUser(server(), pn_account->text(), ed_passwd->text(),
                                                 ed_username->text(), time, BackupFlag);
    Backust1.reset();
    if (AuxRowCount < 0) {
        setStatusText(QStringLiteral("▶ 사용자가 등록에 에러 입니다... (") + QString::number(AuxRowCount) +
                      QStringLiteral(")"));
        return;
    }
    bbt_update->setEnabled(false);
    setStatusText(QStringLiteral("▶ 사용자가 등록 되었습니다..."));
}

void TKOLM320F::LoadTableStatus()
{
    ui::setBusyCursor(true);
    showStatusNow(QString());
    ClearTableStatusGrid();

    const bool read = readListRows(
        Backupt1, AdvStringGrid3,
        [this](data::HBACKUPT1& o) { return o.GetBackupTables(server(), pn_account->text()); },
        // BACKUP_TABLEID, BACKUP_TABLENAME, BACKUP_CYCLE, BACKUP_CONDISION
        [this](const data::HBACKUPT1& o, int r, int i) {
            setRow(AdvStringGrid3, r, {QString::number(r), o.slotText(2, i), o.slotText(3, i),
                                       o.slotText(4, i), o.slotText(7, i)});
        },
        [this](int n) {
            setStatusText(QStringLiteral("▶ 백업테이블현황 정보가 없습니다... (") + QString::number(n) +
                          QStringLiteral(")"));
        });
    if (read)
        setStatusText(QStringLiteral("▶ 백업테이블현황 정보가 조회 되었습니다... (") + QString::number(RowCount) +
                      QStringLiteral(" 건)"));
    ui::setBusyCursor(false);
}

void TKOLM320F::LoadUserBackupLog()
{
    ui::setBusyCursor(true);
    showStatusNow(QString());
    ClearUserLogGrid();

    const bool read = readListRows(
        Backupt2, AdvStringGrid5,
        [this](data::HBACKUPT2& o) { return o.GetBackupLog(server(), LogUser, kLogFrom, kLogTo); },
        // Start, table, its name, BACKLOG_COUNT in 건, end, USETIME in 분, where: IP (path).
        [this](const data::HBACKUPT2& o, int r, int i) {
            setRow(
                AdvStringGrid5, r,
                {QString::number(r), o.slotText(3, i), o.slotText(2, i), o.slotText(5, i),
                 FormatAmount(o.slotText(12, i), QStringLiteral("0")) + QStringLiteral(" 건"),
                 o.slotText(4, i), o.slotText(13, i) + QStringLiteral(" 분"),
                 o.slotText(9, i) + QStringLiteral(" (") + o.slotText(11, i) + QStringLiteral(")"),
                 QString()});
        },
        [this](int n) {
            AdvStringGrid5->setCell(kLogMarkerColumn, 1, QStringLiteral("--"));
            setStatusText(QStringLiteral("▶ 백업로그 현황이 없습니다... (") + QString::number(n) +
                          QStringLiteral(")"));
        });
    if (read) {
        const int n = RowCount;
        AdvStringGrid5->setCell(kLogMarkerColumn, n, QStringLiteral("--"));
        setStatusText(QStringLiteral("▶ 백업테이블현황 정보가 조회 되었습니다... (") + QString::number(n) +
                      QStringLiteral(" 건)"));
    }
    ui::setBusyCursor(false);
}

}  // namespace kolmara::screens
