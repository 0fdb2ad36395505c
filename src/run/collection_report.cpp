// A collection's outcomes added up, and the notes said once for the whole.
#include "run/run_notes.h"
#include "run/run_report.h"
#include "run/run_summary.h"
#include "streams/text_util.h"

namespace pellimar {
namespace {

using Named = CollectionTally::Named;

void AddTallied(std::vector<Named>& files, const std::string& input, const Tally& tally)
{
    if (tally.count > 0)
        files.push_back({input, tally});
}

void AddNamed(std::vector<Named>& files, const std::string& input, std::int32_t count)
{
    AddTallied(files, input, {count, 0});
}

enum class Shown { Name, Count, CountAndLine };

// "a.fff, b.fff", "a.fff (3), b.fff (1)" or "a.fff (3, first on line 4)".
// A box must fit on the screen, so the window's list is cut.
std::string FilesListed(const std::vector<Named>& files, Shown shown, Voice voice)
{
    std::vector<std::string> items;
    for (const Named& file : files) {
        if (shown == Shown::Name) {
            items.push_back(file.file);
            continue;
        }
        const std::string line = shown == Shown::CountAndLine ? FirstLine(file.tally) : "";
        items.push_back(file.file + " (" + std::to_string(file.tally.count) + line + ")");
    }
    return voice == Voice::Window ? Listed(items, ", ") : Joined(items, ", ");
}

std::string UnreadIdsNote(const CollectionTally& tally, Voice voice)
{
    if (voice == Voice::CommandLine)
        return "record codes of the form <RD,ID:n:Level> name a level in " +
               FilesListed(tally.unreadIds, Shown::Count, voice) + "; --id-records reads them as level records";
    return "Record codes of " + FilesListed(tally.unreadIds, Shown::Name, voice) +
           " name a level in the form <RD,ID:n:Level>, as later Folio versions write level records. Switch on File > "
           "Preferences > " +
           WithoutAccessKey(RowOf(Preference::IdRecords).caption) + " to read them as such.";
}

std::string KeptEarlierNote(const CollectionTally& tally, Voice voice, bool foretold)
{
    const std::string have = std::string("; the outputs ") + (foretold ? "would have" : "have") + " both. ";
    if (voice == Voice::CommandLine)
        return "references from an earlier run are already in " + FilesListed(tally.keptEarlier, Shown::Count, voice) +
               have + "--replace-references replaces them.";
    return FilesListed(tally.keptEarlier, Shown::Name, voice) + (foretold ? " already hold" : " already held") +
           " references from an earlier run" + have + "Switch on File > Preferences > " +
           WithoutAccessKey(RowOf(Preference::ReplaceReferences).caption) + " to replace them.";
}

std::string LaterLineNote(const CollectionTally& tally, Voice voice, bool foretold, const Preferences& preferences)
{
    const std::string got = std::string(foretold ? "get" : "got") + " no reference in " +
                            FilesListed(tally.laterLine, Shown::Count, voice);
    if (preferences.On(Preference::LineEndRecords))
        return "records whose text begins more than 64 KB after their record code's line break " + got + ".";
    return "records that begin on the line after their record code " + got +
           (voice == Voice::CommandLine ? "; --line-end-records gives them one."
                                        : ". Switch on File > Preferences > " +
                                              WithoutAccessKey(RowOf(Preference::LineEndRecords).caption) +
                                              " to give them one.");
}

}  // namespace

CollectionTally TallyOf(const std::vector<FileOutcome>& outcomes, const std::vector<CollectionFile>& files,
                        EarlierReferences earlier)
{
    CollectionTally tally;
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        const FileOutcome& outcome = outcomes[i];
        const RunResult& result = outcome.result;
        const bool converted = outcome.state == FileOutcome::State::Converted;
        tally.converted += converted ? 1 : 0;
        tally.failed += outcome.state == FileOutcome::State::Failed ? 1 : 0;
        tally.notRun += outcome.state == FileOutcome::State::NotRun ? 1 : 0;
        tally.references += converted ? result.refCount : 0;
        const Findings& found = result.findings;
        tally.earlierFound += converted ? result.EarlierReferences() : 0;
        AddNamed(tally.unreadIds, files[i].input, found.Count(Finding::UnreadIdRecords));
        AddNamed(tally.keptEarlier, files[i].input,
                 earlier == EarlierReferences::Keep ? result.EarlierReferences() : 0);
        AddNamed(tally.laterLine, files[i].input, found.Count(Finding::LaterLineRecords));
        AddTallied(tally.lookAlikes, files[i].input, found[Finding::LookAlikes]);
        AddTallied(tally.headingsCut, files[i].input, found[Finding::HeadingsCut]);
        AddTallied(tally.referencesCut, files[i].input, found[Finding::ReferencesCut]);
    }
    return tally;
}

