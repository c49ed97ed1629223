// The connect dialog.
#include "dialogs/KOLM100U.h"

#include "common/Errors.h"
#include "common/KOLMCOMM.h"
#include "common/ProfileFile.h"
#include "common/SavedLogins.h"
#include "widgets/ActionGuard.h"
#include "widgets/Colors.h"
#include "widgets/DialogFrame.h"
#include "widgets/StringGrid.h"
#include "widgets/UiServices.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace kolmara::dialogs {

namespace {

QPixmap fieldIcon(const QColor& color)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(color);
    p.setPen(color.darker(150));
    p.drawEllipse(QRectF(2, 2, 12, 12));
    return pixmap;
}

}  // namespace

TKOLM100F::TKOLM100F(ConnectTarget* mainWindow, QWidget* parent)
    : FormDialog(parent), m_main(mainWindow)
{
    ui::setupDialogFrame(this, QStringLiteral("TKOLM100F"), QStringLiteral("D/B Connect"),
                         QSize(364, 297));
    setupUi();
}

void TKOLM100F::setupUi()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 0);
    layout->setSpacing(4);

    auto* upper = new QHBoxLayout;
    auto* fields = new QGridLayout;
    fields->setVerticalSpacing(3);
    auto addField = [&](int row, const QString& caption, const QColor& color, QLineEdit* edit,
                        const QString& name) {
        auto* icon = new QLabel(this);
        icon->setPixmap(fieldIcon(color));
        auto* label = new QLabel(caption, this);
        edit->setObjectName(name);
        edit->setMaxLength(10);
        fields->addWidget(icon, row, 0);
        fields->addWidget(label, row, 1);
        fields->addWidget(edit, row, 2);
    };
    ed_username = new QLineEdit(this);
    ed_password = new QLineEdit(this);
    ed_password->setEchoMode(QLineEdit::Password);
    ed_password->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    ed_server = new QLineEdit(this);
    addField(0, QStringLiteral("UserName : "), QColor(60, 120, 200), ed_username,
             QStringLiteral("ed_username"));
    addField(1, QStringLiteral("PassWord : "), QColor(200, 140, 40), ed_password,
             QStringLiteral("ed_password"));
    cb_password = new QCheckBox(QStringLiteral("Save This Password"), this);
    cb_password->setObjectName(QStringLiteral("cb_password"));
    fields->addWidget(cb_password, 2, 2);
    addField(3, QStringLiteral("DataBase :"), QColor(60, 160, 80), ed_server,
             QStringLiteral("ed_server"));
    upper->addLayout(fields, 1);

    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(2);
    auto button = [&](const QString& name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setFixedSize(69, 25);
        b->setFlat(true);
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    sbt_Ok = button(QStringLiteral("sbt_Ok"), QStringLiteral("&Ok"));
    sbt_Cancel = button(QStringLiteral("sbt_Cancel"), QStringLiteral("&Cancel"));
    sbt_New = button(QStringLiteral("sbt_New"), QStringLiteral("&New"));
    sbt_Delete = button(QStringLiteral("sbt_Delete"), QStringLiteral("&Delete"));
    buttons->addStretch();
    upper->addLayout(buttons);
    layout->addLayout(upper);

    setTabOrder(ed_username, ed_password);
    setTabOrder(ed_password, cb_password);
    setTabOrder(cb_password, ed_server);

    AdvStringGrid1 = new ui::StringGrid(this);
    AdvStringGrid1->setObjectName(QStringLiteral("AdvStringGrid1"));
    AdvStringGrid1->setColCount(5);
    AdvStringGrid1->setRowCount(2);
    const QStringList headers = {QStringLiteral("No."), QStringLiteral("DataBase"),
                                 QStringLiteral("UserName"), QStringLiteral("Password"), QString()};
    const int widths[] = {40, 100, 99, 100, 25};
    for (int c = 0; c < 5; ++c) {
        AdvStringGrid1->setCell(c, 0, headers[c]);
        AdvStringGrid1->setColWidth(c, widths[c]);
    }
    AdvStringGrid1->setRowHeight(21);
    AdvStringGrid1->setColumnsResizable(false);
    AdvStringGrid1->setGridLineColor(QColor(192, 192, 192));
    AdvStringGrid1->setRowSelect(true);
    AdvStringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    AdvStringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    AdvStringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    AdvStringGrid1->setAlignmentFunction([](int col, int row) -> Qt::Alignment {
        if (row == 0 || col == 0 || col == 4)
            return Qt::AlignCenter;
        return Qt::AlignLeft | Qt::AlignVCenter;
    });
    layout->addWidget(AdvStringGrid1, 1);

    addStatusBar(layout);

    ui::connectGuarded(sbt_Ok, &QPushButton::clicked, this, [this] { sbt_OkClick(); });
    ui::connectGuarded(sbt_New, &QPushButton::clicked, this, [this] { sbt_NewClick(); });
    ui::connectGuarded(sbt_Cancel, &QPushButton::clicked, this, [this] { sbt_CancelClick(); });
    ui::connectGuarded(sbt_Delete, &QPushButton::clicked, this, [this] { sbt_DeleteClick(); });
    ui::connectGuarded(AdvStringGrid1, &ui::StringGrid::cellClicked, this,
                       [this](int col, int row) { AdvStringGrid1Click(col, row); });
    ui::connectGuarded(AdvStringGrid1, &ui::StringGrid::cellDoubleClicked, this,
                       [this](int col, int row) { AdvStringGrid1DblClick(col, row); });
}

