#pragma once
// Every setting the user sets in the window, by the label the user knows it by: the window's own
// row and column captions ("IN-1 – nazwa", "Użytkownik 2 – CLIP"), each reading and writing its
// member of a Settings value. The comparison, the report and the series table all name settings
// this way. The boxes the program works out itself ("OUT-1", "OUT-2", the availability of rights)
// are not settings of their own and are not listed.
#include "model/SettingsRecords.h"

#include <string>
#include <vector>

namespace kes {

enum class SettingKind {
    Text,    // an edit's text
    Number,  // an edit holding whole seconds, hours or degrees
    Volts,   // an edit holding a voltage, shown with one digit after the point
    Check,   // a check box: "tak" or "nie"
    List,    // a drop-down list: the item's text
};

struct LabelledSetting {
    std::wstring label;
    SettingKind kind = SettingKind::Text;
    // The member behind the setting, by its kind: a text (Text, Number, Volts), a check, an item.
    SettingsMember<std::wstring> text;
    SettingsMember<bool> check;
    SettingsMember<int> item;
    int maxLength = 0;                                  // the edit's, for a text
    bool takesSign = false;                             // a number that may be negative
    int user = -1;                                      // the user row it is in, 0..4
    const std::vector<std::wstring>* items = nullptr;   // the list's, for an item

    // As the window shows the setting of the value: the text as typed, "tak" or "nie", the item.
    std::wstring shown(const Settings& settings) const;
    void setText(Settings& settings, const std::wstring& value) const { text.in(settings) = value; }
    void setChecked(Settings& settings, bool value) const { check.in(settings) = value; }
    void setItem(Settings& settings, int value) const { item.in(settings) = value; }
};

constexpr wchar_t labelSeparator[] = L" – ";
constexpr wchar_t yesText[] = L"tak";
constexpr wchar_t noText[] = L"nie";

// The item at the index, or the empty text where the list holds none.
std::wstring itemText(const std::vector<std::wstring>& items, int index);

// In the window's order: codes, inputs, outputs, temperature, supply voltage, then the users.
const std::vector<LabelledSetting>& labelledSettings();

// The window's check boxes of the two outputs, "OUT-1" and "OUT-2": no settings of their own
// (reading works them out), but a series' row may need one switched on for what it sets under it.
const std::vector<LabelledSetting>& outputBoxes();

} // namespace kes
