// The in-memory INI file: one read, edits on the kept text, one write.
#include "settings/mem_ini_file.h"

#include <utility>

namespace pellimar {

TMemIniFile::TMemIniFile(std::string fileName)
    : TIniFile(std::move(fileName)), read_(ReadFileUpTo(FileName(), kMaxSettingsFileBytes)), text_(read_.bytes)
{
}

void TMemIniFile::UpdateFile()
{
    WriteText(read_, text_.Bytes());
}

void TMemIniFile::Inspect(const std::function<void(const IniText&)>& read) const
{
    read(text_);
}

void TMemIniFile::Change(const std::function<void(IniText&)>& edit)
{
    edit(text_);
}

}  // namespace pellimar
