// The archive's dialog over an archive already written (bench/storage/archive-bench): the time
// from asking for it to it shown with every entry listed, and the time the list takes to follow
// each character typed into the search field, drawn. One "key value" line each:
//   archive_dialog_entries, archive_dialog_open_ms, archive_dialog_keystroke_ms_max,
//   archive_dialog_keystroke_ms_median, archive_dialog_found
//   archive-dialog-bench <the folder LOCALAPPDATA names>
#include "WallClock.h"
#include "ui/ArchiveDialog.h"
#include "ui/ResourceIds.h"
#include "ui/WindowHelpers.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr wchar_t typed[] = L"601 234 567";

double asked = 0;
double openMs = -1;
long listed = -1, found = -1;
std::vector<double> keystrokes;

long rowsIn(HWND list) { return static_cast<long>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

// Inside the dialog's modal loop, as soon as it shows: types the query a character at a time.
void CALLBACK whenShown(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = FindWindowW(nullptr, L"Archiwum modułów");
    if (!dialog || !IsWindowVisible(dialog))
        return;
    KillTimer(nullptr, timer);
    HWND list = GetDlgItem(dialog, IDC_ARCHIVE_LIST);
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    openMs = wallMs() - asked;
    listed = rowsIn(list);
    HWND search = GetDlgItem(dialog, IDC_ARCHIVE_SEARCH);
    SetFocus(search);
    for (const wchar_t* c = typed; *c; ++c) {
        const double start = wallMs();
        SendMessageW(search, WM_CHAR, *c, 1);
        UpdateWindow(list);
        keystrokes.push_back(wallMs() - start);
    }
    found = rowsIn(list);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "archive-dialog-bench <the folder LOCALAPPDATA names>\n");
        return 2;
    }
    SetEnvironmentVariableW(L"LOCALAPPDATA", argv[1]);
    kes::setInstanceHandle(GetModuleHandleW(nullptr));
    InitCommonControls();
    SetTimer(nullptr, 0, 5, &whenShown);
    asked = wallMs();
    kes::showArchiveDialog(nullptr);
    if (keystrokes.empty())
        return 1;
    std::vector<double> sorted = keystrokes;
    std::sort(sorted.begin(), sorted.end());
    std::printf("archive_dialog_entries %ld\n", listed);
    std::printf("archive_dialog_open_ms %.1f\n", openMs);
    std::printf("archive_dialog_keystroke_ms_max %.1f\n", sorted.back());
    std::printf("archive_dialog_keystroke_ms_median %.1f\n", sorted[sorted.size() / 2]);
    std::printf("archive_dialog_found \"%ls\" %ld\n", typed, found);
    return 0;
}
