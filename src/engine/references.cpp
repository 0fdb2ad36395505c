// References: the reference pattern filled in with the current level values
// and page, written as a "<CS:Reference>" code after a record code.
#include <charconv>

#include "engine/conversion_pass.h"
#include "engine/levels.h"
#include "engine/patterns.h"

namespace pellimar {
namespace {

void AppendDecimal(std::string& text, std::int64_t value)
{
    char digits[24];
    const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    text.append(digits, static_cast<std::size_t>(end - digits));
}

}  // namespace

// Due once the first level the pattern names has a value; a pattern that
// names no level makes every record's reference due.
bool ConversionPass::ReferenceDue() const
{
    return c.RefLevel < 0 || c.Levels->values[c.RefLevel] != kNotSet;
}

std::vector<RefPiece> SplitRefPattern(std::string_view pattern)
{
    std::vector<RefPiece> pieces;
    while (!pattern.empty()) {
        const std::string_view piece = SplitPiece(pattern, "1234567#");
        pattern.remove_prefix(piece.size());
        const char last = piece.back();
        if ((last >= '1' && last <= '7') || last == '#')
            pieces.push_back({std::string(piece.substr(0, piece.size() - 1)), last});
        else
            pieces.push_back({std::string(piece), 0});
    }
    return pieces;
}

// Most records share their reference with the record before, so the text
// is built again only when something it shows has changed.
void ConversionPass::WriteReference()
{
    const ReferenceInputs inputs{c.LevelsVersion, c.PageNumber, c.MidLinePage, host.UseHR()};
    if (!c.HasCachedReference || !(c.CachedInputs == inputs)) {
        BuildReference(c.CachedReference, inputs.midLine, inputs.useHR);
        // A page still unknown after the question is asked for again next time.
        c.HasCachedReference = c.PageNumber != -1 || !c.RefHasPage;
        c.CachedInputs = {c.LevelsVersion, c.PageNumber, inputs.midLine, inputs.useHR};
    }
    Write(c.CachedReference);
    ++c.RefCount;
    c.MidLinePage = false;
}

void ConversionPass::BuildReference(std::string& text, bool midLine, bool useHR)
{
    text.assign("<CS:Reference>");
    if (c.NotSearched)
        text += "<IX->";
    bool pageDone = false;
    for (const RefPiece& piece : c.RefPieces) {
        if (piece.ender == '#') {
            // Only the first "#" shows the page; later ones keep their text.
            text += piece.literal;
            if (!pageDone)
                AppendPage(text, midLine);
            pageDone = true;
        } else if (piece.ender != 0) {
            // An unset level drops the literal text before its digit as well.
            const std::string& value = c.Levels->values[piece.ender - '1'];
            if (value != kNotSet)
                text.append(piece.literal).append(value);
        } else {
            text += piece.literal;
        }
    }
    if (c.NotSearched)
        text += "<IX>";
    text += useHR ? "<HR>" : "<CR>";
    text += "\r\n</CS>";
}

// The page, asked for when no marker has set it yet; a marker inside a line
// makes it a range N-(N+1).
void ConversionPass::AppendPage(std::string& text, bool midLine)
{
    if (c.PageNumber == -1) {
        const std::optional<std::string> answer = host.AskStartingPage(PagePrompt{});
        c.PageNumber = ParseStartingPage(answer.value_or(PagePrompt{}.defaultText));
    }
    AppendDecimal(text, c.PageNumber);
    if (midLine) {
        text += '-';
        AppendDecimal(text, std::int64_t{c.PageNumber} + 1);
    }
}

}  // namespace pellimar
