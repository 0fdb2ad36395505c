// A seam through which tests make the file layer's system calls fail on
// demand, or a signal arrive just before one, so that every failure path can
// be tried without root, a full disk or a race. Nothing is armed in an
// ordinary run, and then the file layer pays one test of a flag per call.
#pragma once

namespace pellimar {

enum class FileCall {
    Open,          // opening or creating a file by its name (Windows)
    CreateUnnamed, // making it without a name (EOPNOTSUPP: the file system has none)
    CreateBeside,  // making the new file that will replace another, under a name
    Write,         // a write to any file
    Sync,          // bringing a file's bytes to the disk
    PutInPlace,    // giving the new file the name of the one it replaces
    Remove,        // removing a file by name
};

// The failure to report is the system's error number (errno on POSIX, a
// GetLastError value on Windows); kShortTransfer makes a write take only
// half of what it was given, which is no error.
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
// Just before the next call of that kind after `skip` ones, `arrive` is
// called (a stand-in for a signal's handler, on the thread making the call),
// once; the call then goes on as usual. One per kind of call.
void ArmFileSignal(FileCall call, void (*arrive)(), int skip = 0);
void DisarmFileFaults();

// For the file layer: true when an armed fault strikes this call; `error`
// is then what to report.
bool FileFaultStrikes(FileCall call, int& error);

}  // namespace pellimar
