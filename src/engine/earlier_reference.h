// A reference that an earlier run wrote right after a record code, found
// before any of it is taken. Only what this program could have written is
// one: "<CS:Reference>", then a text read as the pass reads running text
// ("<<" is text, any other "<" opens a code up to the next ">") that holds no
// carriage return, no line feed and no code whose text begins "RD", "CS:" or
// "/CS" (in any letter case), and that begins with "<IX->" exactly when it
// ends with "<IX>" (Not Searched), then "<CR>" or "<HR>", then "\r\n</CS>";
// the whole no longer than the longest reference. Anything else is the
// user's text.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace pellimar {

enum class EarlierFrame {
    None,       // no "<CS:Reference>" starts here
    Found,      // a frame does, `length` bytes long
    LookAlike,  // "<CS:Reference>" starts here, but what follows makes it no frame
};

struct EarlierFrameMatch {
    EarlierFrame kind = EarlierFrame::None;
    std::size_t length = 0;
};

inline constexpr std::string_view kFrameOpen = "<CS:Reference>";

// The first bytes of `bytes` read as a frame: nothing when they end before
// that can be told.
std::optional<EarlierFrameMatch> ReadFrame(std::span<const std::uint8_t> bytes);

class EarlierReferenceFinder {
public:
    // A frame is at most `longest` bytes: no input makes the finder look
    // further than that.
    explicit EarlierReferenceFinder(std::size_t longest) : longest_(longest) {}

    std::size_t Longest() const { return longest_; }
    // Whether bytes that begin with these two may hold a frame: most records
    // open with text or another code, told by these alone.
    static bool MayStart(std::uint8_t first, std::uint8_t second) { return first == '<' && second == 'C'; }
    // At the start of `bytes`; nothing when they are too few to tell and
    // the input goes on after them (`inputEnds` false). Asked at every
    // record of a file that was converted before, so it is made where it is
    // asked.
    std::optional<EarlierFrameMatch> Within(std::span<const std::uint8_t> bytes, bool inputEnds) const
    {
        // Bytes that reach the longest frame tell it all: one that goes on
        // past them is too long to be one.
        const std::optional<EarlierFrameMatch> match = ReadFrame(bytes.first(std::min(bytes.size(), longest_)));
        if (match || (bytes.size() < longest_ && !inputEnds))
            return match;
        return EarlierFrameMatch{bytes.size() >= kFrameOpen.size() ? EarlierFrame::LookAlike : EarlierFrame::None, 0};
    }

private:
    std::size_t longest_;
};

}  // namespace pellimar
