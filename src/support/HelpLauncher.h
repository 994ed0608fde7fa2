#pragma once
// Opens a document (the manual, the configuration report) the way the user has chosen to open
// files of its kind, and shows a file in its folder: both through the shell's "open" verb.
#include "support/ProgramFolder.h"

#include <functional>
#include <string>

namespace kes {

// True when the shell started something for the document; false on every failure, silently:
// the shell shows no error box either.
bool openWithAssociatedApp(const std::wstring& documentPath);

// Explorer on the file's folder with the file selected; as silent as the above.
bool showInFolder(const std::wstring& filePath);

// What the shell is asked to open: a document, or a program with its parameters.
struct ShellRequest {
    std::wstring file;
    std::wstring parameters;
};
using ShellStarter = std::function<bool(const ShellRequest& request)>;

// Stands in for the shell (tests); an empty function restores it. Returns the previous one.
ShellStarter setShellStarter(ShellStarter starter);

} // namespace kes
