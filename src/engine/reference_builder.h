// A reference as it is written after a record code: the reference pattern
// filled in with the level values and the page, inside its frame.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/patterns.h"
#include "engine/run_settings.h"

namespace pellimar {

// The codes around a reference's text: "<CS:Reference>" (and "<IX->") before
// it; ("<IX>"), "<CR>" or "<HR>", and "\r\n</CS>" after it.
struct ReferenceFrame {
    std::string_view open;
    std::string_view close;
};
ReferenceFrame FrameOf(bool notSearched, bool useHR);

// Appends the pattern filled in with the level values and the page text to
// `text`; returns where in `text` the page stands, or npos when the pattern
// shows none. A level without a value leaves out its piece, the literal text
// before its digit included; only the first "#" shows the page, and later
// ones keep the text before them.
std::size_t FillPattern(const std::vector<RefPiece>& pieces, const LevelList& values, std::string_view page,
                        std::string& text);

// The page as a reference shows it: N, or N-(N+1) after a marker that stood
// inside its line.
std::string PageText(std::int32_t page, bool midLine);

// A whole reference: its text and its frame, apart.
struct Reference {
    std::string text;
    ReferenceFrame frame;
};
Reference BuildReference(const std::vector<RefPiece>& pieces, const LevelList& values, std::int32_t page,
                         bool midLine, bool notSearched, bool useHR);

}  // namespace pellimar
