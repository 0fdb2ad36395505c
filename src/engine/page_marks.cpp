// Page-number markers: text that fits the page-number pattern (literal bytes
// with one "#" for a run of digits) sets the current page and may be left
// out of the output.
#include "engine/conversion_pass.h"

namespace pellimar {
namespace {

bool IsDigit(std::uint8_t ch)
{
    return ch >= '0' && ch <= '9';
}

// The digits as a 32-bit number; a value too large for it gives 0.
std::int32_t PageFromDigits(std::string_view digits)
{
    std::int64_t value = 0;
    for (char d : digits) {
        value = value * 10 + (d - '0');
        if (value > INT32_MAX)
            return 0;
    }
    return static_cast<std::int32_t>(value);
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
    std::string held(1, static_cast<char>(run_.Ch));
    if (!ReadMarker(held)) {
        Write(held);
        return;
    }
    if (!run_.RemovePageMarks)
        Write(held);
    NoteMidLinePage();
    run_.State = PassState::PageCommit;
}

// The marker after its first byte: the pattern's head, digits, and its tail.
bool ConversionPass::ReadMarker(std::string& held)
{
    if (!MatchPageHead(held))
        return false;
    const std::optional<std::uint8_t> afterDigits = ReadPageDigits(held);
    if (run_.PageDigits.empty()) {
        if (afterDigits)
            held += static_cast<char>(*afterDigits);
        return false;
    }
    return MatchPageTail(held, afterDigits);
}

// The pattern's literal bytes before its "#", after the first.
bool ConversionPass::MatchPageHead(std::string& held)
{
    const std::size_t hash = static_cast<std::size_t>(run_.PageLead);
    for (std::size_t i = 1; i < hash; ++i) {
        if (!Next())
            return false;
        held += static_cast<char>(run_.Ch);
        if (run_.Ch != static_cast<std::uint8_t>(run_.PagePattern[i]))
            return false;
    }
    return true;
}

// Reads the run of digits into PageDigits. Returns the byte that ended it,
// read but not held, or nothing when the input ended.
std::optional<std::uint8_t> ConversionPass::ReadPageDigits(std::string& held)
{
    run_.PageDigits.clear();
    while (Next()) {
        if (!IsDigit(run_.Ch))
            return run_.Ch;
        run_.PageDigits += static_cast<char>(run_.Ch);
        held += static_cast<char>(run_.Ch);
    }
    return std::nullopt;
}

// The pattern's bytes after its "#", starting with the byte that ended the
// digits (still in Ch).
bool ConversionPass::MatchPageTail(std::string& held, std::optional<std::uint8_t> afterDigits)
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
        held += static_cast<char>(run_.Ch);
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

void ConversionPass::PageCommit()
{
    run_.PageNumber = PageFromDigits(run_.PageDigits);
    run_.State = PassState::Copy;
}

}  // namespace pellimar
