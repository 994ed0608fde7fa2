// Waits, with a deadline, until the running program's main window shows a module's status
// after its configuration was read, then prints the window's screen rectangle "x y w h".
// Used by scripts/run (screenshots) and the end-to-end test. Exit code 0 on success, 1 on timeout.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int statusLineId = 10116;
constexpr int operatorId = 10123;

std::wstring controlText(HWND dialog, int id)
{
    wchar_t text[256] = {};
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutW(GetDlgItem(dialog, id), WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, 2000, &ignored))
        return L"";
    return text;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const double seconds = argc > 1 ? _wtof(argv[1]) : 60.0;
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
    std::wstring status;
    while (GetTickCount64() < deadline) {
        HWND dialog = FindWindowW(L"#32770", L"Quellmo PC");
        if (dialog) {
            status = controlText(dialog, statusLineId);
            const bool moduleAnswers =
                !status.empty() && status != L"podłącz QLV-3 USB" && status != L"QLV-3 USB OK";
            if (moduleAnswers && !controlText(dialog, operatorId).empty()) {
                RECT r{};
                GetWindowRect(dialog, &r);
                std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
                return 0;
            }
        }
        Sleep(100);
    }
    std::fprintf(stderr, "no module status in time; status line: %ls\n", status.c_str());
    return 1;
}
