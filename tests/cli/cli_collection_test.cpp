// pellimar-cli -d: a collection into one folder. Every fault is found
// before anything is written and all are listed; the files come out as
// single runs make them, in order, whatever the number of jobs.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>

#include "cli/cli_fixture.h"

namespace pellimar {
namespace {

namespace fs = std::filesystem;
using testing::ProgramRun;
using testing::ReadFileBytes;
using testing::WriteFileBytes;
using Args = std::vector<std::string>;

// Three books in a folder of their own, and an empty output folder.
struct Shelf {
    Shelf()
    {
        fs::create_directory(books);
        fs::create_directory(out);
        for (const char* name : {"a.fff", "b.fff", "c.fff"})
            inputs.push_back(Book(name, "<RD:Book>" + std::string(name) + "\r\n<RD>text\r\n<RD>more\r\n"));
    }

    std::string Book(const std::string& name, const std::string& text)
    {
        const std::string path = (books / name).string();
        WriteFileBytes(path, text);
        return path;
    }

    std::string Out(const std::string& name) const { return (out / name).string(); }

    // Every file of the output folder with its bytes.
    std::map<std::string, std::string> OutputFolder() const
    {
        std::map<std::string, std::string> files;
        for (const std::string& name : testing::FileNames(out))
            files[name] = fs::is_directory(out / name) ? "(folder)" : ReadFileBytes(Out(name));
        return files;
    }

