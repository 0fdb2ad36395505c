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

void TellProblem(PlanProblem problem)
{
    InCliWords(problem.failure, problem.missingToken, problem.message, problem.reason);
    if (problem.outputExists)
        problem.message += " (use -f or --force to overwrite)";
    ReportError(problem.message, {problem.file, problem.reason});
}

// The lines of one report, as the options ask: -q leaves out everything but
// the errors.
class Teller {
public:
    Teller(RunReport& report, const Configuration& configuration) : report_(report), configuration_(configuration) {}

    // Each note after what went to `shown`, naming its file: a note about
    // the input's text, and in a collection every note, unless its words do.
    void Notes(std::size_t i, std::FILE* shown) const
    {
        if (configuration_.quiet)
            return;
        const NoteTelling telling{Voice::CommandLine, Plan().mode != RunMode::Convert, Plan().mode == RunMode::Preview,
                                  InputName(Plan(), i), ForStandardOutput};
        std::fflush(shown);
        for (const RunNote& note : report_.Notes(i, telling)) {
            const InputNamed named = RowOf(note.key).inputNamed;
            const bool before =
                named == InputNamed::BeforeIt || (named == InputNamed::ForSeveral && Plan().IsCollection());
            ReportError("note: " + note.text, before ? ErrorContext{telling.input, {}} : ErrorContext{});
        }
    }

    void Failure(std::size_t i) const
    {
        const FileOutcome& outcome = report_.Outcome(i);
        std::fflush(linesOut);
        ReportError(outcome.error, outcome.errorContext);
        if (outcome.failedInPlace)
            NoteFailedInPlace(report_.File(i).output);
    }

    void Line(std::FILE* to, const std::string& line) const
    {
        if (!configuration_.quiet)
            Print(to, line);
    }

    // A file of a collection: its line and notes, or its failure.
    void FileOfSeveral(std::size_t i) const
    {
        const FileOutcome& outcome = report_.Outcome(i);
        if (outcome.state == State::Failed) {
            Failure(i);
        } else if (outcome.state == State::Converted) {
            Line(linesOut,
                 Plan().mode == RunMode::DryRun ? DryRunLineOf(i) : report_.File(i).input + ": " + FileSummaryOf(i));
            Notes(i, linesOut);
        }
    }

    // A single file's summary, to standard error when standard output is
    // the converted file itself.
    void Single() const
    {
        const FileOutcome& outcome = report_.Outcome(0);
        std::FILE* summary = Plan().settings.standardOutput && Plan().mode == RunMode::Convert ? stderr : linesOut;
        switch (Plan().mode) {
        case RunMode::Convert:
            Line(summary, RunSummary(Plan().settings.earlierReferences, outcome.result.refCount,
                                     outcome.result.EarlierReferences()));
            break;
        case RunMode::DryRun: Line(summary, DryRunLineOf(0)); break;
        case RunMode::Preview: References(outcome); break;
        case RunMode::ListLevels: Levels(0); return;
        }
        Notes(0, summary);
    }

    // The total, and the files that failed or that the checks refused.
    void Totals(std::size_t refused) const
    {
        const EarlierReferences earlier = Plan().settings.earlierReferences;
        const bool dryRun = Plan().mode == RunMode::DryRun;
        const ReportTotals totals = report_.Totals();
        Line(linesOut, dryRun ? DryRunTotal(earlier, totals.converted, totals.references, totals.earlierFound)
                              : CollectionSummary(earlier, totals.converted, totals.references, totals.earlierFound));
        if (totals.failed > 0)
            Line(linesOut, Counted(totals.failed, "file") + (dryRun ? " would fail." : " failed."));
        if (refused > 0)
            Line(linesOut,
                 Counted(static_cast<std::int64_t>(refused), "file") + (dryRun ? " would be refused." : " refused."));
    }

    // Interrupting means "stop and change nothing": the file under way is
    // thrown away, its earlier output left as it was; then the user is told
    // what became of the output, or each output of a collection is named by
    // what it is now, so that none from an earlier run passes for this
    // one's.
    int Cancel() const
    {
        std::fflush(linesOut);
        if (const std::optional<std::size_t> cut = report_.CutShort())
            report_.Outcome(*cut).result.partialOutput->Discard();
        if (Plan().mode != RunMode::Convert) {
            ReportError("Operation Canceled.");
            return kExitCancelled;
        }
        if (!Plan().IsCollection()) {
            ReportError("Operation Canceled." + CancelledOutput());
            return kExitCancelled;
        }
        ReportError("Operation Canceled.");
        for (std::size_t i = 0; i < report_.FileCount(); ++i)
            ReportFate(report_.File(i).output, report_.Fate(i));
        return kExitCancelled;
    }

private:
    const RunPlan& Plan() const { return report_.Plan(); }

