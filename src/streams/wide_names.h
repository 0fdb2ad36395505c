// File names as the program holds them: byte strings. On Windows the bytes
// are the system's UTF-16 names written as WTF-8 (UTF-8 that also carries
// unpaired surrogates), so that every name the system can hold survives the
// trip through a std::string and back.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace pellimar {

// Each unpaired surrogate keeps its own three-byte form; a byte that begins
// no valid sequence becomes U+FFFD.
std::u16string Utf16FromWtf8(std::string_view bytes);
std::string Wtf8FromUtf16(std::u16string_view units);

// A name in the UTF-16 of the Windows API and back.
std::wstring WideOfName(std::string_view name);
std::string NameOfWide(std::wstring_view wide);

// A name as a path and back: the bytes as they are on POSIX, through UTF-16
// on Windows (where the library would read the bytes in the ANSI code page).
std::filesystem::path PathOfName(const std::string& name);
std::string NameOfPath(const std::filesystem::path& path);

}  // namespace pellimar
