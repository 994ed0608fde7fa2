// The catalogue against its tables: registration order, IDs, defaults, limits, items.
#include "TestWindow.h"

#include "model/Catalogue.h"

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <set>
#include <sstream>
#include <vector>

using namespace testing_model;

namespace {

TEST(Registries, HoldTheirCounts)
{
    EXPECT_EQ(settingsBufor.size(), 125u);
    EXPECT_EQ(statusBufor.size(), 10u);
}

struct OrderRow {
    const char* name;
    const kes::InterfaceControl* control;
};
#define ROW(field) OrderRow{#field, &field.control()}

// Every general setting by name, in the order the data file stores them: two fields of
// the same kind and default swapped would go unnoticed by anything else.
TEST(Registries, GeneralSettingsAreInTableOrder)
{
    const OrderRow rows[] = {
        ROW(accessCode),        ROW(simPin),          ROW(in1Enabled),           ROW(in1Name),
        ROW(in1Wiring),         ROW(in1Time),         ROW(in1SmsOn),             ROW(in1SmsOnText),
        ROW(in1SmsOff),         ROW(in1SmsOffText),   ROW(in2Enabled),           ROW(in2Name),
        ROW(in2Wiring),         ROW(in2Time),         ROW(in2SmsOn),             ROW(in2SmsOnText),
        ROW(in2SmsOff),         ROW(in2SmsOffText),   ROW(out1Enabled),          ROW(out1Name),
        ROW(out1ByInput),       ROW(out1InputTimed),  ROW(out1InputTime),        ROW(out1ByClip),
        ROW(out1ClipUsersOnly), ROW(out1ClipTimed),   ROW(out1ClipTime),         ROW(out2Enabled),
        ROW(out2Name),          ROW(out2ByInput),     ROW(out2InputTimed),       ROW(out2InputTime),
        ROW(out2ByTemp),        ROW(out2ByTempAvailable), ROW(smsUsersOnly),     ROW(smsUsersOnlyAvailable),
        ROW(tempEnabled),       ROW(tempName),        ROW(tempSmsOn),            ROW(tempSmsOff),
        ROW(tempMax),           ROW(tempMin),         ROW(powerEnabled),         ROW(powerMax),
        ROW(powerMin)};
    ASSERT_EQ(std::size(rows), 45u);
    for (std::size_t i = 0; i < std::size(rows); ++i)
        EXPECT_EQ(settingsBufor.at(i), rows[i].control) << "row " << i + 1 << " should be " << rows[i].name;
}
#undef ROW

TEST(Registries, UserFieldsComeGroupByGroupUserByUser)
{
    const std::vector<std::function<kes::InterfaceControl&(int)>> groups{
        [](int u) -> kes::InterfaceControl& { return userActive[u].control(); },
        [](int u) -> kes::InterfaceControl& { return userPhone[u].control(); },
        [](int u) -> kes::InterfaceControl& { return userNotify[u].control(); },
        [](int u) -> kes::InterfaceControl& { return userRightOut[u].control(); },
        [](int u) -> kes::InterfaceControl& { return userRightOutAvailable[u].control(); },
        [](int u) -> kes::InterfaceControl& { return userRightTemp[u].control(); },
        [](int u) -> kes::InterfaceControl& { return userRightTempAvailable[u].control(); },
        [](int u) -> kes::InterfaceControl& { return userRightPwr[u].control(); },
        [](int u) -> kes::InterfaceControl& { return userRightPwrAvailable[u].control(); },
        [](int u) -> kes::InterfaceControl& { return userRightClip[u].control(); },
        [](int u) -> kes::InterfaceControl& { return userRightClipAvailable[u].control(); },
        [](int u) -> kes::InterfaceControl& { return userRightListen[u].control(); },
        [](int u) -> kes::InterfaceControl& { return userRightListenAvailable[u].control(); },
        [](int u) -> kes::InterfaceControl& { return userRightMessenger[u].control(); },
        [](int u) -> kes::InterfaceControl& { return userTimedRights[u].control(); },
        [](int u) -> kes::InterfaceControl& { return userRightsHours[u].control(); }};
    ASSERT_EQ(groups.size(), 16u);
    for (std::size_t g = 0; g < groups.size(); ++g) {
        for (int u = 0; u < 5; ++u)
            EXPECT_EQ(settingsBufor.at(45 + 5 * g + static_cast<std::size_t>(u)), &groups[g](u))
                << "group " << g + 1 << " user " << u;
    }
}

TEST(Registries, StatusFieldsAreInTableOrder)
{
    const std::vector<kes::InterfaceControl*> rows{
        &statusOperator.control(), &statusLevel.control(), &statusPower.control(), &statusIn1.control(),
        &statusIn2.control(),      &statusTemp.control(),  &statusOut1.control(),  &statusOut2.control(),
        &remotePhone.control(),    &remoteText.control()};
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(statusBufor.at(i), rows[i]) << "status row " << i + 1;
}

struct EditRow {
    const kes::EditControl* field;
    int id;
    const wchar_t* defaultText;
    int maxLength;
};

TEST(Catalogue, EditRowsMatchTheTable)
{
    const EditRow table[] = {{&accessCode, 10002, L"WKTR", 4}, {&simPin, 10004, L"4821", 4},
                      {&in1Name, 10006, L"INPUT-1", 15}, {&in1Time, 10009, L"1", 5},
                      {&in1SmsOnText, 10011, L"INPUT-1 ON", 25},
                      {&in1SmsOffText, 10013, L"INPUT-1 OFF", 25}, {&in2Name, 10015, L"INPUT-2", 15},
                      {&in2Time, 10018, L"1", 5}, {&in2SmsOnText, 10020, L"INPUT-2 ON", 25},
                      {&in2SmsOffText, 10022, L"INPUT-2 OFF", 25}, {&out1Name, 10024, L"OUT-1", 15},
                      {&out1InputTime, 10027, L"1", 5}, {&out1ClipTime, 10032, L"1", 5},
                      {&out2Name, 10035, L"OUT-2", 15}, {&out2InputTime, 10038, L"1", 5},
                      {&tempName, 10041, L"TEMP", 15}, {&tempMax, 10045, L"50", 3},
                      {&tempMin, 10047, L"10", 3}, {&powerMax, 10050, L"20", 2},
                      {&powerMin, 10052, L"12", 2}, {&userPhone[0], 10061, L"+1234567890", 15},
                      {&userPhone[4], 10105, L"+1234567890", 15},
                      {&userRightsHours[0], 10070, L"24", 3}, {&userRightsHours[3], 10103, L"24", 3},
                      {&statusOperator, 10123, L"", 0}, {&statusLevel, 10125, L"", 0},
                      {&statusPower, 10127, L"", 0}, {&statusTemp, 10137, L"", 0},
                      {&remotePhone, 10139, L"", 26}, {&remoteText, 10141, L"", 160},
                      {&linkStatusField, 10116, L"", 0}};
    for (const EditRow& row : table) {
        EXPECT_EQ(row.field->id(), row.id);
        EXPECT_EQ(row.field->defaultText(), row.defaultText) << row.id;
        EXPECT_EQ(row.field->maxLength(), row.maxLength) << row.id;
    }
}

struct OptionRow {
    const kes::OptionControl* field;
    int id;
    std::vector<int> enablesWhenChecked;
};

TEST(Catalogue, OptionRowsMatchTheTable)
{
    const OptionRow table[] = {{&in1Enabled, 10005, {10006, 10007, 10009, 10010, 10012}},
                      {&in1SmsOn, 10010, {10011}}, {&in1SmsOff, 10012, {10013}},
                      {&in2Enabled, 10014, {10015, 10016, 10018, 10019, 10021}},
                      {&in2SmsOn, 10019, {10020}}, {&in2SmsOff, 10021, {10022}},
                      {&out1Enabled, 10023, {10024, 10025, 10029}}, {&out1ByInput, 10025, {10026}},
                      {&out1InputTimed, 10026, {10027}}, {&out1ByClip, 10029, {10030, 10031}},
                      {&out1ClipUsersOnly, 10030, {}}, {&out1ClipTimed, 10031, {10032}},
                      {&out2Enabled, 10034, {10035, 10036}}, {&out2ByInput, 10036, {10037}},
                      {&out2InputTimed, 10037, {10038}}, {&out2ByTemp, 10039, {}},
                      {&smsUsersOnly, 10033, {}},
                      {&tempEnabled, 10040, {10041, 10042, 10043, 10045, 10047}},
                      {&tempSmsOn, 10042, {}}, {&tempSmsOff, 10043, {}},
                      {&powerEnabled, 10048, {10050, 10052}},
                      {&userActive[0], 10060, {10061, 10062, 10068, 10069}},
                      {&userActive[2], 10082, {10083, 10084, 10090, 10091}},
                      {&userTimedRights[1], 10080, {10081}}, {&userRightOut[4], 10107, {}},
                      {&userRightListen[0], 10067, {}}, {&userRightMessenger[3], 10101, {}},
                      {&statusIn1, 10133, {}}, {&statusIn2, 10135, {}},
                      {&statusOut1, 10129, {}}, {&statusOut2, 10131, {}}};
    for (const OptionRow& row : table) {
        EXPECT_EQ(row.field->id(), row.id);
        std::vector<int> dependents;
        for (const kes::BoundControl& control : row.field->dependents().controls)
            dependents.push_back(control.id);
        EXPECT_EQ(dependents, row.enablesWhenChecked) << row.id;
        EXPECT_EQ(row.field->dependents().onCount, row.enablesWhenChecked.size()) << row.id;
    }
}

TEST(Catalogue, EnableFieldsDriveTheirBoxes)
{
    const std::vector<std::pair<const kes::EnableControl*, int>> rows{
        {&out2ByTempAvailable, 10039},       {&smsUsersOnlyAvailable, 10033},
        {&userRightOutAvailable[0], 10063},  {&userRightTempAvailable[1], 10075},
        {&userRightPwrAvailable[2], 10087},  {&userRightClipAvailable[3], 10099},
        {&userRightListenAvailable[4], 10111}};
    for (const auto& row : rows) {
        ASSERT_EQ(row.first->dependents().controls.size(), 1u);
        EXPECT_EQ(row.first->dependents().controls[0].id, row.second);
        EXPECT_EQ(row.first->dependents().onCount, 1u);
    }
    std::vector<int> group;
    for (const kes::BoundControl& control : connectedOnlyGroup.dependents().controls)
        group.push_back(control.id);
    EXPECT_EQ(group, (std::vector<int>{10121, 10129, 10131, 10139, 10140, 10143, 10141}));
    EXPECT_EQ(connectedOnlyGroup.dependents().onCount, 7u);
}

TEST(Catalogue, ListsHoldTheirItems)
{
    const std::vector<std::wstring> wiring{L"NO PLUS", L"NO GND", L"NC PLUS", L"NC GND"};
    const std::vector<std::wstring> notify{L"- - -", L"CLIP", L"SMS", L"CLIP+SMS", L"SMS+CLIP"};
    EXPECT_EQ(in1Wiring.id(), 10007);
    EXPECT_EQ(in2Wiring.id(), 10016);
    EXPECT_EQ(in1Wiring.items(), wiring);
    EXPECT_EQ(in2Wiring.items(), wiring);
    for (int u = 0; u < 5; ++u) {
        EXPECT_EQ(userNotify[u].items(), notify);
        EXPECT_EQ(userNotify[u].id(), 10062 + 11 * u);
        EXPECT_EQ(userNotify[u].defaultValue(), 0);
    }
}

TEST(Catalogue, UserIdsFollowTheFormula)
{
    EXPECT_EQ(ids::userId(0, 0), 10060);
    EXPECT_EQ(ids::userId(4, ids::UserOffset::RightsHours), 10114);
    for (int u = 0; u < 5; ++u) {
        const int base = 10060 + 11 * u;
        EXPECT_EQ(userActive[u].id(), base);
        EXPECT_EQ(userPhone[u].id(), base + 1);
        EXPECT_EQ(userRightOut[u].id(), base + 3);
        EXPECT_EQ(userRightTemp[u].id(), base + 4);
        EXPECT_EQ(userRightPwr[u].id(), base + 5);
        EXPECT_EQ(userRightClip[u].id(), base + 6);
        EXPECT_EQ(userRightListen[u].id(), base + 7);
        EXPECT_EQ(userRightMessenger[u].id(), base + 8);
        EXPECT_EQ(userTimedRights[u].id(), base + 9);
        EXPECT_EQ(userRightsHours[u].id(), base + 10);
    }
}

class CatalogueWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetCatalogue();
        addCatalogueControls(window);
        attachCatalogue(window.hwnd());
    }
    HWND item(int id) const { return window.item(id); }
    TestWindow window;
};

