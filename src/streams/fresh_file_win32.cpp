// New files under names still free, for every part of the Windows file
// layer that makes one.
#include "streams/fresh_file_win32.h"

#include <atomic>

namespace pellimar {

FreshFile CreateFreshFile(const std::function<std::wstring(const std::wstring& tail)>& nameWith, FileCall call,
                          DWORD access, DWORD share, DWORD flagsAndAttributes)
{
    // One count for the whole process, so that two parts of it never try
    // the same name.
    static std::atomic<unsigned> counter{0};
    FreshFile fresh;
    for (int attempt = 0; attempt < 100; ++attempt) {
        int error = 0;
        if (FileFaultStrikes(call, error)) {
            SetLastError(static_cast<DWORD>(error));
            break;
        }
        fresh.name = nameWith(std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(counter.fetch_add(1)));
        fresh.handle = CreateFileW(fresh.name.c_str(), access, share, nullptr, CREATE_NEW, flagsAndAttributes, nullptr);
        if (fresh.handle != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    if (fresh.handle == INVALID_HANDLE_VALUE)
        fresh.name.clear();
    return fresh;
}

bool FolderTakesNewFiles(const std::wstring& folder)
{
    std::wstring prefix = folder;
    if (!prefix.empty() && prefix.back() != L'\\' && prefix.back() != L'/')
        prefix += L'\\';
    const FreshFile probe = CreateFreshFile([&](const std::wstring& tail) { return prefix + L".pellimar-probe-" + tail; },
                                            FileCall::Open, GENERIC_WRITE, 0,
                                            FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE);
    if (probe.handle == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(probe.handle);
    return true;
}

}  // namespace pellimar
