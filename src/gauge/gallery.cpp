// gauge_gallery: renders every kind of gauge at a few percentages to PNG files
// (one per picture, plus sheet.png with all of them) for a person to look at.
#include <cstdio>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>

#include "gauge/vantor_gauge.h"

namespace {

using namespace pellimar;

struct Sample {
    const char* name;
    TVantorGaugeKind kind;
    QSize size;
};

const Sample kSamples[] = {
    {"text", gkText, {120, 24}},
    {"horizontal_bar", gkHorizontalBar, {200, 20}},
    {"vertical_bar", gkVerticalBar, {28, 120}},
    {"pie", gkPie, {100, 100}},
    {"needle", gkNeedle, {160, 90}},
};

const int kPercents[] = {0, 10, 33, 50, 75, 100};

QImage Render(const Sample& sample, int percent)
{
    TVantorGauge gauge;
    gauge.resize(sample.size);
    gauge.setFont(QFont(QStringLiteral("Liberation Sans"), 10, QFont::Bold));
    gauge.SetKind(sample.kind);
    gauge.SetForeColor(MakeRGB(0, 0, 128));
    gauge.SetColor(clBtnFace);
    gauge.SetProgress(percent);
    return gauge.grab().toImage();
}

// One row per kind, one column per percentage, on a grey ground.
QImage Sheet(const std::vector<std::vector<QImage>>& rows)
{
    const int cell = 210;
    QImage sheet(cell * static_cast<int>(std::size(kPercents)), cell * static_cast<int>(rows.size()),
                 QImage::Format_RGB32);
    sheet.fill(QColor(160, 160, 160));
    QPainter painter(&sheet);
    for (std::size_t row = 0; row < rows.size(); ++row)
        for (std::size_t column = 0; column < rows[row].size(); ++column)
            painter.drawImage(static_cast<int>(column) * cell + 5, static_cast<int>(row) * cell + 5,
                              rows[row][column]);
    return sheet;
}

}  // namespace

int main(int argc, char** argv)
{
    // No screen is needed: the pictures are composed off-screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: gauge_gallery OUTPUT_FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "gauge_gallery: cannot create %s\n", argv[1]);
        return 1;
    }
    std::vector<std::vector<QImage>> rows;
    for (const Sample& sample : kSamples) {
        rows.emplace_back();
        for (int percent : kPercents) {
            rows.back().push_back(Render(sample, percent));
            const QString file = QStringLiteral("%1_%2.png").arg(QLatin1String(sample.name)).arg(percent, 3, 10, QLatin1Char('0'));
            if (!rows.back().back().save(folder.filePath(file))) {
                std::fprintf(stderr, "gauge_gallery: cannot write %s\n", qPrintable(file));
                return 1;
            }
        }
    }
    return Sheet(rows).save(folder.filePath(QStringLiteral("sheet.png"))) ? 0 : 1;
}
