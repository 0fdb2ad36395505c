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

// fileSizeLimit, when not zero, caps the size of files the program writes.
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      rlim_t fileSizeLimit = 0);

// Sends the program SIGINT, as Ctrl+C does, once `ready` says so (asked
// every millisecond), and returns what it did then.
ProgramRun RunProgramInterrupted(const std::string& program, const std::vector<std::string>& arguments,
                                 const std::function<bool()>& ready);

}  // namespace pellimar::testing
