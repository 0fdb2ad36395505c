// What the command line tells the user besides the summary, the same for a
// single run and a collection: errors in the GNU form, the notes said
// before a run, and what became of the output of a cancelled run.
#pragma once

#include <string>

#include "engine/conversion.h"
#include "streams/exceptions.h"
#include "streams/output_file.h"

namespace pellimar::cli {

inline constexpr const char* kProgram = "pellimar-cli";

// "pellimar-cli: FILE: TEXT: REASON" on standard error, leaving out what is
// not known; a reason after a text that ends a sentence goes in parentheses.
void ReportError(const std::string& text, const ErrorContext& context = {});

// Said once the run is sure to go ahead, before the first byte is read:
// what it costs the file under the output's name.
void NoteWhatIsLost(const OutputFile& output);
// The same, foreseen for each output of a collection before any is run.
void ForetellWhatIsLost(const std::string& outputPath);

// Throws away what a cancelled run into `outputPath` wrote and says what
// became of it.
void ReportCancelled(RunResult& result, const std::string& outputPath);

// After a failure: an output written in place holds what came before it.
void NoteFailedInPlace(const std::string& outputPath);

}  // namespace pellimar::cli
