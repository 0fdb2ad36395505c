// The armed faults of the file layer's seam.
#include "streams/file_faults.h"

#include <array>
#include <atomic>
#include <utility>
#include <mutex>

namespace pellimar {
namespace {

struct ArmedFault {
    bool armed = false;
    int error = 0;
    int skip = 0;
    int times = 0;
};

struct ArmedSignal {
    void (*arrive)() = nullptr;
    int skip = 0;
};

constexpr std::size_t kCallKinds = static_cast<std::size_t>(FileCall::Remove) + 1;
// Several runs may make their calls at once, each on its own thread.
std::mutex armedLock;
std::array<ArmedFault, kCallKinds> faults;
std::array<ArmedSignal, kCallKinds> signals;
std::atomic<bool> anyArmed{false};

// The handler of a signal armed for this call, when it arrives now.
void (*SignalArriving(FileCall call))()
{
    ArmedSignal& signal = signals[static_cast<std::size_t>(call)];
    if (signal.arrive == nullptr || signal.skip-- > 0)
        return nullptr;
    return std::exchange(signal.arrive, nullptr);
}

}  // namespace

void ArmFileFault(FileCall call, int error, int skip, int times)
{
    const std::lock_guard lock(armedLock);
    faults[static_cast<std::size_t>(call)] = {times > 0, error, skip, times};
    anyArmed = true;
}

void ArmFileSignal(FileCall call, void (*arrive)(), int skip)
{
    const std::lock_guard lock(armedLock);
    signals[static_cast<std::size_t>(call)] = {arrive, skip};
    anyArmed = true;
}

void DisarmFileFaults()
{
    const std::lock_guard lock(armedLock);
    faults = {};
    signals = {};
    anyArmed = false;
}

bool FileFaultStrikes(FileCall call, int& error)
{
    if (!anyArmed.load(std::memory_order_relaxed))
        return false;
    void (*arrive)() = nullptr;
    {
        const std::lock_guard lock(armedLock);
        arrive = SignalArriving(call);
    }
    // Outside the lock: the handler may arm or disarm.
    if (arrive != nullptr)
        arrive();
    const std::lock_guard lock(armedLock);
    ArmedFault& fault = faults[static_cast<std::size_t>(call)];
    if (!fault.armed)
        return false;
    if (fault.skip > 0) {
        --fault.skip;
        return false;
    }
    fault.armed = --fault.times > 0;
    error = fault.error;
    return true;
}

}  // namespace pellimar
