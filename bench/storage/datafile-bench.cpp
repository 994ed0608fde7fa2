// Figures for the data file: save and open of a full configuration, the UTF-8 facet's
// throughput, and refusing a 50 MB file that has no start marker (time and peak memory).
#include "model/Catalogue.h"
#include "storage/DataFile.h"
#include "storage/FileDialogs.h"
#include "storage/Utf8Codecvt.h"
#include "support/MessageBox.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <psapi.h>
#include <sstream>
#include <string>
#include <windows.h>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::wstring tempFile(const wchar_t* name)
{
    wchar_t dir[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + name;
}

SIZE_T peakMemory()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters.PeakWorkingSetSize;
}

} // namespace

int main()
{
    std::wstring path;
    kes::setFileDialogFunction([&path](kes::FileDialogKind, OPENFILENAMEW& record) {
        path.copy(record.lpstrFile, path.size());
        record.lpstrFile[path.size()] = L'\0';
        return true;
    });
    int boxes = 0;
    kes::setMessageBoxFunction([&boxes](HWND, const std::wstring&, const std::wstring&, UINT) {
        ++boxes;
        return IDOK;
    });

    // The fields work on their own values: this measures the file layer, not the controls.
    constexpr int kRounds = 200;
    path = tempFile(L"quellmo-bench.dat");
    auto start = Clock::now();
    for (int i = 0; i < kRounds; ++i)
        kes::saveDataFile(nullptr);
    std::printf("save of %zu fields: %.3f ms each\n", settingsBufor.size(), millisecondsSince(start) / kRounds);
    start = Clock::now();
    for (int i = 0; i < kRounds; ++i)
        kes::openDataFile(nullptr);
    std::printf("open of %zu fields: %.3f ms each\n", settingsBufor.size(), millisecondsSince(start) / kRounds);
    DeleteFileW(path.c_str());

    const std::wstring text(4u << 20, L'ł');
    std::string bytes;
    start = Clock::now();
    kes::encodeUtf8(text, bytes);
    const double encodeMs = millisecondsSince(start);
    std::printf("facet out: %.1f MB/s of UTF-8\n", bytes.size() / 1e3 / encodeMs);
    path = tempFile(L"quellmo-bench-text.txt");
    std::ofstream(path.c_str(), std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    start = Clock::now();
    {
        std::wifstream in;
        in.imbue(kes::utf8Locale());
        in.open(path.c_str(), std::ios::binary);
        std::wstring back;
        std::getline(in, back, L'\x0003');
        if (back != text)
            std::printf("facet in: round trip FAILED\n");
    }
    std::printf("facet in through a wide file stream: %.1f MB/s of UTF-8\n",
                bytes.size() / 1e3 / millisecondsSince(start));
    DeleteFileW(path.c_str());

    constexpr std::size_t kLarge = 50u << 20;
    path = tempFile(L"quellmo-bench-large.dat");
    {
        std::ofstream out(path.c_str(), std::ios::binary);
        out << "\xEF\xBB\xBF";
        const std::string chunk(1u << 20, 'A');
        for (std::size_t n = 0; n < kLarge; n += chunk.size())
            out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    }
    boxes = 0;
    const SIZE_T peakBefore = peakMemory();
    start = Clock::now();
    kes::openDataFile(nullptr);
    const double largeMs = millisecondsSince(start);
    std::printf("50 MB file without start marker: refused in %.0f ms (%s), peak memory +%zu KB\n", largeMs,
                boxes == 1 ? "format message shown" : "NO MESSAGE", (peakMemory() - peakBefore) / 1024);
    DeleteFileW(path.c_str());
    return 0;
}
