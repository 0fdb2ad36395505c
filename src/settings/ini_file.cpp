// Profile-string operations over IniText, each on the file's current text.
#include "settings/ini_file.h"

#include <utility>

#include "settings/file_io.h"
#include "settings/ini_text.h"
#include "settings/profile_integer.h"
#include "streams/exceptions.h"

namespace pellimar {

TIniFile::TIniFile(std::string fileName) : fileName_(std::move(fileName)) {}

void TIniFile::Inspect(const std::function<void(const IniText&)>& read) const
{
    read(IniText(ReadFileUpTo(fileName_, kMaxSettingsFileBytes).bytes));
}

void TIniFile::Change(const std::function<void(IniText&)>& edit)
{
    const FileRead old = ReadFileUpTo(fileName_, kMaxSettingsFileBytes);
    IniText text(old.bytes);
    edit(text);
    WriteText(old, text.Bytes());
}

void TIniFile::WriteText(const FileRead& old, const std::string& bytes) const
{
    const bool complete = old.status == FileReadStatus::Whole || old.status == FileReadStatus::Missing;
    if (complete && bytes == old.bytes)
        return;
    if (!complete || !ReplaceFileContents(fileName_, bytes))
        throw Exception(FillPlaceholder(kUnableToWriteTo, fileName_));
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const
{
    std::optional<std::string> value;
    Inspect([&](const IniText& text) { value = text.Value(section, key); });
    return value ? std::move(*value) : std::string(defaultValue);
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    Change([&](IniText& text) { text.SetValue(section, key, value); });
}

std::int32_t TIniFile::ReadInteger(std::string_view section, std::string_view key,
                                   std::int32_t defaultValue) const
{
    return ParseProfileInteger(ReadString(section, key, "")).value_or(defaultValue);
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TIniFile::WriteBool(std::string_view section, std::string_view key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

void TIniFile::ReadSection(std::string_view section, std::vector<std::string>& keys) const
{
    Inspect([&](const IniText& text) { keys = text.Keys(section); });
}

void TIniFile::EraseSection(std::string_view section)
{
    Change([&](IniText& text) { text.EraseSection(section); });
}

}  // namespace pellimar
