// Reading a code's kind and level name as its text streams by.
#include "engine/code_head.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "streams/text_util.h"

namespace pellimar {
namespace {

struct CodeCase {
    std::string text;
    CodeKind kind;
    std::string name;
    bool idRecords = false;
};

class CodeHeadTest : public ::testing::TestWithParam<CodeCase> {};

// Whole, one byte at a time, and read at once: the pieces a code arrives in
// do not matter.
TEST_P(CodeHeadTest, KindAndLevelName)
{
    const CodeCase& c = GetParam();
    CodeHead whole(20);
    whole.Start();
    whole.Feed(c.text);
    CodeHead bytewise(20);
    bytewise.Start();
    for (char byte : c.text)
        bytewise.Feed(std::string_view(&byte, 1));
    CodeHead read(20);
    read.Feed("RD:EARLIER");
    read.Read(c.text);
    for (const CodeHead* head : {&whole, &bytewise, &read}) {
        EXPECT_EQ(c.kind, head->Kind(c.idRecords));
        EXPECT_EQ(c.name, head->LevelName(c.idRecords));
        EXPECT_EQ(c.name, ToUpperAscii(head->WrittenLevelName(c.idRecords)));
    }
}

INSTANTIATE_TEST_SUITE_P(Codes, CodeHeadTest,
                         ::testing::Values(CodeCase{"RD", CodeKind::RecordCode, ""},
                                           CodeCase{"rd", CodeKind::RecordCode, ""},
                                           CodeCase{"RD,ID:7", CodeKind::RecordCode, ""},
                                           CodeCase{"RD, 5", CodeKind::RecordCode, ""},
                                           CodeCase{"RD,", CodeKind::RecordCode, ""},
                                           CodeCase{"RD,12:Book", CodeKind::LevelRecord, "BOOK"},
                                           CodeCase{"RD, 1 2 :x", CodeKind::LevelRecord, "X"},
                                           CodeCase{"RD,12,3:BOOK", CodeKind::RecordCode, ""},
                                           CodeCase{"Rd:   Sub One  ", CodeKind::LevelRecord, "SUB ONE  "},
                                           CodeCase{"RD:\"Sub One\"", CodeKind::LevelRecord, "\"SUB ONE\""},
                                           CodeCase{"RD:", CodeKind::LevelRecord, ""},
                                           CodeCase{"RD:Heading,CH", CodeKind::LevelRecord, "HEADING"},
                                           CodeCase{"RD,12: \"A,B\";CH", CodeKind::LevelRecord, "\"A,B\""},
                                           CodeCase{"BD+", CodeKind::Other, ""},
                                           CodeCase{"R", CodeKind::Other, ""},
                                           CodeCase{"", CodeKind::Other, ""}));

// With ID record levels: the level field after the ID, up to a "," or ";"
// outside quotes; every other code reads as it does without.
INSTANTIATE_TEST_SUITE_P(
    IdRecords, CodeHeadTest,
    ::testing::Values(CodeCase{"RD,ID:7:Chapter", CodeKind::LevelRecord, "CHAPTER", true},
                      CodeCase{"rd,id:ec000019:Year;CH", CodeKind::LevelRecord, "YEAR", true},
                      CodeCase{"RD,ID:19:Book,CH", CodeKind::LevelRecord, "BOOK", true},
                      CodeCase{"RD,ID:15:\"Sub-Heading 1\"", CodeKind::LevelRecord, "\"SUB-HEADING 1\"", true},
                      CodeCase{"RD,ID:15:\"A,B;C\",CH", CodeKind::LevelRecord, "\"A,B;C\"", true},
                      CodeCase{"RD,ID:15:  Book", CodeKind::LevelRecord, "BOOK", true},
                      CodeCase{"RD,ID:x:y:z", CodeKind::LevelRecord, "Y:Z", true},
                      CodeCase{"RD,ID:7:", CodeKind::LevelRecord, "", true},
                      CodeCase{"RD,ID:7", CodeKind::RecordCode, "", true},
                      CodeCase{"RD,ID:7,CH", CodeKind::RecordCode, "", true},
                      CodeCase{"RD, ID:7:X", CodeKind::RecordCode, "", true},
                      CodeCase{"RD,ID::X", CodeKind::RecordCode, "", true},
                      CodeCase{"RD,IDX:7:X", CodeKind::RecordCode, "", true},
                      CodeCase{"RD,12:Book", CodeKind::LevelRecord, "BOOK", true},
                      CodeCase{"RD:Book", CodeKind::LevelRecord, "BOOK", true},
                      CodeCase{"RD,ID:7:Chapter", CodeKind::RecordCode, "", false}));

// One head reads codes one after another as the pass does: names it read
// before, more of them than it keeps, and names that only begin or end as
// one of them does, read as a fresh head reads them.
TEST(CodeHead, NamesReadAgainReadAsTheFirstTime)
{
    std::vector<std::string> codes = {"RD:Heading",  "RD,ID:7:Heading,CH", "RD:heading",       "RD:Heading ",
                                      "RD:Head",     "RD:\"Sub 1\"",       "RD,ID:9:\"Sub 1\"", "RD:\"Sub 1",
                                      "RD:Chapter;", "RD:" + std::string(30, 'y')};
    for (char c = 'a'; c < 'k'; ++c)
        codes.push_back(std::string("RD,ID:1:Level ") + c);
    CodeHead again(20);
    for (int round = 0; round < 3; ++round) {
        for (const std::string& code : codes) {
            for (const bool idRecords : {false, true}) {
                CodeHead fresh(20);
                fresh.Read(code);
                again.Read(code);
                EXPECT_EQ(fresh.LevelName(idRecords), again.LevelName(idRecords)) << code;
                EXPECT_EQ(fresh.WrittenLevelName(idRecords), again.WrittenLevelName(idRecords)) << code;
            }
        }
    }
}

TEST(CodeHead, NameLongerThanEveryLevelNameIsCutJustPastTheLongest)
{
    CodeHead head(5);
    head.Start();
    head.Feed("RD:" + std::string(100000, 'x'));
    EXPECT_EQ(CodeKind::LevelRecord, head.Kind(false));
    EXPECT_EQ("XXXXXX", head.LevelName(false));
}

TEST(CodeHead, WrittenNameKeepsItsLetterCase)
{
    for (const bool idRecords : {false, true}) {
        const std::string code = idRecords ? "rd,id:7:  \"Sub hEad\",CH" : "rd:  \"Sub hEad\",CH";
        CodeHead fed(20);
        fed.Start();
        for (char byte : code)
            fed.Feed(std::string_view(&byte, 1));
        CodeHead read(20);
        read.Read(code);
        for (const CodeHead* head : {&fed, &read})
            EXPECT_EQ("\"Sub hEad\"", head->WrittenLevelName(idRecords)) << code;
    }
    CodeHead other(20);
    other.Read("BD+");
    EXPECT_EQ("", other.WrittenLevelName(false));
}

TEST(CodeHead, StartForgetsTheLastCode)
{
    CodeHead head(5);
    head.Start();
    head.Feed("RD:BOOK");
    head.Start();
    head.Feed("JU:CN");
    EXPECT_EQ(CodeKind::Other, head.Kind(false));
}

}  // namespace
}  // namespace pellimar
