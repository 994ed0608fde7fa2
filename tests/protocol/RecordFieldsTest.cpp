#include "FrameText.h"
#include "ModuleWindow.h"
#include "ProtocolFixture.h"

#include "model/Catalogue.h"
#include "model/SettingsView.h"
#include "protocol/SettingsBlocks.h"

#include <gtest/gtest.h>

#include <functional>

using namespace kes;
using protocol_tests::ModuleWindow;

namespace {

class RecordFields : public ::testing::Test {
protected:
    void SetUp() override { protocol_tests::resetProtocolGlobals(); }
    ModuleWindow window;
};

// As reading puts a block into the window.
void putBlock(std::uint8_t block, const Frame& reply)
{
    Settings settings = windowSettings();
    decodeBlock(block, reply, settings);
    showSettings(settings);
}

Frame windowBlock(std::uint8_t block) { return encodeBlock(block, windowSettings()); }

void tidyWindowAfterReading()
{
    Settings settings = windowSettings();
    tidyAfterReading(settings);
    showSettings(settings);
}

} // namespace

struct OutputTimingCase {
    const char* name;
    bool byInput, timed;
    std::uint8_t out1Bits;  // bits 4, 5 of offset 10
    std::uint8_t out2Bits;  // bits 4, 5 of offset 17
};
class OutputTiming : public RecordFields, public ::testing::WithParamInterface<OutputTimingCase> {};

