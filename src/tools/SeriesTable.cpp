#include "tools/SeriesTable.h"

#include "model/EnableRules.h"
#include "model/Validation.h"
#include "storage/FileBytes.h"
#include "tools/CsvText.h"

#include <windows.h>

#include <map>
#include <sstream>

namespace kes {
namespace {

constexpr std::size_t shownLines = 30;
constexpr std::size_t largestTable = 64u << 20;
constexpr wchar_t formatAsText[] = L"; sformatuj kolumnę jako tekst";

// A label as a header cell may write it: any case, a plain hyphen for the dash, spaces around
// and doubled spaces ignored.
std::wstring normalised(const std::wstring& label)
{
    std::wstring out;
    for (wchar_t c : label) {
        if (c == L'\x2013' || c == L'\x2014')
            c = L'-';
        if (c == L'\t' || c == L'\xA0')
            c = L' ';
        if (c == L' ' && (out.empty() || out.back() == L' '))
            continue;
        out += c;
    }
    while (!out.empty() && out.back() == L' ')
        out.pop_back();
    if (!out.empty())
        CharLowerBuffW(&out[0], static_cast<DWORD>(out.size()));
    return out;
}

std::wstring trimmed(const std::wstring& text)
{
    const auto first = text.find_first_not_of(L" \t\xA0");
    if (first == std::wstring::npos)
        return std::wstring();
    const auto last = text.find_last_not_of(L" \t\xA0");
    return text.substr(first, last - first + 1);
}

const std::map<std::wstring, const LabelledSetting*>& settingsByHeader()
{
    static const std::map<std::wstring, const LabelledSetting*> all = [] {
        std::map<std::wstring, const LabelledSetting*> m;
        for (const LabelledSetting& s : labelledSettings())
            m[normalised(s.label)] = &s;
        for (const LabelledSetting& s : outputBoxes())
            m[normalised(s.label)] = &s;
        return m;
    }();
    return all;
}

std::wstring quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

bool isDigits(const std::wstring& text, std::size_t from)
{
    if (from >= text.size())
        return false;
    for (std::size_t i = from; i < text.size(); ++i)
        if (text[i] < L'0' || text[i] > L'9')
            return false;
    return true;
}

std::wstring listItems(const std::vector<std::wstring>& items)
{
    std::wstring out;
    for (const std::wstring& item : items)
        out += (out.empty() ? L"" : L", ") + item;
    return out;
}

// Which member of a value the setting holds, found on a value of its own.
bool holdsCode(const LabelledSetting& s)
{
    Settings probe;
    const std::wstring* held = &s.text.in(probe);
    return s.kind == SettingKind::Text && (held == &probe.accessCode || held == &probe.simPin);
}

bool holdsPhone(const LabelledSetting& s)
{
    Settings probe;
    return s.kind == SettingKind::Text && s.user >= 0 &&
           &s.text.in(probe) == &probe.users[static_cast<std::size_t>(s.user)].phone;
}

// "+48601234567" typed into a number cell is saved as 48601234567: validation takes it, the module
// would not know the caller. Nine digits are a national number and stay as they are.
bool lostItsPlus(const std::wstring& phone)
{
    constexpr std::size_t withCountry = 11;
    return phone.size() == withCountry && phone.compare(0, 2, L"48") == 0 && isDigits(phone, 0);
}

bool refuse(std::wstring& why, std::wstring reason)
{
    why = std::move(reason);
    return false;
}

// The cell as its field takes it, or why it cannot be taken.
bool readValue(const LabelledSetting& s, const std::wstring& cell, TableValue& value, std::wstring& why)
{
    value.setting = &s;
    const std::wstring v = trimmed(cell);
    const std::wstring unreadable = L"nieczytelna wartość " + quoted(v);
    switch (s.kind) {
    case SettingKind::Check: {
        const std::wstring lower = normalised(v);
        if (lower == L"tak" || lower == L"1" || lower == L"x")
            value.checked = true;
        else if (lower == L"nie" || lower == L"0")
            value.checked = false;
        else
            return refuse(why, unreadable + L" (tak/nie, 1/0 lub x)");
        return true;
    }
    case SettingKind::List: {
        const std::vector<std::wstring>& items = *s.items;
        for (std::size_t i = 0; i < items.size(); ++i)
            if (normalised(items[i]) == normalised(v)) {
                value.item = static_cast<int>(i);
                return true;
            }
        return refuse(why, unreadable + L" (" + listItems(items) + L")");
    }
    case SettingKind::Number:
    case SettingKind::Volts:
        if (!isDigits(v, s.takesSign && !v.empty() && v[0] == L'-' ? 1 : 0))
            return refuse(why, unreadable + L" (liczba całkowita)");
        value.text = v;
        break;
    case SettingKind::Text:
        for (wchar_t c : cell)
            if (c < L' ')
                return refuse(why, L"niedozwolony znak w wartości " + quoted(cell));
        // "0123" typed into a number cell is saved as 123.
        if (holdsCode(s) && v.size() < static_cast<std::size_t>(lengths::code) && isDigits(v, 0))
            return refuse(why, v + L" – arkusz usuwa zera z początku liczb" + formatAsText);
        value.text = cell;
        break;
    }
    const int limit = s.maxLength;
    if (limit > 0 && value.text.size() > static_cast<std::size_t>(limit))
        return refuse(why, L"wartość " + quoted(value.text) + L" dłuższa niż " +
                               countedText(static_cast<std::size_t>(limit), L"znak", L"znaki", L"znaków"));
    return true;
}

bool allEmpty(const std::vector<std::wstring>& record)
{
    for (const std::wstring& cell : record)
        if (!trimmed(cell).empty())
            return false;
    return true;
}

std::wstring rowPrefix(std::size_t row) { return L"Wiersz " + std::to_wstring(row); }

// Validation's fault text, a message a line.
std::vector<std::wstring> lines(const std::wstring& text)
{
    std::vector<std::wstring> out;
    std::wistringstream in(text);
    std::wstring line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == L'\r')
            line.pop_back();
        if (!line.empty())
            out.push_back(line);
    }
    return out;
}

} // namespace

