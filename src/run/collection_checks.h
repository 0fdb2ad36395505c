// The checks a collection makes before anything is written: every reason it
// cannot go ahead, listed together, so that the user can mend them all at
// once.
#pragma once

#include <string>
#include <vector>

#include "engine/run_settings.h"
#include "run/collection.h"
#include "run/run_checks.h"

namespace pellimar {

struct CollectionProblem {
    std::string message;  // "Input file not found."
    std::string file;
    std::string reason;   // "no such file", "it is the input file"
    // From a run's check of the inputs and patterns: which, for a front end
    // to word it in its own names.
    RunCheckFailure failure = RunCheckFailure::None;
    char missingToken = 0;
};

// How the outputs are tried: made as their runs make them and thrown away,
// or, for a dry run, foreseen without anything being made or locked.
enum class OutputTrial { Made, Foreseen };

// The output folder (it must be there, and a folder: it is not made); each
// input as a run checks it and opens it (a pipe, a device, a file that may
// not be read); the patterns and level names once; an output that leads to
// an input or to where an earlier output goes, by the file its name leads
// to and not by its spelling (through links and bind mounts: "it is the
// input file", "it is b.fff, an input of this run", "the output of b.fff
// too"); and each output tried as `trial` says. So every check a file's
// run makes before it reads is made for every file before the first is
// written. Outputs that stand already are not a problem here: see
// ExistingOutputs.
std::vector<CollectionProblem> CheckCollection(const std::vector<CollectionFile>& files, const std::string& folder,
                                               const RunSettings& settings, OutputTrial trial = OutputTrial::Made);

// The inputs alone, each as a run checks and opens it, and the patterns
// once: all a collection whose outputs are not written needs.
std::vector<CollectionProblem> CheckCollectionInputs(const std::vector<std::string>& inputs,
                                                     const RunSettings& settings);

// The outputs that would take the place of an input of the collection, in
// the folder of the inputs or through a link there ("it is the input
// file", "it is b.fff, an input of this run"): a folder to choose again.
std::vector<CollectionProblem> OutputsThatAreInputs(const std::vector<CollectionFile>& files);

// The outputs under whose names something stands already: a run would
// replace them.
std::vector<std::string> ExistingOutputs(const std::vector<CollectionFile>& files);

}  // namespace pellimar
