#include "model/Validation.h"

#include "model/Catalogue.h"
#include "protocol/SettingsCheck.h"
#include "storage/TestWindow.h"
#include "ui/NoticeBoxes.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace testing_support;

// The window's check shows its faults as the program's own box.
class ProgramBoxes : public ::testing::Environment {
public:
    void SetUp() override { kes::setNoticeSink(&kes::noticeBoxes()); }
    void TearDown() override { kes::setNoticeSink(nullptr); }
};
const auto* const programBoxes = ::testing::AddGlobalTestEnvironment(new ProgramBoxes);

// ---- text predicates -------------------------------------------------------------

struct PredicateCase {
    const char* name;
    bool (*predicate)(const std::wstring&);
    std::wstring text;
    bool expected;
};

void judgesTheText(const PredicateCase& param)
{
    EXPECT_EQ(param.expected, param.predicate(param.text));
}

const PredicateCase kPredicateAccessCodeCases[] = {
    PredicateCase{"upper_letters", kes::isAccessCode, L"WKTR", true},
    PredicateCase{"letters_and_digits", kes::isAccessCode, L"A1B2", true},
    PredicateCase{"digits", kes::isAccessCode, L"0000", true},
    PredicateCase{"lower_case", kes::isAccessCode, L"wktr", false},
    PredicateCase{"three", kes::isAccessCode, L"WKT", false},
    PredicateCase{"five", kes::isAccessCode, L"WKTRS", false},
    PredicateCase{"blank_inside", kes::isAccessCode, L"WK R", false},
    PredicateCase{"trailing_blank_counts", kes::isAccessCode, L"WKT ", false},
    PredicateCase{"polish_capital", kes::isAccessCode, L"WKTŁ", false},
    PredicateCase{"empty", kes::isAccessCode, L"", false}};

TEST(Predicate, JudgesTheTextAccessCode)
{
    for (const PredicateCase& param : kPredicateAccessCodeCases) {
        SCOPED_TRACE(param.name);
        judgesTheText(param);
    }
}

const PredicateCase kPredicatePinCases[] = {
    PredicateCase{"empty", kes::isPin, L"", true}, PredicateCase{"four", kes::isPin, L"4821", true},
    PredicateCase{"three", kes::isPin, L"482", false},
    PredicateCase{"five", kes::isPin, L"48210", false},
    PredicateCase{"blank_inside", kes::isPin, L"48 1", false},
    PredicateCase{"letter", kes::isPin, L"48a1", false},
    PredicateCase{"blanks_only", kes::isPin, L"    ", false}};

TEST(Predicate, JudgesTheTextPin)
{
    for (const PredicateCase& param : kPredicatePinCases) {
        SCOPED_TRACE(param.name);
        judgesTheText(param);
    }
}

const PredicateCase kPredicateUnsignedDecimalCases[] = {
    PredicateCase{"digits", kes::isUnsignedDecimal, L"15", true},
    PredicateCase{"one_point", kes::isUnsignedDecimal, L"1.5", true},
    PredicateCase{"point_only", kes::isUnsignedDecimal, L".", true},
    PredicateCase{"first_word_only", kes::isUnsignedDecimal, L"  12 abc", true},
    PredicateCase{"two_points", kes::isUnsignedDecimal, L"1.2.3", false},
    PredicateCase{"minus", kes::isUnsignedDecimal, L"-1", false},
    PredicateCase{"plus", kes::isUnsignedDecimal, L"+1", false},
    PredicateCase{"comma", kes::isUnsignedDecimal, L"1,5", false},
    PredicateCase{"empty", kes::isUnsignedDecimal, L"", false},
    PredicateCase{"blanks", kes::isUnsignedDecimal, L" \t ", false}};

TEST(Predicate, JudgesTheTextUnsignedDecimal)
{
    for (const PredicateCase& param : kPredicateUnsignedDecimalCases) {
        SCOPED_TRACE(param.name);
        judgesTheText(param);
    }
}

