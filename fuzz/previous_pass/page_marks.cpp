// Page-number markers: text that fits the page-number pattern (literal bytes
// with one "#" for a run of digits) sets the current page and may be left
// out of the output.
#include "previous_pass/conversion_pass.h"

#include <algorithm>

namespace pellimar::previous {
namespace {

bool IsDigit(std::uint8_t ch)
{
    return ch >= '0' && ch <= '9';
}

// The pattern's bytes after its first "#", where any further "#" matches
// nothing.
std::string PageTail(std::string_view pattern, std::size_t hash)
{
    std::string tail;
    for (char p : pattern.substr(hash + 1)) {
        if (p != '#')
            tail += p;
    }
    return tail;
}

}  // namespace

// Entered with Ch, the pattern's first byte, read but not written. Every
// byte an attempt consumes is held; a failed attempt writes them all as they
// stood, and they are not examined again.
void ConversionPass::MatchPageMark()
{
    run_.State = PassState::Copy;
    HeldText& held = run_.MarkerText;
    held.Clear();
    held.Append(static_cast<char>(run_.Ch));
    if (!ReadMarker(held)) {
        held.WriteTo(*run_.Output);
        return;
    }
    if (!run_.RemovePageMarks)
        held.WriteTo(*run_.Output);
    NoteMidLinePage();
    run_.State = PassState::PageCommit;
}

// The marker after its first byte: the pattern's head, digits, and its tail.
bool ConversionPass::ReadMarker(HeldText& held)
{
    if (!MatchPageHead(held))
        return false;
    std::size_t digits = 0;
    const std::optional<std::uint8_t> afterDigits = ReadPageDigits(held, digits);
    if (digits == 0) {
        if (afterDigits)
            held.Append(static_cast<char>(*afterDigits));
        return false;
    }
    return MatchPageTail(held, afterDigits);
}

// The pattern's literal bytes before its "#", after the first.
bool ConversionPass::MatchPageHead(HeldText& held)
{
    const std::size_t hash = static_cast<std::size_t>(run_.PageLead);
    for (std::size_t i = 1; i < hash; ++i) {
        if (!Next())
            return false;
        held.Append(static_cast<char>(run_.Ch));
        if (run_.Ch != static_cast<std::uint8_t>(run_.PagePattern[i]))
            return false;
    }
    return true;
}

// Reads the run of digits, taking its value as it goes. Returns the byte
// that ended it, read (it is in Ch) but not held, or nothing when the input
// ended.
std::optional<std::uint8_t> ConversionPass::ReadPageDigits(HeldText& held, std::size_t& count)
{
    run_.PageDigits = 0;
    run_.PageTooLarge = false;
    for (;;) {
        const std::span<const std::uint8_t> ahead = run_.Input->ReadAhead();
        const auto end = std::find_if_not(ahead.begin(), ahead.end(), IsDigit);
        for (auto digit = ahead.begin(); digit != end && !run_.PageTooLarge; ++digit) {
            run_.PageDigits = run_.PageDigits * 10 + (*digit - '0');
            run_.PageTooLarge = run_.PageDigits > INT32_MAX;
        }
        const auto length = static_cast<std::size_t>(end - ahead.begin());
        held.Append(std::string_view(reinterpret_cast<const char*>(ahead.data()), length));
        run_.Input->Consume(length);
        count += length;
        if (end != ahead.end() || ahead.empty()) {
            if (!Next())
                return std::nullopt;
            if (!IsDigit(run_.Ch))
                return run_.Ch;
            Unread();
        }
    }
}

// The pattern's bytes after its "#", starting with the byte that ended the
// digits (still in Ch).
bool ConversionPass::MatchPageTail(HeldText& held, std::optional<std::uint8_t> afterDigits)
{
    const std::string tail = PageTail(run_.PagePattern, static_cast<std::size_t>(run_.PageLead));
    if (tail.empty()) {
        // The byte after the digits is not part of the marker: the next copy
        // step reads it again.
        if (afterDigits)
            Unread();
        return true;
    }
    if (!afterDigits)
        return false;
    for (std::size_t i = 0; i < tail.size(); ++i) {
        if (i > 0 && !Next())
            return false;
        held.Append(static_cast<char>(run_.Ch));
        if (run_.Ch != static_cast<std::uint8_t>(tail[i]))
            return false;
    }
    return true;
}

// A marker with more text after it on its line makes the next reference's
// page a range.
void ConversionPass::NoteMidLinePage()
{
    const std::optional<std::uint8_t> after = Peek();
    if (after && *after != '\r' && *after != '\n')
        run_.MidLinePage = true;
}

// Digits too many for a 32-bit page give page 0.
void ConversionPass::PageCommit()
{
    run_.PageNumber = run_.PageTooLarge ? 0 : static_cast<std::int32_t>(run_.PageDigits);
    run_.State = PassState::Copy;
}

}  // namespace pellimar::previous
