// A page-number marker: text that fits the page-number pattern, literal
// bytes with one "#" standing for a run of digits. An attempt is read over
// the bytes at hand, and goes on over the next ones where they end before
// it is decided: a run of digits can be of any length.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace pellimar {

class PageMarkerMatcher {
public:
    // A pattern without "#" describes no marker; nothing is then matched.
    explicit PageMarkerMatcher(std::string_view pattern);

    // How an attempt ended: whether it was a marker, and how many of the
    // bytes last given it took. A failed attempt takes the byte it fails on
    // unless that is a "<", which opens a code (or "<<") the attempt must
    // not swallow; a pattern that ends with its "#" does not take the byte
    // after its digits.
    struct Taken {
        bool marker;
        std::size_t length;
    };

    // An attempt whose first byte, the pattern's first, has been taken.
    void Begin();
    // The attempt goes on over `bytes`: how it ended, or nothing when it took
    // all of them and goes on; `inputEnds`: no byte follows them. Its page,
    // when it was a marker, is then Page().
    std::optional<Taken> Read(std::span<const std::uint8_t> bytes, bool inputEnds);

    // How many bytes an attempt takes that fails at its second byte: 2, or 1
    // when that byte is a "<"; 0 when the attempt goes on past it. Told
    // without a call, as most attempts fail there ("[" before a word).
    std::size_t FailsAtSecond(std::uint8_t second) const
    {
        const bool goesOn =
            head_.size() > 1 ? second == static_cast<std::uint8_t>(head_[1]) : second >= '0' && second <= '9';
        return goesOn ? 0 : second == '<' ? 1 : 2;
    }

    // The page of the last marker read: its digits as a decimal number, 0
    // when they do not fit 32 bits.
    std::int32_t Page() const { return tooLarge_ ? 0 : static_cast<std::int32_t>(digits_); }

private:
    std::string head_;  // the pattern's bytes before its "#", the first one included
    std::string tail_;  // its bytes after the "#", further "#"s left out (they match nothing)
    // Where the attempt stands: in the head or the tail, the next pattern
    // byte to compare; in the digits, how many have come.
    enum class Part : std::uint8_t { Head, Digits, Tail };
    Part part_ = Part::Head;
    std::size_t matched_ = 0;
    std::int64_t digits_ = 0;
    bool tooLarge_ = false;
};

}  // namespace pellimar
