#pragma once
// What the yardstick's dialog procedure does on WM_INITDIALOG, shared with the test that checks
// the yardstick against the program: the controls' font set, the drop-down lists filled and the
// check boxes ticked, as bench/reference/main-window-items.h lists them.
#include <windows.h>

#include "reference/main-window-items.h"

namespace reference {

struct List {
    int id;
    const wchar_t* items;  // separated by line feeds
    int chosen;
};

inline void fillList(HWND list, const wchar_t* items)
{
    wchar_t item[128];
    for (const wchar_t* at = items; *at;) {
        int n = 0;
        while (at[n] && at[n] != L'\n' && n < 127) {
            item[n] = at[n];
            ++n;
        }
        item[n] = L'\0';
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        at += at[n] ? n + 1 : n;
    }
}

struct Font {
    const wchar_t* face;
    LONG height, weight;
    BYTE charset;
};

// Kept for the process, as the controls keep using it.
inline HFONT controlsFont()
{
    static const Font f{REFERENCE_FONT};
    static const HFONT font = CreateFontW(f.height, 0, 0, 0, f.weight, FALSE, FALSE, FALSE, f.charset, OUT_DEFAULT_PRECIS,
                                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, f.face);
    return font;
}

inline void initialise(HWND dialog)
{
    static const List lists[] = {REFERENCE_LISTS{0, nullptr, 0}};
    static const int checked[] = {REFERENCE_CHECKED 0};
    static const int fonted[] = {REFERENCE_FONTED};
    for (int id = fonted[0]; id && id <= fonted[1]; ++id)
        SendDlgItemMessageW(dialog, id, WM_SETFONT, reinterpret_cast<WPARAM>(controlsFont()), FALSE);
    for (const List& l : lists) {
        if (!l.id)
            break;
        HWND list = GetDlgItem(dialog, l.id);
        fillList(list, l.items);
        SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(l.chosen), 0);
    }
    for (int id : checked)
        if (id)
            CheckDlgButton(dialog, id, BST_CHECKED);
}

}  // namespace reference
