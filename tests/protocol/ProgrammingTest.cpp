#include "ProtocolFixture.h"
#include "SampleConfiguration.h"

#include "model/Catalogue.h"
#include "protocol/RecordFields.h"

using namespace kes;
using namespace protocol_tests;

namespace {

constexpr wchar_t programmingError[] = L"Błąd programowania modułu. Programowanie należy powtórzyć.";

// What each block should hold for the window as it is now (gathering is repeatable).
qlvsim::Block expectedBlock(std::size_t block)
{
    if (block == 0)
        return dataOf(encodeInputs(gatherInputs()));
    if (block == 1)
        return dataOf(encodeAlarms(gatherAlarms()));
    if (block <= lastTextBlock)
        return dataOf(encodeText(static_cast<std::uint8_t>(block), textField(static_cast<std::uint8_t>(block)).getText()));
    const int user = static_cast<int>(block) - 11;
    return dataOf(encodeUser(user, gatherUser(user)));
}

class Programming : public ProtocolTest {
protected:
    void SetUp() override
    {
        ProtocolTest::SetUp();
        ASSERT_TRUE(connect());
        applySampleConfiguration();
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
