// The conversion pass's working record for one run.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/run_settings.h"
#include "streams/text_stream.h"

namespace pellimar {

// One piece of the reference pattern: literal text, then the level digit or
// "#" that ends it (or nothing, for the pattern's trailing text).
struct RefPiece {
    std::string literal;
    char ender = 0;
};

// What the text of a reference depends on.
struct ReferenceInputs {
    std::uint64_t levelsVersion = 0;
    std::int32_t page = -1;
    bool midLine = false;
    bool useHR = false;
    bool operator==(const ReferenceInputs&) const = default;
};

enum class PassState { Copy, CodeOpen, CodeCheck, Heading, PageMatch, PageCommit };

struct RunContext {
    std::string RefPattern;
    std::vector<RefPiece> RefPieces;  // RefPattern split once per run
    std::string PagePattern;
    std::uint8_t PageFirst = 0;
    std::int32_t PageLead = -1;      // pattern bytes before its first "#", or -1
    std::int32_t PageNumber = -1;    // -1 while no page is known
    std::int32_t RefCount = 0;
    bool NotSearched = false;
    bool RemovePageMarks = false;
    bool RefHasPage = false;         // markers are looked for only then
    bool MidLinePage = false;        // a marker stood inside a line since the last reference
    int RefLevel = -1;               // first level digit of RefPattern, -1 for none
    LevelLists* Levels = nullptr;
    std::uint64_t LevelsVersion = 0;  // counts changes of the level values
    std::string CachedReference;      // the last reference written, and what it showed
    ReferenceInputs CachedInputs;
    bool HasCachedReference = false;
    PassState State = PassState::Copy;
    std::uint8_t Ch = 0;
    std::string CodeText;
    std::string HeadingLevel;
    std::string PageDigits;
    std::int64_t BytesConsumed = 0;
    std::int64_t InputSize = 0;
    std::int32_t RunPercent = 0;
    std::int32_t LastPercent = -2;
    std::int64_t NextPercentAt = 0;  // BytesConsumed at which RunPercent can next change
    std::unique_ptr<TS_TextStream> Input;
    std::unique_ptr<TS_TextStream> Output;
};

}  // namespace pellimar
