// The armed faults of the file layer's seam.
#include "streams/file_faults.h"

#include <array>

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
std::array<ArmedFault, kCallKinds> faults;
bool anyArmed = false;

}  // namespace

void ArmFileFault(FileCall call, int error, int skip, int times)
{
    faults[static_cast<std::size_t>(call)] = {times > 0, error, skip, times};
    anyArmed = true;
}

void ArmFileEvent(FileCall call, FileEvent event, int skip)
{
    faults[static_cast<std::size_t>(call)] = {true, 0, skip, 1, event};
    anyArmed = true;
}

void DisarmFileFaults()
{
    faults = {};
    anyArmed = false;
}

bool FileFaultStrikes(FileCall call, int& error)
{
    if (!anyArmed)
        return false;
    ArmedFault& fault = faults[static_cast<std::size_t>(call)];
    if (!fault.armed)
        return false;
    if (fault.skip > 0) {
        --fault.skip;
        return false;
    }
    fault.armed = --fault.times > 0;
    if (fault.event != nullptr) {
        fault.event();
        return false;
    }
    error = fault.error;
    return true;
}

}  // namespace pellimar
