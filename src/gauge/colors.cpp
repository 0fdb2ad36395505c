// Translation of the gauge's colour values to Qt colours.
#include "gauge/colors.h"

#include <optional>

namespace pellimar {
namespace {

std::optional<QPalette::ColorRole> RoleOfSystemColor(TColor color)
{
    switch (color) {
    case clBtnFace: return QPalette::Button;
    case clActiveCaption: return QPalette::Highlight;
    case clWindowFrame: return QPalette::Shadow;
    case clWindow: return QPalette::Base;
    case clWindowText: return QPalette::WindowText;
    default: return std::nullopt;
    }
}

}  // namespace

QColor ToQColor(TColor color, const QPalette& palette)
{
    if ((color & kSystemColorFlag) == 0)
        return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
    const auto role = RoleOfSystemColor(color);
    if (!role)
        return QColor(Qt::black);
    return palette.color(QPalette::Active, *role);
}

}  // namespace pellimar
