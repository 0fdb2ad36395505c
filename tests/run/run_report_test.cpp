// A run's report: the notes of each file in the window's words and the
// command line's, in each voice's order, and the totals of a collection.
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
    Findings counts;
    RunSettings settings;
    Preferences preferences;

    LevelsRun()
    {
        if (LevelSeen* first = seen.Count("BOOK", -1))
            first->name = "Book";
        settings.refPattern = "1";
        settings.levelTexts[0] = "Chaptr";
    }
    NoteSubject Subject(bool wholeRead = true) const
    {
        return {counts, seen, settings, preferences, wholeRead, "x.DEF", "Book"};
    }
};

NoteTelling Telling(Voice voice)
{
    return {voice, false, false, "a.fff", AsItIs};
}

std::vector<std::string_view> Keys(const std::vector<RunNote>& notes)
{
    std::vector<std::string_view> keys;
    for (const RunNote& note : notes)
        keys.push_back(note.key);
    return keys;
}

TEST(RunReport, EachVoiceTellsTheLevelNotesInItsOwnWords)
{
    const LevelsRun run;
    const std::vector<RunNote> window = NotesOf(run.Subject(), Telling(Voice::Window));
    ASSERT_EQ((std::vector<std::string_view>{"unmatched_levels", "skipped_level_name"}), Keys(window));
    EXPECT_EQ("No level record names level 1 \"Chaptr\"; the level records name: Book (1).", window[0].text);
    EXPECT_TRUE(
        window[1].text.ends_with("; 1 level record of this file names it. To use it, fill the level boxes 1 "
                                 "to 2 with Book, Chaptr: the names loaded move one level down."))
        << window[1].text;
    const std::vector<RunNote> cli = NotesOf(run.Subject(), Telling(Voice::CommandLine));
    ASSERT_EQ((std::vector<std::string_view>{"unmatched_levels", "skipped_level_name"}), Keys(cli));
    EXPECT_EQ("no level record names level 1 \"Chaptr\"; the level records name: Book (1)", cli[0].text);
    EXPECT_TRUE(cli[1].text.ends_with(
        "of a.fff names it; --level1 Book --level2 Chaptr sets it and moves the level names given one level down"))
        << cli[1].text;
}

// The first name of the levels file taken as level 1 pushes the seventh out,
// and the advice says which; a name with a blank is quoted for the shell.
TEST(RunReport, AdviceForTheSkippedNameKeepsTheLevelsLoaded)
{
    LevelsRun run;
    const char* loaded[] = {"Section",       "Chapter",       "Heading",      "Sub-Heading 1",
                            "Sub-Heading 2", "Sub-Heading 3", "Sub-Heading 4"};
    for (int i = 0; i < kLevelCount; ++i)
        run.settings.levelTexts[i] = loaded[i];
    const std::string cli = NotesOf(run.Subject(), Telling(Voice::CommandLine)).back().text;
    EXPECT_TRUE(
        cli.ends_with("; --level1 Book --level2 Section --level3 Chapter --level4 Heading --level5 "
                      "'Sub-Heading 1' --level6 'Sub-Heading 2' --level7 'Sub-Heading 3' sets it and moves the "
                      "level names given one level down; \"Sub-Heading 4\" no longer fits"))
        << cli;
    const std::string window = NotesOf(run.Subject(), Telling(Voice::Window)).back().text;
    EXPECT_TRUE(window.ends_with("and Sub-Heading 4 no longer fits.")) << window;
}

// Records with IDs read as plain codes say already why a level has no
// record; read as level records, they leave nothing to say of them.
TEST(RunReport, UnreadIdRecordsTakeThePlaceOfTheLevelNote)
{
    LevelsRun run;
    run.counts[Finding::UnreadIdRecords].count = 2;
    for (const Voice voice : {Voice::Window, Voice::CommandLine}) {
        const std::vector<RunNote> off = NotesOf(run.Subject(), Telling(voice));
        EXPECT_EQ("unread_id_records", off.front().key);
        EXPECT_EQ(2u, off.size());
    }
    run.preferences.Set(Preference::IdRecords, true);
    EXPECT_EQ((std::vector<std::string_view>{"unmatched_levels", "skipped_level_name"}),
              Keys(NotesOf(run.Subject(), Telling(Voice::Window))));
}

// A file none of whose level records was read, all being in ID form: a list
// of its levels says why it is empty.
TEST(RunReport, LevelRecordsAllInIdFormSayToReadThem)
{
    LevelsRun run;
    run.seen = {};
    run.counts[Finding::IdFormLevelRecords].count = 12;
    const std::vector<RunNote> cli = NotesOf(run.Subject(), Telling(Voice::CommandLine));
    ASSERT_EQ((std::vector<std::string_view>{"id_form_level_records"}), Keys(cli));
    EXPECT_EQ(
        "all 12 level records of a.fff are of the form <RD,ID:n:Level>; --id-records reads them as level "
        "records",
        cli[0].text);
    run.preferences.Set(Preference::IdRecords, true);
    EXPECT_TRUE(Keys(NotesOf(run.Subject(), Telling(Voice::CommandLine))) !=
                std::vector<std::string_view>{"id_form_level_records"});
}

TEST(RunReport, APreviewThatStoppedEarlyTellsNoLevelNote)
{
    const LevelsRun run;
    EXPECT_TRUE(NotesOf(run.Subject(false), Telling(Voice::Window)).empty());
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
    outcome.result.findings[Finding::LookAlikes].count = 1;
    return outcome;
}

// A file that failed adds nothing to the totals, and tells nothing but its
// failure.
TEST(RunReport, TotalsAddUpTheFilesConverted)
{
    RunPlan plan;
    plan.files = {{"a.fff", "o/a.fff"}, {"b.fff", "o/b.fff"}, {"c.fff", "o/c.fff"}};
    std::vector<FileOutcome> outcomes;
    outcomes.push_back(Converted(1));
    outcomes.push_back(Failed());
    outcomes.push_back(Converted(3, 2));
    const RunReport report(plan, std::move(outcomes));
    const ReportTotals totals = report.Totals();
    EXPECT_EQ(2, totals.converted);
    EXPECT_EQ(1, totals.failed);
    EXPECT_EQ(4, totals.references);
    EXPECT_EQ(2, totals.earlierFound);
    EXPECT_TRUE(report.Notes(1, Telling(Voice::CommandLine)).empty());
    EXPECT_EQ("earlier_references_kept", report.Notes(2, Telling(Voice::CommandLine)).at(0).key);
    EXPECT_FALSE(report.Cancelled());
}

}  // namespace
}  // namespace pellimar
