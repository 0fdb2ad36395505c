// Running a collection with several files converted at once: each job takes
// the next file in the order given on a thread of its own, while the
// calling thread keeps the host told (files started, the progress of the
// whole) and passes a cancel on to every job.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "run/collection.h"
#include "run/collection_steps.h"

namespace pellimar {
namespace {

// Often enough that a cancel or a progress step is seen at once.
constexpr auto kLongestWait = std::chrono::milliseconds(50);

// What the jobs and the calling thread share, each part under one lock.
class JobBoard {
public:
    JobBoard(std::vector<FileOutcome>& outcomes, std::vector<std::int64_t> sizes, std::size_t jobs)
        : outcomes_(outcomes), sizes_(std::move(sizes)), consumed_(sizes_.size(), 0), jobsRunning_(jobs)
    {
    }

    // The next file for a job; nothing once all are taken or the run stops.
    std::optional<std::size_t> Take(const CollectionHost& host)
    {
        const std::lock_guard lock(lock_);
        if (stopped_ || host.CancelRequested())
            stopped_ = true;
        if (stopped_ || next_ == outcomes_.size())
            return std::nullopt;
        changed_ = true;
        wake_.notify_one();
        return next_++;
    }

    void Consumed(std::size_t index, std::int64_t bytes)
    {
        const std::lock_guard lock(lock_);
        consumed_[index] = bytes;
        changed_ = true;
        wake_.notify_one();
    }

    // A file cancelled stops the others too.
    void Done(std::size_t index, FileOutcome outcome)
    {
        const std::lock_guard lock(lock_);
        if (outcome.state == FileOutcome::State::Cancelled)
            stopped_ = true;
        outcomes_[index] = std::move(outcome);
        consumed_[index] = sizes_[index];
        changed_ = true;
        wake_.notify_one();
    }

    void JobEnded()
    {
        const std::lock_guard lock(lock_);
        --jobsRunning_;
        wake_.notify_one();
    }

    void Stop() { stopped_ = true; }

    // Asked by the pass at every step: no lock.
    bool Stopped() const { return stopped_; }

    struct Change {
        std::size_t started = 0;  // files taken so far
        std::int64_t consumed = 0;
        bool ended = false;  // every job has ended
    };

    // Waits until a job has taken a file or got further, all have ended,
    // or a while has passed.
    Change Wait()
    {
        std::unique_lock lock(lock_);
        wake_.wait_for(lock, kLongestWait, [this] { return changed_ || jobsRunning_ == 0; });
        changed_ = false;
        Change change{next_, 0, jobsRunning_ == 0};
        for (const std::int64_t bytes : consumed_)
            change.consumed += bytes;
        return change;
    }

private:
    std::mutex lock_;
    std::condition_variable wake_;
    std::vector<FileOutcome>& outcomes_;
    const std::vector<std::int64_t> sizes_;
    std::vector<std::int64_t> consumed_;
    std::size_t next_ = 0;
    std::size_t jobsRunning_;
    std::atomic<bool> stopped_{false};
    bool changed_ = false;
};

// One file's run on a job's thread: its progress goes to the board, the
// page question to the host one job at a time.
class JobHost : public RunHost {
public:
    JobHost(CollectionHost& host, JobBoard& board, std::size_t index, StartingPageAnswer& page, std::mutex& pageLock)
        : host_(host), board_(board), index_(index), page_(page), pageLock_(pageLock)
    {
    }

    void EnterRunning() override {}
    void ProgressChanged(std::int32_t, std::int64_t bytesConsumed) override { board_.Consumed(index_, bytesConsumed); }
    void LeaveRunning() override {}
    std::optional<std::string> AskStartingPage(const PagePrompt& prompt) override
    {
        const std::lock_guard lock(pageLock_);
        return page_.Ask(host_, prompt);
    }
    bool SwitchOn(RunSwitch runSwitch) const override { return host_.SwitchOn(runSwitch); }
    bool CancelRequested() const override { return board_.Stopped() || host_.CancelRequested(); }

private:
    CollectionHost& host_;
    JobBoard& board_;
    std::size_t index_;
    StartingPageAnswer& page_;
    std::mutex& pageLock_;
};

// The calling thread's side: the host told of each file started, in order,
// and of the progress; a cancel passed on to the jobs.
void FollowJobs(JobBoard& board, CollectionHost& host, CollectionProgress& progress)
{
    for (std::size_t told = 0;;) {
        const JobBoard::Change change = board.Wait();
        for (; told < change.started; ++told)
            host.FileStarted(told);
        progress.Reached(change.consumed);
        if (host.CancelRequested())
            board.Stop();
        if (change.ended)
            return;
    }
}

}  // namespace

std::vector<FileOutcome> RunCollection(const std::vector<CollectionFile>& files, const FilePass& given,
                                       CollectionHost& host, std::size_t jobs)
{
    if (jobs <= 1 || files.size() <= 1)
        return RunCollection(files, given, host);
    const FilePass pass = HeldToTheCollection(files, given);
    std::vector<std::int64_t> sizes = InputSizes(files, pass.settings);
    std::vector<FileOutcome> outcomes(files.size());
    const std::size_t jobCount = std::min(jobs, files.size());
    CollectionProgress progress(host, sizes);
    JobBoard board(outcomes, std::move(sizes), jobCount);
    StartingPageAnswer page;
    std::mutex pageLock;
    host.EnterRunning();
    {
        std::vector<std::jthread> threads;
        for (std::size_t job = 0; job < jobCount; ++job) {
            threads.emplace_back([&] {
                while (const std::optional<std::size_t> index = board.Take(host)) {
                    JobHost jobHost(host, board, *index, page, pageLock);
                    board.Done(*index, ConvertOne(files[*index], pass, jobHost));
                }
                board.JobEnded();
            });
        }
        try {
            FollowJobs(board, host, progress);
        } catch (...) {
            board.Stop();
            throw;
        }
    }
    host.LeaveRunning();
    return outcomes;
}

}  // namespace pellimar
