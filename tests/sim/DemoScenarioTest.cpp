#include "Simulator.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

std::wstring besideTheTest(const wchar_t* name)
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    folder.erase(folder.find_last_of(L"\\/") + 1);
    return folder + name;
}

TEST(DemoScenario, LoadsCompletely)
{
    qlvsim::VirtualTime time;
    qlvsim::Simulator sim(time);
    std::string error;
    ASSERT_TRUE(qlvsim::loadScenario(sim, besideTheTest(L"demo.ini"), &error)) << error;
    ASSERT_EQ(sim.interfaceCount(), 1u);
    EXPECT_EQ(sim.interfaceInfo(0).description, "Quorvaltenique USB");
    EXPECT_EQ(std::string(sim.block(0).begin(), sim.block(0).begin() + 4), "1234");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(sim.block(2).data())), "Drzwi");
    EXPECT_EQ(sim.block(13)[18], 0xFF);  // a disabled user
    EXPECT_EQ(qlvsim::voltsForReading(sim.status().supplyReading), 13);
    time.advanceMs(61000);
    EXPECT_TRUE(sim.holdingText());
    EXPECT_TRUE(sim.status().in1);
}

} // namespace
