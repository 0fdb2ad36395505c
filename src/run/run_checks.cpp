// Checks before a run.
#include "run/run_checks.h"

#include <sys/stat.h>

#include <cerrno>

#include "engine/patterns.h"
#include "streams/exceptions.h"

namespace pellimar {
namespace {

// Why no input file stands under the name; empty when one does.
std::string InputMissing(const std::string& path)
{
    struct stat info {};
    if (path.empty())
        return "no name given";
    if (::stat(path.c_str(), &info) != 0)
        return ReasonOfError(errno);
    return S_ISDIR(info.st_mode) ? "it is a folder" : "";
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
        return Failed(RunCheckFailure::PatternSourceMissing, kInsufficientPatternInfo);
    if (!CheckPagePattern(settings))
        return Failed(RunCheckFailure::PagePatternWithoutHash, kPagePatternNeedsHash);
    return {};
}

bool OutputExists(const std::string& path)
{
    struct stat info {};
    return !path.empty() && ::lstat(path.c_str(), &info) == 0;
}

}  // namespace pellimar
