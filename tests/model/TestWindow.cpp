#include "TestWindow.h"

#include "model/Catalogue.h"

#include <set>
#include <stdexcept>
#include <vector>

namespace testing_model {

namespace {

constexpr wchar_t kClassName[] = L"QuellmoModelTestWindow";

void registerClass()
{
    static const ATOM atom = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kClassName;
        return RegisterClassExW(&wc);
    }();
    if (atom == 0)
        throw std::runtime_error("RegisterClassExW failed");
}

} // namespace

TestWindow::TestWindow()
{
    registerClass();
    hwnd_ = CreateWindowExW(0, kClassName, L"test", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    if (!hwnd_)
        throw std::runtime_error("CreateWindowExW failed");
}

TestWindow::~TestWindow()
{
    destroy();
}

void TestWindow::destroy()
{
    if (hwnd_)
        DestroyWindow(hwnd_);
    hwnd_ = nullptr;
}

HWND TestWindow::add(int id, ControlKind kind, const wchar_t* text)
{
    const wchar_t* cls = L"BUTTON";
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    switch (kind) {
    case ControlKind::Edit:
        cls = L"EDIT";
        style |= ES_AUTOHSCROLL;
        break;
    case ControlKind::CheckBox:
        style |= BS_AUTOCHECKBOX;
        break;
    case ControlKind::PushLike:
        style |= BS_CHECKBOX | BS_PUSHLIKE;
        break;
    case ControlKind::DropDown:
        cls = L"COMBOBOX";
        style |= CBS_DROPDOWNLIST | WS_VSCROLL;
        break;
    case ControlKind::Button:
        style |= BS_PUSHBUTTON;
        break;
    case ControlKind::Label:
        cls = L"STATIC";
        style &= ~static_cast<DWORD>(WS_TABSTOP);
        break;
    }
    HWND control = CreateWindowExW(0, cls, text, style, 10, 10, 60, 20, hwnd_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                   nullptr);
    if (!control)
        throw std::runtime_error("creating a control failed");
    return control;
}

void addCatalogueControls(TestWindow& window)
{
    std::set<int> checkBoxes{
        in1Enabled.id(),  in1SmsOn.id(),    in1SmsOff.id(),         in2Enabled.id(),    in2SmsOn.id(),
        in2SmsOff.id(),   out1Enabled.id(), out1ByInput.id(),       out1InputTimed.id(), out1ByClip.id(),
        out1ClipUsersOnly.id(), out1ClipTimed.id(), out2Enabled.id(), out2ByInput.id(), out2InputTimed.id(),
        out2ByTemp.id(),  smsUsersOnly.id(), tempEnabled.id(),      tempSmsOn.id(),     tempSmsOff.id(),
        powerEnabled.id()};
    std::set<int> pushLike{statusIn1.id(), statusIn2.id(), statusOut1.id(), statusOut2.id()};
    std::set<int> dropDowns{in1Wiring.id(), in2Wiring.id()};
    std::set<int> buttons{ids::openButton, ids::saveButton,  ids::helpButton, ids::closeButton,
                          ids::programButton, ids::clipUssdButton, ids::clearTextButton, ids::smsButton};
    std::set<int> edits{accessCode.id(),   simPin.id(),        in1Name.id(),      in1Time.id(),
                        in1SmsOnText.id(), in1SmsOffText.id(), in2Name.id(),      in2Time.id(),
                        in2SmsOnText.id(), in2SmsOffText.id(), out1Name.id(),     out1InputTime.id(),
                        out1ClipTime.id(), out2Name.id(),      out2InputTime.id(), tempName.id(),
                        tempMax.id(),      tempMin.id(),       powerMax.id(),     powerMin.id(),
                        statusOperator.id(), statusLevel.id(), statusPower.id(),  statusTemp.id(),
                        remotePhone.id(),  remoteText.id(),    linkStatusField.id()};
    for (int user = 0; user < ids::kUserCount; ++user) {
        for (kes::OptionControl* box :
             {&userActive[user], &userRightOut[user], &userRightTemp[user], &userRightPwr[user],
              &userRightClip[user], &userRightListen[user], &userRightMessenger[user], &userTimedRights[user]})
            checkBoxes.insert(box->id());
        edits.insert(userPhone[user].id());
        edits.insert(userRightsHours[user].id());
        dropDowns.insert(userNotify[user].id());
    }
    for (int id = ids::kFirst; id <= ids::kLast; ++id) {
        ControlKind kind = ControlKind::Label;
        if (checkBoxes.count(id))
            kind = ControlKind::CheckBox;
        else if (pushLike.count(id))
            kind = ControlKind::PushLike;
        else if (dropDowns.count(id))
            kind = ControlKind::DropDown;
        else if (buttons.count(id))
            kind = ControlKind::Button;
        else if (edits.count(id))
            kind = ControlKind::Edit;
        window.add(id, kind);
    }
}

void attachCatalogue(HWND dialog)
{
    settingsBufor.attachAll(dialog);
    linkStatusField.attach(dialog, kLinkStatusInitialText);
    connectedOnlyGroup.attach(dialog, false);
    statusBufor.attachAll(dialog);
    firstUserTimeRightsView.attach(dialog, 0);
}

void resetCatalogue()
{
    for (kes::ControlBufor* registry : {&settingsBufor, &statusBufor}) {
        for (std::size_t i = 0; i < registry->size(); ++i)
            registry->at(i)->restoreDefault();
    }
    linkStatusField.control().restoreDefault();
    connectedOnlyGroup.control().restoreDefault();
}

bool enabled(HWND control)
{
    return IsWindowEnabled(control) != FALSE;
}

bool shown(HWND control)
{
    return (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

bool checked(HWND control)
{
    return SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::wstring text(HWND control)
{
    const int length = GetWindowTextLengthW(control);
    std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(control, &buffer[0], length + 1);
    buffer.resize(static_cast<std::size_t>(length));
    return buffer;
}

int selection(HWND control)
{
    return static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0));
}

void toggle(HWND control)
{
    SendMessageW(control, BM_SETCHECK, checked(control) ? BST_UNCHECKED : BST_CHECKED, 0);
}

} // namespace testing_model
