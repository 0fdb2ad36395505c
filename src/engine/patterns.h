// Checks of the reference and page-number patterns before a run, and the
// reading of the starting-page answer.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/reference_pattern.h"

namespace pellimar {

inline constexpr const char* kInsufficientPatternInfo = "Insufficient information to process reference pattern";
inline constexpr const char* kPagePatternNeedsHash = "Page # Pattern must contain #";

inline constexpr const char* kReferencesUnrecognisable =
    "A later run could not recognise the references this pattern makes";

// Why a later run could not recognise the references the pattern makes, or
// nothing when it could. Read as the pass reads running text ("<<" is text,
// any other "<" opens a code up to the next ">"), the pattern may hold no
// line break, no code whose text begins "RD", "CS:" or "/CS" (in any letter
// case), no code that no ">" closes, and no level digit or "#" inside a
// code, where a heading or the page, or its absence, would change the code.
std::optional<std::string> UnrecognisableReferences(std::string_view refPattern);

// A reference pattern that shows the page needs a page-number pattern that
// can describe a marker, that is one with a "#" (kPagePatternNeedsHash).
bool PagePatternServes(const ReferencePattern& refPattern, std::string_view pagePattern);

// Reads a starting-page answer: optional leading blanks, an optional sign and
// digits, nothing else, within 32 bits. Anything else gives 1.
std::int32_t ParseStartingPage(std::string_view answer);

}  // namespace pellimar
