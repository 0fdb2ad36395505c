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

void PassReferences::TellObserver(std::string_view recordStart)
{
    run_.Observer->ReferenceMade(work_.recordLine, writer_.Text(), recordStart);
}

}  // namespace pellimar