const PredicateCase kPredicateSignedDecimalCases[] = {
    PredicateCase{"digits", kes::isSignedDecimal, L"50", true},
    PredicateCase{"minus", kes::isSignedDecimal, L"-20", true},
    PredicateCase{"plus_point", kes::isSignedDecimal, L"+2.5", true},
    PredicateCase{"lone_minus", kes::isSignedDecimal, L"-", true},
    PredicateCase{"lone_plus", kes::isSignedDecimal, L"+", true},
    PredicateCase{"sign_inside", kes::isSignedDecimal, L"2-5", false},
    PredicateCase{"two_signs", kes::isSignedDecimal, L"--5", false},
    PredicateCase{"two_points", kes::isSignedDecimal, L"-1.2.", false},
    PredicateCase{"letters", kes::isSignedDecimal, L"abc", false},
    PredicateCase{"empty", kes::isSignedDecimal, L"", false}};

TEST(Predicate, JudgesTheTextSignedDecimal)
{
    for (const PredicateCase& param : kPredicateSignedDecimalCases) {
        SCOPED_TRACE(param.name);
        judgesTheText(param);
    }
}

const PredicateCase kPredicatePhoneNumberCases[] = {
    PredicateCase{"plus_and_eight_digits", kes::isPhoneNumber, L"+12345678", true},
    PredicateCase{"nine_digits", kes::isPhoneNumber, L"123456789", true},
    PredicateCase{"plus_anywhere", kes::isPhoneNumber, L"1234+5678", true},
    PredicateCase{"default", kes::isPhoneNumber, L"+1234567890", true},
    PredicateCase{"eight_digits", kes::isPhoneNumber, L"12345678", false},
    PredicateCase{"groups", kes::isPhoneNumber, L"123 456 789", false},
    PredicateCase{"leading_blanks_skipped", kes::isPhoneNumber, L"  +48123456789", true},
    PredicateCase{"dash", kes::isPhoneNumber, L"123-456-789", false},
    PredicateCase{"empty", kes::isPhoneNumber, L"", false}};

TEST(Predicate, JudgesTheTextPhoneNumber)
{
    for (const PredicateCase& param : kPredicatePhoneNumberCases) {
        SCOPED_TRACE(param.name);
        judgesTheText(param);
    }
}

struct RewriteCase {
    const char* name;
    std::wstring (*rewrite)(const std::wstring&);
    std::wstring text;
    std::wstring expected;
};

void givesTheText(const RewriteCase& param)
{
    EXPECT_EQ(param.expected, param.rewrite(param.text));
}

const RewriteCase kRewriteTableCases[] = {
    RewriteCase{"fold_small", kes::foldPolishLetters, L"ąćęłńóśżź", L"acelnoszz"},
    RewriteCase{"fold_capital", kes::foldPolishLetters, L"ĄĆĘŁŃÓŚŻŹ", L"ACELNOSZZ"},
    RewriteCase{"fold_keeps_others", kes::foldPolishLetters, L"Żółw Ś 1-ä", L"Zolw S 1-ä"},
    RewriteCase{"comma", kes::decimalCommaToPoint, L"1,5", L"1.5"},
    RewriteCase{"commas", kes::decimalCommaToPoint, L",1,", L".1."},
    RewriteCase{"first_word", kes::firstWord, L" \t\r\nab cd", L"ab"},
    RewriteCase{"first_word_blank", kes::firstWord, L"  \t ", L""}};

TEST(Rewrite, GivesTheText)
{
    for (const RewriteCase& param : kRewriteTableCases) {
        SCOPED_TRACE(param.name);
        givesTheText(param);
    }
}

// ---- the window's check on the real controls ----------------------------------------

// Puts a text straight into a field's control, past the field's own length limit, as a
// control can hold it.
void setRaw(const kes::EditControl& field, const wchar_t* text) { SetWindowTextW(field.handle(), text); }

void activateUser(int user, const wchar_t* phone = L"+48123456789")
{
    userActive[user].setChecked(true);
    userPhone[user].setText(phone);
}

struct Scenario {
    const char* name;
    std::function<void()> setup;
    std::wstring faults;  // the message box text, empty when validation passes
    std::function<void()> check;
};

void listsTheFaultsAndLeavesTheRewrites(const Scenario& param)
{
    // A fresh window for each scenario: every field at its default.
    TestWindow window;
    MessageBoxRecorder boxes;
    param.setup();
    const bool passed = kes::checkWindowSettings(window.handle());
    if (param.faults.empty()) {
        EXPECT_TRUE(passed);
        EXPECT_TRUE(boxes.boxes().empty());
    } else {
        EXPECT_FALSE(passed);
        ASSERT_EQ(1u, boxes.boxes().size());
        EXPECT_EQ(param.faults, boxes.boxes()[0].text);
        EXPECT_EQ(L"Błędy w ustawieniach", boxes.boxes()[0].caption);
        EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONWARNING), boxes.boxes()[0].type);
        EXPECT_EQ(window.handle(), boxes.boxes()[0].owner);
    }
    if (param.check)
        param.check();
}