TableReading readSeriesTable(const std::string& bytes)
{
    TableReading out;
    std::wstring text;
    if (!decodeSpreadsheetText(bytes, text)) {
        out.faults.push_back(L"Tabela nie jest poprawnym tekstem (UTF-8, UTF-16 lub Windows-1250).");
        return out;
    }
    const CsvRecords csv = splitCsv(text, cellSeparator(text));
    std::vector<std::vector<std::wstring>> records = csv.records;
    if (csv.unterminatedQuote) {
        // Everything after the quote has run into one cell: nothing more to tell.
        out.faults.push_back((records.size() == 1 ? std::wstring(L"Nagłówek") : rowPrefix(records.size() - 1)) +
                             L": cudzysłów bez zamknięcia");
        return out;
    }
    // Spreadsheets end a sheet with rows of empty cells.
    while (records.size() > 1 && allEmpty(records.back()))
        records.pop_back();
    if (records.size() < 2) {
        out.faults.push_back(L"Tabela nie zawiera żadnego wiersza pod nagłówkiem.");
        return out;
    }

    const std::vector<std::wstring>& header = records.front();
    std::vector<const LabelledSetting*> columns(header.size(), nullptr);
    const auto& known = settingsByHeader();
    for (std::size_t c = 0; c < header.size(); ++c) {
        const std::wstring name = trimmed(header[c]);
        if (name.empty()) {
            bool used = false;
            for (std::size_t r = 1; r < records.size(); ++r)
                used = used || (c < records[r].size() && !trimmed(records[r][c]).empty());
            if (used)
                out.faults.push_back(L"Kolumna " + std::to_wstring(c + 1) + L": brak nazwy kolumny");
            continue;
        }
        const auto found = known.find(normalised(name));
        if (found == known.end()) {
            out.faults.push_back(L"Kolumna " + quoted(name) + L": nieznana kolumna");
            continue;
        }
        for (std::size_t earlier = 0; earlier < c; ++earlier)
            if (columns[earlier] == found->second) {
                out.faults.push_back(L"Kolumna " + quoted(name) + L": powtórzona kolumna");
                break;
            }
        columns[c] = found->second;
    }

    SeriesTable table;
    for (std::size_t r = 1; r < records.size(); ++r) {
        const std::vector<std::wstring>& record = records[r];
        std::vector<TableValue> row;
        for (std::size_t c = 0; c < record.size(); ++c) {
            if (trimmed(record[c]).empty())
                continue;
            if (c >= columns.size()) {
                out.faults.push_back(rowPrefix(r) + L": więcej komórek niż kolumn");
                break;
            }
            if (!columns[c])
                continue;  // its column is already reported
            TableValue value;
            std::wstring why;
            if (readValue(*columns[c], record[c], value, why)) {
                if (holdsPhone(*columns[c]) && lostItsPlus(trimmed(value.text)))
                    out.warnings.push_back(rowPrefix(r) + L", " + columns[c]->label + L": " + trimmed(value.text) +
                                           L" bez „+” – arkusz usuwa „+” z liczb" + formatAsText);
                row.push_back(std::move(value));
            } else {
                out.faults.push_back(rowPrefix(r) + L", kolumna " + quoted(columns[c]->label) + L": " + why);
            }
        }
        table.rows.push_back(std::move(row));
    }
    // The log knows a row by its values alone: two modules could not be told apart.
    std::map<RowValues, std::size_t> firstWith;
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        if (isBlankRow(table, r))
            continue;
        const auto first = firstWith.emplace(rowValuesOf(rowCells(table, r)), r);
        if (!first.second)
            out.faults.push_back(rowPrefix(r + 1) + L": te same wartości co wiersz " +
                                 std::to_wstring(first.first->second + 1));
    }
    if (out.faults.empty())
        out.table = std::move(table);
    return out;
}

