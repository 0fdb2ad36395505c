// Conversions through the ANSI code page.
#include "window_win32/win32_text.h"

#include <windows.h>

namespace pellimar {

std::wstring WideOfAnsi(std::string_view text)
{
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string AnsiOfWide(std::wstring_view text)
{
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), size, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

std::wstring WideLinesOfAnsi(std::string_view text)
{
    std::wstring lines;
    const std::wstring wide = WideOfAnsi(text);
    for (std::size_t i = 0; i < wide.size(); ++i) {
        lines += wide[i];
        if (wide[i] == L'\r' && (i + 1 == wide.size() || wide[i + 1] != L'\n'))
            lines += L'\n';
    }
    return lines;
}

}  // namespace pellimar
