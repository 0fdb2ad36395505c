// The cost of replacing an output.
#include "window_model/output_replacement.h"

#include "streams/output_file.h"

namespace pellimar {

std::string WhatReplacingLoses(const std::string& path)
{
    const OutputOutlook outlook = ForeseeOutput(path);
    std::string note;
    if (outlook.earlierLost)
        note = "No new file can take its place (" + outlook.whyInPlace +
               "): it will be written in place, and what it holds now is lost as soon as the run starts; a cancel "
               "or a failure leaves a partial file under its name.";
    // What is lost may end in a name ("its extended attribute user.x"),
    // which a full stop would seem to be part of.
    for (const std::string& lost : outlook.notKept)
        note += (note.empty() ? "" : "\r") + std::string("The new file cannot keep ") + lost;
    return note;
}

}  // namespace pellimar
