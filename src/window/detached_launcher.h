// Starts the viewer through Qt, without waiting for it.
#pragma once

#include "window_model/program_launcher.h"

namespace pellimar {

class DetachedLauncher : public ProgramLauncher {
public:
    void Start(const std::string& program, const std::string& argument) override;
};

}  // namespace pellimar
