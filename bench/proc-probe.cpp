// Measures a Windows program from outside, as its user would meet it:
//   proc-probe <exe> [hold-seconds [system-command]]
// Starts the program in its own folder, waits for its first visible top-level window, keeps it
// running for hold-seconds (default 0), then closes it with WM_CLOSE. A system command (hex, e.g.
// 0x0140) is posted to the window as WM_SYSCOMMAND before the hold; the windows it opened are
// closed first at the end. Prints one "key value" line each:
//   start_ms     process creation to the window being visible
//   held_s       printed when the hold is over (bench/run reads the process's CPU time around it)
//   peak_ws_kb   peak working set over the whole run
//   exit_code    the program's exit code
#include "support/ScopedWin.h"

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

struct Search {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK visibleWindowOf(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == search->pid && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
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

double seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: proc-probe <exe> [hold-seconds]\n");
        return 2;
    }
    std::wstring exe = argv[1];
    const double hold = argc > 2 ? std::wcstod(argv[2], nullptr) : 0.0;
    const WPARAM command = argc > 3 ? static_cast<WPARAM>(std::wcstoul(argv[3], nullptr, 16)) : 0;
    std::wstring folder = exe.substr(0, exe.find_last_of(L"\\/"));
    std::wstring commandLine = L"\"" + exe + L"\"";

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    LARGE_INTEGER t0, t1;
    QueryPerformanceCounter(&t0);
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &process)) {
        std::fprintf(stderr, "proc-probe: cannot start the program (%lu)\n", GetLastError());
        return 1;
    }
    const kes::KernelHandle owned(process.hProcess), thread(process.hThread);
    Search search{process.dwProcessId, nullptr};
    const ULONGLONG deadline = GetTickCount64() + 60000;
    while (!search.found) {
        EnumWindows(visibleWindowOf, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            break;
        if (GetTickCount64() > deadline || WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
            std::fprintf(stderr, "proc-probe: no window appeared\n");
            TerminateProcess(process.hProcess, 1);
            return 1;
        }
        Sleep(1);
    }
    QueryPerformanceCounter(&t1);
    std::printf("start_ms %.1f\n", seconds(t0, t1) * 1000.0);
    std::fflush(stdout);

    if (command)
        PostMessageW(search.found, WM_SYSCOMMAND, command, 0);
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
        EnumWindows(closeOtherWindowsOf, reinterpret_cast<LPARAM>(&search));
        Sleep(500);
    }
    PostMessageW(search.found, WM_CLOSE, 0, 0);
    DWORD code = 1;
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "proc-probe: the program did not close\n");
        TerminateProcess(process.hProcess, 1);
    }
    GetExitCodeProcess(process.hProcess, &code);
    std::printf("exit_code %lu\n", code);
    return 0;
}
