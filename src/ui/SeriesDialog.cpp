#include "ui/SeriesDialog.h"

#include "storage/FileDialogs.h"
#include "tools/OpenedDataFile.h"
#include "tools/SeriesStation.h"
#include "ui/ExceptionFilter.h"
#include "ui/ResourceIds.h"
#include "ui/Shell.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace kes {
namespace {

constexpr wchar_t tableFilter[] = L"Tabela (*.csv;*.txt)";
constexpr wchar_t logFilter[] = L"Dziennik (*.csv)";
constexpr wchar_t logExtension[] = L"csv";

struct Column {
    const wchar_t* caption;
    int widthPercent;
};
// The log's columns.
constexpr Column columns[] = {{L"Czas", 18},  {L"Interfejs", 11}, {L"Moduł", 11}, {L"Operator", 8},
                              {L"Sygnał", 8}, {L"Wiersz", 7},     {L"Wynik", 22}, {L"Zmienione ustawienia", 15}};

struct OpenDialog {
    HWND window = nullptr;
    HWND mainDialog = nullptr;
    bool closeWhenStopped = false;
};

OpenDialog*& openDialog()
{
    static OpenDialog* dialog = nullptr;
    return dialog;
}

std::wstring fileName(const std::wstring& path) { return path.substr(path.find_last_of(L"\\/") + 1); }

// Only a text that changed is set: the dialog is refreshed after every tick.
void setText(HWND window, int id, const std::wstring& text)
{
    HWND control = GetDlgItem(window, id);
    std::vector<wchar_t> shown(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    GetWindowTextW(control, shown.data(), static_cast<int>(shown.size()));
    if (text != shown.data())
        SetWindowTextW(control, text.c_str());
}

void addColumns(HWND list)
{
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    RECT client{};
    GetClientRect(list, &client);
    const int width = client.right - client.left - GetSystemMetrics(SM_CXVSCROLL);
    int index = 0;
    for (const Column& c : columns) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<wchar_t*>(c.caption);
        column.cx = width * c.widthPercent / 100;
        SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index++), reinterpret_cast<LPARAM>(&column));
    }
}

