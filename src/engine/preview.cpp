// Runs that write nothing: a run's first references collected, and a whole run
// whose output goes nowhere.
#include "engine/preview.h"

#include "engine/conversion.h"
#include "engine/conversion_pass.h"
#include "engine/run_frame.h"
#include "streams/file_names.h"

namespace pellimar {
namespace {

class Collector : public ReferenceObserver {
public:
    Collector(std::size_t limit, PreviewReach reach) : limit_(limit), reach_(reach) {}

    void ReferenceMade(std::int64_t line, std::string_view text, std::string_view recordStart) override
    {
        if (WantsMore())
            references.push_back({line, std::string(text), std::string(recordStart)});
    }
    bool Enough() const override { return reach_ == PreviewReach::ToTheLastListed && !WantsMore(); }
    bool WantsMore() const override { return references.size() < limit_; }

    std::vector<PreviewReference> references;

private:
    std::size_t limit_;
    PreviewReach reach_;
};

}  // namespace

RunResult RunToNowhere(const RunSettings& settings, RunHost& host, LevelLists& levels)
{
    RunContext run(settings, levels);
    OpenInput(run, settings);
    run.WritesOutput = false;
    WithinRun(run, host, [&] {
        run.Output = std::make_unique<TS_TextStream>(kNullDevice, fmCreate);
        ConversionPass(run, host).Run();
        run.BytesWritten = run.Output->Position();
        if (!host.CancelRequested())
            CheckInputUnchanged(run, settings, [] { return std::string("nothing was written"); });
    });
    RunResult result;
    result.refCount = run.RefCount;
    result.cancelled = host.CancelRequested();
    result.findings = run.Found;
    result.levelsSeen = std::move(run.LevelsSeen);
    result.bytesRead = run.BytesRead;
    result.bytesWritten = run.BytesWritten;
    return result;
}

PreviewResult RunPreview(const RunSettings& settings, RunHost& host, LevelLists& levels, std::size_t limit,
                         PreviewReach reach)
{
    RunContext run(settings, levels);
    OpenInput(run, settings);
    Collector collector(limit, reach);
    run.Observer = &collector;
    run.WritesOutput = false;
    run.Lines = std::make_unique<LineCounter>();
    run.Lines->Attach(*run.Input);
    WithinRun(run, host, [&] {
        // What the pass writes goes nowhere.
        run.Output = std::make_unique<TS_TextStream>(kNullDevice, fmCreate);
        if (limit > 0 || reach == PreviewReach::WholeInput)
            ConversionPass(run, host).Run();
        if (!host.CancelRequested())
            CheckInputUnchanged(run, settings, [] { return std::string("no references are listed"); });
    });
    return {std::move(collector.references), run.RefCount, host.CancelRequested(), run.Found,
            std::move(run.LevelsSeen), run.BytesRead};
}

}  // namespace pellimar
