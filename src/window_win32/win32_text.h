// The window's texts between the model's bytes and the UTF-16 of the
// controls: patterns, level names and messages are UTF-8 (the model converts
// them to and from the file's 8-bit encoding), file names are the WTF-8
// names of the file layer.
#pragma once

#include <string>
#include <string_view>

namespace pellimar {

// Bytes that are not UTF-8 show as U+FFFD rather than vanish.
std::wstring WideOfUtf8(std::string_view text);
// A lone surrogate becomes U+FFFD.
std::string Utf8OfWide(std::wstring_view text);

// Lines end in "\r" in the model's texts; controls and message boxes want
// "\r\n".
std::wstring WideLinesOfUtf8(std::string_view text);

}  // namespace pellimar
