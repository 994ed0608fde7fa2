#include "model/Settings.h"

#include "model/SettingsRecords.h"

namespace kes {

bool operator==(const Settings& a, const Settings& b)
{
    for (const SettingsRecord& r : settingsRecords()) {
        switch (r.kind) {
        case RecordKind::Text:
            if (r.text.in(a) != r.text.in(b))
                return false;
            break;
        case RecordKind::Flag:
            if (r.flag.in(a) != r.flag.in(b))
                return false;
            break;
        case RecordKind::Index:
            if (r.index.in(a) != r.index.in(b))
                return false;
            break;
        }
    }
    return true;
}

bool operator!=(const Settings& a, const Settings& b) { return !(a == b); }

void fitToFields(Settings& settings)
{
    for (const SettingsRecord& r : settingsRecords()) {
        if (r.kind == RecordKind::Text) {
            std::wstring& text = r.text.in(settings);
            if (r.maxLength > 0 && text.size() > static_cast<std::size_t>(r.maxLength))
                text.resize(static_cast<std::size_t>(r.maxLength));
        } else if (r.kind == RecordKind::Index) {
            int& index = r.index.in(settings);
            if (index < -1 || index >= r.itemCount)
                index = -1;
        }
    }
}

const std::vector<std::wstring>& wiringItems()
{
    static const std::vector<std::wstring> items{L"NO PLUS", L"NO GND", L"NC PLUS", L"NC GND"};
    return items;
}

const std::vector<std::wstring>& notifyItems()
{
    static const std::vector<std::wstring> items{L"- - -", L"CLIP", L"SMS", L"CLIP+SMS", L"SMS+CLIP"};
    return items;
}

} // namespace kes
