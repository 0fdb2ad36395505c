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

// The output folder (it must be there, and a folder: it is not made); each
// input as a run checks it and opens it (a pipe, a device, a file that may
// not be read); the patterns and level names once; an output that leads to
// an input or to where an earlier output goes, by the file its name leads
// to and not by its spelling (through links and bind mounts: "it is the
// input file", "it is b.fff, an input of this run", "the output of b.fff
// too"); and each output made as its run makes it, then thrown away. So
// every check a file's run makes before it reads is made for every file
// before the first is written. Outputs that stand already are not a
// problem here: see ExistingOutputs.
std::vector<CollectionProblem> CheckCollection(const std::vector<CollectionFile>& files, const std::string& folder,
                                               const RunSettings& settings);

// The outputs under whose names something stands already: a run would
// replace them.
std::vector<std::string> ExistingOutputs(const std::vector<CollectionFile>& files);

}  // namespace pellimar
