// Running a collection, a file at a time.
#include "run/collection.h"

#include "run/collection_steps.h"
#include "streams/wide_names.h"

namespace pellimar {
namespace {

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

}  // namespace

std::vector<CollectionFile> PlanCollection(const std::vector<std::string>& inputs, const std::string& folder)
{
    std::vector<CollectionFile> files;
    for (const std::string& input : inputs)
        files.push_back({input, NameOfPath(PathOfName(folder) / PathOfName(input).filename())});
    return files;
}

std::vector<FileOutcome> RunCollection(const std::vector<CollectionFile>& files, const FilePass& given,
                                       CollectionHost& host)
{
    const FilePass pass = HeldToTheCollection(files, given);
    const std::vector<std::int64_t> sizes = InputSizes(files, pass.settings);
    CollectionProgress progress(host, sizes);
    StartingPageAnswer page;
    FileHost fileHost(host, progress, page);
    std::vector<FileOutcome> outcomes(files.size());
    host.EnterRunning();
    for (std::size_t i = 0; i < files.size() && !host.CancelRequested(); ++i) {
        host.FileStarted(i);
        outcomes[i] = ConvertOne(files[i], pass, fileHost);
        progress.FileDone(sizes[i]);
        if (outcomes[i].state == FileOutcome::State::Cancelled)
            break;
    }
    host.LeaveRunning();
    return outcomes;
}

}  // namespace pellimar
