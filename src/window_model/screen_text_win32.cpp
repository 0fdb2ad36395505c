// Windows: flat files are in the system's ANSI code page, as for pellimar-cli.exe.
#include <windows.h>

#include <string>

#include "window_model/screen_text.h"

namespace pellimar {
namespace {

std::wstring WideFrom(std::string_view text, UINT codePage)
{
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string NarrowFrom(std::wstring_view wide, UINT codePage, DWORD flags, BOOL* usedDefault)
{
    if (wide.empty())
        return {};
    const int size = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, usedDefault);
    std::string narrow(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, flags, wide.data(), size, narrow.data(), length, nullptr, usedDefault);
    return narrow;
}

}  // namespace

FileText FileTextFromScreen(std::string_view screenText)
{
    FileText result;
    const std::wstring wide = WideFrom(screenText, CP_UTF8);
    // Character by character, so that a refusal can name the first one the
    // code page lacks; no "best fit" stands in for it.
    for (std::size_t i = 0; i < wide.size(); ++i) {
        const std::size_t count = IS_HIGH_SURROGATE(wide[i]) && i + 1 < wide.size() ? 2 : 1;
        const std::wstring_view character(wide.data() + i, count);
        BOOL usedDefault = FALSE;
        const std::string bytes = NarrowFrom(character, CP_ACP, WC_NO_BEST_FIT_CHARS, &usedDefault);
        if (usedDefault || bytes.empty()) {
            result.unheld = NarrowFrom(character, CP_UTF8, 0, nullptr);
            return result;
        }
        result.bytes += bytes;
        i += count - 1;
    }
    return result;
}

std::string ScreenTextFromFile(std::string_view fileText)
{
    return NarrowFrom(WideFrom(fileText, CP_ACP), CP_UTF8, 0, nullptr);
}

std::string FileEncodingName()
{
    return "code page " + std::to_string(GetACP());
}

}  // namespace pellimar
