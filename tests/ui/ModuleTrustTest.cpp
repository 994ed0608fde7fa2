// The system menu's commands on the real main window and the simulated module: comparing the
// window with the module, and going back to what the module held when it connected.
#include "ui/Shell.h"

#include "OwnLocalAppData.h"
#include "ProgrammedModule.h"
#include "SimHarness.h"
#include "model/Catalogue.h"
#include "model/SettingsView.h"
#include "tools/ConfigurationReport.h"
#include "tools/ModuleArchive.h"
#include "tools/ModuleTrust.h"
#include "tools/ProgrammingRecord.h"
#include "protocol/Programming.h"
#include "protocol/Supervision.h"
#include "storage/ArchiveEntry.h"
#include "storage/ArchiveFolder.h"
#include "storage/FileBytes.h"
#include "storage/ArchiveListing.h"
#include "storage/DataFile.h"
#include "storage/FileDialogs.h"
#include "support/HelpLauncher.h"
#include "support/MessageBox.h"
#include "ui/ResourceIds.h"
#include "ui/WindowHelpers.h"
#include "TestClipboard.h"
#include "UiTestSupport.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr UINT compareCommand = 0x0110;
constexpr UINT restoreCommand = 0x0120;
constexpr UINT saveCopyCommand = 0x0130;
constexpr UINT restoreEditsCommand = 0x0125;
constexpr wchar_t comparisonCaption[] = L"Porównanie z modułem";

// What the comparison window showed, read inside its modal loop.
struct ComparisonSeen {
    bool opened = false;
    std::wstring listed;     // the list's cells, tab-separated, one row a line
    std::wstring note;       // the static line when nothing differs
    std::wstring faults;     // the box above the table, when shown
    bool tableBelowFaults = false;
    std::wstring clipboard;  // after "Kopiuj"
};
ComparisonSeen* seen = nullptr;

BOOL CALLBACK findComparison(HWND window, LPARAM found)
{
    if (uitest::textOf(window) == comparisonCaption && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// Runs inside the comparison window's modal loop: reads it, presses "Kopiuj", then Esc.
void CALLBACK inspectComparison(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND window = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &findComparison, reinterpret_cast<LPARAM>(&window));
    if (!window || !seen)
        return;
    KillTimer(nullptr, timer);
    seen->opened = true;
    HWND list = GetDlgItem(window, IDC_COMPARISON_LIST);
    if (IsWindowVisible(list)) {
        const int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        for (int r = 0; r < rows; ++r)
            seen->listed += uitest::listCell(list, r, 0) + L'\t' + uitest::listCell(list, r, 1) + L'\t' + uitest::listCell(list, r, 2) + L"\r\n";
    }
    if (IsWindowVisible(GetDlgItem(window, IDC_COMPARISON_NOTE)))
        seen->note = uitest::textOf(GetDlgItem(window, IDC_COMPARISON_NOTE));
    HWND faults = GetDlgItem(window, IDC_COMPARISON_FAULTS);
    if (IsWindowVisible(faults)) {
        seen->faults = uitest::textOf(faults);
        RECT box{}, table{};
        GetWindowRect(faults, &box);
        GetWindowRect(list, &table);
        seen->tableBelowFaults = table.top >= box.bottom;
    }
    EXPECT_TRUE(uitest::emptyClipboard());
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_COMPARISON_COPY, BN_CLICKED), 0);
    seen->clipboard = uitest::clipboardText();
    // Esc through the dialog's own modal loop.
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
}

