// Checks before a run.
#include "run/plan_checks.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

#include "run/output_folder.h"
#include "streams/exceptions.h"
#include "streams/file_names.h"
#include "streams/file_places.h"
#include "streams/file_stream.h"
#include "streams/output_forecast.h"
#include "streams/run_files.h"
#include "streams/wide_names.h"

namespace pellimar {
namespace {

namespace fs = std::filesystem;

PlanProblem ProblemOf(const Exception& error)
{
    return {error.what(), error.File(), error.Reason()};
}

PlanProblem CannotCreate(const std::string& output, std::string reason)
{
    return {FillPlaceholder(kCannotCreateFile, output), output, std::move(reason)};
}

// The input opened as its run opens it.
std::optional<PlanProblem> InputRefused(const std::string& input)
{
    try {
        const TFileStream opened(input, fmOpenRead);
        return std::nullopt;
    } catch (const Exception& error) {
        return ProblemOf(error);
    }
}

// The output made as its run makes it, and thrown away, or only foreseen:
// a link that may not be followed, a file that may not be written or is
// locked, a name too long, a new file in a folder that takes none (in the
// words the system would give the run when it made it).
std::optional<PlanProblem> OutputRefused(const std::string& output, RunMode mode)
{
    if (mode == RunMode::DryRun) {
        const OutputForecast forecast = ForecastOutput(output);
        if (forecast.refusal.empty())
            return std::nullopt;
        return CannotCreate(output, forecast.refusal);
    }
    try {
        const OutputFile made(output);
        if (made.WritesInPlace() && !made.ReplacesFile()) {
            const std::string refusal = ForecastOutput(output).refusal;
            return CannotCreate(output, refusal.empty() ? made.WhyInPlace() : refusal);
        }
        return std::nullopt;
    } catch (const Exception& error) {
        return ProblemOf(error);
    }
}

// Each input as a run checks it, the patterns once, then opened; true for
// each that passed.
std::vector<bool> CheckInputs(const RunPlan& plan, std::vector<PlanProblem>& problems)
{
    RunSettings settings = plan.settings;
    std::vector<bool> passed;
    bool patternsChecked = false;
    for (const CollectionFile& file : plan.files) {
        settings.inputPath = file.input;
        const RunCheck check = CheckRunInputs(settings);
        if (check.OfInput() || (!check.Passed() && !patternsChecked))
            problems.push_back({check.message, check.file, check.reason, check.failure, check.missingToken});
        patternsChecked = patternsChecked || !check.OfInput();
        const bool named = !settings.standardInput && !check.OfInput();
        const std::optional<PlanProblem> refused = named ? InputRefused(file.input) : std::nullopt;
        if (refused)
            problems.push_back(*refused);
        passed.push_back(!check.OfInput() && !refused);
    }
    return passed;
}

// Where an output of a folder still to be made would go: its name there.
FilePlace InFolderToBeMade(const std::string& output)
{
    return {std::nullopt, std::nullopt, NameOfPath(PathOfName(output).filename())};
}

// Why the output may not go where its name leads: one of the inputs, or
// where an earlier output goes.
std::string Clash(const std::vector<CollectionFile>& files, const std::vector<std::optional<FilePlace>>& outputs,
                  const RunFiles& inputs, std::size_t i)
{
    if (!outputs[i])
        return {};
    if (outputs[i]->file) {
        if (std::string clash = inputs.Clash(*outputs[i]->file, files[i].input); !clash.empty())
            return clash;
    }
    for (std::size_t earlier = 0; earlier < i; ++earlier) {
        if (outputs[earlier] && SamePlace(*outputs[earlier], *outputs[i]))
            return OutputOfTooReason(files[earlier].input);
    }
    return {};
}

void AddInputs(const std::vector<CollectionFile>& files, RunFiles& inputs)
{
    for (const CollectionFile& file : files)
        inputs.AddInput(file.input);
}

// An output refused already (the input itself) is not told to be in the
// way as well; one that cannot be made is not tried while its folder or its
// input is missing. In a folder still to be made, nothing stands, and
// outputs are one where their names are.
void CheckOutputs(const RunPlan& plan, const std::vector<bool>& inputPassed, const OutputFolderState& folder,
                  std::vector<PlanProblem>& problems)
{
    const std::vector<CollectionFile>& files = plan.files;
    RunFiles inputs;
    AddInputs(files, inputs);
    const bool folderPassed = folder.refusal.empty() && !folder.toBeMade;
    std::vector<std::optional<FilePlace>> outputs;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string& output = files[i].output;
        outputs.push_back(folder.toBeMade ? std::optional(InFolderToBeMade(output)) : PlaceOfName(output));
        RunSettings settings = plan.settings;
        settings.inputPath = files[i].input;
        settings.outputPath = output;
        const RunCheck check = CheckRunOutput(settings);
        if (!check.Passed() && check.failure != RunCheckFailure::OutputIsInput)
            problems.push_back({check.message, check.file, check.reason, check.failure});
        else if (std::string clash = Clash(files, outputs, inputs, i); !clash.empty())
            problems.push_back(CannotCreate(output, std::move(clash)));
        else if (!plan.replaceExisting && OutputExists(output))
            problems.push_back({std::string(kOutputFileExists), output, {}, {}, 0, true});
        else if (const std::optional<PlanProblem> refused =
                     inputPassed[i] && folderPassed ? OutputRefused(output, plan.mode) : std::nullopt)
            problems.push_back(*refused);
    }
}

}  // namespace

