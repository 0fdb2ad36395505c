// The page the references show, as the page-number markers in the running
// text set it, and whether the last marker stood inside its line (the next
// reference then shows a range).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "engine/page_marker.h"

namespace pellimar {

class TS_TextStream;

class PageTracker {
public:
    PageTracker(std::string_view pagePattern, bool removeMarks) : marker_(pagePattern), removeMarks_(removeMarks) {}

    // A marker attempt whose first byte has been read from `input`: writes
    // what the attempt consumed to `output`, unless it was a marker to be
    // removed. True when it was a marker; Commit then puts its page in force.
    bool Attempt(TS_TextStream& input, std::uint8_t first, TS_TextStream& output);
    void Commit() { page_ = marker_.Page(); }
    std::size_t FailsAtSecond(std::uint8_t second) const { return marker_.FailsAtSecond(second); }
    // The same attempt over bytes at hand that hold it and the byte after it,
    // taking no more than `most` of them: how many it takes and whether they
    // were a marker, whose page is then in force. Nothing, and nothing
    // changed, when the bytes cannot tell or the attempt would take more.
    std::optional<PageMarkerMatcher::Taken> AttemptWithin(std::span<const std::uint8_t> bytes, std::size_t most);

    // -1 while no page is known.
    std::int32_t Page() const { return page_; }
    // The starting page, when the user was asked for it.
    void StartAt(std::int32_t page) { page_ = page; }
    bool MidLine() const { return midLine_; }
    // A reference showed the range.
    void RangeShown() { midLine_ = false; }

private:
    PageMarkerMatcher marker_;
    bool removeMarks_;
    std::int32_t page_ = -1;
    bool midLine_ = false;
};

}  // namespace pellimar
