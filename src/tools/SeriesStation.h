#pragma once
// Series programming: many modules, one after another behind one interface, each programmed with
// the template and the next unused row of a table. The station holds the template, the table and
// the counts, not controls: its dialog only shows it and forwards Start and Stop. The window shows
// the module in hand: what it held, then what it was programmed with.
//
// An attempt: a module answers and the reading job that follows reads all sixteen blocks (what it
// held); the template with the row is put into the window and the programming job starts from
// that reading's tick, exactly as "Programuj" runs it but without its progress window and boxes.
// The attempt ends with a line in the log (and, when asked, copies of what the module held and was
// programmed with); then the station waits until the module stops answering. Only a success uses
// its row up. A module that holds what this station programmed and verified in it during this
// program run is no attempt: it is only told to go.
//
// The log is the record of the rows used: a row whose values an "OK" line holds is not given
// again, whatever its number, in this run or the next.
#include "model/Settings.h"
#include "protocol/JobEvents.h"
#include "protocol/ModuleImage.h"
#include "protocol/Notices.h"
#include "tools/SeriesLog.h"
#include "tools/SeriesRowValues.h"
#include "tools/SeriesTable.h"
#include "tools/SeriesTemplate.h"

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
    ModuleKnown,       // waiting for a module programmed before to go
};

enum class SeriesStart {
    Started,
    NoLog,
    TableUsedUp,
    TemplateRefused,   // validation's faults were told
    TableRefused,      // "Błędy w tabeli" was told
    LogNotWritable,    // "Nie można zapisać pliku: " was told
    LogNotReadable,    // "Nie można odczytać pliku: " was told
    CopiesFolderTaken, // told, with the cause
    LinesWaiting,      // log lines still wait to be written
    WarningsToConfirm, // the table's warnings: Start again once the user has confirmed them
};

class SeriesStation final : public JobListener, public NoticeSink {
public:
    SeriesStation() = default;
    ~SeriesStation();
    SeriesStation(const SeriesStation&) = delete;
    SeriesStation& operator=(const SeriesStation&) = delete;

    // Reads the table and puts each row on the template; a table with faults is refused whole (its
    // faults told, owned by `owner`) and the one held before stays. Warnings are told and the table
    // is taken. True when taken.
    bool loadTable(const std::wstring& path, HWND owner);
    // Back to every module getting the template alone.
    void dropTable();
    bool hasTable() const { return table_.has_value(); }
    const std::wstring& tablePath() const { return tablePath_; }
    std::size_t tableRows() const { return table_ ? table_->rows.size() : 0; }
    std::size_t blankRows() const;
    const std::vector<std::wstring>& tableWarnings() const { return warnings_; }
    // The user goes on despite the warnings: Start asks no more for this table.
    void confirmWarnings() { warningsConfirmed_ = true; }

    // Lines still waiting for the log go to the new file.
    void setLogPath(const std::wstring& path);
    const std::wstring& logPath() const { return log_.path(); }
    std::size_t waitingLines() const { return log_.waiting(); }
    void setKeepCopies(bool keep) { keepCopies_ = keep; }
    bool keepsCopies() const { return keepCopies_; }

    // Held until another is chosen; a reading never changes it.
    void useTemplate(SeriesTemplate chosen);
    const std::wstring& templateName() const { return template_.name; }
    const Settings& templateSettings() const { return template_.settings; }
    // Once a series has run with it, the window shows modules, not a template: the template stays
    // until another is chosen.
    bool keepsTemplate() const { return templateRan_; }

    // Checks the template and the table when the template has changed since they were checked
    // (faults told, owned by `owner`), reads the log for the rows used, and follows the jobs of
    // `mainDialog`. A module already answering is read at once and is the first.
    SeriesStart start(HWND mainDialog, HWND owner);
    // At once while no job runs; else the running job ends first and no new attempt starts.
    void stop();
    // The shell calls it after every tick: writes the log's waiting lines, ends an attempt whose job
    // has ended, notices a module that has stopped answering.
    void afterTick();

    bool running() const { return state_ != SeriesState::Idle; }
    bool stopping() const { return stopRequested_; }
    SeriesState state() const { return state_; }
    std::wstring statusText() const;
    std::wstring countsText() const;
    // "Wiersze: 12 z 40 zaprogramowane (według dziennika)"; empty without a table or a log.
    std::wstring rowsText() const;
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
    struct ProgrammedModule {
        ModuleImage image;
        std::size_t row = 0;  // as the log numbers it; 0 without a table
    };

    SeriesStart checkRows(HWND owner);
    void readUsedRows();
    std::optional<std::size_t> nextRow() const;
    RowValues rowValues(std::size_t row) const;
    bool copiesFolderTaken(HWND owner);
    void beginAttempt();
    void endAttempt(bool succeeded);
    void halt(std::wstring idleText);
    void detach();
    void fileFailed(const std::wstring& path);
    void changed();

    std::optional<SeriesTable> table_;
    std::wstring tablePath_;
    std::vector<std::wstring> warnings_;
    bool warningsConfirmed_ = false;
    std::vector<bool> used_;                  // by row, as the log and this run have it
    bool logReadable_ = true;
    std::vector<RowValues> programmedRows_;   // every row programmed in this run
    SeriesLogWriter log_;
    bool keepCopies_ = true;

    SeriesTemplate template_;
    unsigned templateVersion_ = 0;
    bool templateRan_ = false;  // a series has started with it since it was chosen
    std::optional<unsigned> rowsCheckedFor_;  // the template version rows_ were prepared on
    std::vector<Settings> rows_;              // the template with each row, validated
    std::vector<ProgrammedModule> programmed_;

    HWND mainDialog_ = nullptr;
    HWND owner_ = nullptr;
    std::size_t row_ = 0;                     // the attempt's, an index into the table's rows
    std::wstring copiesFolder_;
    int nextCopy_ = 1;

    SeriesState state_ = SeriesState::Idle;
    bool stopRequested_ = false;
    bool moduleSkipped_ = false;  // a module answered while lines waited for the log
    std::size_t knownRow_ = 0;
    std::wstring idleText_;
    int programmedCount_ = 0;
    int failedCount_ = 0;
    int blockShown_ = 0;

    SeriesAttempt attempt_;
    ModuleImage held_;
    Settings programmedSettings_;  // the attempt's row as programming leaves it
    std::optional<bool> ended_;    // the job of the attempt has ended, with this outcome
    ModuleImage written_;
    std::wstring failure_;
    int heldCopy_ = 0;          // the attempt's number among the copies; 0 while none is kept
    std::wstring fileFault_;    // a copy that could not be written
    std::vector<SeriesAttempt> attempts_;

    std::function<void()> observer_;
    bool listening_ = false;
    bool noticesTaken_ = false;
    NoticeSink* notices_ = nullptr;  // the sink before the station's, while it is taken
};

// The program's one station, which lives as long as its main window.
SeriesStation& seriesStation();
// A new station in place of the old, which must not be running: the main window is new.
void renewSeriesStation();
bool seriesRunning();

} // namespace kes
