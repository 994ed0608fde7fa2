#include "model/SettingsView.h"

#include "model/SettingsRecords.h"

namespace kes {

Settings windowSettings()
{
    Settings s;
    for (const SettingsRecord& r : settingsRecords()) {
        switch (r.kind) {
        case RecordKind::Text:
            r.text.in(s) = r.edit->getText();
            break;
        case RecordKind::Flag:
            r.flag.in(s) = r.option ? r.option->checkedNow() : r.availability->isEnabled();
            break;
        case RecordKind::Index:
            r.index.in(s) = r.list->getSelection();
            break;
        }
    }
    return s;
}

namespace {

// Writes the record unless the window shows it already, as it is or as writing it would show it;
// true when it did.
bool showRecord(const SettingsRecord& r, const Settings& shown)
{
    switch (r.kind) {
    case RecordKind::Text: {
        const std::wstring& text = r.text.in(shown);
        const std::wstring now = r.edit->getText();
        const bool cut = r.maxLength > 0 && text.size() > static_cast<std::size_t>(r.maxLength);
        if (now == text || (cut && now == text.substr(0, static_cast<std::size_t>(r.maxLength))))
            return false;
        r.edit->setText(text);
        return true;
    }
    case RecordKind::Flag: {
        const bool value = r.flag.in(shown);
        if (r.option && r.option->checkedNow() != value)
            r.option->setChecked(value);
        else if (r.availability && r.availability->isEnabled() != value)
            r.availability->setEnabled(value);
        else
            return false;
        return true;
    }
    case RecordKind::Index: {
        // An index the list does not hold is shown as no selection; the list itself may keep the old one.
        const int index = r.index.in(shown);
        const int held = index < -1 || index >= r.itemCount ? -1 : index;
        if (r.list->getSelection() == held)
            return false;
        r.list->setSelection(held);
        return true;
    }
    }
    return false;
}

} // namespace

void showSettings(const Settings& shown)
{
    const std::vector<SettingsRecord>& records = settingsRecords();
    bool written = false;
    for (const SettingsRecord& r : records)
        written = showRecord(r, shown) || written;
    if (!written)
        return;
    // A box enabled or disabled by a box written above passes that on to its own dependents only
    // now; the registry holds every box before the boxes it enables.
    for (const SettingsRecord& r : records)
        if (r.option && !r.option->dependents().controls.empty())
            r.option->isChecked();
}

} // namespace kes
