#include "protocol/SettingLabels.h"

#include "model/Catalogue.h"

namespace kes {
namespace {

constexpr wchar_t yes[] = L"tak";
constexpr wchar_t no[] = L"nie";
constexpr wchar_t dash[] = L" – ";
constexpr wchar_t notShown[] = L"—";  // the first user has no time-limited rights

std::function<std::wstring()> text(EditControl& field)
{
    return [&field] { return field.getText(); };
}

std::function<std::wstring()> flag(OptionControl& field)
{
    return [&field] { return std::wstring(field.isChecked() ? yes : no); };
}

std::wstring itemText(const ComboboxControl<int>& field)
{
    const int index = field.getSelection();
    const auto& items = field.items();
    return index >= 0 && static_cast<std::size_t>(index) < items.size() ? items[static_cast<std::size_t>(index)]
                                                                         : std::wstring();
}

std::function<std::wstring()> item(ComboboxControl<int>& field)
{
    return [&field] { return itemText(field); };
}

std::wstring join(const std::wstring& row, const std::wstring& column) { return row + dash + column; }

void inputRow(std::vector<SettingLabel>& out, const wchar_t* row, OptionControl& enabled, EditControl& name,
              ComboboxControl<int>& wiring, EditControl& time, OptionControl& smsOn, EditControl& smsOnText,
              OptionControl& smsOff, EditControl& smsOffText)
{
    out.push_back({row, row, flag(enabled)});
    out.push_back({row, join(row, L"Nazwa"), text(name)});
    out.push_back({row, join(row, L"Podłączenie"), item(wiring)});
    out.push_back({row, join(row, L"Pobudzenie [s]"), text(time)});
    out.push_back({row, join(row, L"SMS ON"), flag(smsOn)});
    out.push_back({row, join(row, L"SMS ON – treść"), text(smsOnText)});
    out.push_back({row, join(row, L"SMS OFF"), flag(smsOff)});
    out.push_back({row, join(row, L"SMS OFF – treść"), text(smsOffText)});
}

} // namespace

std::vector<SettingLabel> generalSettingLabels()
{
    std::vector<SettingLabel> out;
    const wchar_t* codes = L"Kody";
    out.push_back({codes, L"Kod dostępu", text(::accessCode)});
    out.push_back({codes, L"Kod PIN karty SIM", text(::simPin)});

    inputRow(out, L"IN-1", ::in1Enabled, ::in1Name, ::in1Wiring, ::in1Time, ::in1SmsOn, ::in1SmsOnText, ::in1SmsOff,
             ::in1SmsOffText);
    inputRow(out, L"IN-2", ::in2Enabled, ::in2Name, ::in2Wiring, ::in2Time, ::in2SmsOn, ::in2SmsOnText, ::in2SmsOff,
             ::in2SmsOffText);

    const std::wstring out1 = L"OUT-1";
    const std::wstring byInput1 = join(out1, L"sterowanie wejściem 1");
    const std::wstring byClip = join(out1, L"sterowanie CLIP");
    out.push_back({L"OUT-1", out1, flag(::out1Enabled)});
    out.push_back({L"OUT-1", join(out1, L"Nazwa"), text(::out1Name)});
    out.push_back({L"OUT-1", byInput1, flag(::out1ByInput)});
    out.push_back({L"OUT-1", join(byInput1, L"czasowo [s]"), flag(::out1InputTimed)});
    out.push_back({L"OUT-1", join(byInput1, L"czas [s]"), text(::out1InputTime)});
    out.push_back({L"OUT-1", byClip, flag(::out1ByClip)});
    out.push_back({L"OUT-1", join(byClip, L"tylko użytkownicy"), flag(::out1ClipUsersOnly)});
    out.push_back({L"OUT-1", join(byClip, L"czasowo [s]"), flag(::out1ClipTimed)});
    out.push_back({L"OUT-1", join(byClip, L"czas [s]"), text(::out1ClipTime)});

    const std::wstring out2 = L"OUT-2";
    const std::wstring byInput2 = join(out2, L"sterowanie wejściem 2");
    out.push_back({L"OUT-2", out2, flag(::out2Enabled)});
    out.push_back({L"OUT-2", join(out2, L"Nazwa"), text(::out2Name)});
    out.push_back({L"OUT-2", byInput2, flag(::out2ByInput)});
    out.push_back({L"OUT-2", join(byInput2, L"czasowo [s]"), flag(::out2InputTimed)});
    out.push_back({L"OUT-2", join(byInput2, L"czas [s]"), text(::out2InputTime)});
    out.push_back({L"OUT-2", join(out2, L"sterowanie temperaturą"), flag(::out2ByTemp)});

    out.push_back({L"Sterowanie SMS-ami", L"Sterowanie SMS-ami – tylko użytkownicy", flag(::smsUsersOnly)});

    const std::wstring temp = L"TEMP";
    out.push_back({L"TEMP", temp, flag(::tempEnabled)});
    out.push_back({L"TEMP", join(temp, L"Nazwa"), text(::tempName)});
    out.push_back({L"TEMP", join(temp, L"SMS ON"), flag(::tempSmsOn)});
    out.push_back({L"TEMP", join(temp, L"SMS OFF"), flag(::tempSmsOff)});
    out.push_back({L"TEMP", join(temp, L"max [C]"), text(::tempMax)});
    out.push_back({L"TEMP", join(temp, L"min [C]"), text(::tempMin)});

    const std::wstring power = L"POWER";
    out.push_back({L"POWER", power, flag(::powerEnabled)});
    out.push_back({L"POWER", join(power, L"max [V]"), text(::powerMax)});
    out.push_back({L"POWER", join(power, L"min [V]"), text(::powerMin)});
    return out;
}

std::vector<std::wstring> userColumnHeadings()
{
    return {L"Użytkownik", L"Aktywny", L"Telefon", L"Powiadamianie", L"OUT", L"TEMP", L"PWR",
            L"CLIP", L"PODSŁUCH", L"POSŁANIEC", L"UPRAWNIENIA CZAS. [h]"};
}

std::vector<std::vector<std::wstring>> userRows()
{
    std::vector<std::vector<std::wstring>> rows;
    for (int user = 0; user < ids::kUserCount; ++user) {
        auto yesNo = [](OptionControl& field) { return std::wstring(field.isChecked() ? yes : no); };
        std::wstring timed = notShown;
        if (user > 0)
            timed = ::userTimedRights[user].isChecked() ? ::userRightsHours[user].getText() : std::wstring(no);
        rows.push_back({L"Użytkownik " + std::to_wstring(user + 1), yesNo(::userActive[user]),
                        ::userPhone[user].getText(), itemText(::userNotify[user]), yesNo(::userRightOut[user]),
                        yesNo(::userRightTemp[user]), yesNo(::userRightPwr[user]), yesNo(::userRightClip[user]),
                        yesNo(::userRightListen[user]), yesNo(::userRightMessenger[user]), timed});
    }
    return rows;
}

} // namespace kes
