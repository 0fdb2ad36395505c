// Running a collection, a file at a time.
#include "run/collection.h"

#include <filesystem>
#include <optional>

#include "engine/patterns.h"
#include "streams/wide_names.h"

namespace pellimar {
namespace {

std::int64_t SizeOf(const std::string& path)
{
    std::error_code error;
    const auto size = std::filesystem::file_size(PathOfName(path), error);
    return error ? 0 : static_cast<std::int64_t>(size);
}

// The collection's progress: the bytes of the files done and of the one
// under way, against all the inputs' bytes.
class CollectionProgress {
public:
    CollectionProgress(CollectionHost& host, std::int64_t total) : host_(host), total_(total) {}

    void FileDone(std::int64_t size) { before_ += size; }
    void Consumed(std::int64_t consumedOfFile)
    {
        const std::int64_t consumed = before_ + consumedOfFile;
        const auto percent = static_cast<std::int32_t>(total_ > 0 ? consumed * 100 / total_ : 100);
        if (percent != last_) {
            last_ = percent;
            host_.ProgressChanged(percent, consumed);
        }
    }

private:
    CollectionHost& host_;
    std::int64_t total_;
    std::int64_t before_ = 0;
    std::int32_t last_ = -2;
};

// The starting page the user gave for an earlier file, once it set a page.
class StartingPageAnswer {
public:
    std::optional<std::string> Ask(CollectionHost& host, const PagePrompt& prompt)
    {
        if (taken_)
            return taken_;
        std::optional<std::string> answer = host.AskStartingPage(prompt);
        if (ParseStartingPage(answer.value_or(prompt.defaultText)) != -1)
            taken_ = answer.value_or(prompt.defaultText);
        return answer;
    }

private:
    std::optional<std::string> taken_;
};

// One file's run, as the collection's host sees it: the running state and
// the page question belong to the whole.
class FileHost : public RunHost {
public:
    FileHost(CollectionHost& host, CollectionProgress& progress, StartingPageAnswer& page)
        : host_(host), progress_(progress), page_(page)
    {
    }

    void EnterRunning() override {}
    void ProgressChanged(std::int32_t, std::int64_t bytesConsumed) override { progress_.Consumed(bytesConsumed); }
    void LeaveRunning() override {}
    std::optional<std::string> AskStartingPage(const PagePrompt& prompt) override { return page_.Ask(host_, prompt); }
    bool SwitchOn(RunSwitch runSwitch) const override { return host_.SwitchOn(runSwitch); }
    bool CancelRequested() const override { return host_.CancelRequested(); }

private:
    CollectionHost& host_;
    CollectionProgress& progress_;
    StartingPageAnswer& page_;
};

FileOutcome ConvertOne(const CollectionFile& file, RunSettings settings, FileHost& host)
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
    }
    return outcome;
}

}  // namespace

std::vector<CollectionFile> PlanCollection(const std::vector<std::string>& inputs, const std::string& folder)
{
    std::vector<CollectionFile> files;
    for (const std::string& input : inputs)
        files.push_back({input, NameOfPath(PathOfName(folder) / PathOfName(input).filename())});
    return files;
}

std::vector<FileOutcome> RunCollection(const std::vector<CollectionFile>& files, const RunSettings& settings,
                                       CollectionHost& host)
{
    std::vector<std::int64_t> sizes;
    std::int64_t total = 0;
    for (const CollectionFile& file : files)
        total += sizes.emplace_back(SizeOf(file.input));
    CollectionProgress progress(host, total);
    StartingPageAnswer page;
    FileHost fileHost(host, progress, page);
    std::vector<FileOutcome> outcomes(files.size());
    host.EnterRunning();
    for (std::size_t i = 0; i < files.size() && !host.CancelRequested(); ++i) {
        host.FileStarted(i);
        outcomes[i] = ConvertOne(files[i], settings, fileHost);
        progress.FileDone(sizes[i]);
        if (outcomes[i].state == FileOutcome::State::Cancelled)
            break;
    }
    host.LeaveRunning();
    return outcomes;
}

}  // namespace pellimar
