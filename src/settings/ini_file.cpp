// Profile-string operations over IniText and whole-file replacement.
#include "settings/ini_file.h"

#include <utility>

#include "settings/file_io.h"
#include "settings/ini_text.h"
#include "settings/profile_integer.h"
#include "streams/exceptions.h"

namespace pellimar {

TIniFile::TIniFile(std::string fileName) : fileName_(std::move(fileName)) {}

std::string TIniFile::ReadText() const
{
    return ReadFileUpTo(fileName_, kMaxSettingsFileBytes).bytes;
}

// Writing needs the whole of the old text, or the write would cut it off;
// a file that exists but cannot be read in full is therefore not replaced.
template <typename Edit>
void TIniFile::Update(Edit edit)
{
    const FileRead old = ReadFileUpTo(fileName_, kMaxSettingsFileBytes);
    const bool complete = old.status == FileReadStatus::Whole || old.status == FileReadStatus::Missing;
    if (!complete)
        throw Exception(FillPlaceholder(kUnableToWriteTo, fileName_));
    IniText text(old.bytes);
    edit(text);
    const std::string bytes = text.Bytes();
    if (bytes == old.bytes)
        return;  // also keeps an erase from creating a missing file
    if (!ReplaceFileContents(fileName_, bytes))
        throw Exception(FillPlaceholder(kUnableToWriteTo, fileName_));
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const
{
    auto value = IniText(ReadText()).Value(section, key);
    return value ? std::move(*value) : std::string(defaultValue);
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    Update([&](IniText& text) { text.SetValue(section, key, value); });
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
    keys = IniText(ReadText()).Keys(section);
}

void TIniFile::EraseSection(std::string_view section)
{
    Update([&](IniText& text) { text.EraseSection(section); });
}

}  // namespace pellimar
