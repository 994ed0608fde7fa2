#include "support/DebugLogRing.h"

namespace kes {

void DebugLogRing::add(const std::wstring& line)
{
    std::wstring kept = line;
    if (!kept.empty() && kept.back() == L'\n')
        kept.pop_back();
    if (lines_.size() == capacity)
        lines_.pop_front();
    lines_.push_back(std::move(kept));
    ++revision_;
}

std::vector<std::wstring> DebugLogRing::lines() const
{
    return {lines_.begin(), lines_.end()};
}

void DebugLogRing::clear()
{
    lines_.clear();
    ++revision_;
}

DebugLogRing& debugLogRing()
{
    static DebugLogRing ring;
    return ring;
}

} // namespace kes
