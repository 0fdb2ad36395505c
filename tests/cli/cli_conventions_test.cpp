// pellimar-cli as command-line tools behave: standard input and output in
// pipelines, errors that name the file and the reason, a failed write to
// standard output counted as a failure, and a progress bar that fits.
#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <utility>

#include "cli/cli_fixture.h"

namespace pellimar {
namespace {

namespace fs = std::filesystem;
using testing::ProgramRun;
using testing::ProgramSetup;
using testing::ReadFileBytes;
using testing::WriteFileBytes;

class CliConventions : public testing::Cli {
protected:
    // The command as a shell pipeline: the input through cat, the output too.
    ProgramRun RunPiped(const std::vector<std::string>& options, const std::string& from, const std::string& to)
    {
        std::string command = "cat '" + from + "' | '" + std::string(PELLIMAR_CLI_PATH) + "'";
        for (const std::string& option : options)
            command += " '" + option + "'";
        return testing::RunProgram("/bin/sh", {"-c", command + " - - | cat > '" + to + "'"});
    }
};

struct FlatFile {
    fs::path file;
    fs::path definitions;
};

std::vector<FlatFile> SampleFiles()
{
    const fs::path resources = PELLIMAR_RESOURCES;
    std::vector<FlatFile> files{{resources / "sample.fff", resources / "sample.def"},
                                {resources / "sample-ids.fff", resources / "sample-ids.def"}};
    if (const fs::path shared = testing::SharedDataDir(); !shared.empty())
        files.push_back({shared / "FolioHlp.FFF", shared / "FolioHlp.DEF"});
    return files;
}

TEST_F(CliConventions, PipesGiveTheSameBytesAsFiles)
{
    for (const FlatFile& flat : SampleFiles()) {
        const std::vector<std::vector<std::string>> optionSets = {
            {"-L", flat.definitions.string(), "-r", "2 3, p. #", "-p", "[#]", "--remove-page-marks"},
            {"-L", flat.definitions.string(), "-r", "1 / 2", "--id-records", "--not-searched", "--use-hr"},
        };
        for (const std::vector<std::string>& options : optionSets) {
            std::vector<std::string> arguments = options;
            arguments.insert(arguments.end(), {"-f", flat.file.string(), output});
            ASSERT_EQ(0, Run(arguments).status) << flat.file;
            const ProgramRun piped = RunPiped(options, flat.file.string(), dir.File("piped.fff"));
            EXPECT_EQ(0, piped.status) << piped.err;
            EXPECT_TRUE(ReadFileBytes(output) == ReadFileBytes(dir.File("piped.fff"))) << flat.file << options[3];
            EXPECT_NE(std::string::npos, piped.err.find(" total references created.")) << piped.err;
        }
    }
}

TEST_F(CliConventions, ErrorsNameTheFileAndTheReason)
{
    fs::create_directory(dir.Path() / "folder");
    const std::string missing = dir.File("missing.fff");
    const std::string folder = dir.File("folder");
    const std::string nowhere = dir.File("no/such/out.fff");
    const std::string noDefinitions = dir.File("no.def");
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"-r", "x", missing, output}, missing + ": Input file not found. (no such file)"},
        {{"-r", "x", folder, output}, folder + ": Cannot open file " + folder + ": it is a folder"},
        {{"-r", "x", input, nowhere}, nowhere + ": Cannot create file " + nowhere + ": no such folder"},
        {{"-r", "x", "-f", input, folder}, folder + ": Cannot create file " + folder + ": it is a folder"},
        {{"-r", "x", "-f", input, input}, input + ": Cannot create file " + input + ": it is the input file"},
        {{"-r", "x", "-L", noDefinitions, input, output},
         noDefinitions + ": Cannot open file " + noDefinitions + ": no such file"},
    };
    for (const auto& [arguments, message] : cases)
        ExpectError(Run(arguments), "pellimar-cli: " + message + "\n");
}

