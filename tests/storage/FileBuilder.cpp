#include "storage/FileBuilder.h"

#include "model/Catalogue.h"

#include <windows.h>

namespace testing_support {

std::string utf8(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                      nullptr);
    std::string bytes(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &bytes[0], n, nullptr, nullptr);
    return bytes;
}

std::wstring recordsOf(const std::vector<std::wstring>& values)
{
    std::wstring text;
    for (const std::wstring& value : values)
        text += L"\x0002" + value + L"\x0002";
    return text;
}

std::string dataFile(const std::vector<std::wstring>& values, const std::wstring& header)
{
    return "\xEF\xBB\xBF" + utf8(header + L"\x0003" + recordsOf(values) + L"\x0003");
}

void randomConfiguration(std::mt19937& rng)
{
    static const std::wstring alphabet = L"ABCXYZabcxyz0123456789 +-.,:/ąćęłńóśżźĄĆĘŁŃÓŚŻŹ€";
    std::uniform_int_distribution<int> coin(0, 1);
    for (std::size_t i = 0; i < settingsBufor.size(); ++i) {
        kes::InterfaceControl* c = settingsBufor.at(i);
        if (auto* edit = dynamic_cast<kes::EditControl::EditControlInternal*>(c)) {
            const int limit = edit->maxLength > 0 ? edit->maxLength : 30;
            std::uniform_int_distribution<int> length(0, limit);
            const int n = std::uniform_int_distribution<int>(0, 5)(rng) == 0 ? 0 : length(rng);
            std::wstring text;
            while (static_cast<int>(text.size()) < n) {
                if (n - static_cast<int>(text.size()) >= 2 && std::uniform_int_distribution<int>(0, 15)(rng) == 0)
                    text += L"\xD83D\xDE00";
                else
                    text += alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(rng)];
            }
            edit->setText(text);
        } else if (auto* box = dynamic_cast<kes::OptionControl::OptionControlInternal*>(c)) {
            box->setChecked(coin(rng) == 1);
        } else if (auto* enable = dynamic_cast<kes::EnableControl::EnableControlInternal*>(c)) {
            enable->setEnabled(coin(rng) == 1);
        } else if (auto* list = dynamic_cast<kes::ComboboxControl<int>::ComboboxControlInternal*>(c)) {
            const int items = static_cast<int>(list->items.size());
            list->setSelection(std::uniform_int_distribution<int>(-1, items - 1)(rng));
        }
    }
}

} // namespace testing_support
