#include "model/SettingsRecords.h"

#include "model/Catalogue.h"

namespace kes {
namespace {

constexpr std::size_t userCount = static_cast<std::size_t>(ids::kUserCount);

class Table {
public:
    void text(std::wstring Settings::*member, EditControl& field, int maxLength)
    {
        add(textRecord(member, field, maxLength));
    }
    void flag(bool Settings::*member, OptionControl& field) { add(flagRecord(member, &field, nullptr)); }
    void availability(bool Settings::*member, EnableControl& field) { add(flagRecord(member, nullptr, &field)); }
    void list(int Settings::*member, ComboboxControl<int>& field, std::size_t items)
    {
        add(listRecord(member, field, items));
    }

    // A group of five: the member of users 0 to 4 in turn.
    void userText(std::wstring UserSettings::*member, EditControl (&fields)[ids::kUserCount], int maxLength)
    {
        for (std::size_t u = 0; u < userCount; ++u)
            add(textRecord(SettingsMember<std::wstring>(member, u), fields[u], maxLength));
    }
    void userFlag(bool UserSettings::*member, OptionControl (&fields)[ids::kUserCount])
    {
        for (std::size_t u = 0; u < userCount; ++u)
            add(flagRecord(SettingsMember<bool>(member, u), &fields[u], nullptr));
    }
    void userAvailability(bool UserSettings::*member, EnableControl (&fields)[ids::kUserCount])
    {
        for (std::size_t u = 0; u < userCount; ++u)
            add(flagRecord(SettingsMember<bool>(member, u), nullptr, &fields[u]));
    }
    void userList(int UserSettings::*member, ComboboxControl<int> (&fields)[ids::kUserCount], std::size_t items)
    {
        for (std::size_t u = 0; u < userCount; ++u)
            add(listRecord(SettingsMember<int>(member, u), fields[u], items));
    }

    std::vector<SettingsRecord> take() { return std::move(records_); }

private:
    static SettingsRecord textRecord(SettingsMember<std::wstring> member, EditControl& field, int maxLength)
    {
        SettingsRecord r;
        r.kind = RecordKind::Text;
        r.text = member;
        r.maxLength = maxLength;
        r.edit = &field;
        return r;
    }
    static SettingsRecord flagRecord(SettingsMember<bool> member, OptionControl* option, EnableControl* availability)
    {
        SettingsRecord r;
        r.kind = RecordKind::Flag;
        r.flag = member;
        r.option = option;
        r.availability = availability;
        return r;
    }
    static SettingsRecord listRecord(SettingsMember<int> member, ComboboxControl<int>& field, std::size_t items)
    {
        SettingsRecord r;
        r.kind = RecordKind::Index;
        r.index = member;
        r.itemCount = static_cast<int>(items);
        r.list = &field;
        return r;
    }
    void add(SettingsRecord record) { records_.push_back(std::move(record)); }

