#include "storage/ArchiveFolder.h"
#include "storage/ArchiveIndex.h"
#include "storage/ArchiveListing.h"

#include "CaseName.h"
#include "model/Catalogue.h"
#include "storage/DataFile.h"
#include "storage/FileBuilder.h"
#include "storage/TestWindow.h"
#include "harness/OwnLocalAppData.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <thread>

namespace {

using namespace testing_support;

SYSTEMTIME at(WORD day, WORD hour, WORD minute, WORD second)
{
    SYSTEMTIME t{};
    t.wYear = 2026;
    t.wMonth = 12;
    t.wDay = day;
    t.wHour = hour;
    t.wMinute = minute;
    t.wSecond = second;
    return t;
}

kes::ArchiveEntryHeader header(const std::wstring& module, WORD minute = 32,
                               kes::ArchiveKind kind = kes::ArchiveKind::Read)
{
    kes::ArchiveEntryHeader h;
    h.utc = at(9, 13, minute, 5);
    h.local = at(9, 14, minute, 5);
    h.kind = kind;
    h.interfaceSerial = L"QLV12345";
    h.moduleText = module;
    return h;
}

// LOCALAPPDATA pointed at a folder of the case's own, removed with everything in it.
class Archive : public ::testing::Test {
protected:
    std::wstring write(const kes::ArchiveEntryHeader& h, const std::wstring& records = L"\x3\x3")
    {
        const auto path = kes::writeArchiveEntry(archive, h, records);
        EXPECT_TRUE(path.has_value());
        return path.value_or(L"");
    }
    std::vector<std::wstring> listedPaths()
    {
        std::vector<std::wstring> paths;
        for (const auto& entry : kes::listArchive(archive).entries)
            paths.push_back(entry.relativePath);
        return paths;
    }

