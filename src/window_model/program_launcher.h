// Starts another program without waiting for it.
#pragma once

#include <string>

namespace pellimar {

class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    // The argument reaches the program as one argument, blanks and all. A
    // program that cannot be started is not reported.
    virtual void Start(const std::string& program, const std::string& argument) = 0;
};

}  // namespace pellimar
