#include "model/Validation.h"

#include "model/Catalogue.h"
#include "support/MessageBox.h"

#include <algorithm>

namespace kes {
namespace {

constexpr wchar_t kLineEnd[] = L"\r\n";
constexpr double kTempLowest = -50.0;
constexpr double kTempHighest = 120.0;
constexpr double kVoltLowest = 10.0;
constexpr double kVoltHighest = 25.0;
constexpr double kVoltMinGap = 0.5;

bool isBlank(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f';
}

bool isDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Digits with at most one point; the empty text passes (callers test emptiness).
bool isDigitsWithOnePoint(const std::wstring& text, std::size_t from)
{
    std::size_t points = 0;
    for (std::size_t i = from; i < text.size(); ++i) {
        if (text[i] == L'.')
            ++points;
        else if (!isDigit(text[i]))
            return false;
    }
    return points <= 1;
}

class FaultList {
public:
    void add(const std::wstring& message) { text_ += message + kLineEnd; }
    const std::wstring& text() const { return text_; }

private:
    std::wstring text_;
};

// Only a text that the rewrite changes is written back.
template <class Rewrite>
void rewrite(EditControl& field, Rewrite fn)
{
    const std::wstring text = field.getText();
    const std::wstring changed = fn(text);
    if (changed != text)
        field.setText(changed);
}

void requiredName(EditControl& field, FaultList& faults, const wchar_t* message)
{
    if (firstWord(field.getText()).empty())
        faults.add(message);
    else
        rewrite(field, foldPolishLetters);
}

void clearForAll(OptionControl (&right)[ids::kUserCount])
{
    for (auto& box : right)
        box.setChecked(false);
}

void restrictToActiveUsers(OptionControl (&right)[ids::kUserCount])
{
    for (int user = 0; user < ids::kUserCount; ++user)
        right[user].restrictChecked(userActive[user].isChecked());
}

struct InputFields {
    OptionControl& enabled;
    EditControl& name;
    EditControl& time;
    OptionControl& smsOn;
    EditControl& smsOnText;
    OptionControl& smsOff;
    EditControl& smsOffText;
    const wchar_t* defaultName;
    const wchar_t* defaultSmsOn;
    const wchar_t* defaultSmsOff;
    const wchar_t* noName;
    const wchar_t* badTime;
    const wchar_t* noSmsText;
};

void checkInput(const InputFields& in, FaultList& faults)
{
    if (in.enabled.isChecked()) {
        requiredName(in.name, faults, in.noName);
        rewrite(in.time, decimalCommaToPoint);
        if (!isUnsignedDecimal(in.time.getText()))
            faults.add(in.badTime);
        if (in.smsOn.isChecked())
            requiredName(in.smsOnText, faults, in.noSmsText);
        else
            in.smsOnText.setText(in.defaultSmsOn);
        if (in.smsOff.isChecked())
            requiredName(in.smsOffText, faults, in.noSmsText);
        else
            in.smsOffText.setText(in.defaultSmsOff);
    } else {
        in.name.setText(in.defaultName);
        in.time.setText(L"1");
        in.smsOnText.setText(in.defaultSmsOn);
        in.smsOffText.setText(in.defaultSmsOff);
    }
}

void checkOutput1(FaultList& faults)
{
    if (out1Enabled.isChecked()) {
        requiredName(out1Name, faults, L"Brak nazwy wyjścia 1.");
        if (out1ByInput.isChecked() && out1InputTimed.isChecked()) {
            if (!isUnsignedDecimal(out1InputTime.getText()))
                faults.add(L"Błędny czas dla wyjścia 1.");
        } else {
            out1InputTime.setText(L"1");
        }
        // The CLIP time is tested whenever CLIP control is on, timed or not.
        if (out1ByClip.isChecked()) {
            if (!isUnsignedDecimal(out1ClipTime.getText()))
                faults.add(L"Błędny czas CLIP dla wyjścia 1.");
        } else {
            out1ClipTime.setText(L"1");
        }
    } else {
        out1Name.setText(L"OUT-1");
        out1ByInput.setChecked(false);
        out1InputTimed.setChecked(false);
        out1InputTime.setText(L"1");
        out1ByClip.setChecked(false);
        out1ClipUsersOnly.setChecked(false);
        out1ClipTime.setText(L"1");
    }
    if (!out1ByInput.isChecked())
        out1InputTimed.setChecked(false);
    if (!out1ByClip.isChecked())
        out1ClipUsersOnly.setChecked(false);
}

void checkUserRights()
{
    if (!tempEnabled.isChecked() || !(tempSmsOn.isChecked() || tempSmsOff.isChecked()))
        clearForAll(userRightTemp);
    if (!powerEnabled.isChecked())
        clearForAll(userRightPwr);
    if (out1ByClip.isChecked() && !out1ClipUsersOnly.isChecked()) {
        clearForAll(userRightListen);
        restrictToActiveUsers(userRightClip);
    } else {
        restrictToActiveUsers(userRightClip);
        restrictToActiveUsers(userRightListen);
    }
}

void checkOutput2(FaultList& faults)
{
    if (out2Enabled.isChecked()) {
        requiredName(out2Name, faults, L"Brak nazwy wyjścia 2.");
        if (out2ByInput.isChecked() && out2InputTimed.isChecked()) {
            if (!isUnsignedDecimal(out2InputTime.getText()))
                faults.add(L"Błędny czas dla wyjścia 2.");
        } else {
            out2InputTime.setText(L"1");
        }
    } else {
        out2Name.setText(L"OUT-2");
        out2ByInput.setChecked(false);
        out2InputTimed.setChecked(false);
        out2InputTime.setText(L"1");
    }
    if (!out2ByInput.isChecked())
        out2InputTimed.setChecked(false);

    const bool anyOutput = out1Enabled.isChecked() || out2Enabled.isChecked();
    if (anyOutput && smsUsersOnly.isChecked())
        restrictToActiveUsers(userRightOut);
    else
        clearForAll(userRightOut);
}

bool outsideTempRange(double value) { return value < kTempLowest || value > kTempHighest; }
bool outsideVoltRange(double value) { return value < kVoltLowest || value > kVoltHighest; }

void checkTemperature(FaultList& faults)
{
    if (tempEnabled.isChecked()) {
        requiredName(tempName, faults, L"Brak nazwy temperatury.");
        rewrite(tempMax, decimalCommaToPoint);
        rewrite(tempMin, decimalCommaToPoint);
        const wchar_t* const range = L"Przekroczony zakres temperatury (-50 ... 120).";
        // The range tests run whatever the format tests found; unreadable text counts as 0.
        if (!isSignedDecimal(tempMax.getText()))
            faults.add(L"Błędna temperatura max.");
        if (outsideTempRange(tempMax.getDouble()))
            faults.add(range);
        if (!isSignedDecimal(tempMin.getText()))
            faults.add(L"Błędna temperatura min.");
        if (outsideTempRange(tempMin.getDouble()))
            faults.add(range);
        if (tempMin.getDouble() >= tempMax.getDouble())
            faults.add(L"Temperatura max  musi być większa od temperatury min.");
    } else {
        tempName.setText(L"TEMP");
        tempSmsOn.setChecked(false);
        tempSmsOff.setChecked(false);
        tempMax.setText(L"25");
        tempMin.setText(L"16");
        out2ByTemp.setChecked(false);
    }
}

void checkPower(FaultList& faults)
{
    if (powerEnabled.isChecked()) {
        rewrite(powerMax, decimalCommaToPoint);
        rewrite(powerMin, decimalCommaToPoint);
        bool bothReadable = true;
        if (!isUnsignedDecimal(powerMax.getText())) {
            faults.add(L"Błędne napięcie max.");
            bothReadable = false;
        } else if (outsideVoltRange(powerMax.getDouble())) {
            faults.add(L"Nieprawidłowy zakres napięcia max: 10 ... 25.");
        }
        if (!isUnsignedDecimal(powerMin.getText())) {
            faults.add(L"Błędne napięcie min.");
            bothReadable = false;
        } else if (outsideVoltRange(powerMin.getDouble())) {
            faults.add(L"Nieprawidłowy zakres napięcia min: 10 ... 25.");
        }
        if (bothReadable && powerMin.getDouble() + kVoltMinGap > powerMax.getDouble())
            faults.add(L"Napięcie max musi być większe od min o 0.5V.");
    } else {
        powerMax.setText(L"24");
        powerMin.setText(L"12");
    }
}

void checkUsers(FaultList& faults)
{
    for (int user = 0; user < ids::kUserCount; ++user) {
        if (userActive[user].isChecked()) {
            if (!isPhoneNumber(userPhone[user].getText()))
                faults.add(L"Błędny numer telefonu użytkownika nr " + std::to_wstring(user + 1) + L".");
            userTimedRights[user].isChecked();  // refreshes the hours field's enabled state
        } else {
            userPhone[user].setText(L"");
        }
    }
}

} // namespace

std::wstring firstWord(const std::wstring& text)
{
    const auto begin = std::find_if_not(text.begin(), text.end(), isBlank);
    const auto end = std::find_if(begin, text.end(), isBlank);
    return std::wstring(begin, end);
}

bool isAccessCode(const std::wstring& text)
{
    return text.size() == 4 &&
           std::all_of(text.begin(), text.end(), [](wchar_t c) { return (c >= L'A' && c <= L'Z') || isDigit(c); });
}

bool isPin(const std::wstring& text)
{
    return text.empty() || (text.size() == 4 && std::all_of(text.begin(), text.end(), isDigit));
}

bool isUnsignedDecimal(const std::wstring& text)
{
    const std::wstring word = firstWord(text);
    return !word.empty() && isDigitsWithOnePoint(word, 0);
}

bool isSignedDecimal(const std::wstring& text)
{
    const std::wstring word = firstWord(text);
    if (word.empty())
        return false;
    const std::size_t from = (word[0] == L'+' || word[0] == L'-') ? 1 : 0;
    return isDigitsWithOnePoint(word, from);
}

bool isPhoneNumber(const std::wstring& text)
{
    const std::wstring word = firstWord(text);
    return word.size() >= 9 && std::all_of(word.begin(), word.end(), [](wchar_t c) { return c == L'+' || isDigit(c); });
}

std::wstring foldPolishLetters(const std::wstring& text)
{
    static const std::wstring polish = L"ąćęłńóśżźĄĆĘŁŃÓŚŻŹ";
    static const std::wstring plain = L"acelnoszzACELNOSZZ";
    std::wstring folded = text;
    for (wchar_t& c : folded) {
        const auto at = polish.find(c);
        if (at != std::wstring::npos)
            c = plain[at];
    }
    return folded;
}

std::wstring decimalCommaToPoint(const std::wstring& text)
{
    std::wstring result = text;
    std::replace(result.begin(), result.end(), L',', L'.');
    return result;
}

std::wstring collectSettingsFaults()
{
    FaultList faults;
    if (!isAccessCode(accessCode.getText()))
        faults.add(L"Błędny kod dostępu.");
    if (!isPin(simPin.getText()))
        faults.add(L"Błędny kod pin.");
    checkInput({in1Enabled, in1Name, in1Time, in1SmsOn, in1SmsOnText, in1SmsOff, in1SmsOffText, L"INPUT-1",
                L"INPUT-1 ON", L"INPUT-1 OFF", L"Brak nazwy wejścia 1.", L"Błędny format czasu dla wejścia 1.",
                L"Brak treści SMS-a dla wejścia 1."},
               faults);
    checkInput({in2Enabled, in2Name, in2Time, in2SmsOn, in2SmsOnText, in2SmsOff, in2SmsOffText, L"INPUT-2",
                L"INPUT-2 ON", L"INPUT-2 OFF", L"Brak nazwy wejścia 2.", L"Błędny format czasu dla wejścia 2.",
                L"Brak treści SMS-a dla wejścia 2."},
               faults);
    checkOutput1(faults);
    checkUserRights();
    checkOutput2(faults);
    checkTemperature(faults);
    checkPower(faults);
    checkUsers(faults);
    if (!out1Enabled.isChecked() && !out2Enabled.isChecked())
        smsUsersOnly.setChecked(false);
    return faults.text();
}

bool validateSettings(HWND dialog)
{
    const std::wstring faults = collectSettingsFaults();
    if (faults.empty())
        return true;
    showMessageBox(dialog, faults, L"Błędy w ustawieniach", MB_OK | MB_ICONWARNING);
    return false;
}

} // namespace kes
