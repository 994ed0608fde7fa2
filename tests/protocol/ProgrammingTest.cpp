#include "ProtocolFixture.h"
#include "SampleConfiguration.h"

#include "model/Catalogue.h"
#include "model/SettingsView.h"
#include "protocol/SettingsBlocks.h"

using namespace kes;
using namespace protocol_tests;

namespace {

constexpr wchar_t programmingError[] = L"Błąd programowania modułu. Programowanie należy powtórzyć.";

// What each block should hold for the window as it is now (gathering is repeatable).
qlvsim::Block expectedBlock(std::size_t block)
{
    return dataOf(encodeBlock(static_cast<std::uint8_t>(block), windowSettings()));
}

constexpr std::uint8_t writeCommand = 0x02;

class Programming : public ProtocolTest {
protected:
    void SetUp() override
    {
        ProtocolTest::SetUp();
        ASSERT_TRUE(connect());
        applySampleConfiguration();
    }

    // Frames the program put on the wire since the journal was last cleared.
    std::vector<qlvsim::Bytes> framesSent()
    {
        std::vector<qlvsim::Bytes> sent;
        for (const auto& e : h.sim.journal())
            if (e.direction == qlvsim::Direction::HostToModule)
                sent.push_back(e.bytes);
        return sent;
    }

    std::size_t writesOfBlock(std::uint8_t block)
    {
        std::size_t n = 0;
        for (const auto& f : framesSent())
            n += f.size() == 30 && f[0] == writeCommand && f[1] == block ? 1 : 0;
        return n;
    }

    void expectFailedAtStep(int step)
    {
        EXPECT_EQ(programmingStepCounter, 0);
        EXPECT_EQ(progress.advances, step);
        EXPECT_EQ(progress.closes, 1);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, programmingError);
        EXPECT_EQ(boxes[0].caption, L"Błąd");
        EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_ICONERROR));
        qlvsim::Block untouched;
        untouched.fill(0xA5);
        for (int b = step; b < 16; ++b)
            EXPECT_EQ(h.sim.block(static_cast<std::size_t>(b)), untouched) << "block " << b;
    }
};

} // namespace

TEST_F(Programming, SeventeenTicksWriteAllSixteenBlocksThenClose)
{
    fillModuleMemory(0xA5);
    const std::uint64_t pollsBefore = h.sim.statusPolls();
    startProgramming();
    for (int t = 1; t <= 16; ++t) {
        tickOnce();
        EXPECT_EQ(programmingStepCounter, t + 1);
        EXPECT_EQ(progress.advances, t);
    }
    EXPECT_EQ(progress.closes, 0);
    const std::size_t writes = framesWithCommand(0x02);
    EXPECT_EQ(writes, 16u);
    EXPECT_EQ(framesWithCommand(0x03), 16u) << "every block read back once";

    tickOnce();  // step 17 only closes the window
    EXPECT_EQ(framesWithCommand(0x02), writes);
    EXPECT_EQ(progress.advances, 16);
    EXPECT_EQ(progress.closes, 1);
    EXPECT_EQ(programmingStepCounter, 0);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(h.sim.statusPolls(), pollsBefore) << "programming ticks do not poll";

    for (std::size_t b = 0; b < 16; ++b)
        EXPECT_EQ(h.sim.block(b), expectedBlock(b)) << "block " << b;
}

