// Fuzz target: the level-names line and the file import built on it, checked
// against a character-by-character reading of the splitting rules.
//
// Input: one byte choosing the stream block size, then the file's bytes.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "block_size.h"
#include "check.h"
#include "engine/level_names_line.h"
#include "fuzz_input.h"
#include "scratch_dir.h"

namespace pellimar::fuzz {
namespace {

constexpr std::size_t kBoxes = 7;

bool QualifiesModel(std::string_view line)
{
    if (line.size() < 4)
        return false;
    const std::string_view head = line.substr(0, 4);
    return head[0] == '<' && (head[1] | 0x20) == 'l' && (head[2] | 0x20) == 'n' && head[3] == ':';
}

std::string StripOneQuoteEachSide(std::string field)
{
    if (!field.empty() && field.front() == '"')
        field.erase(0, 1);
    if (!field.empty() && field.back() == '"')
        field.pop_back();
    return field;
}

// A field ends at a ","; a ">" ends one only when no "," follows anywhere
// later in the line, since a comma is always looked for first.
std::vector<std::string> SplitModel(std::string_view line)
{
    std::vector<std::string> names;
    const std::size_t comma = line.find(',');
    if (comma == std::string_view::npos)
        return names;
    const std::string_view rest = line.substr(comma + 1);
    const std::size_t lastComma = rest.rfind(',');
    std::string field;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        const bool commaLater = lastComma != std::string_view::npos && i < lastComma;
        if (rest[i] == ',' || (rest[i] == '>' && !commaLater)) {
            if (names.size() < kBoxes)
                names.push_back(StripOneQuoteEachSide(field));
            field.clear();
        } else {
            field += rest[i];
        }
    }
    return names;
}

// Lines end at CR LF, CR or LF; a last line without an end still counts.
std::vector<std::string> LinesModel(std::string_view text)
{
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') {
            line += text[i];
            continue;
        }
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        lines.push_back(line);
        line.clear();
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

void CheckLine(const std::string& line)
{
    FUZZ_CHECK_EQ(QualifiesModel(line), IsLevelNamesLine(line), "qualifying line " + Show(line));
    const std::vector<std::string> names = ParseLevelNamesLine(line);
    FUZZ_CHECK_EQ(SplitModel(line), names, "fields of " + Show(line));
    for (const std::string& name : names)
        FUZZ_CHECK(name.find(',') == std::string::npos, "a level name never holds a comma");
}

}  // namespace
}  // namespace pellimar::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace pellimar::fuzz;
    FuzzInput input(data, size);
    const std::size_t blockSize = ChosenBlockSize(input.Byte());
    const std::string bytes = input.Rest();

    std::optional<std::string> first;
    for (const std::string& line : LinesModel(bytes)) {
        CheckLine(line);
        if (!first && QualifiesModel(line))
            first = line;
    }
    const std::string path = ScratchFile("levels.def");
    WriteScratchFile(path, bytes);
    const std::vector<std::string> expected = first ? SplitModel(*first) : std::vector<std::string>{};
    FUZZ_CHECK_EQ(expected, pellimar::ReadLevelNamesFile(path, blockSize), "names read from the file");
    return 0;
}
