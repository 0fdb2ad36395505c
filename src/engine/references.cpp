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

void ConversionPass::WriteReference()
{
    const bool midLine = c.MidLinePage;
    std::string_view rest = c.RefPattern;
    bool pageDone = false;
    Write("<CS:Reference>");
    if (c.NotSearched)
        Write("<IX->");
    while (!rest.empty()) {
        const std::string_view piece = SplitPiece(rest, "1234567#");
        rest.remove_prefix(piece.size());
        const char last = piece.back();
        const std::string_view literal = piece.substr(0, piece.size() - 1);
        if (last >= '1' && last <= '7') {
            // An unset level drops the literal text before its digit as well.
            const std::string& value = c.Levels->values[last - '1'];
            if (value != kNotSet) {
                Write(literal);
                Write(value);
            }
        } else if (last == '#') {
            Write(literal);
            if (!pageDone)
                WritePage(midLine);
            pageDone = true;
        } else {
            Write(piece);
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
