// Checks before a run.
#include "run/run_checks.h"

#include <filesystem>
#include <optional>
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
    const ReferencePattern pattern(settings.refPattern);
    if (std::optional<MissingSource> missing = pattern.Missing(settings.pagePattern, settings.levelTexts))
        return {RunCheckFailure::PatternSourceMissing, kInsufficientPatternInfo, {}, std::move(missing->reason)};
    if (!PagePatternServes(pattern, settings.pagePattern))
        return Failed(RunCheckFailure::PagePatternWithoutHash, kPagePatternNeedsHash);
    if (std::optional<std::string> why = UnrecognisableReferences(settings.refPattern))
        return {RunCheckFailure::ReferencesUnrecognisable, kReferencesUnrecognisable, {}, std::move(*why)};
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