TEST_F(Programming, BlocksCarryTheEdgeEncodings)
{
    startProgramming();
    for (int t = 0; t < 17; ++t)
        tickOnce();
    ASSERT_EQ(programmingStepCounter, 0);
    const qlvsim::Block& b0 = h.sim.block(0);
    // Data index = offset - 2.
    EXPECT_EQ(b0[8] & 0x30, 0x20) << "output 1 timed by input: follow bit cleared";
    EXPECT_EQ(b0[15] & 0x30, 0x30) << "output 2 timed by input: both bits";
    EXPECT_EQ(b0[4], 0);
    EXPECT_EQ(b0[5], 0);
    EXPECT_EQ(b0[6], 0);
    EXPECT_EQ(b0[7], 0) << "empty PIN";
    EXPECT_EQ(b0[9], 0x36);
    EXPECT_EQ(b0[10], 0x42);
    EXPECT_EQ(b0[11], 0x0F) << "99999 s";
    EXPECT_EQ(h.sim.block(1)[2], 0xCE) << "-50 C";
    EXPECT_EQ(h.sim.block(1)[1], 0x78) << "120 C";
    const qlvsim::Block& first = h.sim.block(11);
    for (std::size_t i = 18; i <= 22; ++i)
        EXPECT_EQ(first[i], 0xFF) << "first user never time-limited";
    const qlvsim::Block& second = h.sim.block(12);
    EXPECT_EQ(second[18], 48);
    EXPECT_EQ(second[21], 5) << "48 / 10 + 1";
    const qlvsim::Block& disabled = h.sim.block(14);
    for (std::size_t i = 0; i < 18; ++i)
        EXPECT_EQ(disabled[i], 0) << "disabled user is still written";
    EXPECT_EQ(disabled[18], 0xFF);
}

TEST_F(Programming, ListenAndClipTogetherLeaveClipClearedAfterwards)
{
    ::userRightClip[1].setChecked(true);
    ::userRightListen[1].setChecked(true);
    startProgramming();
    for (int t = 0; t < 17; ++t)
        tickOnce();
    EXPECT_FALSE(window->checked(ids::userId(1, ids::UserOffset::RightClip)));
    EXPECT_EQ(h.sim.block(12)[0] & 0x80, 0);
    EXPECT_EQ(h.sim.block(12)[0] & 0x20, 0x20);
}

TEST_F(Programming, UnpluggedBeforeTheFirstStep)
{
    h.sim.unplug();
    startProgramming();
    tickOnce();
    EXPECT_EQ(programmingStepCounter, 0);
    EXPECT_EQ(progress.advances, 1);
    EXPECT_EQ(progress.closes, 1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, programmingError);
    EXPECT_EQ(boxes[0].caption, L"Błąd");
    EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(boxes[0].owner, dialog());
    EXPECT_EQ(framesWithCommand(0x02), 0u);
}

class ProgrammingFailsAtStep : public Programming, public ::testing::WithParamInterface<int> {};

