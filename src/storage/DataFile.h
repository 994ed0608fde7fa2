#pragma once
// The data file (*.dat): the signature EF BB BF, then the settings' records as UTF-8 text.
// "Zapisz" and "Otwórz" of the main dialog.
#include "model/Settings.h"

#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <windows.h>

namespace kes {

// A value as a data file holds it after its signature: the start marker, one record per setting
// with U+0002 and U+0003 left out of texts, the end marker. "Zapisz" writes these very records.
std::wstring recordsOf(const Settings& settings);

// The window's settings as a data file holds them after its signature.
std::wstring currentRecords();

// The file's text as a wide stream carries it: the signature (U+FEFF, which a UTF-8 converter
// writes as EF BB BF), then recordsOf. Nothing goes into a failed stream.
void writeDataFile(std::wostream& out, const Settings& settings);
// The window's settings.
void writeDataFile(std::wostream& out);

// Reads that text back onto `settings`. A stream that has failed or does not start with the
// signature is left alone (it is marked failed; nothing changes). Otherwise the whole framing is
// checked first and, only when it is sound, every setting is read (missing records take their
// defaults; a text is cut to its edit's length, as the edit cuts it). Throws
// ControlBufor::BadFormatInFile, with nothing changed, when the start marker is missing or the
// framing is damaged. True when the settings were read.
bool readDataFile(std::wistream& in, Settings& settings);
// Into the window, its availability as the file holds it.
bool readDataFile(std::wistream& in);

// The settings of records (a data file's text after its signature) read onto the defaults, as
// "Otwórz" would read them; nothing when their framing is damaged.
std::optional<Settings> settingsFromRecords(const std::wstring& records);

// Asks for a path with the "Zapisz" dialog and writes the settings there, so that a failure
// never damages the file already there; a failure is reported in a message box owned by the
// dialog. Nothing happens when the user cancels. True when it was written.
bool saveSettingsAsDataFile(HWND dialog, const Settings& settings);

// Writes the signature and `records` to the path as "Zapisz" writes them, so that a failure never
// damages the file already there. No box: true when the file was written.
bool writeRecordsToFile(const std::wstring& path, const std::wstring& records);

// The "Zapisz" command: asks for a path, writes the window's settings so that a failure never
// damages the file already there, and reports a failure in a message box owned by the dialog.
// True when the file was written.
bool saveDataFile(HWND dialog);

// The settings of the data file at the path, read onto the defaults. Nothing when the file cannot be
// opened ("Nie można otworzyć pliku: " and the path in `fault`), is badly formatted ("Błędny format
// pliku: ") or does not start with the signature (`fault` empty).
std::optional<Settings> readSettingsFile(const std::wstring& path, std::wstring& fault);

// The "Otwórz" command: asks for a file and shows its settings in the window; a file that cannot
// be opened or is badly formatted is reported in a message box owned by the dialog. The file's
// path when it was loaded.
std::optional<std::wstring> openDataFile(HWND dialog);
// The same for a file already chosen.
std::optional<std::wstring> openDataFileAt(HWND dialog, const std::wstring& path);

} // namespace kes
