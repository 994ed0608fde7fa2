// Availability rules and the refresh after a click, on a window with every catalogue control.
#include "TestWindow.h"

#include "model/Catalogue.h"
#include "model/EnableRules.h"
#include "model/SettingsView.h"
#include "CaseName.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace testing_model;
using model::UserRule;

namespace {

class RulesWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetCatalogue();
        addCatalogueControls(window);
        attachCatalogue(window.hwnd());
    }
    HWND item(int id) const { return window.item(id); }

    // A click: the automatic box toggles itself, then the program refreshes.
    void click(int id)
    {
        toggle(item(id));
        EXPECT_TRUE(model::refreshOnClick(id)) << id;
    }
    // Check states only, with nothing re-applied.
    void check(std::initializer_list<int> boxes)
    {
        for (int id : boxes)
            SendMessageW(item(id), BM_SETCHECK, BST_CHECKED, 0);
    }

    TestWindow window;
};

constexpr int kUser = 2;

int right(UserRule rule, int user = kUser)
{
    switch (rule) {
    case UserRule::Out:
        return ids::userId(user, ids::UserOffset::RightOut);
    case UserRule::Temp:
        return ids::userId(user, ids::UserOffset::RightTemp);
    case UserRule::Pwr:
        return ids::userId(user, ids::UserOffset::RightPwr);
    case UserRule::Clip:
        return ids::userId(user, ids::UserOffset::RightClip);
    case UserRule::Listen:
        return ids::userId(user, ids::UserOffset::RightListen);
    }
    return 0;
}

const int kActive = ids::userId(kUser, ids::UserOffset::Active);

struct RuleCase {
    const char* what;
    UserRule rule;
    std::vector<int> checkedBoxes;
    bool available;
};

void PrintTo(const RuleCase& c, std::ostream* os)
{
    *os << c.what;
}

class UserRules : public RulesWindow, public ::testing::WithParamInterface<RuleCase> {};

TEST_P(UserRules, DecideWhetherTheRightCanBeUsed)
{
    const RuleCase& c = GetParam();
    for (int id : c.checkedBoxes)
        SendMessageW(item(id), BM_SETCHECK, BST_CHECKED, 0);
    // Boxes count with their state even while disabled: leave every dependent disabled.
    model::applyUserRule(c.rule, kUser);
    EXPECT_EQ(enabled(item(right(c.rule))), c.available) << c.what;
    // Other users are not touched.
    EXPECT_FALSE(enabled(item(right(c.rule, kUser + 1)))) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, UserRules,
    ::testing::Values(
        RuleCase{"OUT: inactive user", UserRule::Out, {10023, 10033}, false},
        RuleCase{"OUT: no output", UserRule::Out, {kActive, 10033}, false},
        RuleCase{"OUT: not users only", UserRule::Out, {kActive, 10023}, false},
        RuleCase{"OUT: output 1", UserRule::Out, {kActive, 10023, 10033}, true},
        RuleCase{"OUT: output 2", UserRule::Out, {kActive, 10034, 10033}, true},
        RuleCase{"TEMP: no SMS", UserRule::Temp, {kActive, 10040}, false},
        RuleCase{"TEMP: SMS ON", UserRule::Temp, {kActive, 10040, 10042}, true},
        RuleCase{"TEMP: SMS OFF", UserRule::Temp, {kActive, 10040, 10043}, true},
        RuleCase{"TEMP: alarm off", UserRule::Temp, {kActive, 10042, 10043}, false},
        RuleCase{"TEMP: inactive user", UserRule::Temp, {10040, 10042}, false},
        RuleCase{"PWR: on", UserRule::Pwr, {kActive, 10048}, true},
        RuleCase{"PWR: alarm off", UserRule::Pwr, {kActive}, false},
        RuleCase{"PWR: inactive user", UserRule::Pwr, {10048}, false},
        RuleCase{"CLIP: all", UserRule::Clip, {kActive, 10023, 10029, 10030}, true},
        RuleCase{"CLIP: not users only", UserRule::Clip, {kActive, 10023, 10029}, false},
        RuleCase{"CLIP: output off", UserRule::Clip, {kActive, 10029, 10030}, false},
        RuleCase{"CLIP: no CLIP control", UserRule::Clip, {kActive, 10023, 10030}, false},
        RuleCase{"PODSŁUCH: no CLIP control", UserRule::Listen, {kActive}, true},
        RuleCase{"PODSŁUCH: CLIP without output", UserRule::Listen, {kActive, 10029}, true},
        RuleCase{"PODSŁUCH: CLIP control for all", UserRule::Listen, {kActive, 10023, 10029}, false},
        RuleCase{"PODSŁUCH: CLIP control for users", UserRule::Listen, {kActive, 10023, 10029, 10030}, true},
        RuleCase{"PODSŁUCH: inactive user", UserRule::Listen, {}, false}),
    [](const auto& info) { return casename::clean(info.param.what); });

