// The report as JSON (--report): every kind of run reports in the shipped
// schema, the document says what the lines say, and every finding of the
// table reaches every voice: the lines of a single run, of a collection and
// of a dry run, and the report's findings.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>

#include "cli/cli_fixture.h"
#include "run/finding_table.h"

namespace pellimar::testing {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;
using Args = std::vector<std::string>;

// Why the report does not follow the schema; empty when it does.
std::string SchemaProblem(const std::string& report)
{
    const ProgramRun check = RunProgram(PELLIMAR_PYTHON, {PELLIMAR_REPORT_VALIDATOR, PELLIMAR_REPORT_SCHEMA, report});
    if (check.status == 77)
        return "no jsonschema for " PELLIMAR_PYTHON;
    return check.status == 0 ? "" : check.out + check.err;
}

std::string FromBase64(const std::string& text)
{
    const std::string digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string bytes;
    std::uint32_t bits = 0;
    int held = 0;
    for (const char c : text) {
        if (c == '=')
            break;
        bits = (bits << 6) | static_cast<std::uint32_t>(digits.find(c));
        held += 6;
        if (held >= 8) {
            held -= 8;
            bytes += static_cast<char>((bits >> held) & 0xFF);
        }
    }
    return bytes;
}

class CliReport : public Cli {
protected:
    // Runs with --report into a file of its own, holds the report to the
    // schema and to the exit status, and reads it.
    Json Reported(Args arguments, ProgramRun* run = nullptr)
    {
        const std::string report = dir.File("report" + std::to_string(++reports_) + ".json");
        arguments.insert(arguments.begin(), "--report=" + report);
        const ProgramRun done = Run(arguments);
        EXPECT_EQ("", SchemaProblem(report));
        std::ifstream in(report);
        const Json json = Json::parse(in);
        EXPECT_EQ(done.status, json.at("exit_status").get<int>());
        if (run != nullptr)
            *run = done;
        return json;
    }

