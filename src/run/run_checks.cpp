// Checks before a run.
#include "run/run_checks.h"

#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>

#include "engine/patterns.h"
#include "streams/exceptions.h"
#include "streams/file_names.h"
#include "streams/file_places.h"
#include "streams/wide_names.h"

namespace pellimar {
namespace {

// Why no input file stands under the name; empty when one does.
std::string InputMissing(const std::string& path, bool& folder)
{
    if (path.empty())
        return "no name given";
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(PathOfName(path), error);
    folder = std::filesystem::is_directory(status);
    return error ? ReasonOfError(error.value()) : "";
}

RunCheck Failed(RunCheckFailure failure, std::string message)
{
    return {failure, std::move(message), {}, {}};
}

// The part of a path after its folders (on any system's separators).
std::string_view FileNamePart(const std::string& path)
{
    const std::size_t folderEnd = path.find_last_of("\\/:");
    return std::string_view(path).substr(folderEnd == std::string::npos ? 0 : folderEnd + 1);
}

}  // namespace

// A name Windows takes for a device is refused as an input before it is
// opened, as any device is, in place of its being no file; a folder is
// there, so it is refused as what it is and not as missing.
RunCheck CheckRunInputs(const RunSettings& settings)
{
    const std::string& input = settings.inputPath;
    if (!settings.standardInput && DeviceOfName(input))
        return {RunCheckFailure::InputIsDevice, FillPlaceholder(kCannotOpenFile, input), input,
                "it is not a regular file"};
    if (!settings.standardInput) {
        bool folder = false;
        if (std::string reason = InputMissing(input, folder); !reason.empty())
            return {RunCheckFailure::InputNotFound, kInputFileNotFound, input, std::move(reason)};
        if (folder)
            return {RunCheckFailure::InputIsFolder, FillPlaceholder(kCannotOpenFile, input), input, "it is a folder"};
    }
    const ReferencePattern pattern(settings.refPattern);
    if (std::optional<MissingSource> missing = pattern.Missing(settings.pagePattern, settings.levelTexts))
        return {RunCheckFailure::PatternSourceMissing, kInsufficientPatternInfo, {}, std::move(missing->reason),
                missing->token};
    if (!PagePatternServes(pattern, settings.pagePattern))
        return Failed(RunCheckFailure::PagePatternWithoutHash, kPagePatternNeedsHash);
    if (std::optional<std::string> why = UnrecognisableReferences(settings.refPattern))
        return {RunCheckFailure::ReferencesUnrecognisable, kReferencesUnrecognisable, {}, std::move(*why)};
    return {};
}

// Unless it names the device alone (NUL, as /dev/null elsewhere), a name
// Windows takes for a device would send the output there, and the file the
// user meant would never be written.
RunCheck CheckRunOutput(const RunSettings& settings)
{
    if (settings.standardOutput)
        return {};
    const std::string& path = settings.outputPath;
    const std::string message = FillPlaceholder(kCannotCreateFile, path);
    const std::optional<std::string> device = DeviceOfName(path);
    if (device && FileNamePart(path).find('.') != std::string_view::npos)
        return {RunCheckFailure::OutputIsDevice, message, path, "Windows takes the name for the device " + *device};
    if (OutputIsFolder(path))
        return {RunCheckFailure::OutputIsFolder, message, path, "it is a folder"};
    if (!settings.standardInput && OutputIsInput(settings.inputPath, path))
        return {RunCheckFailure::OutputIsInput, message, path, kOutputIsInput};
    return {};
}

bool OutputIsInput(const std::string& inputPath, const std::string& outputPath)
{
    return !inputPath.empty() && !outputPath.empty() && SameFile(inputPath, outputPath);
}

// Writing into a device or a pipe replaces no file, as cp sees it too.
bool OutputExists(const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path name = PathOfName(path);
    if (path.empty() || DeviceOfName(path) || !fs::exists(fs::symlink_status(name, error)))
        return false;
    const fs::file_status target = fs::status(name, error);
    return !fs::is_character_file(target) && !fs::is_fifo(target);
}

bool OutputIsFolder(const std::string& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_directory(PathOfName(path), error);
}

}  // namespace pellimar