// A new file in a folder, or an existing file, that the user may not write:
// refused, and the existing file left as it was (run as "nobody" when the
// tests run as root, whom permissions do not stop).
TEST_F(CliConventions, OutputTheUserMayNotWriteIsPermissionDenied)
{
    const fs::path locked = dir.Path() / "locked";
    fs::create_directory(locked);
    const fs::perms readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    fs::permissions(locked, readOnly | fs::perms::owner_exec | fs::perms::others_exec);
    WriteFileBytes(output, "earlier");
    fs::permissions(output, readOnly);
    fs::permissions(dir.Path(), fs::perms::all);  // so that "nobody" may enter
    ProgramSetup setup;
    setup.unprivileged = true;
    for (const std::string& out : {(locked / "out.fff").string(), output}) {
        const ProgramRun run = testing::RunProgram(PELLIMAR_CLI_PATH, {"-r", "x", "-f", input, out}, setup);
        ExpectError(run, "pellimar-cli: " + out + ": Cannot create file " + out + ": permission denied\n");
    }
    EXPECT_EQ("earlier", ReadFileBytes(output));
}

// A file everyone may write in a folder that takes no new file, which
// "nobody" (as whom the program then runs) may enter.
std::string FileInALockedFolder(const fs::path& dir)
{
    const fs::path locked = dir / "locked";
    fs::create_directory(locked);
    const std::string out = (locked / "out.fff").string();
    WriteFileBytes(out, "earlier");
    fs::permissions(out, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                             fs::perms::group_write | fs::perms::others_read | fs::perms::others_write);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(dir, fs::perms::all);
    return out;
}

// The one case that costs the earlier output: a file the user may write in
// a folder that takes no new file. The user is told before the run, and
// after a failure, what the file holds.
TEST_F(CliConventions, WritingInPlaceIsAnnouncedBeforeTheRunAndAfterAFailure)
{
    const std::string out = FileInALockedFolder(dir.Path());
    ProgramSetup setup;
    setup.unprivileged = true;
    const ProgramRun run = testing::RunProgram(PELLIMAR_CLI_PATH, {"-r", "x", "-f", input, out}, setup);
    EXPECT_EQ(0, run.status);
    EXPECT_EQ("pellimar-cli: " + out + ": note: its folder takes no new file, so it is written in place: what it "
              "held is lost, and a cancel or a failure leaves a partial file under its name\n",
              run.err);
    EXPECT_NE("earlier", ReadFileBytes(out));

    std::string big;
    while (big.size() < 100000)
        big += "<RD>record text\r\n";
    WriteFileBytes(input, big);
    setup.fileSizeLimit = 20000;
    const ProgramRun failed = testing::RunProgram(PELLIMAR_CLI_PATH, {"-r", "x", "-f", input, out}, setup);
    ExpectError(failed, "Stream write error");
    EXPECT_NE(std::string::npos, failed.err.find(out + ": note: it holds only the part written before the failure\n"))
        << failed.err;
}

// A dry run says so on the output's line, and writes nothing; nor does it
// announce what only the run costs.
TEST_F(CliConventions, DryRunForetellsWritingInPlace)
{
    const std::string out = FileInALockedFolder(dir.Path());
    ProgramSetup setup;
    setup.unprivileged = true;
    const ProgramRun run = testing::RunProgram(PELLIMAR_CLI_PATH, {"-n", "-r", "x", "-f", input, out}, setup);
    EXPECT_EQ(0, run.status);
    EXPECT_EQ("would replace " + out + " (written in place: its folder takes no new file): 2 references\n", run.out);
    EXPECT_EQ("", run.err);

    const fs::path source = dir.Path() / "source";
    fs::create_directory(source);
    fs::copy_file(input, source / "out.fff");
    const ProgramRun collection = testing::RunProgram(
        PELLIMAR_CLI_PATH, {"-n", "-r", "x", "-f", "-d", fs::path(out).parent_path().string(), (source / "out.fff").string()},
        setup);
    EXPECT_EQ(0, collection.status);
    EXPECT_EQ("would replace " + out + " (written in place: its folder takes no new file): 2 references\n",
              collection.out.substr(0, collection.out.find('\n') + 1));
    EXPECT_EQ("", collection.err);
    EXPECT_EQ("earlier", ReadFileBytes(out));
}

// Nothing is said of what a run would cost before a run that is refused.
TEST_F(CliConventions, RefusedRunsBringNoNoteOfWhatTheyWouldCost)
{
    const std::string out = FileInALockedFolder(dir.Path());
    ProgramSetup setup;
    setup.unprivileged = true;
    const ProgramRun run = testing::RunProgram(PELLIMAR_CLI_PATH, {"-r", "x", "-f", out, out}, setup);
    ExpectError(run, "pellimar-cli: " + out + ": Cannot create file " + out + ": it is the input file\n");
    EXPECT_EQ(std::string::npos, run.err.find("note:")) << run.err;
    EXPECT_EQ("earlier", ReadFileBytes(out));
}

