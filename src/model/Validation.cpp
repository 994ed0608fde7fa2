#include "model/Validation.h"

#include "model/NumberText.h"

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

// An edit's text with the edit's limit: what is written back is cut to it, as the edit cuts it.
struct Edit {
    std::wstring& text;
    int maxLength;

    void set(const std::wstring& shown)
    {
        text = shown;
        if (maxLength > 0 && text.size() > static_cast<std::size_t>(maxLength))
            text.resize(static_cast<std::size_t>(maxLength));
    }
    // Only a text that the rewrite changes is written back.
    template <class Rewrite>
    void rewrite(Rewrite fn)
    {
        const std::wstring changed = fn(text);
        if (changed != text)
            set(changed);
    }
};

void requiredName(Edit field, FaultList& faults, const wchar_t* message)
{
    if (firstWord(field.text).empty())
        faults.add(message);
    else
        field.rewrite(foldPolishLetters);
}

using UserRight = bool UserSettings::*;

void clearForAll(Settings& s, UserRight right)
{
    for (UserSettings& user : s.users)
        user.*right = false;
}

void restrictToActiveUsers(Settings& s, UserRight right)
{
    for (UserSettings& user : s.users)
        user.*right = user.*right && user.active;
}

struct InputFields {
    bool enabled;
    Edit name;
    Edit time;
    bool smsOn;
    Edit smsOnText;
    bool smsOff;
    Edit smsOffText;
    const wchar_t* defaultName;
    const wchar_t* defaultSmsOn;
    const wchar_t* defaultSmsOff;
    const wchar_t* noName;
    const wchar_t* badTime;
    const wchar_t* noSmsText;
};

void checkInput(InputFields in, FaultList& faults)
{
    if (in.enabled) {
        requiredName(in.name, faults, in.noName);
        in.time.rewrite(decimalCommaToPoint);
        if (!isUnsignedDecimal(in.time.text))
            faults.add(in.badTime);
        if (in.smsOn)
            requiredName(in.smsOnText, faults, in.noSmsText);
        else
            in.smsOnText.set(in.defaultSmsOn);
        if (in.smsOff)
            requiredName(in.smsOffText, faults, in.noSmsText);
        else
            in.smsOffText.set(in.defaultSmsOff);
    } else {
        in.name.set(in.defaultName);
        in.time.set(L"1");
        in.smsOnText.set(in.defaultSmsOn);
        in.smsOffText.set(in.defaultSmsOff);
    }
}

// An output's name and its control by its input, the same for both outputs.
struct OutputFields {
    bool enabled;
    Edit name;
    bool& byInput;
    bool& inputTimed;
    Edit inputTime;
    const wchar_t* defaultName;
    const wchar_t* noName;
    const wchar_t* badTime;
};

void checkOutput(OutputFields out, FaultList& faults)
{
    if (out.enabled) {
        requiredName(out.name, faults, out.noName);
        if (out.byInput && out.inputTimed) {
            if (!isUnsignedDecimal(out.inputTime.text))
                faults.add(out.badTime);
        } else {
            out.inputTime.set(L"1");
        }
    } else {
        out.name.set(out.defaultName);
        out.byInput = false;
        out.inputTimed = false;
        out.inputTime.set(L"1");
    }
}

void checkOutput1(Settings& s, FaultList& faults)
{
    checkOutput({s.out1Enabled, {s.out1Name, lengths::name}, s.out1ByInput, s.out1InputTimed,
                 {s.out1InputTime, lengths::seconds}, L"OUT-1", L"Brak nazwy wyjścia 1.", L"Błędny czas dla wyjścia 1."},
                faults);
    Edit clipTime{s.out1ClipTime, lengths::seconds};
    if (s.out1Enabled) {
        // The CLIP time is tested whenever CLIP control is on, timed or not.
        if (s.out1ByClip) {
            if (!isUnsignedDecimal(clipTime.text))
                faults.add(L"Błędny czas CLIP dla wyjścia 1.");
        } else {
            clipTime.set(L"1");
        }
    } else {
        s.out1ByClip = false;
        s.out1ClipUsersOnly = false;
        clipTime.set(L"1");
    }
    if (!s.out1ByInput)
        s.out1InputTimed = false;
    if (!s.out1ByClip)
        s.out1ClipUsersOnly = false;
}

void checkUserRights(Settings& s)
{
    if (!s.tempEnabled || !(s.tempSmsOn || s.tempSmsOff))
        clearForAll(s, &UserSettings::rightTemp);
    if (!s.powerEnabled)
        clearForAll(s, &UserSettings::rightPwr);
    if (s.out1ByClip && !s.out1ClipUsersOnly) {
        clearForAll(s, &UserSettings::rightListen);
        restrictToActiveUsers(s, &UserSettings::rightClip);
    } else {
        restrictToActiveUsers(s, &UserSettings::rightClip);
        restrictToActiveUsers(s, &UserSettings::rightListen);
    }
}

