// Translation of the gauge's 32-bit colour values to Qt colours.
#include <QtTest>

#include "gauge/colors.h"

using namespace pellimar;

class TestGaugeColors : public QObject {
    Q_OBJECT

private slots:
    void rgbValuesKeepRedInTheLowestByte()
    {
        QCOMPARE(ToQColor(0x0000FF, QPalette()), QColor(255, 0, 0));
        QCOMPARE(ToQColor(MakeRGB(1, 2, 3), QPalette()), QColor(1, 2, 3));
    }

    void systemColoursComeFromTheActivePaletteGroup_data()
    {
        QTest::addColumn<uint>("color");
        QTest::addColumn<int>("role");
        QTest::newRow("clBtnFace") << uint(clBtnFace) << int(QPalette::Button);
        QTest::newRow("clActiveCaption") << uint(clActiveCaption) << int(QPalette::Highlight);
        QTest::newRow("clWindowFrame") << uint(clWindowFrame) << int(QPalette::Shadow);
        QTest::newRow("clWindow") << uint(clWindow) << int(QPalette::Base);
        QTest::newRow("clWindowText") << uint(clWindowText) << int(QPalette::WindowText);
    }
    void systemColoursComeFromTheActivePaletteGroup()
    {
        QFETCH(uint, color);
        QFETCH(int, role);
        QPalette palette;
        const auto colorRole = static_cast<QPalette::ColorRole>(role);
        palette.setColor(QPalette::Active, colorRole, QColor(1, 2, 3));
        palette.setColor(QPalette::Disabled, colorRole, QColor(4, 5, 6));
        palette.setCurrentColorGroup(QPalette::Disabled);
        QCOMPARE(ToQColor(color, palette), QColor(1, 2, 3));
    }

    void unknownSystemColourIsBlack()
    {
        QCOMPARE(ToQColor(kSystemColorFlag | 200, QPalette()), QColor(Qt::black));
    }
};

QTEST_MAIN(TestGaugeColors)
#include "tst_gaugecolors.moc"
