// Fuzz target: the pattern-history files. Whatever the bytes, the entries
// read are the text's lines, nothing of the text is lost but line ends, and
// what is saved reads back the same.
//
// Input: the file's bytes.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "check.h"
#include "scratch_dir.h"
#include "settings/pattern_history.h"

namespace pellimar::fuzz {
namespace {

std::string WithoutLineEnds(std::string_view text)
{
    std::string kept;
    for (const char c : text) {
        if (c != '\r' && c != '\n')
            kept += c;
    }
    return kept;
}

// CR LF is one line end; a last line without an end is an entry too.
std::size_t LineCount(std::string_view text)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            ++count;
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        }
    }
    const bool openLastLine = !text.empty() && text.back() != '\r' && text.back() != '\n';
    return count + (openLastLine ? 1 : 0);
}

std::string Joined(const std::vector<std::string>& entries)
{
    std::string joined;
    for (const std::string& entry : entries)
        joined += entry;
    return joined;
}

void CheckEntriesAreTheLines(std::string_view bytes, const std::vector<std::string>& entries)
{
    const std::string_view text = bytes.substr(0, bytes.find('\0'));
    FUZZ_CHECK_EQ(LineCount(text), entries.size(), "one entry per line");
    FUZZ_CHECK_EQ(WithoutLineEnds(text), Joined(entries), "entries hold every byte but the line ends");
    for (const std::string& entry : entries)
        FUZZ_CHECK(entry.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos,
                   "an entry holds no line end and no NUL");
}

}  // namespace
}  // namespace pellimar::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace pellimar;
    using namespace pellimar::fuzz;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string path = ScratchFile("patterns.ref");
    WriteScratchFile(path, bytes);

    const auto loaded = LoadPatternHistory(path);
    FUZZ_CHECK(loaded.has_value(), "a readable file loads");
    CheckEntriesAreTheLines(bytes, *loaded);
    FUZZ_CHECK_EQ(*loaded, ParsePatternHistory(bytes), "loading reads what parsing gives");

    SavePatternHistory(path, *loaded);
    FUZZ_CHECK_EQ(FormatPatternHistory(*loaded), ReadScratchFile(path), "the file holds what was saved");
    FUZZ_CHECK_EQ(*loaded, LoadPatternHistory(path).value_or(std::vector<std::string>{"<none>"}),
                  "a saved history reads back the same");
    return 0;
}
