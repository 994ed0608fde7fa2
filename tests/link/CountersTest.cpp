// The link's counters after faults injected on the simulator.
#include "SimHarness.h"

#include "link/D2xx.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using harness::SimHarness;

struct Expected {
    std::uint64_t exchanges, retries, badCheckWords, timeouts, unplugs;
    bool ok;
};

struct CounterCase {
    const char* name;
    std::function<void(SimHarness&)> fault;
    bool query;  // queryFrame instead of sendFrame
    Expected expected;
};

kes::Frame readRequest()
{
    kes::Frame frame{};
    frame[0] = 3;
    frame[1] = 2;
    return frame;
}

class Counters : public ::testing::TestWithParam<CounterCase> {};

TEST_P(Counters, AfterOneExchange)
{
    const CounterCase& c = GetParam();
    SimHarness h;
    ASSERT_TRUE(h.connect());
    c.fault(h);
    kes::Frame reply{};
    const bool ok = c.query ? h.link.queryFrame(readRequest(), reply) : h.link.sendFrame(readRequest());
    EXPECT_EQ(ok, c.expected.ok);
    const kes::LinkCounters& n = h.link.counters;
    EXPECT_EQ(n.exchanges, c.expected.exchanges);
    EXPECT_EQ(n.retries, c.expected.retries);
    EXPECT_EQ(n.badCheckWords, c.expected.badCheckWords);
    EXPECT_EQ(n.timeouts, c.expected.timeouts);
    EXPECT_EQ(n.unplugs, c.expected.unplugs);
    EXPECT_EQ(n.recoveries, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, Counters,
    ::testing::Values(
        CounterCase{"Clean", [](SimHarness&) {}, false, {1, 0, 0, 0, 0, true}},
        CounterCase{"OneBadCheckWordIsRetried", [](SimHarness& h) { h.sim.faults().badCheckWords = 1; }, false,
                    {2, 1, 1, 0, 0, true}},
        CounterCase{"QueryStopsAtABadCheckWord", [](SimHarness& h) { h.sim.faults().badCheckWords = 1; }, true,
                    {1, 0, 1, 0, 0, false}},
        CounterCase{"SilentModuleTimesOutThreeTimes", [](SimHarness& h) { h.sim.faults().silentFrames = 3; },
                    false, {3, 2, 0, 3, 0, false}},
        CounterCase{"UnplugCountsOnceOverEveryAttempt", [](SimHarness& h) { h.sim.unplug(); }, false,
                    {0, 2, 0, 0, 1, false}}),
    [](const ::testing::TestParamInfo<CounterCase>& info) { return std::string(info.param.name); });

TEST(CountersRecovery, CountsAWindowThatEndsWell_Once)
{
    SimHarness h;
    ASSERT_TRUE(h.connect());
    h.link.endRecovery();  // no window open: nothing recovered
    ASSERT_TRUE(h.link.recover());
    h.advanceMs(500);
    h.link.endRecovery();
    h.link.endRecovery();
    EXPECT_EQ(h.link.counters.recoveries, 1u);
}

TEST(CountersRecovery, UnplugCountsAgainAfterARecoveryReopened)
{
    SimHarness h;
    ASSERT_TRUE(h.connect());
    h.sim.unplug();
    EXPECT_FALSE(h.link.sendFrame(readRequest()));
    h.sim.replug();
    ASSERT_TRUE(h.link.recover());  // opens the window
    h.advanceMs(500);
    ASSERT_TRUE(h.link.recover());  // probe fails with 5, reopens
    ASSERT_TRUE(h.link.sendFrame(readRequest()));
    h.sim.unplug();
    EXPECT_FALSE(h.link.sendFrame(readRequest()));
    EXPECT_EQ(h.link.counters.unplugs, 2u);
}

TEST(LibraryVersion, AsTheVendorWritesIt)
{
    EXPECT_EQ(kes::libraryVersionText(0x00021228), L"2.12.28");
    EXPECT_EQ(kes::libraryVersionText(0x00030215), L"3.02.15");
    EXPECT_EQ(kes::libraryPath(kes::D2xxApi()), L"");
}

} // namespace
