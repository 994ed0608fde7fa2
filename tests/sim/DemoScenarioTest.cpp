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

namespace {

// The series demonstration: three modules, one after another behind the one interface.
TEST(SeriesScenario, SwapsItsModulesInTurn)
{
    qlvsim::VirtualTime time;
    qlvsim::Simulator sim(time);
    std::string error;
    ASSERT_TRUE(qlvsim::loadScenario(sim, besideTheTest(L"series.ini"), &error)) << error;
    ASSERT_EQ(sim.interfaceCount(), 1u);
    const struct {
        double atSeconds;
        bool attached;
        const char* text;
    } expected[] = {{1, true, "Brama 1"}, {46, false, "Brama 1"}, {50, true, "Brama 2"}, {76, false, "Brama 2"},
                    {80, true, "Brama 3"}};
    double now = 0;
    for (const auto& e : expected) {
        time.advanceMs((e.atSeconds - now) * 1000.0);
        now = e.atSeconds;
        sim.update();
        EXPECT_EQ(sim.moduleAttached(), e.attached) << e.atSeconds;
        EXPECT_EQ(sim.status().text, e.text) << e.atSeconds;
    }
}

} // namespace