    testing::TempDir dir;
    fs::path books = dir.Path() / "books";
    fs::path out = dir.Path() / "out";
    std::vector<std::string> inputs;
};

class CliCollection : public testing::Cli, public Shelf {
protected:
    ProgramRun Collect(const std::vector<std::string>& options, const std::vector<std::string>& files)
    {
        std::vector<std::string> arguments = options;
        arguments.insert(arguments.end(), files.begin(), files.end());
        return Run(arguments);
    }
};

// DIR is made where the folder it would be in is, as rsync makes its
// destination, once the checks let the run go ahead; a dry run only says so.
TEST_F(CliCollection, MissingFolderIsMadeWhereItsFolderIs)
{
    const std::string made = (out / "made").string();
    const ProgramRun dry = Collect({"-n", "-r", "1", "--level1", "Book", "-d", made}, {inputs[0]});
    const std::string output = (fs::path(made) / "a.fff").string();
    EXPECT_EQ("would make folder " + made + "\nwould create " + output + ": 2 references\n",
              dry.out.substr(0, dry.out.find("1 file")));
    EXPECT_FALSE(fs::exists(made));
    const ProgramRun run = Collect({"-r", "1", "--level1", "Book", "-d", made}, {inputs[0]});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_TRUE(run.out.starts_with("made folder " + made + "\n")) << run.out;
    EXPECT_TRUE(fs::exists(output));
    const ProgramRun refused =
        Collect({"-r", "1", "--level1", "Book", "-d", made + "/x"}, {inputs[0], books.string() + "/gone.fff"});
    EXPECT_EQ(1, refused.status);
    EXPECT_FALSE(fs::exists(made + "/x")) << "made for a run that was refused";
}

// Windows names hold no line break; a blank is what they share with POSIX's.
#ifdef _WIN32
constexpr const char* kOddName = "with blank.fff";
#else
constexpr const char* kOddName = "with blank and\nline break.fff";
#endif

// The inputs of a list come after those given, from a file or standard
// input, names with blanks and line breaks among them when they end at NULs.
TEST_F(CliCollection, InputsComeFromAListAfterThoseGiven)
{
    const std::string odd = Book(kOddName, "<RD:Book>odd\r\n<RD>x\r\n");
    const std::string list = (books.parent_path() / "list").string();
    WriteFileBytes(list, inputs[1] + '\0' + odd + '\0');
    testing::ProgramSetup fromInput;
    fromInput.input = list;
    const ProgramRun run = testing::RunProgram(
        PELLIMAR_CLI_PATH, {"-r", "1", "--level1", "Book", "-d", out.string(), "--files-from=-", "-0", inputs[0]},
        fromInput);
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ(inputs[0] + ": 2 references created.\n" + inputs[1] + ": 2 references created.\n" + odd +
                  ": 1 reference created.\n3 files, 5 total references created.\n",
              run.out);
    EXPECT_TRUE(fs::exists(out / kOddName));
}

TEST_F(CliCollection, EachInputBecomesItsNameInTheFolderWithALineEachAndATotal)
{
    const ProgramRun run = Collect({"-r", "1", "--level1", "Book", "-d", out.string()}, inputs);
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ(inputs[0] + ": 2 references created.\n" + inputs[1] + ": 2 references created.\n" + inputs[2] +
                  ": 2 references created.\n3 files, 6 total references created.\n",
              run.out);
    EXPECT_EQ("", run.err);
    EXPECT_EQ("<RD:Book>b.fff\r\n<RD><CS:Reference>b.fff<CR>\r\n</CS>text\r\n<RD><CS:Reference>b.fff<CR>\r\n</CS>more\r\n",
              ReadFileBytes(Out("b.fff")));
}

// The outputs converted again: each file's earlier references counted on
// its line, added up in the total, and each file that keeps them named in
// its own note.
TEST_F(CliCollection, EarlierReferencesAreTreatedPerFileAndAddedUp)
{
    inputs[2] = Book("c.fff", "<RD:Book>c\r\n<RD>one\r\n");
    ASSERT_EQ(0, Collect({"-r", "1", "--level1", "Book", "-q", "-d", out.string()}, inputs).status);
    const std::vector<std::string> converted = {Out("a.fff"), Out("b.fff"), Out("c.fff")};
    const fs::path again = books.parent_path() / "again";
    const auto line = [&](std::size_t i, const std::string& text) { return converted[i] + ": " + text + "\n"; };
    const auto kept = [&](std::size_t i, const std::string& held, const std::string& them) {
        return "pellimar-cli: note: " + converted[i] + " already holds " + held +
               " from an earlier run; the output has both. --replace-references replaces " + them + ".\n";
    };
    struct Row {
        Args options;
        std::string out;
        std::string err;
    };
    const Row rows[] = {
        {{"-r", "1", "--level1", "Book"},
         line(0, "2 references created.") + line(1, "2 references created.") + line(2, "1 reference created.") +
             "3 files, 5 total references created.\n",
         kept(0, "2 references", "them") + kept(1, "2 references", "them") + kept(2, "1 reference", "it")},
        {{"-r", "1", "--level1", "Book", "--replace-references"},
         line(0, "2 references created, 2 earlier references replaced.") +
             line(1, "2 references created, 2 earlier references replaced.") +
             line(2, "1 reference created, 1 earlier reference replaced.") +
             "3 files, 5 total references created, 5 earlier references replaced.\n",
         ""},
        {{"--remove-references"},
         line(0, "2 earlier references removed.") + line(1, "2 earlier references removed.") +
             line(2, "1 earlier reference removed.") + "3 files, 5 earlier references removed.\n",
         ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.options.back());
        fs::remove_all(again);
        fs::create_directory(again);
        Args options = row.options;
        options.insert(options.end(), {"-d", again.string()});
        const ProgramRun run = Collect(options, converted);
        EXPECT_EQ(0, run.status);
        EXPECT_EQ(row.out, run.out);
        EXPECT_EQ(row.err, run.err);
    }
    EXPECT_EQ(ReadFileBytes(inputs[2]), ReadFileBytes((again / "c.fff").string()));  // removed: as before
}

// Texts that only look like earlier references, and cut headings, are told
// of each file in its own note, with its count and first line.
TEST_F(CliCollection, LookAlikesAndCutsAreToldPerFileWithTheFirstLine)
{
    inputs[0] = Book("a.fff", "<RD:Book>a\r\n<RD><CS:Reference>mine</CS>\r\n<RD><CS:Reference>x\r\n");
    inputs[2] = Book("c.fff", "<RD:Book>c\r\n<RD>one\r\n\r\n<RD><CS:Reference>y\r\n<RD:Book>" +
                                  std::string(70000, 'c') + "\r\n");
    const ProgramRun run = Collect({"-r", "1", "--level1", "Book", "-d", out.string()}, inputs);
    EXPECT_EQ(0, run.status);
    EXPECT_EQ("pellimar-cli: " + inputs[0] +
                  ": note: 2 texts after record codes begin like a reference but are not one, first on line 2; they "
                  "were kept.\npellimar-cli: " +
                  inputs[2] +
                  ": note: 1 text after a record code begins like a reference but is not one, on line 4; it was "
                  "kept.\npellimar-cli: " +
                  inputs[2] + ": note: 1 heading was longer than 64 KB and keeps its first 64 KB, on line 5.\n",
              run.err);
}

std::string WithoutNotes(const std::string& told)
{
    std::string kept;
    std::size_t at = 0;
    while (at < told.size()) {
        const std::size_t end = told.find('\n', at) + 1;
        const std::string line = told.substr(at, end - at);
        if (line.find(": note: ") == std::string::npos)
            kept += line;
        at = end;
    }
    return kept;
}

// Each row makes one fault; the run is refused with its reason, exit 1,
// and nothing in the output folder changes.
TEST_F(CliCollection, EachFaultRefusesTheWholeRunBeforeAnythingIsWritten)
{
    struct Row {
        std::string fault;
        std::function<std::vector<std::string>(Shelf&)> arrange;  // the arguments after the options
        std::function<std::string(Shelf&)> message;
    };
    const std::vector<Row> rows = {
        {"missing input",
         [](Shelf& t) {
             return Args{t.inputs[0], t.books.string() + "/gone.fff"};
         },
         [](Shelf& t) { return t.books.string() + "/gone.fff: Input file not found. (no such file)"; }},
        {"input that is a folder",
         [](Shelf& t) {
             fs::create_directory(t.books / "d.fff");
             return Args{t.inputs[0], (t.books / "d.fff").string()};
         },
         [](Shelf& t) {
             const std::string folder = (t.books / "d.fff").string();
             return folder + ": Cannot open file " + folder + ": it is a folder";
         }},
        {"two inputs of one name",
         [](Shelf& t) {
             fs::create_directory(t.dir.Path() / "other");
             const std::string twin = (t.dir.Path() / "other" / "b.fff").string();
             WriteFileBytes(twin, "<RD>x\r\n");
             return Args{t.inputs[1], twin};
         },
         [](Shelf& t) { return t.Out("b.fff") + ": Cannot create file " + t.Out("b.fff") + ": the output of "; }},
        {"folder of an input",
         [](Shelf& t) {
             return Args{"-d", t.books.string(), t.inputs[0]};
         },
         [](Shelf& t) {
             const std::string output = (t.books / "a.fff").string();
             return output + ": Cannot create file " + output + ": it is the input file";
         }},
        {"output that exists",
         [](Shelf& t) {
             WriteFileBytes(t.Out("a.fff"), "earlier a");
             WriteFileBytes(t.Out("c.fff"), "earlier c");
             return t.inputs;
         },
         [](Shelf& t) {
             return t.Out("a.fff") + ": Output file exists (use -f or --force to overwrite)\npellimar-cli: " +
                    t.Out("c.fff") + ": Output file exists";
         }},
        {"output that is a folder",
         [](Shelf& t) {
             fs::create_directory(t.out / "c.fff");
             return Args{"-f", t.inputs[2]};
         },
         [](Shelf& t) { return t.Out("c.fff") + ": Cannot create file " + t.Out("c.fff") + ": it is a folder"; }},
        {"missing folder in a missing folder",
         [](Shelf& t) {
             return Args{"-d", (t.dir.Path() / "none" / "deeper").string(), t.inputs[0]};
         },
         [](Shelf& t) {
             return (t.dir.Path() / "none" / "deeper").string() +
                    ": The output folder cannot take the outputs. (no such folder)";
         }},
        {"folder that is a file",
         [](Shelf& t) {
             return Args{"-d", t.inputs[2], t.inputs[0]};
         },
         [](Shelf& t) { return t.inputs[2] + ": The output folder cannot take the outputs. (it is not a folder)"; }},
        {"pattern without its source",
         [](Shelf& t) {
             return Args{"-r", "#", t.inputs[0]};
         },
         [](Shelf&) {
             return std::string("Insufficient information to process reference pattern: \"#\" stands for the page, "
                                "and the page-number pattern (-p, --page-pattern) is empty");
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fault);
        Shelf t;
        // The row's own -r or -d in place of these, each given once.
        std::vector<std::string> arguments = row.arrange(t);
        for (const Args& given : {Args{"-r", "1"}, Args{"--level1", "Book"}, Args{"-d", t.out.string()}}) {
            if (std::find(arguments.begin(), arguments.end(), given[0]) == arguments.end())
                arguments.insert(arguments.begin(), given.begin(), given.end());
        }
        const std::map<std::string, std::string> before = t.OutputFolder();
        // A dry run refuses as the run does, and foresees that nothing would
        // be converted; besides, it tells what it would do with the other
        // outputs, with their notes.
        std::vector<std::string> dry = arguments;
        dry.insert(dry.begin(), "-n");
        const ProgramRun foreseen = Run(dry);
        const ProgramRun run = Run(arguments);
        ExpectError(run, "pellimar-cli: " + row.message(t));
        EXPECT_NE(std::string::npos, run.err.find("nothing was converted")) << run.err;
        // Only an output that stands, and is no input, wants -f.
        EXPECT_EQ(run.err.find("--force") != std::string::npos, row.fault == "output that exists") << run.err;
        const std::size_t lastLine = run.err.rfind(": nothing was converted");
        EXPECT_EQ(run.err.substr(0, lastLine) + ": nothing would be converted\n", WithoutNotes(foreseen.err));
        EXPECT_EQ(1, foreseen.status);
        EXPECT_EQ(before, t.OutputFolder());
        EXPECT_FALSE(fs::exists(t.Out("a.fff")) && ReadFileBytes(t.Out("a.fff")).find("<CS:") != std::string::npos);
    }
}

TEST_F(CliCollection, EveryFaultIsListedAtOnce)
{
    WriteFileBytes(Out("b.fff"), "earlier");
    const ProgramRun run = Collect({"-r", "1", "--level1", "Book", "-d", out.string()},
                                   {inputs[0], books.string() + "/gone.fff", inputs[1]});
    ExpectError(run, "gone.fff: Input file not found.");
    EXPECT_NE(std::string::npos, run.err.find(Out("b.fff") + ": Output file exists")) << run.err;
    EXPECT_NE(std::string::npos, run.err.find("pellimar-cli: 2 problems: nothing was converted\n")) << run.err;
    EXPECT_EQ((std::map<std::string, std::string>{{"b.fff", "earlier"}}), OutputFolder());
}

TEST_F(CliCollection, ArgumentsThatMakeNoCollectionAreUsageErrors)
{
    const std::string folder = out.string();
    for (const auto& [arguments, message] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"-d", folder}, "expected one or more INPUTs"},
             {{"-d", folder, inputs[0], "-"}, "\"-\" (standard input) cannot be an INPUT"},
             {{"-d", folder, inputs[0], ""}, "the name of an INPUT is empty"},
             {{"-d", "", inputs[0]}, "the name of DIR"},
             {{"-d", folder, "--preview", inputs[0]}, "cannot be used with -d"},
             {{"-j", "0", "-d", folder, inputs[0]}, "--jobs takes a whole number from 1 to 64, not '0'"},
             {{"-j", "65", "-d", folder, inputs[0]}, "not '65'"},
             {{"-j", "two", "-d", folder, inputs[0]}, "not 'two'"},
             {{inputs[0], inputs[1], inputs[2]}, "(-d DIR converts several INPUTs into DIR)"},
         }) {
        std::vector<std::string> all = {"-r", "x"};
        all.insert(all.end(), arguments.begin(), arguments.end());
        SCOPED_TRACE(::testing::PrintToString(all));
        ExpectError(Run(all), message, 2);
        EXPECT_TRUE(OutputFolder().empty());
    }
}