TEST_F(RulesWindow, OutRightNeedsAnOutputAndUsersOnly)
{
    click(kActive);
    EXPECT_FALSE(enabled(item(right(UserRule::Out))));
    EXPECT_FALSE(enabled(item(10033)));  // smsUsersOnly unavailable without an output
    click(10023);
    EXPECT_TRUE(enabled(item(10033)));
    EXPECT_FALSE(enabled(item(right(UserRule::Out))));
    click(10033);
    EXPECT_TRUE(enabled(item(right(UserRule::Out))));
    EXPECT_TRUE(userRightOutAvailable[kUser].isEnabled());
    click(10023);  // the last output goes off
    EXPECT_FALSE(enabled(item(10033)));
    EXPECT_FALSE(enabled(item(right(UserRule::Out))));
}

TEST_F(RulesWindow, ListenRightFollowsClipControl)
{
    click(kActive);
    EXPECT_TRUE(enabled(item(right(UserRule::Listen))));
    click(10023);
    click(10029);
    EXPECT_FALSE(enabled(item(right(UserRule::Listen))));
    EXPECT_FALSE(enabled(item(right(UserRule::Clip))));
    click(10030);
    EXPECT_TRUE(enabled(item(right(UserRule::Listen))));
    EXPECT_TRUE(enabled(item(right(UserRule::Clip))));
    click(kActive);  // the user goes off: every right with him
    for (UserRule rule : {UserRule::Out, UserRule::Temp, UserRule::Pwr, UserRule::Clip, UserRule::Listen})
        EXPECT_FALSE(enabled(item(right(rule))));
}

TEST_F(RulesWindow, UncheckingOutput1DisablesTheWholeClipBranch)
{
    click(10023);
    click(10029);
    click(10030);
    click(10031);
    for (int id : {10029, 10030, 10031, 10032})
        ASSERT_TRUE(enabled(item(id))) << id;
    click(10023);
    for (int id : {10024, 10025, 10029, 10030, 10031, 10032})
        EXPECT_FALSE(enabled(item(id))) << id;
    EXPECT_TRUE(checked(item(10029)));
    EXPECT_TRUE(checked(item(10031)));
    click(10023);  // and back, with the states kept
    for (int id : {10029, 10030, 10031, 10032})
        EXPECT_TRUE(enabled(item(id))) << id;
}

TEST_F(RulesWindow, InputBoxCascadesToItsMessageTexts)
{
    click(10005);
    click(10010);
    EXPECT_TRUE(enabled(item(10011)));
    click(10005);
    EXPECT_FALSE(enabled(item(10010)));
    EXPECT_FALSE(enabled(item(10011)));
    click(10014);
    click(10021);
    EXPECT_TRUE(enabled(item(10022)));
    EXPECT_FALSE(enabled(item(10020)));
}

TEST_F(RulesWindow, TemperatureControlOfOutput2NeedsBoth)
{
    click(10034);
    EXPECT_FALSE(enabled(item(10039)));
    click(10040);
    EXPECT_TRUE(enabled(item(10039)));
    click(10039);
    click(10040);
    EXPECT_FALSE(enabled(item(10039)));
    EXPECT_TRUE(checked(item(10039)));
}