void checkOutput2(Settings& s, FaultList& faults)
{
    checkOutput({s.out2Enabled, {s.out2Name, lengths::name}, s.out2ByInput, s.out2InputTimed,
                 {s.out2InputTime, lengths::seconds}, L"OUT-2", L"Brak nazwy wyjścia 2.", L"Błędny czas dla wyjścia 2."},
                faults);
    if (!s.out2ByInput)
        s.out2InputTimed = false;

    if ((s.out1Enabled || s.out2Enabled) && s.smsUsersOnly)
        restrictToActiveUsers(s, &UserSettings::rightOut);
    else
        clearForAll(s, &UserSettings::rightOut);
}

bool outsideTempRange(double value) { return value < kTempLowest || value > kTempHighest; }
bool outsideVoltRange(double value) { return value < kVoltLowest || value > kVoltHighest; }

void checkTemperature(Settings& s, FaultList& faults)
{
    Edit max{s.tempMax, lengths::temperature};
    Edit min{s.tempMin, lengths::temperature};
    if (s.tempEnabled) {
        requiredName({s.tempName, lengths::name}, faults, L"Brak nazwy temperatury.");
        max.rewrite(decimalCommaToPoint);
        min.rewrite(decimalCommaToPoint);
        const wchar_t* const range = L"Przekroczony zakres temperatury (-50 ... 120).";
        // The range tests run whatever the format tests found; unreadable text counts as 0.
        if (!isSignedDecimal(max.text))
            faults.add(L"Błędna temperatura max.");
        if (outsideTempRange(doubleOf(max.text)))
            faults.add(range);
        if (!isSignedDecimal(min.text))
            faults.add(L"Błędna temperatura min.");
        if (outsideTempRange(doubleOf(min.text)))
            faults.add(range);
        if (doubleOf(min.text) >= doubleOf(max.text))
            faults.add(L"Temperatura max  musi być większa od temperatury min.");
    } else {
        Edit{s.tempName, lengths::name}.set(L"TEMP");
        s.tempSmsOn = false;
        s.tempSmsOff = false;
        max.set(L"25");
        min.set(L"16");
        s.out2ByTemp = false;
    }
}

void checkPower(Settings& s, FaultList& faults)
{
    Edit max{s.powerMax, lengths::volts};
    Edit min{s.powerMin, lengths::volts};
    if (s.powerEnabled) {
        max.rewrite(decimalCommaToPoint);
        min.rewrite(decimalCommaToPoint);
        bool bothReadable = true;
        if (!isUnsignedDecimal(max.text)) {
            faults.add(L"Błędne napięcie max.");
            bothReadable = false;
        } else if (outsideVoltRange(doubleOf(max.text))) {
            faults.add(L"Nieprawidłowy zakres napięcia max: 10 ... 25.");
        }
        if (!isUnsignedDecimal(min.text)) {
            faults.add(L"Błędne napięcie min.");
            bothReadable = false;
        } else if (outsideVoltRange(doubleOf(min.text))) {
            faults.add(L"Nieprawidłowy zakres napięcia min: 10 ... 25.");
        }
        if (bothReadable && doubleOf(min.text) + kVoltMinGap > doubleOf(max.text))
            faults.add(L"Napięcie max musi być większe od min o 0.5V.");
    } else {
        max.set(L"24");
        min.set(L"12");
    }
}

void checkUsers(Settings& s, FaultList& faults)
{
    for (std::size_t user = 0; user < s.users.size(); ++user) {
        UserSettings& u = s.users[user];
        if (!u.active)
            u.phone.clear();
        else if (!isPhoneNumber(u.phone))
            faults.add(L"Błędny numer telefonu użytkownika nr " + std::to_wstring(user + 1) + L".");
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

ValidatedSettings validateSettings(Settings settings)
{
    Settings& s = settings;
    FaultList faults;
    if (!isAccessCode(s.accessCode))
        faults.add(L"Błędny kod dostępu.");
    if (!isPin(s.simPin))
        faults.add(L"Błędny kod pin.");
    checkInput({s.in1Enabled, {s.in1Name, lengths::name}, {s.in1Time, lengths::seconds}, s.in1SmsOn,
                {s.in1SmsOnText, lengths::smsText}, s.in1SmsOff, {s.in1SmsOffText, lengths::smsText}, L"INPUT-1",
                L"INPUT-1 ON", L"INPUT-1 OFF", L"Brak nazwy wejścia 1.", L"Błędny format czasu dla wejścia 1.",
                L"Brak treści SMS-a dla wejścia 1."},
               faults);
    checkInput({s.in2Enabled, {s.in2Name, lengths::name}, {s.in2Time, lengths::seconds}, s.in2SmsOn,
                {s.in2SmsOnText, lengths::smsText}, s.in2SmsOff, {s.in2SmsOffText, lengths::smsText}, L"INPUT-2",
                L"INPUT-2 ON", L"INPUT-2 OFF", L"Brak nazwy wejścia 2.", L"Błędny format czasu dla wejścia 2.",
                L"Brak treści SMS-a dla wejścia 2."},
               faults);
    checkOutput1(s, faults);
    checkUserRights(s);
    checkOutput2(s, faults);
    checkTemperature(s, faults);
    checkPower(s, faults);
    checkUsers(s, faults);
    if (!s.out1Enabled && !s.out2Enabled)
        s.smsUsersOnly = false;
    return {faults.text(), std::move(settings)};
}

} // namespace kes