const std::wstring kAccess = L"Błędny kod dostępu.\r\n";
const std::wstring kPin = L"Błędny kod pin.\r\n";
const std::wstring kTempRange = L"Przekroczony zakres temperatury (-50 ... 120).\r\n";
const std::wstring kTempOrder = L"Temperatura max  musi być większa od temperatury min.\r\n";
const std::wstring kVoltGap = L"Napięcie max musi być większe od min o 0.5V.\r\n";

const Scenario kValidationCodesCases[] = {
    Scenario{"start_up_window_passes", [] {}, L"",
             [] {
                 EXPECT_EQ(L"25", tempMax.getText());
                 EXPECT_EQ(L"16", tempMin.getText());
                 EXPECT_EQ(L"24", powerMax.getText());
                 EXPECT_EQ(L"12", powerMin.getText());
                 for (auto& phone : userPhone)
                     EXPECT_EQ(L"", phone.getText());
             }},
    Scenario{"access_code_lower_case", [] { accessCode.setText(L"wktr"); }, kAccess, nullptr},
    Scenario{"access_code_three", [] { accessCode.setText(L"WKT"); }, kAccess, nullptr},
    Scenario{"access_code_five", [] { setRaw(accessCode, L"WKTRS"); }, kAccess, nullptr},
    Scenario{"access_code_mixed_passes", [] { accessCode.setText(L"A1B2"); }, L"", nullptr},
    Scenario{"pin_empty_passes", [] { simPin.setText(L""); }, L"", nullptr},
    Scenario{"pin_three_digits", [] { simPin.setText(L"123"); }, kPin, nullptr},
    Scenario{"pin_blank_inside", [] { simPin.setText(L"12 4"); }, kPin, nullptr}};

TEST(Validation, ListsTheFaultsAndLeavesTheRewritesCodes)
{
    for (const Scenario& param : kValidationCodesCases) {
        SCOPED_TRACE(param.name);
        listsTheFaultsAndLeavesTheRewrites(param);
    }
}

const Scenario kValidationInputsCases[] = {
    Scenario{"time_comma_becomes_point",
             [] {
                 in1Enabled.setChecked(true);
                 in1Time.setText(L"1,5");
             },
             L"", [] { EXPECT_EQ(L"1.5", in1Time.getText()); }},
    Scenario{"time_point_only_passes",
             [] {
                 in1Enabled.setChecked(true);
                 in1Time.setText(L".");
             },
             L"", nullptr},
    Scenario{"time_two_points",
             [] {
                 in1Enabled.setChecked(true);
                 in1Time.setText(L"1.2.3");
             },
             L"Błędny format czasu dla wejścia 1.\r\n", nullptr},
    Scenario{"time_negative",
             [] {
                 in2Enabled.setChecked(true);
                 in2Time.setText(L"-1");
             },
             L"Błędny format czasu dla wejścia 2.\r\n", nullptr},
    Scenario{"name_of_blanks",
             [] {
                 in1Enabled.setChecked(true);
                 in1Name.setText(L"   ");
             },
             L"Brak nazwy wejścia 1.\r\n", [] { EXPECT_EQ(L"   ", in1Name.getText()); }},
    Scenario{"name_folded",
             [] {
                 in2Enabled.setChecked(true);
                 in2Name.setText(L"Żółw Ś");
             },
             L"", [] { EXPECT_EQ(L"Zolw S", in2Name.getText()); }},
    Scenario{"sms_texts_missing_twice",
             [] {
                 in1Enabled.setChecked(true);
                 in1SmsOn.setChecked(true);
                 in1SmsOff.setChecked(true);
                 in1SmsOnText.setText(L"");
                 in1SmsOffText.setText(L" ");
             },
             L"Brak treści SMS-a dla wejścia 1.\r\nBrak treści SMS-a dla wejścia 1.\r\n", nullptr},
    Scenario{"input2_sms_text_missing",
             [] {
                 in2Enabled.setChecked(true);
                 in2SmsOff.setChecked(true);
                 in2SmsOffText.setText(L"");
             },
             L"Brak treści SMS-a dla wejścia 2.\r\n", nullptr},
    Scenario{"sms_text_folded_and_unused_text_reset",
             [] {
                 in2Enabled.setChecked(true);
                 in2SmsOn.setChecked(true);
                 in2SmsOnText.setText(L"Włączone");
                 in2SmsOffText.setText(L"zmienione");
             },
             L"",
             [] {
                 EXPECT_EQ(L"Wlaczone", in2SmsOnText.getText());
                 EXPECT_EQ(L"INPUT-2 OFF", in2SmsOffText.getText());
             }},
    Scenario{"switched_off_input_reset",
             [] {
                 in1SmsOn.setChecked(true);
                 in1Name.setText(L"");
                 in1Time.setText(L"x");
                 in1SmsOnText.setText(L"a");
                 in1SmsOffText.setText(L"b");
             },
             L"",
             [] {
                 EXPECT_EQ(L"INPUT-1", in1Name.getText());
                 EXPECT_EQ(L"1", in1Time.getText());
                 EXPECT_EQ(L"INPUT-1 ON", in1SmsOnText.getText());
                 EXPECT_EQ(L"INPUT-1 OFF", in1SmsOffText.getText());
                 EXPECT_TRUE(in1SmsOn.isChecked()) << "the SMS boxes are left alone";
             }}};

