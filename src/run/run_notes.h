// The notes a run ends with besides its summary, the same in the window and
// on the command line: texts that look like references from an earlier run
// and are none, and what was cut to keep within the longest reference.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/noted_places.h"

namespace pellimar {

// "3 texts after record codes begin like a reference but are not one, first
// on line 4; they were kept." A preview says what a run does with them.
// Empty when there is none.
std::string LookAlikesNote(const Tally& lookAlikes, bool byPreview);
// "2 references were cut to 64 KB, the longest a later run recognises,
// first on line 9." A preview or dry run says they "would be" cut. Empty when
// none was.
std::string ReferencesCutNote(const Tally& cut, std::size_t longest, bool foretold);
// "1 heading was longer than 64 KB and keeps its first 64 KB, on line 3."
// Empty when none was.
std::string HeadingsCutNote(const Tally& cut, std::size_t longest);

// Records whose code ends its line and whose text begins on a later line,
// left without a reference: "39 records begin on the line after their record
// code and got no reference; " then `switchAdvice` and "them one." With the
// switch for them on, those whose text lies past the look-ahead's reach: "2
// records begin more than 64 KB after their record code's line break and got
// no reference." A preview or dry run says they "get" none. Empty when there
// is none.
std::string LaterLineRecordsNote(std::int32_t count, bool switchOn, bool foretold, std::string_view switchAdvice);

// The line of the first, as a collection's notes give it beside a file's
// count: ", first on line 4", ", on line 4" for the only one, or nothing
// when the line is unknown.
std::string FirstLine(const Tally& tally);

}  // namespace pellimar
