// References in the pass: when one is due, and writing it after a record
// code, with the starting-page question the first time a page is needed.
#include "engine/pass_references.h"

#include "engine/patterns.h"

namespace pellimar {

PassReferences::PassReferences(PassWork& work)
    : run_(work.run), work_(work), writer_(work.run.RefPattern, work.run.NotSearched, work.run.LongestEarlierReference)
{
}

// The page is asked for when the pattern shows it and no marker has set it;
// an answer that leaves it unknown (-1) is asked for again next time.
void PassReferences::AskStartingPage()
{
    const std::optional<std::string> answer = work_.host.AskStartingPage(PagePrompt{});
    work_.page.StartAt(ParseStartingPage(answer.value_or(PagePrompt{}.defaultText)));
    work_.ReadSwitches();
}

void PassReferences::NoteCut()
{
    if (writer_.Cut())
        work_.Note(run_.Found[Finding::ReferencesCut], work_.recordAt);
}

// The reference's text without its frame, and a look at the record it
// belongs to: what was read of it and what the block holds next, to the
// end of its line.
void PassReferences::TellObserver(std::string_view taken)
{
    constexpr std::size_t kLook = 160;
    std::string record(taken);
    const std::span<const std::uint8_t> ahead = work_.input.ReadAhead();
    record.append(reinterpret_cast<const char*>(ahead.data()), std::min(ahead.size(), kLook));
    record.resize(std::min(record.find_first_of("\r\n"), record.size()));
    run_.Observer->ReferenceMade(work_.recordLine, writer_.Text(), record);
}

}  // namespace pellimar
