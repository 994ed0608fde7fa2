#include "SimFixture.h"
#include "CaseName.h"

namespace {

using simtest::SimTest;
using simtest::sealed;
using qlvsim::Bytes;

struct QueueCase {
    double latencyMs;
    double turnaroundMs;
    double atMs;       // after the write
    DWORD expected;    // cbInQue
};

class ReceiveQueue : public ::testing::TestWithParam<QueueCase> {};

TEST_P(ReceiveQueue, FillsAtTheBaudRateAfterTurnaroundAndLatency)
{
    qlvsim::VirtualTime time;
    qlvsim::Simulator sim(time);
    sim.setLatencyMs(GetParam().latencyMs);
    sim.setTurnaroundMs(GetParam().turnaroundMs);
    sim.addInterface();
    void* handle = sim.createFile("QLV30001", 0xC0000000, 0, OPEN_EXISTING, 0x81);
    const auto frame = sealed({3, 0});
    DWORD written = 0;
    ASSERT_TRUE(sim.writeFile(handle, frame.data(), 30, &written));
    time.advanceNs(static_cast<std::int64_t>(GetParam().atMs * 1e6));
    EXPECT_EQ(sim.receiveQueue(), GetParam().expected);
}

// 30 bytes at 9600 8N1 take 31.25 ms each way; byte k of the reply is complete at
// 31.25 + turnaround + k * 1.0417 ms; with a latency the chip passes bytes on at multiples of it.
INSTANTIATE_TEST_SUITE_P(
    Timing, ReceiveQueue,
    ::testing::Values(QueueCase{0, 5, 31.0, 0}, QueueCase{0, 5, 37.2, 0}, QueueCase{0, 5, 37.3, 1},
                      QueueCase{0, 5, 52.0, 15}, QueueCase{0, 5, 67.4, 29}, QueueCase{0, 5, 67.5, 30},
                      QueueCase{0, 5, 500.0, 30}, QueueCase{0, 0, 32.3, 1}, QueueCase{0, 20, 52.2, 0},
                      QueueCase{16, 5, 47.9, 0}, QueueCase{16, 5, 48.0, 11}, QueueCase{16, 5, 64.0, 26},
                      QueueCase{16, 5, 79.9, 26}, QueueCase{16, 5, 80.0, 30}),
    [](const auto& info) {
        return "latency" + casename::number(info.param.latencyMs) + "_turnaround" +
               casename::number(info.param.turnaroundMs) + "_at" + casename::number(info.param.atMs);
    });

TEST_F(SimTest, SecondFrameWaitsForTheLineToBeFree)
{
    // Two frames written at once: the second starts on the wire when the first has gone.
    ASSERT_TRUE(write(sealed({3, 1})));
    ASSERT_TRUE(write(sealed({3, 2})));
    time.advanceMs(62.4);
    EXPECT_EQ(sim.framesReceived(), 1u);
    time.advanceMs(0.2);
    EXPECT_EQ(sim.framesReceived(), 2u);
    time.advanceMs(500);
    EXPECT_EQ(queued(), 60u);
}

TEST_F(SimTest, PurgeReceiveDropsWhatHasArrivedOnly)
{
    ASSERT_TRUE(write(sealed({3, 1})));
    time.advanceMs(52.0);  // 15 of the reply's bytes in
    ASSERT_TRUE(sim.purgeComm(handle, 8));
    EXPECT_EQ(queued(), 0u);
    EXPECT_EQ(sim.journal().back().note, "purge: 15 bytes dropped, 15 still on the wire");
    time.advanceMs(100);
    EXPECT_EQ(queued(), 15u);  // the rest was still on the wire
}

TEST_F(SimTest, PartialFrameIsDroppedAfterAPause)
{
    const auto frame = sealed({3, 1});
    ASSERT_TRUE(write(Bytes(frame.begin(), frame.begin() + 10)));
    time.advanceMs(100);
    ASSERT_TRUE(write(frame));
    time.advanceMs(200);
    EXPECT_EQ(sim.framesReceived(), 1u);
    EXPECT_EQ(queued(), 30u);
    bool dropped = false;
    for (const auto& e : sim.journal())
        dropped = dropped || e.note == "partial frame dropped";
    EXPECT_TRUE(dropped);
}

TEST_F(SimTest, PortLeftAtAnotherRateIsNotUnderstood)
{
    DCB dcb = sim.portState();
    dcb.BaudRate = 19200;
    ASSERT_TRUE(sim.setCommState(handle, &dcb));
    EXPECT_TRUE(exchange({3, 0}).empty());
    EXPECT_EQ(sim.framesReceived(), 1u);
}

TEST_F(SimTest, TimelineRunsAtItsTimeAndAfterItsFrame)
{
    sim.at(1.0, [this] { sim.status().temperature = 40; });
    sim.atFrame(2, [this] { sim.faults().silentFrames = 1; });
    EXPECT_EQ(exchange({1, 0}).at(1), 22);   // frame 1, answered
    EXPECT_TRUE(exchange({1, 0}).empty());   // frame 2: the action ran before it was answered
    time.advanceMs(1000);
    EXPECT_EQ(exchange({1, 0}).at(1), 40);
}

} // namespace
