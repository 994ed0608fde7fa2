#include "tools/SeriesStation.h"

#include "link/UsbLink.h"
#include "model/Catalogue.h"
#include "model/Validation.h"
#include "protocol/ModuleConfiguration.h"
#include "protocol/ModuleText.h"
#include "protocol/Programming.h"
#include "protocol/Supervision.h"
#include "storage/DataFile.h"
#include "support/MessageBox.h"
#include "tools/LabelledSettings.h"
#include "tools/OpenedDataFile.h"
#include "tools/SeriesCopies.h"

#include <algorithm>

namespace kes {
namespace {

constexpr wchar_t tableFaultsCaption[] = L"Błędy w tabeli";
constexpr wchar_t fileFaultCaption[] = L"Błąd zapisu pliku";
constexpr wchar_t fileFaultText[] = L"Nie można zapisać pliku: ";
constexpr wchar_t stoppedText[] = L"Zatrzymano.";
// Should a job end without saying why.
constexpr wchar_t unexplainedFailure[] = L"Błąd programowania modułu. Programowanie należy powtórzyć.";
constexpr int blocksToWrite = lastBlockStep;

// Settings the window would show otherwise for the two.
int settingsChanged(const ModuleImage& held, const ModuleImage& programmed)
{
    const ModuleConfiguration before = configurationIn(held);
    const ModuleConfiguration after = configurationIn(programmed);
    int count = 0;
    for (const LabelledSetting& s : labelledSettings())
        if (s.shown(before) != s.shown(after))
            ++count;
    return count;
}

std::wstring oneLine(const std::wstring& faults)
{
    std::wstring line;
    for (wchar_t c : faults) {
        if (c == L'\r')
            continue;
        if (c == L'\n')
            c = L' ';
        line += c;
    }
    while (!line.empty() && line.back() == L' ')
        line.pop_back();
    return line;
}

} // namespace

bool SeriesStation::loadTable(const std::wstring& path, HWND owner)
{
    if (running())
        return false;
    TableReading read = readSeriesTableFile(path);
    std::vector<std::wstring> faults = read.faults;
    if (read.table)
        faults = prepareRows(&*read.table, currentRecords()).faults;
    if (!faults.empty()) {
        showMessageBox(owner, tableFaultText(faults), tableFaultsCaption, MB_OK | MB_ICONWARNING);
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
    if (!validateSettings(owner))
        return SeriesStart::TemplateRefused;
    PreparedRows rows = prepareRows(table_ ? &*table_ : nullptr, currentRecords());
    if (!rows.faults.empty()) {
        showMessageBox(owner, tableFaultText(rows.faults), tableFaultsCaption, MB_OK | MB_ICONWARNING);
        return SeriesStart::TableRefused;
    }
    owner_ = owner;
    if (!appendToSeriesLog(logPath_, {})) {
        fileFailed(logPath_);
        return SeriesStart::LogNotWritable;
    }
    rowRecords_ = std::move(rows.records);
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
    setJobFailureSink(this);
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
    attempt_.module = ::linkStatusField.getText();
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
        const std::wstring path = copyPath(copiesFolder_, nextCopy_, KeptCopy::Held);
        if (!writeCopy(path, currentRecords())) {
            fileFault_ = path;
            failure_ = fileFaultText + path;
            ended_ = false;
            return;
        }
        heldCopy_ = nextCopy_++;
    }
    // Checked when the series started; the rewrites are those "Programuj" makes in the window.
    loadRecords(rowRecords_[table_ ? nextRow_ : 0]);
    const std::wstring faults = collectSettingsFaults();
    if (!faults.empty()) {
        failure_ = oneLine(faults);
        ended_ = false;
        return;
    }
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

void SeriesStation::jobFailed(HWND, const std::wstring& message) { failure_ = message; }

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
            if (!writeCopy(path, currentRecords()))
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
    beep(succeeded ? MB_OK : MB_ICONHAND);

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
    setJobFailureSink(nullptr);
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
    showMessageBox(owner_, text, fileFaultCaption, MB_OK | MB_ICONERROR);
}

void SeriesStation::changed()
{
    if (observer_)
        observer_();
}

void SeriesStation::beep(UINT type)
{
    if (beep_)
        beep_(type);
    else
        MessageBeep(type);
}

SeriesStation& seriesStation()
{
    static SeriesStation station;
    return station;
}

bool seriesRunning() { return seriesStation().running(); }

} // namespace kes
