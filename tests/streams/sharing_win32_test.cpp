// Files under text streams and the run's output where Windows has its own
// ways: the sharing asked for at opening keeps other programs out, names
// have no case, and devices can fail writes.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <climits>

#include "streams/exceptions.h"
#include "streams/file_faults.h"
#include "streams/file_replacement.h"
#include "streams/fresh_file_win32.h"
#include "streams/file_stream_fixture.h"
#include "streams/output_file_fixture.h"
#include "streams/wide_names.h"
#include "support/reason_of_failure.h"
#include "support/temp_dir.h"

namespace pellimar {
namespace {

using testing::FileNames;
using testing::FileStreamTest;
using testing::OutputFileTest;
using testing::ReadFileBytes;
using testing::ReasonOfFailure;
using testing::WriteThrough;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The file held open as another program would, with its own sharing.
class OtherProgram {
public:
    OtherProgram(const std::string& name, DWORD access, DWORD sharing)
        : handle_(CreateFileW(WideOfName(name).c_str(), access, sharing, nullptr, OPEN_EXISTING, 0, nullptr))
    {
    }
    ~OtherProgram() { CloseHandle(handle_); }
    bool Holds() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

std::string UpperCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

TEST_F(FileStreamTest, InputMayBeReadButNotWrittenByOthersWhileAStreamReadsIt)
{
    TS_TextStream reading(input, fmOpenRead);
    EXPECT_TRUE(OtherProgram(input, GENERIC_READ, kShareAll).Holds());
    EXPECT_FALSE(OtherProgram(input, GENERIC_WRITE, kShareAll).Holds());
}

TEST_F(FileStreamTest, AnotherProgramReadingTheFileKeepsItFromBeingWritten)
{
    const OtherProgram reader(input, GENERIC_READ, FILE_SHARE_READ);
    ASSERT_TRUE(reader.Holds());
    EXPECT_EQ("another program has it open", ReasonOfFailure([&] { TS_TextStream writing(input, fmCreate); }));
    EXPECT_EQ("original bytes", ReadFileBytes(input));
    EXPECT_EQ("", ReasonOfFailure([&] { TS_TextStream alsoReading(input, fmOpenRead); }));
}

TEST_F(FileStreamTest, AnotherProgramWritingTheFileKeepsItFromBeingRead)
{
    const OtherProgram writer(input, GENERIC_WRITE, kShareAll);
    ASSERT_TRUE(writer.Holds());
    EXPECT_EQ("another program has it open", ReasonOfFailure([&] { TS_TextStream reading(input, fmOpenRead); }));
}

TEST_F(FileStreamTest, OutputOnTheInputIsRefusedWhateverTheCaseOfItsName)
{
    const std::string otherCase = UpperCase(input);
    ExpectCreateRefused(otherCase);
    TS_TextStream reading(input, fmOpenRead);
    EXPECT_EQ("it is the input file", ReasonOfFailure([&] { TS_TextStream writing(otherCase, fmCreate); }));
}

// Wine shows Linux's /dev/full as a device whose every write fails for lack
// of space; Windows itself has no such device.
TEST_F(FileStreamTest, FailedWriteToADeviceIsReportedByClose)
{
    const std::string full = "/dev/full";
    if (!OtherProgram(full, GENERIC_WRITE, kShareAll).Holds())
        GTEST_SKIP() << "no device that refuses every write";
    TS_TextStream out(full, fmCreate);
    out.WriteStr(std::string(100, 'x'));
    EXPECT_EQ("no space left on the disk", ReasonOfFailure([&] { out.Close(); }));
}

// Held without sharing, the earlier file cannot be opened by others until
// the new one takes its name.
TEST_F(OutputFileTest, TheEarlierFileIsKeptFromOthersUntilTheNewOneIsPutInPlace)
{
    OutputFile output(path);
    WriteThrough(output, "new");
    EXPECT_FALSE(OtherProgram(path, GENERIC_READ, kShareAll).Holds());
    output.PutInPlace();
    EXPECT_EQ("new", ReadFileBytes(path));
    EXPECT_EQ(std::set<std::string>{"out.fff"}, FileNames(dir.Path()));
}

// The new file is marked for deletion while it is written: when the last
// handle goes, as when the program is ended by force, so does the file.
TEST_F(OutputFileTest, TheNewFileGoesWithItsLastHandleUntilItIsPutInPlace)
{
    FileReplacement replacement;
    ASSERT_EQ(ReplacementStart::Ready, replacement.Begin(path, true));
    const std::string text = "new";
    EXPECT_EQ(3, replacement.File().WriteAt(text.data(), 3, 0));
    EXPECT_EQ(2u, FileNames(dir.Path()).size());
    replacement.File().Close();
    EXPECT_EQ(std::set<std::string>{"out.fff"}, FileNames(dir.Path()));

    ASSERT_EQ(ReplacementStart::Ready, replacement.Begin(path, true));
    EXPECT_EQ(3, replacement.File().WriteAt(text.data(), 3, 0));
    EXPECT_EQ(Placement::Done, replacement.PutInPlace(true));
    EXPECT_EQ("new", ReadFileBytes(path));
    EXPECT_EQ(0u, GetFileAttributesW(WideOfName(path).c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(std::set<std::string>{"out.fff"}, FileNames(dir.Path()));
}

TEST_F(OutputFileTest, WithoutLeaveToReplaceAFileThatAppearsDuringTheRunStays)
{
    const std::string fresh = dir.File("fresh.fff");
    OutputFile output(fresh, false);
    WriteThrough(output, "new");
    testing::WriteFileBytes(fresh, "theirs");
    EXPECT_THROW(output.PutInPlace(), EFCreateError);
    EXPECT_EQ("theirs", ReadFileBytes(fresh));
    EXPECT_EQ((std::set<std::string>{"fresh.fff", "out.fff"}), FileNames(dir.Path()));
}

// A folder that refuses the new file, though it exists: the refusal is
// the reason given, not what the test for a folder found afterwards.
TEST(OutputFileReason, FolderThatRefusesTheFileIsPermissionDenied)
{
    testing::TempDir dir;
    const std::string path = dir.File("new.fff");
    ArmFileFault(FileCall::CreateBeside, kAccessDeniedError, 0, INT_MAX);
    ArmFileFault(FileCall::Open, kAccessDeniedError, 0, INT_MAX);
    const std::string reason = ReasonOfFailure([&] {
        OutputFile output(path, false);
        WriteThrough(output, "text");
    });
    DisarmFileFaults();
    EXPECT_EQ(reason, "permission denied");
}

// Every file the layer makes of its own takes a name no file has: a taken
// name is passed over, and any other failure ends the attempts with its
// reason.
TEST(FreshFileTest, ATakenNameIsPassedOverAndARefusalEndsTheAttempts)
{
    testing::TempDir dir;
    const std::wstring taken = (dir.Path() / L"taken").wstring();
    CloseHandle(CreateFileW(taken.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    int calls = 0;
    const auto nameWith = [&](const std::wstring& tail) { return calls++ == 0 ? taken : taken + tail; };
    const FreshFile fresh = CreateFreshFile(nameWith, FileCall::Open, GENERIC_WRITE, 0, FILE_FLAG_DELETE_ON_CLOSE);
    ASSERT_NE(INVALID_HANDLE_VALUE, fresh.handle);
    EXPECT_EQ(2, calls);
    EXPECT_NE(taken, fresh.name);
    CloseHandle(fresh.handle);

    ArmFileFault(FileCall::Open, ERROR_ACCESS_DENIED);
    const FreshFile refused = CreateFreshFile(nameWith, FileCall::Open, GENERIC_WRITE, 0, FILE_FLAG_DELETE_ON_CLOSE);
    EXPECT_EQ(ERROR_ACCESS_DENIED, GetLastError());
    DisarmFileFaults();
    EXPECT_EQ(INVALID_HANDLE_VALUE, refused.handle);
    EXPECT_TRUE(refused.name.empty());
}

}  // namespace
}  // namespace pellimar
