// Checks of the reference and page-number patterns before a run, and the
// reading of the starting-page answer.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/run_settings.h"

namespace pellimar {

inline constexpr const char* kInsufficientPatternInfo = "Insufficient information to process reference pattern";
inline constexpr const char* kPagePatternNeedsHash = "Page # Pattern must contain #";

// Every "#" of the reference pattern needs a page-number pattern and every
// level digit 1..7 its level name (kInsufficientPatternInfo otherwise).
bool CheckRefPattern(const RunSettings& settings);

// A reference pattern that shows the page needs a page-number pattern that
// can describe a marker, that is one with a "#" (kPagePatternNeedsHash).
bool CheckPagePattern(const RunSettings& settings);

// One piece of the reference pattern: literal text, then the level digit or
// "#" that ends it (or nothing, for the pattern's trailing text).
struct RefPiece {
    std::string literal;
    char ender = 0;
};

// The reference pattern cut after each level digit and "#".
std::vector<RefPiece> SplitRefPattern(std::string_view pattern);

// The first level digit of the reference pattern as a level index 0..6, or
// -1 when it names no level.
int FirstPatternLevel(std::string_view refPattern);

// Reads a starting-page answer: optional leading blanks, an optional sign and
// digits, nothing else, within 32 bits. Anything else gives 1.
std::int32_t ParseStartingPage(std::string_view answer);

}  // namespace pellimar
