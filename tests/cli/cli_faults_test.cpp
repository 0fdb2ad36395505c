// pellimar-cli when the system fails it: outputs that cannot be written,
// inputs that cannot be read, outputs that are the input under another name.
// Every failure is reported on stderr with exit status 1 and no summary, and
// the input is never changed.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>

#include "cli/cli_fixture.h"
#include "support/root_powers.h"

namespace pellimar {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;
using testing::WriteFileBytes;

class CliFaults : public testing::Cli {
protected:
    // Several 8192-byte blocks of output, so that a write fails mid-run.
    void UseLargeInput()
    {
        std::string big;
        for (int i = 0; i < 3000; ++i)
            big += "<RD>record text\r\n";
        WriteFileBytes(input, big);
        inputBytes = big;
    }

    void ExpectInputKept() { EXPECT_EQ(inputBytes, ReadFileBytes(input)); }

    std::string inputBytes = testing::kCliInput;
};

bool IsCharacterDevice(const char* path)
{
    struct stat info {};
    return stat(path, &info) == 0 && S_ISCHR(info.st_mode);
}

// /proc/self/mem opens as a regular file, but reading it at offset 0 reads
// the unmapped first page of the reader's memory: the read fails with EIO.
// It is the one file at hand whose reads fail for root too.
bool ProcMemReadsFail()
{
    const int fd = open("/proc/self/mem", O_RDONLY);
    if (fd < 0)
        return false;
    char byte;
    const bool failed = read(fd, &byte, 1) < 0 && errno == EIO;
    close(fd);
    return failed;
}

TEST_F(CliFaults, FileSizeLimitDuringTheRunIsAWriteError)
{
    UseLargeInput();
    ExpectError(Run({"-r", "x", input, output}, 20000), "Stream write error");
    ExpectInputKept();
}

// A run writes beside the output and puts its file in place only at a good
// end: an earlier output survives a failure or an interrupt byte for byte,
// and nothing else is left in its folder.
TEST_F(CliFaults, FailedRunLeavesTheEarlierOutputAsItWas)
{
    UseLargeInput();
    WriteFileBytes(output, "earlier output");
    ExpectError(Run({"-r", "x", "-f", input, output}, 20000), "Stream write error");
    EXPECT_EQ("earlier output", ReadFileBytes(output));
    EXPECT_EQ((std::set<std::string>{"in.fff", "out.fff"}), testing::FileNames(dir.Path()));
}

// A closed terminal (HUP) stops a run as Ctrl+C and TERM do; not even KILL
// leaves anything behind.
TEST_F(CliFaults, InterruptedOrKilledRunLeavesTheEarlierOutputAsItWas)
{
    // A gigabyte that costs nothing to make: a file with a hole reads as zeros.
    fs::resize_file(input, std::uintmax_t{1} << 30);
    const std::string folder = dir.Path().string();
    const auto writing = [&](long child) { return testing::HoldsUnnamedFileIn(child, folder); };
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGKILL}) {
        SCOPED_TRACE(signal);
        WriteFileBytes(output, "earlier output");
        const testing::ProgramRun run =
            testing::RunProgramInterrupted(PELLIMAR_CLI_PATH, {"-r", "x", "-f", input, output}, writing, signal);
        if (signal == SIGKILL)
            EXPECT_EQ(128 + SIGKILL, run.status);
        else
            ExpectError(run, "Operation Canceled. " + output + " was left as it was.", 130);
        EXPECT_EQ("earlier output", ReadFileBytes(output));
        EXPECT_EQ((std::set<std::string>{"in.fff", "out.fff"}), testing::FileNames(dir.Path()));
    }
}

