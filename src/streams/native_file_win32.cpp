// The file layer on Windows: handles opened with the sharing each use
// allows, which is the exclusive access itself (an input shared with readers
// only, an output with no one), and names in UTF-16.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "streams/file_faults.h"
#include "streams/fresh_file_win32.h"
#include "streams/native_file.h"
#include "streams/wide_names.h"

namespace pellimar {
namespace {

// ERROR_DIRECTORY_NOT_SUPPORTED, which mingw-w64's headers lack.
constexpr DWORD kErrorIsFolder = 336;
// The most one ReadFile or WriteFile is asked to move.
constexpr std::int64_t kLargestTransfer = 1 << 30;

HANDLE AsHandle(std::intptr_t handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

bool IsFolder(const std::wstring& name)
{
    const DWORD attributes = GetFileAttributesW(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

HANDLE CreateFileOrFault(const std::wstring& name, DWORD access, DWORD sharing, DWORD disposition)
{
    int error = 0;
    if (FileFaultStrikes(FileCall::Open, error)) {
        SetLastError(static_cast<DWORD>(error));
        return INVALID_HANDLE_VALUE;
    }
    return CreateFileW(name.c_str(), access, sharing, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// A folder refuses to open as a file with ERROR_ACCESS_DENIED, which would
// read as "permission denied". The folder test is a system call of its own
// that sets the error anew: the refusal's error is kept apart from it.
std::intptr_t Open(const std::string& name, DWORD access, DWORD sharing, DWORD disposition)
{
    const std::wstring wide = WideOfName(name);
    const HANDLE handle = CreateFileOrFault(wide, access, sharing, disposition);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        SetLastError(error == ERROR_ACCESS_DENIED && IsFolder(wide) ? kErrorIsFolder : error);
    }
    return reinterpret_cast<std::intptr_t>(handle);
}

std::intptr_t DuplicateStandard(DWORD standard)
{
    const HANDLE handle = GetStdHandle(standard);
    HANDLE copy = INVALID_HANDLE_VALUE;
    if (handle == nullptr)  // started without one
        SetLastError(ERROR_INVALID_HANDLE);
    else if (handle != INVALID_HANDLE_VALUE &&
             !DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS))
        copy = INVALID_HANDLE_VALUE;
    return reinterpret_cast<std::intptr_t>(copy);
}

OVERLAPPED At(std::int64_t offset)
{
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return at;
}

DWORD Portion(std::int64_t count)
{
    return static_cast<DWORD>(std::min(count, kLargestTransfer));
}

// A read past the end of a file, and a read from a pipe whose writer has
// gone, find the end of the data.
std::int64_t ReadResult(BOOL ok, DWORD done)
{
    if (ok)
        return done;
    const DWORD error = GetLastError();
    return error == ERROR_HANDLE_EOF || error == ERROR_BROKEN_PIPE ? 0 : -1;
}

std::int64_t WriteResult(BOOL ok, DWORD done)
{
    return ok ? static_cast<std::int64_t>(done) : -1;
}

// A transfer the test seam fails (true) or cuts short (`count` halved).
bool TransferFaultStrikes(FileCall call, std::int64_t& count)
{
    int error = 0;
    if (!FileFaultStrikes(call, error))
        return false;
    if (error != kShortTransfer) {
        SetLastError(static_cast<DWORD>(error));
        return true;
    }
    count = count > 1 ? count / 2 : count;
    return false;
}

// The system's own text, in the form of the other reasons: no capital, no
// full stop.
std::string SystemMessage(DWORD error)
{
    wchar_t text[512];
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                        text, sizeof text / sizeof text[0], nullptr);
    const std::wstring_view message(text, length);
    const std::size_t last = message.find_last_not_of(L"\r\n. ");
    if (last == std::wstring_view::npos)
        return "system error " + std::to_string(error);
    std::string reason = NameOfWide(message.substr(0, last + 1));
    if (reason[0] >= 'A' && reason[0] <= 'Z')
        reason[0] = static_cast<char>(reason[0] - 'A' + 'a');
    return reason;
}

std::string ReasonOfSystemError(DWORD error, bool creating)
{
    switch (error) {
    case ERROR_ACCESS_DENIED: return "permission denied";
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return creating ? "no such folder" : "no such file";
    case kErrorIsFolder: return "it is a folder";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return "no space left on the disk";
    case ERROR_FILE_TOO_LARGE: return "the file would be too large";
    case ERROR_WRITE_PROTECT: return "the disk is read-only";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return "another program has it open";
    case ERROR_BROKEN_PIPE:
    case ERROR_NO_DATA: return "broken pipe";
    default: return SystemMessage(error);
    }
}

}  // namespace

NativeFile NativeFile::OpenForReading(const std::string& name)
{
    return NativeFile(Open(name, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
}

NativeFile NativeFile::OpenForWriting(const std::string& name, bool& created)
{
    std::intptr_t handle = Open(name, GENERIC_READ | GENERIC_WRITE, 0, CREATE_NEW);
    created = handle != kClosed;
    if (!created && GetLastError() == ERROR_FILE_EXISTS)
        handle = Open(name, GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING);
    return NativeFile(handle);
}

NativeFile NativeFile::OpenExistingForWriting(const std::string& name)
{
    return NativeFile(Open(name, GENERIC_WRITE, 0, OPEN_EXISTING));
}

NativeFile NativeFile::OpenExistingForUpdate(const std::string& name)
{
    return NativeFile(Open(name, GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING));
}

NativeFile NativeFile::Duplicate() const
{
    HANDLE copy = INVALID_HANDLE_VALUE;
    if (!IsOpen() || !DuplicateHandle(GetCurrentProcess(), AsHandle(handle_), GetCurrentProcess(), &copy, 0, FALSE,
                                      DUPLICATE_SAME_ACCESS))
        copy = INVALID_HANDLE_VALUE;
    return NativeFile(reinterpret_cast<std::intptr_t>(copy));
}

NativeFile NativeFile::DuplicateStandardInput()
{
    return NativeFile(DuplicateStandard(STD_INPUT_HANDLE));
}

NativeFile NativeFile::DuplicateStandardOutput()
{
    return NativeFile(DuplicateStandard(STD_OUTPUT_HANDLE));
}

std::optional<FileFacts> NativeFile::Facts() const
{
    FileFacts facts;
    const DWORD type = GetFileType(AsHandle(handle_));
    if (type == FILE_TYPE_CHAR) {
        facts.kind = FileKind::Device;
    } else if (type == FILE_TYPE_DISK) {
        BY_HANDLE_FILE_INFORMATION info{};
        if (!GetFileInformationByHandle(AsHandle(handle_), &info))
            return std::nullopt;
        const bool folder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        facts.kind = folder ? FileKind::Folder : FileKind::Regular;
        facts.identity = {info.dwVolumeSerialNumber, std::uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow};
        facts.links = info.nNumberOfLinks;
    } else if (type == FILE_TYPE_UNKNOWN && GetLastError() != NO_ERROR) {
        return std::nullopt;
    }
    return facts;
}

std::optional<std::int64_t> NativeFile::Size() const
{
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(AsHandle(handle_), &size))
        return std::nullopt;
    return size.QuadPart;
}

std::optional<FileStamp> NativeFile::Stamp() const
{
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(AsHandle(handle_), &info))
        return std::nullopt;
    const auto size = static_cast<std::int64_t>(std::uint64_t{info.nFileSizeHigh} << 32 | info.nFileSizeLow);
    const auto written = static_cast<std::int64_t>(std::uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32 |
                                                   info.ftLastWriteTime.dwLowDateTime);
    return FileStamp{size, written, 0};
}

std::int64_t NativeFile::ReadAt(void* into, std::int64_t count, std::int64_t offset)
{
    if (TransferFaultStrikes(FileCall::Read, count))
        return -1;
    OVERLAPPED at = At(offset);
    DWORD done = 0;
    const BOOL ok = ReadFile(AsHandle(handle_), into, Portion(count), &done, &at);
    return ReadResult(ok, done);
}

std::int64_t NativeFile::ReadNext(void* into, std::int64_t count)
{
    if (TransferFaultStrikes(FileCall::Read, count))
        return -1;
    DWORD done = 0;
    const BOOL ok = ReadFile(AsHandle(handle_), into, Portion(count), &done, nullptr);
    return ReadResult(ok, done);
}

std::int64_t NativeFile::WriteAt(const void* from, std::int64_t count, std::int64_t offset)
{
    if (TransferFaultStrikes(FileCall::Write, count))
        return -1;
    OVERLAPPED at = At(offset);
    DWORD done = 0;
    const BOOL ok = WriteFile(AsHandle(handle_), from, Portion(count), &done, &at);
    return WriteResult(ok, done);
}

std::int64_t NativeFile::WriteNext(const void* from, std::int64_t count)
{
    if (TransferFaultStrikes(FileCall::Write, count))
        return -1;
    DWORD done = 0;
    const BOOL ok = WriteFile(AsHandle(handle_), from, Portion(count), &done, nullptr);
    return WriteResult(ok, done);
}

// Windows has no request to start writing back without waiting for it.
void NativeFile::StartWriteBack(std::int64_t, std::int64_t) {}

bool NativeFile::Sync()
{
    int error = 0;
    if (FileFaultStrikes(FileCall::Sync, error)) {
        SetLastError(static_cast<DWORD>(error));
        return false;
    }
    return FlushFileBuffers(AsHandle(handle_)) != 0;
}

bool NativeFile::Truncate()
{
    return CutTo(0);
}

bool NativeFile::CutTo(std::int64_t size)
{
    LARGE_INTEGER end{};
    end.QuadPart = size;
    return SetFilePointerEx(AsHandle(handle_), end, nullptr, FILE_BEGIN) && SetEndOfFile(AsHandle(handle_));
}

bool NativeFile::LockAgainstOtherPrograms()
{
    return true;
}

bool NativeFile::LockAgainstWriters()
{
    return true;
}

// No program can write what is opened shared with readers only: there is
// nothing more to take.
LeaseTaking NativeFile::TakeReadLease()
{
    return LeaseTaking::Unavailable;
}

bool NativeFile::ReadLeaseBroken() const
{
    return false;
}

bool NativeFile::Close()
{
    if (!IsOpen())
        return true;
    return CloseHandle(AsHandle(std::exchange(handle_, kClosed))) != 0;
}

std::string LastFailureReason(bool creating)
{
    return ReasonOfSystemError(GetLastError(), creating);
}

bool LastFailureWasSharing()
{
    return GetLastError() == ERROR_SHARING_VIOLATION;
}

// Asking for the attributes only conflicts with no other opener's sharing.
std::optional<FileIdentity> IdentityOfName(const std::string& name)
{
    const HANDLE handle = CreateFileW(WideOfName(name).c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = GetFileInformationByHandle(handle, &info) != 0;
    CloseHandle(handle);
    if (!known)
        return std::nullopt;
    return FileIdentity{info.dwVolumeSerialNumber, std::uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow};
}

// Opened for writing for a moment and shared with everyone, the file is
// neither changed nor kept from others, but its permissions, its read-only
// attribute and another opener who shares no writing all refuse it.
std::string WhyNotWritable(const std::string& name)
{
    const std::intptr_t handle =
        Open(name, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING);
    if (AsHandle(handle) == INVALID_HANDLE_VALUE)
        return LastFailureReason(true);
    CloseHandle(AsHandle(handle));
    return {};
}

bool LockedByAnotherProgram(const std::string&)
{
    return false;
}

bool RemoveFile(const std::string& name)
{
    int error = 0;
    if (FileFaultStrikes(FileCall::Remove, error)) {
        SetLastError(static_cast<DWORD>(error));
        return false;
    }
    return DeleteFileW(WideOfName(name).c_str()) != 0;
}

// The C library's tmpfile() makes its file in the root of the system drive,
// which most users may not write.
std::FILE* OpenTemporaryFile()
{
    wchar_t folder[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH)
        return nullptr;
    const FreshFile fresh = CreateFreshFile(
        [&](const std::wstring& tail) { return std::wstring(folder) + L"pellimar-" + tail + L".tmp"; }, FileCall::Open,
        GENERIC_READ | GENERIC_WRITE, 0, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE);
    if (fresh.handle == INVALID_HANDLE_VALUE)
        return nullptr;
    const int fd = _open_osfhandle(reinterpret_cast<std::intptr_t>(fresh.handle), _O_RDWR | _O_BINARY);
    if (fd < 0) {
        CloseHandle(fresh.handle);
        return nullptr;
    }
    std::FILE* file = _wfdopen(fd, L"w+b");
    if (file == nullptr)
        _close(fd);
    return file;
}

}  // namespace pellimar
