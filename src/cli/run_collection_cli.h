// A collection from the command line: every INPUT converted into one
// folder, checked as a whole before anything is written, then one line a
// file and a total.
#pragma once

#include "cli/configuration.h"

namespace pellimar::cli {

// The exit status: 0 when every file was converted, 1 when the checks
// refused the run or a file failed, 130 when interrupted.
int ConvertCollection(const Configuration& configuration);

}  // namespace pellimar::cli
