// Putting a file in place on Windows: a hidden new file beside the target,
// marked for deletion until it is put in place, so that a program ended by
// force (taskkill /F) leaves nothing behind; MoveFileExW puts it under the
// target's name, over the replaced file or only while the name is free.
#include <windows.h>

#include <algorithm>
#include <filesystem>

#include "streams/file_faults.h"
#include "streams/file_replacement.h"
#include "streams/fresh_file_win32.h"
#include "streams/wide_names.h"

namespace pellimar {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMaxNameCharacters = 255;

HANDLE AsHandle(const NativeFile& file)
{
    return reinterpret_cast<HANDLE>(file.Handle());
}

// ".out.fff.pellimar-<tail>" beside the target; of a long name only as much
// is kept as lets the whole fit the longest name a folder takes.
std::wstring NameBeside(const std::string& target, const std::wstring& tail)
{
    const fs::path path = PathOfName(target);
    const std::wstring ending = L".pellimar-" + tail;
    std::wstring leaf = path.filename().wstring();
    leaf.resize(std::min(leaf.size(), kMaxNameCharacters - 1 - ending.size()));
    return (path.parent_path() / (L"." + leaf + ending)).wstring();
}

bool FolderRefuses(DWORD error)
{
    return error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT;
}

// A file marked so is removed by the system when its last handle closes,
// however the program ends; false where the file system cannot.
bool MarkForDeletion(const NativeFile& file, bool deletion)
{
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = deletion ? TRUE : FALSE;
    return SetFileInformationByHandle(AsHandle(file), FileDispositionInfo, &disposition, sizeof disposition) != 0;
}

bool Refused(FileCall call)
{
    int error = 0;
    if (!FileFaultStrikes(call, error))
        return false;
    SetLastError(static_cast<DWORD>(error));
    return true;
}

}  // namespace

ReplacementStart FileReplacement::Begin(const std::string& target, bool replacing)
{
    Abandon();
    target_ = target;
    replacing_ = replacing;
    notKept_.clear();
    reason_.clear();
    // The replaced file's attributes (archive, not content indexed) go over
    // to the new one; a new file gets the ordinary ones.
    const DWORD attributes = replacing ? GetFileAttributesW(WideOfName(target).c_str()) : INVALID_FILE_ATTRIBUTES;
    mode_ = attributes == INVALID_FILE_ATTRIBUTES ? FILE_ATTRIBUTE_NORMAL : attributes;
    const FreshFile fresh =
        CreateFreshFile([&](const std::wstring& tail) { return NameBeside(target, tail); }, FileCall::CreateBeside,
                        GENERIC_READ | GENERIC_WRITE | DELETE, FILE_SHARE_DELETE, FILE_ATTRIBUTE_HIDDEN);
    const HANDLE handle = fresh.handle;
    temporary_ = NameOfWide(fresh.name);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        temporary_.clear();
        SetLastError(error);
        reason_ = FolderRefuses(error) ? "its folder takes no new file" : LastFailureReason(true);
        SetLastError(error);
        return FolderRefuses(error) ? ReplacementStart::FolderRefuses : ReplacementStart::Failed;
    }
    file_ = NativeFile::Adopt(reinterpret_cast<std::intptr_t>(handle));
    MarkForDeletion(file_, true);
    return ReplacementStart::Ready;
}

// The folder opened for the right to add a file to it, which the system
// grants or refuses as it would the new file itself; a file in its place is
// no folder, as the system finds a path through it.
ReplacementOutlook FileReplacement::Foresee(const std::string& target, bool)
{
    const fs::path parent = PathOfName(target).parent_path();
    const fs::path folder = parent.empty() ? fs::path(L".") : parent;
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        SetLastError(ERROR_PATH_NOT_FOUND);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
        return {ReplacementStart::Failed, LastFailureReason(true), {}, {}};
    const HANDLE handle = CreateFileW(folder.c_str(), FILE_ADD_FILE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (FolderRefuses(error))
            return {ReplacementStart::FolderRefuses, "its folder takes no new file", {}, LastFailureReason(true)};
        return {ReplacementStart::Failed, LastFailureReason(true), {}, {}};
    }
    CloseHandle(handle);
    return {};
}

// The mark is taken off and the handle let go before the move, which opens
// the file by its name; only a kill in between can leave the new file.
Placement FileReplacement::PutInPlace(bool replace)
{
    if (!IsReady()) {
        SetLastError(ERROR_INVALID_HANDLE);
        reason_ = LastFailureReason(true);
        return Placement::Failed;
    }
    bool ready = file_.Sync() && MarkForDeletion(file_, false);
    DWORD error = GetLastError();
    file_.Close();
    const std::wstring from = WideOfName(temporary_);
    ready = ready && SetFileAttributesW(from.c_str(), mode_) != 0;
    if (ready && !Refused(FileCall::PutInPlace)) {
        const DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
        ready = MoveFileExW(from.c_str(), WideOfName(target_).c_str(), flags) != 0;
    } else {
        ready = false;
    }
    error = ready ? ERROR_SUCCESS : GetLastError() != ERROR_SUCCESS ? GetLastError() : error;
    if (!ready) {
        Abandon();
        SetLastError(error);
        reason_ = LastFailureReason(true);
        SetLastError(error);
        const bool taken = error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS;
        return taken && !replace ? Placement::NameTaken : Placement::Failed;
    }
    temporary_.clear();
    return Placement::Done;
}

// A file still marked goes with its handle; one whose mark was taken off or
// never held is removed by name.
void FileReplacement::Abandon()
{
    const bool marked = file_.IsOpen() && MarkForDeletion(file_, true);
    file_.Close();
    if (!temporary_.empty() && !marked)
        DeleteFileW(WideOfName(temporary_).c_str());
    temporary_.clear();
}

}  // namespace pellimar
