#include "tools/SeriesStation.h"

#include "link/UsbLink.h"
#include "model/SettingsView.h"
#include "protocol/ModuleText.h"
#include "protocol/Notices.h"
#include "protocol/Programming.h"
#include "protocol/SettingsBlocks.h"
#include "protocol/SettingsCheck.h"
#include "protocol/Supervision.h"
#include "storage/DataFile.h"
#include "tools/LabelledSettings.h"
#include "tools/OpenedDataFile.h"
#include "tools/SeriesCopies.h"

#include <algorithm>
#include <utility>

namespace kes {
namespace {

constexpr wchar_t fileFaultText[] = L"Nie można zapisać pliku: ";
constexpr wchar_t stoppedText[] = L"Zatrzymano.";
// Should a job end without saying why.
constexpr wchar_t unexplainedFailure[] = L"Błąd programowania modułu. Programowanie należy powtórzyć.";
constexpr int blocksToWrite = lastBlockStep;

// Settings the window would show otherwise for the two.
int settingsChanged(const ModuleImage& held, const ModuleImage& programmed)
{
    const Settings before = settingsIn(held);
    const Settings after = settingsIn(programmed);
    int count = 0;
    for (const LabelledSetting& s : labelledSettings())
        if (s.shown(before) != s.shown(after))
            ++count;
    return count;
}

// The module's text from the status reply that found it answering.
std::wstring answeringModule()
{
    const std::optional<ReceivedStatus>& status = supervision.lastGoodStatus;
    return status ? widenText(status->values.moduleText) : std::wstring();
}

} // namespace

bool SeriesStation::loadTable(const std::wstring& path, HWND owner)
{
    if (running())
        return false;
    TableReading read = readSeriesTableFile(path);
    std::vector<std::wstring> faults = read.faults;
    if (read.table)
        faults = prepareRows(&*read.table, windowSettings()).faults;
    if (!faults.empty()) {
        tellUser(owner, Notice::TableFaults, tableFaultText(faults));
        return false;
    }
    table_ = std::move(read.table);
    tablePath_ = path;
    nextRow_ = 0;
    idleText_.clear();
    changed();
    return true;
}

void SeriesStation::dropTable()
{
    if (running())
        return;
    table_.reset();
    tablePath_.clear();
    nextRow_ = 0;
    changed();
}

SeriesStart SeriesStation::start(HWND mainDialog, HWND owner)
{
    if (running())
        return SeriesStart::Started;
    if (logPath_.empty())
        return SeriesStart::NoLog;
    if (table_ && nextRow_ >= table_->rows.size())
        return SeriesStart::TableUsedUp;
    if (!checkWindowSettings(owner))
        return SeriesStart::TemplateRefused;
    PreparedRows rows = prepareRows(table_ ? &*table_ : nullptr, windowSettings());
    if (!rows.faults.empty()) {
        tellUser(owner, Notice::TableFaults, tableFaultText(rows.faults));
        return SeriesStart::TableRefused;
    }
    owner_ = owner;
    if (!appendToSeriesLog(logPath_, {})) {
        fileFailed(logPath_);
        return SeriesStart::LogNotWritable;
    }
    rows_ = std::move(rows.rows);
    templateFile_ = settingsOpenedFrom();
    copiesFolder_ = copiesFolder(logPath_);
    nextCopy_ = nextCopyNumber(copiesFolder_);
    mainDialog_ = mainDialog;
    programmedCount_ = failedCount_ = 0;
    attempts_.clear();
    idleText_.clear();
    stopRequested_ = false;
    ended_.reset();
    addJobListener(this);
    notices_ = setNoticeSink(this);
    noticesTaken_ = true;
    state_ = SeriesState::WaitingForModule;
    changed();
    if (usbLink.isOpen() && usbLink.responding && !programmingPending())
        runAutomaticReading(mainDialog_);
    return SeriesStart::Started;
}

void SeriesStation::stop()
{
    if (!running())
        return;
    if (state_ == SeriesState::Programming || state_ == SeriesState::Reading || ended_) {
        stopRequested_ = true;
        changed();
        return;
    }
    halt(stoppedText);
}

void SeriesStation::afterTick()
{
    if (!running())
        return;
    if (ended_) {
        endAttempt(*ended_);
        return;
    }
    const bool answering = usbLink.isOpen() && usbLink.responding;
    if ((state_ == SeriesState::ModuleDone || state_ == SeriesState::ModuleFailed) && !answering) {
        state_ = SeriesState::WaitingForModule;
        changed();
    }
}

std::wstring SeriesStation::statusText() const
{
    switch (state_) {
    case SeriesState::Idle:
        return idleText_;
    case SeriesState::WaitingForModule:
        if (!table_)
            return L"Podłącz moduł";
        return L"Podłącz moduł (wiersz " + std::to_wstring(nextRow_ + 1) + L" z " +
               std::to_wstring(table_->rows.size()) + L")";
    case SeriesState::Reading:
        return L"Odczyt modułu…";
    case SeriesState::Programming:
        return L"Programowanie modułu… (blok " + std::to_wstring(blockShown_) + L" z " +
               std::to_wstring(blocksToWrite) + L")";
    case SeriesState::ModuleDone:
        return L"Gotowe – odłącz moduł";
    case SeriesState::ModuleFailed:
        return L"Błąd – odłącz moduł";
    }
    return std::wstring();
}

std::wstring SeriesStation::countsText() const
{
    return L"Zaprogramowane: " + std::to_wstring(programmedCount_) + L", błędy: " + std::to_wstring(failedCount_);
}

void SeriesStation::beforeAutomaticReading()
{
    if (state_ == SeriesState::WaitingForModule && !stopRequested_)
        beginAttempt();
}

void SeriesStation::beginAttempt()
{
    attempt_ = SeriesAttempt();
    attempt_.interfaceSerial = widenText(usbLink.serialNumber);
    attempt_.module = answeringModule();
    attempt_.operatorName = widenText(usbLink.operatorName);
    attempt_.signal = signalText();
    attempt_.row = table_ ? nextRow_ + 1 : 0;
    held_ = ModuleImage();
    written_ = ModuleImage();
    failure_.clear();
    heldCopy_ = 0;
    fileFault_.clear();
    state_ = SeriesState::Reading;
    changed();
}

void SeriesStation::automaticReadingEnded(bool complete, const ModuleImage& read)
{
    if (state_ != SeriesState::Reading)
        return;
    if (!complete) {
        ended_ = false;
        return;
    }
    held_ = read;
    if (keepCopies_) {
        // As the reading has shown it in the window.
        Settings held = settingsIn(read);
        fitToFields(held);
        const std::wstring path = copyPath(copiesFolder_, nextCopy_, KeptCopy::Held);
        if (!writeCopy(path, recordsOf(held))) {
            fileFault_ = path;
            failure_ = fileFaultText + path;
            ended_ = false;
            return;
        }
        heldCopy_ = nextCopy_++;
    }
    // Validated when the series started, with the rewrites "Programuj" makes in the window.
    const Settings& row = rows_[table_ ? nextRow_ : 0];
    showSettings(row);
    programmed_ = asProgrammed(row);
    startProgramming();
    blockShown_ = 1;
    state_ = SeriesState::Programming;
    changed();
}

void SeriesStation::programmingStepEnded(int step, bool)
{
    if (state_ != SeriesState::Programming)
        return;
    blockShown_ = std::min(step + 1, blocksToWrite);
    changed();
}

void SeriesStation::programmingEnded(bool succeeded, const ModuleImage& written)
{
    if (state_ != SeriesState::Programming)
        return;
    written_ = written;
    ended_ = succeeded;
}

void SeriesStation::show(HWND owner, Notice notice, const std::wstring& text)
{
    if (notice == Notice::JobFailed)
        failure_ = text;
    else if (notices_)
        notices_->show(owner, notice, text);
}

void SeriesStation::play(Sound sound)
{
    if (notices_)
        notices_->play(sound);
}

void SeriesStation::endAttempt(bool succeeded)
{
    ended_.reset();
    GetLocalTime(&attempt_.at);
    std::wstring unwritten = fileFault_;
    if (succeeded) {
        attempt_.result = attemptSucceeded;
        attempt_.changed = settingsChanged(held_, written_);
        if (heldCopy_) {
            const std::wstring path = copyPath(copiesFolder_, heldCopy_, KeptCopy::Programmed);
            if (!writeCopy(path, recordsOf(programmed_)))
                unwritten = path;
        }
        if (table_)
            ++nextRow_;
        ++programmedCount_;
    } else {
        attempt_.result = failure_.empty() ? std::wstring(unexplainedFailure) : failure_;
        ++failedCount_;
    }
    const std::vector<std::wstring> cells = attemptCells(attempt_);
    if (!appendToSeriesLog(logPath_, {cells}))
        unwritten = logPath_;
    attempts_.push_back(attempt_);
    state_ = succeeded ? SeriesState::ModuleDone : SeriesState::ModuleFailed;
    playSound(succeeded ? Sound::ModuleDone : Sound::ModuleFailed);

    if (!unwritten.empty())
        fileFailed(unwritten);
    else if (table_ && nextRow_ >= table_->rows.size())
        halt(L"Tabela wykorzystana: " + std::to_wstring(table_->rows.size()) + L" modułów zaprogramowanych");
    else if (stopRequested_)
        halt(stoppedText);
    else
        changed();
}

void SeriesStation::halt(std::wstring idleText)
{
    removeJobListener(this);
    if (std::exchange(noticesTaken_, false))
        setNoticeSink(notices_);
    state_ = SeriesState::Idle;
    stopRequested_ = false;
    ended_.reset();
    idleText_ = std::move(idleText);
    changed();
}

void SeriesStation::fileFailed(const std::wstring& path)
{
    const std::wstring text = fileFaultText + path;
    halt(text);
    tellUser(owner_, Notice::FileNotWritten, text);
}

void SeriesStation::changed()
{
    if (observer_)
        observer_();
}

SeriesStation& seriesStation()
{
    static SeriesStation station;
    return station;
}

bool seriesRunning() { return seriesStation().running(); }

} // namespace kes
