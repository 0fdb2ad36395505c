// Running a plan.
#include "run/run_plan.h"

namespace pellimar {

std::vector<FileOutcome> RunPlanned(const RunPlan& plan, CollectionHost& host)
{
    FilePass pass(plan.settings);
    pass.settings.dryRun = plan.mode == RunMode::DryRun || plan.mode == RunMode::ListLevels;
    pass.settings.replaceOutput = plan.replaceExisting;
    if (plan.mode == RunMode::Preview)
        pass.previewLimit = plan.previewLimit;
    if (plan.mode == RunMode::DryRun && plan.previewLimit > 0) {
        pass.previewLimit = plan.previewLimit;
        pass.previewReach = PreviewReach::WholeInput;
    }
    return RunCollection(plan.files, pass, host, plan.jobs);
}

}  // namespace pellimar
