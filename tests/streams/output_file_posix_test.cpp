// The run's output where POSIX has its own ways: an earlier file others may
// still read, symbolic links, owners, modes and extended attributes, and
// failures of the system's calls made on demand.
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>

#include "streams/exceptions.h"
#include "streams/file_faults.h"
#include "streams/file_names.h"
#include "streams/output_file_fixture.h"
#include "support/expect_throw_msg.h"
#include "support/unprivileged.h"

namespace pellimar {
namespace {

namespace fs = std::filesystem;
using testing::FileNames;
using testing::OutputFileTest;
using testing::ReadFileBytes;
using testing::WriteFileBytes;
using testing::WriteThrough;

// The new file is made without a name, or, where the file system has no
// unnamed files, under a hidden name beside the output.
enum class NewFile { Unnamed, Named };

class OutputFileFaultTest : public OutputFileTest {
protected:
    ~OutputFileFaultTest() override { DisarmFileFaults(); }

    static void Make(NewFile kind)
    {
        DisarmFileFaults();
        if (kind == NewFile::Named)
            ArmFileFault(FileCall::CreateUnnamed, EOPNOTSUPP);
    }
};

mode_t ModeOf(const std::string& path)
{
    struct stat info {};
    EXPECT_EQ(0, ::stat(path.c_str(), &info));
    return info.st_mode & 07777;
}

// Readers that take no lock still see the earlier file during the run.
TEST_F(OutputFileTest, TheNameShowsTheEarlierFileUntilTheNewOneIsPutInPlace)
{
    OutputFile output(path);
    WriteThrough(output, "new");
    EXPECT_EQ("earlier", ReadFileBytes(path));
    output.PutInPlace();
    EXPECT_EQ("new", ReadFileBytes(path));
    EXPECT_EQ(std::set<std::string>{"out.fff"}, FileNames(dir.Path()));
}

TEST_F(OutputFileTest, LinkStaysALinkToItsReplacedTarget)
{
    fs::create_directory(dir.Path() / "real");
    const std::string target = dir.File("real/book.fff");
    WriteFileBytes(target, "earlier");
    fs::create_symlink("real/book.fff", dir.File("link.fff"));
    OutputFile output(dir.File("link.fff"));
    WriteThrough(output, "new");
    output.PutInPlace();
    EXPECT_TRUE(fs::is_symlink(dir.File("link.fff")));
    EXPECT_EQ("new", ReadFileBytes(target));
    EXPECT_EQ(std::set<std::string>{"book.fff"}, FileNames(dir.Path() / "real"));
}

TEST_F(OutputFileTest, ReplacedFileKeepsItsPermissionBits)
{
    const fs::perms mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(path, mode);
    OutputFile output(path);
    WriteThrough(output, "new");
    output.PutInPlace();
    EXPECT_EQ(mode, fs::status(path).permissions());
}

TEST_F(OutputFileFaultTest, OnlyAFolderThatRefusesNewFilesMakesTheOutputBeWrittenInPlace)
{
    struct Case {
        int error;
        bool inPlace;
    };
    for (const Case& c : {Case{EACCES, true}, Case{EROFS, true}, Case{ENOSPC, false}, Case{ENAMETOOLONG, false},
                          Case{EMFILE, false}}) {
        SCOPED_TRACE(c.error);
        ArmFileFault(FileCall::CreateUnnamed, c.error);
        if (c.inPlace) {
            EXPECT_TRUE(OutputFile(path).WritesInPlace());
        } else {
            EXPECT_THROW_MSG(OutputFile{path}, EFCreateError, "Cannot create file " + path);
        }
        EXPECT_EQ("earlier", ReadFileBytes(path));
    }
}

TEST_F(OutputFileFaultTest, WritingInPlaceIsForeseenWhereItCostsTheEarlierFile)
{
    EXPECT_FALSE(ForeseeOutput(path).earlierLost);
    ArmFileFault(FileCall::CreateUnnamed, EACCES);
    EXPECT_TRUE(ForeseeOutput(path).earlierLost);
    ArmFileFault(FileCall::CreateUnnamed, EACCES);
    EXPECT_FALSE(ForeseeOutput(dir.File("new.fff")).earlierLost);
    EXPECT_FALSE(ForeseeOutput(kNullDevice).earlierLost);
    EXPECT_EQ("earlier", ReadFileBytes(path));
    EXPECT_EQ(std::set<std::string>{"out.fff"}, FileNames(dir.Path()));
}

TEST_F(OutputFileFaultTest, RemovingAnOutputWrittenInPlaceReportsWhetherItWorked)
{
    for (const bool removable : {true, false}) {
        ArmFileFault(FileCall::CreateUnnamed, EACCES);
        OutputFile output(path);
        WriteThrough(output, "partial");
        if (!removable)
            ArmFileFault(FileCall::Remove, EACCES);
        EXPECT_EQ(removable, output.Discard());
        EXPECT_EQ(!removable, fs::exists(path));
    }
}

TEST_F(OutputFileFaultTest, ALongNameTheSystemTakesIsStillReplacedByANewFile)
{
    const std::string longName = dir.File(std::string(251, 'n') + ".fff");
    for (const NewFile kind : {NewFile::Unnamed, NewFile::Named}) {
        WriteFileBytes(longName, "earlier");
        Make(kind);
        OutputFile output(longName);
        EXPECT_FALSE(output.WritesInPlace());
        WriteThrough(output, "new");
        EXPECT_EQ("earlier", ReadFileBytes(longName));
        output.PutInPlace();
        EXPECT_EQ("new", ReadFileBytes(longName));
    }
}

// Nothing stands beside the output while the run lasts, so not even a kill
// leaves anything behind.
TEST_F(OutputFileTest, AKilledRunLeavesTheFolderAsItWas)
{
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        OutputFile replacing(path);
        OutputFile fresh(dir.File("fresh.fff"));
        WriteThrough(replacing, std::string(1 << 20, 'x'));
        WriteThrough(fresh, "new");
        ::kill(::getpid(), SIGKILL);
    }
    int status = 0;
    ASSERT_EQ(child, ::waitpid(child, &status, 0));
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(std::set<std::string>{"out.fff"}, FileNames(dir.Path()));
    EXPECT_EQ("earlier", ReadFileBytes(path));
}

TEST_F(OutputFileFaultTest, WithoutLeaveToReplaceAFileThatAppearsDuringTheRunStays)
{
    const std::string fresh = dir.File("fresh.fff");
    EXPECT_THROW_MSG(OutputFile(path, false), EFCreateError, "Output file exists");
    for (const NewFile kind : {NewFile::Unnamed, NewFile::Named}) {
        Make(kind);
        OutputFile output(fresh, false);
        WriteThrough(output, "new");
        WriteFileBytes(fresh, "theirs");
        EXPECT_THROW_MSG(output.PutInPlace(), EFCreateError, "Output file exists");
        EXPECT_EQ("theirs", ReadFileBytes(fresh));
        EXPECT_EQ((std::set<std::string>{"fresh.fff", "out.fff"}), FileNames(dir.Path()));
        fs::remove(fresh);
    }
    OutputFile output(fresh, false);
    WriteThrough(output, "new");
    output.PutInPlace();
    EXPECT_EQ("new", ReadFileBytes(fresh));
}

TEST_F(OutputFileFaultTest, TheNewContentIsTheOwnersAloneUntilItIsPutInPlace)
{
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                              fs::perms::others_read);
    Make(NewFile::Named);
    OutputFile output(path);
    WriteThrough(output, "new");
    for (const std::string& name : FileNames(dir.Path())) {
        if (name != "out.fff") {
            EXPECT_EQ(0600u, ModeOf(dir.File(name))) << name;
        }
    }
    EXPECT_EQ(2u, FileNames(dir.Path()).size());
    output.PutInPlace();
    EXPECT_EQ(0644u, ModeOf(path));
}

