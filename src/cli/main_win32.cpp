// pellimar-cli on Windows: the arguments as the system holds them, in
// UTF-16, so that any file name a user can type arrives whole.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cli/run_cli.h"
#include "streams/wide_names.h"

// The C runtime would expand wildcards in the arguments; a pattern such as
// "*" must arrive as typed.
extern "C" {
int _dowildcard = 0;
}

int wmain(int argc, wchar_t** argv)
{
    // Flat files and messages pass through unchanged: no CR LF translation.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    // File names in messages show in any script. The console outlives the
    // program, so its code page is given back at the end.
    const UINT consoleCodePage = GetConsoleOutputCP();
    SetConsoleOutputCP(CP_UTF8);
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i)
        arguments.push_back(pellimar::NameOfWide(argv[i]));
    const int status = pellimar::cli::RunCli(arguments);
    if (consoleCodePage != 0)
        SetConsoleOutputCP(consoleCodePage);
    return status;
}
