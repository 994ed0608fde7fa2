#include "link/Stopwatch.h"

namespace kes {

void Stopwatch::reset()
{
    lapSeconds = 0.0;
    readings = 0;
    totalCount = 0;
    stopped = true;
}

void Stopwatch::start()
{
    stopped = false;
    lastCount = static_cast<std::uint64_t>(clock_->now());
}

void Stopwatch::stop()
{
    lapSeconds = 0.0;
    stopped = true;
}

double Stopwatch::read()
{
    if (stopped)
        return 0.0;
    const double perCount = clock_->secondsPerCount();
    const auto now = static_cast<std::uint64_t>(clock_->now());
    const auto elapsed = static_cast<std::int64_t>(now - lastCount);
    ++readings;
    totalCount += elapsed;
    lapSeconds = static_cast<double>(elapsed) * perCount;
    lastCount = now;
    return static_cast<double>(totalCount) * perCount;
}

double Stopwatch::totalSeconds() const
{
    return static_cast<double>(totalCount) * clock_->secondsPerCount();
}

} // namespace kes
