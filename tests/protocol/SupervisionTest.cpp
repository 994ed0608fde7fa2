#include "FrameText.h"
#include "ProtocolFixture.h"

#include "model/Catalogue.h"
#include "protocol/ModuleText.h"

#include <functional>

using namespace kes;
using namespace protocol_tests;

namespace {

constexpr wchar_t plugIn[] = L"podłącz QLV-3 USB";
constexpr wchar_t linkOk[] = L"QLV-3 USB OK";

class Supervision : public ProtocolTest {
protected:
    // Ticks until the condition holds; false when it does not within maxTicks.
    bool tickUntil(const std::function<bool()>& done, int maxTicks)
    {
        for (int i = 0; i < maxTicks; ++i) {
            if (done())
                return true;
            tickOnce();
        }
        return done();
    }

    // Plugged in, settled, answering, configuration read.
    void bringUp()
    {
        ASSERT_TRUE(tickUntil([] { return usbLink.responding; }, 40));
        tickOnce();
        ASSERT_EQ(window->text(ids::linkStatus), L"Quellmo GSM");
    }

    std::vector<qlvsim::Bytes> sentWithCommand(std::uint8_t command)
    {
        std::vector<qlvsim::Bytes> out;
        for (const auto& e : h.sim.journal())
            if (e.direction == qlvsim::Direction::HostToModule && e.bytes.size() == 30 && e.bytes[0] == command)
                out.push_back(e.bytes);
        return out;
    }
};

} // namespace

TEST_F(Supervision, ConnectSettleThenOneReadingJob)
{
    EXPECT_EQ(window->text(ids::linkStatus), plugIn);
    EXPECT_FALSE(window->enabled(ids::programButton));
    tickOnce();
    ASSERT_TRUE(usbLink.isOpen());
    EXPECT_EQ(window->text(ids::linkStatus), linkOk);

    // Settling: 7 s of polls that send nothing.
    int settlingTicks = 0;
    while (!usbLink.settled && settlingTicks < 30) {
        tickOnce();
        ++settlingTicks;
        if (!usbLink.settled) {
            EXPECT_EQ(window->text(ids::statusTemp), L"- - -");
            EXPECT_EQ(h.sim.statusPolls(), 0u) << "no frame while settling";
        }
    }
    EXPECT_GE(settlingTicks, 13);
    EXPECT_LE(settlingTicks, 15);

    ASSERT_TRUE(tickUntil([] { return usbLink.responding; }, 3));
    EXPECT_EQ(window->text(ids::linkStatus), L"Quellmo GSM");
    EXPECT_TRUE(window->enabled(ids::programButton));
    EXPECT_TRUE(window->enabled(ids::remoteText));
    EXPECT_EQ(framesWithCommand(0x03), 16u);
    EXPECT_EQ(timer.stops, 1);
    EXPECT_EQ(timer.starts, 1);
    EXPECT_EQ(window->text(ids::statusOperator), L"Plus");
    EXPECT_EQ(window->text(ids::statusTemp), L"22");
    EXPECT_EQ(window->text(ids::statusLevel), L"64 %");
    EXPECT_EQ(window->text(ids::statusPower), L"13 V");

    for (int i = 0; i < 6; ++i)
        tickOnce();
    EXPECT_EQ(framesWithCommand(0x03), 16u) << "only the change to responding reads";
    EXPECT_EQ(timer.stops, 1);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Supervision, ThreeMissedRepliesEndResponding)
{
    bringUp();
    h.sim.faults().silentPolls = 3;
    tickOnce();
    tickOnce();
    EXPECT_TRUE(usbLink.responding);
    EXPECT_EQ(window->text(ids::statusTemp), L"- - -") << "no good reply, no temperature";
    EXPECT_EQ(window->text(ids::statusOperator), L"Plus") << "last good values stay";
    tickOnce();
    EXPECT_FALSE(usbLink.responding);
    EXPECT_EQ(window->text(ids::linkStatus), linkOk);
    EXPECT_FALSE(window->enabled(ids::programButton));
    EXPECT_TRUE(usbLink.recoveryWatch.stopped) << "a missing reply is no reason to recover";

    // The module answers again: a second reading job.
    ASSERT_TRUE(tickUntil([] { return usbLink.responding; }, 3));
    EXPECT_EQ(framesWithCommand(0x03), 32u);
    EXPECT_EQ(window->text(ids::linkStatus), L"Quellmo GSM");
}

