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
#include <cstring>
#include <optional>
#include <span>
#include <string_view>

#include "streams/byte_scan.h"

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

namespace frame_text {

// Two words of `Word`'s size, the first and the last of `text`'s bytes
// (overlapping when the text is shorter than two words), equal at `at`.
template <typename Word>
bool SameEnds(const std::uint8_t* at, std::string_view text)
{
    Word ours, theirs, ourLast, theirLast;
    const std::size_t last = text.size() - sizeof(Word);
    std::memcpy(&ours, at, sizeof ours);
    std::memcpy(&theirs, text.data(), sizeof theirs);
    std::memcpy(&ourLast, at + last, sizeof ourLast);
    std::memcpy(&theirLast, text.data() + last, sizeof theirLast);
    return ours == theirs && ourLast == theirLast;
}

// `text` at `at`, with `end` leaving room for it or not. The frame's fixed
// texts are compared a word or two at a time rather than by a call.
inline bool TextAt(const std::uint8_t* at, const std::uint8_t* end, std::string_view text)
{
    if (static_cast<std::size_t>(end - at) < text.size())
        return false;
    if (text.size() >= 8 && text.size() <= 16)
        return SameEnds<std::uint64_t>(at, text);
    if (text.size() >= 4 && text.size() < 8)
        return SameEnds<std::uint32_t>(at, text);
    return std::memcmp(at, text.data(), text.size()) == 0;
}

}  // namespace frame_text

// The frame at the start of `bytes` as this program writes it for a text
// without codes: its length, or 0 for any other bytes, which ReadFrame
// reads in full. A file converted before holds one at every record, so it
// is made where it is asked.
inline std::size_t PlainFrameLength(std::span<const std::uint8_t> bytes)
{
    using frame_text::TextAt;
    constexpr std::string_view kNotSearchedOpen = "<IX->";
    const std::uint8_t* const start = bytes.data();
    const std::uint8_t* const end = start + bytes.size();
    if (bytes.size() <= kFrameOpen.size() || !TextAt(start, end, kFrameOpen))
        return 0;
    const bool notSearched = TextAt(start + kFrameOpen.size(), end, kNotSearchedOpen);
    const std::uint8_t* const textStart = start + kFrameOpen.size() + (notSearched ? kNotSearchedOpen.size() : 0);
    // The text ends at the first "<", line break or the end.
    const std::uint8_t* const close = FindAnyOfThree(textStart, end, '<', '\r', '\n');
    const auto lengthWith = [&](std::string_view tail) {
        return static_cast<std::size_t>(close - start) + tail.size();
    };
    if (notSearched) {
        constexpr std::string_view kCr = "<IX><CR>\r\n</CS>", kHr = "<IX><HR>\r\n</CS>";
        return TextAt(close, end, kCr) ? lengthWith(kCr) : TextAt(close, end, kHr) ? lengthWith(kHr) : 0;
    }
    constexpr std::string_view kCr = "<CR>\r\n</CS>", kHr = "<HR>\r\n</CS>";
    return TextAt(close, end, kCr) ? lengthWith(kCr) : TextAt(close, end, kHr) ? lengthWith(kHr) : 0;
}

// ReadFrame's answer for bytes that hold no frame PlainFrameLength tells.
std::optional<EarlierFrameMatch> ReadFrameAfterAll(std::span<const std::uint8_t> bytes);

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
        const std::span<const std::uint8_t> first = bytes.first(std::min(bytes.size(), longest_));
        if (const std::size_t length = PlainFrameLength(first))
            return EarlierFrameMatch{EarlierFrame::Found, length};
        const std::optional<EarlierFrameMatch> match = ReadFrameAfterAll(first);
        if (match || (bytes.size() < longest_ && !inputEnds))
            return match;
        return EarlierFrameMatch{bytes.size() >= kFrameOpen.size() ? EarlierFrame::LookAlike : EarlierFrame::None, 0};
    }

private:
    std::size_t longest_;
};

}  // namespace pellimar
