// The findings' rows and their words.
#include "run/finding_table.h"

#include <algorithm>
#include <array>

#include "run/level_notes.h"
#include "run/run_notes.h"
#include "run/run_summary.h"
#include "streams/text_util.h"

namespace pellimar {
namespace {

bool Window(const NoteTelling& telling)
{
    return telling.voice == Voice::Window;
}

// "Switch on File > Preferences > Replace Earlier References"
std::string SwitchOnItem(Preference preference)
{
    return "Switch on File > Preferences > " + WithoutAccessKey(pellimar::RowOf(preference).caption);
}

std::string OptionOf(Preference preference)
{
    return std::string("--") + pellimar::RowOf(preference).cliOption;
}

std::size_t Longest(const NoteSubject& subject)
{
    return subject.settings.longestEarlierReference;
}

Tally Counted(std::int32_t count)
{
    return {count, 0};
}

// Records with IDs read as plain record codes say why a level has no level
// record better than the levels' own note.
bool IdRecordsUnread(const NoteSubject& subject)
{
    return subject.counts.Count(Finding::UnreadIdRecords) > 0 && !subject.preferences.SwitchOn(RunSwitch::IdRecords);
}

// Every level record of the file is of the form <RD,ID:n:Level>, and none
// was read as one, ID record levels being off.
bool AllLevelRecordsInIdForm(const NoteSubject& subject)
{
    return subject.counts.Count(Finding::IdFormLevelRecords) > 0 && subject.levels.Levels().empty() &&
           subject.levels.Unlisted() == 0 && !subject.preferences.SwitchOn(RunSwitch::IdRecords);
}

Tally UnreadIdTally(const NoteSubject& subject)
{
    return IdRecordsUnread(subject) ? subject.counts[Finding::UnreadIdRecords] : Tally{};
}

std::string UnreadIdWords(const NoteSubject&, const Tally& tally, const NoteTelling& telling)
{
    const bool one = tally.count == 1;
    if (!Window(telling))
        return (one ? std::string("1 record code of the form <RD,ID:n:Level> names a level; ")
                    : std::to_string(tally.count) + " record codes of the form <RD,ID:n:Level> name a level; ") +
               OptionOf(Preference::IdRecords) + (one ? " reads it as a level record" : " reads them as level records");
    return (one ? std::string("1 record code of this file names")
                : std::to_string(tally.count) + " record codes of this file name") +
           " a level in the form <RD,ID:n:Level>, as later Folio versions write level records. " +
           SwitchOnItem(Preference::IdRecords) + " to read them as such.";
}

Tally KeptEarlierTally(const NoteSubject& subject)
{
    if (subject.settings.earlierReferences != EarlierReferences::Keep)
        return {};
    return Counted(subject.counts.Count(Finding::EarlierReferences));
}

// References an earlier run wrote into the input, kept beside the new ones.
std::string KeptEarlierWords(const NoteSubject&, const Tally& tally, const NoteTelling& telling)
{
    const bool window = Window(telling);
    std::string holds;
    if (telling.partRead)
        holds = window ? "The part of the file read holds " : "the part of " + telling.input + " read holds ";
    else
        holds = window ? "This file already holds " : telling.input + " already holds ";
    const std::string them = tally.count == 1 ? "it." : "them.";
    return holds + pellimar::Counted(tally.count, "reference") + " from an earlier run; the output " +
           (telling.foretold ? "would have" : "has") + " both. " +
           (window ? SwitchOnItem(Preference::ReplaceReferences) + " to replace " + them
                   : OptionOf(Preference::ReplaceReferences) + " replaces " + them);
}

Tally LookAlikesTally(const NoteSubject& subject)
{
    return subject.counts[Finding::LookAlikes];
}

std::string LookAlikesWords(const NoteSubject&, const Tally& tally, const NoteTelling& telling)
{
    return LookAlikesNote(tally, telling.foretold);
}

Tally HeadingsCutTally(const NoteSubject& subject)
{
    return subject.counts[Finding::HeadingsCut];
}

std::string HeadingsCutWords(const NoteSubject& subject, const Tally& tally, const NoteTelling&)
{
    return HeadingsCutNote(tally, Longest(subject));
}

Tally ReferencesCutTally(const NoteSubject& subject)
{
    return subject.counts[Finding::ReferencesCut];
}

std::string ReferencesCutWords(const NoteSubject& subject, const Tally& tally, const NoteTelling& telling)
{
    return ReferencesCutNote(tally, Longest(subject), telling.foretold);
}

Tally LaterLineTally(const NoteSubject& subject)
{
    return subject.counts[Finding::LaterLineRecords];
}

std::string LaterLineWords(const NoteSubject& subject, const Tally& tally, const NoteTelling& telling)
{
    const std::string advice =
        Window(telling) ? "switch on File > Preferences > " +
                              WithoutAccessKey(pellimar::RowOf(Preference::LineEndRecords).caption) + " to give"
                        : OptionOf(Preference::LineEndRecords) + " gives";
    return LaterLineRecordsNote(tally.count, subject.preferences.On(Preference::LineEndRecords), telling.foretold,
                                advice);
}

// Levels of the pattern that no level record set: known only once the whole
// input was read.
Tally UnmatchedTally(const NoteSubject& subject)
{
    if (!subject.wholeRead || IdRecordsUnread(subject) || AllLevelRecordsInIdForm(subject))
        return {};
    return Counted(static_cast<std::int32_t>(UnmatchedLevels(subject.settings, subject.levels).size()));
}

std::string UnmatchedWords(const NoteSubject& subject, const Tally&, const NoteTelling& telling)
{
    std::string note = UnmatchedLevelsNote(subject.settings, subject.levels);
    if (!Window(telling))
        return telling.shown(note);
    note[0] = ToUpperAscii(note[0]);
    return telling.shown(note + ".");
}

// The first name of the level names' line, not loaded, where the level
// records use it.
Tally SkippedTally(const NoteSubject& subject)
{
    if (!subject.wholeRead)
        return {};
    return Counted(SkippedNameCount(subject.skippedLevelName, subject.settings, subject.levels));
}

std::string SkippedWords(const NoteSubject& subject, const Tally&, const NoteTelling& telling)
{
    const bool window = Window(telling);
    const SkippedName skipped{subject.skippedLevelName, telling.shown(subject.skippedLevelName)};
    const std::string note = SkippedFirstLevelNote(subject.levelsFile, skipped, window ? "this file" : telling.input,
                                                   subject.settings, subject.levels);
    if (window)
        return note + ". " + LevelBoxesAdvice(skipped.name, subject.settings, telling.shown);
    return note + "; " + LevelOptionsAdvice(skipped.name, subject.settings, telling.shown);
}

Tally IdFormTally(const NoteSubject& subject)
{
    if (!subject.wholeRead || !AllLevelRecordsInIdForm(subject) || IdRecordsUnread(subject))
        return {};
    return subject.counts[Finding::IdFormLevelRecords];
}

// "all 12 level records of a.fff are of the form <RD,ID:n:Level>"
std::string IdFormWords(const NoteSubject&, const Tally& tally, const NoteTelling& telling)
{
    const bool one = tally.count == 1;
    const std::string records =
        (one ? std::string("the level record of ") : "all " + std::to_string(tally.count) + " level records of ") +
        (Window(telling) ? "this file" : telling.input) + (one ? " is" : " are");
    if (!Window(telling))
        return records + " of the form <RD,ID:n:Level>; " + OptionOf(Preference::IdRecords) +
               (one ? " reads it as a level record" : " reads them as level records");
    std::string text = records + " in the form <RD,ID:n:Level>, as later Folio versions write level records. " +
                       SwitchOnItem(Preference::IdRecords) + (one ? " to read it as such." : " to read them as such.");
    text[0] = ToUpperAscii(text[0]);
    return text;
}

}  // namespace

const std::vector<FindingRow>& FindingTable()
{
    static const std::vector<FindingRow> table = {
        {"unread_id_records", InputNamed::ForSeveral, UnreadIdTally, UnreadIdWords},
        {"id_form_level_records", InputNamed::InItsWords, IdFormTally, IdFormWords},
        {"earlier_references_kept", InputNamed::InItsWords, KeptEarlierTally, KeptEarlierWords},
        {"look_alikes", InputNamed::BeforeIt, LookAlikesTally, LookAlikesWords},
        {"headings_cut", InputNamed::BeforeIt, HeadingsCutTally, HeadingsCutWords},
        {"references_cut", InputNamed::BeforeIt, ReferencesCutTally, ReferencesCutWords},
        {"later_line_records", InputNamed::BeforeIt, LaterLineTally, LaterLineWords},
        {"unmatched_levels", InputNamed::ForSeveral, UnmatchedTally, UnmatchedWords},
        {"skipped_level_name", InputNamed::InItsWords, SkippedTally, SkippedWords},
    };
    return table;
}

const FindingRow& RowOf(std::string_view key)
{
    const std::vector<FindingRow>& table = FindingTable();
    return *std::find_if(table.begin(), table.end(), [&](const FindingRow& row) { return row.key == key; });
}

std::vector<RunNote> NotesOf(const NoteSubject& subject, const NoteTelling& telling)
{
    std::vector<RunNote> notes;
    for (const FindingRow& row : FindingTable()) {
        const Tally tally = row.tally(subject);
        if (tally.count > 0)
            notes.push_back({row.key, row.words(subject, tally, telling)});
    }
    return notes;
}

}  // namespace pellimar
