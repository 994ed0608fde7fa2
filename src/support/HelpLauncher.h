#pragma once
// Opens a document (the manual, the configuration report) the way the user has chosen to open
// files of its kind: through the shell's "open" verb.
#include "support/ProgramFolder.h"

#include <string>

namespace kes {

// True when the shell started something for the document; false on every failure, silently:
// the shell shows no error box either.
bool openWithAssociatedApp(const std::wstring& documentPath);

} // namespace kes
