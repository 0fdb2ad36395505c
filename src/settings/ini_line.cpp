// Classification of INI lines.
#include "settings/ini_line.h"

#include "settings/ini_quoting.h"

namespace pellimar {
namespace {

// A quoted key counts only when nothing but blanks stands between its
// closing quote and the "=", as in every line this program writes.
std::optional<IniEntry> QuotedEntry(std::string_view line, std::size_t quoteStart)
{
    auto quoted = ReadQuotedKey(line.substr(quoteStart));
    if (!quoted)
        return std::nullopt;
    std::size_t next = quoteStart + quoted->end;
    while (next < line.size() && IsIniBlank(line[next]))
        ++next;
    if (next < line.size() && line[next] == '=')
        return IniEntry{std::move(quoted->key), next + 1};
    return std::nullopt;
}

}  // namespace

std::optional<std::string> IniSectionName(std::string_view line)
{
    const std::string_view trimmed = TrimIniBlanks(line);
    if (trimmed.empty() || trimmed.front() != '[')
        return std::nullopt;
    const std::size_t close = trimmed.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return std::string(TrimIniBlanks(trimmed.substr(1, close - 1)));
}

std::optional<IniEntry> IniEntryOf(std::string_view line)
{
    const std::string_view trimmed = TrimIniBlanks(line);
    if (trimmed.empty() || trimmed.front() == ';' || IniSectionName(line))
        return std::nullopt;
    if (trimmed.front() == '"') {
        const std::size_t quoteStart = static_cast<std::size_t>(trimmed.data() - line.data());
        if (auto entry = QuotedEntry(line, quoteStart))
            return entry;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return IniEntry{std::string(trimmed), std::string_view::npos};
    return IniEntry{std::string(TrimIniBlanks(line.substr(0, equals))), equals + 1};
}

}  // namespace pellimar
