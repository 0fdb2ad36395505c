// The checks a run makes before anything is written, in one order for every
// plan: every reason it cannot go ahead, listed together, so that the user
// can mend them all at once. A front end tells them all (a collection) or
// the first (a single file), in its own words where it names its boxes or
// options.
#pragma once

#include <string>
#include <vector>

#include "run/run_checks.h"
#include "run/run_plan.h"
#include "streams/output_file.h"

namespace pellimar {

struct PlanProblem {
    std::string message;  // "Input file not found."
    std::string file;
    std::string reason;  // "no such file", "it is the input file"
    // From a run's check of the inputs and patterns: which, for a front end
    // to word it in its own names.
    RunCheckFailure failure = RunCheckFailure::None;
    char missingToken = 0;
    // A file stands under an output's name that the plan may not replace.
    bool outputExists = false;
};

inline constexpr const char* kFolderCannotTakeOutputs = "The output folder cannot take the outputs.";

// In this order: the output folder (a folder, or missing where the folder
// it would be in is there, to be made before the run: see output_folder.h;
// a folder that cannot be is one problem, not one for each output); each input as a
// run checks it, the patterns and level names once, each input opened as
// its run opens it (a pipe, a device, a file that may not be read or that
// another program writes); then, for a plan that writes outputs, each
// output: a name Windows takes for a device, a folder, an input or where an
// earlier output goes (by the file its name leads to, not by its
// spelling: "it is the input file", "it is b.fff, an input of this run",
// "the output of b.fff too"), a file under its name that may not be
// replaced, and the output made as its run makes it and thrown away (a dry
// run only foresees it, making, opening for writing and locking nothing).
std::vector<PlanProblem> CheckPlan(const RunPlan& plan);

// The problems of each file of the plan: those that name its input or its
// output. A problem of none (the patterns, the folder) is the whole plan's.
std::vector<std::vector<PlanProblem>> ProblemsByFile(const RunPlan& plan, const std::vector<PlanProblem>& problems);
bool EachProblemIsAFiles(const RunPlan& plan, const std::vector<PlanProblem>& problems);
// The plan with only the files that have no problem.
RunPlan WithoutRefusedFiles(RunPlan plan, const std::vector<PlanProblem>& problems);

// The outputs that would take the place of an input of the collection, in
// the folder of the inputs or through a link there ("it is the input
// file", "it is b.fff, an input of this run"): a folder to choose again.
std::vector<PlanProblem> OutputsThatAreInputs(const std::vector<CollectionFile>& files);

// The outputs under whose names something stands already that a run would
// replace; an output named twice is named once.
std::vector<std::string> ExistingOutputs(const std::vector<CollectionFile>& files);

}  // namespace pellimar
