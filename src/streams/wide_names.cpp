// WTF-8 to UTF-16 and back, and paths of file names.
#include "streams/wide_names.h"

#include <optional>
#include <type_traits>

namespace pellimar {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char32_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char32_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// The bytes of the sequence that `lead` begins; 0 for a byte that begins none.
std::size_t SequenceLength(unsigned char lead)
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

// The code point whose sequence begins at `at`, and its length in bytes;
// nothing for a sequence that is cut short, overlong or past U+10FFFF.
std::optional<char32_t> DecodeAt(std::string_view bytes, std::size_t at, std::size_t& length)
{
    const auto lead = static_cast<unsigned char>(bytes[at]);
    length = SequenceLength(lead);
    if (length == 0 || at + length > bytes.size())
        return std::nullopt;
    char32_t point = length == 1 ? lead : lead & (0x7Fu >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(bytes[at + i]);
        if ((next & 0xC0) != 0x80)
            return std::nullopt;
        point = point << 6 | (next & 0x3Fu);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (point < kSmallest[length] || point > 0x10FFFF)
        return std::nullopt;
    return point;
}

void AppendUtf8(std::string& out, char32_t point)
{
    const auto byte = [&out](char32_t value) { out += static_cast<char>(value); };
    if (point < 0x80) {
        byte(point);
    } else if (point < 0x800) {
        byte(0xC0 | point >> 6);
        byte(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        byte(0xE0 | point >> 12);
        byte(0x80 | (point >> 6 & 0x3F));
        byte(0x80 | (point & 0x3F));
    } else {
        byte(0xF0 | point >> 18);
        byte(0x80 | (point >> 12 & 0x3F));
        byte(0x80 | (point >> 6 & 0x3F));
        byte(0x80 | (point & 0x3F));
    }
}

constexpr bool kWidePaths = std::is_same_v<std::filesystem::path::value_type, wchar_t>;

}  // namespace

std::u16string Utf16FromWtf8(std::string_view bytes)
{
    std::u16string units;
    units.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size();) {
        std::size_t length = 0;
        const std::optional<char32_t> point = DecodeAt(bytes, at, length);
        if (!point) {
            units += kReplacement;
            ++at;
            continue;
        }
        if (*point >= 0x10000) {
            units += static_cast<char16_t>(0xD800 + ((*point - 0x10000) >> 10));
            units += static_cast<char16_t>(0xDC00 + ((*point - 0x10000) & 0x3FF));
        } else {
            units += static_cast<char16_t>(*point);
        }
        at += length;
    }
    return units;
}

std::string Wtf8FromUtf16(std::u16string_view units)
{
    std::string bytes;
    bytes.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t point = units[i];
        if (IsHighSurrogate(point) && i + 1 < units.size() && IsLowSurrogate(units[i + 1])) {
            point = 0x10000 + ((point - 0xD800) << 10) + (units[i + 1] - 0xDC00u);
            ++i;
        }
        AppendUtf8(bytes, point);
    }
    return bytes;
}

std::wstring WideOfName(std::string_view name)
{
    const std::u16string units = Utf16FromWtf8(name);
    return std::wstring(units.begin(), units.end());
}

std::string NameOfWide(std::wstring_view wide)
{
    return Wtf8FromUtf16(std::u16string(wide.begin(), wide.end()));
}

std::filesystem::path PathOfName(const std::string& name)
{
    if constexpr (kWidePaths)
        return std::filesystem::path(WideOfName(name));
    else
        return std::filesystem::path(name);
}

std::string NameOfPath(const std::filesystem::path& path)
{
    if constexpr (kWidePaths)
        return NameOfWide(path.wstring());
    else
        return path.string();
}

}  // namespace pellimar