TEST_F(CatalogueWindow, ANewProgramShowsTheDefaults)
{
    for (int id = ids::kFirst; id <= ids::kLast; ++id) {
        wchar_t cls[16] = {};
        GetClassNameW(item(id), cls, 16);
        const LONG type = GetWindowLongW(item(id), GWL_STYLE) & 0x0F;  // the button type bits
        if (std::wstring(cls) == L"Button" && type == BS_AUTOCHECKBOX) {
            EXPECT_FALSE(checked(item(id))) << id;
        }
    }
    EXPECT_EQ(selection(item(10007)), 0);
    EXPECT_EQ(selection(item(10016)), 0);
    for (int u = 0; u < 5; ++u) {
        EXPECT_EQ(selection(item(10062 + 11 * u)), 0);
        EXPECT_EQ(text(item(10061 + 11 * u)), L"+1234567890");
        EXPECT_EQ(text(item(10070 + 11 * u)), L"24");
        for (int right = 3; right <= 7; ++right)
            EXPECT_FALSE(enabled(item(10060 + 11 * u + right))) << "user " << u << " right " << right;
    }
    EXPECT_EQ(text(item(10002)), L"WKTR");
    EXPECT_EQ(text(item(10045)), L"50");
    EXPECT_EQ(text(item(10116)), L"podłącz QLV-3 USB");
    EXPECT_EQ(linkStatusField.getText(), L"podłącz QLV-3 USB");
    EXPECT_EQ(linkStatusField.boundValue(), L"");
    EXPECT_EQ(SendMessageW(item(10141), EM_GETLIMITTEXT, 0, 0), 160);
    for (int id : {10121, 10129, 10131, 10139, 10140, 10143, 10141})
        EXPECT_FALSE(enabled(item(id))) << id;
    EXPECT_TRUE(enabled(item(10142)));
    // Inputs are off, so their names and texts cannot be edited.
    for (int id : {10006, 10007, 10009, 10010, 10012})
        EXPECT_FALSE(enabled(item(id))) << id;
}

