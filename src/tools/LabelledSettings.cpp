#include "tools/LabelledSettings.h"

namespace kes {
namespace {

using S = Settings;
using U = UserSettings;

std::wstring label(const std::wstring& row, const std::wstring& column) { return row + labelSeparator + column; }

class Table {
public:
    void text(std::wstring name, SettingsMember<std::wstring> member, int maxLength,
              SettingKind kind = SettingKind::Text)
    {
        LabelledSetting s;
        s.label = std::move(name);
        s.kind = kind;
        s.text = member;
        s.maxLength = maxLength;
        rows_.push_back(std::move(s));
    }
    void number(std::wstring name, SettingsMember<std::wstring> member, int maxLength)
    {
        text(std::move(name), member, maxLength, SettingKind::Number);
    }
    void volts(std::wstring name, SettingsMember<std::wstring> member)
    {
        text(std::move(name), member, lengths::volts, SettingKind::Volts);
    }
    void check(std::wstring name, SettingsMember<bool> member)
    {
        LabelledSetting s;
        s.label = std::move(name);
        s.kind = SettingKind::Check;
        s.check = member;
        rows_.push_back(std::move(s));
    }
    void list(std::wstring name, SettingsMember<int> member, const std::vector<std::wstring>& items)
    {
        LabelledSetting s;
        s.label = std::move(name);
        s.kind = SettingKind::List;
        s.item = member;
        s.items = &items;
        rows_.push_back(std::move(s));
    }
    // Temperatures are the only numbers with a sign: their edits take "-".
    void signedNumber(std::wstring name, SettingsMember<std::wstring> member, int maxLength)
    {
        number(std::move(name), member, maxLength);
        rows_.back().takesSign = true;
    }
    // The rows added since `from` are the user's.
    void ofUser(std::size_t from, int user)
    {
        for (std::size_t i = from; i < rows_.size(); ++i)
            rows_[i].user = user;
    }
    std::size_t size() const { return rows_.size(); }
    std::vector<LabelledSetting> take() { return std::move(rows_); }

private:
    std::vector<LabelledSetting> rows_;
};

struct InputRow {
    const wchar_t* name;
    bool S::*enabled;
    std::wstring S::*title;
    int S::*wiring;
    std::wstring S::*time;
    bool S::*smsOn;
    std::wstring S::*smsOnText;
    bool S::*smsOff;
    std::wstring S::*smsOffText;
};

void inputRow(Table& t, const InputRow& r)
{
    const std::wstring row = r.name;
    t.check(row, r.enabled);
    t.text(label(row, L"nazwa"), r.title, lengths::name);
    t.list(label(row, L"rodzaj wejścia"), r.wiring, wiringItems());
    t.number(label(row, L"Pobudzenie [s]"), r.time, lengths::seconds);
    t.check(label(row, L"SMS ON"), r.smsOn);
    t.text(label(row, L"SMS ON – treść"), r.smsOnText, lengths::smsText);
    t.check(label(row, L"SMS OFF"), r.smsOff);
    t.text(label(row, L"SMS OFF – treść"), r.smsOffText, lengths::smsText);
}

struct OutputRow {
    const wchar_t* name;
    std::wstring S::*title;
    const wchar_t* byInputCaption;
    bool S::*byInput;
    bool S::*timed;
    std::wstring S::*time;
};

void outputRow(Table& t, const OutputRow& r)
{
    const std::wstring row = r.name;
    t.text(label(row, L"nazwa"), r.title, lengths::name);
    t.check(label(row, r.byInputCaption), r.byInput);
    t.check(label(row, L"czasowo [s]"), r.timed);
    t.number(label(row, L"czas [s]"), r.time, lengths::seconds);
}

void userRow(Table& t, std::size_t u)
{
    std::wstring row = L"Użytkownik 1";
    row.back() = static_cast<wchar_t>(L'1' + u);
    const std::size_t first = t.size();
    t.check(row, {&U::active, u});
    t.text(label(row, L"telefon"), {&U::phone, u}, lengths::phone);
    t.list(label(row, L"powiadamianie"), {&U::notify, u}, notifyItems());
    t.check(label(row, L"OUT"), {&U::rightOut, u});
    t.check(label(row, L"TEMP"), {&U::rightTemp, u});
    t.check(label(row, L"PWR"), {&U::rightPwr, u});
    t.check(label(row, L"CLIP"), {&U::rightClip, u});
    t.check(label(row, L"PODSŁUCH"), {&U::rightListen, u});
    t.check(label(row, L"POSŁANIEC"), {&U::rightMessenger, u});
    t.check(label(row, L"UPRAWNIENIA CZAS. [h]"), {&U::timedRights, u});
    t.number(label(row, L"UPRAWNIENIA CZAS. [h] – liczba godzin"), {&U::rightsHours, u}, lengths::hours);
    t.ofUser(first, static_cast<int>(u));
}

std::vector<LabelledSetting> allSettings()
{
    Table t;
    t.text(L"Kod dostępu", &S::accessCode, lengths::code);
    t.text(L"Kod PIN karty SIM", &S::simPin, lengths::code);
    inputRow(t, {L"IN-1", &S::in1Enabled, &S::in1Name, &S::in1Wiring, &S::in1Time, &S::in1SmsOn, &S::in1SmsOnText,
                 &S::in1SmsOff, &S::in1SmsOffText});
    inputRow(t, {L"IN-2", &S::in2Enabled, &S::in2Name, &S::in2Wiring, &S::in2Time, &S::in2SmsOn, &S::in2SmsOnText,
                 &S::in2SmsOff, &S::in2SmsOffText});

    outputRow(t, {L"OUT-1", &S::out1Name, L"sterowanie wejściem 1", &S::out1ByInput, &S::out1InputTimed,
                  &S::out1InputTime});
    const std::wstring clip = L"OUT-1 – sterowanie CLIP";
    t.check(clip, &S::out1ByClip);
    t.check(label(clip, L"tylko użytkownicy"), &S::out1ClipUsersOnly);
    t.check(label(clip, L"czasowo [s]"), &S::out1ClipTimed);
    t.number(label(clip, L"czas [s]"), &S::out1ClipTime, lengths::seconds);
    t.check(L"Sterowanie SMS-ami – tylko użytkownicy", &S::smsUsersOnly);

    outputRow(t, {L"OUT-2", &S::out2Name, L"sterowanie wejściem 2", &S::out2ByInput, &S::out2InputTimed,
                  &S::out2InputTime});
    t.check(L"OUT-2 – sterowanie temperaturą", &S::out2ByTemp);

    t.check(L"TEMP", &S::tempEnabled);
    t.text(L"TEMP – nazwa", &S::tempName, lengths::name);
    t.check(L"TEMP – SMS ON", &S::tempSmsOn);
    t.check(L"TEMP – SMS OFF", &S::tempSmsOff);
    t.signedNumber(L"TEMP – max [C]", &S::tempMax, lengths::temperature);
    t.signedNumber(L"TEMP – min [C]", &S::tempMin, lengths::temperature);

    t.check(L"POWER", &S::powerEnabled);
    t.volts(L"POWER – max [V]", &S::powerMax);
    t.volts(L"POWER – min [V]", &S::powerMin);

    for (std::size_t u = 0; u < static_cast<std::size_t>(settingsUsers); ++u)
        userRow(t, u);
    return t.take();
}

} // namespace

std::wstring itemText(const std::vector<std::wstring>& items, int index)
{
    return index >= 0 && static_cast<std::size_t>(index) < items.size() ? items[static_cast<std::size_t>(index)]
                                                                         : std::wstring();
}

std::wstring LabelledSetting::shown(const Settings& settings) const
{
    switch (kind) {
    case SettingKind::Check:
        return check.in(settings) ? yesText : noText;
    case SettingKind::List:
        return itemText(*items, item.in(settings));
    case SettingKind::Text:
    case SettingKind::Number:
    case SettingKind::Volts:
        break;
    }
    return text.in(settings);
}

const std::vector<LabelledSetting>& labelledSettings()
{
    static const std::vector<LabelledSetting> all = allSettings();
    return all;
}

const std::vector<LabelledSetting>& outputBoxes()
{
    static const std::vector<LabelledSetting> boxes = [] {
        Table t;
        t.check(L"OUT-1", &S::out1Enabled);
        t.check(L"OUT-2", &S::out2Enabled);
        return t.take();
    }();
    return boxes;
}

} // namespace kes
