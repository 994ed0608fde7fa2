#include "protocol/ModuleText.h"
#include "protocol/StatusMessages.h"

#include "FrameText.h"
#include "CaseName.h"

#include <gtest/gtest.h>

using namespace kes;
using testing_frames::frameFromHex;
using testing_frames::hexOf;

struct RequestCase {
    const char* name;
    StatusRequest request;
    const char* expected;
};
class StatusRequestCodec : public ::testing::TestWithParam<RequestCase> {};
TEST_P(StatusRequestCodec, BitsAndNumber)
{
    EXPECT_EQ(hexOf(encodeStatusRequest(GetParam().request)), hexOf(frameFromHex(GetParam().expected)));
}
INSTANTIATE_TEST_SUITE_P(
    Requests, StatusRequestCodec,
    ::testing::Values(RequestCase{"plainPoll", {}, "01 00"},
                      RequestCase{"out1Toggle", {true, false, false, false, ""}, "01 01"},
                      RequestCase{"out2Toggle", {false, true, false, false, ""}, "01 02"},
                      RequestCase{"clipWithNumber", {false, false, true, false, "*100#"}, "01 04 2A 31 30 30 23"},
                      RequestCase{"everyBit", {true, true, true, true, "12"}, "01 0F 31 32"},
                      // A 26-byte number fills 2..27 without a terminating zero; longer ones are cut.
                      RequestCase{"number26", {false, false, false, false, std::string(26, '9')},
                                  "01 00 39 39 39 39 39 39 39 39 39 39 39 39 39 39 39 39 39 39 39 39 39 39 39 39 39 39"},
                      RequestCase{"number30Cut", {false, false, false, false, std::string(30, '9')},
                                  "01 00 39 39 39 39 39 39 39 39 39 39 39 39 39 39 39 39 39 39 39 39 39 39 39 39 39 39"}),
    casename::ByName());

namespace {
Frame checked(Frame f)
{
    setCheckWord(f);
    return f;
}
} // namespace

TEST(StatusReplyCodec, AllFieldsByteExact)
{
    // temp 0x17 = 23; "Gotowy"; IN-2, OUT-1, reply waiting; reading 0x0300 = 768 -> 22 V; level 20; "Orange".
    const Frame reply =
        checked(frameFromHex("01 17 47 6F 74 6F 77 79 00 00 00 00 00 00 00 16 00 03 14 4F 72 61 6E 67 65"));
    ASSERT_TRUE(isGoodStatusReply(reply));
    const StatusReply s = decodeStatusReply(reply);
    EXPECT_EQ(s.temperature, 23);
    EXPECT_EQ(s.moduleText, "Gotowy");
    EXPECT_FALSE(s.in1State);
    EXPECT_TRUE(s.in2State);
    EXPECT_TRUE(s.out1State);
    EXPECT_FALSE(s.out2State);
    EXPECT_TRUE(s.replyWaiting);
    EXPECT_EQ(s.supplyVolts, 22);
    EXPECT_EQ(s.signalLevel, 20);
    EXPECT_EQ(s.operatorName, "Orange");
}

TEST(StatusReplyCodec, ModuleTextWithoutZeroEndsAtByte14)
{
    Frame reply = frameFromHex("01 00");
    for (std::size_t i = 2; i <= 14; ++i)
        reply[i] = 'A';
    reply[15] = 0x01;  // states follow; they are not text
    EXPECT_EQ(decodeStatusReply(reply).moduleText, std::string(13, 'A'));
}

// Whole sealed replies, check word included; its bytes (28, 29) must never show as letters.
struct OperatorCase {
    const char* name;
    const char* reply;
    const wchar_t* shown;
};
class OperatorName : public ::testing::TestWithParam<OperatorCase> {};
TEST_P(OperatorName, EndsAtItsZeroOrAtByte27)
{
    const Frame reply = frameFromHex(GetParam().reply);
    ASSERT_TRUE(isGoodStatusReply(reply));
    EXPECT_EQ(widenText(decodeStatusReply(reply).operatorName), GetParam().shown);
}
INSTANTIATE_TEST_SUITE_P(
    Replies, OperatorName,
    ::testing::Values(OperatorCase{"nine_characters_fill_19_to_27",
                                   "01 16 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 03 14 "
                                   "4F 72 61 6E 67 65 20 50 4C 3C 30",
                                   L"Orange PL"},
                      OperatorCase{"shorter_name_ends_at_its_zero",
                                   "01 16 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 03 14 "
                                   "50 6C 75 73 00 58 59 5A 00 08 69",
                                   L"Plus"}),
    [](const auto& info) { return std::string(info.param.name); });

