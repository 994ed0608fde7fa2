// "Archiwum modułów" on the real main window, over entries written into a LOCALAPPDATA of the
// case's own: what it lists and finds, its buttons, and what each does through the program's seams.
#include "ui/Shell.h"

#include "OwnLocalAppData.h"
#include "model/Catalogue.h"
#include "model/SettingsView.h"
#include "storage/ArchiveEntry.h"
#include "storage/ArchiveFolder.h"
#include "storage/DataFile.h"
#include "storage/FileBytes.h"
#include "storage/FileDialogs.h"
#include "support/HelpLauncher.h"
#include "support/MessageBox.h"
#include "tools/ModuleTrust.h"
#include "ui/ResourceIds.h"
#include "ui/WindowHelpers.h"
#include "UiTestSupport.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

constexpr UINT archiveCommand = 0x0170;
constexpr UINT restoreEditsCommand = 0x0125;

// A modal window the test opens, worked on from inside its modal loop once it shows.
struct Watch {
    std::wstring caption;
    std::function<void(HWND)> steps;
    bool seen = false;
};
std::vector<Watch*> watches;

BOOL CALLBACK findCaption(HWND window, LPARAM found)
{
    if (IsWindowVisible(window) && uitest::textOf(window) == watches.back()->caption) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK lookForWatched(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND window = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &findCaption, reinterpret_cast<LPARAM>(&window));
    if (!window)
        return;
    KillTimer(nullptr, timer);
    Watch& watch = *watches.back();
    watch.seen = true;
    watch.steps(window);
    if (IsWindow(window) && IsWindowVisible(window))
        PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
}

// Runs `open`, which shows the modal window; the steps run in it, then it is closed unless they closed it.
bool inModal(const wchar_t* caption, const std::function<void()>& open, std::function<void(HWND)> steps)
{
    Watch watch{caption, std::move(steps)};
    watches.push_back(&watch);
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, &lookForWatched);
    open();
    KillTimer(nullptr, timer);
    watches.pop_back();
    return watch.seen;
}

std::wstring rowsOf(HWND list)
{
    std::wstring rows;
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int r = 0; r < count; ++r) {
        for (int c = 0; c < 7; ++c)
            rows += (c ? L"|" : L"") + uitest::listCell(list, r, c);
        rows += L"\n";
    }
    return rows;
}

void select(HWND list, std::initializer_list<int> rows)
{
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    state.state = LVIS_SELECTED;
    for (int row : rows)
        SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
}

std::wstring enabledButtons(HWND dialog)
{
    std::wstring enabled;
    for (int id = IDC_ARCHIVE_LOAD; id <= IDC_ARCHIVE_DELETE; ++id)
        if (IsWindowEnabled(GetDlgItem(dialog, id)))
            enabled += std::to_wstring(id) + L' ';
    return enabled;
}

class ArchiveDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previousBox = kes::setMessageBoxFunction([this](HWND, const std::wstring& text, const std::wstring&, UINT) {
            boxes.push_back(text);
            return IDYES;
        });
        kes::setFileDialogFunction([this](kes::FileDialogKind, OPENFILENAMEW& record) {
            wcsncpy(record.lpstrFile, (localAppData.path() + L"\\kopia.dat").c_str(), record.nMaxFile - 1);
            return true;
        });
        kes::setShellStarter([this](const kes::ShellRequest& r) {
            shellAsked.push_back(r.file + L' ' + r.parameters);
            return true;
        });
        kes::stopFollowingModuleJobs();
        kes::setInstanceHandle(GetModuleHandleW(nullptr));
        main = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MAIN_DIALOG), nullptr,
                                  &kes::mainDialogProc, 0);
        ASSERT_NE(main, nullptr);
        KillTimer(main, 1005);  // no interface to look for
        archive = kes::archiveFolder();
        older = write(SYSTEMTIME{2020, 11, 1, 2, 8, 5, 59, 0}, kes::ArchiveKind::Read, L"Garaż", L"601 222 333", L"Brama");
        read = write(SYSTEMTIME{2020, 12, 3, 9, 14, 30, 11, 0}, kes::ArchiveKind::Read, L"Brama 1", L"+48601234567",
                     L"Furtka");
        programmed = write(SYSTEMTIME{2020, 12, 3, 9, 14, 32, 5, 0}, kes::ArchiveKind::Programmed, L"Brama 1",
                           L"+48601234567", L"Furtka 2");
        // Written now, the newest of all by its file's time.
        std::string notAnEntry = "\xEF\xBB\xBF" "Czas UTC: wczoraj\r\n\x03\x03";
        kes::writeNewFile(archive + L"\\2020-12", notAnEntry, [](int) { return std::wstring(L"zepsuty.dat"); }, 1);
    }

    void TearDown() override
    {
        if (IsWindow(main))
            DestroyWindow(main);
        kes::setShellStarter(nullptr);
        kes::setFileDialogFunction(nullptr);
        kes::setMessageBoxFunction(previousBox);
    }

    std::wstring write(const SYSTEMTIME& local, kes::ArchiveKind kind, const wchar_t* module, const wchar_t* phone,
                       const wchar_t* in1)
    {
        kes::Settings s;
        s.accessCode = L"1357";
        s.simPin = L"2468";
        s.in1Enabled = s.users[0].active = true;
        s.users[0].phone = phone;
        s.in1Name = in1;
        kes::ArchiveEntryHeader header;
        header.utc = header.local = local;
        header.kind = kind;
        header.interfaceSerial = L"QLV30001";
        header.moduleText = module;
        return kes::writeArchiveEntry(archive, header, kes::recordsOf(s)).value_or(L"");
    }

    // Opens the archive from the main window's system menu; the steps run while it shows.
    void inArchive(std::function<void(HWND)> steps)
    {
        ASSERT_TRUE(inModal(L"Archiwum modułów", [this] { SendMessageW(main, WM_SYSCOMMAND, archiveCommand, 0); },
                            std::move(steps)));
    }

    harness::OwnLocalAppData localAppData;
    std::wstring archive, older, read, programmed;
    HWND main = nullptr;
    std::vector<std::wstring> boxes, shellAsked;
    kes::MessageBoxFunction previousBox;
};

TEST_F(ArchiveDialogTest, ListsNewestFirstWithoutCodesAndFindsANumberAsTyped)
{
    wchar_t menuText[64] = {};
    GetMenuStringW(GetSystemMenu(main, FALSE), archiveCommand, menuText, 64, MF_BYCOMMAND);
    EXPECT_STREQ(L"Archiwum modułów…", menuText);
    inArchive([](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_ARCHIVE_LIST);
        const std::wstring all = rowsOf(list);
        EXPECT_EQ(19u, all.find(L"|uszkodzony|||||zepsuty.dat\n")) << all;  // after its file's time
        EXPECT_NE(std::wstring::npos,
                  all.find(L"2020-12-09 14:32:05|zaprogramowany|Brama 1|QLV30001|+48601234567|Furtka 2|"
                           L"2020-12-09 14.32.05 zaprogramowany Brama 1.dat\n"
                           L"2020-12-09 14:30:11|odczytany|Brama 1|QLV30001|+48601234567|Furtka|"
                           L"2020-12-09 14.30.11 odczytany Brama 1.dat\n"
                           L"2020-11-02 08:05:59|odczytany|Garaż|QLV30001|601 222 333|Brama|"
                           L"2020-11-02 08.05.59 odczytany Garaż.dat\n"))
            << all;
        EXPECT_EQ(std::wstring::npos, all.find(L"1357")) << "the access code";
        EXPECT_EQ(std::wstring::npos, all.find(L"2468")) << "the PIN";
        EXPECT_EQ(0u, uitest::textOf(GetDlgItem(dialog, IDC_ARCHIVE_COUNT)).find(L"Wpisów w archiwum: 4 ("));

        SetWindowTextW(GetDlgItem(dialog, IDC_ARCHIVE_SEARCH), L"601 234 567");
        EXPECT_EQ(2, SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        EXPECT_EQ(L"Furtka 2", uitest::listCell(list, 0, 5));
        EXPECT_EQ(L"Furtka", uitest::listCell(list, 1, 5));
        const std::wstring counts = uitest::textOf(GetDlgItem(dialog, IDC_ARCHIVE_COUNT));
        const std::wstring found = L" kB), znalezione: 2";
        EXPECT_EQ(counts.size() - found.size(), counts.rfind(found)) << counts;
    });
}

