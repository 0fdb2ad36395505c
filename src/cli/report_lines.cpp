// The command line's lines of a report.
#include "cli/report_lines.h"

#include <cstdio>

#include "cli/cli_messages.h"
#include "cli/console.h"
#include "cli/run_cli.h"
#include "run/level_notes.h"
#include "run/run_summary.h"

namespace pellimar::cli {
namespace {

using State = FileOutcome::State;

// Where the lines for standard output go: standard error, when standard
// output takes the JSON report.
std::FILE* linesOut = stdout;

void Print(std::FILE* to, const std::string& line)
{
    std::fprintf(to, "%s\n", line.c_str());
}

std::string InputName(const RunPlan& plan, std::size_t i)
{
    return plan.settings.standardInput ? "standard input" : plan.files[i].input;
}

// Each note after what went to `shown`, naming its file: a note about the
// input's text, and in a collection every note, unless its words do.
void TellNotes(const RunReport& report, std::size_t i, std::FILE* shown)
{
    const RunPlan& plan = report.Plan();
    const NoteTelling telling{Voice::CommandLine, plan.mode != RunMode::Convert, plan.mode == RunMode::Preview,
                              InputName(plan, i), ForStandardOutput};
    std::fflush(shown);
    for (const RunNote& note : report.Notes(i, telling)) {
        const InputNamed named = RowOf(note.key).inputNamed;
        const bool before = named == InputNamed::BeforeIt || (named == InputNamed::ForSeveral && plan.IsCollection());
        ReportError("note: " + note.text, before ? ErrorContext{telling.input, {}} : ErrorContext{});
    }
}

void TellFailure(const RunReport& report, std::size_t i)
{
    const FileOutcome& outcome = report.Outcome(i);
    std::fflush(linesOut);
    ReportError(outcome.error, outcome.errorContext);
    if (outcome.failedInPlace)
        NoteFailedInPlace(report.File(i).output);
}

// What a dry run would do with the output, with the file's counts.
std::string DryRunLineOf(const RunReport& report, std::size_t i)
{
    const RunPlan& plan = report.Plan();
    const RunResult& result = report.Outcome(i).result;
    if (plan.settings.standardOutput)
        return DryRunLine({}, {}, plan.settings.earlierReferences, result);
    return DryRunLine(report.File(i).output, report.Forecast(i), plan.settings.earlierReferences, result);
}

std::string FileSummaryOf(const RunReport& report, std::size_t i)
{
    const RunResult& result = report.Outcome(i).result;
    return FileSummary(report.Plan().settings.earlierReferences, result.refCount, result.EarlierReferences());
}

// One line a reference: the line of its record code, a tab, its text.
void TellReferences(const FileOutcome& outcome)
{
    for (const PreviewReference& reference : outcome.references) {
        std::fprintf(linesOut, "%lld\t", static_cast<long long>(reference.line));
        const std::string text = ForStandardOutput(reference.text);
        std::fwrite(text.data(), 1, text.size(), linesOut);
        std::fputc('\n', linesOut);
    }
}

// One line a level name: the name, a tab, its count, a tab, its first
// heading; of the notes, only those about the levels.
void TellLevels(const RunReport& report, std::size_t i)
{
    const LevelCensus& seen = report.Outcome(i).result.levelsSeen;
    for (const LevelSeen& level : seen.Levels()) {
        const std::string line = ForStandardOutput(BareLevelName(level.name)) + "\t" + std::to_string(level.count) +
                                 "\t" + ForStandardOutput(level.firstHeading) + (level.headingCut ? "..." : "") + "\n";
        std::fwrite(line.data(), 1, line.size(), linesOut);
    }
    std::fflush(linesOut);
    if (seen.Unlisted() > 0)
        ReportError("note: " + UnlistedLevelsNote(seen.Unlisted()));
    const NoteTelling telling{Voice::CommandLine, true, false, InputName(report.Plan(), i), ForStandardOutput};
    for (const RunNote& note : report.Notes(i, telling)) {
        if (note.key == "id_form_level_records")
            ReportError("note: " + note.text);
    }
}

// A single file's summary, to standard error when standard output is the
// converted file itself.
void TellSingle(const RunReport& report, const Configuration& configuration)
{
    const RunPlan& plan = report.Plan();
    const FileOutcome& outcome = report.Outcome(0);
    std::FILE* summary = plan.settings.standardOutput && plan.mode == RunMode::Convert ? stderr : linesOut;
    switch (plan.mode) {
        case RunMode::Convert:
            if (!configuration.quiet)
                Print(summary, RunSummary(plan.settings.earlierReferences, outcome.result.refCount,
                                          outcome.result.EarlierReferences()));
            break;
        case RunMode::DryRun:
            if (!configuration.quiet)
                Print(summary, DryRunLineOf(report, 0));
            break;
        case RunMode::Preview:
            TellReferences(outcome);
            break;
        case RunMode::ListLevels:
            TellLevels(report, 0);
            return;
    }
    TellNotes(report, 0, summary);
}

void TellCollection(const RunReport& report, const Configuration& configuration)
{
    const RunPlan& plan = report.Plan();
    const bool dryRun = plan.mode == RunMode::DryRun;
    for (std::size_t i = 0; i < report.FileCount(); ++i) {
        const FileOutcome& outcome = report.Outcome(i);
        if (outcome.state == State::Failed) {
            TellFailure(report, i);
        } else if (outcome.state == State::Converted) {
            if (!configuration.quiet)
                Print(linesOut,
                      dryRun ? DryRunLineOf(report, i) : report.File(i).input + ": " + FileSummaryOf(report, i));
            TellNotes(report, i, linesOut);
        }
    }
}

void TellTotals(const RunReport& report, const Configuration& configuration)
{
    if (configuration.quiet)
        return;
    const EarlierReferences earlier = report.Plan().settings.earlierReferences;
    const bool dryRun = report.Plan().mode == RunMode::DryRun;
    const ReportTotals totals = report.Totals();
    Print(linesOut, dryRun ? DryRunTotal(earlier, totals.converted, totals.references, totals.earlierFound)
                           : CollectionSummary(earlier, totals.converted, totals.references, totals.earlierFound));
    if (totals.failed > 0)
        Print(linesOut, Counted(totals.failed, "file") + (dryRun ? " would fail." : " failed."));
}

// A single file's output after a cancel, in the sentence that says so.
std::string CancelledOutput(const RunReport& report)
{
    const std::string& output = report.File(0).output;
    if (report.Plan().settings.standardOutput)
        return {};
    switch (report.Fate(0)) {
        case OutputFate::Removed:
            return " The partial output was removed.";
        case OutputFate::LeftAsItWas:
            return " " + output + " was left as it was.";
        case OutputFate::NotWritten:
            return " " + output + " was not written.";
        default:
            return " " + output + " holds only the part written before the cancel.";
    }
}

// Interrupting means "stop and change nothing": the file under way is
// thrown away, its earlier output left as it was; then the user is told
// what became of the output, or each output of a collection is named by
// what it is now, so that none from an earlier run passes for this one's.
int TellCancel(RunReport& report)
{
    const RunPlan& plan = report.Plan();
    std::fflush(linesOut);
    if (const std::optional<std::size_t> cut = report.CutShort())
        report.Outcome(*cut).result.partialOutput->Discard();
    if (plan.mode != RunMode::Convert) {
        ReportError("Operation Canceled.");
        return kExitCancelled;
    }
    if (!plan.IsCollection()) {
        ReportError("Operation Canceled." + CancelledOutput(report));
        return kExitCancelled;
    }
    ReportError("Operation Canceled.");
    for (std::size_t i = 0; i < report.FileCount(); ++i)
        ReportFate(report.File(i).output, report.Fate(i));
    return kExitCancelled;
}

void TellProblem(PlanProblem problem)
{
    InCliWords(problem.failure, problem.missingToken, problem.message, problem.reason);
    if (problem.outputExists)
        problem.message += " (use -f or --force to overwrite)";
    ReportError(problem.message, {problem.file, problem.reason});
}

void TellProblemsCounted(const RunPlan& plan, std::size_t count)
{
    ReportError(Counted(static_cast<std::int64_t>(count), "problem") +
                (plan.mode == RunMode::DryRun ? ": nothing would be converted" : ": nothing was converted"));
}

}  // namespace

void TellLinesOnStandardError()
{
    linesOut = stderr;
}

void TellProblems(const RunPlan& plan, const std::vector<PlanProblem>& problems)
{
    for (const PlanProblem& problem : problems) {
        TellProblem(problem);
        if (!plan.IsCollection())
            return;
    }
    TellProblemsCounted(plan, problems.size());
}

int TellForetoldAround(const RunReport& report, const RunPlan& whole, const std::vector<PlanProblem>& problems,
                       const Configuration& configuration)
{
    const std::vector<std::vector<PlanProblem>> byFile = ProblemsByFile(whole, problems);
    std::size_t passing = 0;
    for (std::size_t i = 0; i < whole.files.size(); ++i) {
        if (!byFile[i].empty()) {
            std::fflush(linesOut);
            for (const PlanProblem& problem : byFile[i])
                TellProblem(problem);
            continue;
        }
        const std::size_t j = passing++;
        if (report.Outcome(j).state == State::Failed) {
            TellFailure(report, j);
            continue;
        }
        if (!configuration.quiet)
            Print(linesOut, DryRunLineOf(report, j));
        TellNotes(report, j, linesOut);
    }
    std::fflush(linesOut);
    TellProblemsCounted(whole, problems.size());
    return kExitError;
}

void ForetellOutputs(const RunPlan& plan)
{
    if (plan.mode != RunMode::Convert || plan.settings.standardOutput)
        return;
    for (const CollectionFile& file : plan.files)
        ForetellWhatIsLost(file.output);
}

int TellReport(RunReport& report, const Configuration& configuration)
{
    const RunPlan& plan = report.Plan();
    if (!plan.IsCollection()) {
        if (report.Outcome(0).state == State::Failed) {
            TellFailure(report, 0);
            return kExitError;
        }
        if (report.Cancelled())
            return TellCancel(report);
        TellSingle(report, configuration);
        return kExitSuccess;
    }
    TellCollection(report, configuration);
    if (report.Cancelled())
        return TellCancel(report);
    TellTotals(report, configuration);
    return report.Totals().failed > 0 ? kExitError : kExitSuccess;
}

}  // namespace pellimar::cli
