// The window model's small commands: the Begin rule, the boxes' histories and
// typed-character filter, the file dialogs, the menus, the preference
// switches, settings at first show and close, errors, About and Help.
#include <gtest/gtest.h>

#include <algorithm>

#include "settings/ini_file.h"
#include "settings/settings_store.h"
#include "streams/exceptions.h"
#include "window_model/box_exit_rule.h"
#include "window_model/model_fixture.h"

namespace pellimar::testing {
namespace {

TEST(BoxExitRule, ABoxIsLeftOnlyWhenTheFocusReachesAnotherControl)
{
    BoxExitRule rule;
    EXPECT_EQ(rule.FocusReached(HistoryBox::Level1), std::nullopt);
    // Back in the same box after a dialog or the box's own list: nothing.
    EXPECT_EQ(rule.FocusReached(HistoryBox::Level1), std::nullopt);
    EXPECT_EQ(rule.FocusReached(HistoryBox::PagePattern), HistoryBox::Level1);
    EXPECT_EQ(rule.FocusReached(std::nullopt), HistoryBox::PagePattern);
    EXPECT_EQ(rule.FocusReached(std::nullopt), std::nullopt);
}

TEST(BeginRule, NeedsInputOutputAndPattern)
{
    struct Case {
        const char* name;
        std::string input, output, pattern;
        bool enabled;
    };
    const Case cases[] = {
        {"all filled", "a.fff", "b.fff", "1", true},
        {"names differ only in case", "a.fff", "A.fff", "1", true},
        {"same name", "a.fff", "a.fff", "1", false},
        {"no input", "", "b.fff", "1", false},
        {"no output", "a.fff", "", "1", false},
        {"no pattern", "a.fff", "b.fff", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ModelFixture f;
        f.Type(HistoryBox::InputFile, c.input);
        f.Type(HistoryBox::OutputFile, c.output);
        f.Type(HistoryBox::RefPattern, c.pattern);
        EXPECT_EQ(f.view.beginEnabled, c.enabled);
    }
}

TEST(BoxHistory, EnterAddsANewEntryAtTheTopAndKeepsExistingOnes)
{
    ModelFixture f;
    f.SeedHistory(HistoryBox::Level1, {"Book"});
    f.view.SetBoxText(HistoryBox::Level1, "Chapter");
    f.model.EnterInBox(HistoryBox::Level1);
    EXPECT_EQ(f.view.lists[0], (Names{"Chapter", "Book"}));
    EXPECT_EQ(f.view.BoxText(HistoryBox::Level1), "Chapter");
    f.view.SetBoxText(HistoryBox::Level1, "cHAPTER");
    f.model.EnterInBox(HistoryBox::Level1);
    f.view.SetBoxText(HistoryBox::Level1, "");
    f.model.EnterInBox(HistoryBox::Level1);
    EXPECT_EQ(f.model.History(HistoryBox::Level1), (Names{"Chapter", "Book"}));
}

TEST(BoxHistory, LeavingABoxAddsItsTextAndRunsTheBeginRule)
{
    ModelFixture f;
    f.view.SetBoxText(HistoryBox::InputFile, "a.fff");
    f.view.SetBoxText(HistoryBox::OutputFile, "b.fff");
    f.view.SetBoxText(HistoryBox::RefPattern, "1 2:#");
    f.model.BoxLeft(HistoryBox::RefPattern);
    EXPECT_EQ(f.view.lists[BoxIndex(HistoryBox::RefPattern)], Names{"1 2:#"});
    EXPECT_TRUE(f.view.beginEnabled);
}

TEST(BoxHistory, CaseIsIgnoredForAsciiAndLatin1Letters)
{
    EXPECT_TRUE(SameHistoryEntry("Section", "SECTION"));
    EXPECT_TRUE(SameHistoryEntry("\xC9tude", "\xE9TUDE"));  // Latin-1 E acute
    EXPECT_FALSE(SameHistoryEntry("\xD7", "\xF7"));        // multiplication and division signs
    EXPECT_FALSE(SameHistoryEntry("Section", "Sections"));
}

TEST(BoxHistory, CtrlDeleteRemovesTheShownEntry)
{
    ModelFixture f;
    f.SeedHistory(HistoryBox::OutputFile, {"/a/one.fff", "/a/two.fff"});
    f.view.SetBoxText(HistoryBox::OutputFile, "/a/three.fff");
    f.model.DeleteShownEntry(HistoryBox::OutputFile);
    EXPECT_EQ(f.model.History(HistoryBox::OutputFile).size(), 2u);
    EXPECT_EQ(f.view.BoxText(HistoryBox::OutputFile), "/a/three.fff");
    f.view.SetBoxText(HistoryBox::OutputFile, "/A/ONE.fff");
    f.model.DeleteShownEntry(HistoryBox::OutputFile);
    EXPECT_EQ(f.view.lists[BoxIndex(HistoryBox::OutputFile)], Names{"/a/two.fff"});
    EXPECT_EQ(f.view.BoxText(HistoryBox::OutputFile), "");
}

TEST(BoxHistory, BracketsAreDiscardedInNineBoxes)
{
    ModelFixture f;
    for (int i = 0; i < kHistoryBoxCount; ++i) {
        const auto box = static_cast<HistoryBox>(i);
        const bool pattern = box == HistoryBox::PagePattern || box == HistoryBox::RefPattern;
        EXPECT_EQ(f.model.AcceptsTypedCharacter(box, '['), pattern) << i;
        EXPECT_EQ(f.model.AcceptsTypedCharacter(box, ']'), pattern) << i;
        EXPECT_TRUE(f.model.AcceptsTypedCharacter(box, 'a')) << i;
    }
}

// The chosen input goes into the box, not yet into its history; the next
// output dialog opens on it.
TEST(FileCommands, InputDialogFillsTheBoxAndOffersItToTheOutputDialog)
{
    ModelFixture f;
    f.dialogs.fileAnswers = {std::string("/data/bible.fff"), std::nullopt};
    f.Type(HistoryBox::OutputFile, "/data/out.fff");
    f.Type(HistoryBox::RefPattern, "1");
    f.model.Carry(Command::InputFile);
    EXPECT_EQ(f.view.BoxText(HistoryBox::InputFile), "/data/bible.fff");
    EXPECT_TRUE(f.view.beginEnabled);  // the Begin rule runs after the dialog
    f.Type(HistoryBox::OutputFile, "");
    EXPECT_TRUE(f.model.History(HistoryBox::InputFile).empty());
    EXPECT_EQ(f.view.focused, HistoryBox::InputFile);
    f.model.Carry(Command::OutputFile);
    EXPECT_EQ(f.dialogs.fileDialogs.back().state.fileName, "/data/bible.fff");
    EXPECT_EQ(f.view.BoxText(HistoryBox::OutputFile), "");
}

// The overwrite question's "No" switches the save dialog's prompt on; the
// output command switches it off again.
// Each dialog is captioned after its purpose and opens in the folder last
// used for that purpose, whatever another use left in the shared dialog.
TEST(FileCommands, DialogsAreTitledAndOpenWhereTheirPurposeLastWent)
{
    ModelFixture f;
    f.dialogs.fileAnswers = {std::string("/data/books/in.fff"), std::string("/opt/viewer/ffview"),
                             std::string("/data/out/out.fff"), std::nullopt, std::nullopt, std::nullopt};
    f.model.Carry(Command::InputFile);
    f.model.Carry(Command::SetViewer);
    f.model.Carry(Command::OutputFile);
    f.model.Carry(Command::InputFile);
    f.model.Carry(Command::SetViewer);
    f.model.Carry(Command::OutputFile);
    std::vector<std::pair<std::string, std::string>> shown;
    for (const ShownFileDialog& dialog : f.dialogs.fileDialogs)
        shown.push_back({dialog.state.title, dialog.state.folder});
    EXPECT_EQ(shown, (std::vector<std::pair<std::string, std::string>>{{"Input File", ""},
                                                                       {"Folio Flat File Viewer", ""},
                                                                       {"Output File", ""},
                                                                       {"Input File", "/data/books"},
                                                                       {"Folio Flat File Viewer", "/opt/viewer"},
                                                                       {"Output File", "/data/out"}}));
    const std::string levels = f.dir.File("levels.def");
    WriteFileBytes(levels, "<LN:T,Book>\r\n");
    f.dialogs.fileAnswers = {levels};
    f.model.Carry(Command::LoadLevels);
    EXPECT_EQ(f.dialogs.fileDialogs.back().state.title, "Load Levels");
}

TEST(FileCommands, OutputDialogSwitchesTheOverwritePromptOff)
{
    ModelFixture f;
    f.Prepare("text", "x");
    WriteFileBytes(f.outputPath, "old");
    f.dialogs.answers = {MessageAnswer::No};
    f.model.Carry(Command::BeginOrCancel);
    ASSERT_TRUE(f.model.SaveDialog().overwritePrompt);
    f.dialogs.fileAnswers = {std::string("/data/out.fff")};
    f.model.Carry(Command::OutputFile);
    EXPECT_TRUE(f.dialogs.fileDialogs.back().save);
    EXPECT_FALSE(f.dialogs.fileDialogs.back().state.overwritePrompt);
    EXPECT_EQ(f.dialogs.fileDialogs.back().state.defaultExtension, "FFF");
    EXPECT_EQ(f.view.BoxText(HistoryBox::OutputFile), "/data/out.fff");
    EXPECT_EQ(f.view.focused, HistoryBox::OutputFile);
    EXPECT_TRUE(f.view.beginEnabled);
}

TEST(Menus, FileMenuMirrorsTheButtons)
{
    ModelFixture f;
    f.model.FileMenuOpening();
    EXPECT_FALSE(f.view.menu.Enabled(Command::BeginOrCancel));
    EXPECT_EQ(f.view.menu.beginCaption, kBeginCaption);
    EXPECT_TRUE(f.view.menu.Enabled(Command::Exit));
    for (const Command always : {Command::LoadLevels, Command::InputFile, Command::OutputFile, Command::SetViewer})
        EXPECT_TRUE(f.view.menu.Enabled(always)) << static_cast<int>(always);
    f.Prepare("text", "x");
    f.model.FileMenuOpening();
    EXPECT_TRUE(f.view.menu.Enabled(Command::BeginOrCancel));
}

TEST(Menus, PreferencesShowTheSwitches)
{
    ModelFixture f;
    TIniFile ini(f.Paths().iniFile);
    ini.WriteString("Options", "NoProgMeter", "1");
    ini.WriteString("Options", "UseHR", "1");
    ini.WriteString("Options", "IDRecords", "1");
    f.model.FirstShown();
    f.model.PreferencesMenuOpening();
    EXPECT_FALSE(f.view.marks.On(Preference::LeftJustOnly));
    EXPECT_FALSE(f.view.marks.On(Preference::ShowProgMeter));
    EXPECT_TRUE(f.view.marks.On(Preference::UseHR));
    EXPECT_TRUE(f.view.marks.On(Preference::IdRecords));
    f.model.TogglePreference(Preference::LeftJustOnly);
    f.model.TogglePreference(Preference::UseHR);
    f.model.TogglePreference(Preference::IdRecords);
    EXPECT_TRUE(f.model.Prefs().On(Preference::LeftJustOnly));
    EXPECT_FALSE(f.model.Prefs().On(Preference::UseHR));
    EXPECT_FALSE(f.model.Prefs().On(Preference::IdRecords));
    f.model.PreferencesMenuOpening();
    EXPECT_TRUE(f.view.marks.On(Preference::LeftJustOnly));
    EXPECT_FALSE(f.view.marks.On(Preference::UseHR));
    EXPECT_FALSE(f.view.marks.On(Preference::IdRecords));
}

TEST(WindowSettings, LoadedOnFirstShowAndSavedOnClose)
{
    ModelFixture f;
    SettingsData stored;
    stored.levelHistories[0] = {"Book", "Tome"};
    stored.inputHistory = {"/data/in.fff"};
    stored.refPatternHistory = {"1 2:#"};
    stored.preferences.Set(Preference::NotSearched, true);
    stored.preferences.Set(Preference::ShowProgMeter, false);
    stored.viewerPath = "/usr/bin/viewer";
    SaveSettings(f.Paths(), stored);
    SaveViewerPath(f.Paths(), stored.viewerPath);  // the viewer is stored when set, not at close
    f.model.FirstShown();
    EXPECT_EQ(f.view.lists[0], stored.levelHistories[0]);
    EXPECT_EQ(f.view.BoxText(HistoryBox::Level1), "");
    EXPECT_EQ(f.view.lists[BoxIndex(HistoryBox::InputFile)], stored.inputHistory);
    EXPECT_EQ(f.view.lists[BoxIndex(HistoryBox::RefPattern)], stored.refPatternHistory);
    EXPECT_TRUE(f.view.OptionChecked(Preference::NotSearched));
    EXPECT_FALSE(f.model.Prefs().On(Preference::ShowProgMeter));
    EXPECT_EQ(f.model.ViewerPath(), stored.viewerPath);

    f.SeedHistory(HistoryBox::Level3, {"Verse"});
    f.view.SetOptionChecked(Preference::RemovePageMarks, true);
    f.view.SetOptionChecked(Preference::NotSearched, false);
    f.model.Carry(Command::Exit);
    EXPECT_TRUE(f.view.closed);
    const SettingsData saved = LoadSettings(f.Paths());
    EXPECT_EQ(saved.levelHistories[2], Names{"Verse"});
    EXPECT_TRUE(saved.preferences.On(Preference::RemovePageMarks));
    EXPECT_FALSE(saved.preferences.On(Preference::NotSearched));
    EXPECT_EQ(saved.levelHistories[0], stored.levelHistories[0]);
    EXPECT_TRUE(f.dialogs.errorBoxes.empty());
}

// A full stop after a path would read as part of the file's name, so none
// is added to any message.
TEST(GeneralErrors, EndWhereTheirTextEnds)
{
    ModelFixture f;
    f.model.HandleException(Exception("Cannot open file /x/y.fff"));
    f.model.HandleException(Exception("Stream read error"));
    f.model.HandleException(Exception("Done."));
    ASSERT_EQ(f.dialogs.errorBoxes.size(), 3u);
    EXPECT_EQ(f.dialogs.errorBoxes[0].first, "Folio Flat File Pellimar");
    EXPECT_EQ(f.dialogs.errorBoxes[0].second, "Cannot open file /x/y.fff");
    EXPECT_EQ(f.dialogs.errorBoxes[1].second, "Stream read error");
    EXPECT_EQ(f.dialogs.errorBoxes[2].second, "Done.");
}

TEST(HelpCommands, AboutAndHelp)
{
    ModelFixture f;
    f.model.Carry(Command::AboutPellimar);
    ASSERT_EQ(f.dialogs.messages.size(), 1u);
    EXPECT_EQ(f.dialogs.messages[0].kind, MessageKind::Information);
    const std::string about = f.dialogs.messages[0].text;
    EXPECT_TRUE(about.starts_with("Folio Flat File Pellimar\rFor use with Views 3.1 Flat File code.\r\rVersion " +
                                  std::string(PELLIMAR_VERSION) + "\r"))
        << about;
    EXPECT_EQ(std::count(about.begin(), about.end(), '\r'), 7);
    EXPECT_EQ(about.find("home page"), std::string::npos);
    EXPECT_NE(about.find("The Pellimar developers, under the MIT licence"), std::string::npos);
    f.model.Carry(Command::UsingPellimar);
    EXPECT_EQ(f.dialogs.helpShown, Names{f.dir.File("guide.md")});
}

}  // namespace
}  // namespace pellimar::testing
