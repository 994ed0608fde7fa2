#include "ui/ConnectionDiagnostics.h"

#include "ui/Clipboard.h"

#include "link/UsbLink.h"
#include "tools/LinkDiagnosis.h"
#include "protocol/StatusHistory.h"
#include "support/DebugLogRing.h"
#include "ui/ProgramVersion.h"
#include "ui/WindowHelpers.h"
#include "ui/StatusCharts.h"

#include <array>
#include <cstring>
#include <utility>
#include <vector>

namespace kes {
namespace {

constexpr wchar_t caption[] = L"Diagnostyka połączenia";
constexpr wchar_t fontFace[] = L"MS Shell Dlg";
constexpr WORD fontPoints = 8;
constexpr int chartCount = 3;
constexpr int closeButton = IDCANCEL;  // also what Esc sends
constexpr int noControlId = -1;
// Charts follow the clock even while no sample comes: redraw them every so many refreshes.
constexpr int refreshesPerChartRedraw = 10;

// Dialog units.
struct Box {
    int x, y, cx, cy;
};
constexpr short dialogWidth = 420;
constexpr short dialogHeight = 312;
constexpr Box summaryBox{7, 7, 252, 142};
constexpr std::array<Box, chartCount> chartBoxes{{{265, 7, 148, 45}, {265, 55, 148, 45}, {265, 103, 148, 46}}};
constexpr Box logLabelBox{7, 154, 300, 9};
constexpr Box logBox{7, 164, 406, 120};
constexpr Box copyBox{7, 291, 60, 14};
constexpr Box closeBox{353, 291, 60, 14};

struct OpenWindow {
    HWND dialog = nullptr;
    std::wstring summaryShown;
    std::uint64_t logRevision = ~std::uint64_t{0};
    std::uint64_t historyRevision = ~std::uint64_t{0};
    int refreshesSinceChartRedraw = 0;
};

OpenWindow& openWindow()
{
    static OpenWindow window;
    return window;
}

// The template: a modal frame with caption, system menu and font, no controls of its own.
std::vector<WORD> dialogTemplate()
{
    std::vector<WORD> t(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
    auto* d = reinterpret_cast<DLGTEMPLATE*>(t.data());
    d->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    d->cx = dialogWidth;
    d->cy = dialogHeight;
    t.push_back(0);  // menu
    t.push_back(0);  // class
    for (const wchar_t* c = caption; *c; ++c)
        t.push_back(static_cast<WORD>(*c));
    t.push_back(0);
    t.push_back(fontPoints);
    for (const wchar_t* c = fontFace; *c; ++c)
        t.push_back(static_cast<WORD>(*c));
    t.push_back(0);
    return t;
}

HWND addControl(HWND dialog, const wchar_t* className, const wchar_t* text, DWORD style, const Box& box, int id,
                DWORD exStyle = 0)
{
    RECT r{box.x, box.y, box.x + box.cx, box.y + box.cy};
    MapDialogRect(dialog, &r);
    HWND control = CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                                   r.right - r.left, r.bottom - r.top, dialog,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instanceHandle(), nullptr);
    SendMessageW(control, WM_SETFONT, SendMessageW(dialog, WM_GETFONT, 0, 0), FALSE);
    return control;
}

void buildControls(HWND dialog)
{
    constexpr DWORD readOnlyText = ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP;
    addControl(dialog, L"EDIT", L"", readOnlyText, summaryBox, diagnosticsSummary, WS_EX_CLIENTEDGE);
    for (int i = 0; i < chartCount; ++i)
        addControl(dialog, L"STATIC", L"", SS_OWNERDRAW, chartBoxes[static_cast<std::size_t>(i)],
                   diagnosticsFirstChart + i);
    addControl(dialog, L"STATIC", L"Dziennik łącza (ostatnie 50 wierszy):", SS_LEFT, logLabelBox, noControlId);
    addControl(dialog, L"EDIT", L"", readOnlyText | ES_AUTOHSCROLL | WS_HSCROLL, logBox, diagnosticsLog,
               WS_EX_CLIENTEDGE);
    addControl(dialog, L"BUTTON", L"Kopiuj", BS_PUSHBUTTON | WS_TABSTOP, copyBox, diagnosticsCopyButton);
    addControl(dialog, L"BUTTON", L"Zamknij", BS_DEFPUSHBUTTON | WS_TABSTOP, closeBox, closeButton);
}

double linkNow()
{
    Clock& clock = usbLink.clock();
    return static_cast<double>(clock.now()) * clock.secondsPerCount();
}

void drawChart(const DRAWITEMSTRUCT& item)
{
    const auto chart = static_cast<StatusChart>(item.CtlID - diagnosticsFirstChart);
    const RECT& area = item.rcItem;
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    // Drawn off screen first, so the chart never flickers while it is redrawn.
    HDC memory = CreateCompatibleDC(item.hDC);
    HBITMAP bitmap = CreateCompatibleBitmap(item.hDC, width, height);
    if (!memory || !bitmap) {
        if (bitmap)
            DeleteObject(bitmap);
        if (memory)
            DeleteDC(memory);
        return;
    }
    HGDIOBJ previousBitmap = SelectObject(memory, bitmap);
    HGDIOBJ previousFont = SelectObject(memory, reinterpret_cast<HGDIOBJ>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)));
    const RECT local{0, 0, width, height};
    drawStatusChart(memory, local, chart, statusHistory.samples(), linkNow());
    BitBlt(item.hDC, area.left, area.top, width, height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previousFont);
    SelectObject(memory, previousBitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

// Replaces an edit's text only when it changed, keeping the reader's place, or moving to
// the end when asked (the log, whose newest line is last).
void showText(HWND edit, const std::wstring& text, bool toEnd)
{
    const LRESULT firstLine = SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0);
    SetWindowTextW(edit, text.c_str());
    if (toEnd) {
        const LRESULT length = GetWindowTextLengthW(edit);
        SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(length), length);
        SendMessageW(edit, EM_SCROLLCARET, 0, 0);
    } else {
        SendMessageW(edit, EM_LINESCROLL, 0, firstLine);
    }
}

