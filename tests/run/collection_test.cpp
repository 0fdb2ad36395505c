// A collection run: the outputs' names, the checks before it, the files in
// order with one progress and one page question, a failing file, a cancel.
#include "run/collection.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <set>

#include <sys/file.h>
#include <fcntl.h>
#include <unistd.h>

#include "engine/run_frame.h"
#include "run/plan_checks.h"
#include "streams/array_allocation_failure.h"
#include "streams/file_faults.h"
#include "support/root_powers.h"
#include "support/temp_dir.h"

namespace pellimar {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

// With several jobs the page question comes from a job's thread while the
// calling thread tells of files and progress, as the command line's and the
// window's hosts allow: what is logged is kept under a lock.
class LoggingHost : public CollectionHost {
public:
    void EnterRunning() override { Log("enter"); }
    void FileStarted(std::size_t index) override { Log("file " + std::to_string(index)); }
    void ProgressChanged(std::int32_t percent, std::int64_t) override
    {
        const std::lock_guard lock(lock_);
        percents.push_back(percent);
        if (cancelAt && percent >= *cancelAt)
            cancel = true;
    }
    void LeaveRunning() override { Log("leave"); }
    std::optional<std::string> AskStartingPage(const PagePrompt&) override
    {
        const std::lock_guard lock(lock_);
        log.push_back("page question");
        return answers.empty() ? std::nullopt : std::optional(answers[log.size() % answers.size()]);
    }
    bool SwitchOn(RunSwitch) const override { return false; }
    bool CancelRequested() const override { return cancel; }

    std::vector<std::string> log;
    std::vector<std::int32_t> percents;
    std::vector<std::string> answers;
    std::optional<std::int32_t> cancelAt;
    std::atomic<bool> cancel = false;

private:
    void Log(std::string entry)
    {
        const std::lock_guard lock(lock_);
        log.push_back(std::move(entry));
    }

    std::mutex lock_;
};

// The checks of a collection's plan, outputs standing already left aside.
std::vector<PlanProblem> Checked(std::vector<CollectionFile> files, const std::string& folder,
                                 const RunSettings& settings)
{
    RunPlan plan;
    plan.settings = settings;
    plan.files = std::move(files);
    plan.folder = folder;
    plan.replaceExisting = true;
    return CheckPlan(plan);
}

struct Collection {
    Collection()
    {
        std::filesystem::create_directory(dir.Path() / "books");
        std::filesystem::create_directory(dir.Path() / "out");
        settings.refPattern = "1 #";
        settings.pagePattern = "[#]";
        settings.levelTexts[0] = "Book";
    }
    std::string Input(const std::string& name, const std::string& text)
    {
        const std::string path = (dir.Path() / "books" / name).string();
        WriteFileBytes(path, text);
        inputs.push_back(path);
        return path;
    }
    std::string Folder() const { return (dir.Path() / "out").string(); }
    std::string Out(const std::string& name) const { return (dir.Path() / "out" / name).string(); }
    // An input in a folder of its own, beside the books.
    std::string Other(const std::string& name, const std::string& text)
    {
        std::filesystem::create_directories(dir.Path() / "other");
        const std::string path = (dir.Path() / "other" / name).string();
        WriteFileBytes(path, text);
        inputs.push_back(path);
        return path;
    }
    // Each problem as "message: reason".
    std::vector<std::string> Problems() const
    {
        std::vector<std::string> told;
        for (const PlanProblem& problem : Checked(PlanCollection(inputs, Folder()), Folder(), settings))
            told.push_back(problem.message + ": " + problem.reason);
        return told;
    }

