// What follows a record code, and whether its record gets a reference: the
// one place that says so, for the byte steps and the block alike. With "Left
// Justified Only" a record that opens with a justification or paragraph-style
// code gets none. A record code that ends its line gets one only with
// "References for Records on the Next Line", when its record holds more than
// line breaks and blanks before the next record code: Folio reads line
// breaks as nothing, so the record begins where that text does, and that
// text is judged as if it stood right after the code.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "engine/run_switches.h"
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
using RecordRules = RunSwitches;

struct RecordOpening {
    RecordStart start = RecordStart::More;
    // The opening's bytes: the line break, the text byte or "<<", or the
    // code's "<" and lead. The reference, when one goes, stands before them.
    // Small, so that the whole answer is passed in a register.
    std::uint8_t length = 0;
    // The record gets a reference once the levels make one due.
    bool reference = false;
    // A record code that ends its line whose record goes on, on a later
    // line, and gets no reference for it: the switch for such records is
    // off, or the record's text lies past the look-ahead's reach.
    bool laterLineUnreferenced = false;
};

// How far past the line break after a record code its record's first text
// is looked for.
inline constexpr std::size_t kLaterLineReach = 64 * 1024;

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

// An opening that is not a line break: the record's first text or code.
[[gnu::always_inline]] inline RecordOpening ContentOpening(std::span<const std::uint8_t> bytes, bool inputEnds,
                                                            const RecordRules& rules)
{
    constexpr std::size_t kCodeLead = kLongestRecordOpening - 1;
    const std::uint8_t first = bytes[0];
    if (first != '<')
        return {RecordStart::Text, 1, true};
    if (bytes.size() == 1)
        return inputEnds ? RecordOpening{RecordStart::Code, 1, true} : RecordOpening{};
    if (bytes[1] == '<')
        return {RecordStart::Text, 2, true};
    // A code. Only the rule for justified records reads its lead, which ends
    // at its ">" or after three bytes.
    if (!rules.On(RunSwitch::LeftJustOnly))
        return {RecordStart::Code, 1, true};
    std::size_t lead = 0;
    while (lead < kCodeLead && 1 + lead < bytes.size() && bytes[1 + lead] != '>')
        ++lead;
    if (lead < kCodeLead && 1 + lead == bytes.size() && !inputEnds)
        return {};
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()) + 1, lead);
    return {RecordStart::Code, static_cast<std::uint8_t>(1 + lead), !OpensJustifiedOrStyled(text)};
}

inline bool IsLineBreakOrBlank(std::uint8_t byte)
{
    return byte == '\r' || byte == '\n' || byte == ' ' || byte == '\t';
}

// "<" and "RD" in any letter case: a record code, whose record begins there.
inline bool OpensRecordCode(std::span<const std::uint8_t> bytes)
{
    return bytes.size() >= 3 && bytes[0] == '<' && (bytes[1] | 0x20) == 'r' && (bytes[2] | 0x20) == 'd';
}

// After a record code that ends its line: its record's first text or code
// past the line breaks and blanks, judged as if it stood right after the
// code. None when the next record code or the end of the input comes first.
inline RecordOpening LaterLineOpening(std::span<const std::uint8_t> bytes, bool inputEnds, const RecordRules& rules)
{
    const RecordOpening lineEnd{RecordStart::LineEnd, 1, false};
    std::size_t at = 1;
    const std::size_t reach = std::min(bytes.size(), kLaterLineReach);
    while (at < reach && IsLineBreakOrBlank(bytes[at]))
        ++at;
    if (at == kLaterLineReach) {
        RecordOpening tooFar = lineEnd;
        tooFar.laterLineUnreferenced = rules.On(RunSwitch::LineEndRecords);
        return tooFar;
    }
    if (at == bytes.size())
        return inputEnds ? lineEnd : RecordOpening{};
    const std::span<const std::uint8_t> content = bytes.subspan(at);
    if (content[0] == '<' && content.size() < 3 && !inputEnds)
        return {};
    if (OpensRecordCode(content))
        return lineEnd;
    const RecordOpening first = ContentOpening(content, inputEnds, rules);
    if (first.start == RecordStart::More)
        return {};
    RecordOpening opening = lineEnd;
    opening.reference = rules.On(RunSwitch::LineEndRecords) && first.reference;
    opening.laterLineUnreferenced = !rules.On(RunSwitch::LineEndRecords) && first.reference;
    return opening;
}

}  // namespace record_opening

// `bytes`: what follows the record code (and the earlier references after
// it), as many as are at hand; `inputEnds`: no byte follows them. Asked at
// every record, so it is made where it is asked, in the block's copy built
// for wide scans too, where the compiler would otherwise leave it apart. A
// record code that ends its line may need to see as far as kLaterLineReach
// and a few bytes more.
[[gnu::always_inline]] inline RecordOpening OpeningAfterRecordCode(std::span<const std::uint8_t> bytes, bool inputEnds,
                                                                    const RecordRules& rules)
{
    if (bytes.empty())
        return {inputEnds ? RecordStart::Nothing : RecordStart::More, 0, false};
    if (bytes[0] == '\r' || bytes[0] == '\n')
        return record_opening::LaterLineOpening(bytes, inputEnds, rules);
    return record_opening::ContentOpening(bytes, inputEnds, rules);
}

}  // namespace pellimar
