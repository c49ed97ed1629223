// The connect dialog's "&Delete": the picked saved login goes after a question, the later ones
// move up a number, "Count" follows, and the rest of the settings file stays as it was.
#include "DemoDatabase.h"
#include "ScriptedUiServices.h"
#include "app/KOLM000U.h"
#include "common/KOLMCOMM.h"
#include "common/ProfileFile.h"
#include "dialogs/KOLM100U.h"
#include "widgets/StringGrid.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace kolmara;
using kolmara::app::TKOLM000F;
using kolmara::dialogs::TKOLM100F;

namespace {

const QString kVersion = QStringLiteral("System Version");
const QString kLogging = QStringLiteral("System Logging");

QString login(const QString& server, const QString& user)
{
    return server + QLatin1Char('/') + user + QStringLiteral("/D2B3/N/");
}

// The saved logins as the dialog reads them: keys "1" to "Count".
QStringList savedLogins()
{
    const ProfileFile ini(settingsFilePath());
    QStringList logins;
    const int count = ini.readString(kVersion, QStringLiteral("Count")).toInt();
    for (int n = 1; n <= count; ++n)
        logins << ini.readString(kLogging, QString::number(n));
    return logins;
}

QByteArray settingsBytes()
{
    QFile f(settingsFilePath());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A settings file with the logins saved 1 to n, a comment among them and a stray key past
// "Count" that the dialog does not list.
void writeSettings(const QStringList& logins)
{
    QByteArray text =
        "[System Version]\r\nVersion=1.0\r\nCount=" + QByteArray::number(logins.size()) +
        "\r\n\r\n[System Logging]\r\n; saved by the connect dialog\r\n";
    for (int i = 0; i < logins.size(); ++i)
        text += QByteArray::number(i + 1) + '=' + logins[i].toUtf8() + "\r\n";
    text += "9=OLD/STRAY/AA/N/\r\n\r\n[Embedded Databases]\r\nDEMO=demo.db\r\n";
    QFile f(settingsFilePath());
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
}

}  // namespace

class TestConnectDelete : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { TKOLM000F::setAutoConnectEnabled(false); }
    void init() { m_demo = std::make_unique<test::DemoDatabase>(); }
    void cleanup() { m_demo.reset(); }

    void deleteRenumbers_data();
    void deleteRenumbers();
    void answeringNoKeepsTheFile();
    void nothingPickedAsksNothing();
    void changedFileIsReadAgainNotDeleted();
    void rowWithoutAServerCanBeDeleted();

private:
    std::unique_ptr<test::DemoDatabase> m_demo;
};

void TestConnectDelete::deleteRenumbers_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<int>("picked");
    QTest::addColumn<QStringList>("after");

    const QString a = login("PROD", "SCOTT");
    const QString b = login("DEMO", "HR");
    const QString c = login("TEST", "SYSTEM");
    QTest::newRow("first of three") << QStringList{a, b, c} << 1 << QStringList{b, c};
    QTest::newRow("middle of three") << QStringList{a, b, c} << 2 << QStringList{a, c};
    QTest::newRow("last of three") << QStringList{a, b, c} << 3 << QStringList{a, b};
    QTest::newRow("the only one") << QStringList{a} << 1 << QStringList{};
}