// Everything under the output folder, with its bytes and its time: what a
// dry run must leave as it found it.
std::map<std::string, std::string> Snapshot(const fs::path& folder)
{
    std::map<std::string, std::string> files;
    files["."] = std::to_string(fs::last_write_time(folder).time_since_epoch().count());
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        const std::string time = std::to_string(entry.last_write_time().time_since_epoch().count());
        files[entry.path().filename().string()] =
            (entry.is_directory() ? "(folder)" : ReadFileBytes(entry.path().string())) + " at " + time;
    }
    return files;
}

// A dry run of a collection with an output that exists, one that is refused
// and one that is new: it says what it would do with each output, the
// refusals in their places, exits as the run does, and leaves the folder
// byte for byte and time for time as it was.
TEST_F(CliCollection, DryRunForetellsTheRunAndLeavesTheFolderAsItWas)
{
    WriteFileBytes(Out("b.fff"), "earlier b");
    fs::create_directory(out / "c.fff");  // no output can be a folder
    const std::vector<std::string> options = {"-r", "1", "--level1", "Book", "-d", out.string()};
    std::vector<std::string> dry = options;
    dry.push_back("-n");
    const std::map<std::string, std::string> before = Snapshot(out);
    const ProgramRun refused = Collect(dry, inputs);
    EXPECT_EQ(before, Snapshot(out));
    const std::string problems =
        "pellimar-cli: " + Out("b.fff") +
        ": Output file exists (use -f or --force to overwrite)\npellimar-cli: " + Out("c.fff") +
        ": Cannot create file " + Out("c.fff") + ": it is a folder\npellimar-cli: 2 problems: ";
    EXPECT_EQ(1, refused.status);
    EXPECT_EQ("would create " + Out("a.fff") + ": 2 references\n", refused.out);
    EXPECT_EQ(problems + "nothing would be converted\n", refused.err);
    const ProgramRun run = Collect(options, inputs);
    EXPECT_EQ(1, run.status);
    EXPECT_EQ(problems + "nothing was converted\n", run.err);

    // Mended: -f for b.fff, and c.fff no longer a folder.
    fs::remove(out / "c.fff");
    dry.push_back("-f");
    const std::map<std::string, std::string> mended = Snapshot(out);
    const ProgramRun foreseen = Collect(dry, inputs);
    EXPECT_EQ(mended, Snapshot(out));
    EXPECT_EQ(0, foreseen.status) << foreseen.err;
    EXPECT_EQ("would create " + Out("a.fff") + ": 2 references\nwould replace " + Out("b.fff") +
                  ": 2 references\nwould create " + Out("c.fff") +
                  ": 2 references\n3 files, 6 total references would be created\n",
              foreseen.out);
    EXPECT_EQ("", foreseen.err);
    std::vector<std::string> real = options;
    real.push_back("-f");
    const ProgramRun converted = Collect(real, inputs);
    EXPECT_EQ(0, converted.status);
    EXPECT_EQ(inputs[0] + ": 2 references created.\n" + inputs[1] + ": 2 references created.\n" + inputs[2] +
                  ": 2 references created.\n3 files, 6 total references created.\n",
              converted.out);
    EXPECT_EQ((std::set<std::string>{"a.fff", "b.fff", "c.fff"}), testing::FileNames(out));
}

