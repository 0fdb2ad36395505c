// Pixels of the composed gauge picture: frame, bar lengths, pie wedges, the
// needle and the XOR-ed percentage text.
#include <QtTest>

#include "gauge/blt_bitmap.h"
#include "gauge/gauge_painting.h"
#include "support/gauge_reference.h"

using namespace pellimar;

namespace {

const QHash<QChar, QRgb> kProbeColours = {
    {'K', 0xFF000000},  // black: frame and outside
    {'F', 0xFFC80000},  // ForeColor MakeRGB(200, 0, 0)
    {'B', 0xFFFFFFFF},  // BackColor clWhite
    {'A', 0xFF00A000},  // Color MakeRGB(0, 160, 0), around pie and dial
};

QImage Compose(int kind, QSize size, int percent, int border, bool showText = false)
{
    GaugeLook look;
    look.Kind = static_cast<TVantorGaugeKind>(kind);
    look.BorderStyle = static_cast<TBorderStyle>(border);
    look.ShowText = showText;
    look.ForeColor = MakeRGB(200, 0, 0);
    look.Color = MakeRGB(0, 160, 0);
    look.Font = QFont(QStringLiteral("Liberation Sans"));
    look.Font.setPixelSize(16);
    look.Percent = percent;
    return ComposeGauge(look, size);
}

// Probes read "F 1,8 B 165,8": a colour letter of kProbeColours at x,y.
// Returns the first probe that does not hold, or an empty string.
QString FailedProbe(const QImage& image, const QString& probes)
{
    static const QRegularExpression probe(QStringLiteral("([KFBA]) (\\d+),(\\d+)"));
    for (const QRegularExpressionMatch& m : probe.globalMatch(probes)) {
        const QPoint at(m.captured(2).toInt(), m.captured(3).toInt());
        if (image.pixel(at) != kProbeColours[m.captured(1).at(0)])
            return m.captured(0) + QStringLiteral(" is %1").arg(image.pixel(at), 8, 16);
    }
    return {};
}

QList<QPoint> Differences(const QImage& a, const QImage& b)
{
    QList<QPoint> points;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                points.append(QPoint(x, y));
    return points;
}

}  // namespace

