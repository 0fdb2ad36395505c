// Checks before a run.
#include "run/run_checks.h"

#include <sys/stat.h>

#include "engine/patterns.h"

namespace pellimar {
namespace {

bool IsInputFile(const std::string& path)
{
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

RunCheck Failed(RunCheckFailure failure, std::string message)
{
    return {failure, std::move(message)};
}

}  // namespace

RunCheck CheckRunInputs(const RunSettings& settings)
{
    if (!IsInputFile(settings.inputPath))
        return Failed(RunCheckFailure::InputNotFound, kInputFileNotFound);
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
