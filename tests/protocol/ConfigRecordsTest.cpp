#include "protocol/ConfigRecords.h"

#include "FrameText.h"
#include "CaseName.h"

#include <gtest/gtest.h>

using namespace kes;
using testing_frames::frameFromHex;
using testing_frames::hexOf;

namespace {

InputsRecord sampleInputs()
{
    InputsRecord r;
    r.accessCode = L"WKTR";
    r.simPin = L"4821";
    r.channel[0] = {true, 3, 99999, true, false, false, true, 5};
    r.channel[1] = {false, 1, 1, false, true, true, true, 12};
    return r;
}

} // namespace

TEST(InputsRecordCodec, WholeBlockByteExact)
{
    // 99999 s -> 999990 = 0F4236; 5 s -> 50 = 32; 1 s -> 0A; 12 s -> 120 = 78.
    // Offset 10: A|B|marker|enabled|timed|SMS ON = 0x6F; offset 17: B|marker|follows|timed|SMS OFF = 0xB6.
    const Frame expected = frameFromHex("02 00 57 4B 54 52 34 38 32 31 6F 36 42 0F 32 00 00 B6 0A 00 00 78 00 00");
    EXPECT_EQ(hexOf(encodeInputs(sampleInputs())), hexOf(expected));
}

TEST(InputsRecordCodec, EmptyPinIsFourZeroBytes)
{
    InputsRecord r = sampleInputs();
    r.simPin.clear();
    const Frame m = encodeInputs(r);
    for (std::size_t i = 6; i <= 9; ++i)
        EXPECT_EQ(m[i], 0) << i;
    EXPECT_EQ(m[5], 'R');
}

TEST(InputsRecordCodec, ZeroFirstPinByteReadsAsEmptyPinWhateverFollows)
{
    Frame reply = encodeInputs(sampleInputs());
    reply[6] = 0;
    reply[7] = '1';
    reply[8] = '2';
    reply[9] = '3';
    EXPECT_EQ(decodeInputs(reply).simPin, L"");
    EXPECT_EQ(decodeInputs(reply).accessCode, L"WKTR");
}

struct WiringCase {
    int index;
    std::uint8_t bits;  // bits 0..1 of the channel byte
};
class WiringCodec : public ::testing::TestWithParam<WiringCase> {};

TEST_P(WiringCodec, BitsAndBackForBothInputs)
{
    const WiringCase c = GetParam();
    InputsRecord r;
    r.channel[0].wiring = c.index;
    r.channel[1].wiring = c.index;
    const Frame m = encodeInputs(r);
    EXPECT_EQ(m[10] & 0x3, c.bits);
    EXPECT_EQ(m[17] & 0x3, c.bits);
    EXPECT_EQ(m[10] & 0x4, 0x4) << "bit 2 is always set";
    EXPECT_EQ(m[17] & 0x4, 0x4);
    const InputsRecord back = decodeInputs(m);
    EXPECT_EQ(back.channel[0].wiring, c.index);
    EXPECT_EQ(back.channel[1].wiring, c.index);
}

INSTANTIATE_TEST_SUITE_P(AllItems, WiringCodec,
                         ::testing::Values(WiringCase{0, 0x0}, WiringCase{1, 0x2}, WiringCase{2, 0x1},
                                           WiringCase{3, 0x3}),
                         [](const auto& info) { return "item" + std::to_string(info.param.index); });

struct ChannelFlagCase {
    const char* name;
    bool InputChannel::*member;
    std::uint8_t mask;
};
class ChannelFlags : public ::testing::TestWithParam<ChannelFlagCase> {};

