// The run's report as JSON in the file --report names, or on standard
// output. The file is written as an output is, beside its name and put in
// place at the end, and may be no input or output of the run.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/configuration.h"
#include "run/plan_checks.h"
#include "run/run_report.h"

namespace pellimar::cli {

// Before the run: why the report cannot go where it is asked; nothing when
// it can.
std::optional<PlanProblem> ReportFileRefused(const std::string& path, const RunPlan& plan);

// Writes the report when one is asked for; the run's exit status, or a
// failure's when the report could not be written (the error is told).
int WithReport(const Configuration& configuration, const RunPlan& whole, const std::vector<PlanProblem>& problems,
               const RunReport* report, int status);

}  // namespace pellimar::cli
