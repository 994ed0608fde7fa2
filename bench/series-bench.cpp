// A series of modules on the simulator, on virtual time, driven tick by tick as the main window's
// timer drives the program: ten modules from a table of ten rows, each taken off as soon as the
// program says it is done and the next one attached as soon as the program has noticed. A module's
// time is set beside what the same module costs without the series: the reading job, the
// programming job started right after it, and the swap (the polls that notice the module gone and
// the one that finds the next). Then a table of 1,000 and of 10,000 rows is checked as loading it
// in the series dialog checks it (read, every row put on the template and validated). Prints one
// "key value" line per figure.
//   series-bench
#include "SimHarness.h"
#include "WallClock.h"
#include "Simulator.h"
#include "link/UsbLink.h"
#include "model/Catalogue.h"
#include "model/SettingsRecords.h"
#include "protocol/Notices.h"
#include "protocol/Programming.h"
#include "protocol/Supervision.h"
#include "tools/SeriesCopies.h"
#include "tools/SeriesStation.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>

namespace {

constexpr int modules = 10;
constexpr double tickMs = 500.0;

// The main timer as the window has it: stopped for the reading job and started again after it,
// so the next tick comes a whole period after the job.
struct Timer final : kes::MainTimer {
    void stop(HWND) override {}
    void start(HWND) override { restarted = true; }
    bool restarted = false;
};

class Ticks {
public:
    Ticks(harness::SimHarness& h, kes::SeriesStation* station) : h_(h), station_(station)
    {
        // A run starts as the program does: nothing seen answering yet.
        kes::supervision = kes::SupervisionState();
        kes::usbLink.responding = false;
        kes::setMainTimer(&timer_);
        next_ = h_.nowMs();
    }
    ~Ticks() { kes::setMainTimer(nullptr); }
    Ticks(const Ticks&) = delete;
    Ticks& operator=(const Ticks&) = delete;

