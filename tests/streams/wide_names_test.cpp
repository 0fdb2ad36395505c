// File names between WTF-8 and UTF-16: every UTF-16 name, unpaired
// surrogates included, comes back unchanged.
#include "streams/wide_names.h"

#include <gtest/gtest.h>

namespace pellimar {
namespace {

struct NameForms {
    std::string wtf8;
    std::u16string utf16;
};

TEST(WideNames, EachFormGivesTheOther)
{
    const NameForms cases[] = {
        {"in.fff", u"in.fff"},
        {"\xC3\x9Cn\xC3\xAF" "c\xC3\xB6" "d\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC.fff",
         u"\u00DCn\u00EFc\u00F6d\u00E9 \u65E5\u672C.fff"},
        {"\xF0\x9F\x93\x96", u"\U0001F4D6"},  // beyond the first plane: a surrogate pair
        {"a\xED\xA0\x80z", std::u16string(u"a") + char16_t(0xD800) + u"z"},  // a high surrogate alone
        {"\xED\xB0\x80", std::u16string(1, char16_t(0xDC00))},                // a low surrogate alone
        {"\xED\xB0\x80\xED\xA0\x80", std::u16string{char16_t(0xDC00), char16_t(0xD800)}},  // low before high
        {"", u""},
    };
    for (const NameForms& name : cases) {
        EXPECT_EQ(name.utf16, Utf16FromWtf8(name.wtf8)) << name.wtf8;
        EXPECT_EQ(name.wtf8, Wtf8FromUtf16(name.utf16)) << name.wtf8;
    }
}

TEST(WideNames, BytesThatBeginNoSequenceBecomeReplacementCharacters)
{
    const std::string cases[] = {
        "\xFF",          // never a lead byte
        "\xC3",          // cut short
        "\xC0\xAF",      // overlong "/"
        "\xF4\x90\x80\x80",  // past U+10FFFF
    };
    for (const std::string& bytes : cases) {
        const std::u16string units = Utf16FromWtf8("a" + bytes + "b");
        ASSERT_GE(units.size(), 3u) << bytes;
        EXPECT_EQ(u'a', units.front());
        EXPECT_EQ(u'b', units.back());
        EXPECT_EQ(std::u16string(units.size() - 2, char16_t(0xFFFD)), units.substr(1, units.size() - 2)) << bytes;
    }
}

TEST(WideNames, PathOfANameGivesTheNameBack)
{
    const std::string leaf = "\xC3\x9Cn\xC3\xAF" "c\xC3\xB6" "d\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC.fff";
    EXPECT_EQ("folder/" + leaf, NameOfPath(PathOfName("folder/" + leaf)));
    EXPECT_EQ(leaf, NameOfPath(PathOfName("folder/" + leaf).filename()));
}

}  // namespace
}  // namespace pellimar
