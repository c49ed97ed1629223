// The user settings dialog: reload, save in the file's order and format, the settings reloaded
// afterwards, and a date the PC cannot read.
#include "app/KOLM000U.h"
#include "app/KOLM900U.h"
#include "common/KOLMCOMM.h"
#include "common/ProfileFile.h"
#include "dialogs/KOLM110U.h"
#include "ScriptedUiServices.h"

#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace kolmara;

namespace {

const QByteArray kIni =
    "[System Version]\r\nSystemId=KOLM\r\nVersion=1.0\r\nVerDate=2003-05-14\r\n"
    "BackupDrive=C:\\\r\nBackupPath=BACKUP\\\r\nOraclePath=C:\\Oracle\\\r\n"
    "DateTime=YYYYMMDD HH24MISS\r\nExpType=\"\",\r\nCommit=10\r\nCount=2\r\n";

}  // namespace

class TestSettingsDialog : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void showingLoadsTheValues();
    void saveWritesAndReloads();
    void dateReadsAsSavedAndInTheShortForm_data();
    void dateReadsAsSavedAndInTheShortForm();
    void unreadableDateBlocksSaving();
    void commitSpinBounds();
    void typedCommitIsSavedWithinRange_data();
    void typedCommitIsSavedWithinRange();

private:
    void writeIni(const QByteArray& content);
    std::unique_ptr<QTemporaryDir> m_folder;
};

void TestSettingsDialog::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    setProgramFolderForTesting(m_folder->path());
    writeIni(kIni);
}

void TestSettingsDialog::cleanup()
{
    setProgramFolderForTesting(QString());
}

void TestSettingsDialog::writeIni(const QByteArray& content)
{
    QFile f(settingsFilePath());
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
}

void TestSettingsDialog::showingLoadsTheValues()
{
    test::ScriptedUiServices ui;
    dialogs::TKOLM110F dialog;
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("사용자 환경정의"));
    QCOMPARE(dialog.findChild<QLineEdit*>("ed_version")->text(), QStringLiteral("1.0"));
    QCOMPARE(dialog.findChild<QDateEdit*>("dtp_verdate")->date(), QDate(2003, 5, 14));
    QCOMPARE(dialog.findChild<QLineEdit*>("ed_BackupDrive")->text(), QStringLiteral("C:\\"));
    QCOMPARE(dialog.findChild<QLabel*>("pn_ExpType")->text(), QStringLiteral("\"\","));
    QCOMPARE(dialog.findChild<QSpinBox*>("FSE_Commit")->value(), 10);
    QVERIFY(dialog.findChild<QToolButton*>("bbt_update")->isEnabled());
    QCOMPARE(dialog.statusText(), QStringLiteral("▶ 환경변수를 수정하신후, 저장버튼을 누르세요..."));
    QVERIFY(ui.messages().isEmpty());
}

void TestSettingsDialog::saveWritesAndReloads()
{
    test::ScriptedUiServices ui;
    app::TKOLM000F::setAutoConnectEnabled(false);
    app::TKOLM000F main;
    dialogs::TKOLM110F dialog;
    dialog.show();
    dialog.findChild<QLineEdit*>("ed_version")->setText(QStringLiteral("2.0"));
    dialog.findChild<QDateEdit*>("dtp_verdate")->setDate(QDate(2004, 1, 2));
    dialog.findChild<QLineEdit*>("ed_BackupPath")->setText(QStringLiteral("DUMP\\"));
    dialog.findChild<QSpinBox*>("FSE_Commit")->setValue(500);
    dialog.bbt_updateClick();
    QCOMPARE(dialog.statusText(), QStringLiteral("▶ 환경변수가 수정이 되었습니다..."));

    const ProfileFile ini(settingsFilePath());
    const QString s = QStringLiteral("System Version");
    QCOMPARE(ini.readString(s, "Version"), QStringLiteral("2.0"));
    QCOMPARE(ini.readString(s, "VerDate"), QStringLiteral("2004-01-02"));
    QCOMPARE(ini.readString(s, "BackupPath"), QStringLiteral("DUMP\\"));
    QCOMPARE(ini.readString(s, "Commit"), QStringLiteral("500"));
    QCOMPARE(ini.readString(s, "ExpType"), QStringLiteral("\"\","));
    QCOMPARE(ini.readString(s, "Count"), QStringLiteral("2"));
    QCOMPARE(ini.readString(s, "SystemId"), QStringLiteral("KOLM"));

    // The globals follow at once: the about box shows the new version.
    QCOMPARE(CfgVersion, QStringLiteral("2.0"));
    QCOMPARE(CfgBackupPath, QStringLiteral("DUMP\\"));
    app::TKOLM900F about;
    about.show();
    QCOMPARE(about.findChild<QLabel*>("lb_version")->text(), QStringLiteral("v2.0 2004-01-02"));
    // The main window keeps the caption it was given at start.
    QCOMPARE(main.windowTitle(), QStringLiteral("Kolmara [Ver 1.0 2003-05-14]"));
}

