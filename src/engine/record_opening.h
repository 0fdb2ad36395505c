// What follows a record code, and whether its record gets a reference: the
// one place that says so, for the byte steps and the block alike. A record
// code that ends its line gets none, nor, with "Left Justified Only", does a
// record that opens with a justification or paragraph-style code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "streams/text_util.h"

namespace pellimar {

enum class RecordStart : std::uint8_t {
    More,     // the bytes end before it can be told, and the input goes on
    Nothing,  // the input ends right after the record code
    LineEnd,  // a carriage return or a line feed
    Text,     // a byte of text, or "<<", a "<" meant as text
    Code,     // a code: its "<" and up to three bytes of its text before its ">"
};

// The switches a record's opening is read with, taken where they may change
// rather than asked for at every record.
struct RecordRules {
    bool leftJustOnly = false;
};

struct RecordOpening {
    RecordStart start = RecordStart::More;
    // The opening's bytes: the line break, the text byte or "<<", or the
    // code's "<" and lead. The reference, when one goes, stands before them.
    // Small, so that the whole answer is passed in a register.
    std::uint8_t length = 0;
    // The record gets a reference once the levels make one due.
    bool reference = false;
};

// No opening is longer: the "<" of a code and the three bytes that tell a
// justified or styled record.
inline constexpr std::size_t kLongestRecordOpening = 4;

namespace record_opening {

// "JU:" or "PS:" in any letter case; the colon, rare in other leads, first.
inline bool OpensJustifiedOrStyled(std::string_view lead)
{
    return lead.size() == kLongestRecordOpening - 1 && lead[2] == ':' &&
           (EqualsIgnoreAsciiCase(lead, "JU:") || EqualsIgnoreAsciiCase(lead, "PS:"));
}

}  // namespace record_opening

// `bytes`: what follows the record code (and the earlier references after
// it), as many as are at hand; `inputEnds`: no byte follows them. Asked at
// every record, so it is made where it is asked.
inline RecordOpening OpeningAfterRecordCode(std::span<const std::uint8_t> bytes, bool inputEnds,
                                            const RecordRules& rules)
{
    constexpr std::size_t kCodeLead = kLongestRecordOpening - 1;
    if (bytes.empty())
        return {inputEnds ? RecordStart::Nothing : RecordStart::More, 0, false};
    const std::uint8_t first = bytes[0];
    if (first == '\r' || first == '\n')
        return {RecordStart::LineEnd, 1, false};
    if (first != '<')
        return {RecordStart::Text, 1, true};
    if (bytes.size() == 1)
        return inputEnds ? RecordOpening{RecordStart::Code, 1, true} : RecordOpening{};
    if (bytes[1] == '<')
        return {RecordStart::Text, 2, true};
    // A code. Only the rule for justified records reads its lead, which ends
    // at its ">" or after three bytes.
    if (!rules.leftJustOnly)
        return {RecordStart::Code, 1, true};
    std::size_t lead = 0;
    while (lead < kCodeLead && 1 + lead < bytes.size() && bytes[1 + lead] != '>')
        ++lead;
    if (lead < kCodeLead && 1 + lead == bytes.size() && !inputEnds)
        return {};
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()) + 1, lead);
    return {RecordStart::Code, static_cast<std::uint8_t>(1 + lead), !record_opening::OpensJustifiedOrStyled(text)};
}

}  // namespace pellimar
