#pragma once
// Series programming: many modules, one after another behind one interface, each programmed with
// the template (the window's settings when the series starts) and the next unused row of a table.
// The station holds the template, the table and the counts, not controls: its dialog only shows
// it and forwards Start and Stop. The window shows each module's settings as it is programmed.
//
// An attempt: a module answers and the reading job that follows reads all sixteen blocks (what it
// held); the template with the row is put into the window and the programming job starts from
// that reading's tick, exactly as "Programuj" runs it but without its progress window and boxes.
// The attempt ends with a line in the log (and, when asked, copies of what the module held and was
// programmed with); then the station waits until the module stops answering. Only a success uses
// its row up.
#include "model/Settings.h"
#include "protocol/JobEvents.h"
#include "protocol/Notices.h"
#include "protocol/ModuleImage.h"
#include "tools/SeriesLog.h"
#include "tools/SeriesTable.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kes {

enum class SeriesState {
    Idle,              // not started, stopped, or its table used up
    WaitingForModule,
    Reading,
    Programming,
    ModuleDone,        // waiting for the programmed module to go
    ModuleFailed,      // waiting for the module that failed to go
};

enum class SeriesStart {
    Started,
    NoLog,
    TableUsedUp,
    TemplateRefused,   // validation's faults were told
    TableRefused,      // "Błędy w tabeli" was told
    LogNotWritable,    // "Nie można zapisać pliku: " was told
};

class SeriesStation final : public JobListener, public NoticeSink {
public:
    SeriesStation() = default;
    SeriesStation(const SeriesStation&) = delete;
    SeriesStation& operator=(const SeriesStation&) = delete;

    // Reads the table and puts each row on the window's settings; a table with faults is refused
    // whole (its faults told, owned by `owner`) and the one held before stays. True when taken.
    bool loadTable(const std::wstring& path, HWND owner);
    // Back to every module getting the template alone.
    void dropTable();
    bool hasTable() const { return table_.has_value(); }
    const std::wstring& tablePath() const { return tablePath_; }
    std::size_t tableRows() const { return table_ ? table_->rows.size() : 0; }

    void setLogPath(const std::wstring& path) { logPath_ = path; }
    const std::wstring& logPath() const { return logPath_; }
    void setKeepCopies(bool keep) { keepCopies_ = keep; }
    bool keepsCopies() const { return keepCopies_; }

    // Takes the window's settings as the template once validation passes (its rewrites shown in
    // the window, its faults told, owned by `owner`), prepares every row, opens the log, and follows
    // the jobs of `mainDialog`. A module already answering is read at once and is the first.
    SeriesStart start(HWND mainDialog, HWND owner);
    // At once while no job runs; else the running job ends first and no new attempt starts.
    void stop();
    // The shell calls it after every tick: ends an attempt whose job has ended, notices a module
    // that has stopped answering.
    void afterTick();

    // The data file the template came from, as it was when the series started (empty: none).
    const std::wstring& templateFile() const { return templateFile_; }

    bool running() const { return state_ != SeriesState::Idle; }
    bool stopping() const { return stopRequested_; }
    SeriesState state() const { return state_; }
    std::wstring statusText() const;
    std::wstring countsText() const;
    const std::vector<SeriesAttempt>& attempts() const { return attempts_; }

    // Called whenever something the dialog shows has changed.
    void setObserver(std::function<void()> changed) { observer_ = std::move(changed); }

    void beforeAutomaticReading() override;
    void automaticReadingEnded(bool complete, const ModuleImage& read) override;
    void programmingStepEnded(int step, bool ok) override;
    void programmingEnded(bool succeeded, const ModuleImage& written) override;
    // While it runs, the station is the notice sink: a failed job is the attempt's result, the
    // rest goes on to the sink it took the place of.
    void show(HWND owner, Notice notice, const std::wstring& text) override;
    void play(Sound sound) override;

private:
    void beginAttempt();
    void endAttempt(bool succeeded);
    void halt(std::wstring idleText);
    void fileFailed(const std::wstring& path);
    void changed();

    std::optional<SeriesTable> table_;
    std::wstring tablePath_;
    std::wstring logPath_;
    bool keepCopies_ = true;

    std::wstring templateFile_;
    HWND mainDialog_ = nullptr;
    HWND owner_ = nullptr;
    std::vector<Settings> rows_;            // the template with each row, validated
    std::size_t nextRow_ = 0;               // index into the table's rows
    std::wstring copiesFolder_;
    int nextCopy_ = 1;

    SeriesState state_ = SeriesState::Idle;
    bool stopRequested_ = false;
    std::wstring idleText_;
    int programmedCount_ = 0;
    int failedCount_ = 0;
    int blockShown_ = 0;

    SeriesAttempt attempt_;
    ModuleImage held_;
    Settings programmed_;       // the attempt's row as programming leaves it
    std::optional<bool> ended_;  // the job of the attempt has ended, with this outcome
    ModuleImage written_;
    std::wstring failure_;
    int heldCopy_ = 0;          // the attempt's number among the copies; 0 while none is kept
    std::wstring fileFault_;    // a copy that could not be written
    std::vector<SeriesAttempt> attempts_;

    std::function<void()> observer_;
    bool noticesTaken_ = false;
    NoticeSink* notices_ = nullptr;  // the sink before the station's, while it is taken
};

// The program's one station.
SeriesStation& seriesStation();
bool seriesRunning();

} // namespace kes
