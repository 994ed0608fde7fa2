#include "ui/Shell.h"

#include "SimHarness.h"
#include "model/Catalogue.h"
#include "model/SettingsView.h"
#include "model/Validation.h"
#include "protocol/Programming.h"
#include "protocol/Supervision.h"
#include "support/HelpLauncher.h"
#include "support/HelpRecorder.h"
#include "support/MessageBox.h"
#include "support/ScopedWin.h"
#include "ui/ExceptionFilter.h"
#include "ui/ProgressDialog.h"
#include "ui/ResourceIds.h"
#include "ui/WindowHelpers.h"
#include "UiTestSupport.h"
#include "CaseName.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct Box {
    HWND owner;
    std::wstring text, caption;
    UINT type;
    bool progressOpen; // a progress window existed when the box came
};

// What the progress window showed while it was open.
struct ProgressSeen {
    std::wstring text;
    int rangeHigh = -1;
    int lastPosition = -1;
    bool opened = false;
};

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previousBox = kes::setMessageBoxFunction(
            [this](HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
                boxes.push_back({owner, text, caption, type, kes::progressWindow() != nullptr});
                if (whileBoxOpen)
                    whileBoxOpen(text);
                if (throwFromBox) {
                    throwFromBox = false;
                    throw std::runtime_error("from a handler");
                }
                return IDOK;
            });
        kes::programmingStepCounter = kes::noProgramming;
        kes::supervision = kes::SupervisionState();
        kes::out1Clicked = kes::out2Clicked = kes::clipClicked = kes::smsClicked = false;
        sim.attachGlobalLink();
        kes::setInstanceHandle(GetModuleHandleW(nullptr));
        dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MAIN_DIALOG), nullptr,
                                    &kes::mainDialogProc, 0);
        ASSERT_NE(dialog, nullptr);
    }

    void TearDown() override
    {
        stopTicks();
        if (IsWindow(dialog))
            DestroyWindow(dialog);
        kes::usbLink.close();
        kes::setMessageBoxFunction(previousBox);
    }

    HWND item(int id) const { return GetDlgItem(dialog, id); }
    std::wstring statusLine() const { return uitest::textOf(item(ids::linkStatus)); }

    // Ticks every 15 ms of real time, each 500 ms of the simulation's time, also inside the
    // program's modal loops (the thread timer's procedure runs in any of them).
    void startTicks() { ticks.start([this] { injectTick(); }); }
    void stopTicks() { ticks.stop(); }
    void injectTick()
    {
        if (HWND window = kes::progressWindow()) {
            progress.opened = true;
            progress.text = uitest::textOf(GetDlgItem(window, IDC_PROGRESS_TEXT));
            PBRANGE range{};
            SendDlgItemMessageW(window, IDC_PROGRESS_BAR, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
            progress.rangeHigh = range.iHigh;
            progress.lastPosition =
                static_cast<int>(SendDlgItemMessageW(window, IDC_PROGRESS_BAR, PBM_GETPOS, 0, 0));
        }
        sim.advanceMs(500);
        PostMessageW(dialog, WM_TIMER, 1005, 0);
    }

    // Until the module answers and its configuration has been read.
    void connectAndRead()
    {
        startTicks();
        ASSERT_TRUE(uitest::pumpUntil([&] { return statusLine() == L"Quellmo GSM"; })) << "status: " << statusLine();
        ASSERT_TRUE(IsWindowEnabled(item(ids::programButton)));
    }

    int framesWithCommand(std::uint8_t command)
    {
        int n = 0;
        for (const auto& e : sim.sim.journal())
            if (e.direction == qlvsim::Direction::HostToModule && e.bytes.size() == 30 && e.bytes[0] == command)
                ++n;
        return n;
    }

    void clickProgram() { PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(ids::programButton, BN_CLICKED), 0); }

    // Settings that pass validation, whatever the module had stored.
    void validSettings()
    {
        accessCode.setText(L"WKTR");
        simPin.setText(L"4821");
        const kes::ValidatedSettings validated = kes::validateSettings(kes::windowSettings());
        kes::showSettings(validated.settings);
        ASSERT_EQ(validated.faults, L"");
    }

    harness::SimHarness sim;
    HWND dialog = nullptr;
    std::vector<Box> boxes;
    bool throwFromBox = false;
    std::function<void(const std::wstring& text)> whileBoxOpen; // runs as if inside the box's loop
    ProgressSeen progress;
    uitest::ThreadTicks ticks;
    kes::MessageBoxFunction previousBox;
};

