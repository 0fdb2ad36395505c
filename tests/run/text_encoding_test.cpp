// Windows-1252 and UTF-8: the byte table of the range where the code page
// differs from Latin-1, round trips of every byte, and malformed UTF-8.
#include <gtest/gtest.h>

#include <utility>

#include "run/utf8.h"
#include "run/windows_1252.h"

namespace pellimar {
namespace {

// The 27 assigned bytes of 0x80 to 0x9F, as the code page defines them.
const std::pair<unsigned char, char32_t> kAssignedHighBytes[] = {
    {0x80, U'€'}, {0x82, U'‚'}, {0x83, U'ƒ'}, {0x84, U'„'}, {0x85, U'…'}, {0x86, U'†'}, {0x87, U'‡'},
    {0x88, U'ˆ'}, {0x89, U'‰'}, {0x8A, U'Š'}, {0x8B, U'‹'}, {0x8C, U'Œ'}, {0x8E, U'Ž'}, {0x91, U'‘'},
    {0x92, U'’'}, {0x93, U'“'}, {0x94, U'”'}, {0x95, U'•'}, {0x96, U'–'}, {0x97, U'—'}, {0x98, U'˜'},
    {0x99, U'™'}, {0x9A, U'š'}, {0x9B, U'›'}, {0x9C, U'œ'}, {0x9E, U'ž'}, {0x9F, U'Ÿ'},
};

TEST(Windows1252, AssignedHighBytesMapBothWays)
{
    ASSERT_EQ(std::size(kAssignedHighBytes), 27u);
    for (const auto& [byte, character] : kAssignedHighBytes) {
        EXPECT_EQ(CharacterOfWindows1252(byte), character) << std::hex << int(byte);
        EXPECT_EQ(Windows1252ByteOf(character), byte) << std::hex << int(byte);
    }
}

TEST(Windows1252, EveryByteSurvivesTheRoundTrip)
{
    for (int byte = 0; byte < 256; ++byte) {
        const char32_t character = CharacterOfWindows1252(static_cast<unsigned char>(byte));
        EXPECT_EQ(Windows1252ByteOf(character), byte) << byte;
    }
}

TEST(Windows1252, CharactersOutsideAreRefused)
{
    for (const char32_t character : {char32_t{U'→'}, char32_t{U'Ā'}, char32_t{0x20AD}, char32_t{0x100}, char32_t{0x1F600}})
        EXPECT_FALSE(Windows1252ByteOf(character).has_value()) << std::hex << unsigned(character);
}

TEST(Utf8, DecodesWhatItEncodes)
{
    std::string text;
    for (const char32_t codePoint : {U'a', U'é', U'—', U'😀'})
        AppendUtf8(text, codePoint);
    EXPECT_EQ(text, "a\xC3\xA9\xE2\x80\x94\xF0\x9F\x98\x80");
    EXPECT_EQ(DecodeUtf8(text), (std::vector<char32_t>{U'a', U'é', U'—', U'😀'}));
}

TEST(Utf8, MalformedBytesBecomeReplacementCharacters)
{
    const std::vector<char32_t> decoded = DecodeUtf8("\x93x\xE2\x80\xC0\xAF\xED\xA0\x80");
    ASSERT_GE(decoded.size(), 3u);
    EXPECT_EQ(decoded[0], kReplacementCharacter);
    EXPECT_EQ(decoded[1], U'x');
    for (std::size_t i = 2; i < decoded.size(); ++i)
        EXPECT_EQ(decoded[i], kReplacementCharacter);
}

}  // namespace
}  // namespace pellimar
