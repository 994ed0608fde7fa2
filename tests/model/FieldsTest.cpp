// The five field kinds on real controls: the live-value rule, conversions, dependents.
#include "TestWindow.h"

#include "model/Fields.h"

#include <gtest/gtest.h>

#include <memory>

using namespace testing_model;

namespace {

constexpr int kEdit = 101;
constexpr int kBox = 102;
constexpr int kCombo = 103;
constexpr int kDepA = 104;
constexpr int kDepB = 105;
constexpr int kDepC = 106;

class FieldWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<TestWindow>();
        window->add(kEdit, ControlKind::Edit);
        window->add(kBox, ControlKind::CheckBox);
        window->add(kCombo, ControlKind::DropDown);
        window->add(kDepA, ControlKind::Edit);
        window->add(kDepB, ControlKind::Edit);
        window->add(kDepC, ControlKind::Edit);
    }

    HWND item(int id) const { return window->item(id); }

    std::unique_ptr<TestWindow> window;
};

// ---- EditControl: live-value rule ----

TEST_F(FieldWindow, EditBeforeAttachWorksOnTheBoundValue)
{
    kes::EditControl field(L"WKTR", nullptr, kEdit, 4);
    EXPECT_EQ(field.getText(), L"WKTR");
    field.setText(L"ABCDEF");
    EXPECT_EQ(field.boundValue(), L"ABCD");
    EXPECT_EQ(field.getText(), L"ABCD");
    EXPECT_EQ(text(item(kEdit)), L"");  // the control was never touched
}

TEST_F(FieldWindow, EditAfterAttachUsesTheControlAndLeavesTheBoundValue)
{
    kes::EditControl field(L"WKTR", nullptr, kEdit, 4);
    field.attach(window->hwnd());
    EXPECT_EQ(text(item(kEdit)), L"WKTR");
    EXPECT_EQ(SendMessageW(item(kEdit), EM_GETLIMITTEXT, 0, 0), 4);

    field.setText(L"123456");
    EXPECT_EQ(text(item(kEdit)), L"1234");
    EXPECT_EQ(field.boundValue(), L"WKTR");

    SetWindowTextW(item(kEdit), L"XY");  // typed by the user
    EXPECT_EQ(field.getText(), L"XY");
    EXPECT_EQ(field.boundValue(), L"WKTR");
    field.fetch();
    EXPECT_EQ(field.boundValue(), L"XY");
}

TEST_F(FieldWindow, EditAfterTheWindowIsGoneFallsBackToTheBoundValue)
{
    kes::EditControl field(L"WKTR", nullptr, kEdit, 4);
    field.attach(window->hwnd());
    field.setText(L"LIVE");
    const HWND gone = field.handle();
    window->destroy();

    SetLastError(0);
    GetWindowTextLengthW(gone);
    ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));

    EXPECT_EQ(field.getText(), L"WKTR");  // the live text died with the control
    field.setText(L"NEW!!");
    EXPECT_EQ(field.boundValue(), L"NEW!");
    EXPECT_EQ(field.getText(), L"NEW!");
}

TEST_F(FieldWindow, EditAttachWithTextShowsItAndKeepsTheBoundValue)
{
    kes::EditControl field(L"", nullptr, kEdit, 0);
    field.attach(window->hwnd(), L"podłącz QLV-3 USB");
    EXPECT_EQ(text(item(kEdit)), L"podłącz QLV-3 USB");
    EXPECT_EQ(field.boundValue(), L"");
}

TEST_F(FieldWindow, EditLimitZeroShowsTheWholeText)
{
    kes::EditControl field(L"", nullptr, kEdit, 0);
    field.attach(window->hwnd());
    const std::wstring longText(300, L'x');
    field.setText(longText);
    EXPECT_EQ(field.getText(), longText);
}

TEST_F(FieldWindow, GetIntReadsTheLeadingNumber)
{
    const struct {
        const wchar_t* text;
        int expected;
    } table[] = {{L"", 0},           {L" 42", 42},        {L"42x", 42},           {L"x42", 0},
                 {L"12abc", 12},     {L"-17", -17},       {L"+5", 5},             {L"2147483647", 2147483647},
                 {L"2147483648", 0}, {L"-2147483649", 0}, {L"-", 0},              {L"12.9", 12}};
    kes::EditControl field(L"", nullptr, kEdit, 0);
    field.attach(window->hwnd());
    for (const auto& row : table) {
        SetWindowTextW(item(kEdit), row.text);
        EXPECT_EQ(field.getInt(), row.expected) << ::testing::PrintToString(std::wstring(row.text));
    }
}

TEST_F(FieldWindow, GetDoubleReadsTheLeadingNumberWithAFullStop)
{
    const struct {
        const wchar_t* text;
        double expected;
    } table[] = {{L"", 0},         {L"12,5", 12},   {L"12.5", 12.5}, {L" -3.25", -3.25},
                 {L"abc", 0},      {L"13.8V", 13.8}, {L".5", 0.5}};
    kes::EditControl field(L"", nullptr, kEdit, 0);
    field.attach(window->hwnd());
    for (const auto& row : table) {
        SetWindowTextW(item(kEdit), row.text);
        EXPECT_DOUBLE_EQ(field.getDouble(), row.expected) << ::testing::PrintToString(std::wstring(row.text));
    }
}

