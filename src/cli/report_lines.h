// A run's report as the command line lays it out: a line for each file on
// standard output (its references, or what a dry run would do with its
// output), the errors and notes on standard error, each note after its
// file's line, the total for a collection, and the exit status.
#pragma once

#include <string>
#include <vector>

#include "cli/configuration.h"
#include "run/plan_checks.h"
#include "run/run_report.h"

namespace pellimar::cli {

// The lines meant for standard output go to standard error from now on.
void TellLinesOnStandardError();

// What the checks found: the first problem of a single file, as its run
// would have stopped at it; all of a collection's and their count.
void TellProblems(const RunPlan& plan, const std::vector<PlanProblem>& problems);

// A dry run of a collection with problems of some files only: a line for
// every output in the order given, what the run would do with it or why it
// would refuse it, then the problems counted. `report` is of the files
// without problems. Returns the exit status the run would have.
int TellForetoldAround(const RunReport& report, const RunPlan& whole, const std::vector<PlanProblem>& problems,
                       const Configuration& configuration);

// Before the run: what each output's run will cost the file under its name.
void ForetellOutputs(const RunPlan& plan);

// Tells the report; a file a cancel cut short has its partial output thrown
// away first, as an interrupt means "stop and change nothing". Returns the
// exit status.
int TellReport(RunReport& report, const Configuration& configuration);

}  // namespace pellimar::cli
