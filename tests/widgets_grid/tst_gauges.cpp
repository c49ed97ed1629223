// The gauges keep their progress within range whatever the screen asks, and draw the share done
// the right way round: a pie clockwise from twelve o'clock, a bar from the left.
#include "widgets/BarGauge.h"
#include "widgets/PieGauge.h"

#include <QTest>

using kolmara::ui::BarGauge;
using kolmara::ui::GaugeBase;
using kolmara::ui::PieGauge;

class TestGauges : public QObject {
    Q_OBJECT

private slots:
    void progressStaysInRange_data();
    void progressStaysInRange();
    void pieFillsClockwiseFromTwelve();
    void barFillsFromTheLeft();
};

void TestGauges::progressStaysInRange_data()
{
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<QList<int>>("adds");  // setProgress(first), then addProgress(each other)
    QTest::addColumn<int>("progress");
    QTest::addColumn<int>("percent");

    QTest::newRow("within") << 0 << 10000 << QList<int>{0, 1000, 1000} << 2000 << 20;
    QTest::newRow("timer ticks past the period")
        << 0 << 3000 << QList<int>{0, 1000, 1000, 1000, 1000} << 3000 << 100;
    QTest::newRow("set above max") << 0 << 50 << QList<int>{51} << 50 << 100;
    QTest::newRow("set below min") << 10 << 20 << QList<int>{-5} << 10 << 0;
    QTest::newRow("negative add") << 0 << 100 << QList<int>{30, -50} << 0 << 0;
    QTest::newRow("no overflow") << 0 << 100 << QList<int>{90, 2147483647} << 100 << 100;
    QTest::newRow("empty range") << 5 << 5 << QList<int>{7} << 5 << 0;
    QTest::newRow("percent rounds down") << 0 << 3 << QList<int>{2} << 2 << 66;
}

void TestGauges::progressStaysInRange()
{
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(QList<int>, adds);
    PieGauge pie;
    BarGauge bar;
    for (GaugeBase* g : {static_cast<GaugeBase*>(&pie), static_cast<GaugeBase*>(&bar)}) {
        g->setMinValue(min);
        g->setMaxValue(max);
        g->setProgress(adds.first());
        for (int i = 1; i < adds.size(); ++i)
            g->addProgress(adds[i]);
        QTEST(g->progress(), "progress");
        QTEST(g->percentDone(), "percent");
    }
}

void TestGauges::pieFillsClockwiseFromTwelve()
{
    PieGauge pie;
    pie.resize(35, 35);
    pie.setMaxValue(10000);
    pie.setProgress(7000);
    QCOMPARE(pie.progress(), 7000);

    // A shrinking range pulls the progress with it.
    pie.setMaxValue(4000);
    QCOMPARE(pie.progress(), 4000);
    pie.setMaxValue(10000);
    pie.setProgress(2500);  // the upper right quarter
    const QImage image = pie.grab().toImage();
    QCOMPARE(image.pixelColor(24, 10), QColor(Qt::blue));   // upper right
    QCOMPARE(image.pixelColor(10, 10), QColor(Qt::white));  // upper left
    QCOMPARE(image.pixelColor(24, 24), QColor(Qt::white));  // lower right
}

void TestGauges::barFillsFromTheLeft()
{
    BarGauge bar;
    bar.resize(200, 21);
    bar.setMaxValue(4);
    bar.setProgress(1);
    const QImage image = bar.grab().toImage();
    QCOMPARE(image.pixelColor(10, 3), QColor(Qt::blue));
    QCOMPARE(image.pixelColor(150, 3), QColor(Qt::white));

    // Moving the minimum above the maximum moves the maximum along.
    bar.setMinValue(10);
    QCOMPARE(bar.maxValue(), 10);
    QCOMPARE(bar.progress(), 10);
}

QTEST_MAIN(TestGauges)
#include "tst_gauges.moc"