    harness::OwnLocalAppData localAppData;
    const std::wstring archive = kes::archiveFolder();
};

TEST_F(Archive, EntryIsItsHeaderThenTheBytesZapiszWrites)
{
    kes::ArchiveEntryHeader h = header(L"Brama\x3 1", 32, kes::ArchiveKind::Programmed);
    h.previous = L"2026-12\\2026-12-09 14.30.00 odczytany Brama 1.dat";
    const std::wstring records = L"\x3\x2Łąka\x2\x2\x2" L"1\x2\x3";
    const std::string recordBytes = "\x03\x02\xC5\x81\xC4\x85ka\x02\x02\x02" "1\x02\x03";
    const std::wstring path = write(h, records);
    EXPECT_EQ(L"2026-12\\2026-12-09 14.32.05 zaprogramowany Brama_ 1.dat", path);
    const std::string expected = "\xEF\xBB\xBF"
                                 "Czas UTC: 2026-12-09 13:32:05\r\n"
                                 "Czas lokalny: 2026-12-09 14:32:05\r\n"
                                 "Rodzaj: zaprogramowany\r\n"
                                 "Interfejs: QLV12345\r\n"
                                 "Modu\xC5\x82: Brama_ 1\r\n"
                                 "Poprzednio: 2026-12\\2026-12-09 14.30.00 odczytany Brama 1.dat\r\n" +
                                 recordBytes;
    EXPECT_EQ(expected, readFileBytes(archive + L"\\" + path));
    ASSERT_TRUE(kes::writeRecordsToFile(localAppData.path() + L"\\saved.dat", records));
    EXPECT_EQ("\xEF\xBB\xBF" + recordBytes, readFileBytes(localAppData.path() + L"\\saved.dat"));

    const kes::ArchiveEntryFile back = kes::readArchiveEntry(archive + L"\\" + path);
    EXPECT_FALSE(back.damaged);
    EXPECT_EQ(records, back.records);
    EXPECT_EQ(L"Brama_ 1", back.header.moduleText);
    EXPECT_EQ(h.previous, back.header.previous);
    EXPECT_EQ(kes::ArchiveKind::Programmed, back.header.kind);
}

struct NameCase {
    const char* name;
    std::wstring module;
    std::wstring fileName;
};

const NameCase kNameCases[] = {
    {"characters a name cannot hold", L"a\\b/c:d*e?f\"g<h>i|j", L"2026-12-09 14.32.05 odczytany a_b_c_d_e_f_g_h_i_j.dat"},
    {"control characters", L"x\ty\x1z", L"2026-12-09 14.32.05 odczytany x_y_z.dat"},
    {"trailing dots and spaces", L"Brama . ", L"2026-12-09 14.32.05 odczytany Brama___.dat"},
    {"Polish letters kept", L"Żółta brama", L"2026-12-09 14.32.05 odczytany Żółta brama.dat"},
    {"no module text", L"", L"2026-12-09 14.32.05 odczytany.dat"},
};

class EntryName : public ::testing::TestWithParam<NameCase> {};

TEST_P(EntryName, IsTimeKindAndModuleText)
{
    EXPECT_EQ(GetParam().fileName, kes::entryFileName(header(GetParam().module), 1));
}

INSTANTIATE_TEST_SUITE_P(Archive, EntryName, ::testing::ValuesIn(kNameCases), casename::ByName());

TEST_F(Archive, WritersInTheSameSecondKeepEveryEntry)
{
    EXPECT_EQ(L"2026-12\\2026-12-09 14.32.05 odczytany Brama.dat", write(header(L"Brama")));
    EXPECT_EQ(L"2026-12\\2026-12-09 14.32.05 odczytany Brama (2).dat", write(header(L"Brama")));
    // Another program took the next name meanwhile.
    ASSERT_TRUE(writeFileBytes(archive + L"\\2026-12\\2026-12-09 14.32.05 odczytany Brama (3).dat", "foreign"));
    EXPECT_EQ(L"2026-12\\2026-12-09 14.32.05 odczytany Brama (4).dat", write(header(L"Brama")));
    EXPECT_EQ("foreign", readFileBytes(archive + L"\\2026-12\\2026-12-09 14.32.05 odczytany Brama (3).dat"));

    constexpr int kWriters = 4, kEach = 10;
    std::vector<std::thread> writers;
    for (int w = 0; w < kWriters; ++w)
        writers.emplace_back([this, w] {
            for (int i = 0; i < kEach; ++i)
                kes::writeArchiveEntry(archive, header(L"Brama"), L"\x3\x2" + std::to_wstring(w * kEach + i) + L"\x2\x3");
        });
    for (auto& writer : writers)
        writer.join();
    const std::vector<std::wstring> paths = listedPaths();
    std::set<std::string> contents;
    for (const std::wstring& path : paths)
        contents.insert(readFileBytes(archive + L"\\" + path));
    EXPECT_EQ(4u + kWriters * kEach, paths.size());
    EXPECT_EQ(2u + kWriters * kEach, contents.size());  // each racing write in a file of its own
}

TEST_F(Archive, DamagedEntriesAreListedAsSuchWithTheOthers)
{
    userActive[0].setChecked(true);
    userPhone[0].setText(L"+48601234567");
    in1Name.setText(L"Furtka");
    const std::wstring records = kes::currentRecords();
    restoreDefaults();
    write(header(L"Stara", 10), records);
    write(header(L"Nowa", 50, kes::ArchiveKind::Failed), records);
    const std::wstring month = archive + L"\\2026-12\\";
    const std::string good = readFileBytes(month + L"2026-12-09 14.10.05 odczytany Stara.dat");
    const std::vector<std::pair<std::wstring, std::string>> damaged = {
        {L"no signature.dat", good.substr(3)},
        {L"no start marker.dat", "\xEF\xBB\xBF" "Czas UTC: 2026-12-09 13:32:05\r\n"},
        {L"not UTF-8.dat", "\xEF\xBB\xBF\xC5\x03\x03"},
        {L"records cut.dat", good.substr(0, good.size() - 40)},
        {L"no header.dat", dataFile({L"0"})},
        {L"empty.dat", ""},
    };
    for (const auto& file : damaged)
        ASSERT_TRUE(writeFileBytes(month + file.first, file.second));
    ASSERT_TRUE(writeFileBytes(month + L"notatki.txt", good));
    ASSERT_TRUE(CreateDirectoryW((archive + L"\\stare").c_str(), nullptr));
    ASSERT_TRUE(writeFileBytes(archive + L"\\stare\\kopia.dat", good));

    const kes::ArchiveListing listing = kes::listArchive(archive);
    ASSERT_EQ(2u + damaged.size(), listing.entries.size());
    std::uint64_t total = 0;
    std::set<std::wstring> damagedListed;
    for (const auto& entry : listing.entries) {
        total += entry.size;
        if (entry.damaged)
            damagedListed.insert(entry.relativePath.substr(8));
    }
    EXPECT_EQ(damaged.size(), damagedListed.size());
    EXPECT_EQ(total, listing.totalBytes);
    std::vector<std::wstring> sound;
    for (const auto& entry : listing.entries)
        if (!entry.damaged)
            sound.push_back(entry.header.moduleText + L" " + entry.user1Phone + L" " + entry.in1Name + L" " +
                            kes::archiveKindText(entry.header.kind));
    EXPECT_EQ((std::vector<std::wstring>{L"Nowa +48601234567 Furtka nieudany", L"Stara +48601234567 Furtka odczytany"}),
              sound);
}

struct IndexCase {
    const char* name;
    std::function<void(const std::wstring& archive)> spoil;
};

const IndexCase kIndexCases[] = {
    {"missing", [](const std::wstring& a) { DeleteFileW(kes::archiveIndexPath(a).c_str()); }},
    {"garbled", [](const std::wstring& a) { writeFileBytes(kes::archiveIndexPath(a), "\xFF\xFEgarbage\n\t\t"); }},
    {"cut short",
     [](const std::wstring& a) {
         const std::string bytes = readFileBytes(kes::archiveIndexPath(a));
         writeFileBytes(kes::archiveIndexPath(a), bytes.substr(0, bytes.size() - 30));
     }},
    {"an entry deleted behind its back",
     [](const std::wstring& a) { DeleteFileW((a + L"\\2026-12\\2026-12-09 14.01.05 odczytany M1.dat").c_str()); }},
    {"an entry it does not hold",
     [](const std::wstring& a) { kes::writeArchiveEntry(a, header(L"M9", 9), L"\x3\x3"); }},
};

class ArchiveIndexFile : public Archive, public ::testing::WithParamInterface<IndexCase> {};

TEST_P(ArchiveIndexFile, IsMendedFromTheFiles)
{
    for (WORD minute = 1; minute <= 3; ++minute)
        write(header(L"M" + std::to_wstring(minute), minute));
    kes::listArchive(archive);
    GetParam().spoil(archive);
    std::vector<std::wstring> files;  // what the folder holds now, newest first
    for (WORD minute = 9; minute >= 1; --minute) {
        const std::wstring path = L"2026-12\\" + kes::entryFileName(header(L"M" + std::to_wstring(minute), minute), 1);
        if (GetFileAttributesW((archive + L"\\" + path).c_str()) != INVALID_FILE_ATTRIBUTES)
            files.push_back(path);
    }
    EXPECT_EQ(files, listedPaths());
    const auto index = kes::readArchiveIndex(archive);
    ASSERT_TRUE(index.has_value());
    EXPECT_EQ(files.size(), index->size());
}

INSTANTIATE_TEST_SUITE_P(Archive, ArchiveIndexFile, ::testing::ValuesIn(kIndexCases), casename::ByName());

TEST_F(Archive, ListingTakesUnchangedEntriesFromTheIndex)
{
    const std::wstring path = write(header(L"Brama"));
    kes::listArchive(archive);
    auto index = kes::readArchiveIndex(archive).value();
    index[path].header.moduleText = L"z indeksu";
    ASSERT_TRUE(kes::writeArchiveIndex(archive, index));
    EXPECT_EQ(L"z indeksu", kes::listArchive(archive).entries.at(0).header.moduleText);
}

TEST_F(Archive, DeletingReportsWhatCouldNotBeDeleted)
{
    const std::wstring kept = write(header(L"A", 1));
    const std::wstring gone = write(header(L"B", 2));
    const std::wstring held = write(header(L"C", 3));
    const std::wstring other = write(header(L"D", 4));
    kes::listArchive(archive);
    const HANDLE open = CreateFileW((archive + L"\\" + held).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, open);
    const std::vector<std::wstring> refused = {held, L"2026-12\\..\\..\\x.dat", L"C:\\x.dat"};
    EXPECT_EQ(refused, kes::deleteArchiveEntries(archive, {gone, held, L"2026-12\\..\\..\\x.dat", L"C:\\x.dat", other}));
    CloseHandle(open);
    EXPECT_EQ((std::vector<std::wstring>{held, kept}), listedPaths());
    EXPECT_EQ(2u, kes::readArchiveIndex(archive).value().size());

    EXPECT_TRUE(kes::deleteArchiveEntries(archive, {held, kept}).empty());
    EXPECT_TRUE(listedPaths().empty());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((archive + L"\\2026-12").c_str()));  // the empty month
}

