// Starts another program with CreateProcessW, without waiting for it.
#pragma once

#include "window_model/program_launcher.h"

namespace pellimar {

class ProcessLauncherWin32 : public ProgramLauncher {
public:
    void Start(const std::string& program, const std::string& argument) override;
};

}  // namespace pellimar
