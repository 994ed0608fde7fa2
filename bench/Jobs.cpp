#include "Jobs.h"

#include <windows.h>

namespace {

kes::Frame blockFrame(std::uint8_t command, std::uint8_t block)
{
    kes::Frame f{};
    f[0] = command;
    f[1] = block;
    return f;
}

}  // namespace

// Stand-in with the jobs' exchange pattern until the protocol's jobs can be called here.
bool benchReadingJob(kes::UsbLink& link)
{
    kes::Frame reply{};
    bool ok = link.queryFrame(blockFrame(0x03, 0), reply);
    Sleep(200);
    for (std::uint8_t block = 1; block < 16; ++block)
        ok = link.queryFrame(blockFrame(0x03, block), reply) && ok;
    return ok;
}

bool benchProgrammingJob(kes::UsbLink& link)
{
    bool ok = true;
    const ULONGLONG start = GetTickCount64();
    for (int step = 1; step <= 17; ++step) {
        // Tick n falls at n x 500 ms after the start.
        const ULONGLONG due = start + 500ULL * static_cast<ULONGLONG>(step);
        while (GetTickCount64() < due)
            Sleep(1);
        if (step <= 16)
            ok = link.sendFrame(blockFrame(0x02, static_cast<std::uint8_t>(step - 1))) && ok;
    }
    return ok;
}