TEST_F(RulesWindow, TemperatureAndPowerRightsFollowTheirAlarms)
{
    click(ids::userId(0, ids::UserOffset::Active));
    click(ids::userId(4, ids::UserOffset::Active));
    click(10040);
    EXPECT_FALSE(enabled(item(ids::userId(0, ids::UserOffset::RightTemp))));
    click(10043);
    EXPECT_TRUE(enabled(item(ids::userId(0, ids::UserOffset::RightTemp))));
    EXPECT_TRUE(enabled(item(ids::userId(4, ids::UserOffset::RightTemp))));
    EXPECT_FALSE(enabled(item(ids::userId(1, ids::UserOffset::RightTemp))));
    click(10048);
    EXPECT_TRUE(enabled(item(ids::userId(4, ids::UserOffset::RightPwr))));
    click(10048);
    EXPECT_FALSE(enabled(item(ids::userId(4, ids::UserOffset::RightPwr))));
}

TEST_F(RulesWindow, TimedRightsFollowTheirUser)
{
    const int timed = ids::userId(3, ids::UserOffset::TimedRights);
    const int hours = ids::userId(3, ids::UserOffset::RightsHours);
    click(ids::userId(3, ids::UserOffset::Active));
    EXPECT_TRUE(enabled(item(timed)));
    EXPECT_FALSE(enabled(item(hours)));
    click(timed);
    EXPECT_TRUE(enabled(item(hours)));
    click(ids::userId(3, ids::UserOffset::Active));
    EXPECT_FALSE(enabled(item(timed)));
    EXPECT_FALSE(enabled(item(hours)));
}

TEST_F(RulesWindow, AllRulesAtOnce)
{
    check({10023, 10033, 10040, 10042, 10034, ids::userId(1, ids::UserOffset::Active)});
    kes::Settings settings = kes::windowSettings();
    model::applyAvailabilityRules(settings);
    kes::showSettings(settings);
    EXPECT_TRUE(out2ByTempAvailable.isEnabled());
    EXPECT_TRUE(smsUsersOnlyAvailable.isEnabled());
    EXPECT_TRUE(enabled(item(ids::userId(1, ids::UserOffset::RightOut))));
    EXPECT_TRUE(enabled(item(ids::userId(1, ids::UserOffset::RightTemp))));
    EXPECT_FALSE(enabled(item(ids::userId(1, ids::UserOffset::RightPwr))));
    EXPECT_TRUE(enabled(item(ids::userId(1, ids::UserOffset::RightListen))));
    EXPECT_FALSE(enabled(item(ids::userId(0, ids::UserOffset::RightOut))));
}

constexpr int u(int user, ids::UserOffset offset) { return ids::userId(user, offset); }
using Off = ids::UserOffset;
const int kActive0 = u(0, Off::Active);
const int kActive4 = u(4, Off::Active);

struct ClickCase {
    const char* name;
    std::function<void()> before; // through the fields: dependents applied
    std::vector<int> checkedOnly; // check states alone, nothing re-applied
    int clicked;
    std::vector<int> enabledAfter;  // all disabled before the click
    std::vector<int> disabledAfter;
};

void PrintTo(const ClickCase& c, std::ostream* os)
{
    *os << c.name;
}