std::string fileBytes(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class ModuleTrustTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previousBox = kes::setMessageBoxFunction([this](HWND, const std::wstring& text, const std::wstring&, UINT) {
            boxes.push_back(text);
            return IDOK;
        });
        kes::setFileDialogFunction([this](kes::FileDialogKind, OPENFILENAMEW& record) {
            ++dialogsAsked;
            wcsncpy(record.lpstrFile, savePath.c_str(), record.nMaxFile - 1);
            return true;
        });
        kes::programmingStepCounter = kes::noProgramming;
        kes::supervision = kes::SupervisionState();
        kes::stopFollowingModuleJobs();
        sim.attachGlobalLink();
        kes::setInstanceHandle(GetModuleHandleW(nullptr));
        dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MAIN_DIALOG), nullptr,
                                    &kes::mainDialogProc, 0);
        ASSERT_NE(dialog, nullptr);
        wchar_t folder[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, folder);
        tempFolder = folder;
    }

    void TearDown() override
    {
        stopTicks();
        seen = nullptr;
        if (IsWindow(dialog))
            DestroyWindow(dialog);
        kes::usbLink.close();
        kes::setFileDialogFunction(nullptr);
        kes::setMessageBoxFunction(previousBox);
        for (const auto& path : written)
            DeleteFileW(path.c_str());
    }

    HWND item(int id) const { return GetDlgItem(dialog, id); }
    std::wstring statusLine() const { return uitest::textOf(item(ids::linkStatus)); }

    void startTicks()
    {
        ticks.start([this] {
            sim.advanceMs(500);
            PostMessageW(dialog, WM_TIMER, kes::mainTimerId, 0);
        });
    }
    void stopTicks() { ticks.stop(); }

    // Until a module answers and its configuration has been read.
    void connectAndRead()
    {
        startTicks();
        ASSERT_TRUE(uitest::pumpUntil([&] { return statusLine() == L"Quellmo GSM"; })) << statusLine();
    }

    int readRequests()
    {
        int n = 0;
        for (const auto& e : sim.sim.journal())
            if (e.direction == qlvsim::Direction::HostToModule && e.bytes.size() == 30 && e.bytes[0] == 3)
                ++n;
        return n;
    }

    HMENU systemMenu() const { return GetSystemMenu(dialog, FALSE); }
    bool greyed(UINT id)
    {
        SendMessageW(dialog, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(systemMenu()), MAKELPARAM(0, TRUE));
        return (GetMenuState(systemMenu(), id, MF_BYCOMMAND) & MF_GRAYED) != 0;
    }

    ComparisonSeen compare()
    {
        ComparisonSeen result;
        seen = &result;
        const UINT_PTR watch = SetTimer(nullptr, 0, 20, &inspectComparison);
        SendMessageW(dialog, WM_SYSCOMMAND, compareCommand, 0);
        KillTimer(nullptr, watch);
        seen = nullptr;
        return result;
    }

    // "Zapisz" or the save-copy command into a new file; its bytes.
    std::string saveWith(UINT message, WPARAM command, const wchar_t* name)
    {
        savePath = tempFolder + name;
        written.push_back(savePath);
        SendMessageW(dialog, message, command, 0);
        return fileBytes(savePath);
    }
    std::string zapisz(const wchar_t* name) { return saveWith(WM_COMMAND, MAKEWPARAM(ids::saveButton, BN_CLICKED), name); }
    std::string saveCopy(const wchar_t* name) { return saveWith(WM_SYSCOMMAND, saveCopyCommand, name); }

    void setText(int id, const wchar_t* text) { SetWindowTextW(item(id), text); }
    std::wstring text(int id) const { return uitest::textOf(item(id)); }

    // The module goes silent long enough to count as gone, then `attach` puts a module behind the
    // interface; returns when that module has been read (its text in the status line).
    template <class Attach>
    void swapModule(Attach attach, const wchar_t* moduleText)
    {
        sim.sim.takeModuleOff();
        ASSERT_TRUE(uitest::pumpUntil([&] { return statusLine() == L"QLV-3 USB OK"; })) << statusLine();
        attach();
        ASSERT_TRUE(uitest::pumpUntil([&] { return statusLine() == moduleText; })) << statusLine();
    }
    void blip() { swapModule([this] { sim.sim.putModuleBack(); }, L"Quellmo GSM"); }

    std::wstring menuText(UINT id)
    {
        SendMessageW(dialog, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(systemMenu()), MAKELPARAM(0, TRUE));
        wchar_t buffer[128] = {};
        GetMenuStringW(systemMenu(), id, buffer, 128, MF_BYCOMMAND);
        return buffer;
    }

    // Runs "Programuj" to its end; the job ends inside the progress window's modal loop.
    void programme()
    {
        kes::lastProgramming = kes::ProgrammingRecord();
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(ids::programButton, BN_CLICKED), 0);
        ASSERT_TRUE(uitest::pumpUntil([&] { return kes::lastProgramming.done || !boxes.empty(); }));
        ASSERT_TRUE(boxes.empty()) << boxes.front();
    }
    void check(int id) { SendMessageW(item(id), BM_SETCHECK, BST_CHECKED, 0); }
    void click(int id) { SendMessageW(item(id), BM_CLICK, 0, 0); }

    // Every settings control as the user sees it: text, check, selection, enabled.
    std::wstring settingsPicture() const
    {
        std::wstring all;
        for (int id = ids::kFirst; id <= ids::userId(ids::kUserCount - 1, ids::UserOffset::RightsHours); ++id) {
            HWND c = item(id);
            all += std::to_wstring(id) + L'|' + uitest::textOf(c) + L'|' +
                   std::to_wstring(SendMessageW(c, BM_GETCHECK, 0, 0)) + L'|' +
                   std::to_wstring(SendMessageW(c, CB_GETCURSEL, 0, 0)) + L'|' + (IsWindowEnabled(c) ? L'e' : L'd') +
                   L'\n';
        }
        return all;
    }

    harness::SimHarness sim;
    HWND dialog = nullptr;
    std::vector<std::wstring> boxes;
    int dialogsAsked = 0;
    std::wstring tempFolder, savePath;
    std::vector<std::wstring> written;
    uitest::ThreadTicks ticks;
    kes::MessageBoxFunction previousBox;
};

