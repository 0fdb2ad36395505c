// UTF-8 decoding that never fails and encoding of single code points.
#include "run/utf8.h"

#include <algorithm>

namespace pellimar {
namespace {

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length a lead byte announces and the bits it carries; 0 for a byte
// that cannot begin a sequence.
int SequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

char32_t LowestOfLength(int length)
{
    return length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
}

}  // namespace

std::vector<char32_t> DecodeUtf8(std::string_view text)
{
    std::vector<char32_t> codePoints;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = SequenceLength(lead);
        if (length == 1) {
            codePoints.push_back(lead);
            ++i;
            continue;
        }
        char32_t value = length == 0 ? 0 : lead & (0x7F >> length);
        int taken = 1;
        while (length > 0 && taken < length && i + taken < text.size() &&
               IsContinuation(static_cast<unsigned char>(text[i + taken]))) {
            value = (value << 6) | (static_cast<unsigned char>(text[i + taken]) & 0x3F);
            ++taken;
        }
        // Overlong forms, surrogates and values past U+10FFFF are not text.
        const bool whole = length > 0 && taken == length && value >= LowestOfLength(length) &&
                           !(value >= 0xD800 && value <= 0xDFFF) && value <= 0x10FFFF;
        codePoints.push_back(whole ? value : kReplacementCharacter);
        i += whole ? static_cast<std::size_t>(length) : std::max(1, taken);
    }
    return codePoints;
}

// Only text that is UTF-8 decodes to what encodes back to it: a byte that
// begins no character comes back as U+FFFD.
bool IsUtf8(std::string_view text)
{
    std::string again;
    again.reserve(text.size());
    for (const char32_t codePoint : DecodeUtf8(text))
        AppendUtf8(again, codePoint);
    return again == text;
}

void AppendUtf8(std::string& text, char32_t codePoint)
{
    const auto put = [&text](unsigned value) { text += static_cast<char>(value); };
    if (codePoint < 0x80) {
        put(codePoint);
    } else if (codePoint < 0x800) {
        put(0xC0 | (codePoint >> 6));
        put(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        put(0xE0 | (codePoint >> 12));
        put(0x80 | ((codePoint >> 6) & 0x3F));
        put(0x80 | (codePoint & 0x3F));
    } else {
        put(0xF0 | (codePoint >> 18));
        put(0x80 | ((codePoint >> 12) & 0x3F));
        put(0x80 | ((codePoint >> 6) & 0x3F));
        put(0x80 | (codePoint & 0x3F));
    }
}

}  // namespace pellimar
