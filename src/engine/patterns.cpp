// Pattern checks and the starting-page answer.
#include "engine/patterns.h"

#include "streams/text_util.h"

namespace pellimar {

namespace {

// A code as it is shown in a message: not the whole of a long one.
std::string Shown(std::string_view code)
{
    constexpr std::size_t kShown = 40;
    return code.size() <= kShown ? std::string(code) : std::string(code.substr(0, kShown)) + "...";
}

// Why references holding this code (its text between "<" and ">") could not
// be recognised; nothing when they could.
std::optional<std::string> CodeUnrecognisable(std::string_view text)
{
    const std::string code = "<" + Shown(text) + ">";
    for (const std::string_view head : {std::string_view("RD"), std::string_view("CS:"), std::string_view("/CS")}) {
        if (text.size() >= head.size() && EqualsIgnoreAsciiCase(text.substr(0, head.size()), head))
            return "it holds the code " + code + ", which begins \"" + std::string(head) + "\"";
    }
    const std::size_t token = text.find_first_of("1234567#");
    if (token != std::string_view::npos) {
        const std::string shown(1, text[token]);
        return "its code " + code + " holds \"" + shown + "\", which stands for " +
               (text[token] == '#' ? std::string("the page") : "the heading of level " + shown);
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> UnrecognisableReferences(std::string_view refPattern)
{
    if (refPattern.find_first_of("\r\n") != std::string_view::npos)
        return "it holds a line break";
    // A later run takes "<IX->" and "<IX>" for the Not Searched codes only
    // when they come as a pair around the whole text.
    if (refPattern.starts_with("<IX->") && !refPattern.ends_with("<IX>"))
        return "it begins with <IX-> but does not end with <IX>";
    if (refPattern.ends_with("<IX>") && !refPattern.starts_with("<IX->"))
        return "it ends with <IX> but does not begin with <IX->";
    for (std::size_t at = refPattern.find('<'); at != std::string_view::npos; at = refPattern.find('<', at)) {
        if (at + 1 < refPattern.size() && refPattern[at + 1] == '<') {
            at += 2;
            continue;
        }
        const std::size_t close = refPattern.find('>', at + 1);
        if (close == std::string_view::npos)
            return "its \"<\" at " + std::to_string(at + 1) + " opens a code that no \">\" closes";
        if (std::optional<std::string> reason = CodeUnrecognisable(refPattern.substr(at + 1, close - at - 1)))
            return reason;
        at = close + 1;
    }
    return std::nullopt;
}

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