TEST_F(ModuleTrustTest, TheCommandsFollowASeparatorInTheSystemMenu)
{
    const struct {
        UINT id;
        const wchar_t* text;
    } expected[] = {{compareCommand, L"Porównaj z modułem…"},
                    {restoreCommand, L"Przywróć ustawienia odczytane z modułu"},
                    {restoreEditsCommand, L"Przywróć zmiany sprzed odczytu"},
                    {saveCopyCommand, L"Zapisz kopię ustawień modułu…"},
                    {0x0140, L"Diagnostyka połączenia…"},
                    {0x0150, L"Raport konfiguracji…"},
                    {0x0160, L"Programowanie seryjne…"}};
    constexpr int ours = static_cast<int>(sizeof(expected) / sizeof(expected[0]));
    HMENU menu = systemMenu();
    // The block is found where its first command stands: the archive's command follows it.
    int first = GetMenuItemCount(menu) - 1;
    while (first > 0 && GetMenuItemID(menu, first) != compareCommand)
        --first;
    ASSERT_GE(first, 1);
    EXPECT_EQ(GetMenuState(menu, static_cast<UINT>(first - 1), MF_BYPOSITION) & MF_SEPARATOR,
              static_cast<UINT>(MF_SEPARATOR));
    for (int i = 0; i < ours; ++i) {
        wchar_t text[128] = {};
        EXPECT_EQ(GetMenuItemID(menu, first + i), expected[i].id);
        GetMenuStringW(menu, static_cast<UINT>(first + i), text, 128, MF_BYPOSITION);
        EXPECT_EQ(std::wstring(text), expected[i].text);
    }
}

TEST_F(ModuleTrustTest, WithoutAModuleEverythingIsGreyedAndAPostedCommandDoesNothing)
{
    for (UINT id : {compareCommand, restoreCommand, restoreEditsCommand, saveCopyCommand})
        EXPECT_TRUE(greyed(id)) << id;
    setText(ids::accessCode, L"ZZZZ");
    ComparisonSeen result;
    seen = &result;
    const UINT_PTR watch = SetTimer(nullptr, 0, 20, &inspectComparison);
    for (UINT id : {compareCommand, restoreCommand, saveCopyCommand})
        PostMessageW(dialog, WM_SYSCOMMAND, id, 0);
    setText(ids::remoteText, L"X");
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(ids::clearTextButton, BN_CLICKED), 0);
    ASSERT_TRUE(uitest::pumpUntil([&] { return uitest::textOf(item(ids::remoteText)).empty(); }));
    KillTimer(nullptr, watch);
    EXPECT_FALSE(result.opened);
    EXPECT_EQ(readRequests(), 0);
    EXPECT_EQ(uitest::textOf(item(ids::accessCode)), L"ZZZZ");
    EXPECT_EQ(dialogsAsked, 0);
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(IsWindowVisible(dialog)) << "the system's own commands still reach the dialog manager";
}

TEST_F(ModuleTrustTest, WhileAJobRunsEverythingIsGreyedAndACommandDoesNothing)
{
    connectAndRead();
    stopTicks();
    for (UINT id : {compareCommand, restoreCommand, saveCopyCommand})
        EXPECT_FALSE(greyed(id)) << id;
    const int readsBefore = readRequests();
    setText(ids::accessCode, L"ZZZZ");
    kes::programmingStepCounter = 5;
    for (UINT id : {compareCommand, restoreCommand, saveCopyCommand}) {
        EXPECT_TRUE(greyed(id)) << id;
        SendMessageW(dialog, WM_SYSCOMMAND, id, 0);
    }
    kes::programmingStepCounter = kes::noProgramming;
    EXPECT_EQ(readRequests(), readsBefore);
    EXPECT_EQ(uitest::textOf(item(ids::accessCode)), L"ZZZZ");
    EXPECT_EQ(dialogsAsked, 0);
}

TEST_F(ModuleTrustTest, ListsEachSettingProgrammingWouldChangeAndCopiesTheTable)
{
    harness::programNewWindow(sim.sim);
    connectAndRead();
    setText(ids::accessCode, L"ABCD");
    check(ids::in1Enabled);
    SendMessageW(item(ids::in1Wiring), CB_SETCURSEL, 2, 0);
    setText(ids::in1Time, L"30");
    check(ids::tempEnabled);
    check(ids::tempSmsOn);
    check(ids::powerEnabled);
    setText(ids::powerMax, L"15");
    check(ids::userId(1, ids::UserOffset::Active));
    setText(ids::userId(1, ids::UserOffset::Phone), L"+48600100200");
    check(ids::userId(1, ids::UserOffset::RightClip));
    const int readsBefore = readRequests();

    const ComparisonSeen result = compare();

    ASSERT_TRUE(result.opened);
    EXPECT_EQ(readRequests() - readsBefore, 16);
    EXPECT_EQ(result.faults, L"");
    // The voltage as programming writes it: a whole 15 is 15.0 in the module.
    const std::wstring rows = L"Kod dostępu\tABCD\tWKTR\r\n"
                              L"IN-1\ttak\tnie\r\n"
                              L"IN-1 – rodzaj wejścia\tNC PLUS\tNO PLUS\r\n"
                              L"IN-1 – Pobudzenie [s]\t30\t1\r\n"
                              L"TEMP\ttak\tnie\r\n"
                              L"TEMP – SMS ON\ttak\tnie\r\n"
                              L"POWER\ttak\tnie\r\n"
                              L"POWER – max [V]\t15.0\t24.0\r\n"
                              L"Użytkownik 2\ttak\tnie\r\n"
                              L"Użytkownik 2 – telefon\t+48600100200\t\r\n"
                              L"Użytkownik 2 – CLIP\ttak\tnie\r\n";
    EXPECT_EQ(result.listed, rows);
    EXPECT_EQ(result.clipboard, L"Ustawienie\tW oknie\tW module\r\n" + rows);
    EXPECT_TRUE(IsWindowEnabled(dialog)) << "Esc closed the comparison and gave the window back";
    EXPECT_EQ(uitest::textOf(item(ids::accessCode)), L"ABCD");
    EXPECT_TRUE(boxes.empty());
}

