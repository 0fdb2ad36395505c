// The file's own characters in the window model: what a person types is
// written in the file's encoding, what the file and the settings hold is
// shown as the screen shows text, and a character the encoding lacks is
// refused before the run.
#include <gtest/gtest.h>

#include "settings/settings_store.h"
#include "window_model/model_fixture.h"
#include "window_model/screen_text.h"

namespace pellimar::testing {
namespace {

// UTF-8 as the screen gives it, and the same text in Windows-1252.
const std::string kScreenDashQuotes = "1 \xE2\x80\x94 \xE2\x80\x9C#\xE2\x80\x9D";  // 1 — “#”
const std::string kFileDashQuotes = "1 \x97 \x93#\x94";
const std::string kScreenEpitre = "\xC3\x89p\xC3\xAEtre";  // Épître
const std::string kFileEpitre = "\xC9p\xEEtre";

TEST(ScreenText, TypedCharactersReachTheFileInItsEncoding)
{
    ModelFixture f;
    f.Prepare("<RD:" + kFileEpitre + ">Romains\r\n<RD>texte\r\n", kScreenDashQuotes);
    f.Type(HistoryBox::Level1, kScreenEpitre);
    f.Type(HistoryBox::PagePattern, "[#]");
    f.dialogs.inputAnswers = {std::string("4")};
    f.dialogs.answers = {MessageAnswer::No};
    f.model.Carry(Command::BeginOrCancel);
    EXPECT_EQ(f.dialogs.MessageTexts(), Names{"1 total references created.\rView output file?"});
    EXPECT_NE(ReadFileBytes(f.outputPath).find("<CS:Reference>Romains \x97 \x93" "4\x94<CR>"), std::string::npos);

    f.model.BoxLeft(HistoryBox::RefPattern);
    f.model.BoxLeft(HistoryBox::Level1);
    f.model.Carry(Command::Exit);
    const SettingsData saved = LoadSettings(f.Paths());
    EXPECT_EQ(saved.refPatternHistory, Names{kFileDashQuotes});
    EXPECT_EQ(saved.levelHistories[0], Names{kFileEpitre});
    EXPECT_EQ(ReadFileBytes(f.Paths().refPatterns), kFileDashQuotes + "\r\n");
}

TEST(ScreenText, CharactersTheFileCannotHoldAreRefusedNamingTheBox)
{
    struct Case {
        HistoryBox box;
        std::string typed;
        std::string message;
    };
    const std::string arrow = "a\xE2\x86\x92" "1";  // a→1
    const Case cases[] = {
        {HistoryBox::Level3, arrow, "The Level 3 box holds \"\xE2\x86\x92\", a character"},
        {HistoryBox::PagePattern, arrow, "The Page # Pattern box holds \"\xE2\x86\x92\", a character"},
        {HistoryBox::RefPattern, arrow, "The Reference Pattern box holds \"\xE2\x86\x92\", a character"},
        // One that would not show between quotes is named by its code point.
        {HistoryBox::RefPattern, "a\xE2\x80\x8B" "1", "The Reference Pattern box holds U+200B, a character"},
    };
    for (const Case& c : cases) {
        ModelFixture f;
        f.Prepare("<RD:Book>Genesis\r\n<RD>x\r\n");
        f.Type(HistoryBox::Level1, "Book");
        f.Type(c.box, c.typed);
        f.model.Carry(Command::BeginOrCancel);
        f.model.Carry(Command::Preview);
        ASSERT_EQ(f.dialogs.messages.size(), 2u);
        EXPECT_TRUE(f.dialogs.messages[0].text.starts_with(c.message)) << f.dialogs.messages[0].text;
        EXPECT_NE(f.dialogs.messages[0].text.find(FileEncodingName()), std::string::npos);
        EXPECT_EQ(f.dialogs.messages[1].text, f.dialogs.messages[0].text);
        EXPECT_FALSE(std::filesystem::exists(f.outputPath));
        EXPECT_TRUE(f.dialogs.previews.empty());
        EXPECT_TRUE(f.model.History(c.box).empty());  // the settings could not keep it
    }
}

TEST(ScreenText, FileTextIsShownAsTheScreenShowsIt)
{
    ModelFixture f;
    SettingsData stored;
    stored.levelHistories[0] = {kFileEpitre};
    stored.refPatternHistory = {kFileDashQuotes};
    stored.inputHistory = {"/data/caf\xC3\xA9.fff"};  // file names stay as they are
    stored.outputHistory = {"/data/caf\xC3\xA9-ref.fff"};
    SaveSettings(f.Paths(), stored);
    f.model.FirstShown();
    EXPECT_EQ(f.view.lists[0], Names{kScreenEpitre});
    EXPECT_EQ(f.view.lists[BoxIndex(HistoryBox::RefPattern)], Names{kScreenDashQuotes});
    EXPECT_EQ(f.view.lists[BoxIndex(HistoryBox::InputFile)], stored.inputHistory);
    EXPECT_EQ(f.view.lists[BoxIndex(HistoryBox::OutputFile)], stored.outputHistory);

    // The entry typed again is the stored one, and Ctrl+Delete finds it.
    f.Type(HistoryBox::RefPattern, kScreenDashQuotes);
    f.model.DeleteShownEntry(HistoryBox::RefPattern);
    EXPECT_TRUE(f.model.History(HistoryBox::RefPattern).empty());

    const std::string levels = f.dir.File("levels.def");
    WriteFileBytes(levels, "<LN:T," + kFileEpitre + ",\x93Part\x94>\r\n");
    f.dialogs.fileAnswers = {levels};
    f.model.Carry(Command::LoadLevels);
    EXPECT_EQ(f.view.BoxText(HistoryBox::Level1), kScreenEpitre);
    EXPECT_EQ(f.view.BoxText(HistoryBox::Level2), "\xE2\x80\x9CPart\xE2\x80\x9D");

    f.Prepare("<RD:" + kFileEpitre + ">Romains \x96 I\r\n<RD>\x85suite\r\n", "1");
    f.model.Carry(Command::Preview);
    ASSERT_EQ(f.dialogs.previews.size(), 1u);
    ASSERT_EQ(f.dialogs.previews[0].size(), 1u);
    EXPECT_EQ(f.dialogs.previews[0][0].text, "Romains \xE2\x80\x93 I");
    EXPECT_EQ(f.dialogs.previews[0][0].recordStart, "\xE2\x80\xA6suite");
}

}  // namespace
}  // namespace pellimar::testing
