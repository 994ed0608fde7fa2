#pragma once
// Milliseconds on the performance counter, for timing what the benchmarks run.
#include <windows.h>

inline double wallMs()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}