TEST_F(FieldWindow, SetDoubleShowsOneDigitAfterThePoint)
{
    const struct {
        double value;
        const wchar_t* shown;
    } table[] = {{12, L"12.0"}, {13.75, L"13.8"}, {-2.5, L"-2.5"}, {0.04, L"0.0"}, {1234.56, L"1234.6"}};
    kes::EditControl field(L"", nullptr, kEdit, 0);
    field.attach(window->hwnd());
    for (const auto& row : table) {
        field.setDouble(row.value);
        EXPECT_EQ(text(item(kEdit)), row.shown) << row.value;
    }
}

TEST_F(FieldWindow, SetIntShowsPlainDecimal)
{
    kes::EditControl field(L"", nullptr, kEdit, 0);
    field.attach(window->hwnd());
    field.setInt(-1234567);
    EXPECT_EQ(text(item(kEdit)), L"-1234567");
    field.setInt(0);
    EXPECT_EQ(text(item(kEdit)), L"0");
}

// ---- OptionControl ----

TEST_F(FieldWindow, OptionLiveValueBeforeAttachAfterAttachAndAfterDestroy)
{
    kes::OptionControl field(nullptr, kBox, {kDepA, kes::kEndOfList, kes::kEndOfList});
    EXPECT_FALSE(field.isChecked());
    field.setChecked(true);
    EXPECT_TRUE(field.boundValue());
    EXPECT_TRUE(field.isChecked());

    field.attach(window->hwnd());
    EXPECT_TRUE(checked(item(kBox)));
    EXPECT_TRUE(enabled(item(kDepA)));
    field.setChecked(false);
    EXPECT_FALSE(checked(item(kBox)));
    EXPECT_FALSE(enabled(item(kDepA)));
    EXPECT_TRUE(field.boundValue());  // a live write leaves the bound value
    EXPECT_FALSE(field.isChecked());
    field.fetch();
    EXPECT_FALSE(field.boundValue());

    toggle(item(kBox));
    window->destroy();
    EXPECT_FALSE(field.isChecked());  // never fetched: the bound value still says unchecked
    field.setChecked(true);
    EXPECT_TRUE(field.boundValue());
}

TEST_F(FieldWindow, RestrictCheckedCanOnlyClear)
{
    kes::OptionControl field(nullptr, kBox);
    field.attach(window->hwnd());
    field.restrictChecked(true);
    EXPECT_FALSE(checked(item(kBox)));
    field.setChecked(true);
    field.restrictChecked(true);
    EXPECT_TRUE(checked(item(kBox)));
    field.restrictChecked(false);
    EXPECT_FALSE(checked(item(kBox)));
}

struct DependentsCase {
    bool value;
    bool ownerEnabled;
    bool a, b, c;
};

void PrintTo(const DependentsCase& c, std::ostream* os)
{
    *os << "value " << c.value << ", own box enabled " << c.ownerEnabled;
}

class OptionDependents : public FieldWindow, public ::testing::WithParamInterface<DependentsCase> {};

TEST_P(OptionDependents, FollowTheValueAndTheOwnBox)
{
    const DependentsCase& p = GetParam();
    kes::OptionControl field(nullptr, kBox, {kDepA, kDepB, kes::kEndOfList, kDepC, kes::kEndOfList});
    field.attach(window->hwnd());
    EnableWindow(item(kBox), p.ownerEnabled ? TRUE : FALSE);
    field.setChecked(p.value);
    EXPECT_EQ(enabled(item(kDepA)), p.a);
    EXPECT_EQ(enabled(item(kDepB)), p.b);
    EXPECT_EQ(enabled(item(kDepC)), p.c);
    // isChecked applies the same again, from the control's state.
    EnableWindow(item(kDepA), TRUE);
    EnableWindow(item(kDepC), TRUE);
    EXPECT_EQ(field.isChecked(), p.value);
    EXPECT_EQ(enabled(item(kDepA)), p.a);
    EXPECT_EQ(enabled(item(kDepC)), p.c);
}

INSTANTIATE_TEST_SUITE_P(Table, OptionDependents,
                         ::testing::Values(DependentsCase{true, true, true, true, false},
                                           DependentsCase{false, true, false, false, true},
                                           DependentsCase{true, false, false, false, false},
                                           DependentsCase{false, false, false, false, false}),
                         [](const auto& info) {
                             return std::string(info.param.value ? "checked" : "unchecked") +
                                    (info.param.ownerEnabled ? "_boxEnabled" : "_boxDisabled");
                         });

class EnableDependents : public FieldWindow, public ::testing::WithParamInterface<bool> {};

