#pragma once
// The settings registry's records in its order, the order of a data file's records: each with its
// kind, the member of a Settings value that holds it and the bound field the window shows it in.
// Whatever walks every record walks this table: the data file, the window's view, equality.
#include "model/Fields.h"
#include "model/Settings.h"

#include <cstddef>
#include <string>
#include <vector>

namespace kes {

enum class RecordKind {
    Text,   // an edit's text
    Flag,   // a check box or an availability: the digit 0 or 1
    Index,  // a list's index, -1 for no selection
};

// A member of a value: one of the settings' own, or one of a user's.
template <class T>
class SettingsMember {
public:
    SettingsMember() = default;
    SettingsMember(T Settings::*general) : general_(general) {}
    SettingsMember(T UserSettings::*ofUser, std::size_t user) : ofUser_(ofUser), user_(user) {}

    T& in(Settings& s) const { return general_ ? s.*general_ : s.users[user_].*ofUser_; }
    const T& in(const Settings& s) const { return general_ ? s.*general_ : s.users[user_].*ofUser_; }

private:
    T Settings::*general_ = nullptr;
    T UserSettings::*ofUser_ = nullptr;
    std::size_t user_ = 0;
};

struct SettingsRecord {
    RecordKind kind = RecordKind::Text;
    SettingsMember<std::wstring> text;  // Text
    SettingsMember<bool> flag;          // Flag
    SettingsMember<int> index;          // Index
    int maxLength = 0;                  // Text: the edit's maximum length
    int itemCount = 0;                  // Index: how many items the list holds
    // The field that shows it: an edit (Text), a check box or an availability (Flag), a list (Index).
    EditControl* edit = nullptr;
    OptionControl* option = nullptr;
    EnableControl* availability = nullptr;
    ComboboxControl<int>* list = nullptr;
};

// All 125, in the registry's order.
const std::vector<SettingsRecord>& settingsRecords();

} // namespace kes
