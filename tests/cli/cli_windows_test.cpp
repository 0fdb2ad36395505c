// pellimar-cli on Windows: names in any script, text in the ANSI code page,
// the reasons Windows gives, and standard input and output without CR LF
// translation.
#include <windows.h>

#include <algorithm>
#include <filesystem>

#include "cli/cli_fixture.h"
#include "cli/console.h"
#include "streams/wide_names.h"

namespace pellimar {
namespace {

namespace fs = std::filesystem;
using testing::Cli;
using testing::ProgramRun;
using testing::ProgramSetup;
using testing::ReadFileBytes;
using testing::WriteFileBytes;

// Wine shows Linux's /dev/full as a device whose every write fails for lack
// of space; Windows itself has no such device.
constexpr const char* kFullDevice = "/dev/full";

bool Opens(const std::string& name)
{
    const HANDLE handle = CreateFileW(WideOfName(name).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(handle);
    return true;
}

TEST_F(Cli, NamesInAnyScriptOpenAndShowAsTyped)
{
    // "Ünïcödé 日本"
    const std::string name = "\xC3\x9Cn\xC3\xAF" "c\xC3\xB6" "d\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC";
    const std::string in = dir.File(name + ".fff");
    const std::string out = dir.File(name + " out.fff");
    WriteFileBytes(in, testing::kCliInput);
    const ProgramRun run = Run({"-r", "1", "--level1", "Book", in, out});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ("2 total references created.\n", run.out);
    EXPECT_NE(std::string::npos, ReadFileBytes(out).find("<RD><CS:Reference>Genesis<CR>\r\n</CS>In the"));
    ExpectError(Run({"-r", "1", "--level1", "Book", in, out}), "pellimar-cli: " + out + ": Output file exists");
}

TEST_F(Cli, PatternsAndLevelNamesAreMatchedAndWrittenInTheAnsiCodePage)
{
    if (GetACP() != 1252)
        GTEST_SKIP() << "the expected bytes are those of code page 1252";
    WriteFileBytes(input, "<RD:\xC9vangile>Jean\r\n<RD>Au commencement\r\n");
    // "§ 1" and "Évangile", in UTF-8 as the system hands them over
    const ProgramRun run = Run({"-r", "\xC2\xA7 1", "--level1", "\xC3\x89vangile", input, output});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ("<RD:\xC9vangile>Jean\r\n<RD><CS:Reference>\xA7 Jean<CR>\r\n</CS>Au commencement\r\n",
              ReadFileBytes(output));
    ExpectError(Run({"-r", "\xE6\x97\xA5 1", "--level1", "Book", "-f", input, output}),  // "日 1"
                "pellimar-cli: --ref-pattern has \"\xE6\x97\xA5\", a character the flat files' encoding cannot hold",
                2);
}

TEST_F(Cli, ErrorsNameTheFileAndTheReasonWindowsGives)
{
    fs::create_directory(dir.Path() / "folder");
    const std::string missing = dir.File("missing.fff");
    const std::string folder = dir.File("folder");
    const std::string nowhere = dir.File("no\\such\\out.fff");
    const std::string noDefinitions = dir.File("no.def");
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"-r", "x", missing, output}, missing + ": Input file not found. (no such file)"},
        {{"-r", "x", folder, output}, folder + ": Cannot open file " + folder + ": it is a folder"},
        {{"-r", "x", input, nowhere}, nowhere + ": Cannot create file " + nowhere + ": no such folder"},
        {{"-r", "x", "-f", input, folder}, folder + ": Cannot create file " + folder + ": it is a folder"},
        {{"-r", "x", "-L", noDefinitions, input, output},
         noDefinitions + ": Cannot open file " + noDefinitions + ": no such file"},
    };
    for (const auto& [arguments, message] : cases)
        ExpectError(Run(arguments), "pellimar-cli: " + message + "\n");
}

TEST_F(Cli, OutputThatIsTheInputUnderAnotherSpellingIsRefused)
{
    const std::string hardLink = dir.File("hard.fff");
    fs::create_hard_link(dir.Path() / "in.fff", dir.Path() / "hard.fff");
    for (const std::string& same : {dir.File("IN.FFF"), NameOfPath(dir.Path() / "." / "in.fff"), hardLink}) {
        ExpectError(Run({"-r", "x", "-f", input, same}),
                    "pellimar-cli: " + same + ": Cannot create file " + same + ": it is the input file\n");
        EXPECT_EQ(testing::kCliInput, ReadFileBytes(input));
    }
}

// A file made read-only for the length of a test, so that its folder can
// be removed afterwards.
class ReadOnly {
public:
    explicit ReadOnly(const std::string& name) : name_(WideOfName(name))
    {
        made_ = SetFileAttributesW(name_.c_str(), FILE_ATTRIBUTE_READONLY) != 0;
    }
    ~ReadOnly() { SetFileAttributesW(name_.c_str(), FILE_ATTRIBUTE_NORMAL); }
    bool Made() const { return made_; }

private:
    std::wstring name_;
    bool made_ = false;
};

// Windows keeps a read-only file from being written whoever asks; wine run
// by root lets root write it, as Linux does.
TEST_F(Cli, ReadOnlyOutputIsPermissionDenied)
{
    WriteFileBytes(output, "keep");
    const ReadOnly readOnly(output);
    ASSERT_TRUE(readOnly.Made());
    if (Opens(output))
        GTEST_SKIP() << "this user may write read-only files (wine run by root)";
    ExpectError(Run({"-r", "x", "-f", input, output}), "Cannot create file " + output + ": permission denied\n");
    EXPECT_EQ("keep", ReadFileBytes(output));
}

