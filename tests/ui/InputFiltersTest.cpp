#include "ui/InputFilters.h"

#include "ui/SubclassChain.h"
#include "CaseName.h"
#include "TestClipboard.h"
#include "UiTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

int beeps = 0;
void countBeep(UINT)
{
    ++beeps;
}

enum class Filter { SignedNumber, SmsText };

class FilterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        beeps = 0;
        previousBeep = kes::setBeepFunction(&countBeep);
    }
    void TearDown() override { kes::setBeepFunction(previousBeep); }

    HWND makeEdit(Filter filter)
    {
        const DWORD style = filter == Filter::SmsText ? ES_MULTILINE | WS_VSCROLL : ES_RIGHT | ES_AUTOHSCROLL;
        HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"Edit", L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 200, 60,
                                    dialog.get(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(100)), nullptr,
                                    nullptr);
        kes::subclass(edit, filter == Filter::SmsText ? &kes::smsTextFilter : &kes::signedNumberFilter, nullptr);
        return edit;
    }

    void type(HWND edit, const std::wstring& text)
    {
        for (wchar_t c : text)
            SendMessageW(edit, WM_CHAR, c, 1);
    }

    uitest::TemplateDialog dialog{L"MS Sans Serif", 8};
    kes::BeepFunction previousBeep = nullptr;
};

struct TypedCase {
    const char* name;
    Filter filter;
    std::wstring typed;
    std::wstring shown;
    int beeps;
};

class Typed : public FilterTest, public ::testing::WithParamInterface<TypedCase> {};

TEST_P(Typed, ShowsTheMappedCharactersAndBeepsOnRefusals)
{
    HWND edit = makeEdit(GetParam().filter);
    type(edit, GetParam().typed);
    EXPECT_EQ(uitest::textOf(edit), GetParam().shown);
    EXPECT_EQ(beeps, GetParam().beeps);
}

INSTANTIATE_TEST_SUITE_P(
    InputFilters, Typed,
    ::testing::Values(TypedCase{"number_comma", Filter::SignedNumber, L",", L".", 0},
                      TypedCase{"number_letter", Filter::SignedNumber, L"a", L"", 1},
                      TypedCase{"number_negativeWithComma", Filter::SignedNumber, L"-12,5", L"-12.5", 0},
                      TypedCase{"number_plusLetterSpace", Filter::SignedNumber, L"+7x 3", L"+73", 2},
                      TypedCase{"number_backspace", Filter::SignedNumber, L"12\b3", L"13", 0},
                      TypedCase{"sms_polishLetter", Filter::SmsText, L"ż", L"z", 0},
                      TypedCase{"sms_otherAccent", Filter::SmsText, L"é", L"?", 0},
                      TypedCase{"sms_lowerV", Filter::SmsText, L"v", L"V", 0},
                      TypedCase{"sms_euro", Filter::SmsText, L"\u20ac", L"", 1},
                      TypedCase{"sms_polishSentence", Filter::SmsText, L"Zażółć gęślą jaźń", L"Zazolc gesla jazn", 0},
                      TypedCase{"sms_polishCapitals", Filter::SmsText, L"ĄĆĘŁŃÓŚŹŻ", L"ACELNOSZZ", 0},
                      TypedCase{"sms_return", Filter::SmsText, L"a\rb", L"a\r\nb", 0},
                      TypedCase{"sms_rangeEdges", Filter::SmsText, L"~\x7f\x18f\x190", L"~??", 1}),
    casename::ByName());

struct SetCase {
    const char* name;
    Filter filter;
    UINT message; // WM_SETTEXT or EM_REPLACESEL
    std::wstring given;
    std::wstring shown;
};

class SetOrReplaced : public FilterTest, public ::testing::WithParamInterface<SetCase> {};