QString TKOLM100F::NextField(const QString& value, int start)
{
    return nextLoginField(value, start, FieldPos);
}

void TKOLM100F::ClearLoginGrid()
{
    AdvStringGrid1->clearData();
    AdvStringGrid1->setRowCount(2);
    AdvStringGrid1->setColCount(5);
    FieldPos = 0;
    LoginCount = 0;
    ed_username->clear();
    ed_password->clear();
    ed_server->clear();
    m_no.clear();
    m_pickedRow = 0;
}

void TKOLM100F::FormShow()
{
    ClearLoginGrid();
    const ProfileFile ini(settingsFilePath());
    m_countUnreadable = true;
    LoginCount = savedLoginCount(ini.readString(kSavedLoginCountSection, QStringLiteral("Count")));
    m_countUnreadable = false;
    m_iMode = QStringLiteral("1");
    AdvStringGrid1->setRowCount(LoginCount + 1);
    AdvStringGrid1->beginUpdate();
    for (int n = 1; n <= LoginCount; ++n) {
        const SavedLogin login = readSavedLogin(ini, n);
        AdvStringGrid1->setCell(0, n, QString::number(n));
        AdvStringGrid1->setCell(1, n, login.server);
        AdvStringGrid1->setCell(2, n, login.user);
        AdvStringGrid1->setCell(3, n, login.scrambledPassword);
        AdvStringGrid1->setCell(4, n, login.keep);
    }
    AdvStringGrid1->endUpdate();
}

void TKOLM100F::AdvStringGrid1Click(int, int row)
{
    if (row < 1 || row >= AdvStringGrid1->rowCount())
        return;
    m_iMode = QStringLiteral("2");
    m_no.clear();
    m_pickedRow = row;
    ed_username->clear();
    ed_password->clear();
    ed_server->clear();
    cb_password->setChecked(false);
    if (AdvStringGrid1->cell(1, row).isEmpty())
        return;
    ed_username->setText(AdvStringGrid1->cell(2, row));
    ed_server->setText(AdvStringGrid1->cell(1, row));
    if (AdvStringGrid1->cell(4, row) == QStringLiteral("Y")) {
        ed_password->setText(DecodePassword(AdvStringGrid1->cell(3, row), SavedLoginKey));
        cb_password->setChecked(true);
    }
    m_no = AdvStringGrid1->cell(0, row);
}

void TKOLM100F::AdvStringGrid1DblClick(int col, int row)
{
    AdvStringGrid1Click(col, row);
    if (row >= 1 && row < AdvStringGrid1->rowCount() && !AdvStringGrid1->cell(1, row).isEmpty())
        sbt_OkClick();
}

bool TKOLM100F::connectWithEdits()
{
    if (ed_server->text().isEmpty() || ed_username->text().isEmpty() ||
        ed_password->text().isEmpty()) {
        setStatus(QStringLiteral("▶ 서버/유저/암호 입력이 반드시 되어야 합니다..."));
        return false;
    }
    if (!m_main->ConnectDatabase(ed_server->text(), ed_username->text(), ed_password->text()))
        return false;
    m_main->enableCommands();
    return true;
}