void TestSettingsDialog::dateReadsAsSavedAndInTheShortForm_data()
{
    QTest::addColumn<QString>("verDate");
    QTest::newRow("as saved") << QStringLiteral("2004-01-02");
    QTest::newRow("PC short date")
        << QLocale::system().toString(QDate(2004, 1, 2), QLocale::ShortFormat);
}

void TestSettingsDialog::dateReadsAsSavedAndInTheShortForm()
{
    // Whatever the desktop's date order, the file Save wrote opens again and can be saved.
    QFETCH(QString, verDate);
    writeIni("[System Version]\r\nVersion=1.0\r\nVerDate=" + verDate.toUtf8() +
             "\r\nCommit=10\r\n");
    test::ScriptedUiServices ui;
    dialogs::TKOLM110F dialog;
    dialog.show();
    QVERIFY2(ui.messages().isEmpty(), qPrintable(ui.messageTexts().join(QLatin1Char('|'))));
    QCOMPARE(dialog.findChild<QDateEdit*>("dtp_verdate")->date(), QDate(2004, 1, 2));
    QVERIFY(dialog.findChild<QToolButton*>("bbt_update")->isEnabled());
    dialog.bbt_updateClick();
    QCOMPARE(ProfileFile(settingsFilePath()).readString("System Version", "VerDate"),
             QStringLiteral("2004-01-02"));
    QCOMPARE(dialog.statusText(), QStringLiteral("▶ 환경변수가 수정이 되었습니다..."));
}

void TestSettingsDialog::unreadableDateBlocksSaving()
{
    writeIni("[System Version]\r\nVersion=3.0\r\nVerDate=yesterday\r\nBackupDrive=D:\\\r\n");
    test::ScriptedUiServices ui;
    dialogs::TKOLM110F dialog;
    dialog.show();
    QCOMPARE(ui.messages().size(), 1);
    QCOMPARE(ui.messages().first().text, QStringLiteral("'yesterday' is not a valid date"));
    QCOMPARE(ui.messages().first().caption, QStringLiteral("Kolmara [V1.0]"));
    QCOMPARE(dialog.findChild<QLineEdit*>("ed_version")->text(), QStringLiteral("3.0"));
    QVERIFY(dialog.findChild<QLineEdit*>("ed_BackupDrive")->text() != QStringLiteral("D:\\"));
    QVERIFY(!dialog.findChild<QToolButton*>("bbt_update")->isEnabled());
}

void TestSettingsDialog::commitSpinBounds()
{
    dialogs::TKOLM110F dialog;
    auto* spin = dialog.findChild<QSpinBox*>("FSE_Commit");
    spin->setValue(10);
    spin->stepDown();
    QCOMPARE(spin->value(), 10);
    spin->stepUp();
    QCOMPARE(spin->value(), 20);
    spin->setValue(1000000000);
    spin->stepUp();
    QCOMPARE(spin->value(), 1000000000);
}

void TestSettingsDialog::typedCommitIsSavedWithinRange_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("saved");
    QTest::newRow("below the range") << QStringLiteral("5") << QStringLiteral("10");
    QTest::newRow("in range") << QStringLiteral("12345") << QStringLiteral("12345");
    QTest::newRow("above the range")
        << QStringLiteral("9999999999") << QStringLiteral("1000000000");
    QTest::newRow("emptied") << QString() << QStringLiteral("700");
}

void TestSettingsDialog::typedCommitIsSavedWithinRange()
{
    QFETCH(QString, typed);
    QFETCH(QString, saved);
    test::ScriptedUiServices ui;
    dialogs::TKOLM110F dialog;
    dialog.show();
    auto* spin = dialog.findChild<QSpinBox*>("FSE_Commit");
    spin->setValue(700);
    // Typed over without leaving the box: the text is not yet the box's value.
    spin->findChild<QLineEdit*>()->setText(typed);
    dialog.bbt_updateClick();
    QCOMPARE(ProfileFile(settingsFilePath()).readString(QStringLiteral("System Version"), "Commit"),
             saved);
    QCOMPARE(spin->value(), saved.toInt());
}

QTEST_MAIN(TestSettingsDialog)
#include "tst_settingsdialog.moc"
