// Measures a Windows program from outside, as its user would meet it:
//   proc-probe [--trace] <exe> [hold-seconds [system-command]]
// Starts the program in its own folder, waits for its first visible top-level window and for that
// window to be painted, keeps it running for hold-seconds (default 0), then closes it with
// WM_CLOSE. A system command (hex, e.g. 0x0140) is posted to the window as WM_SYSCOMMAND before
// the hold; the windows it opened are closed first at the end. Prints one "key value" line each:
//   window_ms    process creation to its first top-level window existing
//   start_ms     process creation to the window being visible
//   painted_ms   process creation to the window and all its controls painted
//   held_s       printed when the hold is over (bench/run reads the process's CPU time around it)
//   peak_ws_kb   peak working set over the whole run
//   exit_code    the program's exit code
// --trace starts the program with Wine's load trace (WINEDEBUG=+timestamp,+pid,+loaddll), which
// goes to this probe's standard error; it then also prints
//   pid          the program's process ID (hex, as the trace writes it)
//   tick_start   GetTickCount when the program was started, the trace's clock
#include "support/ScopedWin.h"

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr wchar_t traceSetting[] = L"WINEDEBUG=+timestamp,+pid,+loaddll";

struct Search {
    DWORD pid;
    bool visibleOnly;
    HWND found;
};

BOOL CALLBACK windowOf(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == search->pid && (!search->visibleOnly || IsWindowVisible(window))) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND topLevelWindow(DWORD pid, bool visibleOnly)
{
    Search search{pid, visibleOnly, nullptr};
    EnumWindows(windowOf, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK noteUnpainted(HWND window, LPARAM unpainted)
{
    if (IsWindowVisible(window) && GetUpdateRect(window, nullptr, FALSE))
        *reinterpret_cast<bool*>(unpainted) = true;
    return TRUE;
}

// True once neither the window nor any of its visible controls waits to be painted.
bool painted(HWND window)
{
    bool unpainted = GetUpdateRect(window, nullptr, FALSE) != FALSE;
    EnumChildWindows(window, noteUnpainted, reinterpret_cast<LPARAM>(&unpainted));
    return !unpainted;
}

// Every other visible top-level window of the process: what a system command opened.
BOOL CALLBACK closeOtherWindowsOf(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == search->pid && window != search->found && IsWindowVisible(window))
        PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

double msSince(LARGE_INTEGER from)
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// This process's environment with Wine's load trace switched on, for the program alone.
std::vector<wchar_t> tracingEnvironment()
{
    std::vector<wchar_t> block;
    const wchar_t* strings = GetEnvironmentStringsW();
    for (const wchar_t* entry = strings; *entry; entry += wcslen(entry) + 1)
        if (_wcsnicmp(entry, L"WINEDEBUG=", 10) != 0)
            block.insert(block.end(), entry, entry + wcslen(entry) + 1);
    FreeEnvironmentStringsW(const_cast<wchar_t*>(strings));
    block.insert(block.end(), traceSetting, traceSetting + wcslen(traceSetting) + 1);
    block.push_back(L'\0');
    return block;
}

// Polls every millisecond until the condition holds; false when the process ended or a minute passed.
bool waitFor(HANDLE process, const std::function<bool()>& condition)
{
    const ULONGLONG deadline = GetTickCount64() + 60000;
    while (!condition()) {
        if (GetTickCount64() > deadline || WaitForSingleObject(process, 0) == WAIT_OBJECT_0)
            return false;
        Sleep(1);
    }
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const bool trace = argc > 1 && std::wcscmp(argv[1], L"--trace") == 0;
    const int first = trace ? 2 : 1;
    if (argc <= first) {
        std::fprintf(stderr, "usage: proc-probe [--trace] <exe> [hold-seconds [system-command]]\n");
        return 2;
    }
    std::wstring exe = argv[first];
    const double hold = argc > first + 1 ? std::wcstod(argv[first + 1], nullptr) : 0.0;
    const WPARAM command = argc > first + 2 ? static_cast<WPARAM>(std::wcstoul(argv[first + 2], nullptr, 16)) : 0;
    std::wstring folder = exe.substr(0, exe.find_last_of(L"\\/"));
    std::wstring commandLine = L"\"" + exe + L"\"";
    std::vector<wchar_t> environment = trace ? tracingEnvironment() : std::vector<wchar_t>();

    // A desktop is always there for a user's program: a hidden window of the probe's own starts
    // Wine's desktop now and keeps it for the run, rather than with the program's first window.
    HWND keeper = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    LARGE_INTEGER t0;
    const DWORD tickStart = GetTickCount();
    QueryPerformanceCounter(&t0);
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                        trace ? environment.data() : nullptr, folder.c_str(), &startup, &process)) {
        std::fprintf(stderr, "proc-probe: cannot start the program (%lu)\n", GetLastError());
        return 1;
    }
    const kes::KernelHandle owned(process.hProcess), thread(process.hThread);
    if (trace)
        std::printf("pid %04lx\ntick_start %lu\n", process.dwProcessId, tickStart);

    const auto noWindow = [&] {
        std::fprintf(stderr, "proc-probe: no window appeared\n");
        TerminateProcess(process.hProcess, 1);
        return 1;
    };
    HWND window = nullptr;
    if (!waitFor(process.hProcess, [&] { return topLevelWindow(process.dwProcessId, false) != nullptr; }))
        return noWindow();
    std::printf("window_ms %.1f\n", msSince(t0));
    if (!waitFor(process.hProcess, [&] { return (window = topLevelWindow(process.dwProcessId, true)) != nullptr; }))
        return noWindow();
    std::printf("start_ms %.1f\n", msSince(t0));
    if (!waitFor(process.hProcess, [&] { return painted(window); }))
        return noWindow();
    std::printf("painted_ms %.1f\n", msSince(t0));
    std::fflush(stdout);

    if (command)
        PostMessageW(window, WM_SYSCOMMAND, command, 0);
    if (hold > 0.0) {
        Sleep(static_cast<DWORD>(hold * 1000.0));
        std::printf("held_s %.1f\n", hold);
        std::fflush(stdout);
    }
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    if (GetProcessMemoryInfo(process.hProcess, &memory, sizeof(memory)))
        std::printf("peak_ws_kb %zu\n", static_cast<std::size_t>(memory.PeakWorkingSetSize / 1024));

    if (command) {
        Search search{process.dwProcessId, true, window};
        EnumWindows(closeOtherWindowsOf, reinterpret_cast<LPARAM>(&search));
        Sleep(500);
    }
    PostMessageW(window, WM_CLOSE, 0, 0);
    DWORD code = 1;
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "proc-probe: the program did not close\n");
        TerminateProcess(process.hProcess, 1);
    }
    GetExitCodeProcess(process.hProcess, &code);
    std::printf("exit_code %lu\n", code);
    DestroyWindow(keeper);
    return 0;
}
