#pragma once
// A dialog from a resource template, run modally. What it shows is set on the object before it
// is created; the one procedure finds the object from the window and calls the handler for each
// message. An exception in a handler ends the dialog and is reported as a program fault: none
// crosses into Windows.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

namespace kes {

// A control with a mind of its own (a list): the dialog hands it every notification first and
// tells it when the dialog's size has changed.
class DialogPart {
public:
    virtual ~DialogPart() = default;
    // True when the notification was this part's; result is what the dialog answers.
    virtual bool notify(const NMHDR& header, LRESULT& result) = 0;
    virtual void dialogResized() {}
};

// How an item follows the dialog when the user resizes it, by the change of the dialog's size.
enum class Follow : unsigned {
    Right = 0x1,   // moves right by the change of width
    Down = 0x2,    // moves down by the change of height
    Wider = 0x4,   // grows by the change of width
    Taller = 0x8,  // grows by the change of height
};
constexpr Follow operator|(Follow a, Follow b)
{
    return static_cast<Follow>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}

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

    void end(INT_PTR result);
    // Runs work that does not come from one of the dialog's own messages (a tick of the main
    // window) the way a handler runs: a throw ends this dialog through the fault report.
    void runAsHandler(const std::function<void()>& work);

    // The template's items.
    HWND item(int id) const { return GetDlgItem(window_, id); }
    // Sets the text only when it differs, so a dialog refreshed every tick does not flicker.
    void setItemText(int id, const std::wstring& text);
    std::wstring itemText(int id) const;
    void showItem(int id, bool shown) { ShowWindow(item(id), shown ? SW_SHOW : SW_HIDE); }
    void enableItem(int id, bool enabled) { EnableWindow(item(id), enabled ? TRUE : FALSE); }
    bool isItemChecked(int id) const { return IsDlgButtonChecked(window_, id) == BST_CHECKED; }
    void checkItem(int id, bool checked) { CheckDlgButton(window_, id, checked ? BST_CHECKED : BST_UNCHECKED); }
    // The item's rectangle in the dialog's client area, and moving it there.
    RECT itemRect(int id) const;
    void moveItem(int id, const RECT& place);
    // Dialog units of this dialog's font in pixels, down the dialog.
    int unitsDown(int units) const;

    // The item keeps its place against the dialog's present size; when the user resizes the
    // dialog it moves or stretches as asked. A resizable dialog is never made smaller than it
    // was when the first item started following it.
    void follow(int id, Follow how);
    // The part gets the dialog's notifications and size changes while the dialog runs.
    void addPart(DialogPart& part) { parts_.push_back(&part); }

    // True lets the dialog manager put the focus on the first tab stop.
    virtual bool onInit() { return true; }
    // A WM_COMMAND other than IDCANCEL, with its notification code; true when handled.
    virtual bool onCommand(int /*id*/, int /*code*/) { return false; }
    // Esc, the close box and a button with ID IDCANCEL.
    virtual void onCancel() { end(IDCANCEL); }
    // An owner-drawn control of this dialog; true when drawn.
    virtual bool onDrawItem(const DRAWITEMSTRUCT& /*item*/) { return false; }
    // A notification no part took; true when handled, with the answer in result.
    virtual bool onNotify(const NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
    // A timer of this dialog's own.
    virtual bool onTimer(UINT_PTR /*id*/) { return false; }
    // The client area's new size, after the following items have moved.
    virtual void onSize(int /*width*/, int /*height*/) {}
    // Any other message, the dialog's private ones included; true when handled.
    virtual bool onMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/) { return false; }

private:
    struct Follower {
        int id;
        Follow how;
        RECT place;   // at the size below
        SIZE client;
    };

    static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    bool notify(const NMHDR& header);
    void resized(int width, int height);
    void endAfterFault();

    int templateId_;
    HWND window_ = nullptr;
    bool ending_ = false;
    bool failed_ = false;
    std::vector<Follower> followers_;
    SIZE smallest_{};  // the window's size when it started following; none while 0
    std::vector<DialogPart*> parts_;
};

} // namespace kes
