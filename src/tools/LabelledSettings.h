#pragma once
// Every setting the user sets in the window, by the label the user knows it by: the window's own
// row and column captions ("IN-1 – nazwa", "Użytkownik 2 – CLIP"). The comparison, the report and
// the series table all name settings this way. The boxes the program works out itself ("OUT-1",
// "OUT-2", the availability of rights) are not settings of their own and are not listed.
#include "model/Fields.h"
#include "protocol/ModuleConfiguration.h"

#include <functional>
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
    // The one field behind the setting, by its kind.
    EditControl* edit = nullptr;
    OptionControl* option = nullptr;
    ComboboxControl<int>* list = nullptr;
    // How the window would show a configuration put into it.
    std::function<std::wstring(const ModuleConfiguration&)> shown;

    // How the window shows the setting now, through the field's operations.
    std::wstring shownNow() const;
};

constexpr wchar_t labelSeparator[] = L" – ";
constexpr wchar_t yesText[] = L"tak";
constexpr wchar_t noText[] = L"nie";

// In the window's order: codes, inputs, outputs, temperature, supply voltage, then the users.
const std::vector<LabelledSetting>& labelledSettings();

} // namespace kes
