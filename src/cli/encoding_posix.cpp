// The command line's text on POSIX: patterns and level names arrive in the
// locale's encoding and are converted to the encoding of 8-bit flat files,
// Windows-1252 unless --encoding names another; "bytes" and the C locale
// take them as given, for scripts that already hold the file's bytes.
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <cctype>
#include <cstdlib>
#include <string_view>

#include "cli/console.h"
#include "run/utf8.h"
#include "run/windows_1252.h"

namespace pellimar::cli {
namespace {

constexpr const char* kUtf8 = "UTF-8";
constexpr const char* kAscii = "ANSI_X3.4-1968";

struct FlatFileEncoding {
    bool bytes = false;
    // Empty for Windows-1252, which the program converts by its own table,
    // as the window does: the system's tables lack the five bytes the code
    // page leaves unassigned, which Windows maps to the controls of their
    // numbers.
    std::string name;
};

FlatFileEncoding chosen;

// Letters and digits only, in capitals: "utf8" and "UTF-8" compare equal.
std::string Normalized(std::string_view name)
{
    std::string normal;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) != 0)
            normal += static_cast<char>(std::toupper(byte));
    }
    return normal;
}

// The encoding a locale's name gives ("en_US.UTF-8@euro"): of a locale that
// is not installed only UTF-8 is told.
std::string CodesetOfName(std::string_view name)
{
    const std::size_t dot = name.find('.');
    if (dot == std::string_view::npos)
        return kAscii;
    const std::string_view codeset = name.substr(dot + 1, name.find('@', dot) - dot - 1);
    return Normalized(codeset) == "UTF8" ? kUtf8 : kAscii;
}

// A locale named but not installed (LANG=en_US.UTF-8 where only C.UTF-8
// is) cannot be loaded; the terminal still sends what its name says. The
// variables count in the order the C library reads them.
std::string NamedCodeset()
{
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0')
            return CodesetOfName(value);
    }
    return kAscii;
}

std::string LocaleCodeset()
{
    const locale_t locale = newlocale(LC_CTYPE_MASK, "", locale_t{});
    if (locale == locale_t{})
        return NamedCodeset();
    std::string codeset = nl_langinfo_l(CODESET, locale);
    freelocale(locale);
    return codeset;
}

bool PassesBytes()
{
    const std::string codeset = LocaleCodeset();
    return chosen.bytes || codeset == kAscii || codeset == "ASCII";
}

// The text converted, or the offset of the first byte that could not be.
struct Converted {
    std::string text;
    std::size_t failedAt = std::string::npos;

    bool Whole() const { return failedAt == std::string::npos; }
};

// The system's conversion; from UTF-8 it also refuses what is not UTF-8.
Converted Convert(const std::string& text, const std::string& to, const std::string& from)
{
    Converted result;
    const iconv_t converter = iconv_open(to.c_str(), from.c_str());
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        result.failedAt = 0;
        return result;
    }
    std::string input = text;
    char* in = input.data();
    std::size_t inLeft = input.size();
    std::string output(input.size() * 4 + 16, '\0');
    char* out = output.data();
    std::size_t outLeft = output.size();
    if (iconv(converter, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1) ||
        iconv(converter, nullptr, nullptr, &out, &outLeft) == static_cast<std::size_t>(-1))
        result.failedAt = static_cast<std::size_t>(in - input.data());
    iconv_close(converter);
    output.resize(output.size() - outLeft);
    result.text = std::move(output);
    return result;
}

// UTF-8 in the flat files' encoding; failedAt is the offset, in the UTF-8,
// of the first character it lacks.
Converted FlatFromUtf8(const std::string& utf8)
{
    if (!chosen.name.empty())
        return Convert(utf8, chosen.name, kUtf8);
    Converted result;
    std::string read;  // the UTF-8 of the characters converted so far
    for (const char32_t codePoint : DecodeUtf8(utf8)) {
        const std::optional<unsigned char> byte = Windows1252ByteOf(codePoint);
        if (!byte) {
            result.failedAt = read.size();
            return result;
        }
        result.text += static_cast<char>(*byte);
        AppendUtf8(read, codePoint);
    }
    return result;
}

}  // namespace

