// A new file under a name no file has yet: the one way the Windows file
// layer makes a file of its own, beside an output, in the temporary folder
// or as a probe of what a folder takes.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "streams/file_faults.h"

namespace pellimar {

struct FreshFile {
    HANDLE handle = INVALID_HANDLE_VALUE;
    std::wstring name;
};

// Creates the file (CREATE_NEW) under `nameWith(tail)`, the tail being
// "<process>-<n>" with a number this process has not used yet, as often as
// the name is taken, up to a hundred names. Any other failure, or `call`
// made to fail through the fault seam, ends the attempts: the handle is then
// INVALID_HANDLE_VALUE and GetLastError() tells why.
FreshFile CreateFreshFile(const std::function<std::wstring(const std::wstring& tail)>& nameWith, FileCall call,
                          DWORD access, DWORD share, DWORD flagsAndAttributes);

// Whether a new file can be made in `folder`: a hidden one is made there and
// gone again at once.
bool FolderTakesNewFiles(const std::wstring& folder);

}  // namespace pellimar
