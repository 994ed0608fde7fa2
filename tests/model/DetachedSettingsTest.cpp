// Settings worked on apart from the window: the window's controls keep every text, check,
// selection and enabled state, the fields see the scratch values, and the bound values return.
#include "TestWindow.h"

#include "model/Catalogue.h"
#include "model/DetachedSettings.h"
#include "model/Validation.h"

#include <gtest/gtest.h>

#include <string>

using namespace testing_model;

namespace {

// Everything a user could see of the main window's controls.
std::wstring picture(const TestWindow& window)
{
    std::wstring all;
    for (int id = ids::kFirst; id <= ids::kLast; ++id) {
        HWND c = window.item(id);
        all += std::to_wstring(id) + L'|' + text(c) + L'|' + (checked(c) ? L'x' : L'-') + L'|' +
               std::to_wstring(selection(c)) + L'|' + (enabled(c) ? L'e' : L'd') + L'\n';
    }
    return all;
}

class DetachedSettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetCatalogue();
        addCatalogueControls(window);
        attachCatalogue(window.hwnd());
        // A window the user has worked on: an input switched on, a user with a right.
        SetWindowTextW(window.item(ids::accessCode), L"AB12");
        SendMessageW(window.item(ids::in1Enabled), BM_SETCHECK, BST_CHECKED, 0);
        in1Enabled.isChecked();  // its dependents follow, as after a click
        SetWindowTextW(window.item(ids::in1Name), L"Brama");
    }
    TestWindow window;
};

TEST_F(DetachedSettingsTest, TheWindowKeepsWhatItShowsAndTheFieldsComeBackToIt)
{
    const std::wstring before = picture(window);
    const std::wstring boundAccessCode = accessCode.boundValue();
    const bool boundIn1 = in1Enabled.boundValue();
    std::wstring faults;
    {
        kes::DetachedSettings scratch;
        accessCode.setText(L"zz");
        in1Enabled.setChecked(false);  // would disable its dependents in the window
        in2Enabled.setChecked(true);
        in2Name.setText(L"   ");
        in2Wiring.setSelection(3);
        userRightOutAvailable[2].setEnabled(true);
        userActive[1].setChecked(true);
        userPhone[1].setText(L"12");
        faults = kes::collectSettingsFaults();  // rewrites fields, shows nothing

        EXPECT_EQ(accessCode.getText(), L"zz");
        EXPECT_FALSE(in1Enabled.isChecked());
        EXPECT_EQ(in1Name.getText(), L"INPUT-1") << "validation reset the switched-off input's name";
        EXPECT_EQ(in2Wiring.getSelection(), 3);
    }
    EXPECT_EQ(faults, L"Błędny kod dostępu.\r\nBrak nazwy wejścia 2.\r\n"
                      L"Błędny numer telefonu użytkownika nr 2.\r\n");
    EXPECT_EQ(picture(window), before);
    EXPECT_EQ(accessCode.getText(), L"AB12");
    EXPECT_TRUE(in1Enabled.isChecked());
    EXPECT_EQ(in1Name.getText(), L"Brama");
    EXPECT_EQ(accessCode.boundValue(), boundAccessCode);
    EXPECT_EQ(in1Enabled.boundValue(), boundIn1);
}

} // namespace

namespace {

// A copy through a data file would drop the record mark a module's text may hold.
TEST_F(DetachedSettingsTest, ACopyOfTheWindowStartsFromItsControlsAndTheBoundValuesComeBack)
{
    SetWindowTextW(window.item(ids::in2Name), L"Dr\x0002zwi");
    const std::wstring boundName = in2Name.boundValue();
    const bool boundIn1 = in1Enabled.boundValue();
    {
        kes::DetachedSettings copy(kes::DetachedSettings::Start::CopyOfWindow);
        EXPECT_EQ(in2Name.getText(), L"Dr\x0002zwi");
        EXPECT_TRUE(in1Enabled.isChecked());
    }
    EXPECT_EQ(in2Name.boundValue(), boundName);
    EXPECT_EQ(in1Enabled.boundValue(), boundIn1);
}

} // namespace