// An access control list as the system stores it: a version, then entries
// of a tag, permissions and an id.
std::string AccessList(std::initializer_list<std::array<std::uint32_t, 3>> entries)
{
    std::string bytes;
    auto put = [&](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i)
            bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    };
    put(2, 4);
    for (const auto& [tag, permissions, id] : entries) {
        put(tag, 2);
        put(permissions, 2);
        put(id, 4);
    }
    return bytes;
}

std::string Attribute(const std::string& path, const char* name)
{
    std::string value(256, '\0');
    const ssize_t size = ::getxattr(path.c_str(), name, value.data(), value.size());
    value.resize(size < 0 ? 0 : static_cast<std::size_t>(size));
    return value;
}

TEST_F(OutputFileTest, ReplacementKeepsTheAccessControlListAndExtendedAttributesExactly)
{
    constexpr std::uint32_t kNobody = 65534, kAnyone = 0xFFFFFFFF;
    // Owner rw, user nobody r, owning group none, mask r, others none: 0640.
    const std::string list = AccessList(
        {{0x01, 6, kAnyone}, {0x02, 4, kNobody}, {0x04, 0, kAnyone}, {0x10, 4, kAnyone}, {0x20, 0, kAnyone}});
    if (::setxattr(path.c_str(), "system.posix_acl_access", list.data(), list.size(), 0) != 0 ||
        ::setxattr(path.c_str(), "user.source", "scan 4", 6, 0) != 0)
        GTEST_SKIP() << "this file system keeps no access control lists or attributes";
    OutputFile output(path);
    EXPECT_TRUE(output.NotKept().empty());
    WriteThrough(output, "new");
    output.PutInPlace();
    EXPECT_EQ("new", ReadFileBytes(path));
    EXPECT_EQ(0640u, ModeOf(path));
    EXPECT_EQ(list, Attribute(path, "system.posix_acl_access"));
    EXPECT_EQ("scan 4", Attribute(path, "user.source"));
}

