// Checks before a collection.
#include "run/collection_checks.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

#include "streams/exceptions.h"
#include "streams/file_names.h"
#include "streams/file_places.h"
#include "streams/file_stream.h"
#include "streams/output_file.h"
#include "streams/output_forecast.h"
#include "streams/run_files.h"
#include "streams/wide_names.h"

namespace pellimar {
namespace {

namespace fs = std::filesystem;

// Why the folder cannot take the outputs; empty when it can.
std::string FolderMissing(const std::string& folder)
{
    std::error_code error;
    const fs::file_status status = fs::status(PathOfName(folder), error);
    if (error == std::errc::no_such_file_or_directory)
        return "no such folder";
    if (error)
        return ReasonOfError(error.value());
    return fs::is_directory(status) ? "" : "it is not a folder";
}

CollectionProblem ProblemOf(const Exception& error)
{
    return {error.what(), error.File(), error.Reason()};
}

// The input opened as its run opens it: a pipe or a device, a file that may
// not be read or that another program keeps from readers, is refused.
std::optional<CollectionProblem> InputRefused(const std::string& input)
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
// locked, a name too long, a new file in a folder that takes none.
std::optional<CollectionProblem> OutputRefused(const std::string& output, OutputTrial trial)
{
    if (trial == OutputTrial::Foreseen) {
        const OutputForecast forecast = ForecastOutput(output);
        if (forecast.refusal.empty())
            return std::nullopt;
        // As below: a new file no folder takes is refused for that.
        const bool inPlace = !forecast.whyInPlace.empty() && !forecast.replacesFile;
        return CollectionProblem{FillPlaceholder(kCannotCreateFile, output), output,
                                 inPlace ? forecast.whyInPlace : forecast.refusal};
    }
    try {
        const OutputFile made(output);
        if (made.WritesInPlace() && !made.ReplacesFile())
            return CollectionProblem{FillPlaceholder(kCannotCreateFile, output), output, made.WhyInPlace()};
        return std::nullopt;
    } catch (const Exception& error) {
        return ProblemOf(error);
    }
}

// Each input as a run checks it, the patterns once, then opened; true for
// each that passed.
std::vector<bool> CheckInputs(const std::vector<std::string>& inputs, RunSettings settings,
                              std::vector<CollectionProblem>& problems)
{
    std::vector<bool> passed;
    bool patternsChecked = false;
    for (const std::string& input : inputs) {
        settings.inputPath = input;
        const RunCheck check = CheckRunInputs(settings);
        if (check.OfInput() || (!check.Passed() && !patternsChecked))
            problems.push_back({check.message, check.file, check.reason, check.failure, check.missingToken});
        patternsChecked = patternsChecked || !check.OfInput();
        const std::optional<CollectionProblem> refused = check.OfInput() ? std::nullopt : InputRefused(input);
        if (refused)
            problems.push_back(*refused);
        passed.push_back(!check.OfInput() && !refused);
    }
    return passed;
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

void CheckOutputs(const std::vector<CollectionFile>& files, const std::vector<bool>& inputPassed, OutputTrial trial,
                  std::vector<CollectionProblem>& problems)
{
    RunFiles inputs;
    for (const CollectionFile& file : files)
        inputs.AddInput(file.input);
    std::vector<std::optional<FilePlace>> outputs;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string& output = files[i].output;
        outputs.push_back(PlaceOfName(output));
        const std::string message = FillPlaceholder(kCannotCreateFile, output);
        if (std::string clash = Clash(files, outputs, inputs, i); !clash.empty())
            problems.push_back({message, output, std::move(clash)});
        else if (OutputIsFolder(output))
            problems.push_back({message, output, "it is a folder"});
        else if (const std::optional<CollectionProblem> refused =
                     inputPassed[i] ? OutputRefused(output, trial) : std::nullopt)
            problems.push_back(*refused);
    }
}

}  // namespace

std::vector<CollectionProblem> CheckCollection(const std::vector<CollectionFile>& files, const std::string& folder,
                                               const RunSettings& settings, OutputTrial trial)
{
    std::vector<CollectionProblem> problems;
    if (std::string reason = FolderMissing(folder); !reason.empty())
        problems.push_back({"The output folder cannot take the outputs.", folder, std::move(reason)});
    std::vector<std::string> inputs;
    for (const CollectionFile& file : files)
        inputs.push_back(file.input);
    const std::vector<bool> inputPassed = CheckInputs(inputs, settings, problems);
    CheckOutputs(files, inputPassed, trial, problems);
    return problems;
}

std::vector<CollectionProblem> CheckCollectionInputs(const std::vector<std::string>& inputs,
                                                     const RunSettings& settings)
{
    std::vector<CollectionProblem> problems;
    CheckInputs(inputs, settings, problems);
    return problems;
}

std::vector<CollectionProblem> OutputsThatAreInputs(const std::vector<CollectionFile>& files)
{
    RunFiles inputs;
    for (const CollectionFile& file : files)
        inputs.AddInput(file.input);
    std::vector<CollectionProblem> problems;
    for (const CollectionFile& file : files) {
        const std::optional<FilePlace> place = PlaceOfName(file.output);
        if (std::string clash = place && place->file ? inputs.Clash(*place->file, file.input) : "";
            !clash.empty())
            problems.push_back({FillPlaceholder(kCannotCreateFile, file.output), file.output, std::move(clash)});
    }
    return problems;
}

// An output named twice (its own fault, told apart) exists once.
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
