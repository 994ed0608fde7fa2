#include "LogCapture.h"
#include "SimHarness.h"

#include <gtest/gtest.h>

namespace {

using harness::SimHarness;
using linktest::LogCapture;
using qlvsim::Direction;

kes::Frame readRequest(std::uint8_t block)
{
    kes::Frame frame{};
    frame[0] = 3;
    frame[1] = block;
    return frame;
}

std::vector<qlvsim::Bytes> framesFromHost(qlvsim::Simulator& sim)
{
    std::vector<qlvsim::Bytes> frames;
    for (const auto& entry : sim.journal())
        if (entry.direction == Direction::HostToModule && entry.note.empty())
            frames.push_back(entry.bytes);
    return frames;
}

class Exchange : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(h.connect());
        h.sim.clearJournal();
        start = h.nowMs();
    }
    double elapsedMs() { return h.nowMs() - start; }

    SimHarness h;
    double start = 0;
};

TEST_F(Exchange, SendFrameWritesTheCheckWordItselfAndTheModuleStoresTheBlock)
{
    kes::Frame frame{};
    frame[0] = 2;
    frame[1] = 4;
    const char name[] = "Brama";
    for (std::size_t i = 0; i < 5; ++i)
        frame[2 + i] = static_cast<std::uint8_t>(name[i]);
    frame[28] = 0xEE;  // whatever the caller left there
    frame[29] = 0xEE;
    ASSERT_TRUE(h.link.sendFrame(frame));
    const auto sent = framesFromHost(h.sim);
    ASSERT_EQ(sent.size(), 1u);
    const qlvsim::Bytes expected{2, 4, 'B', 'r', 'a', 'm', 'a', 0, 0, 0, 0, 0, 0, 0, 0,
                                 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                 static_cast<std::uint8_t>(2 ^ 'B' ^ 'a' ^ 'a'),
                                 static_cast<std::uint8_t>(4 ^ 'r' ^ 'm')};
    EXPECT_EQ(sent[0], expected);
    EXPECT_EQ(h.sim.block(4)[0], 'B');
    EXPECT_EQ(h.sim.block(4)[4], 'a');
    EXPECT_EQ(h.link.lockFlag, 0);
}

TEST_F(Exchange, SendFramePausesTenMillisecondsBetweenWriteAndRead)
{
    ASSERT_TRUE(h.link.sendFrame(readRequest(0)));
    EXPECT_EQ(h.clock.sleepCounts[10], 1u);
    kes::Frame reply{};
    const std::uint64_t before = h.clock.sleptMs;
    ASSERT_TRUE(h.link.queryFrame(readRequest(0), reply));
    EXPECT_EQ(h.clock.sleepCounts[10], 1u);  // no pause in a query
    // Only the read's 1 ms polls: the reply needs 67.5 ms of wire time and turnaround.
    EXPECT_GE(h.clock.sleptMs - before, 67u);
}

TEST_F(Exchange, QueryFrameReturnsTheModulesReplyBytes)
{
    for (std::size_t i = 0; i < qlvsim::blockBytes; ++i)
        h.sim.block(12)[i] = static_cast<std::uint8_t>(0xA0 + i);
    kes::Frame reply{};
    ASSERT_TRUE(h.link.queryFrame(readRequest(12), reply));
    EXPECT_EQ(reply[0], 3);
    EXPECT_EQ(reply[1], 12);
    for (std::size_t i = 0; i < qlvsim::blockBytes; ++i)
        EXPECT_EQ(reply[2 + i], 0xA0 + i) << i;
    EXPECT_TRUE(kes::hasGoodCheckWord(reply));
}

struct RetryCase {
    const char* name;
    qlvsim::Faults faults;
    bool sendOk;
    std::uint64_t sendFrames;
    bool queryOk;
    std::uint64_t queryFrames;
};

qlvsim::Faults faultsOf(void (*set)(qlvsim::Faults&))
{
    qlvsim::Faults f;
    set(f);
    return f;
}

class Retry : public ::testing::TestWithParam<RetryCase> {};

