#include "LogCapture.h"
#include "SimHarness.h"

#include <gtest/gtest.h>

namespace {

using harness::SimHarness;
using linktest::LogCapture;
using Lines = std::vector<std::wstring>;

const std::wstring probeOk = L"Powodzenie FT_W32_GetCommState\n";
const std::wstring timeout = L"Błąd: odzyskaj, przekroczenie czasu 10 sek\n";
const std::wstring reopened = L"Błąd: odzyskaj, został otwarty uchwyt\n";
const std::wstring notReopened = L"Błąd: odzyskaj, nie został otwarty uchwyt\n";
const std::wstring resources = L"Błąd: FT_INSUFFICIENT_RESOURCES\n";
const std::wstring closing = L"Zamykanie uchwytu\n";

TEST(Recover, WithoutHandleLogsAndGivesUp)
{
    SimHarness h;
    LogCapture log;
    EXPECT_FALSE(h.link.recover());
    EXPECT_EQ(LogCapture::lines(), Lines{L"Instrukcja odzyskaj 0\n"});
}

TEST(Recover, WhileSettlingDoesNothing)
{
    SimHarness h;
    ASSERT_TRUE(h.link.open(L"QLV30001"));
    LogCapture log;
    EXPECT_TRUE(h.link.recover());
    EXPECT_TRUE(h.link.recoveryWatch.stopped);
    EXPECT_EQ(LogCapture::lines(), Lines{L"Instrukcja odzyskaj 0\n"});
}

TEST(Recover, FirstCallOnlyOpensTheWindow)
{
    SimHarness h;
    ASSERT_TRUE(h.connect());
    h.sim.faults().commStateFailures = 5;  // a probe now would fail and show up in the log
    LogCapture log;
    EXPECT_TRUE(h.link.recover());
    EXPECT_FALSE(h.link.recoveryWatch.stopped);
    EXPECT_EQ(LogCapture::lines(), Lines{L"Instrukcja odzyskaj 0\n"});
    EXPECT_EQ(h.sim.faults().commStateFailures, 5);
}

TEST(Recover, TicksEveryHalfSecondCloseTheLinkOnceTenSecondsArePast)
{
    SimHarness h;
    ASSERT_TRUE(h.connect());
    LogCapture log;
    ASSERT_TRUE(h.link.recover());  // t = 0: window opens
    int calls = 1;
    bool result = true;
    while (result && calls < 100) {
        h.advanceMs(500);
        result = h.link.recover();
        ++calls;
    }
    // The calls at 0.5 .. 10.0 s probe; the one at 10.5 s finds more than 10.0 s.
    EXPECT_EQ(calls, 22);
    EXPECT_FALSE(h.link.isOpen());
    EXPECT_EQ(h.sim.openHandles(), 0);
    EXPECT_TRUE(h.link.recoveryWatch.stopped);
    EXPECT_EQ(LogCapture::count(probeOk), 20u);
    EXPECT_EQ(LogCapture::count(timeout), 1u);
    EXPECT_EQ(LogCapture::lines().back(), timeout);
    // The seconds logged are those of the previous reading: 0.5 at the third call, 10 at the last.
    EXPECT_EQ(LogCapture::lines()[3], L"Instrukcja odzyskaj 0.5\n");
    EXPECT_EQ(LogCapture::lines()[LogCapture::lines().size() - 2], L"Instrukcja odzyskaj 10\n");
    EXPECT_FALSE(h.link.recover());
}

TEST(Recover, EndRecoveryStartsANewWindowOnTheNextFailure)
{
    SimHarness h;
    ASSERT_TRUE(h.connect());
    ASSERT_TRUE(h.link.recover());
    h.advanceMs(9000);
    ASSERT_TRUE(h.link.recover());
    h.link.endRecovery();
    EXPECT_TRUE(h.link.recoveryWatch.stopped);
    ASSERT_TRUE(h.link.recover());  // opens a fresh window
    h.advanceMs(9000);
    EXPECT_TRUE(h.link.recover());
    EXPECT_TRUE(h.link.isOpen());
}

TEST(Recover, ProbeFailureNotUnpluggedClosesAndReopens)
{
    SimHarness h;
    ASSERT_TRUE(h.connect());
    ASSERT_TRUE(h.link.recover());
    const kes::FT_HANDLE old = h.link.handle;
    h.sim.faults().commStateFailures = 1;
    h.advanceMs(500);
    LogCapture log;
    EXPECT_TRUE(h.link.recover());
    EXPECT_EQ(LogCapture::lines(),
              (Lines{L"Instrukcja odzyskaj 0\n", resources, closing, L"Błąd: nr 4\n", reopened}));
    EXPECT_TRUE(h.link.isOpen());
    EXPECT_NE(h.link.handle, old);
    EXPECT_EQ(h.sim.openHandles(), 1);
    EXPECT_EQ(h.sim.callsOnClosedHandles(), 0);
    EXPECT_EQ(h.sim.portState().BaudRate, 9600u);
    // Still settled: exchanges go on with the new handle.
    kes::Frame frame{};
    frame[0] = 3;
    EXPECT_TRUE(h.link.sendFrame(frame));
}

struct ReopenFailure {
    const char* name;
    void (*breakIt)(qlvsim::Faults&);
};

class ReopenFails : public ::testing::TestWithParam<ReopenFailure> {};

TEST_P(ReopenFails, AfterTheOldHandleWasClosedTheLinkHoldsNoneAndNeverTouchesIt)
{
    SimHarness h;
    ASSERT_TRUE(h.connect());
    h.link.responding = true;
    ASSERT_TRUE(h.link.recover());
    h.advanceMs(500);
    h.sim.faults().commStateFailures = 1;  // the probe
    GetParam().breakIt(h.sim.faults());    // and the reopen
    LogCapture log;
    EXPECT_TRUE(h.link.recover());
    EXPECT_EQ(LogCapture::lines(),
              (Lines{L"Instrukcja odzyskaj 0\n", resources, closing, L"Błąd: nr 4\n", notReopened}));
    EXPECT_FALSE(h.link.isOpen());
    EXPECT_FALSE(h.link.settled);
    EXPECT_FALSE(h.link.responding);
    EXPECT_TRUE(h.link.serialNumber.empty());
    EXPECT_EQ(h.sim.openHandles(), 0);  // nor is a half-configured new handle left open
    // Every later operation stays off the closed handle.
    kes::Frame frame{};
    EXPECT_FALSE(h.link.sendFrame(frame));
    EXPECT_FALSE(h.link.queryFrame(frame, frame));
    EXPECT_FALSE(h.link.recover());
    h.link.close();
    EXPECT_EQ(h.sim.callsOnClosedHandles(), 0);
    // The connect step finds the interface again and has to settle anew.
    const auto found = h.link.findInterfaces();
    ASSERT_EQ(found.size(), 1u);
    ASSERT_TRUE(h.link.open(found[0]));
    EXPECT_FALSE(h.link.isSettled());
}

INSTANTIATE_TEST_SUITE_P(
    Recovery, ReopenFails,
    ::testing::Values(ReopenFailure{"CreateFileFailsTwice", [](qlvsim::Faults& f) { f.openFailures = 2; }},
                      ReopenFailure{"PortSetupFails", [](qlvsim::Faults& f) { f.commStateFailures = 2; }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Recover, UnpluggedKeepsTheHandleWhileTheInterfaceIsAwayAndClosesItWhenItComesBack)
{
    SimHarness h;
    ASSERT_TRUE(h.connect());
    ASSERT_TRUE(h.link.recover());
    const kes::FT_HANDLE old = h.link.handle;
    h.sim.unplug();
    h.advanceMs(500);
    {
        LogCapture log;
        EXPECT_TRUE(h.link.recover());
        EXPECT_EQ(LogCapture::lines(), (Lines{L"Instrukcja odzyskaj 0\n", L"Błąd: nr 5\n", notReopened}));
        EXPECT_EQ(h.link.handle, old);
    }
    h.sim.replug();
    h.advanceMs(500);
    {
        LogCapture log;
        EXPECT_TRUE(h.link.recover());
        EXPECT_EQ(LogCapture::lines(), (Lines{L"Instrukcja odzyskaj 0.5\n", L"Błąd: nr 5\n", reopened}));
    }
    EXPECT_NE(h.link.handle, old);
    // The dead handle is released, not leaked.
    EXPECT_EQ(h.sim.openHandles(), 1);
    EXPECT_EQ(h.sim.callsOnClosedHandles(), 0);
    kes::Frame frame{};
    frame[0] = 3;
    EXPECT_TRUE(h.link.sendFrame(frame));
}

TEST(Recover, UnpluggedForGoodClosesAfterTenSeconds)
{
    SimHarness h;
    ASSERT_TRUE(h.connect());
    h.sim.unplug();
    LogCapture log;
    int calls = 0;
    while (h.link.recover() && calls < 100) {
        h.advanceMs(500);
        ++calls;
    }
    EXPECT_EQ(calls, 21);
    EXPECT_EQ(LogCapture::count(L"Błąd: nr 5\n"), 20u);
    EXPECT_EQ(LogCapture::count(resources), 0u);
    EXPECT_EQ(LogCapture::lines().back(), timeout);
    EXPECT_FALSE(h.link.isOpen());
    EXPECT_EQ(h.sim.openHandles(), 0);
    EXPECT_EQ(h.sim.callsOnClosedHandles(), 0);
}

} // namespace
