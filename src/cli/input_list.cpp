// Lists of INPUTs.
#include "cli/input_list.h"

#include <memory>

#include "streams/text_stream.h"

namespace pellimar::cli {

std::vector<std::string> NamesOfList(std::string_view list, char end)
{
    std::vector<std::string> names;
    while (!list.empty()) {
        const std::size_t at = list.find(end);
        const std::string_view name = list.substr(0, at);
        if (!name.empty())
            names.emplace_back(name);
        list.remove_prefix(at == std::string_view::npos ? list.size() : at + 1);
    }
    return names;
}

std::vector<std::string> ReadInputList(const std::string& name, char end)
{
    const std::unique_ptr<TS_TextStream> list =
        name == "-" ? TS_TextStream::OverStandardInput() : std::make_unique<TS_TextStream>(name, fmOpenRead);
    std::string bytes;
    char block[64 * 1024];
    for (std::int64_t read; (read = list->Read(block, sizeof block)) > 0;)
        bytes.append(block, static_cast<std::size_t>(read));
    return NamesOfList(bytes, end);
}

}  // namespace pellimar::cli
