// Application start-up: the runtime's initialisation, the hidden owner window, the start window,
// the message loop and the end routine.
#include "window/application.h"

#include <float.h>
#include <ole2.h>

#include "runtime/fatal_error.h"
#include "runtime/platform.h"
#include "runtime/process_events.h"
#include "window/form_description.h"
#include "window/message_loop.h"
#include "window/window_list.h"
#include "window/window_loader.h"

namespace {

constexpr char kHideOwnerClass[] = "HideOwnerClass";
// Sent to the hidden owner by an end routine running on another thread: the main thread ends
// the program with the code in wParam.
constexpr UINT kMsgEndFromOtherThread = 0x83E7;

struct ApplicationState {
    bool initialised = false;
    HANDLE heap = nullptr;
    bool oleInitialised = false;
    std::string directory;
    std::string fileName;
    HWND hiddenOwner = nullptr;
    DWORD mainThread = 0;
    bool ownParentless = true;
    bool ending = false;
};

ApplicationState g_app;

LRESULT CALLBACK HiddenOwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kMsgEndFromOtherThread)
        ExitProgram(static_cast<int32_t>(wParam));
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND CreateHiddenOwner() {
    static ATOM atom = 0;
    if (atom == 0) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = HiddenOwnerProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
        wc.lpszClassName = kHideOwnerClass;
        atom = RegisterClassA(&wc);
    }
    return CreateWindowExA(WS_EX_TOOLWINDOW, kHideOwnerClass, "", 0, 0, 0, 0, 0, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

// Splits the executable's path at its last backslash and makes the directory current, so that
// relative paths of the logic resolve beside the program.
void EnterProgramDirectory() {
    char path[260] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    const std::string full(path, n < sizeof path ? n : sizeof path - 1);
    const size_t slash = full.rfind('\\');
    if (slash == std::string::npos) {
        g_app.directory.clear();
        g_app.fileName = full;
        return;
    }
    g_app.directory = full.substr(0, slash);
    g_app.fileName = full.substr(slash + 1);
    // A root directory needs its separator to stay the root and not the drive's current folder.
    SetCurrentDirectoryA(slash == 2 ? full.substr(0, 3).c_str() : g_app.directory.c_str());
}

// The names that a fatal error report shows for a window identifier and a control identifier.
int NameLookup(uint32_t windowId, int32_t controlId, const char** windowName, const char** controlName) {
    LoadedWindow* window = FindLoadedWindow(windowId);
    if (window == nullptr)
        return 0;
    *windowName = reinterpret_cast<const char*>(window->controls[0].stored->name.data());
    WorkingControl* control = FindWorkingControl(*window, static_cast<uint32_t>(controlId));
    if (control == nullptr)
        return 1;
    *controlName = reinterpret_cast<const char*>(control->stored->name.data());
    return 2;
}

}  // namespace

void InitializeApplication(const ApplicationSetup& setup) {
    SetRoutineTable(setup.routines, setup.routineCount);
    if (g_app.initialised)
        return;
    g_app.initialised = true;
    g_app.heap = GetProcessHeap();
    g_app.ownParentless = setup.ownParentlessWindows;
    g_app.oleInitialised = SUCCEEDED(OleInitialize(nullptr));
    EnterProgramDirectory();
    g_app.hiddenOwner = CreateHiddenOwner();
    g_app.mainThread = GetCurrentThreadId();
    SetEndRoutine(ApplicationEndRoutine);
    SetFatalErrorNameLookup(NameLookup);
    SetMessagePump(PumpOneMessage);
    SetFormWindows(ReadFormDescriptionOrDie(setup.formDescription, setup.routineCount));
}

int RunApplication(const ApplicationSetup& setup) {
    InitializeApplication(setup);
    // The logic starts from a clean floating-point state whatever start-up code ran before.
    _fpreset();
    if (setup.cleanup)
        RegisterCleanup(setup.cleanup);
    if (setup.startRoutine)
        setup.startRoutine();
    LoadStartWindow(setup.startWindow);
    const int code = RunMessageLoop();
    ApplicationEndRoutine(code);
    return code;
}

void ApplicationEndRoutine(int32_t code) {
    RaiseEventSuppression();
    if (!IsMainThread()) {
        if (g_app.hiddenOwner)
            SendMessageA(g_app.hiddenOwner, kMsgEndFromOtherThread, static_cast<WPARAM>(code), 0);
        if (!g_app.ending)
            ExitProcess(static_cast<UINT>(code));
        return;
    }
    if (g_app.ending)
        return;
    g_app.ending = true;
    ClearIdleRoutines();
    DropAllLoadedWindows();
    RunCleanupRoutines();
    PlatformReleaseDllModules();
    if (g_app.hiddenOwner) {
        DestroyWindow(g_app.hiddenOwner);
        g_app.hiddenOwner = nullptr;
    }
    if (g_app.oleInitialised) {
        OleUninitialize();
        g_app.oleInitialised = false;
    }
}

HWND HiddenOwnerWindow() {
    return g_app.hiddenOwner;
}

bool OwnsParentlessWindows() {
    return g_app.ownParentless;
}

const std::string& ProgramDirectory() {
    return g_app.directory;
}

const std::string& ProgramFileName() {
    return g_app.fileName;
}

bool IsMainThread() {
    return g_app.mainThread == 0 || GetCurrentThreadId() == g_app.mainThread;
}