TEST_F(Supervision, BadReplyStartsRecoveryAndResetsMissedReplies)
{
    bringUp();
    supervision.missedReplies = 2;
    h.sim.faults().wrongByte0 = 1;
    tickOnce();
    EXPECT_EQ(supervision.missedReplies, 0);
    EXPECT_FALSE(usbLink.recoveryWatch.stopped) << "recovery window opened";
    tickOnce();
    EXPECT_TRUE(usbLink.recoveryWatch.stopped) << "a good reply ends recovery";
    EXPECT_TRUE(usbLink.responding);
}

TEST_F(Supervision, UnplugGivesUpAfterTenSecondsAndReplugReconnects)
{
    bringUp();
    h.sim.unplug();
    ASSERT_TRUE(tickUntil([] { return !usbLink.isOpen(); }, 40));
    EXPECT_EQ(window->text(ids::linkStatus), plugIn);
    tickOnce();
    EXPECT_EQ(window->text(ids::linkStatus), plugIn);
    EXPECT_EQ(h.sim.callsOnClosedHandles(), 0);

    h.sim.replug();
    tickOnce();
    EXPECT_TRUE(usbLink.isOpen());
    EXPECT_EQ(window->text(ids::linkStatus), linkOk);
    ASSERT_TRUE(tickUntil([] { return usbLink.responding; }, 20));
    tickOnce();
    EXPECT_EQ(window->text(ids::linkStatus), L"Quellmo GSM");
    EXPECT_EQ(framesWithCommand(0x03), 32u) << "the configuration is read again";
}

TEST_F(Supervision, TwoClicksBeforeATickToggleOnce)
{
    bringUp();
    out1Clicked = true;
    out1Clicked = true;
    out2Clicked = true;
    tickOnce();
    EXPECT_TRUE(h.sim.status().out1);
    EXPECT_TRUE(h.sim.status().out2);
    EXPECT_TRUE(window->checked(ids::statusOut1));
    EXPECT_TRUE(window->checked(ids::statusOut2));
    const auto polls = sentWithCommand(0x01);
    ASSERT_GE(polls.size(), 2u);
    EXPECT_EQ(polls.back()[1], 0x03);
    tickOnce();
    EXPECT_EQ(sentWithCommand(0x01).back()[1], 0x00) << "a request goes out once";
    EXPECT_TRUE(h.sim.status().out1);
}

TEST_F(Supervision, StatesOfInputsShown)
{
    bringUp();
    h.sim.status().in1 = true;
    h.sim.status().temperature = -59;
    h.sim.status().signal = 99;
    h.sim.status().supplyReading = 0;
    tickOnce();
    EXPECT_TRUE(window->checked(ids::statusIn1));
    EXPECT_FALSE(window->checked(ids::statusIn2));
    EXPECT_EQ(window->text(ids::statusTemp), L"-59");
    EXPECT_EQ(window->text(ids::statusLevel), L"- - -");
    EXPECT_EQ(window->text(ids::statusPower), L"0 V");
}

TEST_F(Supervision, ClipNumberStaysInLaterPolls)
{
    bringUp();
    remotePhone.setText(L"*100#");
    clipClicked = true;
    tickOnce();
    ASSERT_EQ(h.sim.clipNumbers().size(), 1u);
    EXPECT_EQ(h.sim.clipNumbers()[0], "*100#");
    tickOnce();
    tickOnce();
    const qlvsim::Bytes last = sentWithCommand(0x01).back();
    EXPECT_EQ(last[1] & 0x04, 0);
    EXPECT_EQ(std::string(last.begin() + 2, last.begin() + 7), "*100#");
    EXPECT_EQ(last[7], 0);
    EXPECT_EQ(h.sim.clipNumbers().size(), 1u);
}

TEST_F(Supervision, ClicksWithMissingFieldsAreForgotten)
{
    bringUp();
    remotePhone.setText(L"");
    remoteText.setText(L"tekst");
    clipClicked = true;
    smsClicked = true;
    tickOnce();
    remotePhone.setText(L"600");
    remoteText.setText(L"");
    smsClicked = true;
    tickOnce();
    EXPECT_TRUE(h.sim.clipNumbers().empty());
    EXPECT_TRUE(h.sim.smsSent().empty());
    EXPECT_TRUE(sentWithCommand(0x04).empty());
    EXPECT_FALSE(clipClicked || smsClicked);
}

