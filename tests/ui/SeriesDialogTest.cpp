// Series programming as an installer runs it: the real main window and the "Programowanie seryjne"
// dialog from the resources, the simulated interface with modules swapped behind it, the table,
// the log and the kept copies on disk.
#include "ui/Shell.h"

#include "SimHarness.h"
#include "model/Catalogue.h"
#include "protocol/Programming.h"
#include "protocol/Supervision.h"
#include "storage/FileDialogs.h"
#include "support/MessageBox.h"
#include "support/ScopedWin.h"
#include "tools/ModuleTrust.h"
#include "tools/SeriesStation.h"
#include "ui/NoticeBoxes.h"
#include "ui/ResourceIds.h"
#include "ui/SeriesDialog.h"
#include "ui/WindowHelpers.h"
#include "UiTestSupport.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr UINT seriesCommand = 0x0160;
constexpr UINT restoreEditsCommand = 0x0125;

std::string fileBytes(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Steps run one after another inside the series dialog's modal loop, each once its condition
// holds; a step that waits too long ends the dialog and names itself.
class Script {
public:
    struct Step {
        const char* name;
        std::function<bool()> ready;
        std::function<void()> act;
    };

    explicit Script(std::vector<Step> steps) : steps_(std::move(steps)) {}
    ~Script() { halt(); }
    Script(const Script&) = delete;
    Script& operator=(const Script&) = delete;

    void start()
    {
        current() = this;
        deadline_ = clock::now() + std::chrono::seconds(20);
        timer_ = SetTimer(nullptr, 0, 20, &fire);
    }
    bool finished() const { return next_ == steps_.size() && stuckAt_.empty(); }
    const std::string& stuckAt() const { return stuckAt_; }

private:
    using clock = std::chrono::steady_clock;

    static Script*& current()
    {
        static Script* script = nullptr;
        return script;
    }
    static void CALLBACK fire(HWND, UINT, UINT_PTR, DWORD)
    {
        if (Script* s = current())
            s->poll();
    }
    void poll()
    {
        if (next_ >= steps_.size()) {
            // The last step leaves the dialog to close by itself.
            if (kes::seriesDialogWindow() && clock::now() > deadline_ && stuckAt_.empty())
                giveUp("the dialog closes");
            return;
        }
        Step& step = steps_[next_];
        if (step.ready()) {
            ++next_;
            deadline_ = clock::now() + std::chrono::seconds(20);
            step.act();
        } else if (clock::now() > deadline_) {
            giveUp(step.name);
        }
    }
    void giveUp(const char* step)
    {
        stuckAt_ = step;
        next_ = steps_.size();
        kes::seriesStation().stop();
        if (HWND open = kes::seriesDialogWindow())
            EndDialog(open, 0);
    }
    void halt()
    {
        if (timer_)
            KillTimer(nullptr, timer_);
        timer_ = 0;
        if (current() == this)
            current() = nullptr;
    }

    std::vector<Step> steps_;
    std::size_t next_ = 0;
    std::string stuckAt_;
    clock::time_point deadline_;
    UINT_PTR timer_ = 0;
};

HWND seriesItem(int id) { return GetDlgItem(kes::seriesDialogWindow(), id); }
std::wstring seriesText(int id) { return uitest::textOf(seriesItem(id)); }
void click(int id) { SendMessageW(seriesItem(id), BM_CLICK, 0, 0); }
bool seriesShows(const std::wstring& status)
{
    return kes::seriesDialogWindow() && seriesText(IDC_SERIES_STATUS).rfind(status + L"\r\n", 0) == 0;
}

// A module with its own text and access code, nothing else set.
qlvsim::Module module(const char* text, const char* code, bool storesWrongly = false)
{
    qlvsim::Module m;
    m.status.text = text;
    std::memcpy(m.memory[0].data(), code, 4);
    m.storesWrongly = storesWrongly;
    return m;
}

class SeriesDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        folder = std::wstring(temp) + L"quellmo-series-ui";
        CreateDirectoryW(folder.c_str(), nullptr);
        templatePath = folder + L"\\szablon.dat";
        tablePath = folder + L"\\osiedle.csv";
        logPath = folder + L"\\seria.csv";
        removeFiles();

        previousBox = kes::setMessageBoxFunction([this](HWND, const std::wstring& text, const std::wstring&, UINT) {
            boxes.push_back(text);
            const int answer = answers.empty() ? IDOK : answers.front();
            if (!answers.empty())
                answers.erase(answers.begin());
            return answer;
        });
        kes::setFileDialogFunction([this](kes::FileDialogKind, OPENFILENAMEW& record) {
            const std::wstring filter = record.lpstrFilter ? record.lpstrFilter : L"";
            const std::wstring& path = filter.rfind(L"Tabela", 0) == 0     ? tablePath
                                       : filter.rfind(L"Dziennik", 0) == 0 ? logPath
                                                                           : templatePath;
            wcsncpy(record.lpstrFile, path.c_str(), record.nMaxFile - 1);
            return true;
        });
        // The program's one station outlives its dialog; each case starts it afresh.
        kes::SeriesStation& station = kes::seriesStation();
        station.dropTable();
        station.setLogPath(L"");
        station.setKeepCopies(true);
        kes::programmingStepCounter = kes::noProgramming;
        kes::supervision = kes::SupervisionState();
        kes::stopFollowingModuleJobs();
        sim.attachGlobalLink();
        sim.sim.takeModuleOff();
        kes::setInstanceHandle(GetModuleHandleW(nullptr));
        dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MAIN_DIALOG), nullptr,
                                    &kes::mainDialogProc, 0);
        ASSERT_NE(dialog, nullptr);
        // The shell has installed its boxes and sounds: the sounds are heard here.
        shellNotices = kes::setNoticeSink(&notices);
        ticks.start([this] {
            sim.advanceMs(500);
            PostMessageW(dialog, WM_TIMER, kes::mainTimerId, 0);
        });
        ASSERT_TRUE(uitest::pumpUntil([&] { return statusLine() == L"QLV-3 USB OK"; })) << statusLine();
    }

    void TearDown() override
    {
        kes::seriesStation().stop();
        uitest::pumpUntil([] { return !kes::programmingPending(); });
        kes::seriesStation().stop();
        ticks.stop();
        if (IsWindow(dialog))
            DestroyWindow(dialog);
        kes::usbLink.close();
        kes::setNoticeSink(shellNotices);
        kes::setFileDialogFunction(nullptr);
        kes::setMessageBoxFunction(previousBox);
        removeFiles();
    }

    void removeFiles()
    {
        for (const wchar_t* name : {L"\\seria\\001-zastane.dat", L"\\seria\\002-zastane.dat", L"\\seria\\003-zastane.dat",
                                    L"\\seria\\001-zaprogramowane.dat", L"\\seria\\002-zaprogramowane.dat",
                                    L"\\seria\\003-zaprogramowane.dat"})
            DeleteFileW((folder + name).c_str());
        RemoveDirectoryW((folder + L"\\seria").c_str());
        for (const std::wstring& path : {templatePath, tablePath, logPath})
            DeleteFileW(path.c_str());
    }

    // Unsaved, as the user leaves them: code 7777, IN-1 on and named.
    static void setTemplateInTheWindow()
    {
        accessCode.setText(L"7777");
        in1Enabled.setChecked(true);
        in1Name.setText(L"Wejscie");
    }
    HWND item(int id) const { return GetDlgItem(dialog, id); }
    std::wstring statusLine() const { return uitest::textOf(item(ids::linkStatus)); }
    std::wstring text(int id) const { return uitest::textOf(item(id)); }
    void command(int id) { SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
    bool greyed(UINT id)
    {
        HMENU menu = GetSystemMenu(dialog, FALSE);
        SendMessageW(dialog, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, TRUE));
        return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) != 0;
    }
    // The series dialog, driven by the script from inside its modal loop; returns when it closed.
    void runSeries(Script& script)
    {
        script.start();
        SendMessageW(dialog, WM_SYSCOMMAND, seriesCommand, 0);
        ASSERT_TRUE(script.finished()) << "stuck at: " << script.stuckAt();
    }
    // The module's 26 bytes of block 0 as it holds them now.
    std::string block0() const
    {
        const qlvsim::Block& b = const_cast<harness::SimHarness&>(sim).sim.block(0);
        return std::string(reinterpret_cast<const char*>(b.data()), b.size());
    }

    harness::SimHarness sim;
    HWND dialog = nullptr;
    uitest::ThreadTicks ticks;
    std::wstring folder, templatePath, tablePath, logPath;
    std::vector<std::wstring> boxes;
    std::vector<int> answers;  // the buttons pressed in the next boxes; then OK
    // The shell's boxes, the sounds recorded.
    struct Sounds final : kes::NoticeSink {
        std::vector<UINT> beeps;
        void show(HWND owner, kes::Notice notice, const std::wstring& text) override
        {
            kes::noticeBoxes().show(owner, notice, text);
        }
        void play(kes::Sound sound) override { beeps.push_back(kes::soundType(sound)); }
    };
    Sounds notices;
    std::vector<UINT>& beeps = notices.beeps;
    kes::NoticeSink* shellNotices = nullptr;
    kes::MessageBoxFunction previousBox;
};

