// A full disk for the settings files' failure tests, made through the file
// layer's seam so that it works the same on every system and for root.
#pragma once

#include <climits>

#include "streams/file_faults.h"

namespace pellimar::testing {

// While it lives, every write of this process fails as on a full disk.
class FullDisk {
public:
    FullDisk() { ArmFileFault(FileCall::Write, kDiskFullError, 0, INT_MAX); }
    ~FullDisk() { DisarmFileFaults(); }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;
};

}  // namespace pellimar::testing