TEST_F(Archive, AFileWhereAFolderShouldBeFailsTheWrite)
{
    for (const std::wstring& blocked : {localAppData.path() + L"\\Quellmo PC", archive + L"\\2026-12"}) {
        SCOPED_TRACE(blocked.size());
        ASSERT_TRUE(kes::makeFolders(blocked.substr(0, blocked.find_last_of(L'\\'))));
        ASSERT_TRUE(writeFileBytes(blocked, "not a folder"));
        EXPECT_FALSE(kes::writeArchiveEntry(archive, header(L"Brama"), L"\x3\x3").has_value());
        EXPECT_TRUE(kes::listArchive(archive).entries.empty());
        DeleteFileW(blocked.c_str());
    }
}

TEST_F(Archive, FolderIsUnderLocalAppDataOrTheKnownFolder)
{
    EXPECT_EQ(localAppData.path() + L"\\Quellmo PC\\Archiwum", archive);
    SetEnvironmentVariableW(L"LOCALAPPDATA", nullptr);
    const std::wstring known = kes::archiveFolder();
    EXPECT_GT(known.size(), std::wstring(L"\\Quellmo PC\\Archiwum").size());
    EXPECT_EQ(L"\\Quellmo PC\\Archiwum", known.substr(known.size() - 20));
}

} // namespace