TEST(Validation, ListsTheFaultsAndLeavesTheRewritesInputs)
{
    for (const Scenario& param : kValidationInputsCases) {
        SCOPED_TRACE(param.name);
        listsTheFaultsAndLeavesTheRewrites(param);
    }
}

const Scenario kValidationOutputsCases[] = {
    Scenario{"output_time_comma_fails_and_stays",
             [] {
                 out1Enabled.setChecked(true);
                 out1ByInput.setChecked(true);
                 out1InputTimed.setChecked(true);
                 out1InputTime.setText(L"1,5");
             },
             L"Błędny czas dla wyjścia 1.\r\n", [] { EXPECT_EQ(L"1,5", out1InputTime.getText()); }},
    Scenario{"output_time_untimed_reset",
             [] {
                 out2Enabled.setChecked(true);
                 out2ByInput.setChecked(true);
                 out2InputTime.setText(L"x");
             },
             L"", [] { EXPECT_EQ(L"1", out2InputTime.getText()); }},
    Scenario{"output2_timed_time_two_points",
             [] {
                 out2Enabled.setChecked(true);
                 out2ByInput.setChecked(true);
                 out2InputTimed.setChecked(true);
                 out2InputTime.setText(L"1.2.3");
             },
             L"Błędny czas dla wyjścia 2.\r\n", [] { EXPECT_EQ(L"1.2.3", out2InputTime.getText()); }},
    Scenario{"clip_time_tested_without_timed",
             [] {
                 out1Enabled.setChecked(true);
                 out1ByClip.setChecked(true);
                 out1ClipTime.setText(L"a");
             },
             L"Błędny czas CLIP dla wyjścia 1.\r\n", nullptr},
    Scenario{"timed_without_input_cleared",
             [] {
                 out1Enabled.setChecked(true);
                 out1InputTimed.setChecked(true);
                 out1ClipUsersOnly.setChecked(true);
             },
             L"",
             [] {
                 EXPECT_FALSE(out1InputTimed.isChecked());
                 EXPECT_FALSE(out1ClipUsersOnly.isChecked());
             }},
    Scenario{"switched_off_output_reset",
             [] {
                 for (auto* box : {&out1ByInput, &out1InputTimed, &out1ByClip, &out1ClipUsersOnly, &out1ClipTimed,
                                   &out2ByInput, &out2InputTimed})
                     box->setChecked(true);
                 out1Name.setText(L"");
                 out1InputTime.setText(L"7");
                 out1ClipTime.setText(L"8");
                 out2Name.setText(L"x");
                 out2InputTime.setText(L"9");
             },
             L"",
             [] {
                 EXPECT_EQ(L"OUT-1", out1Name.getText());
                 EXPECT_EQ(L"1", out1InputTime.getText());
                 EXPECT_EQ(L"1", out1ClipTime.getText());
                 EXPECT_EQ(L"OUT-2", out2Name.getText());
                 EXPECT_EQ(L"1", out2InputTime.getText());
                 for (auto* box : {&out1ByInput, &out1InputTimed, &out1ByClip, &out1ClipUsersOnly, &out2ByInput,
                                   &out2InputTimed})
                     EXPECT_FALSE(box->isChecked());
                 EXPECT_TRUE(out1ClipTimed.isChecked()) << "out1ClipTimed is left alone";
             }},
    Scenario{"outputs_off_clear_sms_users_only_and_out_rights",
             [] {
                 smsUsersOnly.setChecked(true);
                 for (int u = 0; u < ids::kUserCount; ++u) {
                     activateUser(u);
                     userRightOut[u].setChecked(true);
                 }
             },
             L"",
             [] {
                 EXPECT_FALSE(smsUsersOnly.isChecked());
                 for (auto& right : userRightOut)
                     EXPECT_FALSE(right.isChecked());
             }},
    Scenario{"out_right_kept_for_active_users_only",
             [] {
                 out2Enabled.setChecked(true);
                 smsUsersOnly.setChecked(true);
                 activateUser(1);
                 userRightOut[1].setChecked(true);
                 userRightOut[2].setChecked(true);
             },
             L"",
             [] {
                 EXPECT_TRUE(userRightOut[1].isChecked());
                 EXPECT_FALSE(userRightOut[2].isChecked());
                 EXPECT_TRUE(smsUsersOnly.isChecked());
             }},
    Scenario{"clip_for_everyone_clears_listening",
             [] {
                 out1Enabled.setChecked(true);
                 out1ByClip.setChecked(true);
                 activateUser(0);
                 for (int u : {0, 1}) {
                     userRightClip[u].setChecked(true);
                     userRightListen[u].setChecked(true);
                 }
             },
             L"",
             [] {
                 EXPECT_TRUE(userRightClip[0].isChecked());
                 EXPECT_FALSE(userRightClip[1].isChecked());
                 EXPECT_FALSE(userRightListen[0].isChecked());
                 EXPECT_FALSE(userRightListen[1].isChecked());
             }},
    Scenario{"clip_for_users_only_keeps_listening_of_active_users",
             [] {
                 out1Enabled.setChecked(true);
                 out1ByClip.setChecked(true);
                 out1ClipUsersOnly.setChecked(true);
                 activateUser(0);
                 for (int u : {0, 1}) {
                     userRightClip[u].setChecked(true);
                     userRightListen[u].setChecked(true);
                 }
             },
             L"",
             [] {
                 EXPECT_TRUE(userRightClip[0].isChecked());
                 EXPECT_TRUE(userRightListen[0].isChecked());
                 EXPECT_FALSE(userRightClip[1].isChecked());
                 EXPECT_FALSE(userRightListen[1].isChecked());
             }}};

