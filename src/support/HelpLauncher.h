#pragma once
// Opens a document with the application that the machine-wide file association names for its
// extension, read from HKEY_LOCAL_MACHINE and started with CreateProcessW.
#include "support/ProgramFolder.h"

#include <string>

namespace kes {

// True when a process was started for the document; false on every failure, silently.
bool openWithAssociatedApp(const std::wstring& documentPath);

// The command line built from an (expanded) open-command template and a document path: the
// template's placeholder "%1" (the last "%" followed by "1") gets the path; a template without
// any "%" gets the quoted path appended. Nothing else in the template is interpreted.
std::wstring buildCommandLine(const std::wstring& commandTemplate, const std::wstring& documentPath);

} // namespace kes