// An append-only folder lets no name in it be replaced or removed: the
// output is written in place, as the user is told before the run, and a
// cancel leaves it holding what was written, as the user is told after it.
// In an immutable folder not even a new file can be made.
TEST_F(CliFaults, FolderThatKeepsItsNamesGetsTheOutputWrittenInPlace)
{
    fs::resize_file(input, std::uintmax_t{1} << 30);
    WriteFileBytes(output, "earlier output");
    const testing::FolderFlag appendOnly(dir.Path().string(), FS_APPEND_FL);
    if (!appendOnly.Active())
        GTEST_SKIP() << "only root can mark a folder append-only";
    // Far more than the earlier output: the run has written it.
    const auto writing = [&](long) {
        std::error_code error;
        return fs::file_size(output, error) > 100000 && !error;
    };
    const testing::ProgramRun run =
        testing::RunProgramInterrupted(PELLIMAR_CLI_PATH, {"-r", "x", "-f", input, output}, writing);
    ExpectError(run,
                "pellimar-cli: " + output + ": note: its folder is append-only, so it is written in place: what it "
                "held is lost, and a cancel or a failure leaves a partial file under its name\n"
                "pellimar-cli: Operation Canceled. " + output + " holds only the part written before the cancel.\n",
                130);
    EXPECT_EQ((std::set<std::string>{"in.fff", "out.fff"}), testing::FileNames(dir.Path()));

    const testing::FolderFlag immutable(dir.Path().string(), FS_IMMUTABLE_FL);
    const std::string fresh = dir.File("fresh.fff");
    ExpectError(Run({"-r", "x", input, fresh}),
                "pellimar-cli: " + fresh + ": Cannot create file " + fresh + ": operation not permitted\n");
}

TEST_F(CliFaults, FileSizeLimitAtTheFinalFlushIsAWriteError)
{
    UseLargeInput();
    ASSERT_EQ(0, Run({"-r", "x", input, output}).status);
    const auto fullSize = fs::file_size(output);
    // Every whole block fits; only the last, partial one written at the close does not.
    ASSERT_NE(0u, fullSize % 8192);
    ExpectError(Run({"-r", "x", "-f", input, output}, fullSize - 1), "Stream write error");
    ExpectInputKept();
}

TEST_F(CliFaults, FullDeviceDuringTheRunIsAWriteError)
{
    if (!IsCharacterDevice("/dev/full"))
        GTEST_SKIP() << "this system has no /dev/full";
    UseLargeInput();
    ExpectError(Run({"-r", "x", "-f", input, "/dev/full"}), "Stream write error");
    ExpectInputKept();
}

TEST_F(CliFaults, FullDeviceAtTheFinalFlushIsAWriteError)
{
    if (!IsCharacterDevice("/dev/full"))
        GTEST_SKIP() << "this system has no /dev/full";
    // Less than a block: nothing is written before the close.
    ExpectError(Run({"-r", "x", "-f", input, "/dev/full"}), "Stream write error");
    ExpectInputKept();
}

TEST_F(CliFaults, InputWhoseReadsFailIsAReadError)
{
    if (!ProcMemReadsFail())
        GTEST_SKIP() << "reading /proc/self/mem does not fail here";
    ExpectError(Run({"-r", "x", "/proc/self/mem", output}), "Stream read error");
}

TEST_F(CliFaults, InputWithoutReadPermissionIsRefused)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads files whatever their permissions";
    fs::permissions(input, fs::perms::none);
    ExpectError(Run({"-r", "x", input, output}), "Cannot open file " + input);
}

TEST_F(CliFaults, InputThatIsAPipeIsRefusedWithoutWaiting)
{
    const std::string pipe = dir.File("pipe.fff");
    ASSERT_EQ(0, mkfifo(pipe.c_str(), 0600));
    ExpectError(Run({"-r", "x", pipe, output}), "Cannot open file " + pipe);
}

TEST_F(CliFaults, InputThatNeverEndsIsRefused)
{
    ExpectError(Run({"-r", "x", "/dev/zero", output}), "Cannot open file /dev/zero");
}

TEST_F(CliFaults, OutputInAMissingFolder)
{
    const std::string nowhere = dir.File("no/such/out.fff");
    ExpectError(Run({"-r", "x", input, nowhere}), "Cannot create file " + nowhere);
    ExpectInputKept();
}

TEST_F(CliFaults, OutputThatIsTheInputByItsOwnPathOrWithDotIsRefused)
{
    for (const std::string& same : {input, (dir.Path() / "." / "in.fff").string()}) {
        ExpectError(Run({"-r", "x", "-f", input, same}), "Cannot create file " + same);
        ExpectInputKept();
    }
}

