#include "ui/SeriesDialog.h"

#include "storage/FileDialogs.h"
#include "tools/OpenedDataFile.h"
#include "tools/SeriesStation.h"
#include "ui/Dialog.h"
#include "ui/ReportList.h"
#include "ui/ResourceIds.h"
#include "ui/WindowHelpers.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace kes {
namespace {

constexpr wchar_t tableFilter[] = L"Tabela (*.csv;*.txt)";
constexpr wchar_t logFilter[] = L"Dziennik (*.csv)";
constexpr wchar_t logExtension[] = L"csv";

std::wstring fileName(const std::wstring& path) { return path.substr(path.find_last_of(L"\\/") + 1); }

class SeriesDialog final : public Dialog {
public:
    SeriesDialog(HWND mainDialog, SeriesStation& station)
        : Dialog(IDD_SERIES_DIALOG), mainDialog_(mainDialog), station_(station)
    {
    }

    static SeriesDialog*& open()
    {
        static SeriesDialog* dialog = nullptr;
        return dialog;
    }

private:
    bool onInit() override;
    bool onCommand(int id) override;
    void onCancel() override;
    void refresh();
    void setText(int id, const std::wstring& text);
    void enable(int id, bool enabled) { EnableWindow(item(id), enabled ? TRUE : FALSE); }
    void keepFocusUsable();
    std::wstring templateText() const;
    std::wstring tableText() const;
    void chooseTable();
    void chooseLog();

    HWND mainDialog_;
    SeriesStation& station_;
    bool closeWhenStopped_ = false;
};

bool SeriesDialog::onInit()
{
    open() = this;
    station_.setObserver([this] { refresh(); });
    CheckDlgButton(window(), IDC_SERIES_KEEP_COPIES, station_.keepsCopies() ? BST_CHECKED : BST_UNCHECKED);
    // The log's columns.
    addListColumns(item(IDC_SERIES_ATTEMPTS), {{L"Czas", 15},
                                               {L"Interfejs", 9},
                                               {L"Moduł", 10},
                                               {L"Operator", 8},
                                               {L"Sygnał", 7},
                                               {L"Wiersz", 6},
                                               {L"Wynik", 26},
                                               {L"Zmienione ustawienia", 19}});
    refresh();
    centerOnParent(window(), station_.logPath().empty() ? IDC_SERIES_LOG : IDC_SERIES_START);
    return false;
}

bool SeriesDialog::onCommand(int id)
{
    switch (id) {
    case IDC_SERIES_TABLE:
        chooseTable();
        return true;
    case IDC_SERIES_LOG:
        chooseLog();
        return true;
    case IDC_SERIES_KEEP_COPIES:
        station_.setKeepCopies(IsDlgButtonChecked(window(), IDC_SERIES_KEEP_COPIES) == BST_CHECKED);
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

// Only a text that changed is set: the dialog is refreshed after every tick.
void SeriesDialog::setText(int id, const std::wstring& text)
{
    HWND control = item(id);
    std::vector<wchar_t> shown(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    GetWindowTextW(control, shown.data(), static_cast<int>(shown.size()));
    if (text != shown.data())
        SetWindowTextW(control, text.c_str());
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
    setText(IDC_SERIES_TEMPLATE, templateText());
    setText(IDC_SERIES_TABLE_NAME, tableText());
    setText(IDC_SERIES_LOG_NAME,
            station_.logPath().empty() ? std::wstring(L"Wybierz plik dziennika.") : station_.logPath());
    setText(IDC_SERIES_STATUS, station_.statusText() + L"\r\n" + station_.countsText());
    for (int id : {IDC_SERIES_TABLE, IDC_SERIES_LOG, IDC_SERIES_KEEP_COPIES})
        enable(id, !running);
    enable(IDC_SERIES_START, !running && !station_.logPath().empty());
    enable(IDC_SERIES_STOP, running && !station_.stopping());
    keepFocusUsable();

    HWND list = item(IDC_SERIES_ATTEMPTS);
    const auto& attempts = station_.attempts();
    auto shown = static_cast<std::size_t>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    if (shown > attempts.size()) {
        SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
        shown = 0;
    }
    for (std::size_t i = shown; i < attempts.size(); ++i) {
        appendListRow(list, attemptCells(attempts[i]));
        SendMessageW(list, LVM_ENSUREVISIBLE, i, FALSE);
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
    if (SeriesDialog* open = SeriesDialog::open()) {
        SetForegroundWindow(open->window());
        return;
    }
    SeriesDialog dialog(mainDialog, seriesStation());
    // A fault ends the dialog, not the series: nothing may go on unseen.
    if (dialog.runModal(mainDialog) == Dialog::endedByFault)
        seriesStation().stop();
    seriesStation().setObserver(nullptr);
    SeriesDialog::open() = nullptr;
}

HWND seriesDialogWindow()
{
    const SeriesDialog* open = SeriesDialog::open();
    return open ? open->window() : nullptr;
}

} // namespace kes
