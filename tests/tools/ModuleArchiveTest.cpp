// Which readings and programming jobs the module archive keeps, of what kind, and the entry each
// programming names as what the module held before.
#include "tools/ModuleArchive.h"

#include "CaseName.h"
#include "OwnLocalAppData.h"
#include "model/SettingsView.h"
#include "protocol/SettingsBlocks.h"
#include "storage/ArchiveFolder.h"
#include "storage/ArchiveListing.h"
#include "storage/DataFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace {

// A job and the access code the module then holds: "rA" a complete automatic reading, "iA" an
// incomplete one, "cA" a comparison's reading, "pA" and "fA" a programming that succeeded or failed.
void run(kes::ModuleArchive& archive, const std::string& job)
{
    kes::Settings settings;
    settings.accessCode = std::wstring(4, static_cast<wchar_t>(job[1]));
    kes::showSettings(settings);  // what the job leaves in the window
    const kes::ModuleImage image = kes::imageOf(settings);
    if (job[0] == 'r' || job[0] == 'i') {
        archive.beforeAutomaticReading();
        archive.automaticReadingEnded(job[0] == 'r', image);
    } else if (job[0] == 'c') {
        archive.moduleImageRead(image);
    } else {
        archive.programmingEnded(job[0] == 'p', image);
    }
}

// Oldest first, "<kind> <code>", and " <n" when it names the n-th as the entry before.
std::wstring entries()
{
    auto listed = kes::listArchive(kes::archiveFolder()).entries;
    std::reverse(listed.begin(), listed.end());
    std::wstring text;
    for (const auto& e : listed) {
        const auto file = kes::readArchiveEntry(kes::archiveFolder() + L'\\' + e.relativePath);
        text += std::wstring(text.empty() ? L"" : L", ") + kes::archiveKindText(e.header.kind) + L' ' +
                kes::settingsFromRecords(file.records).value().accessCode.substr(0, 1);
        for (std::size_t n = 0; n < listed.size(); ++n)
            if (listed[n].relativePath == e.header.previous)
                text += L" <" + std::to_wstring(n + 1);
    }
    return text;
}

struct Case {
    const char* name;
    std::string jobs;
    std::wstring entries;
};

const Case cases[] = {
    {"the first reading is an entry, a blip's re-read is not", "rA rA", L"odczytany A"},
    {"another module, then the first one again", "rA rB rA", L"odczytany A, odczytany B, odczytany A"},
    {"a programming names what the module held, its re-read adds nothing", "rA pB rB",
     L"odczytany A, zaprogramowany B <1"},
    {"the programmed module back after another one", "rA pB rC rB",
     L"odczytany A, zaprogramowany B <1, odczytany C"},
    {"a failed programming, the module then read as it was", "rA fB rA", L"odczytany A, nieudany B <1"},
    {"after a failed programming nothing is known of the module", "rA fB pB",
     L"odczytany A, nieudany B <1, zaprogramowany B"},
    {"a comparison's reading like any other", "rA cA cB", L"odczytany A, odczytany B"},
    {"an incomplete reading leaves no entry and the module unknown", "rA iB pC", L"odczytany A, zaprogramowany C"},
};

class ArchivedJobs : public ::testing::TestWithParam<Case> {};

TEST_P(ArchivedJobs, LeaveTheirEntries)
{
    const harness::OwnLocalAppData localAppData;
    WORD second = 0;  // on at each entry, so that they list in the order written
    kes::ModuleArchive archive([&second] {
        const SYSTEMTIME at{2026, 12, 3, 9, 13, 32, second++, 0};
        return kes::ArchiveMoment{at, at};
    });
    std::istringstream jobs(GetParam().jobs);
    for (std::string job; jobs >> job;)
        run(archive, job);
    EXPECT_EQ(GetParam().entries, entries());
}

INSTANTIATE_TEST_SUITE_P(ModuleArchive, ArchivedJobs, ::testing::ValuesIn(cases), casename::ByName());

} // namespace
