#include "tools/LabelledSettings.h"

#include "model/Catalogue.h"

#include <iomanip>
#include <sstream>

namespace kes {
namespace {

using Config = ModuleConfiguration;

std::wstring yesNo(bool value) { return value ? yesText : noText; }

std::wstring itemText(const std::vector<std::wstring>& items, int index)
{
    return index >= 0 && static_cast<std::size_t>(index) < items.size() ? items[static_cast<std::size_t>(index)]
                                                                         : std::wstring();
}

// As the edit shows a voltage put into it: fixed, one digit after the point.
std::wstring voltsText(double volts)
{
    std::wostringstream out;
    out.imbue(std::locale::classic());
    out << std::fixed << std::setprecision(1) << volts;
    return out.str();
}

std::wstring label(const std::wstring& row, const std::wstring& column) { return row + labelSeparator + column; }

class Table {
public:
    void text(std::wstring name, EditControl& field, std::function<std::wstring(const Config&)> value)
    {
        add(std::move(name), SettingKind::Text, field, std::move(value));
    }
    void number(std::wstring name, EditControl& field, std::function<std::int32_t(const Config&)> value)
    {
        add(std::move(name), SettingKind::Number, field, [value](const Config& c) { return std::to_wstring(value(c)); });
    }
    void volts(std::wstring name, EditControl& field, std::function<double(const Config&)> value)
    {
        add(std::move(name), SettingKind::Volts, field, [value](const Config& c) { return voltsText(value(c)); });
    }
    void check(std::wstring name, OptionControl& field, std::function<bool(const Config&)> value)
    {
        LabelledSetting s;
        s.label = std::move(name);
        s.kind = SettingKind::Check;
        s.option = &field;
        s.shown = [value](const Config& c) { return yesNo(value(c)); };
        rows_.push_back(std::move(s));
    }
    void list(std::wstring name, ComboboxControl<int>& field, std::function<int(const Config&)> value)
    {
        LabelledSetting s;
        s.label = std::move(name);
        s.kind = SettingKind::List;
        s.list = &field;
        s.shown = [&field, value](const Config& c) { return itemText(field.items(), value(c)); };
        rows_.push_back(std::move(s));
    }
    std::vector<LabelledSetting> take() { return std::move(rows_); }

private:
    void add(std::wstring name, SettingKind kind, EditControl& field, std::function<std::wstring(const Config&)> value)
    {
        LabelledSetting s;
        s.label = std::move(name);
        s.kind = kind;
        s.edit = &field;
        s.shown = std::move(value);
        rows_.push_back(std::move(s));
    }

