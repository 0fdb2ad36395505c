// Taking the reference pattern apart, checking its sources and filling it in.
#include "engine/reference_pattern.h"

#include <algorithm>

#include "engine/levels.h"

namespace pellimar {
namespace {

bool IsLevelDigit(char c)
{
    return c >= '1' && c <= '7';
}

int LevelOf(char digit)
{
    return digit - '1';
}

}  // namespace

ReferencePattern::ReferencePattern(std::string_view text) : text_(text)
{
    while (!text.empty()) {
        const std::string_view piece = SplitPiece(text, "1234567#");
        text.remove_prefix(piece.size());
        const char last = piece.back();
        if (!IsLevelDigit(last) && last != '#') {
            pieces_.push_back({std::string(piece), 0});
            continue;
        }
        pieces_.push_back({std::string(piece.substr(0, piece.size() - 1)), last});
        if (last == '#') {
            showsPage_ = true;
            continue;
        }
        if (firstLevel_ < 0)
            firstLevel_ = LevelOf(last);
        deepestLevel_ = std::max(deepestLevel_, LevelOf(last));
    }
}

std::optional<MissingSource> ReferencePattern::Missing(std::string_view pagePattern, const LevelList& levelNames) const
{
    for (const RefPiece& piece : pieces_) {
        const char token = piece.ender;
        if (token == '#' && pagePattern.empty())
            return MissingSource{token, "\"#\" stands for the page, and the page-number pattern is empty"};
        if (IsLevelDigit(token) && levelNames[LevelOf(token)].empty()) {
            const std::string digit(1, token);
            return MissingSource{token, "\"" + digit + "\" stands for level " + digit + ", which has no name"};
        }
    }
    return std::nullopt;
}

std::size_t ReferencePattern::Fill(const LevelList& values, std::string_view page, std::string& text) const
{
    std::size_t pageAt = std::string::npos;
    for (const RefPiece& piece : pieces_) {
        if (piece.ender == '#') {
            text += piece.literal;
            if (pageAt == std::string::npos) {
                pageAt = text.size();
                text += page;
            }
        } else if (piece.ender != 0) {
            const std::string& value = values[LevelOf(piece.ender)];
            if (!IsNotSet(value))
                text.append(piece.literal).append(value);
        } else {
            text += piece.literal;
        }
    }
    return pageAt;
}

}  // namespace pellimar