std::vector<std::string> CollectionNotes(const CollectionTally& tally, Voice voice, bool foretold,
                                         const Preferences& preferences, std::size_t longest)
{
    const std::string kilobytes = std::to_string(longest / 1024) + " KB";
    std::vector<std::string> notes;
    if (!tally.unreadIds.empty() && !preferences.SwitchOn(RunSwitch::IdRecords))
        notes.push_back(UnreadIdsNote(tally, voice));
    if (!tally.keptEarlier.empty())
        notes.push_back(KeptEarlierNote(tally, voice, foretold));
    if (!tally.laterLine.empty())
        notes.push_back(LaterLineNote(tally, voice, foretold, preferences));
    if (!tally.lookAlikes.empty())
        notes.push_back("texts after record codes begin like a reference but are not one in " +
                        FilesListed(tally.lookAlikes, Shown::CountAndLine, voice) +
                        (foretold ? "; a run keeps them." : "; they were kept."));
    if (!tally.headingsCut.empty())
        notes.push_back("headings longer than " + kilobytes + " keep their first " + kilobytes + " in " +
                        FilesListed(tally.headingsCut, Shown::CountAndLine, voice) + ".");
    if (!tally.referencesCut.empty())
        notes.push_back(std::string("references ") + (foretold ? "would be" : "were") + " cut to " + kilobytes +
                        ", the longest a later run recognises, in " +
                        FilesListed(tally.referencesCut, Shown::CountAndLine, voice) + ".");
    // The window's notes are sentences of their own.
    if (voice == Voice::Window) {
        for (std::string& note : notes)
            note[0] = ToUpperAscii(note[0]);
    }
    return notes;
}

CollectionReport ReportOfCollection(const std::vector<FileOutcome>& outcomes, const std::vector<CollectionFile>& files,
                                    bool dryRun, const RunSettings& settings, const Preferences& preferences)
{
    const EarlierReferences earlier = settings.earlierReferences;
    CollectionReport report{TallyOf(outcomes, files, earlier), {}, {}, {}};
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        const RunResult& result = outcomes[i].result;
        std::string line;
        if (outcomes[i].state == FileOutcome::State::Converted)
            line = dryRun ? DryRunLine(files[i].output, ForecastOutput(files[i].output), earlier, result)
                          : files[i].input + ": " + FileSummary(earlier, result.refCount, result.EarlierReferences());
        report.fileLines.push_back(std::move(line));
    }
    const CollectionTally& tally = report.tally;
    report.totals.push_back(dryRun ? DryRunTotal(earlier, tally.converted, tally.references, tally.earlierFound)
                                   : CollectionSummary(earlier, tally.converted, tally.references, tally.earlierFound));
    if (tally.failed > 0)
        report.totals.push_back(Counted(tally.failed, "file") + (dryRun ? " would fail." : " failed."));
    report.notes =
        CollectionNotes(tally, Voice::CommandLine, dryRun, preferences, settings.longestEarlierReference);
    return report;
}

}  // namespace pellimar
