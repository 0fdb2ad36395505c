// Names of dropped files: definition files and derived output names.
#include "window_model/dropped_file.h"

#include <filesystem>
#include <string_view>

#include "streams/text_util.h"

namespace pellimar {

bool IsDefinitionFile(const std::string& path)
{
    return path.size() >= 4 && EqualsIgnoreAsciiCase(std::string_view(path).substr(path.size() - 4), ".def");
}

std::string DerivedOutputPath(const std::string& inputPath)
{
    std::filesystem::path output(inputPath);
    const std::filesystem::path name = output.filename();
    output.replace_filename(name.stem().string() + "-ref" + name.extension().string());
    return output.string();
}

}  // namespace pellimar
