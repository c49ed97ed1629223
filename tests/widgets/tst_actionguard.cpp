// The action guard: whatever an action throws ends in the application's error box, the cursor is
// restored, and nothing reaches the event loop.
#include "common/Errors.h"
#include "widgets/ActionGuard.h"
#include "widgets/Colors.h"
#include "ScriptedUiServices.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <stdexcept>

using namespace kolmara;

class TestActionGuard : public QObject {
    Q_OBJECT

private slots:
    void exceptionsBecomeTheErrorBox_data();
    void exceptionsBecomeTheErrorBox();
    void quietActionShowsNothing();
    void guardedSignalKeepsTheEventLoopAlive();
    void busyCursorIsOneProperty();
    void colourConstantsAreBgr();
    void unmadeFoldersGetOneBoxEach();
};

void TestActionGuard::exceptionsBecomeTheErrorBox_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("message");
    QTest::newRow("conversion") << 0 << "'abc' is not a valid integer value";
    QTest::newRow("settings") << 1 << "Cannot write the settings file /x/KOLMARA.INI";
    QTest::newRow("std") << 2 << "로그 파일을 열 수 없습니다";
    QTest::newRow("anything") << 3 << "Unknown error";
}

void TestActionGuard::exceptionsBecomeTheErrorBox()
{
    QFETCH(int, kind);
    QFETCH(QString, message);
    test::ScriptedUiServices ui;
    bool after = false;
    ui::runGuarded(nullptr, [&] {
        ui::setBusyCursor(true);
        switch (kind) {
        case 0: throw ConversionError(message);
        case 1: throw SettingsError(message);
        case 2: throw std::runtime_error(message.toStdString());
        default: throw 42;
        }
        after = true;
    });
    QVERIFY(!after);
    QVERIFY(!ui::isBusyCursor());
    QVERIFY(QApplication::overrideCursor() == nullptr);
    QCOMPARE(ui.messages().size(), 1);
    QCOMPARE(ui.messages().first().caption, QStringLiteral("Kolmara [V1.0]"));
    QCOMPARE(ui.messages().first().text, message);
    QCOMPARE(ui.messages().first().icon, QMessageBox::Critical);
    QCOMPARE(ui.messages().first().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

void TestActionGuard::quietActionShowsNothing()
{
    test::ScriptedUiServices ui;
    int runs = 0;
    ui::runGuarded(nullptr, [&] { ++runs; });
    QCOMPARE(runs, 1);
    QVERIFY(ui.messages().isEmpty());
}

void TestActionGuard::guardedSignalKeepsTheEventLoopAlive()
{
    test::ScriptedUiServices ui;
    QWidget window;
    auto* button = new QPushButton(QStringLiteral("Go"), &window);
    int clicks = 0;
    ui::connectGuarded(button, &QPushButton::clicked, &window, [&](bool) {
        ++clicks;
        throw ConversionError(QStringLiteral("boom"));
    });
    window.show();
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(clicks, 2);
    QCOMPARE(ui.messageTexts(), QStringList({QStringLiteral("boom"), QStringLiteral("boom")}));
}

void TestActionGuard::busyCursorIsOneProperty()
{
    ui::setBusyCursor(true);
    ui::setBusyCursor(true);
    QVERIFY(QApplication::overrideCursor() != nullptr);
    ui::setBusyCursor(false);
    QVERIFY(QApplication::overrideCursor() == nullptr);
    {
        ui::BusyCursor busy;
        QVERIFY(ui::isBusyCursor());
    }
    QVERIFY(!ui::isBusyCursor());
    QVERIFY(QApplication::overrideCursor() == nullptr);
}

void TestActionGuard::unmadeFoldersGetOneBoxEach()
{
    test::ScriptedUiServices ui;
    const QStringList folders{QStringLiteral("/x/file"),
                              QStringLiteral("/x/file/") + QString(120, u'y')};
    ui::reportUnmadeFolders(folders);
    QCOMPARE(ui.messages().size(), 2);
    for (int i = 0; i < 2; ++i) {
        QCOMPARE(ui.messages()[i].caption, QStringLiteral("디렉토리 생성 에러"));
        QCOMPARE(ui.messages()[i].text, folders[i]);
        QCOMPARE(ui.messages()[i].icon, QMessageBox::Question);
        QCOMPARE(ui.messages()[i].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }
    ui::reportUnmadeFolders({});
    QCOMPARE(ui.messages().size(), 2);
}

void TestActionGuard::colourConstantsAreBgr()
{
    QCOMPARE(ui::colorFromBgr(0x00CDCDE7), QColor(231, 205, 205));
    QCOMPARE(ui::colorFromBgr(0x00FF0000), QColor(0, 0, 255));
    QCOMPARE(ui::colorFromBgr(0x00000080), QColor(128, 0, 0));
}

QTEST_MAIN(TestActionGuard)
#include "tst_actionguard.moc"
