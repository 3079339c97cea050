#include "platform/ProgramArguments.h"

#include "platform/win32/WinText.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <io.h>

namespace kel {

namespace {

UINT g_consoleCodePage = 0;

void RestoreConsoleCodePage()
{
    SetConsoleOutputCP(g_consoleCodePage);
}

}  // namespace

std::vector<std::string> ProgramArguments(int argc, char* argv[])
{
    return std::vector<std::string>(argv, argv + argc);
}

std::vector<std::string> ProgramArguments(int argc, wchar_t* argv[])
{
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.push_back(Narrow(argv[i]));
    }
    return arguments;
}

void PrepareStandardStreams()
{
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    // The console belongs to the shell too: its code page is given back at the end.
    g_consoleCodePage = GetConsoleOutputCP();
    if (g_consoleCodePage != 0 && g_consoleCodePage != CP_UTF8 && SetConsoleOutputCP(CP_UTF8)) {
        std::atexit(&RestoreConsoleCodePage);
    }
}

}  // namespace kel
