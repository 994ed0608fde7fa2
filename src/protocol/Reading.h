#pragma once
// Reading the whole configuration back from the module into the window's fields.
#include <windows.h>

namespace kes {

struct ModuleImage;

// Runs synchronously: blocks 0 and 1, a 200 ms pause between them, the five users, the nine
// texts, then the tidy-up of the derived check boxes. On a failure the error box (owned by
// `dialog`) is shown, what was put so far stays, and the tidy-up is skipped. The caller
// keeps the main timer stopped meanwhile. True when all sixteen blocks were read; `image`,
// when given, receives every block read.
bool readConfiguration(HWND dialog, ModuleImage* image = nullptr);

// The reading job's error box, owned by `dialog`; returns false for the caller to pass on.
bool showReadError(HWND dialog);

// The tidy-up alone: derived output check boxes and every availability rule.
void tidyAfterReading();

} // namespace kes