// The window as the user clicked it: unticking "sterowanie wejściem 1" leaves the greyed
// "czasowo [s]" ticked. With a fault the window is compared as it stands; without, as
// validation would rewrite it. Neither comparison changes a control.
TEST_F(ModuleTrustTest, FaultsStandAboveTheTableAndComparingLeavesTheWindowAsItWas)
{
    harness::programNewWindow(sim.sim);
    sim.sim.block(0)[8] = 0x24;  // output 1 timed by input 1
    connectAndRead();
    ASSERT_EQ(SendMessageW(item(ids::out1InputTimed), BM_GETCHECK, 0, 0), BST_CHECKED);
    click(ids::out1ByInput);
    ASSERT_FALSE(IsWindowEnabled(item(ids::out1InputTimed)));
    setText(ids::accessCode, L"ab");
    const std::wstring withFault = settingsPicture();

    const ComparisonSeen faulty = compare();

    ASSERT_TRUE(faulty.opened);
    const std::wstring faults =
        L"Ustawienia w oknie zawierają błędy – programowanie zostanie przerwane:\r\nBłędny kod dostępu.\r\n";
    EXPECT_EQ(faulty.faults, faults);
    EXPECT_TRUE(faulty.tableBelowFaults);
    EXPECT_EQ(faulty.listed, L"Kod dostępu\tab\tWKTR\r\n");
    EXPECT_EQ(faulty.clipboard, faults + L"\r\nUstawienie\tW oknie\tW module\r\nKod dostępu\tab\tWKTR\r\n");
    EXPECT_EQ(settingsPicture(), withFault);

    setText(ids::accessCode, L"WKTR");
    const std::wstring corrected = settingsPicture();

    const ComparisonSeen sound = compare();

    ASSERT_TRUE(sound.opened);
    EXPECT_EQ(sound.faults, L"");
    EXPECT_EQ(sound.listed, L"OUT-1 – sterowanie wejściem 1\tnie\ttak\r\n"
                            L"OUT-1 – czasowo [s]\tnie\ttak\r\n");
    EXPECT_EQ(settingsPicture(), corrected);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ModuleTrustTest, WhatTheModuleCannotHoldIsNoDifference)
{
    harness::programNewWindow(sim.sim);
    sim.sim.block(0)[9] = 15;  // input 1's time in tenths: shown as 1
    // User 3 with PODSŁUCH; the window adds CLIP, which programming would clear.
    harness::putUser(sim.sim.block(13), 0x20, harness::noTimedRights);
    connectAndRead();
    check(ids::userId(2, ids::UserOffset::RightClip));

    const ComparisonSeen result = compare();

    ASSERT_TRUE(result.opened);
    EXPECT_EQ(uitest::textOf(item(ids::in1Time)), L"1");
    EXPECT_EQ(result.listed, L"");
    EXPECT_EQ(result.note, L"Ustawienia w oknie i w module są zgodne.");
    EXPECT_EQ(result.clipboard, L"Ustawienia w oknie i w module są zgodne.\r\n");
    EXPECT_EQ(SendMessageW(item(ids::userId(2, ids::UserOffset::RightClip)), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(ModuleTrustTest, AFailedReadShowsTheReadingErrorAndNoTable)
{
    connectAndRead();
    sim.sim.faults().silentFrames = 3;
    const ComparisonSeen result = compare();
    EXPECT_FALSE(result.opened);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], L"Błąd odczytu danych z urządzenia.");
}

TEST_F(ModuleTrustTest, TheSettingsReadAtConnectSurviveProgrammingAndARereadUntilAnotherModule)
{
    connectAndRead();
    const std::string atConnect = zapisz(L"quellmo-at-connect.dat");
    ASSERT_GT(atConnect.size(), 3u);

    // Programming succeeds and the module now holds other settings.
    accessCode.setText(L"WKTR");
    simPin.setText(L"4821");
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(ids::programButton, BN_CLICKED), 0);
    ASSERT_TRUE(uitest::pumpUntil([&] { return sim.sim.block(0)[0] == 'W' && !kes::programmingPending(); }));
    ASSERT_TRUE(boxes.empty());
    EXPECT_EQ(saveCopy(L"quellmo-after-programming.dat"), atConnect);

    // The same interface again: the module is read anew, the kept settings stay.
    sim.sim.unplug(0);
    ASSERT_TRUE(uitest::pumpUntil([&] { return statusLine() != L"Quellmo GSM"; }));
    sim.sim.replug(0);
    ASSERT_TRUE(uitest::pumpUntil([&] { return statusLine() == L"Quellmo GSM"; }));
    EXPECT_EQ(uitest::textOf(item(ids::accessCode)), L"WKTR");
    EXPECT_EQ(saveCopy(L"quellmo-after-reread.dat"), atConnect);

    SendMessageW(dialog, WM_SYSCOMMAND, restoreCommand, 0);
    EXPECT_EQ(uitest::textOf(item(ids::accessCode)), L"");
    EXPECT_EQ(uitest::textOf(item(ids::simPin)), L"");
    EXPECT_EQ(zapisz(L"quellmo-restored.dat"), atConnect);
    EXPECT_EQ(sim.sim.block(0)[0], 'W') << "restoring does not write the module";

    // Another interface: its module's settings replace the kept ones.
    qlvsim::InterfaceInfo other;
    other.serial = "QLV30002";
    const std::size_t second = sim.sim.addInterface(other);
    std::memcpy(sim.sim.block(0, second).data(), "ABCD", 4);
    sim.sim.unplug(0);
    ASSERT_TRUE(uitest::pumpUntil([&] { return uitest::textOf(item(ids::accessCode)) == L"ABCD"; }));
    const std::string otherModule = zapisz(L"quellmo-other-module.dat");
    EXPECT_NE(otherModule, atConnect);
    EXPECT_EQ(saveCopy(L"quellmo-other-copy.dat"), otherModule);
    EXPECT_TRUE(boxes.empty());
}

