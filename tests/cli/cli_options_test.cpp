// Every option of pellimar-cli reaches the run: each --levelN names its own
// level, each switch has its effect, --preview shows as many references as
// asked and refuses what is not a count. The rows cover the option table
// whole, so that a new option comes with its row.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "cli/cli_fixture.h"
#include "cli/option_table.h"

namespace pellimar {
namespace {

using testing::ProgramRun;
using testing::ReadFileBytes;
using testing::WriteFileBytes;

// Seven levels with their headings, a page marker inside a line, a record
// that opens with a justification code, one whose record code carries an
// ID and a level, and records enough for more than ten references.
std::string OptionsInput()
{
    std::string input;
    for (int level = 1; level <= 7; ++level)
        input += "<RD:L" + std::to_string(level) + ">h" + std::to_string(level) + "\r\n";
    input += "<RD>text [3] more\r\n<RD><JU:CN>centred\r\n<RD,ID:9:L1>hid\r\n<RD>after id\r\n";
    for (int record = 0; record < 10; ++record)
        input += "<RD>filler\r\n";
    return input;
}

enum class Shown { InOutput, OnStandardOutput, OnStandardError, StandardOutputIs };

struct OptionRow {
    std::string option;  // the long name the row shows to work
    std::vector<std::string> arguments;  // "IN" and "OUT" stand for the files
    Shown where;
    std::string expected;  // a part of what is shown there, or all of it
    int status = 0;
};

std::vector<OptionRow> Rows()
{
    std::vector<OptionRow> rows;
    for (int level = 1; level <= 7; ++level) {
        const std::string n = std::to_string(level);
        rows.push_back({"level" + n, {"-r", n, "--level" + n, "L" + n, "IN", "OUT"}, Shown::InOutput,
                        "<RD><CS:Reference>h" + n + "<CR>\r\n</CS>text"});
    }
    std::string tenReferences;
    for (int line = 8; line < 18; ++line)
        tenReferences += std::to_string(line) + "\th1\n";
    const std::string page = "<RD><CS:Reference>h1 ";
    const std::vector<OptionRow> others = {
        {"ref-pattern", {"-r", "ref 1", "--level1", "L1", "IN", "OUT"}, Shown::InOutput, "<CS:Reference>ref h1<CR>"},
        {"page-pattern",
         {"-r", "1 #", "--level1", "L1", "-p", "[#]", "IN", "OUT"},
         Shown::InOutput,
         page + "3-4<CR>\r\n</CS><JU:CN>centred"},
        {"levels-from", {"-r", "1", "-L", "LEVELS", "IN", "OUT"}, Shown::InOutput, "<CS:Reference>h1<CR>"},
        {"encoding",
         {"-r", "1 \xE2\x80\x94", "--level1", "L1", "--encoding=bytes", "IN", "OUT"},
         Shown::InOutput,
         "<CS:Reference>h1 \xE2\x80\x94<CR>"},
        {"remove-page-marks",
         {"-r", "1 #", "-p", "[#]", "--level1", "L1", "--remove-page-marks", "IN", "OUT"},
         Shown::InOutput,
         "</CS>text  more\r\n"},
        {"not-searched",
         {"-r", "1", "--level1", "L1", "--not-searched", "IN", "OUT"},
         Shown::InOutput,
         "<CS:Reference><IX->h1<IX><CR>"},
        {"left-just-only",
         {"-r", "1", "--level1", "L1", "--left-just-only", "IN", "OUT"},
         Shown::InOutput,
         "\r\n<RD><JU:CN>centred"},
        {"use-hr", {"-r", "1", "--level1", "L1", "--use-hr", "IN", "OUT"}, Shown::InOutput, "<CS:Reference>h1<HR>"},
        {"id-records",
         {"-r", "1", "--level1", "L1", "--id-records", "IN", "OUT"},
         Shown::InOutput,
         "<RD><CS:Reference>hid<CR>\r\n</CS>after id"},
        {"line-end-records",
         {"-r", "1", "--level1", "L1", "--line-end-records", "LATER", "OUT"},
         Shown::InOutput,
         "<RD><CS:Reference>h1<CR>\r\n</CS>\r\nlater"},
        {"replace-references",
         {"-r", "1", "--level1", "L1", "--replace-references", "EARLIER", "OUT"},
         Shown::InOutput,
         "<RD><CS:Reference>h1<CR>\r\n</CS>text [3]"},
        {"replace-references",
         {"-r", "1", "--level1", "L1", "--replace-references", "EARLIER", "OUT"},
         Shown::StandardOutputIs,
         "14 total references created, 1 earlier reference replaced.\n"},
        {"replace-references",
         {"--replace-references", "--remove-references", "EARLIER", "OUT"},
         Shown::OnStandardError,
         "cannot be given together",
         2},
        {"remove-references",
         {"--remove-references", "EARLIER", "OUT"},
         Shown::StandardOutputIs,
         "1 earlier reference removed.\n"},
        {"remove-references", {"--remove-references", "EARLIER", "OUT"}, Shown::InOutput, "\r\n<RD>text [3]"},
        {"remove-references",
         {"--remove-references", "-r", "1", "EARLIER", "OUT"},
         Shown::OnStandardError,
         "--remove-references takes no reference pattern, page pattern or level names",
         2},
        {"remove-references",
         {"--remove-references", "-p", "[#]", "EARLIER", "OUT"},
         Shown::OnStandardError,
         "--remove-references takes no reference pattern, page pattern or level names",
         2},
        {"remove-references",
         {"--remove-references", "--level3", "L3", "EARLIER", "OUT"},
         Shown::OnStandardError,
         "--remove-references takes no reference pattern, page pattern or level names",
         2},
        {"remove-references",
         {"--remove-references", "-L", "LEVELS", "EARLIER", "OUT"},
         Shown::OnStandardError,
         "--remove-references takes no reference pattern, page pattern or level names",
         2},
        {"remove-references",
         {"--remove-references", "--preview", "EARLIER"},
         Shown::OnStandardError,
         "--remove-references cannot be given with --preview",
         2},
        {"start-page",
         {"-r", "1 #", "--level1", "L1", "-p", "[#]", "--start-page", "7", "IN", "OUT"},
         Shown::InOutput,
         page + "7<CR>\r\n</CS>text"},
        {"preview", {"-r", "1", "--level1", "L1", "--preview=2", "IN"}, Shown::StandardOutputIs, "8\th1\n9\th1\n"},
        {"preview", {"-r", "1", "--level1", "L1", "--preview", "IN"}, Shown::StandardOutputIs, tenReferences},
        {"preview", {"-r", "1", "--preview=0", "IN"}, Shown::OnStandardError, "--preview takes a count", 2},
        {"preview",
         {"-r", "1", "--level1", "L1", "--preview=1000000000", "IN"},
         Shown::OnStandardOutput,
         "17\th1\n18\th1\n"},
        {"preview", {"-r", "1", "--preview=1000000001", "IN"}, Shown::OnStandardError, "--preview takes a count", 2},
        {"preview", {"-r", "1", "--preview=", "IN"}, Shown::OnStandardError, "--preview takes a count", 2},
        {"preview", {"-r", "1", "--preview=+2", "IN"}, Shown::OnStandardError, "--preview takes a count", 2},
        {"preview", {"-r", "1", "--preview", "IN", "OUT"}, Shown::OnStandardError, "takes INPUT only", 2},
        {"preview",
         {"-r", "1", "--preview", "3", "IN"},
         Shown::OnStandardError,
         "--preview takes INPUT only, got 2 file name(s); a count is written --preview=3\n",
         2},
        {"list-levels", {"--list-levels", "IN"}, Shown::OnStandardOutput, "L1\t"},
        {"dry-run",
         {"-r", "1", "--level1", "L1", "-n", "-f", "IN", "EXISTING"},
         Shown::OnStandardOutput,
         "would replace "},
        {"dry-run",
         {"-n", "-r", "1", "--preview", "IN"},
         Shown::OnStandardError,
         "--dry-run and --preview cannot be given together",
         2},
        {"output-dir",
         {"-r", "1", "--level1", "L1", "-f", "-d", "DIR", "IN"},
         Shown::OnStandardOutput,
         "1 file, 14 total references created."},
        {"jobs",
         {"-r", "1", "--level1", "L1", "-f", "-j", "2", "-d", "DIR", "IN", "EXISTING"},
         Shown::OnStandardOutput,
         "2 files, 14 total references created."},
        {"jobs", {"-r", "1", "-j", "0", "-d", "DIR", "IN"}, Shown::OnStandardError, "--jobs takes a whole number", 2},
        {"jobs",
         {"-r", "1", "-j", "2", "IN", "OUT"},
         Shown::OnStandardError,
         "-j (--jobs) converts the files of -d",
         2},
        {"keep-going",
         {"-r", "1", "--level1", "L1", "-f", "-k", "-d", "DIR", "IN", "GONE"},
         Shown::OnStandardOutput,
         "1 file, 14 total references created.\n1 file refused.\n",
         1},
        {"keep-going",
         {"-r", "1", "--level1", "L1", "-f", "-k", "-n", "-d", "DIR", "IN", "GONE"},
         Shown::OnStandardOutput,
         "1 file would be refused.\n",
         1},
        {"files-from",
         {"-r", "1", "--level1", "L1", "-f", "-d", "DIR", "--files-from=LIST"},
         Shown::OnStandardOutput,
         "1 file, 14 total references created."},
        {"null",
         {"-r", "1", "--level1", "L1", "-f", "-d", "DIR", "--files-from=NULLS", "-0"},
         Shown::OnStandardOutput,
         "1 file, 14 total references created."},
        {"force",
         {"-r", "1", "--level1", "L1", "-f", "IN", "EXISTING"},
         Shown::OnStandardOutput,
         "14 total references created."},
        {"progress", {"-r", "x", "--progress", "IN", "OUT"}, Shown::OnStandardError, "100%"},
        {"no-progress", {"-r", "x", "--progress", "--no-progress", "-q", "IN", "OUT"}, Shown::OnStandardError, ""},
        {"quiet", {"-r", "x", "-q", "IN", "OUT"}, Shown::StandardOutputIs, ""},
        // Not a word but the errors: no note of the level no record names.
        {"quiet", {"-r", "1", "--level1", "Nope", "-q", "IN", "OUT"}, Shown::OnStandardError, ""},
        {"report",
         {"-r", "1", "--level1", "L1", "--report=-", "IN", "OUT"},
         Shown::OnStandardOutput,
         "\"created\": 14,"},
        {"help", {"--help"}, Shown::OnStandardOutput, "Usage: pellimar-cli [OPTIONS] INPUT OUTPUT\n"},
        {"ref-pattern",
         {"-r", "1", "-r", "2", "IN", "OUT"},
         Shown::OnStandardError,
         "option -r (--ref-pattern) is given more than once",
         2},
        {"version", {"--version"}, Shown::OnStandardOutput, "pellimar-cli "},
    };
    rows.insert(rows.end(), others.begin(), others.end());
    return rows;
}

class CliOptions : public testing::Cli {
protected:
    std::vector<std::string> Arguments(const std::vector<std::string>& row)
    {
        const std::map<std::string, std::string> files = {{"IN", input},
                                                          {"OUT", output},
                                                          {"LEVELS", levels},
                                                          {"EXISTING", existing},
                                                          {"EARLIER", earlier},
                                                          {"LATER", later},
                                                          {"DIR", folder},
                                                          {"GONE", dir.File("gone.fff")},
                                                          {"--files-from=LIST", "--files-from=" + list},
                                                          {"--files-from=NULLS", "--files-from=" + nulls}};
        std::vector<std::string> arguments;
        for (const std::string& argument : row)
            arguments.push_back(files.contains(argument) ? files.at(argument) : argument);
        return arguments;
    }

