// The conversion pass's working record for one run.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "previous_pass/code_head.h"
#include "engine/held_text.h"
#include "engine/line_counter.h"
#include "engine/patterns.h"
#include "engine/reference_observer.h"
#include "engine/run_settings.h"
#include "streams/text_stream.h"

namespace pellimar::previous {

enum class PassState { Copy, CodeOpen, CodeCheck, Heading, PageMatch, PageCommit };

// What the text of a reference depends on besides the pattern.
struct ReferenceInputs {
    std::uint64_t levelsVersion = 0;
    std::int32_t page = -1;
    bool midLine = false;
    bool useHR = false;
    bool operator==(const ReferenceInputs&) const = default;
};

// Most records share their reference with the record before: the last text
// built is kept with what it showed.
struct ReferenceCache {
    std::string text;
    ReferenceInputs inputs;
    bool valid = false;
};

struct RunContext {
    // The run's set-up from the settings taken at its start: the level names
    // prepared, the level values and page unset, the patterns taken apart.
    RunContext(const RunSettings& settings, LevelLists& levels);

    // Patterns.
    std::string RefPattern;
    std::vector<RefPiece> RefPieces;  // RefPattern split once per run
    int RefLevel = -1;                // first level digit of RefPattern, -1 for none
    std::string PagePattern;
    std::uint8_t PageFirst = 0;
    std::int32_t PageLead = -1;  // pattern bytes before its first "#", or -1

    // Switches taken at the start.
    bool NotSearched = false;
    bool RemovePageMarks = false;
    bool RefHasPage = false;  // markers are looked for only then

    // What the references show.
    LevelLists& Levels;
    std::uint64_t LevelsVersion = 0;  // counts changes of the level values
    std::int32_t PageNumber = -1;     // -1 while no page is known
    std::int64_t PageDigits = 0;      // the value of a marker's digits so far
    bool PageTooLarge = false;        // they make more than 32 bits hold
    HeldText MarkerText;              // what a marker attempt has consumed
    bool MidLinePage = false;  // a marker stood inside a line since the last reference
    std::int32_t RefCount = 0;
    std::int32_t UnreadIdLevelRecords = 0;  // <RD,ID:n:Level> codes read without IDs
    ReferenceCache Cache;

    // The pass.
    PassState State = PassState::Copy;
    std::uint8_t Ch = 0;
    CodeHead Code;  // what the examination needs of the current code
    std::string HeadingLevel;

    // Progress. The input stream counts the bytes consumed.
    std::int64_t InputSize = 0;  // -1 for an input without a size (a pipe)
    std::int32_t RunPercent = 0;
    std::int32_t LastPercent = -2;   // so that the first step always reports
    std::int64_t NextPercentAt = 0;  // bytes consumed at which RunPercent can next change

    std::unique_ptr<TS_TextStream> Input;
    std::unique_ptr<TS_TextStream> Output;

    // Watching the references (a preview): who is told, the input's lines,
    // and the lines of the current code and of the record code.
    ReferenceObserver* Observer = nullptr;
    std::unique_ptr<LineCounter> Lines;
    std::int64_t CodeLine = 0;
    std::int64_t RecordLine = 0;
};

// The run-start reset of the level values, patterns, page and switches.
void ResetRunState(RunContext& run, const RunSettings& settings);

}  // namespace pellimar::previous
