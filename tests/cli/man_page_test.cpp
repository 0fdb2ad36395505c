// The manual page of pellimar-cli names the same options as its --help.
#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "cli/run_binary.h"
#include "support/temp_dir.h"

namespace pellimar {
namespace {

using Options = std::set<std::string>;

// Every "-x" and "--long-option" of a text, not counting hyphens inside words
// or before digits ("page-number", "-1").
Options OptionsIn(const std::string& text)
{
    static const std::regex option("(^|[^A-Za-z0-9-])(--?[A-Za-z][A-Za-z0-9-]*)");
    Options found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), option); it != std::sregex_iterator(); ++it)
        found.insert((*it)[2].str());
    return found;
}

// The OPTIONS section of a manual page as plain text: roff's escaped
// hyphens made plain and its font changes dropped.
std::string ManOptionsSection(const std::string& roff)
{
    const std::size_t start = roff.find("\n.SH OPTIONS");
    const std::size_t end = roff.find("\n.SH ", start + 1);
    std::string text = roff.substr(start, end - start);
    text = std::regex_replace(text, std::regex(R"(\\-)"), "-");
    return std::regex_replace(text, std::regex(R"(\\f[BIRP])"), "");
}

TEST(ManPage, NamesExactlyTheOptionsOfTheHelp)
{
    const testing::ProgramRun help = testing::RunProgram(PELLIMAR_CLI_PATH, {"--help"});
    ASSERT_EQ(0, help.status);
    const std::string roff = testing::ReadFileBytes(PELLIMAR_CLI_MAN_PAGE);
    ASSERT_NE(std::string::npos, roff.find("\n.SH OPTIONS"));

    const Options inHelp = OptionsIn(help.out);
    EXPECT_EQ(inHelp, OptionsIn(ManOptionsSection(roff)));
    // Guards the extraction itself: an empty or partial set would compare equal too easily.
    EXPECT_TRUE(inHelp.count("--levels-from") && inHelp.count("-L") && inHelp.count("--no-progress"));
}

}  // namespace
}  // namespace pellimar