TEST_F(OutputFileTest, ReplacingOnesOwnFileKeepsTheGroupOneBelongsTo)
{
    constexpr gid_t kTeam = 4242;
    if (!testing::RunningAsRoot())
        GTEST_SKIP() << "needs root to run as a member of a group that is not its first";
    fs::permissions(dir.Path(), fs::perms::all);
    fs::remove(path);
    EXPECT_TRUE(testing::RunUnprivileged(
        [&] {
            WriteFileBytes(path, "earlier");
            ASSERT_EQ(0, ::chown(path.c_str(), static_cast<uid_t>(-1), kTeam));
            OutputFile output(path);
            EXPECT_TRUE(output.NotKept().empty());
            WriteThrough(output, "new");
            output.PutInPlace();
            struct stat info {};
            ASSERT_EQ(0, ::stat(path.c_str(), &info));
            EXPECT_EQ(kTeam, info.st_gid);
        },
        {kTeam}));
}

TEST_F(OutputFileFaultTest, AFailedCallOnTheWayLeavesTheEarlierFileAndNothingElse)
{
    struct Case {
        FileCall call;
        int error;
        bool succeeds;
    };
    const std::string text(300 * 1024, 'n');
    for (const Case& c : {Case{FileCall::Write, EIO, false}, Case{FileCall::Write, ENOSPC, false},
                          Case{FileCall::Write, kShortTransfer, true}, Case{FileCall::Write, EINTR, true},
                          Case{FileCall::Sync, EIO, false}, Case{FileCall::PutInPlace, EXDEV, false}}) {
        for (const NewFile kind : {NewFile::Unnamed, NewFile::Named}) {
            SCOPED_TRACE(::testing::Message() << static_cast<int>(c.call) << " " << c.error);
            Make(kind);
            ArmFileFault(c.call, c.error);
            bool failed = false;
            try {
                OutputFile output(path);
                WriteThrough(output, text);
                output.PutInPlace();
            } catch (const EStreamError&) {
                failed = true;
            }
            EXPECT_EQ(!c.succeeds, failed);
            EXPECT_EQ(c.succeeds ? text : "earlier", ReadFileBytes(path));
            EXPECT_EQ(std::set<std::string>{"out.fff"}, FileNames(dir.Path()));
            WriteFileBytes(path, "earlier");
        }
    }
}

}  // namespace
}  // namespace pellimar