TEST_F(Supervision, SmsTextGoesInSevenChunksBeforeThePoll)
{
    bringUp();
    remotePhone.setText(L"+48600100200");
    const std::wstring text = L"Wlacz ogrzewanie prosze, to jest dluzszy tekst SMS niz jeden fragment";
    remoteText.setText(text);
    smsClicked = true;
    tickOnce();
    const auto chunks = sentWithCommand(0x04);
    ASSERT_EQ(chunks.size(), 7u);
    std::string joined;
    for (std::size_t i = 0; i < chunks.size(); ++i) {
        EXPECT_EQ(chunks[i][1], i);
        joined.append(chunks[i].begin() + 2, chunks[i].begin() + (i == 6 ? 6 : 28));
    }
    EXPECT_EQ(joined.substr(0, text.size()), narrowText(text));
    EXPECT_EQ(joined.find_first_not_of('\0', text.size()), std::string::npos);
    ASSERT_EQ(h.sim.smsSent().size(), 1u);
    EXPECT_EQ(h.sim.smsSent()[0].number, "+48600100200");
    EXPECT_EQ(h.sim.smsSent()[0].text, narrowText(text));
    EXPECT_EQ(sentWithCommand(0x01).back()[1] & 0x08, 0x08);
}

TEST_F(Supervision, FailedSmsTextDropsTheRequest)
{
    bringUp();
    remotePhone.setText(L"600");
    remoteText.setText(L"abc");
    smsClicked = true;
    h.sim.faults().silentFrames = 3;  // the first chunk never gets an answer
    tickOnce();
    EXPECT_EQ(sentWithCommand(0x01).back()[1] & 0x08, 0) << "no SMS bit after a failed transfer";
    EXPECT_TRUE(h.sim.smsSent().empty());
    EXPECT_FALSE(usbLink.requestSms);
}

TEST_F(Supervision, ReceivedTextIsFetchedIntoTheMessageField)
{
    bringUp();
    const std::string held = "Stan: alarm wejscia 1, temperatura 21 C, zasilanie 13 V";
    h.sim.holdText(held);
    ASSERT_TRUE(tickUntil([this] { return !h.sim.holdingText(); }, 3));
    EXPECT_EQ(window->text(ids::remoteText), widenText(held));
    EXPECT_EQ(sentWithCommand(0x05).size(), 7u);
    EXPECT_FALSE(usbLink.replyWaiting);
}

TEST_F(Supervision, FailedFetchEmptiesTheMessageField)
{
    bringUp();
    remoteText.setText(L"stary tekst");
    h.sim.holdText("nowy");
    const std::uint64_t next = h.sim.framesReceived() + 2;  // the poll, then the first fetch
    h.sim.atFrame(next, [this] { h.sim.faults().silentFrames = 3; });
    tickOnce();
    EXPECT_EQ(window->text(ids::remoteText), L"");
}

TEST_F(Supervision, ProgrammingTickDoesNotPollOrRecover)
{
    bringUp();
    const std::uint64_t polls = h.sim.statusPolls();
    startProgramming();
    tickOnce();
    EXPECT_EQ(h.sim.statusPolls(), polls);
    EXPECT_EQ(programmingStepCounter, 2);
    EXPECT_TRUE(usbLink.recoveryWatch.stopped);
    programmingStepCounter = noProgramming;
}

struct PollCase {
    const char* name;
    std::function<void(qlvsim::Faults&)> fault;
    PollResult result;
};
class PollResults : public Supervision, public ::testing::WithParamInterface<PollCase> {};

