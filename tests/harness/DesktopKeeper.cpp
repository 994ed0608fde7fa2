// Holds the tests' Wine desktop open for a whole CTest run.
//   wine-desktop-keeper            hold it until told to stop
//   wine-desktop-keeper --ready    wait until a keeper holds it (exit code 1 after a minute)
//   wine-desktop-keeper --stop     tell the keeper to let it go
// Wine starts the desktop process with a program's first window and ends it a moment after the
// last program using it has gone. Started by a test, the desktop inherits that test's output pipe,
// and CTest counts the test running until the desktop ends: a second and a half for each test run
// alone, the whole run for one of two run side by side. Held from here, it is started once, with
// its output going nowhere.
#include "support/ScopedWin.h"

#include <windows.h>

namespace {

constexpr wchar_t kStopEvent[] = L"QuellmoTestDesktopKeeper.Stop";
constexpr wchar_t kReadyEvent[] = L"QuellmoTestDesktopKeeper.Ready";
constexpr DWORD kReadyWaitMs = 60 * 1000;
constexpr DWORD kLongestRunMs = 4 * 60 * 60 * 1000;  // a run that never said stop

class Event : public kes::KernelHandle {
public:
    explicit Event(const wchar_t* name) : KernelHandle(CreateEventW(nullptr, TRUE, FALSE, name)) {}
};

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const bool ready = argc > 1 && lstrcmpW(argv[1], L"--ready") == 0;
    const bool stop = argc > 1 && lstrcmpW(argv[1], L"--stop") == 0;
    if (ready) {
        Event readyEvent(kReadyEvent);
        return readyEvent.get() && WaitForSingleObject(readyEvent.get(), kReadyWaitMs) == WAIT_OBJECT_0 ? 0 : 1;
    }
    Event stopEvent(kStopEvent);
    if (!stopEvent.get())
        return 1;
    if (stop) {
        SetEvent(stopEvent.get());
        return 0;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS)
        return 0;  // another keeper holds it
    // Any window joins the desktop; a message-only one is never shown nor activated.
    HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (!window)
        return 1;
    Event readyEvent(kReadyEvent);
    SetEvent(readyEvent.get());
    WaitForSingleObject(stopEvent.get(), kLongestRunMs);
    DestroyWindow(window);
    return 0;
}
