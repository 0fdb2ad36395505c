// What the command line tells the user besides the summary, the same for a
// single run and a collection: errors in the GNU form, the notes said
// before a run, and what became of the output of a cancelled run.
#pragma once

#include <string>

#include "engine/conversion.h"
#include "run/output_fates.h"
#include "run/run_checks.h"
#include "streams/exceptions.h"
#include "streams/output_file.h"
#include "streams/output_forecast.h"

namespace pellimar::cli {

inline constexpr const char* kProgram = "pellimar-cli";

// What the window calls by its boxes' names, named by the options that
// give it here.
inline constexpr const char* kRefPatternNamed = "the reference pattern (-r, --ref-pattern)";
inline constexpr const char* kPagePatternNamed = "the page-number pattern (-p, --page-pattern)";
// A check's message and reason with the options named where the window
// names its boxes.
void InCliWords(RunCheckFailure failure, char missingToken, std::string& message, std::string& reason);

// "pellimar-cli: FILE: TEXT: REASON" on standard error, leaving out what is
// not known; a reason after a text that ends a sentence goes in parentheses.
void ReportError(const std::string& text, const ErrorContext& context = {});

// Said once the run is sure to go ahead, before the first byte is read:
// what it costs the file under the output's name.
void ForetellWhatIsLost(const std::string& outputPath);

// After a failure: an output written in place holds what came before it.
void NoteFailedInPlace(const std::string& outputPath);

// A collection's output after a cancel: "DIR/a.fff: converted by this run".
void ReportFate(const std::string& outputPath, OutputFate fate);

}  // namespace pellimar::cli