TEST_P(PollResults, ResultCodes)
{
    ASSERT_TRUE(connect());
    GetParam().fault(h.sim.faults());
    EXPECT_EQ(pollStatus(), GetParam().result) << GetParam().name;
    EXPECT_EQ(usbLink.temperature == -200, GetParam().result != PollResult::Good);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, PollResults,
    ::testing::Values(PollCase{"good", [](qlvsim::Faults&) {}, PollResult::Good},
                      PollCase{"silent", [](qlvsim::Faults& f) { f.silentPolls = 1; }, PollResult::NoReply},
                      PollCase{"byte0", [](qlvsim::Faults& f) { f.wrongByte0 = 1; }, PollResult::BadReply},
                      PollCase{"corrupt", [](qlvsim::Faults& f) { f.corruptReplies = 1; }, PollResult::BadReply},
                      PollCase{"checkWord", [](qlvsim::Faults& f) { f.badCheckWords = 1; }, PollResult::BadReply},
                      PollCase{"extraBytes", [](qlvsim::Faults& f) { f.extraBytes = 1; }, PollResult::NoReply},
                      PollCase{"commError", [](qlvsim::Faults& f) { f.commErrorFailures = 1; }, PollResult::NoInterface},
                      PollCase{"writeFails", [](qlvsim::Faults& f) { f.writeFailures = 1000; }, PollResult::WriteFailed}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Supervision, PollWithoutInterfaceOrWhileSettling)
{
    EXPECT_EQ(pollStatus(), PollResult::NoInterface);
    const auto found = usbLink.findInterfaces();
    ASSERT_FALSE(found.empty());
    ASSERT_TRUE(usbLink.open(found.front()));
    EXPECT_EQ(pollStatus(), PollResult::Settling);
    h.advanceMs(7001);
    EXPECT_EQ(pollStatus(), PollResult::Good);
}

TEST_F(Supervision, ReopenAfterGivingUpShowsTheLinkAgain)
{
    // The module answers every poll badly, so it never counts as responding and each
    // recovery window ends with the link closed; the interface itself stays plugged in.
    h.sim.faults().wrongByte0 = 1000000;
    int closes = 0;
    for (int i = 0; i < 80; ++i) {
        tickOnce();
        ASSERT_FALSE(usbLink.responding);
        if (usbLink.isOpen()) {
            EXPECT_EQ(window->text(ids::linkStatus), linkOk) << "tick " << i;
        } else {
            EXPECT_EQ(window->text(ids::linkStatus), plugIn) << "tick " << i;
        }
    }
    for (const auto& e : h.sim.journal())
        if (e.direction == qlvsim::Direction::Event && e.note == "close")
            ++closes;
    EXPECT_GE(closes, 1) << "the recovery window must have run out at least once";
}

namespace {

// The module's status replies swapped for one fixed, hand-sealed frame; every other reply
// comes from the simulator as it is.
const char* handWrittenReply = nullptr;
kes::D2xxApi simulatorReads;

BOOL WINAPI readWithHandWrittenStatus(kes::FT_HANDLE handle, void* buffer, DWORD size, DWORD* read,
                                      OVERLAPPED* overlapped)
{
    const BOOL ok = simulatorReads.readFile(handle, buffer, size, read, overlapped);
    auto* bytes = static_cast<std::uint8_t*>(buffer);
    if (ok && handWrittenReply && read && *read == 30 && bytes[0] == 0x01) {
        const Frame reply = testing_frames::frameFromHex(handWrittenReply);
        std::copy(reply.begin(), reply.end(), bytes);
    }
    return ok;
}

struct ShownOperatorCase {
    const char* name;
    const char* reply;
    const wchar_t* shown;
};

class ShownOperator : public Supervision, public ::testing::WithParamInterface<ShownOperatorCase> {};

} // namespace

TEST_P(ShownOperator, StatusColumnShowsTheNameWithoutTheCheckWord)
{
    simulatorReads = h.api;
    kes::D2xxApi api = h.api;
    api.readFile = readWithHandWrittenStatus;
    usbLink.rebind(api, h.clock);
    handWrittenReply = GetParam().reply;
    const bool answered = tickUntil([] { return usbLink.responding; }, 40);
    tickOnce();
    handWrittenReply = nullptr;
    ASSERT_TRUE(answered);
    EXPECT_EQ(window->text(ids::statusOperator), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, ShownOperator,
    ::testing::Values(ShownOperatorCase{"nine_characters",
                                        "01 16 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 03 14 "
                                        "4F 72 61 6E 67 65 20 50 4C 3C 30",
                                        L"Orange PL"},
                      ShownOperatorCase{"zero_terminated",
                                        "01 16 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 03 14 "
                                        "50 6C 75 73 00 58 59 5A 00 08 69",
                                        L"Plus"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Supervision, SimulatedModuleWithANineCharacterOperatorShowsItWhole)
{
    h.sim.status().operatorName = "Orange PL";
    bringUp();
    EXPECT_EQ(window->text(ids::statusOperator), L"Orange PL");
}
