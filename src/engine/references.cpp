// References in the pass: when one is due, and writing it after a record
// code, with the starting-page question the first time a page is needed.
#include "engine/conversion_pass.h"
#include "engine/levels.h"
#include "engine/patterns.h"

namespace pellimar {

// Due once the first level the pattern names has a value; a pattern that
// names no level makes every record's reference due. A run that only takes
// out earlier references writes none.
bool ConversionPass::ReferenceDue() const
{
    const int level = run_.RefPattern.FirstLevel();
    return run_.WritesReferences && (level < 0 || !IsNotSet(run_.Levels.values[level]));
}

// The page is asked for when the pattern shows it and no marker has set it;
// an answer that leaves it unknown (-1) is asked for again next time.
void ConversionPass::WriteReference(std::string_view taken)
{
    if (run_.RefPattern.ShowsPage() && page_.Page() == -1) {
        const std::optional<std::string> answer = host_.AskStartingPage(PagePrompt{});
        page_.StartAt(ParseStartingPage(answer.value_or(PagePrompt{}.defaultText)));
        ReadSwitches();
    }
    const std::string& reference =
        writer_.Reference(SourcesOf(run_.Levels, page_.Page(), page_.MidLine(), switches_.useHR));
    run_.Output->WriteBytes(reference.data(), reference.size());
    ++run_.RefCount;
    page_.RangeShown();
    if (run_.Observer)
        TellObserver(taken);
}

void ConversionPass::NoteCutReference()
{
    if (writer_.Cut())
        Note(run_.ReferencesCut, recordAt_);
}

// The reference's text without its frame, and a look at the record it
// belongs to: what was read of it and what the block holds next, to the
// end of its line.
void ConversionPass::TellObserver(std::string_view taken)
{
    constexpr std::size_t kLook = 160;
    std::string record(taken);
    const std::span<const std::uint8_t> ahead = run_.Input->ReadAhead();
    record.append(reinterpret_cast<const char*>(ahead.data()), std::min(ahead.size(), kLook));
    record.resize(std::min(record.find_first_of("\r\n"), record.size()));
    run_.Observer->ReferenceMade(recordLine_, writer_.Text(), record);
}

}  // namespace pellimar
