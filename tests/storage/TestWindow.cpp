#include "storage/TestWindow.h"

#include "model/Catalogue.h"
#include "support/MessageBox.h"
#include "support/ScopedWin.h"

#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

namespace testing_support {
namespace {

enum class ControlKind { Edit, CheckBox, List, Other };

void noteKinds(const kes::ControlBufor& registry, std::map<int, ControlKind>& kinds)
{
    for (std::size_t i = 0; i < registry.size(); ++i) {
        kes::InterfaceControl* c = registry.at(i);
        if (auto* edit = dynamic_cast<kes::EditControl::EditControlInternal*>(c))
            kinds[edit->id] = ControlKind::Edit;
        else if (auto* box = dynamic_cast<kes::OptionControl::OptionControlInternal*>(c))
            kinds[box->id] = ControlKind::CheckBox;
        else if (auto* list = dynamic_cast<kes::ComboboxControl<int>::ComboboxControlInternal*>(c))
            kinds[list->id] = ControlKind::List;
    }
}

} // namespace

TestWindow::TestWindow()
{
    std::map<int, ControlKind> kinds;
    noteKinds(settingsBufor, kinds);
    noteKinds(statusBufor, kinds);
    kinds[ids::linkStatus] = ControlKind::Edit;

    const HINSTANCE instance = GetModuleHandleW(nullptr);
    window_ = CreateWindowExW(0, L"STATIC", L"test main window", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr,
                              instance, nullptr);
    for (int id = ids::kFirst; id <= ids::kLast; ++id) {
        const auto found = kinds.find(id);
        const ControlKind kind = found == kinds.end() ? ControlKind::Other : found->second;
        const wchar_t* cls = L"STATIC";
        DWORD style = WS_CHILD | WS_VISIBLE;
        switch (kind) {
        case ControlKind::Edit: cls = L"EDIT"; style |= ES_AUTOHSCROLL | WS_BORDER; break;
        case ControlKind::CheckBox: cls = L"BUTTON"; style |= BS_AUTOCHECKBOX; break;
        case ControlKind::List: cls = L"COMBOBOX"; style |= CBS_DROPDOWNLIST | WS_VSCROLL; break;
        case ControlKind::Other: break;
        }
        CreateWindowExW(0, cls, L"", style, 0, 0, 100, 20, window_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    }
    settingsBufor.attachAll(window_);
    linkStatusField.attach(window_, kLinkStatusInitialText);
    connectedOnlyGroup.attach(window_, false);
    statusBufor.attachAll(window_);
    firstUserTimeRightsView.attach(window_, 0);
    restoreDefaults();
}

TestWindow::~TestWindow()
{
    if (window_)
        DestroyWindow(window_);
}

void restoreDefaults()
{
    for (std::size_t i = 0; i < settingsBufor.size(); ++i)
        settingsBufor.at(i)->restoreDefault();
}

std::vector<std::wstring> settingsSnapshot()
{
    std::vector<std::wstring> values;
    for (std::size_t i = 0; i < settingsBufor.size(); ++i) {
        std::wostringstream out;
        settingsBufor.at(i)->writeValue(out);
        values.push_back(out.str());
    }
    return values;
}

MessageBoxRecorder::MessageBoxRecorder()
{
    kes::setMessageBoxFunction([this](HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
        boxes_.push_back({owner, text, caption, type});
        return IDOK;
    });
}

MessageBoxRecorder::~MessageBoxRecorder() { kes::setMessageBoxFunction(nullptr); }

FileDialogAnswer::FileDialogAnswer(std::wstring path) : path_(std::move(path))
{
    kes::setFileDialogFunction([this](kes::FileDialogKind kind, OPENFILENAMEW& record) {
        asked_.push_back({kind, record.Flags});
        if (path_.empty() || path_.size() >= record.nMaxFile)
            return false;
        path_.copy(record.lpstrFile, path_.size());
        record.lpstrFile[path_.size()] = L'\0';
        return true;
    });
}

FileDialogAnswer::~FileDialogAnswer() { kes::setFileDialogFunction(nullptr); }

TempFolder::TempFolder()
{
    wchar_t base[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, base);
    static unsigned counter = 0;
    for (;;) {
        path_ = std::wstring(base) + L"quellmo-storage-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(++counter);
        if (CreateDirectoryW(path_.c_str(), nullptr))
            break;
    }
}

TempFolder::~TempFolder()
{
    for (const std::wstring& name : names()) {
        const std::wstring full = file(name);
        SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(full.c_str());
    }
    RemoveDirectoryW(path_.c_str());
}

std::vector<std::wstring> TempFolder::names() const
{
    std::vector<std::wstring> found;
    WIN32_FIND_DATAW data{};
    const kes::FindHandle search(FindFirstFileW((path_ + L"\\*").c_str(), &data));
    if (!search)
        return found;
    do {
        const std::wstring name = data.cFileName;
        if (name != L"." && name != L"..")
            found.push_back(name);
    } while (FindNextFileW(search.get(), &data));
    return found;
}

std::string readFileBytes(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool writeFileBytes(const std::wstring& path, const std::string& bytes)
{
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

} // namespace testing_support
