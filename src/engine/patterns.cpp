// Pattern checks and the starting-page answer.
#include "engine/patterns.h"

#include "engine/levels.h"

namespace pellimar {
namespace {

bool IsLevelDigit(char c)
{
    return c >= '1' && c <= '7';
}

}  // namespace

bool CheckRefPattern(const RunSettings& settings)
{
    for (char c : settings.refPattern) {
        const bool missing = (c == '#' && settings.pagePattern.empty()) ||
                             (IsLevelDigit(c) && settings.levelTexts[c - '1'].empty());
        if (missing)
            return false;
    }
    return true;
}

bool CheckPagePattern(const RunSettings& settings)
{
    const bool showsPage = settings.refPattern.find('#') != std::string::npos;
    return !showsPage || settings.pagePattern.find('#') != std::string::npos;
}

std::vector<RefPiece> SplitRefPattern(std::string_view pattern)
{
    std::vector<RefPiece> pieces;
    while (!pattern.empty()) {
        const std::string_view piece = SplitPiece(pattern, "1234567#");
        pattern.remove_prefix(piece.size());
        const char last = piece.back();
        if (IsLevelDigit(last) || last == '#')
            pieces.push_back({std::string(piece.substr(0, piece.size() - 1)), last});
        else
            pieces.push_back({std::string(piece), 0});
    }
    return pieces;
}

int FirstPatternLevel(std::string_view refPattern)
{
    const std::string_view piece = SplitPiece(refPattern, "1234567");
    if (piece.empty() || !IsLevelDigit(piece.back()))
        return -1;
    return piece.back() - '1';
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
