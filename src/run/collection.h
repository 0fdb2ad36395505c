// The files of a run converted in turn, or several at once, with one
// progress for the whole: several flat files into one output folder, or a
// single file, which is a collection of one. Every run of the window and
// the command line is run here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/conversion.h"
#include "engine/preview.h"
#include "engine/run_host.h"
#include "streams/exceptions.h"

namespace pellimar {

struct CollectionFile {
    std::string input;
    std::string output;  // none for a preview or a list
};

// Each input's output: its file name in `folder`.
std::vector<CollectionFile> PlanCollection(const std::vector<std::string>& inputs, const std::string& folder);

// A run's host for the whole collection: EnterRunning once before the first
// file and LeaveRunning once after the last, progress as the share of all
// the inputs' bytes, the page question asked at most until an answer sets a
// page; and told as each file starts.
class CollectionHost : public RunHost {
public:
    virtual void FileStarted(std::size_t index) = 0;
};

struct FileOutcome {
    enum class State { NotRun, Converted, Failed, Cancelled };
    State state = State::NotRun;
    // Converted: its counts. Cancelled: what was written, for the caller to
    // put in place or throw away.
    RunResult result;
    std::string error;  // Failed: the error's message, with its file and reason
    ErrorContext errorContext;
    // Failed: the output was being written in place, and holds the part
    // written before the failure.
    bool failedInPlace = false;
    // A preview's references; it read the whole input when it found fewer
    // than it was asked for.
    std::vector<PreviewReference> references;
    bool wholeRead = true;
    double seconds = 0;
};

// What each file's pass makes: its output, nothing (settings.dryRun), or
// for a preview only its first `previewLimit` references, reading on to
// the end of the input when `previewReach` says so.
struct FilePass {
    FilePass(RunSettings runSettings,
             std::optional<std::size_t> limit = std::nullopt)  // NOLINT: a run's settings are its pass
        : settings(std::move(runSettings)), previewLimit(limit)
    {
    }
    RunSettings settings;
    std::optional<std::size_t> previewLimit;
    PreviewReach previewReach = PreviewReach::ToTheLastListed;
};

// Converts the files in the order given, each with `settings` and its own
// input and output. A file that fails is told in its outcome and the next
// goes on; so does a file whose output has come to lead to an input of the
// collection, or to where an earlier output went, by the time it is made or
// put in place. A cancel stops the file being converted, whose outcome holds its
// partial output, and leaves the later ones not run.
std::vector<FileOutcome> RunCollection(const std::vector<CollectionFile>& files, const FilePass& pass,
                                       CollectionHost& host);

// The same with up to `jobs` files converted at once, each on a thread of
// its own, taken in the order given; the outcomes are those of one job. The
// host is told of the running state, the files started (in order) and the
// progress on the calling thread; SwitchOn, CancelRequested and
// AskStartingPage (one job at a time) come from the jobs' threads. A cancel
// stops every file under way and starts no other.
std::vector<FileOutcome> RunCollection(const std::vector<CollectionFile>& files, const FilePass& pass,
                                       CollectionHost& host, std::size_t jobs);

}  // namespace pellimar
