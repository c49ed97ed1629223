// A long call on a worker thread with its cancel window: the window stays alive meanwhile, the
// cancel button breaks a running query (ORA-01013 comes back on the calling thread) or ends a loop
// that asks the stop flag, and a quick call shows nothing.
#include "../db_engine/EngineFixture.h"
#include "CancelWindow.h"

#include "db/DatabaseError.h"
#include "widgets/ActionGuard.h"
#include "widgets/CancellableCall.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <chrono>
#include <thread>

using namespace kolmara;
using namespace kolmara::test;

namespace {

const QString kEndless = QStringLiteral(
    "SELECT COUNT(*) FROM ALL_OBJECTS A, ALL_OBJECTS B, ALL_OBJECTS C, ALL_OBJECTS D");

// Clicks "취소" once the window shows; counts the ticks this thread's timers got meanwhile.
struct Canceller {
    QTimer timer;
    int ticks = 0;
    int ticksAtClick = 0;
    QString textShown;
    explicit Canceller(bool click = true)
    {
        QObject::connect(&timer, &QTimer::timeout, [this, click] {
            ++ticks;
            QDialog* w = cancelWindow();
            if (!w || !textShown.isEmpty())
                return;
            textShown = w->findChild<QLabel*>(QStringLiteral("pn_message"))->text();
            ticksAtClick = ticks;
            if (click)
                w->findChild<QPushButton*>(QStringLiteral("sbt_cancel"))->click();
        });
        timer.start(20);
    }
};

}  // namespace

class TestCancellableCall : public QObject {
    Q_OBJECT

private slots:
    void cancelBreaksARunningQuery();
    void stopFlagEndsALoop();
    void quickCallShowsNothing();
};

void TestCancellableCall::cancelBreaksARunningQuery()
{
    EngineFixture fixture{demoScriptFolder()};
    auto s = fixture.connect(QStringLiteral("SYSTEM"), QStringLiteral("MANAGER"));
    Canceller canceller;
    try {
        ui::runCancellable(
            nullptr, QStringLiteral("조회하는 중입니다..."),
            [&](const ui::StopFlag&) {
                db::Query q(s.get());
                q.addSql(kEndless);
                q.open();
            },
            [&] { s->cancel(); });
        QFAIL("the query was not cancelled");
    } catch (const db::DatabaseError& e) {
        QCOMPARE(e.message(),
                 QStringLiteral("ORA-01013: user requested cancel of current operation"));
    }
    QCOMPARE(canceller.textShown, QStringLiteral("조회하는 중입니다..."));
    QVERIFY(canceller.ticks > 5);  // the window lived while the query ran
    QVERIFY(!cancelWindow());
    QVERIFY(!ui::isBusyCursor());
    QCOMPARE(rows(*s, QStringLiteral("SELECT 1 FROM DUAL")), QStringList{"1"});
}

void TestCancellableCall::stopFlagEndsALoop()
{
    Canceller canceller;
    std::atomic<int> cancels{0};
    int rounds = 0;
    ui::runCancellable(
        nullptr, QStringLiteral("덤프하는 중입니다..."),
        [&](const ui::StopFlag& stop) {
            while (!stop.isSet() && rounds < 3000) {
                ++rounds;
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        },
        [&] {
            // A break that takes its time to get through: the window lives on.
            std::this_thread::sleep_for(std::chrono::milliseconds(400));
            ++cancels;
        });
    QCOMPARE(cancels.load(), 1);
    QVERIFY(rounds < 3000);
    QVERIFY(canceller.ticks - canceller.ticksAtClick > 5);
}

void TestCancellableCall::quickCallShowsNothing()
{
    Canceller watcher(false);
    try {
        ui::runCancellable(
            nullptr, QStringLiteral("..."),
            [](const ui::StopFlag&) {
                throw ConversionError(QStringLiteral("'x' is not a valid integer value"));
            },
            [] {});
        QFAIL("the error was lost");
    } catch (const ConversionError& e) {
        QCOMPARE(e.message(), QStringLiteral("'x' is not a valid integer value"));
    }
    QTest::qWait(ui::kCancellableShowAfterMs + 100);
    QCOMPARE(watcher.textShown, QString());
}

QTEST_MAIN(TestCancellableCall)
#include "tst_cancellablecall.moc"
