// The progress of a run on the window's taskbar button, as Windows shows
// long work: through the shell's taskbar interface, made at first use.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

struct ITaskbarList3;

namespace pellimar {

class TaskbarProgress {
public:
    TaskbarProgress() = default;
    ~TaskbarProgress();
    TaskbarProgress(const TaskbarProgress&) = delete;
    TaskbarProgress& operator=(const TaskbarProgress&) = delete;

    // A whole percentage, or nothing to take the progress off the button. A
    // system without the interface shows nothing, and the run goes on.
    void Show(HWND window, std::optional<std::int32_t> percent);
    // What the button was last told, for tests.
    std::optional<std::int32_t> Shown() const { return shown_; }

private:
    ITaskbarList3* taskbar_ = nullptr;
    bool comStarted_ = false;
    bool tried_ = false;
    std::optional<std::int32_t> shown_;
};

}  // namespace pellimar
