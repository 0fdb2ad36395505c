// A seam through which tests make the file layer's system calls fail on
// demand, or make something happen at the moment of a call (a signal
// arriving), so that every failure path and every race can be tried without
// root, a full disk or luck. Nothing is armed in an ordinary run, and then
// the file layer pays one test of a flag per call.
#pragma once

namespace pellimar {

enum class FileCall {
    Open,          // opening or creating a file by its name (Windows)
    CreateUnnamed, // making it without a name (EOPNOTSUPP: the file system has none)
    CreateBeside,  // making the new file that will replace another, under a name
    Read,          // a read from any file
    Write,         // a write to any file
    Sync,          // bringing a file's bytes to the disk
    PutInPlace,    // giving the new file the name of the one it replaces
    Lease,         // leasing a file against writers (POSIX)
    Remove,        // removing a file by name
};

// The failure to report is the system's error number (errno on POSIX, a
// GetLastError value on Windows); kShortTransfer makes a read or write move
// only half of what it was asked, which is no error.
inline constexpr int kShortTransfer = 0;
// The system's errors for a full disk and for a refused access.
#ifdef _WIN32
inline constexpr int kDiskFullError = 112;     // ERROR_DISK_FULL
inline constexpr int kAccessDeniedError = 5;   // ERROR_ACCESS_DENIED
#else
inline constexpr int kDiskFullError = 28;      // ENOSPC
inline constexpr int kAccessDeniedError = 13;  // EACCES
#endif

// The next `times` calls of that kind after `skip` successful ones fail with
// `error`. One fault can be armed per kind of call.
void ArmFileFault(FileCall call, int error, int skip = 0, int times = 1);
// Instead of a failure, `event` runs as the next call of that kind after
// `skip` others starts (on the thread making the call, outside the seam's
// lock, so that it may arm or disarm), and the call then goes ahead as usual.
using FileEvent = void (*)();
void ArmFileEvent(FileCall call, FileEvent event, int skip = 0);
void DisarmFileFaults();

// For the file layer: true when an armed fault strikes this call; `error`
// is then what to report. An armed event runs here.
bool FileFaultStrikes(FileCall call, int& error);

}  // namespace pellimar
