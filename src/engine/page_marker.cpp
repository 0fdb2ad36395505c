// Reading a page-number marker attempt over the bytes at hand.
#include "engine/page_marker.h"

namespace pellimar {
namespace {

bool IsDigit(std::uint8_t ch)
{
    return ch >= '0' && ch <= '9';
}

// The attempt fails on the byte at `at`.
PageMarkerMatcher::Taken FailOn(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return {false, at + (bytes[at] != '<' ? 1 : 0)};
}

}  // namespace

PageMarkerMatcher::PageMarkerMatcher(std::string_view pattern)
{
    const std::size_t hash = pattern.find('#');
    if (hash == std::string_view::npos)
        return;
    head_ = pattern.substr(0, hash);
    for (const char p : pattern.substr(hash + 1)) {
        if (p != '#')
            tail_ += p;
    }
}

void PageMarkerMatcher::Begin()
{
    part_ = Part::Head;
    matched_ = 1;
    digits_ = 0;
    tooLarge_ = false;
}

// An attempt that the input's end cuts short is no marker, unless it has
// its digits and the pattern nothing after them.
std::optional<PageMarkerMatcher::Taken> PageMarkerMatcher::Read(std::span<const std::uint8_t> bytes, bool inputEnds)
{
    const std::size_t n = bytes.size();
    std::size_t at = 0;
    if (part_ == Part::Head) {
        for (; matched_ < head_.size(); ++matched_, ++at) {
            if (at == n)
                return inputEnds ? std::optional<Taken>(Taken{false, at}) : std::nullopt;
            if (bytes[at] != static_cast<std::uint8_t>(head_[matched_]))
                return FailOn(bytes, at);
        }
        part_ = Part::Digits;
        matched_ = 0;
    }
    if (part_ == Part::Digits) {
        for (; at < n && IsDigit(bytes[at]); ++at, ++matched_) {
            if (!tooLarge_) {
                digits_ = digits_ * 10 + (bytes[at] - '0');
                tooLarge_ = digits_ > INT32_MAX;
            }
        }
        if (at == n)
            return inputEnds ? std::optional<Taken>(Taken{matched_ > 0 && tail_.empty(), at}) : std::nullopt;
        if (matched_ == 0)
            return FailOn(bytes, at);
        part_ = Part::Tail;
        matched_ = 0;
    }
    for (; matched_ < tail_.size(); ++matched_, ++at) {
        if (at == n)
            return inputEnds ? std::optional<Taken>(Taken{false, at}) : std::nullopt;
        if (bytes[at] != static_cast<std::uint8_t>(tail_[matched_]))
            return FailOn(bytes, at);
    }
    return Taken{true, at};
}

}  // namespace pellimar