TableReading readSeriesTableFile(const std::wstring& path)
{
    const std::optional<std::string> bytes = readFileBytesUpTo(path, largestTable);
    if (!bytes) {
        TableReading out;
        out.faults.push_back(L"Nie można odczytać pliku: " + path);
        return out;
    }
    return readSeriesTable(*bytes);
}

bool isBlankRow(const SeriesTable& table, std::size_t row) { return table.rows.at(row).empty(); }

RowCells rowCells(const SeriesTable& table, std::size_t row)
{
    RowCells cells;
    for (const TableValue& v : table.rows.at(row)) {
        const LabelledSetting& s = *v.setting;
        std::wstring text = v.text;
        if (s.kind == SettingKind::Check)
            text = v.checked ? yesText : noText;
        else if (s.kind == SettingKind::List)
            text = itemText(*s.items, v.item);
        cells.emplace_back(s.label, std::move(text));
    }
    return cells;
}

void applyTableRow(const SeriesTable& table, std::size_t row, Settings& settings)
{
    for (const TableValue& v : table.rows.at(row)) {
        const LabelledSetting& s = *v.setting;
        if (s.kind == SettingKind::Check)
            s.setChecked(settings, v.checked);
        else if (s.kind == SettingKind::List)
            s.setItem(settings, v.item);
        else
            s.setText(settings, v.text);
    }
    model::applyAvailabilityRules(settings);
}

PreparedRows prepareRows(const SeriesTable* table, const Settings& templateSettings)
{
    PreparedRows out;
    if (!table) {
        out.rows.push_back(templateSettings);
        return out;
    }
    // As its fields would hold it.
    Settings base = templateSettings;
    fitToFields(base);
    if (!validateSettings(base).faults.empty()) {
        out.templateRefused = true;
        return out;
    }
    for (std::size_t r = 0; r < table->rows.size(); ++r) {
        Settings row = base;
        applyTableRow(*table, r, row);
        ValidatedSettings validated = validateSettings(std::move(row));
        for (const std::wstring& fault : lines(validated.faults))
            out.faults.push_back(rowPrefix(r + 1) + L": " + fault);
        out.rows.push_back(std::move(validated.settings));
    }
    if (!out.faults.empty())
        out.rows.clear();
    return out;
}

std::wstring tableFaultText(const std::vector<std::wstring>& faults)
{
    std::wstring text;
    for (std::size_t i = 0; i < faults.size() && i < shownLines; ++i)
        text += faults[i] + L"\r\n";
    if (faults.size() > shownLines)
        text += L"… i " + countedText(faults.size() - shownLines, L"błąd więcej", L"błędy więcej", L"błędów więcej") +
                L"\r\n";
    return text;
}

std::wstring countedText(std::size_t n, const wchar_t* one, const wchar_t* few, const wchar_t* many)
{
    const std::size_t tens = n % 100;
    const wchar_t* word = many;
    if (n == 1)
        word = one;
    else if (n % 10 >= 2 && n % 10 <= 4 && (tens < 12 || tens > 14))
        word = few;
    return std::to_wstring(n) + L' ' + word;
}

std::wstring rowCountText(std::size_t rows) { return countedText(rows, L"wiersz", L"wiersze", L"wierszy"); }

} // namespace kes
