// What the module archive keeps as the jobs end: which readings and programming jobs become
// entries, their kind, and the entry each programming names as what the module held before.
#include "tools/ModuleArchive.h"

#include "CaseName.h"
#include "OwnLocalAppData.h"
#include "link/UsbLink.h"
#include "model/SettingsView.h"
#include "protocol/Notices.h"
#include "protocol/SettingsBlocks.h"
#include "protocol/Supervision.h"
#include "storage/ArchiveFolder.h"
#include "storage/ArchiveListing.h"
#include "storage/DataFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

namespace {

kes::Settings holding(const wchar_t* code)
{
    kes::Settings settings;
    settings.accessCode = code;
    return settings;
}

// 2026-12-09 13:32, 14:32 local, and the second.
kes::ArchiveMoment at(int second)
{
    kes::ArchiveMoment moment;
    moment.utc = SYSTEMTIME{2026, 12, 3, 9, 13, 32, static_cast<WORD>(second), 0};
    moment.local = moment.utc;
    moment.local.wHour = 14;
    return moment;
}

// A second on at each entry: the entries list in the order they were written.
kes::ArchiveClock secondsFrom(int& seconds)
{
    return [&seconds] { return at(seconds++); };
}

// r: a complete automatic reading, i: an incomplete one, c: a comparison's reading, p and f: a
// programming job that succeeded or failed; each with the access code the module then holds.
struct Job {
    char kind;
    const wchar_t* code;
};

void run(kes::ModuleArchive& archive, const Job& job)
{
    const kes::ModuleImage image = kes::imageOf(holding(job.code));
    kes::showSettings(holding(job.code));  // what the job leaves in the window
    switch (job.kind) {
    case 'r':
    case 'i':
        archive.beforeAutomaticReading();
        archive.automaticReadingEnded(job.kind == 'r', image);
        break;
    case 'c':
        archive.moduleImageRead(image);
        break;
    default:
        archive.programmingEnded(job.kind == 'p', image);
    }
}

// Oldest first: "<kind> <code>", then " <n" when it names the n-th entry as the one before.
std::vector<std::wstring> entriesOf(const std::wstring& archive)
{
    auto listed = kes::listArchive(archive).entries;
    std::reverse(listed.begin(), listed.end());
    std::vector<std::wstring> entries;
    for (const auto& e : listed) {
        const auto settings = kes::settingsFromRecords(kes::readArchiveEntry(archive + L'\\' + e.relativePath).records);
        std::wstring text = std::wstring(kes::archiveKindText(e.header.kind)) + L' ' + settings.value().accessCode;
        for (std::size_t n = 0; n < listed.size(); ++n)
            if (!e.header.previous.empty() && listed[n].relativePath == e.header.previous)
                text += L" <" + std::to_wstring(n + 1);
        entries.push_back(text);
    }
    return entries;
}

struct Case {
    const char* name;
    std::vector<Job> jobs;
    std::vector<std::wstring> entries;
};

const Case cases[] = {
    {"the first reading is an entry, a blip's re-read is not", {{'r', L"AAAA"}, {'r', L"AAAA"}}, {L"odczytany AAAA"}},
    {"another module, then the first one again",
     {{'r', L"AAAA"}, {'r', L"BBBB"}, {'r', L"AAAA"}},
     {L"odczytany AAAA", L"odczytany BBBB", L"odczytany AAAA"}},
    {"a programming names what the module held, its re-read adds nothing",
     {{'r', L"AAAA"}, {'p', L"BBBB"}, {'r', L"BBBB"}},
     {L"odczytany AAAA", L"zaprogramowany BBBB <1"}},
    {"the programmed module back after another one",
     {{'r', L"AAAA"}, {'p', L"BBBB"}, {'r', L"CCCC"}, {'r', L"BBBB"}},
     {L"odczytany AAAA", L"zaprogramowany BBBB <1", L"odczytany CCCC"}},
    {"a failed programming, the module then read as it was",
     {{'r', L"AAAA"}, {'f', L"BBBB"}, {'r', L"AAAA"}},
     {L"odczytany AAAA", L"nieudany BBBB <1"}},
    {"after a failed programming nothing is known of the module",
     {{'r', L"AAAA"}, {'f', L"BBBB"}, {'p', L"BBBB"}},
     {L"odczytany AAAA", L"nieudany BBBB <1", L"zaprogramowany BBBB"}},
    {"a comparison's reading like any other", {{'r', L"AAAA"}, {'c', L"AAAA"}, {'c', L"BBBB"}},
     {L"odczytany AAAA", L"odczytany BBBB"}},
    {"an incomplete reading leaves no entry and the module unknown",
     {{'r', L"AAAA"}, {'i', L"BBBB"}, {'p', L"CCCC"}},
     {L"odczytany AAAA", L"zaprogramowany CCCC"}},
};

class ArchivedJobs : public ::testing::TestWithParam<Case> {
protected:
    harness::OwnLocalAppData localAppData;
    int seconds = 0;
};

TEST_P(ArchivedJobs, LeaveTheirEntries)
{
    kes::ModuleArchive archive(secondsFrom(seconds));
    for (const Job& job : GetParam().jobs)
        run(archive, job);
    EXPECT_EQ(GetParam().entries, entriesOf(kes::archiveFolder()));
    EXPECT_FALSE(archive.unwritableFolder());
}

INSTANTIATE_TEST_SUITE_P(ModuleArchive, ArchivedJobs, ::testing::ValuesIn(cases), casename::ByName());

TEST_F(ArchivedJobs, TwoProgramsInTheSameSecondKeepBothEntries)
{
    kes::usbLink.serialNumber = "QLV30001";
    kes::supervision.lastGoodStatus = kes::ReceivedStatus{};
    kes::supervision.lastGoodStatus->values.moduleText = "Brama 1";
    const kes::ArchiveClock sameSecond = [] { return at(5); };
    kes::ModuleArchive first(sameSecond), second(sameSecond);
    run(first, {'r', L"AAAA"});
    run(second, {'r', L"AAAA"});
    std::vector<std::wstring> names;
    for (const auto& e : kes::listArchive(kes::archiveFolder()).entries)
        names.push_back(e.relativePath + L" " + e.header.interfaceSerial + L" " + e.header.moduleText);
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::wstring>{L"2026-12\\2026-12-09 14.32.05 odczytany Brama 1 (2).dat QLV30001 Brama 1",
                                         L"2026-12\\2026-12-09 14.32.05 odczytany Brama 1.dat QLV30001 Brama 1"}),
              names);
    kes::supervision = kes::SupervisionState();
    kes::usbLink.serialNumber.clear();
}

