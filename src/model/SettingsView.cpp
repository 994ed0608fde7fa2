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
            r.flag.in(s) = r.option ? r.option->isChecked() : r.availability->isEnabled();
            break;
        case RecordKind::Index:
            r.index.in(s) = r.list->getSelection();
            break;
        }
    }
    return s;
}

void showSettings(const Settings& shown)
{
    const std::vector<SettingsRecord>& records = settingsRecords();
    for (const SettingsRecord& r : records) {
        switch (r.kind) {
        case RecordKind::Text:
            if (r.edit->getText() != r.text.in(shown))
                r.edit->setText(r.text.in(shown));
            break;
        case RecordKind::Flag: {
            const bool value = r.flag.in(shown);
            if (r.option && r.option->isChecked() != value)
                r.option->setChecked(value);
            else if (r.availability && r.availability->isEnabled() != value)
                r.availability->setEnabled(value);
            break;
        }
        case RecordKind::Index:
            if (r.list->getSelection() != r.index.in(shown))
                r.list->setSelection(r.index.in(shown));
            break;
        }
    }
    // A box enabled or disabled by a box written above passes that on to its own dependents only
    // now; the registry holds every box before the boxes it enables.
    for (const SettingsRecord& r : records)
        if (r.option)
            r.option->isChecked();
}

} // namespace kes
