// Reading and writing the pattern history files.
#include "settings/pattern_history.h"

#include "settings/file_io.h"
#include "settings/text_lines.h"
#include "streams/exceptions.h"

namespace pellimar {

std::vector<std::string> ParsePatternHistory(std::string_view bytes)
{
    const std::string_view text = bytes.substr(0, bytes.find('\0'));
    std::vector<std::string> entries;
    for (TextLine& line : SplitLines(text))
        entries.push_back(std::move(line.text));
    return entries;
}

std::string FormatPatternHistory(const std::vector<std::string>& entries)
{
    std::string text;
    for (const std::string& entry : entries) {
        text += entry;
        text += "\r\n";
    }
    return text;
}

std::optional<std::vector<std::string>> LoadPatternHistory(const std::string& path)
{
    const FileRead file = ReadFileUpTo(path, kMaxSettingsFileBytes);
    if (file.status == FileReadStatus::Missing || file.status == FileReadStatus::Unreadable)
        return std::nullopt;
    return ParsePatternHistory(file.bytes);
}

void SavePatternHistory(const std::string& path, const std::vector<std::string>& entries)
{
    if (!ReplaceFileContents(path, FormatPatternHistory(entries)))
        throw EFCreateError(FillPlaceholder(kCannotCreateFile, path));
}

}  // namespace pellimar
