// The local time of day, which the run's time readouts count in.
#pragma once

#include <cstdint>

namespace pellimar {

// Milliseconds since local midnight.
std::int64_t LocalTimeOfDayMs();

}  // namespace pellimar
