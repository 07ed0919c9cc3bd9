// Windows side of the process set-up.
#include "platform/console.h"

#include <cstdio>

#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <shellapi.h>

namespace tolvi {

QStringList programArguments(int, char**)
{
    // The wide command line, split as the C runtime would.
    QStringList arguments;
    int count = 0;
    wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!words)
        return arguments;
    for (int i = 0; i < count; ++i)
        arguments << QString::fromWCharArray(words[i]);
    LocalFree(words);
    return arguments;
}

namespace {

// Whether the standard handle `which` leads somewhere (a file, a pipe, a
// console inherited by a console program).
bool connected(DWORD which)
{
    const HANDLE h = GetStdHandle(which);
    return h != nullptr && h != INVALID_HANDLE_VALUE && GetFileType(h) != FILE_TYPE_UNKNOWN;
}

}  // namespace

void prepareBatchStreams()
{
    // tolvi.exe is a windowed program: started from cmd or PowerShell it has
    // no console of its own. It writes into its parent's, unless its output
    // was sent to a file or a pipe.
    const bool out = connected(STD_OUTPUT_HANDLE);
    const bool err = connected(STD_ERROR_HANDLE);
    if ((!out || !err) && AttachConsole(ATTACH_PARENT_PROCESS)) {
        if (!out)
            std::freopen("CONOUT$", "w", stdout);
        if (!err)
            std::freopen("CONOUT$", "w", stderr);
    }
    SetConsoleOutputCP(CP_UTF8);
    std::fflush(stdout);
    std::fflush(stderr);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

bool hasDesktopSession()
{
    return true;
}

}  // namespace tolvi