// A dry run of a collection counts earlier references as the run would, and
// says what the outputs would have.
TEST_F(CliCollection, DryRunCountsEarlierReferencesAsTheRunWould)
{
    ASSERT_EQ(0, Collect({"-r", "1", "--level1", "Book", "-q", "-d", out.string()}, inputs).status);
    const fs::path again = books.parent_path() / "again";
    fs::create_directory(again);
    const std::vector<std::string> converted = {Out("a.fff"), Out("b.fff")};
    const auto would = [&](const std::string& name, const std::string& counts) {
        return "would create " + (again / name).string() + ": " + counts + "\n";
    };
    const ProgramRun replace = Collect({"-n", "-r", "1", "--level1", "Book", "--replace-references", "-d",
                                        again.string()},
                                       converted);
    EXPECT_EQ(would("a.fff", "2 references, 2 earlier references replaced") +
                  would("b.fff", "2 references, 2 earlier references replaced") +
                  "2 files, 4 total references would be created, 4 earlier references replaced\n",
              replace.out);
    const ProgramRun keep = Collect({"-n", "-r", "1", "--level1", "Book", "-d", again.string()}, converted);
    for (const std::string& input : converted)
        EXPECT_NE(std::string::npos, keep.err.find("pellimar-cli: note: " + input +
                                                   " already holds 2 references from an earlier run; the output "
                                                   "would have both. --replace-references replaces them.\n"))
            << keep.err;
    const ProgramRun remove = Collect({"-n", "--remove-references", "-d", again.string()}, converted);
    EXPECT_EQ(would("a.fff", "2 earlier references removed") + would("b.fff", "2 earlier references removed") +
                  "2 files, 4 earlier references would be removed\n",
              remove.out);
    EXPECT_TRUE(fs::is_empty(again));
}

