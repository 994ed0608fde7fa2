#include "support/MessageBox.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Shown {
    HWND owner = nullptr;
    std::wstring text, caption;
    UINT type = 0;
    int calls = 0;
};

TEST(MessageBoxSeam, ReplacementSeesEveryArgumentAndChoosesTheButton)
{
    Shown shown;
    auto previous = kes::setMessageBoxFunction(
        [&](HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
            shown = {owner, text, caption, type, shown.calls + 1};
            return IDCANCEL;
        });
    const HWND fakeOwner = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
    EXPECT_EQ(kes::showMessageBox(fakeOwner, L"Błąd odczytu danych z urządzenia.", L"Błąd", MB_ICONERROR),
              IDCANCEL);
    EXPECT_EQ(shown.calls, 1);
    EXPECT_EQ(shown.owner, fakeOwner);
    EXPECT_EQ(shown.text, L"Błąd odczytu danych z urządzenia.");
    EXPECT_EQ(shown.caption, L"Błąd");
    EXPECT_EQ(shown.type, static_cast<UINT>(MB_ICONERROR));
    kes::setMessageBoxFunction(previous);
}

TEST(MessageBoxSeam, SettingReturnsThePreviousReplacement)
{
    int firstCalls = 0;
    auto original = kes::setMessageBoxFunction(
        [&](HWND, const std::wstring&, const std::wstring&, UINT) { return ++firstCalls; });
    auto first = kes::setMessageBoxFunction([](HWND, const std::wstring&, const std::wstring&, UINT) { return 0; });
    ASSERT_TRUE(static_cast<bool>(first));
    EXPECT_EQ(first(nullptr, L"", L"", 0), 1);
    kes::setMessageBoxFunction(first);
    EXPECT_EQ(kes::showMessageBox(nullptr, L"x", L"y", MB_OK), 2);
    kes::setMessageBoxFunction(original);
    EXPECT_FALSE(static_cast<bool>(kes::setMessageBoxFunction(original)));
}

} // namespace