// A module's text may hold the data file's record mark; "Zapisz" leaves it out, and so must the copy.
TEST_F(ModuleTrustTest, AModuleTextHoldingARecordMarkIsSavedAsZapiszSavesIt)
{
    std::memcpy(sim.sim.block(2).data(), "Dr\x02zwi", 7);
    connectAndRead();
    const std::string atConnect = zapisz(L"quellmo-mark-zapisz.dat");
    ASSERT_GT(atConnect.size(), 3u);
    EXPECT_EQ(saveCopy(L"quellmo-mark-copy.dat"), atConnect);
}

SYSTEMTIME nowLocal()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return now;
}

std::wstring restoreTextAt(const SYSTEMTIME& t)
{
    wchar_t text[80] = {};
    swprintf(text, 80, L"Przywróć ustawienia odczytane z modułu (%02u:%02u)", t.wHour, t.wMinute);
    return text;
}

// Modules are swapped behind the one interface: each is recognised by what it holds.
TEST_F(ModuleTrustTest, AnotherModuleBehindTheSameInterfaceReplacesTheKeptCopy)
{
    std::memcpy(sim.sim.block(0).data(), "AAAA", 4);
    std::memcpy(sim.sim.block(12).data() + 2, "+48600100200", 12);  // user 2's phone
    connectAndRead();
    ASSERT_EQ(text(ids::userId(1, ids::UserOffset::Phone)), L"+48600100200");

    qlvsim::Module other;
    other.status.text = "Brama 2";
    std::memcpy(other.memory[0].data(), "BBBB", 4);
    const SYSTEMTIME readStarted = nowLocal();
    swapModule([&] { sim.sim.attachModule(other); }, L"Brama 2");
    ASSERT_EQ(text(ids::accessCode), L"BBBB");
    const std::string held = zapisz(L"quellmo-module-b.dat");
    setText(ids::accessCode, L"ZZZZ");

    SendMessageW(dialog, WM_SYSCOMMAND, restoreCommand, 0);
    EXPECT_EQ(text(ids::accessCode), L"BBBB") << "not the first module's code";
    EXPECT_EQ(text(ids::userId(1, ids::UserOffset::Phone)), L"");
    EXPECT_EQ(saveCopy(L"quellmo-module-b-copy.dat"), held);
    // The second module was read between these two clock readings.
    const std::wstring shown = menuText(restoreCommand);
    EXPECT_TRUE(shown == restoreTextAt(readStarted) || shown == restoreTextAt(nowLocal())) << shown;
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ModuleTrustTest, NothingKeptIsOfferedUntilTheModuleInHandIsRead)
{
    connectAndRead();
    EXPECT_FALSE(greyed(restoreCommand));
    qlvsim::Module other;
    other.status.text = "Brama 2";
    std::memcpy(other.memory[0].data(), "BBBB", 4);
    swapModule(
        [&] {
            // It answers its first poll; the reading that follows fails at block 0 (three tries).
            const std::uint64_t received = sim.sim.framesReceived();
            sim.sim.attachModule(other);
            sim.sim.atFrame(received + 2, [this] { sim.sim.faults().silentFrames = 3; });
        },
        L"Brama 2");
    ASSERT_TRUE(uitest::pumpUntil([&] { return !boxes.empty(); }));
    EXPECT_EQ(boxes[0], L"Błąd odczytu danych z urządzenia.");
    for (UINT id : {restoreCommand, saveCopyCommand})
        EXPECT_TRUE(greyed(id)) << id;
    EXPECT_EQ(menuText(restoreCommand), L"Przywróć ustawienia odczytane z modułu");

    swapModule([&] { sim.sim.putModuleBack(); }, L"Brama 2");
    ASSERT_TRUE(uitest::pumpUntil([&] { return text(ids::accessCode) == L"BBBB"; }));
    SendMessageW(dialog, WM_SYSCOMMAND, restoreCommand, 0);
    EXPECT_EQ(text(ids::accessCode), L"BBBB");
}

