// The taskbar button's progress.
#include "window_win32/taskbar_progress_win32.h"

#include <shobjidl.h>

#include <algorithm>

namespace pellimar {

TaskbarProgress::~TaskbarProgress()
{
    if (taskbar_ != nullptr)
        taskbar_->Release();
    if (comStarted_)
        CoUninitialize();
}

void TaskbarProgress::Show(HWND window, std::optional<std::int32_t> percent)
{
    shown_ = percent;
    if (!tried_) {
        tried_ = true;
        comStarted_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&taskbar_))) ||
            FAILED(taskbar_->HrInit())) {
            if (taskbar_ != nullptr)
                taskbar_->Release();
            taskbar_ = nullptr;
        }
    }
    if (taskbar_ == nullptr)
        return;
    if (!percent) {
        taskbar_->SetProgressState(window, TBPF_NOPROGRESS);
        return;
    }
    taskbar_->SetProgressState(window, TBPF_NORMAL);
    taskbar_->SetProgressValue(window, static_cast<ULONGLONG>(std::clamp(*percent, 0, 100)), 100);
}

}  // namespace pellimar