    // One tick; true when its poll found a module that had not answered before.
    bool tick()
    {
        if (h_.nowMs() < next_)
            h_.advanceMs(next_ - h_.nowMs());
        started_ = h_.nowMs();
        const bool before = kes::usbLink.responding;
        timer_.restarted = false;
        kes::tick(nullptr);
        if (station_)
            station_->afterTick();
        next_ = timer_.restarted ? h_.nowMs() + tickMs : std::max(started_ + tickMs, h_.nowMs());
        return !before && kes::usbLink.responding;
    }
    // Ticks until the condition holds after one; false when it never does.
    bool until(const std::function<bool()>& done, int limit = 400)
    {
        for (int i = 0; i < limit; ++i) {
            tick();
            if (done())
                return true;
        }
        return false;
    }
    // The start of the tick whose poll found a module, or a negative time.
    double untilFound()
    {
        for (int i = 0; i < 20; ++i)
            if (tick())
                return started_;
        return -1;
    }

private:
    harness::SimHarness& h_;
    kes::SeriesStation* station_;
    Timer timer_;
    double next_ = 0;
    double started_ = 0;
};

qlvsim::Module module(int number)
{
    qlvsim::Module m;
    m.status.text = "Brama " + std::to_string(number);
    return m;
}

// Swaps the module in hand for the next, as soon as the program has noticed it gone; returns the
// start of the tick that found the next one, or a negative time.
double swapTo(harness::SimHarness& h, Ticks& ticks, int next)
{
    h.sim.takeModuleOff();
    if (!ticks.until([] { return !kes::usbLink.responding; }))
        return -1;
    h.sim.attachModule(module(next));
    return ticks.untilFound();
}

// The same modules without the series: reading, "Programuj" at once, the swap. Per module, ms.
double plainModuleMs()
{
    harness::SimHarness h;
    h.attachGlobalLink();
    if (!h.connect(kes::usbLink))
        return -1;
    Ticks ticks(h, nullptr);
    double found = ticks.untilFound();
    const double first = found;
    for (int m = 2; m <= modules + 1 && found >= 0; ++m) {
        kes::startProgramming();
        if (!ticks.until([] { return !kes::programmingPending(); }))
            return -1;
        found = swapTo(h, ticks, m);
    }
    return found < 0 ? -1 : (found - first) / modules;
}

struct SeriesFigures {
    double perModuleMs = -1;
    double wallPerModuleMs = -1;
    int programmed = 0;
};

SeriesFigures seriesModuleMs()
{
    SeriesFigures out;
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring table = std::wstring(temp) + L"quellmo-series-bench.csv";
    const std::wstring log = std::wstring(temp) + L"quellmo-series-bench-log.csv";
    {
        std::ofstream out(table.c_str(), std::ios::binary);
        out << "Kod dost\xC4\x99pu;IN-1;IN-1 - nazwa\r\n";
        for (int m = 1; m <= modules; ++m) {
            char row[64] = {};
            std::snprintf(row, sizeof(row), "A%03d;tak;Brama %d\r\n", m, m);
            out << row;
        }
    }
    DeleteFileW(log.c_str());

    // The template: the defaults, as a program that has just started shows them.
    for (std::size_t i = 0; i < settingsBufor.size(); ++i)
        settingsBufor.at(i)->restoreDefault();
    harness::SimHarness h;
    h.attachGlobalLink();
    if (!h.connect(kes::usbLink))
        return out;
    kes::SeriesStation station;
    
    station.setLogPath(log);
    Ticks ticks(h, &station);
    if (!station.loadTable(table, nullptr) || station.start(nullptr, nullptr) != kes::SeriesStart::Started)
        return out;
    const double wallStart = wallMs();
    double found = ticks.untilFound();
    const double first = found;
    for (int m = 2; m <= modules + 1 && found >= 0; ++m) {
        if (!ticks.until([&] { return station.state() != kes::SeriesState::Programming &&
                                      station.state() != kes::SeriesState::Reading; }))
            return out;
        found = swapTo(h, ticks, m);
    }
    out.wallPerModuleMs = (wallMs() - wallStart) / modules;
    for (const auto& attempt : station.attempts())
        out.programmed += attempt.result == kes::attemptSucceeded ? 1 : 0;
    if (found >= 0)
        out.perModuleMs = (found - first) / modules;

    const std::wstring copies = kes::copiesFolder(log);
    for (int n = 1; n <= modules; ++n)
        for (auto kind : {kes::KeptCopy::Held, kes::KeptCopy::Programmed})
            DeleteFileW(kes::copyPath(copies, n, kind).c_str());
    RemoveDirectoryW(copies.c_str());
    DeleteFileW(log.c_str());
    DeleteFileW(table.c_str());
    return out;
}

// The settings' controls in a hidden window, attached as the program attaches them: the jobs read
// and write the window's settings, and controls that are not there cost far more than real ones.
class SettingsWindow {
public:
    SettingsWindow()
        : window_(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr))
    {
        for (const kes::SettingsRecord& r : kes::settingsRecords()) {
            const wchar_t* kind = r.list ? L"COMBOBOX" : r.option ? L"BUTTON" : L"EDIT";
            const DWORD style = r.list ? CBS_DROPDOWNLIST : r.option ? BS_AUTOCHECKBOX : ES_AUTOHSCROLL;
            const int id = r.edit ? r.edit->id() : r.option ? r.option->id() : r.list ? r.list->id() : 0;
            if (id)
                CreateWindowExW(0, kind, L"", WS_CHILD | style, 0, 0, 10, 10, window_,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
        }
        settingsBufor.attachAll(window_);
    }
    ~SettingsWindow() { DestroyWindow(window_); }
    SettingsWindow(const SettingsWindow&) = delete;
    SettingsWindow& operator=(const SettingsWindow&) = delete;

private:
    HWND window_;
};

// Loading a table of `rows` rows into a station: every cell read and every row validated on the
// template (the defaults). Wall time, ms; negative when the table was refused.
double tableCheckMs(int rows)
{
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring table = std::wstring(temp) + L"quellmo-table-bench.csv";
    {
        std::ofstream out(table.c_str(), std::ios::binary);
        out << "Kod dost\xC4\x99pu;IN-1;IN-1 - nazwa;U\xC5\xBCytkownik 2;U\xC5\xBCytkownik 2 - telefon;POWER;"
               "POWER - max [V]\r\n";
        for (int r = 0; r < rows; ++r) {
            char row[96] = {};
            std::snprintf(row, sizeof(row), "%04d;tak;Brama %d;tak;+48600%06d;tak;%d\r\n", r % 10000, r, r, 20 + r % 6);
            out << row;
        }
    }
    for (std::size_t i = 0; i < settingsBufor.size(); ++i)
        settingsBufor.at(i)->restoreDefault();
    kes::SeriesStation station;
    const double start = wallMs();
    const bool taken = station.loadTable(table, nullptr);
    const double used = wallMs() - start;
    DeleteFileW(table.c_str());
    return taken && station.tableRows() == static_cast<std::size_t>(rows) ? used : -1;
}

// What the series would tell the user, counted.
struct CountedBoxes final : kes::NoticeSink {
    void show(HWND, kes::Notice, const std::wstring&) override { ++shown; }
    void play(kes::Sound) override {}
    int shown = 0;
};

} // namespace

int main()
{
    CountedBoxes counted;
    kes::setNoticeSink(&counted);
    const SettingsWindow window;
    int& boxes = counted.shown;
    const double wallPlainStart = wallMs();
    const double plain = plainModuleMs();
    const double wallPlain = (wallMs() - wallPlainStart) / modules;
    const SeriesFigures series = seriesModuleMs();
    std::printf("series_module_ms %.1f\n", series.perModuleMs);
    std::printf("series_reference_ms %.1f\n", plain);
    std::printf("series_modules_programmed %d\n", series.programmed);
    std::printf("series_wall_ms_per_module %.1f\n", series.wallPerModuleMs);
    std::printf("series_reference_wall_ms_per_module %.1f\n", wallPlain);
    std::printf("series_boxes %d\n", boxes);
    std::printf("table_check_ms_rows1000 %.1f\n", tableCheckMs(1000));
    std::printf("table_check_ms_rows10000 %.1f\n", tableCheckMs(10000));
    std::fflush(stdout);
    return 0;
}
