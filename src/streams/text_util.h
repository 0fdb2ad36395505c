// Byte-string helpers shared by every library. Letter case is ASCII only:
// bytes outside a..z / A..Z are never changed or folded.
#pragma once

#include <string>
#include <string_view>

namespace pellimar {

constexpr char ToUpperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// `byte` is the letter `upper` (an upper-case ASCII letter) in either case:
// the two cases differ only in bit 0x20, so one comparison tells.
constexpr bool IsAsciiLetter(unsigned char byte, char upper)
{
    return (byte | 0x20) == (static_cast<unsigned char>(upper) | 0x20);
}

inline void MakeUpperAscii(std::string& text)
{
    for (char& c : text)
        c = ToUpperAscii(c);
}

inline std::string ToUpperAscii(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        c = ToUpperAscii(c);
    return result;
}

inline bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (ToUpperAscii(a[i]) != ToUpperAscii(b[i]))
            return false;
    }
    return true;
}

// Orders byte strings as if both were upper-cased, comparing bytes unsigned.
inline int CompareIgnoreAsciiCase(std::string_view a, std::string_view b)
{
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(ToUpperAscii(a[i]));
        const auto y = static_cast<unsigned char>(ToUpperAscii(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

struct LessIgnoreAsciiCase {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const
    {
        return CompareIgnoreAsciiCase(a, b) < 0;
    }
};

}  // namespace pellimar
