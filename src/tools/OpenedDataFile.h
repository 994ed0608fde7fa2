#pragma once
// The data file whose settings the window shows, so that a series can name where its template
// came from. Forgotten when a module's settings are read into the window.
#include <string>

namespace kes {

// "Otwórz" has loaded this file into the window.
void noteSettingsOpenedFrom(const std::wstring& path);

// That file's path while the window still shows what it loaded (edits aside); else empty.
const std::wstring& settingsOpenedFrom();

} // namespace kes