    TempDir dir;
    RunSettings settings;
    std::vector<std::string> inputs;
};

TEST(Collection, EachInputGoesToItsNameInTheFolderInTurnWithOneProgress)
{
    Collection c;
    for (const char* name : {"a.fff", "b.fff", "c.fff"})
        c.Input(name, "<RD:Book>" + std::string(name) + "\r\n<RD>" + std::string(300, 'x'));
    const std::vector<CollectionFile> files = PlanCollection(c.inputs, c.Folder());
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[1].output, (c.dir.Path() / "out" / "b.fff").string());
    LoggingHost host;
    host.answers = {"7"};
    const std::vector<FileOutcome> outcomes = RunCollection(files, c.settings, host);
    EXPECT_EQ(host.log, (std::vector<std::string>{"enter", "file 0", "page question", "file 1", "file 2", "leave"}));
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(outcomes[i].state, FileOutcome::State::Converted);
        EXPECT_NE(ReadFileBytes(files[i].output).find("<CS:Reference>" + std::string("abc").substr(i, 1) + ".fff 7<CR>"),
                  std::string::npos);
    }
    EXPECT_TRUE(std::is_sorted(host.percents.begin(), host.percents.end()));
    EXPECT_EQ(host.percents.back(), 100);
    EXPECT_LT(host.percents.size(), 110u);  // the whole, not each file's 0 to 100
}

TEST(Collection, PageAnswerThatSetsNoPageIsAskedAgain)
{
    Collection c;
    c.Input("a.fff", "<RD:Book>A\r\n<RD>x\r\n");
    c.Input("b.fff", "<RD:Book>B\r\n<RD>x\r\n");
    LoggingHost host;
    host.answers = {"-1"};
    RunCollection(PlanCollection(c.inputs, c.Folder()), c.settings, host);
    EXPECT_EQ(std::count(host.log.begin(), host.log.end(), "page question"), 2);
}

TEST(Collection, FailingFileIsToldAndTheNextGoesOn)
{
    Collection c;
    c.Input("a.fff", "<RD:Book>A\r\n<RD>x\r\n");
    c.inputs.push_back((c.dir.Path() / "books" / "gone.fff").string());
    c.Input("c.fff", "<RD:Book>C\r\n<RD>x\r\n");
    LoggingHost host;
    const std::vector<FileOutcome> outcomes = RunCollection(PlanCollection(c.inputs, c.Folder()), c.settings, host);
    EXPECT_EQ(outcomes[0].state, FileOutcome::State::Converted);
    EXPECT_EQ(outcomes[1].state, FileOutcome::State::Failed);
    EXPECT_EQ(outcomes[1].errorContext.file, c.inputs[1]);
    EXPECT_EQ(outcomes[2].state, FileOutcome::State::Converted);
}

TEST(Collection, CancelStopsTheFileUnderWayAndLeavesTheRest)
{
    Collection c;
    for (const char* name : {"a.fff", "b.fff", "c.fff"})
        c.Input(name, std::string(10000, 'x'));
    const std::vector<CollectionFile> files = PlanCollection(c.inputs, c.Folder());
    WriteFileBytes(files[1].output, "earlier");
    LoggingHost host;
    host.cancelAt = 50;
    const std::vector<FileOutcome> outcomes = RunCollection(files, c.settings, host);
    EXPECT_EQ(outcomes[0].state, FileOutcome::State::Converted);
    ASSERT_EQ(outcomes[1].state, FileOutcome::State::Cancelled);
    EXPECT_EQ(ReadFileBytes(files[1].output), "earlier");  // until the caller decides
    EXPECT_EQ(outcomes[2].state, FileOutcome::State::NotRun);
    EXPECT_FALSE(std::filesystem::exists(files[2].output));
    EXPECT_EQ(host.log.back(), "leave");
}

// Several jobs: the outcomes, outputs and order of one, a cancel stopping
// them all. The cancel arrives at an exact write through the file layer's
// seam, from the job's own thread.
std::atomic<bool> cancelArrived{false};

class SignalledHost : public LoggingHost {
public:
    SignalledHost() { cancelArrived = false; }
    ~SignalledHost() override { DisarmFileFaults(); }
    bool CancelRequested() const override { return cancelArrived; }
};

