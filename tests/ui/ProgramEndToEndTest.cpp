// The built program as its own process, with the simulator's FTD2XX.dll beside it, driven with
// window messages from this process; the simulator's journal and state file show what reached
// the module.
#include "support/ScopedWin.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>
#include <windows.h>

namespace {

std::wstring windowsPath(std::wstring unixPath)
{
    for (wchar_t& c : unixPath)
        if (c == L'/')
            c = L'\\';
    return L"Z:" + unixPath;
}

template <class Condition>
bool waitFor(Condition condition, std::chrono::seconds deadline)
{
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

struct Search {
    DWORD process;
    const wchar_t* title;
    HWND found;
};

HWND topLevelWindow(DWORD process, const wchar_t* title)
{
    Search s{process, title, nullptr};
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(p);
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            wchar_t text[128] = {};
            GetWindowTextW(w, text, 128);
            if (owner == s.process && s.title == std::wstring(text) && IsWindowVisible(w)) {
                s.found = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&s));
    return s.found;
}

std::wstring remoteText(HWND dialog, int id)
{
    wchar_t text[512] = {};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(GetDlgItem(dialog, id), WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        5000, &ignored);
    return text;
}

void setRemoteText(HWND dialog, int id, const wchar_t* text)
{
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                        &ignored);
}

// All texts of a message box, for a failure message.
std::wstring boxTexts(HWND box)
{
    std::wstring all;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        wchar_t text[1024] = {};
        GetWindowTextW(c, text, 1024);
        all += text;
        all += L" | ";
    }
    return all;
}

// For failure messages: the UTF-16 text as UTF-8.
std::string utf8(const std::wstring& text)
{
    std::string out(text.size() * 3 + 1, '\0');
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0],
                                      static_cast<int>(out.size()), nullptr, nullptr);
    out.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return out;
}

std::vector<std::string> linesOf(const std::wstring& path)
{
    std::ifstream in(path.c_str());
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class ProgramProcess : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        folder = std::wstring(temp) + L"quellmo-e2e-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(folder.c_str(), nullptr);
        ASSERT_TRUE(CopyFileW(windowsPath(QUELLMO_EXE_UNIX_PATH).c_str(), (folder + L"\\quellmo-pc.exe").c_str(), FALSE));
        ASSERT_TRUE(CopyFileW(windowsPath(QUELLMO_SIM_DLL_UNIX_PATH).c_str(), (folder + L"\\FTD2XX.dll").c_str(), FALSE));
        journal = folder + L"\\journal.txt";
        state = folder + L"\\state.txt";
        DeleteFileW(journal.c_str());
        DeleteFileW(state.c_str());
        SetEnvironmentVariableW(L"QLV_SIM_SCENARIO", nullptr);
        SetEnvironmentVariableW(L"QLV_SIM_JOURNAL", journal.c_str());
        SetEnvironmentVariableW(L"QLV_SIM_STATE", state.c_str());

        std::wstring command = L"\"" + folder + L"\\quellmo-pc.exe\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        ASSERT_TRUE(CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                                   &process));
    }

    void TearDown() override
    {
        if (process.hProcess) {
            const kes::KernelHandle owned(process.hProcess), thread(process.hThread);
            if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(process.hProcess, 99);
        }
        for (const wchar_t* name : {L"\\quellmo-pc.exe", L"\\FTD2XX.dll", L"\\journal.txt", L"\\state.txt"})
            DeleteFileW((folder + name).c_str());
        RemoveDirectoryW(folder.c_str());
    }

    int journalLines(const std::string& start)
    {
        int n = 0;
        for (const std::string& line : linesOf(journal))
            if (line.find(start) != std::string::npos)
                ++n;
        return n;
    }

    std::wstring folder, journal, state;
    PROCESS_INFORMATION process{};
};

