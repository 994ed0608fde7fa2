#include "support/MessageBox.h"

#include <utility>

namespace kes {
namespace {
MessageBoxFunction& replacement()
{
    static MessageBoxFunction fn;
    return fn;
}
} // namespace

int showMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type)
{
    if (const auto& fn = replacement())
        return fn(owner, text, caption, type);
    return MessageBoxW(owner, text.c_str(), caption.c_str(), type);
}

MessageBoxFunction setMessageBoxFunction(MessageBoxFunction fn)
{
    return std::exchange(replacement(), std::move(fn));
}

} // namespace kes
