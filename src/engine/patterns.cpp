// Pattern checks and the starting-page answer.
#include "engine/patterns.h"

namespace pellimar {

bool PagePatternServes(const ReferencePattern& refPattern, std::string_view pagePattern)
{
    return !refPattern.ShowsPage() || pagePattern.find('#') != std::string_view::npos;
}

std::int32_t ParseStartingPage(std::string_view answer)
{
    std::size_t at = answer.find_first_not_of(' ');
    if (at == std::string_view::npos)
        return 1;
    const bool negative = answer[at] == '-';
    if (answer[at] == '+' || answer[at] == '-')
        ++at;
    const std::string_view digits = answer.substr(at);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos)
        return 1;
    std::int64_t value = 0;
    for (char d : digits) {
        value = value * 10 + (d - '0');
        if (value > std::int64_t{INT32_MAX} + 1)
            return 1;
    }
    value = negative ? -value : value;
    if (value < INT32_MIN || value > INT32_MAX)
        return 1;
    return static_cast<std::int32_t>(value);
}

}  // namespace pellimar
