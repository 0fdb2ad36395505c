// The progress gauge widget: a value between two bounds shown as a whole
// percentage, as text, a bar, a pie or a needle dial.
#pragma once

#include <cstdint>

#include <QWidget>

#include "gauge/gauge_look.h"

namespace pellimar {

// Paints its whole area itself from a picture composed off-screen, so nothing
// behind it is erased first. Changes repaint at once rather than waiting for
// the event loop, because its owner updates it from inside long operations.
class TVantorGauge : public QWidget {
    Q_OBJECT

public:
    explicit TVantorGauge(QWidget* parent = nullptr);

    // The whole percentage of Progress between MinValue and MaxValue; outside
    // 0..100 when Progress lies outside the bounds.
    std::int32_t PercentDone() const;

    TVantorGaugeKind Kind() const { return FKind; }
    bool ShowText() const { return FShowText; }
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    TColor ForeColor() const { return FForeColor; }
    TColor BackColor() const { return FBackColor; }
    TColor Color() const { return FColor; }
    std::int32_t MinValue() const { return FMinValue; }
    std::int32_t MaxValue() const { return FMaxValue; }
    std::int32_t Progress() const { return FProgress; }

    // Each repaints at once when the value differs from the current one. The
    // bounds are not checked against each other or against Progress.
    void SetKind(TVantorGaugeKind value);
    void SetShowText(bool value);
    void SetBorderStyle(TBorderStyle value);
    void SetForeColor(TColor value);
    void SetBackColor(TColor value);
    void SetColor(TColor value);
    void SetMinValue(std::int32_t value);
    void SetMaxValue(std::int32_t value);
    // A value outside MinValue..MaxValue is dropped, not clamped. Repaints
    // only when the whole percentage changes, so a caller may step the value
    // as finely as it likes.
    void SetProgress(std::int32_t value);

    // What the picture is composed from, with the current font and palette.
    GaugeLook Look() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    template <typename T>
    void Change(T& field, T value);

    // Low byte of the percentage at the last repaint caused by Progress.
    std::uint8_t FShownPercent = 0;
    std::int32_t FMinValue = 0;
    std::int32_t FMaxValue = 100;
    std::int32_t FProgress = 0;
    TVantorGaugeKind FKind = gkHorizontalBar;
    bool FShowText = true;
    TBorderStyle FBorderStyle = bsSingle;
    TColor FForeColor = clBlack;
    TColor FBackColor = clWhite;
    TColor FColor = clWindow;
};

}  // namespace pellimar