TEST_P(SetOrReplaced, DropsRefusedCharactersSilently)
{
    HWND edit = makeEdit(GetParam().filter);
    if (GetParam().message == EM_REPLACESEL) {
        SetWindowTextW(edit, L"1");
        SendMessageW(edit, EM_SETSEL, 1, 1);
    }
    SendMessageW(edit, GetParam().message, TRUE, reinterpret_cast<LPARAM>(GetParam().given.c_str()));
    EXPECT_EQ(uitest::textOf(edit), GetParam().shown);
    EXPECT_EQ(beeps, 0);
}

INSTANTIATE_TEST_SUITE_P(
    InputFilters, SetOrReplaced,
    ::testing::Values(SetCase{"number_setMixed", Filter::SignedNumber, WM_SETTEXT, L"-1a2,5", L"-12.5"},
                      SetCase{"number_setLettersOnly", Filter::SignedNumber, WM_SETTEXT, L"abc", L""},
                      SetCase{"number_replaceSelection", Filter::SignedNumber, EM_REPLACESEL, L"2,5x", L"12.5"},
                      SetCase{"sms_setLines", Filter::SmsText, WM_SETTEXT, L"Łódź\r\nvv\u20ac", L"LodzVV"},
                      SetCase{"sms_replaceSelection", Filter::SmsText, EM_REPLACESEL, L"\tó\n", L"1o"}),
    casename::ByName());

struct PasteCase {
    const char* name;
    Filter filter;
    std::wstring before;
    int caretBefore;
    std::wstring pasted;
    std::wstring shown;
    int caretAfter;
};

class Pasted : public FilterTest, public ::testing::WithParamInterface<PasteCase> {};

TEST_P(Pasted, FiltersTheWholeTextAndKeepsTheCaretAfterThePaste)
{
    HWND edit = makeEdit(GetParam().filter);
    SetWindowTextW(edit, GetParam().before.c_str());
    SendMessageW(edit, EM_SETSEL, GetParam().caretBefore, GetParam().caretBefore);
    ASSERT_TRUE(uitest::putOnClipboard(dialog.get(), GetParam().pasted));
    SendMessageW(edit, WM_PASTE, 0, 0);
    EXPECT_EQ(uitest::textOf(edit), GetParam().shown);
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, static_cast<DWORD>(GetParam().caretAfter));
    EXPECT_EQ(end, static_cast<DWORD>(GetParam().caretAfter));
    EXPECT_EQ(beeps, 0);
}

INSTANTIATE_TEST_SUITE_P(
    InputFilters, Pasted,
    ::testing::Values(PasteCase{"number_intoEmpty", Filter::SignedNumber, L"", 0, L"-1a2,5", L"-12.5", 5},
                      PasteCase{"number_intoMiddle", Filter::SignedNumber, L"99", 1, L"x,", L"9.9", 2},
                      PasteCase{"sms_intoEmpty", Filter::SmsText, L"", 0, L"ab\r\ncd", L"abcd", 4},
                      PasteCase{"sms_intoMiddle", Filter::SmsText, L"XY", 1, L"ż\r\n€", L"XzY", 2}),
    casename::ByName());

TEST(InputFilterMappings, EveryCodeOfTheSmsRangeIsAcceptedAndNothingOutsideIt)
{
    for (int c = 0; c < 0x10000; ++c) {
        const int mapped = kes::mapSmsTextChar(static_cast<wchar_t>(c));
        if (c < 32 || c > 399) {
            ASSERT_EQ(mapped, -1) << c;
        } else {
            ASSERT_GE(mapped, 32) << c;
            ASSERT_LE(mapped, 126) << c;
        }
    }
}

TEST(InputFilterMappings, SignedNumbersKeepOnlyDigitsSignsAndThePoint)
{
    std::wstring accepted;
    for (int c = 0; c < 0x10000; ++c)
        if (kes::mapSignedNumberChar(static_cast<wchar_t>(c)) >= 0)
            accepted.push_back(static_cast<wchar_t>(c));
    EXPECT_EQ(accepted, L"+,-.0123456789");
}

} // namespace
