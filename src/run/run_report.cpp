// The notes after a single run's summary or a preview's list.
#include "run/run_report.h"

#include "run/level_notes.h"
#include "run/run_notes.h"
#include "run/run_summary.h"
#include "streams/text_util.h"

namespace pellimar {
namespace {

// "Switch on File > Preferences > Replace Earlier References"
std::string SwitchOnItem(Preference preference)
{
    return "Switch on File > Preferences > " + WithoutAccessKey(RowOf(preference).caption);
}

std::string UnreadIdRecordsNote(std::int32_t count, Voice voice)
{
    const bool one = count == 1;
    if (voice == Voice::CommandLine)
        return one ? "1 record code of the form <RD,ID:n:Level> names a level; --id-records reads it as a level record"
                   : std::to_string(count) +
                         " record codes of the form <RD,ID:n:Level> name a level; --id-records reads them as level "
                         "records";
    return (one ? std::string("1 record code of this file names")
                : std::to_string(count) + " record codes of this file name") +
           " a level in the form <RD,ID:n:Level>, as later Folio versions write level records. " +
           SwitchOnItem(Preference::IdRecords) + " to read them as such.";
}

// References an earlier run wrote into the input, kept beside the new ones.
std::string KeptEarlierNote(std::int32_t kept, const RunTelling& telling)
{
    const bool window = telling.voice == Voice::Window;
    std::string holds;
    if (telling.partRead)
        holds = window ? "The part of the file read holds " : "the part of " + telling.input + " read holds ";
    else
        holds = window ? "This file already holds " : telling.input + " already holds ";
    const std::string them = kept == 1 ? "it." : "them.";
    return holds + Counted(kept, "reference") + " from an earlier run; the output " +
           (telling.foretold ? "would have" : "has") + " both. " +
           (window ? SwitchOnItem(Preference::ReplaceReferences) + " to replace " + them
                   : "--replace-references replaces " + them);
}

std::string LaterLineNote(std::int32_t count, const RunTelling& telling, const Preferences& preferences)
{
    const std::string advice =
        telling.voice == Voice::Window
            ? "switch on File > Preferences > " + WithoutAccessKey(RowOf(Preference::LineEndRecords).caption) +
                  " to give"
            : "--line-end-records gives";
    return LaterLineRecordsNote(count, preferences.On(Preference::LineEndRecords), telling.foretold, advice);
}

// Levels of the pattern that no level record set, with the names the level
// records use.
std::string UnmatchedNote(const RunTelling& telling, const RunSettings& settings, const LevelCensus& seen)
{
    std::string note = UnmatchedLevelsNote(settings, seen);
    if (note.empty() || telling.voice == Voice::CommandLine)
        return telling.shown(note);
    note[0] = ToUpperAscii(note[0]);
    return telling.shown(note + ".");
}

// The first name of the level names' line, not loaded, where the level
// records use it.
std::string SkippedNote(const RunTelling& telling, const RunSettings& settings, const LevelCensus& seen)
{
    const bool window = telling.voice == Voice::Window;
    const std::string& skipped = telling.skippedLevelName;
    const std::string shownName = telling.shown(skipped);
    const std::string note = SkippedFirstLevelNote(telling.levelsFile, {skipped, shownName},
                                                   window ? "this file" : telling.input, settings, seen);
    if (note.empty())
        return note;
    return note + (window ? ". Type it into a level box to use it." : "; --level1 " + shownName + " ... sets it");
}

}  // namespace

std::vector<RunNote> RunNotes(const RunFindings& found, const RunTelling& telling, const RunSettings& settings,
                              const Preferences& preferences)
{
    // Records with IDs that name a level say already why a level has no
    // record.
    const Findings& counts = found.found;
    const std::int32_t unreadIds = counts.Count(Finding::UnreadIdRecords);
    const bool idRecordsUnread = unreadIds > 0 && !preferences.SwitchOn(RunSwitch::IdRecords);
    const std::int32_t kept =
        settings.earlierReferences == EarlierReferences::Keep ? counts.Count(Finding::EarlierReferences) : 0;
    const std::size_t longest = settings.longestEarlierReference;
    std::vector<RunNote> notes = {
        {NoteKind::UnreadIdRecords, idRecordsUnread ? UnreadIdRecordsNote(unreadIds, telling.voice) : ""},
        {NoteKind::KeptEarlier, kept > 0 ? KeptEarlierNote(kept, telling) : ""},
        {NoteKind::LookAlikes, LookAlikesNote(counts[Finding::LookAlikes], telling.foretold)},
        {NoteKind::HeadingsCut, HeadingsCutNote(counts[Finding::HeadingsCut], longest)},
        {NoteKind::ReferencesCut, ReferencesCutNote(counts[Finding::ReferencesCut], longest, telling.foretold)},
        {NoteKind::LaterLine, LaterLineNote(counts.Count(Finding::LaterLineRecords), telling, preferences)}};
    if (telling.wholeRead && found.levelsSeen) {
        RunNote unmatched{NoteKind::UnmatchedLevels,
                          idRecordsUnread ? "" : UnmatchedNote(telling, settings, *found.levelsSeen)};
        RunNote skipped{NoteKind::SkippedLevel, SkippedNote(telling, settings, *found.levelsSeen)};
        // The command line tells first the name it would have to be given.
        if (telling.voice == Voice::CommandLine)
            std::swap(unmatched, skipped);
        notes.push_back(std::move(unmatched));
        notes.push_back(std::move(skipped));
    }
    std::erase_if(notes, [](const RunNote& note) { return note.text.empty(); });
    return notes;
}

std::string UnlistedLevelsNote(std::int64_t unlisted)
{
    return Counted(unlisted, "more level record") + (unlisted == 1 ? " names a level" : " name levels") +
           " past the first " + std::to_string(LevelCensus::kMostNames) + " names";
}

}  // namespace pellimar