TEST_P(EnableDependents, FollowTheValueOnly)
{
    const bool value = GetParam();
    kes::EnableControl field(nullptr, {kDepA, kDepB, kes::kEndOfList, kDepC, kes::kEndOfList});
    field.attach(window->hwnd(), !value);
    EXPECT_EQ(enabled(item(kDepA)), !value);
    field.setEnabled(value);
    EXPECT_EQ(field.boundValue(), value);
    EXPECT_EQ(enabled(item(kDepA)), value);
    EXPECT_EQ(enabled(item(kDepB)), value);
    EXPECT_EQ(enabled(item(kDepC)), !value);
}

INSTANTIATE_TEST_SUITE_P(Values, EnableDependents, ::testing::Bool(), ::testing::PrintToStringParamName());

TEST_F(FieldWindow, DisabledBoxTakesEffectAgainAtTheNextApply)
{
    kes::OptionControl field(nullptr, kBox, {kDepA, kes::kEndOfList, kes::kEndOfList});
    field.attach(window->hwnd());
    field.setChecked(true);
    EnableWindow(item(kBox), FALSE);
    EXPECT_TRUE(enabled(item(kDepA)));  // nothing re-applied yet
    EXPECT_TRUE(field.isChecked());
    EXPECT_FALSE(enabled(item(kDepA)));
    EnableWindow(item(kBox), TRUE);
    EXPECT_FALSE(enabled(item(kDepA)));
    EXPECT_TRUE(field.isChecked());
    EXPECT_TRUE(enabled(item(kDepA)));
}

// ---- ComboboxControl ----

TEST_F(FieldWindow, ComboboxFillsItsItemsAndFollowsTheLiveValueRule)
{
    kes::ComboboxControl<int> field(nullptr, kCombo, {L"NO PLUS", L"NO GND", L"NC PLUS"});
    field.setSelection(2);
    EXPECT_EQ(field.boundValue(), 2);
    field.attach(window->hwnd());
    ASSERT_EQ(SendMessageW(item(kCombo), CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(selection(item(kCombo)), 2);
    field.setSelection(0);
    EXPECT_EQ(field.getSelection(), 0);
    EXPECT_EQ(field.boundValue(), 2);
    SendMessageW(item(kCombo), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    EXPECT_EQ(field.getSelection(), -1);
    field.fetch();
    EXPECT_EQ(field.boundValue(), -1);
    field.attach(window->hwnd());  // attaching again must not double the items
    EXPECT_EQ(SendMessageW(item(kCombo), CB_GETCOUNT, 0, 0), 3);
    window->destroy();
    EXPECT_EQ(field.getSelection(), -1);
    field.setSelection(1);
    EXPECT_EQ(field.boundValue(), 1);
}

TEST_F(FieldWindow, ComboboxWithoutItemsGetsNoSelection)
{
    kes::ComboboxControl<int> field(nullptr, kCombo, {});
    SendMessageW(item(kCombo), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"stale"));
    field.attach(window->hwnd());
    EXPECT_EQ(SendMessageW(item(kCombo), CB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(selection(item(kCombo)), CB_ERR);
    EXPECT_EQ(field.boundValue(), 0);
}

// ---- ViewControl ----

TEST_F(FieldWindow, ViewShowsOneGroupAndAnIndexPastTheLastShowsNone)
{
    kes::ViewControl<int> view({kDepA, kes::kEndOfList, kDepB, kDepC, kes::kEndOfList, kes::kEndOfList});
    ASSERT_EQ(view.groups().size(), 2u);
    view.attach(window->hwnd(), 1);
    EXPECT_FALSE(shown(item(kDepA)));
    EXPECT_TRUE(shown(item(kDepB)));
    EXPECT_TRUE(shown(item(kDepC)));
    view.show(0);
    EXPECT_TRUE(shown(item(kDepA)));
    EXPECT_FALSE(shown(item(kDepB)));
    view.show(5);
    EXPECT_FALSE(shown(item(kDepA)));
    EXPECT_FALSE(shown(item(kDepB)));
    EXPECT_FALSE(shown(item(kDepC)));
    EXPECT_EQ(view.boundValue(), 5);
    view.show(-1);  // from a group that does not exist nothing is hidden
    EXPECT_FALSE(shown(item(kDepA)));
    view.show(1);
    EXPECT_TRUE(shown(item(kDepB)));
    EXPECT_TRUE(shown(item(kEdit)));  // not in any group: never touched
}

TEST(ViewSequence, NoControlMakesAnEmptyGroupAndALeadingEndStops)
{
    kes::ViewControl<int> view({kes::kNoControl, kes::kEndOfList, 10069, 10070, kes::kEndOfList, kes::kEndOfList, 5,
                                kes::kEndOfList});
    ASSERT_EQ(view.groups().size(), 2u);
    EXPECT_TRUE(view.groups()[0].empty());
    ASSERT_EQ(view.groups()[1].size(), 2u);
    EXPECT_EQ(view.groups()[1][0].id, 10069);
    EXPECT_EQ(view.groups()[1][1].id, 10070);
}

} // namespace
