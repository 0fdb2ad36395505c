// The stop check of the file layer.
#include "streams/stop_request.h"

#include <atomic>

namespace pellimar {
namespace {

std::atomic<StopCheck> stopCheck{nullptr};

}  // namespace

void SetStopCheck(StopCheck check)
{
    stopCheck = check;
}

bool StopRequested()
{
    const StopCheck check = stopCheck;
    return check != nullptr && check();
}

}  // namespace pellimar