std::vector<PlanProblem> CheckPlan(const RunPlan& plan)
{
    std::vector<PlanProblem> problems;
    const OutputFolderState folder = plan.folder ? LookAtOutputFolder(*plan.folder) : OutputFolderState{};
    if (!folder.refusal.empty())
        problems.push_back({kFolderCannotTakeOutputs, *plan.folder, folder.refusal});
    const std::vector<bool> inputPassed = CheckInputs(plan, problems);
    if (plan.WritesOutputs() && !plan.settings.standardOutput)
        CheckOutputs(plan, inputPassed, folder, problems);
    return problems;
}

std::vector<std::vector<PlanProblem>> ProblemsByFile(const RunPlan& plan, const std::vector<PlanProblem>& problems)
{
    std::vector<std::vector<PlanProblem>> byFile(plan.files.size());
    for (const PlanProblem& problem : problems) {
        for (std::size_t i = 0; i < plan.files.size(); ++i) {
            if (problem.file == plan.files[i].input || problem.file == plan.files[i].output) {
                byFile[i].push_back(problem);
                break;
            }
        }
    }
    return byFile;
}

bool EachProblemIsAFiles(const RunPlan& plan, const std::vector<PlanProblem>& problems)
{
    std::size_t ofFiles = 0;
    for (const std::vector<PlanProblem>& ofFile : ProblemsByFile(plan, problems))
        ofFiles += ofFile.size();
    return ofFiles == problems.size();
}

RunPlan WithoutRefusedFiles(RunPlan plan, const std::vector<PlanProblem>& problems)
{
    const std::vector<std::vector<PlanProblem>> byFile = ProblemsByFile(plan, problems);
    std::vector<CollectionFile> passing;
    for (std::size_t i = 0; i < plan.files.size(); ++i) {
        if (byFile[i].empty())
            passing.push_back(std::move(plan.files[i]));
    }
    plan.files = std::move(passing);
    return plan;
}

std::vector<PlanProblem> OutputsThatAreInputs(const std::vector<CollectionFile>& files)
{
    RunFiles inputs;
    AddInputs(files, inputs);
    std::vector<PlanProblem> problems;
    for (const CollectionFile& file : files) {
        const std::optional<FilePlace> place = PlaceOfName(file.output);
        if (std::string clash = place && place->file ? inputs.Clash(*place->file, file.input) : ""; !clash.empty())
            problems.push_back(CannotCreate(file.output, std::move(clash)));
    }
    return problems;
}

std::vector<std::string> ExistingOutputs(const std::vector<CollectionFile>& files)
{
    std::vector<std::string> existing;
    std::vector<std::optional<FilePlace>> places;
    for (const CollectionFile& file : files) {
        const std::optional<FilePlace> place = PlaceOfName(file.output);
        const bool named = std::any_of(places.begin(), places.end(), [&](const std::optional<FilePlace>& earlier) {
            return earlier && place && SamePlace(*earlier, *place);
        });
        places.push_back(place);
        if (!named && OutputExists(file.output))
            existing.push_back(file.output);
    }
    return existing;
}

}  // namespace pellimar
