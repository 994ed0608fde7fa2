#pragma once
// The data file (*.dat): the signature EF BB BF, then the settings registry's records as
// UTF-8 text. "Zapisz" and "Otwórz" of the main dialog.
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <windows.h>

namespace kes {

// The file's text as a wide stream carries it: the signature (U+FEFF, which a UTF-8
// converter writes as EF BB BF), the start marker, one record per settings field with
// U+0002 and U+0003 left out of texts, the end marker. Nothing goes into a failed stream.
void writeDataFile(std::wostream& out);

// Reads that text back. A stream that has failed or does not start with the signature is
// left alone (it is marked failed; no field changes). Otherwise the whole framing is
// checked first and, only when it is sound, every field is loaded (missing records take
// their defaults). Throws ControlBufor::BadFormatInFile, with no field changed, when the
// start marker is missing or the framing is damaged. True when the fields were loaded.
bool readDataFile(std::wistream& in);

// The window's settings as a data file holds them after its signature.
std::wstring currentRecords();

// Asks for a path with the "Zapisz" dialog and writes the signature and `records` there, so
// that a failure never damages the file already there; a failure is reported in a message
// box owned by the dialog. Nothing happens when the user cancels. True when it was written.
bool saveRecordsAsDataFile(HWND dialog, const std::wstring& records);

// Writes the signature and `records` to the path as "Zapisz" writes them, so that a failure never
// damages the file already there. No box: true when the file was written.
bool writeRecordsToFile(const std::wstring& path, const std::wstring& records);

// Loads a data file's records (its text after the signature) into the window, as opening
// that file does. Throws ControlBufor::BadFormatInFile as readDataFile does.
void loadRecords(const std::wstring& records);

// The "Zapisz" command: asks for a path, writes the file so that a failure never damages
// the file already there, and reports a failure in a message box owned by the dialog. True
// when the file was written.
bool saveDataFile(HWND dialog);

// The "Otwórz" command: asks for a file and loads it; a file that cannot be opened or is
// badly formatted is reported in a message box owned by the dialog. The file's path when it
// was loaded.
std::optional<std::wstring> openDataFile(HWND dialog);

} // namespace kes
