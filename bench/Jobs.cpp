#include "Jobs.h"

#include "protocol/Notices.h"
#include "protocol/Programming.h"
#include "protocol/Reading.h"

#include <windows.h>

#include <algorithm>

namespace {

// Counts the boxes a job would show; puts the sink before back when done.
class CountedBoxes final : public kes::NoticeSink {
public:
    CountedBoxes() : previous_(kes::setNoticeSink(this)) {}
    ~CountedBoxes() { kes::setNoticeSink(previous_); }
    CountedBoxes(const CountedBoxes&) = delete;
    CountedBoxes& operator=(const CountedBoxes&) = delete;

    void show(HWND, kes::Notice, const std::wstring&) override { ++shown; }
    void play(kes::Sound) override {}

    int shown = 0;

private:
    kes::NoticeSink* previous_;
};

struct ProgressCount final : kes::ProgrammingUi {
    void advance() override { ++advanced; }
    void close() override { closed = true; }
    int advanced = 0;
    bool closed = false;
};

double counterMs()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

}  // namespace

bool benchReadingJob()
{
    CountedBoxes boxes;
    kes::readConfiguration(nullptr);
    return boxes.shown == 0;
}

bool benchProgrammingJob(double* longestStepMs)
{
    CountedBoxes boxes;
    ProgressCount progress;
    kes::setProgrammingUi(&progress);
    kes::startProgramming();
    const ULONGLONG start = GetTickCount64();
    double longest = 0.0;
    for (ULONGLONG tick = 1; kes::programmingPending(); ++tick) {
        while (GetTickCount64() < start + 500 * tick)
            Sleep(1);
        const double stepStart = counterMs();
        kes::runProgrammingStep(nullptr);
        longest = std::max(longest, counterMs() - stepStart);
    }
    if (longestStepMs)
        *longestStepMs = longest;
    kes::setProgrammingUi(nullptr);
    return boxes.shown == 0 && progress.closed && progress.advanced == 16;
}
