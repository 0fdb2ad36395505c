// References: the reference pattern filled in with the current level values
// and page, written as a "<CS:Reference>" code after a record code.
#include "engine/conversion_pass.h"
#include "engine/levels.h"
#include "engine/patterns.h"

namespace pellimar {

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

void ConversionPass::WriteReference()
{
    const bool midLine = c.MidLinePage;
    bool pageDone = false;
    Write("<CS:Reference>");
    if (c.NotSearched)
        Write("<IX->");
    for (const RefPiece& piece : c.RefPieces) {
        if (piece.ender == '#') {
            // Only the first "#" shows the page; later ones keep their text.
            Write(piece.literal);
            if (!pageDone)
                WritePage(midLine);
            pageDone = true;
        } else if (piece.ender != 0) {
            // An unset level drops the literal text before its digit as well.
            const std::string& value = c.Levels->values[piece.ender - '1'];
            if (value != kNotSet) {
                Write(piece.literal);
                Write(value);
            }
        } else {
            Write(piece.literal);
        }
    }
    if (c.NotSearched)
        Write("<IX>");
    Write(host.UseHR() ? "<HR>" : "<CR>");
    Write("\r\n</CS>");
    ++c.RefCount;
    c.MidLinePage = false;
}

// The page, asked for when no marker has set it yet; a marker inside a line
// makes it a range N-(N+1).
void ConversionPass::WritePage(bool midLine)
{
    if (c.PageNumber == -1) {
        const std::optional<std::string> answer = host.AskStartingPage(PagePrompt{});
        c.PageNumber = ParseStartingPage(answer.value_or(PagePrompt{}.defaultText));
    }
    c.Output->WriteInt(c.PageNumber);
    if (midLine) {
        Write('-');
        Write(std::to_string(std::int64_t{c.PageNumber} + 1));
    }
}

}  // namespace pellimar
