// The built FTD2XX.dll, loaded the way the program loads it: by name and by ordinal.
#include "link/D2xx.h"
#include "link/Frame.h"
#include "link/UsbLink.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::wstring tempFile(const wchar_t* name)
{
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + name;
    DeleteFileW(path.c_str());
    return path;
}

std::string readAll(const std::wstring& path)
{
    std::string text;
    if (FILE* file = _wfopen(path.c_str(), L"rb")) {
        char chunk[1024];
        std::size_t got = 0;
        while ((got = std::fread(chunk, 1, sizeof(chunk), file)) > 0)
            text.append(chunk, got);
        std::fclose(file);
    }
    return text;
}

template <class Condition>
bool waitFor(Condition condition, DWORD deadlineMs)
{
    const ULONGLONG end = GetTickCount64() + deadlineMs;
    while (!condition()) {
        if (GetTickCount64() > end)
            return false;
        Sleep(1);
    }
    return true;
}

TEST(SimulatorDll, LoadsByOrdinalAndAnswersAsTheScenarioSays)
{
    const std::wstring scenario = tempFile(L"qlvsim-dll-scenario.ini");
    const std::wstring state = tempFile(L"qlvsim-dll-state.txt");
    const std::wstring journal = tempFile(L"qlvsim-dll-journal.txt");
    {
        FILE* file = _wfopen(scenario.c_str(), L"wb");
        ASSERT_NE(file, nullptr);
        std::fputs("[line]\nlatencyMs = 1\n"
                   "[interface]\nserial = OTHER1\ndescription = USB Serial Converter\n"
                   "[interface]\nserial = DEMO0042\n"
                   "[memory]\nblock4 = text:Pompa\n",
                   file);
        std::fclose(file);
    }
    SetEnvironmentVariableW(L"QLV_SIM_SCENARIO", scenario.c_str());
    SetEnvironmentVariableW(L"QLV_SIM_STATE", state.c_str());
    SetEnvironmentVariableW(L"QLV_SIM_JOURNAL", journal.c_str());

    kes::D2xxLibrary library;  // FTD2XX.dll beside the test, as beside the program
    ASSERT_TRUE(library.loaded());
    const kes::D2xxApi& api = library.api();
    kes::UsbLink link(api);
    ASSERT_EQ(link.findInterfaces(), std::vector<std::wstring>{L"DEMO0042"});
    ASSERT_TRUE(link.open(L"DEMO0042"));

    auto exchange = [&](std::initializer_list<std::uint8_t> payload, kes::Frame& reply) {
        kes::Frame frame{};
        std::copy(payload.begin(), payload.end(), frame.begin());
        kes::setCheckWord(frame);
        EXPECT_TRUE(api.purgeComm(link.handle, kes::ftPurgeRx));
        DWORD written = 0;
        EXPECT_TRUE(api.writeFile(link.handle, frame.data(), 30, &written, nullptr));
        EXPECT_EQ(written, 30u);
        const bool arrived = waitFor(
            [&] {
                DWORD errors = 0;
                COMSTAT status;
                std::memset(&status, 0, sizeof(status));
                return api.clearCommError(link.handle, &errors, &status) && status.cbInQue >= 30;
            },
            5000);
        EXPECT_TRUE(arrived);
        DWORD read = 0;
        EXPECT_TRUE(api.readFile(link.handle, reply.data(), 30, &read, nullptr));
        EXPECT_EQ(read, 30u);
    };

    kes::Frame reply{};
    exchange({3, 4}, reply);
    EXPECT_TRUE(kes::hasGoodCheckWord(reply));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&reply[2])), "Pompa");

    exchange({2, 7, 'X', 'Y'}, reply);
    EXPECT_EQ(reply[0], 2);
    link.close();

    EXPECT_NE(readAll(state).find("DEMO0042 7 58 59 00"), std::string::npos);
    EXPECT_NE(readAll(state).find("DEMO0042 4 50 6F 6D 70 61 00"), std::string::npos);
    const std::string lines = readAll(journal);
    EXPECT_NE(lines.find("open DEMO0042"), std::string::npos);
    EXPECT_NE(lines.find("PC>MOD 03 04 00"), std::string::npos);
    EXPECT_NE(lines.find("MOD>PC 03 04 50 6F 6D 70 61 00"), std::string::npos);
    EXPECT_NE(lines.find("PC>MOD 02 07 58 59"), std::string::npos);
    EXPECT_NE(lines.find("close"), std::string::npos);
}

} // namespace

namespace {

int linesWith(const std::string& text, const std::string& part)
{
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++n;
    return n;
}

TEST(SimulatorDll, VersionAskedByNameOnceALoadAndTheFileItCameFrom)
{
    const std::wstring journal = tempFile(L"qlvsim-dll-version-journal.txt");
    SetEnvironmentVariableW(L"QLV_SIM_SCENARIO", nullptr);
    SetEnvironmentVariableW(L"QLV_SIM_STATE", nullptr);
    SetEnvironmentVariableW(L"QLV_SIM_JOURNAL", journal.c_str());
    {
        kes::D2xxLibrary library;
        ASSERT_TRUE(library.loaded());
        const HMODULE module = GetModuleHandleW(L"FTD2XX.dll");
        ASSERT_NE(module, nullptr);
        ASSERT_EQ(GetProcAddress(module, MAKEINTRESOURCEA(74)), nullptr) << "the call has no fixed ordinal here";

        // The link and the diagnostics read the text kept with the table.
        kes::UsbLink link(library.api());
        EXPECT_EQ(link.api().libraryVersion, L"2.12.28");
        EXPECT_EQ(linesWith(readAll(journal), "library version"), 1);

        const std::wstring path = kes::libraryPath(library.api());
        ASSERT_GE(path.size(), 11u);
        EXPECT_EQ(_wcsicmp(path.c_str() + path.size() - 11, L"\\FTD2XX.dll"), 0) << path;

        kes::D2xxLibrary again;
        EXPECT_EQ(again.api().libraryVersion, L"2.12.28");
        EXPECT_EQ(linesWith(readAll(journal), "library version"), 2);
    }
    SetEnvironmentVariableW(L"QLV_SIM_JOURNAL", nullptr);
    DeleteFileW(journal.c_str());
}

} // namespace