// Written to as "-" is, the name of standard output neither needs -f nor is
// replaced by a file.
TEST_F(CliConventions, TheNameOfStandardOutputIsStandardOutput)
{
    ASSERT_EQ(0, Run({"-r", "x", input, dir.File("expected.fff")}).status);
    for (const std::string name : {"/dev/stdout", "/dev/fd/1"}) {
        const ProgramRun run = Run({"-r", "x", input, name});
        EXPECT_EQ(0, run.status) << run.err;
        EXPECT_TRUE(ReadFileBytes(dir.File("expected.fff")) == run.out) << name;
    }
}

// A device given by name is written to, not created or replaced, and a dry
// run says so.
TEST_F(CliConventions, DryRunForetellsWritingToADevice)
{
    const ProgramRun run = Run({"-n", "-r", "x", input, "/dev/null"});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ("would write to /dev/null: 2 references\n", run.out);
}

TEST_F(CliConventions, SummaryThatCannotBeWrittenIsAFailure)
{
    ProgramSetup setup;
    setup.output = "/dev/full";
    const ProgramRun run = testing::RunProgram(PELLIMAR_CLI_PATH, {"-r", "x", input, output}, setup);
    EXPECT_EQ(1, run.status);
    EXPECT_EQ("pellimar-cli: -: write error: no space left on the disk\n", run.err);
}

// Appending a file to itself would never end; as cat does, the program
// refuses before anything is written, whichever way the input is given, and
// a preview's listing may not go into its input either.
TEST_F(CliConventions, StandardOutputThatIsTheInputIsRefused)
{
    const std::string program = "'" + std::string(PELLIMAR_CLI_PATH) + "' -r x ";
    for (const std::string& command : {program + "'" + input + "' - >> '" + input + "'",
                                       program + "- - < '" + input + "' >> '" + input + "'",
                                       program + "--preview '" + input + "' >> '" + input + "'",
                                       program + "--preview - < '" + input + "' >> '" + input + "'"}) {
        const ProgramRun run = testing::RunProgram("/bin/sh", {"-c", command});
        EXPECT_EQ(1, run.status) << command;
        EXPECT_EQ("pellimar-cli: -: Cannot create file -: it is the input file\n", run.err) << command;
        EXPECT_EQ(testing::kCliInput, ReadFileBytes(input));
    }
    const ProgramRun named = testing::RunProgram("/bin/sh", {"-c", program + "-f - '" + input + "' < '" + input + "'"});
    ExpectError(named, "pellimar-cli: " + input + ": Cannot create file " + input + ": it is the input file\n");
    EXPECT_EQ(testing::kCliInput, ReadFileBytes(input));
}

// Started with standard input or error closed, the files the program opens
// must not take their places: the progress bar would be written into them,
// into the input itself when standard input is the input opened for
// writing too.
TEST_F(CliConventions, ClosedStandardDescriptorsAreNotTakenByFiles)
{
    ASSERT_EQ(0, Run({"-r", "x", input, dir.File("expected.fff")}).status);
    const ProgramRun run = testing::RunProgram(
        "/bin/sh", {"-c", "exec \"$0\" \"$@\" <&- 2>&-", PELLIMAR_CLI_PATH, "-r", "x", "--progress", input, "-"});
    EXPECT_EQ(0, run.status);
    EXPECT_TRUE(ReadFileBytes(dir.File("expected.fff")) == run.out) << run.out;
    const ProgramRun fromInput = testing::RunProgram(
        "/bin/sh", {"-c", "f=$1; shift; exec \"$0\" \"$@\" 0<>\"$f\" 2>&-", PELLIMAR_CLI_PATH, input, "-r", "x",
                    "--progress", "-", "-"});
    EXPECT_EQ(0, fromInput.status);
    EXPECT_TRUE(ReadFileBytes(dir.File("expected.fff")) == fromInput.out) << fromInput.out;
    EXPECT_EQ(testing::kCliInput, ReadFileBytes(input));
}

