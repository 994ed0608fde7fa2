#pragma once
// The commissioning report: one self-contained HTML page with the module's status, every
// setting of the window as shown, and whether they are what the last programming job wrote.
#include "model/Settings.h"

#include <windows.h>

#include <string>

namespace kes {

struct ReportFacts {
    std::wstring programVersion;
    SYSTEMTIME now{};  // local time the report is made
};

// & < > " ' as entities: any text from the window or the module prints as typed.
std::wstring escapeHtml(const std::wstring& text);

// The page, from the settings shown and the link's status now.
std::wstring configurationReport(const ReportFacts& facts, const Settings& shown);

// "raport-<serial>-<yyyy-mm-dd>.html"; "raport-<yyyy-mm-dd>.html" without an interface. Characters
// a file name cannot hold are left out of the serial.
std::wstring defaultReportName(const std::string& interfaceSerial, const SYSTEMTIME& date);

} // namespace kes
