// Whether the wide scans may be used: the processor is asked once.
#include "streams/byte_scan.h"

#include <atomic>

namespace pellimar {
namespace {

bool ProcessorHasWideCompares()
{
#if defined(__x86_64__) || defined(__i386__)
    return __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}

std::atomic<bool> wideScansOff{false};

}  // namespace

bool WideScansAvailable()
{
    static const bool hasThem = ProcessorHasWideCompares();
    return hasThem && !wideScansOff.load(std::memory_order_relaxed);
}

void TurnOffWideScans(bool off)
{
    wideScansOff.store(off, std::memory_order_relaxed);
}

}  // namespace pellimar
