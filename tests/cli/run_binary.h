// Runs a program with arguments and captures its exit status and output.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "streams/file_names.h"

namespace pellimar::testing {

struct ProgramRun {
    int status = -1;  // exit status, or 128 + signal
    std::string out;
    std::string err;
};

struct ProgramSetup {
    std::uint64_t fileSizeLimit = 0;     // when not zero, caps the size of the files it writes (POSIX)
    std::string input = kNullDevice;     // its standard input
    std::string output;                  // its standard output; empty: captured in ProgramRun::out
    bool unprivileged = false;           // run as "nobody" when the tests run as root (POSIX)
};

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const ProgramSetup& setup = {});

// The rest is POSIX only: signals and terminals.

// Sends the program `signal` (SIGINT, as Ctrl+C does, unless told) once
// `ready`, given the program's process id, says so (asked every
// millisecond), and returns what it did then.
ProgramRun RunProgramInterrupted(const std::string& program, const std::vector<std::string>& arguments,
                                 const std::function<bool(long)>& ready, int signal = 2);

// True when process `process` has a file open in `folder` that has no name
// there: the unnamed new file of a run.
bool HoldsUnnamedFileIn(long process, const std::string& folder);

// Runs the program with its standard error and output on a terminal of
// `columns` columns, and returns what the terminal received.
std::string RunProgramOnTerminal(const std::string& program, const std::vector<std::string>& arguments, int columns);

}  // namespace pellimar::testing
