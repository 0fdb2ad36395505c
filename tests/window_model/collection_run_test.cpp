// Several files converted in one run from the window: the dialogs that
// choose them, the checks, the one overwrite question, the window while it
// runs, the one page question, cancel, and the summary.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <map>

#include "run/finding_table.h"
#include "run/run_checks.h"
#include "settings/settings_store.h"
#include "streams/file_faults.h"
#include "window_model/error_box.h"
#include "window_model/model_fixture.h"

namespace pellimar::testing {
namespace {

std::string Book(const std::string& title, int records)
{
    std::string text = "<RD:Book>" + title + "\r\n";
    for (int i = 0; i < records; ++i)
        text += "<RD>record text\r\n";
    return text;
}

struct CollectionFixture : ModelFixture {
    CollectionFixture()
    {
        std::filesystem::create_directory(dir.File("in"));
        std::filesystem::create_directory(dir.File("out"));
        Type(HistoryBox::Level1, "Book");
        Type(HistoryBox::RefPattern, "1");
    }

    // Inputs a.fff, b.fff, ... in their own folder, the first `records`
    // records long, each later one ten more.
    Names Inputs(int count, int records = 2)
    {
        Names inputs;
        for (int i = 0; i < count; ++i) {
            inputs.push_back(dir.File("in/" + std::string(1, static_cast<char>('a' + i)) + ".fff"));
            WriteFileBytes(inputs.back(), Book("T" + std::to_string(i), records + 10 * i));
        }
        return inputs;
    }
    // As the collection names its outputs: the folder, the system's
    // separator, the input's name.
    std::string Out(const std::string& name) const
    {
        return (std::filesystem::path(dir.File("out")) / name).string();
    }

    // Through the menu: the files, then the folder.
    void ConvertSeveral(const Names& inputs, const std::string& folder)
    {
        dialogs.severalFileAnswers.push_back(inputs);
        dialogs.folderAnswers.push_back(folder);
        model.Carry(Command::ConvertSeveral);
    }

