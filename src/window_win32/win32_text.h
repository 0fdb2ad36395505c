// The window's texts between the model's bytes and the UTF-16 of the
// controls: patterns and level names are 8-bit text in the system's ANSI
// code page, file names are the WTF-8 names of the file layer.
#pragma once

#include <string>
#include <string_view>

namespace pellimar {

std::wstring WideOfAnsi(std::string_view text);
// A character the code page cannot hold becomes its default character ("?").
std::string AnsiOfWide(std::wstring_view text);

// Lines end in "\r" in the model's texts; controls and message boxes want
// "\r\n".
std::wstring WideLinesOfAnsi(std::string_view text);

}  // namespace pellimar
