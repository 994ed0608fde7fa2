#include "ui/Clipboard.h"

#include <cstring>

namespace kes {
namespace {

// Frees a clipboard block that the clipboard has not taken over.
class GlobalBlock {
public:
    explicit GlobalBlock(std::size_t bytes) : handle_(GlobalAlloc(GMEM_MOVEABLE, bytes)) {}
    ~GlobalBlock()
    {
        if (handle_)
            GlobalFree(handle_);
    }
    GlobalBlock(const GlobalBlock&) = delete;
    GlobalBlock& operator=(const GlobalBlock&) = delete;
    HGLOBAL get() const { return handle_; }
    void release() { handle_ = nullptr; }

private:
    HGLOBAL handle_;
};

class OpenClipboardScope {
public:
    explicit OpenClipboardScope(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ~OpenClipboardScope()
    {
        if (open_)
            CloseClipboard();
    }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
    bool isOpen() const { return open_; }

private:
    bool open_;
};

} // namespace

bool copyTextToClipboard(HWND owner, const std::wstring& text)
{
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    GlobalBlock block(bytes);
    if (!block.get())
        return false;
    if (void* target = GlobalLock(block.get())) {
        std::memcpy(target, text.c_str(), bytes);
        GlobalUnlock(block.get());
    } else {
        return false;
    }
    OpenClipboardScope clipboard(owner);
    if (!clipboard.isOpen() || !EmptyClipboard() || !SetClipboardData(CF_UNICODETEXT, block.get()))
        return false;
    block.release();  // the clipboard owns it now
    return true;
}

} // namespace kes
