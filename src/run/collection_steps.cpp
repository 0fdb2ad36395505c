// The pieces of a collection's run.
#include "run/collection_steps.h"

#include <chrono>
#include <filesystem>
#include <exception>
#include <new>

#include "engine/patterns.h"
#include "engine/run_frame.h"
#include "streams/output_file.h"
#include "streams/wide_names.h"

namespace pellimar {
namespace {

// One file's run, passed on to the collection's host for that file, noting
// whether its output is written in place.
class InPlaceWatch : public RunHost {
public:
    explicit InPlaceWatch(RunHost& host) : host_(host) {}

    void EnterRunning() override { host_.EnterRunning(); }
    void ProgressChanged(std::int32_t percent, std::int64_t consumed) override { host_.ProgressChanged(percent, consumed); }
    void LeaveRunning() override { host_.LeaveRunning(); }
    void OutputOpened(const OutputFile& output) override
    {
        inPlace = output.WritesInPlace();
        host_.OutputOpened(output);
    }
    std::optional<std::string> AskStartingPage(const PagePrompt& prompt) override { return host_.AskStartingPage(prompt); }
    bool SwitchOn(RunSwitch runSwitch) const override { return host_.SwitchOn(runSwitch); }
    bool CancelRequested() const override { return host_.CancelRequested(); }

    bool inPlace = false;

private:
    RunHost& host_;
};

}  // namespace

std::vector<std::int64_t> InputSizes(const std::vector<CollectionFile>& files, const RunSettings& settings)
{
    std::vector<std::int64_t> sizes;
    for (const CollectionFile& file : files) {
        if (settings.standardInput) {
            sizes.push_back(-1);
            continue;
        }
        std::error_code error;
        const auto size = std::filesystem::file_size(PathOfName(file.input), error);
        sizes.push_back(error ? 0 : static_cast<std::int64_t>(size));
    }
    return sizes;
}

FilePass HeldToTheCollection(const std::vector<CollectionFile>& files, FilePass pass)
{
    if (pass.settings.standardInput)
        return pass;
    pass.settings.runFiles = std::make_shared<RunFiles>();
    for (const CollectionFile& file : files)
        pass.settings.runFiles->AddInput(file.input);
    return pass;
}

CollectionProgress::CollectionProgress(CollectionHost& host, const std::vector<std::int64_t>& sizes) : host_(host)
{
    for (const std::int64_t size : sizes) {
        sized_ = sized_ && size >= 0;
        total_ += size > 0 ? size : 0;
    }
}

void CollectionProgress::Reached(std::int64_t consumed)
{
    if (!sized_) {
        host_.ProgressChanged(-1, consumed);
        return;
    }
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

namespace {

// A preview's result as a run's, with its references beside it.
void TakePreview(PreviewResult preview, std::size_t limit, PreviewReach reach, FileOutcome& outcome)
{
    outcome.result.cancelled = preview.cancelled;
    outcome.result.refCount = preview.refCount;
    outcome.result.findings = preview.findings;
    outcome.result.levelsSeen = std::move(preview.levelsSeen);
    outcome.result.bytesRead = preview.bytesRead;
    // Else only a preview that stopped short of its count read the whole input.
    outcome.wholeRead = reach == PreviewReach::WholeInput || preview.references.size() < limit;
    outcome.references = std::move(preview.references);
}

}  // namespace

FileOutcome ConvertOne(const CollectionFile& file, const FilePass& pass, RunHost& host)
{
    RunSettings settings = pass.settings;
    settings.inputPath = file.input;
    settings.outputPath = file.output;
    FileOutcome outcome;
    InPlaceWatch watch(host);
    // Its message says what became of the output.
    bool inputChanged = false;
    const auto start = std::chrono::steady_clock::now();
    try {
        LevelLists levels;
        if (pass.previewLimit)
            TakePreview(RunPreview(settings, watch, levels, *pass.previewLimit, pass.previewReach), *pass.previewLimit,
                        pass.previewReach, outcome);
        else
            outcome.result = RunConversion(settings, watch, levels);
        outcome.state = outcome.result.cancelled ? FileOutcome::State::Cancelled : FileOutcome::State::Converted;
    } catch (const Exception& error) {
        outcome.state = FileOutcome::State::Failed;
        outcome.error = error.what();
        outcome.errorContext = {error.File(), error.Reason()};
        inputChanged = dynamic_cast<const EInputChanged*>(&error) != nullptr;
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
    outcome.failedInPlace = outcome.state == FileOutcome::State::Failed && watch.inPlace && !inputChanged;
    outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return outcome;
}

}  // namespace pellimar
