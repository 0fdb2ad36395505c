// The page the references show, as the page-number markers in the running
// text set it, and whether the last marker stood inside its line (the next
// reference then shows a range).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "engine/page_marker.h"

namespace pellimar {

class PageTracker {
public:
    explicit PageTracker(std::string_view pagePattern) : marker_(pagePattern) {}

    // The attempts at markers, read by the pass.
    PageMarkerMatcher& Marker() { return marker_; }
    // The attempt just read was a marker: its page is in force from here,
    // and `next`, the byte after it (nothing at the input's end), tells
    // whether it stood inside its line.
    void MarkerRead(std::optional<std::uint8_t> next)
    {
        page_ = marker_.Page();
        if (next && *next != '\r' && *next != '\n')
            midLine_ = true;
    }

    // -1 while no page is known.
    std::int32_t Page() const { return page_; }
    // The starting page, when the user was asked for it.
    void StartAt(std::int32_t page) { page_ = page; }
    bool MidLine() const { return midLine_; }
    // A reference showed the range.
    void RangeShown() { midLine_ = false; }

private:
    PageMarkerMatcher marker_;
    std::int32_t page_ = -1;
    bool midLine_ = false;
};

}  // namespace pellimar