// A failed write mid-run and one at the final flush.
TEST_F(Cli, WriteFailureIsReportedAndTheInputKept)
{
    if (!Opens(kFullDevice))
        GTEST_SKIP() << "no device that refuses every write";
    std::string large;
    while (large.size() < 100'000)
        large += "<RD>record text\r\n";
    for (const std::string& bytes : {testing::kCliInput, large}) {
        WriteFileBytes(input, bytes);
        ExpectError(Run({"-r", "x", "-f", input, kFullDevice}),
                    "pellimar-cli: /dev/full: Stream write error: no space left on the disk\n");
        EXPECT_EQ(bytes, ReadFileBytes(input));
    }
}

TEST_F(Cli, StandardInputAndOutputPassEveryByteAsItIs)
{
    WriteFileBytes(input, "<RD:Book>Genesis\r\n<RD>lone LF\n<RD>lone CR\r<RD>CR CR LF\r\r\n\x1A after Ctrl+Z\r\n");
    const ProgramRun named = Run({"-r", "1", "--level1", "Book", input, output});
    ASSERT_EQ(0, named.status) << named.err;
    ProgramSetup setup;
    setup.input = input;
    setup.output = dir.File("through-standard-output.fff");
    const ProgramRun run = testing::RunProgram(PELLIMAR_CLI_PATH, {"-r", "1", "--level1", "Book", "-", "-"}, setup);
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ(named.out, run.err);
    const std::string piped = ReadFileBytes(setup.output);
    EXPECT_EQ(ReadFileBytes(output), piped);
    EXPECT_NE(std::string::npos, piped.find("lone LF\n<RD>")) << piped;
    EXPECT_NE(std::string::npos, piped.find("CR CR LF\r\r\n\x1A after")) << piped;
}

// Redirected, the preview passes the file's bytes; a console, which shows
// UTF-8 while the program runs, gets them converted.
TEST_F(Cli, PreviewKeepsTheBytesWhenRedirectedAndConvertsThemForAConsole)
{
    if (GetACP() != 1252)
        GTEST_SKIP() << "the expected bytes are those of code page 1252";
    WriteFileBytes(input, "<RD:Livre>\xC9vangile\r\n<RD>Au commencement\r\n");
    const ProgramRun run = Run({"-r", "1", "--level1", "Livre", "--preview", input});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ("2\t\xC9vangile\n", run.out);
    EXPECT_EQ("\xC3\x89vangile \xC2\xA7", cli::Utf8OfFlatFileText("\xC9vangile \xA7"));
}

// As /dev/null on Linux: a device is no flat file.
TEST_F(Cli, DeviceAsInputIsRefused)
{
    for (const std::string device : {"NUL", "CON", "nul.fff", "aux"}) {
        ExpectError(Run({"-r", "x", device, output}),
                    "pellimar-cli: " + device + ": Cannot open file " + device + ": it is not a regular file\n");
        EXPECT_FALSE(fs::exists(output));
    }
}

// Windows takes these names for devices in any folder: the file meant
// would never be written. NUL alone is the device, as /dev/null on Linux.
TEST_F(Cli, OutputNamedLikeADeviceIsRefused)
{
    for (const std::string name : {"aux.fff", "con.txt", "COM1.fff", "lpt9 .fff", "nul.fff"}) {
        const std::string named = dir.File(name);
        std::string device = name.substr(0, name.find_first_of(". "));
        for (char& c : device)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        ExpectError(Run({"-r", "x", input, named}), "pellimar-cli: " + named + ": Cannot create file " + named +
                                                         ": Windows takes the name for the device " + device + "\n");
    }
    EXPECT_EQ((std::set<std::string>{"in.fff"}), testing::FileNames(dir.Path()));
    EXPECT_EQ(0, Run({"-r", "x", input, "NUL"}).status);
}

// --encoding takes only "bytes" here; its help must not promise the
// encodings of other systems.
TEST_F(Cli, HelpSaysWhatEncodingTakesOnWindows)
{
    const ProgramRun run = Run({"--help"});
    const std::size_t at = run.out.find("--encoding");
    ASSERT_NE(std::string::npos, at) << run.out;
    // Its lines, joined, up to the next option or heading.
    const std::size_t end = std::min(run.out.find("\n  -", at), run.out.find("\n\n", at));
    std::string entry;
    for (std::size_t i = at; i < std::min(end, run.out.size()); ++i) {
        const bool blank = run.out[i] == ' ' || run.out[i] == '\n';
        if (!blank || (!entry.empty() && entry.back() != ' '))
            entry += blank ? ' ' : run.out[i];
    }
    EXPECT_NE(std::string::npos, entry.find("only \"bytes\" is taken on Windows")) << entry;
    EXPECT_NE(std::string::npos, entry.find("ANSI code page")) << entry;
    EXPECT_EQ(std::string::npos, entry.find("locale")) << entry;
}

// Paths over 260 characters need the program to say it takes them.
TEST(CliManifest, DeclaresTheProgramAwareOfLongPaths)
{
    const HMODULE program = LoadLibraryExW(WideOfName(PELLIMAR_CLI_PATH).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, program);
    const HRSRC found = FindResourceW(program, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
    ASSERT_NE(nullptr, found);
    const auto* bytes = static_cast<const char*>(LockResource(LoadResource(program, found)));
    const std::string manifest(bytes, SizeofResource(program, found));
    EXPECT_NE(std::string::npos, manifest.find("<ws2:longPathAware>true</ws2:longPathAware>")) << manifest;
    FreeLibrary(program);
}

}  // namespace
}  // namespace pellimar
