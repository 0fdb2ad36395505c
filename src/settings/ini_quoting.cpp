// Quoting of awkward INI names and values.
#include "settings/ini_quoting.h"

namespace pellimar {
namespace {

bool HasSurroundingBlank(std::string_view text)
{
    return !text.empty() && (IsIniBlank(text.front()) || IsIniBlank(text.back()));
}

bool HasLineBreak(std::string_view text)
{
    return text.find_first_of("\r\n") != std::string_view::npos;
}

std::string Quote(std::string_view text)
{
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '\\' || c == '"')
            quoted += {'\\', c};
        else if (c == '\r')
            quoted += "\\r";
        else if (c == '\n')
            quoted += "\\n";
        else
            quoted += c;
    }
    quoted += '"';
    return quoted;
}

char Unescape(char c)
{
    if (c == 'r')
        return '\r';
    if (c == 'n')
        return '\n';
    return c;
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
    const bool awkwardStart = !key.empty() && (key.front() == ';' || key.front() == '[' || key.front() == '"');
    const bool needsQuotes = awkwardStart || HasSurroundingBlank(key) || HasLineBreak(key) ||
                             key.find('=') != std::string_view::npos;
    return needsQuotes ? Quote(key) : std::string(key);
}

std::string EncodeIniValue(std::string_view value)
{
    const bool needsQuotes = (!value.empty() && value.front() == '"') || HasSurroundingBlank(value) ||
                             HasLineBreak(value);
    return needsQuotes ? Quote(value) : std::string(value);
}

std::optional<QuotedText> ReadQuoted(std::string_view text)
{
    QuotedText result{{}, 0};
    for (std::size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            result.end = i + 1;
            return result;
        }
        const bool escape = c == '\\' && i + 1 < text.size();
        if (escape && std::string_view("\\\"rn").find(text[i + 1]) != std::string_view::npos)
            result.text += Unescape(text[++i]);
        else
            result.text += c;
    }
    return std::nullopt;
}

std::string DecodeIniValue(std::string_view rawValue)
{
    const std::string_view value = TrimIniBlanks(rawValue);
    if (!value.empty() && value.front() == '"') {
        const auto quoted = ReadQuoted(value);
        if (quoted && quoted->end == value.size())
            return quoted->text;
    }
    return std::string(value);
}

}  // namespace pellimar
