// The gauge widget: defaults, the percentage, dropped progress values, when it
// repaints, and that it shows the composed picture.
#include <climits>
#include <functional>

#include <QtTest>

#include "gauge/gauge_painting.h"
#include "gauge/vantor_gauge.h"

using namespace pellimar;

namespace {

class CountingGauge : public TVantorGauge {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        ++paints;
        TVantorGauge::paintEvent(event);
    }
};

using GaugeChange = std::function<void(TVantorGauge&)>;
#define CALL(setter) GaugeChange([](TVantorGauge& g) { g.setter; })

}  // namespace

Q_DECLARE_METATYPE(GaugeChange)

class TestTVantorGauge : public QObject {
    Q_OBJECT

    CountingGauge* gauge = nullptr;

private slots:
    void init()
    {
        gauge = new CountingGauge;
        gauge->show();
        QVERIFY(QTest::qWaitForWindowExposed(gauge));
        gauge->paints = 0;
    }
    void cleanup() { delete gauge; }

    void startsAsAFramedHorizontalBarOfZeroToHundred()
    {
        TVantorGauge fresh;
        QCOMPARE(fresh.size(), QSize(100, 100));
        QVERIFY(fresh.testAttribute(Qt::WA_OpaquePaintEvent));
        QCOMPARE(fresh.Kind(), gkHorizontalBar);
        QVERIFY(fresh.ShowText());
        QCOMPARE(fresh.BorderStyle(), bsSingle);
        QCOMPARE(fresh.ForeColor(), clBlack);
        QCOMPARE(fresh.BackColor(), clWhite);
        QCOMPARE(fresh.Color(), clWindow);
        QCOMPARE(fresh.MinValue(), 0);
        QCOMPARE(fresh.MaxValue(), 100);
        QCOMPARE(fresh.Progress(), 0);
    }

    // Progress is set inside the widest range, then the bounds move under it.
    void percentDoneTruncatesAndFollowsMovedBounds_data()
    {
        QTest::addColumn<int>("progress");
        QTest::addColumn<int>("minValue");
        QTest::addColumn<int>("maxValue");
        QTest::addColumn<int>("percent");
        QTest::newRow("truncates") << 999 << 0 << 1000 << 99;
        QTest::newRow("truncates toward zero below") << -5 << 0 << 1000 << 0;
        QTest::newRow("below the range") << 20 << 60 << 100 << -100;
        QTest::newRow("empty range") << 30 << 30 << 30 << 0;
        QTest::newRow("max lowered below progress") << 80 << 0 << 40 << 200;
        QTest::newRow("min above max") << 50 << 100 << 0 << 50;
        QTest::newRow("widest exact range") << 21474836 << 0 << 21474836 << 100;
        QTest::newRow("wider range wraps in 32 bits") << 50000000 << 0 << 100000000 << 7;
    }
    void percentDoneTruncatesAndFollowsMovedBounds()
    {
        QFETCH(int, progress);
        QFETCH(int, minValue);
        QFETCH(int, maxValue);
        QFETCH(int, percent);
        gauge->SetMinValue(INT_MIN);
        gauge->SetMaxValue(INT_MAX);
        gauge->SetProgress(progress);
        gauge->SetMinValue(minValue);
        gauge->SetMaxValue(maxValue);
        QCOMPARE(gauge->Progress(), progress);
        QCOMPARE(gauge->PercentDone(), percent);
    }

    void progressOutsideTheBoundsIsDroppedNotClamped()
    {
        gauge->SetProgress(50);
        gauge->SetProgress(-1);
        QCOMPARE(gauge->Progress(), 50);
        gauge->SetProgress(101);
        QCOMPARE(gauge->Progress(), 50);
        gauge->SetProgress(100);
        QCOMPARE(gauge->Progress(), 100);
    }

    void progressRepaintsAtOnceOnlyWhenTheWholePercentChanges()
    {
        gauge->SetMaxValue(1000);
        gauge->paints = 0;
        for (int value = 1; value <= 9; ++value)
            gauge->SetProgress(value);
        QCOMPARE(gauge->paints, 0);
        gauge->SetProgress(10);
        QCOMPARE(gauge->paints, 1);
        gauge->SetProgress(19);
        QCOMPARE(gauge->paints, 1);
    }

    void settingAPropertyRepaintsOnlyWhenItChanges_data()
    {
        QTest::addColumn<GaugeChange>("same");
        QTest::addColumn<GaugeChange>("changed");
        QTest::newRow("Kind") << CALL(SetKind(gkHorizontalBar)) << CALL(SetKind(gkPie));
        QTest::newRow("ShowText") << CALL(SetShowText(true)) << CALL(SetShowText(false));
        QTest::newRow("BorderStyle") << CALL(SetBorderStyle(bsSingle)) << CALL(SetBorderStyle(bsNone));
        QTest::newRow("ForeColor") << CALL(SetForeColor(clBlack)) << CALL(SetForeColor(clBtnFace));
        QTest::newRow("BackColor") << CALL(SetBackColor(clWhite)) << CALL(SetBackColor(clBlack));
        QTest::newRow("Color") << CALL(SetColor(clWindow)) << CALL(SetColor(clWhite));
        QTest::newRow("MinValue") << CALL(SetMinValue(0)) << CALL(SetMinValue(-10));
        QTest::newRow("MaxValue") << CALL(SetMaxValue(100)) << CALL(SetMaxValue(200));
        QTest::newRow("Progress") << CALL(SetProgress(0)) << CALL(SetProgress(60));
    }
    void settingAPropertyRepaintsOnlyWhenItChanges()
    {
        QFETCH(GaugeChange, same);
        QFETCH(GaugeChange, changed);
        same(*gauge);
        QCOMPARE(gauge->paints, 0);
        changed(*gauge);
        QCOMPARE(gauge->paints, 1);
    }

    void showsTheComposedPictureAlsoWhenDisabled()
    {
        QPalette palette = gauge->palette();
        palette.setColor(QPalette::Disabled, QPalette::Base, Qt::red);
        gauge->setPalette(palette);
        gauge->SetKind(gkPie);
        gauge->SetProgress(30);
        const QImage expected = ComposeGauge(gauge->Look(), gauge->size());
        QCOMPARE(gauge->grab().toImage().convertToFormat(QImage::Format_RGB32), expected);
        gauge->setEnabled(false);
        QCOMPARE(gauge->grab().toImage().convertToFormat(QImage::Format_RGB32), expected);
    }
};

QTEST_MAIN(TestTVantorGauge)
#include "tst_tvantorgauge.moc"
