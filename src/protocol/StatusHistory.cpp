#include "protocol/StatusHistory.h"

namespace kes {

StatusHistory statusHistory;

void StatusHistory::add(const StatusSample& sample)
{
    samples_.push_back(sample);
    while (!samples_.empty() && samples_.front().seconds < sample.seconds - spanSeconds)
        samples_.pop_front();
    while (samples_.size() > maxSamples)
        samples_.pop_front();
    ++revision_;
}

std::vector<StatusSample> StatusHistory::samples() const
{
    return {samples_.begin(), samples_.end()};
}

void StatusHistory::clear()
{
    samples_.clear();
    ++revision_;
}

} // namespace kes
