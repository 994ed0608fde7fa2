#pragma once
// A hidden window holding a real control for every main-window ID, with every field
// attached as the shell attaches them; plus recorders for the message box and the file
// dialogs, so tests see what the user would see without a modal loop.
#include "storage/FileDialogs.h"

#include <optional>
#include <string>
#include <vector>
#include <windows.h>

namespace testing_support {

class TestWindow {
public:
    TestWindow();   // creates the controls, attaches every field, restores the defaults
    ~TestWindow();  // destroys the window; the fields fall back to their bound values
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND handle() const { return window_; }
    HWND control(int id) const { return GetDlgItem(window_, id); }

private:
    HWND window_ = nullptr;
};

// Every settings field back to its default value.
void restoreDefaults();

// Each settings field's value text as its writer gives it, in registry order.
std::vector<std::wstring> settingsSnapshot();

struct ShownBox {
    HWND owner;
    std::wstring text;
    std::wstring caption;
    UINT type;
};

// Takes the message boxes while it lives; each one is answered with OK.
class MessageBoxRecorder {
public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    const std::vector<ShownBox>& boxes() const { return boxes_; }
    void clear() { boxes_.clear(); }

private:
    std::vector<ShownBox> boxes_;
};

struct AskedDialog {
    kes::FileDialogKind kind;
    DWORD flags;
};

// Answers the file dialogs while it lives: with `path`, or as a cancel when it is empty.
class FileDialogAnswer {
public:
    explicit FileDialogAnswer(std::wstring path = L"");
    ~FileDialogAnswer();
    FileDialogAnswer(const FileDialogAnswer&) = delete;
    FileDialogAnswer& operator=(const FileDialogAnswer&) = delete;

    void answer(std::wstring path) { path_ = std::move(path); }
    const std::vector<AskedDialog>& asked() const { return asked_; }

private:
    std::wstring path_;
    std::vector<AskedDialog> asked_;
};

// A fresh, empty folder under the temporary folder, removed with its files at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& path() const { return path_; }
    std::wstring file(const std::wstring& name) const { return path_ + L"\\" + name; }
    std::vector<std::wstring> names() const;  // the files now in the folder

private:
    std::wstring path_;
};

std::string readFileBytes(const std::wstring& path);
bool writeFileBytes(const std::wstring& path, const std::string& bytes);

} // namespace testing_support
