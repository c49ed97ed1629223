// The user settings dialog.
#include "dialogs/KOLM110U.h"

#include "common/KOLMCOMM.h"
#include "common/ProfileFile.h"
#include "common/ShortDate.h"
#include "widgets/ActionGuard.h"
#include "widgets/Colors.h"
#include "widgets/DialogFrame.h"
#include "widgets/Fonts.h"
#include "widgets/ToolButtons.h"

#include <algorithm>
#include <QDateEdit>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace kolmara::dialogs {

namespace {

const QString kSection = QStringLiteral("System Version");

// The values shown before anything is loaded: the platform's usual places.
#ifdef _WIN32
const QString kDefaultDrive = QStringLiteral("C:\\");
const QString kDefaultPath = QStringLiteral("BACKUP\\");
const QString kDefaultOraclePath = QStringLiteral("C;\\Oracle\\Ora81\\Bin\\");
#else
const QString kDefaultDrive = QDir::homePath() + QStringLiteral("/");
const QString kDefaultPath = QStringLiteral("BACKUP/");
const QString kDefaultOraclePath = QStringLiteral("/usr/lib/oracle/client/bin/");
#endif

// "VerDate" as Save writes it ("YYYY-MM-DD"), or else in the PC's short date form, in which a
// file edited by hand may hold it. Throws ConversionError when neither reads it.
QDate verDate(const QString& text)
{
    const QDate written = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    return written.isValid() ? written : StrToDate(text);
}

QLabel* captionCell(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setAutoFillBackground(true);
    QPalette pal = label->palette();
    pal.setColor(QPalette::Window, ui::colorFromBgr(ui::kCaptionColor));
    pal.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(pal);
    label->setFont(ui::gulimChe(12));
    label->setAlignment(Qt::AlignCenter);
    label->setFixedSize(90, 21);
    return label;
}

QLabel* readOnlyCell(const QString& name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAutoFillBackground(true);
    QPalette pal = label->palette();
    pal.setColor(QPalette::Window, ui::colorFromBgr(0x00F5F5F5));
    label->setPalette(pal);
    label->setFrameShape(QFrame::StyledPanel);
    label->setFixedHeight(21);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

TKOLM110F::TKOLM110F(QWidget* parent) : FormDialog(parent)
{
    ui::setupDialogFrame(this, QStringLiteral("TKOLM110F"), QStringLiteral("사용자 환경정의"),
                         QSize(558, 392));
    setupUi();
}

void TKOLM110F::setupUi()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* tools = new QToolBar(this);
    tools->setObjectName(QStringLiteral("ToolBar1"));
    bbt_select = ui::addToolButton(tools, QStringLiteral("bbt_select"), QStringLiteral("환경조회"),
                                   QStringLiteral("R"), QColor(40, 120, 200));
    bbt_update = ui::addToolButton(tools, QStringLiteral("bbt_update"), QStringLiteral("환경저장"),
                                   QStringLiteral("S"), QColor(40, 150, 70));
    bbt_cleses = ui::addToolButton(tools, QStringLiteral("bbt_cleses"), QStringLiteral("닫기"),
                                   QStringLiteral("X"), QColor(190, 50, 50));
    bbt_update->setEnabled(false);
    ui::connectGuarded(bbt_select, &QToolButton::clicked, this, [this] { bbt_selectClick(); });
    ui::connectGuarded(bbt_update, &QToolButton::clicked, this, [this] { bbt_updateClick(); });
    ui::connectGuarded(bbt_cleses, &QToolButton::clicked, this, [this] { bbt_clesesClick(); });
    layout->addWidget(tools);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    auto* page = new QWidget(PageControl1);
    page->setObjectName(QStringLiteral("TabSheet1"));
    PageControl1->addTab(page, QStringLiteral("환경설정"));
    layout->addWidget(PageControl1, 1);

    auto* grid = new QGridLayout(page);

    auto* system = new QGroupBox(QStringLiteral("시스템 정보"), page);
    auto* sys = new QGridLayout(system);
    sys->addWidget(captionCell(QStringLiteral("시스템명칭"), system), 0, 0);
    sys->addWidget(readOnlyCell(QStringLiteral("pn_system"), QStringLiteral("Kolmara"), system),
                   0, 1);
    ed_version = new QLineEdit(QStringLiteral("1.0"), system);
    ed_version->setObjectName(QStringLiteral("ed_version"));
    ed_version->setMaxLength(40);
    sys->addWidget(ed_version, 0, 2);
    dtp_verdate = new QDateEdit(system);
    dtp_verdate->setObjectName(QStringLiteral("dtp_verdate"));
    dtp_verdate->setCalendarPopup(true);
    dtp_verdate->setDisplayFormat(shortDateFormat());
    sys->addWidget(dtp_verdate, 0, 3);
    grid->addWidget(system, 0, 0, 1, 2);

    auto* client = new QGroupBox(QStringLiteral("클라이언트 연결"), page);
    auto* cl = new QGridLayout(client);
    auto edit = [&](const QString& name, const QString& text) {
        auto* e = new QLineEdit(text, client);
        e->setObjectName(name);
        return e;
    };
    ed_BackupDrive = edit(QStringLiteral("ed_BackupDrive"), kDefaultDrive);
    ed_BackupPath = edit(QStringLiteral("ed_BackupPath"), kDefaultPath);
    ed_OraclePath = edit(QStringLiteral("ed_OraclePath"), kDefaultOraclePath);
    cl->addWidget(captionCell(QStringLiteral("백업드라이버"), client), 0, 0);
    cl->addWidget(ed_BackupDrive, 0, 1);
    cl->addWidget(captionCell(QStringLiteral("백업디렉토리"), client), 1, 0);
    cl->addWidget(ed_BackupPath, 1, 1);
    cl->addWidget(captionCell(QStringLiteral("오라클 환경"), client), 2, 0);
    cl->addWidget(ed_OraclePath, 2, 1);
    cl->setRowStretch(3, 1);
    grid->addWidget(client, 1, 0);

    auto* format = new QGroupBox(QStringLiteral("백업형태"), page);
    auto* fm = new QGridLayout(format);
    pn_datetime =
        readOnlyCell(QStringLiteral("pn_datetime"), QStringLiteral("YYYYMMDD HH24MISS"), format);
    pn_ExpType = readOnlyCell(QStringLiteral("pn_ExpType"), QStringLiteral("\"\","), format);
    FSE_Commit = new QSpinBox(format);
    FSE_Commit->setObjectName(QStringLiteral("FSE_Commit"));
    FSE_Commit->setRange(10, 1000000000);
    FSE_Commit->setSingleStep(10);
    FSE_Commit->setValue(10);
    fm->addWidget(captionCell(QStringLiteral("날짜시간형태"), format), 0, 0);
    fm->addWidget(pn_datetime, 0, 1);
    fm->addWidget(captionCell(QStringLiteral("백업구분표시"), format), 1, 0);
    fm->addWidget(pn_ExpType, 1, 1);
    fm->addWidget(captionCell(QStringLiteral("커밋건수"), format), 2, 0);
    fm->addWidget(FSE_Commit, 2, 1);
    fm->setRowStretch(3, 1);
    grid->addWidget(format, 1, 1);
    grid->setRowStretch(1, 1);

    addStatusBar(layout);
}

void TKOLM110F::FormShow()
{
    PageControl1->setCurrentIndex(0);
    bbt_selectClick();
}

void TKOLM110F::bbt_selectClick()
{
    bbt_update->setEnabled(false);
    const ProfileFile ini(settingsFilePath());
    ed_version->setText(ini.readString(kSection, QStringLiteral("Version")));
    dtp_verdate->setDate(verDate(ini.readString(kSection, QStringLiteral("VerDate"))));
    ed_BackupDrive->setText(ini.readString(kSection, QStringLiteral("BackupDrive")));
    ed_BackupPath->setText(ini.readString(kSection, QStringLiteral("BackupPath")));
    ed_OraclePath->setText(ini.readString(kSection, QStringLiteral("OraclePath")));
    pn_datetime->setText(ini.readString(kSection, QStringLiteral("DateTime")));
    pn_ExpType->setText(ini.readString(kSection, QStringLiteral("ExpType")));
    // The spin box takes the text as it stands; a value it cannot show leaves the box unchanged.
    const QString commit = ini.readString(kSection, QStringLiteral("Commit"));
    bool ok = false;
    const int value = commit.trimmed().toInt(&ok);
    if (ok)
        FSE_Commit->setValue(value);
    bbt_update->setEnabled(true);
    setStatus(QStringLiteral("▶ 환경변수를 수정하신후, 저장버튼을 누르세요..."));
}

void TKOLM110F::bbt_updateClick()
{
    ProfileFile ini(settingsFilePath());
    ini.writeString(kSection, QStringLiteral("Version"), ed_version->text());
    ini.writeString(kSection, QStringLiteral("VerDate"),
                    dtp_verdate->date().toString(QStringLiteral("yyyy-MM-dd")));
    ini.writeString(kSection, QStringLiteral("BackupDrive"), ed_BackupDrive->text());
    ini.writeString(kSection, QStringLiteral("BackupPath"), ed_BackupPath->text());
    ini.writeString(kSection, QStringLiteral("OraclePath"), ed_OraclePath->text());
    ini.writeString(kSection, QStringLiteral("DateTime"), pn_datetime->text());
    ini.writeString(kSection, QStringLiteral("ExpType"), pn_ExpType->text());
    // The box's text is what was typed, which may lie below the range or not be committed yet:
    // save the typed number brought into the box's range, and the box's value when the text is
    // not a number.
    bool typed = false;
    const qlonglong asTyped = FSE_Commit->cleanText().trimmed().toLongLong(&typed);
    const qlonglong commit =
        typed ? std::clamp<qlonglong>(asTyped, FSE_Commit->minimum(), FSE_Commit->maximum())
              : FSE_Commit->value();
    FSE_Commit->setValue(int(commit));
    ini.writeString(kSection, QStringLiteral("Commit"), QString::number(commit));
    LoadSettings();
    bbt_selectClick();
    setStatus(QStringLiteral("▶ 환경변수가 수정이 되었습니다..."));
}

void TKOLM110F::bbt_clesesClick()
{
    reject();
}

}  // namespace kolmara::dialogs
