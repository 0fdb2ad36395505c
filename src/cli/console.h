// What the command line needs of the system around it: the interrupt that
// cancels a run, the terminal that shows the progress bar, and the encoding
// of the text it passes to the pass. Built from console_posix.cpp or
// console_win32.cpp.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace pellimar::cli {

// Makes an interrupt (Ctrl+C; SIGTERM on POSIX, Ctrl+Break on Windows) ask
// the running conversion to stop, from the first one on.
void InstallCancelHandler();
bool CancelSignalled();

// Whether standard error shows on a terminal (a console on Windows).
bool StandardErrorIsTerminal();
// The width of that terminal in columns; nothing when it is none.
std::optional<int> TerminalColumns();
// Makes changes of the terminal's width known to TerminalResized.
void FollowTerminalResizes();
// True when the width may have changed since the last call.
bool TerminalResized();
// Writes straight to standard error, around the C library's buffer.
void WriteToStandardError(std::string_view text);

// Chooses the encoding of 8-bit flat files that FlatFileText converts to:
// nothing for the default, "bytes" for none, or another name the system
// knows (POSIX only). Returns a usage error; empty when the name will do.
std::string ChooseFlatFileEncoding(const std::optional<std::string>& name);

// What became of a pattern, level name or page given on the command line
// on its way to the encoding of 8-bit flat files.
struct FlatFileText {
    enum class Refusal {
        None,
        NotInLocale,  // its bytes are not text in the locale's encoding
        Lacking,      // it has a character that encoding lacks
    };
    std::string text;  // in the flat files' encoding, when not refused
    Refusal refusal = Refusal::None;
    // The first character lacking, as given and as a code point.
    std::string character;
    char32_t codePoint = 0;

    static FlatFileText Converted(std::string text)
    {
        FlatFileText converted;
        converted.text = std::move(text);
        return converted;
    }
    static FlatFileText Refused(Refusal refusal, std::string character = {}, char32_t codePoint = 0)
    {
        FlatFileText refused;
        refused.refusal = refusal;
        refused.character = std::move(character);
        refused.codePoint = codePoint;
        return refused;
    }
};

// On POSIX converted from the locale's encoding to Windows-1252 or the
// chosen one (as given in the C locale or with "bytes"), on Windows to the
// ANSI code page.
FlatFileText ToFlatFileText(const std::string& argument);
// The locale's encoding, as a refusal names it ("UTF-8").
std::string LocaleEncodingName();
// What --help says about that encoding; empty where nothing is converted.
std::string EncodingNote();
// What --help says --encoding takes here.
std::string EncodingOptionHelp();

// Text in that encoding (a reference of the preview) as standard output
// should receive it: for a console on Windows, whose code page is UTF-8
// while the program runs, in UTF-8; anywhere else the bytes as they are.
std::string ForStandardOutput(const std::string& flatFileText);
// The conversion itself, from the 8-bit encoding to UTF-8 (none on POSIX).
std::string Utf8OfFlatFileText(const std::string& flatFileText);
// The same for a report that is data, in UTF-8 wherever the program runs:
// nothing where the text is none in that encoding ("bytes" that are no
// UTF-8).
std::optional<std::string> FlatFileTextInUtf8(const std::string& flatFileText);

// True when an output's name stands for standard output itself
// ("/dev/stdout" on POSIX), to be written to as "-" is: by its name the
// output would be replaced by a new file, which standard output cannot be.
bool NamesStandardOutput(const std::string& path);

}  // namespace pellimar::cli
