// References in the pass: when one is due, and writing it after a record
// code, with the starting-page question the first time a page is needed.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/levels.h"
#include "engine/pass_work.h"
#include "engine/reference_writer.h"

namespace pellimar {

class PassReferences {
public:
    explicit PassReferences(PassWork& work);

    // Due once the first level the pattern names has a value; a pattern that
    // names no level makes every record's reference due. A run that only
    // takes out earlier references writes none. Asked at every record, so
    // it is made where it is asked.
    bool Due() const
    {
        const int level = run_.RefPattern.FirstLevel();
        return run_.WritesReferences && (level < 0 || !IsNotSet(run_.Levels.values[level]));
    }
    // The caller notes a reference that was cut, and tells a watcher. Made
    // where it is called, as it is called at nearly every record: the
    // question, which is rare, is not.
    void Write()
    {
        PageTracker& page = work_.page;
        if (run_.RefPattern.ShowsPage() && page.Page() == -1)
            AskStartingPage();
        const std::string& reference = writer_.Reference(
            SourcesOf(run_.Levels, run_.RefPattern, page.Page(), page.MidLine(), work_.switches.On(RunSwitch::UseHR)));
        if (run_.WritesOutput)
            work_.output.WriteBytes(reference.data(), reference.size());
        ++run_.RefCount;
        page.RangeShown();
    }
    // The last reference was cut to the longest one.
    bool Cut() const { return writer_.Cut(); }
    // The watcher is told of the last reference, with what the record shows
    // after its code.
    void TellObserver(std::string_view recordStart);

private:
    void AskStartingPage();

    RunContext& run_;
    PassWork& work_;
    ReferenceWriter writer_;
};

}  // namespace pellimar
