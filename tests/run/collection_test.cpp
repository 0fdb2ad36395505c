// A collection run: the outputs' names, the checks before it, the files in
// order with one progress and one page question, a failing file, a cancel.
#include "run/collection.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <set>

#include "run/collection_checks.h"
#include "streams/array_allocation_failure.h"
#include "streams/file_faults.h"
#include "support/temp_dir.h"

namespace pellimar {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

class LoggingHost : public CollectionHost {
public:
    void EnterRunning() override { log.push_back("enter"); }
    void FileStarted(std::size_t index) override { log.push_back("file " + std::to_string(index)); }
    void ProgressChanged(std::int32_t percent, std::int64_t) override
    {
        percents.push_back(percent);
        if (cancelAt && percent >= *cancelAt)
            cancel = true;
    }
    void LeaveRunning() override { log.push_back("leave"); }
    std::optional<std::string> AskStartingPage(const PagePrompt&) override
    {
        log.push_back("page question");
        return answers.empty() ? std::nullopt : std::optional(answers[log.size() % answers.size()]);
    }
    bool SwitchOn(RunSwitch) const override { return false; }
    bool CancelRequested() const override { return cancel; }

    std::vector<std::string> log;
    std::vector<std::int32_t> percents;
    std::vector<std::string> answers;
    std::optional<std::int32_t> cancelAt;
    bool cancel = false;
};

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
    for (const CollectionProblem& problem : CheckCollection(files, c.Folder(), c.settings))
        reasons.push_back(problem.file + ": " + problem.reason);
    EXPECT_EQ(reasons, (std::vector<std::string>{c.inputs[2] + ": no such file",
                                                 files[1].output + ": the output of " + a + " too"}));

    const std::string books = (c.dir.Path() / "books").string();
    EXPECT_EQ(CheckCollection(PlanCollection({a}, books), books, c.settings)[0].reason, kOutputIsInput);
    EXPECT_EQ(CheckCollection({}, c.dir.File("missing"), c.settings)[0].file, c.dir.File("missing"));
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

}  // namespace
}  // namespace pellimar
