// The pieces of a collection's run.
#include "run/collection_steps.h"

#include <filesystem>
#include <exception>
#include <new>

#include "engine/patterns.h"
#include "streams/wide_names.h"

namespace pellimar {

std::vector<std::int64_t> InputSizes(const std::vector<CollectionFile>& files)
{
    std::vector<std::int64_t> sizes;
    for (const CollectionFile& file : files) {
        std::error_code error;
        const auto size = std::filesystem::file_size(PathOfName(file.input), error);
        sizes.push_back(error ? 0 : static_cast<std::int64_t>(size));
    }
    return sizes;
}

void CollectionProgress::Reached(std::int64_t consumed)
{
    const auto percent = static_cast<std::int32_t>(total_ > 0 ? consumed * 100 / total_ : 100);
    if (percent != last_) {
        last_ = percent;
        host_.ProgressChanged(percent, consumed);
    }
}

std::optional<std::string> StartingPageAnswer::Ask(CollectionHost& host, const PagePrompt& prompt)
{
    if (taken_)
        return taken_;
    std::optional<std::string> answer = host.AskStartingPage(prompt);
    if (ParseStartingPage(answer.value_or(prompt.defaultText)) != -1)
        taken_ = answer.value_or(prompt.defaultText);
    return answer;
}

FileOutcome ConvertOne(const CollectionFile& file, RunSettings settings, RunHost& host)
{
    settings.inputPath = file.input;
    settings.outputPath = file.output;
    FileOutcome outcome;
    try {
        LevelLists levels;
        outcome.result = RunConversion(settings, host, levels);
        outcome.state = outcome.result.cancelled ? FileOutcome::State::Cancelled : FileOutcome::State::Converted;
    } catch (const Exception& error) {
        outcome.state = FileOutcome::State::Failed;
        outcome.error = error.what();
        outcome.errorContext = {error.File(), error.Reason()};
    } catch (const std::bad_alloc&) {
        // One file's lack of memory need not end the others'.
        outcome.state = FileOutcome::State::Failed;
        outcome.error = "Out of memory";
        outcome.errorContext = {file.input, {}};
    } catch (const std::exception& error) {
        // Nor may anything else leave a job's thread, which would end the
        // program with the other files half written.
        outcome.state = FileOutcome::State::Failed;
        outcome.error = error.what();
        outcome.errorContext = {file.input, {}};
    }
    return outcome;
}

}  // namespace pellimar
