// The checks made before a run, the same for the window and the command
// line: each says what stops the run and the text the user is shown.
#pragma once

#include <string>

#include "engine/run_settings.h"
#include "streams/held_files.h"

namespace pellimar {

inline constexpr const char* kInputFileNotFound = "Input file not found.";

enum class RunCheckFailure {
    None,
    InputNotFound,          // no file under the input's name
    InputIsFolder,
    InputIsDevice,          // a name Windows takes for a device
    PatternSourceMissing,   // a "#" or level digit whose box is empty
    PagePatternWithoutHash, // the reference shows the page, the marker has no "#"
    ReferencesUnrecognisable, // a later run could not take its references back
    OutputIsDevice,         // a name Windows takes for a device, not the device alone
    OutputIsFolder,
    OutputIsInput,          // through a link or another spelling of its path
};

struct RunCheck {
    RunCheckFailure failure = RunCheckFailure::None;
    std::string message;  // empty when the check passed
    std::string file;     // the file it concerns, if any
    std::string reason;   // why: "it is a folder", or which source the pattern lacks
    // PatternSourceMissing: the pattern's token whose source is missing,
    // "#" or a level digit, for a front end to name its own box or option.
    char missingToken = 0;

    bool Passed() const { return failure == RunCheckFailure::None; }
    // The failure is the input's own, not that of the settings shared by
    // every file of a collection.
    bool OfInput() const
    {
        return failure == RunCheckFailure::InputNotFound || failure == RunCheckFailure::InputIsFolder ||
               failure == RunCheckFailure::InputIsDevice;
    }
};

// The input file (unless it is standard input), then the sources of the
// reference pattern, then the page-number pattern, then whether a later run
// could recognise the references the pattern makes; the first that fails is
// reported.
RunCheck CheckRunInputs(const RunSettings& settings);

// The output's name (unless it is standard output), then a folder under it,
// then the input under it; the first that fails is reported.
RunCheck CheckRunOutput(const RunSettings& settings);

// True when both names lead to one existing file, through a symbolic or
// hard link, a bind mount or another spelling of the path: writing the
// output would destroy the input.
bool OutputIsInput(const std::string& inputPath, const std::string& outputPath);

// True when something stands under the output's name that a run would
// replace, a link that points nowhere included; not a device or a pipe,
// which a run writes into.
bool OutputExists(const std::string& path);

// True when the output's name stands for a folder, through links too: no
// run can replace it.
bool OutputIsFolder(const std::string& path);

}  // namespace pellimar
