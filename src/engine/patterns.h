// Checks of the reference and page-number patterns before a run, and the
// reading of the starting-page answer.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/reference_pattern.h"

namespace pellimar {

inline constexpr const char* kInsufficientPatternInfo = "Insufficient information to process reference pattern";
inline constexpr const char* kPagePatternNeedsHash = "Page # Pattern must contain #";

// A reference pattern that shows the page needs a page-number pattern that
// can describe a marker, that is one with a "#" (kPagePatternNeedsHash).
bool PagePatternServes(const ReferencePattern& refPattern, std::string_view pagePattern);

// Reads a starting-page answer: optional leading blanks, an optional sign and
// digits, nothing else, within 32 bits. Anything else gives 1.
std::int32_t ParseStartingPage(std::string_view answer);

}  // namespace pellimar
