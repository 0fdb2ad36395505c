// Preview in the window model: when it can be chosen, the checks and the page
// question it shares with Begin, the list it shows, and that it writes
// nothing.
#include <gtest/gtest.h>

#include <filesystem>

#include "window_model/model_fixture.h"

namespace pellimar::testing {
namespace {

std::string Records(int count)
{
    std::string text;
    for (int i = 1; i <= count; ++i)
        text += "<RD>verse " + std::to_string(i) + "\r\n";
    return text;
}

TEST(Preview, ListsTheFirstTwentyReferencesAndWritesNothing)
{
    ModelFixture f;
    std::string input = "<RD:Book>Genesis\r\n";
    for (int i = 1; i <= 30; ++i)
        input += "<RD>verse " + std::to_string(i) + "\r\n";
    f.Prepare(input, "1");
    f.Type(HistoryBox::Level1, "Book");
    f.model.Carry(Command::Preview);
    ASSERT_EQ(f.dialogs.previews.size(), 1u);
    const std::vector<PreviewReference>& shown = f.dialogs.previews[0];
    ASSERT_EQ(shown.size(), 20u);
    EXPECT_EQ(shown[0].line, 2);
    EXPECT_EQ(shown[0].text, "Genesis");
    EXPECT_EQ(shown[19].recordStart, "verse 20");
    EXPECT_FALSE(std::filesystem::exists(f.outputPath));
    EXPECT_EQ(f.model.History(HistoryBox::Level1), Names{"Book"});
    EXPECT_TRUE(f.model.History(HistoryBox::OutputFile).empty());
    EXPECT_EQ(f.view.beginCaption, kBeginCaption);
}

TEST(Preview, HeadingCountsRightAndIdRecordsAreAdvised)
{
    struct Case {
        const char* name;
        std::string input;
        std::string heading;
        bool advised;
    };
    const std::string book = "<RD:Book>Genesis\r\n";
    const Case cases[] = {
        {"twenty or more", book + Records(25), "The first 20 references the run would make:", false},
        {"all of a few", book + Records(3), "The run would make 3 references:", false},
        {"one", book + Records(1), "The run would make one reference:", false},
        {"none", "<RD>x\r\n", "The run would make no reference.", false},
        {"none, level records with IDs", "<RD,ID:1:Book>Genesis\r\n<RD,ID:2>x\r\n",
         "The run would make no reference.", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ModelFixture f;
        f.Prepare(c.input, "1");
        f.Type(HistoryBox::Level1, "Book");
        f.model.Carry(Command::Preview);
        ASSERT_EQ(f.dialogs.previewHeadings.size(), 1u);
        EXPECT_EQ(f.dialogs.previewHeadings[0], c.heading);
        EXPECT_EQ(f.dialogs.previewNotes[0].find("ID record levels") != std::string::npos, c.advised);
    }
}

// Above the references, the level names of the level records read; a level
// of the pattern that none names is advised of once the whole file was read.
TEST(Preview, ShowsTheLevelsAndAdvisesOfOneThatNothingNames)
{
    struct Case {
        const char* name;
        std::string input;
        std::string level;
        std::string levels;
        bool advised;
    };
    const std::string book = "<RD:Book>Genesis\r\n";
    const Case cases[] = {
        {"misnamed", book + Records(3), "Bok", "Level records of this file:\rBook (1): Genesis", true},
        {"named", book + Records(3), "Book", "Level records of this file:\rBook (1): Genesis", false},
        {"part read", book + Records(25), "Book", "Level records in the part of the file read:\rBook (1): Genesis",
         false},
        {"none", Records(2), "Book", "This file has no level records.", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ModelFixture f;
        f.Prepare(c.input, "1");
        f.Type(HistoryBox::Level1, c.level);
        f.model.Carry(Command::Preview);
        ASSERT_EQ(f.dialogs.previewLevels.size(), 1u);
        EXPECT_EQ(f.dialogs.previewLevels[0], c.levels);
        EXPECT_EQ(f.dialogs.previewNotes[0].find("No level record names level 1 \"" + c.level + "\"") !=
                      std::string::npos,
                  c.advised)
            << f.dialogs.previewNotes[0];
    }
}

// The preview counts the earlier references in the part of the file it
// read, and tells of them only while they would be kept.
TEST(Preview, EarlierReferencesInThePartReadAreAdvised)
{
    const std::string earlier = "<CS:Reference>Old<CR>\r\n</CS>";
    ModelFixture f;
    f.Prepare("<RD:Book>Genesis\r\n<RD>" + earlier + "a\r\n" + Records(30) + "<RD>" + earlier + "b\r\n", "1");
    f.Type(HistoryBox::Level1, "Book");
    f.model.Carry(Command::Preview);
    f.model.TogglePreference(Preference::ReplaceReferences);
    f.model.Carry(Command::Preview);
    ASSERT_EQ(f.dialogs.previewNotes.size(), 2u);
    EXPECT_EQ(f.dialogs.previewNotes[0], "The part of the file read holds 1 reference from an earlier run; the "
                                         "output would have both. Switch on File > Preferences > Replace Earlier "
                                         "References to replace it.");
    EXPECT_EQ(f.dialogs.previewNotes[1], "");
    EXPECT_EQ(f.dialogs.previews[0][0].text, "Genesis");
}

// A record that begins on the line after its code: the preview says it gets
// no reference until the preference is on, and then lists it.
TEST(Preview, RecordsOnTheNextLineAreAdvised)
{
    ModelFixture f;
    f.Prepare("<RD:Book>Genesis\r\n<RD>\r\n<TA:x>cell\r\n", "1");
    f.Type(HistoryBox::Level1, "Book");
    f.model.Carry(Command::Preview);
    f.model.TogglePreference(Preference::LineEndRecords);
    f.model.Carry(Command::Preview);
    ASSERT_EQ(f.dialogs.previewNotes.size(), 2u);
    EXPECT_EQ(f.dialogs.previewNotes[0], "1 record begins on the line after its record code and gets no reference; "
                                         "switch on File > Preferences > References for Records on the Next Line "
                                         "to give it one.");
    EXPECT_EQ(f.dialogs.previewNotes[1], "");
    EXPECT_EQ(f.dialogs.previews[1].size(), 1u);
}

TEST(Preview, NeedsTheInputAndTheReferencePattern)
{
    ModelFixture f;
    f.model.FileMenuOpening();
    EXPECT_FALSE(f.view.menu.Enabled(Command::Preview));
    f.Type(HistoryBox::InputFile, "in.fff");
    f.model.FileMenuOpening();
    EXPECT_FALSE(f.view.menu.Enabled(Command::Preview));
    f.Type(HistoryBox::RefPattern, "1");
    f.model.FileMenuOpening();
    EXPECT_TRUE(f.view.menu.Enabled(Command::Preview));  // no output needed
}

TEST(Preview, MakesTheChecksOfBeginButNotThoseOfTheOutput)
{
    ModelFixture f;
    f.Prepare("<RD>x", "1");
    WriteFileBytes(f.outputPath, "earlier");
    f.model.Carry(Command::Preview);  // level 1 has no name
    f.Type(HistoryBox::InputFile, f.dir.File("missing.fff"));
    f.model.Carry(Command::Preview);
    EXPECT_EQ(f.dialogs.MessageTexts(),
              (Names{"Insufficient information to process reference pattern\r\"1\" stands for level 1, which has no name",
                     "Input file not found.\r" + f.dir.File("missing.fff") + ": no such file"}));
    EXPECT_TRUE(f.dialogs.previews.empty());
    EXPECT_EQ(ReadFileBytes(f.outputPath), "earlier");
}

TEST(Preview, AsksForTheStartingPageAndCancelStopsIt)
{
    ModelFixture f;
    f.Prepare("<RD>x\r\n" + std::string(5000, 'z'), "#");
    f.Type(HistoryBox::PagePattern, "[#]");
    f.dialogs.inputAnswers = {std::string("7")};
    f.model.Carry(Command::Preview);
    EXPECT_EQ(f.dialogs.inputTitles, Names{"Input Page Number"});
    EXPECT_EQ(f.dialogs.previews.at(0).at(0).text, "7");

    f.view.probe = [&](std::int32_t percent) {
        if (percent == 10)
            f.model.Carry(Command::BeginOrCancel);  // reads "&Cancel" while the preview runs
    };
    f.model.Carry(Command::Preview);
    EXPECT_EQ(f.dialogs.previews.size(), 1u);
    EXPECT_EQ(f.view.percents.back(), 10);
}

}  // namespace
}  // namespace pellimar::testing
