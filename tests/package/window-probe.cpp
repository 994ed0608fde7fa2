// Watches another process's top-level window from outside, the way a user would see it:
//   window-probe <title> <timeout-ms> [condition]... [--close]
// Waits for a visible top-level window with the given caption, then for each condition in turn,
// all within one deadline. Conditions:
//   <id>=<text>    the control's text equals <text>
//   <id>!=<text>   the control's text differs from <text>
//   <id>:enabled   the control is enabled
// --close posts WM_CLOSE to the window at the end. Exit code 0 when everything held, 1 on timeout.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

struct Condition {
    enum class Kind { equals, differs, enabled } kind;
    int id;
    std::wstring text;
};

bool parseCondition(const std::wstring& arg, Condition& out)
{
    std::size_t pos = arg.find_first_of(L"=!:");
    if (pos == std::wstring::npos || pos == 0)
        return false;
    out.id = std::stoi(arg.substr(0, pos));
    if (arg.compare(pos, 2, L"!=") == 0) {
        out.kind = Condition::Kind::differs;
        out.text = arg.substr(pos + 2);
    } else if (arg[pos] == L'=') {
        out.kind = Condition::Kind::equals;
        out.text = arg.substr(pos + 1);
    } else if (arg.substr(pos) == L":enabled") {
        out.kind = Condition::Kind::enabled;
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

bool holds(HWND window, const Condition& c, std::wstring& seen)
{
    HWND control = GetDlgItem(window, c.id);
    if (!control)
        return false;
    if (c.kind == Condition::Kind::enabled)
        return IsWindowEnabled(control) != FALSE;
    if (!controlText(control, seen))
        return false;
    return (seen == c.text) == (c.kind == Condition::Kind::equals);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: window-probe <title> <timeout-ms> [<id>=<text>|<id>!=<text>|<id>:enabled]... [--close]\n");
        return 2;
    }
    const std::wstring title = argv[1];
    const ULONGLONG deadline = GetTickCount64() + std::wcstoul(argv[2], nullptr, 10);
    std::vector<Condition> conditions;
    bool close = false;
    for (int i = 3; i < argc; ++i) {
        if (std::wcscmp(argv[i], L"--close") == 0) {
            close = true;
            continue;
        }
        Condition c{};
        if (!parseCondition(argv[i], c)) {
            std::fprintf(stderr, "window-probe: bad condition %s\n", utf8(argv[i]).c_str());
            return 2;
        }
        conditions.push_back(c);
    }

    HWND window = nullptr;
    while (!(window = FindWindowW(nullptr, title.c_str())) || !IsWindowVisible(window)) {
        if (GetTickCount64() > deadline) {
            std::printf("window-probe: no visible window \"%s\"\n", utf8(title).c_str());
            return 1;
        }
        Sleep(50);
    }
    std::printf("window-probe: window \"%s\" shown\n", utf8(title).c_str());

    for (const Condition& c : conditions) {
        std::wstring seen;
        while (!holds(window, c, seen)) {
            if (GetTickCount64() > deadline) {
                std::printf("window-probe: control %d never met its condition (last text \"%s\")\n", c.id,
                            utf8(seen).c_str());
                return 1;
            }
            Sleep(50);
        }
        std::printf("window-probe: control %d: \"%s\"\n", c.id, utf8(seen).c_str());
    }
    std::fflush(stdout);
    if (close)
        PostMessageW(window, WM_CLOSE, 0, 0);
    return 0;
}
