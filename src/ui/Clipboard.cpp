#include "ui/Clipboard.h"

#include "support/ScopedWin.h"

#include <cstring>

namespace kes {

bool copyTextToClipboard(HWND owner, const std::wstring& text)
{
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    GlobalMemory block(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!block)
        return false;
    {
        LockedGlobal target(block.get());
        if (!target.get())
            return false;
        std::memcpy(target.get(), text.c_str(), bytes);
    }
    OpenClipboardScope clipboard(owner);
    if (!clipboard.isOpen() || !EmptyClipboard() || !SetClipboardData(CF_UNICODETEXT, block.get()))
        return false;
    block.release();  // the clipboard owns it now
    return true;
}

} // namespace kes
