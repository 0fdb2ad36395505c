// Runs a program with arguments and captures its exit status and output.
#pragma once

#include <functional>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace pellimar::testing {

struct ProgramRun {
    int status = -1;  // exit status, or 128 + signal
    std::string out;
    std::string err;
};

struct ProgramSetup {
    rlim_t fileSizeLimit = 0;            // when not zero, caps the size of the files it writes
    std::string input = "/dev/null";     // its standard input
    std::string output;                  // its standard output; empty: captured in ProgramRun::out
    bool unprivileged = false;           // run as "nobody" when the tests run as root
};

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const ProgramSetup& setup = {});
// fileSizeLimit, when not zero, caps the size of files the program writes.
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments, rlim_t fileSizeLimit);

// Sends the program SIGINT, as Ctrl+C does, once `ready` says so (asked
// every millisecond), and returns what it did then.
ProgramRun RunProgramInterrupted(const std::string& program, const std::vector<std::string>& arguments,
                                 const std::function<bool()>& ready);

// Runs the program with its standard error and output on a terminal of
// `columns` columns, and returns what the terminal received.
std::string RunProgramOnTerminal(const std::string& program, const std::vector<std::string>& arguments, int columns);

}  // namespace pellimar::testing
