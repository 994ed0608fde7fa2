// The start-up benchmark's yardstick (bench/reference, made by bench/reference-maker) must hold the
// main window's controls as the program shows them when it starts: the same classes, styles,
// texts, places, font, list items and ticks. When the window changes, make the yardstick again.
#include "protocol/Supervision.h"
#include "ui/ResourceIds.h"
#include "ui/Shell.h"
#include "ui/WindowHelpers.h"
#include "UiTestSupport.h"

#include "reference-window.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int referenceTemplate = 100;
constexpr int placeSlack = 2;  // pixels: the template's dialog units round

INT_PTR CALLBACK referenceProc(HWND dialog, UINT message, WPARAM, LPARAM)
{
    if (message == WM_INITDIALOG)
        reference::initialise(dialog);
    return FALSE;
}

std::wstring fontOf(HWND control)
{
    HDC dc = GetDC(control);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return std::wstring(face) + L" " + std::to_wstring(metrics.tmHeight) + L" px, charset " +
           std::to_wstring(metrics.tmCharSet);
}

// Everything of a control the yardstick must have, but its place.
std::wstring described(HWND control)
{
    const std::wstring kind = uitest::classOf(control);
    wchar_t bits[40] = {};
    // A template's controls do not tell their parent of their creation: no cost, no difference.
    swprintf(bits, 40, L"%08lX %08lX", uitest::styleOf(control), uitest::exStyleOf(control) & ~WS_EX_NOPARENTNOTIFY);
    const int id = GetDlgCtrlID(control);
    std::wstring text = std::to_wstring(id) + L" " + kind + L" " + bits + L" \"" + uitest::textOf(control) + L"\"";
    if (id != IDC_MODULE_PICTURE && id != IDC_HIDDEN_BUTTON)  // the template's own, which show no text
        text += L" " + fontOf(control);
    if (kind == L"ComboBox") {
        const auto count = SendMessageW(control, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            wchar_t item[128] = {};
            SendMessageW(control, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item));
            text += L" |" + std::wstring(item);
        }
        text += L" chosen " + std::to_wstring(SendMessageW(control, CB_GETCURSEL, 0, 0));
    }
    if (kind == L"Button")
        text += L" check " + std::to_wstring(SendMessageW(control, BM_GETCHECK, 0, 0));
    return text;
}

TEST(ReferenceWindow, HoldsTheMainWindowsControlsAsTheProgramStarts)
{
    kes::setInstanceHandle(GetModuleHandleW(nullptr));
    HWND program = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MAIN_DIALOG), nullptr,
                                      &kes::mainDialogProc, 0);
    ASSERT_NE(program, nullptr);
    KillTimer(program, kes::mainTimerId);
    HWND yardstick = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(referenceTemplate), nullptr,
                                        &referenceProc, 0);
    ASSERT_NE(yardstick, nullptr);

    std::vector<std::wstring> shown, held, misplaced;
    const std::vector<HWND> ours = uitest::childrenOf(program);
    const std::vector<HWND> its = uitest::childrenOf(yardstick);
    for (HWND c : ours)
        shown.push_back(described(c));
    for (HWND c : its)
        held.push_back(described(c));
    EXPECT_EQ(held, shown) << "make bench/reference again with bench/reference-maker";

    for (std::size_t i = 0; i < ours.size() && i < its.size(); ++i) {
        const RECT a = uitest::clientRectInParent(ours[i]);
        const RECT b = uitest::clientRectInParent(its[i]);
        const bool combo = uitest::classOf(ours[i]) == L"ComboBox";  // its height is the edit part's
        if (std::abs(a.left - b.left) > placeSlack || std::abs(a.top - b.top) > placeSlack ||
            std::abs(a.right - b.right) > placeSlack || (!combo && std::abs(a.bottom - b.bottom) > placeSlack))
            misplaced.push_back(std::to_wstring(GetDlgCtrlID(ours[i])));
    }
    RECT a{}, b{};
    GetClientRect(program, &a);
    GetClientRect(yardstick, &b);
    EXPECT_LE(std::abs(a.right - b.right) + std::abs(a.bottom - b.bottom), placeSlack) << "the window's size";
    EXPECT_TRUE(misplaced.empty()) << misplaced.size() << " controls stand elsewhere, the first "
                                   << (misplaced.empty() ? 0 : std::stoi(misplaced[0]));
    DestroyWindow(yardstick);
    DestroyWindow(program);
}

} // namespace
