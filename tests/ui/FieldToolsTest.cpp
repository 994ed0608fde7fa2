// The connection diagnostics window and the configuration report command, as real Win32
// windows under Wine, with the program's link on the simulator.
#include "CaseName.h"
#include "SimHarness.h"
#include "TestClipboard.h"
#include "UiTestSupport.h"

#include "protocol/Supervision.h"
#include "support/DebugLog.h"
#include "support/DebugLogRing.h"
#include "storage/FileDialogs.h"
#include "support/MessageBox.h"
#include "ui/ConfigurationReportCommand.h"
#include "ui/ConnectionDiagnostics.h"
#include "ui/SingleDialog.h"

#include <fstream>
#include <iterator>
#include <vector>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

namespace {

std::function<void()> whileOpen;
std::chrono::steady_clock::time_point deadline;
bool timedOut = false;

// Runs inside the window's modal loop: acts once the window is there, closes it at the deadline.
void CALLBACK onTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND window = kes::connectionDiagnosticsWindow();
    if (window && whileOpen) {
        KillTimer(nullptr, id);
        auto action = std::exchange(whileOpen, nullptr);
        action();
        return;
    }
    if (std::chrono::steady_clock::now() > deadline) {
        KillTimer(nullptr, id);
        timedOut = true;
        if (window)
            EndDialog(window, 0);
    }
}

void runWhileOpen(std::function<void()> action)
{
    whileOpen = std::move(action);
    timedOut = false;
    deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    SetTimer(nullptr, 0, 20, &onTimer);
    kes::showConnectionDiagnostics(nullptr);
}