TEST(Validation, ListsTheFaultsAndLeavesTheRewritesOutputs)
{
    for (const Scenario& param : kValidationOutputsCases) {
        SCOPED_TRACE(param.name);
        listsTheFaultsAndLeavesTheRewrites(param);
    }
}

const Scenario kValidationTemperatureCases[] = {
    Scenario{"lone_minus_counts_as_zero",
             [] {
                 tempEnabled.setChecked(true);
                 tempMax.setText(L"-");
             },
             kTempOrder, nullptr},
    Scenario{"max_130_one_range_message",
             [] {
                 tempEnabled.setChecked(true);
                 tempMax.setText(L"130");
             },
             kTempRange, nullptr},
    Scenario{"letters_no_range_message",
             [] {
                 tempEnabled.setChecked(true);
                 tempMax.setText(L"abc");
             },
             L"Błędna temperatura max.\r\n" + kTempOrder, nullptr},
    Scenario{"both_out_of_range",
             [] {
                 tempEnabled.setChecked(true);
                 tempMax.setText(L"121");
                 tempMin.setText(L"-51");
             },
             kTempRange + kTempRange, nullptr},
    Scenario{"limits_themselves_pass",
             [] {
                 tempEnabled.setChecked(true);
                 tempMax.setText(L"120");
                 tempMin.setText(L"-50");
             },
             L"", nullptr},
    Scenario{"equal_values_fail",
             [] {
                 tempEnabled.setChecked(true);
                 tempMax.setText(L"20");
                 tempMin.setText(L"20");
             },
             kTempOrder, nullptr},
    Scenario{"commas_become_points",
             [] {
                 tempEnabled.setChecked(true);
                 tempMax.setText(L"2,5");
                 tempMin.setText(L"1,5");
             },
             L"",
             [] {
                 EXPECT_EQ(L"2.5", tempMax.getText());
                 EXPECT_EQ(L"1.5", tempMin.getText());
             }},
    Scenario{"switched_off_reset_even_when_validation_fails",
             [] {
                 tempSmsOn.setChecked(true);
                 out2ByTemp.setChecked(true);
                 tempName.setText(L"");
                 tempMax.setText(L"99");
                 tempMin.setText(L"-5");
                 accessCode.setText(L"bad");
             },
             kAccess,
             [] {
                 EXPECT_EQ(L"25", tempMax.getText());
                 EXPECT_EQ(L"16", tempMin.getText());
                 EXPECT_EQ(L"TEMP", tempName.getText());
                 EXPECT_FALSE(tempSmsOn.isChecked());
                 EXPECT_FALSE(out2ByTemp.isChecked());
             }},
    Scenario{"temp_right_needs_an_sms",
             [] {
                 tempEnabled.setChecked(true);
                 activateUser(0);
                 userRightTemp[0].setChecked(true);
             },
             L"", [] { EXPECT_FALSE(userRightTemp[0].isChecked()); }}};