TEST(CollectionJobs, SeveralJobsGiveTheOutcomesAndOutputsOfOne)
{
    Collection c;
    for (int i = 0; i < 6; ++i) {
        const std::string name = "f" + std::to_string(i) + ".fff";
        c.Input(name, "<RD:Book>B" + std::to_string(i) + "\r\n<RD>" + std::string(1000 * i, 'x'));
    }
    // The fourth is a pipe, which a run refuses: it fails during its run.
    std::filesystem::remove(c.inputs[3]);
    ASSERT_EQ(mkfifo(c.inputs[3].c_str(), 0600), 0);
    std::filesystem::create_directory(c.dir.Path() / "one");
    const std::vector<CollectionFile> byOne = PlanCollection(c.inputs, (c.dir.Path() / "one").string());
    const std::vector<CollectionFile> byThree = PlanCollection(c.inputs, c.Folder());
    LoggingHost oneHost;
    LoggingHost threeHost;
    oneHost.answers = threeHost.answers = {"7"};
    const std::vector<FileOutcome> one = RunCollection(byOne, c.settings, oneHost, 1);
    const std::vector<FileOutcome> three = RunCollection(byThree, c.settings, threeHost, 3);
    ASSERT_EQ(three.size(), one.size());
    for (std::size_t i = 0; i < one.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(three[i].state, i == 3 ? FileOutcome::State::Failed : FileOutcome::State::Converted);
        EXPECT_EQ(three[i].state, one[i].state);
        EXPECT_EQ(three[i].result.refCount, one[i].result.refCount);
        EXPECT_EQ(three[i].error, one[i].error);
        if (i != 3) {
            EXPECT_EQ(ReadFileBytes(byThree[i].output), ReadFileBytes(byOne[i].output));
        }
    }
    EXPECT_EQ(threeHost.log.front(), "enter");
    EXPECT_EQ(threeHost.log.back(), "leave");
    std::vector<std::string> started;
    for (const std::string& entry : threeHost.log) {
        if (entry.starts_with("file "))
            started.push_back(entry);
    }
    EXPECT_EQ(started, (std::vector<std::string>{"file 0", "file 1", "file 2", "file 3", "file 4", "file 5"}));
    EXPECT_TRUE(std::is_sorted(threeHost.percents.begin(), threeHost.percents.end()));
    EXPECT_EQ(threeHost.percents.back(), 100);
}

TEST(CollectionJobs, CancelDuringAFileStopsItAndStartsNoOther)
{
    for (const std::size_t jobs : {std::size_t{1}, std::size_t{2}}) {
        SCOPED_TRACE(jobs);
        Collection c;
        for (const char* name : {"a.fff", "b.fff", "c.fff", "d.fff"})
            c.Input(name, "<RD:Book>" + std::string(name) + "\r\n<RD>x\r\n");
        const std::vector<CollectionFile> files = PlanCollection(c.inputs, c.Folder());
        for (const CollectionFile& file : files)
            WriteFileBytes(file.output, "earlier");
        SignalledHost host;
        // Each file is written at once at its end. One job: during the
        // second file's write; two: during the first write of all, when
        // neither job has finished a file, and one may not have begun.
        ArmFileEvent(FileCall::Write, [] { cancelArrived = true; }, jobs == 1 ? 1 : 0);
        std::vector<FileOutcome> outcomes = RunCollection(files, c.settings, host, jobs);
        const bool converted = jobs == 1;
        std::vector<FileOutcome::State> states;
        for (const FileOutcome& outcome : outcomes)
            states.push_back(outcome.state);
        using State = FileOutcome::State;
        if (converted)
            EXPECT_EQ(states, (std::vector{State::Converted, State::Cancelled, State::NotRun, State::NotRun}));
        else
            EXPECT_TRUE(states == (std::vector{State::Cancelled, State::Cancelled, State::NotRun, State::NotRun}) ||
                        states == (std::vector{State::Cancelled, State::NotRun, State::NotRun, State::NotRun}) ||
                        states == (std::vector{State::NotRun, State::Cancelled, State::NotRun, State::NotRun}));
        outcomes.clear();  // what the cancelled files wrote, thrown away
        EXPECT_EQ(ReadFileBytes(files[0].output) == "earlier", !converted);
        for (std::size_t i = 1; i < files.size(); ++i)
            EXPECT_EQ(ReadFileBytes(files[i].output), "earlier");
        EXPECT_EQ(testing::FileNames(c.Folder()), (std::set<std::string>{"a.fff", "b.fff", "c.fff", "d.fff"}));
        EXPECT_EQ(host.log.back(), "leave");
    }
}

