#include "ui/SeriesDialog.h"

#include "storage/FileDialogs.h"
#include "support/MessageBox.h"
#include "tools/SeriesStation.h"
#include "tools/SeriesTemplate.h"
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
constexpr wchar_t templateFilter[] = L"Plik ustawień (*.dat)";
constexpr wchar_t dialogCaption[] = L"Programowanie seryjne";

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
    std::wstring tableText() const;
    void chooseTemplate();
    void chooseTable();
    void chooseLog();
    void startSeries();

    HWND mainDialog_;
    SeriesStation& station_;
    ReportList attempts_;
    bool closeWhenStopped_ = false;
};

bool SeriesDialog::onInit()
{
    station_.setObserver([this] { runAsHandler([this] { refresh(); }); });
    // What the window holds as the dialog opens, until another is chosen; after a run the window
    // shows the last module, and the run's template stays.
    if (!station_.running() && !station_.keepsTemplate())
        station_.useTemplate(windowTemplate());
    checkItem(IDC_SERIES_KEEP_COPIES, station_.keepsCopies());
    // The log's columns.
    attempts_.attach(item(IDC_SERIES_ATTEMPTS), {{L"Czas", 15},
                                                 {L"Interfejs", 9},
                                                 {L"Moduł", 10},
                                                 {L"Operator", 8},
                                                 {L"Sygnał", 7},
                                                 {L"Wiersz", 6},
                                                 {L"Wynik", 26},
                                                 {L"Zmienione ustawienia", 19},
                                                 {L"Tabela", 12},
                                                 {L"Szablon", 24},
                                                 {L"Wartości wiersza", 40},
                                                 {L"Kopia", 5}});
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
    for (int id : {IDC_SERIES_TEMPLATE, IDC_SERIES_TABLE_NAME, IDC_SERIES_LOG_NAME, IDC_SERIES_ROWS, IDC_SERIES_STATUS})
        follow(id, Follow::Wider);
    follow(IDC_SERIES_ATTEMPTS, Follow::Wider | Follow::Taller);
    for (int id : {IDC_SERIES_START, IDC_SERIES_STOP})
        follow(id, Follow::Down);
    follow(IDCANCEL, Follow::Right | Follow::Down);
}

bool SeriesDialog::onCommand(int id, int)
{
    switch (id) {
    case IDC_SERIES_CHOOSE_TEMPLATE:
        chooseTemplate();
        return true;
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
        startSeries();
        return true;
    case IDC_SERIES_STOP:
        station_.stop();
        refresh();
        return true;
    default:
        return false;
    }
}

// "Zamknij", Esc, the close box: the series stops first; a running job ends before the dialog. Lines
// that wait for the log keep it open: closed, nothing would write them.
void SeriesDialog::onCancel()
{
    station_.stop();
    if (station_.running()) {
        closeWhenStopped_ = true;
        refresh();
        return;
    }
    closeWhenStopped_ = false;
    if (const std::size_t waiting = station_.waitingLines()) {
        showMessageBox(window(),
                       L"Dziennik " + fileNameOf(station_.logPath()) + L" jest niedostępny (otwarty w arkuszu?), a " +
                           countedText(waiting, L"wpis czeka", L"wpisy czekają", L"wpisów czeka") +
                           L" na zapis. Okno zostaje otwarte, dopóki nie zostaną zapisane: zamknij dziennik "
                           L"w arkuszu albo wybierz inny plik przyciskiem „Dziennik…”.",
                       dialogCaption, MB_OK | MB_ICONWARNING);
        return;
    }
    end(IDCANCEL);
}

std::wstring SeriesDialog::tableText() const
{
    if (!station_.hasTable())
        return L"Bez tabeli: każdy moduł dostaje sam szablon.";
    const std::size_t blank = station_.blankRows();
    std::wstring text = fileNameOf(station_.tablePath()) + L": " + rowCountText(station_.tableRows() - blank);
    if (blank)
        text += L", pominięte puste: " + std::to_wstring(blank);
    if (!station_.tableWarnings().empty())
        text += L", ostrzeżenia: " + std::to_wstring(station_.tableWarnings().size());
    return text;
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
    const bool waiting = station_.waitingLines() > 0;
    setItemText(IDC_SERIES_TEMPLATE, L"Szablon: " + station_.templateName());
    setItemText(IDC_SERIES_TABLE_NAME, tableText());
    setItemText(IDC_SERIES_LOG_NAME,
                station_.logPath().empty() ? std::wstring(L"Wybierz plik dziennika.") : station_.logPath());
    setItemText(IDC_SERIES_ROWS, station_.rowsText());
    setItemText(IDC_SERIES_STATUS, station_.statusText() + L"\r\n" + station_.countsText());
    for (int id : {IDC_SERIES_CHOOSE_TEMPLATE, IDC_SERIES_TABLE, IDC_SERIES_KEEP_COPIES})
        enableItem(id, !running);
    // Another file for the lines that wait, even while the series runs.
    enableItem(IDC_SERIES_LOG, !running || waiting);
    enableItem(IDC_SERIES_START, !running && !waiting && !station_.logPath().empty());
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

// From a data file, or the window's settings as they are now.
void SeriesDialog::chooseTemplate()
{
    const int answer = showMessageBox(window(),
                                      L"Wziąć szablon z pliku ustawień?\r\n\r\n"
                                      L"Tak – wybierz plik (*.dat).\r\n"
                                      L"Nie – weź obecne ustawienia okna programu.",
                                      L"Szablon", MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDNO) {
        station_.useTemplate(windowTemplate());
    } else if (answer == IDYES) {
        if (const auto path = askForOpenPath(window(), templateFilter)) {
            std::wstring fault;
            if (std::optional<SeriesTemplate> chosen = fileTemplate(*path, fault))
                station_.useTemplate(std::move(*chosen));
            else
                showMessageBox(window(), fault, L"Błąd odczytu pliku", MB_OK | MB_ICONERROR);
        }
    }
    refresh();
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
    const auto path = askForSavePath(window(), logFilter, logExtension, proposedLogName(today), ExistingFile::AppendTo);
    if (!path)
        return;
    const std::wstring before = station_.logPath();
    const std::size_t waiting = station_.waitingLines();
    station_.setLogPath(*path);
    refresh();
    if (waiting && !station_.waitingLines() && *path != before)
        showMessageBox(window(),
                       L"Zapisano " + countedText(waiting, L"wpis", L"wpisy", L"wpisów") + L" w pliku " +
                           fileNameOf(*path) + L"; tam trafią też następne. Dziennik " + fileNameOf(before) +
                           L" nie wie o tych wierszach tabeli: seria z tamtym dziennikiem zaprogramowałaby je ponownie.",
                       dialogCaption, MB_OK | MB_ICONINFORMATION);
}

// Asks once whether to go on with the table's warnings.
void SeriesDialog::startSeries()
{
    if (station_.start(mainDialog_, window()) == SeriesStart::WarningsToConfirm) {
        const int answer =
            showMessageBox(window(), tableFaultText(station_.tableWarnings()) + L"\r\nProgramować mimo to?",
                           L"Ostrzeżenia w tabeli", MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2);
        if (answer == IDYES) {
            station_.confirmWarnings();
            station_.start(mainDialog_, window());
        }
    }
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
