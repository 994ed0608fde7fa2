#include "link/Clock.h"

#include <windows.h>

namespace kes {

double Clock::secondsPerCount()
{
    while (secondsPerCount_ == 0.0) {
        std::int64_t perSecond = 0;
        if (frequency(perSecond) && perSecond > 0)
            secondsPerCount_ = 1.0 / static_cast<double>(perSecond);
        else
            sleep(1);
    }
    return secondsPerCount_;
}

std::int64_t Clock::now()
{
    std::int64_t value = 0;
    counter(value);
    return value;
}

bool SystemClock::counter(std::int64_t& now)
{
    LARGE_INTEGER value;
    if (!QueryPerformanceCounter(&value))
        return false;
    now = value.QuadPart;
    return true;
}

bool SystemClock::frequency(std::int64_t& perSecond)
{
    LARGE_INTEGER value;
    if (!QueryPerformanceFrequency(&value))
        return false;
    perSecond = value.QuadPart;
    return true;
}

void SystemClock::sleep(unsigned long milliseconds)
{
    Sleep(milliseconds);
}

Clock& systemClock()
{
    static SystemClock clock;
    return clock;
}

} // namespace kes