TEST(CollectionJobs, RunningOutOfMemoryIsEachFilesFailure)
{
    for (const std::size_t jobs : {std::size_t{1}, std::size_t{2}}) {
        SCOPED_TRACE(jobs);
        Collection c;
        c.Input("a.fff", "<RD>x\r\n");
        c.Input("b.fff", "<RD>y\r\n");
        c.settings.blockSize = 12347;  // a size nothing else asks for
        LoggingHost host;
        std::vector<FileOutcome> outcomes;
        {
            const testing::ArrayAllocationFailure noBlocks(c.settings.blockSize);
            outcomes = RunCollection(PlanCollection(c.inputs, c.Folder()), c.settings, host, jobs);
        }
        for (const FileOutcome& outcome : outcomes) {
            EXPECT_EQ(outcome.state, FileOutcome::State::Failed);
            EXPECT_EQ(outcome.error, "Out of memory");
        }
        EXPECT_EQ(outcomes[1].errorContext.file, c.inputs[1]);
        EXPECT_TRUE(testing::FileNames(c.Folder()).empty());
    }
}

TEST(CollectionChecks, EveryReasonIsListedBeforeAnythingIsWritten)
{
    Collection c;
    const std::string a = c.Input("a.fff", "x");
    std::filesystem::create_directory(c.dir.Path() / "other");
    WriteFileBytes((c.dir.Path() / "other" / "a.fff").string(), "x");
    c.inputs.push_back((c.dir.Path() / "other" / "a.fff").string());
    c.inputs.push_back((c.dir.Path() / "books" / "gone.fff").string());
    std::vector<CollectionFile> files = PlanCollection(c.inputs, c.Folder());
    std::vector<std::string> reasons;
    for (const PlanProblem& problem : Checked(files, c.Folder(), c.settings))
        reasons.push_back(problem.file + ": " + problem.reason);
    EXPECT_EQ(reasons, (std::vector<std::string>{c.inputs[2] + ": no such file",
                                                 files[1].output + ": the output of " + a + " too"}));

    const std::string books = (c.dir.Path() / "books").string();
    EXPECT_EQ(Checked(PlanCollection({a}, books), books, c.settings)[0].reason, kOutputIsInput);
    // A folder that cannot be made is one problem, not one for each output
    // as well; one whose folder is there is no problem: it will be made.
    const std::string deeper = c.dir.File("missing/deeper");
    const std::vector<PlanProblem> missing = Checked(PlanCollection({a}, deeper), deeper, c.settings);
    ASSERT_EQ(missing.size(), 1u);
    EXPECT_EQ(missing[0].file, deeper);
    EXPECT_TRUE(Checked(PlanCollection({a}, c.dir.File("missing")), c.dir.File("missing"), c.settings).empty());
}

TEST(CollectionChecks, ExistingOutputsAreNamed)
{
    Collection c;
    c.Input("a.fff", "x");
    c.Input("b.fff", "x");
    c.inputs.push_back(c.inputs[1]);  // named twice, yet one file
    const std::vector<CollectionFile> files = PlanCollection(c.inputs, c.Folder());
    WriteFileBytes(files[1].output, "earlier");
    EXPECT_EQ(ExistingOutputs(files), (std::vector<std::string>{files[1].output}));
}

namespace fs = std::filesystem;

std::string CannotCreate(const std::string& output, const std::string& reason)
{
    return "Cannot create file " + output + ": " + reason;
}

