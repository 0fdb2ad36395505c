// Naming characters in messages.
#include "run/shown_character.h"

#include <cstdio>

namespace pellimar {
namespace {

struct Range {
    char32_t first;
    char32_t last;
};

// Controls, blanks other than the space, format and invisible characters,
// the main blocks of combining marks, variation selectors, private use and
// the tags; in order.
constexpr Range kInvisible[] = {
    {0x0000, 0x001F}, {0x007F, 0x00A0},   {0x00AD, 0x00AD},   {0x0300, 0x036F},
    {0x061C, 0x061C}, {0x115F, 0x1160},   {0x1680, 0x1680},   {0x17B4, 0x17B5},   {0x180B, 0x180F},
    {0x1AB0, 0x1AFF}, {0x1DC0, 0x1DFF},   {0x2000, 0x200F},   {0x2028, 0x202F},   {0x205F, 0x206F},
    {0x20D0, 0x20FF}, {0x3000, 0x3000},   {0x3164, 0x3164},   {0xD800, 0xF8FF},   {0xFDD0, 0xFDEF},
    {0xFE00, 0xFE0F}, {0xFE20, 0xFE2F},   {0xFEFF, 0xFEFF},   {0xFFA0, 0xFFA0},   {0xFFF0, 0xFFFB},
    {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0000, 0xE0FFF}, {0xF0000, 0x10FFFF},
};

}  // namespace

bool ShowsNothing(char32_t codePoint)
{
    // U+FFFE, U+FFFF and their kin in every plane are not characters.
    if ((codePoint & 0xFFFE) == 0xFFFE)
        return true;
    for (const Range& range : kInvisible) {
        if (codePoint >= range.first && codePoint <= range.last)
            return true;
    }
    return false;
}

std::string CharacterForMessage(char32_t codePoint, std::string_view asGiven)
{
    if (!ShowsNothing(codePoint))
        return "\"" + std::string(asGiven) + "\"";
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(codePoint));
    return name;
}

}  // namespace pellimar
