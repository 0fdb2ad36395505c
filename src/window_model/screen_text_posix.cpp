// Linux: flat files are Windows-1252, whatever the locale says.
#include "run/utf8.h"
#include "run/windows_1252.h"
#include "window_model/screen_text.h"

namespace pellimar {

FileText FileTextFromScreen(std::string_view screenText)
{
    FileText result;
    for (const char32_t character : DecodeUtf8(screenText)) {
        const std::optional<unsigned char> byte = Windows1252ByteOf(character);
        if (!byte || character == kReplacementCharacter) {
            AppendUtf8(result.unheld, character);
            return result;
        }
        result.bytes += static_cast<char>(*byte);
    }
    return result;
}

std::string ScreenTextFromFile(std::string_view fileText)
{
    std::string text;
    for (const char byte : fileText)
        AppendUtf8(text, CharacterOfWindows1252(static_cast<unsigned char>(byte)));
    return text;
}

std::string FileEncodingName()
{
    return "Windows-1252";
}

}  // namespace pellimar
