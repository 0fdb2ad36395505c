// The gauge's colour values: an RGB value or a system-colour index in 32 bits.
#pragma once

#include <cstdint>

namespace pellimar {

// Either 0x00BBGGRR (red in the lowest byte, as the Windows RGB macro packs
// it) or, with the top bit set, a system-colour index in the low byte.
using TColor = std::uint32_t;

inline constexpr TColor kSystemColorFlag = 0x80000000u;

inline constexpr TColor clBlack = 0x000000u;
inline constexpr TColor clWhite = 0xFFFFFFu;
inline constexpr TColor clActiveCaption = kSystemColorFlag | 2;
inline constexpr TColor clWindow = kSystemColorFlag | 5;
inline constexpr TColor clWindowFrame = kSystemColorFlag | 6;
inline constexpr TColor clWindowText = kSystemColorFlag | 8;
inline constexpr TColor clBtnFace = kSystemColorFlag | 15;

constexpr TColor MakeRGB(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    return TColor{red} | (TColor{green} << 8) | (TColor{blue} << 16);
}

}  // namespace pellimar
