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
};

// The output folder (it must be there, and a folder: it is not made), each
// input as a run checks it, the patterns and level names once, two inputs
// that would give one output name, an output that is its own input (the
// folder is an input's folder), and the checks a run makes of its output
// before reading its input. Outputs that stand already are not a problem
// here: see ExistingOutputs.
std::vector<CollectionProblem> CheckCollection(const std::vector<CollectionFile>& files, const std::string& folder,
                                               const RunSettings& settings);

// The outputs under whose names something stands already: a run would
// replace them.
std::vector<std::string> ExistingOutputs(const std::vector<CollectionFile>& files);

}  // namespace pellimar
