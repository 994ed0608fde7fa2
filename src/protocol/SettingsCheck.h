#pragma once
// The check before the window's settings go to a module ("Programuj", a series' template): the
// window's value validated, the rewritten value shown in the window, then the faults told.
#include <windows.h>

namespace kes {

// The rewrites stay in the window whatever is found; the faults go to the notice of validation's
// faults, owned by `owner`. True when there are none.
bool checkWindowSettings(HWND owner);

} // namespace kes
