// The user guide's table of options, written by hand, names the same
// options as --help, which the option table makes (as it makes the manual
// page).
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>

#include "cli/run_binary.h"
#include "support/temp_dir.h"

namespace pellimar {
namespace {

using Options = std::set<std::string>;

bool IsWordByte(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-';
}

// Every "-x" and "--long-option" of a text, not counting hyphens inside words
// or before digits ("page-number", "-1").
Options OptionsIn(const std::string& text)
{
    Options found;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] != '-' || (at > 0 && IsWordByte(text[at - 1])))
            continue;
        std::size_t end = at + (text.compare(at, 2, "--") == 0 ? 2 : 1);
        if (end >= text.size() || std::isalpha(static_cast<unsigned char>(text[end])) == 0)
            continue;
        while (end < text.size() && IsWordByte(text[end]))
            ++end;
        found.insert(text.substr(at, end - at));
        at = end;
    }
    return found;
}

// The first cells of the option table's rows in the guide's section on the
// command line: the lines that begin "| `-".
std::string GuideOptionCells(const std::string& guide)
{
    const std::size_t start = guide.find("\n## 6.");
    const std::size_t end = guide.find("\n## ", start + 1);
    std::string cells;
    for (std::size_t at = guide.find("\n| `-", start); at < end; at = guide.find("\n| `-", at + 1)) {
        const std::size_t cellEnd = guide.find(" |", at + 3);
        cells += guide.substr(at + 3, cellEnd - at - 3) + "\n";
    }
    return cells;
}

// The option column of --help: the start of each line that begins with an
// option, up to the gap before its help.
std::string HelpOptionColumn(const std::string& help)
{
    std::string column;
    for (std::size_t at = 0; at < help.size();) {
        const std::size_t end = std::min(help.find('\n', at), help.size());
        const std::size_t first = help.find_first_not_of(' ', at);
        if (first < end && help[first] == '-')
            column += help.substr(first, std::min(help.find("  ", first), end) - first) + "\n";
        at = end + 1;
    }
    return column;
}

TEST(UserGuide, OptionTableNamesExactlyTheOptionsOfTheHelp)
{
    const testing::ProgramRun help = testing::RunProgram(PELLIMAR_CLI_PATH, {"--help"});
    ASSERT_EQ(0, help.status);
    const std::string guide = testing::ReadFileBytes(std::string(PELLIMAR_RESOURCES) + "/user-guide.md");
    const Options inHelp = OptionsIn(HelpOptionColumn(help.out));
    EXPECT_EQ(inHelp, OptionsIn(GuideOptionCells(guide)));
    // Guards the extraction itself: an empty or partial set would compare equal too easily.
    EXPECT_TRUE(inHelp.count("--levels-from") && inHelp.count("-L") && inHelp.count("--no-progress"));
}

}  // namespace
}  // namespace pellimar
