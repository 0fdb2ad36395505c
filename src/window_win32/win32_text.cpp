// Conversions between UTF-8 and UTF-16.
#include "window_win32/win32_text.h"

#include <windows.h>

namespace pellimar {

std::wstring WideOfUtf8(std::string_view text)
{
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string Utf8OfWide(std::wstring_view text)
{
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    // UTF-8 takes no flags beyond WC_ERR_INVALID_CHARS, which would refuse
    // the whole text for one lone surrogate.
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

std::wstring WideLinesOfUtf8(std::string_view text)
{
    std::wstring lines;
    const std::wstring wide = WideOfUtf8(text);
    for (std::size_t i = 0; i < wide.size(); ++i) {
        lines += wide[i];
        if (wide[i] == L'\r' && (i + 1 == wide.size() || wide[i + 1] != L'\n'))
            lines += L'\n';
    }
    return lines;
}

}  // namespace pellimar
