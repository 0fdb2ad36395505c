// The local time of day from the standard library.
#include "run/local_clock.h"

#include <chrono>
#include <ctime>

namespace pellimar {

std::int64_t LocalTimeOfDayMs()
{
    using namespace std::chrono;
    const system_clock::time_point now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const std::int64_t millisecond = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    // Read and copied at once: the result lives in the library's own buffer.
    const std::tm local = *std::localtime(&seconds);
    return ((local.tm_hour * 60LL + local.tm_min) * 60 + local.tm_sec) * 1000 + millisecond;
}

}  // namespace pellimar
