#include "ProtocolFixture.h"
#include "SampleConfiguration.h"

#include "model/Catalogue.h"
#include "protocol/Reading.h"

#include <cstring>

using namespace kes;
using namespace protocol_tests;

namespace {

constexpr wchar_t readingError[] = L"Błąd odczytu danych z urządzenia.";

class Reading : public ProtocolTest {
protected:
    void SetUp() override
    {
        ProtocolTest::SetUp();
        ASSERT_TRUE(connect());
    }

    // Programs the sample configuration through the real job, then gives a fresh window.
    std::wstring programSampleAndReopen()
    {
        applySampleConfiguration();
        startProgramming();
        for (int t = 0; t < 17; ++t)
            tickOnce();
        EXPECT_EQ(programmingStepCounter, 0);
        EXPECT_TRUE(boxes.empty());
        const std::wstring programmed = window->settingsSnapshot();
        window.reset();
        window = std::make_unique<ModuleWindow>();
        h.sim.clearJournal();  // programming reads every block back too; count the reading's frames only
        return programmed;
    }

    void setModuleBlock(std::size_t block, const Frame& frame) { h.sim.block(block) = dataOf(frame); }
    void failFromFrame(std::uint64_t relativeFrame)
    {
        const std::uint64_t at = h.sim.framesReceived() + relativeFrame;
        h.sim.atFrame(at, [this] { h.sim.faults().silentFrames = 3; });
    }
};

} // namespace

TEST_F(Reading, RoundTripIntoAFreshWindow)
{
    const std::wstring programmed = programSampleAndReopen();
    ASSERT_NE(window->settingsSnapshot(), programmed) << "the fresh window starts from the defaults";
    readConfiguration(dialog());
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(window->settingsSnapshot(), programmed);
    EXPECT_EQ(framesWithCommand(0x03), 16u);
    EXPECT_EQ(h.clock.sleepCounts[200], 1u) << "one 200 ms pause";
}