// A programmed module taken off, another read, the first put back: it is the programmed one, and
// what it held before programming is what is kept for it.
TEST_F(ModuleTrustTest, TheProgrammingRecordFollowsTheModule)
{
    std::memcpy(sim.sim.block(0).data(), "AAAA", 4);
    connectAndRead();
    accessCode.setText(L"WKTR");
    programme();
    EXPECT_EQ(kes::programmedState("QLV30001", kes::windowSettings()), kes::ProgrammedState::AsProgrammed);
    qlvsim::Module programmed;
    programmed.status = sim.sim.status();
    for (std::size_t b = 0; b < qlvsim::blockCount; ++b)
        programmed.memory[b] = sim.sim.block(b);

    qlvsim::Module other;
    other.status.text = "Brama 2";
    swapModule([&] { sim.sim.attachModule(other); }, L"Brama 2");
    EXPECT_EQ(kes::programmedState("QLV30001", kes::windowSettings()), kes::ProgrammedState::OtherModule);

    swapModule([&] { sim.sim.attachModule(programmed); }, L"Quellmo GSM");
    ASSERT_TRUE(uitest::pumpUntil([&] { return text(ids::accessCode) == L"WKTR"; }));
    EXPECT_EQ(kes::programmedState("QLV30001", kes::windowSettings()), kes::ProgrammedState::AsProgrammed);
    SendMessageW(dialog, WM_SYSCOMMAND, restoreCommand, 0);
    EXPECT_EQ(text(ids::accessCode), L"AAAA");
    EXPECT_TRUE(boxes.empty());
}

// A loose connector: the module misses its polls, answers again and is read into the window.
TEST_F(ModuleTrustTest, EditsBeforeAnAutomaticReadingCanBePutBack)
{
    connectAndRead();  // the module's memory is all zeros
    EXPECT_TRUE(greyed(restoreEditsCommand)) << "nothing kept yet";
    setText(ids::accessCode, L"ED17");
    check(ids::in1Enabled);
    SendMessageW(item(ids::in1Wiring), CB_SETCURSEL, 3, 0);
    setText(ids::tempMax, L"33");
    check(ids::userId(2, ids::UserOffset::Active));
    setText(ids::userId(2, ids::UserOffset::Phone), L"+48500600700");
    const std::wstring edited = kes::currentRecords();

    blip();
    EXPECT_EQ(text(ids::accessCode), L"") << "the module's values were read in";
    EXPECT_EQ(text(ids::tempMax), L"0");
    kes::programmingStepCounter = 5;
    EXPECT_TRUE(greyed(restoreEditsCommand)) << "not during a job";
    kes::programmingStepCounter = kes::noProgramming;
    ASSERT_FALSE(greyed(restoreEditsCommand));
    SendMessageW(dialog, WM_SYSCOMMAND, restoreEditsCommand, 0);
    EXPECT_EQ(kes::currentRecords(), edited) << "every edited value back, nothing else changed";

    // The next re-read with other edits replaces what was kept; one without edits keeps it.
    setText(ids::accessCode, L"ED18");
    const std::wstring newer = kes::currentRecords();
    blip();
    blip();
    SendMessageW(dialog, WM_SYSCOMMAND, restoreEditsCommand, 0);
    EXPECT_EQ(kes::currentRecords(), newer);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ModuleTrustTest, SavedSettingsAreNoEditsToKeep)
{
    connectAndRead();
    setText(ids::accessCode, L"ED19");
    zapisz(L"quellmo-saved-edits.dat");
    blip();
    EXPECT_EQ(text(ids::accessCode), L"");
    EXPECT_TRUE(greyed(restoreEditsCommand));
}

// The module archive the jobs write, in a LOCALAPPDATA of the case's own.
std::string afterHeader(const std::string& file) { return file.substr(std::min(file.size(), file.find('\x03'))); }

TEST_F(ModuleTrustTest, AReadingAndAProgrammingLeaveTheirEntriesAsZapiszWritesThem)
{
    harness::OwnLocalAppData localAppData;
    const std::wstring archive = kes::archiveFolder();
    std::memcpy(sim.sim.block(0).data(), "AAAA", 4);
    connectAndRead();
    const std::string read = zapisz(L"quellmo-archived-reading.dat");
    blip();
    auto entries = kes::listArchive(archive).entries;
    ASSERT_EQ(1u, entries.size()) << "the re-read after the blip adds nothing";
    EXPECT_EQ(kes::ArchiveKind::Read, entries[0].header.kind);
    EXPECT_EQ(L"Quellmo GSM QLV30001", entries[0].header.moduleText + L' ' + entries[0].header.interfaceSerial);
    EXPECT_EQ(read.substr(3), afterHeader(fileBytes(archive + L'\\' + entries[0].relativePath)));

    setText(ids::accessCode, L"WKTR");
    programme();
    const std::string programmed = zapisz(L"quellmo-archived-programming.dat");
    entries = kes::listArchive(archive).entries;
    ASSERT_EQ(2u, entries.size());
    EXPECT_EQ(kes::ArchiveKind::Programmed, entries[0].header.kind);
    EXPECT_EQ(entries[1].relativePath, entries[0].header.previous);
    EXPECT_EQ(programmed.substr(3), afterHeader(fileBytes(archive + L'\\' + entries[0].relativePath)));
    EXPECT_NE(std::wstring::npos, kes::configurationReport({}, kes::windowSettings())
                                      .find(L"<p class=\"note\">Wpis w archiwum modułów: " + entries[0].relativePath + L"</p>"));
}

