// The series log and the kept copies, byte for byte as a spreadsheet and "Otwórz" will read them.
#include "storage/AtomicFile.h"
#include "tools/SeriesCopies.h"
#include "tools/SeriesLog.h"
#include "tools/SeriesRowValues.h"
#include "support/ScopedWin.h"

#include "CaseName.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string fileBytes(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void putFile(const std::wstring& path, const std::string& bytes)
{
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::wstring tempFolder()
{
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    return folder;
}

SYSTEMTIME at(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second)
{
    return {year, month, 0, day, hour, minute, second, 0};
}

// A module whose text and result need quoting, programmed from row 2 with five settings changed.
const kes::SeriesAttempt awkwardAttempt{at(2026, 12, 9, 8, 5, 3), L"QLV30001", L"Brama; wjazd", L"Plus", L"48 %", 2,
                                        L"Błąd\r\n\"x\"", 5, L"", L"", L"", 0};
// A reading that failed, without a table.
const kes::SeriesAttempt failedRead{at(2026, 1, 31, 23, 59, 59), L"QLV30417", L"Dom Nowaków", L"", L"- - -", 0,
                                    L"Błąd odczytu danych z urządzenia.", std::nullopt, L"", L"", L"", 0};
// Row 3 of a table, its copies kept as number 12.
const kes::SeriesAttempt fromTable{at(2026, 12, 10, 9, 0, 0), L"QLV30001", L"Brama 3", L"Plus", L"60 %", 3, L"OK", 2,
                                   L"osiedle.csv", L"plik osiedle.dat", L"IN-1 – nazwa=BRAMA|Kod dostępu=AB;1", 12};

const std::string header = "\xEF\xBB\xBF" "Czas;Interfejs;Modu\xC5\x82;Operator;Sygna\xC5\x82;Wiersz;Wynik;Zmienione ustawienia;"
                           "Tabela;Szablon;Warto\xC5\x9B" "ci wiersza;Kopia\r\n";
const std::string oldHeader =
    "\xEF\xBB\xBF" "Czas;Interfejs;Modu\xC5\x82;Operator;Sygna\xC5\x82;Wiersz;Wynik;Zmienione ustawienia\r\n";
const std::string awkwardLine =
    "2026-12-09 08:05:03;QLV30001;\"Brama; wjazd\";Plus;48 %;2;\"B\xC5\x82\xC4\x85" "d\r\n\"\"x\"\"\";5;;;;\r\n";
const std::string failedLine =
    "2026-01-31 23:59:59;QLV30417;Dom Nowak\xC3\xB3w;;- - -;;B\xC5\x82\xC4\x85" "d odczytu danych z urz\xC4\x85" "dzenia.;;;;;\r\n";
const std::string tableLine = "2026-12-10 09:00:00;QLV30001;Brama 3;Plus;60 %;3;OK;2;osiedle.csv;plik osiedle.dat;"
                              "\"IN-1 \xE2\x80\x93 nazwa=BRAMA|Kod dost\xC4\x99pu=AB;1\";012\r\n";

struct LogCase {
    const char* name;
    bool exists;
    std::string before;
    bool withLine;
    std::string after;
};

const LogCase logCases[] = {
    {"a new file starts with its header", false, "", true, header + awkwardLine},
    {"an empty file is a new one", true, "", true, header + awkwardLine},
    {"an existing log is appended to untouched", true, "x;y\r\n\"a\"\r\n", true, "x;y\r\n\"a\"\r\n" + awkwardLine},
    {"a last line without its break gets one first", true, "x;y", true, "x;y\r\n" + awkwardLine},
    {"preparing a new file writes the header alone", false, "", false, header},
    {"preparing an existing log changes nothing", true, header + failedLine, false, header + failedLine},
    {"a log of eight columns is appended to as it is", true, oldHeader, true, oldHeader + awkwardLine},
};

class SeriesLogFile : public ::testing::TestWithParam<LogCase> {
protected:
    void TearDown() override { DeleteFileW(path.c_str()); }
    std::wstring path = tempFolder() + L"quellmo-series-log.csv";
};

TEST_P(SeriesLogFile, HoldsItsLinesAsWritten)
{
    const LogCase& c = GetParam();
    DeleteFileW(path.c_str());
    if (c.exists)
        putFile(path, c.before);
    std::vector<kes::LogLine> lines;
    if (c.withLine)
        lines.push_back(kes::attemptCells(awkwardAttempt));
    ASSERT_TRUE(kes::appendToSeriesLog(path, lines));
    EXPECT_EQ(fileBytes(path), c.after);
}

INSTANTIATE_TEST_SUITE_P(Series, SeriesLogFile, ::testing::ValuesIn(logCases), casename::ByName());

TEST(SeriesLog, LinesFollowOneAnotherWithEmptyCellsWhereNothingIsKnown)
{
    const std::wstring path = tempFolder() + L"quellmo-series-two.csv";
    DeleteFileW(path.c_str());
    ASSERT_TRUE(kes::appendToSeriesLog(path, {kes::attemptCells(awkwardAttempt)}));
    ASSERT_TRUE(kes::appendToSeriesLog(path, {kes::attemptCells(failedRead), kes::attemptCells(fromTable)}));
    EXPECT_EQ(fileBytes(path), header + awkwardLine + failedLine + tableLine);
    DeleteFileW(path.c_str());
}

// A full disk half-way through a line: the next line must not be glued to the half.
TEST(SeriesLog, AWriteThatFailsPartWayIsCutBackToTheFileAsItWas)
{
    const std::wstring path = tempFolder() + L"quellmo-series-half.csv";
    putFile(path, header + failedLine);
    const kes::FileWriteFunction real = kes::setFileWriteFunction([](HANDLE file, const char* data, DWORD size) {
        DWORD written = 0;
        WriteFile(file, data, size / 2, &written, nullptr);
        return false;
    });
    EXPECT_FALSE(kes::appendToSeriesLog(path, {kes::attemptCells(fromTable)}));
    kes::setFileWriteFunction(real);
    EXPECT_EQ(fileBytes(path), header + failedLine);
    DeleteFileW(path.c_str());
}

struct RowsCase {
    const char* name;
    std::string log;
    std::vector<std::wstring> rows;
};

const RowsCase rowsCases[] = {
    {"only the OK lines of rows count", header + failedLine + tableLine + awkwardLine,
     {L"IN-1 – nazwa=BRAMA|Kod dostępu=AB;1"}},
    {"lines of the eight-column log carry no rows", oldHeader + "2026-12-09 08:05:03;Q;M;;;1;OK;0\r\n", {}},
    {"a log saved again by a spreadsheet with commas", "Czas,a,b,c,d,Wiersz,Wynik,e,f,g,h,i\r\nt,,,,,2,OK,,,,W=1,\r\n",
     {L"W=1"}},
};

class SeriesLogRows : public ::testing::TestWithParam<RowsCase> {};

TEST_P(SeriesLogRows, AreTheRowsOfItsOkLines)
{
    const std::wstring path = tempFolder() + L"quellmo-series-rows.csv";
    putFile(path, GetParam().log);
    const kes::ProgrammedRows read = kes::programmedRowsInLog(path);
    EXPECT_TRUE(read.readable);
    EXPECT_EQ(read.rowValues, GetParam().rows);
    DeleteFileW(path.c_str());
}

INSTANTIATE_TEST_SUITE_P(Series, SeriesLogRows, ::testing::ValuesIn(rowsCases), casename::ByName());

TEST(SeriesLog, ALogNotThereYetHoldsNoRowsAndALockedOneCannotBeRead)
{
    const std::wstring path = tempFolder() + L"quellmo-series-rows-locked.csv";
    DeleteFileW(path.c_str());
    EXPECT_TRUE(kes::programmedRowsInLog(path).readable);
    putFile(path, header + tableLine);
    {
        kes::KernelHandle lock(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_NE(lock.get(), INVALID_HANDLE_VALUE);
        EXPECT_FALSE(kes::programmedRowsInLog(path).readable);
    }
    DeleteFileW(path.c_str());
}

TEST(SeriesRowValues, AreWrittenEscapedAndReadBackWhateverTheColumnOrder)
{
    const kes::RowCells cells{{L"SMS|ON", L"a=b\\c"}, {L"Pusta", L""}, {L"IN-1", L"tak"}};
    const std::wstring text = kes::rowValuesText(cells);
    EXPECT_EQ(text, L"SMS\\|ON=a\\=b\\\\c|IN-1=tak");
    const kes::RowCells reordered{{L"IN-1", L"tak"}, {L"SMS|ON", L"a=b\\c"}};
    EXPECT_EQ(kes::parseRowValues(text), kes::rowValuesOf(reordered));
    for (const wchar_t* malformed : {L"", L"bez wartości", L"A=1|A=2", L"A=1|", L"A=1\\"})
        EXPECT_FALSE(kes::parseRowValues(malformed)) << std::wstring(malformed).size();
}

// Open in a spreadsheet that locks it, or its folder gone: nothing is written, nothing is lost.
TEST(SeriesLog, ALogThatCannotBeWrittenIsReportedAndKeepsItsLines)
{
    const std::wstring path = tempFolder() + L"quellmo-series-locked.csv";
    putFile(path, header + failedLine);
    const std::vector<kes::LogLine> line{kes::attemptCells(awkwardAttempt)};
    {
        kes::KernelHandle lock(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_NE(lock.get(), INVALID_HANDLE_VALUE);
        EXPECT_FALSE(kes::appendToSeriesLog(path, line));
    }
    EXPECT_EQ(fileBytes(path), header + failedLine);
    EXPECT_FALSE(kes::appendToSeriesLog(tempFolder() + L"quellmo-no-such-folder\\seria.csv", line));
    DeleteFileW(path.c_str());
}

TEST(SeriesLog, TheProposedNameCarriesTheDay)
{
    EXPECT_EQ(kes::proposedLogName(at(2026, 3, 7, 0, 0, 0)), L"seria-2026-03-07.csv");
}

struct FolderCase {
    const char* name;
    const wchar_t* log;
    const wchar_t* folder;
};

const FolderCase folders[] = {
    {"the log's name without its extension", L"C:\\x\\seria-2026-12-09.csv", L"C:\\x\\seria-2026-12-09"},
    {"only the last extension", L"C:\\x\\seria.2026.csv", L"C:\\x\\seria.2026"},
    {"a dot in a folder is no extension", L"C:\\x.y\\seria", L"C:\\x.y\\seria-kopie"},
};

class SeriesCopiesFolder : public ::testing::TestWithParam<FolderCase> {};

TEST_P(SeriesCopiesFolder, SitsBesideTheLog)
{
    EXPECT_EQ(kes::copiesFolder(GetParam().log), GetParam().folder);
}

INSTANTIATE_TEST_SUITE_P(Series, SeriesCopiesFolder, ::testing::ValuesIn(folders), casename::ByName());

TEST(SeriesCopies, NumbersContinueAfterTheHighestAlreadyThereAndCopiesAreDataFiles)
{
    const std::wstring folder = tempFolder() + L"quellmo-series-copies";
    EXPECT_EQ(kes::nextCopyNumber(folder), 1) << "no folder yet";
    const std::wstring held = kes::copyPath(folder, 9, kes::KeptCopy::Held);
    EXPECT_EQ(held, folder + L"\\009-zastane.dat");
    // A name with Polish letters, framed as a data file's records.
    ASSERT_TRUE(kes::writeCopy(held, L"\x03\x02\x141\xF3" L"d\x17A\x02\x02\x03"));
    EXPECT_EQ(fileBytes(held), "\xEF\xBB\xBF\x03\x02\xC5\x81\xC3\xB3" "d\xC5\xBA\x02\x02\x03");
    const std::wstring programmed = kes::copyPath(folder, 10, kes::KeptCopy::Programmed);
    EXPECT_EQ(programmed, folder + L"\\010-zaprogramowane.dat");
    ASSERT_TRUE(kes::writeCopy(programmed, L"\x03\x03"));
    putFile(folder + L"\\77-notatki.txt", "x");
    putFile(folder + L"\\x12-zastane.dat", "x");
    EXPECT_EQ(kes::nextCopyNumber(folder), 11);
    EXPECT_EQ(kes::copyPath(folder, 1000, kes::KeptCopy::Held), folder + L"\\1000-zastane.dat");

    for (const wchar_t* name : {L"\\009-zastane.dat", L"\\010-zaprogramowane.dat", L"\\77-notatki.txt",
                                L"\\x12-zastane.dat"})
        DeleteFileW((folder + name).c_str());
    RemoveDirectoryW(folder.c_str());
}

} // namespace
