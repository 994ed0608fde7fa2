#pragma once
// The one file-dialog record shared by "Otwórz" and "Zapisz", and the seam tests use to
// answer a dialog without a modal window.
#include <functional>
#include <optional>
#include <string>
#include <windows.h>
#include <commdlg.h>

namespace kes {

enum class FileDialogKind { Open, Save };

// Fills the shared record once (owner, filter, default extension, buffers); later calls
// do nothing. The shell calls it when the main dialog handles its first command.
void prepareFileDialogs(HWND dialog);

// The shared record (prepared or not).
const OPENFILENAMEW& fileDialogRecord();

// Shows the open or save dialog on the shared record, with the command's flags.
// Returns the chosen full path, or nothing when the user cancels.
std::optional<std::wstring> askForDataFile(FileDialogKind kind);

// A save dialog of its own (not the shared record) for a document other than a data file:
// one filter from the description, its default extension, and the file name it proposes.
// Answered by the same test seam as the data-file dialogs. Nothing when the user cancels.
enum class ExistingFile { ConfirmReplacing, AppendTo };
std::optional<std::wstring> askForSavePath(HWND owner, const std::wstring& description,
                                           const wchar_t* defaultExtension, const std::wstring& proposedName,
                                           ExistingFile existing = ExistingFile::ConfirmReplacing);

// An open dialog of its own for a document other than a data file, with one filter from the
// description. Answered by the same test seam. Nothing when the user cancels.
std::optional<std::wstring> askForOpenPath(HWND owner, const std::wstring& description);

// The filter pattern named in a description: from each "*" the run of "*", "." and
// letters or digits; several patterns are joined by ";". "Data file (*.dat)" gives "*.dat".
std::wstring filterPattern(const std::wstring& description);

// Stands in for GetOpenFileNameW / GetSaveFileNameW. It gets the prepared record with the
// command's flags; it returns true and leaves the path in lpstrFile as the dialog would.
using FileDialogFunction = std::function<bool(FileDialogKind kind, OPENFILENAMEW& record)>;

// An empty function restores the real dialogs. Returns the previous function.
FileDialogFunction setFileDialogFunction(FileDialogFunction fn);

} // namespace kes
