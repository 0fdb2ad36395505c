// Matching a page-number marker against the input, a byte or a block of
// digits at a time.
#include "engine/page_marker.h"

#include <algorithm>
#include <span>

#include "streams/text_stream.h"

namespace pellimar {
namespace {

bool IsDigit(std::uint8_t ch)
{
    return ch >= '0' && ch <= '9';
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

// A failed attempt holds every byte it consumed, the mismatching one too,
// unless that is a "<": it is left unread, to open a code (or "<<") in the
// text, which the attempt must not swallow.
bool PageMarkerMatcher::Match(TS_TextStream& input, std::uint8_t first)
{
    held_.Clear();
    held_.Append(static_cast<char>(first));
    if (!MatchHead(input))
        return false;
    std::size_t count = 0;
    const std::optional<std::uint8_t> afterDigits = ReadDigits(input, count);
    if (count == 0) {
        if (afterDigits)
            HoldMismatch(input, *afterDigits);
        return false;
    }
    return MatchTail(input, afterDigits);
}

// The pattern's literal bytes before its "#", after the first.
bool PageMarkerMatcher::MatchHead(TS_TextStream& input)
{
    for (std::size_t i = 1; i < head_.size(); ++i) {
        std::uint8_t ch;
        if (!input.TryReadByte(ch))
            return false;
        if (ch != static_cast<std::uint8_t>(head_[i])) {
            HoldMismatch(input, ch);
            return false;
        }
        held_.Append(static_cast<char>(ch));
    }
    return true;
}

// The byte, just read, that ended an attempt.
void PageMarkerMatcher::HoldMismatch(TS_TextStream& input, std::uint8_t ch)
{
    if (ch == '<')
        input.PutBack(ch);
    else
        held_.Append(static_cast<char>(ch));
}

// Reads the run of digits, taking its value as it goes. Returns the byte
// that ended it, read but not held, or nothing when the input ended.
std::optional<std::uint8_t> PageMarkerMatcher::ReadDigits(TS_TextStream& input, std::size_t& count)
{
    digits_ = 0;
    tooLarge_ = false;
    for (;;) {
        const std::span<const std::uint8_t> ahead = input.ReadAhead();
        const auto end = std::find_if_not(ahead.begin(), ahead.end(), IsDigit);
        for (auto digit = ahead.begin(); digit != end && !tooLarge_; ++digit) {
            digits_ = digits_ * 10 + (*digit - '0');
            tooLarge_ = digits_ > INT32_MAX;
        }
        const auto length = static_cast<std::size_t>(end - ahead.begin());
        held_.Append(std::string_view(reinterpret_cast<const char*>(ahead.data()), length));
        input.Consume(length);
        count += length;
        if (end != ahead.end() || ahead.empty()) {
            std::uint8_t ch;
            if (!input.TryReadByte(ch))
                return std::nullopt;
            if (!IsDigit(ch))
                return ch;
            input.PutBack(ch);
        }
    }
}

// As Match: a mismatching byte is taken unless it is a "<".
std::optional<PageMarkerMatcher::Taken> PageMarkerMatcher::MatchWithin(std::span<const std::uint8_t> bytes)
{
    const auto mismatch = [&](std::size_t at) { return Taken{false, at + (bytes[at] != '<')}; };
    std::size_t at = 1;
    for (std::size_t i = 1; i < head_.size(); ++i, ++at) {
        if (at == bytes.size())
            return std::nullopt;
        if (bytes[at] != static_cast<std::uint8_t>(head_[i]))
            return mismatch(at);
    }
    const std::size_t firstDigit = at;
    std::int64_t value = 0;
    bool tooLarge = false;
    for (; at < bytes.size() && IsDigit(bytes[at]); ++at) {
        if (!tooLarge) {
            value = value * 10 + (bytes[at] - '0');
            tooLarge = value > INT32_MAX;
        }
    }
    if (at == bytes.size())
        return std::nullopt;
    if (at == firstDigit)
        return mismatch(at);
    for (std::size_t i = 0; i < tail_.size(); ++i, ++at) {
        if (at == bytes.size())
            return std::nullopt;
        if (bytes[at] != static_cast<std::uint8_t>(tail_[i]))
            return mismatch(at);
    }
    digits_ = value;
    tooLarge_ = tooLarge;
    return Taken{true, at};
}

// The pattern's bytes after its "#", starting with the byte that ended the
// digits.
bool PageMarkerMatcher::MatchTail(TS_TextStream& input, std::optional<std::uint8_t> afterDigits)
{
    if (tail_.empty()) {
        // The byte after the digits is not part of the marker: the next copy
        // step reads it again.
        if (afterDigits)
            input.PutBack(*afterDigits);
        return true;
    }
    if (!afterDigits)
        return false;
    std::uint8_t ch = *afterDigits;
    for (std::size_t i = 0; i < tail_.size(); ++i) {
        if (i > 0 && !input.TryReadByte(ch))
            return false;
        if (ch != static_cast<std::uint8_t>(tail_[i])) {
            HoldMismatch(input, ch);
            return false;
        }
        held_.Append(static_cast<char>(ch));
    }
    return true;
}

}  // namespace pellimar