TEST_F(CliConventions, EmptyReferencePatternIsAUsageError)
{
    ExpectError(Run({"-r", "", input, output}), "the reference pattern (-r, --ref-pattern) must not be empty", 2);
}

// Every redrawing of the bar fits a terminal of 40 columns; from a pipe it
// shows what was read, not a percentage.
TEST_F(CliConventions, ProgressFitsANarrowTerminal)
{
    std::string big;
    while (big.size() < 3'000'000)
        big += "<RD>a record of the big file\r\n";
    WriteFileBytes(input, big);
    const std::string fromFile =
        testing::RunProgramOnTerminal(PELLIMAR_CLI_PATH, {"-r", "x", "--progress", "-q", input, output}, 40);
    const std::string fromPipe = testing::RunProgramOnTerminal(
        "/bin/sh", {"-c", "cat '" + input + "' | '" + PELLIMAR_CLI_PATH + "' -r x --progress -q -f - '" + output + "'"},
        40);
    EXPECT_NE(std::string::npos, fromFile.find("100%")) << fromFile;
    EXPECT_NE(std::string::npos, fromPipe.find("3.0 MB read")) << fromPipe;
    for (const std::string& shown : {fromFile, fromPipe}) {
        std::size_t start = 0;
        for (std::size_t end; (end = shown.find_first_of("\r\n", start)) != std::string::npos; start = end + 1)
            EXPECT_LE(end - start, 39u) << shown.substr(start, end - start);
    }
}

// A collection's bar covers all the inputs and names the file under way;
// where the terminal is too narrow for the name, the bar keeps its room.
TEST_F(CliConventions, CollectionProgressNamesTheFileUnderWay)
{
    const std::string folder = dir.File("converted");
    std::filesystem::create_directory(folder);
    const std::string second = dir.File("second.fff");
    WriteFileBytes(second, "<RD>x\r\n");
    for (const int columns : {80, 40}) {
        const std::string shown = testing::RunProgramOnTerminal(
            PELLIMAR_CLI_PATH, {"-r", "x", "--progress", "-q", "-f", "-d", folder, input, second}, columns);
        // The last drawing, before the line's end (\r\n on a terminal).
        const std::string drawn = shown.substr(0, shown.find_last_not_of("\r\n") + 1);
        const std::string last = drawn.substr(drawn.rfind('\r') + 1);
        EXPECT_EQ(columns == 80, last.starts_with("2/2 second.fff [")) << last;
        EXPECT_NE(std::string::npos, last.find("100%")) << last;
        EXPECT_LE(last.size(), static_cast<std::size_t>(columns - 1)) << last;
    }
}

// Sets the locale variables the program is started with, for as long as it
// lives; a null one is unset.
class ProgramLocale {
public:
    explicit ProgramLocale(const char* all, const char* ctype = nullptr, const char* lang = nullptr)
    {
        for (const auto& [name, value] : {std::pair{"LC_ALL", all}, {"LC_CTYPE", ctype}, {"LANG", lang}}) {
            const char* earlier = std::getenv(name);
            earlier_.push_back({name, earlier != nullptr ? std::optional<std::string>(earlier) : std::nullopt});
            Set(name, value);
        }
    }
    ~ProgramLocale()
    {
        for (const auto& [name, value] : earlier_)
            Set(name, value ? value->c_str() : nullptr);
    }

private:
    static void Set(const char* name, const char* value)
    {
        if (value != nullptr)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }

    std::vector<std::pair<const char*, std::optional<std::string>>> earlier_;
};

