// An INI file kept in memory between operations and written once, so that a
// whole save of the settings costs one write of the file.
#pragma once

#include <string>

#include "settings/file_io.h"
#include "settings/ini_file.h"
#include "settings/ini_text.h"

namespace pellimar {

// Reads the file once, when created. Its operations mean what the file's own
// do, and later reads see earlier changes, but nothing reaches the file
// before UpdateFile.
class MemIniFile : public TIniFile {
public:
    explicit MemIniFile(std::string fileName);
    // Starts from the text of another file, which is only read: the file
    // that this one takes over while it does not exist itself.
    MemIniFile(std::string fileName, const std::string& startFrom);

    // Writes the text when the operations changed it, raising "Unable to
    // write to <path>" as a single write of the file would.
    void UpdateFile();

protected:
    void Inspect(const std::function<void(const IniText&)>& read) const override;
    void Change(const std::function<void(IniText&)>& edit) override;

private:
    FileRead read_;  // of the file itself, which UpdateFile replaces
    IniText text_;
};

}  // namespace pellimar
