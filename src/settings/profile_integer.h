// The integer reading of INI values: optionally signed decimal, or
// hexadecimal after "$", "0x" or "0X".
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace pellimar {

// Empty when the whole text is not one number in 32-bit range. "0x" and
// "0X" count as a prefix only when digits follow ("0x" alone is no number).
// Hexadecimal takes up to eight digits, as the bit pattern of the integer
// ("$FFFFFFFF" is -1).
std::optional<std::int32_t> ParseProfileInteger(std::string_view text);

}  // namespace pellimar
