// A run's report.
#include "run/run_report.h"

#include "run/run_summary.h"

namespace pellimar {

RunReport::RunReport(RunPlan plan, std::vector<FileOutcome> outcomes, std::vector<bool> stood)
    : plan_(std::move(plan)), outcomes_(std::move(outcomes)), stood_(std::move(stood))
{
    stood_.resize(outcomes_.size(), false);
}

std::optional<std::size_t> RunReport::CutShort() const
{
    for (std::size_t i = 0; i < outcomes_.size(); ++i) {
        if (outcomes_[i].state == FileOutcome::State::Cancelled && outcomes_[i].result.partialOutput)
            return i;
    }
    return std::nullopt;
}

OutputFate RunReport::Fate(std::size_t i) const
{
    const FileOutcome& outcome = outcomes_[i];
    if (outcome.state == FileOutcome::State::Cancelled && outcome.result.partialOutput)
        return FateOfSettled(*outcome.result.partialOutput);
    return FateOf(outcome, stood_[i]);
}

OutputForecast RunReport::Forecast(std::size_t i) const
{
    if (plan_.settings.standardOutput)
        return {};
    return ForecastOutput(plan_.files[i].output);
}

NoteSubject RunReport::SubjectOf(std::size_t i) const
{
    const FileOutcome& outcome = outcomes_[i];
    return {outcome.result.findings, outcome.result.levelsSeen, plan_.settings,        plan_.preferences,
            outcome.wholeRead,       plan_.levelsFile,          plan_.skippedLevelName};
}

// A file that failed or was not run has nothing to tell but that.
std::vector<RunNote> RunReport::Notes(std::size_t i, const NoteTelling& telling) const
{
    if (outcomes_[i].state != FileOutcome::State::Converted)
        return {};
    return NotesOf(SubjectOf(i), telling);
}

std::vector<Tally> RunReport::FindingTallies(std::size_t i) const
{
    const NoteSubject subject = SubjectOf(i);
    std::vector<Tally> tallies;
    for (const FindingRow& row : FindingTable())
        tallies.push_back(outcomes_[i].state == FileOutcome::State::Converted ? row.tally(subject) : Tally{});
    return tallies;
}

bool RunReport::Cancelled() const
{
    for (const FileOutcome& outcome : outcomes_) {
        if (outcome.state == FileOutcome::State::Cancelled || outcome.state == FileOutcome::State::NotRun)
            return true;
    }
    return false;
}

// A file that failed counts no references, though its pass may have made
// some before it failed: none of them was written.
ReportTotals RunReport::Totals() const
{
    ReportTotals totals;
    for (const FileOutcome& outcome : outcomes_) {
        const bool converted = outcome.state == FileOutcome::State::Converted;
        totals.converted += converted ? 1 : 0;
        totals.failed += outcome.state == FileOutcome::State::Failed ? 1 : 0;
        totals.notRun += outcome.state == FileOutcome::State::NotRun ? 1 : 0;
        totals.references += converted ? outcome.result.refCount : 0;
        totals.earlierFound += converted ? outcome.result.EarlierReferences() : 0;
    }
    return totals;
}

std::string FileCountsOf(const RunReport& report, std::size_t i)
{
    const RunResult& result = report.Outcome(i).result;
    return FileCounts(report.Plan().settings.earlierReferences, result.refCount, result.EarlierReferences());
}

}  // namespace pellimar
