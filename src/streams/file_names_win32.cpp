// File names on Windows: one file whatever the case of its letters, as the
// system compares them; every symbolic link may be followed, as the system
// itself follows them; the names that stand for devices in any folder; and
// a name's full path.
#include "streams/file_names.h"

#include <windows.h>

#include <string_view>

#include "streams/wide_names.h"

namespace pellimar {

bool LinkMayBeFollowed(const std::filesystem::path&)
{
    return true;
}

bool SameFileName(const std::string& a, const std::string& b)
{
    const std::wstring wideA = WideOfName(a);
    const std::wstring wideB = WideOfName(b);
    return CompareStringOrdinal(wideA.c_str(), static_cast<int>(wideA.size()), wideB.c_str(),
                                static_cast<int>(wideB.size()), TRUE) == CSTR_EQUAL;
}

// In capitals, as the system compares names.
std::string FileNameKey(const std::string& name)
{
    std::wstring wide = WideOfName(name);
    CharUpperBuffW(wide.data(), static_cast<DWORD>(wide.size()));
    return NameOfWide(wide);
}

// The last part of the name up to its first dot, blanks at its end dropped
// and in capitals, is what Windows compares with its device names.
std::optional<std::string> DeviceOfName(const std::string& path)
{
    const std::size_t folderEnd = path.find_last_of("\\/:");
    const std::string name = path.substr(folderEnd == std::string::npos ? 0 : folderEnd + 1);
    std::string device = name.substr(0, name.find('.'));
    while (!device.empty() && device.back() == ' ')
        device.pop_back();
    for (char& c : device) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    for (const char* fixed : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"}) {
        if (device == fixed)
            return device;
    }
    // COM1 to COM9 and LPT1 to LPT9, also with the superscript digits 1 to 3
    // (in UTF-8).
    const std::string_view port(device);
    if (port.starts_with("COM") || port.starts_with("LPT")) {
        const std::string_view number = port.substr(3);
        if ((number.size() == 1 && number[0] >= '1' && number[0] <= '9') ||
            number == "\xC2\xB9" || number == "\xC2\xB2" || number == "\xC2\xB3")
            return device;
    }
    return std::nullopt;
}

// The system's own rule, which takes "." and ".." out by the spelling. (The
// library's absolute() knows no \\server\share and would put the working
// folder's drive before it.)
std::string FullName(const std::string& name)
{
    const std::wstring wide = WideOfName(name);
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0)
            return name;
        if (length < full.size()) {
            full.resize(length);
            return NameOfWide(full);
        }
        full.resize(length);
    }
}

}  // namespace pellimar