    std::string levels = dir.File("levels.def");
    // The input named in lists, one a line and ending at a NUL.
    std::string list = dir.File("list.txt");
    std::string nulls = dir.File("nulls.txt");
    std::string existing = dir.File("existing.fff");
    std::string earlier = dir.File("earlier.fff");
    // The input with a record that begins on the line after its code.
    std::string later = dir.File("later.fff");
    std::string folder = [this] {
        std::filesystem::create_directory(dir.File("converted"));
        return dir.File("converted");
    }();
};

// The input with a reference from an earlier run on its first record.
std::string EarlierInput()
{
    std::string input = OptionsInput();
    const std::string record = "<RD>text [3]";
    input.insert(input.find(record) + 4, "<CS:Reference>old<CR>\r\n</CS>");
    return input;
}

TEST_F(CliOptions, EveryOptionReachesTheRun)
{
    std::set<std::string> shown;
    for (const OptionRow& row : Rows()) {
        WriteFileBytes(input, OptionsInput());
        WriteFileBytes(levels, "<LN:Tome,L1,L2>\r\n");
        WriteFileBytes(existing, "earlier");
        WriteFileBytes(earlier, EarlierInput());
        WriteFileBytes(later, OptionsInput() + "<RD>\r\nlater\r\n");
        WriteFileBytes(list, input + "\n");
        WriteFileBytes(nulls, input + std::string(1, '\0'));
        std::filesystem::remove(output);
        const ProgramRun run = Run(Arguments(row.arguments));
        const std::string what = row.option + ": " + ::testing::PrintToString(row.arguments);
        EXPECT_EQ(row.status, run.status) << what << "\n" << run.err;
        switch (row.where) {
        case Shown::InOutput:
            EXPECT_NE(std::string::npos, ReadFileBytes(output).find(row.expected)) << what << "\n"
                                                                                    << ReadFileBytes(output);
            break;
        case Shown::OnStandardOutput: EXPECT_NE(std::string::npos, run.out.find(row.expected)) << what; break;
        case Shown::OnStandardError:
            if (row.expected.empty())
                EXPECT_EQ("", run.err) << what;
            else
                EXPECT_NE(std::string::npos, run.err.find(row.expected)) << what << "\n" << run.err;
            break;
        case Shown::StandardOutputIs: EXPECT_EQ(row.expected, run.out) << what; break;
        }
        shown.insert(row.option);
    }
    std::set<std::string> defined;
    for (const cli::OptionDefinition& option : cli::OptionTable())
        defined.insert(option.longName);
    EXPECT_EQ(defined, shown);
}

}  // namespace
}  // namespace pellimar