TEST_F(ModuleTrustTest, AnUnwritableArchiveLeavesTheJobsAsTheyWereAndIsSaidOnce)
{
    harness::OwnLocalAppData localAppData;
    std::ofstream(std::filesystem::path(localAppData.path() + L"\\Quellmo PC")) << "a file, no folder";
    const std::wstring fault = L"Nie można zapisać archiwum modułów: " + kes::archiveFolder();
    std::memcpy(sim.sim.block(0).data(), "AAAA", 4);
    connectAndRead();
    ASSERT_TRUE(uitest::pumpUntil([&] { return !boxes.empty(); }));
    EXPECT_EQ(std::vector<std::wstring>{fault}, boxes);
    EXPECT_EQ(L"AAAA", text(ids::accessCode)) << "the reading as it would be";
    boxes.clear();
    setText(ids::accessCode, L"BBBB");
    programme();  // succeeds, no box
    EXPECT_EQ(0, std::memcmp(sim.sim.block(0).data(), "BBBB", 4));
    blip();
    EXPECT_TRUE(boxes.empty()) << "said once in a run";
}

void select(HWND dialog, const std::vector<int>& rows)
{
    ListView_SetItemState(GetDlgItem(dialog, IDC_ARCHIVE_LIST), -1, 0, LVIS_SELECTED);
    for (int row : rows)
        ListView_SetItemState(GetDlgItem(dialog, IDC_ARCHIVE_LIST), row, LVIS_SELECTED, LVIS_SELECTED);
}

std::wstring enabledButtons(HWND dialog)
{
    std::wstring enabled;
    for (int id = IDC_ARCHIVE_LOAD; id <= IDC_ARCHIVE_DELETE; ++id)
        enabled += IsWindowEnabled(GetDlgItem(dialog, id)) ? std::to_wstring(id) + L' ' : L"";
    return enabled;
}

class ArchiveDialogTest : public ModuleTrustTest {
protected:
    void SetUp() override
    {
        ModuleTrustTest::SetUp();
        // Oldest first: local time, kind, module, user 1's phone, IN-1's name.
        const struct {
            SYSTEMTIME local;
            kes::ArchiveKind kind;
            const wchar_t *module, *phone, *in1;
        } entries[] = {{{2020, 11, 1, 2, 8, 5, 59, 0}, kes::ArchiveKind::Read, L"Garaż", L"601 222 333", L"Brama"},
                       {{2020, 12, 3, 9, 14, 30, 11, 0}, kes::ArchiveKind::Read, L"Brama 1", L"+48601234567", L"Furtka"},
                       {{2020, 12, 3, 9, 14, 32, 5, 0}, kes::ArchiveKind::Programmed, L"Brama 1", L"+48601234567", L"Furtka 2"}};
        for (const auto& e : entries) {
            kes::Settings s;
            s.accessCode = L"1357";
            s.simPin = L"2468";
            s.in1Enabled = s.users[0].active = true;
            s.users[0].phone = e.phone;
            s.in1Name = e.in1;
            const kes::ArchiveEntryHeader h{e.local, e.local, e.kind, L"QLV30001", e.module, L""};
            paths.push_back(archive + L'\\' + kes::writeArchiveEntry(archive, h, kes::recordsOf(s)).value_or(L"?"));
        }
        // Written now: the newest by its file's time.
        kes::writeNewFile(archive + L"\\2020-12", "\xEF\xBB\xBF\x03\x03", [](int) { return std::wstring(L"zepsuty.dat"); }, 1);
    }

    // "Archiwum modułów" worked inside its modal loop once it shows, then closed.
    void openArchive(const std::function<void(HWND)>& steps)
    {
        bool ran = false;
        uitest::ThreadTicks ticks;
        ticks.start([&] {
            HWND shown = FindWindowW(nullptr, L"Archiwum modułów");
            if (ran || !shown || !IsWindowVisible(shown))
                return;
            ran = true;
            steps(shown);
            if (IsWindowVisible(shown))
                PostMessageW(shown, WM_COMMAND, IDCANCEL, 0);
        }, 20);
        SendMessageW(dialog, WM_SYSCOMMAND, 0x0170, 0);
        EXPECT_TRUE(ran) << "the dialog did not show";
    }

    harness::OwnLocalAppData localAppData;
    const std::wstring archive = kes::archiveFolder();
    std::vector<std::wstring> paths;
};

