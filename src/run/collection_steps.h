// The pieces a collection is run with, a file at a time or several at once:
// the progress over all the inputs, the one page answer, one file's run.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "run/collection.h"

namespace pellimar {

// Each input's size: -1 for standard input, which has none, and 0 for a
// file that cannot be asked.
std::vector<std::int64_t> InputSizes(const std::vector<CollectionFile>& files, const RunSettings& settings);

// The pass each file's run takes: its output held to every input of the
// collection and to the outputs put in place before it.
FilePass HeldToTheCollection(const std::vector<CollectionFile>& files, FilePass pass);

// The collection's progress: the bytes consumed of all the inputs, against
// their sum, told to the host when the whole percentage changes; with an
// input of no size (standard input), the bytes alone, as often as a file's
// run tells them.
class CollectionProgress {
public:
    CollectionProgress(CollectionHost& host, const std::vector<std::int64_t>& sizes);

    void FileDone(std::int64_t size) { before_ += size; }
    // The bytes consumed of the file under way, the earlier ones all done.
    void Consumed(std::int64_t consumedOfFile) { Reached(before_ + consumedOfFile); }
    // The bytes consumed of all the files together.
    void Reached(std::int64_t consumed);

private:
    CollectionHost& host_;
    std::int64_t total_ = 0;
    bool sized_ = true;
    std::int64_t before_ = 0;
    std::int32_t last_ = -2;
};

// The starting page the user gave for an earlier file, once it set a page.
class StartingPageAnswer {
public:
    std::optional<std::string> Ask(CollectionHost& host, const PagePrompt& prompt);

private:
    std::optional<std::string> taken_;
};

// Runs one file's pass; whatever it throws becomes a failed outcome.
FileOutcome ConvertOne(const CollectionFile& file, const FilePass& pass, RunHost& host);

}  // namespace pellimar
