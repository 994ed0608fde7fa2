// The settings value against the registry it stands for, and the window as a view of it: a value
// shown and taken back is the same value, and showing writes only what differs.
#include "TestWindow.h"

#include "model/Catalogue.h"
#include "model/SettingsRecords.h"
#include "model/SettingsView.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace testing_model;

namespace {

// Every record its own value, each within its field's limits: texts of two letters, the flags
// alternating, every index a valid one.
kes::Settings distinctValue()
{
    kes::Settings s;
    const auto& records = kes::settingsRecords();
    for (std::size_t i = 0; i < records.size(); ++i) {
        const kes::SettingsRecord& r = records[i];
        if (r.kind == kes::RecordKind::Text)
            r.text.in(s) = {static_cast<wchar_t>(L'A' + i / 26), static_cast<wchar_t>(L'a' + i % 26)};
        else if (r.kind == kes::RecordKind::Flag)
            r.flag.in(s) = i % 2 == 0;
        else
            r.index.in(s) = static_cast<int>(i) % r.itemCount;
    }
    return s;
}

TEST(SettingsRecords, AreTheRegistryWithItsFieldsLimitsAndItems)
{
    const auto& records = kes::settingsRecords();
    ASSERT_EQ(records.size(), settingsBufor.size());
    std::set<std::wstring> texts;
    const kes::Settings distinct = distinctValue();
    for (std::size_t i = 0; i < records.size(); ++i) {
        const kes::SettingsRecord& r = records[i];
        const kes::InterfaceControl* field = r.edit          ? &r.edit->control()
                                             : r.option       ? &r.option->control()
                                             : r.availability ? &r.availability->control()
                                                              : &r.list->control();
        EXPECT_EQ(field, settingsBufor.at(i)) << "record " << i + 1;
        if (r.kind == kes::RecordKind::Text) {
            EXPECT_EQ(r.maxLength, r.edit->maxLength()) << "record " << i + 1;
            EXPECT_TRUE(texts.insert(r.text.in(distinct)).second) << "record " << i + 1 << " shares a member";
        }
        if (r.kind == kes::RecordKind::Index) {
            EXPECT_EQ(static_cast<std::size_t>(r.itemCount), r.list->items().size()) << "record " << i + 1;
        }
    }
}

class SettingsView : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetCatalogue();
        addCatalogueControls(window);
        attachCatalogue(window.hwnd());
    }
    static std::pair<DWORD, DWORD> selectionOf(HWND edit)
    {
        DWORD from = 0, to = 0;
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
        return {from, to};
    }
    TestWindow window;
};

TEST_F(SettingsView, AWindowAtStartUpShowsTheDefaultValue)
{
    EXPECT_TRUE(kes::windowSettings() == kes::Settings());
}

TEST_F(SettingsView, AValueShownIsTakenBackAsItWasAndAsTheFieldsCutIt)
{
    const kes::Settings distinct = distinctValue();
    kes::showSettings(distinct);
    EXPECT_TRUE(kes::windowSettings() == distinct);

    kes::Settings tooLong = distinct;
    tooLong.in1Name = L"0123456789ABCDEFGH";
    tooLong.powerMax = L"12.5";
    tooLong.users[2].notify = 7;
    kes::showSettings(tooLong);
    kes::fitToFields(tooLong);
    EXPECT_EQ(tooLong.in1Name, L"0123456789ABCDE");
    EXPECT_EQ(tooLong.powerMax, L"12");
    EXPECT_EQ(tooLong.users[2].notify, -1);
    EXPECT_TRUE(kes::windowSettings() == tooLong);
}

TEST_F(SettingsView, WritesOnlyTheFieldsThatShowSomethingElse)
{
    HWND code = window.item(ids::accessCode);
    HWND volts = window.item(ids::powerMax);
    SetWindowTextW(volts, L"12");
    SendMessageW(code, EM_SETSEL, 1, 3);
    SendMessageW(volts, EM_SETSEL, 0, 1);
    kes::Settings s = kes::windowSettings();
    s.in1Name = L"Brama";
    s.powerMax = L"12.5";  // the edit shows "12" of it already
    kes::showSettings(s);
    EXPECT_EQ(text(window.item(ids::in1Name)), L"Brama");
    EXPECT_EQ(selectionOf(code), std::make_pair(DWORD{1}, DWORD{3}));
    EXPECT_EQ(selectionOf(volts), std::make_pair(DWORD{0}, DWORD{1}));
}

// A box whose own state does not change still passes on the enabling of the box above it.
TEST_F(SettingsView, BoxesPassOnTheStateOfTheBoxesAboveThem)
{
    kes::Settings s = kes::windowSettings();
    s.in1SmsOn = true;  // while IN-1 is off, its text stays disabled
    s.users[2].timedRights = true;  // likewise the hours of a user not active
    kes::showSettings(s);
    ASSERT_FALSE(enabled(window.item(ids::in1SmsOnText)));
    ASSERT_FALSE(enabled(window.item(ids::userId(2, ids::UserOffset::RightsHours))));

    s.in1Enabled = true;
    s.users[2].active = true;
    kes::showSettings(s);
    EXPECT_TRUE(enabled(window.item(ids::in1SmsOnText)));
    EXPECT_TRUE(enabled(window.item(ids::userId(2, ids::UserOffset::RightsHours))));

    s.in1Enabled = false;
    kes::showSettings(s);
    EXPECT_FALSE(enabled(window.item(ids::in1SmsOnText)));
}

} // namespace
