// The armed faults of the file layer's seam.
#include "streams/file_faults.h"

#include <array>
#include <atomic>
#include <mutex>

namespace pellimar {
namespace {

struct ArmedFault {
    bool armed = false;
    int error = 0;
    int skip = 0;
    int times = 0;
    FileEvent event = nullptr;  // instead of the failure
};

constexpr std::size_t kCallKinds = static_cast<std::size_t>(FileCall::Remove) + 1;
// Several runs may make their calls at once, each on its own thread.
std::mutex armedLock;
std::array<ArmedFault, kCallKinds> faults;
std::atomic<bool> anyArmed{false};

}  // namespace

void ArmFileFault(FileCall call, int error, int skip, int times)
{
    const std::lock_guard lock(armedLock);
    faults[static_cast<std::size_t>(call)] = {times > 0, error, skip, times};
    anyArmed = true;
}

void ArmFileEvent(FileCall call, FileEvent event, int skip)
{
    const std::lock_guard lock(armedLock);
    faults[static_cast<std::size_t>(call)] = {true, 0, skip, 1, event};
    anyArmed = true;
}

void DisarmFileFaults()
{
    const std::lock_guard lock(armedLock);
    faults = {};
    anyArmed = false;
}

bool FileFaultStrikes(FileCall call, int& error)
{
    if (!anyArmed.load(std::memory_order_relaxed))
        return false;
    FileEvent event = nullptr;
    {
        const std::lock_guard lock(armedLock);
        ArmedFault& fault = faults[static_cast<std::size_t>(call)];
        if (!fault.armed)
            return false;
        if (fault.skip > 0) {
            --fault.skip;
            return false;
        }
        fault.armed = --fault.times > 0;
        if (fault.event == nullptr) {
            error = fault.error;
            return true;
        }
        event = fault.event;
    }
    event();
    return false;
}

}  // namespace pellimar
