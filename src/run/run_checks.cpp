// Checks before a run.
#include "run/run_checks.h"

#include <filesystem>
#include <system_error>

#include "engine/patterns.h"
#include "streams/exceptions.h"
#include "streams/wide_names.h"

namespace pellimar {
namespace {

// Why no input file stands under the name; empty when one does.
std::string InputMissing(const std::string& path)
{
    if (path.empty())
        return "no name given";
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(PathOfName(path), error);
    if (error)
        return ReasonOfError(error.value());
    return std::filesystem::is_directory(status) ? "it is a folder" : "";
}

// Which "#" or level digit of the reference pattern has no source.
std::string MissingPatternSource(const RunSettings& settings)
{
    for (const char c : settings.refPattern) {
        if (c == '#' && settings.pagePattern.empty())
            return "\"#\" stands for the page, and the page-number pattern is empty";
        if (c >= '1' && c <= '7' && settings.levelTexts[c - '1'].empty())
            return std::string("\"") + c + "\" stands for level " + c + ", which has no name";
    }
    return {};
}

RunCheck Failed(RunCheckFailure failure, std::string message)
{
    return {failure, std::move(message), {}, {}};
}

}  // namespace

RunCheck CheckRunInputs(const RunSettings& settings)
{
    if (!settings.standardInput) {
        if (std::string reason = InputMissing(settings.inputPath); !reason.empty())
            return {RunCheckFailure::InputNotFound, kInputFileNotFound, settings.inputPath, std::move(reason)};
    }
    if (!CheckRefPattern(settings))
        return {RunCheckFailure::PatternSourceMissing, kInsufficientPatternInfo, {}, MissingPatternSource(settings)};
    if (!CheckPagePattern(settings))
        return Failed(RunCheckFailure::PagePatternWithoutHash, kPagePatternNeedsHash);
    return {};
}

bool OutputIsInput(const std::string& inputPath, const std::string& outputPath)
{
    if (inputPath.empty() || outputPath.empty())
        return false;
    std::error_code error;
    return std::filesystem::equivalent(PathOfName(inputPath), PathOfName(outputPath), error) && !error;
}

bool OutputExists(const std::string& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::exists(std::filesystem::symlink_status(PathOfName(path), error));
}

bool OutputIsFolder(const std::string& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_directory(PathOfName(path), error);
}

}  // namespace pellimar
