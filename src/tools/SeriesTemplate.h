#pragma once
// The template of a series: the settings every module gets wherever its table row leaves a cell
// empty. A value held by the series, apart from the window, which shows the module in hand.
#include "model/Settings.h"

#include <optional>
#include <string>

namespace kes {

struct SeriesTemplate {
    Settings settings;
    std::wstring name;  // as the dialog and the log name it
};

// The window's settings now: "ustawienia okna z pliku osiedle.dat" while the window shows what
// "Otwórz" loaded, else "ustawienia okna z 14:32".
SeriesTemplate windowTemplate();

// A data file's settings, "plik osiedle.dat". Nothing when the file cannot be read as one, with the
// reason in `fault` as "Otwórz" gives it.
std::optional<SeriesTemplate> fileTemplate(const std::wstring& path, std::wstring& fault);

// The file's name without its folder.
std::wstring fileNameOf(const std::wstring& path);

} // namespace kes
