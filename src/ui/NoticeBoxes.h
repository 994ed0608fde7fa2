#pragma once
// How the program shows what the jobs and tools tell the user (protocol/Notices.h): a message box
// with the notice's caption and icon, owned by the window the notice names, or a sound.
#include "protocol/Notices.h"

#include <windows.h>

namespace kes {

struct BoxStyle {
    const wchar_t* caption;
    UINT type;
};

BoxStyle boxStyle(Notice notice);
UINT soundType(Sound sound);  // for MessageBeep

// The boxes and sounds; the shell installs it with setNoticeSink.
NoticeSink& noticeBoxes();

} // namespace kes