TEST_P(OutputTiming, Output1ClearsFollowWhenTimedOutput2SendsBoth)
{
    const OutputTimingCase c = GetParam();
    ::out1ByInput.setChecked(c.byInput);
    ::out1InputTimed.setChecked(c.timed);
    ::out2ByInput.setChecked(c.byInput);
    ::out2InputTimed.setChecked(c.timed);
    const Frame m = windowBlock(0);
    EXPECT_EQ(m[10] & 0x30, c.out1Bits) << c.name;
    EXPECT_EQ(m[17] & 0x30, c.out2Bits) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Combinations, OutputTiming,
                         ::testing::Values(OutputTimingCase{"neither", false, false, 0x00, 0x00},
                                           OutputTimingCase{"byInput", true, false, 0x10, 0x10},
                                           OutputTimingCase{"timedOnly", false, true, 0x20, 0x20},
                                           OutputTimingCase{"both", true, true, 0x20, 0x30}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RecordFields, GatheringReadsTheLiveControlsNotTheBoundValues)
{
    SetWindowTextW(window.control(ids::in1Time), L"99999");
    SetWindowTextW(window.control(ids::simPin), L"");
    SendMessageW(window.control(ids::in1Wiring), CB_SETCURSEL, 3, 0);
    const Frame m = windowBlock(0);
    EXPECT_EQ(m[11], 0x36);
    EXPECT_EQ(m[12], 0x42);
    EXPECT_EQ(m[13], 0x0F);
    EXPECT_EQ(m[6], 0);
    EXPECT_EQ(m[10] & 0x3, 0x3);
    EXPECT_EQ(m[2], 'W') << "default access code WKTR";
}

TEST_F(RecordFields, ListenRightClearsClipInTheWindowAndTheBlock)
{
    ::userActive[2].setChecked(true);
    ::userRightClip[2].setChecked(true);
    ::userRightListen[2].setChecked(true);
    const UserRecord r = decodeUser(stepMessage(14));
    EXPECT_FALSE(r.rightClip);
    EXPECT_TRUE(r.rightListen);
    EXPECT_FALSE(window.checked(ids::userId(2, ids::UserOffset::RightClip)));
    EXPECT_EQ(encodeUser(2, r)[2] & 0x80, 0);
    EXPECT_EQ(encodeUser(2, r)[2] & 0x20, 0x20);
}

TEST_F(RecordFields, ClipWithoutListenIsKept)
{
    ::userActive[1].setChecked(true);
    ::userRightClip[1].setChecked(true);
    EXPECT_TRUE(decodeUser(stepMessage(13)).rightClip);
    EXPECT_TRUE(window.checked(ids::userId(1, ids::UserOffset::RightClip)));
}

TEST_F(RecordFields, AlarmsGatheredWithTheirEncodings)
{
    ::tempMin.setText(L"-50");
    ::tempMax.setText(L"120");
    ::powerMax.setText(L"25");
    ::powerMin.setText(L"10");
    const Frame m = windowBlock(1);
    EXPECT_EQ(m[3], 0x78);
    EXPECT_EQ(m[4], 0xCE);
    EXPECT_EQ(m[10], 250);
    EXPECT_EQ(m[11], 100);
    EXPECT_EQ(m[2], 0x04) << "only the always-set bit with every box unchecked";
    EXPECT_EQ(m[5], 0x02);
}

struct AlarmBoxCase {
    const char* name;
    OptionControl* box;
    int id;
    const char* block; // with every other setting at its default
};

// Defaults: max 50 C = 32, min 10 C = 0A, CLIP 1 s = 0A 00 00, 20 V = C8, 12 V = 78.
const AlarmBoxCase kAlarmBoxes[] = {
    {"tempEnabled", &::tempEnabled, ids::tempEnabled, "02 01 05 32 0A 02 0A 00 00 00 C8 78"},
    {"out2ByTemp", &::out2ByTemp, ids::out2ByTemp, "02 01 06 32 0A 02 0A 00 00 00 C8 78"},
    {"tempSmsOn", &::tempSmsOn, ids::tempSmsOn, "02 01 0C 32 0A 02 0A 00 00 00 C8 78"},
    {"tempSmsOff", &::tempSmsOff, ids::tempSmsOff, "02 01 14 32 0A 02 0A 00 00 00 C8 78"},
    {"out1ByClip", &::out1ByClip, ids::out1ByClip, "02 01 04 32 0A 03 0A 00 00 00 C8 78"},
    {"out1ClipUsersOnly", &::out1ClipUsersOnly, ids::out1ClipUsersOnly, "02 01 04 32 0A 06 0A 00 00 00 C8 78"},
    {"smsUsersOnly", &::smsUsersOnly, ids::smsUsersOnly, "02 01 04 32 0A 0A 0A 00 00 00 C8 78"},
    {"out1ClipTimed", &::out1ClipTimed, ids::out1ClipTimed, "02 01 04 32 0A 12 0A 00 00 00 C8 78"},
    {"powerEnabled", &::powerEnabled, ids::powerEnabled, "02 01 04 32 0A 02 0A 00 00 01 C8 78"}};

void PrintTo(const AlarmBoxCase& c, std::ostream* os)
{
    *os << c.name;
}

class AlarmBoxes : public RecordFields, public ::testing::WithParamInterface<AlarmBoxCase> {};

TEST_P(AlarmBoxes, OneCheckedBoxGoesToItsBitAndComesBackToItsBox)
{
    const AlarmBoxCase c = GetParam();
    c.box->setChecked(true);
    EXPECT_EQ(testing_frames::hexOf(windowBlock(1)), testing_frames::hexOf(testing_frames::frameFromHex(c.block)));

    c.box->setChecked(false);
    putBlock(1, testing_frames::frameFromHex(c.block));
    for (const AlarmBoxCase& other : kAlarmBoxes)
        EXPECT_EQ(window.checked(other.id), other.id == c.id) << other.name;
}

INSTANTIATE_TEST_SUITE_P(Bits, AlarmBoxes, ::testing::ValuesIn(kAlarmBoxes),
                         [](const auto& info) { return std::string(info.param.name); });

struct PutNumberCase {
    const char* name;
    std::function<void()> put;
    int id;
    const wchar_t* shown;
};
class PutNumbers : public RecordFields, public ::testing::WithParamInterface<PutNumberCase> {};
TEST_P(PutNumbers, ShownText)
{
    GetParam().put();
    EXPECT_EQ(window.text(GetParam().id), GetParam().shown) << GetParam().name;
}
INSTANTIATE_TEST_SUITE_P(
    Values, PutNumbers,
    ::testing::Values(
        // The voltage edits hold two characters: "20.0" and "12.5" are cut to their whole volts.
        PutNumberCase{"voltage12_5", [] { AlarmsRecord r; r.powerMax = 12.5; putBlock(1, encodeAlarms(r)); }, ids::powerMax, L"12"},
        PutNumberCase{"voltage20", [] { AlarmsRecord r; r.powerMin = 20.0; putBlock(1, encodeAlarms(r)); }, ids::powerMin, L"20"},
        PutNumberCase{"tempMinus50", [] { AlarmsRecord r; r.tempMin = -50; putBlock(1, encodeAlarms(r)); }, ids::tempMin, L"-50"},
        PutNumberCase{"time15tenths", [] {
            Frame m{};
            m[11] = 15;
            putBlock(0, m);
        }, ids::in1Time, L"1"},
        PutNumberCase{"emptyPin", [] {
            Frame m{};
            m[7] = '1';  // only the first byte decides
            m[8] = '2';
            putBlock(0, m);
        }, ids::simPin, L""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RecordFields, DisabledUserShowsEmptyPhoneAndUncheckedRow)
{
    ::userActive[3].setChecked(true);
    putBlock(userBlock(3), encodeUser(3, UserRecord{}));  // a disabled user's block
    EXPECT_FALSE(window.checked(ids::userId(3, ids::UserOffset::Active)));
    EXPECT_EQ(window.text(ids::userId(3, ids::UserOffset::Phone)), L"");
    EXPECT_EQ(window.text(ids::userId(3, ids::UserOffset::RightsHours)), L"24");
    EXPECT_FALSE(window.checked(ids::userId(3, ids::UserOffset::TimedRights)));
}

TEST_F(RecordFields, TextFieldsByBlock)
{
    const SettingsText expected[] = {&Settings::in1Name,      &Settings::in2Name,      &Settings::out1Name,
                                     &Settings::out2Name,     &Settings::tempName,     &Settings::in1SmsOnText,
                                     &Settings::in2SmsOnText, &Settings::in1SmsOffText, &Settings::in2SmsOffText};
    for (std::uint8_t b = firstTextBlock; b <= lastTextBlock; ++b)
        EXPECT_TRUE(textOfBlock(b) == expected[b - firstTextBlock]) << int(b);
}

struct TidyCase {
    const char* name;
    std::function<void()> set;
    bool out1ByInput, out2ByInput, out1Enabled, out2Enabled;
};
class Tidy : public RecordFields, public ::testing::WithParamInterface<TidyCase> {};
TEST_P(Tidy, DerivedOutputBoxes)
{
    const TidyCase c = GetParam();
    c.set();
    tidyWindowAfterReading();
    EXPECT_EQ(window.checked(ids::out1ByInput), c.out1ByInput) << c.name;
    EXPECT_EQ(window.checked(ids::out2ByInput), c.out2ByInput) << c.name;
    EXPECT_EQ(window.checked(ids::out1Enabled), c.out1Enabled) << c.name;
    EXPECT_EQ(window.checked(ids::out2Enabled), c.out2Enabled) << c.name;
}
INSTANTIATE_TEST_SUITE_P(
    Cases, Tidy,
    ::testing::Values(TidyCase{"nothing", [] {}, false, false, false, false},
                      TidyCase{"out1Timed", [] { ::out1InputTimed.setChecked(true); }, true, false, true, false},
                      TidyCase{"out2Timed", [] { ::out2InputTimed.setChecked(true); }, false, true, false, true},
                      TidyCase{"smsUsersOnly", [] { ::smsUsersOnly.setChecked(true); }, false, false, true, true},
                      TidyCase{"clip", [] { ::out1ByClip.setChecked(true); }, false, false, true, false},
                      TidyCase{"temp", [] { ::out2ByTemp.setChecked(true); }, false, false, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RecordFields, TidyAppliesTheAvailabilityRules)
{
    ::userActive[1].setChecked(true);
    ::smsUsersOnly.setChecked(true);
    ::tempEnabled.setChecked(true);
    ::tempSmsOn.setChecked(true);
    EXPECT_FALSE(window.enabled(ids::userId(1, ids::UserOffset::RightOut)));
    tidyWindowAfterReading();
    EXPECT_TRUE(window.enabled(ids::userId(1, ids::UserOffset::RightOut)));
    EXPECT_TRUE(window.enabled(ids::userId(1, ids::UserOffset::RightTemp)));
    EXPECT_TRUE(window.enabled(ids::smsUsersOnly));
    EXPECT_FALSE(window.enabled(ids::userId(2, ids::UserOffset::RightOut))) << "inactive user";
}
