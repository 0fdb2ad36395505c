// What each output of a collection is once its run has ended, worded the
// same in the window and on the command line, so that no file from an
// earlier run can pass for this run's.
#pragma once

#include <string>
#include <vector>

#include "run/collection.h"

namespace pellimar {

enum class OutputFate {
    Converted,      // written by this run
    LeftAsItWas,    // a file from an earlier run, untouched
    NotWritten,     // nothing stood under its name, and nothing does
    Removed,        // written in place over an earlier file, then removed
    HoldsPartToCancel,
    HoldsPartToFailure,
};

// "converted by this run", "left as it was, from an earlier run", ...
std::string FateWords(OutputFate fate);

// For each output, whether a file stands under its name now: asked before
// the run, it tells an earlier run's file from none.
std::vector<bool> OutputsStanding(const std::vector<CollectionFile>& files);

// A file converted, failed or not run; `stood` says a file stood under its
// output's name before the run.
OutputFate FateOf(const FileOutcome& outcome, bool stood);

// The output of the file a cancel cut short, once what it wrote was thrown
// away or kept.
OutputFate FateOfSettled(const OutputFile& partial);

}  // namespace pellimar
