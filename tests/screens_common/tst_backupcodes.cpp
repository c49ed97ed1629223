// The backup schedule code lists, item for item where their texts are built.
#include "screens/BackupCodes.h"

#include <QtTest>

using namespace kolmara::screens;

class TestBackupCodes : public QObject {
    Q_OBJECT

private slots:
    void lists_data();
    void lists();
    void hoursAndTitles();
};

void TestBackupCodes::lists_data()
{
    QTest::addColumn<QChar>("cycle");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("samples");  // first, then items 9 and 10 where they exist, last
    QTest::newRow("N") << QChar('N') << 1 << QStringList{"01 : 백업안함"};
    QTest::newRow("D") << QChar('D') << 1 << QStringList{"01 : 매일"};
    QTest::newRow("W") << QChar('W') << 7 << QStringList{"01 : 일요일", "04 : 수요일", "07 : 토요일"};
    QTest::newRow("M") << QChar('M') << 31
                       << QStringList{"01 :  1일", "09 :  9일", "10 : 10일", "31 : 31일"};
    QTest::newRow("Y") << QChar('Y') << 12
                       << QStringList{"01 :  1월 1일", "09 :  9월 1일", "10 : 10월 1일",
                                      "12 : 12월 1일"};
    QTest::newRow("other") << QChar('X') << 0 << QStringList{};
}

void TestBackupCodes::lists()
{
    QFETCH(QChar, cycle);
    QFETCH(int, count);
    QFETCH(QStringList, samples);
    const QStringList items = typeItems(cycle);
    QCOMPARE(items.size(), count);
    for (const QString& sample : samples)
        QVERIFY2(items.contains(sample), qPrintable(sample));
    if (count > 0) {
        QCOMPARE(items.first(), samples.first());
        QCOMPARE(items.last(), samples.last());
    }
    for (int i = 0; i < items.size(); ++i)
        QCOMPARE(items[i].left(2).toInt(), i + 1);
}

void TestBackupCodes::hoursAndTitles()
{
    QCOMPARE(hourItems().size(), 24);
    QCOMPARE(hourItems().first(), QStringLiteral("01 :  1시"));
    QCOMPARE(hourItems()[12], QStringLiteral("13 : 13시"));
    QCOMPARE(hourItems().last(), QStringLiteral("24 : 24시"));
    QCOMPARE(cycleItems(), (QStringList{"N : 백업안함", "D : 일별백업", "W : 주간백업",
                                        "M : 월간백업", "Y : 년간백업"}));
    QCOMPARE(cycleTitle('W'), QStringLiteral("매주"));
    QCOMPARE(cycleTitle('Y'), QStringLiteral("매년"));
    QCOMPARE(cycleTitle('x'), QString());
}

QTEST_GUILESS_MAIN(TestBackupCodes)
#include "tst_backupcodes.moc"