TEST_P(ProgrammingFailsAtStep, EarlierBlocksWrittenLaterUntouched)
{
    const int failing = GetParam();
    fillModuleMemory(0xA5);
    startProgramming();
    for (int t = 1; t < failing; ++t)
        tickOnce();
    ASSERT_TRUE(boxes.empty());
    h.sim.faults().silentFrames = 3;  // every attempt of this step goes unanswered
    tickOnce();

    EXPECT_EQ(programmingStepCounter, 0);
    EXPECT_EQ(progress.advances, failing);
    EXPECT_EQ(progress.closes, 1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, programmingError);
    qlvsim::Block untouched;
    untouched.fill(0xA5);
    for (int b = 0; b < 16; ++b) {
        if (b < failing - 1)
            EXPECT_EQ(h.sim.block(static_cast<std::size_t>(b)), expectedBlock(static_cast<std::size_t>(b))) << b;
        else
            EXPECT_EQ(h.sim.block(static_cast<std::size_t>(b)), untouched) << b;
    }
    // Later ticks poll again; nothing more is written.
    const std::size_t writes = framesWithCommand(0x02);
    tickOnce();
    EXPECT_EQ(framesWithCommand(0x02), writes);
    EXPECT_EQ(boxes.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Steps, ProgrammingFailsAtStep, ::testing::Values(1, 2, 3, 9, 12, 16),
                         [](const auto& info) { return "step" + std::to_string(info.param); });

TEST_F(Programming, OneLostReplyIsRetriedWithinTheStep)
{
    startProgramming();
    h.sim.faults().silentFrames = 2;
    tickOnce();
    EXPECT_EQ(programmingStepCounter, 2);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(h.sim.block(0), expectedBlock(0));
}

TEST_F(Programming, EachStepWritesItsBlockThenQueriesIt)
{
    ::in1Name.setText(L"Brama");
    startProgramming();
    for (int step = 1; step <= 16; ++step) {
        h.sim.clearJournal();
        tickOnce();
        const std::vector<qlvsim::Bytes> sent = framesSent();
        ASSERT_EQ(sent.size(), 2u) << "step " << step;
        const auto block = static_cast<std::uint8_t>(step - 1);
        EXPECT_EQ(sent[0].at(0), writeCommand) << "step " << step;
        EXPECT_EQ(sent[0].at(1), block) << "step " << step;
        // A query is 03, the block, zeros; its check word is 03 and the block.
        qlvsim::Bytes query(30, 0);
        query[0] = query[28] = 0x03;
        query[1] = query[29] = block;
        EXPECT_EQ(sent[1], query) << "step " << step;
    }
    tickOnce();
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(programmingStepCounter, 0);
}

TEST_F(Programming, TextStepOnTheWireByteExact)
{
    ::in1Name.setText(L"Brama");
    startProgramming();
    tickOnce();
    tickOnce();
    h.sim.clearJournal();
    tickOnce();  // step 3: block 2, the name of input 1
    // Check word: even bytes 02 42 61 61 give 40, odd bytes 02 72 6D give 1D.
    const qlvsim::Bytes write{0x02, 0x02, 'B', 'r', 'a', 'm', 'a', 0, 0, 0, 0, 0, 0, 0, 0,
                              0,    0,    0,   0,   0,   0,   0,   0, 0, 0, 0, 0, 0, 0x40, 0x1D};
    const qlvsim::Bytes query{0x03, 0x02, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                              0,    0,    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x03, 0x02};
    EXPECT_EQ(framesSent(), (std::vector<qlvsim::Bytes>{write, query}));
}

class ProgrammingStoredWrongly : public Programming, public ::testing::WithParamInterface<int> {};

TEST_P(ProgrammingStoredWrongly, OnceIsWrittenAgainInTheSameTickAndTheJobSucceeds)
{
    const auto block = static_cast<std::uint8_t>(GetParam());
    fillModuleMemory(0xA5);
    h.sim.faults().wrongStores = 1;
    h.sim.faults().wrongStoreBlock = block;
    startProgramming();
    for (int t = 1; t <= block + 1; ++t)
        tickOnce();
    EXPECT_EQ(writesOfBlock(block), 2u);
    EXPECT_EQ(programmingStepCounter, block + 2) << "the rewrite stays within its step";
    for (int t = block + 2; t <= 17; ++t)
        tickOnce();

    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(programmingStepCounter, 0);
    EXPECT_EQ(progress.advances, 16);
    EXPECT_EQ(progress.closes, 1);
    EXPECT_EQ(framesWithCommand(0x02), 17u);
    EXPECT_EQ(framesWithCommand(0x03), 17u);
    for (std::size_t b = 0; b < 16; ++b)
        EXPECT_EQ(h.sim.block(b), expectedBlock(b)) << "block " << b;
}

TEST_P(ProgrammingStoredWrongly, AlwaysFailsTheJobAtItsStepAfterThreeWrites)
{
    const auto block = static_cast<std::uint8_t>(GetParam());
    fillModuleMemory(0xA5);
    h.sim.faults().wrongStoresAlways = true;
    h.sim.faults().wrongStoreBlock = block;
    startProgramming();
    for (int t = 1; t <= block + 1; ++t)
        tickOnce();
    expectFailedAtStep(block + 1);
    EXPECT_EQ(writesOfBlock(block), 3u);
    EXPECT_EQ(framesWithCommand(0x03), static_cast<std::size_t>(block) + 3);
}

// Inputs, alarms, a name, a user.
INSTANTIATE_TEST_SUITE_P(Blocks, ProgrammingStoredWrongly, ::testing::Values(0, 1, 4, 13),
                         [](const auto& info) { return "block" + std::to_string(info.param); });

struct ReadBackFault {
    const char* name;
    void (*strike)(qlvsim::Faults&);
};
class ProgrammingReadBackFails : public Programming, public ::testing::WithParamInterface<ReadBackFault> {};

TEST_P(ProgrammingReadBackFails, FailsTheJobLikeAFailedWrite)
{
    fillModuleMemory(0xA5);
    startProgramming();
    for (int t = 1; t < 5; ++t)
        tickOnce();
    // Step 5: the write (next frame) goes through, the query after it is struck.
    qlvsim::Simulator& sim = h.sim;
    const auto strike = GetParam().strike;
    sim.atFrame(sim.framesReceived() + 2, [&sim, strike] { strike(sim.faults()); });
    tickOnce();
    expectFailedAtStep(5);
    EXPECT_EQ(writesOfBlock(4), 1u);
    EXPECT_EQ(h.sim.block(4), expectedBlock(4));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ProgrammingReadBackFails,
    ::testing::Values(ReadBackFault{"BadCheckWord", [](qlvsim::Faults& f) { f.badCheckWords = 1; }},
                      ReadBackFault{"NoReplyToAnyTry", [](qlvsim::Faults& f) { f.silentFrames = 3; }}),
    [](const auto& info) { return std::string(info.param.name); });

struct EchoedReadBack {
    const char* name;
    void (*strike)(qlvsim::Faults&);
    std::size_t writes;  // of block 0
    bool fails;
};
class ProgrammingEchoedReadBack : public Programming, public ::testing::WithParamInterface<EchoedReadBack> {};

TEST_P(ProgrammingEchoedReadBack, AnEchoOfTheWriteVerifiesNothing)
{
    const EchoedReadBack& c = GetParam();
    fillModuleMemory(0xA5);
    c.strike(h.sim.faults());
    startProgramming();
    for (int t = 1; t <= 17 && programmingStepCounter != 0; ++t)
        tickOnce();
    EXPECT_EQ(writesOfBlock(0), c.writes);
    if (c.fails) {
        expectFailedAtStep(1);
        return;
    }
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(programmingStepCounter, 0);
    EXPECT_EQ(h.sim.block(0), expectedBlock(0));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ProgrammingEchoedReadBack,
    ::testing::Values(EchoedReadBack{"StoredWronglyEveryTime",
                                     [](qlvsim::Faults& f) { f.wrongStoresAlways = f.echoedReadsAlways = true; }, 3,
                                     true},
                      EchoedReadBack{"EveryTimeAfterGoodStores", [](qlvsim::Faults& f) { f.echoedReadsAlways = true; },
                                     3, true},
                      EchoedReadBack{"OnceAfterAGoodStore", [](qlvsim::Faults& f) { f.echoedReads = 1; }, 2, false}),
    [](const auto& info) { return std::string(info.param.name); });

struct RetriedWrite {
    const char* name;
    void (*strike)(qlvsim::Faults&);
};
class ProgrammingRetriedWrite : public Programming, public ::testing::WithParamInterface<RetriedWrite> {};

TEST_P(ProgrammingRetriedWrite, LineLeftQuietAndPurgedBeforeTheReadBack)
{
    startProgramming();
    GetParam().strike(h.sim.faults());
    h.sim.clearJournal();
    tickOnce();
    EXPECT_EQ(programmingStepCounter, 2);
    EXPECT_EQ(writesOfBlock(0), 2u);
    EXPECT_EQ(framesWithCommand(0x03), 1u);

    // The purges after the write's last answer and before the read request.
    std::int64_t answeredAt = 0;
    std::vector<std::int64_t> purges;
    for (const qlvsim::JournalEntry& e : h.sim.journal()) {
        if (e.direction == qlvsim::Direction::ModuleToHost && e.bytes.at(0) == writeCommand) {
            answeredAt = e.timeNs;
            purges.clear();
        } else if (e.direction == qlvsim::Direction::HostToModule && e.bytes.at(0) == 0x03) {
            break;
        } else if (e.note.rfind("purge", 0) == 0) {
            purges.push_back(e.timeNs);
        }
    }
    // The answer is whole 5 ms + 30 bytes at 9600 baud after the module took the write; the line
    // then stays quiet 50 ms before the purge. The read's own purge follows.
    ASSERT_EQ(purges.size(), 2u);
    EXPECT_GE(purges[0] - answeredAt, (5 + 50) * qlvsim::nsPerMs + 30 * 1041666);
}

INSTANTIATE_TEST_SUITE_P(
    FirstTry, ProgrammingRetriedWrite,
    ::testing::Values(RetriedWrite{"Unanswered", [](qlvsim::Faults& f) { f.silentFrames = 1; }},
                      RetriedWrite{"AnswerDamaged", [](qlvsim::Faults& f) { f.badCheckWords = 1; }}),
    [](const auto& info) { return std::string(info.param.name); });
