// References: the reference pattern filled in with the current level values
// and page, written as a "<CS:Reference>" code after a record code.
#include <charconv>

#include "previous_pass/conversion_pass.h"
#include "engine/levels.h"
#include "engine/patterns.h"

namespace pellimar::previous {
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
void ConversionPass::WriteReference(std::string_view taken)
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
    if (run_.Observer)
        TellObserver(taken);
}

// The reference's text without its frame, and a look at the record it
// belongs to: what was read of it and what the block holds next, to the
// end of its line.
void ConversionPass::TellObserver(std::string_view taken)
{
    constexpr std::size_t kLook = 160;
    const std::string& full = run_.Cache.text;
    const std::size_t head = std::string_view("<CS:Reference>").size() + (run_.NotSearched ? 5 : 0);
    const std::size_t tail = (run_.NotSearched ? 4 : 0) + std::string_view("<CR>\r\n</CS>").size();
    std::string record(taken);
    const std::span<const std::uint8_t> ahead = run_.Input->ReadAhead();
    record.append(reinterpret_cast<const char*>(ahead.data()), std::min(ahead.size(), kLook));
    record.resize(std::min(record.find_first_of("\r\n"), record.size()));
    run_.Observer->ReferenceMade(run_.RecordLine, std::string_view(full).substr(head, full.size() - head - tail),
                                 record);
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

}  // namespace pellimar::previous
