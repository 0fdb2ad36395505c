// Characters in messages: those that show are quoted as given, the others
// named by their code points.
#include <gtest/gtest.h>

#include "run/shown_character.h"

namespace pellimar {
namespace {

TEST(ShownCharacter, VisibleCharactersAreQuotedAndTheRestNamed)
{
    const std::pair<char32_t, std::string> cases[] = {
        {U'a', "\"a\""},          {U'\u00E9', "\"\xC3\xA9\""}, {U'\u2192', "\"\xE2\x86\x92\""},
        {U'\U0001F600', "\"x\""}, {U' ', "\" \""},             {U'\uFFFD', "\"x\""},
        {0x0009, "U+0009"},       {0x007F, "U+007F"},          {0x0081, "U+0081"},
        {0x00A0, "U+00A0"},       {0x00AD, "U+00AD"},          {0x0301, "U+0301"},
        {0x200B, "U+200B"},       {0x202E, "U+202E"},          {0x3000, "U+3000"},
        {0xE000, "U+E000"},       {0xFE0F, "U+FE0F"},          {0xFEFF, "U+FEFF"},
        {0xFFFF, "U+FFFF"},       {0x1FFFE, "U+1FFFE"},        {0xE0041, "U+E0041"},
        {0x10FFFD, "U+10FFFD"},
    };
    for (const auto& [codePoint, named] : cases) {
        const std::string given = named.starts_with("\"") ? named.substr(1, named.size() - 2) : "x";
        EXPECT_EQ(CharacterForMessage(codePoint, given), named) << std::hex << static_cast<unsigned>(codePoint);
    }
}

}  // namespace
}  // namespace pellimar
