// A collection's host on the pass's side. The run's calls go to the
// window's host as a single run's do (carried over to the window's thread
// where the pass has a thread of its own); a file's start is noted for the
// caption and shown at once, by repeating the last progress step.
#pragma once

#include <cstdint>

#include "run/collection.h"
#include "window_model/collection_shown.h"

namespace pellimar {

class CollectionPassHost : public CollectionHost {
public:
    CollectionPassHost(RunHost& host, CollectionShown& shown) : host_(host), shown_(shown) {}

    void FileStarted(std::size_t index) override;
    void EnterRunning() override { host_.EnterRunning(); }
    void ProgressChanged(std::int32_t runPercent, std::int64_t bytesConsumed) override;
    void LeaveRunning() override { host_.LeaveRunning(); }
    std::optional<std::string> AskStartingPage(const PagePrompt& prompt) override
    {
        return host_.AskStartingPage(prompt);
    }
    bool SwitchOn(RunSwitch runSwitch) const override { return host_.SwitchOn(runSwitch); }
    bool CancelRequested() const override { return host_.CancelRequested(); }

private:
    RunHost& host_;
    CollectionShown& shown_;
    std::int32_t lastPercent_ = 0;
    std::int64_t lastBytes_ = 0;
};

}  // namespace pellimar
