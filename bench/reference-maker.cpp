// Writes the start-up benchmark's yardstick from the program's own main window: a dialog template
// with every control the window holds (class, styles, text, place, the picture), and a table of
// what a template cannot say (the drop-down lists' items and choice, the ticked check boxes, the
// controls' font). Run it again whenever the main window changes (tests/ui check that the
// yardstick still matches):
//   reference-maker <template.rc> <items.h>
#include "ui/ResourceIds.h"
#include "ui/Shell.h"
#include "ui/WindowHelpers.h"

#include <windows.h>
#include <commctrl.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int referenceTemplate = 100;
constexpr int mapUnits = 400;

std::string utf8(const std::wstring& text)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

std::string quoted(const std::wstring& text, bool wide)
{
    std::string out = wide ? "L\"" : "\"";
    for (char c : utf8(text)) {
        if (c == '"')
            out += wide ? "\\\"" : "\"\"";
        else if (c == '\\')
            out += "\\\\";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out + "\"";
}

std::wstring textOf(HWND window)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, &text[0], static_cast<int>(text.size()))));
    return text;
}

std::wstring classOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

struct Scale {
    POINT per400;
    int x(int pixels) const { return static_cast<int>(std::lround(pixels * double(mapUnits) / per400.x)); }
    int y(int pixels) const { return static_cast<int>(std::lround(pixels * double(mapUnits) / per400.y)); }
};

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: reference-maker <template.rc> <items.h>\n");
        return 2;
    }
    kes::setInstanceHandle(GetModuleHandleW(nullptr));
    HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MAIN_DIALOG), nullptr,
                                     &kes::mainDialogProc, 0);
    if (!dialog) {
        std::fprintf(stderr, "reference-maker: the main window did not open\n");
        return 1;
    }
    KillTimer(dialog, 1005);
    // The template has no font of its own, as the main window's: its units are the main window's.
    RECT per400{0, 0, mapUnits, mapUnits};
    MapDialogRect(dialog, &per400);
    const Scale scale{{per400.right, per400.bottom}};

    FILE* rc = _wfopen(argv[1], L"wb");
    FILE* items = _wfopen(argv[2], L"wb");
    if (!rc || !items) {
        std::fprintf(stderr, "reference-maker: cannot write the files\n");
        return 1;
    }
    RECT client{};
    GetClientRect(dialog, &client);
    std::fprintf(rc, "// The main window's controls as a template, made by bench/reference-maker: do not edit.\n"
                     "#pragma code_page(65001)\n\n"
                     "%d DIALOGEX 0, 0, %d, %d\n"
                     "STYLE WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_CENTER | DS_3DLOOK\n"
                     "CAPTION %s\n"
                     "BEGIN\n",
                 referenceTemplate, scale.x(client.right), scale.y(client.bottom), quoted(textOf(dialog), false).c_str());
    std::fprintf(items, "// What the main window's template cannot say, made by bench/reference-maker: do not edit.\n"
                        "// A drop-down list: its ID, its items separated by line feeds, the one chosen.\n"
                        "#define REFERENCE_LISTS \\\n");
    int firstFonted = 0, lastFonted = 0;
    LOGFONTW font{};
    std::string checked;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(c);
        const std::wstring kind = classOf(c);
        RECT r{};
        GetWindowRect(c, &r);
        if (kind == L"ComboBox")
            SendMessageW(c, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&r));
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        const auto style = static_cast<unsigned long>(GetWindowLongPtrW(c, GWL_STYLE));
        const auto exStyle = static_cast<unsigned long>(GetWindowLongPtrW(c, GWL_EXSTYLE));
        const std::string text = id == IDC_MODULE_PICTURE ? std::to_string(IDB_MODULE_PICTURE) : quoted(textOf(c), false);
        // A template's control is visible unless it says otherwise.
        std::fprintf(rc, "    CONTROL %s, %d, %s, 0x%08lX%s, %d, %d, %d, %d, 0x%08lX\n", text.c_str(), id,
                     quoted(kind, false).c_str(), style, (style & WS_VISIBLE) ? "" : " | NOT WS_VISIBLE",
                     scale.x(r.left), scale.y(r.top), scale.x(r.right - r.left), scale.y(r.bottom - r.top), exStyle);
        if (const auto shown = reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0))) {
            GetObjectW(shown, sizeof(font), &font);
            firstFonted = firstFonted ? firstFonted : id;
            lastFonted = id;
        }
        if (kind == L"ComboBox") {
            std::wstring listed;
            const auto count = SendMessageW(c, CB_GETCOUNT, 0, 0);
            for (LRESULT i = 0; i < count; ++i) {
                std::wstring item(static_cast<std::size_t>(SendMessageW(c, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
                SendMessageW(c, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&item[0]));
                item.resize(item.size() - 1);
                listed += (i ? L"\n" : L"") + item;
            }
            std::fprintf(items, "    {%d, %s, %d}, \\\n", id, quoted(listed, true).c_str(),
                         static_cast<int>(SendMessageW(c, CB_GETCURSEL, 0, 0)));
        } else if (kind == L"Button" && SendMessageW(c, BM_GETCHECK, 0, 0) == BST_CHECKED) {
            checked += " " + std::to_string(id) + ",";
        }
    }
    std::fprintf(rc, "END\n");
    std::fprintf(items, "\n// The check boxes ticked.\n#define REFERENCE_CHECKED%s\n", checked.c_str());
    // Made by the program at run time (a template's font could not have its character set under Wine).
    std::fprintf(items, "\n// The controls' font: face, height, weight, character set; the controls that have it.\n"
                        "#define REFERENCE_FONT %s, %ld, %ld, %d\n#define REFERENCE_FONTED %d, %d\n",
                 quoted(font.lfFaceName, true).c_str(), font.lfHeight, font.lfWeight, font.lfCharSet, firstFonted,
                 lastFonted);
    std::fclose(rc);
    std::fclose(items);
    DestroyWindow(dialog);
    return 0;
}