// Windows-1250 as a Polish spreadsheet saves it, a plain hyphen in one header.
const char tableBytes[] = "Kod dost\xEApu;U\xBFytkownik 1;U\xBFytkownik 1 - telefon;IN-1 - nazwa\r\n"
                          "1111;tak;+48600100001;Furtka\r\n"
                          "2222;tak;+48600100002;Brama \xA3\xF3" "d\x9F\r\n"
                          "3333;tak;+48600100003;Szlaban\r\n";

TEST_F(SeriesDialogTest, ThreeModulesFromAFileTemplateAndASpreadsheetTheSecondFailing)
{
    // The template: saved once, then opened over other edits.
    setTemplateInTheWindow();
    command(ids::saveButton);
    accessCode.setText(L"0000");
    command(ids::openButton);
    ASSERT_EQ(text(ids::accessCode), L"7777");
    std::ofstream(tablePath.c_str(), std::ios::binary) << tableBytes;

    std::wstring templateShown, tableShown, logShown;
    bool startBeforeLog = true, copiesTicked = false, commandsGreyed = false;
    std::string held[3], programmed[3];
    std::wstring windowAfterFirst;
    std::vector<std::wstring> listed;
    std::wstring finalStatus;
    Script script({
        {"the dialog opens", [] { return kes::seriesDialogWindow() != nullptr; },
         [&] {
             templateShown = seriesText(IDC_SERIES_TEMPLATE);
             startBeforeLog = IsWindowEnabled(seriesItem(IDC_SERIES_START)) != FALSE;
             copiesTicked = IsDlgButtonChecked(kes::seriesDialogWindow(), IDC_SERIES_KEEP_COPIES) == BST_CHECKED;
             click(IDC_SERIES_TABLE);
             click(IDC_SERIES_LOG);
             tableShown = seriesText(IDC_SERIES_TABLE_NAME);
             logShown = seriesText(IDC_SERIES_LOG_NAME);
             click(IDC_SERIES_START);
         }},
        {"waiting for module 1", [] { return seriesShows(L"Podłącz moduł (wiersz 1 z 3)"); },
         [&] {
             commandsGreyed = greyed(0x0110) && greyed(0x0120) && greyed(0x0125) && greyed(0x0130);
             sim.sim.attachModule(module("Brama 1", "AAA1"));
         }},
        {"module 1 programmed", [] { return seriesShows(L"Gotowe – odłącz moduł"); },
         [&] {
             programmed[0] = block0();
             windowAfterFirst = text(ids::accessCode) + L"|" + text(ids::in1Name) + L"|" +
                                text(ids::userId(0, ids::UserOffset::Phone));
             sim.sim.takeModuleOff();
         }},
        {"waiting for module 2", [] { return seriesShows(L"Podłącz moduł (wiersz 2 z 3)"); },
         [&] { sim.sim.attachModule(module("Brama 2", "AAA2", true)); }},
        {"module 2 failed", [] { return seriesShows(L"Błąd – odłącz moduł"); },
         [&] {
             programmed[1] = block0();
             sim.sim.takeModuleOff();
         }},
        {"waiting for module 3", [] { return seriesShows(L"Podłącz moduł (wiersz 2 z 3)"); },
         [&] { sim.sim.attachModule(module("Brama 3", "AAA3")); }},
        {"module 3 programmed", [] { return seriesShows(L"Gotowe – odłącz moduł"); },
         [&] {
             programmed[2] = block0();
             finalStatus = seriesText(IDC_SERIES_STATUS);
             HWND list = seriesItem(IDC_SERIES_ATTEMPTS);
             for (int r = 0; r < static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); ++r)
                 listed.push_back(uitest::listCell(list, r, 2) + L"|" + uitest::listCell(list, r, 5) + L"|" + uitest::listCell(list, r, 6));
             click(IDCANCEL);
         }},
    });
    runSeries(script);

    EXPECT_EQ(templateShown, L"Szablon: ustawienia okna z pliku szablon.dat");
    EXPECT_FALSE(startBeforeLog) << "no Start without a log";
    EXPECT_TRUE(copiesTicked);
    EXPECT_EQ(tableShown, L"osiedle.csv: 3 wiersze");
    EXPECT_EQ(logShown, logPath);
    EXPECT_TRUE(commandsGreyed) << "the commands that change the window wait for the series";
    EXPECT_EQ(windowAfterFirst, L"1111|Furtka|+48600100001");

    // Module 1 holds the template with row 1, module 3 with row 2; module 2 stored block 0 wrongly.
    EXPECT_EQ(programmed[0].substr(0, 4), "1111");
    EXPECT_EQ(programmed[1].substr(0, 4), "3232") << "bit 0 of data bytes 0 and 2 flipped";
    EXPECT_EQ(programmed[2].substr(0, 4), "2222");
    EXPECT_EQ(finalStatus, L"Gotowe – odłącz moduł\r\nZaprogramowane: 2, błędy: 1");
    EXPECT_EQ(listed, (std::vector<std::wstring>{
                          L"Brama 1|1|OK", L"Brama 2|2|Błąd programowania modułu. Programowanie należy powtórzyć.",
                          L"Brama 3|2|OK"}));
    EXPECT_EQ(beeps, (std::vector<UINT>{MB_OK, MB_ICONHAND, MB_OK}));
    EXPECT_TRUE(boxes.empty()) << std::string(boxes.empty() ? "" : "a box was shown");
    EXPECT_FALSE(kes::seriesRunning()) << "Zamknij stopped the series";

    // The log: three lines, each after the time of its attempt.
    const std::string log = fileBytes(logPath);
    const std::string header =
        "\xEF\xBB\xBF" "Czas;Interfejs;Modu\xC5\x82;Operator;Sygna\xC5\x82;Wiersz;Wynik;Zmienione ustawienia;Tabela;Szablon;"
        "Warto\xC5\x9B" "ci wiersza;Kopia\r\n";
    ASSERT_EQ(log.rfind(header, 0), 0u);
    std::vector<std::string> lines;
    for (std::size_t at = header.size(); at < log.size();) {
        const std::size_t end = log.find("\r\n", at);
        lines.push_back(log.substr(at, end - at));
        at = end + 2;
    }
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].substr(19).rfind(";QLV30001;Brama 1;Plus;64 %;1;OK;", 0), 0u) << lines[0];
    EXPECT_EQ(lines[1].substr(19),
              ";QLV30001;Brama 2;Plus;64 %;2;B\xC5\x82\xC4\x85" "d programowania modu\xC5\x82u. Programowanie "
              "nale\xC5\xBCy powt\xC3\xB3rzy\xC4\x87.;;osiedle.csv;ustawienia okna z pliku szablon.dat;Kod dost\xC4\x99pu=2222|"
              "U\xC5\xBCytkownik 1=tak|U\xC5\xBCytkownik 1 \xE2\x80\x93 telefon=+48600100002|IN-1 \xE2\x80\x93 nazwa=Brama "
              "\xC5\x81\xC3\xB3" "d\xC5\xBA;002");
    EXPECT_EQ(lines[2].substr(19).rfind(";QLV30001;Brama 3;Plus;64 %;2;OK;", 0), 0u) << lines[2];

    // What each module held, as "Zapisz" writes it: the code, an empty PIN, IN-1 off.
    for (int n = 1; n <= 3; ++n) {
        const std::wstring name = folder + L"\\seria\\00" + std::to_wstring(n) + L"-zastane.dat";
        EXPECT_EQ(fileBytes(name).substr(0, 17),
                  "\xEF\xBB\xBF\x03\x02" "AAA" + std::to_string(n) + "\x02\x02\x02\x02\x02\x02" "0\x02")
            << n;
    }
    EXPECT_EQ(fileBytes(folder + L"\\seria\\001-zaprogramowane.dat").substr(0, 9), "\xEF\xBB\xBF\x03\x02" "1111");
    EXPECT_EQ(GetFileAttributesW((folder + L"\\seria\\002-zaprogramowane.dat").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(fileBytes(folder + L"\\seria\\003-zaprogramowane.dat").substr(0, 9), "\xEF\xBB\xBF\x03\x02" "2222");
}

// Esc while a module is being programmed: the job runs to its end, its line is logged, then the
// dialog closes by itself.
TEST_F(SeriesDialogTest, EscDuringProgrammingClosesTheDialogOnceTheJobHasEnded)
{
    accessCode.setText(L"7777");
    bool openAfterEsc = false;
    bool stopEnabled = true;
    Script script({
        {"the dialog opens", [] { return kes::seriesDialogWindow() != nullptr; },
         [&] {
             click(IDC_SERIES_LOG);
             click(IDC_SERIES_START);
             sim.sim.putModuleBack();
         }},
        {"programming", [] { return kes::programmingStepCounter >= 4; },
         [&] { PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0x00010001); }},
        {"still programming after Esc", [] { return kes::programmingStepCounter >= 10; },
         [&] {
             openAfterEsc = kes::seriesDialogWindow() != nullptr;
             stopEnabled = IsWindowEnabled(seriesItem(IDC_SERIES_STOP)) != FALSE;
         }},
    });
    runSeries(script);

    EXPECT_TRUE(openAfterEsc);
    EXPECT_FALSE(stopEnabled) << "a stop already asked for";
    EXPECT_EQ(kes::seriesDialogWindow(), nullptr);
    EXPECT_FALSE(kes::programmingPending());
    EXPECT_EQ(block0().substr(0, 4), "7777") << "all sixteen blocks were written";
    const std::string log = fileBytes(logPath);
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 2) << "the header and the module's line";
    EXPECT_FALSE(greyed(seriesCommand));
    kes::programmingStepCounter = 3;
    EXPECT_TRUE(greyed(seriesCommand)) << "not while a module is being programmed";
    kes::programmingStepCounter = kes::noProgramming;
}