TEST_F(ShellTest, StartsDisconnectedWithTheConnectedOnlyGroupDisabledAndFocusOnTheAccessCode)
{
    EXPECT_EQ(statusLine(), L"podłącz QLV-3 USB");
    for (int id : {ids::programButton, ids::statusOut1, ids::statusOut2, ids::remotePhone, ids::clipUssdButton,
                   ids::smsButton, ids::remoteText}) {
        EXPECT_FALSE(IsWindowEnabled(item(id))) << id;
    }
    EXPECT_TRUE(IsWindowEnabled(item(ids::openButton)));
    EXPECT_EQ(GetFocus(), item(ids::accessCode));
    EXPECT_FALSE(IsWindowVisible(item(IDC_HIDDEN_BUTTON)));
    EXPECT_NE(GetClassLongPtrW(dialog, GCLP_HICON), 0);
    EXPECT_EQ(uitest::textOf(item(ids::accessCode)), L"WKTR");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ShellTest, TheWindowIsCentredOnTheDesktop)
{
    RECT desktop{}, own{};
    GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(dialog, &own);
    EXPECT_EQ(own.left, desktop.left + ((desktop.right - desktop.left) - (own.right - own.left)) / 2);
    EXPECT_EQ(own.top, desktop.top + ((desktop.bottom - desktop.top) - (own.bottom - own.top)) / 2);
}

TEST(ExceptionFilter, ReportsTheFaultWithoutOwnerAndLetsTheProcessEnd)
{
    std::vector<Box> shown;
    auto previous = kes::setMessageBoxFunction([&](HWND owner, const std::wstring& text,
                                                   const std::wstring& caption, UINT type) {
        shown.push_back({owner, text, caption, type, false});
        return IDOK;
    });
    EXCEPTION_RECORD record{};
    record.ExceptionCode = EXCEPTION_ACCESS_VIOLATION;
    EXCEPTION_POINTERS pointers{&record, nullptr};
    EXPECT_EQ(kes::unhandledExceptionFilter(&pointers), EXCEPTION_EXECUTE_HANDLER);
    kes::setMessageBoxFunction(previous);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].owner, nullptr);
    EXPECT_EQ(shown[0].text, L"Błąd w programie");
    EXPECT_EQ(shown[0].caption, L"Błąd");
    EXPECT_EQ(shown[0].type, static_cast<UINT>(MB_ICONERROR));
}

TEST_F(ShellTest, TheTimerDrivesTheTick)
{
    // No simulated time passes here: the real 500 ms timer alone must find and open the interface.
    ASSERT_TRUE(uitest::pumpUntil([&] { return statusLine() == L"QLV-3 USB OK"; }, std::chrono::seconds(5)));
    EXPECT_TRUE(kes::usbLink.isOpen());
}

TEST_F(ShellTest, EnterAndEscapeDoNotCloseTheWindow)
{
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    // The keys themselves, through the dialog manager.
    for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
        MSG msg{item(ids::accessCode), WM_KEYDOWN, key, 0, 0, {}};
        IsDialogMessageW(dialog, &msg);
    }
    // "Usuń" posted last: once the field is empty, everything posted before it has been handled.
    SetWindowTextW(item(ids::remoteText), L"X");
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(ids::clearTextButton, BN_CLICKED), 0);
    ASSERT_TRUE(uitest::pumpUntil([&] { return uitest::textOf(item(ids::remoteText)).empty(); }));
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_TRUE(boxes.empty());
}

// A multi-line edit posts WM_CLOSE to its dialog on Esc; no control may pass that on.
TEST_F(ShellTest, EscapeInAnyControlLeavesTheWindowOpen)
{
    for (int id = 10001; id <= 10143; ++id) {
        HWND control = item(id);
        EnableWindow(control, TRUE); // as with a module connected
        SetFocus(control);
        for (UINT message : {WM_KEYDOWN, WM_KEYUP}) {
            MSG msg{control, message, VK_ESCAPE, message == WM_KEYUP ? 0xC0010001 : 0x00010001, 0, {}};
            if (!IsDialogMessageW(dialog, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
    }
    SetWindowTextW(item(ids::remoteText), L"X");
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(ids::clearTextButton, BN_CLICKED), 0);
    ASSERT_TRUE(uitest::pumpUntil([&] { return uitest::textOf(item(ids::remoteText)).empty(); }));
    EXPECT_TRUE(IsWindowVisible(dialog));
    // The system menu's close still closes.
    SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindowVisible(dialog));
}

TEST_F(ShellTest, CloseButtonAndSystemCloseEndTheDialog)
{
    EnableWindow(item(IDC_HIDDEN_BUTTON), FALSE);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(ids::closeButton, BN_CLICKED), 0);
    EXPECT_FALSE(IsWindowVisible(dialog)) << "EndDialog hides a modeless dialog";
    EXPECT_TRUE(IsWindowEnabled(item(IDC_HIDDEN_BUTTON)));

    HWND second = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MAIN_DIALOG), nullptr,
                                     &kes::mainDialogProc, 0);
    EXPECT_EQ(SendMessageW(second, WM_CLOSE, 0, 0), 0) << "DefDlgProc reports the handled close as 0";
    EXPECT_FALSE(IsWindowVisible(second));
    DestroyWindow(second);
}

