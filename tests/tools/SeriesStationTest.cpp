// The series station on the simulator, module after module swapped behind one interface: the
// rows each module gets, the log's lines, the beeps, and the faults that stop a series.
#include "protocol/ProtocolFixture.h"

#include "CaseName.h"
#include "model/Catalogue.h"
#include "model/SettingsView.h"
#include "model/Validation.h"
#include "protocol/ModuleText.h"
#include "tools/SeriesCopies.h"
#include "tools/SeriesStation.h"
#include "support/ScopedWin.h"

#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace {

using protocol_tests::ProtocolTest;

constexpr char headerLine[] = "Czas;Interfejs;Modu\xC5\x82;Operator;Sygna\xC5\x82;Wiersz;Wynik;Zmienione ustawienia;Tabela;Szablon;Warto\xC5\x9B" "ci wiersza;Kopia";

std::string fileBytes(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The log's lines after its signature, each without the time at its start ("yyyy-mm-dd hh:mm:ss;").
std::vector<std::string> linesAfterTime(const std::string& log)
{
    std::vector<std::string> lines;
    std::size_t at = log.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
    while (at < log.size()) {
        const std::size_t end = log.find("\r\n", at);
        const std::string line = log.substr(at, end - at);
        lines.push_back(lines.empty() ? line : line.substr(20));
        at = end == std::string::npos ? log.size() : end + 2;
    }
    return lines;
}

// A module with its own text, holding `memory` (the ZZZZ code alone when none is given).
qlvsim::Module moduleNamed(const char* text, bool storesWrongly = false, const qlvsim::Module* like = nullptr)
{
    qlvsim::Module m;
    if (like)
        m = *like;
    else
        std::memcpy(m.memory[0].data(), "ZZZZ", 4);
    m.status.text = text;
    m.storesWrongly = storesWrongly;
    return m;
}

class SeriesStationTest : public ProtocolTest {
protected:
    void SetUp() override
    {
        ProtocolTest::SetUp();
        wchar_t folder[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, folder);
        logPath = std::wstring(folder) + L"quellmo-station.csv";
        tablePath = std::wstring(folder) + L"quellmo-station-table.csv";
        clearFiles();
        station.setLogPath(logPath);
        station.useTemplate({kes::windowSettings(), L"plik szablon.dat"});
    }
    void TearDown() override
    {
        station.stop();
        while (kes::programmingPending())
            step();
        station.stop();
        clearFiles();
        ProtocolTest::TearDown();
    }
    void clearFiles()
    {
        const std::wstring copies = kes::copiesFolder(logPath);
        for (int n = 1; n < 10; ++n)
            for (auto kind : {kes::KeptCopy::Held, kes::KeptCopy::Programmed})
                DeleteFileW(kes::copyPath(copies, n, kind).c_str());
        RemoveDirectoryW(copies.c_str());
        DeleteFileW(logPath.c_str());
        DeleteFileW(tablePath.c_str());
    }

    // One tick of the main window's timer as the shell runs it.
    void step()
    {
        const double start = h.nowMs();
        kes::tick(dialog());
        station.afterTick();
        const double used = h.nowMs() - start;
        if (used < 500.0)
            h.advanceMs(500.0 - used);
    }
    bool stepUntil(const std::function<bool()>& done, int ticks = 200)
    {
        for (int i = 0; i < ticks; ++i) {
            if (done())
                return true;
            step();
        }
        return done();
    }
    bool in(kes::SeriesState state) const { return station.state() == state; }

    void loadTable(const std::string& bytes)
    {
        std::ofstream(tablePath.c_str(), std::ios::binary) << bytes;
        ASSERT_TRUE(station.loadTable(tablePath, dialog()));
    }
    // Takes the module in hand off until it counts as gone, then attaches another.
    void swapTo(const qlvsim::Module& next)
    {
        h.sim.takeModuleOff();
        ASSERT_TRUE(stepUntil([&] { return !kes::usbLink.responding; }));
        h.sim.attachModule(next);
    }
    // The window's defaults over what a reading put there.
    static void defaultsInTheWindow()
    {
        for (std::size_t i = 0; i < settingsBufor.size(); ++i)
            settingsBufor.at(i)->restoreDefault();
    }
    // "Programuj" with the window's defaults into the module in hand, which is kept as `templated`.
    void programTheTemplate()
    {
        ASSERT_TRUE(connect());
        ASSERT_TRUE(stepUntil([&] { return kes::usbLink.responding; }));
        defaultsInTheWindow();
        const kes::ValidatedSettings validated = kes::validateSettings(kes::windowSettings());
        kes::showSettings(validated.settings);
        ASSERT_EQ(validated.faults, L"");
        kes::startProgramming();
        ASSERT_TRUE(stepUntil([&] { return !kes::programmingPending(); }));
        templated.status = h.sim.status();
        for (std::size_t b = 0; b < qlvsim::blockCount; ++b)
            templated.memory[b] = h.sim.block(b);
    }
    // Until the attempt of the module in hand has ended.
    void untilAttemptEnds()
    {
        ASSERT_TRUE(stepUntil([&] {
            return in(kes::SeriesState::ModuleDone) || in(kes::SeriesState::ModuleFailed) ||
                   in(kes::SeriesState::Idle);
        })) << kes::narrowText(station.statusText());
    }
    std::string accessCodeHeld() { return std::string(reinterpret_cast<const char*>(h.sim.block(0).data()), 4); }

    kes::SeriesStation station;
    qlvsim::Module templated;
    std::wstring logPath, tablePath;
};

// Three modules holding the template, the second storing every block wrongly: rows 1, 2, 2.
TEST_F(SeriesStationTest, AFailedModuleKeepsItsRowForTheNextAndUsedUpRowsStopTheSeries)
{
    programTheTemplate();
    loadTable("Kod dost\xC4\x99pu;IN-1;IN-1 - nazwa\r\nAB12;tak;Brama\r\nCD34;tak;Furtka\r\n");
    ASSERT_EQ(station.start(dialog(), dialog()), kes::SeriesStart::Started);

    untilAttemptEnds();
    EXPECT_EQ(station.statusText(), L"Gotowe – odłącz moduł");
    EXPECT_EQ(accessCodeHeld(), "AB12");
    EXPECT_EQ(in1Name.getText(), L"Brama") << "the window shows what the module was programmed with";

    swapTo(moduleNamed("Brama 2", true, &templated));
    untilAttemptEnds();
    EXPECT_EQ(station.statusText(), L"Błąd – odłącz moduł");

    swapTo(moduleNamed("Brama 3", false, &templated));
    untilAttemptEnds();
    EXPECT_EQ(accessCodeHeld(), "CD34");
    EXPECT_EQ(station.statusText(), L"Tabela wykorzystana: 2 modułów zaprogramowanych");
    EXPECT_EQ(station.countsText(), L"Zaprogramowane: 2, błędy: 1");

    const std::vector<std::string> lines = linesAfterTime(fileBytes(logPath));
    const std::string table = "quellmo-station-table.csv;plik szablon.dat;";
    const std::vector<std::string> expected = {
        headerLine,
        // Each module held the template: the code, IN-1 and its name changed.
        "QLV30001;Quellmo GSM;Plus;64 %;1;OK;3;" + table + "Kod dost\xC4\x99pu=AB12|IN-1=tak|IN-1 \xE2\x80\x93 nazwa=Brama;001",
        "QLV30001;Brama 2;Plus;64 %;2;B\xC5\x82\xC4\x85" "d programowania modu\xC5\x82u. Programowanie nale\xC5\xBCy powt\xC3\xB3rzy\xC4\x87.;;" +
            table + "Kod dost\xC4\x99pu=CD34|IN-1=tak|IN-1 \xE2\x80\x93 nazwa=Furtka;002",
        "QLV30001;Brama 3;Plus;64 %;2;OK;3;" + table + "Kod dost\xC4\x99pu=CD34|IN-1=tak|IN-1 \xE2\x80\x93 nazwa=Furtka;003"};
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(beeps, (std::vector<UINT>{MB_OK, MB_ICONHAND, MB_OK}));
    EXPECT_TRUE(boxes.empty()) << kes::narrowText(boxes.front().text);

    // Used up: another module is read, not programmed.
    const std::size_t writes = framesWithCommand(2);
    swapTo(moduleNamed("Brama 4"));
    ASSERT_TRUE(stepUntil([&] { return kes::usbLink.responding; }));
    for (int i = 0; i < 20; ++i)
        step();
    EXPECT_EQ(framesWithCommand(2), writes);
    EXPECT_EQ(station.start(dialog(), dialog()), kes::SeriesStart::TableUsedUp);
}

// The command bytes of the frames the host sent since the journal was cleared, the first `count`.
std::string commandsSent(qlvsim::Simulator& sim, std::size_t count)
{
    std::string commands;
    for (const auto& e : sim.journal())
        if (e.direction == qlvsim::Direction::HostToModule && e.bytes.size() == 30 && commands.size() < count)
            commands += static_cast<char>(e.bytes[0]);
    return commands;
}

// A module answering at Start is the first; every module's block 0 is written by the tick after
// the one that read it, with no poll in between.
TEST_F(SeriesStationTest, EachModuleIsWrittenFromTheTickAfterItsReading)
{
    const std::string readThenWrite = std::string(16, '\x03') + '\x02';
    ASSERT_TRUE(connect());
    ASSERT_TRUE(stepUntil([&] { return kes::usbLink.responding; }));
    step();
    defaultsInTheWindow();
    h.sim.clearJournal();
    ASSERT_EQ(station.start(dialog(), dialog()), kes::SeriesStart::Started);
    EXPECT_EQ(station.statusText(), L"Programowanie modułu… (blok 1 z 16)");
    step();
    EXPECT_EQ(station.statusText(), L"Programowanie modułu… (blok 2 z 16)");
    EXPECT_EQ(commandsSent(h.sim, 17), readThenWrite);
    untilAttemptEnds();
    EXPECT_EQ(accessCodeHeld(), "WKTR") << "without a table, the template alone";
    EXPECT_EQ(linesAfterTime(fileBytes(logPath)).at(1).rfind("QLV30001;Quellmo GSM;Plus;64 %;;OK;", 0), 0u);

    h.sim.takeModuleOff();
    ASSERT_TRUE(stepUntil([&] { return in(kes::SeriesState::WaitingForModule); }));
    h.sim.clearJournal();
    h.sim.attachModule(moduleNamed("Brama 2"));
    ASSERT_TRUE(stepUntil([&] { return in(kes::SeriesState::Programming); }));
    step();
    EXPECT_EQ(commandsSent(h.sim, 18), '\x01' + readThenWrite);
}

// A reading that fails is an attempt that failed; the same module attached again is the next one.
TEST_F(SeriesStationTest, AFailedReadingIsLoggedWithoutABoxAndTheModuleTriesAgain)
{
    loadTable("Kod dost\xC4\x99pu\r\nAB12\r\n");
    ASSERT_TRUE(connect());
    ASSERT_EQ(station.start(dialog(), dialog()), kes::SeriesStart::Started);
    EXPECT_EQ(station.statusText(), L"Podłącz moduł (wiersz 1 z 1)");
    // The module answers its first poll; the reading that follows gets no reply at block 0.
    h.sim.atFrame(h.sim.framesReceived() + 2, [this] { h.sim.faults().silentFrames = 3; });
    untilAttemptEnds();
    EXPECT_EQ(station.statusText(), L"Błąd – odłącz moduł");
    EXPECT_EQ(framesWithCommand(2), 0u);

    swapTo(moduleNamed("Quellmo GSM"));
    untilAttemptEnds();
    EXPECT_EQ(accessCodeHeld(), "AB12");
    const std::vector<std::string> lines = linesAfterTime(fileBytes(logPath));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], "QLV30001;Quellmo GSM;Plus;64 %;1;B\xC5\x82\xC4\x85" "d odczytu danych z urz\xC4\x85" "dzenia.;;"
                        "quellmo-station-table.csv;plik szablon.dat;Kod dost\xC4\x99pu=AB12;");
    EXPECT_EQ(lines[2].rfind("QLV30001;Quellmo GSM;Plus;64 %;1;OK;", 0), 0u);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SeriesStationTest, StopDuringProgrammingLetsTheJobEndAndStartsNoOtherAttempt)
{
    ASSERT_TRUE(connect());
    ASSERT_EQ(station.start(dialog(), dialog()), kes::SeriesStart::Started);
    ASSERT_TRUE(stepUntil([&] { return station.statusText() == L"Programowanie modułu… (blok 6 z 16)"; }));
    station.stop();
    EXPECT_TRUE(station.running());
    untilAttemptEnds();
    EXPECT_EQ(station.statusText(), L"Zatrzymano.");
    EXPECT_EQ(framesWithCommand(2), 16u) << "the job wrote every block";
    EXPECT_EQ(accessCodeHeld(), "WKTR");
    EXPECT_EQ(linesAfterTime(fileBytes(logPath)).size(), 2u);

    swapTo(moduleNamed("Brama 2"));
    for (int i = 0; i < 30; ++i)
        step();
    EXPECT_EQ(framesWithCommand(2), 16u);
    EXPECT_EQ(accessCodeHeld(), "ZZZZ");
}