class ToldNotices final : public kes::NoticeSink {
public:
    void show(HWND, kes::Notice notice, const std::wstring& text) override
    {
        told.emplace_back(notice, text);
    }
    void play(kes::Sound) override {}
    std::vector<std::pair<kes::Notice, std::wstring>> told;
};

TEST_F(ArchivedJobs, AnUnwritableArchiveIsToldOnceAfterTheJob)
{
    // A file where the program's folder should be.
    std::ofstream(std::filesystem::path(localAppData.path() + L"\\Quellmo PC")) << "x";
    ToldNotices notices;
    kes::NoticeSink* before = kes::setNoticeSink(&notices);
    kes::ModuleArchive archive(secondsFrom(seconds));
    run(archive, {'r', L"AAAA"});
    EXPECT_TRUE(notices.told.empty()) << "nothing during the job";
    archive.tellFaultOnce(nullptr);
    run(archive, {'p', L"BBBB"});
    archive.tellFaultOnce(nullptr);
    kes::setNoticeSink(before);
    const std::wstring folder = localAppData.path() + L"\\Quellmo PC\\Archiwum";
    ASSERT_EQ(1u, notices.told.size());
    EXPECT_EQ(kes::Notice::FileNotWritten, notices.told[0].first);
    EXPECT_EQ(L"Nie można zapisać archiwum modułów: " + folder, notices.told[0].second);
    EXPECT_EQ(folder, archive.unwritableFolder().value_or(L""));
    EXPECT_TRUE(archive.programmingEntry().empty());
}

} // namespace
