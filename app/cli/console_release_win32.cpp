// The console of a window started from the Start menu: seeker.exe is a
// console program, so that cmd.exe and PowerShell wait for a search, and
// Windows before 11 24H2 (which reads the manifest's consoleAllocationPolicy)
// gives it a console window of its own when it is started from elsewhere.
// That window is hidden and let go as soon as the program knows it wants
// its own window.
#include <windows.h>

#include "app/cli/console.h"

namespace app::cli {

void ReleaseOwnConsole() {
    DWORD processes[2];
    // 1: this process alone; 2 or more: the shell that started it too.
    if (GetConsoleProcessList(processes, 2) != 1) return;
    if (HWND console = GetConsoleWindow()) ShowWindow(console, SW_HIDE);
    FreeConsole();
}

}  // namespace app::cli