// Locked by a spreadsheet after the series started: the module's line waits, the next module is
// not attempted until the spreadsheet lets the log go. Stop and Start with that module still
// attached tell it to go: without a table, as programmed with the template.
TEST_F(SeriesStationTest, ALineThatCannotBeWrittenWaitsAndNoAttemptStartsMeanwhile)
{
    ASSERT_TRUE(connect());
    ASSERT_EQ(station.start(dialog(), dialog()), kes::SeriesStart::Started);
    kes::KernelHandle lock(CreateFileW(logPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_NE(lock.get(), INVALID_HANDLE_VALUE);
    untilAttemptEnds();
    swapTo(moduleNamed("Brama 2"));
    for (int i = 0; i < 30; ++i)
        step();
    EXPECT_EQ(accessCodeHeld(), "ZZZZ");
    EXPECT_EQ(station.statusText(), L"Dziennik niedostępny (otwarty w arkuszu?) – 1 wpis czeka na zapis");
    EXPECT_TRUE(boxes.empty());

    lock.reset();
    untilAttemptEnds();
    EXPECT_EQ(accessCodeHeld(), "WKTR") << "the module that waited is the next attempt";
    EXPECT_EQ(linesAfterTime(fileBytes(logPath)).size(), 3u);
    station.stop();
    ASSERT_EQ(station.start(dialog(), dialog()), kes::SeriesStart::Started);
    EXPECT_EQ(station.statusText(), L"Moduł już zaprogramowany (szablon) – odłącz moduł");
}

// The log says which rows are used, whatever their order: a line of the eight-column log and a
// failed line use none. It is appended to as it is. A blank row is no module and keeps the
// numbers of the rows below.
TEST_F(SeriesStationTest, TheLogSaysWhichRowsAreUsedAndABlankRowIsNoModule)
{
    const std::string old = "\xEF\xBB\xBF" "Czas;Interfejs;Modu\xC5\x82;Operator;Sygna\xC5\x82;Wiersz;Wynik;Zmienione ustawienia\r\n"
                            "2026-12-09 08:05:03;QLV30001;Brama 1;Plus;64 %;1;OK;3\r\n"
                            "2026-12-09 08:06:03;QLV30001;Brama 2;Plus;64 %;7;OK;3;a.csv;x;Kod dost\xC4\x99pu=CD34;\r\n"
                            "2026-12-09 08:07:03;QLV30001;Brama 3;Plus;64 %;1;B\xC5\x82\xC4\x85" "d;;a.csv;x;Kod dost\xC4\x99pu=AB12;\r\n";
    std::ofstream(logPath.c_str(), std::ios::binary) << old;
    loadTable("Kod dost\xC4\x99pu\r\nAB12\r\n\r\nCD34\r\nEF56\r\n");
    EXPECT_EQ(station.rowsText(), L"Wiersze: 1 z 3 zaprogramowane (według dziennika)");
    ASSERT_TRUE(connect());
    ASSERT_EQ(station.start(dialog(), dialog()), kes::SeriesStart::Started);
    EXPECT_EQ(station.statusText(), L"Podłącz moduł (wiersz 1 z 4)");
    untilAttemptEnds();
    EXPECT_EQ(station.statusText(), L"Gotowe – odłącz moduł");
    swapTo(moduleNamed("Brama 5"));
    untilAttemptEnds();
    EXPECT_EQ(accessCodeHeld(), "EF56");
    EXPECT_EQ(station.statusText(), L"Tabela wykorzystana: 3 modułów zaprogramowanych");

    const std::string log = fileBytes(logPath);
    ASSERT_EQ(log.rfind(old, 0), 0u);
    const std::vector<std::string> added = linesAfterTime("\r\n" + log.substr(old.size()));
    ASSERT_EQ(added.size(), 3u);
    EXPECT_EQ(added[1].substr(added[1].find(";1;OK;")), ";1;OK;30;quellmo-station-table.csv;plik szablon.dat;Kod dost\xC4\x99pu=AB12;001");
    EXPECT_EQ(added[2].substr(added[2].find(";4;OK;")), ";4;OK;30;quellmo-station-table.csv;plik szablon.dat;Kod dost\xC4\x99pu=EF56;002");
}

// A number that lost its "+" is told once at loading (nine digits are a national number); Start
// waits for them once. The table is checked again at Start only for
// another template: what the window holds since does not matter.
TEST_F(SeriesStationTest, WarningsAreToldAtLoadingAndStartWaitsForThemOnce)
{
    loadTable("U\xC5\xBCytkownik 1;U\xC5\xBCytkownik 1 - telefon\r\ntak;48601234567\r\ntak;601234567\r\n"
              "tak;+48601234568\r\n");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, L"Ostrzeżenia w tabeli");
    EXPECT_EQ(boxes[0].text, L"Wiersz 1, Użytkownik 1 – telefon: 48601234567 bez „+” – arkusz usuwa „+” z liczb; "
                             L"sformatuj kolumnę jako tekst\r\n\r\nTabela została wczytana; Start zapyta, czy "
                             L"programować mimo to.");
    accessCode.setText(L"ab");
    EXPECT_EQ(station.start(dialog(), dialog()), kes::SeriesStart::WarningsToConfirm);
    station.confirmWarnings();
    EXPECT_EQ(station.start(dialog(), dialog()), kes::SeriesStart::Started);
    station.stop();
    EXPECT_EQ(station.start(dialog(), dialog()), kes::SeriesStart::Started);
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(SeriesStationTest, ACopiesFolderWhoseNameAFileHoldsIsRefusedAtStart)
{
    const std::wstring folder = kes::copiesFolder(logPath);
    std::ofstream(folder.c_str(), std::ios::binary) << "x";
    EXPECT_EQ(station.start(dialog(), dialog()), kes::SeriesStart::CopiesFolderTaken);
    DeleteFileW(folder.c_str());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, L"Błąd zapisu pliku");
    EXPECT_EQ(boxes[0].text, L"Nie można zachować kopii ustawień w folderze " + folder +
                                 L": jest już plik o tej nazwie. Zmień nazwę pliku albo wybierz inny dziennik.");
    EXPECT_FALSE(station.running());
}

struct StartRefusal {
    const char* name;
    const wchar_t* accessCodeAtStart;
    kes::SeriesStart result;
    const wchar_t* caption;
    const wchar_t* text;
};

const StartRefusal startRefusals[] = {
    {"the template fails validation", L"ab", kes::SeriesStart::TemplateRefused, L"Błędy w ustawieniach",
     L"Błędny kod dostępu.\r\n"},
    // The table was checked against the template as it was when loaded.
    {"a row fails on the template at start", L"WKTR", kes::SeriesStart::TableRefused, L"Błędy w tabeli",
     L"Wiersz 1: Błędny numer telefonu użytkownika nr 1.\r\n"},
};

class SeriesStationStart : public SeriesStationTest, public ::testing::WithParamInterface<StartRefusal> {};

TEST_P(SeriesStationStart, IsRefusedWithItsBoxAndNothingRuns)
{
    loadTable("U\xC5\xBCytkownik 1\r\ntak\r\n");
    // Validation empties the number of a user switched off in the template; the row switches him on.
    userPhone[0].setText(L"12");
    accessCode.setText(GetParam().accessCodeAtStart);
    station.useTemplate(kes::windowTemplate());
    ASSERT_TRUE(connect());
    EXPECT_EQ(station.start(dialog(), dialog()), GetParam().result);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, GetParam().caption);
    EXPECT_EQ(boxes[0].text, GetParam().text);
    EXPECT_FALSE(station.running());
    for (int i = 0; i < 25; ++i)
        step();
    EXPECT_EQ(framesWithCommand(2), 0u);
    EXPECT_EQ(GetFileAttributesW(logPath.c_str()), INVALID_FILE_ATTRIBUTES) << "no log for a series that never ran";
}

INSTANTIATE_TEST_SUITE_P(Series, SeriesStationStart, ::testing::ValuesIn(startRefusals), casename::ByName());

} // namespace
