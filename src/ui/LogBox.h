#pragma once
// A read-only multi-line edit that shows a log growing at its end. Only what changed is
// rewritten, so the reader can scroll and select while lines come: the selection and the
// scroll position stay, and a reader who was at the end stays at the end.
#include <windows.h>

#include <string>

namespace kes {

void showLogText(HWND edit, const std::wstring& text);

} // namespace kes
