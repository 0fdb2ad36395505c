// References: the reference pattern filled in with the current level values
// and page, written as a "<CS:Reference>" code after a record code.
#include "engine/conversion_pass.h"
#include "engine/levels.h"
#include "engine/patterns.h"
#include "engine/reference_builder.h"

namespace pellimar {

// Due once the first level the pattern names has a value; a pattern that
// names no level makes every record's reference due.
bool ConversionPass::ReferenceDue() const
{
    return run_.RefLevel < 0 || !IsNotSet(run_.Levels.values[run_.RefLevel]);
}

// Most records share their reference with the record before, so the text
// is built again only when something it shows has changed, and the pattern
// filled in again only when the level values have.
void ConversionPass::WriteReference(std::string_view taken)
{
    ReferenceCache& cache = cache_;
    const ReferenceInputs inputs{levelsVersion_, pageNumber_, midLinePage_, host_.UseHR()};
    if (!cache.valid || !(cache.inputs == inputs)) {
        BuildReferenceText(inputs.midLine, inputs.useHR);
        // A page still unknown after the question is asked for again next time.
        cache.valid = pageNumber_ != -1 || !run_.RefHasPage;
        cache.inputs = {levelsVersion_, pageNumber_, inputs.midLine, inputs.useHR};
    }
    Write(cache.written);
    ++run_.RefCount;
    midLinePage_ = false;
    if (run_.Observer)
        TellObserver(taken);
}

// The reference's text without its frame, and a look at the record it
// belongs to: what was read of it and what the block holds next, to the
// end of its line.
void ConversionPass::TellObserver(std::string_view taken)
{
    constexpr std::size_t kLook = 160;
    const ReferenceCache& cache = cache_;
    std::string record(taken);
    const std::span<const std::uint8_t> ahead = run_.Input->ReadAhead();
    record.append(reinterpret_cast<const char*>(ahead.data()), std::min(ahead.size(), kLook));
    record.resize(std::min(record.find_first_of("\r\n"), record.size()));
    run_.Observer->ReferenceMade(recordLine_, std::string_view(cache.written).substr(cache.textStart, cache.textLength),
                                 record);
}

// The page is asked for when the pattern shows it and no marker has set it.
// When only the page has changed since the last reference, only the page is
// written anew.
void ConversionPass::BuildReferenceText(bool midLine, bool useHR)
{
    if (run_.RefHasPage && pageNumber_ == -1) {
        const std::optional<std::string> answer = host_.AskStartingPage(PagePrompt{});
        pageNumber_ = ParseStartingPage(answer.value_or(PagePrompt{}.defaultText));
    }
    ReferenceCache& cache = cache_;
    std::string& written = cache.written;
    if (cache.built && cache.builtVersion == levelsVersion_ && cache.builtUseHR == useHR) {
        if (cache.pageAt == std::string::npos)
            return;
        const std::string page = PageText(pageNumber_, midLine);
        written.replace(cache.pageAt, cache.pageLength, page);
        cache.textLength += page.size() - cache.pageLength;
        cache.pageLength = page.size();
        return;
    }
    const ReferenceFrame frame = FrameOf(run_.NotSearched, useHR);
    const std::string page = run_.RefHasPage ? PageText(pageNumber_, midLine) : std::string();
    written.assign(frame.open);
    cache.textStart = written.size();
    cache.pageAt = FillPattern(run_.RefPieces, run_.Levels.values, page, written);
    cache.pageLength = page.size();
    cache.textLength = written.size() - cache.textStart;
    written += frame.close;
    cache.built = true;
    cache.builtVersion = levelsVersion_;
    cache.builtUseHR = useHR;
}

}  // namespace pellimar
