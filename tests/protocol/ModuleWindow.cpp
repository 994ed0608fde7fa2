#include "ModuleWindow.h"

#include "model/Catalogue.h"

#include <set>
#include <sstream>
#include <stdexcept>

namespace protocol_tests {
namespace {

const wchar_t className[] = L"QuellmoProtocolTestWindow";

void registerClass()
{
    static const bool done = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = className;
        return RegisterClassW(&wc) != 0;
    }();
    if (!done)
        throw std::runtime_error("RegisterClassW failed");
}

std::set<int> checkBoxIds()
{
    std::set<int> s{ids::in1Enabled, ids::in1SmsOn, ids::in1SmsOff, ids::in2Enabled, ids::in2SmsOn,
                    ids::in2SmsOff, ids::out1Enabled, ids::out1ByInput, ids::out1InputTimed, ids::out1ByClip,
                    ids::out1ClipUsersOnly, ids::out1ClipTimed, ids::smsUsersOnly, ids::out2Enabled,
                    ids::out2ByInput, ids::out2InputTimed, ids::out2ByTemp, ids::tempEnabled, ids::tempSmsOn,
                    ids::tempSmsOff, ids::powerEnabled, ids::statusOut1, ids::statusOut2, ids::statusIn1,
                    ids::statusIn2};
    using O = ids::UserOffset;
    for (int u = 0; u < ids::kUserCount; ++u)
        for (O o : {O::Active, O::RightOut, O::RightTemp, O::RightPwr, O::RightClip, O::RightListen,
                    O::RightMessenger, O::TimedRights})
            s.insert(ids::userId(u, o));
    return s;
}

std::set<int> listIds()
{
    std::set<int> s{ids::in1Wiring, ids::in2Wiring};
    for (int u = 0; u < ids::kUserCount; ++u)
        s.insert(ids::userId(u, ids::UserOffset::Notify));
    return s;
}

const std::set<int> buttonIds{ids::openButton, ids::saveButton, ids::helpButton, ids::closeButton,
                              ids::programButton, ids::clipUssdButton, ids::clearTextButton, ids::smsButton};

} // namespace

ModuleWindow::ModuleWindow()
{
    registerClass();
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    window_ = CreateWindowExW(0, className, L"test", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr, nullptr,
                              instance, nullptr);
    if (!window_)
        throw std::runtime_error("CreateWindowExW failed");
    const std::set<int> boxes = checkBoxIds();
    const std::set<int> lists = listIds();
    for (int id = ids::kFirst; id <= ids::kLast; ++id) {
        const wchar_t* cls = L"EDIT";
        DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;
        if (boxes.count(id)) {
            cls = L"BUTTON";
            style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX;
        } else if (lists.count(id)) {
            cls = L"COMBOBOX";
            style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST | WS_VSCROLL;
        } else if (buttonIds.count(id)) {
            cls = L"BUTTON";
            style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
        } else if (id == ids::remoteText) {
            style |= ES_MULTILINE;
        }
        CreateWindowExW(0, cls, L"", style, 0, 0, 100, 120, window_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    }
    // The shell's order of attaching.
    settingsBufor.attachAll(window_);
    for (std::size_t i = 0; i < settingsBufor.size(); ++i)
        settingsBufor.at(i)->restoreDefault();
    linkStatusField.attach(window_, kLinkStatusInitialText);
    connectedOnlyGroup.attach(window_, false);
    statusBufor.attachAll(window_);
    for (std::size_t i = 0; i < statusBufor.size(); ++i)
        statusBufor.at(i)->restoreDefault();
    firstUserTimeRightsView.attach(window_, 0);
}

ModuleWindow::~ModuleWindow()
{
    DestroyWindow(window_);
}

std::wstring ModuleWindow::text(int id) const
{
    wchar_t buffer[512] = {};
    GetWindowTextW(control(id), buffer, 511);
    return buffer;
}

std::wstring ModuleWindow::settingsSnapshot() const
{
    std::wostringstream out;
    settingsBufor.writeAll(out);
    return out.str();
}

} // namespace protocol_tests