struct ClickCase {
    const char* name;
    int clicked;
    std::vector<int> nowEnabled;
};

class SettingsClick : public ShellTest, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(SettingsClick, RunsTheRefreshOfTheClickedBox)
{
    for (int id : GetParam().nowEnabled)
        ASSERT_FALSE(IsWindowEnabled(item(id))) << id;
    SendMessageW(item(GetParam().clicked), BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageW(item(GetParam().clicked), BM_GETCHECK, 0, 0), BST_CHECKED);
    for (int id : GetParam().nowEnabled)
        EXPECT_TRUE(IsWindowEnabled(item(id))) << id;
}

INSTANTIATE_TEST_SUITE_P(
    Shell, SettingsClick,
    ::testing::Values(
        ClickCase{"in1Enabled", ids::in1Enabled, {ids::in1Name, ids::in1Wiring, ids::in1Time, ids::in1SmsOn}},
        ClickCase{"out1Enabled", ids::out1Enabled, {ids::out1Name, ids::out1ByInput, ids::out1ByClip}},
        ClickCase{"powerEnabled", ids::powerEnabled, {ids::powerMax, ids::powerMin}},
        ClickCase{"user2Active", ids::userId(2, 0), {ids::userId(2, 1), ids::userId(2, 2), ids::userId(2, 8)}}),
    casename::ByName());

TEST_F(ShellTest, StatusColumnClicksOnlySetTheirFlags)
{
    const struct {
        int id;
        bool* flag;
    } cases[] = {{ids::statusOut1, &kes::out1Clicked},
                 {ids::statusOut2, &kes::out2Clicked},
                 {ids::clipUssdButton, &kes::clipClicked},
                 {ids::smsButton, &kes::smsClicked}};
    for (const auto& c : cases) {
        *c.flag = false;
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(c.id, BN_CLICKED), 0);
        EXPECT_TRUE(*c.flag) << c.id;
    }
    EXPECT_EQ(framesWithCommand(1), 0) << "nothing is sent before the next tick";
}

TEST_F(ShellTest, ClearEmptiesTheMessageField)
{
    SetWindowTextW(item(ids::remoteText), L"ALARM ON");
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(ids::clearTextButton, BN_CLICKED), 0);
    EXPECT_EQ(uitest::textOf(item(ids::remoteText)), L"");
}

// Points an existing document class's open command somewhere else for one test.
class OpenCommandOverride {
public:
    OpenCommandOverride(const std::wstring& className, const std::wstring& command)
        : key_(L"SOFTWARE\\Classes\\" + className + L"\\shell\\open\\command")
    {
        HKEY k = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key_.c_str(), 0, KEY_READ, &k) == ERROR_SUCCESS) {
            wchar_t old[1024] = {};
            DWORD bytes = sizeof(old) - sizeof(wchar_t);
            had_ = RegQueryValueExW(k, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(old), &bytes) ==
                   ERROR_SUCCESS;
            old_ = old;
            RegCloseKey(k);
        }
        helptest::setDefaultValue(HKEY_LOCAL_MACHINE, key_, command);
    }
    ~OpenCommandOverride()
    {
        if (had_)
            helptest::setDefaultValue(HKEY_LOCAL_MACHINE, key_, old_);
        else
            RegDeleteKeyW(HKEY_LOCAL_MACHINE, key_.c_str());
    }

private:
    std::wstring key_, old_;
    bool had_ = false;
};

std::wstring pdfClass()
{
    HKEY k = nullptr;
    wchar_t name[256] = {};
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\.pdf", 0, KEY_READ, &k) == ERROR_SUCCESS) {
        DWORD bytes = sizeof(name) - sizeof(wchar_t);
        RegQueryValueExW(k, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(name), &bytes);
        RegCloseKey(k);
    }
    return name;
}