void refresh(OpenWindow& window)
{
    const LinkDiagnosis diagnosis = diagnoseLink(usbLink);
    const std::wstring summary = summaryText(diagnosis);
    if (summary != window.summaryShown) {
        window.summaryShown = summary;
        showText(GetDlgItem(window.dialog, diagnosticsSummary), summary, false);
    }
    if (debugLogRing().revision() != window.logRevision) {
        window.logRevision = debugLogRing().revision();
        showText(GetDlgItem(window.dialog, diagnosticsLog), logText(diagnosis), true);
    }
    ++window.refreshesSinceChartRedraw;
    const bool moved = window.refreshesSinceChartRedraw >= refreshesPerChartRedraw && statusHistory.size() > 0;
    if (statusHistory.revision() != window.historyRevision || moved) {
        window.historyRevision = statusHistory.revision();
        window.refreshesSinceChartRedraw = 0;
        for (int i = 0; i < chartCount; ++i)
            InvalidateRect(GetDlgItem(window.dialog, diagnosticsFirstChart + i), nullptr, FALSE);
    }
}

INT_PTR CALLBACK diagnosticsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    OpenWindow& window = openWindow();
    switch (message) {
    case WM_INITDIALOG:
        window = OpenWindow();
        window.dialog = dialog;
        buildControls(dialog);
        centerOnParent(dialog, closeButton);
        refresh(window);
        return FALSE;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlID < diagnosticsFirstChart || item->CtlID >= diagnosticsFirstChart + chartCount)
            return FALSE;
        drawChart(*item);
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case diagnosticsCopyButton:
            copyTextToClipboard(dialog, connectionDiagnosticsText());
            return TRUE;
        case closeButton:
            window = OpenWindow();
            EndDialog(dialog, 0);
            return TRUE;
        default:
            return FALSE;
        }
    case WM_DESTROY:
        if (window.dialog == dialog)
            window = OpenWindow();
        return FALSE;
    default:
        return FALSE;
    }
}


} // namespace

void showConnectionDiagnostics(HWND mainDialog)
{
    if (HWND open = openWindow().dialog) {
        SetForegroundWindow(open);
        return;
    }
    std::vector<WORD> t = dialogTemplate();
    DialogBoxIndirectParamW(instanceHandle(), reinterpret_cast<LPCDLGTEMPLATEW>(t.data()), mainDialog,
                            &diagnosticsProc, 0);
}

void refreshConnectionDiagnostics()
{
    OpenWindow& window = openWindow();
    if (window.dialog)
        refresh(window);
}

HWND connectionDiagnosticsWindow()
{
    return openWindow().dialog;
}

std::wstring connectionDiagnosticsText()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    wchar_t stamp[32] = {};
    swprintf(stamp, 32, L"%04u-%02u-%02u %02u:%02u:%02u", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
             now.wSecond);
    std::wstring text = L"Quellmo PC " + std::wstring(programVersion()) + L" – " + caption + L", " + stamp + L"\r\n";
    return text + diagnosisText(diagnoseLink(usbLink));
}


} // namespace kes