std::string ChooseFlatFileEncoding(const std::optional<std::string>& name)
{
    if (!name)
        return {};
    if (*name == "bytes") {
        chosen.bytes = true;
        return {};
    }
    if (const std::string normal = Normalized(*name); normal == "WINDOWS1252" || normal == "CP1252")
        return {};
    // An 8-bit encoding keeps ASCII as it is and gives every character it
    // holds one byte.
    const Converted letter = Convert("A\xC3\xA9", *name, kUtf8);
    const bool eightBit = letter.text.starts_with("A") &&
                          (letter.failedAt == 1 ? letter.text.size() == 1 : letter.text.size() == 2);
    if (letter.failedAt == 0 || !eightBit)
        return "--encoding takes an 8-bit encoding the system knows, such as ISO-8859-15, or 'bytes', not '" + *name +
               "'";
    chosen.name = *name;
    return {};
}

FlatFileText ToFlatFileText(const std::string& argument)
{
    if (PassesBytes())
        return FlatFileText::Converted(argument);
    const std::string codeset = LocaleCodeset();
    const Converted utf8 = Convert(argument, kUtf8, codeset);
    if (!utf8.Whole())
        return FlatFileText::Refused(FlatFileText::Refusal::NotInLocale);
    Converted flat = FlatFromUtf8(utf8.text);
    if (flat.Whole())
        return FlatFileText::Converted(std::move(flat.text));
    if (flat.failedAt >= utf8.text.size())
        return FlatFileText::Refused(FlatFileText::Refusal::Lacking);
    const char32_t codePoint = DecodeUtf8(std::string_view(utf8.text).substr(flat.failedAt)).front();
    std::string character;
    AppendUtf8(character, codePoint);
    return FlatFileText::Refused(FlatFileText::Refusal::Lacking, Convert(character, codeset, kUtf8).text, codePoint);
}

std::string LocaleEncodingName()
{
    return LocaleCodeset();
}

std::string EncodingNote()
{
    return "\nPatterns and level names are converted from the locale's encoding to\n"
           "Windows-1252, the encoding of 8-bit flat files, or to the one --encoding\n"
           "names; an argument that is not text in the locale's encoding, or has a\n"
           "character the flat files' encoding lacks, is a usage error.\n"
           "--encoding=bytes, and the C locale, take them as given.\n";
}

std::string EncodingOptionHelp()
{
    return "the 8-bit encoding of the flat files, into which patterns and level names are converted from the "
           "locale's (default Windows-1252); \"bytes\" takes them as given";
}

std::string ForStandardOutput(const std::string& flatFileText)
{
    return PassesBytes() ? flatFileText : Utf8OfFlatFileText(flatFileText);
}

std::optional<std::string> FlatFileTextInUtf8(const std::string& flatFileText)
{
    if (chosen.bytes)
        return IsUtf8(flatFileText) ? std::optional(flatFileText) : std::nullopt;
    Converted utf8;
    if (chosen.name.empty()) {
        for (const char byte : flatFileText)
            AppendUtf8(utf8.text, CharacterOfWindows1252(static_cast<unsigned char>(byte)));
    } else {
        utf8 = Convert(flatFileText, kUtf8, chosen.name);
    }
    return utf8.Whole() ? std::optional(std::move(utf8.text)) : std::nullopt;
}

// Into the locale's encoding, which is UTF-8 nearly everywhere; what it
// cannot show stays as the file's bytes.
std::string Utf8OfFlatFileText(const std::string& flatFileText)
{
    Converted utf8;
    if (chosen.name.empty()) {
        for (const char byte : flatFileText)
            AppendUtf8(utf8.text, CharacterOfWindows1252(static_cast<unsigned char>(byte)));
    } else {
        utf8 = Convert(flatFileText, kUtf8, chosen.name);
    }
    if (!utf8.Whole())
        return flatFileText;
    Converted shown = Convert(utf8.text, LocaleCodeset(), kUtf8);
    return shown.Whole() ? std::move(shown.text) : flatFileText;
}

}  // namespace pellimar::cli
