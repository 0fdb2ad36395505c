// Quoting of awkward INI names and values.
#include "settings/ini_quoting.h"

namespace pellimar {
namespace {

// Begins the escaped form inside the quotes; a name or value that itself
// begins with it is always escaped, so that the two forms never meet.
constexpr char kEscapedMark = '%';

bool HasSurroundingBlank(std::string_view text)
{
    return !text.empty() && (IsIniBlank(text.front()) || IsIniBlank(text.back()));
}

bool HasLineBreak(std::string_view text)
{
    return text.find_first_of("\r\n") != std::string_view::npos;
}

bool StandsInQuotes(std::string_view text)
{
    return text.size() >= 2 && text.front() == '"' && text.back() == '"';
}

bool BeginsWithMark(std::string_view text)
{
    return !text.empty() && text.front() == kEscapedMark;
}

bool IsPlainKey(std::string_view key)
{
    const bool awkwardStart = !key.empty() && (key.front() == ';' || key.front() == '[' || key.front() == '"');
    return !awkwardStart && !HasSurroundingBlank(key) && !HasLineBreak(key) &&
           key.find('=') == std::string_view::npos;
}

bool IsPlainValue(std::string_view value)
{
    return !StandsInQuotes(value) && !HasSurroundingBlank(value) && !HasLineBreak(value);
}

bool NeedsEscape(char c)
{
    return c == kEscapedMark || c == '"' || c == '\r' || c == '\n';
}

std::string Quoted(std::string_view text)
{
    std::string quoted = "\"";
    quoted.append(text).append("\"");
    return quoted;
}

std::string EscapedForm(std::string_view text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string escaped(1, kEscapedMark);
    for (const char c : text) {
        if (!NeedsEscape(c)) {
            escaped += c;
            continue;
        }
        const auto byte = static_cast<unsigned char>(c);
        escaped += {kEscapedMark, kHex[byte >> 4], kHex[byte & 15]};
    }
    return escaped;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The text that the escaped form `form` (with its mark) stands for, if any.
std::optional<std::string> FromEscapedForm(std::string_view form)
{
    std::string text;
    for (std::size_t i = 1; i < form.size(); ++i) {
        if (form[i] != kEscapedMark) {
            text += form[i];
            continue;
        }
        if (i + 2 >= form.size())
            return std::nullopt;
        const int high = HexDigit(form[i + 1]);
        const int low = HexDigit(form[i + 2]);
        if (high < 0 || low < 0)
            return std::nullopt;
        text += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return text;
}

}  // namespace

bool IsIniBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view TrimIniBlanks(std::string_view text)
{
    while (!text.empty() && IsIniBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsIniBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string EncodeIniKey(std::string_view key)
{
    if (IsPlainKey(key))
        return std::string(key);
    const bool asItIs = key.find('"') == std::string_view::npos && !HasLineBreak(key) && !BeginsWithMark(key);
    return Quoted(asItIs ? std::string(key) : EscapedForm(key));
}

std::string EncodeIniValue(std::string_view value)
{
    if (IsPlainValue(value))
        return std::string(value);
    const bool asItIs = !HasLineBreak(value) && !BeginsWithMark(value);
    return Quoted(asItIs ? std::string(value) : EscapedForm(value));
}

std::optional<QuotedKey> ReadQuotedKey(std::string_view text)
{
    const std::size_t close = text.find('"', 1);
    if (close == std::string_view::npos)
        return std::nullopt;
    const std::string_view quoted = text.substr(0, close + 1);
    const std::string_view inner = text.substr(1, close - 1);
    std::optional<std::string> key = BeginsWithMark(inner) ? FromEscapedForm(inner) : std::string(inner);
    if (!key || EncodeIniKey(*key) != quoted)
        return std::nullopt;
    return QuotedKey{std::move(*key), close + 1};
}

std::string DecodeIniValue(std::string_view rawValue)
{
    const std::string_view value = TrimIniBlanks(rawValue);
    if (!StandsInQuotes(value))
        return std::string(value);
    const std::string_view inner = value.substr(1, value.size() - 2);
    if (BeginsWithMark(inner)) {
        auto decoded = FromEscapedForm(inner);
        if (decoded && EncodeIniValue(*decoded) == value)
            return std::move(*decoded);
    }
    return std::string(inner);
}

}  // namespace pellimar
