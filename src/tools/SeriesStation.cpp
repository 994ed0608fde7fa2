#include "tools/SeriesStation.h"

#include "link/UsbLink.h"
#include "model/SettingsView.h"
#include "model/Validation.h"
#include "protocol/ModuleText.h"
#include "protocol/Notices.h"
#include "protocol/Programming.h"
#include "protocol/SettingsBlocks.h"
#include "protocol/Supervision.h"
#include "storage/DataFile.h"
#include "tools/KeptEdits.h"
#include "tools/LabelledSettings.h"
#include "tools/SeriesCopies.h"

#include <algorithm>
#include <memory>
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

bool moduleAnswering() { return usbLink.isOpen() && usbLink.responding; }

} // namespace

SeriesStation::~SeriesStation() { detach(); }

bool SeriesStation::loadTable(const std::wstring& path, HWND owner)
{
    if (running())
        return false;
    TableReading read = readSeriesTableFile(path);
    std::vector<std::wstring> faults = read.faults;
    PreparedRows rows;
    if (read.table) {
        rows = prepareRows(&*read.table, template_.settings);
        faults = rows.faults;
    }
    if (!faults.empty()) {
        tellUser(owner, Notice::TableFaults, tableFaultText(faults));
        return false;
    }
    table_ = std::move(read.table);
    tablePath_ = path;
    warnings_ = std::move(read.warnings);
    warningsConfirmed_ = false;
    rows_ = std::move(rows.rows);
    // A template that validation refuses is told at Start.
    rowsCheckedFor_ = rows.templateRefused ? std::nullopt : std::optional<unsigned>(templateVersion_);
    readUsedRows();
    idleText_.clear();
    changed();
    if (!warnings_.empty())
        tellUser(owner, Notice::TableWarnings,
                 tableFaultText(warnings_) + L"\r\nTabela została wczytana; Start zapyta, czy programować mimo to.");
    return true;
}

void SeriesStation::dropTable()
{
    if (running())
        return;
    table_.reset();
    tablePath_.clear();
    warnings_.clear();
    used_.clear();
    rowsCheckedFor_.reset();
    changed();
}

std::size_t SeriesStation::blankRows() const
{
    std::size_t blank = 0;
    for (std::size_t r = 0; r < tableRows(); ++r)
        blank += isBlankRow(*table_, r) ? 1 : 0;
    return blank;
}

void SeriesStation::setLogPath(const std::wstring& path)
{
    log_.setPath(path);
    log_.retry();
    readUsedRows();
    changed();
}

void SeriesStation::useTemplate(SeriesTemplate chosen)
{
    if (running())
        return;
    template_ = std::move(chosen);
    ++templateVersion_;
    templateRan_ = false;
    changed();
}

RowValues SeriesStation::rowValues(std::size_t row) const { return rowValuesOf(rowCells(*table_, row)); }

// The log's "OK" lines, and the rows programmed in this run whose lines may still wait for it.
void SeriesStation::readUsedRows()
{
    used_.assign(tableRows(), false);
    logReadable_ = true;
    if (!table_)
        return;
    std::vector<RowValues> programmed = programmedRows_;
    if (!logPath().empty()) {
        const ProgrammedRows inLog = programmedRowsInLog(logPath());
        logReadable_ = inLog.readable;
        for (const std::wstring& text : inLog.rowValues)
            if (std::optional<RowValues> values = parseRowValues(text))
                programmed.push_back(std::move(*values));
    }
    for (std::size_t r = 0; r < used_.size(); ++r)
        used_[r] = !isBlankRow(*table_, r) &&
                   std::find(programmed.begin(), programmed.end(), rowValues(r)) != programmed.end();
}

std::optional<std::size_t> SeriesStation::nextRow() const
{
    for (std::size_t r = 0; r < tableRows(); ++r)
        if (!isBlankRow(*table_, r) && !used_[r])
            return r;
    return std::nullopt;
}

// The template, and the table on it, as validation takes them.
SeriesStart SeriesStation::checkRows(HWND owner)
{
    if (rowsCheckedFor_ == templateVersion_)
        return SeriesStart::Started;
    Settings base = template_.settings;
    fitToFields(base);
    ValidatedSettings validated = validateSettings(base);
    if (!validated.faults.empty()) {
        tellUser(owner, Notice::SettingsFaults, validated.faults);
        return SeriesStart::TemplateRefused;
    }
    PreparedRows rows;
    if (table_)
        rows = prepareRows(&*table_, template_.settings);
    else
        rows.rows.push_back(std::move(validated.settings));
    if (!rows.faults.empty()) {
        tellUser(owner, Notice::TableFaults, tableFaultText(rows.faults));
        return SeriesStart::TableRefused;
    }
    rows_ = std::move(rows.rows);
    rowsCheckedFor_ = templateVersion_;
    return SeriesStart::Started;
}

