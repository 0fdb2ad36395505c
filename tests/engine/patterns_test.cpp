// The reference pattern's pieces and sources, the page pattern check and the
// starting-page answer.
#include "engine/patterns.h"

#include <gtest/gtest.h>

namespace pellimar {
namespace {

// The first token without its source, or none.
std::string MissingOf(const std::string& ref, const std::string& page, const LevelList& levels = {})
{
    const std::optional<MissingSource> missing = ReferencePattern(ref).Missing(page, levels);
    return missing ? std::string(1, missing->token) + ": " + missing->reason : "";
}

TEST(ReferencePattern, EverySourceMustBeFilled)
{
    EXPECT_EQ("", MissingOf("1 2:#", "[#]", {"Book", "Chapter"}));
    EXPECT_EQ("", MissingOf("", ""));
    EXPECT_EQ("", MissingOf("0 8 9 text", ""));
    EXPECT_EQ("#: \"#\" stands for the page, and the page-number pattern is empty", MissingOf("1 #", "", {"Book"}));
    EXPECT_EQ("7: \"7\" stands for level 7, which has no name", MissingOf("1 7 #", "", {"Book"}));
}

TEST(ReferencePattern, KnowsItsFirstAndDeepestLevelAndWhetherItShowsThePage)
{
    struct Case {
        const char* text;
        int firstLevel;
        int deepestLevel;
        bool showsPage;
        std::size_t pieces;
    };
    for (const Case& c : {Case{"# 2 1", 1, 1, true, 3}, Case{"1 3 2", 0, 2, false, 3}, Case{"1", 0, 0, false, 1},
                          Case{"p. # 890", -1, -1, true, 2}, Case{"", -1, -1, false, 0}}) {
        const ReferencePattern pattern(c.text);
        EXPECT_EQ(c.firstLevel, pattern.FirstLevel()) << c.text;
        EXPECT_EQ(c.deepestLevel, pattern.DeepestLevel()) << c.text;
        EXPECT_EQ(c.showsPage, pattern.ShowsPage()) << c.text;
        EXPECT_EQ(c.pieces, pattern.Pieces().size()) << c.text;
        EXPECT_EQ(c.text, pattern.Text());
    }
}

// Read as running text, the pattern must make references a later run can
// recognise: why it cannot, or nothing.
TEST(UnrecognisableReferences, LineBreaksAndCodesOfRecordsOrFramesOrOfHeadingsAreRefused)
{
    const std::pair<const char*, const char*> cases[] = {
        {"1 2, p. #", ""},
        {"<BD+>1<BD-> <IX->2<IX> x", ""},
        {"<IX->1 2<IX>", ""},
        {"<IX->1 2", "it begins with <IX-> but does not end with <IX>"},
        {"1 <IX->2<IX>", "it ends with <IX> but does not begin with <IX->"},
        {"1 <<RD> <<", ""},
        {"", ""},
        {"1\r\n2", "it holds a line break"},
        {"1\n", "it holds a line break"},
        {"1 <RD>", "it holds the code <RD>, which begins \"RD\""},
        {"<rd,ID:7>", "it holds the code <rd,ID:7>, which begins \"RD\""},
        {"<<<cs:Reference>1", "it holds the code <cs:Reference>, which begins \"CS:\""},
        {"1</CS>", "it holds the code </CS>, which begins \"/CS\""},
        {"1 <BD+", "its \"<\" at 3 opens a code that no \">\" closes"},
        {"<FC:255>1", "its code <FC:255> holds \"2\", which stands for the heading of level 2"},
        {"1 <PN:#>", "its code <PN:#> holds \"#\", which stands for the page"},
    };
    for (const auto& [pattern, reason] : cases)
        EXPECT_EQ(reason, UnrecognisableReferences(pattern).value_or("")) << pattern;
}

TEST(PagePatternServes, PageMarkerPatternNeedsAHashWhenThePageIsShown)
{
    EXPECT_TRUE(PagePatternServes(ReferencePattern("1 #"), "[#]"));
    EXPECT_TRUE(PagePatternServes(ReferencePattern("1"), "[x]"));
    EXPECT_FALSE(PagePatternServes(ReferencePattern("1 #"), "[x]"));
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
