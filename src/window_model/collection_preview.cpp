// "Preview Several Files...": what a run would make of each of several
// files, found by the whole pass with nothing written, and listed with the
// files' counts. It makes the checks of a collection but those of its
// outputs, as Preview makes those of Begin but the output's.
#include "run/collection_checks.h"
#include "run/run_summary.h"
#include "window_model/collection_pass_host.h"
#include "window_model/error_box.h"
#include "window_model/run_controller.h"

namespace pellimar {
namespace {

// "The run would make 36 references in 3 files:", and what would fail.
std::string CollectionPreviewHeading(const CollectionTally& tally, EarlierReferences earlier)
{
    const std::string files = Counted(static_cast<std::int64_t>(tally.converted), "file");
    std::string heading =
        earlier == EarlierReferences::Remove
            ? "The run would remove " + Counted(tally.earlierFound, "earlier reference") + " from " + files
            : "The run would make " + Counted(tally.references, "reference") + " in " + files;
    if (earlier == EarlierReferences::Replace && tally.earlierFound > 0)
        heading += ", replacing " + Counted(tally.earlierFound, "earlier reference");
    if (!tally.failures.empty())
        heading += "; " + Counted(static_cast<std::int64_t>(tally.failures.size()), "file") + " would fail";
    return heading + ":";
}

PreviewFile FileRow(const FileOutcome& outcome, const std::string& input, EarlierReferences earlier)
{
    const RunResult& result = outcome.result;
    if (outcome.state == FileOutcome::State::Failed)
        return {input, "", WithFileAndReason(outcome.error, outcome.errorContext.file, outcome.errorContext.reason)};
    std::string remark;
    if (earlier == EarlierReferences::Keep && result.earlierReferences > 0)
        remark = "holds " + Counted(result.earlierReferences, "reference") + " from an earlier run";
    return {input, FileCounts(earlier, result.refCount, result.earlierReferences), remark};
}

}  // namespace

// The texts the preview reads go into their boxes' histories, as for a
// single file's preview.
void RunController::PreviewCollection(const std::vector<std::string>& inputs)
{
    if (running_)
        return;
    Guarded(services_.dialogs, [&] {
        cancelRequested_ = false;
        for (int i = 0; i < kHistoryBoxCount; ++i) {
            if (const auto box = static_cast<HistoryBox>(i); box != HistoryBox::InputFile && box != HistoryBox::OutputFile)
                boxes_.AddShown(box);
        }
        std::optional<RunSettings> settings = SettingsForRun();
        if (!settings)
            return;
        std::vector<std::string> told;
        for (const CollectionProblem& problem : CheckCollectionInputs(inputs, *settings))
            told.push_back(WithFileAndReason(problem.message, problem.file, problem.reason));
        if (!told.empty()) {
            services_.dialogs.ShowMessage(MessageKind::Error, Listed(told, "\r\r"), MessageButtons::Ok);
            return;
        }
        settings->dryRun = true;
        std::vector<CollectionFile> files;
        for (const std::string& input : inputs)
            files.push_back({input, {}});
        collectionShown_.Begin(inputs);
        std::vector<FileOutcome> outcomes;
        RunPass([&](RunHost& host) {
            CollectionPassHost collectionHost(host, collectionShown_);
            outcomes = RunCollection(files, *settings, collectionHost);
        });
        if (CloseIfPending() || cancelRequested_)
            return;
        const EarlierReferences earlier = settings->earlierReferences;
        const CollectionTally tally = TallyOf(outcomes, files, earlier);
        PreviewShown shown{CollectionPreviewHeading(tally, earlier), {}, {}, CollectionAdvice(tally, true), {}};
        for (std::size_t i = 0; i < outcomes.size(); ++i)
            shown.files.push_back(FileRow(outcomes[i], inputs[i], earlier));
        services_.dialogs.ShowPreview(shown);
    });
}

}  // namespace pellimar
