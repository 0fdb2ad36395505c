// The heading of a level record: its lines, found over the bytes at hand
// and, where they reach past them, over the next ones, and made the value
// of that level.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/levels.h"
#include "engine/pass_work.h"
#include "streams/byte_scan.h"

namespace pellimar {

class HeadingCapture {
public:
    explicit HeadingCapture(PassWork& work) : work_(work) {}

    // A heading begins: its level record, of `level`, is the code just read,
    // and the heading's first byte stands at `start` in the input.
    void Begin(std::string_view level, std::int64_t start);
    // The heading goes on over [from, end): where it ends, or null when it
    // reaches past `end`, which then needs the bytes that follow; with
    // `inputEnds` none follow, and it ends there. The wide one is for
    // processors with the wide scans.
    const std::uint8_t* Find(const std::uint8_t* from, const std::uint8_t* end, bool inputEnds);
    PELLIMAR_WIDE_SCANS const std::uint8_t* FindWide(const std::uint8_t* from, const std::uint8_t* end, bool inputEnds);
    // Whether the value needs the heading's bytes from here on: one read
    // only to tell whether it was cut does not while it is no longer than
    // the value may be (`length`: its bytes so far).
    bool NeedsBytes(std::size_t length) const
    {
        return value_ && !(onlyWhetherCut_ && length <= work_.run.LongestEarlierReference);
    }
    // The heading's bytes from `from` to `to`, which Find has passed, given
    // to its value in order.
    void Give(const std::uint8_t* from, const std::uint8_t* to);
    // Whether the value needs every byte of the heading: it is then given
    // them as they are found, in one walk.
    bool NeedsEveryByte() const { return value_ && !onlyWhetherCut_; }
    // As Find, giving what it passes.
    const std::uint8_t* FindGiving(const std::uint8_t* from, const std::uint8_t* end);
    PELLIMAR_WIDE_SCANS const std::uint8_t* FindGivingWide(const std::uint8_t* from, const std::uint8_t* end);
    // The heading has ended: its level set, what it sets told.
    void Finish();

private:
    // Where a walk over a heading's lines stands.
    enum class At : std::uint8_t {
        Line,       // in a line, up to its line break
        AfterCr,    // a CR ended the last line: an LF right after it is part of the break
        LineStart,  // at the first byte of what may be a further line
    };
    template <const std::uint8_t* (*findLineBreak)(const std::uint8_t*, const std::uint8_t*), bool give>
    const std::uint8_t* Walk(At& at, const std::uint8_t* from, const std::uint8_t* end, bool inputEnds);

    PassWork& work_;
    At found_ = At::Line;  // how far Find has come
    At given_ = At::Line;  // how far Give has come
    // The level the heading sets, and the value it is read into.
    int index_ = -1;
    LevelSeen* first_ = nullptr;
    std::string* text_ = nullptr;  // what `value_` fills in, of a level
    bool onlyWhetherCut_ = false;
    std::optional<HeadingValue> value_;
    std::int64_t start_ = 0;
    // The value of a level no reference shows, which no level keeps.
    std::string unshown_;
};

}  // namespace pellimar
