// Blocks from and onto a settings value, with no window: what programming sends of a value, what
// reading makes of a block, and the tidy-up a reading ends with.
#include "protocol/SettingsBlocks.h"

#include "CaseName.h"
#include "FrameText.h"

#include <gtest/gtest.h>

#include <functional>

using namespace kes;
using testing_frames::frameFromHex;
using testing_frames::hexOf;

namespace {

struct Sent {
    const char* name;
    std::function<void(Settings&)> set;  // on the defaults
    std::uint8_t block;
    const char* frame;
};

const Sent sent[] = {
    // Numbers as the edits read them: "12abc" is 12 s (120 tenths), a blank volts text 0.
    {"times read as the edits read them", [](Settings& s) { s.in1Time = L"12abc"; s.out2InputTime = L" 3"; }, 0,
     "02 00 57 4B 54 52 34 38 32 31 04 78 00 00 0A 00 00 04 0A 00 00 1E 00 00"},
    {"output 1 timed goes out as not following",
     [](Settings& s) { s.out1ByInput = s.out1InputTimed = s.out2ByInput = s.out2InputTimed = true; }, 0,
     "02 00 57 4B 54 52 34 38 32 31 24 0A 00 00 0A 00 00 34 0A 00 00 0A 00 00"},
    {"volts times ten, truncated", [](Settings& s) { s.powerMax = L"12.59"; s.powerMin = L""; }, 1,
     "02 01 04 32 0A 02 0A 00 00 00 7D 00"},
    {"a text of its block", [](Settings& s) { s.tempName = L"Piwnica"; }, 6, "02 06 50 69 77 6E 69 63 61"},
    {"PODSŁUCH sends no CLIP beside it",
     [](Settings& s) {
         s.users[1].active = s.users[1].rightClip = s.users[1].rightListen = true;
         s.users[1].phone = L"48";
     },
     12, "02 0C 20 00 34 38 00 00 00 00 00 00 00 00 00 00 00 00 00 00 FF FF FF FF FF"},
};

class SettingsSent : public ::testing::TestWithParam<Sent> {};

TEST_P(SettingsSent, AsProgrammingSendsThem)
{
    Settings s;
    GetParam().set(s);
    EXPECT_EQ(hexOf(encodeBlock(GetParam().block, s)), hexOf(frameFromHex(GetParam().frame)));
}

INSTANTIATE_TEST_SUITE_P(Blocks, SettingsSent, ::testing::ValuesIn(sent), casename::ByName());

TEST(SettingsRead, BlocksAsReadingPutsThemWholeUntilFittedToTheFields)
{
    Settings s;
    s.users[3].phone = L"600";
    decodeBlock(1, frameFromHex("03 01 04 CE 0A 02 0F 00 00 01 7D 78"), s);
    decodeBlock(14, frameFromHex("03 0E 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 FF FF FF"), s);
    decodeBlock(4, frameFromHex("03 04 42 72 61 6D 61 20 77 6A 61 7A 64 6F 77 61 20 32"), s);
    EXPECT_EQ(s.tempMax, L"-50");
    EXPECT_EQ(s.out1ClipTime, L"1") << "15 tenths";
    EXPECT_EQ(s.powerMax, L"12.5");
    EXPECT_EQ(s.powerMin, L"12.0");
    EXPECT_FALSE(s.users[3].active);
    EXPECT_EQ(s.users[3].phone, L"") << "no number for a user switched off";
    EXPECT_EQ(s.users[3].rightsHours, L"24");
    EXPECT_EQ(s.out1Name, L"Brama wjazdowa 2");

    fitToFields(s);
    EXPECT_EQ(s.powerMax, L"12");
    EXPECT_EQ(s.out1Name, L"Brama wjazdowa ");
}

TEST(SettingsRead, TheTidyWorksOutTheOutputsAndTheAvailability)
{
    Settings s;
    s.out1InputTimed = true;
    s.smsUsersOnly = true;
    s.users[2].active = true;
    tidyAfterReading(s);
    EXPECT_TRUE(s.out1ByInput);
    EXPECT_TRUE(s.out1Enabled);
    EXPECT_TRUE(s.out2Enabled) << "SMS users-only alone";
    EXPECT_TRUE(s.smsUsersOnlyAvailable);
    EXPECT_FALSE(s.out2ByTempAvailable);
    EXPECT_TRUE(s.users[2].rightOutAvailable);
    EXPECT_FALSE(s.users[1].rightOutAvailable) << "a user not active";
    EXPECT_TRUE(s.users[2].rightListenAvailable);
}

} // namespace