TEST_F(ArchiveDialogTest, ButtonsFollowTheSelectionAndTwoEntriesCompareUnderTheirTimes)
{
    inArchive([this](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_ARCHIVE_LIST);
        const struct {
            std::initializer_list<int> rows;
            const wchar_t* enabled;  // 1305 needs a module as well
        } selections[] = {{{}, L""},
                          {{1}, L"1303 1304 1307 1308 1309 "},
                          {{1, 2}, L"1306 1309 "},
                          {{0}, L"1307 1308 1309 "},
                          {{0, 1}, L"1309 "}};
        for (const auto& s : selections) {
            select(list, s.rows);
            EXPECT_EQ(s.enabled, enabledButtons(dialog)) << s.rows.size();
        }
        select(list, {1, 2});
        std::vector<std::wstring> seen;
        EXPECT_TRUE(inModal(L"Porównanie wpisów archiwum",
                            [&] { SendMessageW(GetDlgItem(dialog, IDC_ARCHIVE_COMPARE_SELECTED), BM_CLICK, 0, 0); },
                            [&](HWND comparison) {
                                HWND table = GetDlgItem(comparison, IDC_COMPARISON_LIST);
                                for (int c = 0; c < 3; ++c) {
                                    wchar_t heading[64] = {};
                                    LVCOLUMNW column{};
                                    column.mask = LVCF_TEXT;
                                    column.pszText = heading;
                                    column.cchTextMax = 64;
                                    SendMessageW(table, LVM_GETCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
                                    seen.push_back(heading);
                                }
                                seen.push_back(rowsOf(table));
                            }));
        EXPECT_EQ((std::vector<std::wstring>{L"Ustawienie", L"2020-12-09 14:32 zaprogramowany",
                                             L"2020-12-09 14:30 odczytany", L"IN-1 – nazwa|Furtka 2|Furtka||||\n"}),
                  seen);
        EXPECT_TRUE(boxes.empty());
    });
}

TEST_F(ArchiveDialogTest, WczytajDoOknaThenRestoringTheEditsGivesThemBack)
{
    SetWindowTextW(GetDlgItem(main, ids::accessCode), L"ZZZZ");
    inArchive([](HWND dialog) {
        select(GetDlgItem(dialog, IDC_ARCHIVE_LIST), {3});
        SendMessageW(GetDlgItem(dialog, IDC_ARCHIVE_LOAD), BM_CLICK, 0, 0);
        EXPECT_FALSE(IsWindowVisible(dialog)) << "loaded, the dialog ends";
    });
    EXPECT_EQ(L"1357", uitest::textOf(GetDlgItem(main, ids::accessCode)));
    EXPECT_EQ(L"Brama", uitest::textOf(GetDlgItem(main, ids::in1Name)));
    EXPECT_EQ(L"601 222 333", uitest::textOf(GetDlgItem(main, ids::userId(0, ids::UserOffset::Phone))));
    SendMessageW(main, WM_SYSCOMMAND, restoreEditsCommand, 0);
    EXPECT_EQ(L"ZZZZ", uitest::textOf(GetDlgItem(main, ids::accessCode)));
    EXPECT_EQ(L"+1234567890", uitest::textOf(GetDlgItem(main, ids::userId(0, ids::UserOffset::Phone))));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ArchiveDialogTest, SavesACopyShowsTheFileInItsFolderAndDeletesAfterAskingOnce)
{
    const auto entryBytes = kes::readFileBytesUpTo(archive + L"\\" + older, 1 << 20);
    ASSERT_TRUE(entryBytes);
    inArchive([this](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_ARCHIVE_LIST);
        select(list, {3});
        SendMessageW(GetDlgItem(dialog, IDC_ARCHIVE_SAVE_AS), BM_CLICK, 0, 0);
        SendMessageW(GetDlgItem(dialog, IDC_ARCHIVE_SHOW_IN_FOLDER), BM_CLICK, 0, 0);
        select(list, {2, 3});
        SendMessageW(GetDlgItem(dialog, IDC_ARCHIVE_DELETE), BM_CLICK, 0, 0);
        EXPECT_EQ(2, SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        EXPECT_EQ(L"", enabledButtons(dialog)) << "nothing selected is left";
    });
    EXPECT_EQ(entryBytes, kes::readFileBytesUpTo(localAppData.path() + L"\\kopia.dat", 1 << 20));
    EXPECT_EQ(std::vector<std::wstring>{L"explorer.exe /select,\"" + archive + L"\\" + older + L"\""}, shellAsked);
    EXPECT_EQ(std::vector<std::wstring>{L"Usunąć z archiwum zaznaczone wpisy (2)?"}, boxes);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((archive + L"\\" + older).c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((archive + L"\\" + read).c_str()));
}

} // namespace
