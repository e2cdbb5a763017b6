// The process entry. The GCC build starts the process here directly, without
// the C runtime's start-up code; other toolchains reach it through WinMain.
// Nothing here runs constructors, so no global may be set by a function call:
// it would stay zero for users while every test, linked with that start-up
// code, passed. The executable check refuses such an initialiser.

#include "res/resource.h"
#include "ui/globals.h"
#include "ui/main_dialog.h"

#include <commctrl.h>

extern "C" void AppEntry() {
    InstanceHandle = GetModuleHandleA(nullptr);
    InitCommonControls();
    DialogBoxParamA(InstanceHandle, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDialogProc, 0);
    // Whatever the dialog returned, or if it never started, the exit code is 0.
    ExitProcess(0);
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    AppEntry();
    return 0;
}