QString TKOLM100F::loginValue() const
{
    // A password the user chose not to keep is not written, not even scrambled: a login saved
    // with "N" never fills the password in, so nothing would read it.
    const bool keep = cb_password->isChecked();
    return ed_server->text() + QStringLiteral("/") + ed_username->text() + QStringLiteral("/") +
           (keep ? EncodedPassword : QString()) +
           (keep ? QStringLiteral("/Y/") : QStringLiteral("/N/"));
}

int TKOLM100F::nextFreeLoginNumber() const
{
    // With "Count" unreadable, a new login goes after every number in use, so none is overwritten.
    int highest = 0;
    const ProfileFile ini(settingsFilePath());
    for (const QString& key : ini.keyNames(kSavedLoginSection)) {
        bool ok = false;
        const int n = key.trimmed().toInt(&ok);
        if (ok && n > highest)
            highest = n;
    }
    return highest + 1;
}

void TKOLM100F::saveAsNewLogin()
{
    LoginCount = m_countUnreadable ? nextFreeLoginNumber() : LoginCount + 1;
    EncodedPassword = EncodePassword(ed_password->text(), SavedLoginKey);
    ProfileFile ini(settingsFilePath());
    ini.writeString(kSavedLoginCountSection, QStringLiteral("Count"), QString::number(LoginCount));
    ini.writeString(kSavedLoginSection, QString::number(LoginCount), loginValue());
}

void TKOLM100F::sbt_NewClick()
{
    if (!connectWithEdits())
        return;
    saveAsNewLogin();
    accept();
}

void TKOLM100F::sbt_OkClick()
{
    if (m_iMode != QStringLiteral("2")) {
        sbt_NewClick();
        return;
    }
    if (!connectWithEdits())
        return;
    if (m_no.isEmpty()) {
        // A picked row without a server has no number to write back to: keep it as a new login.
        saveAsNewLogin();
    } else {
        EncodedPassword = EncodePassword(ed_password->text(), SavedLoginKey);
        ProfileFile ini(settingsFilePath());
        ini.writeString(kSavedLoginSection, m_no, loginValue());
    }
    accept();
}

void TKOLM100F::sbt_CancelClick()
{
    reject();
}

void TKOLM100F::sbt_DeleteClick()
{
    const int number = m_pickedRow;
    if (number < 1 || number > LoginCount) {
        setStatus(QStringLiteral("▶ 삭제할 접속 정보를 목록에서 먼저 선택하십시오..."));
        return;
    }
    QStringList shown;
    for (int c = 1; c <= 4; ++c)
        shown << AdvStringGrid1->cell(c, number);
    const QString what = shown[0].isEmpty() && shown[1].isEmpty()
                             ? QStringLiteral("빈 항목")
                             : shown[0] + QStringLiteral(" / ") + shown[1];
    const QString question =
        QStringLiteral("저장된 접속 정보 %1번 (%2)을 삭제하시겠습니까?").arg(number).arg(what);
    if (ui::showMessage(this, question, QMessageBox::Question,
                        QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;

    // Another Kolmara may have saved a login since the list was read: only the login the user
    // saw is removed.
    ProfileFile ini(settingsFilePath());
    const int count =
        savedLoginCount(ini.readString(kSavedLoginCountSection, QStringLiteral("Count")));
    const SavedLogin login = readSavedLogin(ini, number);
    const QStringList stored{login.server, login.user, login.scrambledPassword, login.keep};
    if (count != LoginCount || stored != shown) {
        FormShow();
        setStatus(QStringLiteral("▶ 접속 정보가 그 사이에 바뀌어 목록을 다시 읽었습니다..."));
        return;
    }

    // Each later login moves up before the last number goes, so a write that fails half way
    // leaves a login listed twice, never one lost.
    for (int n = number + 1; n <= count; ++n)
        ini.writeString(kSavedLoginSection, QString::number(n - 1),
                        ini.readString(kSavedLoginSection, QString::number(n)));
    ini.deleteKey(kSavedLoginSection, QString::number(count));
    ini.writeString(kSavedLoginCountSection, QStringLiteral("Count"), QString::number(count - 1));
    FormShow();
    setStatus(QStringLiteral("▶ 접속 정보가 삭제 되었습니다... (%1)").arg(number));
}

}  // namespace kolmara::dialogs