// Each row leads an output to an input, or two outputs to one file, through
// the file system and not the names: each is refused with its reason
// before anything is written.
TEST(CollectionChecks, OutputsAreHeldToTheInputsAsFiles)
{
    struct Row {
        const char* arrangement;
        std::function<std::string(Collection&, const std::string& x, const std::string& z)> arrange;  // what is told
    };
    const Row rows[] = {
        {"a symbolic link to another input",
         [](Collection& c, const std::string&, const std::string& z) {
             fs::create_symlink(z, c.Out("x.fff"));
             return CannotCreate(c.Out("x.fff"), "it is " + z + ", an input of this run");
         }},
        {"a symbolic link to its own input",
         [](Collection& c, const std::string&, const std::string&) {
             fs::create_symlink("../other/z.fff", c.Out("z.fff"));
             return CannotCreate(c.Out("z.fff"), kOutputIsInput);
         }},
        {"a hard link to another input",
         [](Collection& c, const std::string&, const std::string& z) {
             fs::create_hard_link(z, c.Out("x.fff"));
             return CannotCreate(c.Out("x.fff"), "it is " + z + ", an input of this run");
         }},
        {"two outputs that lead to one file yet to be made",
         [](Collection& c, const std::string& x, const std::string&) {
             fs::create_symlink("z.fff", c.Out("x.fff"));
             return CannotCreate(c.Out("z.fff"), "the output of " + x + " too");
         }},
        {"an input that leads to another input's output",
         [](Collection& c, const std::string&, const std::string&) {
             WriteFileBytes(c.Out("x.fff"), "earlier");
             fs::create_symlink(c.Out("x.fff"), c.dir.Path() / "w.fff");
             c.inputs.push_back((c.dir.Path() / "w.fff").string());
             return CannotCreate(c.Out("x.fff"), "it is " + c.inputs.back() + ", an input of this run");
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arrangement);
        Collection c;
        const std::string x = c.Input("x.fff", "<RD>x\r\n");
        const std::string z = c.Other("z.fff", "<RD>z\r\n");
        const std::string told = row.arrange(c, x, z);
        EXPECT_EQ(c.Problems(), std::vector<std::string>{told});
        EXPECT_EQ("<RD>z\r\n", ReadFileBytes(z));
    }
}

TEST(CollectionChecks, OutputBoundOverAnInputIsThatInput)
{
    Collection c;
    c.Input("x.fff", "<RD>x\r\n");
    const std::string z = c.Other("z.fff", "<RD>z\r\n");
    WriteFileBytes(c.Out("x.fff"), "");
    const testing::BindMount bound(z, c.Out("x.fff"));
    if (!bound.Active())
        GTEST_SKIP() << "only root can bind a file over another";
    EXPECT_EQ(c.Problems(), std::vector<std::string>{CannotCreate(c.Out("x.fff"), "it is " + z + ", an input of this run")});
}

// Another program's lock on a file, held while the object lives.
class OtherProgramsLock {
public:
    explicit OtherProgramsLock(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC))
    {
        ::flock(fd_, LOCK_EX);
    }
    ~OtherProgramsLock() { ::close(fd_); }

private:
    int fd_;
};

