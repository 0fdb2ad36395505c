// Checks before a collection.
#include "run/collection_checks.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "streams/exceptions.h"
#include "streams/file_names.h"
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

// The input's folder is the output folder, through links or another
// spelling too: its output would be the input itself.
bool InFolder(const std::string& input, const std::string& folder)
{
    std::error_code error;
    const fs::path inputFolder = fs::absolute(PathOfName(input), error).parent_path();
    return !error && fs::equivalent(inputFolder, PathOfName(folder), error) && !error;
}

void CheckInputs(const std::vector<CollectionFile>& files, RunSettings settings,
                 std::vector<CollectionProblem>& problems)
{
    bool patternsChecked = false;
    for (const CollectionFile& file : files) {
        settings.inputPath = file.input;
        const RunCheck check = CheckRunInputs(settings);
        if (check.failure == RunCheckFailure::InputNotFound || (!check.Passed() && !patternsChecked))
            problems.push_back({check.message, check.file, check.reason});
        patternsChecked = patternsChecked || check.failure != RunCheckFailure::InputNotFound;
    }
}

void CheckOutputs(const std::vector<CollectionFile>& files, const std::string& folder,
                  std::vector<CollectionProblem>& problems)
{
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string message = FillPlaceholder(kCannotCreateFile, files[i].output);
        for (std::size_t earlier = 0; earlier < i; ++earlier) {
            if (SameFileName(files[earlier].output, files[i].output)) {
                problems.push_back({message, files[i].output, "the output of " + files[earlier].input + " too"});
                break;
            }
        }
        if (InFolder(files[i].input, folder))
            problems.push_back({message, files[i].output, kOutputIsInput});
        else if (OutputIsFolder(files[i].output))
            problems.push_back({message, files[i].output, "it is a folder"});
    }
}

}  // namespace

std::vector<CollectionProblem> CheckCollection(const std::vector<CollectionFile>& files, const std::string& folder,
                                               const RunSettings& settings)
{
    std::vector<CollectionProblem> problems;
    if (std::string reason = FolderMissing(folder); !reason.empty())
        problems.push_back({"The output folder cannot take the outputs.", folder, std::move(reason)});
    CheckInputs(files, settings, problems);
    CheckOutputs(files, folder, problems);
    return problems;
}

std::vector<std::string> ExistingOutputs(const std::vector<CollectionFile>& files)
{
    std::vector<std::string> existing;
    for (const CollectionFile& file : files) {
        // An output named twice (its own fault, told apart) exists once.
        const bool named = std::any_of(existing.begin(), existing.end(),
                                       [&](const std::string& output) { return SameFileName(output, file.output); });
        if (!named && OutputExists(file.output))
            existing.push_back(file.output);
    }
    return existing;
}

}  // namespace pellimar