TEST(Validation, ListsTheFaultsAndLeavesTheRewritesTemperature)
{
    for (const Scenario& param : kValidationTemperatureCases) {
        SCOPED_TRACE(param.name);
        listsTheFaultsAndLeavesTheRewrites(param);
    }
}

const Scenario kValidationVoltageCases[] = {
    Scenario{"half_volt_apart_passes",
             [] {
                 powerEnabled.setChecked(true);
                 powerMax.setText(L"25");
                 setRaw(powerMin, L"24.5");
             },
             L"", nullptr},
    Scenario{"less_than_half_volt_fails",
             [] {
                 powerEnabled.setChecked(true);
                 powerMax.setText(L"25");
                 setRaw(powerMin, L"24.6");
             },
             kVoltGap, nullptr},
    Scenario{"letter_in_max_skips_the_gap_rule",
             [] {
                 powerEnabled.setChecked(true);
                 powerMax.setText(L"2a");
                 powerMin.setText(L"24");
             },
             L"Błędne napięcie max.\r\n", nullptr},
    Scenario{"letter_in_min_skips_the_gap_rule",
             [] {
                 powerEnabled.setChecked(true);
                 powerMax.setText(L"24");
                 setRaw(powerMin, L"24x"); // reads as 24: the gap rule would fire
             },
             L"Błędne napięcie min.\r\n", nullptr},
    Scenario{"range_faults_keep_the_gap_rule",
             [] {
                 powerEnabled.setChecked(true);
                 powerMax.setText(L"9");
                 powerMin.setText(L"9");
             },
             L"Nieprawidłowy zakres napięcia max: 10 ... 25.\r\nNieprawidłowy zakres napięcia min: 10 ... 25.\r\n" +
                 kVoltGap,
             nullptr},
    Scenario{"comma_becomes_point",
             [] {
                 powerEnabled.setChecked(true);
                 powerMax.setText(L"2,");
                 powerMin.setText(L"12");
             },
             L"Nieprawidłowy zakres napięcia max: 10 ... 25.\r\n" + kVoltGap,
             [] { EXPECT_EQ(L"2.", powerMax.getText()); }},
    Scenario{"pwr_right_cleared_when_off",
             [] {
                 activateUser(3);
                 userRightPwr[3].setChecked(true);
             },
             L"", [] { EXPECT_FALSE(userRightPwr[3].isChecked()); }}};

TEST(Validation, ListsTheFaultsAndLeavesTheRewritesVoltage)
{
    for (const Scenario& param : kValidationVoltageCases) {
        SCOPED_TRACE(param.name);
        listsTheFaultsAndLeavesTheRewrites(param);
    }
}

const Scenario kValidationUsersCases[] = {
    Scenario{"nine_characters_pass", [] { activateUser(0, L"+12345678"); }, L"", nullptr},
    Scenario{"eight_digits_fail", [] { activateUser(0, L"12345678"); },
             L"Błędny numer telefonu użytkownika nr 1.\r\n", nullptr},
    Scenario{"groups_fail", [] { activateUser(2, L"123 456 789"); },
             L"Błędny numer telefonu użytkownika nr 3.\r\n", nullptr},
    Scenario{"inactive_user_phone_emptied", [] { userPhone[4].setText(L"+48999"); }, L"",
             [] { EXPECT_EQ(L"", userPhone[4].getText()); }}};