TEST_P(ChannelFlags, EachMemberOwnsOneBitOnBothChannels)
{
    const ChannelFlagCase c = GetParam();
    for (std::size_t ch = 0; ch < 2; ++ch) {
        InputsRecord r;
        r.channel[ch].*c.member = true;
        const Frame m = encodeInputs(r);
        const std::size_t at = ch == 0 ? 10 : 17;
        EXPECT_EQ(m[at], 0x04 | c.mask) << c.name;
        EXPECT_EQ(m[ch == 0 ? 17 : 10], 0x04) << c.name << ": other channel untouched";
        EXPECT_TRUE(decodeInputs(m).channel[ch].*c.member) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Members, ChannelFlags,
    ::testing::Values(ChannelFlagCase{"enabled", &InputChannel::enabled, 0x08},
                      ChannelFlagCase{"outputFollows", &InputChannel::outputFollows, 0x10},
                      ChannelFlagCase{"outputTimed", &InputChannel::outputTimed, 0x20},
                      ChannelFlagCase{"smsOn", &InputChannel::smsOn, 0x40},
                      ChannelFlagCase{"smsOff", &InputChannel::smsOff, 0x80}),
    [](const auto& info) { return std::string(info.param.name); });

struct TimeCase {
    std::int32_t seconds;
    std::uint8_t b0, b1, b2;
    std::int32_t readBack;
};
class TimeCodec : public ::testing::TestWithParam<TimeCase> {};

TEST_P(TimeCodec, TenthsIn24BitsLittleEndian)
{
    const TimeCase c = GetParam();
    Frame m{};
    putTime(m, 11, c.seconds);
    EXPECT_EQ(m[11], c.b0);
    EXPECT_EQ(m[12], c.b1);
    EXPECT_EQ(m[13], c.b2);
    EXPECT_EQ(m[10], 0);
    EXPECT_EQ(m[14], 0);
    EXPECT_EQ(takeTime(m, 11), c.readBack);
}

INSTANTIATE_TEST_SUITE_P(Values, TimeCodec,
                         ::testing::Values(TimeCase{0, 0, 0, 0, 0}, TimeCase{1, 0x0A, 0, 0, 1},
                                           TimeCase{99999, 0x36, 0x42, 0x0F, 99999},
                                           TimeCase{6553, 0xFA, 0xFF, 0x00, 6553},
                                           // 2^31-1 s must not overflow: low 24 bits of 21474836470.
                                           TimeCase{2147483647, 0xF6, 0xFF, 0xFF, 1677720}),
                         [](const auto& info) { return "seconds" + std::to_string(info.param.seconds); });

TEST(TimeCodec, ModuleValueFifteenReadsAsOne)
{
    Frame m{};
    m[11] = 15;
    EXPECT_EQ(takeTime(m, 11), 1);
}

struct ByteCase {
    double value;
    std::uint8_t byte;
};

class TemperatureCodec : public ::testing::TestWithParam<ByteCase> {};
TEST_P(TemperatureCodec, SignedByteBothWays)
{
    const ByteCase c = GetParam();
    AlarmsRecord r;
    r.tempMax = static_cast<std::int32_t>(c.value);
    r.tempMin = static_cast<std::int32_t>(c.value);
    const Frame m = encodeAlarms(r);
    EXPECT_EQ(m[3], c.byte);
    EXPECT_EQ(m[4], c.byte);
    EXPECT_EQ(decodeAlarms(m).tempMax, static_cast<std::int32_t>(c.value));
    EXPECT_EQ(decodeAlarms(m).tempMin, static_cast<std::int32_t>(c.value));
}
INSTANTIATE_TEST_SUITE_P(Range, TemperatureCodec,
                         ::testing::Values(ByteCase{-50, 0xCE}, ByteCase{120, 0x78}, ByteCase{0, 0x00},
                                           ByteCase{-1, 0xFF}, ByteCase{-128, 0x80}, ByteCase{127, 0x7F}),
                         [](const auto& info) { return casename::number(info.param.value); });

class VoltageCodec : public ::testing::TestWithParam<ByteCase> {};
TEST_P(VoltageCodec, TenthsTruncatedAndBack)
{
    const ByteCase c = GetParam();
    AlarmsRecord r;
    r.powerMax = c.value;
    r.powerMin = c.value;
    const Frame m = encodeAlarms(r);
    EXPECT_EQ(m[10], c.byte);
    EXPECT_EQ(m[11], c.byte);
    EXPECT_DOUBLE_EQ(decodeAlarms(m).powerMax, c.byte / 10.0);
}
INSTANTIATE_TEST_SUITE_P(Range, VoltageCodec,
                         ::testing::Values(ByteCase{12.5, 125}, ByteCase{20.0, 200}, ByteCase{10.0, 100},
                                           ByteCase{25.0, 250}, ByteCase{12.59, 125}, ByteCase{0.0, 0}),
                         [](const auto& info) { return casename::number(info.param.value); });

TEST(VoltageCodec, NonFiniteOrHugeVoltageSendsZeroRatherThanUndefined)
{
    EXPECT_EQ(voltageByte(1e300), 0);
    EXPECT_EQ(voltageByte(-1e300), 0);
}

TEST(AlarmsRecordCodec, WholeBlockByteExact)
{
    AlarmsRecord r;
    r.tempEnabled = true;
    r.out2ByTemp = false;
    r.tempSmsOn = false;
    r.tempSmsOff = true;
    r.tempMax = 50;
    r.tempMin = -50;
    r.out1ByClip = true;
    r.clipUsersOnly = false;
    r.clipTimed = true;
    r.clipTime = 30;
    r.smsUsersOnly = true;
    r.powerEnabled = true;
    r.powerMax = 20.0;
    r.powerMin = 12.5;
    // 2: on|marker|SMS OFF = 0x15; 5: clip|marker|smsUsers|timed = 0x1B; 30 s -> 300 = 012C.
    EXPECT_EQ(hexOf(encodeAlarms(r)), hexOf(frameFromHex("02 01 15 32 CE 1B 2C 01 00 01 C8 7D")));
}

struct AlarmFlagCase {
    const char* name;
    bool AlarmsRecord::*member;
    const char* block; // from byte 0, the rest 0
};

// Offset 2: temp on 01, out2 by temp 02, marker 04, SMS ON 08, SMS OFF 10.
// Offset 5: CLIP 01, marker 02, CLIP users only 04, SMS users only 08, CLIP timed 10. Offset 9: power.
const AlarmFlagCase kAlarmFlags[] = {
    {"tempEnabled", &AlarmsRecord::tempEnabled, "02 01 05 00 00 02"},
    {"out2ByTemp", &AlarmsRecord::out2ByTemp, "02 01 06 00 00 02"},
    {"tempSmsOn", &AlarmsRecord::tempSmsOn, "02 01 0C 00 00 02"},
    {"tempSmsOff", &AlarmsRecord::tempSmsOff, "02 01 14 00 00 02"},
    {"out1ByClip", &AlarmsRecord::out1ByClip, "02 01 04 00 00 03"},
    {"clipUsersOnly", &AlarmsRecord::clipUsersOnly, "02 01 04 00 00 06"},
    {"smsUsersOnly", &AlarmsRecord::smsUsersOnly, "02 01 04 00 00 0A"},
    {"clipTimed", &AlarmsRecord::clipTimed, "02 01 04 00 00 12"},
    {"powerEnabled", &AlarmsRecord::powerEnabled, "02 01 04 00 00 02 00 00 00 01"}};

void PrintTo(const AlarmFlagCase& c, std::ostream* os)
{
    *os << c.name;
}

class AlarmFlags : public ::testing::TestWithParam<AlarmFlagCase> {};

TEST_P(AlarmFlags, EachFlagAloneGivesItsBlockAndReadsBackAlone)
{
    const AlarmFlagCase c = GetParam();
    AlarmsRecord r;
    r.*c.member = true;
    const Frame m = encodeAlarms(r);
    EXPECT_EQ(hexOf(m), hexOf(frameFromHex(c.block)));
    const AlarmsRecord back = decodeAlarms(m);
    for (const AlarmFlagCase& other : kAlarmFlags)
        EXPECT_EQ(back.*other.member, other.member == c.member) << other.name;
}

INSTANTIATE_TEST_SUITE_P(Bits, AlarmFlags, ::testing::ValuesIn(kAlarmFlags),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AlarmsRecordCodec, MarkerBitsAreDontCareWhenReading)
{
    Frame reply{};
    reply[2] = 0x04;
    reply[5] = 0x02;
    reply[9] = 0xFE;  // bits 1..7 of the power byte mean nothing
    const AlarmsRecord r = decodeAlarms(reply);
    EXPECT_FALSE(r.tempEnabled);
    EXPECT_FALSE(r.out1ByClip);
    EXPECT_FALSE(r.powerEnabled);
    EXPECT_TRUE(r.alwaysTrue);
}

struct TextCase {
    const wchar_t* text;
    std::size_t bytes;  // how many text bytes land in 2..27
};
class TextCodec : public ::testing::TestWithParam<TextCase> {};
TEST_P(TextCodec, BytesThenZeroPadding)
{
    const TextCase c = GetParam();
    const Frame m = encodeText(7, c.text);
    EXPECT_EQ(m[0], 0x02);
    EXPECT_EQ(m[1], 7);
    const std::wstring text = c.text;
    for (std::size_t i = 0; i < 26; ++i) {
        const std::uint8_t want = i < c.bytes ? static_cast<std::uint8_t>(text[i]) : 0;
        EXPECT_EQ(m[2 + i], want) << "offset " << 2 + i;
    }
    EXPECT_EQ(decodeText(m), text.substr(0, c.bytes));
}
INSTANTIATE_TEST_SUITE_P(Lengths, TextCodec,
                         ::testing::Values(TextCase{L"", 0}, TextCase{L"INPUT-1 ON", 10},
                                           TextCase{L"ABCDEFGHIJKLMNOPQRSTUVWXY", 25},
                                           TextCase{L"ABCDEFGHIJKLMNOPQRSTUVWXYZ", 26},
                                           TextCase{L"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123", 26}),
                         [](const auto& info) { return "chars" + std::to_string(wcslen(info.param.text)); });

TEST(TextCodec, LowByteOfEachUnitGoesOut)
{
    const Frame m = encodeText(2, L"A\u0141\u00E9");  // Ł is 0x0141
    EXPECT_EQ(m[2], 0x41);
    EXPECT_EQ(m[3], 0x41);
    EXPECT_EQ(m[4], 0xE9);
    EXPECT_EQ(m[5], 0x00);
}

TEST(TextCodec, ReadStopsAtFirstZeroAndAtOffset27)
{
    Frame reply = frameFromHex("41 42 00 43", 2);
    EXPECT_EQ(decodeText(reply), L"AB");
    reply.fill('Z');
    EXPECT_EQ(decodeText(reply), std::wstring(26, L'Z')) << "bytes 28, 29 are the check word, not text";
}

TEST(TextCodec, BytesAboveAsciiWidenToTheirOwnCodePoint)
{
    const Frame reply = frameFromHex("B3 E9 FF", 2);
    EXPECT_EQ(decodeText(reply), std::wstring(L"\u00B3\u00E9\u00FF"));
}

TEST(ReadRequest, CommandThreeAndBlockOnly)
{
    EXPECT_EQ(hexOf(readRequest(15)), hexOf(frameFromHex("03 0F")));
}

UserRecord sampleUser()
{
    UserRecord u;
    u.enabled = true;
    u.notifyMode = 3;
    u.phone = L"+48123456789";
    return u;
}

TEST(UserRecordCodec, SecondUserWith24HoursByteExact)
{
    UserRecord u = sampleUser();
    u.rightOut = true;
    u.rightClip = true;
    u.timedRights = true;
    u.hours = 24;
    // bits: mode 3 | CLIP 0x80 | OUT 0x100 = 0x0183.
    const Frame expected =
        frameFromHex("02 0C 83 01 2B 34 38 31 32 33 34 35 36 37 38 39 00 00 00 00 18 00 00 03 00");
    EXPECT_EQ(hexOf(encodeUser(1, u)), hexOf(expected));
}

TEST(UserRecordCodec, FirstUserNeverSendsHoursEvenWhenChecked)
{
    UserRecord u = sampleUser();
    u.timedRights = true;
    u.hours = 100;
    const Frame m = encodeUser(0, u);
    EXPECT_EQ(m[1], 11);
    for (std::size_t i = 20; i <= 24; ++i)
        EXPECT_EQ(m[i], 0xFF) << i;
    const UserRecord back = decodeUser(m);
    EXPECT_FALSE(back.timedRights);
    EXPECT_EQ(back.hours, 24);
}

TEST(UserRecordCodec, DisabledUserIsZeroDataAndNoHours)
{
    UserRecord u = sampleUser();
    u.enabled = false;
    u.rightOut = true;
    u.timedRights = true;
    const Frame expected = frameFromHex("02 0F 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 FF FF FF FF FF");
    EXPECT_EQ(hexOf(encodeUser(4, u)), hexOf(expected));
    const UserRecord back = decodeUser(expected);
    EXPECT_FALSE(back.enabled);
    EXPECT_EQ(back.phone, L"");
}

struct RightCase {
    const char* name;
    bool UserRecord::*member;
    std::uint16_t mask;
};
class UserRights : public ::testing::TestWithParam<RightCase> {};
TEST_P(UserRights, EachRightOwnsOneBit)
{
    const RightCase c = GetParam();
    UserRecord u = sampleUser();
    u.notifyMode = 0;
    u.*c.member = true;
    const Frame m = encodeUser(2, u);
    EXPECT_EQ(m[2] | (m[3] << 8), c.mask) << c.name;
    EXPECT_TRUE(decodeUser(m).*c.member) << c.name;
}
INSTANTIATE_TEST_SUITE_P(Bits, UserRights,
                         ::testing::Values(RightCase{"temp", &UserRecord::rightTemp, 0x008},
                                           RightCase{"pwr", &UserRecord::rightPwr, 0x010},
                                           RightCase{"listen", &UserRecord::rightListen, 0x020},
                                           RightCase{"messenger", &UserRecord::rightMessenger, 0x040},
                                           RightCase{"clip", &UserRecord::rightClip, 0x080},
                                           RightCase{"out", &UserRecord::rightOut, 0x100}),
                         [](const auto& info) { return std::string(info.param.name); });

struct PhoneCase {
    std::wstring phone;
    std::size_t stored;
};
class PhoneCodec : public ::testing::TestWithParam<PhoneCase> {};
TEST_P(PhoneCodec, CutOrPaddedToSixteenBytes)
{
    const PhoneCase c = GetParam();
    UserRecord u = sampleUser();
    u.phone = c.phone;
    const Frame m = encodeUser(3, u);
    for (std::size_t i = 0; i < 16; ++i)
        EXPECT_EQ(m[4 + i], i < c.stored ? static_cast<std::uint8_t>(c.phone[i]) : 0) << "offset " << 4 + i;
    EXPECT_EQ(m[20], 0xFF) << "phone never spills into the hours";
    EXPECT_EQ(decodeUser(m).phone, c.phone.substr(0, c.stored));
}
INSTANTIATE_TEST_SUITE_P(Lengths, PhoneCodec,
                         ::testing::Values(PhoneCase{L"1", 1}, PhoneCase{L"123456789012345", 15},
                                           PhoneCase{L"1234567890123456", 16},
                                           PhoneCase{L"12345678901234567890", 16}),
                         [](const auto& info) { return "digits" + std::to_string(info.param.phone.size()); });

struct HoursCase {
    std::int32_t hours;
    const char* bytes;  // offsets 20..24
};
class HoursCodec : public ::testing::TestWithParam<HoursCase> {};
TEST_P(HoursCodec, HoursAndTenthsPlusOne)
{
    const HoursCase c = GetParam();
    UserRecord u = sampleUser();
    u.timedRights = true;
    u.hours = c.hours;
    const Frame m = encodeUser(1, u);
    Frame got{};
    std::copy(m.begin() + 20, m.begin() + 25, got.begin());
    EXPECT_EQ(hexOf(got), hexOf(frameFromHex(c.bytes)));
    const UserRecord back = decodeUser(m);
    EXPECT_TRUE(back.timedRights);
    EXPECT_EQ(back.hours, c.hours);
}
INSTANTIATE_TEST_SUITE_P(Values, HoursCodec,
                         ::testing::Values(HoursCase{24, "18 00 00 03 00"}, HoursCase{0, "00 00 00 01 00"},
                                           HoursCase{9, "09 00 00 01 00"}, HoursCase{999, "E7 03 00 64 00"}),
                         [](const auto& info) { return "hours" + std::to_string(info.param.hours); });

TEST(UserRecordCodec, ReadingIgnoresTheTenthsAndMasksTheMode)
{
    Frame reply = frameFromHex("FD 00 31 00 00", 2);  // mode bits 101 plus rights, phone "1"
    reply[20] = 0xFF;
    reply[21] = 0xFF;
    reply[22] = 0xFF;
    reply[23] = 0x12;
    const UserRecord u = decodeUser(reply);
    EXPECT_EQ(u.notifyMode, 5);
    EXPECT_TRUE(u.enabled);
    EXPECT_FALSE(u.timedRights);
    EXPECT_EQ(u.hours, 24);
}
