// Elapsed and remaining time readouts of a run.
#include <QTest>

#include "window/run_time_display.h"

using namespace pellimar;

namespace {

constexpr qint64 kSecond = 1000;

}  // namespace

class TestRunTimeDisplay : public QObject {
    Q_OBJECT

private slots:
    void formatsHoursMinutesSeconds_data();
    void formatsHoursMinutesSeconds();
    void estimates_data();
    void estimates();
    void reestimatesOnlyAtOneFiveNine();
    void firstEstimateMissedShowsZero();
    void zeroPercentShowsZero();
    void runPastMidnightCountsOn();
    void startResetsTheReadouts();
};

void TestRunTimeDisplay::formatsHoursMinutesSeconds_data()
{
    QTest::addColumn<qint64>("elapsedMs");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << qint64{0} << "00:00:00";
    QTest::newRow("milliseconds dropped") << qint64{1999} << "00:00:01";
    QTest::newRow("1:02:03") << qint64{3723 * kSecond + 999} << "01:02:03";
    QTest::newRow("over a day") << qint64{100 * 3600 * kSecond} << "100:00:00";
}

void TestRunTimeDisplay::formatsHoursMinutesSeconds()
{
    QFETCH(qint64, elapsedMs);
    QFETCH(QString, text);
    RunTimeDisplay display;
    display.Start(0);
    display.Update(elapsedMs, 0);
    QCOMPARE(QString::fromStdString(display.ElapsedText()), text);
}

void TestRunTimeDisplay::estimates_data()
{
    QTest::addColumn<qint64>("elapsedMs");
    QTest::addColumn<int>("percent");
    QTest::addColumn<QString>("remaining");
    QTest::newRow("1% at 7 s") << 7 * kSecond << 1 << "00:11:33";
    QTest::newRow("5% at 20 s") << 20 * kSecond << 5 << "00:06:20";
    QTest::newRow("4000 s") << 4000 * kSecond << 1 << "00:00:00";
    QTest::newRow("1% at 40 s is 3960 s") << 40 * kSecond << 1 << "01:06:00";
    QTest::newRow("just under a day") << 872 * kSecond << 1 << "23:58:48";
    QTest::newRow("a day or more") << 873 * kSecond << 1 << "00:00:00";
    QTest::newRow("past 100%") << 20 * kSecond << 101 << "00:00:00";
    QTest::newRow("49% at 49 s") << 49 * kSecond << 49 << "00:00:51";
}

void TestRunTimeDisplay::estimates()
{
    QFETCH(qint64, elapsedMs);
    QFETCH(int, percent);
    QFETCH(QString, remaining);
    RunTimeDisplay display;
    display.Start(5000);
    display.Update(5000 + elapsedMs, percent);
    QCOMPARE(QString::fromStdString(display.RemainingText()), remaining);
}

void TestRunTimeDisplay::reestimatesOnlyAtOneFiveNine()
{
    RunTimeDisplay display;
    display.Start(0);
    display.Update(7 * kSecond, 1);
    for (int percent : {2, 3, 4}) {
        display.Update((7 + percent) * kSecond, percent);
        QCOMPARE(QString::fromStdString(display.RemainingText()), QString("00:11:33"));
    }
    display.Update(20 * kSecond, 5);
    QCOMPARE(QString::fromStdString(display.RemainingText()), QString("00:06:20"));
    QVERIFY(EstimateRemaining(4000 * kSecond, 1) == std::nullopt);
    QCOMPARE(EstimateRemaining(4000 * kSecond, 50).value_or(-1), 4000);
}

void TestRunTimeDisplay::firstEstimateMissedShowsZero()
{
    RunTimeDisplay display;
    display.Start(0);
    display.Update(3 * kSecond, 3);
    QCOMPARE(QString::fromStdString(display.RemainingText()), QString("00:00:00"));
}

void TestRunTimeDisplay::zeroPercentShowsZero()
{
    RunTimeDisplay display;
    display.Start(0);
    display.Update(7 * kSecond, 1);
    display.Update(8 * kSecond, 0);
    QCOMPARE(QString::fromStdString(display.RemainingText()), QString("00:00:00"));
}

void TestRunTimeDisplay::runPastMidnightCountsOn()
{
    RunTimeDisplay display;
    const std::int64_t beforeMidnight = 24LL * 3600 * kSecond - 10 * kSecond;
    display.Start(beforeMidnight);
    display.Update(20 * kSecond, 1);
    QCOMPARE(QString::fromStdString(display.ElapsedText()), QString("00:00:30"));
    QCOMPARE(QString::fromStdString(display.RemainingText()), QString("00:49:30"));
}

void TestRunTimeDisplay::startResetsTheReadouts()
{
    RunTimeDisplay display;
    display.Start(0);
    display.Update(7 * kSecond, 1);
    display.Start(100 * kSecond);
    QCOMPARE(QString::fromStdString(display.ElapsedText()), QString("00:00:00"));
    QCOMPARE(QString::fromStdString(display.RemainingText()), QString("00:00:00"));
}

QTEST_APPLESS_MAIN(TestRunTimeDisplay)
#include "tst_runtimedisplay.moc"
