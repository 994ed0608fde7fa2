// Watches and drives another process's windows from outside, the way a user would:
//   window-probe [--image=<exe>] <title> <timeout-ms> [step]...
// Waits for a visible top-level window with the given caption, then runs each step in turn, all
// within one deadline. With --image only windows of processes started from that file count: other
// programs (the UI tests beside it) may show windows with the same caption meanwhile. Steps:
//   <id>=<text>       wait until the control's text equals <text>
//   <id>!=<text>      wait until the control's text differs from <text>
//   <id>:enabled      wait until the control is enabled
//   <id>:click        click the button (BM_CLICK)
//   <id>:settext=<t>  set the control's text (WM_SETTEXT)
//   <id>:select=<n>   select item n of a drop-down list (CB_SETCURSEL)
//   window=<title>    wait for another visible top-level window and make it the current one
//   gone=<title>      wait until no visible top-level window has this caption
//   syscommand=<n>    post the system-menu command n (WM_SYSCOMMAND, decimal or 0x hex) to the current window
//   --rect            print the current window's rectangle: "rect <left> <top> <width> <height>"
//   --close           post WM_CLOSE to the current window
// Exit code 0 when every step held, 1 on timeout, 2 on bad arguments.
#include "support/ScopedWin.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

struct Step {
    enum class Kind { equals, differs, enabled, click, setText, select, window, gone, rect, close, sysCommand } kind;
    int id = 0;
    std::wstring text;
};

bool parseStep(const std::wstring& arg, Step& out)
{
    if (arg == L"--rect") {
        out.kind = Step::Kind::rect;
        return true;
    }
    if (arg == L"--close") {
        out.kind = Step::Kind::close;
        return true;
    }
    if (arg.compare(0, 5, L"gone=") == 0) {
        out.kind = Step::Kind::gone;
        out.text = arg.substr(5);
        return true;
    }
    if (arg.compare(0, 11, L"syscommand=") == 0) {
        out.kind = Step::Kind::sysCommand;
        out.id = static_cast<int>(std::wcstoul(arg.c_str() + 11, nullptr, 0));
        return true;
    }
    if (arg.compare(0, 7, L"window=") == 0) {
        out.kind = Step::Kind::window;
        out.text = arg.substr(7);
        return true;
    }
    std::size_t pos = arg.find_first_of(L"=!:");
    if (pos == std::wstring::npos || pos == 0)
        return false;
    out.id = std::stoi(arg.substr(0, pos));
    const std::wstring rest = arg.substr(pos);
    if (rest.compare(0, 2, L"!=") == 0) {
        out.kind = Step::Kind::differs;
        out.text = rest.substr(2);
    } else if (rest[0] == L'=') {
        out.kind = Step::Kind::equals;
        out.text = rest.substr(1);
    } else if (rest == L":enabled") {
        out.kind = Step::Kind::enabled;
    } else if (rest == L":click") {
        out.kind = Step::Kind::click;
    } else if (rest.compare(0, 8, L":select=") == 0) {
        out.kind = Step::Kind::select;
        out.text = rest.substr(8);
    } else if (rest.compare(0, 9, L":settext=") == 0) {
        out.kind = Step::Kind::setText;
        out.text = rest.substr(9);
    } else {
        return false;
    }
    return true;
}

// WM_GETTEXT is marshalled across processes; GetWindowTextW would not ask the other process's control.
bool controlText(HWND control, std::wstring& text)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length))
        return false;
    std::vector<wchar_t> buffer(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(control, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                             SMTO_ABORTIFHUNG, 2000, &copied))
        return false;
    text.assign(buffer.data(), copied);
    return true;
}

std::string utf8(const std::wstring& text)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring image;  // empty: any process

bool fromImage(HWND window)
{
    if (image.empty())
        return true;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    const kes::KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (!process)
        return false;
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    return QueryFullProcessImageNameW(process.get(), 0, path, &size) && lstrcmpiW(path, image.c_str()) == 0;
}

