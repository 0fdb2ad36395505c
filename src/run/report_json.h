// A run's report as one JSON document, for scripts: the program and its
// version, the run's settings, one record per file (what became of its
// output, its references, its findings by key, the level names its file
// holds, bytes and seconds), the problems that refused it, the totals and
// the exit status. The keys are a promise kept from one release to the
// next (resources/report.schema.json describes them). Text is UTF-8: the
// flat files' text as the run's encoding reads it, a file name that is no
// UTF-8 as its bytes in base64 beside a readable form.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "run/plan_checks.h"
#include "run/run_report.h"

namespace pellimar {

struct ReportJsonFrame {
    std::string program;
    std::string version;
    int exitStatus = 0;
    // The flat files' text in UTF-8; nothing where it is no text in the
    // run's encoding.
    std::function<std::optional<std::string>(const std::string&)> flatTextInUtf8;
};

// `whole` is the plan as asked; `report`, when the run was made, is of its
// files that the checks let through (all of them, unless a dry run went on
// around the problems of some).
std::string ReportJson(const RunPlan& whole, const std::vector<PlanProblem>& problems, const RunReport* report,
                       const ReportJsonFrame& frame);

}  // namespace pellimar
