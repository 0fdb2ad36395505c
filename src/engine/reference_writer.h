// A reference as it is written after a record code: the reference pattern
// filled in with the level values and the page, inside its frame. Most
// records share their reference with the record before, so the last one is
// kept with what it was made from.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/reference_pattern.h"
#include "engine/run_settings.h"

namespace pellimar {

// The codes around a reference's text: "<CS:Reference>" (and "<IX->") before
// it; ("<IX>"), "<CR>" or "<HR>", and "\r\n</CS>" after it.
struct ReferenceFrame {
    std::string_view open;
    std::string_view close;
};
ReferenceFrame FrameOf(bool notSearched, bool useHR);

// Where `text`, read as the pass reads running text, may be cut so that no
// more than `most` bytes are left: the furthest point that splits neither a
// "<<" nor a code.
std::size_t CutPoint(std::string_view text, std::size_t most);

// The page as a reference shows it: N, or N-(N+1) after a marker that stood
// inside its line. Made without a string of its own: most references differ
// from the one before only in the page.
class PageText {
public:
    PageText(std::int32_t page, bool midLine);
    std::string_view View() const { return {bytes_, length_}; }

private:
    char bytes_[24];  // room for "-2147483648--2147483647"
    std::size_t length_ = 0;
};

// Everything a reference is made from besides the pattern and the frame's
// fixed switch. The writer reads nothing else, so a reference kept for
// sources equal to these is the one they would make.
struct ReferenceSources {
    const LevelLists* levels = nullptr;  // the values
    std::uint64_t levelChanges = 0;      // of the levels the pattern shows
    std::int32_t page = -1;
    bool midLinePage = false;
    bool useHR = false;

    bool operator==(const ReferenceSources&) const = default;
};
inline ReferenceSources SourcesOf(const LevelLists& levels, const ReferencePattern& pattern, std::int32_t page,
                                  bool midLinePage, bool useHR)
{
    return {&levels, levels.ChangesThrough(pattern.DeepestLevel()), page, midLinePage, useHR};
}

// No reference is longer than `longest`, the longest a later run recognises:
// the text of one that would be is cut to fit, where it splits neither a
// "<<" nor a code.
class ReferenceWriter {
public:
    ReferenceWriter(const ReferencePattern& pattern, bool notSearched, std::size_t longest = kLongestEarlierReference)
        : pattern_(pattern), notSearched_(notSearched), longest_(longest)
    {
    }

    // The whole reference, frame and text, for these sources. Most records
    // share it with the record before.
    const std::string& Reference(const ReferenceSources& sources)
    {
        return madeFrom_ == sources ? written_ : Remake(sources);
    }
    // The text of the last reference, without its frame.
    std::string_view Text() const { return std::string_view(written_).substr(textStart_, textLength_); }
    // The last reference's text was cut.
    bool Cut() const { return cut_; }

private:
    const std::string& Remake(const ReferenceSources& sources);
    void Build(const ReferenceSources& sources);
    void ReplacePage(const ReferenceSources& sources);

    const ReferencePattern& pattern_;
    bool notSearched_;
    std::size_t longest_;
    bool cut_ = false;
    std::string written_;
    std::size_t textStart_ = 0;
    std::size_t textLength_ = 0;
    std::size_t pageAt_ = std::string::npos;  // in written_; npos when it shows none
    std::size_t pageLength_ = 0;
    // Sources that name no level lists, as nothing made yet: real sources
    // always name them.
    ReferenceSources madeFrom_;
};

}  // namespace pellimar
