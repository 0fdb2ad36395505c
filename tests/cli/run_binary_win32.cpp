// Process spawning for end-to-end tests (Windows): the arguments in UTF-16
// on one command line, the standard handles on files.
#include <windows.h>

#include <string>

#include "cli/run_binary.h"
#include "streams/wide_names.h"
#include "support/temp_dir.h"

namespace pellimar::testing {
namespace {

// One argument as the C runtime reads it back: quoted when it holds a blank
// or a quote, a quote escaped, and backslashes doubled only where a quote
// follows them.
std::wstring Quoted(const std::wstring& argument)
{
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos)
        return argument;
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        quoted += c;
        backslashes = 0;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

// A handle on a file that the child inherits as one of its standard handles.
HANDLE Inherited(const std::string& name, DWORD access, DWORD disposition)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileW(WideOfName(name).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Starts the program, trying again a few times: a busy wine server now and
// then refuses a process start that succeeds a moment later. Returns the
// last error when every try failed.
DWORD Started(const std::string& program, std::wstring& commandLine, STARTUPINFOW& startup,
              PROCESS_INFORMATION& process)
{
    DWORD error = ERROR_SUCCESS;
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (CreateProcessW(WideOfName(program).c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                           nullptr, &startup, &process))
            return ERROR_SUCCESS;
        error = GetLastError();
        Sleep(200 << attempt);
    }
    return error;
}

// The exit status, or -1 when the program could not be started; then
// `failure` says why.
int Spawn(const std::string& program, const std::vector<std::string>& arguments, STARTUPINFOW& startup,
          std::string& failure)
{
    std::wstring commandLine = Quoted(WideOfName(program));
    for (const std::string& argument : arguments)
        commandLine += L" " + Quoted(WideOfName(argument));
    PROCESS_INFORMATION process{};
    if (const DWORD error = Started(program, commandLine, startup, process); error != ERROR_SUCCESS) {
        failure = "could not start " + program + ": Windows error " + std::to_string(error);
        return -1;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(status);
}

}  // namespace

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const ProgramSetup& setup)
{
    TempDir dir;
    const std::string outPath = setup.output.empty() ? dir.File("stdout") : setup.output;
    const std::string errPath = dir.File("stderr");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = Inherited(setup.input, GENERIC_READ, OPEN_EXISTING);
    startup.hStdOutput = Inherited(outPath, GENERIC_WRITE, CREATE_ALWAYS);
    startup.hStdError = Inherited(errPath, GENERIC_WRITE, CREATE_ALWAYS);
    ProgramRun run;
    std::string failure;
    run.status = Spawn(program, arguments, startup, failure);
    for (const HANDLE handle : {startup.hStdInput, startup.hStdOutput, startup.hStdError})
        CloseHandle(handle);
    run.out = setup.output.empty() ? ReadFileBytes(outPath) : std::string();
    run.err = ReadFileBytes(errPath) + failure;
    return run;
}

}  // namespace pellimar::testing