TEST_F(Reading, BlocksAreReadInTheDocumentedOrder)
{
    readConfiguration(dialog());
    std::vector<int> order;
    for (const auto& e : h.sim.journal())
        if (e.direction == qlvsim::Direction::HostToModule && e.bytes.size() == 30 && e.bytes[0] == 0x03)
            order.push_back(e.bytes[1]);
    EXPECT_EQ(order, (std::vector<int>{0, 1, 11, 12, 13, 14, 15, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
}

TEST_F(Reading, FirstBlockFailingShowsTheErrorAndReadsNothingElse)
{
    const std::wstring before = window->settingsSnapshot();
    h.sim.faults().silentFrames = 3;
    readConfiguration(dialog());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, readingError);
    EXPECT_EQ(boxes[0].caption, L"Błąd");
    EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(window->settingsSnapshot(), before);
    EXPECT_EQ(framesWithCommand(0x03), 3u) << "three attempts at block 0 only";
}

TEST_F(Reading, SecondBlockFailingKeepsTheFirstBlocksValues)
{
    InputsRecord in;
    in.accessCode = L"ZZZZ";
    in.simPin = L"1111";
    setModuleBlock(0, encodeInputs(in));
    failFromFrame(2);
    readConfiguration(dialog());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(window->text(ids::accessCode), L"ZZZZ");
    EXPECT_EQ(framesWithCommand(0x03), 4u);
}

TEST_F(Reading, FailingUserBlockKeepsItsRowReadsTheRestThenReports)
{
    const std::wstring programmed = programSampleAndReopen();
    (void)programmed;
    userPhone[2].setText(L"777");
    failFromFrame(5);  // block 13: user index 2
    readConfiguration(dialog());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, readingError);
    EXPECT_EQ(window->text(ids::userId(2, ids::UserOffset::Phone)), L"777") << "row kept";
    EXPECT_EQ(window->text(ids::userId(1, ids::UserOffset::Phone)), L"123456789012345");
    EXPECT_EQ(window->text(ids::userId(4, ids::UserOffset::Phone)), L"600") << "later users still read";
    EXPECT_EQ(framesWithCommand(0x03), 4u + 3u + 2u) << "three attempts at block 13, no text block after it";
}

TEST_F(Reading, FailingTextBlock7KeepsTheSmsTextsAndSkipsTheTidy)
{
    const std::wstring programmed = programSampleAndReopen();
    (void)programmed;
    failFromFrame(13);  // 0, 1, five users, blocks 2..6, then block 7
    readConfiguration(dialog());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(window->text(ids::in1Name), L"Drzwi");
    EXPECT_EQ(window->text(ids::in2Name), L"Okno");
    EXPECT_EQ(window->text(ids::out1Name), L"Brama");
    EXPECT_EQ(window->text(ids::out2Name), L"Syrena");
    EXPECT_EQ(window->text(ids::tempName), L"Piwnica");
    EXPECT_EQ(window->text(ids::in1SmsOnText), L"INPUT-1 ON");
    EXPECT_EQ(window->text(ids::in2SmsOnText), L"INPUT-2 ON");
    EXPECT_EQ(window->text(ids::in1SmsOffText), L"INPUT-1 OFF");
    EXPECT_EQ(window->text(ids::in2SmsOffText), L"INPUT-2 OFF");
    EXPECT_FALSE(window->checked(ids::out1ByInput)) << "timed output 1 not tidied after the failure";
    EXPECT_FALSE(window->checked(ids::out1Enabled));
}

TEST_F(Reading, ModuleEdgeValuesAsShown)
{
    InputsRecord in;
    in.accessCode = L"QWER";
    in.simPin = L"";
    in.channel[0].outputTimed = true;
    Frame block0 = encodeInputs(in);
    block0[7] = '9';  // behind a zero first byte: still no PIN
    setModuleBlock(0, block0);
    AlarmsRecord al;
    al.smsUsersOnly = true;
    al.tempMin = -50;
    setModuleBlock(1, encodeAlarms(al));
    UserRecord second;
    second.enabled = true;
    second.phone = L"48";
    setModuleBlock(12, encodeUser(1, second));  // rights not time-limited
    setModuleBlock(13, encodeUser(2, UserRecord{}));

    readConfiguration(dialog());
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(window->text(ids::simPin), L"");
    EXPECT_TRUE(window->checked(ids::out1InputTimed));
    EXPECT_TRUE(window->checked(ids::out1ByInput));
    EXPECT_TRUE(window->checked(ids::out1Enabled));
    EXPECT_TRUE(window->checked(ids::out2Enabled)) << "SMS users-only alone enables both outputs";
    EXPECT_EQ(window->text(ids::tempMin), L"-50");
    EXPECT_EQ(window->text(ids::userId(1, ids::UserOffset::RightsHours)), L"24");
    EXPECT_FALSE(window->checked(ids::userId(1, ids::UserOffset::TimedRights)));
    EXPECT_TRUE(window->checked(ids::userId(1, ids::UserOffset::Active)));
    EXPECT_FALSE(window->checked(ids::userId(2, ids::UserOffset::Active)));
    EXPECT_EQ(window->text(ids::userId(2, ids::UserOffset::Phone)), L"");
}

TEST_F(Reading, ACorruptedReplyFailsTheBlockWithoutRetry)
{
    h.sim.faults().corruptReplies = 1;
    readConfiguration(dialog());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(framesWithCommand(0x03), 1u);
}

namespace {

std::size_t readsOf(qlvsim::Simulator& sim, std::uint8_t block)
{
    std::size_t n = 0;
    for (const auto& e : sim.journal())
        n += e.direction == qlvsim::Direction::HostToModule && e.bytes.size() == 30 && e.bytes[0] == 0x03 &&
             e.bytes[1] == block;
    return n;
}

} // namespace

// Only the block's own reply is taken (command 0x03 and that block): an echo of the block's last
// write, or an answer to the read before that came too late for it, fails its try.
TEST_F(Reading, AnEchoOfTheWriteIsNotTheBlock)
{
    programSampleAndReopen();
    std::memcpy(h.sim.block(0).data(), "ZZZZ", 4);  // what the module holds, not what was last sent
    h.sim.faults().echoedReads = 1;
    readConfiguration(dialog());
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(window->text(ids::accessCode), L"ZZZZ");
    EXPECT_EQ(readsOf(h.sim, 0), 2u);
}

TEST_F(Reading, ALateAnswerToTheBlockBeforeIsNotTheBlock)
{
    programSampleAndReopen();
    h.sim.setLatencyMs(0);
    qlvsim::Simulator& sim = h.sim;
    const std::uint64_t first = sim.framesReceived() + 1;
    // User 1's block: two tries unanswered, the third answered after its read has given up.
    sim.atFrame(first + 2, [&sim] { sim.faults().silentFrames = 2; });
    sim.atFrame(first + 4, [&sim] {
        sim.faults().slowReplies = 1;
        sim.faults().slowDelayMs = 210.0;
    });
    readConfiguration(dialog());
    ASSERT_EQ(boxes.size(), 1u) << "user 1's block was never read";
    EXPECT_EQ(window->text(ids::userId(1, ids::UserOffset::Phone)), L"123456789012345") << "user 2's own number";
    EXPECT_EQ(readsOf(h.sim, 12), 2u);
}
