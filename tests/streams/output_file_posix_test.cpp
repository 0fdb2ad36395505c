// The run's output where POSIX has its own ways: an earlier file others may
// still read, symbolic links, owners, modes and extended attributes, and
// failures of the system's calls made on demand.
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <filesystem>
#include <memory>

#include "streams/exceptions.h"
#include "streams/file_faults.h"
#include "streams/file_names.h"
#include "streams/output_file_fixture.h"
#include "streams/output_forecast.h"
#include "support/access_lists.h"
#include "support/expect_throw_msg.h"
#include "support/reason_of_failure.h"
#include "support/root_powers.h"
#include "support/unprivileged.h"

namespace pellimar {
namespace {

namespace fs = std::filesystem;
using testing::AccessList;
using testing::Attribute;
using testing::FileNames;
using testing::OutputFileTest;
using testing::ReadFileBytes;
using testing::ReasonOfFailure;
using testing::WriteFileBytes;
using testing::CreatedPlainly;
using testing::SetAttribute;
using testing::SharingDefaultList;
using testing::WriteThrough;
using enum testing::AccessTag;
using testing::kAccessListAttribute;
using testing::kAnyone;
using testing::kDefaultListAttribute;
using testing::kNobody;

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
    for (const Case& c : {Case{EACCES, true}, Case{EPERM, true}, Case{EROFS, true}, Case{ENOSPC, false},
                          Case{ENAMETOOLONG, false}, Case{EMFILE, false}}) {
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

// An attribute the new file can carry over is not foretold as lost; one
// only root may set is, for anyone else.
TEST_F(OutputFileFaultTest, AttributesThatCarryOverAreNotForetoldAsLost)
{
    if (::setxattr(path.c_str(), "user.pellimar", "x", 1, 0) != 0)
        GTEST_SKIP() << "no user attributes on this file system";
    EXPECT_EQ(std::vector<std::string>{}, ForecastOutput(path).notKept);
}

// Root gives the new file the earlier one's owner, whoever it is.
TEST_F(OutputFileFaultTest, AnotherUsersFileIsNotForetoldToLoseItsOwnerUnderRoot)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can give a file to another user";
    ASSERT_EQ(0, ::chown(path.c_str(), 1, static_cast<gid_t>(-1)));
    EXPECT_EQ(std::vector<std::string>{}, ForecastOutput(path).notKept);
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

// Also when the earlier file's access control list opens it to others,
// which the new file takes over.
TEST_F(OutputFileFaultTest, TheNewContentIsTheOwnersAloneUntilItIsPutInPlace)
{
    // Owner rw, user nobody r, owning group r, mask r, others r: 0644.
    const std::string list = AccessList({{kOwnerEntry, 6, kAnyone}, {kUserEntry, 4, kNobody},
                                         {kGroupEntry, 4, kAnyone}, {kMaskEntry, 4, kAnyone},
                                         {kOthersEntry, 4, kAnyone}});
    for (const bool withList : {false, true}) {
        SCOPED_TRACE(withList);
        fs::permissions(path, fs::perms(0644));
        if (withList && !SetAttribute(path, kAccessListAttribute, list))
            GTEST_SKIP() << "this file system keeps no access control lists";
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
        EXPECT_EQ(withList ? list : "", Attribute(path, kAccessListAttribute));
    }
}

// A new output is private while it is written, then has what any new file
// there has: the folder's default list where it has one (the umask plays no
// part), otherwise 0666 less the umask.
TEST_F(OutputFileFaultTest, ANewOutputGetsThePermissionsOfAnyNewFileThere)
{
    const mode_t umask = ::umask(022);
    for (const bool folderList : {false, true}) {
        for (const NewFile kind : {NewFile::Unnamed, NewFile::Named}) {
            SCOPED_TRACE(::testing::Message() << folderList << " " << static_cast<int>(kind));
            const fs::path folder = dir.Path() / ("f" + std::to_string(folderList) + std::to_string(static_cast<int>(kind)));
            fs::create_directory(folder);
            if (folderList && !SetAttribute(folder.string(), kDefaultListAttribute, SharingDefaultList()))
                GTEST_SKIP() << "this file system keeps no access control lists";
            const std::string plain = CreatedPlainly((folder / "plain.fff").string());
            Make(kind);
            OutputFile output((folder / "new.fff").string());
            WriteThrough(output, "new");
            for (const std::string& name : FileNames(folder)) {
                if (name != "plain.fff") {
                    EXPECT_EQ(0600u, ModeOf((folder / name).string())) << name;
                }
            }
            output.PutInPlace();
            EXPECT_EQ(ModeOf(plain), ModeOf((folder / "new.fff").string()));
            EXPECT_EQ(Attribute(plain, kAccessListAttribute), Attribute((folder / "new.fff").string(), kAccessListAttribute));
        }
    }
    ::umask(umask);
}

// A list the folder hands down is not the replaced file's.
TEST_F(OutputFileFaultTest, AReplacedFileWithoutAListGetsNoneFromItsFolder)
{
    if (!SetAttribute(dir.Path().string(), kDefaultListAttribute, SharingDefaultList()))
        GTEST_SKIP() << "this file system keeps no access control lists";
    fs::permissions(path, fs::perms(0644));
    for (const NewFile kind : {NewFile::Unnamed, NewFile::Named}) {
        Make(kind);
        OutputFile output(path);
        WriteThrough(output, "new");
        output.PutInPlace();
        EXPECT_EQ("", Attribute(path, kAccessListAttribute));
        EXPECT_EQ(0644u, ModeOf(path));
    }
}

TEST_F(OutputFileTest, ReplacementKeepsTheAccessControlListAndExtendedAttributesExactly)
{
    // Owner rw, user nobody r, owning group none, mask r, others none: 0640.
    const std::string list = AccessList({{kOwnerEntry, 6, kAnyone}, {kUserEntry, 4, kNobody},
                                         {kGroupEntry, 0, kAnyone}, {kMaskEntry, 4, kAnyone},
                                         {kOthersEntry, 0, kAnyone}});
    if (!SetAttribute(path, kAccessListAttribute, list) || !SetAttribute(path, "user.source", "scan 4"))
        GTEST_SKIP() << "this file system keeps no access control lists or attributes";
    OutputFile output(path);
    EXPECT_TRUE(output.NotKept().empty());
    WriteThrough(output, "new");
    output.PutInPlace();
    EXPECT_EQ("new", ReadFileBytes(path));
    EXPECT_EQ(0640u, ModeOf(path));
    EXPECT_EQ(list, Attribute(path, kAccessListAttribute));
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
                          Case{FileCall::Sync, EIO, false}, Case{FileCall::Sync, EINTR, true},
                          Case{FileCall::PutInPlace, EXDEV, false}}) {
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


// The capabilities of a program file (cap_net_raw=ep), which the system
// takes away on every write to the file.
std::string Capabilities()
{
    std::string bytes(20, '\0');
    bytes[0] = 1;     // effective
    bytes[3] = 2;     // revision 2
    bytes[5] = 0x20;  // permitted: bit 13
    return bytes;
}

TEST_F(OutputFileTest, ReplacementKeepsTheCapabilitiesOfAProgramFile)
{
    if (!SetAttribute(path, "security.capability", Capabilities()))
        GTEST_SKIP() << "only root can give a file capabilities";
    OutputFile output(path);
    EXPECT_TRUE(output.NotKept().empty());
    WriteThrough(output, "new");
    output.PutInPlace();
    EXPECT_EQ(Capabilities(), Attribute(path, "security.capability"));
}

// Neither an append-only nor an immutable folder lets a name in it be
// replaced: the output is written in place, and nothing is left beside it.
// A new name can still be given there to an unnamed file.
TEST_F(OutputFileFaultTest, AFolderThatKeepsItsNamesGetsItsFileWrittenInPlace)
{
    struct Case {
        int flag;
        const char* why;
    };
    for (const Case& c : {Case{FS_APPEND_FL, "its folder is append-only"}, Case{FS_IMMUTABLE_FL, "its folder is immutable"}}) {
        for (const NewFile kind : {NewFile::Unnamed, NewFile::Named}) {
            SCOPED_TRACE(::testing::Message() << c.why << " " << static_cast<int>(kind));
            testing::FolderFlag kept(dir.Path().string(), c.flag);
            if (!kept.Active())
                GTEST_SKIP() << "only root can mark a folder append-only or immutable";
            Make(kind);
            OutputFile output(path);
            EXPECT_TRUE(output.WritesInPlace());
            EXPECT_EQ(c.why, output.WhyInPlace());
            WriteThrough(output, "new");
            output.PutInPlace();
            EXPECT_EQ("new", ReadFileBytes(path));
            EXPECT_EQ(std::set<std::string>{"out.fff"}, FileNames(dir.Path()));
        }
    }
    for (const NewFile kind : {NewFile::Unnamed, NewFile::Named}) {
        testing::FolderFlag kept(dir.Path().string(), FS_APPEND_FL);
        Make(kind);
        const std::string fresh = dir.File("fresh" + std::to_string(static_cast<int>(kind)) + ".fff");
        OutputFile output(fresh);
        EXPECT_EQ(kind == NewFile::Named, output.WritesInPlace());
        WriteThrough(output, "new");
        output.PutInPlace();
        EXPECT_EQ("new", ReadFileBytes(fresh));
    }
    EXPECT_EQ((std::set<std::string>{"fresh0.fff", "fresh1.fff", "out.fff"}), FileNames(dir.Path()));
}

std::string bookFolder;

TEST_F(OutputFileFaultTest, AFolderThatGoesAwayDuringTheRunIsNamedAsTheReason)
{
    bookFolder = dir.File("book");
    fs::create_directory(bookFolder);
    OutputFile output(bookFolder + "/out.fff");
    WriteThrough(output, "new");
    ArmFileEvent(FileCall::PutInPlace, [] { fs::rename(bookFolder, bookFolder + ".moved"); });
    EXPECT_EQ("no such folder", ReasonOfFailure([&] { output.PutInPlace(); }));
    EXPECT_TRUE(FileNames(bookFolder + ".moved").empty());
}

std::unique_ptr<testing::FolderFlag> appendOnly;
std::string appendOnlyFolder;

TEST_F(OutputFileFaultTest, AFolderMadeAppendOnlyDuringTheRunLeavesNothingBehind)
{
    if (!testing::FolderFlag(dir.Path().string(), FS_APPEND_FL).Active())
        GTEST_SKIP() << "only root can mark a folder append-only";
    appendOnlyFolder = dir.Path().string();
    ArmFileEvent(FileCall::PutInPlace, [] { appendOnly = std::make_unique<testing::FolderFlag>(appendOnlyFolder, FS_APPEND_FL); });
    OutputFile output(path);
    WriteThrough(output, "new");
    EXPECT_EQ("its folder is append-only", ReasonOfFailure([&] { output.PutInPlace(); }));
    ASSERT_TRUE(appendOnly && appendOnly->Active());
    EXPECT_EQ("earlier", ReadFileBytes(path));
    EXPECT_EQ(std::set<std::string>{"out.fff"}, FileNames(dir.Path()));
    appendOnly.reset();
}

TEST_F(OutputFileFaultTest, AnOutputThatIsAMountPointIsWrittenInPlace)
{
    const std::string source = dir.File("source.fff");
    WriteFileBytes(source, "bound");
    for (const NewFile kind : {NewFile::Unnamed, NewFile::Named}) {
        const testing::BindMount bound(source, path);
        if (!bound.Active())
            GTEST_SKIP() << "only root can bind a file over another";
        Make(kind);
        OutputFile output(path);
        EXPECT_TRUE(output.WritesInPlace());
        EXPECT_EQ("it is a mount point", output.WhyInPlace());
        WriteThrough(output, "new" + std::to_string(static_cast<int>(kind)));
        output.PutInPlace();
        EXPECT_EQ("new" + std::to_string(static_cast<int>(kind)), ReadFileBytes(source));
    }
}

// In a sticky folder only a file's owner (or the folder's) may replace it.
TEST_F(OutputFileTest, AnotherUsersFileInAStickyFolderIsWrittenInPlace)
{
    constexpr uid_t kOwner = 4242;
    if (!testing::RunningAsRoot())
        GTEST_SKIP() << "needs root to give the file to another user";
    fs::permissions(dir.Path(), fs::perms::all | fs::perms::sticky_bit);
    ASSERT_EQ(0, ::chown(path.c_str(), kOwner, kOwner));
    fs::permissions(path, fs::perms(0666));
    EXPECT_TRUE(testing::RunUnprivileged([&] {
        OutputFile output(path);
        EXPECT_TRUE(output.WritesInPlace());
        EXPECT_EQ("its folder lets only the file's owner replace it", output.WhyInPlace());
        WriteThrough(output, "new");
        output.PutInPlace();
        EXPECT_EQ("new", ReadFileBytes(path));
    }));
    EXPECT_EQ(std::set<std::string>{"out.fff"}, FileNames(dir.Path()));
}

// The folder's own limit, and the system's for a whole path (PATH_MAX bytes
// with the terminating zero): refused before anything is written, not after
// the run. A path just within the limit is written.
TEST_F(OutputFileTest, ANameLongerThanTheSystemTakesIsRefusedAtOnce)
{
    constexpr std::size_t kLongestPath = PATH_MAX - 1;
    fs::path deep = dir.Path();
    while (deep.string().size() + 201 < 3950)
        deep /= std::string(200, 'd');
    deep /= std::string(3950 - deep.string().size() - 1, 'd');
    fs::create_directories(deep);
    const std::string longest = (deep / std::string(kLongestPath - 3950 - 1, 'n')).string();
    ASSERT_EQ(kLongestPath, longest.size());
    for (const std::string& name : {dir.File(std::string(256, 'n')), longest + "n"}) {
        EXPECT_EQ("file name too long", ReasonOfFailure([&] { OutputFile output(name); }));
    }
    EXPECT_EQ((std::set<std::string>{"out.fff", std::string(200, 'd')}), FileNames(dir.Path()));
    OutputFile output(longest);
    WriteThrough(output, "new");
    output.PutInPlace();
    EXPECT_EQ("new", ReadFileBytes(longest));
}

// A link another user planted in a folder open to all is not followed, as
// the system would not follow it; one's own link there, or the folder
// owner's, is.
TEST_F(OutputFileTest, AnotherUsersLinkInAFolderOpenToAllIsNotFollowed)
{
    if (!testing::RunningAsRoot())
        GTEST_SKIP() << "needs root to give a link to another user";
    const fs::path shared = dir.Path() / "shared";
    fs::create_directory(shared);
    fs::permissions(shared, fs::perms::all | fs::perms::sticky_bit);
    const std::string link = (shared / "out.fff").string();
    fs::create_symlink(path, link);
    ASSERT_EQ(0, ::lchown(link.c_str(), testing::kUnprivilegedId, testing::kUnprivilegedId));
    EXPECT_EQ("it is a symbolic link that another user made in a folder open to all, which is not followed",
              ReasonOfFailure([&] { OutputFile output(link); }));
    EXPECT_EQ("earlier", ReadFileBytes(path));
    // Only a folder both open to all and sticky is shared so.
    for (const fs::perms mode : {fs::perms::all, fs::perms::owner_all | fs::perms::sticky_bit}) {
        fs::permissions(shared, mode);
        OutputFile output(link);
        WriteThrough(output, "followed");
        output.PutInPlace();
        EXPECT_EQ("followed", ReadFileBytes(path));
    }
    fs::permissions(shared, fs::perms::all | fs::perms::sticky_bit);
    ASSERT_EQ(0, ::lchown(link.c_str(), 0, 0));
    OutputFile output(link);
    WriteThrough(output, "new");
    output.PutInPlace();
    EXPECT_EQ("new", ReadFileBytes(path));
    EXPECT_TRUE(fs::is_symlink(link));
}

// What a run would find, foreseen as a user without privileges would meet
// it, is what the output then finds when it is made; and foreseeing it
// leaves the folder as it was, its time included.
TEST_F(OutputFileTest, ForecastFindsWhatTheOutputWouldAndMakesNothing)
{
    if (!testing::RunningAsRoot())
        GTEST_SKIP() << "needs root to give files and folders to another user";
    constexpr uid_t kOther = 4242;
    fs::permissions(dir.Path(), fs::perms::all);
    const fs::path closed = dir.Path() / "closed";  // root's, open to read only
    const fs::path sticky = dir.Path() / "sticky";
    fs::create_directories(closed);
    fs::create_directories(sticky);
    fs::permissions(sticky, fs::perms::all | fs::perms::sticky_bit);
    WriteFileBytes((closed / "open.fff").string(), "x");
    fs::permissions(closed / "open.fff", fs::perms(0666));
    WriteFileBytes((sticky / "theirs.fff").string(), "x");
    fs::permissions(sticky / "theirs.fff", fs::perms(0666));
    ASSERT_EQ(0, ::chown((sticky / "theirs.fff").c_str(), kOther, kOther));
    fs::permissions(path, fs::perms(0644));  // root's, not to be written by others
    const struct {
        fs::path output;
        std::string refusal;
        std::string whyInPlace;
    } rows[] = {
        {dir.Path() / "new.fff", "", ""},
        {path, "permission denied", ""},
        {closed / "new.fff", "permission denied", "its folder takes no new file"},
        {closed / "open.fff", "", "its folder takes no new file"},
        {sticky / "theirs.fff", "", "its folder lets only the file's owner replace it"},
        {dir.Path() / "gone" / "new.fff", "no such folder", ""},
        {closed, "it is a folder", ""},
    };
    EXPECT_TRUE(testing::RunUnprivileged([&] {
        for (const auto& row : rows) {
            SCOPED_TRACE(row.output.string());
            const fs::path folder = fs::is_directory(row.output.parent_path()) ? row.output.parent_path() : dir.Path();
            const std::set<std::string> names = FileNames(folder);
            const fs::file_time_type time = fs::last_write_time(folder);
            const OutputForecast forecast = ForecastOutput(row.output.string());
            EXPECT_EQ(row.refusal, forecast.refusal);
            EXPECT_EQ(row.whyInPlace, forecast.whyInPlace);
            EXPECT_EQ(names, FileNames(folder));
            EXPECT_EQ(time, fs::last_write_time(folder));
            // The output made, then thrown away, finds the same.
            std::string refusal;
            try {
                OutputFile made(row.output.string());
                EXPECT_EQ(row.whyInPlace, made.WhyInPlace());
                if (made.WritesInPlace() && !made.ReplacesFile())
                    refusal = ReasonOfFailure([&] { made.CreateStream(); });
            } catch (const Exception& error) {
                refusal = error.Reason();
            }
            EXPECT_EQ(row.refusal, refusal);
        }
    }));
}

// Another program's lock shows to the forecast as to the output.
TEST_F(OutputFileTest, ForecastSeesAnotherProgramsLock)
{
    const int held = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(0, ::flock(held, LOCK_EX));
    EXPECT_EQ("another program has it locked", ForecastOutput(path).refusal);
    EXPECT_EQ("another program has it locked", ReasonOfFailure([&] { OutputFile made(path); }));
    ::close(held);
    EXPECT_EQ("", ForecastOutput(path).refusal);
    EXPECT_TRUE(ForecastOutput(path).replacesFile);
}

// A file another run reads is refused before it is opened for writing: the
// opening alone would break that run's lease and fail it.
TEST_F(OutputFileTest, FileAnotherRunReadsIsRefusedWithoutOpeningItToWrite)
{
    const int reader = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    ASSERT_EQ(0, ::flock(reader, LOCK_SH));
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(::inotify_add_watch(watch, path.c_str(), IN_CLOSE_WRITE), 0);
    EXPECT_EQ("another program has it locked", ReasonOfFailure([&] { OutputFile made(path); }));
    alignas(inotify_event) char events[sizeof(inotify_event) + NAME_MAX + 1];
    EXPECT_EQ(-1, ::read(watch, events, sizeof events)) << "the file was opened for writing";
    ::close(watch);
    ::close(reader);
}

}  // namespace
}  // namespace pellimar
