#pragma once
// "Archiwum modułów": every entry of the module archive, newest first, found again by what an
// installer remembers as it is typed, loaded into the window, compared with the window, the module
// or another entry, saved elsewhere, shown in its folder, deleted. Modal over the main window,
// whose ticks go on behind it: entries the jobs write meanwhile are listed at once.
#include <windows.h>

#include <cstdint>
#include <string>

namespace kes {

void showArchiveDialog(HWND mainDialog);

// "10 000": a count with its thousands apart.
std::wstring countText(std::uint64_t count);
// "812 kB", "12,4 MB".
std::wstring sizeText(std::uint64_t bytes);

} // namespace kes