TEST_F(ShellTest, HelpOpensTheManualBesideTheProgramWithTheAssociatedApplication)
{
    helptest::RecorderOutput recorder;
    std::unique_ptr<helptest::Association> association;
    std::wstring className = pdfClass();
    if (className.empty()) {
        className = L"QuellmoTest.Pdf";
        association = std::make_unique<helptest::Association>(HKEY_LOCAL_MACHINE, L".pdf", className, nullptr);
    }
    OpenCommandOverride command(className, L"\"" + helptest::recorderPath() + L"\" \"%1\"");
    // The shell opens only a file that is there; the manual is not copied beside the tests.
    const std::wstring manual = kes::programFolder + L"\\instrukcja.pdf";
    const bool placed = static_cast<bool>(
        kes::KernelHandle(CreateFileW(manual.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr)));
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(ids::helpButton, BN_CLICKED), 0);
    std::vector<std::wstring> arguments;
    EXPECT_TRUE(recorder.waitForStart(arguments));
    EXPECT_EQ(arguments, std::vector<std::wstring>{manual});
    EXPECT_TRUE(boxes.empty()) << "the help command reports nothing";
    if (placed)
        DeleteFileW(manual.c_str());
}

TEST_F(ShellTest, ProgramWithAValidationFaultShowsOnlyTheFaultList)
{
    accessCode.setText(L"ab");
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(ids::programButton, BN_CLICKED), 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, L"Błędy w ustawieniach");
    EXPECT_EQ(boxes[0].owner, dialog);
    EXPECT_FALSE(boxes[0].progressOpen);
    EXPECT_EQ(kes::programmingStepCounter, kes::noProgramming);
    EXPECT_EQ(kes::progressWindow(), nullptr);
    EXPECT_EQ(framesWithCommand(2), 0);
}

TEST_F(ShellTest, ConnectsSettlesReadsAndShowsLiveStatus)
{
    sim.sim.status().operatorName = "Plus";
    sim.sim.status().signal = 31;
    connectAndRead();
    EXPECT_EQ(framesWithCommand(3), 16) << "the whole configuration is read once";
    EXPECT_TRUE(uitest::pumpUntil([&] { return uitest::textOf(item(ids::statusOperator)) == L"Plus"; }));
    EXPECT_EQ(uitest::textOf(item(ids::statusLevel)), L"100 %");
    EXPECT_EQ(uitest::textOf(item(ids::statusPower)), L"13 V");
    EXPECT_EQ(uitest::textOf(item(ids::statusTemp)), L"22");

    sim.sim.status().out1 = true;
    sim.sim.status().temperature = -5;
    EXPECT_TRUE(uitest::pumpUntil([&] {
        return SendMessageW(item(ids::statusOut1), BM_GETCHECK, 0, 0) == BST_CHECKED &&
               uitest::textOf(item(ids::statusTemp)) == L"-5";
    }));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ShellTest, ProgramWritesAllSixteenBlocksBehindTheProgressWindow)
{
    connectAndRead();
    validSettings();
    in1Enabled.setChecked(true); // a switched-off input gets its fixed name back
    in1Name.setText(L"DRZWI");
    sim.sim.clearJournal();
    clickProgram();
    ASSERT_TRUE(uitest::pumpUntil([&] { return progress.opened && kes::progressWindow() == nullptr; }));
    EXPECT_EQ(progress.text, L"Programowanie");
    EXPECT_EQ(progress.rangeHigh, 17);
    EXPECT_GE(progress.lastPosition, 15);
    EXPECT_EQ(framesWithCommand(2), 16);
    std::vector<int> blocks;
    for (const auto& e : sim.sim.journal())
        if (e.direction == qlvsim::Direction::HostToModule && e.bytes.size() == 30 && e.bytes[0] == 2)
            blocks.push_back(e.bytes[1]);
    std::vector<int> expected;
    for (int b = 0; b < 16; ++b)
        expected.push_back(b);
    EXPECT_EQ(blocks, expected);
    const auto& nameBlock = sim.sim.block(2);
    EXPECT_EQ(std::string(nameBlock.begin(), nameBlock.begin() + 5), "DRZWI");
    EXPECT_EQ(kes::programmingStepCounter, kes::noProgramming);
    EXPECT_TRUE(boxes.empty()) << (boxes.empty() ? L"" : boxes[0].text).size();
}

