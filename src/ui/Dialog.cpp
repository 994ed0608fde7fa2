#include "ui/Dialog.h"

#include "ui/ExceptionFilter.h"
#include "ui/WindowHelpers.h"

namespace kes {
namespace {

bool has(Follow how, Follow what)
{
    return (static_cast<unsigned>(how) & static_cast<unsigned>(what)) != 0;
}

SIZE clientSize(HWND window)
{
    RECT r{};
    GetClientRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

} // namespace

INT_PTR Dialog::runModal(HWND owner)
{
    ending_ = false;
    failed_ = false;
    return DialogBoxParamW(instanceHandle(), MAKEINTRESOURCEW(templateId_), owner, &procedure,
                           reinterpret_cast<LPARAM>(this));
}

void Dialog::end(INT_PTR result)
{
    ending_ = true;
    EndDialog(window_, result);
}

void Dialog::endAfterFault()
{
    // Set first: the fault box's modal loop goes on delivering this window's messages.
    failed_ = true;
    ending_ = true;
    EndDialog(window_, endedByFault);
    reportProgramFault();
}

void Dialog::runAsHandler(const std::function<void()>& work)
{
    if (failed_ || !window_)
        return;
    try {
        work();
    } catch (...) {
        endAfterFault();
    }
}

void Dialog::setItemText(int id, const std::wstring& text)
{
    if (itemText(id) != text)
        SetWindowTextW(item(id), text.c_str());
}

std::wstring Dialog::itemText(int id) const
{
    HWND control = item(id);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, &text[0], static_cast<int>(text.size()))));
    return text;
}

RECT Dialog::itemRect(int id) const
{
    RECT r{};
    GetWindowRect(item(id), &r);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void Dialog::moveItem(int id, const RECT& place)
{
    SetWindowPos(item(id), nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

int Dialog::unitsDown(int units) const
{
    RECT r{0, 0, 0, units};
    MapDialogRect(window_, &r);
    return r.bottom;
}

void Dialog::follow(int id, Follow how)
{
    if (followers_.empty()) {
        RECT frame{};
        GetWindowRect(window_, &frame);
        smallest_ = {frame.right - frame.left, frame.bottom - frame.top};
    }
    followers_.push_back({id, how, itemRect(id), clientSize(window_)});
}

void Dialog::resized(int width, int height)
{
    if (!followers_.empty()) {
        HDWP moves = BeginDeferWindowPos(static_cast<int>(followers_.size()));
        for (const Follower& f : followers_) {
            const int dx = width - f.client.cx;
            const int dy = height - f.client.cy;
            RECT r = f.place;
            OffsetRect(&r, has(f.how, Follow::Right) ? dx : 0, has(f.how, Follow::Down) ? dy : 0);
            r.right += has(f.how, Follow::Wider) ? dx : 0;
            r.bottom += has(f.how, Follow::Taller) ? dy : 0;
            if (moves)
                moves = DeferWindowPos(moves, item(f.id), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                       SWP_NOZORDER | SWP_NOACTIVATE);
        }
        if (moves)
            EndDeferWindowPos(moves);
        // Moved items leave their old places to be painted over.
        InvalidateRect(window_, nullptr, TRUE);
    }
    for (DialogPart* part : parts_)
        part->dialogResized();
    onSize(width, height);
}

bool Dialog::notify(const NMHDR& header)
{
    LRESULT result = 0;
    bool handled = false;
    for (DialogPart* part : parts_)
        if (part->notify(header, result)) {
            handled = true;
            break;
        }
    if (!handled)
        handled = onNotify(header, result);
    if (handled)
        SetWindowLongPtrW(window_, DWLP_MSGRESULT, result);
    return handled;
}

INT_PTR CALLBACK Dialog::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        reinterpret_cast<Dialog*>(lParam)->window_ = window;
    }
    // Messages before WM_INITDIALOG (WM_SETFONT) find no object yet.
    auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, DWLP_USER));
    if (!self)
        return FALSE;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, DWLP_USER, 0);
        self->window_ = nullptr;
        self->followers_.clear();
        self->parts_.clear();
        return FALSE;
    }
    if (self->failed_)
        return FALSE;
    try {
        return self->dispatch(message, wParam, lParam) ? TRUE : FALSE;
    } catch (...) {
        self->endAfterFault();
        return TRUE;
    }
}

bool Dialog::dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return onInit();
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) {
            onCancel();
            return true;
        }
        return onCommand(LOWORD(wParam), HIWORD(wParam));
    case WM_CLOSE:
        onCancel();
        return true;
    case WM_DRAWITEM:
        return onDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_NOTIFY:
        return notify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_TIMER:
        return onTimer(wParam);
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED)
            resized(LOWORD(lParam), HIWORD(lParam));
        return false;
    case WM_GETMINMAXINFO:
        if (smallest_.cx > 0) {
            auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
            limits->ptMinTrackSize = {smallest_.cx, smallest_.cy};
            return true;
        }
        return false;
    default:
        return onMessage(message, wParam, lParam);
    }
}

} // namespace kes