class ClickRefresh : public RulesWindow, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(ClickRefresh, EnablesWhatTheClickedBoxGoverns)
{
    const ClickCase& c = GetParam();
    if (c.before)
        c.before();
    for (int id : c.checkedOnly)
        SendMessageW(item(id), BM_SETCHECK, BST_CHECKED, 0);
    for (int id : c.enabledAfter)
        ASSERT_FALSE(enabled(item(id))) << id << " must start disabled for the click to show";
    click(c.clicked);
    for (int id : c.enabledAfter)
        EXPECT_TRUE(enabled(item(id))) << id;
    for (int id : c.disabledAfter)
        EXPECT_FALSE(enabled(item(id))) << id;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ClickRefresh,
    ::testing::Values(
        ClickCase{"in1Enabled", nullptr, {ids::in1SmsOn, ids::in1SmsOff}, ids::in1Enabled,
                  {ids::in1Name, ids::in1Wiring, ids::in1Time, ids::in1SmsOn, ids::in1SmsOnText, ids::in1SmsOff,
                   ids::in1SmsOffText}, {}},
        ClickCase{"in1SmsOn", [] { in1Enabled.setChecked(true); }, {}, ids::in1SmsOn, {ids::in1SmsOnText},
                  {ids::in1SmsOffText}},
        ClickCase{"in1SmsOff", [] { in1Enabled.setChecked(true); }, {}, ids::in1SmsOff, {ids::in1SmsOffText},
                  {ids::in1SmsOnText}},
        ClickCase{"in2Enabled", nullptr, {ids::in2SmsOn, ids::in2SmsOff}, ids::in2Enabled,
                  {ids::in2Name, ids::in2Wiring, ids::in2Time, ids::in2SmsOn, ids::in2SmsOnText, ids::in2SmsOff,
                   ids::in2SmsOffText}, {}},
        ClickCase{"in2SmsOn", [] { in2Enabled.setChecked(true); }, {}, ids::in2SmsOn, {ids::in2SmsOnText},
                  {ids::in2SmsOffText}},
        ClickCase{"in2SmsOff", [] { in2Enabled.setChecked(true); }, {}, ids::in2SmsOff, {ids::in2SmsOffText},
                  {ids::in2SmsOnText}},
        ClickCase{"out1Enabled", nullptr,
                  {ids::out1ByInput, ids::out1InputTimed, ids::out1ByClip, ids::out1ClipUsersOnly,
                   ids::out1ClipTimed, ids::smsUsersOnly, kActive0, kActive4},
                  ids::out1Enabled,
                  {ids::out1Name, ids::out1ByInput, ids::out1InputTimed, ids::out1InputTime, ids::out1ByClip,
                   ids::out1ClipUsersOnly, ids::out1ClipTimed, ids::out1ClipTime, ids::smsUsersOnly,
                   u(0, Off::RightClip), u(4, Off::RightClip), u(0, Off::RightListen), u(4, Off::RightListen),
                   u(0, Off::RightOut), u(4, Off::RightOut)},
                  {u(2, Off::RightClip), u(2, Off::RightListen), u(2, Off::RightOut)}},
        ClickCase{"out1ByInput", [] { out1Enabled.setChecked(true); }, {ids::out1InputTimed}, ids::out1ByInput,
                  {ids::out1InputTimed, ids::out1InputTime}, {}},
        ClickCase{"out1InputTimed", [] { out1Enabled.setChecked(true); out1ByInput.setChecked(true); }, {},
                  ids::out1InputTimed, {ids::out1InputTime}, {}},
        ClickCase{"out1ClipTimed", [] { out1Enabled.setChecked(true); out1ByClip.setChecked(true); }, {},
                  ids::out1ClipTimed, {ids::out1ClipTime}, {}},
        ClickCase{"out1ByClip", [] { out1Enabled.setChecked(true); },
                  {ids::out1ClipUsersOnly, ids::out1ClipTimed, kActive0, kActive4}, ids::out1ByClip,
                  {ids::out1ClipUsersOnly, ids::out1ClipTimed, ids::out1ClipTime, u(0, Off::RightClip),
                   u(4, Off::RightClip), u(0, Off::RightListen), u(4, Off::RightListen)},
                  {u(1, Off::RightClip)}},
        ClickCase{"out1ClipUsersOnly", nullptr, {ids::out1Enabled, ids::out1ByClip, kActive0, kActive4},
                  ids::out1ClipUsersOnly,
                  {u(0, Off::RightClip), u(4, Off::RightClip), u(0, Off::RightListen), u(4, Off::RightListen)},
                  {u(1, Off::RightClip), u(1, Off::RightListen)}},
        ClickCase{"smsUsersOnly", nullptr, {ids::out2Enabled, kActive0, kActive4}, ids::smsUsersOnly,
                  {u(0, Off::RightOut), u(4, Off::RightOut)}, {u(2, Off::RightOut)}},
        ClickCase{"out2Enabled", nullptr,
                  {ids::out2ByInput, ids::out2InputTimed, ids::tempEnabled, ids::tempSmsOn, ids::smsUsersOnly,
                   kActive0, kActive4},
                  ids::out2Enabled,
                  {ids::out2Name, ids::out2ByInput, ids::out2InputTimed, ids::out2InputTime, ids::out2ByTemp,
                   ids::smsUsersOnly, u(0, Off::RightTemp), u(4, Off::RightTemp), u(0, Off::RightOut),
                   u(4, Off::RightOut)},
                  {u(3, Off::RightOut)}},
        ClickCase{"out2ByInput", [] { out2Enabled.setChecked(true); }, {ids::out2InputTimed}, ids::out2ByInput,
                  {ids::out2InputTimed, ids::out2InputTime}, {}},
        ClickCase{"out2InputTimed", [] { out2Enabled.setChecked(true); out2ByInput.setChecked(true); }, {},
                  ids::out2InputTimed, {ids::out2InputTime}, {}},
        ClickCase{"tempEnabled", nullptr, {ids::out2Enabled, ids::tempSmsOff, kActive0, kActive4}, ids::tempEnabled,
                  {ids::tempName, ids::tempSmsOn, ids::tempSmsOff, ids::tempMax, ids::tempMin, ids::out2ByTemp,
                   u(0, Off::RightTemp), u(4, Off::RightTemp)},
                  {u(2, Off::RightTemp)}},
        ClickCase{"tempSmsOn", nullptr, {ids::tempEnabled, kActive0, kActive4}, ids::tempSmsOn,
                  {u(0, Off::RightTemp), u(4, Off::RightTemp)}, {u(2, Off::RightTemp)}},
        ClickCase{"tempSmsOff", nullptr, {ids::tempEnabled, kActive0, kActive4}, ids::tempSmsOff,
                  {u(0, Off::RightTemp), u(4, Off::RightTemp)}, {u(2, Off::RightTemp)}},
        ClickCase{"powerEnabled", nullptr, {kActive0, kActive4}, ids::powerEnabled,
                  {ids::powerMax, ids::powerMin, u(0, Off::RightPwr), u(4, Off::RightPwr)}, {u(2, Off::RightPwr)}},
        ClickCase{"userActive", nullptr,
                  {ids::out1Enabled, ids::smsUsersOnly, ids::tempEnabled, ids::tempSmsOn, ids::powerEnabled,
                   ids::out1ByClip, ids::out1ClipUsersOnly, u(3, Off::TimedRights)},
                  u(3, Off::Active),
                  {u(3, Off::Phone), u(3, Off::Notify), u(3, Off::RightOut), u(3, Off::RightTemp),
                   u(3, Off::RightPwr), u(3, Off::RightClip), u(3, Off::RightListen), u(3, Off::RightMessenger),
                   u(3, Off::TimedRights), u(3, Off::RightsHours)},
                  {u(2, Off::RightOut), u(4, Off::RightPwr)}},
        ClickCase{"userTimedRights", [] { userActive[1].setChecked(true); }, {}, u(1, Off::TimedRights),
                  {u(1, Off::RightsHours)}, {}}),
    [](const ::testing::TestParamInfo<ClickCase>& info) { return std::string(info.param.name); });

TEST(RefreshOnClick, AnswersOnlyForTheSettingsCheckBoxesOfTheTable)
{
    for (int id : {10005, 10010, 10012, 10014, 10019, 10021, 10023, 10025, 10026, 10029, 10030, 10031, 10033,
                   10034, 10036, 10037, 10039, 10040, 10042, 10043, 10048, 10060, 10104, 10080, 10113})
        EXPECT_TRUE(model::refreshOnClick(id)) << id;
    // Edits, lists, the rights' own boxes, buttons, the status column and unknown IDs.
    for (int id : {10002, 10006, 10007, 10027, 10063, 10067, 10068, 10108, 10112, 10117, 10121, 10129, 10133,
                   10142, 10114, 10115, 0, -1})
        EXPECT_FALSE(model::refreshOnClick(id)) << id;
}

} // namespace
