// The system menu's commands on the real main window and the simulated module: comparing the
// window with the module, and going back to what the module held when it connected.
#include "ui/Shell.h"

#include "SimHarness.h"
#include "model/Catalogue.h"
#include "tools/KeptConfiguration.h"
#include "protocol/Programming.h"
#include "protocol/Supervision.h"
#include "storage/FileDialogs.h"
#include "support/MessageBox.h"
#include "ui/ResourceIds.h"
#include "TestClipboard.h"
#include "UiTestSupport.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr UINT compareCommand = 0x0110;
constexpr UINT restoreCommand = 0x0120;
constexpr UINT saveCopyCommand = 0x0130;
constexpr wchar_t comparisonCaption[] = L"Porównanie z modułem";

// What the comparison window showed, read inside its modal loop.
struct ComparisonSeen {
    bool opened = false;
    std::wstring listed;     // the list's cells, tab-separated, one row a line
    std::wstring note;       // the static line when nothing differs
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

std::wstring cell(HWND list, int row, int column)
{
    wchar_t buffer[256] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = 256;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return buffer;
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
            seen->listed += cell(list, r, 0) + L'\t' + cell(list, r, 1) + L'\t' + cell(list, r, 2) + L"\r\n";
    }
    if (IsWindowVisible(GetDlgItem(window, IDC_COMPARISON_NOTE)))
        seen->note = uitest::textOf(GetDlgItem(window, IDC_COMPARISON_NOTE));
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
        kes::moduleConfigurationAtConnect.reset();
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
    void check(int id) { SendMessageW(item(id), BM_SETCHECK, BST_CHECKED, 0); }

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
                    {saveCopyCommand, L"Zapisz kopię ustawień modułu…"},
                    {0x0140, L"Diagnostyka połączenia…"},
                    {0x0150, L"Raport konfiguracji…"}};
    constexpr int ours = static_cast<int>(sizeof(expected) / sizeof(expected[0]));
    HMENU menu = systemMenu();
    const int count = GetMenuItemCount(menu);
    ASSERT_GE(count, ours + 1);
    EXPECT_EQ(GetMenuState(menu, static_cast<UINT>(count - ours - 1), MF_BYPOSITION) & MF_SEPARATOR,
              static_cast<UINT>(MF_SEPARATOR));
    for (int i = 0; i < ours; ++i) {
        wchar_t text[128] = {};
        EXPECT_EQ(GetMenuItemID(menu, count - ours + i), expected[i].id);
        GetMenuStringW(menu, static_cast<UINT>(count - ours + i), text, 128, MF_BYPOSITION);
        EXPECT_EQ(std::wstring(text), expected[i].text);
    }
}

TEST_F(ModuleTrustTest, WithoutAModuleEverythingIsGreyedAndAPostedCommandDoesNothing)
{
    for (UINT id : {compareCommand, restoreCommand, saveCopyCommand})
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

TEST_F(ModuleTrustTest, ListsEachDifferingSettingAsTheWindowShowsItAndCopiesTheTable)
{
    connectAndRead(); // the module's memory is all zeros
    setText(ids::accessCode, L"ABCD");
    SendMessageW(item(ids::in1Wiring), CB_SETCURSEL, 2, 0);
    setText(ids::in1Time, L"30");
    check(ids::tempSmsOn);
    setText(ids::powerMax, L"15");
    check(ids::userId(1, ids::UserOffset::Active));
    setText(ids::userId(1, ids::UserOffset::Phone), L"+48600100200");
    check(ids::userId(1, ids::UserOffset::RightClip));
    const int readsBefore = readRequests();

    const ComparisonSeen result = compare();

    ASSERT_TRUE(result.opened);
    EXPECT_EQ(readRequests() - readsBefore, 16);
    const std::wstring rows = L"Kod dostępu\tABCD\t\r\n"
                              L"IN-1 – rodzaj wejścia\tNC PLUS\tNO PLUS\r\n"
                              L"IN-1 – Pobudzenie [s]\t30\t0\r\n"
                              L"TEMP – SMS ON\ttak\tnie\r\n"
                              L"POWER – max [V]\t15\t0.0\r\n"
                              L"Użytkownik 2\ttak\tnie\r\n"
                              L"Użytkownik 2 – telefon\t+48600100200\t\r\n"
                              L"Użytkownik 2 – CLIP\ttak\tnie\r\n"
                              // Read from zeros, the row shows time-limited rights of 0 hours; a
                              // switched-off user holds none in the module.
                              L"Użytkownik 2 – UPRAWNIENIA CZAS. [h]\ttak\tnie\r\n"
                              L"Użytkownik 2 – UPRAWNIENIA CZAS. [h] – liczba godzin\t0\t24\r\n";
    EXPECT_EQ(result.listed, rows);
    EXPECT_EQ(result.clipboard, L"Ustawienie\tW oknie\tW module\r\n" + rows);
    EXPECT_TRUE(IsWindowEnabled(dialog)) << "Esc closed the comparison and gave the window back";
    EXPECT_EQ(uitest::textOf(item(ids::accessCode)), L"ABCD");
    EXPECT_EQ(SendMessageW(item(ids::userId(1, ids::UserOffset::RightClip)), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ModuleTrustTest, WhatTheModuleCannotHoldIsNoDifference)
{
    // Input 1's time in tenths (15: shown as 1) and its SMS ON text filling the whole block.
    sim.sim.block(0)[9] = 15;
    const char text[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::memcpy(sim.sim.block(7).data(), text, 26);
    connectAndRead();
    setText(ids::in1SmsOnText, L"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123"); // more than the block holds
    // A row with PODSŁUCH: programming would clear its CLIP; comparing leaves the window as it is.
    check(ids::userId(2, ids::UserOffset::RightClip));
    check(ids::userId(2, ids::UserOffset::RightListen));

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

} // namespace