// An installer's day: a module programmed, a loose contact, Stop and Start with the module still on
// the bench (known by its blocks: the template's 1.5 s is held as 1 s), the next module with an
// empty cell; after the run "Przywróć zmiany sprzed odczytu" gives back what the window held at
// Start. Then the program started again (a new main window and station, the process the same)
// goes on over the same table and log with the row after.
TEST_F(SeriesDialogTest, AnInstallersDayHoldsAcrossBlipsStopsAndARestart)
{
    setTemplateInTheWindow();
    in1Time.setText(L"1.5");
    std::ofstream(tablePath.c_str(), std::ios::binary)
        << "Kod dost\xC4\x99pu;IN-1 - nazwa\r\n1111;Furtka\r\n2222;\r\n3333;Szlaban\r\n";
    std::wstring templateAtOpen, templateAtEnd, afterBlip, afterRestart, rowsShown;
    std::string second, third;
    Script day({
        {"the dialog opens", [] { return kes::seriesDialogWindow() != nullptr; },
         [&] {
             templateAtOpen = seriesText(IDC_SERIES_TEMPLATE);
             click(IDC_SERIES_TABLE);
             click(IDC_SERIES_LOG);
             click(IDC_SERIES_START);
             sim.sim.putModuleBack();
         }},
        {"module 1 programmed", [] { return seriesShows(L"Gotowe – odłącz moduł"); },
         [&] { sim.sim.faults().silentFrames = 4; }},
        {"module 1 back after the blip", [] { return seriesShows(L"Moduł już zaprogramowany (wiersz 1) – odłącz moduł"); },
         [&] {
             afterBlip = seriesText(IDC_SERIES_STATUS);
             click(IDC_SERIES_STOP);
             click(IDC_SERIES_START);
             afterRestart = seriesText(IDC_SERIES_STATUS);
             sim.sim.takeModuleOff();
         }},
        {"waiting for module 2", [] { return seriesShows(L"Podłącz moduł (wiersz 2 z 3)"); },
         [&] { sim.sim.attachModule(module("Brama 2", "AAA2")); }},
        {"module 2 programmed", [] { return seriesShows(L"Gotowe – odłącz moduł"); },
         [&] {
             second = block0().substr(0, 4) + reinterpret_cast<const char*>(sim.sim.block(2).data());
             templateAtEnd = seriesText(IDC_SERIES_TEMPLATE);
             click(IDCANCEL);
         }},
    });
    runSeries(day);
    std::wstring templateReopened;
    Script reopened({{"the dialog opens after the run", [] { return kes::seriesDialogWindow() != nullptr; },
                      [&] {
                          templateReopened = kes::seriesStation().templateSettings().accessCode;
                          click(IDCANCEL);
                      }}});
    runSeries(reopened);
    EXPECT_EQ(templateReopened, L"7777") << "the window shows module 2; the run's template stays";
    EXPECT_EQ(templateAtOpen.substr(0, 27), L"Szablon: ustawienia okna z ");
    EXPECT_EQ(templateAtEnd, templateAtOpen) << "a reading changes the window, never the template";
    EXPECT_EQ(afterBlip, L"Moduł już zaprogramowany (wiersz 1) – odłącz moduł\r\nZaprogramowane: 1, błędy: 0");
    EXPECT_EQ(afterRestart, L"Moduł już zaprogramowany (wiersz 1) – odłącz moduł\r\nZaprogramowane: 0, błędy: 0");
    EXPECT_EQ(second, "2222Wejscie") << "the template's name, not module 1's";
    SendMessageW(dialog, WM_SYSCOMMAND, restoreEditsCommand, 0);
    EXPECT_EQ(text(ids::accessCode) + text(ids::in1Name), L"7777Wejscie");

    // The program started again.
    sim.sim.takeModuleOff();
    ASSERT_TRUE(uitest::pumpUntil([] { return !kes::usbLink.responding; }));
    DestroyWindow(dialog);
    kes::stopFollowingModuleJobs();
    dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MAIN_DIALOG), nullptr,
                                &kes::mainDialogProc, 0);
    Script again({
        {"the dialog opens again", [] { return kes::seriesDialogWindow() != nullptr; },
         [&] {
             click(IDC_SERIES_TABLE);
             click(IDC_SERIES_LOG);
             rowsShown = seriesText(IDC_SERIES_ROWS);
             click(IDC_SERIES_START);
             sim.sim.attachModule(module("Brama 3", "AAA3"));
         }},
        {"module 3 programmed", [] { return seriesShows(L"Tabela wykorzystana: 3 modułów zaprogramowanych"); },
         [&] {
             third = block0().substr(0, 4);
             click(IDCANCEL);
         }},
    });
    runSeries(again);
    EXPECT_EQ(rowsShown, L"Wiersze: 2 z 3 zaprogramowane (według dziennika)");
    EXPECT_EQ(third, "3333");
    const std::string log = fileBytes(logPath);
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 4) << "the header and three modules, nothing for the blip";
}