struct BadReplyCase {
    const char* name;
    std::size_t byte;
    std::uint8_t value;
    bool recheck;  // recompute the check word after the change
};
class StatusReplyValidity : public ::testing::TestWithParam<BadReplyCase> {};
TEST_P(StatusReplyValidity, RejectedReplies)
{
    const BadReplyCase c = GetParam();
    Frame reply = checked(frameFromHex("01 10 41"));
    reply[c.byte] = c.value;
    if (c.recheck)
        setCheckWord(reply);
    EXPECT_FALSE(isGoodStatusReply(reply)) << c.name;
}
INSTANTIATE_TEST_SUITE_P(Cases, StatusReplyValidity,
                         ::testing::Values(BadReplyCase{"byte0_is_2", 0, 2, true},
                                           BadReplyCase{"byte0_is_0", 0, 0, true},
                                           BadReplyCase{"flipped_data", 5, 0x20, false},
                                           BadReplyCase{"flipped_check", 29, 0x01, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(StatusReplyValidity, GoodReplyAccepted)
{
    EXPECT_TRUE(isGoodStatusReply(checked(frameFromHex("01 10 41"))));
    EXPECT_FALSE(isGoodStatusReply(frameFromHex("01 10 41"))) << "all-zero check word does not match";
}

struct VoltsCase {
    std::uint16_t reading;
    std::int32_t volts;
};
class SupplyVolts : public ::testing::TestWithParam<VoltsCase> {};
TEST_P(SupplyVolts, IntegerScale)
{
    EXPECT_EQ(supplyVoltsFromReading(GetParam().reading), GetParam().volts);
}
INSTANTIATE_TEST_SUITE_P(Readings, SupplyVolts,
                         ::testing::Values(VoltsCase{0, 0}, VoltsCase{1023, 30}, VoltsCase{338, 10},
                                           VoltsCase{337, 9}, VoltsCase{65535, 1939}),
                         [](const auto& info) { return "reading" + std::to_string(info.param.reading); });

struct DisplayCase {
    std::int32_t value;
    const wchar_t* text;
};
class TemperatureDisplay : public ::testing::TestWithParam<DisplayCase> {};
TEST_P(TemperatureDisplay, Text) { EXPECT_EQ(temperatureText(GetParam().value), GetParam().text); }
INSTANTIATE_TEST_SUITE_P(Values, TemperatureDisplay,
                         ::testing::Values(DisplayCase{-1000, L"- - -"}, DisplayCase{-200, L"- - -"},
                                           DisplayCase{-60, L"- - -"}, DisplayCase{-59, L"-59"},
                                           DisplayCase{0, L"0"}, DisplayCase{127, L"127"}),
                         [](const auto& info) { return casename::number(info.param.value); });

class SignalDisplay : public ::testing::TestWithParam<DisplayCase> {};
TEST_P(SignalDisplay, Text) { EXPECT_EQ(signalText(GetParam().value), GetParam().text); }
INSTANTIATE_TEST_SUITE_P(Values, SignalDisplay,
                         ::testing::Values(DisplayCase{-1, L"- - -"}, DisplayCase{0, L"0 %"},
                                           DisplayCase{15, L"48 %"}, DisplayCase{31, L"100 %"},
                                           DisplayCase{98, L"316 %"}, DisplayCase{99, L"- - -"},
                                           DisplayCase{127, L"- - -"}),
                         [](const auto& info) { return casename::number(info.param.value); });

class VoltageDisplay : public ::testing::TestWithParam<DisplayCase> {};
TEST_P(VoltageDisplay, Text) { EXPECT_EQ(voltageText(GetParam().value), GetParam().text); }
INSTANTIATE_TEST_SUITE_P(Values, VoltageDisplay,
                         ::testing::Values(DisplayCase{-1, L"- - -"}, DisplayCase{0, L"0 V"},
                                           DisplayCase{30, L"30 V"}),
                         [](const auto& info) { return casename::number(info.param.value); });

TEST(StatusReplyCodec, TemperatureByteIsSigned)
{
    EXPECT_EQ(decodeStatusReply(frameFromHex("01 C4")).temperature, -60);
    EXPECT_EQ(decodeStatusReply(frameFromHex("01 C5")).temperature, -59);
    EXPECT_EQ(temperatureText(decodeStatusReply(frameFromHex("01 C4")).temperature), L"- - -");
    EXPECT_EQ(temperatureText(decodeStatusReply(frameFromHex("01 C5")).temperature), L"-59");
}

TEST(SmsChunks, SevenChunksCarry160Bytes)
{
    std::string text;
    for (int i = 0; i < 160; ++i)
        text.push_back(static_cast<char>(0x20 + i % 90));
    for (int chunk = 0; chunk < smsChunkCount; ++chunk) {
        const Frame m = encodeSmsChunk(text, chunk);
        EXPECT_EQ(m[0], 4);
        EXPECT_EQ(m[1], chunk);
        const std::size_t n = chunk == 6 ? 4 : 26;
        for (std::size_t i = 0; i < 26; ++i) {
            const std::uint8_t want = i < n ? static_cast<std::uint8_t>(text[26 * chunk + i]) : 0;
            EXPECT_EQ(m[2 + i], want) << "chunk " << chunk << " byte " << 2 + i;
        }
    }
}

TEST(SmsChunks, ShortTextIsPaddedWithZeros)
{
    EXPECT_EQ(hexOf(encodeSmsChunk("Hi", 0)), hexOf(frameFromHex("04 00 48 69")));
    EXPECT_EQ(hexOf(encodeSmsChunk("Hi", 1)), hexOf(frameFromHex("04 01")));
    EXPECT_EQ(hexOf(encodeSmsChunk("Hi", 6)), hexOf(frameFromHex("04 06")));
}

TEST(FetchChunks, RequestAndChunkText)
{
    EXPECT_EQ(hexOf(encodeFetchRequest(3)), hexOf(frameFromHex("05 03")));
    Frame reply{};
    reply.fill('x');
    EXPECT_EQ(replyChunkText(reply, 0), std::string(26, 'x'));
    EXPECT_EQ(replyChunkText(reply, 6), std::string(4, 'x')) << "the last chunk carries four bytes";
    reply[5] = 0;
    EXPECT_EQ(replyChunkText(reply, 2), "xxx");
}

struct WidenCase {
    std::string bytes;
    std::wstring wide;
};
class ModuleTextWidening : public ::testing::TestWithParam<WidenCase> {};
TEST_P(ModuleTextWidening, EachByteItsOwnCodePoint)
{
    EXPECT_EQ(widenText(GetParam().bytes), GetParam().wide);
}
INSTANTIATE_TEST_SUITE_P(Bytes, ModuleTextWidening,
                         ::testing::Values(WidenCase{"Plus", L"Plus"}, WidenCase{"\x80", L"\u0080"},
                                           WidenCase{"\xB3\xF3", L"\u00B3\u00F3"}, WidenCase{"\xFF", L"\u00FF"}),
                         [](const auto& info) {
                             std::string name;
                             for (unsigned char c : info.param.bytes) {
                                 char hex[4];
                                 std::snprintf(hex, sizeof hex, "x%02X", c);
                                 name += c < 0x80 ? std::string(1, static_cast<char>(c)) : std::string(hex);
                             }
                             return casename::clean(name);
                         });

TEST(ModuleTextNarrowing, LowByteOfEachUnit)
{
    EXPECT_EQ(narrowText(L"a\u0105\u00FF"), std::string("a\x05\xFF"));
}
