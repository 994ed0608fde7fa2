#include "ui/SeriesDialog.h"

#include "storage/FileDialogs.h"
#include "tools/OpenedDataFile.h"
#include "tools/SeriesStation.h"
#include "ui/ReportList.h"
#include "ui/ResourceIds.h"
#include "ui/SingleDialog.h"
#include "ui/WindowHelpers.h"

#include <string>

namespace kes {
namespace {

constexpr wchar_t tableFilter[] = L"Tabela (*.csv;*.txt)";
constexpr wchar_t logFilter[] = L"Dziennik (*.csv)";
constexpr wchar_t logExtension[] = L"csv";

std::wstring fileName(const std::wstring& path) { return path.substr(path.find_last_of(L"\\/") + 1); }

class SeriesDialog final : public SingleDialog {
public:
    SeriesDialog(HWND mainDialog, SeriesStation& station)
        : SingleDialog(IDD_SERIES_DIALOG), mainDialog_(mainDialog), station_(station)
    {
    }

private:
    bool onInit() override;
    bool onCommand(int id, int code) override;
    void onCancel() override;
    // After every tick, and whenever the station says something it shows has changed.
    void refresh() override;
    void followSize();
    void keepFocusUsable();
    std::wstring templateText() const;
    std::wstring tableText() const;
    void chooseTable();
    void chooseLog();

    HWND mainDialog_;
    SeriesStation& station_;
    ReportList attempts_;
    bool closeWhenStopped_ = false;
};

bool SeriesDialog::onInit()
{
    station_.setObserver([this] { runAsHandler([this] { refresh(); }); });
    checkItem(IDC_SERIES_KEEP_COPIES, station_.keepsCopies());
    // The log's columns.
    attempts_.attach(item(IDC_SERIES_ATTEMPTS), {{L"Czas", 15},
                                                 {L"Interfejs", 9},
                                                 {L"Moduł", 10},
                                                 {L"Operator", 8},
                                                 {L"Sygnał", 7},
                                                 {L"Wiersz", 6},
                                                 {L"Wynik", 26},
                                                 {L"Zmienione ustawienia", 19}});
    attempts_.setSource(0, [this](std::size_t row, std::size_t column) {
        return attemptCells(station_.attempts()[row])[column];
    });
    addPart(attempts_);
    followSize();
    refresh();
    centerOnParent(window(), station_.logPath().empty() ? IDC_SERIES_LOG : IDC_SERIES_START);
    return false;
}

void SeriesDialog::followSize()
{
    for (int id : {IDC_SERIES_TEMPLATE, IDC_SERIES_TABLE_NAME, IDC_SERIES_LOG_NAME, IDC_SERIES_STATUS})
        follow(id, Follow::Wider);
    follow(IDC_SERIES_ATTEMPTS, Follow::Wider | Follow::Taller);
    for (int id : {IDC_SERIES_START, IDC_SERIES_STOP})
        follow(id, Follow::Down);
    follow(IDCANCEL, Follow::Right | Follow::Down);
}

bool SeriesDialog::onCommand(int id, int)
{
    switch (id) {
    case IDC_SERIES_TABLE:
        chooseTable();
        return true;
    case IDC_SERIES_LOG:
        chooseLog();
        return true;
    case IDC_SERIES_KEEP_COPIES:
        station_.setKeepCopies(isItemChecked(IDC_SERIES_KEEP_COPIES));
        return true;
    case IDC_SERIES_START:
        station_.start(mainDialog_, window());
        refresh();
        return true;
    case IDC_SERIES_STOP:
        station_.stop();
        refresh();
        return true;
    default:
        return false;
    }
}

// "Zamknij", Esc, the close box: the series stops first; a running job ends before the dialog.
void SeriesDialog::onCancel()
{
    station_.stop();
    if (station_.running()) {
        closeWhenStopped_ = true;
        refresh();
        return;
    }
    end(IDCANCEL);
}

std::wstring SeriesDialog::templateText() const
{
    const std::wstring& file = station_.running() ? station_.templateFile() : settingsOpenedFrom();
    return file.empty() ? L"Szablon: ustawienia okna" : L"Szablon: ustawienia okna z pliku " + fileName(file);
}

std::wstring SeriesDialog::tableText() const
{
    if (!station_.hasTable())
        return L"Bez tabeli: każdy moduł dostaje sam szablon.";
    return fileName(station_.tablePath()) + L": " + rowCountText(station_.tableRows());
}

// A button that greys itself under the keyboard focus would leave Esc and Enter nowhere to go.
void SeriesDialog::keepFocusUsable()
{
    HWND focus = GetFocus();
    if (focus && (GetParent(focus) != window() || IsWindowEnabled(focus)))
        return;
    if (focus || GetActiveWindow() == window()) {
        const int next = IsWindowEnabled(item(IDC_SERIES_STOP))    ? IDC_SERIES_STOP
                         : IsWindowEnabled(item(IDC_SERIES_START)) ? IDC_SERIES_START
                                                                   : IDCANCEL;
        SetFocus(item(next));
    }
}

void SeriesDialog::refresh()
{
    const bool running = station_.running();
    setItemText(IDC_SERIES_TEMPLATE, templateText());
    setItemText(IDC_SERIES_TABLE_NAME, tableText());
    setItemText(IDC_SERIES_LOG_NAME,
                station_.logPath().empty() ? std::wstring(L"Wybierz plik dziennika.") : station_.logPath());
    setItemText(IDC_SERIES_STATUS, station_.statusText() + L"\r\n" + station_.countsText());
    for (int id : {IDC_SERIES_TABLE, IDC_SERIES_LOG, IDC_SERIES_KEEP_COPIES})
        enableItem(id, !running);
    enableItem(IDC_SERIES_START, !running && !station_.logPath().empty());
    enableItem(IDC_SERIES_STOP, running && !station_.stopping());
    keepFocusUsable();

    const std::size_t attempts = station_.attempts().size();
    if (attempts != attempts_.count()) {
        attempts_.setCount(attempts);
        if (attempts > 0)
            attempts_.showRow(attempts - 1);
    }

    // The reading that follows runs in one go: show that it started before it does.
    if (station_.state() == SeriesState::Reading)
        UpdateWindow(item(IDC_SERIES_STATUS));
    if (closeWhenStopped_ && !running)
        onCancel();
}

void SeriesDialog::chooseTable()
{
    if (const auto path = askForOpenPath(window(), tableFilter))
        station_.loadTable(*path, window());
    refresh();
}

void SeriesDialog::chooseLog()
{
    SYSTEMTIME today{};
    GetLocalTime(&today);
    // An existing log is appended to, never replaced: no question about replacing it.
    if (const auto path =
            askForSavePath(window(), logFilter, logExtension, proposedLogName(today), ExistingFile::AppendTo))
        station_.setLogPath(*path);
    refresh();
}

} // namespace

void showSeriesDialog(HWND mainDialog)
{
    const INT_PTR ended = SeriesDialog(mainDialog, seriesStation()).runAlone(mainDialog);
    if (ended == SingleDialog::alreadyRunning)
        return;
    // A fault ends the dialog, not the series: nothing may go on unseen.
    if (ended == Dialog::endedByFault)
        seriesStation().stop();
    seriesStation().setObserver(nullptr);
}

HWND seriesDialogWindow()
{
    return SingleDialog::runningWindow<SeriesDialog>();
}

} // namespace kes
