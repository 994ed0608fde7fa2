// The module archive at 10,000 entries, in a LOCALAPPDATA of the benchmark's own: writing them,
// listing them without the index (every file read) and with it, a search for each prefix of
// typed queries, and the archive's bytes. Prints one "key value" line per figure.
//   archive-bench <scratch folder for LOCALAPPDATA> [entries]
#include "model/Catalogue.h"
#include "storage/ArchiveFolder.h"
#include "storage/ArchiveIndex.h"
#include "storage/ArchiveListing.h"
#include "storage/DataFile.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

SYSTEMTIME hoursAfterStart(int hours)
{
    SYSTEMTIME start{};
    start.wYear = 2025;
    start.wMonth = 1;
    start.wDay = 1;
    FILETIME time{};
    SystemTimeToFileTime(&start, &time);
    ULARGE_INTEGER value{{time.dwLowDateTime, time.dwHighDateTime}};
    value.QuadPart += static_cast<unsigned long long>(hours) * 36000000000ull;
    time = FILETIME{value.LowPart, value.HighPart};
    SYSTEMTIME out{};
    FileTimeToSystemTime(&time, &out);
    return out;
}

std::wstring phoneOf(int i)
{
    wchar_t phone[32] = {};
    std::swprintf(phone, 32, i % 3 == 0 ? L"+48%09d" : L"%09d", 500000000 + i * 9973 % 400000000);
    return phone;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "archive-bench <scratch folder> [entries]\n");
        return 2;
    }
    const std::string scratch = argv[1];
    SetEnvironmentVariableW(L"LOCALAPPDATA", std::wstring(scratch.begin(), scratch.end()).c_str());
    const int entries = argc > 2 ? std::atoi(argv[2]) : 10000;
    const std::wstring archive = kes::archiveFolder();

    // One entry every 7 hours: about two years, two dozen month folders.
    std::vector<double> writes;
    const auto writing = Clock::now();
    int failed = 0;
    for (int i = 0; i < entries; ++i) {
        userPhone[0].setText(i == entries / 2 ? L"+48601234567" : phoneOf(i));
        userPhone[1].setText(phoneOf(i + 1));
        in1Name.setText(L"Wejście " + std::to_wstring(i % 97));
        out1Name.setText(i % 5 == 0 ? L"Brama wjazdowa" : L"Furtka");
        kes::ArchiveEntryHeader header;
        header.utc = hoursAfterStart(7 * i);
        header.local = hoursAfterStart(7 * i + 1);
        header.kind = static_cast<kes::ArchiveKind>(i % 3);
        header.interfaceSerial = L"QLV" + std::to_wstring(1000 + i % 7);
        header.moduleText = L"Moduł " + std::to_wstring(i % 211);
        const auto started = Clock::now();
        if (!kes::writeArchiveEntry(archive, header, kes::currentRecords()))
            ++failed;
        writes.push_back(millisecondsSince(started));
    }
    std::printf("archive_entries %d\n", entries);
    std::printf("archive_write_failures %d\n", failed);
    std::printf("archive_write_all_s %.1f\n", millisecondsSince(writing) / 1000.0);
    std::printf("archive_write_ms_median %.2f\n", median(writes));

    std::vector<double> cold, warm;
    kes::ArchiveListing listing;
    for (int run = 0; run < 3; ++run) {
        DeleteFileW(kes::archiveIndexPath(archive).c_str());
        const auto started = Clock::now();
        listing = kes::listArchive(archive);
        cold.push_back(millisecondsSince(started));
    }
    for (int run = 0; run < 5; ++run) {
        const auto started = Clock::now();
        listing = kes::listArchive(archive);
        warm.push_back(millisecondsSince(started));
    }
    std::printf("archive_listed %zu\n", listing.entries.size());
    std::printf("archive_list_cold_ms %.1f\n", median(cold));
    std::printf("archive_list_warm_ms %.1f\n", median(warm));

    // The list follows every character typed: each prefix is one search over all entries.
    double slowest = 0;
    for (const std::wstring typed : {L"601 234 567", L"Brama", L"wejscie 42 furtka"}) {
        std::size_t found = 0;
        for (std::size_t length = 1; length <= typed.size(); ++length) {
            const auto started = Clock::now();
            found = kes::searchArchive(listing.entries, typed.substr(0, length)).size();
            slowest = std::max(slowest, millisecondsSince(started));
        }
        std::printf("archive_search_found \"%ls\" %zu\n", typed.c_str(), found);
    }
    std::printf("archive_search_ms_max %.2f\n", slowest);

    WIN32_FILE_ATTRIBUTE_DATA index{};
    GetFileAttributesExW(kes::archiveIndexPath(archive).c_str(), GetFileExInfoStandard, &index);
    std::printf("archive_entry_bytes %llu\n", static_cast<unsigned long long>(listing.totalBytes));
    std::printf("archive_index_bytes %lu\n", static_cast<unsigned long>(index.nFileSizeLow));
    return failed == 0 && listing.entries.size() == static_cast<std::size_t>(entries) ? 0 : 1;
}