HWND visibleWindow(const std::wstring& title)
{
    for (HWND window = FindWindowExW(nullptr, nullptr, nullptr, title.c_str()); window;
         window = FindWindowExW(nullptr, window, nullptr, title.c_str()))
        if (IsWindowVisible(window) && fromImage(window))
            return window;
    return nullptr;
}

// One attempt at a step; false means "not yet" (waits) for the waiting kinds.
bool attempt(HWND& window, const Step& s, std::wstring& seen)
{
    switch (s.kind) {
    case Step::Kind::window: {
        HWND other = visibleWindow(s.text);
        if (other)
            window = other;
        return other != nullptr;
    }
    case Step::Kind::gone:
        return visibleWindow(s.text) == nullptr;
    case Step::Kind::rect: {
        RECT r{};
        if (!GetWindowRect(window, &r))
            return false;
        std::printf("rect %ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
        return true;
    }
    case Step::Kind::close:
        return PostMessageW(window, WM_CLOSE, 0, 0) != FALSE;
    case Step::Kind::sysCommand:
        return PostMessageW(window, WM_SYSCOMMAND, static_cast<WPARAM>(s.id), 0) != FALSE;
    default:
        break;
    }
    HWND control = GetDlgItem(window, s.id);
    if (!control)
        return false;
    switch (s.kind) {
    case Step::Kind::enabled:
        return IsWindowEnabled(control) != FALSE;
    case Step::Kind::click:
        return PostMessageW(control, BM_CLICK, 0, 0) != FALSE;
    case Step::Kind::setText: {
        DWORD_PTR result = 0;
        return SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(s.text.c_str()),
                                   SMTO_ABORTIFHUNG, 2000, &result) != 0;
    }
    case Step::Kind::select: {
        DWORD_PTR result = 0;
        const WPARAM item = std::wcstoul(s.text.c_str(), nullptr, 10);
        return SendMessageTimeoutW(control, CB_SETCURSEL, item, 0, SMTO_ABORTIFHUNG, 2000, &result) != 0 &&
               result == item;
    }
    default:
        if (!controlText(control, seen))
            return false;
        return (seen == s.text) == (s.kind == Step::Kind::equals);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring imageOption = L"--image=";
    if (argc > 1 && std::wstring(argv[1]).rfind(imageOption, 0) == 0) {
        image = argv[1] + imageOption.size();
        --argc;
        ++argv;
    }
    if (argc < 3) {
        std::fprintf(stderr, "usage: window-probe [--image=<exe>] <title> <timeout-ms> [step]...\n");
        return 2;
    }
    const ULONGLONG deadline = GetTickCount64() + std::wcstoul(argv[2], nullptr, 10);
    std::vector<Step> steps;
    Step first{};
    first.kind = Step::Kind::window;
    first.text = argv[1];
    steps.push_back(first);
    for (int i = 3; i < argc; ++i) {
        Step s{};
        if (!parseStep(argv[i], s)) {
            std::fprintf(stderr, "window-probe: bad step %s\n", utf8(argv[i]).c_str());
            return 2;
        }
        steps.push_back(s);
    }

    HWND window = nullptr;
    for (const Step& s : steps) {
        std::wstring seen;
        while (!attempt(window, s, seen)) {
            if (GetTickCount64() > deadline) {
                if (s.kind == Step::Kind::window)
                    std::printf("window-probe: no visible window \"%s\"\n", utf8(s.text).c_str());
                else
                    std::printf("window-probe: control %d never met its condition (last text \"%s\")\n", s.id,
                                utf8(seen).c_str());
                return 1;
            }
            Sleep(50);
        }
        if (s.kind == Step::Kind::window)
            std::printf("window-probe: window \"%s\" shown\n", utf8(s.text).c_str());
        else if (s.kind == Step::Kind::equals || s.kind == Step::Kind::differs)
            std::printf("window-probe: control %d: \"%s\"\n", s.id, utf8(seen).c_str());
        std::fflush(stdout);
    }
    return 0;
}