TEST(Validation, ListsTheFaultsAndLeavesTheRewritesUsers)
{
    for (const Scenario& param : kValidationUsersCases) {
        SCOPED_TRACE(param.name);
        listsTheFaultsAndLeavesTheRewrites(param);
    }
}

const Scenario kValidationSeveralFaultsCases[] = {
    Scenario{
    "listed_once_each_in_rule_order",
    [] {
        accessCode.setText(L"ab");
        simPin.setText(L"1");
        in1Enabled.setChecked(true);
        in1Name.setText(L"");
        in1Time.setText(L"x");
        in2Enabled.setChecked(true);
        in2Name.setText(L" ");
        out1Enabled.setChecked(true);
        out1Name.setText(L"");
        out2Enabled.setChecked(true);
        out2Name.setText(L"");
        tempEnabled.setChecked(true);
        tempName.setText(L"");
        tempMax.setText(L"200");
        tempMin.setText(L"abc");
        powerEnabled.setChecked(true);
        powerMax.setText(L"x");
        powerMin.setText(L"5");
        activateUser(1, L"1");
        activateUser(4, L"abc");
    },
    L"Błędny kod dostępu.\r\n"
    L"Błędny kod pin.\r\n"
    L"Brak nazwy wejścia 1.\r\n"
    L"Błędny format czasu dla wejścia 1.\r\n"
    L"Brak nazwy wejścia 2.\r\n"
    L"Brak nazwy wyjścia 1.\r\n"
    L"Brak nazwy wyjścia 2.\r\n"
    L"Brak nazwy temperatury.\r\n"
    L"Przekroczony zakres temperatury (-50 ... 120).\r\n"
    L"Błędna temperatura min.\r\n"
    L"Błędne napięcie max.\r\n"
    L"Nieprawidłowy zakres napięcia min: 10 ... 25.\r\n"
    L"Błędny numer telefonu użytkownika nr 2.\r\n"
    L"Błędny numer telefonu użytkownika nr 5.\r\n",
    nullptr}};

TEST(Validation, ListsTheFaultsAndLeavesTheRewritesSeveralFaults)
{
    for (const Scenario& param : kValidationSeveralFaultsCases) {
        SCOPED_TRACE(param.name);
        listsTheFaultsAndLeavesTheRewrites(param);
    }
}

TEST(ValidationRepeated, SecondRunAfterFixingPasses)
{
    TestWindow window;
    MessageBoxRecorder boxes;
    in1Enabled.setChecked(true);
    in1Time.setText(L"2,5");
    accessCode.setText(L"abcd");
    EXPECT_FALSE(kes::checkWindowSettings(window.handle()));
    EXPECT_EQ(L"2.5", in1Time.getText()) << "the rewrite stays after the failed run";
    accessCode.setText(L"ABCD");
    EXPECT_TRUE(kes::checkWindowSettings(window.handle()));
    EXPECT_EQ(1u, boxes.boxes().size());
}

} // namespace

namespace {

// On a value alone, with no window: its faults and the value as validation leaves it.
TEST(ValidationOfAValue, GivesItsFaultsAndItsRewrittenValue)
{
    kes::Settings s;
    s.accessCode = L"zz";
    s.in1Name = L"Brama";  // input 1 is off
    s.in2Enabled = true;
    s.in2Name = L"   ";
    s.in2Wiring = 3;
    s.users[1].active = true;
    s.users[1].phone = L"12";
    const kes::ValidatedSettings v = kes::validateSettings(s);
    EXPECT_EQ(v.faults, L"Błędny kod dostępu.\r\nBrak nazwy wejścia 2.\r\nBłędny numer telefonu użytkownika nr 2.\r\n");
    EXPECT_EQ(v.settings.accessCode, L"zz");
    EXPECT_EQ(v.settings.in1Name, L"INPUT-1") << "a switched-off input's name goes back";
    EXPECT_EQ(v.settings.in2Wiring, 3);
    EXPECT_EQ(v.settings.users[0].phone, L"") << "an inactive user's number is emptied";
}

} // namespace
