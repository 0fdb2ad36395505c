// The in-memory INI file: one read, edits on the kept text, one write.
#include "settings/mem_ini_file.h"

#include <utility>

namespace pellimar {

MemIniFile::MemIniFile(std::string fileName) : MemIniFile(fileName, fileName) {}

MemIniFile::MemIniFile(std::string fileName, const std::string& startFrom)
    : TIniFile(std::move(fileName)), read_(ReadFileUpTo(startFrom, kMaxSettingsFileBytes)), text_(read_.bytes)
{
    if (startFrom != FileName())
        read_ = FileRead{FileReadStatus::Missing, {}};
}

void MemIniFile::UpdateFile()
{
    WriteText(read_, text_.Bytes());
}

void MemIniFile::Inspect(const std::function<void(const IniText&)>& read) const
{
    read(text_);
}

void MemIniFile::Change(const std::function<void(IniText&)>& edit)
{
    edit(text_);
}

}  // namespace pellimar
