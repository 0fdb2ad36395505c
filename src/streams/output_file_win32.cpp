// The run's output under a temporary name, put in place by MoveFileExW
// (Windows).
#include <windows.h>

#include <atomic>

#include "streams/file_names.h"
#include "streams/output_file.h"
#include "streams/wide_names.h"

namespace pellimar {
namespace {

// Devices such as NUL have no attributes to ask for, but they open.
bool NameTaken(const std::string& name)
{
    const std::wstring wide = WideOfName(name);
    if (GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES)
        return true;
    const HANDLE handle = CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(handle);
    return true;
}

// A new, empty file in the folder of `target`, named after it
// (".out.fff.pellimar-<process>-<n>"); empty when the folder takes none.
std::string CreateFileBeside(const std::string& target)
{
    static std::atomic<unsigned> counter{0};
    const std::filesystem::path path = PathOfName(target);
    const std::string stem = "." + NameOfPath(path.filename()) + ".pellimar-" + std::to_string(GetCurrentProcessId());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string leaf = stem + "-" + std::to_string(counter.fetch_add(1));
        const std::string name = NameOfPath(path.parent_path() / PathOfName(leaf));
        const HANDLE handle = CreateFileW(WideOfName(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
            return name;
        }
        if (GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    return {};
}

// The file's bytes on the disk; on failure the system's error stays the
// last one.
bool FlushToDisk(const std::string& name)
{
    const HANDLE handle = CreateFileW(WideOfName(name).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    const bool flushed = FlushFileBuffers(handle) != 0;
    const DWORD error = GetLastError();
    CloseHandle(handle);
    SetLastError(error);
    return flushed;
}

bool MoveOver(const std::string& from, const std::string& to)
{
    return MoveFileExW(WideOfName(from).c_str(), WideOfName(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace

OutputFile::OutputFile(std::string path) : path_(std::move(path))
{
    const std::optional<std::filesystem::path> target = FollowLinks(PathOfName(path_));
    if (!target)
        Fail("its links go round in a circle");
    target_ = NameOfPath(*target);
    if (NameTaken(target_)) {
        // A device such as NUL is written to directly.
        const FileKind kind = HoldExistingFile();
        if (kind == FileKind::Device) {
            ReleaseExistingFile();
            return;
        }
        if (kind != FileKind::Regular)
            Fail("it is not a regular file");
        replacesFile_ = true;
    }
    temporary_ = CreateFileBeside(target_);
    if (temporary_.empty())
        ReleaseExistingFile();
}

OutputFile::~OutputFile()
{
    if (!settled_ && !temporary_.empty())
        RemoveFile(temporary_);
    ReleaseExistingFile();
}

// On the disk before it takes the name, so that a crash of the system cannot
// leave an empty file where the old one stood. The replaced file is let go
// first: held without sharing, it would refuse the move.
void OutputFile::PutInPlace()
{
    if (settled_ || temporary_.empty())
        return;
    const bool flushed = FlushToDisk(temporary_);
    const DWORD error = GetLastError();
    ReleaseExistingFile();
    SetLastError(error);
    settled_ = true;
    if (!flushed || !MoveOver(temporary_, target_)) {
        const std::string reason = LastFailureReason(true);
        RemoveFile(temporary_);
        Fail(reason);
    }
}

// Undoing a write in place removes a file, never a device such as NUL,
// which has no identity.
void OutputFile::Discard()
{
    if (settled_)
        return;
    settled_ = true;
    ReleaseExistingFile();
    if (!temporary_.empty())
        RemoveFile(temporary_);
    else if (IdentityOfName(target_))
        RemoveFile(target_);
}

}  // namespace pellimar