void addAttempt(HWND list, const SeriesAttempt& attempt)
{
    const std::vector<std::wstring> cells = attemptCells(attempt);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = const_cast<wchar_t*>(cells[0].c_str());
    const int row = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    for (std::size_t c = 1; c < cells.size(); ++c) {
        LVITEMW cell{};
        cell.iSubItem = static_cast<int>(c);
        cell.pszText = const_cast<wchar_t*>(cells[c].c_str());
        SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
    }
    SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

std::wstring templateText(const SeriesStation& station)
{
    const std::wstring& file = station.running() ? station.templateFile() : settingsOpenedFrom();
    return file.empty() ? L"Szablon: ustawienia okna" : L"Szablon: ustawienia okna z pliku " + fileName(file);
}

std::wstring tableText(const SeriesStation& station)
{
    if (!station.hasTable())
        return L"Bez tabeli: każdy moduł dostaje sam szablon.";
    return fileName(station.tablePath()) + L": " + rowCountText(station.tableRows());
}

void enable(HWND window, int id, bool enabled) { EnableWindow(GetDlgItem(window, id), enabled ? TRUE : FALSE); }

void refresh(OpenDialog& dialog)
{
    const SeriesStation& station = seriesStation();
    HWND window = dialog.window;
    const bool running = station.running();
    setText(window, IDC_SERIES_TEMPLATE, templateText(station));
    setText(window, IDC_SERIES_TABLE_NAME, tableText(station));
    setText(window, IDC_SERIES_LOG_NAME,
            station.logPath().empty() ? std::wstring(L"Wybierz plik dziennika.") : station.logPath());
    setText(window, IDC_SERIES_STATUS, station.statusText() + L"\r\n" + station.countsText());
    for (int id : {IDC_SERIES_TABLE, IDC_SERIES_LOG, IDC_SERIES_KEEP_COPIES})
        enable(window, id, !running);
    enable(window, IDC_SERIES_START, !running && !station.logPath().empty());
    enable(window, IDC_SERIES_STOP, running && !station.stopping());

    // A button that greys itself under the keyboard focus would leave Esc and Enter nowhere to go.
    HWND focus = GetFocus();
    if (!focus || (GetParent(focus) == window && !IsWindowEnabled(focus))) {
        const int next = IsWindowEnabled(GetDlgItem(window, IDC_SERIES_STOP))    ? IDC_SERIES_STOP
                         : IsWindowEnabled(GetDlgItem(window, IDC_SERIES_START)) ? IDC_SERIES_START
                                                                                 : IDCANCEL;
        if (!focus || GetActiveWindow() == window)
            SetFocus(GetDlgItem(window, next));
    }

    HWND list = GetDlgItem(window, IDC_SERIES_ATTEMPTS);
    const auto& attempts = station.attempts();
    auto shown = static_cast<std::size_t>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    if (shown > attempts.size()) {
        SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
        shown = 0;
    }
    for (std::size_t i = shown; i < attempts.size(); ++i)
        addAttempt(list, attempts[i]);

    // The reading that follows runs in one go: show that it started before it does.
    if (station.state() == SeriesState::Reading)
        UpdateWindow(GetDlgItem(window, IDC_SERIES_STATUS));
    if (dialog.closeWhenStopped && !running)
        EndDialog(window, 0);
}

void initialise(HWND window, OpenDialog& dialog)
{
    dialog.window = window;
    openDialog() = &dialog;
    SeriesStation& station = seriesStation();
    station.setObserver([&dialog] { refresh(dialog); });
    CheckDlgButton(window, IDC_SERIES_KEEP_COPIES, station.keepsCopies() ? BST_CHECKED : BST_UNCHECKED);
    addColumns(GetDlgItem(window, IDC_SERIES_ATTEMPTS));
    refresh(dialog);
    centerOnParent(window, station.logPath().empty() ? IDC_SERIES_LOG : IDC_SERIES_START);
}

void chooseTable(OpenDialog& dialog)
{
    if (const auto path = askForOpenPath(dialog.window, tableFilter))
        seriesStation().loadTable(*path, dialog.window);
    refresh(dialog);
}

void chooseLog(OpenDialog& dialog)
{
    SYSTEMTIME today{};
    GetLocalTime(&today);
    // An existing log is appended to, never replaced: no question about replacing it.
    if (const auto path = askForSavePath(dialog.window, logFilter, logExtension, proposedLogName(today),
                                         ExistingFile::AppendTo))
        seriesStation().setLogPath(*path);
    refresh(dialog);
}

void close(OpenDialog& dialog)
{
    SeriesStation& station = seriesStation();
    station.stop();
    if (station.running()) {
        dialog.closeWhenStopped = true;  // the running job ends first
        refresh(dialog);
        return;
    }
    EndDialog(dialog.window, 0);
}

bool onCommand(OpenDialog& dialog, int id)
{
    SeriesStation& station = seriesStation();
    switch (id) {
    case IDC_SERIES_TABLE:
        chooseTable(dialog);
        return true;
    case IDC_SERIES_LOG:
        chooseLog(dialog);
        return true;
    case IDC_SERIES_KEEP_COPIES:
        station.setKeepCopies(IsDlgButtonChecked(dialog.window, IDC_SERIES_KEEP_COPIES) == BST_CHECKED);
        return true;
    case IDC_SERIES_START:
        station.start(dialog.mainDialog, dialog.window);
        refresh(dialog);
        return true;
    case IDC_SERIES_STOP:
        station.stop();
        refresh(dialog);
        return true;
    case IDCANCEL:
        close(dialog);
        return true;
    default:
        return false;
    }
}

INT_PTR CALLBACK seriesDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* dialog = reinterpret_cast<OpenDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    try {
        switch (message) {
        case WM_INITDIALOG:
            dialog = reinterpret_cast<OpenDialog*>(lParam);
            SetWindowLongPtrW(window, DWLP_USER, lParam);
            initialise(window, *dialog);
            return FALSE;  // the focus is set
        case WM_COMMAND:
            return dialog && onCommand(*dialog, LOWORD(wParam)) ? TRUE : FALSE;
        case WM_CLOSE:
            if (dialog)
                close(*dialog);
            return TRUE;
        case WM_DESTROY:
            seriesStation().setObserver(nullptr);
            openDialog() = nullptr;
            return FALSE;
        default:
            return FALSE;
        }
    } catch (...) {
        seriesStation().stop();
        EndDialog(window, 0);
        reportProgramFault();
        return TRUE;
    }
}

} // namespace

void showSeriesDialog(HWND mainDialog)
{
    if (OpenDialog* open = openDialog()) {
        SetForegroundWindow(open->window);
        return;
    }
    OpenDialog dialog;
    dialog.mainDialog = mainDialog;
    DialogBoxParamW(instanceHandle(), MAKEINTRESOURCEW(IDD_SERIES_DIALOG), mainDialog, &seriesDialogProc,
                    reinterpret_cast<LPARAM>(&dialog));
}

HWND seriesDialogWindow()
{
    const OpenDialog* open = openDialog();
    return open ? open->window : nullptr;
}

} // namespace kes
