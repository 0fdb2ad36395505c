// The calls of a pass on its own thread, carried over to its host's.
#include "window_model/relayed_host.h"

#include <exception>
#include <utility>

namespace pellimar {

RelayedHost::RelayedHost(RunHost& host, Relay relay) : host_(host), relay_(std::move(relay))
{
    ReadSwitches();
}

void RelayedHost::EnterRunning()
{
    Relayed([this] { host_.EnterRunning(); });
}

void RelayedHost::ProgressChanged(std::int32_t runPercent, std::int64_t bytesConsumed)
{
    Relayed([&] { host_.ProgressChanged(runPercent, bytesConsumed); });
}

void RelayedHost::LeaveRunning()
{
    Relayed([this] { host_.LeaveRunning(); });
}

std::optional<std::string> RelayedHost::AskStartingPage(const PagePrompt& prompt)
{
    std::optional<std::string> answer;
    Relayed([&] { answer = host_.AskStartingPage(prompt); });
    return answer;
}

void RelayedHost::Relayed(const std::function<void()>& call)
{
    std::exception_ptr error;
    relay_([&] {
        try {
            call();
            ReadSwitches();
        } catch (...) {
            error = std::current_exception();
        }
    });
    if (error)
        std::rethrow_exception(error);
}

void RelayedHost::ReadSwitches()
{
    for (int i = 0; i < kRunSwitchCount; ++i)
        switches_[i] = host_.SwitchOn(static_cast<RunSwitch>(i));
    cancelRequested_ = host_.CancelRequested();
}

}  // namespace pellimar
