// A run's host for a pass that goes on a thread of its own: every call that
// shows or asks something is carried over to the host's thread, and the
// switches and the cancel flag are read there at the same moments. The pass
// sees them change only where it would with the host itself: at a progress
// step or the page question.
#pragma once

#include <array>
#include <functional>

#include "engine/run_host.h"

namespace pellimar {

class RelayedHost : public RunHost {
public:
    // Runs a call on the host's thread and returns once it is done there.
    using Relay = std::function<void(const std::function<void()>& call)>;

    // Made on the host's thread, which it reads the switches from at once.
    RelayedHost(RunHost& host, Relay relay);

    void EnterRunning() override;
    void ProgressChanged(std::int32_t runPercent, std::int64_t bytesConsumed) override;
    void LeaveRunning() override;
    std::optional<std::string> AskStartingPage(const PagePrompt& prompt) override;
    bool SwitchOn(RunSwitch runSwitch) const override { return switches_[static_cast<int>(runSwitch)]; }
    bool CancelRequested() const override { return cancelRequested_; }

private:
    // An error raised on the host's thread is raised again on the pass's.
    void Relayed(const std::function<void()>& call);
    void ReadSwitches();

    RunHost& host_;
    Relay relay_;
    std::array<bool, kRunSwitchCount> switches_{};
    bool cancelRequested_ = false;
};

}  // namespace pellimar
