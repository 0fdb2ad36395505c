// The operating system's file calls under the streams: one small interface,
// built from native_file_posix.cpp or native_file_win32.cpp, so that the
// streams above stay the same on every system.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <utility>

#include "streams/held_files.h"

namespace pellimar {

// A device is written in order, as is a pipe, which counts as one here.
enum class FileKind { Regular, Device, Folder, Other };

struct FileFacts {
    FileKind kind = FileKind::Other;
    FileIdentity identity;  // for regular files
    std::uint32_t links = 1;  // the names the file has
    // Its permissions let no one write it: the user made it read-only, which
    // holds for a privileged user too, whom the system would let write it.
    bool readOnly = false;
};

// What shows that a file changed: its size and the times the system keeps
// of its last changes, in the system's own units. POSIX gives the time of
// the last change of its data and of its inode (a rewrite that keeps the
// size and sets the time back still changes the second); Windows the size
// and last-write time of the open handle.
struct FileStamp {
    std::int64_t size = 0;
    std::int64_t modified = 0;
    std::int64_t changed = 0;
    bool operator==(const FileStamp&) const = default;
};

// Whether other programs are kept from writing a file while we read it.
enum class LeaseTaking {
    Held,
    // Another program has the file open for writing, or mapped so that it
    // can write it: what we would read may change at any moment.
    FileOpenForWriting,
    // Not granted: the file is another user's (without the right to lease
    // any file), its file system has no leases, or the system has none
    // (Windows, where the sharing asked for at opening keeps writers out).
    Unavailable,
};

// An open file, closed when the object goes. Every call that fails leaves
// the reason for LastFailureReason.
class NativeFile {
public:
    NativeFile() = default;
    ~NativeFile() { Close(); }
    NativeFile(NativeFile&& other) noexcept : handle_(std::exchange(other.handle_, kClosed)) {}
    NativeFile& operator=(NativeFile&& other) noexcept
    {
        if (this != &other) {
            Close();
            handle_ = std::exchange(other.handle_, kClosed);
        }
        return *this;
    }
    NativeFile(const NativeFile&) = delete;
    NativeFile& operator=(const NativeFile&) = delete;

    // An existing file, for reading; on Windows shared with readers only.
    static NativeFile OpenForReading(const std::string& name);
    // A file for reading and writing, created when missing (`created` says
    // so) and left as it is otherwise; on Windows shared with no one.
    static NativeFile OpenForWriting(const std::string& name, bool& created);
    // An existing file, for writing only and left as it is, to hold it and
    // to test the right to write it; on Windows shared with no one.
    static NativeFile OpenExistingForWriting(const std::string& name);
    // An existing file, for reading and writing and left as it is, to be
    // rewritten where it stands; on Windows shared with no one.
    static NativeFile OpenExistingForUpdate(const std::string& name);
    // A copy of the process's standard input or output, to be read or
    // written in order.
    static NativeFile DuplicateStandardInput();
    static NativeFile DuplicateStandardOutput();

    // Takes over a descriptor or handle that the file layer opened itself.
    static NativeFile Adopt(std::intptr_t handle) { return NativeFile(handle); }
    // A second handle of the same open file, sharing its position; closed
    // when missing.
    NativeFile Duplicate() const;

    bool IsOpen() const { return handle_ != kClosed; }
    // The descriptor or handle, for the file layer's own platform code.
    std::intptr_t Handle() const { return handle_; }
    std::optional<FileFacts> Facts() const;
    std::optional<std::int64_t> Size() const;
    std::optional<FileStamp> Stamp() const;

    // Bytes transferred, 0 at the end of the data (a closed pipe included),
    // -1 on failure. A call may transfer fewer bytes than asked.
    std::int64_t ReadAt(void* into, std::int64_t count, std::int64_t offset);
    std::int64_t ReadNext(void* into, std::int64_t count);
    std::int64_t WriteAt(const void* from, std::int64_t count, std::int64_t offset);
    std::int64_t WriteNext(const void* from, std::int64_t count);

    // Cuts the file to nothing, or to `size` bytes.
    bool Truncate();
    bool CutTo(std::int64_t size);
    // Brings the file's bytes to the disk.
    bool Sync();
    // Asks the system to start writing the range to the disk now, without
    // waiting for it, so that the final Sync has less left to wait for. A
    // hint: nothing happens where the system has no such request.
    void StartWriteBack(std::int64_t offset, std::int64_t count);
    // Locks the file against other programs without waiting; false when
    // another program holds a lock on it. A file system without locks does
    // not stop us, and on Windows the sharing asked for at opening already
    // keeps the others out.
    bool LockAgainstOtherPrograms();
    // The same against writers only: other readers may read it too.
    bool LockAgainstWriters();
    // A lock binds only the programs that ask for one. A file opened for
    // reading can also be leased, which binds every program: one that opens
    // it for writing, or cuts it, breaks the lease, and this file lets go
    // at once, so that the writer waits for nothing.
    LeaseTaking TakeReadLease();
    // True once another program broke the lease.
    bool ReadLeaseBroken() const;
    // False when the system reports an error at closing (for a written file:
    // the bytes may not have arrived). The file is closed in any case.
    bool Close();

private:
    static constexpr std::intptr_t kClosed = -1;
    explicit NativeFile(std::intptr_t handle) : handle_(handle) {}

    std::intptr_t handle_ = kClosed;  // a descriptor, or a Windows handle
};

// Why the last failed call of this layer failed, phrased for users
// ("permission denied", "no such folder"); `creating` tells a missing
// folder from a missing file.
std::string LastFailureReason(bool creating = false);
// True when that failure was another opener's hold on the file: Windows
// refuses to open what others hold without sharing. Never on POSIX, where
// holds are locks taken after opening.
bool LastFailureWasSharing();

// The identity of the file a name stands for, asked without opening it for
// reading or writing (which its holder may refuse); nothing when the name
// stands for no file.
std::optional<FileIdentity> IdentityOfName(const std::string& name);

// Why the existing file `name` could not be opened to be written, found
// without changing it or keeping it from others: from its permissions and
// another program's lock on POSIX, which it does not open for writing; on
// Windows from an opening for writing that shares everything and is closed
// at once. Empty when it could.
std::string WhyNotWritable(const std::string& name);

// True when another program holds a lock on the file `name`, a reader's or
// a writer's: asked without opening it for writing, which would break a
// reader's lease. Never on Windows, where the sharing asked for at opening
// keeps others out.
bool LockedByAnotherProgram(const std::string& name);

// Removes a file by name; false when it could not be removed.
bool RemoveFile(const std::string& name);

// A new temporary file open for reading and writing, removed when closed;
// null when none can be made.
std::FILE* OpenTemporaryFile();

}  // namespace pellimar
