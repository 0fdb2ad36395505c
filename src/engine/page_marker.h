// A page-number marker: text that fits the page-number pattern, literal
// bytes with one "#" standing for a run of digits. The matcher reads one
// attempt from the input and holds every byte it consumes, so that the pass
// can write them as they stood or drop them with the marker.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "engine/held_text.h"

namespace pellimar {

class TS_TextStream;

class PageMarkerMatcher {
public:
    // A pattern without "#" describes no marker; nothing is then matched.
    explicit PageMarkerMatcher(std::string_view pattern);

    // An attempt whose first byte (the pattern's first byte) has been read:
    // reads the rest from `input`. True when it was a marker; its digits are
    // then the page. The byte after the digits of a pattern that ends with
    // its "#" is left unread, and so is a "<" on which an attempt fails.
    // Raises what reading the input raises.
    bool Match(TS_TextStream& input, std::uint8_t first);

    // The same attempt over bytes at hand, the first byte included: how many
    // of them it takes, and whether they were a marker (its page is then the
    // page). Nothing when the bytes end before the attempt can be told.
    struct Taken {
        bool marker;
        std::size_t length;
    };
    std::optional<Taken> MatchWithin(std::span<const std::uint8_t> bytes);

    // How many bytes an attempt takes that fails at its second byte: 2, or 1
    // when that byte is a "<"; 0 when the attempt goes on past it. Told
    // without a call, as most attempts fail there ("[" before a word).
    std::size_t FailsAtSecond(std::uint8_t second) const
    {
        const bool goesOn = head_.size() > 1 ? second == static_cast<std::uint8_t>(head_[1]) : second >= '0' && second <= '9';
        return goesOn ? 0 : second == '<' ? 1 : 2;
    }

    // Every byte the last attempt consumed, in order.
    HeldText& Held() { return held_; }
    // The page of the last marker matched: its digits as a decimal number,
    // 0 when they do not fit 32 bits.
    std::int32_t Page() const { return tooLarge_ ? 0 : static_cast<std::int32_t>(digits_); }

private:
    bool MatchHead(TS_TextStream& input);
    std::optional<std::uint8_t> ReadDigits(TS_TextStream& input, std::size_t& count);
    bool MatchTail(TS_TextStream& input, std::optional<std::uint8_t> afterDigits);
    void HoldMismatch(TS_TextStream& input, std::uint8_t ch);

    std::string head_;  // the pattern's bytes before its "#", the first one included
    std::string tail_;  // its bytes after the "#", further "#"s left out (they match nothing)
    HeldText held_;
    std::int64_t digits_ = 0;
    bool tooLarge_ = false;
};

}  // namespace pellimar
