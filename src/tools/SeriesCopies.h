#pragma once
// What each module of a series held, and what it was programmed with, kept as data files that
// "Otwórz" opens: in a folder beside the log named after it ("seria-2026-12-09.csv" keeps them in
// "seria-2026-12-09"), as "001-zastane.dat" and "001-zaprogramowane.dat", numbered by attempt.
#include <string>

namespace kes {

enum class KeptCopy { Held, Programmed };

// The folder for the log's copies.
std::wstring copiesFolder(const std::wstring& logPath);

// The number after the highest one the folder's copies already carry; 1 when it has none (or
// is not there yet).
int nextCopyNumber(const std::wstring& folder);

// "<folder>\007-zastane.dat".
std::wstring copyPath(const std::wstring& folder, int attempt, KeptCopy copy);

// Writes the records as "Zapisz" would write them, making the folder first when it is not there.
// False when the copy could not be written.
bool writeCopy(const std::wstring& path, const std::wstring& records);

} // namespace kes
