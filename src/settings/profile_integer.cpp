// Decimal and hexadecimal integers of INI values.
#include "settings/profile_integer.h"

#include <limits>

namespace pellimar {
namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::optional<std::uint32_t> ParseHex(std::string_view digits)
{
    if (digits.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : digits) {
        const int digit = HexDigit(c);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<std::uint64_t>(digit);
        if (value > std::numeric_limits<std::uint32_t>::max())
            return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

// The magnitude, up to 2^31 so that the most negative integer fits.
std::optional<std::uint32_t> ParseDecimal(std::string_view digits)
{
    if (digits.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > std::uint64_t{1} << 31)
            return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

bool StartsWithHexPrefix(std::string_view text)
{
    return text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
}

}  // namespace

std::optional<std::int32_t> ParseProfileInteger(std::string_view text)
{
    const bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '-' || text.front() == '+'))
        text.remove_prefix(1);

    std::optional<std::uint32_t> magnitude;
    if (!text.empty() && text.front() == '$') {
        magnitude = ParseHex(text.substr(1));
    } else if (StartsWithHexPrefix(text)) {
        magnitude = ParseHex(text.substr(2));
    } else {
        magnitude = ParseDecimal(text);
        if (magnitude && !negative && *magnitude > std::uint32_t{std::numeric_limits<std::int32_t>::max()})
            return std::nullopt;
    }
    if (!magnitude)
        return std::nullopt;
    // Two's complement wrap-around: negation and hexadecimal bit patterns.
    const std::uint32_t bits = negative ? 0u - *magnitude : *magnitude;
    return static_cast<std::int32_t>(bits);
}

}  // namespace pellimar