TEST_F(ProgramProcess, ConnectsReadsProgramsAndClosesWithExitCodeZero)
{
    HWND window = nullptr;
    ASSERT_TRUE(waitFor([&] { return (window = topLevelWindow(process.dwProcessId, L"Quellmo PC")) != nullptr; },
                        std::chrono::seconds(30)));
    EXPECT_EQ(remoteText(window, 10002), L"WKTR");
    // A window started behind another one has no focus until it is activated; the dialog then
    // gives the focus back to the control it chose.
    GUITHREADINFO gui{};
    gui.cbSize = sizeof(gui);
    waitFor(
        [&] {
            if (GetForegroundWindow() != window)
                SetForegroundWindow(window);
            return GetGUIThreadInfo(process.dwThreadId, &gui) && gui.hwndActive == window && gui.hwndFocus;
        },
        std::chrono::seconds(10));
    EXPECT_EQ(gui.hwndActive, window) << "the window came to the foreground";
    EXPECT_EQ(gui.hwndFocus, GetDlgItem(window, 10002)) << "the access code has the focus";

    // The 7 s settle, then the reading job and the first shown status.
    ASSERT_TRUE(waitFor([&] { return remoteText(window, 10116) == L"Quellmo GSM"; }, std::chrono::seconds(60)))
        << "status line: " << utf8(remoteText(window, 10116));
    ASSERT_TRUE(waitFor([&] { return remoteText(window, 10123) == L"Plus"; }, std::chrono::seconds(10)));
    EXPECT_EQ(journalLines("PC>MOD 03 "), 16) << "every block read once";
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, 10121)));

    // Settings a module with empty memory would not pass, then "Programuj".
    setRemoteText(window, 10002, L"ABCD");
    setRemoteText(window, 10004, L"1234");
    // IN-2 and its SMS ON message switched on with real clicks (the refresh enables the box).
    DWORD_PTR ignored = 0;
    for (int box : {10014, 10019})
        SendMessageTimeoutW(GetDlgItem(window, box), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    setRemoteText(window, 10015, L"DRZWI");
    setRemoteText(window, 10020, L"DRZWI OTWARTE");
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(10121, BN_CLICKED), 0);

    bool progressSeen = false;
    const bool finished = waitFor(
        [&] {
            if (HWND box = topLevelWindow(process.dwProcessId, L"Błędy w ustawieniach")) {
                ADD_FAILURE() << "validation refused: "
                              << utf8(boxTexts(box));
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                return true;
            }
            if (topLevelWindow(process.dwProcessId, L"Programowanie modułu"))
                progressSeen = true;
            return progressSeen && !topLevelWindow(process.dwProcessId, L"Programowanie modułu");
        },
        std::chrono::seconds(40));
    ASSERT_TRUE(finished);
    EXPECT_TRUE(progressSeen);
    EXPECT_EQ(topLevelWindow(process.dwProcessId, L"Błąd"), nullptr) << "no programming error";

    // Sixteen block writes, in order, and the state file holds what was typed.
    std::vector<std::string> writes;
    for (const std::string& line : linesOf(journal)) {
        const auto at = line.find("PC>MOD 02 ");
        if (at != std::string::npos)
            writes.push_back(line.substr(at + 10, 2));
    }
    ASSERT_EQ(writes.size(), 16u);
    for (int b = 0; b < 16; ++b) {
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02X", b);
        EXPECT_EQ(writes[static_cast<std::size_t>(b)], hex);
    }
    bool textBlockFound = false;
    for (const std::string& line : linesOf(state))
        if (line.rfind("QLV30001 8 ", 0) == 0) { // in2SmsOnText is block 8
            textBlockFound = true;
            EXPECT_EQ(line.substr(11, 38), "44 52 5A 57 49 20 4F 54 57 41 52 54 45") << line;
        }
    EXPECT_TRUE(textBlockFound);

    // Enter and Escape do nothing; the system close ends the process with 0.
    setRemoteText(window, 10141, L"X");
    PostMessageW(window, WM_COMMAND, IDOK, 0);
    PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    // "Usuń" posted after them: once the field is empty, both keys' commands have been handled.
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(10142, BN_CLICKED), 0);
    ASSERT_TRUE(waitFor([&] { return remoteText(window, 10141).empty(); }, std::chrono::seconds(10)));
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_TRUE(IsWindowVisible(window));
    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 15000), static_cast<DWORD>(WAIT_OBJECT_0));
    DWORD code = 99;
    GetExitCodeProcess(process.hProcess, &code);
    EXPECT_EQ(code, 0u);
}

} // namespace
