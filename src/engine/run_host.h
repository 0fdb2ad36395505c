// How the conversion pass reaches its caller: the window or the command line
// supplies the running-state hooks, the starting-page question, the live
// preference switches and the cancel flag.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/run_switches.h"

namespace pellimar {

class OutputFile;

struct PagePrompt {
    std::string title = "Input Page Number";
    std::string prompt = "Please enter a starting page number:";
    std::string defaultText = "1";
};

class RunHost {
public:
    virtual ~RunHost() = default;

    // Once the input is open, before the output is created. LeaveRunning is
    // then guaranteed, whatever ends the run.
    virtual void EnterRunning() = 0;
    // After a step that changed the whole percentage of the input consumed;
    // for an input without a size (a pipe) the percentage is -1 and the call
    // comes after each further megabyte. The only point (besides the page
    // question) where the switches and the cancel flag may change.
    virtual void ProgressChanged(std::int32_t runPercent, std::int64_t bytesConsumed) = 0;
    virtual void LeaveRunning() = 0;
    // Once the output file has passed every check and its stream is open,
    // before the first byte is read; not for standard output.
    virtual void OutputOpened(const OutputFile&) {}

    // The answer typed, or nothing when the question was cancelled.
    virtual std::optional<std::string> AskStartingPage(const PagePrompt& prompt) = 0;

    virtual bool SwitchOn(RunSwitch runSwitch) const = 0;
    virtual bool CancelRequested() const = 0;
};

}  // namespace pellimar
