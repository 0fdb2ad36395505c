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

// A line for standard output, unless -q.
void TellLine(const std::string& line, const Configuration& configuration);

// What the checks found: the first problem of a single file, as its run
// would have stopped at it; all of a collection's and their count.
void TellProblems(const RunPlan& plan, const std::vector<PlanProblem>& problems);

// A collection whose checks refused some of its files only, run with the
// others (a dry run, or -k): a line for every file in the order given, what
// became of it (or would) or why it was refused, then the total (-k) or the
// problems counted (a dry run otherwise). `report` is of the files the
// checks let through. Returns the exit status.
int TellAroundProblems(RunReport& report, const RunPlan& whole, const std::vector<PlanProblem>& problems,
                       const Configuration& configuration);

// Before the run: what each output's run will cost the file under its name.
void ForetellOutputs(const RunPlan& plan, const Configuration& configuration);

// Tells the report; a file a cancel cut short has its partial output thrown
// away first, as an interrupt means "stop and change nothing". With -q only
// the errors are told. Returns the exit status.
int TellReport(RunReport& report, const Configuration& configuration);

}  // namespace pellimar::cli
