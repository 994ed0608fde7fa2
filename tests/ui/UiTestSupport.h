#pragma once
// Real dialogs for the UI tests: modeless dialogs from in-memory templates, a message pump
// that waits on a condition with a deadline, and small readers of window state.
#include <chrono>
#include <functional>
#include <string>
#include <vector>
#include <windows.h>
#include <commctrl.h>

namespace uitest {

// A modeless dialog from an in-memory template (pop-up, caption; with a font when face is set).
class TemplateDialog {
public:
    TemplateDialog(const wchar_t* face, WORD points, DLGPROC proc = nullptr, HWND owner = nullptr)
    {
        std::vector<WORD> t(512, 0);
        auto* d = reinterpret_cast<DLGTEMPLATE*>(t.data());
        d->style = WS_POPUP | WS_CAPTION | (face ? DS_SETFONT : 0);
        d->cx = 300;
        d->cy = 200;
        WORD* p = reinterpret_cast<WORD*>(d + 1);
        *p++ = 0; // menu
        *p++ = 0; // class
        *p++ = 0; // title
        if (face) {
            *p++ = points;
            for (const wchar_t* f = face; *f; ++f)
                *p++ = static_cast<WORD>(*f);
            *p++ = 0;
        }
        handle_ = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), d, owner, proc ? proc : &ignore, 0);
    }
    ~TemplateDialog()
    {
        if (IsWindow(handle_))
            DestroyWindow(handle_);
    }
    TemplateDialog(const TemplateDialog&) = delete;
    TemplateDialog& operator=(const TemplateDialog&) = delete;
    HWND get() const { return handle_; }

private:
    static INT_PTR CALLBACK ignore(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
    HWND handle_ = nullptr;
};

// Pumps this thread's messages until the condition holds or the deadline passes.
inline bool pumpUntil(const std::function<bool()>& condition,
                      std::chrono::milliseconds deadline = std::chrono::milliseconds(10000))
{
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

// Calls an action every period of real time through a thread timer, whose procedure also runs
// inside the program's modal loops (progress window, message boxes). One at a time.
class ThreadTicks {
public:
    ThreadTicks() = default;
    ThreadTicks(const ThreadTicks&) = delete;
    ThreadTicks& operator=(const ThreadTicks&) = delete;
    ~ThreadTicks() { stop(); }

    void start(std::function<void()> each, UINT periodMs = 15)
    {
        stop();
        action() = std::move(each);
        id_ = SetTimer(nullptr, 0, periodMs, &fire);
    }
    void stop()
    {
        if (id_)
            KillTimer(nullptr, id_);
        id_ = 0;
        action() = nullptr;
    }

private:
    static std::function<void()>& action()
    {
        static std::function<void()> each;
        return each;
    }
    static void CALLBACK fire(HWND, UINT, UINT_PTR, DWORD)
    {
        if (action())
            action()();
    }
    UINT_PTR id_ = 0;
};

inline std::wstring textOf(HWND window)
{
    std::vector<wchar_t> buffer(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    GetWindowTextW(window, buffer.data(), static_cast<int>(buffer.size()));
    return buffer.data();
}

// The text of one cell of a list view in report view.
inline std::wstring listCell(HWND list, int row, int column)
{
    wchar_t buffer[256] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = 256;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return buffer;
}

inline std::wstring classOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// The window's rectangle in its parent's client coordinates.
inline RECT clientRectInParent(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

inline DWORD styleOf(HWND window)
{
    return static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
}

inline DWORD exStyleOf(HWND window)
{
    return static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
}

// The child windows of a dialog in Z order (= creation order for run-time controls).
inline std::vector<HWND> childrenOf(HWND dialog)
{
    std::vector<HWND> children;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        children.push_back(c);
    return children;
}

} // namespace uitest
