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

}  // namespace

// Entered with Ch, the pattern's first byte, read and counted but not
// written. Every byte a failed attempt consumed is written as it stood and
// not examined again.
void ConversionPass::MatchPageMark()
{
    c.State = PassState::Copy;
    const std::string_view pattern = c.PagePattern;
    const std::size_t hash = static_cast<std::size_t>(c.PageLead);
    std::string held(1, static_cast<char>(c.Ch));
    c.PageDigits.clear();
    auto fail = [&] { Write(held); };

    for (std::size_t i = 1; i < hash; ++i) {
        if (!Next())
            return fail();
        held += static_cast<char>(c.Ch);
        if (c.Ch != static_cast<std::uint8_t>(pattern[i]))
            return fail();
    }

    std::string tail;
    for (char p : pattern.substr(hash + 1)) {
        if (p != '#')
            tail += p;
    }

    bool ended = false;
    while (!(ended = !Next()) && IsDigit(c.Ch)) {
        c.PageDigits += static_cast<char>(c.Ch);
        held += static_cast<char>(c.Ch);
    }
    if (c.PageDigits.empty()) {
        if (!ended)
            held += static_cast<char>(c.Ch);
        return fail();
    }
    if (ended && !tail.empty())
        return fail();

    if (!ended && !tail.empty()) {
        for (std::size_t i = 0; i < tail.size(); ++i) {
            if (i > 0 && !Next())
                return fail();
            held += static_cast<char>(c.Ch);
            if (c.Ch != static_cast<std::uint8_t>(tail[i]))
                return fail();
        }
    } else if (!ended) {
        // The byte after the digits is not part of the marker: the next copy
        // step reads and counts it again.
        c.Input->PutBack(c.Ch);
        --c.BytesConsumed;
    }

    if (!c.RemovePageMarks)
        Write(held);
    std::uint8_t after;
    if (c.Input->TryReadByte(after)) {
        c.Input->PutBack(after);
        if (after != '\r' && after != '\n')
            c.MidLinePage = true;
    }
    c.State = PassState::PageCommit;
}

void ConversionPass::PageCommit()
{
    c.PageNumber = PageFromDigits(c.PageDigits);
    c.State = PassState::Copy;
}

}  // namespace pellimar
