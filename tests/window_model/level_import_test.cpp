// "Load Levels" and dropped files in the window model: the seven level boxes
// filled from a definition file, and a dropped input with its output name.
#include <gtest/gtest.h>

#include <filesystem>

#include "window_model/dropped_file.h"
#include "window_model/model_fixture.h"

namespace pellimar::testing {
namespace {

TEST(LoadLevels, FillsTheBoxesFromTheFile)
{
    struct Case {
        const char* name;
        std::string file;
        Names names;
    };
    const Case cases[] = {
        {"tome book chapter verse", "<LN:Tome,Book,Chapter,Verse>\r\n", {"Book", "Chapter", "Verse", "", "", "", ""}},
        {"quoted names", "<LN:T,\"Sub Section\", \"Part\">\r\n", {"Sub Section", " \"Part", "", "", "", "", ""}},
        {"more than eight fields", "<LN:T,a,b,c,d,e,f,g,h,i>\r\n", {"a", "b", "c", "d", "e", "f", "g"}},
        {"lines before, second line ignored",
         "<DE:x>\r\n\r\nsome text, here\r\n<ln:T,First>\r\n<LN:T,Second>\r\n",
         {"First", "", "", "", "", "", ""}},
        {"LF only", "a\n<LN:T,Book,Verse>\n", {"Book", "Verse", "", "", "", "", ""}},
        {"CR only", "a\r<LN:T,Book,Verse>\r", {"Book", "Verse", "", "", "", "", ""}},
        {"no comma", "<LN:Book>\r\n", {"", "", "", "", "", "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ModelFixture f;
        for (int i = 0; i < kLevelCount; ++i)
            f.Type(LevelBox(i), "old");
        const std::string path = f.dir.File("levels.def");
        WriteFileBytes(path, c.file);
        f.dialogs.fileAnswers = {path};
        f.model.Carry(Command::LoadLevels);
        EXPECT_EQ(f.LevelTexts(), c.names);
        EXPECT_EQ(f.dialogs.fileDialogs[0].state.filterIndex, 2);
        EXPECT_EQ(f.dialogs.fileDialogs[0].state.fileName, "");
        EXPECT_EQ(f.model.OpenDialog().filterIndex, 1);
        EXPECT_EQ(f.model.OpenDialog().fileName, "");
    }
}

// The first name of the line fills no box; the end box of a run whose
// level records use it says so while no box holds it.
TEST(LoadLevels, RunEndNotesTheFirstNameWhereTheLevelRecordsUseIt)
{
    ModelFixture f;
    f.Prepare("<RD:Tome>Law\r\n<RD:Book>Genesis\r\n<RD>text\r\n<RD:tome>Prophets\r\n", "1");
    const std::string path = f.dir.File("levels.def");
    WriteFileBytes(path, "<LN:Tome,Book>\r\n");
    f.dialogs.fileAnswers = {path};
    f.model.Carry(Command::LoadLevels);
    f.model.Carry(Command::BeginOrCancel);
    ASSERT_EQ(f.dialogs.messages.size(), 1u);
    EXPECT_NE(
        f.dialogs.messages[0].text.find(
            "\r\rlevels.def's first level name \"Tome\" is not loaded; 2 level "
            "records of this file name it. To use it, fill the level boxes 1 to 2 with Tome, Book: the names loaded "
            "move one level down.\r"),
        std::string::npos)
        << f.dialogs.messages[0].text;
    f.dialogs.answers = {MessageAnswer::Yes};  // overwrite the first output
    f.Type(HistoryBox::Level2, "Tome");
    f.model.Carry(Command::BeginOrCancel);
    ASSERT_EQ(f.dialogs.messages.size(), 3u);
    EXPECT_EQ(f.dialogs.messages[2].text.find("is not loaded"), std::string::npos) << f.dialogs.messages[2].text;

    // Load Levels given up empties the boxes: the file is no longer theirs.
    f.dialogs.fileAnswers = {std::nullopt};
    f.model.Carry(Command::LoadLevels);
    f.Type(HistoryBox::Level1, "Book");
    f.dialogs.answers = {MessageAnswer::Yes};
    f.model.Carry(Command::BeginOrCancel);
    ASSERT_EQ(f.dialogs.messages.size(), 5u);
    EXPECT_EQ(f.dialogs.messages[4].text.find("is not loaded"), std::string::npos) << f.dialogs.messages[4].text;
}

TEST(LoadLevels, LeavesTheHistoriesAlone)
{
    ModelFixture f;
    f.SeedHistory(HistoryBox::Level1, {"Tome"});
    const std::string path = f.dir.File("levels.def");
    WriteFileBytes(path, "<LN:T,Book>\r\n");
    f.dialogs.fileAnswers = {path};
    f.model.Carry(Command::LoadLevels);
    EXPECT_EQ(f.model.History(HistoryBox::Level1), Names{"Tome"});
    EXPECT_EQ(f.view.BoxText(HistoryBox::Level1), "Book");
}

TEST(LoadLevels, CancelledDialogLeavesTheBoxesEmpty)
{
    ModelFixture f;
    for (int i = 0; i < kLevelCount; ++i)
        f.Type(LevelBox(i), "old");
    f.model.Carry(Command::LoadLevels);
    EXPECT_EQ(f.LevelTexts(), Names(kLevelCount, ""));
    EXPECT_EQ(f.model.OpenDialog().filterIndex, 1);
}

TEST(LoadLevels, UnopenableFileReachesTheErrorHandler)
{
    ModelFixture f;
    const std::string missing = f.dir.File("missing.def");
    f.dialogs.fileAnswers = {missing};
    f.model.Carry(Command::LoadLevels);
    ASSERT_EQ(f.dialogs.errorBoxes.size(), 1u);
    EXPECT_EQ(f.dialogs.errorBoxes[0].second, "Cannot open file " + missing + "\rno such file");
    EXPECT_EQ(f.LevelTexts(), Names(kLevelCount, ""));
    EXPECT_EQ(f.model.OpenDialog().filterIndex, 2);
    EXPECT_EQ(f.model.OpenDialog().fileName, missing);
}

TEST(LoadLevels, SharedHelpDefinitionFile)
{
    const auto shared = SharedDataDir();
    if (shared.empty() || !std::filesystem::exists(shared / "FolioHlp.DEF"))
        GTEST_SKIP() << "shared sample files are not present";
    ModelFixture f;
    f.dialogs.fileAnswers = {(shared / "FolioHlp.DEF").string()};
    f.model.Carry(Command::LoadLevels);
    EXPECT_EQ(f.LevelTexts(), (Names{"Section", "Chapter", "Heading", "Sub-Heading 1", "Sub-Heading 2",
                                     "Sub-Heading 3", "Sub-Heading 4"}));
}

TEST(DroppedFile, OutputNameIsDerivedFromTheInput)
{
    const std::pair<std::string, std::string> cases[] = {
        {"/d/book.fff", "/d/book-ref.fff"},      {"/d/BOOK.FFF", "/d/BOOK-ref.FFF"},
        {"/d/book.v2.txt", "/d/book.v2-ref.txt"}, {"/d/book", "/d/book-ref"},
        {"/d/v1.2/book", "/d/v1.2/book-ref"},    {"/d/my book.fff", "/d/my book-ref.fff"},
    };
    for (const auto& [input, derived] : cases)
        EXPECT_EQ(DerivedOutputPath(input), derived);
}

TEST(DroppedFile, DefinitionFilesEndInDefInAnyCase)
{
    EXPECT_TRUE(IsDefinitionFile("levels.def"));
    EXPECT_TRUE(IsDefinitionFile("LEVELS.DEF"));
    EXPECT_TRUE(IsDefinitionFile("Levels.Def"));
    EXPECT_FALSE(IsDefinitionFile("levels.fff"));
    EXPECT_FALSE(IsDefinitionFile("def"));
}

// The input and its derived output fill the boxes, not their histories; the
// output dialog starts on the input; an output already given stays.
TEST(DroppedFile, InputFillsInputAndOutput)
{
    ModelFixture f;
    const std::string input = f.dir.File("book.fff");
    WriteFileBytes(input, "<RD>x\r\n");
    f.SeedHistory(HistoryBox::InputFile, {"old.fff"});
    f.Type(HistoryBox::RefPattern, "1");
    f.model.FileDropped(input);
    EXPECT_EQ(f.view.BoxText(HistoryBox::InputFile), input);
    EXPECT_EQ(f.view.BoxText(HistoryBox::OutputFile), f.dir.File("book-ref.fff"));
    EXPECT_EQ(f.model.SaveDialog().fileName, input);
    EXPECT_TRUE(f.view.beginEnabled);
    EXPECT_EQ(f.model.History(HistoryBox::InputFile), Names{"old.fff"});
    EXPECT_TRUE(f.model.History(HistoryBox::OutputFile).empty());

    f.Type(HistoryBox::OutputFile, "/elsewhere/out.fff");
    f.model.FileDropped(f.dir.File("other.fff"));
    EXPECT_EQ(f.view.BoxText(HistoryBox::OutputFile), "/elsewhere/out.fff");
    EXPECT_TRUE(f.dialogs.errorBoxes.empty());
}

TEST(DroppedFile, DefinitionFileImportsTheLevelNames)
{
    ModelFixture f;
    const std::string path = f.dir.File("Levels.Def");
    WriteFileBytes(path, "<CM>levels</CM>\r\n<LN:Tome,Testament,\"Book Name\",Chapter>\r\n");
    for (int i = 0; i < kLevelCount; ++i)
        f.Type(LevelBox(i), "old");
    f.SeedHistory(HistoryBox::Level1, {"Tome"});
    f.Type(HistoryBox::InputFile, "in.fff");
    f.model.FileDropped(path);
    EXPECT_EQ(f.LevelTexts(), (Names{"Testament", "Book Name", "Chapter", "", "", "", ""}));
    EXPECT_EQ(f.model.History(HistoryBox::Level1), Names{"Tome"});
    EXPECT_EQ(f.view.BoxText(HistoryBox::InputFile), "in.fff");
    EXPECT_EQ(f.view.BoxText(HistoryBox::OutputFile), "");
    EXPECT_TRUE(f.dialogs.fileDialogs.empty());
    EXPECT_TRUE(f.dialogs.errorBoxes.empty());
}

TEST(DroppedFile, UnreadableDefinitionFileReachesTheErrorHandler)
{
    ModelFixture f;
    const std::string missing = f.dir.File("gone.def");
    f.Type(HistoryBox::Level1, "Book");
    f.model.FileDropped(missing);
    ASSERT_EQ(f.dialogs.errorBoxes.size(), 1u);
    EXPECT_EQ(f.dialogs.errorBoxes[0].first, kApplicationTitle);
    EXPECT_EQ(f.dialogs.errorBoxes[0].second, "Cannot open file " + missing + "\rno such file");
    EXPECT_EQ(f.LevelTexts(), Names(kLevelCount, ""));
    EXPECT_EQ(f.view.BoxText(HistoryBox::InputFile), "");
}

}  // namespace
}  // namespace pellimar::testing
