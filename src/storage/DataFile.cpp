#include "storage/DataFile.h"

#include "model/Catalogue.h"
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

// One field's value text as its own writer gives it, without the text's closing mark.
std::wstring recordValue(InterfaceControl& control, const RecordSpec& shape)
{
    std::wostringstream value;
    control.writeValue(value);
    std::wstring text = value.str();
    if (shape.kind == RecordKind::Text && !text.empty() && text.back() == ControlBufor::kRecordMark)
        text.pop_back();
    return withoutMarkers(text);
}

} // namespace

void writeDataFile(std::wostream& out)
{
    if (!out)
        return;
    const std::vector<RecordSpec> specs = describeRegistry(settingsBufor);
    std::vector<std::wstring> values;
    values.reserve(specs.size());
    for (std::size_t i = 0; i < specs.size(); ++i)
        values.push_back(recordValue(*settingsBufor.at(i), specs[i]));
    std::wstring text(1, kSignature);
    text += frameRecords(values, specs);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

bool readDataFile(std::wistream& in)
{
    if (!in)
        return false;
    using Traits = std::wistream::traits_type;
    const auto first = in.get();
    if (!in || !Traits::eq_int_type(first, Traits::to_int_type(kSignature))) {
        in.setstate(std::ios_base::failbit);
        return false;
    }
    const std::vector<RecordSpec> specs = describeRegistry(settingsBufor);
    const std::vector<std::wstring> values = readRecords(in, specs);  // throws before any change
    std::wistringstream checked(frameRecords(values, specs));
    settingsBufor.readAll(checked);
    return true;
}

std::wstring currentRecords()
{
    std::wostringstream text;
    writeDataFile(text);
    return text.str().substr(1);  // past the signature
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

bool saveRecordsAsDataFile(HWND dialog, const std::wstring& records)
{
    const auto path = askSavePath(dialog);
    return path && writeRecords(dialog, *path, records);
}

void loadRecords(const std::wstring& records)
{
    std::wistringstream in(std::wstring(1, kSignature) + records);
    readDataFile(in);
}

bool saveDataFile(HWND dialog)
{
    // The settings are taken once the path is chosen: ticks run while the dialog is open.
    const auto path = askSavePath(dialog);
    return path && writeRecords(dialog, *path, currentRecords());
}

std::optional<std::wstring> openDataFile(HWND dialog)
{
    prepareFileDialogs(dialog);
    const auto path = askForDataFile(FileDialogKind::Open);
    if (!path)
        return std::nullopt;
    std::wifstream in;
    in.imbue(utf8Locale());
    in.open(path->c_str(), std::ios_base::in | std::ios_base::binary);
    if (!in.is_open()) {
        // Locked, not readable or gone since it was chosen: say so, or the user would take
        // the unchanged window for the file's contents.
        showMessageBox(dialog, L"Nie można otworzyć pliku: " + *path, L"Błąd odczytu pliku", MB_OK | MB_ICONERROR);
        return std::nullopt;
    }
    try {
        if (readDataFile(in))
            return path;
    } catch (const ControlBufor::BadFormatInFile&) {
        showMessageBox(dialog, L"Błędny format pliku: " + *path, L"Błąd odczytu pliku", MB_OK | MB_ICONERROR);
    }
    return std::nullopt;
}

} // namespace kes