// Standard input read from the output's file is the input too: written in
// place, the output would empty it before it is read.
TEST_F(CliFaults, OutputThatIsTheFileOnStandardInputIsRefused)
{
    testing::ProgramSetup setup;
    setup.input = input;
    ExpectError(testing::RunProgram(PELLIMAR_CLI_PATH, {"-r", "x", "-f", "-", input}, setup),
                "Cannot create file " + input + ": it is the input file");
    ExpectInputKept();
}

TEST_F(CliFaults, OutputThatIsASymbolicLinkToTheInputIsRefused)
{
    const std::string link = dir.File("link.fff");
    fs::create_symlink(input, link);
    ExpectError(Run({"-r", "x", "-f", input, link}), "Cannot create file " + link);
    ExpectInputKept();
}

TEST_F(CliFaults, OutputThatIsAHardLinkToTheInputIsRefused)
{
    const std::string link = dir.File("hard.fff");
    fs::create_hard_link(input, link);
    ExpectError(Run({"-r", "x", "-f", input, link}), "Cannot create file " + link);
    ExpectInputKept();
    EXPECT_EQ(2u, fs::hard_link_count(input));
}

// A collection: books in a folder of their own, outputs in another.
class CliCollectionFaults : public testing::Cli {
protected:
    CliCollectionFaults()
    {
        fs::create_directory(books);
        fs::create_directory(out);
    }

    std::string Book(const std::string& name, const std::string& text)
    {
        const std::string path = (books / name).string();
        WriteFileBytes(path, text);
        return path;
    }

    std::string Out(const std::string& name) const { return (out / name).string(); }

    fs::path books = dir.Path() / "books";
    fs::path out = dir.Path() / "out";
};

