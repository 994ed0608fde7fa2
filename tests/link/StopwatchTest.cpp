#include "link/Stopwatch.h"

#include <gtest/gtest.h>

namespace {

// Counter under the test's control; frequency may fail a number of times first.
class ScriptedClock : public kes::Clock {
public:
    bool counter(std::int64_t& now) override
    {
        now = value;
        return true;
    }
    bool frequency(std::int64_t& perSecond) override
    {
        ++frequencyCalls;
        if (failuresLeft > 0) {
            --failuresLeft;
            return false;
        }
        perSecond = 1000;
        return true;
    }
    void sleep(unsigned long milliseconds) override { sleeps.push_back(milliseconds); }

    std::int64_t value = 0;
    int failuresLeft = 0;
    int frequencyCalls = 0;
    std::vector<unsigned long> sleeps;
};

TEST(Stopwatch, StartsResetAndReadsZeroWhileStopped)
{
    ScriptedClock clock;
    kes::Stopwatch watch(clock);
    EXPECT_TRUE(watch.stopped);
    clock.value = 5000;
    EXPECT_EQ(watch.read(), 0.0);
    EXPECT_EQ(watch.readings, 0u);
}

TEST(Stopwatch, ReadAccumulatesAndMeasuresLaps)
{
    ScriptedClock clock;
    kes::Stopwatch watch(clock);
    clock.value = 100;
    watch.start();
    clock.value = 350;
    EXPECT_DOUBLE_EQ(watch.read(), 0.25);
    EXPECT_DOUBLE_EQ(watch.lapSeconds, 0.25);
    clock.value = 1100;
    EXPECT_DOUBLE_EQ(watch.read(), 1.0);
    EXPECT_DOUBLE_EQ(watch.lapSeconds, 0.75);
    EXPECT_EQ(watch.readings, 2u);
    EXPECT_EQ(watch.totalCount, 1000);
    EXPECT_EQ(watch.lastCount, 1100u);
    EXPECT_DOUBLE_EQ(watch.totalSeconds(), 1.0);
}

TEST(Stopwatch, StopKeepsTotalResetClearsIt)
{
    ScriptedClock clock;
    kes::Stopwatch watch(clock);
    watch.start();
    clock.value = 2000;
    watch.read();
    watch.stop();
    EXPECT_TRUE(watch.stopped);
    EXPECT_EQ(watch.lapSeconds, 0.0);
    EXPECT_DOUBLE_EQ(watch.totalSeconds(), 2.0);  // recover logs this after a stop
    watch.reset();
    EXPECT_EQ(watch.totalCount, 0);
    EXPECT_EQ(watch.readings, 0u);
    EXPECT_DOUBLE_EQ(watch.totalSeconds(), 0.0);
}

TEST(Stopwatch, RestartAfterStopCountsFromTheNewStart)
{
    ScriptedClock clock;
    kes::Stopwatch watch(clock);
    watch.start();
    clock.value = 1000;
    watch.stop();
    clock.value = 9000;  // time while stopped does not count
    watch.reset();
    watch.start();
    clock.value = 9500;
    EXPECT_DOUBLE_EQ(watch.read(), 0.5);
}

TEST(ClockSecondsPerCount, RetriesFrequencyWithOneMillisecondSleepsThenKeepsIt)
{
    ScriptedClock clock;
    clock.failuresLeft = 3;
    EXPECT_DOUBLE_EQ(clock.secondsPerCount(), 0.001);
    EXPECT_EQ(clock.sleeps, (std::vector<unsigned long>{1, 1, 1}));
    EXPECT_DOUBLE_EQ(clock.secondsPerCount(), 0.001);
    EXPECT_EQ(clock.frequencyCalls, 4);
}

TEST(SystemClock, CounterAdvancesAcrossASleep)
{
    kes::Clock& clock = kes::systemClock();
    const std::int64_t before = clock.now();
    clock.sleep(2);
    EXPECT_GT(clock.now(), before);
    EXPECT_GT(clock.secondsPerCount(), 0.0);
}

} // namespace
