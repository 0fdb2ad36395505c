// Text as the screen holds it (UTF-8) and as flat files, the settings and
// the pattern files hold it (8-bit, in the system's encoding for them:
// Windows-1252 on Linux, the ANSI code page on Windows). What a person types
// or reads passes through here; file names do not.
#pragma once

#include <string>
#include <string_view>

namespace pellimar {

struct FileText {
    std::string bytes;
    // The first character the encoding cannot hold, in UTF-8; empty when
    // every character was converted.
    std::string unheld;

    bool Complete() const { return unheld.empty(); }
};

FileText FileTextFromScreen(std::string_view screenText);
std::string ScreenTextFromFile(std::string_view fileText);

// How a refusal names the encoding: "Windows-1252".
std::string FileEncodingName();

}  // namespace pellimar
