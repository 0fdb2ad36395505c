// Filling in the reference pattern.
#include "engine/reference_builder.h"

#include <charconv>

namespace pellimar {

ReferenceFrame FrameOf(bool notSearched, bool useHR)
{
    if (notSearched)
        return {"<CS:Reference><IX->", useHR ? "<IX><HR>\r\n</CS>" : "<IX><CR>\r\n</CS>"};
    return {"<CS:Reference>", useHR ? "<HR>\r\n</CS>" : "<CR>\r\n</CS>"};
}

std::size_t FillPattern(const std::vector<RefPiece>& pieces, const LevelList& values, std::string_view page,
                        std::string& text)
{
    std::size_t pageAt = std::string::npos;
    for (const RefPiece& piece : pieces) {
        if (piece.ender == '#') {
            text += piece.literal;
            if (pageAt == std::string::npos) {
                pageAt = text.size();
                text += page;
            }
        } else if (piece.ender != 0) {
            const std::string& value = values[piece.ender - '1'];
            if (!IsNotSet(value))
                text.append(piece.literal).append(value);
        } else {
            text += piece.literal;
        }
    }
    return pageAt;
}

std::string PageText(std::int32_t page, bool midLine)
{
    char digits[16];
    std::string text(digits, static_cast<std::size_t>(std::to_chars(digits, digits + sizeof digits, page).ptr - digits));
    if (midLine) {
        text += '-';
        const std::int64_t next = std::int64_t{page} + 1;
        text.append(digits, static_cast<std::size_t>(std::to_chars(digits, digits + sizeof digits, next).ptr - digits));
    }
    return text;
}

Reference BuildReference(const std::vector<RefPiece>& pieces, const LevelList& values, std::int32_t page,
                         bool midLine, bool notSearched, bool useHR)
{
    Reference reference{{}, FrameOf(notSearched, useHR)};
    FillPattern(pieces, values, PageText(page, midLine), reference.text);
    return reference;
}

}  // namespace pellimar