TEST_F(ArchiveDialogTest, ListsNewestFirstWithADamagedEntryAndFindsANumberAsTyped)
{
    openArchive([](HWND archive) {
        HWND list = GetDlgItem(archive, IDC_ARCHIVE_LIST);
        std::wstring all;
        for (int r = 0; r < SendMessageW(list, LVM_GETITEMCOUNT, 0, 0); ++r)
            for (int c = 0; c < 7; ++c)
                all += uitest::listCell(list, r, c) + (c < 6 ? L"|" : L"\n");
        EXPECT_EQ(19u, all.find(L"|uszkodzony|||||zepsuty.dat\n"));  // after its file's time
        EXPECT_EQ(all.find(L'\n') + 1,
                  all.find(L"2020-12-09 14:32:05|zaprogramowany|Brama 1|QLV30001|+48601234567|Furtka 2|"
                           L"2020-12-09 14.32.05 zaprogramowany Brama 1.dat\n"
                           L"2020-12-09 14:30:11|odczytany|Brama 1|QLV30001|+48601234567|Furtka|"
                           L"2020-12-09 14.30.11 odczytany Brama 1.dat\n"
                           L"2020-11-02 08:05:59|odczytany|Garaż|QLV30001|601 222 333|Brama|"
                           L"2020-11-02 08.05.59 odczytany Garaż.dat\n"))
            << all;
        EXPECT_EQ(std::wstring::npos, std::min(all.find(L"1357"), all.find(L"2468"))) << "no access code, no PIN";
        EXPECT_EQ(0u, uitest::textOf(GetDlgItem(archive, IDC_ARCHIVE_COUNT)).find(L"Wpisów w archiwum: 4 ("));
        // 1305 wants a module as well.
        const std::pair<std::vector<int>, const wchar_t*> selections[] = {
            {{}, L""}, {{1}, L"1303 1304 1307 1308 1309 "}, {{1, 2}, L"1306 1309 "}, {{0}, L"1307 1308 1309 "}};
        for (const auto& s : selections) {
            select(archive, s.first);
            EXPECT_EQ(s.second, enabledButtons(archive)) << s.first.size();
        }
        SetDlgItemTextW(archive, IDC_ARCHIVE_SEARCH, L"601 234 567");
        EXPECT_EQ(L"Furtka 2|Furtka|2", uitest::listCell(list, 0, 5) + L'|' + uitest::listCell(list, 1, 5) + L'|' +
                                            std::to_wstring(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)));
        const std::wstring counts = uitest::textOf(GetDlgItem(archive, IDC_ARCHIVE_COUNT));
        EXPECT_EQ(counts.size() - 15, counts.rfind(L", znalezione: 2")) << counts;
    });
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ArchiveDialogTest, WczytajDoOknaThenRestoringTheEditsGivesThemBack)
{
    setText(ids::accessCode, L"ZZZZ");
    openArchive([](HWND archive) {
        select(archive, {3});
        SendDlgItemMessageW(archive, IDC_ARCHIVE_LOAD, BM_CLICK, 0, 0);
        EXPECT_FALSE(IsWindowVisible(archive)) << "loaded, the dialog ends";
    });
    const int phone = ids::userId(0, ids::UserOffset::Phone);
    EXPECT_EQ(L"1357 Brama 601 222 333", text(ids::accessCode) + L' ' + text(ids::in1Name) + L' ' + text(phone));
    SendMessageW(dialog, WM_SYSCOMMAND, restoreEditsCommand, 0);
    EXPECT_EQ(L"ZZZZ INPUT-1 +1234567890", text(ids::accessCode) + L' ' + text(ids::in1Name) + L' ' + text(phone));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ArchiveDialogTest, SavesACopyShowsTheFileInItsFolderAndDeletesAfterAskingOnce)
{
    savePath = tempFolder + L"quellmo-archive-copy.dat";
    written.push_back(savePath);
    kes::setMessageBoxFunction([this](HWND, const std::wstring& text, const std::wstring&, UINT) {
        return boxes.push_back(text), IDYES;
    });
    kes::setShellStarter([this](const kes::ShellRequest& r) { return boxes.push_back(r.file + L' ' + r.parameters), true; });
    const std::string entry = fileBytes(paths[0]);
    openArchive([](HWND archive) {
        for (int id : {IDC_ARCHIVE_SAVE_AS, IDC_ARCHIVE_SHOW_IN_FOLDER, IDC_ARCHIVE_DELETE}) {
            select(archive, id == IDC_ARCHIVE_DELETE ? std::vector<int>{2, 3} : std::vector<int>{3});
            SendDlgItemMessageW(archive, id, BM_CLICK, 0, 0);
        }
        EXPECT_EQ(2, SendDlgItemMessageW(archive, IDC_ARCHIVE_LIST, LVM_GETITEMCOUNT, 0, 0));
        EXPECT_EQ(L"", enabledButtons(archive)) << "nothing selected is left";
    });
    kes::setShellStarter(nullptr);
    EXPECT_EQ(entry, fileBytes(savePath));
    EXPECT_EQ((std::vector<std::wstring>{L"explorer.exe /select,\"" + paths[0] + L"\"",
                                         L"Usunąć z archiwum zaznaczone wpisy (2)?"}),
              boxes);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(paths[0].c_str()) & GetFileAttributesW(paths[1].c_str()));
}

} // namespace
