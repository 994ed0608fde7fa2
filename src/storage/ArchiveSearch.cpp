#include "storage/ArchiveSearch.h"

#include "model/Fields.h"
#include "storage/DataFile.h"

#include <cwchar>
#include <sstream>
#include <windows.h>

namespace kes {
namespace {

constexpr wchar_t kSeparator = L'\n';
const std::wstring kSignature(1, L'\xFEFF');
constexpr wchar_t kCountryCode[] = L"48";
constexpr wchar_t kInternationalPrefix[] = L"00";
// "48" before a full nine-digit number is the country code even without "+" or "00".
constexpr std::size_t kNationalLength = 9;

struct Marked {
    wchar_t letter;
    wchar_t base;
};
constexpr Marked kPolish[] = {{L'ą', L'a'}, {L'ć', L'c'}, {L'ę', L'e'}, {L'ł', L'l'}, {L'ń', L'n'}, {L'ó', L'o'},
                              {L'ś', L's'}, {L'ź', L'z'}, {L'ż', L'z'}, {L'Ą', L'a'}, {L'Ć', L'c'}, {L'Ę', L'e'},
                              {L'Ł', L'l'}, {L'Ń', L'n'}, {L'Ó', L'o'}, {L'Ś', L's'}, {L'Ź', L'z'}, {L'Ż', L'z'}};

bool isDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

bool isPhoneWord(const std::wstring& word)
{
    bool digit = false;
    for (wchar_t c : word) {
        if (isDigit(c))
            digit = true;
        else if (c != L'+' && c != L'-')
            return false;
    }
    return digit;
}

bool startsWith(const std::wstring& text, const wchar_t* prefix)
{
    return text.compare(0, std::wcslen(prefix), prefix) == 0;
}

void addLine(std::wstring& lines, const std::wstring& line)
{
    if (!lines.empty())
        lines += kSeparator;
    lines += line;
}

} // namespace

std::optional<ArchiveSearchFields> archiveSearchFields(const std::wstring& records)
{
    Settings settings;
    try {
        std::wistringstream in(kSignature + records);
        if (!readDataFile(in, settings))
            return std::nullopt;
    } catch (const ControlBufor::BadFormatInFile&) {
        return std::nullopt;
    }
    ArchiveSearchFields fields;
    fields.accessCode = settings.accessCode;
    fields.names = {settings.in1Name, settings.in2Name, settings.out1Name, settings.out2Name, settings.tempName};
    fields.smsTexts = {settings.in1SmsOnText, settings.in1SmsOffText, settings.in2SmsOnText, settings.in2SmsOffText};
    // A user the module has switched off has no number: the field's default is nobody's.
    for (const UserSettings& user : settings.users)
        if (user.active)
            fields.phones.push_back(user.phone);
    if (settings.users[0].active)
        fields.user1Phone = settings.users[0].phone;
    return fields;
}

ArchiveSearchText archiveSearchText(const std::wstring& moduleText, const std::wstring& interfaceSerial,
                                    const ArchiveSearchFields& fields)
{
    ArchiveSearchText search;
    std::wstring text = moduleText;
    for (const std::wstring* part : {&interfaceSerial, &fields.accessCode})
        addLine(text, *part);
    for (const auto* list : {&fields.names, &fields.smsTexts, &fields.phones})
        for (const std::wstring& part : *list)
            addLine(text, part);
    search.text = foldForSearch(text);
    for (const std::wstring& phone : fields.phones)
        addLine(search.phones, nationalDigits(phone));
    return search;
}

std::wstring foldForSearch(const std::wstring& text)
{
    std::wstring folded = text;
    for (wchar_t& c : folded) {
        if (c < 0x80) {
            if (c >= L'A' && c <= L'Z')
                c = static_cast<wchar_t>(c - L'A' + L'a');
            continue;
        }
        for (const Marked& m : kPolish)
            if (c == m.letter)
                c = m.base;
    }
    if (!folded.empty())
        CharLowerBuffW(&folded[0], static_cast<DWORD>(folded.size()));  // the letters of other languages
    return folded;
}

std::wstring nationalDigits(const std::wstring& phone)
{
    std::wstring digits;
    bool international = false;
    for (wchar_t c : phone) {
        if (isDigit(c))
            digits += c;
        else if (c == L'+' && digits.empty())
            international = true;
    }
    if (!international && startsWith(digits, kInternationalPrefix)) {
        digits.erase(0, std::wcslen(kInternationalPrefix));
        international = true;
    }
    const std::size_t code = std::wcslen(kCountryCode);
    if (startsWith(digits, kCountryCode) && (international || digits.size() >= code + kNationalLength))
        digits.erase(0, code);
    return digits;
}

ArchiveQuery::ArchiveQuery(const std::wstring& query)
{
    std::wistringstream in(query);
    std::wstring word;
    bool inPhoneRun = false;
    std::wstring run;
    while (in >> word) {
        const bool phoneWord = isPhoneWord(word);
        if (!phoneWord || !inPhoneRun) {
            if (inPhoneRun)
                terms_.back().phone = nationalDigits(run);
            terms_.push_back(Term{});
            run.clear();
        }
        inPhoneRun = phoneWord;
        if (phoneWord)
            run += word;
        terms_.back().words.push_back(foldForSearch(word));
    }
    if (inPhoneRun)
        terms_.back().phone = nationalDigits(run);
}

bool ArchiveQuery::matches(const ArchiveSearchText& entry) const
{
    for (const Term& term : terms_) {
        if (!term.phone.empty() && entry.phones.find(term.phone) != std::wstring::npos)
            continue;
        // Several groups of digits are one number: "601 234 567" must not be found by a "601" in
        // one place and a "234" in another. They may still stand together in a text.
        if (term.words.size() > 1) {
            std::wstring together;
            for (const std::wstring& word : term.words)
                together += (together.empty() ? L"" : L" ") + word;
            if (entry.text.find(together) == std::wstring::npos)
                return false;
            continue;
        }
        for (const std::wstring& word : term.words)
            if (entry.text.find(word) == std::wstring::npos)
                return false;
    }
    return true;
}

} // namespace kes
