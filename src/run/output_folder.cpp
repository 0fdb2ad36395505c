// The output folder.
#include "run/output_folder.h"

#include <filesystem>
#include <system_error>

#include "streams/exceptions.h"
#include "streams/wide_names.h"

namespace pellimar {
namespace {

namespace fs = std::filesystem;

// Why the folder is not there to take the outputs; empty when it is.
std::string WhyNotThere(const fs::path& folder)
{
    std::error_code error;
    const fs::file_status status = fs::status(folder, error);
    if (error == std::errc::no_such_file_or_directory)
        return "no such folder";
    if (error)
        return ReasonOfError(error.value());
    return fs::is_directory(status) ? "" : "it is not a folder";
}

}  // namespace

OutputFolderState LookAtOutputFolder(const std::string& folder)
{
    const fs::path path = PathOfName(folder);
    std::string refusal = WhyNotThere(path);
    if (refusal != "no such folder")
        return {false, std::move(refusal)};
    const fs::path parent = path.parent_path();
    if (WhyNotThere(parent.empty() ? fs::path(".") : parent).empty())
        return {true, {}};
    return {false, std::move(refusal)};
}

std::string MakeOutputFolder(const std::string& folder)
{
    std::error_code error;
    fs::create_directory(PathOfName(folder), error);
    return error ? ReasonOfError(error.value(), true) : "";
}

std::string FolderMadeLine(const std::string& folder, bool foretold)
{
    return (foretold ? "would make folder " : "made folder ") + folder;
}

}  // namespace pellimar