TEST_F(CliCollection, SeveralJobsWriteTheBytesAndSayTheWordsOfOne)
{
    inputs.push_back(Book("ids.fff", "<RD,ID:9:Book>hid\r\n<RD>x\r\n"));
    for (int i = 0; i < 5; ++i) {
        std::string text = "<RD:Book>B" + std::to_string(i) + "\r\n";
        for (int record = 0; record < 2000 * i; ++record)
            text += "<RD>[" + std::to_string(record) + "] text\r\n";
        inputs.push_back(Book("n" + std::to_string(i) + ".fff", text));
    }
    const std::vector<std::string> options = {"-r", "1 #", "-p", "[#]", "--level1", "Book", "--start-page", "4"};
    std::vector<std::string> one = options;
    one.insert(one.end(), {"-j", "1", "-d", out.string()});
    const ProgramRun byOne = Collect(one, inputs);
    EXPECT_EQ(0, byOne.status) << byOne.err;
    const std::map<std::string, std::string> outputsOfOne = OutputFolder();
    EXPECT_EQ(inputs.size(), outputsOfOne.size());
    EXPECT_EQ("pellimar-cli: " + inputs[3] +
                  ": note: 1 record code of the form <RD,ID:n:Level> names a level; --id-records reads it as a level "
                  "record\n",
              byOne.err);
    for (const char* jobs : {"2", "3"}) {
        fs::remove_all(out);
        fs::create_directory(out);
        std::vector<std::string> several = options;
        several.insert(several.end(), {"-j", jobs, "-d", out.string()});
        const ProgramRun bySeveral = Collect(several, inputs);
        EXPECT_EQ(byOne.status, bySeveral.status);
        EXPECT_EQ(byOne.out, bySeveral.out);
        EXPECT_EQ(byOne.err, bySeveral.err);
        EXPECT_TRUE(outputsOfOne == OutputFolder()) << jobs;
    }
    // As single runs make them.
    for (const std::string& input : inputs) {
        std::vector<std::string> single = options;
        single.insert(single.end(), {input, output});
        ASSERT_EQ(0, Run(single).status);
        EXPECT_TRUE(ReadFileBytes(output) == outputsOfOne.at(fs::path(input).filename().string())) << input;
        fs::remove(output);
    }
}

}  // namespace
}  // namespace pellimar
