// The notes that end a run, a preview and a collection, in the window's
// words and the command line's.
#include "run/run_report.h"

#include <gtest/gtest.h>

#include "streams/text_util.h"

namespace pellimar {
namespace {

std::string AsItIs(const std::string& text)
{
    return text;
}

// A file whose level records name "Book" only, run with level 1 "Chaptr":
// a level the pattern uses that no record sets, and the name the levels
// file gave first that the boxes do not hold.
struct LevelsRun {
    LevelCensus seen;
    RunSettings settings;
    RunFindings found;

    LevelsRun()
    {
        if (LevelSeen* first = seen.Count("BOOK", -1))
            first->name = "Book";
        settings.refPattern = "1";
        settings.levelTexts[0] = "Chaptr";
        found.levelsSeen = &seen;
    }
};

RunTelling Telling(Voice voice)
{
    RunTelling telling;
    telling.voice = voice;
    telling.input = "a.fff";
    telling.levelsFile = "x.DEF";
    telling.skippedLevelName = "Book";
    telling.shown = AsItIs;
    return telling;
}

std::vector<NoteKind> Kinds(const std::vector<RunNote>& notes)
{
    std::vector<NoteKind> kinds;
    for (const RunNote& note : notes)
        kinds.push_back(note.kind);
    return kinds;
}

TEST(RunReport, EachVoiceTellsTheLevelNotesInItsOwnOrderAndWords)
{
    const LevelsRun run;
    const std::vector<RunNote> window = RunNotes(run.found, Telling(Voice::Window), run.settings, Preferences());
    ASSERT_EQ((std::vector{NoteKind::UnmatchedLevels, NoteKind::SkippedLevel}), Kinds(window));
    EXPECT_EQ("No level record names level 1 \"Chaptr\"; the level records name: Book (1).", window[0].text);
    EXPECT_TRUE(window[1].text.ends_with("; 1 level record of this file names it. Type it into a level box to use it."))
        << window[1].text;
    const std::vector<RunNote> cli = RunNotes(run.found, Telling(Voice::CommandLine), run.settings, Preferences());
    ASSERT_EQ((std::vector{NoteKind::SkippedLevel, NoteKind::UnmatchedLevels}), Kinds(cli));
    EXPECT_TRUE(cli[0].text.ends_with("of a.fff names it; --level1 Book ... sets it")) << cli[0].text;
    EXPECT_EQ("no level record names level 1 \"Chaptr\"; the level records name: Book (1)", cli[1].text);
}

// Records with IDs read as plain codes say already why a level has no
// record; read as level records, they leave nothing to say of them.
TEST(RunReport, UnreadIdRecordsTakeThePlaceOfTheLevelNote)
{
    LevelsRun run;
    run.found.found[Finding::UnreadIdRecords].count = 2;
    Preferences preferences;
    for (const Voice voice : {Voice::Window, Voice::CommandLine}) {
        const std::vector<RunNote> off = RunNotes(run.found, Telling(voice), run.settings, preferences);
        EXPECT_EQ(NoteKind::UnreadIdRecords, off.front().kind);
        EXPECT_EQ(2u, off.size());
    }
    preferences.Set(Preference::IdRecords, true);
    const std::vector<RunNote> on = RunNotes(run.found, Telling(Voice::Window), run.settings, preferences);
    EXPECT_EQ((std::vector{NoteKind::UnmatchedLevels, NoteKind::SkippedLevel}), Kinds(on));
}

TEST(RunReport, APreviewThatStoppedEarlyTellsNoLevelNote)
{
    const LevelsRun run;
    RunTelling telling = Telling(Voice::Window);
    telling.wholeRead = false;
    EXPECT_TRUE(RunNotes(run.found, telling, run.settings, Preferences()).empty());
}

FileOutcome Converted(std::int32_t references, std::int32_t earlier = 0)
{
    FileOutcome outcome;
    outcome.state = FileOutcome::State::Converted;
    outcome.result.refCount = references;
    outcome.result.findings[Finding::EarlierReferences].count = earlier;
    return outcome;
}

FileOutcome Failed()
{
    FileOutcome outcome;
    outcome.state = FileOutcome::State::Failed;
    outcome.result.refCount = 5;  // counted before the failure, never written
    return outcome;
}

TEST(CollectionReport, LinesTotalsAndNotesOfTheFilesConverted)
{
    const std::vector<CollectionFile> files = {{"a.fff", "o/a.fff"}, {"b.fff", "o/b.fff"}, {"c.fff", "o/c.fff"}};
    std::vector<FileOutcome> outcomes;
    outcomes.push_back(Converted(1));
    outcomes.push_back(Failed());
    outcomes.push_back(Converted(3, 2));
    const CollectionReport report = ReportOfCollection(outcomes, files, false, RunSettings(), Preferences());
    EXPECT_EQ((std::vector<std::string>{"a.fff: 1 reference created.", "", "c.fff: 3 references created."}),
              report.fileLines);
    EXPECT_EQ((std::vector<std::string>{"2 files, 4 total references created.", "1 file failed."}), report.totals);
    EXPECT_EQ((std::vector<std::string>{"references from an earlier run are already in c.fff (2); the outputs have "
                                        "both. --replace-references replaces them."}),
              report.notes);
    std::vector<FileOutcome> foreseen;
    foreseen.push_back(Failed());
    EXPECT_EQ((std::vector<std::string>{"0 files, 0 total references would be created", "1 file would fail."}),
              ReportOfCollection(foreseen, {files[1]}, true, RunSettings(), Preferences()).totals);
}

// A box must fit on the screen; the command line names every file.
TEST(CollectionReport, TheWindowCutsALongListAndTheCommandLineDoesNot)
{
    CollectionTally tally;
    for (int i = 0; i < 13; ++i)
        tally.lookAlikes.push_back({"f" + std::to_string(i) + ".fff", {1, 4}});
    const std::string window = CollectionNotes(tally, Voice::Window, false, Preferences(), 65536).at(0);
    EXPECT_TRUE(window.starts_with("Texts after record codes begin like a reference but are not one in f0.fff (1, on "
                                   "line 4), "))
        << window;
    EXPECT_NE(std::string::npos, window.find("f11.fff (1, on line 4), ... and 1 more.; they were kept.")) << window;
    const std::string cli = CollectionNotes(tally, Voice::CommandLine, true, Preferences(), 65536).at(0);
    EXPECT_TRUE(cli.starts_with("texts after")) << cli;
    EXPECT_TRUE(cli.ends_with("f12.fff (1, on line 4); a run keeps them.")) << cli;
}

}  // namespace
}  // namespace pellimar