TEST_F(CliConventions, PatternsAndLevelNamesAreConvertedFromTheLocale)
{
    const std::string dash = "1 \xE2\x80\x94 \xE2\x80\x9C" "1\xE2\x80\x9D";  // 1 — “1”
    {
        const ProgramLocale locale("C.UTF-8");
        WriteFileBytes(input, "<RD:\xC9p\xEEtre>Rom\r\n<RD>x\r\n");
        ASSERT_EQ(0, Run({"-r", dash, "--level1", "\xC3\x89p\xC3\xAEtre", input, output}).status);
        EXPECT_NE(std::string::npos, ReadFileBytes(output).find("<CS:Reference>Rom \x97 \x93Rom\x94<CR>"));
        ASSERT_EQ(0, Run({"-f", "--encoding=ISO-8859-15", "-r", "1 \xE2\x82\xAC", "--level1", "\xC3\x89p\xC3\xAEtre",
                          input, output}).status);
        EXPECT_NE(std::string::npos, ReadFileBytes(output).find("<CS:Reference>Rom \xA4<CR>"));
        ExpectError(Run({"-f", "-r", "1 \xE2\x86\x92", "--level1", "x", input, output}),
                    "--ref-pattern has \"\xE2\x86\x92\"", 2);
        ExpectError(Run({"-f", "--encoding=UTF-8", "-r", "1", input, output}), "--encoding takes an 8-bit encoding", 2);
    }
    {
        const ProgramLocale locale("C");
        WriteFileBytes(input, "<RD:Book>Rom\r\n<RD>x\r\n");
        ASSERT_EQ(0, Run({"-f", "-r", dash, "--level1", "Book", input, output}).status);
        EXPECT_NE(std::string::npos, ReadFileBytes(output).find("<CS:Reference>Rom \xE2\x80\x94 \xE2\x80\x9CRom"));
    }
}

// Level names read from the files are shown in the locale's encoding, the
// file names beside them as they are.
TEST_F(CliConventions, LevelNotesShowTheFilesNamesInTheLocale)
{
    const ProgramLocale locale("C.UTF-8");
    WriteFileBytes(input, "<RD:\xC9vangile>Jean\r\n<RD>x\r\n");
    const std::string definitions = dir.File("levels.def");
    WriteFileBytes(definitions, "<LN:\xC9vangile,Chaptr>\r\n");
    const ProgramRun run = Run({"-r", "1", "-L", definitions, input, output});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_NE(
        std::string::npos,
        run.err.find(
            "first level name \"\xC3\x89vangile\" is not loaded; 1 level record of " + input +
            " names it; --level1 \xC3\x89vangile --level2 Chaptr sets it and moves the level names given one level "
            "down\n"))
        << run.err;
    EXPECT_NE(std::string::npos, run.err.find("the level records name: \xC3\x89vangile (1)\n")) << run.err;
    EXPECT_EQ(std::string::npos, run.err.find('\xC9')) << run.err;
}

// Bytes that are no text in the locale, such as a Latin-1 "é" from an old
// script under a UTF-8 locale, are refused for what they are, with the way
// to pass them on.
TEST_F(CliConventions, ArgumentsThatAreNoTextInTheLocaleAreRefusedWithTheRemedy)
{
    const ProgramLocale locale("C.UTF-8");
    WriteFileBytes(input, "<RD:\xE9l>Genesis\r\n<RD>x\r\n");
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"-r", "1", "--level1", "\xE9l"}, "--level1"},
        {{"-r", "1 \xC3"}, "--ref-pattern"},  // a sequence cut short at the end
    };
    for (const auto& [arguments, option] : cases) {
        std::vector<std::string> all = arguments;
        all.insert(all.end(), {"-f", input, output});
        const ProgramRun run = Run(all);
        EXPECT_EQ(2, run.status);
        EXPECT_EQ("pellimar-cli: " + option +
                      " is not valid UTF-8, the locale's encoding (--encoding=bytes takes the arguments byte for "
                      "byte)\nTry 'pellimar-cli --help' for more information.\n",
                  run.err);
    }
    ASSERT_EQ(0, Run({"-r", "1", "--level1", "\xE9l", "--encoding=bytes", "-f", input, output}).status);
    EXPECT_NE(std::string::npos, ReadFileBytes(output).find("<CS:Reference>Genesis<CR>"));
}