    int reports_ = 0;
};

TEST_F(CliReport, SingleRunReportsItsFileAsItsLinesDo)
{
    ProgramRun run;
    const Json json = Reported({"-r", "1", "--level1", "Book", input, output}, &run);
    EXPECT_EQ("2 total references created.\n", run.out);
    EXPECT_EQ("convert", json["mode"]);
    ASSERT_EQ(1u, json["files"].size());
    const Json& file = json["files"][0];
    EXPECT_EQ(input, file["input"]);
    EXPECT_EQ("converted", file["state"]);
    EXPECT_EQ("converted", file["output_fate"]);
    EXPECT_EQ(2, file["references"]["created"]);
    EXPECT_EQ(Json::parse(R"([{"name": "Book", "count": 1, "first_heading": "Genesis", "heading_cut": false}])"),
              file["levels"]);
    EXPECT_EQ(static_cast<std::int64_t>(fs::file_size(output)), file["bytes_written"]);
    EXPECT_EQ(static_cast<std::int64_t>(fs::file_size(input)), file["bytes_read"]);
}

// A refused collection is refused whole: the refused file with its problem,
// the others not run; a dry run goes on around it.
TEST_F(CliReport, RefusedFileOfACollectionIsNamedWithItsProblem)
{
    const fs::path out = dir.Path() / "out";
    fs::create_directory(out);
    const std::string other = dir.File("other.fff");
    WriteFileBytes(other, kCliInput);
    WriteFileBytes((out / "in.fff").string(), "earlier");
    for (const bool dryRun : {false, true}) {
        SCOPED_TRACE(dryRun);
        Args arguments = {"-r", "1", "--level1", "Book", "-d", out.string(), input, other};
        if (dryRun)
            arguments.insert(arguments.begin(), "-n");
        const Json json = Reported(arguments);
        EXPECT_EQ(dryRun ? "dry_run" : "convert", json["mode"]);
        EXPECT_EQ(1, json["exit_status"]);
        EXPECT_EQ("refused", json["files"][0]["state"]);
        EXPECT_EQ("Output file exists", json["files"][0]["problems"][0]["message"]);
        EXPECT_EQ(dryRun ? "converted" : "not_run", json["files"][1]["state"]);
        EXPECT_EQ(dryRun ? Json("would_create") : Json(nullptr), json["files"][1]["output_fate"]);
        EXPECT_EQ(1u, json["problems"].size());
    }
    EXPECT_EQ("earlier", ReadFileBytes((out / "in.fff").string()));
}

TEST_F(CliReport, PreviewAndListOfLevelsReportWhatTheyList)
{
    ProgramRun run;
    const Json preview = Reported({"--preview", "-r", "1", "--level1", "Book", input}, &run);
    EXPECT_EQ("preview", preview["mode"]);
    EXPECT_EQ(Json::parse(R"([{"line": 2, "text": "Genesis"}, {"line": 3, "text": "Genesis"}])"),
              preview["files"][0]["preview_references"]);
    EXPECT_EQ(nullptr, preview["files"][0]["output"]);
    const Json levels = Reported({"--list-levels", input});
    EXPECT_EQ("list_levels", levels["mode"]);
    EXPECT_EQ("Book", levels["files"][0]["levels"][0]["name"]);
}

// With "-" the report is all standard output holds.
TEST_F(CliReport, ReportOnStandardOutputSendsTheLinesToStandardError)
{
    const ProgramRun run = Run({"--report=-", "-r", "1", "--level1", "Book", input, output});
    EXPECT_EQ(0, run.status);
    EXPECT_EQ("2 total references created.\n", run.err);
    EXPECT_EQ(2, Json::parse(run.out)["files"][0]["references"]["created"]);
}

// The report is an output of its own: never an input, never another output.
TEST_F(CliReport, ReportIsNoInputOrOutputOfTheRun)
{
    for (const std::string& taken : {input, output}) {
        WriteFileBytes(input, kCliInput);
        const ProgramRun run = Run({"--report=" + taken, "-f", "-r", "1", "--level1", "Book", input, output});
        EXPECT_EQ(1, run.status);
        EXPECT_NE(std::string::npos, run.err.find("Cannot create file " + taken + ": it is " + taken)) << run.err;
        EXPECT_EQ(kCliInput, ReadFileBytes(input));
    }
}

// A name that is no UTF-8 is given as its bytes beside a readable form.
TEST_F(CliReport, InputNamedInNoUtf8IsGivenAsItsBytes)
{
    const std::string named = dir.File("caf\xE9.fff");
    WriteFileBytes(named, kCliInput);
    const Json json = Reported({"-r", "1", "--level1", "Book", named, output});
    const Json& name = json["files"][0]["input"];
    ASSERT_TRUE(name.is_object()) << name;
    EXPECT_EQ(named, FromBase64(name["bytes"])) << name;
    EXPECT_TRUE(name["text"].get<std::string>().ends_with("caf\xEF\xBF\xBD.fff")) << name;
}

// Interrupted, the run reports the file cut short and what its output is.
TEST_F(CliReport, CancelledRunReportsTheFileCutShort)
{
    fs::resize_file(input, std::uintmax_t{1} << 30);
    const std::string report = dir.File("cancelled.json");
    const std::string folder = dir.Path().string();
    const ProgramRun run = RunProgramInterrupted(PELLIMAR_CLI_PATH, {"--report=" + report, "-r", "x", input, output},
                                                 [&](long child) { return HoldsUnnamedFileIn(child, folder); });
    EXPECT_EQ(130, run.status);
    EXPECT_EQ("", SchemaProblem(report));
    std::ifstream in(report);
    const Json json = Json::parse(in);
    EXPECT_TRUE(json["cancelled"]);
    // Cut short, or stopped before it began when the interrupt came during
    // the checks.
    const std::string state = json["files"][0]["state"];
    EXPECT_TRUE(state == "cancelled" || state == "not_run") << state;
    EXPECT_EQ("not_written", json["files"][0]["output_fate"]);
    EXPECT_FALSE(fs::exists(output));
}

// For each row of the findings table, a file that has it: every voice tells
// it, the report counts it under its key.
TEST_F(CliReport, EveryFindingReachesEveryVoice)
{
    struct Case {
        std::string text;
        Args options;
        std::string says;  // of its note on the command line
    };
    const std::string longHeading = "<RD:Book>" + std::string(70000, 'a') + "\r\n<RD>x\r\n";
    const std::string levels = dir.File("levels.def");
    WriteFileBytes(levels, "<LN:Book,Chaptr>\r\n");
    const std::map<std::string_view, Case> cases = {
        {"unread_id_records",
         {"<RD,ID:9:Book>B\r\n<RD>x\r\n",
          {"-r", "1", "--level1", "Book"},
          "of the form <RD,ID:n:Level> names a level"}},
        {"earlier_references_kept",
         {"<RD:Book>B\r\n<RD><CS:Reference>B<CR>\r\n</CS>x\r\n",
          {"-r", "1", "--level1", "Book"},
          "from an earlier run"}},
        {"look_alikes",
         {"<RD:Book>B\r\n<RD><CS:Reference>mine</CS>\r\n", {"-r", "1", "--level1", "Book"}, "begins like a reference"}},
        {"headings_cut", {longHeading, {"-r", "1", "--level1", "Book"}, "heading was longer than"}},
        // The reference shows the heading twice, the longest it may keep.
        {"references_cut",
         {longHeading, {"-r", "1 1", "--level1", "Book"}, "64 KB, the longest a later run recognises"}},
        {"later_line_records",
         {"<RD:Book>B\r\n<RD>\r\ntext\r\n", {"-r", "1", "--level1", "Book"}, "on the line after its record code"}},
        {"unmatched_levels", {"<RD:Book>B\r\n<RD>x\r\n", {"-r", "1", "--level1", "Chaptr"}, "no level record names"}},
        {"skipped_level_name", {"<RD:Book>B\r\n<RD>x\r\n", {"-r", "1", "-L", levels}, "first level name \"Book\""}},
        {"id_form_level_records",
         {"<RD,ID:9:Tome>B\r\n<RD>x\r\n", {"-r", "1", "--level1", "Book"}, "is of the form <RD,ID:n:Level>"}},
    };
    const fs::path out = dir.Path() / "out";
    for (const FindingRow& row : FindingTable()) {
        SCOPED_TRACE(row.key);
        ASSERT_TRUE(cases.contains(row.key)) << "no file with this finding";
        const Case& c = cases.at(row.key);
        WriteFileBytes(input, c.text);
        const Args& options = c.options;
        fs::remove_all(out);
        fs::create_directory(out);
        const auto with = [&](Args more) {
            Args arguments = options;
            arguments.insert(arguments.end(), more.begin(), more.end());
            return arguments;
        };
        ProgramRun single;
        const Json report = Reported(with({"-f", input, output}), &single);
        EXPECT_GT(report["files"][0]["findings"][row.key]["count"].get<int>(), 0) << report["files"][0];
        const ProgramRun collection = Run(with({"-f", "-d", out.string(), input}));
        const ProgramRun dry = Run(with({"-n", "-f", "-d", out.string(), input}));
        for (const ProgramRun* run : std::vector<const ProgramRun*>{&single, &collection, &dry}) {
            EXPECT_EQ(0, run->status) << run->err;
            EXPECT_NE(std::string::npos, run->err.find(c.says)) << run->err;
        }
        // The collection names the file in each note, the single run as its
        // row says.
        EXPECT_NE(std::string::npos, collection.err.find(input)) << collection.err;
    }
}

}  // namespace
}  // namespace pellimar::testing
