// zemra.exe is a windowed program, so a double-click opens no console. Run
// from a terminal, it prints there: it attaches to the console of the program
// that started it and sends the standard streams that lead nowhere to it.
// Streams already redirected to a file or a pipe are left as they are; the
// input is not read.
#include "platform/parent_console.h"

#include <windows.h>

#include <cstdio>

namespace {

bool leadsSomewhere(DWORD which) {
    const HANDLE handle = GetStdHandle(which);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

// The C stream and the Windows handle (which programs started later inherit)
// both to the console.
void toConsole(DWORD which, std::FILE* stream) {
    if (!std::freopen("CONOUT$", "w", stream)) return;
    const HANDLE handle = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle != INVALID_HANDLE_VALUE) SetStdHandle(which, handle);
}

}  // namespace

void useParentConsole() {
    const bool output = leadsSomewhere(STD_OUTPUT_HANDLE);
    const bool error = leadsSomewhere(STD_ERROR_HANDLE);
    if (output && error) return;
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
    if (!output) toConsole(STD_OUTPUT_HANDLE, stdout);
    if (!error) toConsole(STD_ERROR_HANDLE, stderr);
}
