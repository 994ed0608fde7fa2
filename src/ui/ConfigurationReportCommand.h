#pragma once
// "Raport konfiguracji…": asks where to save the commissioning report, writes it with the
// safe save and opens it with the application associated with HTML files.
#include <windows.h>

#include <functional>
#include <string>

namespace kes {

// The report can always be made: without a module it says that none answered.
bool canSaveReport();

void saveConfigurationReport(HWND mainDialog);

// Opens the saved report; the help launcher's association lookup unless a test replaces it.
// An empty function restores it. Returns the previous function.
using ReportOpener = std::function<bool(const std::wstring& path)>;
ReportOpener setReportOpener(ReportOpener opener);

} // namespace kes
