#pragma once
// A hidden top-level window carrying every control ID of the main window with the right
// control class (edit, automatic check box, drop-down list, button), attached to all bound
// fields in the shell's order and reset to the defaults.
#include <windows.h>

#include <string>

namespace protocol_tests {

class ModuleWindow {
public:
    ModuleWindow();
    ~ModuleWindow();
    ModuleWindow(const ModuleWindow&) = delete;
    ModuleWindow& operator=(const ModuleWindow&) = delete;

    HWND hwnd() const { return window_; }
    HWND control(int id) const { return GetDlgItem(window_, id); }
    bool enabled(int id) const { return IsWindowEnabled(control(id)) != FALSE; }
    bool checked(int id) const { return SendMessageW(control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    std::wstring text(int id) const;
    // The whole settings registry in its stream form: one string to compare two windows by.
    std::wstring settingsSnapshot() const;

private:
    HWND window_ = nullptr;
};

} // namespace protocol_tests