// A file whose output would pass the size limit passes the checks but not
// its run.
TEST_F(CliCollectionFaults, FileThatFailsIsToldAndTheOthersAreConverted)
{
    const std::string a = Book("a.fff", "<RD:Book>A\r\n<RD>x\r\n");
    const std::string big = Book("big.fff", "<RD:Book>B\r\n<RD>" + std::string(100'000, 'x') + "\r\n");
    const std::string c = Book("c.fff", "<RD:Book>C\r\n<RD>x\r\n<RD>y\r\n");
    for (const char* jobs : {"1", "2"}) {
        SCOPED_TRACE(jobs);
        fs::remove_all(out);
        fs::create_directory(out);
        WriteFileBytes(Out("big.fff"), "earlier");
        const testing::ProgramRun run =
            Run({"-r", "1", "--level1", "Book", "-f", "-j", jobs, "-d", out.string(), a, big, c}, 50'000);
        EXPECT_EQ(1, run.status);
        EXPECT_EQ(a + ": 1 reference created.\n" + c + ": 2 references created.\n" +
                      "2 files, 3 total references created.\n1 file failed.\n",
                  run.out);
        EXPECT_EQ("pellimar-cli: " + Out("big.fff") + ": Stream write error: the file would be too large\n", run.err);
        EXPECT_EQ("<RD:Book>A\r\n<RD><CS:Reference>A<CR>\r\n</CS>x\r\n", ReadFileBytes(Out("a.fff")));
        EXPECT_EQ("earlier", ReadFileBytes(Out("big.fff")));
        EXPECT_EQ((std::set<std::string>{"a.fff", "big.fff", "c.fff"}), testing::FileNames(out));
    }
}

// What a file's run would refuse at its turn, after the files before it
// were written, and an output that is an input through a link: each refuses
// the whole collection before anything is written, whatever the jobs.
TEST_F(CliCollectionFaults, EveryFileIsCheckedAsItsRunWouldBeforeAnyIsWritten)
{
    const std::string a = Book("a.fff", "<RD:Book>A\r\n<RD>x\r\n");
    const std::string b = Book("b.fff", "<RD:Book>B\r\n<RD>x\r\n");
    const std::string pipe = (books / "p.fff").string();
    struct Row {
        const char* arrangement;
        std::function<void()> arrange;
        std::string second;  // INPUT
        std::string told;
    };
    const Row rows[] = {
        {"an output that is a link to another input", [&] { fs::create_symlink(b, out / "a.fff"); }, b,
         "Cannot create file " + Out("a.fff") + ": it is " + b + ", an input of this run"},
        {"an output that is a link to its own input", [&] { fs::create_symlink(b, out / "b.fff"); }, b,
         "Cannot create file " + Out("b.fff") + ": it is the input file"},
        {"a pipe among the inputs", [&] { EXPECT_EQ(0, ::mkfifo(pipe.c_str(), 0600)); }, pipe,
         "Cannot open file " + pipe + ": it is not a regular file"},
    };
    for (const Row& row : rows) {
        for (const char* jobs : {"1", "2"}) {
            SCOPED_TRACE(std::string(row.arrangement) + ", -j " + jobs);
            fs::remove_all(out);
            fs::create_directory(out);
            fs::remove(pipe);
            row.arrange();
            const std::set<std::string> before = testing::FileNames(out);
            ExpectError(Run({"-r", "1", "--level1", "Book", "-f", "-j", jobs, "-d", out.string(), a, row.second}),
                        row.told + "\npellimar-cli: 1 problem: nothing was converted\n");
            EXPECT_EQ(before, testing::FileNames(out));
            EXPECT_EQ("<RD:Book>B\r\n<RD>x\r\n", ReadFileBytes(b));
        }
    }
}

TEST_F(CliCollectionFaults, FolderThatIsAnInputsFolderThroughALinkIsRefused)
{
    const std::string a = Book("a.fff", "<RD>x\r\n");
    const std::string link = dir.File("link");
    fs::create_directory_symlink(books, link);
    ExpectError(Run({"-r", "x", "-d", link, a}), "Cannot create file " + link + "/a.fff: it is the input file");
    EXPECT_EQ((std::set<std::string>{"a.fff"}), testing::FileNames(books));
}

// Interrupted while the second file is written: the first stays converted,
// the second's earlier output and the third's are left as they were, the
// fourth is not written; each output is named by what it is now.
TEST_F(CliCollectionFaults, InterruptKeepsWhatWasFinishedAndLeavesTheRest)
{
    const std::string a = Book("a.fff", "<RD:Book>A\r\n<RD>x\r\n");
    const std::string big = Book("big.fff", "");
    fs::resize_file(big, std::uintmax_t{1} << 30);
    const std::string c = Book("c.fff", "<RD>c\r\n");
    const std::string d = Book("d.fff", "<RD>d\r\n");
    WriteFileBytes(Out("big.fff"), "earlier big");
    WriteFileBytes(Out("c.fff"), "earlier c");
    const std::string folder = out.string();
    // The first is in place and the second under way: nothing else can be.
    const auto writingTheSecond = [&](long child) {
        return fs::exists(Out("a.fff")) && testing::HoldsUnnamedFileIn(child, folder);
    };
    const testing::ProgramRun run = testing::RunProgramInterrupted(
        PELLIMAR_CLI_PATH, {"-r", "1", "--level1", "Book", "-f", "-d", folder, a, big, c, d}, writingTheSecond);
    EXPECT_EQ(130, run.status);
    EXPECT_EQ(a + ": 1 reference created.\n", run.out);
    EXPECT_EQ("pellimar-cli: Operation Canceled.\n"
              "pellimar-cli: " + Out("a.fff") + ": converted by this run\n"
              "pellimar-cli: " + Out("big.fff") + ": left as it was, from an earlier run\n"
              "pellimar-cli: " + Out("c.fff") + ": left as it was, from an earlier run\n"
              "pellimar-cli: " + Out("d.fff") + ": not written\n",
              run.err);
    EXPECT_EQ("<RD:Book>A\r\n<RD><CS:Reference>A<CR>\r\n</CS>x\r\n", ReadFileBytes(Out("a.fff")));
    EXPECT_EQ("earlier big", ReadFileBytes(Out("big.fff")));
    EXPECT_EQ("earlier c", ReadFileBytes(Out("c.fff")));
    EXPECT_EQ((std::set<std::string>{"a.fff", "big.fff", "c.fff"}), testing::FileNames(out));
}

}  // namespace
}  // namespace pellimar