void TestConnectDelete::deleteRenumbers()
{
    QFETCH(QStringList, before);
    QFETCH(int, picked);
    QFETCH(QStringList, after);
    writeSettings(before);
    test::ScriptedUiServices ui;
    TKOLM000F w;
    TKOLM100F dialog(&w);
    dialog.show();
    auto* grid = dialog.findChild<ui::StringGrid*>("AdvStringGrid1");
    dialog.AdvStringGrid1Click(1, picked);
    ui.answerMessage(QMessageBox::Yes);
    dialog.findChild<QPushButton*>("sbt_Delete")->click();

    QCOMPARE(ui.messages().size(), 1);
    QCOMPARE(ui.messages()[0].icon, QMessageBox::Question);
    QCOMPARE(ui.messages()[0].buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(
        ui.messages()[0].text,
        QStringLiteral("저장된 접속 정보 %1번 (%2 / %3)을 삭제하시겠습니까?")
            .arg(picked)
            .arg(before[picked - 1].section('/', 0, 0), before[picked - 1].section('/', 1, 1)));
    QCOMPARE(savedLogins(), after);
    QVERIFY(!ProfileFile(settingsFilePath())
                 .keyNames(kLogging)
                 .contains(QString::number(before.size())));
    // The rest of the file as it was.
    const QByteArray bytes = settingsBytes();
    QVERIFY(bytes.contains("; saved by the connect dialog\r\n"));
    QVERIFY(bytes.contains("9=OLD/STRAY/AA/N/\r\n"));
    QVERIFY(bytes.contains("Version=1.0\r\n"));
    QVERIFY(bytes.contains("[Embedded Databases]\r\nDEMO=demo.db\r\n"));

    // The list as the dialog now reads it, ready for a new login.
    QCOMPARE(grid->rowCount(), after.size() + 1);
    for (int n = 1; n <= after.size(); ++n) {
        QCOMPARE(grid->cell(0, n), QString::number(n));
        QCOMPARE(grid->cell(1, n), after[n - 1].section('/', 0, 0));
    }
    QCOMPARE(dialog.mode(), QStringLiteral("1"));
    QCOMPARE(dialog.pickedNumber(), QString());
    QCOMPARE(dialog.statusText(),
             QStringLiteral("▶ 접속 정보가 삭제 되었습니다... (%1)").arg(picked));
}

void TestConnectDelete::answeringNoKeepsTheFile()
{
    writeSettings({login("PROD", "SCOTT"), login("DEMO", "HR")});
    const QByteArray before = settingsBytes();
    test::ScriptedUiServices ui;
    TKOLM000F w;
    TKOLM100F dialog(&w);
    dialog.show();
    dialog.AdvStringGrid1Click(1, 1);
    ui.answerMessage(QMessageBox::No);
    dialog.sbt_DeleteClick();
    QCOMPARE(settingsBytes(), before);
    QCOMPARE(dialog.findChild<QLineEdit*>("ed_server")->text(), QStringLiteral("PROD"));
    QCOMPARE(dialog.pickedNumber(), QStringLiteral("1"));
}

void TestConnectDelete::nothingPickedAsksNothing()
{
    writeSettings({login("PROD", "SCOTT")});
    const QByteArray before = settingsBytes();
    test::ScriptedUiServices ui;
    TKOLM000F w;
    TKOLM100F dialog(&w);
    dialog.show();
    dialog.sbt_DeleteClick();
    QVERIFY(ui.messages().isEmpty());
    QCOMPARE(dialog.statusText(),
             QStringLiteral("▶ 삭제할 접속 정보를 목록에서 먼저 선택하십시오..."));
    QCOMPARE(settingsBytes(), before);
}

void TestConnectDelete::changedFileIsReadAgainNotDeleted()
{
    writeSettings({login("PROD", "SCOTT"), login("DEMO", "HR")});
    test::ScriptedUiServices ui;
    TKOLM000F w;
    TKOLM100F dialog(&w);
    dialog.show();
    dialog.AdvStringGrid1Click(1, 2);
    // Meanwhile another Kolmara saves a login.
    ProfileFile ini(settingsFilePath());
    ini.writeString(kVersion, QStringLiteral("Count"), QStringLiteral("3"));
    ini.writeString(kLogging, QStringLiteral("3"), login("NEW", "SCOTT"));
    const QByteArray before = settingsBytes();

    ui.answerMessage(QMessageBox::Yes);
    dialog.sbt_DeleteClick();
    QCOMPARE(settingsBytes(), before);
    QCOMPARE(dialog.statusText(),
             QStringLiteral("▶ 접속 정보가 그 사이에 바뀌어 목록을 다시 읽었습니다..."));
    auto* grid = dialog.findChild<ui::StringGrid*>("AdvStringGrid1");
    QCOMPARE(grid->rowCount(), 4);
    QCOMPARE(grid->cell(1, 3), QStringLiteral("NEW"));
    QCOMPARE(dialog.pickedNumber(), QString());
}

void TestConnectDelete::rowWithoutAServerCanBeDeleted()
{
    // Key "2" is missing: the dialog lists an empty row 2, which picks no login number.
    writeSettings({login("PROD", "SCOTT"), login("DEMO", "HR"), login("TEST", "SYSTEM")});
    ProfileFile(settingsFilePath()).deleteKey(kLogging, QStringLiteral("2"));
    test::ScriptedUiServices ui;
    TKOLM000F w;
    TKOLM100F dialog(&w);
    dialog.show();
    dialog.AdvStringGrid1Click(1, 2);
    QCOMPARE(dialog.pickedNumber(), QString());
    ui.answerMessage(QMessageBox::Yes);
    dialog.sbt_DeleteClick();
    QCOMPARE(ui.messages().last().text,
             QStringLiteral("저장된 접속 정보 2번 (빈 항목)을 삭제하시겠습니까?"));
    QCOMPARE(savedLogins(), (QStringList{login("PROD", "SCOTT"), login("TEST", "SYSTEM")}));
}

QTEST_MAIN(TestConnectDelete)
#include "tst_connectdelete.moc"