    std::vector<SettingsRecord> records_;
};

std::vector<SettingsRecord> allRecords()
{
    using S = Settings;
    using U = UserSettings;
    const std::size_t wirings = wiringItems().size();
    Table t;
    t.text(&S::accessCode, ::accessCode, lengths::code);
    t.text(&S::simPin, ::simPin, lengths::code);
    t.flag(&S::in1Enabled, ::in1Enabled);
    t.text(&S::in1Name, ::in1Name, lengths::name);
    t.list(&S::in1Wiring, ::in1Wiring, wirings);
    t.text(&S::in1Time, ::in1Time, lengths::seconds);
    t.flag(&S::in1SmsOn, ::in1SmsOn);
    t.text(&S::in1SmsOnText, ::in1SmsOnText, lengths::smsText);
    t.flag(&S::in1SmsOff, ::in1SmsOff);
    t.text(&S::in1SmsOffText, ::in1SmsOffText, lengths::smsText);
    t.flag(&S::in2Enabled, ::in2Enabled);
    t.text(&S::in2Name, ::in2Name, lengths::name);
    t.list(&S::in2Wiring, ::in2Wiring, wirings);
    t.text(&S::in2Time, ::in2Time, lengths::seconds);
    t.flag(&S::in2SmsOn, ::in2SmsOn);
    t.text(&S::in2SmsOnText, ::in2SmsOnText, lengths::smsText);
    t.flag(&S::in2SmsOff, ::in2SmsOff);
    t.text(&S::in2SmsOffText, ::in2SmsOffText, lengths::smsText);
    t.flag(&S::out1Enabled, ::out1Enabled);
    t.text(&S::out1Name, ::out1Name, lengths::name);
    t.flag(&S::out1ByInput, ::out1ByInput);
    t.flag(&S::out1InputTimed, ::out1InputTimed);
    t.text(&S::out1InputTime, ::out1InputTime, lengths::seconds);
    t.flag(&S::out1ByClip, ::out1ByClip);
    t.flag(&S::out1ClipUsersOnly, ::out1ClipUsersOnly);
    t.flag(&S::out1ClipTimed, ::out1ClipTimed);
    t.text(&S::out1ClipTime, ::out1ClipTime, lengths::seconds);
    t.flag(&S::out2Enabled, ::out2Enabled);
    t.text(&S::out2Name, ::out2Name, lengths::name);
    t.flag(&S::out2ByInput, ::out2ByInput);
    t.flag(&S::out2InputTimed, ::out2InputTimed);
    t.text(&S::out2InputTime, ::out2InputTime, lengths::seconds);
    t.flag(&S::out2ByTemp, ::out2ByTemp);
    t.availability(&S::out2ByTempAvailable, ::out2ByTempAvailable);
    t.flag(&S::smsUsersOnly, ::smsUsersOnly);
    t.availability(&S::smsUsersOnlyAvailable, ::smsUsersOnlyAvailable);
    t.flag(&S::tempEnabled, ::tempEnabled);
    t.text(&S::tempName, ::tempName, lengths::name);
    t.flag(&S::tempSmsOn, ::tempSmsOn);
    t.flag(&S::tempSmsOff, ::tempSmsOff);
    t.text(&S::tempMax, ::tempMax, lengths::temperature);
    t.text(&S::tempMin, ::tempMin, lengths::temperature);
    t.flag(&S::powerEnabled, ::powerEnabled);
    t.text(&S::powerMax, ::powerMax, lengths::volts);
    t.text(&S::powerMin, ::powerMin, lengths::volts);

    t.userFlag(&U::active, ::userActive);
    t.userText(&U::phone, ::userPhone, lengths::phone);
    t.userList(&U::notify, ::userNotify, notifyItems().size());
    t.userFlag(&U::rightOut, ::userRightOut);
    t.userAvailability(&U::rightOutAvailable, ::userRightOutAvailable);
    t.userFlag(&U::rightTemp, ::userRightTemp);
    t.userAvailability(&U::rightTempAvailable, ::userRightTempAvailable);
    t.userFlag(&U::rightPwr, ::userRightPwr);
    t.userAvailability(&U::rightPwrAvailable, ::userRightPwrAvailable);
    t.userFlag(&U::rightClip, ::userRightClip);
    t.userAvailability(&U::rightClipAvailable, ::userRightClipAvailable);
    t.userFlag(&U::rightListen, ::userRightListen);
    t.userAvailability(&U::rightListenAvailable, ::userRightListenAvailable);
    t.userFlag(&U::rightMessenger, ::userRightMessenger);
    t.userFlag(&U::timedRights, ::userTimedRights);
    t.userText(&U::rightsHours, ::userRightsHours, lengths::hours);
    return t.take();
}

} // namespace

const std::vector<SettingsRecord>& settingsRecords()
{
    static const std::vector<SettingsRecord> records = allRecords();
    return records;
}

} // namespace kes
