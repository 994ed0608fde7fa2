#include "protocol/Notices.h"

#include <utility>

namespace kes {
namespace {

NoticeSink*& installed()
{
    static NoticeSink* sink = nullptr;
    return sink;
}

} // namespace

NoticeSink* setNoticeSink(NoticeSink* sink) { return std::exchange(installed(), sink); }

void tellUser(HWND owner, Notice notice, const std::wstring& text)
{
    if (NoticeSink* sink = installed())
        sink->show(owner, notice, text);
}

void playSound(Sound sound)
{
    if (NoticeSink* sink = installed())
        sink->play(sound);
}

} // namespace kes
