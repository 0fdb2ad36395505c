// The run's output on Windows: what stands under its name.
#include <windows.h>

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

}  // namespace

OutputFile::OutputFile(std::string path, bool mayReplace, OutputGuard guard)
    : path_(std::move(path)), mayReplace_(mayReplace), guard_(std::move(guard))
{
    std::string refusal;
    const std::optional<std::filesystem::path> target = FollowLinks(PathOfName(path_), &refusal);
    if (!target)
        Fail(refusal);
    target_ = NameOfPath(*target);
    if (NameTaken(target_)) {
        // A device such as NUL is written to directly.
        const FileKind kind = HoldExistingFile();
        if (kind == FileKind::Device) {
            ReleaseExistingFile();
            device_ = true;
            return;
        }
        if (kind != FileKind::Regular)
            Fail("it is not a regular file");
        if (!mayReplace_)
            FailAsTaken();
        replacesFile_ = true;
    }
    StartReplacement();
}

// Undoing a write in place removes a file, never a device such as NUL,
// which has no identity.
bool OutputFile::RemoveWrittenInPlace()
{
    return !IdentityOfName(target_) || RemoveFile(target_);
}

}  // namespace pellimar