// A locale named but not installed (LANG=en_US.UTF-8 where only C.UTF-8 is)
// cannot be loaded; the text still arrives as its name says, silently. A
// name that tells nothing leaves the text as it is.
TEST_F(CliConventions, ALocaleThatIsNotInstalledIsTakenFromItsName)
{
    struct Case {
        const char* all;
        const char* ctype;
        const char* lang;
        std::string written;  // the "é" of the pattern
    };
    const Case cases[] = {
        {"xx_XX.UTF-8", nullptr, nullptr, "\xE9"},
        {nullptr, "xx_XX.utf8", "xx_XX", "\xE9"},
        {nullptr, nullptr, "xx_XX.UTF-8@euro", "\xE9"},
        {"", nullptr, "xx_XX.utf-8", "\xE9"},
        {"xx_XX", nullptr, "xx_XX.UTF-8", "\xC3\xA9"},
        {"xx_XX.ISO-8859-1", nullptr, nullptr, "\xC3\xA9"},
    };
    for (const Case& c : cases) {
        const ProgramLocale locale(c.all, c.ctype, c.lang);
        const ProgramRun run = Run({"-r", "1 \xC3\xA9", "--level1", "Book", "-f", input, output});
        const std::string what = std::string(c.all ? c.all : "-") + " " + (c.ctype ? c.ctype : "-") + " " +
                                 (c.lang ? c.lang : "-");
        EXPECT_EQ(0, run.status) << what;
        EXPECT_EQ("", run.err) << what;
        EXPECT_NE(std::string::npos, ReadFileBytes(output).find("<CS:Reference>Genesis " + c.written + "<CR>"))
            << what;
    }
}

// A character the flat files' encoding lacks is named, in quotes as it
// looks or, when it would not show there, by its code point; the bytes the
// code page leaves unassigned stand for the controls of their numbers, as
// in the window and on Windows.
TEST_F(CliConventions, LackingCharactersAreNamedSoThatTheyShow)
{
    const ProgramLocale locale("C.UTF-8");
    const std::string lacks = ", a character the flat files' encoding cannot hold (see --encoding)\n";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"-r", "1 \xE2\x86\x92"}, "--ref-pattern has \"\xE2\x86\x92\"" + lacks},
        {{"-r", "1 \xE2\x80\x8B"}, "--ref-pattern has U+200B" + lacks},
        {{"-r", "1", "-p", "\xEF\xBB\xBF[#]"}, "--page-pattern has U+FEFF" + lacks},
        {{"--encoding=CP437", "-r", "1 \xC2\x81"}, "--ref-pattern has U+0081" + lacks},
    };
    for (const auto& [arguments, message] : cases) {
        std::vector<std::string> all = arguments;
        all.insert(all.end(), {"-f", input, output});
        const ProgramRun run = Run(all);
        EXPECT_EQ(2, run.status) << message;
        EXPECT_TRUE(run.err.starts_with("pellimar-cli: " + message)) << run.err;
    }
    // Windows-1252 named as the default is the default.
    for (const char* encoding : {"--encoding=windows-1252", "--encoding=CP1252", "--no-progress"}) {
        ASSERT_EQ(0, Run({encoding, "-r", "1 \xC2\x81", "--level1", "Book", "-f", input, output}).status) << encoding;
        EXPECT_NE(std::string::npos, ReadFileBytes(output).find("<CS:Reference>Genesis \x81<CR>")) << encoding;
    }
}

// A preview shows its references in the locale's encoding; a reference that
// the flat files' encoding cannot spell out there is shown as the file holds
// it.
TEST_F(CliConventions, PreviewShowsReferencesInTheLocaleOrAsTheFileHoldsThem)
{
    const ProgramLocale locale("C.UTF-8");
    WriteFileBytes(input, "<RD:Book>\xE1\r\n<RD>x\r\n<RD:Book>\xE1\xFF\r\n<RD>y\r\n");
    const ProgramRun greek = Run({"--encoding=ISO-8859-7", "-r", "1", "--level1", "Book", "--preview", input});
    EXPECT_EQ(0, greek.status) << greek.err;
    EXPECT_EQ("2\t\xCE\xB1\n4\t\xE1\xFF\n", greek.out);
    const ProgramRun western = Run({"-r", "1", "--level1", "Book", "--preview", input});
    EXPECT_EQ("2\t\xC3\xA1\n4\t\xC3\xA1\xC3\xBF\n", western.out);
}

// Each level option is named as given when its name is refused.
TEST_F(CliConventions, RefusedLevelNamesNameTheirOption)
{
    const ProgramLocale locale("C.UTF-8");
    for (int level = 1; level <= 7; ++level) {
        const std::string option = "--level" + std::to_string(level);
        const ProgramRun run = Run({"-r", "1", option, "\xE2\x86\x92", input, output});
        EXPECT_EQ(2, run.status) << option;
        EXPECT_TRUE(run.err.starts_with("pellimar-cli: " + option + " has \"\xE2\x86\x92\", a character")) << run.err;
    }
}

}  // namespace
}  // namespace pellimar