TEST_F(ShellTest, AFailingModuleShowsTheProgrammingError)
{
    connectAndRead();
    validSettings();
    sim.sim.faults().silentFrames = 1000;
    clickProgram();
    ASSERT_TRUE(uitest::pumpUntil([&] { return !boxes.empty(); }));
    EXPECT_EQ(boxes[0].text, L"Błąd programowania modułu. Programowanie należy powtórzyć.");
    EXPECT_EQ(boxes[0].caption, L"Błąd");
    EXPECT_EQ(boxes[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
    EXPECT_FALSE(boxes[0].progressOpen) << "the window closes before the message";
    EXPECT_TRUE(uitest::pumpUntil([&] { return kes::progressWindow() == nullptr; }));
    EXPECT_EQ(kes::programmingStepCounter, kes::noProgramming);
    EXPECT_EQ(progress.text, L"Programowanie");
}

TEST_F(ShellTest, AnExceptionInAHandlerIsReportedAndDoesNotEscape)
{
    accessCode.setText(L"ab");
    throwFromBox = true; // the validation box throws
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(ids::programButton, BN_CLICKED), 0);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, L"Błąd w programie");
    EXPECT_EQ(boxes[1].caption, L"Błąd");
    EXPECT_EQ(boxes[1].owner, nullptr);
    EXPECT_FALSE(IsWindowVisible(dialog));
}

TEST_F(ShellTest, AFaultInATickStopsTheTimerBeforeTheReportShows)
{
    connectAndRead();
    validSettings();
    sim.sim.faults().silentFrames = 1000;
    throwFromBox = true; // the programming error box, shown from inside a tick, throws
    int ticksWhileReported = -1;
    whileBoxOpen = [&](const std::wstring& text) {
        if (text != L"Błąd w programie")
            return;
        // Only the dialog's own timer may tick from here on: drop what this test posted.
        stopTicks();
        MSG msg;
        while (PeekMessageW(&msg, dialog, WM_TIMER, WM_TIMER, PM_REMOVE)) {
        }
        // Pump as the box's modal loop would, until a tick reaches the dialog or three periods pass.
        ticksWhileReported = 0;
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(3 * kes::mainTimerPeriodMs);
        while (ticksWhileReported == 0 && std::chrono::steady_clock::now() < end) {
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.hwnd == dialog && msg.message == WM_TIMER && msg.wParam == kes::mainTimerId)
                    ++ticksWhileReported;
                DispatchMessageW(&msg);
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    };
    clickProgram();
    ASSERT_TRUE(uitest::pumpUntil([&] { return !IsWindowVisible(dialog); }));
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, L"Błąd programowania modułu. Programowanie należy powtórzyć.");
    EXPECT_EQ(boxes[1].text, L"Błąd w programie");
    EXPECT_EQ(ticksWhileReported, 0);
    EXPECT_FALSE(KillTimer(dialog, kes::mainTimerId)) << "the timer is already gone";
}

TEST(ProgressWindow, ShowsItsTextAndSeventeenStepsAndClosesOnlyOnItsMessage)
{
    kes::setInstanceHandle(GetModuleHandleW(nullptr));
    uitest::TemplateDialog owner(L"MS Sans Serif", 8);
    ProgressSeen seen;
    static ProgressSeen* target;
    target = &seen;
    // Watches from inside the modal loop, then asks the window to close.
    static int round;
    round = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
        HWND progress = kes::progressWindow();
        if (!progress)
            return;
        if (round == 0) {
            target->opened = true;
            target->text = uitest::textOf(GetDlgItem(progress, IDC_PROGRESS_TEXT));
            PBRANGE range{};
            SendDlgItemMessageW(progress, IDC_PROGRESS_BAR, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
            target->rangeHigh = range.iHigh;
            kes::advanceProgress();
            kes::advanceProgress();
            target->lastPosition =
                static_cast<int>(SendDlgItemMessageW(progress, IDC_PROGRESS_BAR, PBM_GETPOS, 0, 0));
            // Neither Escape nor the system menu's close ends it.
            SendMessageW(progress, WM_COMMAND, IDCANCEL, 0);
            SendMessageW(progress, WM_CLOSE, 0, 0);
        } else if (round == 1) {
            target->text += IsWindowVisible(progress) ? L"|open" : L"|closed";
            kes::closeProgress();
        }
        ++round;
    });
    kes::openProgressDialog(owner.get());
    KillTimer(nullptr, timer);
    EXPECT_TRUE(seen.opened);
    EXPECT_EQ(seen.text, L"Programowanie|open");
    EXPECT_EQ(seen.rangeHigh, 17);
    EXPECT_EQ(seen.lastPosition, 2);
    EXPECT_EQ(kes::progressWindow(), nullptr);
}

} // namespace
