// Read leases on Linux: the system's promise that no other program opens a
// file for writing, or cuts it, while we read it, without our being told
// first. The file layer takes one on every file it reads.
#pragma once

#include "streams/native_file.h"

namespace pellimar {

// Leases the file open for reading as `fd`. A writer that opens the file
// later breaks the lease: it is let go at once, inside the signal that
// tells of it, so that the writer waits for nothing, and the break is kept
// for ReadLeaseBroken.
LeaseTaking TakeReadLease(int fd);
// True once another program broke the lease on `fd`.
bool ReadLeaseBroken(int fd);
// Lets the lease on `fd` go, if it has one; before `fd` is closed.
void DropReadLease(int fd);

}  // namespace pellimar
