// The gauge widget's properties and its paint event.
#include "gauge/vantor_gauge.h"

#include <QPainter>

#include "gauge/gauge_math.h"
#include "gauge/gauge_painting.h"

namespace pellimar {

TVantorGauge::TVantorGauge(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(100, 100);
}

std::int32_t TVantorGauge::PercentDone() const
{
    return PercentOf(FProgress, FMinValue, FMaxValue);
}

template <typename T>
void TVantorGauge::Change(T& field, T value)
{
    if (field == value)
        return;
    field = value;
    repaint();
}

void TVantorGauge::SetKind(TVantorGaugeKind value) { Change(FKind, value); }
void TVantorGauge::SetShowText(bool value) { Change(FShowText, value); }
void TVantorGauge::SetBorderStyle(TBorderStyle value) { Change(FBorderStyle, value); }
void TVantorGauge::SetForeColor(TColor value) { Change(FForeColor, value); }
void TVantorGauge::SetBackColor(TColor value) { Change(FBackColor, value); }
void TVantorGauge::SetColor(TColor value) { Change(FColor, value); }
void TVantorGauge::SetMinValue(std::int32_t value) { Change(FMinValue, value); }
void TVantorGauge::SetMaxValue(std::int32_t value) { Change(FMaxValue, value); }

void TVantorGauge::SetProgress(std::int32_t value)
{
    if (value == FProgress || value < FMinValue || value > FMaxValue)
        return;
    FProgress = value;
    // Only the low byte is remembered, so percentages 256 apart (possible once
    // the bounds move under Progress) count as unchanged.
    const auto percent = static_cast<std::uint8_t>(PercentDone());
    if (percent == FShownPercent)
        return;
    FShownPercent = percent;
    repaint();
}

GaugeLook TVantorGauge::Look() const
{
    return {{FKind, FShowText, FBorderStyle, FForeColor, FBackColor, FColor, PercentDone()}, font(), palette()};
}

void TVantorGauge::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, ComposeGauge(Look(), size()));
}

}  // namespace pellimar
