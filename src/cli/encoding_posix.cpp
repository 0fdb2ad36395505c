// The command line's text on POSIX: patterns and level names arrive in the
// locale's encoding and are converted to the encoding of 8-bit flat files,
// Windows-1252 unless --encoding names another; "bytes" and the C locale
// take them as given, for scripts that already hold the file's bytes.
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <cerrno>

#include "cli/console.h"

namespace pellimar::cli {
namespace {

struct FlatFileEncoding {
    bool bytes = false;
    std::string name = "WINDOWS-1252";
};

FlatFileEncoding chosen;

std::string LocaleCodeset()
{
    const locale_t locale = newlocale(LC_CTYPE_MASK, "", locale_t{});
    if (locale == locale_t{})
        return "ANSI_X3.4-1968";
    std::string codeset = nl_langinfo_l(CODESET, locale);
    freelocale(locale);
    return codeset;
}

bool PassesBytes()
{
    const std::string codeset = LocaleCodeset();
    return chosen.bytes || codeset == "ANSI_X3.4-1968" || codeset == "ASCII";
}

// The text converted, or the offset of the first byte that could not be.
struct Converted {
    std::string text;
    std::size_t failedAt = std::string::npos;
};

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

// The character that begins at `offset`: a whole UTF-8 sequence in a UTF-8
// locale, one byte in any other.
std::string CharacterAt(const std::string& text, std::size_t offset, const std::string& codeset)
{
    std::size_t length = 1;
    if (codeset == "UTF-8") {
        const auto lead = static_cast<unsigned char>(text[offset]);
        length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    }
    return text.substr(offset, length);
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
    // An 8-bit encoding keeps ASCII as it is and gives every character it
    // holds one byte.
    const Converted letter = Convert("A\xC3\xA9", *name, "UTF-8");
    const bool eightBit = letter.text.starts_with("A") &&
                          (letter.failedAt == 1 ? letter.text.size() == 1 : letter.text.size() == 2);
    if (letter.failedAt == 0 || !eightBit)
        return "--encoding takes an 8-bit encoding the system knows, such as ISO-8859-15, or 'bytes', not '" + *name +
               "'";
    chosen.name = *name;
    return {};
}

std::optional<std::string> FlatFileText(const std::string& argument, std::string* lacking)
{
    if (PassesBytes())
        return argument;
    const std::string codeset = LocaleCodeset();
    Converted converted = Convert(argument, chosen.name, codeset);
    if (converted.failedAt != std::string::npos) {
        if (lacking != nullptr && converted.failedAt < argument.size())
            *lacking = CharacterAt(argument, converted.failedAt, codeset);
        return std::nullopt;
    }
    return std::move(converted.text);
}

std::string EncodingNote()
{
    return "\nPatterns and level names are converted from the locale's encoding to\n"
           "Windows-1252, the encoding of 8-bit flat files, or to the one --encoding\n"
           "names; a character it lacks is a usage error. --encoding=bytes, and the C\n"
           "locale, take them as given.\n";
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

// Into the locale's encoding, which is UTF-8 nearly everywhere; what it
// cannot show stays as the file's bytes.
std::string Utf8OfFlatFileText(const std::string& flatFileText)
{
    Converted converted = Convert(flatFileText, LocaleCodeset(), chosen.name);
    return converted.failedAt == std::string::npos ? std::move(converted.text) : flatFileText;
}

}  // namespace pellimar::cli