TEST(DiagnosticsWindow, ShowsTheReasonRefreshesCopiesAndCloses)
{
    harness::SimHarness h;
    h.attachGlobalLink();
    h.sim.unplug();
    kes::connectStep();  // finds nothing
    kes::debugLogRing().clear();

    bool checked = false;
    runWhileOpen([&] {
        HWND window = kes::connectionDiagnosticsWindow();
        EXPECT_EQ(uitest::textOf(window), L"Diagnostyka połączenia");
        EXPECT_EQ(uitest::textOf(GetDlgItem(window, kes::diagnosticsCopyButton)), L"Kopiuj");
        EXPECT_EQ(uitest::textOf(GetDlgItem(window, IDCANCEL)), L"Zamknij");
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(uitest::styleOf(GetDlgItem(window, kes::diagnosticsFirstChart + i)) & SS_TYPEMASK,
                      static_cast<DWORD>(SS_OWNERDRAW));
        const std::wstring summary = uitest::textOf(GetDlgItem(window, kes::diagnosticsSummary));
        EXPECT_NE(summary.find(L"Stan połączenia: Nie znaleziono interfejsu QLV-3 USB"), std::wstring::npos)
            << summary;

        // The interface comes back: the next refresh shows it open, and the log its lines.
        h.sim.replug();
        kes::connectStep();
        { kes::debuglog_stream log; log << L"Błąd: nr 5\n"; }
        kes::SingleDialog::refreshAll();
        EXPECT_NE(uitest::textOf(GetDlgItem(window, kes::diagnosticsSummary))
                      .find(L"  Quorvaltenique USB, nr seryjny QLV30001 – używany przez program\r\n"),
                  std::wstring::npos);
        EXPECT_EQ(uitest::textOf(GetDlgItem(window, kes::diagnosticsLog)), L"Błąd: nr 5\r\n");

        kes::showConnectionDiagnostics(nullptr);  // already open: returns at once
        EXPECT_TRUE(uitest::emptyClipboard());
        SendMessageW(window, WM_COMMAND, MAKEWPARAM(kes::diagnosticsCopyButton, BN_CLICKED), 0);
        const std::wstring copied = uitest::clipboardText();
        EXPECT_EQ(copied.rfind(L"Quellmo PC ", 0), 0u) << copied;
        EXPECT_NE(copied.find(L"Stan połączenia: Interfejs QLV-3 USB otwarty – trwa przygotowanie"),
                  std::wstring::npos);
        EXPECT_NE(copied.find(L"Dziennik łącza (ostatnie wiersze):\r\nBłąd: nr 5\r\n"), std::wstring::npos);
        checked = true;
        SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    EXPECT_FALSE(timedOut);
    EXPECT_TRUE(checked);
    EXPECT_EQ(kes::connectionDiagnosticsWindow(), nullptr);
    kes::SingleDialog::refreshAll();  // nothing open: nothing happens
}

struct ReportSeams {
    std::wstring answer;  // the path the save dialog returns
    std::wstring proposed, filter;
    std::vector<std::wstring> opened, boxes;
    kes::FileDialogFunction previousDialog;
    kes::MessageBoxFunction previousBox;
    kes::ReportOpener previousOpener;

    ReportSeams()
    {
        previousDialog = kes::setFileDialogFunction([this](kes::FileDialogKind, OPENFILENAMEW& r) {
            proposed = r.lpstrFile;
            filter.assign(r.lpstrFilter, 40);
            answer.copy(r.lpstrFile, r.nMaxFile - 1);
            r.lpstrFile[answer.size()] = L'\0';
            return true;
        });
        previousBox = kes::setMessageBoxFunction([this](HWND, const std::wstring& text, const std::wstring& caption, UINT) {
            boxes.push_back(caption + L": " + text);
            return IDOK;
        });
        previousOpener = kes::setReportOpener([this](const std::wstring& path) {
            opened.push_back(path);
            return false;  // no browser: the file stays, nothing is said
        });
    }
    ~ReportSeams()
    {
        kes::setFileDialogFunction(previousDialog);
        kes::setMessageBoxFunction(previousBox);
        kes::setReportOpener(previousOpener);
    }
};

TEST(ReportCommand, SavesTheProposedPageAndOpensIt_OrSaysWhyNot)
{
    ASSERT_TRUE(kes::canSaveReport());
    harness::SimHarness h;
    h.attachGlobalLink();
    ASSERT_TRUE(h.connect(kes::usbLink));
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    ReportSeams seams;
    seams.answer = std::wstring(folder) + L"quellmo-raport-test.html";
    DeleteFileW(seams.answer.c_str());

    kes::saveConfigurationReport(nullptr);
    SYSTEMTIME today{};
    GetLocalTime(&today);
    wchar_t expectedName[64];
    swprintf(expectedName, 64, L"raport-QLV30001-%04u-%02u-%02u.html", today.wYear, today.wMonth, today.wDay);
    EXPECT_EQ(seams.proposed, expectedName);
    EXPECT_EQ(seams.filter.substr(0, 29), std::wstring(L"Strona HTML (*.html)\0*.html\0\0", 29));
    std::ifstream file(seams.answer.c_str(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    file.close();
    EXPECT_EQ(bytes.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_NE(bytes.find("<td>Numer seryjny interfejsu QLV-3 USB</td><td>QLV30001</td>"), std::string::npos);
    EXPECT_NE(bytes.find("<h2>U\xC5\xBCytkownicy</h2>"), std::string::npos) << "UTF-8 without a signature";
    EXPECT_EQ(seams.opened, std::vector<std::wstring>{seams.answer});
    EXPECT_TRUE(seams.boxes.empty());
    DeleteFileW(seams.answer.c_str());

    seams.answer = std::wstring(folder) + L"no-such-folder-quellmo\\raport.html";
    kes::saveConfigurationReport(nullptr);
    EXPECT_EQ(seams.boxes, std::vector<std::wstring>{L"Błąd zapisu pliku: Nie można zapisać pliku: " + seams.answer});
    EXPECT_EQ(seams.opened.size(), 1u);
}

} // namespace

namespace {

void logLine(const std::wstring& line)
{
    kes::debuglog_stream log;
    log << line << L"\n";
}

// Where the reader has left the log box when the next lines come.
enum class Reader { ScrolledToTheTopWithASelection, AtTheEndWithTheLastLineSelected };

struct LogBoxCase {
    const char* name;
    std::vector<std::wstring> shown;  // logged before the reader moves
    Reader reader;
    std::vector<std::wstring> more;   // then one a tick
    std::wstring after;               // the box's text then
};

std::vector<std::wstring> numberedErrors(int count)
{
    std::vector<std::wstring> lines;
    for (int i = 1; i <= count; ++i)
        lines.push_back(L"Błąd: nr " + std::to_wstring(i));
    return lines;
}

std::wstring numberedErrorsText(int count)
{
    std::wstring text;
    for (int i = 1; i <= count; ++i)
        text += L"Błąd: nr " + std::to_wstring(i) + L"\r\n";
    return text;
}

class DiagnosticsLogBox : public ::testing::TestWithParam<LogBoxCase> {};

TEST_P(DiagnosticsLogBox, KeepsTheReadersPlaceWhileLinesCome)
{
    const LogBoxCase& c = GetParam();
    harness::SimHarness h;
    h.attachGlobalLink();
    kes::debugLogRing().clear();
    bool checked = false;
    runWhileOpen([&] {
        HWND window = kes::connectionDiagnosticsWindow();
        HWND box = GetDlgItem(window, kes::diagnosticsLog);
        for (const std::wstring& line : c.shown)
            logLine(line);
        kes::SingleDialog::refreshAll();

        const int lines = static_cast<int>(SendMessageW(box, EM_GETLINECOUNT, 0, 0));
        const int lastLineStart = static_cast<int>(SendMessageW(box, EM_LINEINDEX, lines - 2, 0));
        if (c.reader == Reader::ScrolledToTheTopWithASelection) {
            SendMessageW(box, WM_VSCROLL, SB_TOP, 0);
            SendMessageW(box, EM_SETSEL, 2, 6);
        } else {
            SendMessageW(box, EM_SETSEL, lastLineStart, lastLineStart + 4);
            SendMessageW(box, WM_VSCROLL, SB_BOTTOM, 0);
        }
        DWORD start = 0, end = 0;
        SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        const LRESULT firstLine = SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0);

        for (const std::wstring& line : c.more) {
            logLine(line);
            kes::SingleDialog::refreshAll();
        }

        EXPECT_EQ(uitest::textOf(box), c.after);
        DWORD startAfter = 0, endAfter = 0;
        SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&startAfter), reinterpret_cast<LPARAM>(&endAfter));
        EXPECT_EQ(startAfter, start);
        EXPECT_EQ(endAfter, end);
        if (c.reader == Reader::ScrolledToTheTopWithASelection) {
            EXPECT_EQ(SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0), firstLine);
        } else {
            // The newest line is in view.
            const int linesAfter = static_cast<int>(SendMessageW(box, EM_GETLINECOUNT, 0, 0));
            const LRESULT at = SendMessageW(box, EM_POSFROMCHAR, SendMessageW(box, EM_LINEINDEX, linesAfter - 2, 0), 0);
            RECT client{};
            GetClientRect(box, &client);
            const int y = static_cast<short>(HIWORD(at));
            EXPECT_GE(y, 0);
            EXPECT_LT(y, client.bottom);
        }
        checked = true;
        SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    EXPECT_FALSE(timedOut);
    EXPECT_TRUE(checked);
}

INSTANTIATE_TEST_SUITE_P(
    Ticks, DiagnosticsLogBox,
    ::testing::Values(
        LogBoxCase{"the ring full of one line and more of it: nothing changes",
                   std::vector<std::wstring>(50, L"Instrukcja odzyskaj 0"), Reader::ScrolledToTheTopWithASelection,
                   std::vector<std::wstring>(5, L"Instrukcja odzyskaj 0"), L"Instrukcja odzyskaj 0 (\u00D750)\r\n"},
        LogBoxCase{"the last line again, reader scrolled up", numberedErrors(30),
                   Reader::ScrolledToTheTopWithASelection, std::vector<std::wstring>(4, L"Błąd: nr 30"),
                   numberedErrorsText(29) + L"Błąd: nr 30 (\u00D75)\r\n"},
        LogBoxCase{"new lines, reader scrolled up", numberedErrors(30), Reader::ScrolledToTheTopWithASelection,
                   {L"Powodzenie FT_W32_GetCommState", L"Błąd: nr 31"},
                   numberedErrorsText(30) + L"Powodzenie FT_W32_GetCommState\r\nBłąd: nr 31\r\n"},
        LogBoxCase{"new lines, reader at the end", numberedErrors(30), Reader::AtTheEndWithTheLastLineSelected,
                   {L"Instrukcja odzyskaj 0", L"Instrukcja odzyskaj 0", L"Zamykanie uchwytu", L"Błąd: nr 4",
                    L"Błąd: odzyskaj, nie został otwarty uchwyt", L"Instrukcja odzyskaj 1"},
                   numberedErrorsText(30) +
                       L"Instrukcja odzyskaj 0 (\u00D72)\r\nZamykanie uchwytu\r\nBłąd: nr 4\r\n"
                       L"Błąd: odzyskaj, nie został otwarty uchwyt\r\nInstrukcja odzyskaj 1\r\n"}),
    casename::ByName());

TEST(DiagnosticsWindow, ListsTheInterfacesEveryTwoSecondsOfTicks)
{
    harness::SimHarness h;
    h.attachGlobalLink();
    ASSERT_TRUE(h.connect(kes::usbLink));
    std::uint64_t listings = 0;
    std::wstring summary;
    runWhileOpen([&] {
        HWND window = kes::connectionDiagnosticsWindow();
        const std::uint64_t before = h.sim.deviceListings();
        for (int tick = 0; tick < 20; ++tick) {  // 10 s
            h.advanceMs(500);
            kes::SingleDialog::refreshAll();
        }
        listings = h.sim.deviceListings() - before;
        summary = uitest::textOf(GetDlgItem(window, kes::diagnosticsSummary));
        SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    EXPECT_FALSE(timedOut);
    EXPECT_EQ(listings, 5u);
    EXPECT_NE(summary.find(L"  Quorvaltenique USB, nr seryjny QLV30001 – używany przez program\r\n"),
              std::wstring::npos)
        << summary;
}

} // namespace