bool SeriesStation::copiesFolderTaken(HWND owner)
{
    const std::wstring folder = copiesFolder(logPath());
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (!keepCopies_ || attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    tellUser(owner, Notice::FileNotWritten,
             L"Nie można zachować kopii ustawień w folderze " + folder +
                 L": jest już plik o tej nazwie. Zmień nazwę pliku albo wybierz inny dziennik.");
    return true;
}

SeriesStart SeriesStation::start(HWND mainDialog, HWND owner)
{
    if (running())
        return SeriesStart::Started;
    if (log_.waiting())
        return SeriesStart::LinesWaiting;
    if (logPath().empty())
        return SeriesStart::NoLog;
    if (copiesFolderTaken(owner))
        return SeriesStart::CopiesFolderTaken;
    const SeriesStart checked = checkRows(owner);
    if (checked != SeriesStart::Started)
        return checked;
    owner_ = owner;
    if (!appendToSeriesLog(logPath(), {})) {
        fileFailed(logPath());
        return SeriesStart::LogNotWritable;
    }
    readUsedRows();
    if (!logReadable_) {
        tellUser(owner, Notice::FileNotRead, L"Nie można odczytać pliku: " + logPath());
        return SeriesStart::LogNotReadable;
    }
    if (table_ && !nextRow()) {
        halt(L"Tabela wykorzystana: " + std::to_wstring(tableRows() - blankRows()) + L" modułów zaprogramowanych");
        return SeriesStart::TableUsedUp;
    }
    if (!warnings_.empty() && !warningsConfirmed_)
        return SeriesStart::WarningsToConfirm;
    copiesFolder_ = copiesFolder(logPath());
    nextCopy_ = nextCopyNumber(copiesFolder_);
    mainDialog_ = mainDialog;
    programmedCount_ = failedCount_ = 0;
    attempts_.clear();
    idleText_.clear();
    stopRequested_ = false;
    moduleSkipped_ = false;
    ended_.reset();
    // What the window holds now is the user's, whatever the modules put into it from here.
    keepEditsThroughSeries(windowSettings());
    templateRan_ = true;
    addJobListener(this);
    listening_ = true;
    notices_ = setNoticeSink(this);
    noticesTaken_ = true;
    state_ = SeriesState::WaitingForModule;
    changed();
    if (moduleAnswering() && !programmingPending())
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
    if (log_.waiting() && log_.retry())
        changed();
    if (!running())
        return;
    if (ended_) {
        endAttempt(*ended_);
        return;
    }
    const bool answering = moduleAnswering();
    const bool moduleToGo = state_ == SeriesState::ModuleDone || state_ == SeriesState::ModuleFailed ||
                            state_ == SeriesState::ModuleKnown;
    if (moduleToGo && !answering) {
        state_ = SeriesState::WaitingForModule;
        changed();
    }
    if (state_ != SeriesState::WaitingForModule || !moduleSkipped_ || log_.waiting())
        return;
    // The module that came while the log could not be written is still there: its turn now.
    moduleSkipped_ = false;
    if (answering && !programmingPending())
        runAutomaticReading(mainDialog_);
}

std::wstring SeriesStation::statusText() const
{
    if (log_.waiting())
        return L"Dziennik niedostępny (otwarty w arkuszu?) – " +
               countedText(log_.waiting(), L"wpis czeka", L"wpisy czekają", L"wpisów czeka") + L" na zapis";
    switch (state_) {
    case SeriesState::Idle:
        return idleText_;
    case SeriesState::WaitingForModule: {
        const std::optional<std::size_t> row = nextRow();
        if (!table_ || !row)
            return L"Podłącz moduł";
        return L"Podłącz moduł (wiersz " + std::to_wstring(*row + 1) + L" z " + std::to_wstring(tableRows()) + L")";
    }
    case SeriesState::Reading:
        return L"Odczyt modułu…";
    case SeriesState::Programming:
        return L"Programowanie modułu… (blok " + std::to_wstring(blockShown_) + L" z " +
               std::to_wstring(blocksToWrite) + L")";
    case SeriesState::ModuleDone:
        return L"Gotowe – odłącz moduł";
    case SeriesState::ModuleFailed:
        return L"Błąd – odłącz moduł";
    case SeriesState::ModuleKnown:
        return L"Moduł już zaprogramowany (" +
               (knownRow_ ? L"wiersz " + std::to_wstring(knownRow_) : std::wstring(L"szablon")) +
               L") – odłącz moduł";
    }
    return std::wstring();
}

std::wstring SeriesStation::countsText() const
{
    return L"Zaprogramowane: " + std::to_wstring(programmedCount_) + L", błędy: " + std::to_wstring(failedCount_);
}

std::wstring SeriesStation::rowsText() const
{
    if (!table_ || logPath().empty())
        return std::wstring();
    if (!logReadable_)
        return L"Wiersze: nie można odczytać dziennika";
    const std::size_t used = static_cast<std::size_t>(std::count(used_.begin(), used_.end(), true));
    return L"Wiersze: " + std::to_wstring(used) + L" z " + std::to_wstring(tableRows() - blankRows()) +
           L" zaprogramowane (według dziennika)";
}

void SeriesStation::beforeAutomaticReading()
{
    if (state_ != SeriesState::WaitingForModule || stopRequested_)
        return;
    if (log_.waiting())
        moduleSkipped_ = true;
    else
        beginAttempt();
}

void SeriesStation::beginAttempt()
{
    attempt_ = SeriesAttempt();
    attempt_.interfaceSerial = widenText(usbLink.serialNumber);
    attempt_.module = answeringModule();
    attempt_.operatorName = widenText(usbLink.operatorName);
    attempt_.signal = signalText();
    row_ = table_ ? nextRow().value_or(0) : 0;
    attempt_.row = table_ ? row_ + 1 : 0;
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
    // The blocks, not the settings: rows that differ can be held alike (whole seconds, folded letters).
    for (const ProgrammedModule& known : programmed_)
        if (sameSettings(read, known.image)) {
            knownRow_ = known.row;
            state_ = SeriesState::ModuleKnown;
            if (stopRequested_)
                halt(stoppedText);
            else
                changed();
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
    // Validated when it was checked, with the rewrites "Programuj" makes in the window.
    const Settings& row = rows_[table_ ? row_ : 0];
    showSettings(row);
    programmedSettings_ = asProgrammed(row);
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
    attempt_.templateName = template_.name;
    if (table_) {
        attempt_.table = fileNameOf(tablePath_);
        attempt_.rowValues = rowValuesText(rowCells(*table_, row_));
    }
    attempt_.copy = heldCopy_;
    std::wstring unwritten = fileFault_;
    if (succeeded) {
        attempt_.result = attemptSucceeded;
        attempt_.changed = settingsChanged(held_, written_);
        if (heldCopy_) {
            const std::wstring path = copyPath(copiesFolder_, heldCopy_, KeptCopy::Programmed);
            if (!writeCopy(path, recordsOf(programmedSettings_)))
                unwritten = path;
        }
        if (table_) {
            used_[row_] = true;
            programmedRows_.push_back(rowValues(row_));
        }
        programmed_.push_back({written_, attempt_.row});
        ++programmedCount_;
    } else {
        attempt_.result = failure_.empty() ? std::wstring(unexplainedFailure) : failure_;
        ++failedCount_;
    }
    // A line that cannot be written now waits; no attempt starts meanwhile.
    log_.add(attemptCells(attempt_));
    attempts_.push_back(attempt_);
    state_ = succeeded ? SeriesState::ModuleDone : SeriesState::ModuleFailed;
    playSound(succeeded ? Sound::ModuleDone : Sound::ModuleFailed);

    if (!unwritten.empty())
        fileFailed(unwritten);
    else if (table_ && !nextRow())
        halt(L"Tabela wykorzystana: " + std::to_wstring(tableRows() - blankRows()) + L" modułów zaprogramowanych");
    else if (stopRequested_)
        halt(stoppedText);
    else
        changed();
}

void SeriesStation::halt(std::wstring idleText)
{
    const bool ran = listening_;
    detach();
    if (ran)
        seriesEnded();
    state_ = SeriesState::Idle;
    stopRequested_ = false;
    ended_.reset();
    idleText_ = std::move(idleText);
    changed();
}

void SeriesStation::detach()
{
    if (std::exchange(listening_, false))
        removeJobListener(this);
    if (std::exchange(noticesTaken_, false))
        setNoticeSink(notices_);
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

namespace {

std::unique_ptr<SeriesStation>& programStation()
{
    static std::unique_ptr<SeriesStation> station;
    return station;
}

} // namespace

SeriesStation& seriesStation()
{
    if (!programStation())
        programStation() = std::make_unique<SeriesStation>();
    return *programStation();
}

void renewSeriesStation() { programStation() = std::make_unique<SeriesStation>(); }

bool seriesRunning() { return seriesStation().running(); }

} // namespace kes