    // What a dry run would do with the output, with the file's counts.
    std::string DryRunLineOf(std::size_t i) const
    {
        const RunResult& result = report_.Outcome(i).result;
        const EarlierReferences earlier = Plan().settings.earlierReferences;
        if (Plan().settings.standardOutput)
            return DryRunLine({}, {}, earlier, result);
        return DryRunLine(report_.File(i).output, report_.Forecast(i), earlier, result);
    }

    std::string FileSummaryOf(std::size_t i) const
    {
        const RunResult& result = report_.Outcome(i).result;
        return FileSummary(Plan().settings.earlierReferences, result.refCount, result.EarlierReferences());
    }

    // One line a reference: the line of its record code, a tab, its text.
    static void References(const FileOutcome& outcome)
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
    void Levels(std::size_t i) const
    {
        const LevelCensus& seen = report_.Outcome(i).result.levelsSeen;
        for (const LevelSeen& level : seen.Levels()) {
            const std::string line = ForStandardOutput(BareLevelName(level.name)) + "\t" + std::to_string(level.count) +
                                     "\t" + ForStandardOutput(level.firstHeading) + (level.headingCut ? "..." : "") +
                                     "\n";
            std::fwrite(line.data(), 1, line.size(), linesOut);
        }
        std::fflush(linesOut);
        if (configuration_.quiet)
            return;
        if (seen.Unlisted() > 0)
            ReportError("note: " + UnlistedLevelsNote(seen.Unlisted()));
        const NoteTelling telling{Voice::CommandLine, true, false, InputName(Plan(), i), ForStandardOutput};
        for (const RunNote& note : report_.Notes(i, telling)) {
            if (note.key == "id_form_level_records")
                ReportError("note: " + note.text);
        }
    }

    // A single file's output after a cancel, in the sentence that says so.
    std::string CancelledOutput() const
    {
        const std::string& output = report_.File(0).output;
        if (Plan().settings.standardOutput)
            return {};
        switch (report_.Fate(0)) {
        case OutputFate::Removed: return " The partial output was removed.";
        case OutputFate::LeftAsItWas: return " " + output + " was left as it was.";
        case OutputFate::NotWritten: return " " + output + " was not written.";
        default: return " " + output + " holds only the part written before the cancel.";
        }
    }

    RunReport& report_;
    const Configuration& configuration_;
};

}  // namespace

void TellLinesOnStandardError()
{
    linesOut = stderr;
}

void TellLine(const std::string& line, const Configuration& configuration)
{
    if (!configuration.quiet)
        Print(linesOut, line);
}

void TellProblems(const RunPlan& plan, const std::vector<PlanProblem>& problems)
{
    for (const PlanProblem& problem : problems) {
        TellProblem(problem);
        if (!plan.IsCollection())
            return;
    }
    ReportError(Counted(static_cast<std::int64_t>(problems.size()), "problem") +
                (plan.mode == RunMode::DryRun ? ": nothing would be converted" : ": nothing was converted"));
}

void ForetellOutputs(const RunPlan& plan, const Configuration& configuration)
{
    if (plan.mode != RunMode::Convert || plan.settings.standardOutput || configuration.quiet)
        return;
    for (const CollectionFile& file : plan.files)
        ForetellWhatIsLost(file.output);
}

int TellReport(RunReport& report, const Configuration& configuration)
{
    const Teller teller(report, configuration);
    if (!report.Plan().IsCollection()) {
        if (report.Outcome(0).state == State::Failed) {
            teller.Failure(0);
            return kExitError;
        }
        if (report.Cancelled())
            return teller.Cancel();
        teller.Single();
        return kExitSuccess;
    }
    for (std::size_t i = 0; i < report.FileCount(); ++i)
        teller.FileOfSeveral(i);
    if (report.Cancelled())
        return teller.Cancel();
    teller.Totals(0);
    return report.Totals().failed > 0 ? kExitError : kExitSuccess;
}

int TellAroundProblems(RunReport& report, const RunPlan& whole, const std::vector<PlanProblem>& problems,
                       const Configuration& configuration)
{
    const Teller teller(report, configuration);
    const std::vector<std::vector<PlanProblem>> byFile = ProblemsByFile(whole, problems);
    std::size_t passing = 0;
    for (std::size_t i = 0; i < whole.files.size(); ++i) {
        if (byFile[i].empty()) {
            teller.FileOfSeveral(passing++);
            continue;
        }
        std::fflush(linesOut);
        for (const PlanProblem& problem : byFile[i])
            TellProblem(problem);
    }
    if (report.Cancelled())
        return teller.Cancel();
    std::fflush(linesOut);
    if (configuration.keepGoing)
        teller.Totals(whole.files.size() - report.FileCount());
    else
        ReportError(Counted(static_cast<std::int64_t>(problems.size()), "problem") + ": nothing would be converted");
    return kExitError;
}

}  // namespace pellimar::cli
