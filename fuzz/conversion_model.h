// A second, deliberately plain reading of the conversion rules: the whole
// input in memory, an index into it, and the output built as a string. It
// knows nothing of blocks, streams or progress, so comparing it with the
// engine catches faults in the engine's shortcuts as well as in its rules.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/run_host.h"
#include "engine/run_settings.h"

namespace pellimar::fuzz {

struct ConversionOptions {
    std::string refPattern;
    std::string pagePattern;
    std::array<std::string, 7> levelTexts;
    bool notSearched = false;
    bool removePageMarks = false;
    RunSwitches switches;
    EarlierReferences earlier = EarlierReferences::Keep;
    std::size_t longestEarlier = kLongestEarlierReference;
    std::optional<std::string> startPage;  // nothing: the page question is cancelled
};

// How many times something happened, and the line of the first.
struct Counted {
    std::int32_t count = 0;
    std::int64_t firstLine = 0;
};

struct ConversionOutcome {
    std::string output;
    std::int32_t refCount = 0;
    std::array<std::string, 7> levelValues;
    int pageQuestions = 0;
    std::int32_t unreadIdLevelRecords = 0;
    std::int32_t laterLineRecords = 0;
    std::int32_t earlierReferences = 0;
    Counted earlierLookAlikes;
    Counted referencesCut;
    Counted headingsCut;
};

ConversionOutcome ConvertModel(std::string_view input, const ConversionOptions& options);

// The starting-page answer as a number: optional leading blanks, an
// optional sign, digits and nothing else, within 32 bits; otherwise 1.
std::int32_t StartingPageModel(std::string_view answer);

}  // namespace pellimar::fuzz
