// TovUSB-sandbox.exe's entry: the tool itself, with the Windows and system directories taken from
// TOVUSB_SANDBOX_SYSTEMROOT when it is set, so that a test machine can pass for Windows PE.
#include <windows.h>

#include "app/program_entry.h"
#include "app/sandbox/sandbox_override.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    InstallSandboxOverride();
    return RunTovUsb();
}
