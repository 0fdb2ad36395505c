// Begin and Cancel in the window model: the checks, the run, the window while
// it runs, the dialogues at the end, closing during a run, and the viewer.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <system_error>
#include <vector>

#include "settings/settings_store.h"
#include "streams/file_faults.h"
#include "window_model/file_dialogs.h"
#include "window_model/model_fixture.h"

namespace pellimar::testing {
namespace {

const std::string kBook = "<RD:Book>Genesis\r\n";

std::string Records(int count)
{
    std::string text = kBook;
    for (int i = 0; i < count; ++i)
        text += "<RD>record text\r\n";
    return text;
}

TEST(SingleRun, CompleteRunReportsTheCountAndLaunchesTheViewer)
{
    ModelFixture f;
    f.Prepare(Records(3));
    f.Type(HistoryBox::Level1, "Book");
    f.model.Carry(Command::SetViewer);  // cancelled: no viewer yet
    f.dialogs.fileAnswers = {std::string("/opt/view er/viewer")};
    f.model.Carry(Command::SetViewer);
    f.dialogs.answers = {MessageAnswer::Yes};
    f.model.Carry(Command::BeginOrCancel);
    EXPECT_EQ(f.dialogs.MessageTexts(), Names{"3 total references created.\rView output file?"});
    EXPECT_EQ(f.dialogs.messages[0].kind, MessageKind::Confirm);
    ASSERT_EQ(f.launcher.started.size(), 1u);
    EXPECT_EQ(f.launcher.started[0].first, "/opt/view er/viewer");
    EXPECT_EQ(f.launcher.started[0].second, f.outputPath);
    EXPECT_NE(ReadFileBytes(f.outputPath).find("<CS:Reference>Genesis<CR>"), std::string::npos);
}

// Each check box, as the window shows it at Begin, goes into the run.
TEST(SingleRun, CheckBoxesAsShownAtBeginGoIntoTheRun)
{
    for (const auto& [notSearched, removePageMarks] : {std::pair{false, false}, {true, false}, {false, true}}) {
        ModelFixture f;
        f.Prepare(kBook + "<RD>text [7]\r\n<RD>more\r\n", "1 #");
        f.dialogs.inputAnswers = {std::string("6")};  // the starting page
        f.Type(HistoryBox::Level1, "Book");
        f.Type(HistoryBox::PagePattern, "[#]");
        f.view.SetOptionChecked(Preference::NotSearched, notSearched);
        f.view.SetOptionChecked(Preference::RemovePageMarks, removePageMarks);
        f.model.Carry(Command::BeginOrCancel);
        const std::string output = ReadFileBytes(f.outputPath);
        EXPECT_NE(output.find("<CS:Reference>"), std::string::npos) << output;
        EXPECT_EQ(output.find("<IX->Genesis 6<IX>") != std::string::npos, notSearched) << output;
        EXPECT_EQ(output.find("[7]") == std::string::npos, removePageMarks) << output;
    }
}

TEST(SingleRun, LevelRecordsWithIdsReadOnlyWithTheSwitchOrAdvised)
{
    ModelFixture f;
    f.Prepare("<RD,ID:1:Book>Genesis\r\n<RD,ID:2>text\r\n");
    f.Type(HistoryBox::Level1, "Book");
    f.model.Carry(Command::BeginOrCancel);
    f.dialogs.answers = {MessageAnswer::Yes};  // overwrite the first output
    f.model.TogglePreference(Preference::IdRecords);
    f.model.Carry(Command::BeginOrCancel);
    const std::string advised = f.dialogs.messages[0].text;
    EXPECT_TRUE(
        advised.starts_with("0 total references created.\r\r1 record code of this file names a level in the "
                            "form "))
        << advised;
    EXPECT_NE(advised.find("ID record levels"), std::string::npos);
    // The question stays the last line, above the buttons that answer it.
    EXPECT_TRUE(advised.ends_with(" to read them as such.\r\rView output file?")) << advised;
    EXPECT_EQ(f.dialogs.MessageTexts(),
              (Names{advised, "Output File Exists.  Overwrite?", "1 total references created.\rView output file?"}));
}

// A record that begins on the line after its code: without the preference
// the end box says so and names it; with it the record gets its reference.
TEST(SingleRun, RecordsOnTheNextLineAdvisedOrReferencedByThePreference)
{
    ModelFixture f;
    f.Prepare(kBook + "<RD>\r\n<TA:x>cell\r\n");
    f.Type(HistoryBox::Level1, "Book");
    f.model.Carry(Command::BeginOrCancel);
    const std::string advised = f.dialogs.messages[0].text;
    EXPECT_EQ(
        "0 total references created.\r\r1 record begins on the line after its record code and got no "
        "reference; switch on File > Preferences > References for Records on the Next Line to give it "
        "one.\r\rView output file?",
        advised);
    f.dialogs.answers = {MessageAnswer::Yes};  // overwrite the first output
    f.model.TogglePreference(Preference::LineEndRecords);
    f.model.Carry(Command::BeginOrCancel);
    EXPECT_EQ(f.dialogs.MessageTexts(),
              (Names{advised, "Output File Exists.  Overwrite?", "1 total references created.\rView output file?"}));
}

// A file converted before: its references are kept beside the new ones
// with advice naming the preference, or replaced once it is on; one is
// told of in the singular.
TEST(SingleRun, EarlierReferencesAdvisedOrReplacedByThePreference)
{
    ModelFixture f;
    const std::string earlier = "<CS:Reference>Old<CR>\r\n</CS>";
    f.Prepare(kBook + "<RD>" + earlier + "a\r\n<RD>" + earlier + "b\r\n");
    f.Type(HistoryBox::Level1, "Book");
    f.model.Carry(Command::BeginOrCancel);
    EXPECT_EQ(f.dialogs.MessageTexts(),
              Names{"2 total references created.\r\rThis file already holds 2 references from an earlier run; the "
                    "output has both. Switch on File > Preferences > Replace Earlier References to replace them.\r\r"
                    "View output file?"});
    EXPECT_NE(ReadFileBytes(f.outputPath).find("<CS:Reference>Genesis<CR>\r\n</CS>" + earlier + "a"),
              std::string::npos);
    f.model.TogglePreference(Preference::ReplaceReferences);
    f.dialogs.answers = {MessageAnswer::Yes};  // overwrite
    f.model.Carry(Command::BeginOrCancel);
    EXPECT_EQ(f.dialogs.MessageTexts()[2],
              "2 total references created, 2 earlier references replaced.\rView "
              "output file?");
    EXPECT_EQ(ReadFileBytes(f.outputPath).find(earlier), std::string::npos);
    // A file without any: nothing is said of them.
    f.Prepare(kBook + "<RD>a\r\n");
    f.dialogs.answers = {MessageAnswer::Yes};
    f.model.Carry(Command::BeginOrCancel);
    EXPECT_EQ(f.dialogs.MessageTexts().back(), "1 total references created.\rView output file?");

    ModelFixture one;
    one.Prepare(kBook + "<RD>" + earlier + "a\r\n");
    one.Type(HistoryBox::Level1, "Book");
    one.model.Carry(Command::BeginOrCancel);
    EXPECT_NE(one.dialogs.MessageTexts()[0].find("holds 1 reference from an earlier run; the output has both. "
                                                 "Switch on File > Preferences > Replace Earlier References to "
                                                 "replace it.\r\rView output file?"),
              std::string::npos);
}

TEST(SingleRun, LookAlikesAreKeptAndTold)
{
    ModelFixture f;
    const std::string unended = "<RD><CS:Reference>" + std::string(70000, 'x') + "\r\n";
    f.Prepare(kBook + unended + unended);
    f.Type(HistoryBox::Level1, "Book");
    f.model.Carry(Command::BeginOrCancel);
    EXPECT_EQ(f.dialogs.MessageTexts(),
              Names{"2 total references created.\r\r2 texts after record codes begin like a reference but are not "
                    "one, first on line 2; they were kept.\r\rView output file?"});
}

TEST(SingleRun, AnsweringNoLaunchesNothing)
{
    ModelFixture f;
    f.Prepare("no records here", "x");
    f.dialogs.answers = {MessageAnswer::No};
    f.model.Carry(Command::BeginOrCancel);
    EXPECT_EQ(f.dialogs.MessageTexts(), Names{"0 total references created.\rView output file?"});
    EXPECT_TRUE(f.launcher.started.empty());
}

// With no viewer set, Yes offers the viewer dialog first; a viewer chosen
// there is kept and started, a cancelled dialog starts nothing.
TEST(SingleRun, MissingViewerIsChosenThenStarted)
{
    ModelFixture f;
    f.Prepare("text", "x");
    f.dialogs.answers = {MessageAnswer::Yes};
    f.model.Carry(Command::BeginOrCancel);
    f.dialogs.answers = {MessageAnswer::Yes, MessageAnswer::Yes};  // overwrite, view
    f.dialogs.fileAnswers = {std::string("/usr/bin/ffview")};
    f.model.Carry(Command::BeginOrCancel);
    ASSERT_EQ(f.dialogs.fileDialogs.size(), 2u);
    EXPECT_EQ(f.dialogs.fileDialogs[1].state.filterIndex, ViewerFilter());
    EXPECT_TRUE(f.launcher.started.size() == 1 && f.launcher.started[0].first == "/usr/bin/ffview");
    EXPECT_EQ(LoadSettings(f.Paths()).viewerPath, "/usr/bin/ffview");
    for (const std::string& text : f.dialogs.MessageTexts())
        EXPECT_EQ(text.find("FFFViewer key"), std::string::npos);
}

// 44 % with 11 s left must not become done 2 s later: the time the page
// question stays open counts neither as elapsed nor in the estimate.
TEST(SingleRun, TimeThePageQuestionWaitsIsLeftOut)
{
    ModelFixture f;
    f.Prepare("<RD:Book>G\r\n<RD>x\r\n" + std::string(5000, 'z'), "1 #");
    f.Type(HistoryBox::Level1, "Book");
    f.Type(HistoryBox::PagePattern, "[#]");
    f.dialogs.whileOpen = [&] { f.now += 60'000; };  // the user takes a minute over each question
    std::vector<std::string> elapsed;
    std::string remainingAtHalf;
    f.view.probe = [&](std::int32_t percent) {
        elapsed.push_back(f.view.elapsed);
        if (percent == 50)
            remainingAtHalf = f.view.remaining;
        f.now += 100;  // and the run a tenth of a second for each percent
    };
    f.dialogs.inputAnswers = {std::string("1")};
    f.model.Carry(Command::BeginOrCancel);
    ASSERT_EQ(f.dialogs.inputTitles.size(), 1u);
    ASSERT_EQ(elapsed.size(), 101u);
    EXPECT_EQ(elapsed.back(), "00:00:10");
    EXPECT_EQ(remainingAtHalf, "00:00:04");  // 4 s at 49 % for the other 51 %
}

// A folder is there: it is refused as what it is, not as missing.
TEST(SingleRun, MissingInputIsReported)
{
    ModelFixture f;
    f.Prepare("text");
    f.Type(HistoryBox::InputFile, f.dir.File("missing.fff"));
    f.model.Carry(Command::BeginOrCancel);
    f.Type(HistoryBox::InputFile, f.dir.Path().string());  // a folder
    f.model.Carry(Command::BeginOrCancel);
    EXPECT_EQ(f.dialogs.MessageTexts(), (Names{"Input file not found.\r" + f.dir.File("missing.fff") + ": no such file",
                                               "Cannot open file " + f.dir.Path().string() + "\rit is a folder"}));
    EXPECT_EQ(f.dialogs.messages[0].kind, MessageKind::Error);
    EXPECT_FALSE(std::filesystem::exists(f.outputPath));
}

TEST(SingleRun, WriteErrorNamesTheFileAndTheReason)
{
    ModelFixture f;
    f.Prepare(Records(2000));
    f.Type(HistoryBox::Level1, "Book");
    ArmFileFault(FileCall::Write, kDiskFullError, 0, INT_MAX);
    f.model.Carry(Command::BeginOrCancel);
    DisarmFileFaults();
    ASSERT_EQ(f.dialogs.errorBoxes.size(), 1u);
    EXPECT_EQ(f.dialogs.errorBoxes[0].second, "Stream write error\r" + f.outputPath + ": no space left on the disk");
}

// The input under another name is refused before the overwrite question,
// which would otherwise offer it.
TEST(SingleRun, OutputThatIsTheInputIsRefusedBeforeTheQuestion)
{
    ModelFixture f;
    f.Prepare(kBook);
    f.Type(HistoryBox::Level1, "Book");
    // Other names of the same file: a hard link and a longer path on every
    // system, and a symbolic link where one can be made without privilege
    // (not on Windows).
    std::vector<std::string> outputs = {f.dir.File("hard.fff"), f.dir.Path().string() + "/./in.fff"};
    std::filesystem::create_hard_link(f.inputPath, outputs[0]);
    std::error_code noSymlink;
    std::filesystem::create_symlink(f.inputPath, f.dir.File("link.fff"), noSymlink);
    if (!noSymlink)
        outputs.push_back(f.dir.File("link.fff"));
    for (const std::string& output : outputs) {
        f.Type(HistoryBox::OutputFile, output);
        f.dialogs.answers = {MessageAnswer::Yes};
        f.model.Carry(Command::BeginOrCancel);
        EXPECT_EQ(f.dialogs.errorBoxes.back().second, "Cannot create file " + output + "\rit is the input file");
    }
    EXPECT_TRUE(f.dialogs.messages.empty());
    EXPECT_EQ(ReadFileBytes(f.inputPath), kBook);
}

// Windows takes "aux.fff" or "NUL.fff" in any folder for a device: as
// input it is refused as a device is, as output (unless it names the device
// alone) because the file meant would never be written. Elsewhere they are
// ordinary names.
TEST(SingleRun, NamesWindowsTakesForDevicesAreRefusedThere)
{
    ModelFixture f;
    f.Prepare(kBook);
    f.Type(HistoryBox::Level1, "Book");
    const std::string output = f.dir.File("NUL.fff");
    f.Type(HistoryBox::OutputFile, output);
    f.model.Carry(Command::BeginOrCancel);
#ifdef _WIN32
    ASSERT_EQ(f.dialogs.errorBoxes.size(), 1u);
    EXPECT_EQ(f.dialogs.errorBoxes.back().second,
              "Cannot create file " + output + "\rWindows takes the name for the device NUL");
    EXPECT_TRUE(f.dialogs.messages.empty());
    const std::string input = f.dir.File("aux.fff");
    f.Type(HistoryBox::InputFile, input);
    f.Type(HistoryBox::OutputFile, f.dir.File("out.fff"));
    f.model.Carry(Command::BeginOrCancel);
    EXPECT_EQ(f.dialogs.MessageTexts(), Names{"Cannot open file " + input + "\rit is not a regular file"});
    EXPECT_EQ(testing::FileNames(f.dir.Path()).count("out.fff"), 0u);
#else
    EXPECT_TRUE(f.dialogs.errorBoxes.empty());
    EXPECT_TRUE(std::filesystem::exists(output));
#endif
}

TEST(SingleRun, PatternChecksStopTheRun)
{
    ModelFixture f;
    f.Prepare("text", "1 #");
    f.Type(HistoryBox::Level1, "Book");
    f.model.Carry(Command::BeginOrCancel);
    f.Type(HistoryBox::PagePattern, "[x]");
    f.model.Carry(Command::BeginOrCancel);
    f.Type(HistoryBox::PagePattern, "[#]");
    f.Type(HistoryBox::RefPattern, "<RD>1 #");
    f.model.Carry(Command::BeginOrCancel);
    EXPECT_EQ(f.dialogs.MessageTexts(), (Names{"Insufficient information to process reference pattern\r"
                                               "\"#\" stands for the page, and the page-number pattern is empty",
                                               "Page # Pattern must contain #",
                                               "A later run could not recognise the references this pattern makes\r"
                                               "it holds the code <RD>, which begins \"RD\""}));
    EXPECT_FALSE(std::filesystem::exists(f.outputPath));
}

TEST(SingleRun, OverwriteYesRunsIntoTheFile)
{
    ModelFixture f;
    f.Prepare("new text", "x");
    WriteFileBytes(f.outputPath, "old");
    f.dialogs.answers = {MessageAnswer::Yes, MessageAnswer::No};
    f.model.Carry(Command::BeginOrCancel);
    EXPECT_EQ(f.dialogs.messages[0].text, "Output File Exists.  Overwrite?");
    EXPECT_EQ(f.dialogs.messages[0].kind, MessageKind::Warning);
    EXPECT_EQ(f.dialogs.messages[0].buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(ReadFileBytes(f.outputPath), "new text");
}

// The save dialog starts beside the output kept, on its name, though it was
// last used elsewhere for another name.
TEST(SingleRun, OverwriteNoAsksForANewName)
{
    ModelFixture f;
    f.Prepare("new text", "x");
    WriteFileBytes(f.outputPath, "old");
    f.dialogs.fileAnswers = {std::string("/elsewhere/chosen.fff")};
    f.model.Carry(Command::OutputFile);
    f.Type(HistoryBox::OutputFile, f.outputPath);
    const std::string other = f.dir.File("other.fff");
    f.dialogs.answers = {MessageAnswer::No, MessageAnswer::No};
    f.dialogs.fileAnswers = {other};
    f.model.Carry(Command::BeginOrCancel);
    ASSERT_EQ(f.dialogs.fileDialogs.size(), 2u);
    const FileDialogState& shown = f.dialogs.fileDialogs.back().state;
    EXPECT_TRUE(f.dialogs.fileDialogs.back().save);
    EXPECT_TRUE(shown.overwritePrompt);
    EXPECT_EQ(shown.folder, f.dir.Path().string());
    EXPECT_EQ(shown.fileName, f.outputPath);
    EXPECT_EQ(ReadFileBytes(f.outputPath), "old");
    EXPECT_EQ(ReadFileBytes(other), "new text");
    EXPECT_EQ(f.view.BoxText(HistoryBox::OutputFile), other);
}

TEST(SingleRun, OverwriteCancelStopsTheRun)
{
    ModelFixture f;
    f.Prepare("new text", "x");
    WriteFileBytes(f.outputPath, "old");
    f.dialogs.answers = {MessageAnswer::Cancel};
    f.dialogs.fileAnswers = {f.dir.File("other.fff")};  // what a save dialog would be given
    f.model.Carry(Command::BeginOrCancel);
    EXPECT_TRUE(f.dialogs.fileDialogs.empty());
    EXPECT_FALSE(std::filesystem::exists(f.dir.File("other.fff")));
    f.dialogs.fileAnswers.clear();
    f.dialogs.answers = {MessageAnswer::No};  // then the save dialog is cancelled
    f.model.Carry(Command::BeginOrCancel);
    EXPECT_EQ(f.dialogs.messages.size(), 2u);
    EXPECT_EQ(ReadFileBytes(f.outputPath), "old");
}

// Over an earlier output: Yes leaves that file as it was, No puts the
// partial output in its place; nothing else is left in the folder.
TEST(SingleRun, CancelDuringTheRunOffersToDeleteTheOutput)
{
    for (const bool deleteIt : {true, false}) {
        SCOPED_TRACE(deleteIt ? "yes deletes" : "no keeps");
        ModelFixture f;
        f.Prepare(std::string(1000, 'x'), "x");
        WriteFileBytes(f.outputPath, "earlier output");
        f.view.probe = [&](std::int32_t percent) {
            if (percent == 40)
                f.model.Carry(Command::BeginOrCancel);  // the button reads "&Cancel" now
        };
        f.dialogs.answers = {MessageAnswer::Yes, deleteIt ? MessageAnswer::Yes : MessageAnswer::No};
        f.model.Carry(Command::BeginOrCancel);
        EXPECT_EQ(f.dialogs.MessageTexts(),
                  (Names{"Output File Exists.  Overwrite?", "Operation Canceled.\rDelete output file?"}));
        EXPECT_EQ(f.view.percents.back(), 40);
        EXPECT_EQ(ReadFileBytes(f.outputPath), deleteIt ? std::string("earlier output") : std::string(400, 'x'));
        EXPECT_EQ(FileNames(f.dir.Path()), (std::set<std::string>{"in.fff", "out.fff"}));
    }
}

// Without an earlier file at Begin, none is replaced at the end: a file that
// appears under the output's name during the run is left alone.
TEST(SingleRun, FileThatAppearsDuringTheRunIsLeftAlone)
{
    ModelFixture f;
    f.Prepare(std::string(1000, 'x'), "x");
    f.view.probe = [&](std::int32_t percent) {
        if (percent == 40)
            WriteFileBytes(f.outputPath, "appeared");
    };
    f.model.Carry(Command::BeginOrCancel);
    ASSERT_EQ(f.dialogs.errorBoxes.size(), 1u);
    EXPECT_NE(f.dialogs.errorBoxes[0].second.find("Output file exists"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(f.outputPath), "appeared");
}

// A folder that takes no new file: the question says the earlier output is
// lost once the run starts, and a removal that fails after Cancel is told,
// not passed over.
TEST(SingleRun, OutputWrittenInPlaceIsAnnouncedAndAFailedRemovalReported)
{
    ModelFixture f;
    f.Prepare(std::string(1000, 'x'), "x");
    WriteFileBytes(f.outputPath, "earlier output");
    ArmFileFault(FileCall::CreateUnnamed, kAccessDeniedError, 0, INT_MAX);
    ArmFileFault(FileCall::CreateBeside, kAccessDeniedError, 0, INT_MAX);
    ArmFileFault(FileCall::Remove, kAccessDeniedError, 0, INT_MAX);
    f.view.probe = [&](std::int32_t percent) {
        if (percent == 40)
            f.model.Carry(Command::BeginOrCancel);
    };
    f.dialogs.answers = {MessageAnswer::Yes, MessageAnswer::Yes, MessageAnswer::Ok};
    f.model.Carry(Command::BeginOrCancel);
    DisarmFileFaults();
    ASSERT_EQ(f.dialogs.messages.size(), 3u);
    EXPECT_NE(f.dialogs.messages[0].note.find("written in place"), std::string::npos);
    EXPECT_EQ(f.dialogs.messages[2].text,
              "The partial output could not be removed.\r" + f.outputPath + ": permission denied");
    EXPECT_EQ(ReadFileBytes(f.outputPath), std::string(400, 'x'));
}

// No question can make a folder an output: it is refused at once.
TEST(SingleRun, OutputThatIsAFolderIsRefusedBeforeTheQuestion)
{
    ModelFixture f;
    f.Prepare(kBook);
    f.Type(HistoryBox::Level1, "Book");
    std::filesystem::create_directory(f.dir.File("folder"));
    f.Type(HistoryBox::OutputFile, f.dir.File("folder"));
    f.dialogs.answers = {MessageAnswer::Yes};
    f.model.Carry(Command::BeginOrCancel);
    EXPECT_TRUE(f.dialogs.messages.empty());
    EXPECT_EQ(f.dialogs.errorBoxes,
              (std::vector<std::pair<std::string, std::string>>{
                  {kApplicationTitle, "Cannot create file " + f.dir.File("folder") + "\rit is a folder"}}));
}

TEST(SingleRun, ErrorFromThePassRestoresTheWindow)
{
    ModelFixture f;
    f.Prepare("text", "x");
    f.Type(HistoryBox::OutputFile, f.dir.File("no/such/folder/out.fff"));
    f.model.Carry(Command::BeginOrCancel);
    EXPECT_TRUE(f.dialogs.messages.empty());
    ASSERT_EQ(f.dialogs.errorBoxes.size(), 1u);
    EXPECT_EQ(f.dialogs.errorBoxes[0].second,
              "Cannot create file " + f.dir.File("no/such/folder/out.fff") + "\rno such folder");
    EXPECT_EQ(f.view.beginCaption, kBeginCaption);
    EXPECT_TRUE(f.view.runControlsEnabled);
    EXPECT_FALSE(f.model.Session().IsRunning());
    EXPECT_FALSE(f.view.readoutsVisible);
    EXPECT_FALSE(f.view.busy);
}

// The button stays Cancel whatever the boxes say; the rule runs again at
// the end.
TEST(SingleRun, WindowWhileRunning)
{
    ModelFixture f;
    f.Prepare(std::string(2000, 'y'), "x");
    bool checked = false;
    f.view.probe = [&](std::int32_t percent) {
        if (percent != 50)
            return;
        checked = true;
        EXPECT_EQ(f.view.beginCaption, kCancelCaption);
        EXPECT_FALSE(f.view.runControlsEnabled);
        EXPECT_TRUE(f.view.gaugeVisible);
        EXPECT_EQ(f.view.gaugeProgress, 50);
        EXPECT_TRUE(f.view.readoutsVisible);
        EXPECT_TRUE(f.view.busy);
        f.Type(HistoryBox::InputFile, "");  // emptying a box must not lose Cancel
        EXPECT_TRUE(f.view.beginEnabled);
        f.model.FileMenuOpening();
        EXPECT_EQ(f.view.menu.beginCaption, kCancelCaption);
        EXPECT_TRUE(f.view.menu.Enabled(Command::BeginOrCancel));
        EXPECT_FALSE(f.view.menu.Enabled(Command::Exit));
        EXPECT_FALSE(f.view.menu.Enabled(Command::Preview));
    };
    f.dialogs.answers = {MessageAnswer::No};
    f.model.Carry(Command::BeginOrCancel);
    EXPECT_TRUE(checked);
    EXPECT_EQ(f.view.beginCaption, kBeginCaption);
    EXPECT_FALSE(f.view.beginEnabled);  // the input box was emptied during the run
    EXPECT_TRUE(f.view.runControlsEnabled);
    EXPECT_FALSE(f.view.gaugeVisible);
    EXPECT_FALSE(f.view.readoutsVisible);
    EXPECT_EQ(f.view.elapsed, kZeroClock);
    EXPECT_FALSE(f.view.busy);
}

// The readouts follow the clock; the estimate is made afresh at 1, 5, 9, ...
// percent and repeated in between.
TEST(SingleRun, TimeReadoutsDuringARun)
{
    ModelFixture f;
    f.Prepare(std::string(100, 'y'), "x");
    std::vector<std::pair<std::string, std::string>> readouts;
    f.view.probe = [&](std::int32_t percent) {
        if (percent == 5 || percent == 7)
            readouts.push_back({f.view.elapsed, f.view.remaining});
        f.now = 1000 + 4000 * (percent + 1);  // the next step comes 4 s per percent after the start
    };
    f.now = 1000;
    f.model.Carry(Command::BeginOrCancel);
    EXPECT_EQ(readouts,
              (std::vector<std::pair<std::string, std::string>>{{"00:00:20", "00:06:20"}, {"00:00:28", "00:06:20"}}));
}

TEST(SingleRun, ProgressMeterOffShowsOnlyTheTimes)
{
    ModelFixture f;
    f.model.TogglePreference(Preference::ShowProgMeter);
    f.Prepare(std::string(100, 'y'), "x");
    bool seen = false;
    f.view.probe = [&](std::int32_t) {
        seen = true;
        EXPECT_FALSE(f.view.gaugeVisible);
        EXPECT_TRUE(f.view.readoutsVisible);
    };
    f.model.Carry(Command::BeginOrCancel);
    EXPECT_TRUE(seen);
    EXPECT_FALSE(f.view.gaugeProgress.has_value());
}

TEST(SingleRun, SwitchingTheMeterOffDuringARunStopsFeedingIt)
{
    ModelFixture f;
    f.Prepare(std::string(100, 'y'), "x");
    f.view.probe = [&](std::int32_t percent) {
        if (percent == 30)
            f.model.TogglePreference(Preference::ShowProgMeter);
    };
    f.model.Carry(Command::BeginOrCancel);
    EXPECT_EQ(f.view.gaugeProgress, 30);
    EXPECT_FALSE(f.view.gaugeVisible);
}

TEST(SingleRun, StartingPageIsAskedThroughTheInputBox)
{
    ModelFixture f;
    f.Prepare(Records(2), "1 #");
    f.Type(HistoryBox::Level1, "Book");
    f.Type(HistoryBox::PagePattern, "[#]");
    f.dialogs.inputAnswers = {std::string("17")};
    f.model.Carry(Command::BeginOrCancel);
    EXPECT_EQ(f.dialogs.inputTitles, Names{"Input Page Number"});
    EXPECT_NE(ReadFileBytes(f.outputPath).find("Genesis 17<CR>"), std::string::npos);
}

// Closing asks nothing: the run stops, changes no file, and the window
// closes with its settings saved.
TEST(SingleRun, ClosingDuringARunCancelsSavesAndCloses)
{
    ModelFixture f;
    f.Prepare(std::string(1000, 'z'), "x");
    WriteFileBytes(f.outputPath, "earlier output");
    f.dialogs.answers = {MessageAnswer::Yes};  // overwrite
    f.SeedHistory(HistoryBox::RefPattern, {"x"});
    f.view.probe = [&](std::int32_t percent) {
        if (percent == 20) {
            f.view.CloseWindow();
            EXPECT_FALSE(f.view.closed);  // not while the run lasts
        }
    };
    f.model.Carry(Command::BeginOrCancel);
    EXPECT_EQ(f.dialogs.messages.size(), 1u);  // no end dialogue
    EXPECT_TRUE(f.view.closed);
    EXPECT_EQ(f.view.percents.back(), 20);
    EXPECT_EQ(ReadFileBytes(f.outputPath), "earlier output");
    EXPECT_EQ(LoadSettings(f.Paths()).refPatternHistory, Names{"x"});
}

TEST(SingleRun, ViewerPathIsSetAndStored)
{
    ModelFixture f;
    f.dialogs.fileAnswers = {std::string("/usr/local/bin/ffview")};
    f.model.Carry(Command::SetViewer);
    // The dialog opens on the system's entry for programs (all files where
    // programs have no ".exe"); the entry for executables is there to choose.
    const FileDialogState& shown = f.dialogs.fileDialogs[0].state;
    EXPECT_EQ(shown.filterIndex, ViewerFilter());
    EXPECT_EQ(shown.filters.at(3).description, "Executable Files (*.exe)");
    EXPECT_EQ(f.model.OpenDialog().filterIndex, 1);
    EXPECT_EQ(f.model.ViewerPath(), "/usr/local/bin/ffview");
    EXPECT_EQ(LoadSettings(f.Paths()).viewerPath, "/usr/local/bin/ffview");
}

// The viewer chooser shares the open dialog, which would otherwise offer the
// flat file last chosen, for Enter to make the viewer; that name stays for
// the flat files.
TEST(SingleRun, ViewerChooserStartsWithNoFileName)
{
    ModelFixture f;
    f.dialogs.fileAnswers = {std::string("/data/books/in.fff"), std::nullopt, std::string("/opt/ffview"), std::nullopt};
    f.model.Carry(Command::InputFile);
    f.model.Carry(Command::SetViewer);
    f.model.Carry(Command::SetViewer);
    f.model.Carry(Command::InputFile);
    ASSERT_EQ(f.dialogs.fileDialogs.size(), 4u);
    EXPECT_EQ(f.dialogs.fileDialogs[1].state.fileName, "");
    EXPECT_EQ(f.dialogs.fileDialogs[2].state.fileName, "");
    EXPECT_EQ(f.dialogs.fileDialogs[3].state.fileName, "/data/books/in.fff");
    EXPECT_EQ(f.model.ViewerPath(), "/opt/ffview");
}

TEST(SingleRun, CancelledViewerDialogChangesNothing)
{
    ModelFixture f;
    f.model.Carry(Command::SetViewer);
    EXPECT_TRUE(f.model.ViewerPath().empty());
    EXPECT_FALSE(std::filesystem::exists(f.Paths().iniFile));
    EXPECT_EQ(f.model.OpenDialog().filterIndex, 1);
}

}  // namespace
}  // namespace pellimar::testing
