#include "storage/DataFile.h"

#include "model/SettingsRecords.h"
#include "model/SettingsView.h"
#include "storage/AtomicFile.h"
#include "storage/FileDialogs.h"
#include "storage/RecordFraming.h"
#include "storage/Utf8Codecvt.h"
#include "support/MessageBox.h"

#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace kes {
namespace {

constexpr wchar_t kSignature = static_cast<wchar_t>(0xFEFF);

std::wstring recordValue(const SettingsRecord& r, const Settings& s)
{
    switch (r.kind) {
    case RecordKind::Text:
        return withoutMarkers(r.text.in(s));
    case RecordKind::Flag:
        return r.flag.in(s) ? L"1" : L"0";
    case RecordKind::Index:
        break;
    }
    return std::to_wstring(r.index.in(s));
}

// One record's checked value text onto its member.
void readValue(const SettingsRecord& r, const std::wstring& value, Settings& s)
{
    switch (r.kind) {
    case RecordKind::Text:
        r.text.in(s) = value;
        break;
    case RecordKind::Flag:
        r.flag.in(s) = value == L"1";
        break;
    case RecordKind::Index:
        r.index.in(s) = std::stoi(value);
        break;
    }
}

} // namespace

std::wstring recordsOf(const Settings& settings)
{
    const std::vector<SettingsRecord>& records = settingsRecords();
    std::vector<std::wstring> values;
    values.reserve(records.size());
    for (const SettingsRecord& r : records)
        values.push_back(recordValue(r, settings));
    return frameRecords(values, recordSpecs());
}

std::wstring currentRecords() { return recordsOf(windowSettings()); }

void writeDataFile(std::wostream& out, const Settings& settings)
{
    if (!out)
        return;
    const std::wstring text = std::wstring(1, kSignature) + recordsOf(settings);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void writeDataFile(std::wostream& out)
{
    if (out)
        writeDataFile(out, windowSettings());
}

bool readDataFile(std::wistream& in, Settings& settings)
{
    if (!in)
        return false;
    using Traits = std::wistream::traits_type;
    const auto first = in.get();
    if (!in || !Traits::eq_int_type(first, Traits::to_int_type(kSignature))) {
        in.setstate(std::ios_base::failbit);
        return false;
    }
    const std::vector<std::wstring> values = readRecords(in, recordSpecs());  // throws before any change
    const std::vector<SettingsRecord>& records = settingsRecords();
    const Settings defaults;
    Settings read = settings;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (i < values.size())
            readValue(records[i], values[i], read);
        else
            readValue(records[i], recordValue(records[i], defaults), read);  // an older, shorter file
    }
    fitToFields(read);  // as the fields would show the file's texts
    settings = std::move(read);
    return true;
}

bool readDataFile(std::wistream& in)
{
    Settings settings = windowSettings();
    if (!readDataFile(in, settings))
        return false;
    showSettings(settings);
    return true;
}

std::optional<Settings> settingsFromRecords(const std::wstring& records)
{
    Settings settings;
    try {
        std::wistringstream in(std::wstring(1, kSignature) + records);
        if (readDataFile(in, settings))
            return settings;
    } catch (const ControlBufor::BadFormatInFile&) {
    }
    return std::nullopt;
}

namespace {

std::optional<std::wstring> askSavePath(HWND dialog)
{
    prepareFileDialogs(dialog);
    return askForDataFile(FileDialogKind::Save);
}

bool writeRecords(HWND dialog, const std::wstring& path, const std::wstring& records)
{
    if (writeRecordsToFile(path, records))
        return true;
    showMessageBox(dialog, L"Nie można zapisać pliku: " + path, L"Błąd zapisu pliku", MB_OK | MB_ICONERROR);
    return false;
}

} // namespace

bool writeRecordsToFile(const std::wstring& path, const std::wstring& records)
{
    std::string bytes;
    return encodeUtf8(std::wstring(1, kSignature) + records, bytes) && replaceFileContents(path, bytes);
}

bool saveSettingsAsDataFile(HWND dialog, const Settings& settings)
{
    const auto path = askSavePath(dialog);
    return path && writeRecords(dialog, *path, recordsOf(settings));
}

bool saveDataFile(HWND dialog)
{
    // The settings are taken once the path is chosen: ticks run while the dialog is open.
    const auto path = askSavePath(dialog);
    return path && writeRecords(dialog, *path, currentRecords());
}

std::optional<Settings> readSettingsFile(const std::wstring& path, std::wstring& fault)
{
    std::wifstream in;
    in.imbue(utf8Locale());
    in.open(path.c_str(), std::ios_base::in | std::ios_base::binary);
    if (!in.is_open()) {
        fault = L"Nie można otworzyć pliku: " + path;
        return std::nullopt;
    }
    fault.clear();
    Settings settings;
    try {
        if (readDataFile(in, settings))
            return settings;
    } catch (const ControlBufor::BadFormatInFile&) {
        fault = L"Błędny format pliku: " + path;
    }
    return std::nullopt;
}

std::optional<std::wstring> openDataFile(HWND dialog)
{
    prepareFileDialogs(dialog);
    const auto path = askForDataFile(FileDialogKind::Open);
    return path ? openDataFileAt(dialog, *path) : std::nullopt;
}

std::optional<std::wstring> openDataFileAt(HWND dialog, const std::wstring& path)
{
    // Locked, not readable or gone since it was chosen: said, or the user would take the unchanged
    // window for the file's contents. A file without the signature is no data file: nothing is said.
    std::wstring fault;
    const std::optional<Settings> settings = readSettingsFile(path, fault);
    if (settings) {
        // Its availability as the file holds it.
        showSettings(*settings);
        return path;
    }
    if (!fault.empty())
        showMessageBox(dialog, fault, L"Błąd odczytu pliku", MB_OK | MB_ICONERROR);
    return std::nullopt;
}

} // namespace kes
