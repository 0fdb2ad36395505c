// The heading state: the lines after a level record, copied and made the
// value of that level; and the same for a heading the block holds whole.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/earlier_reference_taker.h"
#include "engine/levels.h"
#include "engine/pass_work.h"
#include "streams/byte_scan.h"

namespace pellimar {

// The heading whose first line begins at `from`: `firstBreak` is its first
// line's break, and `end` lies past its last one.
struct HeadingSpan {
    const std::uint8_t* firstBreak;
    const std::uint8_t* end;
};

// Null when the bytes up to `end` cannot tell: the heading (or the byte that
// tells whether it goes on) reaches past them. The wide one is for
// processors with the wide scans.
std::optional<HeadingSpan> FindHeading(const std::uint8_t* from, const std::uint8_t* end);
PELLIMAR_WIDE_SCANS std::optional<HeadingSpan> FindHeadingWide(const std::uint8_t* from, const std::uint8_t* end);

class HeadingCapture {
public:
    HeadingCapture(PassWork& work, EarlierReferenceTaker& earlier) : work_(work), earlier_(earlier) {}

    // Right after the level record of work.headingLevel: copies its heading
    // from the input.
    void Capture();
    // The heading of a level record of `level`, the code just read, which
    // the caller copies: `lines` as FindHeading found them, with no earlier
    // reference before them, from `start` in the input; the first line is
    // `firstLength` bytes long.
    void TakeLines(std::string_view level, std::string_view lines, std::size_t firstLength, std::int64_t start);

private:
    // The level a heading sets, and the value it is read into.
    struct Heading {
        int index = -1;
        LevelSeen* first = nullptr;
        std::string* text = nullptr;  // what `value` fills in, of a level
        bool onlyWhetherCut = false;
        std::optional<HeadingValue> value;
    };

    void Begin(Heading& heading, std::string_view level);
    void Finish(Heading& heading, std::int64_t start);
    bool CopyLine(std::optional<HeadingValue>& value);
    bool Continues();

    PassWork& work_;
    EarlierReferenceTaker& earlier_;
    // The value of a level no reference shows, which no level keeps.
    std::string unshown_;
};

}  // namespace pellimar
