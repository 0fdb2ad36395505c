// The bash completion of pellimar-cli, as bash runs it: every option of the
// table offered, the known values of --encoding (each one the program
// takes), and file names for INPUT, OUTPUT and FILE values, but not for
// free text. Only bash itself is needed, not the bash-completion package.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>

#include "cli/cli_fixture.h"
#include "cli/option_table.h"

namespace pellimar {
namespace {

using Words = std::set<std::string>;

class Completion : public testing::Cli {
protected:
    // What completing the last of `words` (the command line up to the
    // cursor, split as bash splits it) offers, run in the test's folder.
    Words Offered(const std::vector<std::string>& words)
    {
        std::string script = "cd \"$1\" && source \"$2\" && shift 2 && COMP_WORDS=(\"$@\") && "
                             "COMP_CWORD=$(($# - 1)) && "
                             "$(complete -p pellimar-cli | sed -n 's/.* -F \\([^ ]*\\) .*/\\1/p') && "
                             "printf '%s\\n' \"${COMPREPLY[@]}\"";
        std::vector<std::string> arguments{"-c", script, "bash", dir.Path().string(), PELLIMAR_CLI_COMPLETION,
                                           "pellimar-cli"};
        arguments.insert(arguments.end(), words.begin(), words.end());
        const testing::ProgramRun run = testing::RunProgram("/bin/bash", arguments);
        EXPECT_EQ(0, run.status) << run.err;
        Words offered;
        std::istringstream lines(run.out);
        for (std::string line; std::getline(lines, line);) {
            if (!line.empty())
                offered.insert(line);
        }
        return offered;
    }
};

TEST_F(Completion, OffersEveryOptionOfTheTable)
{
    Words all;
    for (const cli::OptionDefinition& option : cli::OptionTable()) {
        all.insert("--" + option.longName);
        if (option.shortName != 0)
            all.insert(std::string("-") + option.shortName);
    }
    EXPECT_EQ(all, Offered({"-"}));
    Words longOnes;
    for (const std::string& name : all) {
        if (name.starts_with("--"))
            longOnes.insert(name);
    }
    EXPECT_EQ(longOnes, Offered({"--"}));
    EXPECT_EQ((Words{"--level1", "--level2", "--level3", "--level4", "--level5", "--level6", "--level7",
                     "--levels-from", "--left-just-only"}),
              Offered({"--le"}));
}

TEST_F(Completion, OffersTheEncodingsItTakes)
{
    const Words encodings = Offered({"--encoding", ""});
    EXPECT_TRUE(encodings.contains("bytes") && encodings.contains("Windows-1252")) << encodings.size();
    for (const std::string& encoding : encodings)
        EXPECT_EQ(0, Run({"-f", "--encoding", encoding, "-r", "x", input, output}).status) << encoding;
    // bash splits "--encoding=ISO" at "=".
    EXPECT_EQ((Words{"ISO-8859-1", "ISO-8859-15"}), Offered({"--encoding", "=", "ISO"}));
    EXPECT_EQ(encodings, Offered({"--encoding", "="}));
    // Where "=" does not split words, the option stays in what is offered.
    EXPECT_EQ((Words{"--encoding=ISO-8859-1", "--encoding=ISO-8859-15"}), Offered({"--encoding=ISO"}));
}

TEST_F(Completion, OffersFilesWhereAFileIsWanted)
{
    for (const char* name : {"book.fff", "book.def", "other.txt", "-notes.fff"})
        testing::WriteFileBytes(dir.File(name), "");
    const Words books{"book.def", "book.fff"};
    EXPECT_EQ(books, Offered({"-L", "bo"}));
    EXPECT_EQ(books, Offered({"--levels-from", "bo"}));
    EXPECT_EQ(books, Offered({"-r", "1", "bo"}));               // INPUT
    EXPECT_EQ(books, Offered({"-r", "1", "book.fff", "bo"}));   // OUTPUT
    EXPECT_EQ(Words{}, Offered({"-r", "bo"}));                  // a pattern is free text
    EXPECT_EQ(Words{}, Offered({"--level2", "bo"}));
    EXPECT_EQ(books, Offered({"=", "bo"}));                     // a file named "="
    EXPECT_EQ(Words{"-notes.fff"}, Offered({"--", "-"}));       // after "--" only files
}

TEST_F(Completion, OffersFoldersWhereAFolderIsWanted)
{
    std::filesystem::create_directory(dir.File("books"));
    testing::WriteFileBytes(dir.File("book.fff"), "");
    EXPECT_EQ(Words{"books"}, Offered({"-d", "bo"}));
    EXPECT_EQ(Words{"books"}, Offered({"--output-dir", "bo"}));
    EXPECT_EQ((Words{"book.fff", "books"}), Offered({"-d", "books", "bo"}));  // an INPUT
}

}  // namespace
}  // namespace pellimar
