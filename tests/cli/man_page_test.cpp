// The manual page of pellimar-cli names the same options as its --help.
#include <gtest/gtest.h>

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

void ReplaceAll(std::string& text, const std::string& from, const std::string& to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// The OPTIONS section of a manual page as plain text: roff's escaped
// hyphens made plain and its font changes dropped.
std::string ManOptionsSection(const std::string& roff)
{
    const std::size_t start = roff.find("\n.SH OPTIONS");
    const std::size_t end = roff.find("\n.SH ", start + 1);
    std::string text = roff.substr(start, end - start);
    ReplaceAll(text, "\\-", "-");
    for (const char* font : {"\\fB", "\\fI", "\\fR", "\\fP"})
        ReplaceAll(text, font, "");
    return text;
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
