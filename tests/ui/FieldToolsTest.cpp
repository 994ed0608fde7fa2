// The connection diagnostics window and the configuration report command, as real Win32
// windows under Wine, with the program's link on the simulator.
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

#include <fstream>
#include <iterator>
#include <vector>

#include <gtest/gtest.h>

#include <chrono>
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
        kes::refreshConnectionDiagnostics();
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
    kes::refreshConnectionDiagnostics();  // nothing open: nothing happens
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
