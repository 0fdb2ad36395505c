// Lookups and edits on the lines of an INI file.
#include "settings/ini_text.h"

#include "settings/ini_line.h"
#include "settings/ini_quoting.h"
#include "streams/text_util.h"

namespace pellimar {
namespace {

bool IsBlankLine(const TextLine& line)
{
    return TrimIniBlanks(line.text).empty();
}

std::size_t LeadingBlanks(std::string_view text)
{
    std::size_t count = 0;
    while (count < text.size() && IsIniBlank(text[count]))
        ++count;
    return count;
}

// The key line with a new value, keeping the key's spelling and the blanks
// around its "=". A key that begins with a quote not closed before its "="
// («"k=old») reads as plain text only while the line does not turn into a
// quoted name: a value such as «x" = y» would make it read as the key «k=x»,
// so such a line is written afresh from its key.
std::string LineWithValue(const std::string& line, std::string_view value, const std::string& encodedValue)
{
    const IniEntry entry = *IniEntryOf(line);
    std::string updated;
    if (entry.valueStart == std::string::npos) {
        updated = line + "=" + encodedValue;
    } else {
        const std::size_t keep = entry.valueStart + LeadingBlanks(std::string_view(line).substr(entry.valueStart));
        updated = line.substr(0, keep) + encodedValue;
    }
    const auto reread = IniEntryOf(updated);
    const bool same = reread && reread->key == entry.key && reread->valueStart != std::string::npos &&
                      DecodeIniValue(std::string_view(updated).substr(reread->valueStart)) == value;
    return same ? updated : EncodeIniKey(entry.key) + "=" + encodedValue;
}

}  // namespace

IniText::IniText(std::string_view bytes) : lines_(SplitLines(bytes)) {}

std::optional<std::string> IniText::Value(std::string_view section, std::string_view key) const
{
    const auto range = FindSection(section);
    if (!range)
        return std::nullopt;
    const auto index = FindKey(*range, key);
    if (!index)
        return std::nullopt;
    const std::string& text = lines_[*index].text;
    const IniEntry entry = *IniEntryOf(text);
    if (entry.valueStart == std::string::npos)
        return std::string();
    return DecodeIniValue(std::string_view(text).substr(entry.valueStart));
}

std::vector<std::string> IniText::Keys(std::string_view section) const
{
    std::vector<std::string> keys;
    const auto range = FindSection(section);
    if (!range)
        return keys;
    for (std::size_t i = range->begin; i < range->end; ++i) {
        if (auto entry = IniEntryOf(lines_[i].text))
            keys.push_back(std::move(entry->key));
    }
    return keys;
}

void IniText::SetValue(std::string_view section, std::string_view key, std::string_view value)
{
    const std::string encodedValue = EncodeIniValue(value);
    const auto range = FindSection(section);
    if (!range) {
        std::string header = "[";
        header.append(section).append("]");
        InsertLine(lines_.size(), std::move(header));
        InsertLine(lines_.size(), EncodeIniKey(key) + "=" + encodedValue);
        return;
    }
    if (const auto index = FindKey(*range, key)) {
        lines_[*index].text = LineWithValue(lines_[*index].text, value, encodedValue);
        return;
    }
    std::size_t after = range->begin;  // just past the header
    for (std::size_t i = range->begin; i < range->end; ++i) {
        if (!IsBlankLine(lines_[i]))
            after = i + 1;
    }
    InsertLine(after, EncodeIniKey(key) + "=" + encodedValue);
}

void IniText::EraseSection(std::string_view section)
{
    while (const auto range = FindSection(section)) {
        const auto first = lines_.begin() + static_cast<std::ptrdiff_t>(range->begin - 1);
        lines_.erase(first, lines_.begin() + static_cast<std::ptrdiff_t>(range->end));
    }
}

std::optional<IniText::Range> IniText::FindSection(std::string_view section) const
{
    for (std::size_t header = 0; header < lines_.size(); ++header) {
        const auto name = IniSectionName(lines_[header].text);
        if (!name || !EqualsIgnoreAsciiCase(*name, section))
            continue;
        std::size_t end = header + 1;
        while (end < lines_.size() && !IniSectionName(lines_[end].text))
            ++end;
        return Range{header + 1, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> IniText::FindKey(Range range, std::string_view key) const
{
    for (std::size_t i = range.begin; i < range.end; ++i) {
        const auto entry = IniEntryOf(lines_[i].text);
        if (entry && EqualsIgnoreAsciiCase(entry->key, key))
            return i;
    }
    return std::nullopt;
}

// Every line this class writes is terminated, and so is the line before it.
void IniText::InsertLine(std::size_t index, std::string text)
{
    const std::string ending = NewLineEnding();
    if (index > 0 && lines_[index - 1].ending.empty())
        lines_[index - 1].ending = ending;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index), TextLine{std::move(text), ending});
}

// New lines follow the file's own line ends; a file without any gets CR LF,
// the same line end as the pattern files.
std::string IniText::NewLineEnding() const
{
    for (const TextLine& line : lines_) {
        if (!line.ending.empty())
            return line.ending;
    }
    return "\r\n";
}

}  // namespace pellimar