// "Szablon…" takes a data file; a table with warnings is taken and Start
// asks once; while a line waits for a log the spreadsheet has locked, Zamknij keeps the dialog open,
// and another file chosen for the line says what the first log does not know.
TEST_F(SeriesDialogTest, TheTemplateButtonTheWarningsAndALockedLog)
{
    setTemplateInTheWindow();
    command(ids::saveButton);
    in1Name.setText(L"Inne");
    std::ofstream(tablePath.c_str(), std::ios::binary)
        << "Kod dost\xC4\x99pu;U\xC5\xBCytkownik 1;U\xC5\xBCytkownik 1 - telefon\r\n1111;tak;48600100001\r\n";
    const std::wstring firstLog = logPath, otherLog = folder + L"\\inny.csv";
    kes::KernelHandle lock;
    std::wstring fromFile;
    std::string programmed;
    answers = {IDYES, IDOK, IDYES};  // the file, the warnings read, go on despite them
    Script script({
        {"the dialog opens", [] { return kes::seriesDialogWindow() != nullptr; },
         [&] {
             click(IDC_SERIES_CHOOSE_TEMPLATE);
             fromFile = seriesText(IDC_SERIES_TEMPLATE);
             click(IDC_SERIES_TABLE);
             click(IDC_SERIES_LOG);
             click(IDC_SERIES_START);
             lock.reset(CreateFileW(firstLog.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
             sim.sim.putModuleBack();
         }},
        {"the line waits", [] { return seriesShows(L"Dziennik niedostępny (otwarty w arkuszu?) – 1 wpis czeka na zapis"); },
         [&] {
             programmed = block0().substr(0, 4) + reinterpret_cast<const char*>(sim.sim.block(2).data());
             click(IDCANCEL);
             logPath = otherLog;
             click(IDC_SERIES_LOG);
             click(IDCANCEL);
         }},
    });
    runSeries(script);
    lock.reset();
    EXPECT_EQ(fromFile, L"Szablon: plik szablon.dat");
    EXPECT_EQ(programmed, "1111Wejscie");
    ASSERT_EQ(boxes.size(), 5u);
    EXPECT_EQ(boxes[2], L"Wiersz 1, Użytkownik 1 – telefon: 48600100001 bez „+” – arkusz usuwa „+” z liczb; "
                        L"sformatuj kolumnę jako tekst\r\n\r\nProgramować mimo to?");
    EXPECT_EQ(boxes[3], L"Dziennik seria.csv jest niedostępny (otwarty w arkuszu?), a 1 wpis czeka na zapis. Okno "
                        L"zostaje otwarte, dopóki nie zostaną zapisane: zamknij dziennik w arkuszu albo wybierz inny "
                        L"plik przyciskiem „Dziennik…”.");
    EXPECT_EQ(boxes[4], L"Zapisano 1 wpis w pliku inny.csv; tam trafią też następne. Dziennik seria.csv nie wie o tych "
                        L"wierszach tabeli: seria z tamtym dziennikiem zaprogramowałaby je ponownie.");
    DeleteFileW(firstLog.c_str());
    DeleteFileW(otherLog.c_str());
}

} // namespace