    // The box at the end of each collection: its heading, then a line for
    // each row of its list ("a.fff | 2 references | remark").
    Names EndBoxes() const
    {
        Names boxes;
        for (const PreviewShown& list : dialogs.lists) {
            if (list.caption != "Convert Several Files")
                continue;
            std::string box = list.heading;
            for (const PreviewFile& file : list.files) {
                box += "\n" + file.input + " | " + file.counts + " | " + file.remark;
                for (const std::string& detail : file.details)
                    box += "\n  " + detail;
            }
            boxes.push_back(box);
        }
        return boxes;
    }
    std::string Heading(const std::string& summary) const
    {
        return summary + "\rThe outputs are in " + dir.File("out") + ".";
    }
};

TEST(CollectionRun, EachFileGoesToTheFolderAndOneSummaryFollows)
{
    CollectionFixture f;
    f.ConvertSeveral(f.Inputs(3), f.dir.File("out"));
    for (const char* name : {"a.fff", "b.fff", "c.fff"})
        EXPECT_NE(ReadFileBytes(f.Out(name)).find("<CS:Reference>T"), std::string::npos) << name;
    // The input dialog is the open dialog's, under its own caption; the
    // folder dialog opens, the first time, above the inputs' own folder.
    ASSERT_EQ(f.dialogs.fileDialogs.size(), 1u);
    EXPECT_EQ(f.dialogs.fileDialogs[0].state.title, "Convert Several Files");
    EXPECT_EQ(f.dialogs.folderDialogs,
              (std::vector<std::pair<std::string, std::string>>{{"Output Folder", f.dir.Path().string()}}));
    // 2 + 12 + 22 records, each with a reference, in the folder chosen; the
    // viewer is not offered.
    EXPECT_TRUE(f.dialogs.messages.empty());
    EXPECT_EQ(f.EndBoxes(), Names{f.Heading("3 files, 36 total references created.") + "\n" + f.dir.File("in/a.fff") +
                                  " | 2 references | \n" + f.dir.File("in/b.fff") + " | 12 references | \n" +
                                  f.dir.File("in/c.fff") + " | 22 references | "});
    EXPECT_TRUE(f.launcher.started.empty());
    EXPECT_FALSE(f.model.Session().IsRunning());
}

TEST(CollectionRun, CaptionNamesEachFileAndTheTaskbarFollowsTheWhole)
{
    CollectionFixture f;
    f.ConvertSeveral(f.Inputs(3, 200), f.dir.File("out"));
    const std::string app = kApplicationTitle;
    EXPECT_EQ(f.view.captions, (Names{"1 of 3: a.fff - " + app, "2 of 3: b.fff - " + app, "3 of 3: c.fff - " + app,
                                      app}));
    ASSERT_GE(f.view.taskProgress.size(), 100u);
    EXPECT_EQ(f.view.taskProgress.front(), 0);
    EXPECT_EQ(f.view.taskProgress.back(), std::nullopt);
    EXPECT_EQ(f.view.taskProgress[f.view.taskProgress.size() - 2], 100);
    // The gauge covers the whole collection: it reaches 100 only once.
    EXPECT_EQ(std::count(f.view.percents.begin(), f.view.percents.end(), 100), 1);
}

// Also after a collection: its file names are not shown again.
TEST(CollectionRun, SingleRunTellsTheTaskbarAndKeepsTheCaption)
{
    CollectionFixture f;
    f.ConvertSeveral(f.Inputs(2), f.dir.File("out"));
    const std::size_t captionsOfTheCollection = f.view.captions.size();
    f.Prepare(Book("G", 300));
    f.model.Carry(Command::BeginOrCancel);
    EXPECT_EQ(f.view.captions.size(), captionsOfTheCollection);
    ASSERT_FALSE(f.view.taskProgress.empty());
    EXPECT_EQ(f.view.taskProgress.back(), std::nullopt);
}

TEST(CollectionRun, FolderDialogStartsInTheLastFolderAlsoAfterARestart)
{
    CollectionFixture f;
    const Names inputs = f.Inputs(2);
    f.ConvertSeveral(inputs, f.dir.File("out"));
    f.dialogs.severalFileAnswers.push_back(inputs);
    f.model.Carry(Command::ConvertSeveral);  // the folder dialog cancelled
    EXPECT_EQ(f.dialogs.folderDialogs.back().second, f.dir.File("out"));
    ASSERT_TRUE(f.model.CloseRequested());
    EXPECT_EQ(LoadSettings(f.Paths()).outputFolder, f.dir.File("out"));

    ModelFixture restarted;
    SettingsData data;
    data.outputFolder = f.dir.File("out");
    SaveSettings(restarted.Paths(), data);
    restarted.model.FirstShown();
    restarted.Type(HistoryBox::RefPattern, "1");
    restarted.dialogs.severalFileAnswers.push_back(inputs);
    restarted.model.Carry(Command::ConvertSeveral);
    EXPECT_EQ(restarted.dialogs.folderDialogs.back().second, f.dir.File("out"));
}

TEST(CollectionRun, CancelledDialogsConvertNothing)
{
    CollectionFixture f;
    f.model.Carry(Command::ConvertSeveral);  // no files chosen
    f.dialogs.severalFileAnswers.push_back(f.Inputs(2));
    f.model.Carry(Command::ConvertSeveral);  // no folder chosen
    EXPECT_EQ(f.dialogs.folderDialogs.size(), 1u);
    EXPECT_TRUE(f.dialogs.messages.empty());
    EXPECT_TRUE(std::filesystem::is_empty(f.dir.File("out")));
}

TEST(CollectionRun, EveryReasonIsToldAtOnceAndNothingIsWritten)
{
    CollectionFixture f;
    Names inputs = f.Inputs(2);
    inputs.push_back(f.dir.File("in/missing.fff"));
    inputs.push_back(inputs[0]);  // twice: one output name for two inputs
    f.ConvertSeveral(inputs, f.dir.File("out"));
    ASSERT_EQ(f.dialogs.messages.size(), 1u);
    EXPECT_EQ(f.dialogs.messages[0].kind, MessageKind::Error);
    const std::string& told = f.dialogs.messages[0].text;
    EXPECT_NE(told.find("Input file not found.\r" + inputs[2] + ": no such file"), std::string::npos) << told;
    EXPECT_NE(told.find("the output of " + inputs[0] + " too"), std::string::npos) << told;
    EXPECT_FALSE(f.model.Session().IsRunning());
    EXPECT_TRUE(std::filesystem::is_empty(f.dir.File("out")));
}

// A folder whose outputs would be inputs (the inputs' own, or one with a
// hard link to one of them) is refused as soon as it is chosen, naming the
// outputs and the inputs they are; the folder dialog comes back with the
// files still chosen, and nothing is written.
TEST(CollectionRun, FolderHoldingAnInputIsRefusedAtOnceAndAskedAgain)
{
    CollectionFixture f;
    const Names inputs = f.Inputs(3);
    std::filesystem::create_hard_link(inputs[2], f.Out("a.fff"));
    std::filesystem::create_directory(f.dir.File("other"));
    f.dialogs.severalFileAnswers.push_back(inputs);
    f.dialogs.folderAnswers = {f.dir.File("in"), f.dir.File("out"), f.dir.File("other")};
    f.model.Carry(Command::ConvertSeveral);
    EXPECT_EQ(f.dialogs.fileDialogs.size(), 1u);
    EXPECT_EQ(f.dialogs.folderDialogs.size(), 3u);
    ASSERT_EQ(f.dialogs.messages.size(), 2u);
    const std::string inOwn = (std::filesystem::path(f.dir.File("in")) / "b.fff").string();
    EXPECT_EQ(f.dialogs.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(f.dialogs.messages[0].text,
              "The outputs cannot go into " + f.dir.File("in") + ": it holds inputs of this run. Choose another folder.");
    EXPECT_NE(f.dialogs.messages[0].note.find("Cannot create file " + inOwn + "\rit is the input file"),
              std::string::npos)
        << f.dialogs.messages[0].note;
    EXPECT_EQ(f.dialogs.messages[1].note,
              "Cannot create file " + f.Out("a.fff") + "\rit is " + inputs[2] + ", an input of this run");
    ASSERT_EQ(f.EndBoxes().size(), 1u);
    EXPECT_TRUE(f.EndBoxes()[0].starts_with("3 files, 36 total references created.\rThe outputs are in " +
                                            f.dir.File("other") + ".\n"))
        << f.EndBoxes()[0];
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(ReadFileBytes(inputs[i]), Book("T" + std::to_string(i), 2 + 10 * i));
    EXPECT_EQ(testing::FileNames(f.dir.File("out")), std::set<std::string>{"a.fff"});
}

// A folder typed that is not there is made where the folder it would be in
// is, as the command line makes its -d folder; one deeper is refused.
TEST(CollectionRun, MissingOutputFolderIsMadeWhereItsFolderIs)
{
    CollectionFixture f;
    f.ConvertSeveral(f.Inputs(2), f.dir.File("nowhere/deeper"));
    ASSERT_EQ(f.dialogs.messages.size(), 1u);
    EXPECT_TRUE(f.dialogs.messages[0].text.starts_with("The output folder cannot take the outputs.\r" +
                                                       f.dir.File("nowhere/deeper")))
        << f.dialogs.messages[0].text;
    EXPECT_FALSE(std::filesystem::exists(f.dir.File("nowhere")));
    f.ConvertSeveral(f.Inputs(2), f.dir.File("made"));
    EXPECT_EQ(testing::FileNames(f.dir.File("made")), (std::set<std::string>{"a.fff", "b.fff"}));
    ASSERT_EQ(f.EndBoxes().size(), 1u);
}

// Cancel leaves every file as it was, Yes replaces them all; there is no
// third answer.
TEST(CollectionRun, ExistingOutputsAreNamedInOneQuestion)
{
    for (const MessageAnswer answer : {MessageAnswer::Cancel, MessageAnswer::Yes}) {
        CollectionFixture f;
        WriteFileBytes(f.Out("a.fff"), "old a");
        WriteFileBytes(f.Out("c.fff"), "old c");
        f.dialogs.answers = {answer, MessageAnswer::Ok};
        f.ConvertSeveral(f.Inputs(3), f.dir.File("out"));
        ASSERT_FALSE(f.dialogs.messages.empty());
        const ShownMessage& question = f.dialogs.messages[0];
        EXPECT_EQ(question.text, "2 output files exist. Overwrite?");
        EXPECT_EQ(question.kind, MessageKind::Warning);
        EXPECT_EQ(question.buttons, MessageButtons::YesCancel);
        EXPECT_EQ(question.note, f.Out("a.fff") + "\r" + f.Out("c.fff"));
        const bool replaced = answer == MessageAnswer::Yes;
        EXPECT_EQ(f.dialogs.messages.size(), 1u);
        EXPECT_EQ(f.EndBoxes().size(), replaced ? 1u : 0u);
        EXPECT_EQ(ReadFileBytes(f.Out("a.fff")) == "old a", !replaced);
        EXPECT_EQ(ReadFileBytes(f.Out("c.fff")) == "old c", !replaced);
        EXPECT_EQ(std::filesystem::exists(f.Out("b.fff")), replaced);
    }
}

// A box must fit on the screen: twelve names are shown whole, a thirteenth
// is counted.
TEST(CollectionRun, LongListsOfOutputsAreCutAfterTwelve)
{
    for (const int count : {12, 13}) {
        CollectionFixture f;
        const Names inputs = f.Inputs(count, 0);
        for (const std::string& input : inputs)
            WriteFileBytes(f.Out(std::filesystem::path(input).filename().string()), "old");
        f.dialogs.answers = {MessageAnswer::Cancel};
        f.ConvertSeveral(inputs, f.dir.File("out"));
        ASSERT_EQ(f.dialogs.messages.size(), 1u);
        const std::string& note = f.dialogs.messages[0].note;
        EXPECT_NE(note.find(f.Out("l.fff")), std::string::npos) << count;
        EXPECT_EQ(note.find(f.Out("m.fff")), std::string::npos) << count;
        EXPECT_EQ(note.find("... and") != std::string::npos, count == 13) << note;
        EXPECT_EQ(note.ends_with("\r... and 1 more."), count == 13) << note;
    }
}

// Cancelled in the second file: the note says what deleting it leaves, and
// names every other output by what it is now, so that an earlier run's file
// cannot pass for this run's.
TEST(CollectionRun, CancelAsksOnceAboutTheFileBeingWritten)
{
    for (const bool earlierB : {true, false}) {
        for (const MessageAnswer keep : {MessageAnswer::Yes, MessageAnswer::No}) {
            CollectionFixture f;
            WriteFileBytes(f.Out("a.fff"), "old a");
            if (earlierB)
                WriteFileBytes(f.Out("b.fff"), "old b");
            WriteFileBytes(f.Out("c.fff"), "old c");
            f.view.probe = [&](std::int32_t) {
                if (f.view.captions.back().starts_with("2 of 4"))
                    f.model.Carry(Command::BeginOrCancel);  // reads Cancel while the run lasts
            };
            f.dialogs.answers = {MessageAnswer::Yes, keep};  // overwrite; delete the partial output?
            f.ConvertSeveral(f.Inputs(4, 300), f.dir.File("out"));
            ASSERT_EQ(f.dialogs.messages.size(), 2u);
            EXPECT_EQ(f.dialogs.messages[1].text, "Operation Canceled.\rDelete output file?");
            EXPECT_EQ(f.dialogs.messages[1].note,
                      f.Out("b.fff") + " was being written. Deleting it leaves " +
                          (earlierB ? "the earlier file under its name as it was." : "no file under its name.") +
                          "\r\rConverted by this run: " + f.Out("a.fff") +
                          "\rLeft as it was, from an earlier run: " + f.Out("c.fff") + "\rNot written: " +
                          f.Out("d.fff"));
            EXPECT_NE(ReadFileBytes(f.Out("a.fff")).find("<CS:Reference>T0"), std::string::npos);
            if (keep == MessageAnswer::No)
                EXPECT_TRUE(std::filesystem::exists(f.Out("b.fff")) && ReadFileBytes(f.Out("b.fff")) != "old b");
            else if (earlierB)
                EXPECT_EQ(ReadFileBytes(f.Out("b.fff")), "old b");
            else
                EXPECT_FALSE(std::filesystem::exists(f.Out("b.fff")));
            EXPECT_EQ(ReadFileBytes(f.Out("c.fff")), "old c");
            EXPECT_FALSE(std::filesystem::exists(f.Out("d.fff")));
            EXPECT_EQ(f.view.captions.back(), kApplicationTitle);
        }
    }
}

// A refused answer is asked again, as in a single run; the answer taken
// starts every later file that needs a page.
TEST(CollectionRun, PageQuestionIsAskedForTheFirstFileOnly)
{
    CollectionFixture f;
    f.Type(HistoryBox::RefPattern, "1 p#");
    f.Type(HistoryBox::PagePattern, "[#]");
    f.dialogs.inputAnswers = {std::string("-1"), std::string("7")};
    f.ConvertSeveral(f.Inputs(3), f.dir.File("out"));
    EXPECT_EQ(f.dialogs.inputTitles.size(), 2u);
    for (const char* name : {"a.fff", "b.fff", "c.fff"})
        EXPECT_NE(ReadFileBytes(f.Out(name)).find(" p7<CR>"), std::string::npos) << name;
}

// A file that fails is told with its reason; the others are converted.
TEST(CollectionRun, FailuresAreListedWithTheirReasons)
{
    CollectionFixture f;
    const Names inputs = f.Inputs(3);
    ArmFileFault(FileCall::PutInPlace, kAccessDeniedError, 1);  // the second output
    f.ConvertSeveral(inputs, f.dir.File("out"));
    DisarmFileFaults();
    ASSERT_EQ(f.EndBoxes().size(), 1u);
    const std::string box = f.EndBoxes()[0];
    EXPECT_TRUE(box.starts_with(f.Heading("2 files, 24 total references created.\r1 file failed.") + "\n")) << box;
    // The file failed with its reason, and what its output is now.
    EXPECT_NE(box.find("\n" + f.dir.File("in/b.fff") + " |  | Cannot create file " + f.Out("b.fff") +
                       "\rpermission denied\rnot written\n"),
              std::string::npos)
        << box;
    EXPECT_TRUE(std::filesystem::exists(f.Out("a.fff")) && std::filesystem::exists(f.Out("c.fff")));
    EXPECT_FALSE(std::filesystem::exists(f.Out("b.fff")));
}

// The outputs converted again: kept beside the new ones, each file says so
// with the advice; replaced, the end box adds them up.
TEST(CollectionRun, EarlierReferencesAreNamedOrAddedUpInTheEndBox)
{
    CollectionFixture f;
    f.ConvertSeveral(f.Inputs(2), f.dir.File("out"));
    std::filesystem::create_directory(f.dir.File("again"));
    const Names converted = {f.Out("a.fff"), f.Out("b.fff")};
    f.ConvertSeveral(converted, f.dir.File("again"));
    f.model.TogglePreference(Preference::ReplaceReferences);
    f.dialogs.answers = {MessageAnswer::Yes, MessageAnswer::Ok};  // the outputs that kept both replaced
    f.ConvertSeveral(converted, f.dir.File("again"));
    ASSERT_EQ(f.EndBoxes().size(), 3u);
    const std::string advice =
        " references from an earlier run; the output has both. Switch on File > Preferences > "
        "Replace Earlier References to replace them.";
    EXPECT_NE(f.EndBoxes()[1].find(converted[0] + " | 2 references | \n  This file already holds 2" + advice),
              std::string::npos)
        << f.EndBoxes()[1];
    EXPECT_NE(f.EndBoxes()[1].find(converted[1] + " | 12 references | \n  This file already holds 12" + advice),
              std::string::npos);
    EXPECT_TRUE(f.EndBoxes()[2].starts_with("2 files, 14 total references created, 14 earlier references replaced."))
        << f.EndBoxes()[2];
    EXPECT_EQ(ReadFileBytes(f.dir.File("again/b.fff")), ReadFileBytes(converted[1]));
}

TEST(CollectionRun, LookAlikesAndCutsAreNamedWithTheirFilesInTheEndBox)
{
    CollectionFixture f;
    const Names inputs = f.Inputs(2);
    WriteFileBytes(inputs[0], "<RD:Book>" + std::string(70000, 'a') + "\r\n<RD>a\r\n<RD>b\r\n");
    WriteFileBytes(inputs[1], "<RD:Book>b\r\n<RD><CS:Reference>mine</CS>\r\n");
    f.ConvertSeveral(inputs, f.dir.File("out"));
    EXPECT_EQ(f.EndBoxes(),
              Names{f.Heading("2 files, 3 total references created.") + "\n" + inputs[0] + " | 2 references | " +
                    "\n  1 heading was longer than 64 KB and keeps its first 64 KB, on line 1." +
                    "\n  2 references were cut to 64 KB, the longest a later run recognises, first on line 2.\n" +
                    inputs[1] + " | 1 reference | " +
                    "\n  1 text after a record code begins like a reference but is not one, on line 2; it was kept."});
}

// For each row of the findings table, a file that has it: the collection's
// end box says so under the file, in the window's words.
TEST(CollectionRun, EveryFindingReachesTheEndBox)
{
    struct Case {
        std::string text;
        std::string level1;  // empty: loaded from a file whose line names Book first
        std::string pattern;
        std::string says;
    };
    const std::string longHeading = "<RD:Book>" + std::string(70000, 'a') + "\r\n<RD>x\r\n";
    const std::map<std::string_view, Case> cases = {
        {"unread_id_records", {"<RD,ID:9:Book>B\r\n<RD>x\r\n", "Book", "1", "in the form <RD,ID:n:Level>"}},
        {"earlier_references_kept",
         {"<RD:Book>B\r\n<RD><CS:Reference>B<CR>\r\n</CS>x\r\n", "Book", "1", "already holds 1 reference"}},
        {"look_alikes", {"<RD:Book>B\r\n<RD><CS:Reference>mine</CS>\r\n", "Book", "1", "like a reference"}},
        {"headings_cut", {longHeading, "Book", "1", "heading was longer"}},
        {"references_cut", {longHeading, "Book", "1 1", "reference was cut"}},
        {"later_line_records", {"<RD:Book>B\r\n<RD>\r\ntext\r\n", "Book", "1", "on the line after"}},
        {"unmatched_levels", {"<RD:Book>B\r\n<RD>x\r\n", "Chaptr", "1", "No level record names"}},
        {"skipped_level_name", {"<RD:Book>B\r\n<RD>x\r\n", "", "1", "first level name \"Book\""}},
        {"id_form_level_records", {"<RD,ID:9:Tome>B\r\n<RD>x\r\n", "Book", "1", "is in the form"}},
    };
    for (const FindingRow& row : FindingTable()) {
        SCOPED_TRACE(row.key);
        ASSERT_TRUE(cases.contains(row.key)) << "no file with this finding";
        const Case& c = cases.at(row.key);
        CollectionFixture f;
        if (c.level1.empty()) {
            WriteFileBytes(f.dir.File("levels.def"), "<LN:Book,Chaptr>\r\n");
            f.dialogs.fileAnswers = {f.dir.File("levels.def")};
            f.model.Carry(Command::LoadLevels);
        } else {
            f.Type(HistoryBox::Level1, c.level1);
        }
        f.Type(HistoryBox::RefPattern, c.pattern);
        const Names inputs = f.Inputs(2);
        WriteFileBytes(inputs[1], c.text);
        f.ConvertSeveral(inputs, f.dir.File("out"));
        ASSERT_EQ(f.EndBoxes().size(), 1u);
        const std::string box = f.EndBoxes()[0];
        const std::size_t row = box.find("\n" + inputs[1] + " | ");
        ASSERT_NE(row, std::string::npos) << box;
        EXPECT_NE(box.rfind(c.says), std::string::npos) << box;
        EXPECT_GT(box.rfind(c.says), row) << box;
    }
}

TEST(CollectionRun, SeveralDroppedFilesAreConvertedAfterTheFolderDialog)
{
    CollectionFixture f;
    f.dialogs.folderAnswers.push_back(f.dir.File("out"));
    f.model.FilesDropped(f.Inputs(2));
    EXPECT_TRUE(f.dialogs.fileDialogs.empty());
    ASSERT_EQ(f.EndBoxes().size(), 1u);
    EXPECT_TRUE(f.EndBoxes()[0].starts_with(f.Heading("2 files, 14 total references created."))) << f.EndBoxes()[0];
    EXPECT_TRUE(f.view.texts[BoxIndex(HistoryBox::InputFile)].empty());
}

TEST(CollectionRun, OneDroppedFileIsTheInputAsBefore)
{
    CollectionFixture f;
    const Names inputs = f.Inputs(1);
    f.model.FilesDropped(inputs);
    EXPECT_TRUE(f.dialogs.folderDialogs.empty());
    EXPECT_EQ(f.view.texts[BoxIndex(HistoryBox::InputFile)], inputs[0]);
}

TEST(CollectionRun, NeedsTheReferencePatternAndNoRunUnderWay)
{
    CollectionFixture f;
    f.Type(HistoryBox::RefPattern, "");
    f.model.FileMenuOpening();
    EXPECT_FALSE(f.view.menu.Enabled(Command::ConvertSeveral));
    f.dialogs.folderAnswers.push_back(f.dir.File("out"));
    f.model.FilesDropped(f.Inputs(2));
    EXPECT_TRUE(f.dialogs.folderDialogs.empty());
    ASSERT_EQ(f.dialogs.messages.size(), 1u);
    EXPECT_EQ(f.dialogs.messages[0].kind, MessageKind::Error);

    f.Type(HistoryBox::RefPattern, "1");
    std::optional<bool> enabledWhileRunning;
    f.view.probe = [&](std::int32_t) {
        f.model.FileMenuOpening();
        enabledWhileRunning = f.view.menu.Enabled(Command::ConvertSeveral);
        EXPECT_FALSE(f.view.menu.Enabled(Command::Exit));
    };
    f.ConvertSeveral(f.Inputs(2), f.dir.File("out"));
    EXPECT_EQ(enabledWhileRunning, false);
    f.model.FileMenuOpening();
    EXPECT_TRUE(f.view.menu.Enabled(Command::ConvertSeveral));
}

TEST(CollectionRun, ClosingTheWindowDiscardsOnlyTheFileBeingWritten)
{
    CollectionFixture f;
    f.view.probe = [&](std::int32_t) {
        if (f.view.captions.back().starts_with("2 of 3"))
            f.view.CloseWindow();
    };
    f.ConvertSeveral(f.Inputs(3, 300), f.dir.File("out"));
    EXPECT_TRUE(f.view.closed);
    EXPECT_TRUE(f.dialogs.messages.empty());
    EXPECT_TRUE(std::filesystem::exists(f.Out("a.fff")));
    EXPECT_FALSE(std::filesystem::exists(f.Out("b.fff")));
    EXPECT_FALSE(std::filesystem::exists(f.Out("c.fff")));
}

// Preview Several Files: each file's counts from the whole pass, its level
// names and notes, a file that fails among them, and nothing written
// anywhere.
TEST(CollectionRun, PreviewListsEachFileWithItsCountsAndWritesNothing)
{
    CollectionFixture f;
    Names inputs = f.Inputs(2);
    const std::string earlier = "<CS:Reference>Old<CR>\r\n</CS>";
    inputs.push_back(f.dir.File("in/old.fff"));
    WriteFileBytes(inputs.back(), "<RD:Book>Old\r\n<RD>" + earlier + "x\r\n");
    const std::set<std::string> before = testing::FileNames(f.dir.File("in"));
    f.dialogs.severalFileAnswers.push_back(inputs);
    f.model.Carry(Command::PreviewSeveral);
    ASSERT_EQ(f.dialogs.fileDialogs.size(), 1u);
    EXPECT_EQ(f.dialogs.fileDialogs[0].state.title, "Preview Several Files");
    EXPECT_TRUE(f.dialogs.folderDialogs.empty());
    ASSERT_EQ(f.dialogs.previewFiles.size(), 1u);
    EXPECT_EQ(f.dialogs.previewHeadings[0], "The run would make 15 references in 3 files:");
    const std::vector<PreviewFile>& files = f.dialogs.previewFiles[0];
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[0].input, inputs[0]);
    EXPECT_EQ(files[0].counts, "2 references");
    EXPECT_EQ(files[1].counts, "12 references");
    // Under each file, the level names it holds, as a single file's preview
    // lists them, then its notes.
    EXPECT_EQ(files[0].details, (Names{"Book (1): T0", "Line 2: T0 | record text", "Line 3: T0 | record text"}));
    EXPECT_EQ(files[2].details,
              (Names{"Book (1): Old", "Line 2: Old | x",
                     "This file already holds 1 reference from an earlier run; the output would have "
                     "both. Switch on File > Preferences > Replace Earlier References to replace it."}));
    EXPECT_EQ(before, testing::FileNames(f.dir.File("in")));
    EXPECT_TRUE(std::filesystem::is_empty(f.dir.File("out")));
    EXPECT_EQ(f.view.captions.back(), kApplicationTitle);

    // A missing file is refused before any pass, as a collection's inputs are.
    f.dialogs.severalFileAnswers.push_back({inputs[0], f.dir.File("in/gone.fff")});
    f.model.Carry(Command::PreviewSeveral);
    EXPECT_EQ(f.dialogs.previewFiles.size(), 1u);
    EXPECT_EQ(f.dialogs.MessageTexts().back(), "Input file not found.\r" + f.dir.File("in/gone.fff") + ": no such file");
}

// Each file's count is of the whole file; only its first references are
// listed, as many as a file alone's preview lists.
TEST(CollectionRun, PreviewListsTheFirstReferencesOfEachFileAndCountsThemAll)
{
    CollectionFixture f;
    f.dialogs.severalFileAnswers.push_back(f.Inputs(1, 25));
    f.model.Carry(Command::PreviewSeveral);
    ASSERT_EQ(f.dialogs.previewFiles.size(), 1u);
    const PreviewFile& file = f.dialogs.previewFiles[0].at(0);
    EXPECT_EQ(file.counts, "25 references");
    ASSERT_EQ(file.details.size(), 1u + 20u);
    EXPECT_EQ(file.details.back(), "Line 21: T0 | record text");
}

// Replacing earlier references, the heading counts those it would replace,
// and says nothing of them where there are none.
TEST(CollectionRun, PreviewHeadingCountsTheReferencesItWouldReplace)
{
    CollectionFixture f;
    Names inputs = f.Inputs(2);
    f.model.TogglePreference(Preference::ReplaceReferences);
    f.dialogs.severalFileAnswers.push_back(inputs);
    inputs.push_back(f.dir.File("in/old.fff"));
    WriteFileBytes(inputs.back(), "<RD:Book>Old\r\n<RD><CS:Reference>Old<CR>\r\n</CS>x\r\n");
    f.dialogs.severalFileAnswers.push_back(inputs);
    f.model.Carry(Command::PreviewSeveral);
    f.model.Carry(Command::PreviewSeveral);
    EXPECT_EQ(f.dialogs.previewHeadings,
              (Names{"The run would make 14 references in 2 files:",
                     "The run would make 15 references in 3 files, replacing 1 earlier reference:"}));
}

TEST(CollectionRun, CancelledPreviewShowsNoList)
{
    CollectionFixture f;
    f.view.probe = [&](std::int32_t) {
        if (f.view.captions.back().starts_with("2 of 3"))
            f.model.Carry(Command::BeginOrCancel);
    };
    f.dialogs.severalFileAnswers.push_back(f.Inputs(3, 300));
    f.model.Carry(Command::PreviewSeveral);
    EXPECT_TRUE(f.dialogs.previewFiles.empty());
    EXPECT_EQ(f.view.captions.back(), kApplicationTitle);
}

// Within a menu, each underlined letter picks one item; every item of the
// Preferences submenu has one, in both windows alike, since both build it
// from the preferences' table.
TEST(CollectionRun, MenuLettersDoNotClash)
{
    std::vector<Menu> menus = MainMenus();
    Menu preferences = PreferencesMenu();
    for (const PreferenceRow& row : PreferenceRows(PreferenceKind::MenuItem))
        preferences.entries.push_back({row.caption, std::nullopt});
    menus.push_back(preferences);
    for (const Menu& menu : menus) {
        std::string letters;
        for (const MenuEntry& entry : menu.entries) {
            const char* amp = entry.caption == nullptr ? nullptr : std::strchr(entry.caption, '&');
            if (amp != nullptr)
                letters += static_cast<char>(std::toupper(static_cast<unsigned char>(amp[1])));
            else if (menu.caption == preferences.caption)
                ADD_FAILURE() << "no access key: " << (entry.caption ? entry.caption : "a separator");
        }
        for (char letter : letters)
            EXPECT_EQ(std::count(letters.begin(), letters.end(), letter), 1) << menu.caption << " " << letter;
    }
    EXPECT_EQ(WithoutAccessKey("Use <HR> && &more"), "Use <HR> & more");
}

}  // namespace
}  // namespace pellimar::testing