TEST_F(CatalogueWindow, OnlyTheFirstUsersTimedRightsAreHidden)
{
    EXPECT_FALSE(shown(item(10069)));
    EXPECT_FALSE(shown(item(10070)));
    for (int u = 1; u < 5; ++u) {
        EXPECT_TRUE(shown(item(10069 + 11 * u))) << u;
        EXPECT_TRUE(shown(item(10070 + 11 * u))) << u;
    }
}

TEST_F(CatalogueWindow, ConnectedGroupFollowsSetEnabled)
{
    connectedOnlyGroup.setEnabled(true);
    for (int id : {10121, 10129, 10131, 10139, 10140, 10143, 10141})
        EXPECT_TRUE(enabled(item(id))) << id;
    connectedOnlyGroup.setEnabled(false);
    EXPECT_FALSE(enabled(item(10121)));
}

TEST_F(CatalogueWindow, DefaultStreamStartsAsInTheExample)
{
    std::wostringstream out;
    settingsBufor.writeAll(out);
    const std::wstring s = out.str();
    const std::wstring head = L"\x03\x02WKTR\x02\x02\x02"
                              L"4821\x02\x02\x02"
                              L"0\x02\x02INPUT-1\x02\x02\x02"
                              L"0\x02";
    EXPECT_EQ(s.substr(0, head.size()), head);
    // 125 records: every field opens and closes one, texts add their own end.
    std::size_t marks = 0;
    for (wchar_t c : s)
        marks += c == L'\x02';
    const std::size_t textFields = 20 + 5 + 5;
    EXPECT_EQ(marks, 2 * 125 + textFields);
    EXPECT_EQ(s.back(), L'\x03');
}

} // namespace