// What a file's run would refuse only at its turn, after the files before
// it were written, is found before the first is written.
TEST(CollectionChecks, EveryCheckOfAFilesRunIsMadeForEveryFileFirst)
{
    struct Row {
        const char* arrangement;
        // What is told; `lock`, another program's, lasts for the row.
        std::function<std::string(Collection&, const std::string& z, std::unique_ptr<OtherProgramsLock>& lock)>
            arrange;
    };
    const Row rows[] = {
        {"a pipe among the inputs",
         [](Collection&, const std::string& z, std::unique_ptr<OtherProgramsLock>&) {
             fs::remove(z);
             EXPECT_EQ(0, ::mkfifo(z.c_str(), 0600));
             return "Cannot open file " + z + ": it is not a regular file";
         }},
        {"an input another program keeps from readers",
         [](Collection&, const std::string& z, std::unique_ptr<OtherProgramsLock>& lock) {
             lock = std::make_unique<OtherProgramsLock>(z);
             return "Cannot open file " + z + ": another program has it locked";
         }},
        {"an output another program has locked",
         [](Collection& c, const std::string&, std::unique_ptr<OtherProgramsLock>& lock) {
             WriteFileBytes(c.Out("z.fff"), "earlier");
             lock = std::make_unique<OtherProgramsLock>(c.Out("z.fff"));
             return CannotCreate(c.Out("z.fff"), "another program has it locked");
         }},
        {"an output whose links go round in a circle",
         [](Collection& c, const std::string&, std::unique_ptr<OtherProgramsLock>&) {
             fs::create_symlink("z.fff", c.Out("z.fff"));
             return CannotCreate(c.Out("z.fff"), "its links go round in a circle");
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arrangement);
        Collection c;
        c.Input("x.fff", "<RD>x\r\n");
        const std::string z = c.Other("z.fff", "<RD>z\r\n");
        std::unique_ptr<OtherProgramsLock> lock;
        const std::string told = row.arrange(c, z, lock);
        EXPECT_EQ(c.Problems(), std::vector<std::string>{told});
    }
}

// Each name of one input is an input of its own, whatever the number of
// jobs: converted, each into its own output, the bytes of each the same;
// and again over those outputs, which are none of the inputs.
TEST(CollectionJobs, NamesOfOneInputAreEachConverted)
{
    for (const std::size_t jobs : {std::size_t{1}, std::size_t{3}}) {
        SCOPED_TRACE(jobs);
        Collection c;
        const std::string one = c.Other("one.fff", "<RD:Book>B\r\n<RD>" + std::string(600'000, 'x') + "\r\n");
        c.inputs.clear();
        for (const char* name : {"a.fff", "b.fff", "c.fff"}) {
            fs::create_symlink(one, c.dir.Path() / "books" / name);
            c.inputs.push_back((c.dir.Path() / "books" / name).string());
        }
        for (int round = 0; round < 2; ++round) {
            LoggingHost host;
            for (const FileOutcome& outcome :
                 RunCollection(PlanCollection(c.inputs, c.Folder()), c.settings, host, jobs))
                EXPECT_EQ(outcome.state, FileOutcome::State::Converted) << round << ": " << outcome.error;
        }
        EXPECT_EQ(ReadFileBytes(c.Out("a.fff")), ReadFileBytes(c.Out("c.fff")));
        EXPECT_EQ(ReadFileBytes(c.Out("b.fff")), ReadFileBytes(c.Out("c.fff")));
        EXPECT_NE(ReadFileBytes(c.Out("a.fff")).find("<CS:Reference>B"), std::string::npos);
    }
}

// What the seam does while the run lasts: a name made to lead elsewhere.
std::string linkFrom;
std::string linkTo;

void MakeHardLink()
{
    fs::create_hard_link(linkTo, linkFrom);
}

// An output whose name comes to lead to an input, or to an output put in
// place before it, while its file is converted (a link made meanwhile, a
// folder that takes no heed of letter case): that file fails when it is put
// in place, the input and the earlier output are left alone, and the next
// file goes on.
TEST(CollectionRun, OutputThatComesToLeadToAFileOfTheRunFails)
{
    struct Row {
        int writesBefore;  // the change comes at that write of the run's outputs
        std::size_t failing;
        std::function<std::string(Collection&, const std::string& x, const std::string& z)> arrange;
    };
    const Row rows[] = {
        {0, 0, [](Collection& c, const std::string&, const std::string& z) {
             linkTo = z;
             linkFrom = c.Out("x.fff");
             return CannotCreate(c.Out("x.fff"), "it is " + z + ", an input of this run");
         }},
        {1, 1, [](Collection& c, const std::string& x, const std::string&) {
             linkTo = c.Out("x.fff");
             linkFrom = c.Out("z.fff");
             return CannotCreate(c.Out("z.fff"), "the output of " + x + " too");
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.failing);
        Collection c;
        const std::string x = c.Input("x.fff", "<RD:Book>X\r\n<RD>x\r\n");
        const std::string z = c.Other("z.fff", "<RD:Book>Z\r\n<RD>z\r\n");
        const std::string told = row.arrange(c, x, z);
        ArmFileEvent(FileCall::Write, MakeHardLink, row.writesBefore);
        LoggingHost host;
        const std::vector<FileOutcome> outcomes = RunCollection(PlanCollection(c.inputs, c.Folder()), c.settings, host);
        DisarmFileFaults();
        ASSERT_EQ(outcomes[row.failing].state, FileOutcome::State::Failed);
        EXPECT_EQ(outcomes[row.failing].error + ": " + outcomes[row.failing].errorContext.reason, told);
        EXPECT_EQ(outcomes[1 - row.failing].state, FileOutcome::State::Converted);
        EXPECT_EQ("<RD:Book>Z\r\n<RD>z\r\n", ReadFileBytes(z));
        EXPECT_NE(ReadFileBytes(c.Out("x.fff")).find(row.failing == 0 ? "<RD>z" : "<CS:Reference>X"), std::string::npos);
    }
}

// What the seam does while the first file converts: an input saved anew, as
// an editor saves (a new file renamed over the old), or none, then an
// output's name linked to an input.
std::string savedAnew;
std::string linkedOutput;
std::string linkedInput;

void SaveAnewAndLink()
{
    if (!savedAnew.empty()) {
        const std::string text = ReadFileBytes(savedAnew);
        WriteFileBytes(savedAnew + ".new", text);
        fs::rename(savedAnew + ".new", savedAnew);
    }
    fs::create_symlink(linkedInput, linkedOutput);
}

// An output is held to every input as the names stand when it is put in
// place, not only as they stood at the checks, and in the same words however
// many files are converted at once.
TEST(CollectionRun, OutputLinkedToAnInputFailsAsTheNamesStandNow)
{
    for (const std::size_t jobs : {1, 2}) {
        for (const bool saveAnew : {true, false}) {
            SCOPED_TRACE(::testing::Message() << jobs << " jobs, saved anew " << saveAnew);
            Collection c;
            c.settings.replaceOutput = true;
            const std::string aText = "<RD:Book>A\r\n<RD>" + std::string(600'000, 'a') + "\r\n";
            const std::string a = c.Input("a1.fff", aText);
            const std::string b = c.Input("b.fff", "<RD:Book>B\r\n<RD>b\r\n");
            c.Input("c.fff", "<RD:Book>C\r\n<RD>c\r\n");
            savedAnew = saveAnew ? b : "";
            linkedInput = saveAnew ? b : a;
            linkedOutput = c.Out("c.fff");
            ArmFileEvent(FileCall::Write, SaveAnewAndLink);
            LoggingHost host;
            const std::vector<FileOutcome> outcomes =
                RunCollection(PlanCollection(c.inputs, c.Folder()), c.settings, host, jobs);
            DisarmFileFaults();
            ASSERT_EQ(outcomes[2].state, FileOutcome::State::Failed);
            EXPECT_EQ(outcomes[2].error + ": " + outcomes[2].errorContext.reason,
                      CannotCreate(c.Out("c.fff"), "it is " + linkedInput + ", an input of this run"));
            EXPECT_EQ(outcomes[0].state, FileOutcome::State::Converted);
            EXPECT_EQ(outcomes[1].state, FileOutcome::State::Converted);
            EXPECT_EQ("<RD:Book>B\r\n<RD>b\r\n", ReadFileBytes(b));
            EXPECT_TRUE(ReadFileBytes(a) == aText);
        }
    }
}

std::string changedInput;

void CutInput()
{
    fs::resize_file(changedInput, 5);
}

TEST(CollectionRun, InputChangedDuringItsRunFailsThatFileAlone)
{
    Collection c;
    changedInput = c.Input("a.fff", "<RD:Book>A\r\n<RD>a\r\n");
    c.Input("b.fff", "<RD:Book>B\r\n<RD>b\r\n");
    ArmFileEvent(FileCall::Read, CutInput);  // as the first file's first read begins
    LoggingHost host;
    const std::vector<FileOutcome> outcomes = RunCollection(PlanCollection(c.inputs, c.Folder()), c.settings, host);
    DisarmFileFaults();
    ASSERT_EQ(outcomes[0].state, FileOutcome::State::Failed);
    EXPECT_EQ(outcomes[0].error, changedInput + " changed while it was being read; " + c.Out("a.fff") + " was not written");
    EXPECT_FALSE(outcomes[0].failedInPlace);
    EXPECT_EQ(outcomes[1].state, FileOutcome::State::Converted);
    EXPECT_EQ(testing::FileNames(c.Folder()), std::set<std::string>{"b.fff"});
}

}  // namespace
}  // namespace pellimar