class TestGaugePainting : public QObject {
    Q_OBJECT

private slots:
    void kindsDrawTheirShapeInsideTheFrame_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("border");
        QTest::addColumn<int>("percent");
        QTest::addColumn<QString>("probes");
        const int H = gkHorizontalBar, V = gkVerticalBar, P = gkPie, N = gkNeedle;
        const int none = bsNone, single = bsSingle;
        QTest::newRow("half bar fills columns 1 to 164") << H << QSize(332, 17) << single << 50
            << "K 0,8 F 1,8 F 164,8 B 165,8 B 330,8 K 331,8 K 100,0 K 100,16 F 1,1 F 164,15";
        // Without a frame a bar spans width + 1: width 99 scales 100.
        QTest::newRow("5% of 20 is 0") << H << QSize(19, 9) << none << 5 << "B 0,4";
        QTest::newRow("5% of 100 is 4") << H << QSize(99, 9) << none << 5 << "F 3,4 B 4,4";
        QTest::newRow("10% of 100 is 9") << H << QSize(99, 9) << none << 10 << "F 8,4 B 9,4";
        QTest::newRow("25% of 100 is 25") << H << QSize(99, 9) << none << 25 << "F 24,4 B 25,4";
        QTest::newRow("70% of 100 is 70") << H << QSize(99, 9) << none << 70 << "F 69,4 B 70,4";
        QTest::newRow("90% of 100 is 90") << H << QSize(99, 9) << none << 90 << "F 89,4 B 90,4";
        QTest::newRow("50% of 331 is 165") << H << QSize(330, 9) << none << 50 << "F 164,4 B 165,4";
        QTest::newRow("250% stops at the frame") << H << QSize(50, 9) << single << 250 << "F 48,4 K 49,4";
        QTest::newRow("negative bar is empty") << H << QSize(50, 9) << single << -30 << "B 1,4";
        QTest::newRow("vertical 100% fills inside frame") << V << QSize(20, 17) << single << 100
                                                         << "K 10,0 F 10,1 F 10,15 K 10,16";
        QTest::newRow("vertical 300% fills inside frame") << V << QSize(20, 17) << single << 300
                                                         << "K 10,0 F 10,1 F 10,15";
        QTest::newRow("vertical 50% counts rows from h") << V << QSize(20, 17) << single << 50
                                                        << "B 10,7 F 10,8 F 10,15";
        QTest::newRow("frameless vertical spares top row") << V << QSize(20, 17) << none << 100
                                                          << "B 10,0 F 10,1 F 10,16";
        QTest::newRow("text kind is BackColor") << int(gkText) << QSize(60, 20) << single << 70
                                                << "K 0,0 B 1,1 B 58,18 K 59,19 K 30,0";
        QTest::newRow("pie 0% is an empty ellipse") << P << QSize(101, 101) << none << 0
                                                    << "B 75,25 B 75,75 B 25,75 B 25,25 F 50,0 A 2,2";
        QTest::newRow("pie 25% upper right quarter") << P << QSize(101, 101) << none << 25
                                                     << "F 75,25 B 75,75 B 25,75 B 25,25";
        QTest::newRow("pie 50% right half") << P << QSize(101, 101) << none << 50
                                            << "F 75,25 F 75,75 B 25,75 B 25,25";
        QTest::newRow("pie 75% three quarters") << P << QSize(101, 101) << none << 75
                                                << "F 75,25 F 75,75 F 25,75 B 25,25";
        QTest::newRow("pie 100% full ellipse") << P << QSize(101, 101) << none << 100
                                               << "F 75,25 F 75,75 F 25,75 F 25,25 A 2,2";
        // 12 % starts at (168, 14): 28 degrees geometric, 47 parametric.
        QTest::newRow("wide pie starts on its radial") << P << QSize(201, 101) << none << 12
                                                       << "F 131,25 B 157,30";
        QTest::newRow("framed pie keeps the frame") << P << QSize(60, 40) << single << 100
                                                    << "K 0,0 K 30,0 K 0,20 K 59,39 A 1,1";
        // 100 x 60 framed: pivot (50, 58), base line on the bottom frame row.
        QTest::newRow("needle 0% is not drawn") << N << QSize(100, 60) << single << 0
                                                << "B 50,3 B 50,56 K 0,59 F 1,59 F 99,59 A 2,2";
        QTest::newRow("needle 50% points up") << N << QSize(100, 60) << single << 50
                                              << "K 50,0 F 50,2 F 50,30 F 50,58 B 49,30 B 51,30";
        QTest::newRow("needle 100% lies flat right") << N << QSize(100, 60) << single << 100
                                                     << "F 50,58 F 75,58 F 99,58 B 75,57 B 50,30";
    }
    void kindsDrawTheirShapeInsideTheFrame()
    {
        QFETCH(int, kind);
        QFETCH(QSize, size);
        QFETCH(int, border);
        QFETCH(int, percent);
        QFETCH(QString, probes);
        const QString failed = FailedProbe(Compose(kind, size, percent, border), probes);
        QVERIFY2(failed.isEmpty(), qPrintable(failed));
    }

    void percentTextInvertsOnlyWhatLiesUnderItsGlyphs_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("coloursBeneath");
        QTest::newRow("text kind") << int(gkText) << QSize(80, 24) << 42 << 1;
        QTest::newRow("half bar, both parts") << int(gkHorizontalBar) << QSize(200, 30) << 50 << 2;
        QTest::newRow("too wide, clipped") << int(gkText) << QSize(14, 12) << 100 << 1;
    }
    void percentTextInvertsOnlyWhatLiesUnderItsGlyphs()
    {
        QFETCH(int, kind);
        QFETCH(QSize, size);
        QFETCH(int, percent);
        QFETCH(int, coloursBeneath);
        const QImage plain = Compose(kind, size, percent, bsSingle);
        const QImage text = Compose(kind, size, percent, bsSingle, true);
        const QRect inner = QRect(QPoint(0, 0), size).adjusted(1, 1, -1, -1);
        QSet<QRgb> beneath;
        const QList<QPoint> glyphs = Differences(plain, text);
        QVERIFY(!glyphs.isEmpty());
        for (const QPoint& p : glyphs) {
            QVERIFY(inner.contains(p));
            QCOMPARE(text.pixel(p), plain.pixel(p) ^ 0x00FFFFFFu);
            beneath.insert(plain.pixel(p));
        }
        QCOMPARE(beneath.size(), coloursBeneath);
    }

    void percentTextIsCentredInTheInnerRect()
    {
        QRect box;
        for (const QPoint& p : Differences(Compose(gkText, {300, 40}, 100, bsSingle),
                                           Compose(gkText, {300, 40}, 100, bsSingle, true)))
            box |= QRect(p, QSize(1, 1));
        QVERIFY2(qAbs(box.center().x() - 150) <= 3, qPrintable(QString::number(box.center().x())));
        QVERIFY2(qAbs(box.center().y() - 20) <= 4, qPrintable(QString::number(box.center().y())));
    }

    // The window's gauge uses system colours: they follow the application's
    // palette, and a disabled gauge looks like an enabled one.
    void systemColoursComeFromTheActivePalette()
    {
        GaugeLook look;
        look.ShowText = false;
        look.ForeColor = clActiveCaption;
        look.BackColor = clWindow;
        look.Percent = 50;
        look.Palette.setColor(QPalette::Active, QPalette::Highlight, QColor(1, 2, 3));
        look.Palette.setColor(QPalette::Active, QPalette::Base, QColor(4, 5, 6));
        look.Palette.setColor(QPalette::Disabled, QPalette::Highlight, QColor(7, 8, 9));
        look.Palette.setCurrentColorGroup(QPalette::Disabled);
        const QImage image = ComposeGauge(look, {100, 10});
        QCOMPARE(image.pixel(10, 5), qRgb(1, 2, 3));
        QCOMPARE(image.pixel(90, 5), qRgb(4, 5, 6));
    }

    // The Windows gauge is held to the same reference under wine.
    void barsDrawTheSharedGeometrysPixels()
    {
        for (const test::BarCase& c : test::BarCases()) {
            GaugeLook look;
            static_cast<GaugeLookCore&>(look) = test::LookOf(c);
            const QImage picture = ComposeGauge(look, QSize(c.width, c.height));
            const std::vector<std::uint32_t> expected = test::ReferenceBarPicture(look, c.width, c.height);
            for (int y = 0; y < c.height; ++y)
                for (int x = 0; x < c.width; ++x)
                    QVERIFY2((picture.pixel(x, y) & 0xFFFFFFu) == expected[static_cast<std::size_t>(y * c.width + x)],
                             qPrintable(QString("kind %1 border %2 size %3x%4 at %5%: pixel %6,%7")
                                            .arg(c.kind).arg(c.border).arg(c.width).arg(c.height).arg(c.percent)
                                            .arg(x).arg(y)));
        }
    }

    void workBitmapTakesSizeAndWindowFrameColour()
    {
        QPalette palette = QGuiApplication::palette();
        palette.setColor(QPalette::Shadow, QColor(1, 2, 3));
        QGuiApplication::setPalette(palette);
        TBltBitmap bitmap;
        bitmap.MakeLike(QImage(7, 5, QImage::Format_RGB32));
        QCOMPARE(bitmap.size(), QSize(7, 5));
        QCOMPARE(bitmap.pixel(6, 4), qRgb(1, 2, 3));
    }
};

QTEST_MAIN(TestGaugePainting)
#include "tst_gaugepainting.moc"