TEST_P(Retry, AttemptsAsTheExchangeRulesSay)
{
    for (bool query : {false, true}) {
        SimHarness h;
        ASSERT_TRUE(h.connect());
        h.sim.faults() = GetParam().faults;
        kes::Frame reply{};
        const bool ok = query ? h.link.queryFrame(readRequest(1), reply) : h.link.sendFrame(readRequest(1));
        EXPECT_EQ(ok, query ? GetParam().queryOk : GetParam().sendOk) << (query ? "query" : "send");
        EXPECT_EQ(h.sim.framesReceived(), query ? GetParam().queryFrames : GetParam().sendFrames)
            << (query ? "query" : "send");
        EXPECT_EQ(static_cast<std::uint64_t>(h.link.lastExchange().attempts),
                  query ? GetParam().queryFrames : GetParam().sendFrames)
            << (query ? "query" : "send");
        EXPECT_EQ(h.link.lockFlag, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Exchanges, Retry,
    ::testing::Values(
        RetryCase{"Clean", qlvsim::Faults(), true, 1, true, 1},
        RetryCase{"OneBadCheckWord", faultsOf([](qlvsim::Faults& f) { f.badCheckWords = 1; }), true, 2, false, 1},
        RetryCase{"TwoCorruptReplies", faultsOf([](qlvsim::Faults& f) { f.corruptReplies = 2; }), true, 3, false, 1},
        RetryCase{"ThreeBadCheckWords", faultsOf([](qlvsim::Faults& f) { f.badCheckWords = 3; }), false, 3, false, 1},
        RetryCase{"ExtraByteOnce", faultsOf([](qlvsim::Faults& f) { f.extraBytes = 1; }), true, 2, true, 2},
        RetryCase{"MissingByteOnce", faultsOf([](qlvsim::Faults& f) { f.missingBytes = 1; }), true, 2, true, 2},
        RetryCase{"SilentTwice", faultsOf([](qlvsim::Faults& f) { f.silentFrames = 2; }), true, 3, true, 3},
        RetryCase{"SilentAlways", faultsOf([](qlvsim::Faults& f) { f.silentFrames = 100; }), false, 3, false, 3},
        RetryCase{"SlowButWithinTheReadLimit",
                  faultsOf([](qlvsim::Faults& f) { f.slowReplies = 1; f.slowDelayMs = 100; }), true, 1, true, 1},
        RetryCase{"WriteFailsThreeTimesNotUnplugged",
                  faultsOf([](qlvsim::Faults& f) { f.writeFailures = 3; }), true, 1, true, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Exchange, TooManyBytesWaitingFailTheReadAtOnceAndTheRetryWritesAFreshFrame)
{
    h.sim.faults().extraBytes = 1;
    h.sim.faults().extraByteCount = 2;
    kes::Frame reply{};
    ASSERT_TRUE(h.link.queryFrame(readRequest(7), reply));
    const auto sent = framesFromHost(h.sim);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0], sent[1]);
    EXPECT_EQ(reply[1], 7);
    // The first read gave up as soon as 32 bytes were there, long before its 0.2 s limit.
    EXPECT_LT(elapsedMs(), 200.0);
    EXPECT_EQ(h.sim.receiveQueue(), 0u);
}

TEST_F(Exchange, TooFewBytesWaitUntilTheReadLimit)
{
    h.sim.faults().missingBytes = 1;
    kes::Frame reply{};
    ASSERT_TRUE(h.link.queryFrame(readRequest(7), reply));
    EXPECT_GE(elapsedMs(), 200.0);
    EXPECT_LT(elapsedMs(), 300.0);
}

TEST_F(Exchange, SilentModuleCostsThreeReadLimits)
{
    h.sim.faults().silentFrames = 3;
    EXPECT_FALSE(h.link.sendFrame(readRequest(0)));
    // Each attempt: 10 ms pause, then a read that gives up after 0.2 s.
    EXPECT_GE(elapsedMs(), 3 * 210.0);
    EXPECT_LT(elapsedMs(), 3 * 215.0);
}

TEST_F(Exchange, WriteFailureLogsAndRetriesWithinTheSameWrite)
{
    LogCapture log;
    h.sim.faults().writeFailures = 2;
    h.link.lock();
    EXPECT_TRUE(h.link.writeFrame(readRequest(0)));
    h.link.unlock();
    EXPECT_EQ(LogCapture::lines(), (std::vector<std::wstring>{L"Błąd: FT_W32_WriteFile\n", L"Błąd: FT_W32_WriteFile\n"}));
    EXPECT_EQ(h.clock.sleptMs, 2u);
}

TEST_F(Exchange, WriteGivesUpAfterAHundredIdleRounds)
{
    LogCapture log;
    h.sim.faults().writeFailures = 1000;
    h.link.lock();
    EXPECT_FALSE(h.link.writeFrame(readRequest(0)));
    h.link.unlock();
    EXPECT_EQ(LogCapture::count(L"Błąd: FT_W32_WriteFile\n"), 101u);
    EXPECT_NEAR(elapsedMs(), 101.0, 0.5);
    EXPECT_TRUE(h.link.transferWatch.stopped);
}

TEST_F(Exchange, ErrorCheckFailureWithoutUnplugSpinsOutWithoutSleeping)
{
    LogCapture log;
    h.sim.faults().commErrorFailures = 1000;
    h.link.lock();
    EXPECT_FALSE(h.link.writeFrame(readRequest(0)));
    h.link.unlock();
    EXPECT_EQ(LogCapture::count(L"Błąd: FT_W32_ClearCommError\n"), 101u);
    EXPECT_EQ(LogCapture::lines().size(), 101u);
    EXPECT_EQ(elapsedMs(), 0.0);
}

struct UnplugCase {
    const char* name;
    bool unplugFirst;       // the interface is gone before the write starts
    std::wstring line;
};

class UnpluggedWrite : public ::testing::TestWithParam<UnplugCase> {};

TEST_P(UnpluggedWrite, LogsOneLineAndFailsAtOnce)
{
    SimHarness h;
    ASSERT_TRUE(h.connect());
    if (GetParam().unplugFirst)
        h.sim.unplug();
    else {
        h.sim.faults().writeFailures = 1;
        h.sim.faults().writeFailureCode = qlvsim::errorUnplugged;
    }
    LogCapture log;
    const double start = h.nowMs();
    h.link.lock();
    EXPECT_FALSE(h.link.writeFrame(readRequest(0)));
    h.link.unlock();
    EXPECT_EQ(LogCapture::lines(), std::vector<std::wstring>{GetParam().line});
    EXPECT_EQ(h.nowMs(), start);
}

INSTANTIATE_TEST_SUITE_P(
    Writes, UnpluggedWrite,
    ::testing::Values(UnplugCase{"ErrorCheck", true, L"Błąd: FT_W32_ClearCommError: Odłączony USB\n"},
                      UnplugCase{"WriteFile", false, L"Błąd: FT_W32_WriteFile: Odłączony USB\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Exchange, UnplugWhileWaitingForTheReplyEndsTheReadAtOnceAndSilently)
{
    h.sim.atFrame(1, [this] { h.sim.unplug(); });
    LogCapture log;
    EXPECT_FALSE(h.link.sendFrame(readRequest(0)));
    // The read noticed the unplug as soon as it happened (31.25 ms after the write), the two
    // further attempts failed at their error check.
    EXPECT_LT(elapsedMs(), 40.0);
    EXPECT_EQ(LogCapture::lines(), (std::vector<std::wstring>{L"Błąd: FT_W32_ClearCommError: Odłączony USB\n",
                                                              L"Błąd: FT_W32_ClearCommError: Odłączony USB\n"}));
    EXPECT_EQ(h.link.lockFlag, 0);
}

TEST_F(Exchange, ReadWithoutHandleFails)
{
    ASSERT_TRUE(h.link.sendFrame(readRequest(0)));
    h.link.close();
    kes::Frame buffer{};
    EXPECT_FALSE(h.link.readFrame(buffer));
    EXPECT_FALSE(h.link.writeFrame(buffer));
    EXPECT_FALSE(h.link.sendFrame(buffer));
    EXPECT_FALSE(h.link.queryFrame(buffer, buffer));
    EXPECT_EQ(h.link.lastExchange().attempts, 0);
    EXPECT_EQ(h.link.lockFlag, 0);
}

TEST_F(Exchange, ReceiveBufferIsPurgedBeforeEachAttempt)
{
    // A stale reply from an earlier, abandoned exchange must not be taken for the new one.
    kes::Frame stale = readRequest(5);
    kes::setCheckWord(stale);
    h.link.lock();
    ASSERT_TRUE(h.link.writeFrame(stale));
    h.link.unlock();
    h.advanceMs(100);
    ASSERT_EQ(h.sim.receiveQueue(), 30u);
    h.sim.block(9)[0] = 0x42;
    kes::Frame reply{};
    ASSERT_TRUE(h.link.queryFrame(readRequest(9), reply));
    EXPECT_EQ(reply[1], 9);
    EXPECT_EQ(reply[2], 0x42);
}

struct QuietCase {
    const char* name;
    int framesInFlight;  // written just before, their answers still to come
    bool wentQuiet;
    double minMs, maxMs;
    bool bytesAfterwards;  // answers still arriving after the purge
};
class PurgeWhenQuiet : public Exchange, public ::testing::WithParamInterface<QuietCase> {};

TEST_P(PurgeWhenQuiet, WaitsForTheLastAnswerThenDropsIt)
{
    const QuietCase& c = GetParam();
    h.link.lock();
    for (int i = 0; i < c.framesInFlight; ++i) {
        kes::Frame frame = readRequest(static_cast<std::uint8_t>(i));
        kes::setCheckWord(frame);
        ASSERT_TRUE(h.link.writeFrame(frame));
    }
    h.link.unlock();
    const double before = h.nowMs();
    EXPECT_EQ(h.link.purgeWhenQuiet(), c.wentQuiet);
    const double took = h.nowMs() - before;
    EXPECT_GE(took, c.minMs);
    EXPECT_LE(took, c.maxMs);
    EXPECT_EQ(h.sim.receiveQueue(), 0u);
    EXPECT_EQ(h.link.lockFlag, 0);
    h.advanceMs(500);
    EXPECT_EQ(h.sim.receiveQueue() > 0, c.bytesAfterwards);
}

// At 9600 baud an answer is whole 67.5 ms after its request was written, and handed over at the
// next tick of the chip's 16 ms latency; then 50 ms quiet. Eight in a row keep the line busy for
// longer than the 0.2 s limit.
INSTANTIATE_TEST_SUITE_P(Line, PurgeWhenQuiet,
                         ::testing::Values(QuietCase{"AlreadyQuiet", 0, true, 50, 51, false},
                                           QuietCase{"OneAnswerOnItsWay", 1, true, 117.5, 134, false},
                                           QuietCase{"NeverQuiet", 8, false, 200, 201, true}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