    std::vector<LabelledSetting> rows_;
};

struct InputRow {
    const wchar_t* name;
    OptionControl& enabled;
    EditControl& title;
    ComboboxControl<int>& wiring;
    EditControl& time;
    OptionControl& smsOn;
    EditControl& smsOnText;
    OptionControl& smsOff;
    EditControl& smsOffText;
    int titleText, smsOnTextIndex, smsOffTextIndex;
};

void inputRow(Table& t, std::size_t ch, const InputRow& r)
{
    const std::wstring row = r.name;
    t.check(row, r.enabled, [ch](const Config& c) { return c.inputs.channel[ch].enabled; });
    t.text(label(row, L"nazwa"), r.title, [i = r.titleText](const Config& c) { return c.texts[i]; });
    t.list(label(row, L"rodzaj wejścia"), r.wiring, [ch](const Config& c) { return c.inputs.channel[ch].wiring; });
    t.number(label(row, L"Pobudzenie [s]"), r.time, [ch](const Config& c) { return c.inputs.channel[ch].time; });
    t.check(label(row, L"SMS ON"), r.smsOn, [ch](const Config& c) { return c.inputs.channel[ch].smsOn; });
    t.text(label(row, L"SMS ON – treść"), r.smsOnText, [i = r.smsOnTextIndex](const Config& c) { return c.texts[i]; });
    t.check(label(row, L"SMS OFF"), r.smsOff, [ch](const Config& c) { return c.inputs.channel[ch].smsOff; });
    t.text(label(row, L"SMS OFF – treść"), r.smsOffText, [i = r.smsOffTextIndex](const Config& c) { return c.texts[i]; });
}

struct OutputRow {
    const wchar_t* name;
    EditControl& title;
    int titleText;
    const wchar_t* byInputCaption;
    OptionControl& byInput;
    OptionControl& timed;
    EditControl& time;
};

void outputRow(Table& t, std::size_t ch, const OutputRow& r)
{
    const std::wstring row = r.name;
    t.text(label(row, L"nazwa"), r.title, [i = r.titleText](const Config& c) { return c.texts[i]; });
    // Block 0 sends output 1 as "not following" when it is timed; read back it shows checked.
    t.check(label(row, r.byInputCaption), r.byInput, [ch](const Config& c) {
        return c.inputs.channel[ch].outputFollows || c.inputs.channel[ch].outputTimed;
    });
    t.check(label(row, L"czasowo [s]"), r.timed, [ch](const Config& c) { return c.inputs.channel[ch].outputTimed; });
    t.number(label(row, L"czas [s]"), r.time, [ch](const Config& c) { return c.inputs.channel[ch].outputTime; });
}

void userRow(Table& t, int u)
{
    std::wstring row = L"Użytkownik 1";
    row.back() = static_cast<wchar_t>(L'1' + u);
    const auto user = [u](const Config& c) -> const UserRecord& { return c.users[static_cast<std::size_t>(u)]; };
    t.check(row, ::userActive[u], [user](const Config& c) { return user(c).enabled; });
    // Reading shows no number for a user the module has switched off.
    t.text(label(row, L"telefon"), ::userPhone[u],
           [user](const Config& c) { return user(c).enabled ? user(c).phone : std::wstring(); });
    t.list(label(row, L"powiadamianie"), ::userNotify[u], [user](const Config& c) { return user(c).notifyMode; });
    t.check(label(row, L"OUT"), ::userRightOut[u], [user](const Config& c) { return user(c).rightOut; });
    t.check(label(row, L"TEMP"), ::userRightTemp[u], [user](const Config& c) { return user(c).rightTemp; });
    t.check(label(row, L"PWR"), ::userRightPwr[u], [user](const Config& c) { return user(c).rightPwr; });
    t.check(label(row, L"CLIP"), ::userRightClip[u], [user](const Config& c) { return user(c).rightClip; });
    t.check(label(row, L"PODSŁUCH"), ::userRightListen[u], [user](const Config& c) { return user(c).rightListen; });
    t.check(label(row, L"POSŁANIEC"), ::userRightMessenger[u], [user](const Config& c) { return user(c).rightMessenger; });
    t.check(label(row, L"UPRAWNIENIA CZAS. [h]"), ::userTimedRights[u],
            [user](const Config& c) { return user(c).timedRights; });
    t.number(label(row, L"UPRAWNIENIA CZAS. [h] – liczba godzin"), ::userRightsHours[u],
             [user](const Config& c) { return user(c).hours; });
}

constexpr int textIndex(ConfigBlock block) { return static_cast<int>(block) - static_cast<int>(ConfigBlock::In1Name); }

std::vector<LabelledSetting> allSettings()
{
    Table t;
    t.text(L"Kod dostępu", ::accessCode, [](const Config& c) { return c.inputs.accessCode; });
    t.text(L"Kod PIN karty SIM", ::simPin, [](const Config& c) { return c.inputs.simPin; });
    inputRow(t, 0, {L"IN-1", ::in1Enabled, ::in1Name, ::in1Wiring, ::in1Time, ::in1SmsOn, ::in1SmsOnText, ::in1SmsOff,
                    ::in1SmsOffText, textIndex(ConfigBlock::In1Name), textIndex(ConfigBlock::In1SmsOnText),
                    textIndex(ConfigBlock::In1SmsOffText)});
    inputRow(t, 1, {L"IN-2", ::in2Enabled, ::in2Name, ::in2Wiring, ::in2Time, ::in2SmsOn, ::in2SmsOnText, ::in2SmsOff,
                    ::in2SmsOffText, textIndex(ConfigBlock::In2Name), textIndex(ConfigBlock::In2SmsOnText),
                    textIndex(ConfigBlock::In2SmsOffText)});

    outputRow(t, 0, {L"OUT-1", ::out1Name, textIndex(ConfigBlock::Out1Name), L"sterowanie wejściem 1", ::out1ByInput,
                     ::out1InputTimed, ::out1InputTime});
    const std::wstring clip = L"OUT-1 – sterowanie CLIP";
    t.check(clip, ::out1ByClip, [](const Config& c) { return c.alarms.out1ByClip; });
    t.check(label(clip, L"tylko użytkownicy"), ::out1ClipUsersOnly, [](const Config& c) { return c.alarms.clipUsersOnly; });
    t.check(label(clip, L"czasowo [s]"), ::out1ClipTimed, [](const Config& c) { return c.alarms.clipTimed; });
    t.number(label(clip, L"czas [s]"), ::out1ClipTime, [](const Config& c) { return c.alarms.clipTime; });
    t.check(L"Sterowanie SMS-ami – tylko użytkownicy", ::smsUsersOnly, [](const Config& c) { return c.alarms.smsUsersOnly; });

    outputRow(t, 1, {L"OUT-2", ::out2Name, textIndex(ConfigBlock::Out2Name), L"sterowanie wejściem 2", ::out2ByInput,
                     ::out2InputTimed, ::out2InputTime});
    t.check(L"OUT-2 – sterowanie temperaturą", ::out2ByTemp, [](const Config& c) { return c.alarms.out2ByTemp; });

    t.check(L"TEMP", ::tempEnabled, [](const Config& c) { return c.alarms.tempEnabled; });
    t.text(L"TEMP – nazwa", ::tempName, [](const Config& c) { return c.texts[textIndex(ConfigBlock::TempName)]; });
    t.check(L"TEMP – SMS ON", ::tempSmsOn, [](const Config& c) { return c.alarms.tempSmsOn; });
    t.check(L"TEMP – SMS OFF", ::tempSmsOff, [](const Config& c) { return c.alarms.tempSmsOff; });
    t.number(L"TEMP – max [C]", ::tempMax, [](const Config& c) { return c.alarms.tempMax; });
    t.number(L"TEMP – min [C]", ::tempMin, [](const Config& c) { return c.alarms.tempMin; });

    t.check(L"POWER", ::powerEnabled, [](const Config& c) { return c.alarms.powerEnabled; });
    t.volts(L"POWER – max [V]", ::powerMax, [](const Config& c) { return c.alarms.powerMax; });
    t.volts(L"POWER – min [V]", ::powerMin, [](const Config& c) { return c.alarms.powerMin; });

    for (int u = 0; u < userCount; ++u)
        userRow(t, u);
    return t.take();
}

} // namespace

std::wstring LabelledSetting::shownNow() const
{
    if (option)
        return yesNo(option->isChecked());
    if (list)
        return itemText(list->items(), list->getSelection());
    return edit ? edit->getText() : std::wstring();
}

const std::vector<LabelledSetting>& labelledSettings()
{
    static const std::vector<LabelledSetting> all = allSettings();
    return all;
}

} // namespace kes
