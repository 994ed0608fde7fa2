#pragma once
// A dialog from a resource template, run modally. What it shows is set on the object before it
// is created; the one procedure finds the object from the window and calls the handler for each
// message. An exception in a handler ends the dialog and is reported as a program fault: none
// crosses into Windows.
#include <windows.h>

namespace kes {

class Dialog {
public:
    // What runModal returns when a handler failed.
    static constexpr INT_PTR endedByFault = -2;

    virtual ~Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Returns when the dialog has ended: the result given to end(), endedByFault, or -1 when
    // the dialog could not be created.
    INT_PTR runModal(HWND owner);

    // The dialog's window while it exists, else null.
    HWND window() const { return window_; }
    // True from the dialog's initialisation until it is told to end.
    bool isRunning() const { return window_ != nullptr && !ending_; }

protected:
    explicit Dialog(int templateId) : templateId_(templateId) {}

    HWND item(int id) const { return GetDlgItem(window_, id); }
    void end(INT_PTR result);

    // True lets the dialog manager put the focus on the first tab stop.
    virtual bool onInit() { return true; }
    // A WM_COMMAND other than IDCANCEL; true when handled.
    virtual bool onCommand(int /*id*/) { return false; }
    // Esc, the close box and a button with ID IDCANCEL.
    virtual void onCancel() { end(IDCANCEL); }
    // An owner-drawn control of this dialog; true when drawn.
    virtual bool onDrawItem(const DRAWITEMSTRUCT& /*item*/) { return false; }

private:
    static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    void endAfterFault();

    int templateId_;
    HWND window_ = nullptr;
    bool ending_ = false;
    bool failed_ = false;
};

} // namespace kes
