// The pattern checks before a run and the starting-page answer.
#include "engine/patterns.h"

#include <gtest/gtest.h>

namespace pellimar {
namespace {

RunSettings Patterns(const std::string& ref, const std::string& page, LevelList levels = {})
{
    RunSettings settings;
    settings.refPattern = ref;
    settings.pagePattern = page;
    settings.levelTexts = levels;
    return settings;
}

TEST(CheckRefPattern, EverySourceMustBeFilled)
{
    EXPECT_TRUE(CheckRefPattern(Patterns("1 2:#", "[#]", {"Book", "Chapter"})));
    EXPECT_TRUE(CheckRefPattern(Patterns("", "")));
    EXPECT_TRUE(CheckRefPattern(Patterns("0 8 9 text", "")));
    EXPECT_FALSE(CheckRefPattern(Patterns("1 #", "", {"Book"})));
    EXPECT_FALSE(CheckRefPattern(Patterns("1 7", "", {"Book"})));
}

TEST(CheckPagePattern, PageMarkerPatternNeedsAHash)
{
    EXPECT_TRUE(CheckPagePattern(Patterns("1 #", "[#]")));
    EXPECT_TRUE(CheckPagePattern(Patterns("1", "[x]")));
    EXPECT_FALSE(CheckPagePattern(Patterns("1 #", "[x]")));
}

TEST(FirstPatternLevel, IsTheFirstDigitOneToSeven)
{
    EXPECT_EQ(1, FirstPatternLevel("# 2 1"));
    EXPECT_EQ(0, FirstPatternLevel("1"));
    EXPECT_EQ(-1, FirstPatternLevel("p. # 890"));
    EXPECT_EQ(-1, FirstPatternLevel(""));
}

TEST(ParseStartingPage, AcceptsBlanksSignAndDigits)
{
    EXPECT_EQ(12, ParseStartingPage("12"));
    EXPECT_EQ(12, ParseStartingPage("   12"));
    EXPECT_EQ(12, ParseStartingPage("+12"));
    EXPECT_EQ(-1, ParseStartingPage("-1"));
    EXPECT_EQ(0, ParseStartingPage("000"));
    EXPECT_EQ(INT32_MAX, ParseStartingPage("2147483647"));
    EXPECT_EQ(INT32_MIN, ParseStartingPage("-2147483648"));
}

TEST(ParseStartingPage, AnythingElseGivesOne)
{
    for (const char* answer : {"", "   ", "12 ", "\t12", "1x", "x", "+", "-", "--1", "2147483648", "-2147483649",
                               "99999999999999999999999"}) {
        EXPECT_EQ(1, ParseStartingPage(answer)) << '"' << answer << '"';
    }
}

}  // namespace
}  // namespace pellimar
