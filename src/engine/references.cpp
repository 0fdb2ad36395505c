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
    return run_.RefLevel < 0 || run_.Levels.values[run_.RefLevel] != kNotSet;
}

// Most records share their reference with the record before, so the text
// is built again only when something it shows has changed.
void ConversionPass::WriteReference()
{
    ReferenceCache& cache = run_.Cache;
    const ReferenceInputs inputs{run_.LevelsVersion, run_.PageNumber, run_.MidLinePage, host_.UseHR()};
    if (!cache.valid || !(cache.inputs == inputs)) {
        BuildReference(cache.text, inputs.midLine, inputs.useHR);
        // A page still unknown after the question is asked for again next time.
        cache.valid = run_.PageNumber != -1 || !run_.RefHasPage;
        cache.inputs = {run_.LevelsVersion, run_.PageNumber, inputs.midLine, inputs.useHR};
    }
    Write(cache.text);
    ++run_.RefCount;
    run_.MidLinePage = false;
}

void ConversionPass::BuildReference(std::string& text, bool midLine, bool useHR)
{
    text.assign("<CS:Reference>");
    if (run_.NotSearched)
        text += "<IX->";
    bool pageDone = false;
    for (const RefPiece& piece : run_.RefPieces) {
        if (piece.ender == '#') {
            // Only the first "#" shows the page; later ones keep their text.
            text += piece.literal;
            if (!pageDone)
                AppendPage(text, midLine);
            pageDone = true;
        } else if (piece.ender != 0) {
            // An unset level drops the literal text before its digit as well.
            const std::string& value = run_.Levels.values[piece.ender - '1'];
            if (value != kNotSet)
                text.append(piece.literal).append(value);
        } else {
            text += piece.literal;
        }
    }
    if (run_.NotSearched)
        text += "<IX>";
    text += useHR ? "<HR>" : "<CR>";
    text += "\r\n</CS>";
}

// The page, asked for when no marker has set it yet; a marker inside a line
// makes it a range N-(N+1).
void ConversionPass::AppendPage(std::string& text, bool midLine)
{
    if (run_.PageNumber == -1) {
        const std::optional<std::string> answer = host_.AskStartingPage(PagePrompt{});
        run_.PageNumber = ParseStartingPage(answer.value_or(PagePrompt{}.defaultText));
    }
    AppendDecimal(text, run_.PageNumber);
    if (midLine) {
        text += '-';
        AppendDecimal(text, std::int64_t{run_.PageNumber} + 1);
    }
}

}  // namespace pellimar
